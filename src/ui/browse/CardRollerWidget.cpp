#include "ui/browse/CardRollerWidget.h"

#include "color/ColorScience.h"
#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "state/UserState.h"
#include "ui/chips/ChipAccessibility.h"
#include "ui/chips/ChipDrag.h"
#include "ui/chips/ChipPayload.h"
#include "ui/chips/ColorTooltipText.h"
#include "ui/chips/MainWidgetAccess.h"
#include "ui/look/KeyFocusMark.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/Theme.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QToolTip>
#include <QWheelEvent>

namespace Tintor {

namespace {

const QSize kMtoPictureSize(96, 50);
const QColor kFrameColor(64, 64, 64);

// Any text with an accented capital and descenders gives the full line.
const QString kTitleSample = QStringLiteral("\u00C9\u00C5gjpqy");

QRect framedRect(const QRect &card)
{
    return QRect(card.topLeft(), card.bottomRight() - QPoint(1, 1));
}

} // namespace

CardRollerWidget::CardRollerWidget(QWidget *parent)
    : QWidget(parent)
    , paintOrder{LeftSlot, MiddleSlot, RightSlot}
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_MouseTracking);
    setAcceptDrops(true);
    selectedCollectionChanged(UserState::lastUsedCollection());
    setFont(programFont(FontStyle::Bold, 1));
    layoutGeometry();
}

int CardRollerWidget::titleHeightFor(const QFontMetrics &metrics)
{
    return metrics.size(Qt::TextSingleLine, kTitleSample).height() + 2;
}

std::array<QRect, CardRollerWidget::kSlotCount> CardRollerWidget::layoutCards(const QSize &size, int titleHeight)
{
    const int w = size.width();
    const int h = size.height();
    const int side = (w - 14) / 4;
    const QRect left(QPoint(2, titleHeight), QPoint(side + 1, h - 3));
    const QRect right = left.translated(w - side - 4, 0);
    const QRect middle(QPoint(side + 6, titleHeight), QPoint(w - side - 7, h - 3));
    return {left, middle, right};
}

QRect CardRollerWidget::titleRectFor(const QRect &card, int titleHeight)
{
    return QRect(QPoint(card.left(), 0), QPoint(card.right(), titleHeight - 1));
}

QVector<QRect> CardRollerWidget::layoutChips(const QRect &card, int chipCount)
{
    QVector<QRect> chips;
    const QRect inner = card.adjusted(1, 1, -1, -1);
    if (chipCount < 1 || inner.isEmpty())
        return chips;
    const int chipHeight = (inner.height() + 1 - chipCount) / chipCount;
    if (chipHeight < 1)
        return chips;
    chips.reserve(chipCount);
    for (int j = 0; j < chipCount; ++j) {
        const int top = inner.top() + j * (chipHeight + 1);
        const int bottom = j == chipCount - 1 ? inner.bottom() : top + chipHeight - 1;
        chips.append(QRect(QPoint(inner.left(), top), QPoint(inner.right(), bottom)));
    }
    return chips;
}

QString CardRollerWidget::cardTitle(const DB::ColorPage &page, const QList<qint64> &displayOrder)
{
    const qint64 index = displayOrder.isEmpty() ? -1 : displayOrder.first();
    const QString name = index >= 0 && index < page.names.size() ? page.names.at(int(index)) : QString();
    return name.isEmpty() ? QString::number(page.pageIndex) : name;
}

bool CardRollerWidget::isMasked(const DB::ColorEntry &chip, int cardType, bool showMto)
{
    return cardType == CardPelvon && !showMto && chip.isMadeToOrder;
}

bool CardRollerWidget::acceptsSource(const QMimeData *mime)
{
    if (!hasChipPayload(mime))
        return false;
    const ChipSource source = chipPayloadSource(mime);
    return source == FromHarmonizer || source == FromMyPalette || source == FromForesight;
}

QRect CardRollerWidget::cardRect(int slot) const
{
    return slot >= 0 && slot < kSlotCount ? cardRects[slot] : QRect();
}

QRect CardRollerWidget::titleRect(int slot) const
{
    return slot >= 0 && slot < kSlotCount ? titleRects[slot] : QRect();
}

int CardRollerWidget::chipCount(int slot) const
{
    return slot >= 0 && slot < kSlotCount ? chipRects[slot].size() : 0;
}

QRect CardRollerWidget::chipRect(int slot, int chip) const
{
    if (slot < 0 || slot >= kSlotCount || chip < 0 || chip >= chipRects[slot].size())
        return QRect();
    return chipRects[slot].at(chip);
}

const DB::ColorPage &CardRollerWidget::card(int slot) const
{
    static const DB::ColorPage none;
    return slot >= 0 && slot < kSlotCount ? cards[slot] : none;
}

CardRollerWidget::ChipHit CardRollerWidget::chipAt(const QPoint &position) const
{
    for (const int slot : paintOrder) {
        if (!cardRects[slot].contains(position))
            continue;
        const QVector<QRect> &chips = chipRects[slot];
        for (int j = 0; j < chips.size(); ++j) {
            if (chips.at(j).contains(position))
                return {slot, j};
        }
    }
    return {};
}

void CardRollerWidget::selectedCollectionChanged(const QUuid &collectionId)
{
    // The collection's own picture, not the system-wide theme's.
    mtoPixmap = QPixmap::fromImage(themeImage(collectionId, ThemeItem::Mto, kMtoPictureSize));
    scaledMtoPixmaps.clear();
    update();
}

void CardRollerWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutGeometry();
}

void CardRollerWidget::layoutGeometry()
{
    titleStripHeight = titleHeightFor(fontMetrics());
    cardRects = layoutCards(size(), titleStripHeight);
    cardsArea = cardRects[LeftSlot].united(cardRects[RightSlot]);
    for (int slot = 0; slot < kSlotCount; ++slot)
        titleRects[slot] = titleRectFor(cardRects[slot], titleStripHeight);
}

bool CardRollerWidget::loadCards(const QUuid &collection)
{
    CardsSource source;
    source.collection = collection;
    source.pageIndex = UserState::pageIndex(collection);
    source.mood = UserState::moodFilter(collection);
    source.exterior = UserState::exteriorColors(collection);
    int status = DB::StatusOk;
    QSqlDatabase database = DB::collectionDatabase(collection, &status);
    if (status == DB::StatusOk)
        source.stamp = DB::QuerySupport::contentStamp(database);
    if (source.stamp.sameContent(cardsSource.stamp) && source.collection == cardsSource.collection
        && source.pageIndex == cardsSource.pageIndex && source.mood == cardsSource.mood
        && source.exterior == cardsSource.exterior)
        return true;

    cardsSource = CardsSource();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        cards[slot] = DB::ColorPage();
        chipRects[slot].clear();
    }
    if (DB::pageAt(collection, source.pageIndex, cards[MiddleSlot]) != DB::StatusOk)
        return false;
    const int pageIndex = cards[MiddleSlot].pageIndex;
    if (DB::neighbourPage(collection, pageIndex, false, source.mood, source.exterior, cards[RightSlot])
            != DB::StatusOk
        || DB::neighbourPage(collection, pageIndex, true, source.mood, source.exterior, cards[LeftSlot])
               != DB::StatusOk) {
        cards = {};
        return false;
    }
    cardsSource = source;
    return true;
}

const QPixmap &CardRollerWidget::maskFor(const QSize &chipSize)
{
    const quint64 key = (quint64(quint32(chipSize.width())) << 32) | quint32(chipSize.height());
    auto it = scaledMtoPixmaps.find(key);
    if (it == scaledMtoPixmaps.end()) {
        // A resize changes every chip size: drop the old ones.
        if (scaledMtoPixmaps.size() > 8)
            scaledMtoPixmaps.clear();
        it = scaledMtoPixmaps.insert(key, mtoPixmap.scaled(chipSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    return *it;
}

void CardRollerWidget::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBrush(Qt::NoBrush);

    for (int slot = 0; slot < kSlotCount; ++slot) {
        const QRect frame = framedRect(cardRects[slot]);
        QColor color = kFrameColor;
        color.setAlpha(24);
        painter.setPen(color);
        painter.drawRoundedRect(frame.adjusted(-2, -2, 2, 2), 3.0, 3.0, Qt::AbsoluteSize);
        color.setAlpha(48);
        painter.setPen(color);
        painter.drawRoundedRect(frame.adjusted(-1, -1, 1, 1), 2.0, 2.0, Qt::AbsoluteSize);
        painter.setPen(kFrameColor);
        painter.drawRect(frame);
    }

    const QUuid collection = UserState::lastUsedCollection();
    const int rowIndex = UserState::rowIndex(collection);
    const int cardType = CollectionSettings::cardType(collection);
    const bool showMto = UserState::showMto(collection);
    if (!loadCards(collection))
        return;

    QRect highlight;
    for (const int slot : paintOrder) {
        // The chip rectangles must exist for input even where nothing needs
        // repainting.
        chipRects[slot] = layoutChips(cardRects[slot], cards[slot].entries.size());
        if (!event->rect().intersects(cardRects[slot].united(titleRects[slot]).adjusted(-2, -2, 2, 2)))
            continue;
        paintCard(painter, slot, cardType, showMto, rowIndex, highlight);
    }

    if (!highlight.isEmpty()) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        QPen pen(QColor(255, 255, 255, 224));
        pen.setWidth(2);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(highlight.adjusted(-1, -1, 1, 1));
    }
    // Round the middle card and its title: the card the keys work on.
    if (hasFocus())
        paintKeyFocusMark(painter, QRectF(cardRects[MiddleSlot].united(titleRects[MiddleSlot]).adjusted(-4, 0, 2, 2)));
}

void CardRollerWidget::paintCard(QPainter &painter, int slot, int cardType, bool showMto, int rowIndex,
                                 QRect &highlight)
{
    const DB::ColorPage &page = cards[slot];
    const QString title = cardTitle(page, CollectionSettings::nameOrders(UserState::lastUsedCollection()).pageNameDisplayOrder);
    const QRect titleArea = titleRects[slot];
    painter.setPen(Qt::white);
    painter.drawText(titleArea, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(title, Qt::ElideRight, titleArea.width()));

    const QVector<QRect> &chips = chipRects[slot];
    for (int j = 0; j < chips.size(); ++j) {
        const DB::ColorEntry &chip = page.entries.at(j);
        const QRect rect = chips.at(j);
        const QColor color(chip.red, chip.green, chip.blue);
        painter.fillRect(rect, color);
        if (isMasked(chip, cardType, showMto))
            painter.drawPixmap(rect, maskFor(rect.size()));
        QColor outline = color.lighter(150);
        outline.setAlpha(32);
        painter.setPen(outline);
        painter.drawRect(framedRect(rect));
        if (j != chips.size() - 1) {
            painter.setPen(kFrameColor);
            painter.drawLine(rect.left(), rect.bottom() + 1, rect.right(), rect.bottom() + 1);
        }
        if (slot == MiddleSlot && chip.rowIndex == rowIndex)
            highlight = rect;
    }
}

void CardRollerWidget::mousePressEvent(QMouseEvent *event)
{
    QToolTip::hideText();
    if (event->buttons() != Qt::LeftButton)
        return;
    pressPosition = event->globalPosition().toPoint();

    const ChipHit hit = chipAt(event->position().toPoint());
    if (!hit.isValid())
        return;
    const QUuid collection = UserState::lastUsedCollection();
    const int cardType = CollectionSettings::cardType(collection);
    const bool showMto = UserState::showMto(collection);
    // Keep the chip: a roll may make the main widget repaint before we read it.
    const DB::ColorEntry chip = cards[hit.slot].entries.value(hit.chip);
    if (hit.slot == LeftSlot)
        Q_EMIT roll(Backward);
    else if (hit.slot == RightSlot)
        Q_EMIT roll(Forward);
    // The row is the chip's position on the card, which the rolled-in card
    // shares with the side card clicked.
    if (hit.chip + 1 != UserState::rowIndex(UserState::lastUsedCollection()) && !isMasked(chip, cardType, showMto))
        Q_EMIT rowChangedInteractively(hit.chip + 1);
}

void CardRollerWidget::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    if (event->buttons() == Qt::LeftButton) {
        if ((event->globalPosition().toPoint() - pressPosition).manhattanLength() <= QApplication::startDragDistance())
            return;
        if (!cardRects[MiddleSlot].contains(position))
            return;
        const QVector<QRect> &chips = chipRects[MiddleSlot];
        for (int j = 0; j < chips.size(); ++j) {
            if (chips.at(j).contains(position)) {
                const DB::ColorEntry chip = cards[MiddleSlot].entries.at(j);
                startChipDrag(this, FromCardRoller, UserState::lastUsedCollection(), chip, Qt::CopyAction,
                              Qt::CopyAction);
                return;
            }
        }
        return;
    }
    if (event->buttons() != Qt::NoButton)
        return;
    showChipTooltip(position);
}

void CardRollerWidget::showChipTooltip(const QPoint &position)
{
    const ChipHit hit = chipAt(position);
    if (!hit.isValid()) {
        if (QToolTip::isVisible())
            QToolTip::hideText();
        return;
    }
    const QUuid collection = UserState::lastUsedCollection();
    const DB::ColorEntry &chip = cards[hit.slot].entries.at(hit.chip);
    if (isMasked(chip, CollectionSettings::cardType(collection), UserState::showMto(collection))) {
        QToolTip::hideText();
        return;
    }
    const QRect rect = chipRects[hit.slot].at(hit.chip);
    QToolTip::showText(mapToGlobal(QPoint(rect.right(), rect.top())), colorTooltipText(collection, chip.id, true),
                       this);
}

void CardRollerWidget::mouseReleaseEvent(QMouseEvent *)
{
    pressPosition = QPoint(0, 0);
}

void CardRollerWidget::wheelEvent(QWheelEvent *event)
{
    event->accept();
    const QPoint delta = event->angleDelta();
    const int steps = delta.y() != 0 ? delta.y() : delta.x();
    // One card per event, however large a trackpad's delta.
    Q_EMIT roll(steps >= 0 ? Backward : Forward);
}

void CardRollerWidget::dragEnterEvent(QDragEnterEvent *event)
{
    if (acceptsSource(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

void CardRollerWidget::dragMoveEvent(QDragMoveEvent *event)
{
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
    if (acceptsSource(event->mimeData()) && cardsArea.contains(event->position().toPoint())) {
        event->setDropAction(event->proposedAction());
        event->accept();
    }
}

void CardRollerWidget::dragLeaveEvent(QDragLeaveEvent *)
{
}

void CardRollerWidget::dropEvent(QDropEvent *event)
{
    // Own chips and foreign data are refused here too: a drop can arrive
    // without the move that would have refused it.
    if (!acceptsSource(event->mimeData())) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    QUuid collectionUuid;
    DB::ColorPage page;
    DB::ColorEntry chip;
    if (findDroppedChip(event->mimeData(), collectionUuid, page, chip))
        selectDroppedChip(collectionUuid, page, chip);
}

bool CardRollerWidget::findDroppedChip(const QMimeData *mime, QUuid &collectionUuid, DB::ColorPage &page,
                                       DB::ColorEntry &chip) const
{
    if (readChipPayload(mime, collectionUuid, chip) == DB::StatusOk
        && DB::pageById(collectionUuid, chip.pageId, true, page) == DB::StatusOk)
        return true;

    QColor color;
    if (readColorPayload(mime, color) != DB::StatusOk)
        return false;
    QString name1;
    QString name2;
    readColorNames(mime, name1, name2);

    // An empty name would match any chip without a code.
    bool found = (!name1.isEmpty() && DB::entryByCodeInEnabledCollections(name1, chip) == DB::StatusOk)
        || (!name2.isEmpty() && DB::entryByCodeInEnabledCollections(name2, chip) == DB::StatusOk)
        || DB::entryByRgbInEnabledCollections(color, chip) == DB::StatusOk;
    if (found) {
        collectionUuid = DB::collectionUuidInSystemWideFile(chip.collectionId);
    } else {
        if (!findNearestChip(color, chip))
            return false;
        collectionUuid = UserState::lastUsedCollection();
    }
    return DB::pageById(collectionUuid, chip.pageId, true, page) == DB::StatusOk;
}

bool CardRollerWidget::findNearestChip(const QColor &color, DB::ColorEntry &chip) const
{
    const MainWidgetAccess *mainWidget = MainWidgetAccess::current();
    if (!mainWidget)
        return false;
    const ColorTriple lab = colorToLab(color);
    std::vector<NearestMatch> nearest;
    findNearestColors(lab, mainWidget->colorCandidates(), nearest, 1);
    if (nearest.empty())
        return false;
    const QUuid collection = UserState::lastUsedCollection();
    if (DB::entryById(collection, qint64(nearest.front().reference), chip) != DB::StatusOk)
        return false;
    // Without a threshold nothing counts as near enough.
    const QList<double> thresholds = CollectionSettings::cie2000DeltaIntervals(collection);
    if (thresholds.isEmpty())
        return false;
    const double distance = deltaE2000(lab, colorToLab(QColor(chip.red, chip.green, chip.blue)));
    return thresholds.first() > distance;
}

void CardRollerWidget::selectDroppedChip(const QUuid &collectionUuid, const DB::ColorPage &page,
                                         const DB::ColorEntry &chip)
{
    if (collectionUuid != UserState::lastUsedCollection())
        Q_EMIT collectionSelectedInteractively(collectionUuid);
    const QUuid current = UserState::lastUsedCollection();
    // The main widget may refuse the collection; then nothing else changes.
    if (current != collectionUuid)
        return;
    if (page.pageIndex != UserState::pageIndex(current))
        Q_EMIT pageChangedInteractively(page.pageIndex);
    if (chip.rowIndex != UserState::rowIndex(current))
        Q_EMIT rowChangedInteractively(chip.rowIndex);
}

bool CardRollerWidget::selectedChip(const QUuid &collection, DB::ColorEntry &chip)
{
    return DB::entryAt(collection, UserState::pageIndex(collection), UserState::rowIndex(collection), chip)
            == DB::StatusOk
        && chip.id > 0;
}

void CardRollerWidget::chooseSelectedChipForPalette()
{
    const QUuid collection = UserState::lastUsedCollection();
    DB::ColorEntry chip;
    if (isEnabled() && selectedChip(collection, chip))
        Q_EMIT chipChosenForPaletteInteractively(collection, chip);
}

int CardRollerWidget::neighbourRow(const DB::ColorPage &page, int rowIndex, bool down, int cardType, bool showMto)
{
    const int count = int(page.entries.size());
    // From outside the card, Down starts at the top and Up at the bottom.
    int position = rowIndex >= 1 && rowIndex <= count ? rowIndex - 1 : (down ? -1 : count);
    for (position += down ? 1 : -1; position >= 0 && position < count; position += down ? 1 : -1) {
        if (!isMasked(page.entries.at(position), cardType, showMto))
            return position + 1;
    }
    return 0;
}

int CardRollerWidget::segmentEndPage(const QUuid &collection, const DB::ColorPage &middle, bool last)
{
    const int mood = UserState::moodFilter(collection);
    const bool exterior = UserState::exteriorColors(collection);
    DB::ColorPage end = middle;
    // The deck wraps round: stop where the page indices turn back.
    for (;;) {
        DB::ColorPage next;
        if (DB::neighbourPage(collection, end.pageIndex, !last, mood, exterior, next) != DB::StatusOk
            || !next.isValid() || next.segment != middle.segment
            || (last ? next.pageIndex <= end.pageIndex : next.pageIndex >= end.pageIndex))
            return end.pageIndex;
        end = next;
    }
}

void CardRollerWidget::keyPressEvent(QKeyEvent *event)
{
    const QUuid collection = UserState::lastUsedCollection();
    DB::ColorPage middle;
    const bool handled = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (!handled || DB::pageAt(collection, UserState::pageIndex(collection), middle) != DB::StatusOk
        || !middle.isValid()) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int row = neighbourRow(middle, UserState::rowIndex(collection), event->key() == Qt::Key_Down,
                                     CollectionSettings::cardType(collection), UserState::showMto(collection));
        if (row > 0)
            Q_EMIT rowChangedInteractively(row);
        break;
    }
    case Qt::Key_Left:
        Q_EMIT roll(Backward);
        break;
    case Qt::Key_Right:
        Q_EMIT roll(Forward);
        break;
    case Qt::Key_Home:
    case Qt::Key_End: {
        const int page = segmentEndPage(collection, middle, event->key() == Qt::Key_End);
        if (page != middle.pageIndex)
            Q_EMIT pageChangedInteractively(page);
        break;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
        chooseSelectedChipForPalette();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // The chip the keys moved to is read out, as the other chip views do.
    DB::ColorEntry chip;
    if (selectedChip(collection, chip))
        announceKeyFocus(this, chipAccessibleText(collection, chip));
}

void CardRollerWidget::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void CardRollerWidget::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace Tintor
