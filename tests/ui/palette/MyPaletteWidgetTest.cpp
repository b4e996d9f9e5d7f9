#include "PaletteFixture.h"

#include "db/CollectionSettings.h"
#include "ui/chips/MainWidgetAccess.h"
#include "engine/inc/ModuleValues.h"
#include "state/UserState.h"
#include "ui/chips/ChipPayload.h"
#include "ui/chips/ColorTooltipText.h"
#include "ui/look/ImageButton.h"
#include "ui/look/Theme.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/TaskButton.h"
#include "ui/palette/MyPaletteWidget.h"
#include "ui/palette/PaletteChips.h"

#include <QDrag>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

using namespace Tintor;
using namespace PaletteFixture;

namespace {

using CellList = QList<QPoint>;

std::unique_ptr<QSettings> paletteStore()
{
    auto store = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vestrel"),
                                             settingsApplicationName());
    store->beginGroup(QStringLiteral("MyPalette"));
    return store;
}

QString cellKey(const QPoint &cell, const char *suffix)
{
    return QStringLiteral("(%1,%2).%3").arg(cell.y()).arg(cell.x()).arg(QLatin1String(suffix));
}

bool hasKey(const QPoint &cell, const char *suffix)
{
    return paletteStore()->contains(cellKey(cell, suffix));
}

CellList selectionOf(const MyPaletteWidget &palette)
{
    CellList cells;
    for (int n = 0; n < palette.selectedCellCount(); ++n)
        cells.append(palette.selectedCell(n));
    return cells;
}

// Stands in for the main widget: holds My Palette and the save button.
class StandInMainWidget : public QWidget, public MainWidgetAccess
{
public:
    StandInMainWidget()
    {
        resize(500, 300);
        saveButton = new TaskButton(this);
        MainWidgetAccess::setCurrent(this);
    }
    const std::vector<LabCandidate> &colorCandidates() const override { return m_candidates; }
    QWidget *mainWidgetItself() override { return this; }
    QAbstractButton *taskButtonById(quint16 id) override
    {
        return id == MyPaletteWidget::kSaveTaskButtonId ? saveButton : nullptr;
    }
    TaskButton *saveButton = nullptr;

private:
    std::vector<LabCandidate> m_candidates;
};

} // namespace

class MyPaletteWidgetTest : public QObject
{
    Q_OBJECT

private:
    Collections m_collections;
    std::unique_ptr<StandInMainWidget> m_main;
    MyPaletteWidget *m_palette = nullptr;

    void storeCells(const QList<QPair<QPoint, int>> &cells, const CellList &selected = {})
    {
        for (const auto &[cell, chip] : cells)
            UserState::setMyPaletteEntry(cell.y(), cell.x(), deckItem(m_collections, chip));
        for (const QPoint &cell : selected)
            UserState::setMyPaletteCellSelected(cell.y(), cell.x(), true);
    }

    // A palette in a shown stand-in main widget, 400 x 200.
    MyPaletteWidget *makePalette()
    {
        m_main = std::make_unique<StandInMainWidget>();
        m_palette = new MyPaletteWidget(m_main.get());
        m_palette->setGeometry(50, 40, 400, 200);
        m_main->show();
        if (!QTest::qWaitForWindowExposed(m_main.get()))
            return nullptr;
        return m_palette;
    }

    void click(const QPoint &cell, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(m_palette, Qt::LeftButton, modifiers, m_palette->cellRect(cell).center());
    }

    // Sends a drag enter and move over `position`; returns whether both were accepted.
    bool dragOver(QMimeData *mime, const QPoint &position)
    {
        QDragEnterEvent enter(position, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_palette, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(position, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_palette, &move);
        return move.isAccepted();
    }

    // Drags a payload over `position` and drops it; returns whether the drop was accepted.
    bool dropPayload(const QString &payloadText, const QPoint &position)
    {
        std::unique_ptr<QMimeData> mime(newChipPayloadMimeData(payloadText));
        if (!dragOver(mime.get(), position)) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(m_palette, &leave);
            return false;
        }
        QDropEvent drop(position, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_palette, &drop);
        return drop.isAccepted();
    }

    static QString fileWith(const QString &name, const QByteArray &bytes)
    {
        const QString path = TestEnvironment::programData() + QLatin1Char('/') + name;
        QFile file(path);
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() ? path
                                                                                                         : QString();
    }

    // The description and every cell, as the widget shows and stores them.
    QStringList paletteState() const
    {
        QStringList state{m_palette->descriptionText(),
                          paletteStore()->value(QStringLiteral("MyPaletteDescription")).toString()};
        for (int index = 0; index < 24; ++index) {
            const QPoint cell(index % 6, index / 6);
            state << m_palette->cellItem(cell).toText() + m_palette->cellName(cell)
                         + paletteStore()->value(cellKey(cell, "Entry")).toString();
        }
        return state;
    }

    QString deckPayload(ChipSource source, int chip)
    {
        DB::ColorEntry entry;
        PaletteChips::loadChip(deckItem(m_collections, chip), entry);
        return chipPayloadText(source, kDeck, entry);
    }

    void sendMove(const QPoint &end)
    {
        QMouseEvent move(QEvent::MouseMove, end, m_palette->mapToGlobal(end), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(m_palette, &move);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_collections = create();
        QVERIFY(m_collections.file->isOpen());
        m_collections.file->addTheme(0, themeItemKey(ThemeItem::BarBackground),
                                     FixtureDatabase::png(QSize(30, 30), QColor(90, 30, 120)));
    }

    void init()
    {
        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(kDeck);
    }

    void cleanup()
    {
        m_main.reset();
        m_palette = nullptr;
    }

    void cellGeometry_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QRect>("firstCell");
        QTest::addColumn<QRect>("lastCell");
        QTest::newRow("400x200, remainders centred")
            << QSize(400, 200) << QRect(QPoint(12, 42), QPoint(387, 171)) << QRect(QPoint(14, 43), QPoint(75, 74))
            << QRect(QPoint(324, 139), QPoint(385, 170));
        QTest::newRow("area divides evenly")
            << QSize(384, 174) << QRect(QPoint(12, 42), QPoint(371, 145)) << QRect(QPoint(12, 42), QPoint(71, 67))
            << QRect(QPoint(312, 120), QPoint(371, 145));
        QTest::newRow("too small for a cell") << QSize(28, 80) << QRect(QPoint(12, 42), QPoint(15, 51))
                                              << QRect(QPoint(14, 43), QSize(0, 2)) << QRect(QPoint(14, 49), QSize(0, 2));
    }

    void cellGeometry()
    {
        QFETCH(QSize, size);
        QFETCH(QRect, area);
        QFETCH(QRect, firstCell);
        QFETCH(QRect, lastCell);
        QCOMPARE(MyPaletteWidget::cellAreaFor(size, 30, 16), area);
        const auto cells = MyPaletteWidget::cellRectsFor(area);
        QCOMPARE(cells.front(), firstCell);
        QCOMPARE(cells.back(), lastCell);
        // Row-major and touching without gaps.
        QCOMPARE(cells[1].left(), cells[0].right() + 1);
        QCOMPARE(cells[6].top(), cells[0].bottom() + 1);
    }

    void layoutUsesItsOwnBarLineAndButtons()
    {
        QVERIFY(makePalette());
        const int barHeight = m_palette->barRect().height();
        QCOMPARE(m_palette->barRect(), QRect(0, 0, 400, barHeight));
        const int lineHeight = m_palette->fontMetrics().height();
        QCOMPARE(m_palette->descriptionEdit()->geometry(), QRect(QPoint(12, 200 - lineHeight), QPoint(387, 199)));
        const auto cells =
            MyPaletteWidget::cellRectsFor(MyPaletteWidget::cellAreaFor(QSize(400, 200), barHeight, lineHeight));
        QCOMPARE(m_palette->cellRect(QPoint(5, 3)), cells.back());
        QCOMPARE(m_palette->cellsRect(), (cells.front() | cells.back()).adjusted(0, 0, 1, 1));
        QCOMPARE(m_palette->cellAt(cells[7].center()), QPoint(1, 1));
        QCOMPARE(m_palette->cellAt(m_palette->cellsRect().bottomRight()), QPoint(-1, -1));

        // Right to left, 4 pixels apart, the grid button one bar height
        // from the right edge, all the same height.
        ImageButton *grid = m_palette->gridButton();
        QCOMPARE(grid->x(), 400 - grid->width() - barHeight);
        QCOMPARE(m_palette->clearButton()->geometry().right() + 1 + 4, grid->x());
        QCOMPARE(m_palette->eraseButton()->geometry().right() + 1 + 4, m_palette->clearButton()->x());
        QCOMPARE(m_palette->zoomButton()->geometry().right() + 1 + 4, m_palette->eraseButton()->x());
        for (ImageButton *button : {m_palette->zoomButton(), m_palette->eraseButton(), m_palette->clearButton()}) {
            QCOMPARE(button->height(), grid->height());
            QCOMPARE(button->y(), (barHeight - grid->height()) / 2);
        }
    }

    void reloadTakesCellsAndSelectionFromUserState()
    {
        storeCells({{QPoint(0, 0), 0}, {QPoint(3, 1), 5}, {QPoint(5, 3), 3}}, {QPoint(5, 3), QPoint(1, 0)});
        // A chip row that is gone, a collection that is gone, an unreadable entry.
        UserState::setMyPaletteEntry(0, 1, DB::ItemIndex{kDeck, m_collections.deckPageId, 99999});
        UserState::setMyPaletteEntry(0, 2, DB::ItemIndex{kGone, 3, 4});
        paletteStore()->setValue(cellKey(QPoint(4, 0), "Entry"), QStringLiteral("not an index"));
        UserState::setMyPaletteGridVisible(false);
        QVERIFY(makePalette());

        QCOMPARE(m_palette->cellColor(QPoint(0, 0)), kDeckChips.at(0).color);
        QCOMPARE(m_palette->cellName(QPoint(0, 0)), QStringLiteral("HL 1010 - Brick Lane"));
        QCOMPARE(m_palette->cellItem(QPoint(0, 0)), deckItem(m_collections, 0));
        // An empty name in the display slot leaves the code alone.
        QCOMPARE(m_palette->cellName(QPoint(3, 1)), QStringLiteral("HL 1060"));
        QCOMPARE(m_palette->cellColorId(QPoint(5, 3)), m_collections.deckRows.at(3));
        for (const QPoint &cell : {QPoint(1, 0), QPoint(2, 0), QPoint(4, 0)}) {
            QCOMPARE(m_palette->cellColorId(cell), qint64(-1));
            QCOMPARE(m_palette->cellColor(cell), QColor(Qt::transparent));
            QVERIFY(m_palette->cellName(cell).isEmpty());
        }
        // Reloading leaves the stored text of an unloadable cell alone.
        QVERIFY(hasKey(QPoint(2, 0), "Entry"));
        // Selection in row-major order.
        QCOMPARE(selectionOf(*m_palette), (CellList{QPoint(1, 0), QPoint(5, 3)}));
        QVERIFY(!m_palette->gridButton()->isChecked());
        QVERIFY(!m_palette->isPaletteEmpty());
        QCOMPARE(m_palette->descriptionEdit()->placeholderText(), QStringLiteral("Describe your palette here"));
        // Outside the grid: the empty answers.
        QCOMPARE(m_palette->cellColor(QPoint(6, 0)), QColor(Qt::transparent));
        QCOMPARE(m_palette->cellColorId(QPoint(0, 4)), qint64(-1));
        QVERIFY(m_palette->cellDescription(QPoint(-1, 0)).isEmpty());
        QCOMPARE(m_palette->selectedCell(2), QPoint(-1, -1));
        QCOMPARE(m_palette->cellDescription(QPoint(0, 0)),
                 QStringLiteral("Demo Deck\nHL 1010\nBrick Lane\nunused HL 1010"));
    }

    void pressSelects_data()
    {
        QTest::addColumn<QPoint>("cell");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<CellList>("expected");
        // Selected before: (1, 0) and (4, 2).
        const CellList two{QPoint(1, 0), QPoint(4, 2)};
        QTest::newRow("plain click selects the cell alone") << QPoint(2, 3) << Qt::KeyboardModifiers() << CellList{QPoint(2, 3)};
        QTest::newRow("plain click on a selected cell keeps only it")
            << QPoint(4, 2) << Qt::KeyboardModifiers() << CellList{QPoint(4, 2)};
        QTest::newRow("ctrl-click adds in click order") << QPoint(0, 0) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                                        << CellList{QPoint(1, 0), QPoint(4, 2), QPoint(0, 0)};
        QTest::newRow("ctrl-click on a selected cell deselects it")
            << QPoint(1, 0) << Qt::KeyboardModifiers(Qt::ControlModifier) << CellList{QPoint(4, 2)};
        QTest::newRow("shift-click changes nothing") << QPoint(3, 3) << Qt::KeyboardModifiers(Qt::ShiftModifier) << two;
        QTest::newRow("ctrl-shift-click changes nothing")
            << QPoint(1, 0) << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier) << two;
    }

    void pressSelects()
    {
        QFETCH(QPoint, cell);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(CellList, expected);
        storeCells({}, {QPoint(1, 0), QPoint(4, 2)});
        QVERIFY(makePalette());
        QSignalSpy selectionSpy(m_palette, &MyPaletteWidget::myPaletteSelectionChanged);
        QSignalSpy changeSpy(m_palette, &MyPaletteWidget::myPaletteChanged);

        click(cell, modifiers);

        QCOMPARE(selectionSpy.count(), 1);
        QCOMPARE(changeSpy.count(), 0);
        QCOMPARE(selectionOf(*m_palette), expected);
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 6; ++column)
                QCOMPARE(hasKey(QPoint(column, row), "Selected"), expected.contains(QPoint(column, row)));
        }
    }

    void pressesThatSelectNothing()
    {
        QVERIFY(makePalette());
        click(QPoint(2, 2));
        QSignalSpy selectionSpy(m_palette, &MyPaletteWidget::myPaletteSelectionChanged);
        // Outside the cells, on the one-pixel rim of the block, with the right button.
        QTest::mouseClick(m_palette, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
        QTest::mouseClick(m_palette, Qt::LeftButton, Qt::NoModifier, m_palette->cellsRect().bottomRight());
        QTest::mouseClick(m_palette, Qt::RightButton, Qt::NoModifier, m_palette->cellRect(QPoint(0, 0)).center());
        QCOMPARE(selectionSpy.count(), 0);
        QCOMPARE(selectionOf(*m_palette), CellList{QPoint(2, 2)});
    }

    void dropOnSelectedCellFillsAllSelected()
    {
        storeCells({{QPoint(0, 0), 0}}, {QPoint(0, 0), QPoint(3, 2), QPoint(5, 3)});
        QVERIFY(makePalette());
        QSignalSpy changeSpy(m_palette, &MyPaletteWidget::myPaletteChanged);

        QVERIFY(dropPayload(deckPayload(FromCardRoller, 4), m_palette->cellRect(QPoint(3, 2)).center()));

        QCOMPARE(changeSpy.count(), 1);
        const DB::ItemIndex dropped = deckItem(m_collections, 4);
        for (const QPoint &cell : {QPoint(0, 0), QPoint(3, 2), QPoint(5, 3)}) {
            QCOMPARE(m_palette->cellItem(cell), dropped);
            QCOMPARE(m_palette->cellColor(cell), kDeckChips.at(4).color);
            QCOMPARE(m_palette->cellName(cell), QStringLiteral("HL 1050 - Heather"));
            QCOMPARE(UserState::myPaletteEntry(cell.y(), cell.x()), dropped);
        }
        QCOMPARE(m_palette->cellColorId(QPoint(1, 0)), qint64(-1));
        QCOMPARE(m_palette->dropCell(), QPoint(-1, -1));
    }

    void dropOnUnselectedCellFillsOnlyIt()
    {
        storeCells({}, {QPoint(0, 0), QPoint(1, 0)});
        QVERIFY(makePalette());

        QVERIFY(dropPayload(deckPayload(FromHarmonizer, 2), m_palette->cellRect(QPoint(4, 1)).center()));

        QCOMPARE(m_palette->cellItem(QPoint(4, 1)), deckItem(m_collections, 2));
        QCOMPARE(m_palette->cellColorId(QPoint(0, 0)), qint64(-1));
        QVERIFY(hasKey(QPoint(4, 1), "Entry"));
        QVERIFY(!hasKey(QPoint(0, 0), "Entry"));
        // The selection is unchanged and still holds no chip.
        QCOMPARE(selectionOf(*m_palette), (CellList{QPoint(0, 0), QPoint(1, 0)}));
    }

    void dropsThatChangeNothing_data()
    {
        QTest::addColumn<QString>("payload");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("from My Palette") << QStringLiteral("my palette") << false;
        QTest::newRow("from the foresight tab") << QStringLiteral("foresight") << false;
        QTest::newRow("unknown source 9") << QStringLiteral("source 9") << false;
        QTest::newRow("not JSON") << QStringLiteral("{ \"from\" : 1") << false;
        // Accepted as a drop, but nothing to put into the cell.
        QTest::newRow("chip that does not load") << QStringLiteral("missing") << true;
    }

    void dropsThatChangeNothing()
    {
        QFETCH(QString, payload);
        QFETCH(bool, accepted);
        DB::ColorEntry missing;
        missing.id = 99999;
        if (payload == QLatin1String("my palette"))
            payload = deckPayload(FromMyPalette, 1);
        else if (payload == QLatin1String("foresight"))
            payload = colorPayloadText(FromForesight, QColor(10, 20, 30), QStringLiteral("Trend"), QString());
        else if (payload == QLatin1String("source 9"))
            payload = deckPayload(FromCardRoller, 1).replace(QStringLiteral("\"from\" : 1"), QStringLiteral("\"from\" : 9"));
        else if (payload == QLatin1String("missing"))
            payload = chipPayloadText(FromCardRoller, kDeck, missing);
        QVERIFY(makePalette());
        QSignalSpy changeSpy(m_palette, &MyPaletteWidget::myPaletteChanged);

        QCOMPARE(dropPayload(payload, m_palette->cellRect(QPoint(1, 1)).center()), accepted);

        QCOMPARE(changeSpy.count(), 0);
        QVERIFY(m_palette->isPaletteEmpty());
        QVERIFY(!hasKey(QPoint(1, 1), "Entry"));
        QCOMPARE(m_palette->dropCell(), QPoint(-1, -1));
    }

    void dragOverMarksTheCellUnderThePointer()
    {
        QVERIFY(makePalette());
        std::unique_ptr<QMimeData> mime(newChipPayloadMimeData(deckPayload(FromCardRoller, 0)));
        QVERIFY(dragOver(mime.get(), m_palette->cellRect(QPoint(2, 1)).center()));
        QCOMPARE(m_palette->dropCell(), QPoint(2, 1));
        // Over the bar: refused, no cell marked.
        QDragMoveEvent overBar(QPoint(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_palette, &overBar);
        QVERIFY(!overBar.isAccepted());
        QCOMPARE(overBar.dropAction(), Qt::IgnoreAction);
        QCOMPARE(m_palette->dropCell(), QPoint(-1, -1));
        QVERIFY(dragOver(mime.get(), m_palette->cellRect(QPoint(2, 1)).center()));
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(m_palette, &leave);
        QCOMPARE(m_palette->dropCell(), QPoint(-1, -1));
    }

    void eraseEmptiesSelectedCellsAndKeepsSelection()
    {
        storeCells({{QPoint(0, 0), 0}, {QPoint(1, 0), 1}, {QPoint(2, 0), 2}}, {QPoint(0, 0), QPoint(2, 0), QPoint(0, 1)});
        QVERIFY(makePalette());
        QVERIFY(m_palette->eraseButton()->isEnabled());
        QSignalSpy changeSpy(m_palette, &MyPaletteWidget::myPaletteChanged);

        QTest::mouseClick(m_palette->eraseButton(), Qt::LeftButton);

        QCOMPARE(changeSpy.count(), 1);
        QCOMPARE(m_palette->cellColorId(QPoint(0, 0)), qint64(-1));
        QCOMPARE(m_palette->cellColorId(QPoint(2, 0)), qint64(-1));
        QCOMPARE(m_palette->cellColorId(QPoint(1, 0)), m_collections.deckRows.at(1));
        QVERIFY(!hasKey(QPoint(0, 0), "Entry"));
        QVERIFY(!hasKey(QPoint(2, 0), "Entry"));
        QVERIFY(hasKey(QPoint(1, 0), "Entry"));
        QCOMPARE(selectionOf(*m_palette), (CellList{QPoint(0, 0), QPoint(2, 0), QPoint(0, 1)}));
        QVERIFY(hasKey(QPoint(0, 0), "Selected"));
        QVERIFY(!m_palette->eraseButton()->isEnabled());
        QVERIFY(m_palette->clearButton()->isEnabled());
    }

    // Also the grid button's stored state and the zoom button's request.
    void buttonsFollowContentsAndSelection()
    {
        QVERIFY(makePalette());
        QVERIFY(m_palette->isPaletteEmpty());
        QVERIFY(!m_palette->zoomButton()->isEnabled());
        QVERIFY(!m_palette->clearButton()->isEnabled());
        QVERIFY(!m_palette->eraseButton()->isEnabled());
        QVERIFY(!m_main->saveButton->isEnabled());

        QVERIFY(dropPayload(deckPayload(FromCardRoller, 0), m_palette->cellRect(QPoint(1, 1)).center()));
        QVERIFY(m_palette->zoomButton()->isEnabled());
        QVERIFY(m_palette->clearButton()->isEnabled());
        QVERIFY(m_main->saveButton->isEnabled());
        QVERIFY(!m_palette->eraseButton()->isEnabled());

        click(QPoint(0, 0));
        QVERIFY(!m_palette->eraseButton()->isEnabled());
        click(QPoint(1, 1), Qt::ControlModifier);
        QVERIFY(m_palette->eraseButton()->isEnabled());
        click(QPoint(1, 1), Qt::ControlModifier);
        QVERIFY(!m_palette->eraseButton()->isEnabled());

        QSignalSpy zoomSpy(m_palette, &MyPaletteWidget::zoomMyPaletteClicked);
        QTest::mouseClick(m_palette->zoomButton(), Qt::LeftButton);
        QCOMPARE(zoomSpy.count(), 1);

        QVERIFY(m_palette->gridButton()->isChecked());
        QTest::mouseClick(m_palette->gridButton(), Qt::LeftButton);
        QVERIFY(!m_palette->gridButton()->isChecked());
        QVERIFY(!UserState::myPaletteGridVisible());
        QTest::mouseClick(m_palette->gridButton(), Qt::LeftButton);
        QVERIFY(UserState::myPaletteGridVisible());
    }

    void withoutMainWidgetNothingIsReached()
    {
        MainWidgetAccess::setCurrent(nullptr);
        storeCells({{QPoint(0, 0), 0}});
        MyPaletteWidget palette;
        palette.resize(400, 200);
        palette.show();
        QVERIFY(QTest::qWaitForWindowExposed(&palette));
        QVERIFY(palette.zoomButton()->isEnabled());
        // A main widget that went away is forgotten rather than reached.
        {
            StandInMainWidget gone;
            QCOMPARE(MainWidgetAccess::current(), static_cast<MainWidgetAccess *>(&gone));
        }
        QCOMPARE(MainWidgetAccess::current(), nullptr);
        QTest::mouseClick(&palette, Qt::LeftButton, Qt::NoModifier, palette.cellRect(QPoint(0, 0)).center());
        QCOMPARE(palette.selectedCellCount(), 1);
    }

    // No leaves everything; Yes empties the cells, keeps selection and description.
    void clearQuestion()
    {
        storeCells({{QPoint(0, 0), 0}, {QPoint(5, 3), 1}}, {QPoint(0, 0)});
        QVERIFY(makePalette());
        m_palette->descriptionEdit()->setText(QStringLiteral("Kitchen"));
        QSignalSpy changeSpy(m_palette, &MyPaletteWidget::myPaletteChanged);
        QSignalSpy selectionSpy(m_palette, &MyPaletteWidget::myPaletteSelectionChanged);
        bool answered = false;
        QTimer::singleShot(0, m_palette, [this, &answered] {
            QMessageBox *box = m_palette->clearQuestion();
            QVERIFY(box && box->isVisible());
            QCOMPARE(box->text(), QStringLiteral("Remove every colour from My Palette?"));
            QCOMPARE(box->windowTitle(), QStringLiteral("Please confirm"));
            QCOMPARE(box->windowModality(), Qt::WindowModal);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
            QCOMPARE(box->escapeButton(), static_cast<QAbstractButton *>(box->button(QMessageBox::No)));
            QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
            answered = true;
        });
        QTest::mouseClick(m_palette->clearButton(), Qt::LeftButton);
        QTRY_VERIFY(answered);
        QMessageBox *box = m_palette->clearQuestion();
        QTRY_VERIFY(!box->isVisible());
        QCOMPARE(changeSpy.count(), 0);
        QCOMPARE(selectionSpy.count(), 0);
        QCOMPARE(m_palette->cellColorId(QPoint(0, 0)), m_collections.deckRows.at(0));
        QVERIFY(hasKey(QPoint(5, 3), "Entry"));

        QList<int> order;
        connect(m_palette, &MyPaletteWidget::myPaletteChanged, m_palette, [&order] { order.append(1); });
        connect(m_palette, &MyPaletteWidget::myPaletteSelectionChanged, m_palette, [&order] { order.append(2); });
        QTest::mouseClick(m_palette->clearButton(), Qt::LeftButton);
        // The box is made once and reused.
        QCOMPARE(m_palette->clearQuestion(), box);
        QTRY_VERIFY(box->isVisible());
        QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
        QCOMPARE(order, (QList<int>{1, 2}));
        QVERIFY(m_palette->isPaletteEmpty());
        QVERIFY(!hasKey(QPoint(0, 0), "Entry"));
        QVERIFY(!hasKey(QPoint(5, 3), "Entry"));
        QCOMPARE(selectionOf(*m_palette), CellList{QPoint(0, 0)});
        QCOMPARE(m_palette->descriptionText(), QStringLiteral("Kitchen"));
        QVERIFY(!m_palette->clearButton()->isEnabled());
    }

    void clearingForPaletteFiles()
    {
        storeCells({{QPoint(2, 2), 0}});
        QVERIFY(makePalette());
        m_palette->descriptionEdit()->setText(QStringLiteral("Hall"));
        m_palette->clearPalette(false);
        QVERIFY(m_palette->isPaletteEmpty());
        QVERIFY(!hasKey(QPoint(2, 2), "Entry"));
        QCOMPARE(m_palette->descriptionText(), QStringLiteral("Hall"));
        m_palette->clearPalette(true);
        QVERIFY(m_palette->descriptionText().isEmpty());
        QCOMPARE(paletteStore()->value(QStringLiteral("MyPaletteDescription")).toString(), QString());
        QVERIFY(paletteStore()->contains(QStringLiteral("MyPaletteDescription")));
    }

    void paletteFileRoundTripsEveryCell()
    {
        for (int index = 0; index < 24; ++index) {
            const bool plain = index % 3 == 2;
            UserState::setMyPaletteEntry(index / 6, index % 6,
                                         plain ? DB::ItemIndex{kPlainDeck, m_collections.plainPageId,
                                                               m_collections.plainRows.at(index % 3)}
                                               : deckItem(m_collections, index % 8));
        }
        QVERIFY(makePalette());
        m_palette->descriptionEdit()->setText(QStringLiteral("Fåglar «été» <&> 色"));
        m_palette->paletteDescriptionEditFinished();
        const QStringList saved = paletteState();
        const QString path = TestEnvironment::programData() + QStringLiteral("/round.palette");
        m_palette->savePaletteTo(PaletteXml, path);
        m_palette->clearPalette(true);
        QSignalSpy changed(m_palette, &MyPaletteWidget::myPaletteChanged);
        m_palette->loadPaletteFrom(PaletteText, path);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(paletteState(), saved);

        // The text list names each chip's collection; an empty one writes nothing.
        const QString listPath = TestEnvironment::programData() + QStringLiteral("/round.txt");
        m_palette->savePaletteTo(PaletteText, listPath);
        QFile list(listPath);
        QVERIFY(list.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = list.readAll().split('\n');
        QCOMPARE(lines.size(), 25);
        QCOMPARE(lines.at(0), QByteArray("\xEF\xBB\xBF" "Demo Deck : HL 1010"));
        QCOMPARE(lines.at(2), QByteArray("Plain Deck : PL-3"));
        m_palette->clearPalette(true);
        QVERIFY(QFile::remove(listPath));
        m_palette->savePaletteTo(PaletteText, listPath);
        QVERIFY(!QFile::exists(listPath));
    }

    void refusedPaletteFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("accepted");
        const QByteArray chip = "<chips><chip row=\"0\" col=\"1\"><entry uuid-of-collection=\""
                              + kDeck.toString().toLatin1()
                              + "\" page-index=\"1\" row-index=\"3\" color-code=\"hl 1030\"/></chip></chips>";
        const auto palette = [&](const QByteArray &attributes) {
            return "<vestrel-palette " + attributes + "><description>From file</description>" + chip
                 + "</vestrel-palette>";
        };
        const QByteArray multi = " system=\"multi-collection\"";
        QTest::newRow("version 3.00") << palette("version=\"3.00\"" + multi) << true;
        QTest::newRow("system in other letter case") << palette("version=\"3.0\" system=\"Multi-Collection\"") << true;
        QTest::newRow("version 2.0 through the phrase search")
            << QByteArray("<vestrel-palette version=\"2.0\" system=\"DECK\"><description>From file</description>"
                          "<chips><chip col=\"1\">hl 1030</chip><chip row=\"7\" col=\"0\">HL 1010</chip>"
                          "<chip row=\"2\" col=\"0\">No such colour</chip></chips></vestrel-palette>")
            << true;
        QTest::newRow("version 3.1") << palette("version=\"3.1\"" + multi) << false;
        QTest::newRow("version 3") << palette("version=\"3\"" + multi) << false;
        QTest::newRow("no version") << palette(multi) << false;
        QTest::newRow("other system") << palette("version=\"3.0\" system=\"DECK\"") << false;
        QTest::newRow("version 2 of an unknown collection") << palette("version=\"2.0\" system=\"GONE\"") << false;
        QTest::newRow("text list") << QByteArray("\xEF\xBB\xBF" "Demo Deck : HL 1010\n") << false;
        QTest::newRow("other root") << QByteArray("<palette version=\"3.0\"" + multi + "/>") << false;
        QTest::newRow("invalid UTF-8") << palette("version=\"3.0\"" + multi).replace("From", "Fr\xC3\x28m") << false;
        QTest::newRow("deep nesting") << palette("version=\"3.0\"" + multi).replace("From file",
                                             QByteArray("<a>").repeated(5000) + QByteArray("</a>").repeated(5000))
                                      << false;
        QTest::newRow("entity expansion")
            << "<!DOCTYPE vestrel-palette [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
                   + palette("version=\"3.0\"" + multi).replace("From file", "&b;&b;&b;&b;")
            << false;
        QTest::newRow("external entity")
            << "<!DOCTYPE vestrel-palette [<!ENTITY x SYSTEM \"file://" + fileWith("secret.txt", "secret").toUtf8()
                   + "\">]>" + palette("version=\"3.0\"" + multi).replace("From file", "&x;")
            << false;
        QTest::newRow("huge attribute") << palette("version=\"3.0\"" + multi + " x=\"" + QByteArray(12000000, 'a') + "\"")
                                        << false;
        QTest::newRow("past the size limit")
            << palette("version=\"3.0\"" + multi).replace("<chips>", QByteArray(16 * 1024 * 1024, ' ') + "<chips>")
            << false;
        QTest::newRow("a folder") << QByteArray() << false;
    }

    // Accepted files fill cell (1, 0) only, and take their description.
    void refusedPaletteFilesChangeNothing()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, accepted);
        storeCells({{QPoint(0, 0), 4}, {QPoint(1, 0), 5}});
        QVERIFY(makePalette());
        m_palette->descriptionEdit()->setText(QStringLiteral("Mine"));
        m_palette->paletteDescriptionEditFinished();
        const QStringList before = paletteState();
        QString path = TestEnvironment::programData() + QStringLiteral("/folder.palette");
        if (content.isEmpty())
            QVERIFY(QDir().mkpath(path));
        else
            path = fileWith(QStringLiteral("refused.palette"), content);
        m_palette->loadPaletteFrom(PaletteXml, path);
        QCOMPARE(paletteState() != before, accepted);
        if (accepted) {
            QCOMPARE(m_palette->descriptionText(), QStringLiteral("From file"));
            QCOMPARE(m_palette->cellItem(QPoint(1, 0)), deckItem(m_collections, 2));
            for (int index = 0; index < 24; ++index)
                QCOMPARE(m_palette->cellItem(QPoint(index % 6, index / 6)).namesChip(), index == 1);
        }
    }

    void failedSaveKeepsTheOldFileAndSaysWhy()
    {
        storeCells({{QPoint(0, 0), 4}});
        QVERIFY(makePalette());
        // A folder in the file's place, and a file in a read-only folder
        // (which root may still write).
        const QString folder = TestEnvironment::programData() + QStringLiteral("/locked");
        const QString taken = folder + QStringLiteral("/taken.palette");
        QVERIFY(QDir().mkpath(taken));
        const QString old = fileWith(QStringLiteral("locked/old.palette"), "old palette");
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool locked = !QFileInfo(folder).isWritable();
        for (const QString &path : locked ? QStringList{taken, old} : QStringList{taken}) {
            m_palette->savePaletteTo(PaletteXml, path);
            QMessageBox *message = m_palette->saveFailureMessage();
            QVERIFY(message && message->isVisible() && message->windowModality() == Qt::WindowModal);
            QVERIFY2(message->text().contains(QDir::toNativeSeparators(path)), qPrintable(message->text()));
            message->done(QMessageBox::Ok);
        }
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(QFileInfo(taken).isDir());
        QFile file(old);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("old palette"));
        if (!locked)
            QSKIP("the read-only folder stays writable for this user (root)");
    }

    void descriptionStoredAndItsFocusLook()
    {
        QVERIFY(makePalette());
        QLineEdit *edit = m_palette->descriptionEdit();
        QTRY_VERIFY(edit->font().italic());
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        QVERIFY(!edit->font().italic());
        QCOMPARE(edit->font(), programFont(FontStyle::Normal, 3));
        QTest::keyClicks(edit, QStringLiteral("North room"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(paletteStore()->value(QStringLiteral("MyPaletteDescription")).toString(), QStringLiteral("North room"));
        QCOMPARE(m_palette->descriptionText(), QStringLiteral("North room"));
        // With text, losing the focus keeps the upright font.
        m_palette->setFocus();
        QTRY_VERIFY(!edit->hasFocus());
        QVERIFY(!edit->font().italic());
        edit->clear();
        edit->setFocus();
        m_palette->setFocus();
        QTRY_VERIFY(edit->font().italic());
        // The edit shows the main widget's background behind it, in white.
        QCOMPARE(edit->palette().color(QPalette::Active, QPalette::Text), QColor(Qt::white));
        QVERIFY(!edit->palette().brush(QPalette::Inactive, QPalette::Base).textureImage().isNull());
    }

    void hoverShowsTheChipDescription()
    {
        storeCells({{QPoint(1, 1), 3}});
        QVERIFY(makePalette());
        m_main->activateWindow();
        QTest::mouseMove(m_palette, m_palette->cellRect(QPoint(1, 1)).center());
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), colorTooltipText(kDeck, m_collections.deckRows.at(3), true));
        QVERIFY(QToolTip::text().contains(QStringLiteral("Harbour Blue")));
        QTest::mouseMove(m_palette, m_palette->cellRect(QPoint(2, 1)).center());
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void draggingOutCarriesTheChip()
    {
        storeCells({{QPoint(4, 2), 6}});
        QVERIFY(makePalette());
        // From an empty cell, no move starts a drag.
        QPoint start = m_palette->cellRect(QPoint(1, 0)).center();
        QTest::mousePress(m_palette, Qt::LeftButton, Qt::NoModifier, start);
        sendMove(start + QPoint(30, 0));
        QVERIFY(!m_palette->findChild<QDrag *>());
        QTest::mouseRelease(m_palette, Qt::LeftButton, Qt::NoModifier, start + QPoint(30, 0));

        start = m_palette->cellRect(QPoint(4, 2)).center();
        QTest::mousePress(m_palette, Qt::LeftButton, Qt::NoModifier, start);
        sendMove(start + QPoint(QApplication::startDragDistance(), 0));
        QVERIFY(!m_palette->findChild<QDrag *>());
        sendMove(start + QPoint(QApplication::startDragDistance() + 2, 0));
        QDrag *drag = m_palette->findChild<QDrag *>();
        QVERIFY(drag);
        QUuid collection;
        DB::ColorEntry chip;
        QCOMPARE(chipPayloadSource(drag->mimeData()), FromMyPalette);
        QCOMPARE(readChipPayload(drag->mimeData(), collection, chip), 0);
        QCOMPARE(collection, kDeck);
        QCOMPARE(chip.id, m_collections.deckRows.at(6));
        // Copied, not moved.
        QCOMPARE(m_palette->cellColorId(QPoint(4, 2)), m_collections.deckRows.at(6));
    }

    void paintingShowsBarChipsGridSelectionAndDropCell()
    {
        storeCells({{QPoint(0, 0), 0}, {QPoint(2, 1), 3}}, {QPoint(2, 1)});
        QVERIFY(makePalette());
        std::unique_ptr<QMimeData> mime(newChipPayloadMimeData(deckPayload(FromCardRoller, 1)));
        QVERIFY(dragOver(mime.get(), m_palette->cellRect(QPoint(4, 3)).center()));

        const QImage image = m_main->grab().toImage();
        const QPoint offset = m_palette->pos();
        auto pixel = [&](const QPoint &point) { return QColor(image.pixel(point + offset)); };
        // The bar is the theme's image, not a placeholder.
        QCOMPARE(pixel(QPoint(2, 2)), QColor(90, 30, 120));
        const QRect chip = m_palette->cellRect(QPoint(0, 0));
        QCOMPARE(pixel(chip.center()), kDeckChips.at(0).color);
        QCOMPARE(pixel(QPoint(chip.center().x(), chip.top())), QColor(64, 64, 64));
        QCOMPARE(pixel(QPoint(chip.left(), chip.center().y())), QColor(64, 64, 64));
        // The selection frame lightens the grid line around the selected cell.
        const QRect selected = m_palette->cellRect(QPoint(2, 1));
        QVERIFY(pixel(QPoint(selected.center().x(), selected.top())).lightness() > 200);
        const QRect dropCell = m_palette->cellRect(QPoint(4, 3));
        const QColor drop = pixel(QPoint(dropCell.center().x(), dropCell.top()));
        QVERIFY2(drop.blue() > 150 && drop.red() < 100, qPrintable(drop.name()));

        QTest::mouseClick(m_palette->gridButton(), Qt::LeftButton);
        const QImage plain = m_main->grab().toImage();
        QCOMPARE(QColor(plain.pixel(QPoint(chip.center().x(), chip.top()) + offset)), kDeckChips.at(0).color);
    }
};

HUELINK_TEST_MAIN(MyPaletteWidgetTest)
#include "MyPaletteWidgetTest.moc"
