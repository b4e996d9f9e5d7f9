#include "PaletteFixture.h"

#include "db/NavigationQueries.h"
#include "ui/look/ImageButton.h"
#include "ui/look/KeyFocusMark.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QSignalSpy>
#include <QtTest>

#include <functional>

using namespace Tintor;
using namespace PaletteFixture;

namespace {

using CellList = QList<QPoint>;

// What an action leaves behind: the selection, the stored cells and the signals.
struct Outcome
{
    CellList selection;
    QStringList stored;
    QList<int> signalCounts;
    bool operator==(const Outcome &other) const
    {
        return selection == other.selection && stored == other.stored && signalCounts == other.signalCounts;
    }
};

char *toString(const Outcome &outcome)
{
    QStringList cells;
    for (const QPoint &cell : outcome.selection)
        cells << QStringLiteral("(%1,%2)").arg(cell.x()).arg(cell.y());
    return qstrdup(qPrintable(cells.join(QLatin1Char(' ')) + QLatin1Char('|') + outcome.stored.join(QLatin1Char(' '))
                              + QStringLiteral("|%1,%2").arg(outcome.signalCounts.value(0)).arg(outcome.signalCounts.value(1))));
}

} // namespace

class PaletteKeyboardTest : public QObject
{
    Q_OBJECT

    Collections m_collections;

    // A shown palette over cells (0,0), (1,0), (0,1) holding chips 0 to 2 and `selected`.
    Outcome run(const CellList &selected, bool enabled, const std::function<void(MyPaletteWidget &)> &action)
    {
        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(kDeck);
        const CellList filled{{0, 0}, {1, 0}, {0, 1}};
        for (int chip = 0; chip < filled.size(); ++chip)
            UserState::setMyPaletteEntry(filled[chip].y(), filled[chip].x(), deckItem(m_collections, chip));
        for (const QPoint &cell : selected)
            UserState::setMyPaletteCellSelected(cell.y(), cell.x(), true);
        MyPaletteWidget palette;
        palette.resize(400, 200);
        palette.show();
        palette.setEnabled(enabled);
        QSignalSpy changed(&palette, &MyPaletteWidget::myPaletteChanged);
        QSignalSpy selection(&palette, &MyPaletteWidget::myPaletteSelectionChanged);
        QSignalSpy requests(&palette, &MyPaletteWidget::selectColorRequested);
        action(palette);
        Outcome outcome{{}, {}, {int(changed.size()), int(selection.size()), int(requests.size())}};
        for (int n = 0; n < palette.selectedCellCount(); ++n)
            outcome.selection << palette.selectedCell(n);
        for (int index = 0; index < 24; ++index)
            outcome.stored << UserState::myPaletteEntry(index / 6, index % 6).toText()
                                  + (UserState::myPaletteCellSelected(index / 6, index % 6) ? "+" : "");
        return outcome;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_collections = create();
        QVERIFY(m_collections.file->isOpen());
    }

    // Each key does what its mouse action does, to the stored state and the signals.
    void keyActsAsMouse_data()
    {
        QTest::addColumn<CellList>("selected");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QPoint>("click"); // (-1, -1): the erase button; (-2, -2): nothing
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("enabled");
        const CellList two{{0, 0}, {2, 2}};
        QTest::newRow("Space selects the focused cell alone") << two << "Right,Space" << QPoint(1, 0) << 0 << true;
        QTest::newRow("Ctrl+Space adds a cell") << two << "Down,Ctrl+Space" << QPoint(0, 1) << int(Qt::ControlModifier) << true;
        QTest::newRow("Ctrl+Space removes a cell") << two << "Ctrl+Space" << QPoint(0, 0) << int(Qt::ControlModifier) << true;
        QTest::newRow("Shift+Space as Shift-click") << two << "Shift+Space" << QPoint(0, 0) << int(Qt::ShiftModifier) << true;
        QTest::newRow("Shift+arrow as Shift-click") << two << "Shift+Right" << QPoint(1, 0) << int(Qt::ShiftModifier) << true;
        QTest::newRow("arrows stop at the edge") << two << "Up,Left,Space" << QPoint(0, 0) << 0 << true;
        QTest::newRow("Delete erases as the button") << CellList{{0, 0}, {5, 3}} << "Delete" << QPoint(-1, -1) << 0 << true;
        QTest::newRow("Delete without a chip selected") << CellList{{5, 3}} << "Delete" << QPoint(-1, -1) << 0 << true;
        QTest::newRow("disabled: no key acts") << two << "Right,Space,Ctrl+Space,Delete,Return" << QPoint(-2, -2) << 0 << false;
    }
    void keyActsAsMouse()
    {
        QFETCH(CellList, selected);
        QFETCH(QString, keys);
        QFETCH(QPoint, click);
        QFETCH(int, modifiers);
        QFETCH(bool, enabled);
        const Outcome byKeys = run(selected, enabled, [&keys](MyPaletteWidget &palette) {
            const QKeySequence sequence = QKeySequence::fromString(keys);
            for (int n = 0; n < sequence.count(); ++n)
                QTest::keyClick(&palette, sequence[n].key(), sequence[n].keyboardModifiers());
        });
        const Outcome byMouse = run(selected, enabled, [&](MyPaletteWidget &palette) {
            if (click == QPoint(-1, -1))
                QTest::mouseClick(palette.eraseButton(), Qt::LeftButton);
            else if (click.x() >= 0)
                QTest::mouseClick(&palette, Qt::LeftButton, Qt::KeyboardModifiers(modifiers),
                                  palette.cellRect(click).center());
        });
        QCOMPARE(byKeys, byMouse);
    }

    void returnAsksForTheColor()
    {
        const Outcome outcome = run({{1, 0}}, true, [](MyPaletteWidget &palette) { QTest::keyClick(&palette, Qt::Key_Return); });
        QCOMPARE(outcome.signalCounts, (QList<int>{0, 0, 1}));
    }

    void focusMarkShowsOnlyWithFocus()
    {
        run({}, true, [](MyPaletteWidget &palette) {
            palette.activateWindow();
            palette.setFocus();
            QTest::keyClick(&palette, Qt::Key_Right);
            const QRect mark = keyFocusMarkRect(palette.cellRect(QPoint(1, 0)));
            const QPoint probe(mark.left() + 1, mark.center().y());
            QTRY_VERIFY(palette.hasFocus());
            QVERIFY(palette.grab().toImage().pixelColor(probe) != palette.cellColor(QPoint(1, 0)));
            palette.clearFocus();
            QCOMPARE(palette.grab().toImage().pixelColor(probe), palette.cellColor(QPoint(1, 0)));
        });
    }

    void placeChip_data()
    {
        QTest::addColumn<CellList>("selected");
        QTest::addColumn<int>("fill"); // cells filled row-major before placing
        QTest::addColumn<QPoint>("target");
        QTest::newRow("first selected cell") << CellList{{4, 2}, {1, 1}} << 3 << QPoint(1, 1);
        QTest::newRow("first empty cell") << CellList{} << 3 << QPoint(3, 0);
        QTest::newRow("full palette") << CellList{} << 24 << QPoint(-1, -1);
    }
    void placeChip()
    {
        QFETCH(CellList, selected);
        QFETCH(int, fill);
        QFETCH(QPoint, target);
        DB::ColorEntry chip;
        QCOMPARE(DB::entryById(kPlainDeck, m_collections.plainRows.at(1), chip), 0);
        bool placed = false;
        const Outcome outcome = run(selected, true, [&](MyPaletteWidget &palette) {
            for (int index = 0; index < fill; ++index)
                UserState::setMyPaletteEntry(index / 6, index % 6, deckItem(m_collections, index % 8));
            palette.selectedCollectionChanged(kDeck);
            placed = palette.placeChip(kPlainDeck, chip);
        });
        QCOMPARE(placed, target.x() >= 0);
        QCOMPARE(outcome.signalCounts, placed ? (QList<int>{1, 1, 0}) : (QList<int>{0, 0, 0}));
        if (!placed)
            return;
        QCOMPARE(outcome.selection, CellList{target});
        const DB::ItemIndex item{kPlainDeck, m_collections.plainPageId, chip.id};
        QCOMPARE(outcome.stored.at(target.y() * 6 + target.x()), item.toText() + "+");
        QCOMPARE(outcome.stored.join(QString()).count(QLatin1Char('+')), 1);
    }
};

HUELINK_TEST_MAIN(PaletteKeyboardTest)
#include "PaletteKeyboardTest.moc"
