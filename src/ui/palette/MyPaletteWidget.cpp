#include "ui/palette/MyPaletteWidget.h"

#include "db/CollectionLookups.h"
#include "db/CollectionRegistry.h"
#include "db/NavigationQueries.h"
#include "db/SearchQueries.h"
#include "engine/inc/AtomicFileWriter.h"
#include "ui/chips/MainWidgetAccess.h"
#include "state/UserState.h"
#include "ui/chips/ChipDrag.h"
#include "ui/chips/ChipAccessibility.h"
#include "ui/chips/ChipPayload.h"
#include "ui/chips/ColorTooltipText.h"
#include "ui/look/ImageButton.h"
#include "ui/look/KeyFocusLineEdit.h"
#include "ui/look/KeyFocusMark.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/Theme.h"
#include "ui/palette/PaletteChange.h"
#include "ui/palette/PaletteChips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QShortcut>
#include <QToolTip>
#include <QUndoStack>

#include <algorithm>

namespace Tintor {

namespace {

constexpr int kMargin = 12;
constexpr int kButtonGap = 4;
// The selection and drop frames are 2 pixels wide around the cell edge;
// repainting 3 pixels around a cell covers them.
constexpr int kFrameReach = 3;

const QColor kGridColor(64, 64, 64);
const QColor kSelectionColor(255, 255, 255, 224);
const QColor kDropColor(0, 151, 251, 192);
// Steps kept for undo; each holds two copies of the palette.
constexpr int kUndoLimit = 1000;

std::size_t indexOf(const QPoint &cell)
{
    return std::size_t(cell.y() * MyPaletteWidget::kColumnCount + cell.x());
}

ImageButton *makeToolButton(ThemeItem item, QWidget *parent)
{
    const QImage image = themeImage(item, QSize(16, 16));
    auto *button = new ImageButton(image, image, parent);
    button->resize(image.size() + QSize(2, 2));
    return button;
}

bool isAcceptedSource(const QMimeData *mime)
{
    const ChipSource source = chipPayloadSource(mime);
    return source == FromCardRoller || source == FromHarmonizer;
}

// The frame of a selected or drop cell: on the grid lines around it.
QRectF frameRect(const QRect &cell)
{
    return QRectF(QPointF(cell.left(), cell.top()), QPointF(cell.right() + 1, cell.bottom() + 1));
}

} // namespace

bool PaletteContents::operator==(const PaletteContents &other) const
{
    return description == other.description
        && std::equal(cells.cbegin(), cells.cend(), other.cells.cbegin(),
                      [](const PaletteCell &a, const PaletteCell &b) { return a.item == b.item; });
}

MyPaletteWidget::MyPaletteWidget(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAcceptDrops(true);
    setFont(programFont(FontStyle::Normal, 3));

    m_barImage = themeImage(ThemeItem::BarBackground, QSize(30, 30));

    m_zoomButton = makeToolButton(ThemeItem::MyPaletteZoom, this);
    m_eraseButton = makeToolButton(ThemeItem::MyPaletteEraser, this);
    m_clearButton = makeToolButton(ThemeItem::MyPaletteTrash, this);
    m_gridButton = makeToolButton(ThemeItem::MyPaletteGridOff, this);
    m_gridButton->setCheckable(true);
    m_gridButton->setChecked(true);
    const std::array<ImageButton *, 4> buttons{m_zoomButton, m_eraseButton, m_clearButton, m_gridButton};
    int buttonHeight = 0;
    for (const ImageButton *button : buttons)
        buttonHeight = std::max(buttonHeight, button->height());
    for (ImageButton *button : buttons)
        button->resize(button->width(), buttonHeight);

    m_descriptionEdit = new KeyFocusLineEdit(this);
    m_descriptionEdit->setFrame(false);
    m_descriptionEdit->setTextMargins(0, 0, 0, 0);
    m_descriptionEdit->installEventFilter(this);
    // Starts in the unfocused look, with the placeholder in italics.
    QCoreApplication::postEvent(m_descriptionEdit, new QFocusEvent(QEvent::FocusOut));

    m_undoStack = new QUndoStack(this);
    m_undoStack->setUndoLimit(kUndoLimit);
    // Anywhere in the window; a focused text edit takes these keys first.
    const auto addKey = [this](const QKeySequence &keys, void (QUndoStack::*step)()) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this, step] {
            // Not every platform gives the note line all three keys; a step
            // must not replace what is being typed there.
            if (!m_descriptionEdit->hasFocus())
                (m_undoStack->*step)();
        });
    };
    addKey(QKeySequence(Qt::CTRL | Qt::Key_Z), &QUndoStack::undo);
    addKey(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &QUndoStack::redo);
    addKey(QKeySequence(Qt::CTRL | Qt::Key_Y), &QUndoStack::redo);

    selectedCollectionChanged(UserState::lastUsedCollection());
    refreshButtons();

    connect(m_zoomButton, &QAbstractButton::clicked, this, &MyPaletteWidget::zoomClicked);
    connect(m_eraseButton, &QAbstractButton::clicked, this, &MyPaletteWidget::eraseClicked);
    connect(m_clearButton, &QAbstractButton::clicked, this, &MyPaletteWidget::clearClicked);
    connect(m_gridButton, &QAbstractButton::clicked, this, &MyPaletteWidget::gridClicked);
    connect(m_descriptionEdit, &QLineEdit::editingFinished, this, &MyPaletteWidget::paletteDescriptionEditFinished);
}

MyPaletteWidget::~MyPaletteWidget() = default;

// ---- read access

const PaletteCell *MyPaletteWidget::constCellOf(const QPoint &cell) const
{
    if (!m_gridBounds.contains(cell))
        return nullptr;
    return &m_cells[std::size_t(cell.y() * kColumnCount + cell.x())];
}

PaletteCell &MyPaletteWidget::cellOf(const QPoint &cell)
{
    Q_ASSERT(m_gridBounds.contains(cell));
    return m_cells[std::size_t(cell.y() * kColumnCount + cell.x())];
}

QColor MyPaletteWidget::cellColor(const QPoint &cell) const
{
    const PaletteCell *found = constCellOf(cell);
    return found ? found->color : QColor(Qt::transparent);
}

qint64 MyPaletteWidget::cellColorId(const QPoint &cell) const
{
    const PaletteCell *found = constCellOf(cell);
    return found ? found->item.colorId : -1;
}

DB::ItemIndex MyPaletteWidget::cellItem(const QPoint &cell) const
{
    const PaletteCell *found = constCellOf(cell);
    return found ? found->item : DB::ItemIndex();
}

QString MyPaletteWidget::cellName(const QPoint &cell) const
{
    const PaletteCell *found = constCellOf(cell);
    return found ? found->name : QString();
}

QString MyPaletteWidget::cellDescription(const QPoint &cell) const
{
    const PaletteCell *found = constCellOf(cell);
    if (!found)
        return QString();
    return colorTooltipText(found->item.collectionUuid, found->item.colorId, false);
}

QString MyPaletteWidget::descriptionText() const
{
    return m_descriptionEdit->text();
}

bool MyPaletteWidget::isPaletteEmpty() const
{
    return std::none_of(m_cells.cbegin(), m_cells.cend(), [](const PaletteCell &cell) { return cell.holdsChip(); });
}

int MyPaletteWidget::selectedCellCount() const
{
    return int(m_selection.size());
}

QPoint MyPaletteWidget::selectedCell(int n) const
{
    return n >= 0 && n < m_selection.size() ? m_selection.at(n) : QPoint(-1, -1);
}

QRect MyPaletteWidget::cellRect(const QPoint &cell) const
{
    const PaletteCell *found = constCellOf(cell);
    return found ? found->rect : QRect();
}

QPoint MyPaletteWidget::cellAt(const QPoint &position) const
{
    for (int row = 0; row < kRowCount; ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            if (m_cells[std::size_t(row * kColumnCount + column)].rect.contains(position))
                return QPoint(column, row);
        }
    }
    return QPoint(-1, -1);
}

// ---- cell changes

void MyPaletteWidget::storeCell(const QPoint &cell)
{
    UserState::setMyPaletteEntry(cell.y(), cell.x(), cellOf(cell).item);
}

void MyPaletteWidget::emptyCell(const QPoint &cell)
{
    PaletteCell &target = cellOf(cell);
    target.item = DB::ItemIndex();
    target.color = Qt::transparent;
    target.name.clear();
}

void MyPaletteWidget::selectCell(const QPoint &cell)
{
    m_selection.append(cell);
    UserState::setMyPaletteCellSelected(cell.y(), cell.x(), true);
}

QPoint MyPaletteWidget::placementCell(Placement placement) const
{
    const int count = kRowCount * kColumnCount;
    const bool selected = placement == AfterSelection && !m_selection.isEmpty();
    const int start = selected ? int(indexOf(m_selection.first())) : 0;
    for (int step = 0; step < count; ++step) {
        const int index = (start + step) % count;
        if (!m_cells[std::size_t(index)].holdsChip())
            return QPoint(index % kColumnCount, index / kColumnCount);
    }
    // Only a full palette has a chip replaced by a key.
    return selected ? m_selection.first() : QPoint(-1, -1);
}

void MyPaletteWidget::fillCell(const QPoint &cell, const QUuid &collection, const DB::ColorEntry &chip,
                               const QString &name)
{
    PaletteCell &target = cellOf(cell);
    target.item = DB::ItemIndex{collection, chip.pageId, chip.id};
    target.color = QColor(chip.red, chip.green, chip.blue);
    target.name = name;
    storeCell(cell);
}

bool MyPaletteWidget::placeChip(const QUuid &collection, const DB::ColorEntry &chip)
{
    return placeChipFrom(AfterSelection, collection, chip);
}

bool MyPaletteWidget::placeImportedChip(const QUuid &collection, const DB::ColorEntry &chip)
{
    return placeChipFrom(FirstEmptyCell, collection, chip);
}

bool MyPaletteWidget::placeChipFrom(Placement placement, const QUuid &collection, const DB::ColorEntry &chip)
{
    // Stored under another collection than the one whose card holds it, a
    // row ID names another chip or none, and the cell is lost on reload.
    DB::ColorEntry loaded;
    if (chip.id <= 0 || PaletteChips::loadChip(DB::ItemIndex{collection, chip.pageId, chip.id}, loaded) != 0
        || loaded.pageId != chip.pageId)
        return false;
    const QPoint target = placementCell(placement);
    if (!m_gridBounds.contains(target))
        return false;

    const PaletteContents before = contents();
    fillCell(target, collection, loaded, PaletteChips::displayName(collection, loaded));
    for (const QPoint &selected : std::as_const(m_selection))
        UserState::setMyPaletteCellSelected(selected.y(), selected.x(), false);
    m_selection.clear();
    selectCell(target);
    refreshButtons();
    update();
    recordChange(tr("Place %1").arg(loaded.code), before);
    Q_EMIT myPaletteChanged();
    Q_EMIT myPaletteSelectionChanged();
    return true;
}

void MyPaletteWidget::clearPalette(bool clearDescription)
{
    for (int row = 0; row < kRowCount; ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            emptyCell(QPoint(column, row));
            storeCell(QPoint(column, row));
        }
    }
    if (clearDescription) {
        m_descriptionEdit->clear();
        UserState::setMyPaletteDescription(QString());
        m_storedDescription.clear();
    }
}

PaletteContents MyPaletteWidget::contents() const
{
    return PaletteContents{m_cells, m_storedDescription};
}

void MyPaletteWidget::recordChange(const QString &text, const PaletteContents &before)
{
    PaletteContents after = contents();
    if (after == before)
        return;
    m_undoStack->push(new PaletteChange(text, before, std::move(after),
                                        [this](const PaletteContents &restored) { restoreContents(restored); }));
}

void MyPaletteWidget::restoreContents(const PaletteContents &restored)
{
    for (std::size_t index = 0; index < m_cells.size(); ++index) {
        PaletteCell &cell = m_cells[index];
        const PaletteCell &from = restored.cells[index];
        if (cell.item == from.item)
            continue;
        cell.item = from.item;
        cell.color = from.color;
        cell.name = from.name;
        storeCell(QPoint(int(index) % kColumnCount, int(index) / kColumnCount));
    }
    if (restored.description != m_storedDescription) {
        showDescription(restored.description);
        UserState::setMyPaletteDescription(restored.description);
        m_storedDescription = restored.description;
    }
    update();
    refreshButtons();
    Q_EMIT myPaletteChanged();
}

void MyPaletteWidget::showDescription(const QString &description)
{
    m_descriptionEdit->setText(description);
    if (!m_descriptionEdit->hasFocus())
        m_descriptionEdit->setFont(programFont(description.isEmpty() ? FontStyle::Italic : FontStyle::Normal, 3));
}

void MyPaletteWidget::refreshButtons()
{
    const bool empty = isPaletteEmpty();
    m_zoomButton->setEnabled(!empty);
    m_clearButton->setEnabled(!empty);
    if (MainWidgetAccess *mainWidget = MainWidgetAccess::current()) {
        if (QAbstractButton *saveButton = mainWidget->taskButtonById(kSaveTaskButtonId))
            saveButton->setEnabled(!empty);
    }
    m_gridButton->setEnabled(true);
    const bool selectionHoldsChip = std::any_of(m_selection.cbegin(), m_selection.cend(),
                                                [this](const QPoint &cell) { return cellOf(cell).holdsChip(); });
    m_eraseButton->setEnabled(selectionHoldsChip);
}

// ---- slots

void MyPaletteWidget::selectedCollectionChanged(QUuid collectionId)
{
    m_descriptionEdit->setPlaceholderText(DB::localizedString(collectionId, QStringLiteral("mypalette.note.instructions")));
    m_selection.clear();
    m_dropCell = QPoint(-1, -1);
    QHash<QUuid, qint64> nameIndices;
    for (int row = 0; row < kRowCount; ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            const QPoint cell(column, row);
            PaletteCell &target = cellOf(cell);
            const DB::ItemIndex item = UserState::myPaletteEntry(row, column);
            DB::ColorEntry chip;
            if (item.colorId > 0 && PaletteChips::loadChip(item, chip) == 0) {
                target.item = item;
                target.color = QColor(chip.red, chip.green, chip.blue);
                auto nameIndex = nameIndices.constFind(item.collectionUuid);
                if (nameIndex == nameIndices.cend())
                    nameIndex = nameIndices.insert(item.collectionUuid,
                                                   PaletteChips::displayNameIndex(item.collectionUuid));
                target.name = PaletteChips::displayName(chip, *nameIndex);
            } else {
                emptyCell(cell);
            }
            if (UserState::myPaletteCellSelected(row, column))
                m_selection.append(cell);
        }
    }
    refreshButtons();
    m_gridButton->setChecked(UserState::myPaletteGridVisible());
    update();
}

QList<PaletteFileWriter::Chip> MyPaletteWidget::paletteFileChips() const
{
    QList<PaletteFileWriter::Chip> chips;
    for (int row = 0; row < kRowCount; ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            const DB::ItemIndex &item = m_cells[std::size_t(row * kColumnCount + column)].item;
            DB::ColorEntry entry;
            DB::ColorPage page;
            if (item.colorId <= 0 || PaletteChips::loadChip(item, entry) != 0
                || DB::pageById(item.collectionUuid, item.pageId, false, page) != 0 || entry.pageId != page.id)
                continue;
            DB::CollectionPointer collection;
            const bool found = DB::collectionByUuid(item.collectionUuid, collection) == 0 && collection;
            chips.append({QPoint(column, row), item.collectionUuid, page.pageIndex, entry.rowIndex, entry.code,
                          found ? collection->name : QString()});
        }
    }
    return chips;
}

void MyPaletteWidget::savePaletteTo(PaletteFileFormat fileFormat, QString path)
{
    QByteArray content;
    if (fileFormat == PaletteXml)
        content = PaletteFileWriter::paletteDocument(m_descriptionEdit->text(), paletteFileChips());
    else if (fileFormat == PaletteText)
        content = PaletteFileWriter::textList(paletteFileChips());
    if (content.isEmpty())
        return;
    QString reason;
    if (!AtomicFileWriter::write(path, content, reason))
        showSaveFailure(path, reason);
}

void MyPaletteWidget::showSaveFailure(const QString &path, const QString &reason)
{
    if (!m_saveFailureMessage) {
        m_saveFailureMessage = new QMessageBox(this);
        m_saveFailureMessage->setIcon(QMessageBox::Warning);
        m_saveFailureMessage->setStandardButtons(QMessageBox::Ok);
        m_saveFailureMessage->setWindowModality(Qt::WindowModal);
    }
    const QUuid collection = UserState::lastUsedCollection();
    const QString captionKey = QStringLiteral("common.filedialog.palettefile.savedialogcaption");
    const QString textKey = QStringLiteral("mypalette.palette.save.failed");
    QString text = DB::localizedString(collection, textKey);
    // A missing text shows its key; a sentence serves better here.
    if (text == textKey)
        text = QStringLiteral("The palette could not be saved to %1: %2");
    m_saveFailureMessage->setWindowTitle(DB::localizedString(collection, captionKey));
    m_saveFailureMessage->setText(text.arg(QDir::toNativeSeparators(path), reason));
    m_saveFailureMessage->open();
}

bool MyPaletteWidget::applyPaletteFile(const PaletteFileReader::Document &document)
{
    QUuid singleCollection;
    if (document.majorVersion == 2 && DB::collectionUuidBySystemId(document.system, singleCollection) != 0)
        return false;
    const auto findChip = [&](const PaletteFileReader::Chip &chip, QUuid &collection, DB::ColorEntry &entry) {
        if (document.majorVersion == 3) {
            collection = chip.collection;
            return DB::entryAt(collection, chip.pageIndex, chip.rowIndex, entry) == 0
                && entry.code.compare(chip.code, Qt::CaseInsensitive) == 0;
        }
        collection = singleCollection;
        int pageIndex = -1;
        int rowIndex = -1;
        int segment = 0;
        int mood = 0;
        bool exterior = false;
        return DB::findPhrase(collection, chip.phrase, pageIndex, rowIndex, segment, mood, exterior) == 0
            && pageIndex >= 1 && rowIndex >= 1 && DB::entryAt(collection, pageIndex, rowIndex, entry) == 0;
    };

    PaletteContents loaded;
    // What the note line can hold is what is kept.
    loaded.description = document.description.left(m_descriptionEdit->maxLength());
    // Latest first: the last element of a cell whose chip is found wins.
    for (auto chip = document.chips.crbegin(); chip != document.chips.crend(); ++chip) {
        PaletteCell &target = loaded.cells[indexOf(chip->cell)];
        QUuid collection;
        DB::ColorEntry entry;
        if (target.holdsChip() || !findChip(*chip, collection, entry))
            continue;
        target.item = DB::ItemIndex{collection, entry.pageId, entry.id};
        target.color = QColor(entry.red, entry.green, entry.blue);
        target.name = PaletteChips::displayName(collection, entry);
    }

    // Every cell and the description are stored once, after the lookups.
    for (std::size_t index = 0; index < m_cells.size(); ++index) {
        const QPoint cell(int(index) % kColumnCount, int(index) / kColumnCount);
        m_cells[index].item = loaded.cells[index].item;
        m_cells[index].color = loaded.cells[index].color;
        m_cells[index].name = loaded.cells[index].name;
        storeCell(cell);
    }
    showDescription(loaded.description);
    m_storedDescription = loaded.description;
    UserState::setMyPaletteDescription(loaded.description);
    return true;
}

void MyPaletteWidget::loadPaletteFrom(PaletteFileFormat expectedFileFormat, QString path)
{
    // Whatever was asked for, only palette files are read.
    Q_UNUSED(expectedFileFormat);
    PaletteFileReader::Document document;
    const PaletteFileReader::Status status = PaletteFileReader::readFile(path, document);
    if (status == PaletteFileReader::CannotOpen)
        return;
    // A file that does not parse or is rejected leaves the palette as it was.
    const PaletteContents before = contents();
    if (status == PaletteFileReader::Read && applyPaletteFile(document))
        recordChange(tr("Load %1").arg(QFileInfo(path).fileName()), before);
    update();
    refreshButtons();
    Q_EMIT myPaletteChanged();
}

void MyPaletteWidget::zoomClicked()
{
    Q_EMIT zoomMyPaletteClicked();
}

void MyPaletteWidget::eraseClicked()
{
    const PaletteContents before = contents();
    for (const QPoint &cell : std::as_const(m_selection)) {
        emptyCell(cell);
        storeCell(cell);
    }
    update();
    refreshButtons();
    recordChange(tr("Erase"), before);
    Q_EMIT myPaletteChanged();
}

void MyPaletteWidget::clearClicked()
{
    if (!m_clearQuestion) {
        const QUuid collection = UserState::lastUsedCollection();
        m_clearQuestion = new QMessageBox(this);
        m_clearQuestion->setWindowFlags(m_clearQuestion->windowFlags() | Qt::Sheet);
        m_clearQuestion->setIcon(QMessageBox::Question);
        m_clearQuestion->setWindowTitle(
            DB::localizedString(collection, QStringLiteral("common.confirmation.dialog.caption")));
        m_clearQuestion->setText(
            DB::localizedString(collection, QStringLiteral("mypalette.clearpalettebutton.question")));
        m_clearQuestion->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        m_clearQuestion->setDefaultButton(QMessageBox::Yes);
        m_clearQuestion->setEscapeButton(QMessageBox::No);
        m_clearQuestion->setInformativeText(QString());
        m_clearQuestion->setWindowModality(Qt::WindowModal);
        const QImage icon = themeImage(ThemeItem::MyPaletteClearQuestionIcon, QSize(128, 128));
        m_clearQuestion->setIconPixmap(
            QPixmap::fromImage(icon.scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        connect(m_clearQuestion, &QDialog::finished, this, &MyPaletteWidget::clearPaletteQuestionFinished);
    }
    m_clearQuestion->open();
}

void MyPaletteWidget::clearPaletteQuestionFinished(int button)
{
    if (button != QMessageBox::Yes)
        return;
    const PaletteContents before = contents();
    clearPalette(false);
    update();
    refreshButtons();
    recordChange(tr("Clear"), before);
    Q_EMIT myPaletteChanged();
    Q_EMIT myPaletteSelectionChanged();
}

void MyPaletteWidget::gridClicked(bool checked)
{
    UserState::setMyPaletteGridVisible(checked);
    update();
}

void MyPaletteWidget::paletteDescriptionEditFinished()
{
    const PaletteContents before = contents();
    m_storedDescription = m_descriptionEdit->text();
    UserState::setMyPaletteDescription(m_storedDescription);
    recordChange(tr("Edit the description"), before);
}

// ---- description look

bool MyPaletteWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_descriptionEdit) {
        if (event->type() == QEvent::FocusIn)
            m_descriptionEdit->setFont(programFont(FontStyle::Normal, 3));
        else if (event->type() == QEvent::FocusOut && m_descriptionEdit->text().isEmpty())
            m_descriptionEdit->setFont(programFont(FontStyle::Italic, 3));
    }
    return QWidget::eventFilter(watched, event);
}

// ---- layout

QRect MyPaletteWidget::cellAreaFor(const QSize &size, int barHeight, int editHeight)
{
    return QRect(QPoint(kMargin, barHeight + kMargin),
                 QPoint(size.width() - 1 - kMargin, size.height() - editHeight - 1 - kMargin));
}

std::array<QRect, MyPaletteWidget::kRowCount * MyPaletteWidget::kColumnCount>
MyPaletteWidget::cellRectsFor(const QRect &area)
{
    const int cellWidth = area.width() / kColumnCount;
    const int cellHeight = area.height() / kRowCount;
    const int left = area.left() + (area.width() - kColumnCount * cellWidth) / 2;
    const int top = area.top() + (area.height() - kRowCount * cellHeight) / 2;
    std::array<QRect, kRowCount * kColumnCount> rects;
    for (int row = 0; row < kRowCount; ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            rects[std::size_t(row * kColumnCount + column)]
                = QRect(left + column * cellWidth, top + row * cellHeight, cellWidth, cellHeight);
        }
    }
    return rects;
}

void MyPaletteWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutChildren();
}

void MyPaletteWidget::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // The background piece behind the edit depends on where this widget sits.
    updateDescriptionBackground();
}

void MyPaletteWidget::layoutChildren()
{
    const int width = this->width();
    const int height = this->height();
    const int barHeight = m_barImage.height();
    m_barRect = QRect(0, 0, width, barHeight);

    const int buttonTop = (barHeight - m_gridButton->height()) / 2;
    int x = width - m_gridButton->width() - barHeight;
    m_gridButton->move(x, buttonTop);
    for (ImageButton *button : {m_clearButton, m_eraseButton, m_zoomButton}) {
        x -= button->width() + kButtonGap;
        button->move(x, buttonTop);
    }

    const int lineHeight = fontMetrics().height();
    m_descriptionEdit->setGeometry(QRect(QPoint(kMargin, height - lineHeight),
                                         QPoint(width - 1 - kMargin, height - 1)));
    updateDescriptionBackground();

    const auto rects = cellRectsFor(cellAreaFor(size(), barHeight, m_descriptionEdit->height()));
    m_cellsRect = QRect();
    for (std::size_t index = 0; index < rects.size(); ++index) {
        m_cells[index].rect = rects[index];
        m_cellsRect |= rects[index];
    }
    m_cellsRect.adjust(0, 0, 1, 1);
}

void MyPaletteWidget::updateDescriptionBackground()
{
    MainWidgetAccess *access = MainWidgetAccess::current();
    QWidget *mainWidget = access ? access->mainWidgetItself() : nullptr;
    if (!mainWidget || !mainWidget->isAncestorOf(m_descriptionEdit))
        return;
    const QRect editRect(m_descriptionEdit->mapTo(mainWidget, QPoint(0, 0)),
                         m_descriptionEdit->mapTo(mainWidget, m_descriptionEdit->rect().bottomRight()));
    const QImage piece = themeImage(ThemeItem::MainBackground, QSize(16, 16)).copy(editRect);
    if (piece.isNull())
        return;
    QPalette palette = m_descriptionEdit->palette();
    palette.setBrush(QPalette::All, QPalette::Base, QBrush(piece));
    palette.setColor(QPalette::All, QPalette::Text, Qt::white);
    // Placeholder text follows the text colour, half transparent.
    palette.setColor(QPalette::All, QPalette::PlaceholderText, QColor(255, 255, 255, 128));
    m_descriptionEdit->setPalette(palette);
}

// ---- painting

QRect MyPaletteWidget::dropHighlightRect(const QPoint &cell) const
{
    const QRect rect = cellRect(cell);
    return rect.isNull() ? QRect() : rect.adjusted(-kFrameReach, -kFrameReach, kFrameReach, kFrameReach);
}

void MyPaletteWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRect updateRect = event->rect();

    if (updateRect.intersects(m_barRect) && !m_barImage.isNull()) {
        for (int x = 0; x < width(); x += m_barImage.width())
            painter.drawImage(x, 0, m_barImage);
    }

    const bool gridVisible = m_gridButton->isChecked();
    for (const PaletteCell &cell : m_cells) {
        // Its grid line reaches one pixel past the cell.
        if (!updateRect.intersects(cell.rect.adjusted(0, 0, 1, 1)))
            continue;
        if (cell.holdsChip())
            painter.fillRect(cell.rect, cell.color);
        if (gridVisible) {
            painter.setPen(QPen(kGridColor, 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(cell.rect);
        }
    }

    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kSelectionColor, 2));
    for (int row = 0; row < kRowCount; ++row) {
        for (int column = 0; column < kColumnCount; ++column) {
            const QPoint cell(column, row);
            if (m_selection.contains(cell) && updateRect.intersects(dropHighlightRect(cell)))
                painter.drawRect(frameRect(cellRect(cell)));
        }
    }

    if (m_gridBounds.contains(m_dropCell)) {
        painter.setPen(QPen(kDropColor, 2, Qt::SolidLine));
        painter.drawRect(frameRect(cellRect(m_dropCell)));
    }

    if (hasFocus() && updateRect.intersects(cellRect(m_keyFocusCell)))
        paintKeyFocusMark(painter, cellRect(m_keyFocusCell));
}

// ---- mouse

void MyPaletteWidget::mousePressEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    if (!m_cellsRect.contains(position)) {
        event->ignore();
        return;
    }
    m_pressPosition = event->globalPosition().toPoint();
    const QPoint cell = cellAt(position);
    if (event->buttons() != Qt::LeftButton || !m_gridBounds.contains(cell))
        return;

    moveKeyFocus(cell);
    pressCell(cell, event->modifiers());
}

void MyPaletteWidget::pressCell(const QPoint &cell, Qt::KeyboardModifiers modifiers)
{
    if (modifiers == Qt::NoModifier) {
        for (const QPoint &selected : std::as_const(m_selection))
            UserState::setMyPaletteCellSelected(selected.y(), selected.x(), false);
        m_selection.clear();
        selectCell(cell);
    } else if (modifiers == Qt::ControlModifier) {
        if (m_selection.contains(cell)) {
            m_selection.removeAll(cell);
            UserState::setMyPaletteCellSelected(cell.y(), cell.x(), false);
        } else {
            selectCell(cell);
        }
    }
    update();
    refreshButtons();
    Q_EMIT myPaletteSelectionChanged();
    announceKeyFocus(this, cellAccessibleText(m_keyFocusCell));
}

void MyPaletteWidget::mouseReleaseEvent(QMouseEvent *event)
{
    m_pressPosition = QPoint(0, 0);
    QWidget::mouseReleaseEvent(event);
}

void MyPaletteWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    if (event->buttons() == Qt::NoButton) {
        showCellToolTip(position);
        return;
    }
    if (!(event->buttons() & Qt::LeftButton)) {
        QToolTip::hideText();
        return;
    }
    const QPoint travel = event->globalPosition().toPoint() - m_pressPosition;
    if (travel.manhattanLength() <= QApplication::startDragDistance() || !m_cellsRect.contains(position))
        return;
    startDragFromCell(position);
}

void MyPaletteWidget::showCellToolTip(const QPoint &position)
{
    const PaletteCell *cell = constCellOf(cellAt(position));
    if (!cell || !cell->holdsChip()) {
        QToolTip::hideText();
        return;
    }
    const QString text = colorTooltipText(cell->item.collectionUuid, cell->item.colorId, true);
    QToolTip::showText(mapToGlobal(QPoint(cell->rect.right(), cell->rect.top())), text, this);
}

void MyPaletteWidget::startDragFromCell(const QPoint &position)
{
    const PaletteCell *cell = constCellOf(cellAt(position));
    if (!cell || !cell->holdsChip())
        return;
    DB::ColorEntry chip;
    if (PaletteChips::loadChip(cell->item, chip) != 0)
        return;
    // Copies: the cell keeps its chip.
    startChipDrag(this, FromMyPalette, cell->item.collectionUuid, chip, Qt::CopyAction, Qt::CopyAction);
}

// ---- keys

QString MyPaletteWidget::cellAccessibleText(const QPoint &cell) const
{
    const PaletteCell *found = constCellOf(cell);
    if (!found)
        return QString();
    DB::ColorEntry chip;
    QString text = found->holdsChip() && PaletteChips::loadChip(found->item, chip) == 0
                       ? chipAccessibleText(found->item.collectionUuid, chip)
                       : tr("Empty cell");
    text += tr(", row %1, column %2").arg(cell.y() + 1).arg(cell.x() + 1);
    if (m_selection.contains(cell))
        text += tr(", selected");
    return text;
}

void MyPaletteWidget::moveKeyFocus(const QPoint &cell)
{
    if (!m_gridBounds.contains(cell))
        return;
    if (cell != m_keyFocusCell) {
        update(dropHighlightRect(m_keyFocusCell) | dropHighlightRect(cell));
        m_keyFocusCell = cell;
    }
    announceKeyFocus(this, cellAccessibleText(cell));
}

void MyPaletteWidget::keyPressEvent(QKeyEvent *event)
{
    // Keypad keys carry their own modifier; it must not turn Space or an
    // arrow into a modified press.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    QPoint step;
    switch (event->key()) {
    case Qt::Key_Left:
        step = QPoint(-1, 0);
        break;
    case Qt::Key_Right:
        step = QPoint(1, 0);
        break;
    case Qt::Key_Up:
        step = QPoint(0, -1);
        break;
    case Qt::Key_Down:
        step = QPoint(0, 1);
        break;
    case Qt::Key_Space:
        pressCell(m_keyFocusCell, modifiers);
        return;
    case Qt::Key_Delete:
    case Qt::Key_Backspace:
        // Only what the erase button would do, and only when it could.
        if (m_eraseButton->isEnabled())
            m_eraseButton->click();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Q_EMIT selectColorRequested();
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    const QPoint target = m_keyFocusCell + step;
    if (!m_gridBounds.contains(target))
        return;
    moveKeyFocus(target);
    // Shift and Ctrl with an arrow act on the cell reached as the mouse
    // does with those keys held; Ctrl alone only moves, as in lists.
    if (modifiers & Qt::ShiftModifier)
        pressCell(target, modifiers);
}

void MyPaletteWidget::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update(dropHighlightRect(m_keyFocusCell));
    announceKeyFocus(this, cellAccessibleText(m_keyFocusCell));
}

void MyPaletteWidget::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update(dropHighlightRect(m_keyFocusCell));
}

// ---- drop target

void MyPaletteWidget::dragEnterEvent(QDragEnterEvent *event)
{
    if (hasChipPayload(event->mimeData()) && isAcceptedSource(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void MyPaletteWidget::dragMoveEvent(QDragMoveEvent *event)
{
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
    if (!isAcceptedSource(event->mimeData()))
        return;
    const QPoint oldDropCell = m_dropCell;
    m_dropCell = QPoint(-1, -1);
    const QPoint position = event->position().toPoint();
    if (m_cellsRect.contains(position)) {
        event->acceptProposedAction();
        m_dropCell = cellAt(position);
    }
    if (m_dropCell != oldDropCell)
        update(dropHighlightRect(oldDropCell) | dropHighlightRect(m_dropCell));
}

void MyPaletteWidget::dragLeaveEvent(QDragLeaveEvent *event)
{
    if (m_gridBounds.contains(m_dropCell))
        update(dropHighlightRect(m_dropCell));
    m_dropCell = QPoint(-1, -1);
    QWidget::dragLeaveEvent(event);
}

void MyPaletteWidget::dropEvent(QDropEvent *event)
{
    if (m_dropCell == QPoint(-1, -1)) {
        event->ignore();
        return;
    }
    if (!hasChipPayload(event->mimeData())) {
        m_dropCell = QPoint(-1, -1);
        refreshButtons();
        update();
        return;
    }
    event->acceptProposedAction();
    QUuid collection;
    DB::ColorEntry chip;
    if (readChipPayload(event->mimeData(), collection, chip) == 0) {
        QList<QPoint> receivers;
        if (m_selection.contains(m_dropCell))
            receivers = m_selection;
        else
            receivers.append(m_dropCell);
        const QString name = PaletteChips::displayName(collection, chip);
        const PaletteContents before = contents();
        for (const QPoint &cell : std::as_const(receivers))
            fillCell(cell, collection, chip, name);
        recordChange(tr("Drop %1").arg(chip.code), before);
        Q_EMIT myPaletteChanged();
    }
    m_dropCell = QPoint(-1, -1);
    refreshButtons();
    update();
}

} // namespace Tintor
