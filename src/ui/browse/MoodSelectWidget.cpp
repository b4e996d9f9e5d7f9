#include "ui/browse/MoodSelectWidget.h"

#include "db/CollectionLookups.h"
#include "db/CollectionSettings.h"
#include "state/UserState.h"
#include "ui/chips/ChipAccessibility.h"
#include "ui/look/KeyFocusMark.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/Theme.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace Tintor {

namespace {

const QString kAllMoodsKey = QStringLiteral("mood.filter.all.moods");
const QString kExteriorKey = QStringLiteral("mood.filter.exterior.colors");
const QString kMtoKey = QStringLiteral("do.not.show.mto");

const QSize kMoodImageSize(23, 21);
const QSize kTickSize(12, 11);
const QSize kDisabledMarkSize(11, 11);
const QColor kLabelColor(188, 188, 188);

// Panel order (fresh, calm, warm, rich, off-white, neutral) of each Mood.
constexpr std::array<Mood, 6> kPanelOrder = {MoodFresh, MoodCalm, MoodWarm, MoodRich, MoodOffwhite, MoodNeutral};

int panelPosition(int mood)
{
    const auto found = std::find(kPanelOrder.begin(), kPanelOrder.end(), Mood(mood));
    return found == kPanelOrder.end() ? -1 : int(found - kPanelOrder.begin());
}

struct MoodKeys
{
    ThemeItem normal;
    ThemeItem selected;
    const char *tooltip;
};

// In panel order.
const std::array<MoodKeys, 6> kMoodKeys = {{
    {ThemeItem::MoodFreshNormal, ThemeItem::MoodFreshSelected, "tiptext.mood.fresh.button"},
    {ThemeItem::MoodCalmNormal, ThemeItem::MoodCalmSelected, "tiptext.mood.calm.button"},
    {ThemeItem::MoodWarmNormal, ThemeItem::MoodWarmSelected, "tiptext.mood.warm.button"},
    {ThemeItem::MoodRichNormal, ThemeItem::MoodRichSelected, "tiptext.mood.rich.button"},
    {ThemeItem::MoodOffWhiteNormal, ThemeItem::MoodOffWhiteSelected, "tiptext.mood.offwhite.button"},
    {ThemeItem::MoodNeutralNormal, ThemeItem::MoodNeutralSelected, "tiptext.mood.neutral.button"},
}};

QRect rectAt(int left, int top, const QSize &size)
{
    return QRect(QPoint(left, top), size);
}

} // namespace

QSize MoodSelectWidget::checkItemSize(const QSize &tickSize, const QSize &textSize)
{
    const int labelWidth = textSize.width() + 2;
    return QSize(tickSize.width() + 3 + labelWidth, std::max(textSize.height(), tickSize.height()));
}

MoodSelectWidget::Layout MoodSelectWidget::computeLayout(const LayoutInput &input)
{
    Layout result;
    if (input.cardType == CardPelvon) {
        const QSize item = checkItemSize(input.tickSize, input.mtoTextSize);
        result.mtoItem = rectAt(3, 3, item);
        result.size = QSize(item.width() + 6, item.height() + 6);
        return result;
    }
    if (input.cardType != CardNormal)
        return result;

    const auto &sizes = input.moodImageSizes;
    const QSize allMoods = checkItemSize(input.tickSize, input.allMoodsTextSize);
    const QSize exterior = checkItemSize(input.tickSize, input.exteriorTextSize);

    const int rowWidth = sizes[0].width() + sizes[1].width() + sizes[2].width() + sizes[3].width() + 9;
    const int rowHeight = std::max({sizes[0].height(), sizes[1].height(), sizes[2].height(), sizes[3].height()});
    const int columnWidth = std::max(sizes[4].width(), sizes[5].width());
    const int columnHeight = sizes[4].height() + sizes[5].height() - 1;
    const int leftWidth = std::max(rowWidth, allMoods.width());
    const int body = std::max(rowHeight + allMoods.height() + 6, columnHeight);

    int left = (leftWidth - rowWidth) / 2 + 4;
    for (int i = 0; i < 4; ++i) {
        result.moodRects[i] = rectAt(left, 4, sizes[i]);
        left += sizes[i].width() + 3;
    }
    result.allMoodsItem = rectAt(4 + (leftWidth - allMoods.width()) / 2, body + 4 - allMoods.height(), allMoods);
    result.moodRects[4] = rectAt(leftWidth + 10, 4, sizes[4]);
    result.moodRects[5] = rectAt(leftWidth + 10, 4 + sizes[4].height(), sizes[5]);

    int height = body + 8;
    if (input.hasExteriorFilter) {
        result.exteriorItem = rectAt((leftWidth + columnWidth + 6 - exterior.width()) / 2 + 4, body + 10, exterior);
        height = body + exterior.height() + 14;
    }
    result.size = QSize(leftWidth + columnWidth + 13, height);

    const QRect &fresh = result.moodRects[0];
    const QRect &rich = result.moodRects[3];
    const QRect &offwhite = result.moodRects[4];
    const QRect &neutral = result.moodRects[5];
    result.lineBelowMoods = QLine(fresh.left(), fresh.bottom() + 4, rich.right(), fresh.bottom() + 4);
    result.lineLeftOfColumn = QLine(offwhite.left() - 1, 4, offwhite.left() - 1, neutral.bottom() - 3);
    if (input.hasExteriorFilter) {
        const int y = result.exteriorItem.top() - 4;
        result.lineAboveExterior = QLine(fresh.left(), y, neutral.right(), y);
    }
    return result;
}

MoodSelectWidget::MoodSelectWidget(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_MouseTracking);
    setFocusPolicy(Qt::StrongFocus);
    setFont(programFont(FontStyle::Normal, 2));
    loadImages();
    layoutContents();
}

QSize MoodSelectWidget::sizeHint() const
{
    return lastLayoutGeometry.size();
}

QSize MoodSelectWidget::minimumSizeHint() const
{
    return lastLayoutGeometry.size();
}

void MoodSelectWidget::selectedCollectionChanged(const QUuid &)
{
    lastLayoutGeometry = QRect();
    loadImages();
    layoutContents();
    update();
}

void MoodSelectWidget::loadImages()
{
    for (std::size_t i = 0; i < kMoodKeys.size(); ++i) {
        moodImages[i].normal = themeImage(kMoodKeys[i].normal, kMoodImageSize);
        moodImages[i].selected = themeImage(kMoodKeys[i].selected, kMoodImageSize);
    }
    tick = themeImage(ThemeItem::TickNormal, kTickSize);
    disabledMark = themeImage(ThemeItem::MoodDisabled, kDisabledMarkSize);
}

void MoodSelectWidget::layoutContents()
{
    if (!lastLayoutGeometry.isEmpty() && geometry() == lastLayoutGeometry)
        return;
    const QUuid collection = UserState::lastUsedCollection();
    const QFontMetrics metrics(font());
    auto textSize = [&](const QString &key) {
        return metrics.size(Qt::TextSingleLine, DB::localizedString(collection, key));
    };

    LayoutInput input;
    input.cardType = CollectionSettings::cardType(collection);
    input.hasExteriorFilter = CollectionSettings::hasExteriorFilter(collection);
    for (std::size_t i = 0; i < moodImages.size(); ++i)
        input.moodImageSizes[i] = moodImages[i].normal.size();
    input.tickSize = tick.size();
    input.allMoodsTextSize = textSize(kAllMoodsKey);
    input.exteriorTextSize = textSize(kExteriorKey);
    input.mtoTextSize = textSize(kMtoKey);

    const QRect formerExterior = layout.exteriorItem;
    layout = computeLayout(input);
    if (!input.hasExteriorFilter)
        layout.exteriorItem = formerExterior;
    setFixedSize(layout.size);
    lastLayoutGeometry = geometry();
    updateGeometry();
}

QRect MoodSelectWidget::moodRect(Mood mood) const
{
    const int position = panelPosition(mood);
    return position < 0 ? QRect() : layout.moodRects[position];
}

int MoodSelectWidget::moodAt(const QPoint &point) const
{
    if (CollectionSettings::cardType(UserState::lastUsedCollection()) != CardNormal)
        return 0;
    for (std::size_t i = 0; i < layout.moodRects.size(); ++i) {
        if (layout.moodRects[i].contains(point))
            return kPanelOrder[i];
    }
    return 0;
}

void MoodSelectWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutContents();
}

bool MoodSelectWidget::isActiveSpot(const QPoint &position) const
{
    const QUuid collection = UserState::lastUsedCollection();
    switch (CollectionSettings::cardType(collection)) {
    case CardNormal:
        return moodAt(position) != 0 || layout.allMoodsItem.contains(position)
            || (CollectionSettings::hasExteriorFilter(collection) && layout.exteriorItem.contains(position));
    case CardPelvon:
        return layout.mtoItem.contains(position);
    default:
        return false;
    }
}

void MoodSelectWidget::updateCursor(const QPoint &position)
{
    setCursor(isActiveSpot(position) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void MoodSelectWidget::paintCheckItem(QPainter &painter, const QRect &item, const QString &key, bool ticked) const
{
    QRect label = item;
    label.setLeft(item.left() + tick.width() + 3);
    const QString text = DB::localizedString(UserState::lastUsedCollection(), key);
    painter.setPen(kLabelColor);
    // Drawn twice: the light grey reads too thin over dark backgrounds.
    for (int pass = 0; pass < 2; ++pass)
        painter.drawText(label, Qt::TextSingleLine | Qt::AlignHCenter | Qt::AlignVCenter, text);
    if (ticked)
        painter.drawImage(QPoint(item.left(), item.top() + (item.height() - tick.height()) / 2), tick);
}

void MoodSelectWidget::paintEvent(QPaintEvent *)
{
    const QUuid collection = UserState::lastUsedCollection();
    const int cardType = CollectionSettings::cardType(collection);
    if (cardType != CardNormal && cardType != CardPelvon)
        return;

    QPainter painter(this);
    if (cardType == CardPelvon) {
        paintCheckItem(painter, layout.mtoItem, kMtoKey, !UserState::showMto(collection));
        paintFocusedItem(painter);
        return;
    }

    const QColor frame(64, 64, 64);
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setPen(frame.lighter(140));
    painter.drawRoundedRect(QRect(0, 0, width() - 1, height() - 1), 7, 7, Qt::AbsoluteSize);
    painter.setPen(frame);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawRoundedRect(QRect(0, 0, width(), height()), 7, 7, Qt::AbsoluteSize);

    const int moodFilter = UserState::moodFilter(collection);
    const bool exterior = UserState::exteriorColors(collection);
    for (const Mood mood : {MoodFresh, MoodWarm, MoodCalm, MoodRich, MoodOffwhite, MoodNeutral}) {
        const int position = panelPosition(mood);
        const QRect rect = layout.moodRects[position];
        const MoodImages &images = moodImages[position];
        if (exterior && !CollectionSettings::hasPageWithExteriorMood(collection, mood)) {
            painter.drawImage(rect.topLeft(), images.normal);
            painter.drawImage(QPoint(rect.right() - disabledMark.width(), rect.bottom() - disabledMark.height()),
                              disabledMark);
        } else {
            painter.drawImage(rect.topLeft(), mood == moodFilter ? images.selected : images.normal);
        }
    }

    paintCheckItem(painter, layout.allMoodsItem, kAllMoodsKey, moodFilter == MoodAll);

    QPen linePen(QColor(159, 159, 159));
    linePen.setWidth(0);
    linePen.setCosmetic(true);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);

    if (CollectionSettings::hasExteriorFilter(collection)) {
        paintCheckItem(painter, layout.exteriorItem, kExteriorKey, exterior);
        painter.setPen(kLabelColor);
        painter.drawLine(layout.lineAboveExterior);
    }
    painter.setPen(linePen);
    painter.drawLine(layout.lineBelowMoods);
    painter.drawLine(layout.lineLeftOfColumn);
    paintFocusedItem(painter);
}

void MoodSelectWidget::paintFocusedItem(QPainter &painter) const
{
    const int item = keyFocusItem();
    if (hasFocus() && item >= 0)
        paintKeyFocusMark(painter, QRectF(keyItems().at(item).adjusted(-2, -2, 2, 2)), 3.0);
}

void MoodSelectWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    clickAt(event->position().toPoint());
}

void MoodSelectWidget::clickAt(const QPoint &position)
{
    const QUuid collection = UserState::lastUsedCollection();
    const int cardType = CollectionSettings::cardType(collection);

    if (cardType == CardPelvon) {
        if (layout.mtoItem.contains(position))
            Q_EMIT showMtoChangedInteractively(!UserState::showMto(collection));
        return;
    }
    if (cardType != CardNormal)
        return;

    const int currentMood = UserState::moodFilter(collection);
    const bool currentExterior = UserState::exteriorColors(collection);
    int newMood = currentMood;
    bool newExterior = currentExterior;

    if (const int mood = moodAt(position)) {
        if (!currentExterior || CollectionSettings::hasPageWithExteriorMood(collection, mood))
            newMood = mood;
    } else if (layout.allMoodsItem.contains(position)) {
        newMood = MoodAll;
    } else if (CollectionSettings::hasExteriorFilter(collection) && layout.exteriorItem.contains(position)) {
        newExterior = !currentExterior;
        // A mood with no exterior card would leave nothing to show.
        if (newExterior && newMood != MoodAll && !CollectionSettings::hasPageWithExteriorMood(collection, newMood))
            newMood = MoodAll;
    }

    if (newMood != currentMood)
        Q_EMIT moodFilterChangedInteractively(Mood(newMood));
    if (newExterior != currentExterior)
        Q_EMIT exteriorFilterChangedInteractively(newExterior);
}

QVector<QRect> MoodSelectWidget::keyItems() const
{
    const QUuid collection = UserState::lastUsedCollection();
    switch (CollectionSettings::cardType(collection)) {
    case CardNormal: {
        QVector<QRect> items(layout.moodRects.begin(), layout.moodRects.end());
        items.append(layout.allMoodsItem);
        if (CollectionSettings::hasExteriorFilter(collection))
            items.append(layout.exteriorItem);
        return items;
    }
    case CardPelvon:
        return {layout.mtoItem};
    default:
        return {};
    }
}

int MoodSelectWidget::keyFocusItem() const
{
    const int count = int(keyItems().size());
    return count == 0 ? -1 : std::clamp(keyFocus, 0, count - 1);
}

void MoodSelectWidget::keyPressEvent(QKeyEvent *event)
{
    const QVector<QRect> items = keyItems();
    const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (!plain || items.isEmpty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int current = keyFocusItem();
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
        keyFocus = std::max(current - 1, 0);
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        keyFocus = std::min(current + 1, int(items.size()) - 1);
        break;
    case Qt::Key_Space:
        clickAt(items.at(current).center());
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    update();
    // A click may change the items; read them again.
    const QVector<QRect> itemsNow = keyItems();
    const int marked = keyFocusItem();
    const int mood = marked >= 0 && marked < itemsNow.size() ? moodAt(itemsNow.at(marked).center()) : 0;
    static const char *const moodNames[] = {"Fresh", "Calm", "Warm", "Rich", "Off-white", "Neutral"};
    const int position = mood != 0 ? panelPosition(mood) : -1;
    if (position >= 0)
        announceKeyFocus(this, localizedTextOr(UserState::lastUsedCollection(),
                                               QString::fromLatin1(kMoodKeys[position].tooltip),
                                               QString::fromLatin1(moodNames[position])));
}

void MoodSelectWidget::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void MoodSelectWidget::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void MoodSelectWidget::mouseMoveEvent(QMouseEvent *event)
{
    updateCursor(event->position().toPoint());
    QWidget::mouseMoveEvent(event);
}

bool MoodSelectWidget::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);

    auto *help = static_cast<QHelpEvent *>(event);
    const QPoint position = mapFromGlobal(help->globalPos());
    updateCursor(position);

    QString text;
    QPoint corner;
    const int mood = moodAt(position);
    if (mood != 0) {
        text = DB::localizedString(UserState::lastUsedCollection(),
                                   QString::fromLatin1(kMoodKeys[panelPosition(mood)].tooltip));
        const QRect rect = moodRect(Mood(mood));
        corner = mapToGlobal(QPoint(rect.right(), rect.top()));
    }
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(corner, QStringLiteral("<span style=\"font-size: 12px;\">%1</span>").arg(text), this);
    }
    return true;
}

} // namespace Tintor
