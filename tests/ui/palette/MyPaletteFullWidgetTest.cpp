#include "PaletteFixture.h"

#include "state/UserState.h"
#include "ui/look/ImageButton.h"
#include "ui/look/VestrelCustomStyle.h"
#include "ui/palette/MyPaletteFullWidget.h"

#include <QSlider>
#include <QtTest>

using namespace Tintor;
using namespace PaletteFixture;

class MyPaletteFullWidgetTest : public QObject {
    Q_OBJECT

private:
    Collections m_collections;
    std::unique_ptr<MyPaletteFullWidget> m_view;

    MyPaletteFullWidget *makeView()
    {
        m_view = std::make_unique<MyPaletteFullWidget>();
        m_view->resize(500, 400);
        m_view->show();
        return QTest::qWaitForWindowExposed(m_view.get()) ? m_view.get() : nullptr;
    }

    QColor pixelAt(const QPoint &point) const { return QColor(m_view->grab().toImage().pixel(point)); }

private Q_SLOTS:
    void initTestCase()
    {
        m_collections = create();
        QVERIFY(m_collections.file->isOpen());
    }

    void init()
    {
        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(kDeck);
    }

    void cleanup() { m_view.reset(); }

    // 500x400, the 800x600 main widget, an odd height that rounds the top down.
    void gridGeometry()
    {
        const std::tuple<QSize, QSize, QRect> rows[] = { { { 500, 400 }, { 62, 34 }, { 64, 146, 372, 136 } },
            { { 800, 600 }, { 112, 62 }, { 64, 190, 672, 248 } }, { { 500, 401 }, { 62, 34 }, { 64, 147, 372, 136 } } };
        for (const auto &[size, cell, grid] : rows) {
            QCOMPARE(MyPaletteFullWidget::cellSizeFor(size), cell);
            QCOMPARE(MyPaletteFullWidget::gridRectFor(size, 30), grid);
        }
    }

    void layoutOfBarButtonSliderAndCells()
    {
        QVERIFY(makeView());
        const int barHeight = m_view->barRect().height();
        QCOMPARE(m_view->barRect(), QRect(0, 0, 500, barHeight));
        QCOMPARE(m_view->cellRect(QPoint(0, 0)), QRect(m_view->gridRect().topLeft(), QSize(62, 34)));
        QCOMPARE(m_view->cellRect(QPoint(5, 3)).bottomRight(), m_view->gridRect().bottomRight());
        QCOMPARE(m_view->cellAt(m_view->cellRect(QPoint(3, 2)).center()), QPoint(3, 2));
        QCOMPARE(m_view->cellAt(m_view->gridRect().topLeft() - QPoint(1, 0)), QPoint(-1, -1));

        ImageButton *back = m_view->backButton();
        const int buttonOffset = (barHeight - back->height()) / 2;
        QCOMPARE(back->pos(), QPoint(buttonOffset, buttonOffset));
        QSlider *slider = m_view->backgroundSlider();
        const int margin = (barHeight - slider->sizeHint().height()) / 2;
        QCOMPARE(slider->geometry(),
            QRect(QPoint(500 - 1 - margin - 255, margin),
                QPoint(500 - 1 - margin, margin + slider->sizeHint().height() - 1)));
        QCOMPARE(slider->style(), static_cast<QStyle *>(m_view->sliderStyle()));
        QVERIFY(!m_view->sliderStyle()->handleImage.isNull());
        QVERIFY(slider->invertedAppearance());
        QCOMPARE(slider->pageStep(), 10);

        // The slider stores and repaints the grey.
        slider->setFocus();
        QTest::keyClick(slider, Qt::Key_Home);
        QCOMPARE(slider->value(), 0);
        QCOMPARE(UserState::myPaletteFullBackgroundColor(), 0);
        slider->setValue(64);
        QCOMPARE(UserState::myPaletteFullBackgroundColor(), 64);
        QCOMPARE(pixelAt(QPoint(10, 390)), QColor(64, 64, 64));
    }

    // Nothing stored or out of range: 176; constructing never writes the value back.
    void sliderStartsFromTheStoredGrey()
    {
        for (const auto &[stored, expected] :
            { std::pair { -2, 176 }, { 0, 0 }, { 255, 255 }, { 300, 176 }, { -1, 176 } }) {
            TestEnvironment::resetUserState();
            if (stored != -2)
                UserState::setMyPaletteFullBackgroundColor(stored);
            QVERIFY(makeView());
            QCOMPARE(m_view->backgroundSlider()->value(), expected);
            if (stored != -2)
                QCOMPARE(UserState::myPaletteFullBackgroundColor(), stored);
            QCOMPARE(pixelAt(QPoint(250, 380)), QColor(expected, expected, expected));
        }
    }

    void cellsComeFromTheUserStateOnEveryPaintAndClicksShowOneColour()
    {
        UserState::setMyPaletteEntry(0, 0, deckItem(m_collections, 0));
        UserState::setMyPaletteEntry(1, 2, DB::ItemIndex { kGone, 1, 2 });
        UserState::setMyPaletteEntry(3, 5, DB::ItemIndex { kDeck, m_collections.deckPageId, 99999 });
        QVERIFY(makeView());
        const auto cell = [this](int column, int row) { return m_view->cellRect(QPoint(column, row)).center(); };
        QCOMPARE(pixelAt(cell(0, 0)), kDeckChips.at(0).color);
        // Gone collection, gone row and empty cells are white, with grey 176 outlines between the cells.
        for (const QPoint &empty : { cell(2, 1), cell(5, 3), cell(1, 0) })
            QCOMPARE(pixelAt(empty), QColor(Qt::white));
        QCOMPARE(pixelAt(m_view->cellRect(QPoint(1, 0)).topLeft() + QPoint(0, 10)), QColor(176, 176, 176));
        // No reload needed: the next paint shows what the state holds now.
        UserState::setMyPaletteEntry(1, 2, deckItem(m_collections, 3));
        QCOMPARE(pixelAt(cell(2, 1)), kDeckChips.at(3).color);

        // A click on a chip shows its colour over the whole grid; a click on no chip does nothing.
        QTest::mouseClick(m_view.get(), Qt::LeftButton, {}, cell(1, 0));
        QTest::mouseClick(m_view.get(), Qt::LeftButton, {}, QPoint(10, 380));
        QCOMPARE(m_view->shownColor(), QColor(Qt::transparent));
        QTest::mouseClick(m_view.get(), Qt::RightButton, {}, cell(2, 1));
        QCOMPARE(m_view->shownColor(), kDeckChips.at(3).color);
        QCOMPARE(pixelAt(cell(1, 0)), kDeckChips.at(3).color);
        QCOMPARE(pixelAt(m_view->gridRect().bottomRight()), kDeckChips.at(3).color);
        QCOMPARE(pixelAt(m_view->gridRect().bottomRight() + QPoint(1, 1)), QColor(176, 176, 176));
        // Anywhere, also outside the grid, returns.
        QTest::mouseClick(m_view.get(), Qt::LeftButton, {}, QPoint(10, 380));
        QCOMPARE(m_view->shownColor(), QColor(Qt::transparent));
        QCOMPARE(pixelAt(cell(1, 0)), QColor(Qt::white));
        // The back button also returns, and asks to leave the view.
        QSignalSpy backSpy(m_view.get(), &MyPaletteFullWidget::backButtonClicked);
        QTest::mouseClick(m_view.get(), Qt::LeftButton, {}, cell(0, 0));
        QVERIFY(m_view->shownColor() != QColor(Qt::transparent));
        QTest::mouseClick(m_view->backButton(), Qt::LeftButton);
        QCOMPARE(backSpy.count(), 1);
        QCOMPARE(m_view->shownColor(), QColor(Qt::transparent));
    }
};

HUELINK_TEST_MAIN(MyPaletteFullWidgetTest)
#include "MyPaletteFullWidgetTest.moc"
