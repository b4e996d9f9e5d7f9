#include "ui/catalog/ColorForesightViewport.h"

#include "db/CatalogQueries.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "state/UserState.h"
#include "ui/chips/ChipAccessibility.h"
#include "ui/chips/ChipDrag.h"
#include "ui/look/KeyFocusMark.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/Theme.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace Tintor {

namespace {

constexpr int kGroupGap = 10;
constexpr int kChipGap = 5;
constexpr int kNameGap = 5;
constexpr int kIconTextGap = 8;

QFont headerFont()
{
    return programFont(FontStyle::Normal, 2);
}

QFont nameFont()
{
    return programFont(FontStyle::Italic, 2);
}

} // namespace

ColorForesightViewport::ColorForesightViewport(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ColorForesightViewport"));
    setMouseTracking(true);
}

QString ColorForesightViewport::dragTextOf(const QString &groupName, const QString &name1, const QString &name2)
{
    QString text = groupName;
    if (!name1.isEmpty())
        text += QLatin1Char('\n') + name1;
    if (!name2.isEmpty())
        text += QLatin1Char('\n') + name2;
    return text;
}

void ColorForesightViewport::loadGroups(const QUuid &collection)
{
    m_collection = collection;
    m_groups.clear();
    m_groupOrder.clear();
    m_openStates.clear();
    m_groupAreas.clear();
    m_chips.clear();
    m_nameSizes.clear();
    m_keyFocusChip = -1;
    clearDragCandidate();

    DB::foresightGroups(collection, m_groups);
    m_groupOrder = m_groups.keys();
    // The hash has no order of its own: equal ORDER values fall back to the
    // group ID, so the page looks the same on every run.
    std::sort(m_groupOrder.begin(), m_groupOrder.end(), [this](qint64 a, qint64 b) {
        const int orderA = m_groups.value(a).order;
        const int orderB = m_groups.value(b).order;
        return orderA != orderB ? orderA < orderB : a < b;
    });
    for (qint64 id : std::as_const(m_groupOrder))
        m_openStates.insert(
            id, UserState::colorForesightGroupOpenState(collection, id, m_groups.value(id).isDefaultOpen));

    m_openIcon = themeImage(ThemeItem::ColorForesightGroupOpen);
    m_closedIcon = themeImage(ThemeItem::ColorForesightGroupClosed);
}

void ColorForesightViewport::layoutGroups()
{
    m_layingOut = true;
    m_groupAreas.clear();
    m_chips.clear();

    const int w = width();
    const QSize chipSize = CollectionSettings::foresightChipSize(m_collection);
    const QFontMetrics headerMetrics(headerFont());
    int y = 0;
    for (qint64 id : std::as_const(m_groupOrder)) {
        const DB::ColorForesightGroup &group = m_groups[id];
        const int headerHeight =
            std::max(headerMetrics.size(Qt::TextSingleLine, group.name).height(), m_openIcon.height());
        QRect area(QPoint(0, y), QPoint(w - 1, y + headerHeight - 1));
        if (m_openStates.value(id)) {
            QVector<ChipPlace> &chips = m_chips[id];
            int x = 0;
            int rowTop = area.bottom() + kGroupGap;
            int rowHeight = chipSize.height();
            auto boxAt = [&](const DB::ColorForesightEntry &entry, int left, int top, QRect &chip) {
                chip = QRect(QPoint(left, top), chipSize);
                const QRect name1(QPoint(left, chip.bottom() + kNameGap), nameSize(entry.name1));
                const QRect name2(QPoint(left, name1.bottom() + 1), nameSize(entry.name2));
                return chip.united(name1).united(name2);
            };
            for (const DB::ColorForesightEntry &entry : group.entries) {
                QRect chip;
                QRect box = boxAt(entry, x, rowTop, chip);
                if (box.right() >= w) {
                    rowTop += rowHeight + kGroupGap;
                    x = 0;
                    box = boxAt(entry, x, rowTop, chip);
                    rowHeight = chipSize.height();
                }
                chips.append({chip, entry.id});
                rowHeight = std::max(rowHeight, box.height());
                x += box.width() + kChipGap;
            }
            area.setBottom(rowTop + rowHeight);
        }
        m_groupAreas.append({area, id});
        y = area.bottom() + kGroupGap;
    }
    // Without groups the height is negative and the minimum size holds.
    resize(w, y - 9);
    // A group closed under the key focus takes its chips away.
    if (m_keyFocusChip >= shownChipRects().size())
        m_keyFocusChip = -1;
    m_layingOut = false;
    update();
}

QSize ColorForesightViewport::nameSize(const QString &name)
{
    auto found = m_nameSizes.constFind(name);
    if (found == m_nameSizes.cend())
        found = m_nameSizes.insert(name, QFontMetrics(nameFont()).size(Qt::TextSingleLine, name));
    return *found;
}

QRect ColorForesightViewport::groupArea(qint64 groupId) const
{
    for (const GroupPlace &place : m_groupAreas) {
        if (place.groupId == groupId)
            return place.area;
    }
    return QRect();
}

QRect ColorForesightViewport::iconSquare(qint64 groupId) const
{
    const QRect area = groupArea(groupId);
    return area.isNull() ? QRect() : QRect(area.topLeft(), QSize(m_openIcon.height(), m_openIcon.height()));
}

QVector<QRect> ColorForesightViewport::chipRects(qint64 groupId) const
{
    QVector<QRect> rects;
    for (const ChipPlace &chip : m_chips.value(groupId))
        rects.append(chip.rect);
    return rects;
}

const ColorForesightViewport::GroupPlace *ColorForesightViewport::groupAt(const QPoint &point) const
{
    for (const GroupPlace &place : m_groupAreas) {
        if (place.area.contains(point))
            return &place;
    }
    return nullptr;
}

const DB::ColorForesightEntry *ColorForesightViewport::entryOf(qint64 groupId, qint64 entryId) const
{
    const auto group = m_groups.constFind(groupId);
    if (group == m_groups.cend())
        return nullptr;
    for (const DB::ColorForesightEntry &entry : group->entries) {
        if (entry.id == entryId)
            return &entry;
    }
    return nullptr;
}

void ColorForesightViewport::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_layingOut)
        layoutGroups();
}

void ColorForesightViewport::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBrush(Qt::NoBrush);
    const QRect dirty = event->rect();
    const QFont header = headerFont();
    const QFont names = nameFont();
    for (const GroupPlace &place : std::as_const(m_groupAreas)) {
        if (!place.area.intersects(dirty))
            continue;
        const bool open = m_openStates.value(place.groupId);
        const QImage &icon = open ? m_openIcon : m_closedIcon;
        painter.drawImage(place.area.topLeft(), icon);
        painter.setFont(header);
        painter.setPen(Qt::white);
        const QRect nameRect(place.area.left() + icon.width() + kIconTextGap, place.area.top(),
                             std::max(0, place.area.width() - icon.width() - kIconTextGap), icon.height());
        painter.drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         m_groups.value(place.groupId).name);
        if (!open)
            continue;
        painter.setFont(names);
        for (const ChipPlace &chip : m_chips.value(place.groupId)) {
            const DB::ColorForesightEntry *entry = entryOf(place.groupId, chip.entryId);
            if (!entry)
                continue;
            const QRect &r = chip.rect;
            painter.fillRect(r, entry->color);
            painter.setPen(QColor(64, 64, 64));
            painter.drawRect(r.adjusted(0, 0, -1, -1));
            QColor inner = entry->color.lighter(150);
            inner.setAlpha(32);
            painter.setPen(inner);
            painter.drawRect(r.adjusted(1, 1, -2, -2));
            painter.setPen(Qt::white);
            const QRect name1(QPoint(r.left(), r.bottom() + kNameGap), nameSize(entry->name1));
            painter.drawText(name1, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, entry->name1);
            const QRect name2(QPoint(r.left(), name1.bottom() + 2), nameSize(entry->name2));
            painter.drawText(name2, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, entry->name2);
        }
    }
    const QVector<QRect> shown = shownChipRects();
    if (m_keyFocusShown && m_keyFocusChip >= 0 && m_keyFocusChip < shown.size())
        paintKeyFocusMark(painter, shown.at(m_keyFocusChip));
}

void ColorForesightViewport::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    m_pressPosition = point;
    const GroupPlace *place = groupAt(point);
    if (!place)
        return;
    const qint64 id = place->groupId;
    if (iconSquare(id).contains(point)) {
        const bool open = !m_openStates.value(id);
        m_openStates.insert(id, open);
        UserState::setColorForesightGroupOpenState(m_collection, id, open);
        layoutGroups();
        return;
    }
    for (const ChipPlace &chip : m_chips.value(id)) {
        const DB::ColorForesightEntry *entry = chip.rect.contains(point) ? entryOf(id, chip.entryId) : nullptr;
        if (!entry)
            continue;
        m_dragColor = entry->color;
        m_dragName1 = entry->name1;
        m_dragName2 = entry->name2;
        m_dragText = dragTextOf(m_groups.value(id).name, entry->name1, entry->name2);
        return;
    }
}

void ColorForesightViewport::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    bool overTarget = false;
    if (const GroupPlace *place = groupAt(point)) {
        overTarget = iconSquare(place->groupId).contains(point);
        for (const ChipPlace &chip : m_chips.value(place->groupId))
            overTarget = overTarget || chip.rect.contains(point);
    }
    setCursor(overTarget ? Qt::PointingHandCursor : Qt::ArrowCursor);

    if ((event->buttons() & Qt::LeftButton) && m_dragColor != QColor(Qt::transparent)
        && (point - m_pressPosition).manhattanLength() > QApplication::startDragDistance()) {
        const QColor color = m_dragColor;
        const QString text = m_dragText;
        const QString name1 = m_dragName1;
        const QString name2 = m_dragName2;
        clearDragCandidate();
        startColorDrag(this, FromForesight, color, text, name1, name2, Qt::CopyAction, Qt::CopyAction);
    }
}

void ColorForesightViewport::mouseReleaseEvent(QMouseEvent *event)
{
    Q_UNUSED(event);
    clearDragCandidate();
}

void ColorForesightViewport::clearDragCandidate()
{
    m_dragColor = Qt::transparent;
    m_dragText.clear();
    m_dragName1.clear();
    m_dragName2.clear();
    m_pressPosition = QPoint();
}

QVector<QRect> ColorForesightViewport::shownChipRects() const
{
    QVector<QRect> rects;
    for (const GroupPlace &place : m_groupAreas)
        rects += chipRects(place.groupId);
    return rects;
}

const DB::ColorForesightEntry *ColorForesightViewport::shownEntry(int index) const
{
    for (const GroupPlace &place : m_groupAreas) {
        const QVector<ChipPlace> chips = m_chips.value(place.groupId);
        if (index < chips.size())
            return index >= 0 ? entryOf(place.groupId, chips.at(index).entryId) : nullptr;
        index -= int(chips.size());
    }
    return nullptr;
}

bool ColorForesightViewport::chipOf(const DB::ColorForesightEntry *entry, QUuid &owner, DB::ColorEntry &chip) const
{
    return entry && entry->rowId > 0 && DB::owningCollection(m_collection, entry->rowId, owner) == DB::StatusOk
        && DB::entryById(owner, entry->rowId, chip) == DB::StatusOk;
}

bool ColorForesightViewport::handleKey(int key)
{
    const QVector<QRect> shown = shownChipRects();
    if (shown.isEmpty())
        return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        QUuid owner;
        DB::ColorEntry chip;
        // Only trend colours that are chips have a place in My Palette, under
        // the collection that holds them: groups shared by the collections of
        // a file name chips of any of them.
        if (chipOf(shownEntry(m_keyFocusChip), owner, chip))
            Q_EMIT chipChosenInteractively(owner, chip);
        return true;
    }
    if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down)
        return false;
    m_keyFocusChip = chipInDirection(shown, m_keyFocusChip, key);
    update();
    const DB::ColorForesightEntry *entry = shownEntry(m_keyFocusChip);
    QUuid owner;
    DB::ColorEntry chip;
    QString text;
    if (chipOf(entry, owner, chip))
        text = chipAccessibleText(owner, chip);
    else if (entry)
        text = QStringList{entry->name1, entry->name2}.join(QStringLiteral(", "));
    Q_EMIT keyFocusMoved(shown.at(m_keyFocusChip), text);
    return true;
}

void ColorForesightViewport::setKeyFocusShown(bool shown)
{
    if (shown == m_keyFocusShown)
        return;
    m_keyFocusShown = shown;
    update();
}

} // namespace Tintor
