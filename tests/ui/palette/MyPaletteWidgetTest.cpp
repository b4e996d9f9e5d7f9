#include "PaletteFixture.h"

#include "engine/inc/ModuleValues.h"
#include "ui/chips/ChipPayload.h"
#include "ui/chips/ColorTooltipText.h"
#include "ui/chips/MainWidgetAccess.h"
#include "ui/look/ImageButton.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/TaskButton.h"
#include "ui/look/Theme.h"
#include "ui/palette/MyPaletteWidget.h"
#include "ui/palette/PaletteChips.h"

#include <QDrag>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolTip>
#include <QtTest>

using namespace Tintor;
using namespace PaletteFixture;

namespace {

using CellList = QList<QPoint>;

QVariant stored(const QPoint &cell, const char *suffix)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, "Vestrel", settingsApplicationName());
    const QString key = cell.x() < 0 ? QString::fromLatin1(suffix)
                                     : QStringLiteral("(%1,%2).%3").arg(cell.y()).arg(cell.x()).arg(suffix);
    return store.value("MyPalette/" + key);
}

CellList selectionOf(const MyPaletteWidget &palette)
{
    CellList cells;
    for (int n = 0; n < palette.selectedCellCount(); ++n)
        cells.append(palette.selectedCell(n));
    return cells;
}

QString fileWith(const QString &name, const QByteArray &bytes)
{
    const QString path = TestEnvironment::programData() + QLatin1Char('/') + name;
    return FixtureDatabase::writeFile(path, bytes) ? path : QString();
}

// Stands in for the main widget: holds My Palette and the save button.
class StandInMainWidget : public QWidget, public MainWidgetAccess {
public:
    StandInMainWidget()
    {
        resize(500, 300);
        MainWidgetAccess::setCurrent(this);
    }
    QWidget *mainWidgetItself() override { return this; }
    QAbstractButton *taskButtonById(quint16 id) override
    {
        return id == MyPaletteWidget::kSaveTaskButtonId ? saveButton : nullptr;
    }
    TaskButton *saveButton = new TaskButton(this);
};

} // namespace

// Collects the regions a widget is asked to paint.
class PaintRegionSpy : public QObject {
public:
    PaintRegionSpy(QWidget *widget, QRegion &painted) : m_painted(painted) { widget->installEventFilter(this); }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted += static_cast<QPaintEvent *>(event)->region();
        return false;
    }

private:
    QRegion &m_painted;
};

class MyPaletteWidgetTest : public QObject {
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

    // A palette at (50, 40), 400 x 200, in a shown stand-in main widget.
    bool makePalette()
    {
        m_main = std::make_unique<StandInMainWidget>();
        m_palette = new MyPaletteWidget(m_main.get());
        m_palette->setGeometry(50, 40, 400, 200);
        m_main->show();
        return QTest::qWaitForWindowExposed(m_main.get());
    }

    // Sends a drag enter and move over `position`; returns whether both were accepted.
    bool dragOver(QMimeData *mime, const QPoint &position)
    {
        QDragEnterEvent enter(position, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_palette, &enter);
        QDragMoveEvent move(position, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        if (enter.isAccepted())
            QCoreApplication::sendEvent(m_palette, &move);
        return enter.isAccepted() && move.isAccepted();
    }

    // Drags a payload over `position` and drops it; returns whether the drop was accepted.
    bool dropPayload(const QString &payloadText, const QPoint &position)
    {
        std::unique_ptr<QMimeData> mime(newChipPayloadMimeData(payloadText));
        if (!dragOver(mime.get(), position))
            return false;
        QDropEvent drop(position, Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_palette, &drop);
        return drop.isAccepted();
    }

    // The description and every cell, as the widget shows and stores them.
    QStringList paletteState() const
    {
        QStringList state { m_palette->descriptionText(), stored({ -1, -1 }, "MyPaletteDescription").toString() };
        for (int index = 0; index < 24; ++index) {
            const QPoint cell(index % 6, index / 6);
            state << m_palette->cellItem(cell).toText() + m_palette->cellName(cell) + stored(cell, "Entry").toString();
        }
        return state;
    }

    QString deckPayload(ChipSource source, int chip)
    {
        DB::ColorEntry entry;
        PaletteChips::loadChip(deckItem(m_collections, chip), entry);
        return chipPayloadText(source, kDeck, entry);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_collections = create();
        QVERIFY(m_collections.file->isOpen());
        m_collections.file->addTheme(
            0, themeItemKey(ThemeItem::BarBackground), FixtureDatabase::png(QSize(30, 30), QColor(90, 30, 120)));
    }

    void init()
    {
        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(kDeck);
    }

    void cleanup() { m_main.reset(); }

    // 400x200 centres the remainders, an area that divides evenly, one too small for a cell.
    void cellGeometry()
    {
        const std::tuple<QSize, QRect, QRect, QRect> rows[]
            = { { { 400, 200 }, { 12, 42, 376, 130 }, { 14, 43, 62, 32 }, { 324, 139, 62, 32 } },
                  { { 384, 174 }, { 12, 42, 360, 104 }, { 12, 42, 60, 26 }, { 312, 120, 60, 26 } },
                  { { 28, 80 }, { 12, 42, 4, 10 }, { 14, 43, 0, 2 }, { 14, 49, 0, 2 } } };
        for (const auto &[size, area, first, last] : rows) {
            QCOMPARE(MyPaletteWidget::cellAreaFor(size, 30, 16), area);
            const auto cells = MyPaletteWidget::cellRectsFor(area);
            QCOMPARE(cells.front(), first);
            QCOMPARE(cells.back(), last);
            // Row-major and touching without gaps.
            QCOMPARE(cells[1].left(), cells[0].right() + 1);
            QCOMPARE(cells[6].top(), cells[0].bottom() + 1);
        }
    }

    // Its own bar, description line and buttons; the painted bar, chips, grid, selection and drop cell.
    void layoutAndPainting()
    {
        storeCells({ { QPoint(0, 0), 0 }, { QPoint(2, 1), 3 } }, { QPoint(2, 1) });
        QVERIFY(makePalette());
        const int barHeight = m_palette->barRect().height();
        QCOMPARE(m_palette->barRect(), QRect(0, 0, 400, barHeight));
        const int lineHeight = m_palette->fontMetrics().height();
        QCOMPARE(m_palette->descriptionEdit()->geometry(), QRect(QPoint(12, 200 - lineHeight), QPoint(387, 199)));
        const auto cells
            = MyPaletteWidget::cellRectsFor(MyPaletteWidget::cellAreaFor(QSize(400, 200), barHeight, lineHeight));
        QCOMPARE(m_palette->cellRect(QPoint(5, 3)), cells.back());
        QCOMPARE(m_palette->cellsRect(), (cells.front() | cells.back()).adjusted(0, 0, 1, 1));
        QCOMPARE(m_palette->cellAt(cells[7].center()), QPoint(1, 1));
        QCOMPARE(m_palette->cellAt(m_palette->cellsRect().bottomRight()), QPoint(-1, -1));

        // Right to left, 4 pixels apart, the grid button one bar height from the right edge, all as high.
        ImageButton *grid = m_palette->gridButton();
        QCOMPARE(grid->x(), 400 - grid->width() - barHeight);
        QCOMPARE(m_palette->clearButton()->geometry().right() + 1 + 4, grid->x());
        QCOMPARE(m_palette->eraseButton()->geometry().right() + 1 + 4, m_palette->clearButton()->x());
        QCOMPARE(m_palette->zoomButton()->geometry().right() + 1 + 4, m_palette->eraseButton()->x());
        for (ImageButton *button : { m_palette->zoomButton(), m_palette->eraseButton(), m_palette->clearButton() })
            QCOMPARE(button->geometry(),
                QRect(button->x(), (barHeight - grid->height()) / 2, button->width(), grid->height()));

        std::unique_ptr<QMimeData> mime(newChipPayloadMimeData(deckPayload(FromCardRoller, 1)));
        QVERIFY(dragOver(mime.get(), m_palette->cellRect(QPoint(4, 3)).center()));
        QCOMPARE(m_palette->dropCell(), QPoint(4, 3));
        QImage image = m_main->grab().toImage();
        auto pixel = [&](const QPoint &point) { return QColor(image.pixel(point + m_palette->pos())); };
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
        image = m_main->grab().toImage();
        QCOMPARE(pixel(QPoint(chip.center().x(), chip.top())), kDeckChips.at(0).color);
        // Over the bar: refused, no cell marked.
        QDragMoveEvent overBar(QPoint(5, 5), Qt::CopyAction, mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_palette, &overBar);
        QVERIFY(!overBar.isAccepted());
        QCOMPARE(overBar.dropAction(), Qt::IgnoreAction);
        QCOMPARE(m_palette->dropCell(), QPoint(-1, -1));
        QVERIFY(dragOver(mime.get(), m_palette->cellRect(QPoint(4, 3)).center()));
        QCoreApplication::processEvents();
        // The highlight must be painted away once the drag leaves, not left on screen.
        QRegion painted;
        const auto spy = std::make_unique<PaintRegionSpy>(m_palette, painted);
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(m_palette, &leave);
        QCOMPARE(m_palette->dropCell(), QPoint(-1, -1));
        QTRY_VERIFY(painted.contains(m_palette->cellRect(QPoint(4, 3)).center()));
    }

    // Reloading, then hovering and dragging out a chip.
    void reloadHoverAndDragOut()
    {
        storeCells({ { QPoint(0, 0), 0 }, { QPoint(3, 1), 5 }, { QPoint(5, 3), 3 } }, { QPoint(5, 3), QPoint(1, 0) });
        // A chip row that is gone, a collection that is gone, an unreadable entry.
        UserState::setMyPaletteEntry(0, 1, DB::ItemIndex { kDeck, m_collections.deckPageId, 99999 });
        UserState::setMyPaletteEntry(0, 2, DB::ItemIndex { kGone, 3, 4 });
        UserState::setMyPaletteGridVisible(false);
        QSettings(QSettings::IniFormat, QSettings::UserScope, "Vestrel", settingsApplicationName())
            .setValue("MyPalette/(0,4).Entry", "not an index");
        QVERIFY(makePalette());

        QCOMPARE(m_palette->cellColor(QPoint(0, 0)), kDeckChips.at(0).color);
        QCOMPARE(m_palette->cellName(QPoint(0, 0)), "HL 1010 - Brick Lane");
        QCOMPARE(m_palette->cellItem(QPoint(0, 0)), deckItem(m_collections, 0));
        QCOMPARE(m_palette->cellDescription(QPoint(0, 0)), "Demo Deck\nHL 1010\nBrick Lane\nunused HL 1010");
        // An empty name in the display slot leaves the code alone.
        QCOMPARE(m_palette->cellName(QPoint(3, 1)), "HL 1060");
        QCOMPARE(m_palette->cellColorId(QPoint(5, 3)), m_collections.deckRows.at(3));
        for (const QPoint &cell : { QPoint(1, 0), QPoint(2, 0), QPoint(4, 0), QPoint(6, 0) })
            QCOMPARE(m_palette->cellColorId(cell), qint64(-1));
        QCOMPARE(m_palette->cellColor(QPoint(6, 0)), QColor(Qt::transparent));
        // Reloading leaves the stored text of an unloadable cell alone.
        QVERIFY(stored(QPoint(2, 0), "Entry").isValid());
        // Selection in row-major order.
        QCOMPARE(selectionOf(*m_palette), (CellList { QPoint(1, 0), QPoint(5, 3) }));
        QCOMPARE(m_palette->selectedCell(2), QPoint(-1, -1));
        QVERIFY(!m_palette->gridButton()->isChecked());
        QCOMPARE(m_palette->descriptionEdit()->placeholderText(), "Describe your palette here");

        m_main->activateWindow();
        QTest::mouseMove(m_palette, m_palette->cellRect(QPoint(5, 3)).center());
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), colorTooltipText(kDeck, m_collections.deckRows.at(3), true));
        QVERIFY(QToolTip::text().contains("Harbour Blue"));
        QTest::mouseMove(m_palette, m_palette->cellRect(QPoint(2, 1)).center());
        QTRY_VERIFY(!QToolTip::isVisible());
        // A drag starts past the start distance, and only from a cell with a chip.
        const auto moveBy = [this](const QPoint &start, int distance) {
            const QPoint end = start + QPoint(distance, 0);
            QMouseEvent move(QEvent::MouseMove, end, m_palette->mapToGlobal(end), Qt::NoButton, Qt::LeftButton, {});
            QCoreApplication::sendEvent(m_palette, &move);
            return m_palette->findChild<QDrag *>();
        };
        QPoint start = m_palette->cellRect(QPoint(1, 0)).center();
        QTest::mousePress(m_palette, Qt::LeftButton, {}, start);
        QVERIFY(!moveBy(start, 30));
        QTest::mouseRelease(m_palette, Qt::LeftButton, {}, start);
        start = m_palette->cellRect(QPoint(5, 3)).center();
        QTest::mousePress(m_palette, Qt::LeftButton, {}, start);
        QVERIFY(!moveBy(start, QApplication::startDragDistance()));
        QDrag *drag = moveBy(start, QApplication::startDragDistance() + 2);
        QVERIFY(drag);
        QCOMPARE(drag->mimeData()->data(chipPayloadMimeType()), deckPayload(FromMyPalette, 3).toUtf8());
        // Copied, not moved.
        QCOMPARE(m_palette->cellColorId(QPoint(5, 3)), m_collections.deckRows.at(3));
    }

    // The description's store and look; the clear question: No keeps all, Yes empties cells, keeps the rest.
    void descriptionAndClearQuestion()
    {
        storeCells({ { QPoint(0, 0), 0 }, { QPoint(5, 3), 1 } }, { QPoint(0, 0) });
        QVERIFY(makePalette());
        QLineEdit *edit = m_palette->descriptionEdit();
        QTRY_VERIFY(edit->font().italic());
        edit->setFocus();
        QTRY_VERIFY(edit->hasFocus());
        QCOMPARE(edit->font(), programFont(FontStyle::Normal, 3));
        QTest::keyClicks(edit, "North room");
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(stored({ -1, -1 }, "MyPaletteDescription").toString(), "North room");
        QCOMPARE(m_palette->descriptionText(), "North room");
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

        edit->setText("Kitchen");
        QList<int> order; // 1: changed, 2: selection changed
        connect(m_palette, &MyPaletteWidget::myPaletteChanged, m_palette, [&order] { order.append(1); });
        connect(m_palette, &MyPaletteWidget::myPaletteSelectionChanged, m_palette, [&order] { order.append(2); });
        for (const auto answer : { QMessageBox::No, QMessageBox::Yes }) {
            QMessageBox *box = nullptr;
            QTimer::singleShot(0, m_palette, [&] {
                box = m_palette->clearQuestion();
                QTest::mouseClick(box->button(answer), Qt::LeftButton);
            });
            QTest::mouseClick(m_palette->clearButton(), Qt::LeftButton);
            QTRY_VERIFY(box && !box->isVisible());
            // The box is made once and reused.
            QCOMPARE(m_palette->clearQuestion(), box);
            QCOMPARE(box->text(), QStringLiteral("Remove every colour from My Palette?"));
            QCOMPARE(box->windowTitle(), "Please confirm");
            QCOMPARE(box->windowModality(), Qt::WindowModal);
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Yes));
            QCOMPARE(box->escapeButton(), static_cast<QAbstractButton *>(box->button(QMessageBox::No)));
            QCOMPARE(order, (answer == QMessageBox::No ? QList<int> {} : QList<int> { 1, 2 }));
            QCOMPARE(stored(QPoint(5, 3), "Entry").isValid(), answer == QMessageBox::No);
            QCOMPARE(
                m_palette->cellColorId(QPoint(0, 0)), answer == QMessageBox::No ? m_collections.deckRows.at(0) : -1);
        }
        QVERIFY(m_palette->isPaletteEmpty());
        QCOMPARE(selectionOf(*m_palette), CellList { QPoint(0, 0) });
        QCOMPARE(m_palette->descriptionText(), "Kitchen");
        QVERIFY(!m_palette->clearButton()->isEnabled());
        // Loading a palette file clears the description too.
        m_palette->clearPalette(true);
        QVERIFY(m_palette->descriptionText().isEmpty());
        QCOMPARE(stored({ -1, -1 }, "MyPaletteDescription"), QVariant(QString()));
    }

    void pressSelects_data()
    {
        QTest::addColumn<QPoint>("cell"); // (-1, -1): outside the cells; (-2, -2): right button
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<CellList>("expected");
        const CellList two { QPoint(1, 0), QPoint(4, 2) }; // selected before
        const int ctrl = Qt::ControlModifier;
        QTest::newRow("plain click selects the cell alone") << QPoint(2, 3) << 0 << CellList { QPoint(2, 3) };
        QTest::newRow("plain click on a selected cell keeps only it") << QPoint(4, 2) << 0 << CellList { QPoint(4, 2) };
        QTest::newRow("ctrl-click adds in click order")
            << QPoint(0, 0) << ctrl << CellList { two[0], two[1], QPoint(0, 0) };
        QTest::newRow("ctrl-click on a selected cell deselects it")
            << QPoint(1, 0) << ctrl << CellList { QPoint(4, 2) };
        QTest::newRow("shift-click changes nothing") << QPoint(3, 3) << int(Qt::ShiftModifier) << two;
        QTest::newRow("ctrl-shift-click changes nothing") << QPoint(1, 0) << int(ctrl | Qt::ShiftModifier) << two;
        QTest::newRow("outside the cells") << QPoint(-1, -1) << 0 << two;
        QTest::newRow("right button") << QPoint(-2, -2) << 0 << two;
    }

    void pressSelects()
    {
        QFETCH(QPoint, cell);
        QFETCH(int, modifiers);
        QFETCH(CellList, expected);
        storeCells({}, { QPoint(1, 0), QPoint(4, 2) });
        QVERIFY(makePalette());
        QSignalSpy selectionSpy(m_palette, &MyPaletteWidget::myPaletteSelectionChanged);
        QSignalSpy changeSpy(m_palette, &MyPaletteWidget::myPaletteChanged);
        const QPoint at = cell.x() == -1 ? QPoint(5, 5) : m_palette->cellRect(cell.x() < 0 ? QPoint() : cell).center();
        QTest::mouseClick(
            m_palette, cell.x() == -2 ? Qt::RightButton : Qt::LeftButton, Qt::KeyboardModifiers(modifiers), at);

        QCOMPARE(selectionSpy.count(), cell.x() >= 0 ? 1 : 0);
        QCOMPARE(changeSpy.count(), 0);
        QCOMPARE(selectionOf(*m_palette), expected);
        for (int index = 0; index < 24; ++index)
            QCOMPARE(stored(QPoint(index % 6, index / 6), "Selected").isValid(),
                expected.contains(QPoint(index % 6, index / 6)));
    }

    // Selected before: (0, 0) holding chip 0, (3, 2) and (5, 3).
    void drops_data()
    {
        QTest::addColumn<QString>("payload");
        QTest::addColumn<QPoint>("target");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<CellList>("filled");
        const CellList selected { QPoint(0, 0), QPoint(3, 2), QPoint(5, 3) };
        QTest::newRow("on a selected cell: all selected") << "roller" << QPoint(3, 2) << true << selected;
        QTest::newRow("on another cell: only it") << "harmonizer" << QPoint(4, 1) << true << CellList { QPoint(4, 1) };
        QTest::newRow("from My Palette") << "my palette" << QPoint(1, 1) << false << CellList();
        QTest::newRow("not JSON") << "{ \"from\" : 1" << QPoint(1, 1) << false << CellList();
        // Accepted as a drop, but nothing to put into the cell.
        QTest::newRow("chip that does not load") << "missing" << QPoint(1, 1) << true << CellList();
    }

    void drops()
    {
        QFETCH(QString, payload);
        QFETCH(QPoint, target);
        QFETCH(CellList, filled);
        DB::ColorEntry missing;
        missing.id = 99999;
        const QHash<QString, QString> payloads { { "roller", deckPayload(FromCardRoller, 4) },
            { "harmonizer", deckPayload(FromHarmonizer, 4) }, { "my palette", deckPayload(FromMyPalette, 4) },
            { "missing", chipPayloadText(FromCardRoller, kDeck, missing) } };
        storeCells({ { QPoint(0, 0), 0 } }, { QPoint(0, 0), QPoint(3, 2), QPoint(5, 3) });
        QVERIFY(makePalette());
        QSignalSpy changeSpy(m_palette, &MyPaletteWidget::myPaletteChanged);

        QTEST(dropPayload(payloads.value(payload, payload), m_palette->cellRect(target).center()), "accepted");

        QCOMPARE(changeSpy.count(), filled.isEmpty() ? 0 : 1);
        for (int index = 0; index < 24; ++index) {
            const QPoint cell(index % 6, index / 6);
            const DB::ItemIndex item = filled.contains(cell) ? deckItem(m_collections, 4)
                : cell == QPoint(0, 0)                       ? deckItem(m_collections, 0)
                                                             : DB::ItemIndex();
            QCOMPARE(m_palette->cellItem(cell), item);
            QCOMPARE(UserState::myPaletteEntry(cell.y(), cell.x()), item);
            QCOMPARE(stored(cell, "Entry").isValid(), item.namesChip());
            if (filled.contains(cell)) {
                QCOMPARE(m_palette->cellColor(cell), kDeckChips.at(4).color);
                QCOMPARE(m_palette->cellName(cell), "HL 1050 - Heather");
            }
        }
        QCOMPARE(selectionOf(*m_palette), (CellList { QPoint(0, 0), QPoint(3, 2), QPoint(5, 3) }));
        QCOMPARE(m_palette->dropCell(), QPoint(-1, -1));
    }

    // Also the grid button's stored state and the zoom button's request.
    void buttonsFollowContentsAndSelection()
    {
        storeCells({ { QPoint(0, 0), 0 }, { QPoint(1, 0), 1 }, { QPoint(2, 0), 2 } },
            { QPoint(0, 0), QPoint(2, 0), QPoint(0, 1) });
        QVERIFY(makePalette());
        const auto enabled = [this] {
            QString bits;
            for (QWidget *button : std::initializer_list<QWidget *> {
                     m_palette->zoomButton(), m_palette->clearButton(), m_main->saveButton, m_palette->eraseButton() })
                bits += button->isEnabled() ? '1' : '0';
            return bits;
        };
        QCOMPARE(enabled(), "1111");
        QSignalSpy changeSpy(m_palette, &MyPaletteWidget::myPaletteChanged);
        // Erase empties the selected cells and keeps the selection.
        QTest::mouseClick(m_palette->eraseButton(), Qt::LeftButton);
        QCOMPARE(changeSpy.count(), 1);
        for (int x = 0; x < 3; ++x) {
            QCOMPARE(m_palette->cellColorId(QPoint(x, 0)) > 0, x == 1);
            QCOMPARE(stored(QPoint(x, 0), "Entry").isValid(), x == 1);
        }
        QCOMPARE(selectionOf(*m_palette), (CellList { QPoint(0, 0), QPoint(2, 0), QPoint(0, 1) }));
        QCOMPARE(enabled(), "1110");

        QTest::mouseClick(m_palette, Qt::LeftButton, Qt::ControlModifier, m_palette->cellRect(QPoint(1, 0)).center());
        QCOMPARE(enabled(), "1111");
        QTest::mouseClick(m_palette, Qt::LeftButton, {}, m_palette->cellRect(QPoint(1, 0)).center());
        QTest::mouseClick(m_palette->eraseButton(), Qt::LeftButton);
        QCOMPARE(enabled(), "0000");
        QVERIFY(dropPayload(deckPayload(FromCardRoller, 0), m_palette->cellRect(QPoint(1, 1)).center()));
        QCOMPARE(enabled(), "1110");

        QSignalSpy zoomSpy(m_palette, &MyPaletteWidget::zoomMyPaletteClicked);
        QTest::mouseClick(m_palette->zoomButton(), Qt::LeftButton);
        QCOMPARE(zoomSpy.count(), 1);
        QTest::mouseClick(m_palette->gridButton(), Qt::LeftButton);
        QVERIFY(!m_palette->gridButton()->isChecked() && !UserState::myPaletteGridVisible());
        QTest::mouseClick(m_palette->gridButton(), Qt::LeftButton);
        QVERIFY(UserState::myPaletteGridVisible());
    }

    void paletteFilesRoundTripEveryCellAndFailedSavesSayWhy()
    {
        for (int index = 0; index < 24; ++index) {
            const bool plain = index % 3 == 2;
            UserState::setMyPaletteEntry(index / 6, index % 6,
                plain ? DB::ItemIndex { kPlainDeck, m_collections.plainPageId, m_collections.plainRows.at(index % 3) }
                      : deckItem(m_collections, index % 8));
        }
        QVERIFY(makePalette());
        m_palette->descriptionEdit()->setText("Fåglar «été» <&> 色");
        m_palette->paletteDescriptionEditFinished();
        const QStringList saved = paletteState();
        const QString path = TestEnvironment::programData() + "/round.palette";
        m_palette->savePaletteTo(PaletteXml, path);
        m_palette->clearPalette(true);
        QSignalSpy changed(m_palette, &MyPaletteWidget::myPaletteChanged);
        m_palette->loadPaletteFrom(PaletteText, path);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(paletteState(), saved);

        // The text list names each chip's collection; an empty one writes nothing.
        const QString listPath = TestEnvironment::programData() + "/round.txt";
        m_palette->savePaletteTo(PaletteText, listPath);
        const QList<QByteArray> lines = FixtureDatabase::readFile(listPath).split('\n');
        QCOMPARE(lines.size(), 25);
        QCOMPARE(lines.at(0), QByteArray("\xEF\xBB\xBF") + "Demo Deck : HL 1010");
        QCOMPARE(lines.at(2), QByteArray("Plain Deck : PL-3"));

        // A failed save keeps the old file and says why: a folder in the way, a read-only folder (unless root).
        const QString folder = TestEnvironment::programData() + "/locked";
        const QString taken = folder + "/taken.palette";
        QVERIFY(QDir().mkpath(taken));
        const QString old = fileWith("locked/old.palette", "old palette");
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool locked = !QFileInfo(folder).isWritable();
        for (const QString &path : locked ? QStringList { taken, old } : QStringList { taken }) {
            m_palette->savePaletteTo(PaletteXml, path);
            QMessageBox *message = m_palette->saveFailureMessage();
            QVERIFY(message && message->isVisible() && message->windowModality() == Qt::WindowModal);
            QVERIFY2(message->text().contains(QDir::toNativeSeparators(path)), qPrintable(message->text()));
            message->done(QMessageBox::Ok);
        }
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY(QFileInfo(taken).isDir());
        QCOMPARE(FixtureDatabase::readFile(old), QByteArray("old palette"));
        m_palette->clearPalette(true);
        QVERIFY(QFile::remove(listPath));
        m_palette->savePaletteTo(PaletteText, listPath);
        QVERIFY(!QFile::exists(listPath));
    }

    void refusedPaletteFilesChangeNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("accepted");
        const QByteArray v3chip = "<chip row=\"0\" col=\"1\"><entry uuid-of-collection=\"" + kDeck.toString().toLatin1()
            + "\" page-index=\"1\" row-index=\"3\" color-code=\"hl 1030\"/></chip>";
        const QByteArray v2chips = "<chip col=\"1\">hl 1030</chip><chip row=\"7\" col=\"0\">HL 1010</chip>"
                                   "<chip row=\"2\" col=\"0\">No such colour</chip>";
        const auto palette = [](const QByteArray &attributes, const QByteArray &chips) {
            return "<vestrel-palette " + attributes + "><description>From file</description><chips>" + chips
                + "</chips></vestrel-palette>";
        };
        const QByteArray v3 = palette("version=\"3.0\" system=\"multi-collection\"", v3chip);
        QTest::newRow("version 3.00") << QByteArray(v3).replace("3.0", "3.00") << true;
        QTest::newRow("system in other letter case") << QByteArray(v3).replace("multi-c", "Multi-C") << true;
        QTest::newRow("version 2.0 through the phrase search")
            << palette("version=\"2.0\" system=\"DECK\"", v2chips) << true;
        QTest::newRow("version 3.1") << QByteArray(v3).replace("3.0", "3.1") << false;
        QTest::newRow("other system") << QByteArray(v3).replace("multi-collection", "DECK") << false;
        QTest::newRow("version 2 of an unknown collection")
            << palette("version=\"2.0\" system=\"GONE\"", v2chips) << false;
        QTest::newRow("text list") << QByteArray("Demo Deck : HL 1010\n") << false;
        QTest::newRow("other root") << QByteArray(v3).replace("vestrel-palette", "palette") << false;
        QTest::newRow("external entity") << "<!DOCTYPE vestrel-palette [<!ENTITY x SYSTEM \"file://"
                + fileWith("secret.txt", "secret").toUtf8() + "\">]>" + QByteArray(v3).replace("From file", "&x;")
                                         << false;
        QTest::newRow("deep nesting") << QByteArray(v3).replace(
            "From file", QByteArray("<a>").repeated(5000) + QByteArray("</a>").repeated(5000))
                                      << false;
        QTest::newRow("huge attribute") << QByteArray(v3).replace(
            "<chips>", "<chips x=\"" + QByteArray(12000000, 'a') + "\">")
                                        << false;
        QTest::newRow("past the size limit")
            << QByteArray(v3).replace("<chips>", QByteArray(16 << 20, ' ') + "<chips>") << false;
        QTest::newRow("a folder") << QByteArray() << false;
    }

    // Accepted files fill cell (1, 0) only, and take their description.
    void refusedPaletteFilesChangeNothing()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, accepted);
        storeCells({ { QPoint(0, 0), 4 }, { QPoint(1, 0), 5 } });
        QVERIFY(makePalette());
        m_palette->descriptionEdit()->setText("Mine");
        m_palette->paletteDescriptionEditFinished();
        const QStringList before = paletteState();
        QString path = TestEnvironment::programData() + "/folder.palette";
        if (content.isEmpty())
            QVERIFY(QDir().mkpath(path));
        else
            path = fileWith("refused.palette", content);
        m_palette->loadPaletteFrom(PaletteXml, path);
        QCOMPARE(paletteState() != before, accepted);
        if (accepted) {
            QCOMPARE(m_palette->descriptionText(), "From file");
            QCOMPARE(m_palette->cellItem(QPoint(1, 0)), deckItem(m_collections, 2));
            for (int index = 0; index < 24; ++index)
                QCOMPARE(m_palette->cellItem(QPoint(index % 6, index / 6)).namesChip(), index == 1);
        }
    }

    void keysNeverOverwriteAndChipsStayWithTheirCollection_data()
    {
        QTest::addColumn<CellList>("filled"); // holding chip 0
        QTest::addColumn<CellList>("selected");
        QTest::addColumn<QPoint>("expected"); // (-1, -1): no cell takes it
        CellList all;
        for (int index = 0; index < 24; ++index)
            all << QPoint(index % 6, index / 6);
        QTest::newRow("empty selected cell") << CellList { QPoint(3, 3) } << CellList { QPoint(2, 1) } << QPoint(2, 1);
        QTest::newRow("full selected cell: the next empty one")
            << CellList { QPoint(2, 1), QPoint(3, 1) } << CellList { QPoint(2, 1) } << QPoint(4, 1);
        QTest::newRow("wrapping to the top") << all.mid(0, 2) + all.mid(20) << CellList { QPoint(3, 3) } << QPoint(2, 0);
        QTest::newRow("nothing selected: the first empty one") << CellList { QPoint(0, 0) } << CellList {} << QPoint(1, 0);
        QTest::newRow("full: the selected cell") << all << CellList { QPoint(4, 2) } << QPoint(4, 2);
        QTest::newRow("full, nothing selected") << all << CellList {} << QPoint(-1, -1);
    }

    // A chip of the plain deck under the demo deck's UUID is refused by key and by drop alike.
    void keysNeverOverwriteAndChipsStayWithTheirCollection()
    {
        QFETCH(CellList, filled);
        QFETCH(CellList, selected);
        QFETCH(QPoint, expected);
        QList<QPair<QPoint, int>> cells;
        for (const QPoint &cell : filled)
            cells.append({ cell, 0 });
        storeCells(cells, selected);
        QVERIFY(makePalette());
        const QStringList before = paletteState();
        DB::ColorEntry plain;
        QCOMPARE(PaletteChips::loadChip({ kPlainDeck, m_collections.plainPageId, m_collections.plainRows.at(1) }, plain), 0);
        QVERIFY(!m_palette->placeChip(kDeck, plain));
        dropPayload(chipPayloadText(FromCardRoller, kDeck, plain), m_palette->cellRect(QPoint(5, 2)).center());
        QCOMPARE(paletteState(), before);

        DB::ColorEntry chip;
        QCOMPARE(PaletteChips::loadChip(deckItem(m_collections, 4), chip), 0);
        QCOMPARE(m_palette->placeChip(kDeck, chip), expected.x() >= 0);
        for (int index = 0; index < 24; ++index) {
            const QPoint cell(index % 6, index / 6);
            const DB::ItemIndex item = cell == expected ? deckItem(m_collections, 4)
                : filled.contains(cell)               ? deckItem(m_collections, 0)
                                                      : DB::ItemIndex();
            QCOMPARE(m_palette->cellItem(cell), item);
            QCOMPARE(UserState::myPaletteEntry(cell.y(), cell.x()), item);
        }
        QCOMPARE(selectionOf(*m_palette), expected.x() >= 0 ? CellList { expected } : selected);
    }

    // Each change is one step back on Ctrl+Z and forth on Ctrl+Shift+Z or Ctrl+Y, as shown and as stored.
    void everyChangeUndoesAndRedoes()
    {
        storeCells({ { QPoint(0, 0), 0 } }, { QPoint(0, 0) });
        QVERIFY(makePalette());
        QApplication::setActiveWindow(m_main.get());
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
        const QString file = fileWith("undo.palette",
            "<vestrel-palette version=\"3.0\" system=\"multi-collection\"><description>From file</description><chips>"
            "<chip row=\"2\" col=\"2\"><entry uuid-of-collection=\"" + kDeck.toString().toLatin1()
                + "\" page-index=\"1\" row-index=\"6\" color-code=\"HL 1060\"/></chip></chips></vestrel-palette>");
        DB::ColorEntry chip;
        PaletteChips::loadChip(deckItem(m_collections, 3), chip);
        QLineEdit *edit = m_palette->descriptionEdit();
        const QList<std::function<void()>> changes {
            [&] { dropPayload(deckPayload(FromCardRoller, 1), m_palette->cellRect(QPoint(0, 0)).center()); },
            [&] { m_palette->placeChip(kDeck, chip); },
            [&] { m_palette->eraseClicked(); },
            [&] {
                edit->setText("Sea");
                m_palette->paletteDescriptionEditFinished();
            },
            [&] { m_palette->loadPaletteFrom(PaletteXml, file); },
            [&] { m_palette->clearPaletteQuestionFinished(QMessageBox::Yes); },
        };
        QList<QStringList> states { paletteState() };
        for (const auto &change : changes) {
            change();
            states.append(paletteState());
            QVERIFY(states.last() != states.at(states.size() - 2));
        }
        QSignalSpy changed(m_palette, &MyPaletteWidget::myPaletteChanged);
        for (qsizetype step = states.size() - 2; step >= 0; --step) {
            QTest::keyClick(m_palette, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(paletteState(), states.at(step));
        }
        QCOMPARE(changed.count(), changes.size());
        for (qsizetype step = 1; step < states.size(); ++step) {
            QTest::keyClick(m_main.get(), step % 2 ? Qt::Key_Y : Qt::Key_Z,
                step % 2 ? Qt::KeyboardModifiers(Qt::ControlModifier) : Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(paletteState(), states.at(step));
        }
        // While the description line has the focus, the keys are for its text or for nothing.
        QTest::keyClick(m_main.get(), Qt::Key_Z, Qt::ControlModifier);
        edit->setFocus();
        QTest::keyClicks(edit, "x");
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edit->text(), "From file");
        QTest::keyClick(edit, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(paletteState().mid(1), states.at(states.size() - 2).mid(1));
    }

    // Each cell costs a few lookups and the store one write, however many elements; the last found wins.
    void largePaletteFilesKeepTheLastFoundChipAndWhatTheNoteHolds()
    {
        QVERIFY(makePalette());
        const auto chip = [](int cell, int rowIndex, const char *code) {
            return QStringLiteral("<chip row=\"%1\" col=\"%2\"><entry uuid-of-collection=\"%3\" page-index=\"1\" "
                                  "row-index=\"%4\" color-code=\"%5\"/></chip>")
                .arg(cell / 6).arg(cell % 6).arg(kDeck.toString()).arg(rowIndex).arg(QLatin1String(code)).toUtf8();
        };
        QByteArray chips;
        for (int index = 0; index < 89960; ++index)
            chips += chip(3 + index % 21, 4, "HL 1040");
        // Found, then found again; found, then 7 misses; found, then 8 misses (past the bound).
        chips += chip(0, 1, "HL 1010") + chip(0, 2, "HL 1020") + chip(1, 3, "HL 1030") + chip(2, 3, "HL 1030");
        chips += chip(1, 3, "miss").repeated(7) + chip(2, 3, "miss").repeated(8);
        const QString note(40000, QLatin1Char('n'));
        const QString path = fileWith("large.palette",
            "<vestrel-palette version=\"3.0\" system=\"multi-collection\"><description>" + note.toUtf8()
                + "</description><chips>" + chips + "</chips></vestrel-palette>");
        // An unbounded load runs into the test's time limit.
        m_palette->loadPaletteFrom(PaletteXml, path);
        const QList<int> expected { 1, 2, -1, 3, 3, 3 };
        for (int index = 0; index < 24; ++index) {
            const int deckChip = expected.value(index, 3);
            QCOMPARE(m_palette->cellItem(QPoint(index % 6, index / 6)),
                deckChip < 0 ? DB::ItemIndex() : deckItem(m_collections, deckChip));
        }
        QCOMPARE(stored({ -1, -1 }, "MyPaletteDescription").toString(), note.left(32767));
        QCOMPARE(m_palette->descriptionText().size(), 32767);
    }
};

HUELINK_TEST_MAIN(MyPaletteWidgetTest)
#include "MyPaletteWidgetTest.moc"
