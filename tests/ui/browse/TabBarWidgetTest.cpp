#include "ui/browse/TabBarWidget.h"

#include "state/UserState.h"
#include "ui/browse/BrowseFixture.h"
#include "ui/look/ProgramFont.h"

#include <QtTest>

#include <memory>

using namespace Tintor;

Q_DECLARE_METATYPE(QVector<int>)

class TabBarWidgetTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(BrowseFixture::create()); }

    void init()
    {
        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(BrowseFixture::kInterior);
        UserState::setTabPageIndex(BrowseFixture::kInterior, PageOfColorSchemes);
        m_bar = std::make_unique<TabBarWidget>();
        m_bar->resize(565, 30);
        m_bar->show();
        QVERIFY(QTest::qWaitForWindowActive(m_bar.get()));
        m_bar->repaint();
    }

    void cleanup() { m_bar.reset(); }

    void visiblePagesFollowSettingsAndMask_data()
    {
        QTest::addColumn<QUuid>("collection");
        QTest::addColumn<QVector<int>>("pages");
        QTest::newRow("every page, configured order")
            << BrowseFixture::kInterior
            << QVector<int> { PageOfColorSchemes, PageOfColorForesight, PageOfProducts, PageOfTextures };
        QTest::newRow("schemes and products, default order")
            << BrowseFixture::kExterior << QVector<int> { PageOfColorSchemes, PageOfProducts };
        QTest::newRow("configured page missing from the mask")
            << BrowseFixture::kOil << QVector<int> { PageOfColorSchemes, PageOfColorForesight };
    }
    void visiblePagesFollowSettingsAndMask()
    {
        QFETCH(QUuid, collection);
        QFETCH(QVector<int>, pages);
        m_bar->selectedCollectionChanged(collection);
        QCOMPARE(m_bar->visiblePages(), pages);
        QCOMPARE(m_bar->caption(PageOfColorForesight), QStringLiteral("Colour foresight"));
    }

    void tabsAreLaidOutLeftToRightAroundTheirCaptions()
    {
        QCOMPARE(m_bar->font(), programFont(FontStyle::Normal, 3));
        const QFontMetrics metrics(m_bar->font());
        int left = 1;
        for (const int page : m_bar->visiblePages()) {
            const int captionWidth = metrics.size(Qt::TextSingleLine, m_bar->caption(page)).width();
            QCOMPARE(m_bar->tabRect(page), QRect(QPoint(left, 0), QPoint(left + captionWidth + 31, 29)));
            left = m_bar->tabRect(page).right() + 1;
        }
    }

    void pressOnATabEmitsItsPageEvenWhenCurrent()
    {
        QSignalSpy selected(m_bar.get(), &TabBarWidget::tabPageSelected);
        const QVector<int> pages = m_bar->visiblePages();
        for (const int page : pages) {
            QCOMPARE(m_bar->tabAt(m_bar->tabRect(page).center()), page);
            QTest::mouseClick(m_bar.get(), Qt::LeftButton, {}, m_bar->tabRect(page).center());
            QCOMPARE(selected.takeFirst().first().value<TabBarPage>(), TabBarPage(page));
        }
        // The view reports only; the stored page is the receiver's business.
        QCOMPARE(UserState::tabPageIndex(BrowseFixture::kInterior), int(PageOfColorSchemes));
        QTest::mouseMove(m_bar.get(), m_bar->tabRect(PageOfProducts).center());
        QTRY_COMPARE(m_bar->cursor().shape(), Qt::PointingHandCursor);
        // Beside the tabs: no page, no signal, no hand.
        const QPoint beside(m_bar->tabRect(PageOfTextures).right() + 20, 15);
        QCOMPARE(m_bar->tabAt(beside), 0);
        QTest::mouseClick(m_bar.get(), Qt::LeftButton, {}, beside);
        QVERIFY(selected.isEmpty());
        QTest::mouseMove(m_bar.get(), beside);
        QTRY_COMPARE(m_bar->cursor().shape(), Qt::ArrowCursor);
    }

    void unpaintedTabsCannotBeHit()
    {
        m_bar->selectedCollectionChanged(BrowseFixture::kExterior);
        QVERIFY(m_bar->tabRect(PageOfProducts).isEmpty());
        QSignalSpy selected(m_bar.get(), &TabBarWidget::tabPageSelected);
        QTest::mouseClick(m_bar.get(), Qt::LeftButton, {}, QPoint(5, 15));
        QCOMPARE(selected.count(), 0);
        m_bar->repaint();
        QTest::mouseClick(m_bar.get(), Qt::LeftButton, {}, QPoint(5, 15));
        QCOMPARE(selected.count(), 1);
    }

    void currentTabIsReadFromTheUserStateWhenPainting()
    {
        const auto fillAt = [this](int page) {
            const QImage shot = m_bar->grab().toImage();
            return shot.pixelColor(m_bar->tabRect(page).left() + 3, 3);
        };
        const QColor schemesBefore = fillAt(PageOfColorSchemes);
        const QColor productsBefore = fillAt(PageOfProducts);
        QVERIFY(schemesBefore.lightness() > productsBefore.lightness());
        // Nothing tells the bar: it must read the stored page when it paints.
        UserState::setTabPageIndex(BrowseFixture::kInterior, PageOfProducts);
        QCOMPARE(fillAt(PageOfProducts), schemesBefore);
        QCOMPARE(fillAt(PageOfColorSchemes), productsBefore);
    }

    void shortcutsPickTheNthVisibleTab_data()
    {
        QTest::addColumn<QUuid>("collection");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("emitted"); // 0: nothing
        QTest::newRow("second of four") << BrowseFixture::kInterior << int(Qt::Key_2) << int(PageOfColorForesight);
        QTest::newRow("current page") << BrowseFixture::kInterior << int(Qt::Key_1) << 0;
        QTest::newRow("beyond two tabs") << BrowseFixture::kExterior << int(Qt::Key_3) << 0;
        QTest::newRow("second of two") << BrowseFixture::kExterior << int(Qt::Key_2) << int(PageOfProducts);
    }
    void shortcutsPickTheNthVisibleTab()
    {
        QFETCH(QUuid, collection);
        QFETCH(int, key);
        QFETCH(int, emitted);
        UserState::setLastUsedCollection(collection);
        UserState::setTabPageIndex(collection, PageOfColorSchemes);
        m_bar->selectedCollectionChanged(collection);
        QSignalSpy selected(m_bar.get(), &TabBarWidget::tabPageSelected);
        QTest::keyClick(m_bar.get(), Qt::Key_T, Qt::ControlModifier);
        QTest::keyClick(m_bar.get(), Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(selected.count(), emitted ? 1 : 0);
        if (emitted)
            QCOMPARE(selected.first().first().value<TabBarPage>(), TabBarPage(emitted));
    }

    void shortcutsDoNothingWhileHidden()
    {
        QSignalSpy selected(m_bar.get(), &TabBarWidget::tabPageSelected);
        m_bar->hide();
        m_bar->switchToTab2();
        QCOMPARE(selected.count(), 0);
        m_bar->show();
        m_bar->switchToTab2();
        QCOMPARE(selected.count(), 1);
    }

private:
    std::unique_ptr<TabBarWidget> m_bar;
};

HUELINK_TEST_MAIN(TabBarWidgetTest)
#include "TabBarWidgetTest.moc"
