#include "ui/harmonizer/ColorSchemerWidget.h"

#include "db/CatalogQueries.h"
#include "db/CollectionLookups.h"
#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/Schema.h"
#include "db/SearchQueries.h"
#include "db/Status.h"
#include "engine/inc/Logging.h"
#include "state/UserState.h"
#include "ui/chips/ChipAccessibility.h"
#include "ui/chips/ChipDrag.h"
#include "ui/chips/ColorTooltipText.h"
#include "ui/look/KeyFocusMark.h"
#include "ui/look/ProgramFont.h"
#include "ui/look/Theme.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace Tintor {

namespace {

constexpr int kButtonGap = 40;
constexpr int kButtonTop = 8;
constexpr int kImageSide = 44;
constexpr int kMarkerSide = 9;
constexpr int kMaxLines = 3;
constexpr int kMaxChipsAreaHeight = 100;
const QColor kFrameColor(64, 64, 64);
const QColor kDimTextColor(188, 188, 188);

struct KindKeys
{
    const char *normalImage;
    const char *selectedImage;
    const char *caption;
    const char *tooltip;
};

// By SchemeKind 1 to 9; the neutral sub-kinds share the neutral images.
const KindKeys kKindKeys[] = {
    {"image.scheme.harmonising.normal", "image.scheme.harmonising.selected", "harmonizer.palette.scheme.harmonic",
     "tiptext.harmonizer.palette.scheme.harmonic"},
    {"image.scheme.contrasting.normal", "image.scheme.contrasting.selected", "harmonizer.palette.scheme.contrast",
     "tiptext.harmonizer.palette.scheme.contrast"},
    {"image.scheme.wide.contrast.normal", "image.scheme.wide.contrast.selected",
     "harmonizer.palette.scheme.wide.contrast", "tiptext.harmonizer.palette.scheme.wide.contrast"},
    {"image.scheme.dynamic.normal", "image.scheme.dynamic.selected", "harmonizer.palette.scheme.dynamic",
     "tiptext.harmonizer.palette.scheme.dynamic"},
    {"image.scheme.dramatic.normal", "image.scheme.dramatic.selected", "harmonizer.palette.scheme.dramatic",
     "tiptext.harmonizer.palette.scheme.dramatic"},
    {"image.scheme.tonal.neutral.normal", "image.scheme.tonal.neutral.selected",
     "harmonizer.palette.scheme.tonal.neutral", nullptr},
    {"image.scheme.tonal.neutral.normal", "image.scheme.tonal.neutral.selected",
     "harmonizer.palette.scheme.tonal.neutral", "tiptext.harmonizer.palette.scheme.tonal.neutral"},
    {"image.scheme.tonal.neutral.normal", "image.scheme.tonal.neutral.selected",
     "harmonizer.palette.scheme.complementary.neutral", "tiptext.harmonizer.palette.scheme.complementary.neutral"},
    {"image.scheme.tonal.neutral.normal", "image.scheme.tonal.neutral.selected",
     "harmonizer.palette.scheme.natural.neutral", "tiptext.harmonizer.palette.scheme.natural.neutral"},
};

const KindKeys &keysOf(int kind)
{
    return kKindKeys[kind - 1];
}

bool isNeutralKind(int kind)
{
    return kind >= SchemeNeutral && kind <= SchemeNaturalNeutral;
}

QRect fromEdges(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

QString tooltipHtml(const QString &text)
{
    if (text.isEmpty())
        return text;
    QString html = text;
    html.replace(QLatin1String("\n"), QLatin1String("<br/>"));
    return QStringLiteral("<span style=\"font-size: 12px;\">%1</span>").arg(html);
}

bool sameRequest(const SchemeRequest &a, const SchemeRequest &b, int effectiveA, int effectiveB, bool rowMatters)
{
    return a.collection == b.collection && effectiveA == effectiveB && a.pageIndex == b.pageIndex
           && (!rowMatters || a.rowIndex == b.rowIndex);
}

} // namespace

ColorSchemerWidget::ColorSchemerWidget(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setFont(programFont(FontStyle::Normal, 2));
    selectedCollectionChanged(UserState::lastUsedCollection());

    using Slot = void (ColorSchemerWidget::*)();
    const Slot slots[] = {&ColorSchemerWidget::switchToScheme1, &ColorSchemerWidget::switchToScheme2,
                          &ColorSchemerWidget::switchToScheme3, &ColorSchemerWidget::switchToScheme4,
                          &ColorSchemerWidget::switchToScheme5, &ColorSchemerWidget::switchToScheme6,
                          &ColorSchemerWidget::switchToScheme7, &ColorSchemerWidget::switchToScheme8,
                          &ColorSchemerWidget::switchToScheme9};
    for (int number = 1; number <= 9; ++number) {
        auto *action = new QAction(this);
        action->setShortcut(QKeySequence(QKeyCombination(Qt::ControlModifier, Qt::Key_S),
                                         QKeyCombination(Qt::ControlModifier, Qt::Key(Qt::Key_0 + number))));
        connect(action, &QAction::triggered, this, slots[number - 1]);
        addAction(action);
    }
}

int ColorSchemerWidget::firstButtonX(int width, int count, int buttonWidth)
{
    return (width + kButtonGap - count * (buttonWidth + kButtonGap)) / 2;
}

QRect ColorSchemerWidget::fitChipsArea(const QRect &area)
{
    QRect fitted = area;
    while (fitted.height() % 3 != 0 && fitted.height() >= 1)
        fitted.setBottom(fitted.bottom() - 1);
    fitted.setBottom(fitted.bottom() + 1);
    bool topFirst = true;
    while (fitted.height() > kMaxChipsAreaHeight) {
        fitted.setTop(fitted.top() + (topFirst ? 1 : 2));
        fitted.setBottom(fitted.bottom() - (topFirst ? 2 : 1));
        topFirst = !topFirst;
    }
    return fitted;
}

void ColorSchemerWidget::selectedCollectionChanged(QUuid collectionId)
{
    m_schemeCollection = DB::Schema::systemWideCollectionUuid();
    if (CollectionSettings::hasColorSchemesPage(collectionId)) {
        m_schemeCollection = collectionId;
    } else {
        for (const QUuid &uuid : DB::collectionUuidsByOrder()) {
            if (CollectionSettings::hasColorSchemesPage(uuid)) {
                m_schemeCollection = uuid;
                break;
            }
        }
    }

    m_lastRequest = SchemeRequest{DB::Schema::systemWideCollectionUuid(), 0, 0, -1, -1};
    m_lastEffectiveKind = 0;
    m_chips.clear();
    m_complementaryNeutralAvailable = false;
    m_normalImages.clear();
    m_selectedImages.clear();
    m_captions.clear();
    m_mapping = Mapping();

    m_offeredKinds.clear();
    for (int kind : CollectionSettings::schemeKinds(collectionId))
        m_offeredKinds.append(kind);

    const QSize markerSize(kMarkerSide, kMarkerSide);
    m_markerNormal = themeImage(ThemeItem::ComplementaryNeutralMarkerNormal, markerSize);
    m_markerSelected = themeImage(ThemeItem::ComplementaryNeutralMarkerSelected, markerSize);

    const QSize imageSize(kImageSide, kImageSide);
    for (int kind : std::as_const(m_offeredKinds)) {
        if (kind < SchemeHarmonic || kind > SchemeNaturalNeutral)
            continue;
        m_normalImages.insert(kind, themeImage(QString::fromLatin1(keysOf(kind).normalImage), imageSize));
        m_selectedImages.insert(kind, themeImage(QString::fromLatin1(keysOf(kind).selectedImage), imageSize));
        if (isNeutralKind(kind)) {
            for (int neutral = SchemeNeutral; neutral <= SchemeNaturalNeutral; ++neutral)
                m_captions.insert(neutral,
                                  DB::localizedString(collectionId, QString::fromLatin1(keysOf(neutral).caption)));
        } else {
            m_captions.insert(kind, DB::localizedString(collectionId, QString::fromLatin1(keysOf(kind).caption)));
        }
    }

    m_largestButtonSize = QSize(0, 0);
    for (const QHash<int, QImage> *images : {&m_normalImages, &m_selectedImages}) {
        for (const QImage &image : *images)
            m_largestButtonSize = m_largestButtonSize.expandedTo(image.size());
    }
    layout(rect());
}

void ColorSchemerWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layout(rect());
}

void ColorSchemerWidget::layout(const QRect &rect)
{
    m_buttonRects.clear();
    m_hitShapes.clear();
    m_captionRects.clear();
    m_neutralCaptionRect = QRect();

    const int bw = m_largestButtonSize.width();
    const int bh = m_largestButtonSize.height();
    const QFontMetrics metrics = fontMetrics();
    const int markerWidth = m_markerNormal.width();
    int x = firstButtonX(rect.width(), int(m_offeredKinds.size()), bw);
    int largestHeight = 0;
    for (int kind : std::as_const(m_offeredKinds)) {
        m_buttonRects.insert(kind, fromEdges(x, kButtonTop, x + bw - 1, bh + kButtonTop - 1));
        QPainterPath hitShape;
        hitShape.addEllipse(QRectF(x + 6, 14, bw - 12, bh - 12));
        m_hitShapes.insert(kind, hitShape);

        const QSize text = metrics.size(0, m_captions.value(kind));
        const int cx = x + bw / 2;
        const int half = (text.width() + 4) / 2;
        QRect caption = fromEdges(cx - half, bh + 9, cx - 1 + half, bh + 10 + text.height());
        if (kind == SchemeNeutral) {
            caption.setRight(caption.right() + markerWidth + 4);
            int widest = 0;
            int tallest = 0;
            for (int neutral : {SchemeTonalNeutral, SchemeComplementaryNeutral}) {
                const QSize size = metrics.size(0, m_captions.value(neutral));
                widest = std::max(widest, size.width() + 4);
                tallest = std::max(tallest, size.height() + 2);
            }
            m_neutralCaptionRect =
                fromEdges(cx - widest / 2, bh + 9, cx - 1 + widest / 2 + markerWidth + 4, bh + 8 + tallest);
            largestHeight = std::max(largestHeight, m_neutralCaptionRect.height());
        }
        m_captionRects.insert(kind, caption);
        largestHeight = std::max(largestHeight, caption.height());
        x += bw + kButtonGap;
    }
    int captionBottom = kButtonTop;
    for (auto it = m_captionRects.begin(); it != m_captionRects.end(); ++it) {
        it->setBottom(it->top() + largestHeight - 1);
        captionBottom = it->bottom();
    }
    if (!m_neutralCaptionRect.isNull())
        m_neutralCaptionRect.setBottom(m_neutralCaptionRect.top() + largestHeight - 1);
    // With no scheme offered the chips area keeps the same 16-pixel gap
    // below the top margin that it keeps below the captions.
    m_chipsArea = fitChipsArea(fromEdges(24, captionBottom + 16, rect.width() - 25, rect.height() - 33));
    // Chips laid out for another size would lie outside the new area.
    m_lastRequest = SchemeRequest{DB::Schema::systemWideCollectionUuid(), 0, 0, -1, -1};
    m_lastEffectiveKind = 0;
    m_chips.clear();
}

QRect ColorSchemerWidget::captionRect(int kind) const
{
    if (m_captionRects.contains(kind))
        return m_captionRects.value(kind);
    if (kind == SchemeTonalNeutral || kind == SchemeComplementaryNeutral)
        return m_neutralCaptionRect;
    return QRect();
}

SchemeRequest ColorSchemerWidget::currentRequest()
{
    const QUuid browsing = UserState::lastUsedCollection();
    SchemeRequest request{browsing, UserState::schemeKind(browsing), UserState::schemeNeutralSubKind(browsing),
                          UserState::pageIndex(browsing), UserState::rowIndex(browsing)};
    if (browsing == m_schemeCollection)
        return request;
    if (m_mapping.browsing != browsing || m_mapping.pageIndex != request.pageIndex
        || m_mapping.rowIndex != request.rowIndex || m_mapping.schemeCollection != m_schemeCollection) {
        m_mapping = Mapping{browsing, request.pageIndex, request.rowIndex, m_schemeCollection, false, -1, -1};
        m_mapping.found = mapIntoSchemeCollection(browsing, request.pageIndex, request.rowIndex, m_mapping.mappedPage,
                                                  m_mapping.mappedRow);
        if (!m_mapping.found)
            qCDebug(lcHuelink) << "fake";
    }
    if (m_mapping.found) {
        request.collection = m_schemeCollection;
        request.pageIndex = m_mapping.mappedPage;
        request.rowIndex = m_mapping.mappedRow;
    }
    return request;
}

bool ColorSchemerWidget::mapIntoSchemeCollection(const QUuid &browsing, int pageIndex, int rowIndex, int &mappedPage,
                                                 int &mappedRow)
{
    DB::ColorEntry chip;
    if (DB::entryAt(browsing, pageIndex, rowIndex, chip) != DB::StatusOk)
        return false;
    if (m_candidatesCollection != m_schemeCollection) {
        m_candidates.clear();
        m_candidatesCollection = QUuid();
        if (DB::matchCandidates(m_schemeCollection, m_candidates) != DB::StatusOk)
            return false;
        m_candidatesCollection = m_schemeCollection;
    }
    std::vector<NearestMatch> matches;
    findNearestColors(colorToLab(QColor(chip.red, chip.green, chip.blue)), m_candidates, matches, 1);
    if (matches.empty())
        return false;
    DB::ColorEntry match;
    DB::ColorPage card;
    if (DB::entryById(m_schemeCollection, qint64(matches.front().reference), match) != DB::StatusOk
        || DB::pageById(m_schemeCollection, match.pageId, true, card) != DB::StatusOk)
        return false;
    mappedPage = card.pageIndex;
    mappedRow = match.rowIndex;
    return true;
}

void ColorSchemerWidget::computeChips(const SchemeRequest &given)
{
    SchemeRequest request = given;
    const CardMode mode = CollectionSettings::cardMode(request.collection);
    const int perLineSetting = CollectionSettings::maxChipsOnAPage(request.collection);
    const int effectiveKind = request.kind == SchemeNeutral ? request.subKind : request.kind;

    if (mode == ModeColorToColor || mode == ModeColorToCard) {
        const int kind = mode == ModeColorToColor ? effectiveKind : request.kind;
        if (sameRequest(request, m_lastRequest, kind, m_lastEffectiveKind, true))
            return;
        m_chips.clear();
        QVector<DB::ColorEntry> entries;
        const int status = mode == ModeColorToColor
                               ? DB::schemeEntriesByRow(request.collection, kind, request.pageIndex,
                                                        request.rowIndex, entries)
                               : DB::schemeEntriesByPage(request.collection, kind, request.pageIndex,
                                                         request.rowIndex, entries);
        m_lastRequest = request;
        m_lastEffectiveKind = kind;
        if (status != DB::StatusOk || entries.isEmpty() || perLineSetting <= 0
            || entries.size() % perLineSetting != 0)
            return;
        QVector<QVector<QPair<qint64, DB::ColorEntry>>> lines;
        for (int i = 0; i < entries.size(); ++i) {
            const DB::ColorEntry &entry = entries.at(i);
            const bool breaks = i > 0
                                && (mode == ModeColorToColor ? entry.segment != entries.at(i - 1).segment
                                                             : entry.pageOrder != entries.at(i - 1).pageOrder);
            if (lines.isEmpty() || breaks || lines.last().size() >= perLineSetting)
                lines.emplace_back();
            lines.last().append({entry.pageId, entry});
        }
        layoutChips(request, lines, perLineSetting);
    } else if (mode == ModeCardToCard) {
        if (sameRequest(request, m_lastRequest, effectiveKind, m_lastEffectiveKind, false))
            return;
        m_chips.clear();
        m_complementaryNeutralAvailable = DB::pageHasComplementaryNeutralScheme(request.collection, request.pageIndex);
        int kind = effectiveKind;
        if (kind == SchemeComplementaryNeutral && !m_complementaryNeutralAvailable) {
            kind = SchemeTonalNeutral;
            request.subKind = SchemeTonalNeutral;
        }
        m_lastRequest = request;
        m_lastEffectiveKind = kind;
        QList<DB::ColorPage> pages;
        DB::schemePages(request.collection, request.pageIndex, kind, pages);
        QVector<QVector<QPair<qint64, DB::ColorEntry>>> lines;
        int perLine = 0;
        for (const DB::ColorPage &page : std::as_const(pages)) {
            QVector<QPair<qint64, DB::ColorEntry>> line;
            for (const DB::ColorEntry &entry : page.entries)
                line.append({page.id, entry});
            perLine = std::max(perLine, int(line.size()));
            lines.append(line);
        }
        if (!lines.isEmpty() && perLine > 0)
            layoutChips(request, lines, perLine);
    } else {
        return;
    }

    // A fall-back from complementary to tonal neutral is remembered.
    const QUuid browsing = UserState::lastUsedCollection();
    if (mode != ModeColorToColor && request.subKind != UserState::schemeNeutralSubKind(browsing))
        UserState::setSchemeNeutralSubKind(browsing, request.subKind);
}

void ColorSchemerWidget::layoutChips(const SchemeRequest &request,
                                     const QVector<QVector<QPair<qint64, DB::ColorEntry>>> &lines, int perLine)
{
    const QRect area = m_chipsArea;
    // The lines are counted as built, not as chips / perLine: a segment or
    // card order may break a line early. A widget too small for the layout,
    // or more lines than it holds, shows no chips rather than chips of
    // negative size or chips over the message below.
    const int lineCount = int(lines.size());
    if (lineCount < 1 || lineCount > kMaxLines || perLine < 1 || area.height() < 4)
        return;
    const int h = (area.bottom() - area.top() - 3) / 3;
    const int used = area.height() - (kMaxLines - lineCount) * (h + 1);
    const int top = area.top() + (area.height() - used) / 2;
    int w = (area.right() - area.left()) / perLine;
    while (w > 0 && (w + 1) * perLine + 1 > area.width())
        --w;
    if (h < 1 || w < 1)
        return;
    // Chips and their right and bottom frame lines stay inside the area.
    const QRect block(area.left() + 1, top + 1, perLine * (w + 1), lineCount * (h + 1));
    if (!area.contains(block))
        return;
    int y = block.top();
    for (const auto &line : lines) {
        int x = block.left();
        for (const auto &[pageId, entry] : line) {
            // The description is read on first hover: a dozen tooltip texts
            // would cost more than the scheme query itself.
            const SchemeChip chip{request.collection, pageId, entry.id, QColor(entry.red, entry.green, entry.blue),
                                  QString()};
            m_chips.append({QRect(x, y, w, h), chip});
            x += w + 1;
        }
        y += h + 1;
    }
}

void ColorSchemerWidget::paintEvent(QPaintEvent *)
{
    const QUuid browsing = UserState::lastUsedCollection();
    const SchemeRequest request = currentRequest();
    computeChips(request);

    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const int storedKind = UserState::schemeKind(browsing);
    const int storedSubKind = UserState::schemeNeutralSubKind(browsing);
    const int flags = Qt::AlignHCenter | Qt::AlignTop;
    for (int kind : std::as_const(m_offeredKinds)) {
        const int captionKind = kind == SchemeNeutral ? storedSubKind : kind;
        // Under the neutral button, tonal and complementary share one place
        // (also when they have buttons of their own); natural neutral has
        // none and takes the button's.
        const bool neutralPlace = kind == SchemeNeutral
                                  && (captionKind == SchemeTonalNeutral || captionKind == SchemeComplementaryNeutral);
        const QRect caption = neutralPlace ? m_neutralCaptionRect : m_captionRects.value(kind);
        const QString text = m_captions.value(captionKind);
        const bool selected = kind == storedKind;
        painter.drawImage(m_buttonRects.value(kind), selected ? m_selectedImages.value(kind) : m_normalImages.value(kind));
        if (selected) {
            painter.setPen(QColor(255, 255, 255, 12));
            for (int dy : {-2, 2}) {
                for (int dx = -2; dx <= 2; ++dx)
                    painter.drawText(caption.translated(dx, dy), flags, text);
            }
            painter.setPen(QColor(255, 255, 255, 24));
            for (const QPoint &offset : {QPoint(-1, -1), QPoint(1, -1), QPoint(1, 1), QPoint(-1, 1)})
                painter.drawText(caption.translated(offset), flags, text);
            painter.setPen(QColor(255, 255, 255));
        } else {
            painter.setPen(kDimTextColor);
        }
        painter.drawText(caption, flags, text);
        painter.drawText(caption, flags, text);
        if (kind == SchemeNeutral && m_complementaryNeutralAvailable) {
            const QImage &marker = selected ? m_markerSelected : m_markerNormal;
            painter.drawImage(QPoint(caption.right() - marker.width(),
                                     caption.top() + (caption.height() - marker.height()) / 2),
                              marker);
        }
    }

    if (!m_chips.isEmpty()) {
        QRect block;
        painter.setPen(kFrameColor);
        for (const auto &[rect, chip] : std::as_const(m_chips)) {
            painter.fillRect(rect, chip.color);
            painter.drawLine(rect.right() + 1, rect.top(), rect.right() + 1, rect.bottom() + 1);
            painter.drawLine(rect.left(), rect.bottom() + 1, rect.right() + 1, rect.bottom() + 1);
            block = block.united(rect.adjusted(-1, -1, 1, 1));
        }
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QColor(64, 64, 64, 24));
        painter.drawRoundedRect(fromEdges(block.left() - 2, block.top() - 2, block.right() + 1, block.bottom() + 1), 3,
                                3, Qt::AbsoluteSize);
        painter.setPen(QColor(64, 64, 64, 48));
        painter.drawRoundedRect(fromEdges(block.left() - 1, block.top() - 1, block.right(), block.bottom()), 2, 2,
                                Qt::AbsoluteSize);
        painter.setPen(kFrameColor);
        painter.drawRect(fromEdges(block.left(), block.top(), block.right() - 1, block.bottom() - 1));
        if (hasFocus() && keyFocusChip() >= 0)
            paintKeyFocusMark(painter, m_chips.at(m_keyFocusChip).first);
    }

    QFont italic = font();
    italic.setItalic(true);
    painter.setFont(italic);
    painter.setPen(kDimTextColor);
    const QString message = DB::localizedString(browsing, QStringLiteral("harmonizer.drag.drop.message"));
    const QRect messageRect = fromEdges(m_chipsArea.left(), m_chipsArea.bottom(), m_chipsArea.right(), height() - 1);
    const int messageFlags = Qt::TextSingleLine | Qt::AlignVCenter | Qt::AlignLeft;
    painter.drawText(messageRect, messageFlags, message);
    painter.drawText(messageRect, messageFlags, message);
    // Until an arrow marks a chip, the whole view shows it has the focus.
    if (hasFocus() && keyFocusChip() < 0)
        paintKeyFocusMark(painter, QRectF(rect()));
}

int ColorSchemerWidget::kindAt(const QPoint &position) const
{
    for (int kind : m_offeredKinds) {
        if (m_hitShapes.value(kind).contains(QPointF(position)) || m_captionRects.value(kind).contains(position))
            return kind;
    }
    return 0;
}

void ColorSchemerWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->buttons() != Qt::LeftButton)
        return;
    const QUuid browsing = UserState::lastUsedCollection();
    const int kind = kindAt(event->position().toPoint());
    if (kind == 0) {
        m_pressPosition = event->globalPosition().toPoint();
        return;
    }
    if (kind != UserState::schemeKind(browsing)) {
        Q_EMIT schemeKindChangedInteractively(SchemeKind(kind));
    } else if (kind == SchemeNeutral && m_complementaryNeutralAvailable) {
        const int subKind = UserState::schemeNeutralSubKind(browsing) == SchemeTonalNeutral
                                ? SchemeComplementaryNeutral
                                : SchemeTonalNeutral;
        Q_EMIT schemeNeutralSubKindChangedInteractively(SchemeKind(subKind));
    }
}

void ColorSchemerWidget::mouseReleaseEvent(QMouseEvent *)
{
    m_pressPosition = QPoint();
}

void ColorSchemerWidget::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(Qt::ArrowCursor);
    const QPoint position = event->position().toPoint();
    if (event->buttons() == Qt::LeftButton) {
        if ((event->globalPosition().toPoint() - m_pressPosition).manhattanLength()
                <= QApplication::startDragDistance()
            || !m_chipsArea.contains(position))
            return;
        for (const auto &[rect, chip] : std::as_const(m_chips)) {
            if (!rect.contains(position))
                continue;
            DB::ColorEntry entry;
            if (DB::entryById(chip.collection, chip.rowId, entry) == DB::StatusOk)
                startChipDrag(this, FromHarmonizer, chip.collection, entry, Qt::CopyAction, Qt::CopyAction);
            return;
        }
        return;
    }
    if (event->buttons() != Qt::NoButton)
        return;

    const QUuid browsing = UserState::lastUsedCollection();
    QString text;
    QPoint point;
    for (int kind : std::as_const(m_offeredKinds)) {
        if (!m_hitShapes.value(kind).contains(QPointF(position)) && !m_captionRects.value(kind).contains(position))
            continue;
        setCursor(Qt::PointingHandCursor);
        const QRect button = m_buttonRects.value(kind);
        point = mapToGlobal(QPoint(button.right(), button.top()));
        const int keyKind = kind == SchemeNeutral ? UserState::schemeNeutralSubKind(browsing) : kind;
        if (keyKind < SchemeHarmonic || keyKind > SchemeNaturalNeutral || !keysOf(keyKind).tooltip)
            continue;
        const QString key = QString::fromLatin1(keysOf(keyKind).tooltip);
        text = DB::localizedString(browsing, key);
        if (text.isEmpty())
            text = DB::localizedString(m_schemeCollection, key);
        text = tooltipHtml(text);
    }
    if (m_chipsArea.contains(position)) {
        for (auto &[rect, chip] : m_chips) {
            if (rect.contains(position)) {
                if (chip.description.isEmpty())
                    chip.description = colorTooltipText(chip.collection, chip.rowId, true);
                text = chip.description;
                point = mapToGlobal(QPoint(rect.right(), rect.top()));
                break;
            }
        }
    }
    QToolTip::showText(point, text);
}

void ColorSchemerWidget::switchToScheme(int number)
{
    if (!isVisible() || m_offeredKinds.size() < number)
        return;
    // The stored choice is the browsing collection's: that is what the main
    // widget writes, also while the schemes come from another collection.
    const QUuid browsing = UserState::lastUsedCollection();
    const int kind = m_offeredKinds.at(number - 1);
    const int stored = UserState::schemeKind(browsing);
    if (kind == SchemeNeutral && kind == stored) {
        int subKind = SchemeTonalNeutral;
        if (m_complementaryNeutralAvailable && UserState::schemeNeutralSubKind(browsing) == SchemeTonalNeutral)
            subKind = SchemeComplementaryNeutral;
        Q_EMIT schemeNeutralSubKindChangedInteractively(SchemeKind(subKind));
    } else if (kind != stored) {
        Q_EMIT schemeKindChangedInteractively(SchemeKind(kind));
    }
}

void ColorSchemerWidget::moveKeyFocus(int chip)
{
    if (chip < 0 || chip >= m_chips.size())
        return;
    m_keyFocusChip = chip;
    update();
    const SchemeChip &focused = m_chips.at(chip).second;
    DB::ColorEntry entry;
    if (DB::entryById(focused.collection, focused.rowId, entry) == DB::StatusOk)
        announceKeyFocus(this, chipAccessibleText(focused.collection, entry));
}

void ColorSchemerWidget::keyPressEvent(QKeyEvent *event)
{
    // The chips are those of the last paint, the ones on screen.
    QVector<QRect> rects;
    for (const auto &[rect, chip] : std::as_const(m_chips))
        rects.append(rect);
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        moveKeyFocus(chipInDirection(rects, keyFocusChip(), event->key()));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (keyFocusChip() >= 0) {
            const SchemeChip &chip = m_chips.at(m_keyFocusChip).second;
            DB::ColorEntry entry;
            if (DB::entryById(chip.collection, chip.rowId, entry) == DB::StatusOk)
                Q_EMIT chipChosenInteractively(chip.collection, entry);
        }
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ColorSchemerWidget::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (keyFocusChip() >= 0)
        moveKeyFocus(m_keyFocusChip);
    update();
}

void ColorSchemerWidget::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace Tintor
