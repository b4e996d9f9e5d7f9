#include "ui/browse/TabBarWidget.h"

#include "state/UserState.h"
#include "ui/browse/BrowseFixture.h"
#include "ui/look/ProgramFont.h"

using namespace Tintor;
using namespace BrowseFixture;

class TabBarWidgetTest : public QObject {
    Q_OBJECT

    std::unique_ptr<TabBarWidget> m_bar;

private Q_SLOTS:
    void initTestCase() { QVERIFY(create()); }

    void init()
    {
        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(kInterior);
        UserState::setTabPageIndex(kInterior, PageOfColorSchemes);
        m_bar = std::make_unique<TabBarWidget>();
        m_bar->resize(565, 30);
        m_bar->show();
        QVERIFY(QTest::qWaitForWindowActive(m_bar.get()));
        m_bar->repaint();
    }

    void cleanup() { m_bar.reset(); }

    void visiblePagesFollowSettingsAndMask()
    {
        // Every page, configured order; two pages, default order; a configured page not offered.
        for (const auto &[collection, pages] : QList<QPair<QUuid, QVector<int>>> {
                 { kInterior, { PageOfColorSchemes, PageOfColorForesight, PageOfProducts, PageOfTextures } },
                 { kExterior, { PageOfColorSchemes, PageOfProducts } },
                 { kOil, { PageOfColorSchemes, PageOfColorForesight } } }) {
            m_bar->selectedCollectionChanged(collection);
            QCOMPARE(m_bar->visiblePages(), pages);
            QCOMPARE(m_bar->caption(PageOfColorForesight), QStringLiteral("Colour foresight"));
        }
    }

    void tabsAreLaidOutAroundTheirCaptionsAndEmitTheirPage()
    {
        QCOMPARE(m_bar->font(), programFont(FontStyle::Normal, 3));
        QSignalSpy selected(m_bar.get(), &TabBarWidget::tabPageSelected);
        const QFontMetrics metrics(m_bar->font());
        int left = 1;
        for (const int page : m_bar->visiblePages()) {
            const int captionWidth = metrics.size(Qt::TextSingleLine, m_bar->caption(page)).width();
            QCOMPARE(m_bar->tabRect(page), QRect(QPoint(left, 0), QPoint(left + captionWidth + 31, 29)));
            left = m_bar->tabRect(page).right() + 1;
            QCOMPARE(m_bar->tabAt(m_bar->tabRect(page).center()), page);
            QTest::mouseClick(m_bar.get(), Qt::LeftButton, {}, m_bar->tabRect(page).center());
            QCOMPARE(selected.takeFirst().first().value<TabBarPage>(), TabBarPage(page));
        }
        // The view reports only; the stored page is the receiver's business.
        QCOMPARE(UserState::tabPageIndex(kInterior), int(PageOfColorSchemes));
        QTest::mouseMove(m_bar.get(), m_bar->tabRect(PageOfProducts).center());
        QTRY_COMPARE(m_bar->cursor().shape(), Qt::PointingHandCursor);
        const QPoint beside(left + 20, 15);
        QCOMPARE(m_bar->tabAt(beside), 0);
        QTest::mouseClick(m_bar.get(), Qt::LeftButton, {}, beside);
        QVERIFY(selected.isEmpty());
        QTest::mouseMove(m_bar.get(), beside);
        QTRY_COMPARE(m_bar->cursor().shape(), Qt::ArrowCursor);
    }

    void paintingReadsTheCurrentTabAndLaysOutTheHits()
    {
        const auto fillAt
            = [this](int page) { return m_bar->grab().toImage().pixelColor(m_bar->tabRect(page).left() + 3, 3); };
        const QColor schemesBefore = fillAt(PageOfColorSchemes);
        const QColor productsBefore = fillAt(PageOfProducts);
        QVERIFY(schemesBefore.lightness() > productsBefore.lightness());
        // Nothing tells the bar: it must read the stored page when it paints.
        UserState::setTabPageIndex(kInterior, PageOfProducts);
        QCOMPARE(fillAt(PageOfProducts), schemesBefore);
        QCOMPARE(fillAt(PageOfColorSchemes), productsBefore);
        m_bar->selectedCollectionChanged(kExterior);
        QVERIFY(m_bar->tabRect(PageOfProducts).isEmpty());
        QSignalSpy selected(m_bar.get(), &TabBarWidget::tabPageSelected);
        QTest::mouseClick(m_bar.get(), Qt::LeftButton, {}, QPoint(5, 15));
        QCOMPARE(selected.count(), 0);
        m_bar->repaint();
        QTest::mouseClick(m_bar.get(), Qt::LeftButton, {}, QPoint(5, 15));
        QCOMPARE(selected.count(), 1);
    }

    void shortcutsPickTheNthVisibleTab()
    {
        QSignalSpy selected(m_bar.get(), &TabBarWidget::tabPageSelected);
        // Collection, key and the page emitted (0: nothing).
        for (const auto &[collection, key, emitted] :
            QList<std::tuple<QUuid, int, int>> { { kInterior, Qt::Key_2, PageOfColorForesight },
                { kInterior, Qt::Key_1, 0 }, { kExterior, Qt::Key_3, 0 }, { kExterior, Qt::Key_2, PageOfProducts } }) {
            UserState::setLastUsedCollection(collection);
            UserState::setTabPageIndex(collection, PageOfColorSchemes);
            m_bar->selectedCollectionChanged(collection);
            QTest::keyClick(m_bar.get(), Qt::Key_T, Qt::ControlModifier);
            QTest::keyClick(m_bar.get(), Qt::Key(key), Qt::ControlModifier);
            QCOMPARE(selected,
                emitted ? QList<QVariantList> { { QVariant::fromValue(TabBarPage(emitted)) } }
                        : QList<QVariantList> {});
            selected.clear();
        }
        m_bar->hide();
        m_bar->switchToTab2();
        QCOMPARE(selected.count(), 0);
        m_bar->show();
        m_bar->switchToTab2();
        QCOMPARE(selected.count(), 1);
    }
};

HUELINK_TEST_MAIN(TabBarWidgetTest)
#include "TabBarWidgetTest.moc"
