#include "ui/harmonizer/ColorSchemerPelvonWidget.h"

#include "db/CatalogQueries.h"
#include "db/CollectionLookups.h"
#include "db/Status.h"
#include "state/UserState.h"
#include "ui/chips/ChipAccessibility.h"
#include "ui/chips/ChipDrag.h"
#include "ui/chips/ColorTooltipText.h"
#include "ui/look/KeyFocusMark.h"
#include "ui/look/ProgramFont.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace Tintor {

namespace {

constexpr int kMargin = 12;
const QColor kFrameColor(64, 64, 64);

QRect fromEdges(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace

ColorSchemerPelvonWidget::ColorSchemerPelvonWidget(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setFont(programFont(FontStyle::Normal, 2));
    selectedCollectionChanged(UserState::lastUsedCollection());
}

QRect ColorSchemerPelvonWidget::chipRect(int column) const
{
    switch (column) {
    case 0:
        return m_leftChip;
    case 1:
        return m_middleChip;
    case 2:
        return m_rightChip;
    default:
        return QRect();
    }
}

void ColorSchemerPelvonWidget::selectedCollectionChanged(QUuid collectionId)
{
    const QString wide = DB::localizedString(collectionId, QStringLiteral("harmonizer.palette.scheme.wide.contrast"));
    m_wideContrast1 = QStringLiteral("%1 1").arg(wide);
    m_wideContrast2 = QStringLiteral("%1 2").arg(wide);
    m_contrast = DB::localizedString(collectionId, QStringLiteral("harmonizer.palette.scheme.contrast"));
    layout(rect());
}

void ColorSchemerPelvonWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layout(rect());
}

void ColorSchemerPelvonWidget::layout(const QRect &rect)
{
    const int th = fontMetrics().height();
    const QRect inner = fromEdges(kMargin, kMargin, rect.width() - 13, rect.height() - 25 - th);
    const int w = (rect.width() - 32) / 3;
    const int titleHeight = th + 6;
    const int unused = inner.height() - 2 * titleHeight - (w / 2 - 1);
    const int titleTop = kMargin + (unused - 1) / 2;
    m_leftTitle = QRect(kMargin, titleTop, w, titleHeight);
    m_leftChip = QRect(kMargin, m_leftTitle.bottom() + titleHeight, w, w / 2);
    m_middleTitle = m_leftTitle.translated(w + 4, 0);
    m_middleChip = m_leftChip.translated(w + 4, 0);
    m_rightTitle = m_middleTitle.translated(w + 4, 0);
    m_rightChip = m_middleChip.translated(w + 4, 0);
    m_captions = {{m_leftTitle, m_wideContrast1}, {m_middleTitle, m_contrast}, {m_rightTitle, m_wideContrast2}};
}

void ColorSchemerPelvonWidget::paintEvent(QPaintEvent *)
{
    const QUuid browsing = UserState::lastUsedCollection();
    const int page = UserState::pageIndex(browsing);
    const int row = UserState::rowIndex(browsing);
    if (browsing != m_chipsCollection || page != m_chipsPage || row != m_chipsRow) {
        m_chipsCollection = browsing;
        m_chipsPage = page;
        m_chipsRow = row;
        m_chips.clear();
        m_descriptions.clear();
        QVector<DB::ColorEntry> entries;
        if (DB::pelvonSchemeEntries(browsing, page, row, entries) == DB::StatusOk && entries.size() == 3) {
            for (const DB::ColorEntry &entry : std::as_const(entries)) {
                m_chips.append({QRect(), entry});
                m_descriptions.append(colorTooltipText(browsing, entry.id, true));
            }
        }
    }
    // The places follow the layout; the chips only what is selected.
    const QRect places[] = {m_leftChip, m_middleChip, m_rightChip};
    for (int i = 0; i < m_chips.size(); ++i)
        m_chips[i].first = places[i];

    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const auto &[rect, text] : std::as_const(m_captions)) {
        painter.fillRect(rect, QColor(99, 99, 99));
        painter.setPen(QColor(255, 255, 255));
        painter.drawText(rect, Qt::AlignHCenter | Qt::AlignVCenter, text);
        painter.drawText(rect, Qt::AlignHCenter | Qt::AlignVCenter, text);
    }
    for (const auto &[rect, chip] : std::as_const(m_chips)) {
        // Too small a widget leaves chip places of no size.
        if (rect.width() < 1 || rect.height() < 1)
            continue;
        painter.fillRect(rect, QColor(chip.red, chip.green, chip.blue));
        const QRect block = rect.adjusted(-1, -1, 1, 1);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QColor(64, 64, 64, 24));
        painter.drawRoundedRect(fromEdges(block.left() - 2, block.top() - 2, block.right() + 1, block.bottom() + 1), 3,
                                3, Qt::AbsoluteSize);
        painter.setPen(QColor(64, 64, 64, 48));
        painter.drawRoundedRect(fromEdges(block.left() - 1, block.top() - 1, block.right(), block.bottom()), 2, 2,
                                Qt::AbsoluteSize);
        painter.setPen(kFrameColor);
        painter.drawRect(fromEdges(block.left(), block.top(), block.right() - 1, block.bottom() - 1));
    }
    if (hasFocus() && keyFocusChip() >= 0)
        paintKeyFocusMark(painter, m_chips.at(m_keyFocusChip).first);

    const int th = fontMetrics().height();
    QFont italic = font();
    italic.setItalic(true);
    painter.setFont(italic);
    painter.setPen(QColor(188, 188, 188));
    const QRect messageRect = fromEdges(kMargin, height() - 13 - th, width() - 13, height() - 13);
    const QString message = DB::localizedString(browsing, QStringLiteral("harmonizer.drag.drop.message"));
    const int flags = Qt::TextSingleLine | Qt::AlignVCenter | Qt::AlignLeft;
    painter.drawText(messageRect, flags, message);
    painter.drawText(messageRect, flags, message);
    // Until an arrow marks a chip, the whole view shows it has the focus.
    if (hasFocus() && keyFocusChip() < 0)
        paintKeyFocusMark(painter, QRectF(rect()));
}

void ColorSchemerPelvonWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->buttons() == Qt::LeftButton)
        m_pressPosition = event->globalPosition().toPoint();
}

void ColorSchemerPelvonWidget::mouseReleaseEvent(QMouseEvent *)
{
    m_pressPosition = QPoint();
}

void ColorSchemerPelvonWidget::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(Qt::ArrowCursor);
    const QPoint position = event->position().toPoint();
    if (event->buttons() == Qt::LeftButton) {
        if ((event->globalPosition().toPoint() - m_pressPosition).manhattanLength()
                <= QApplication::startDragDistance()
            || m_chips.size() != 3)
            return;
        for (const auto &[rect, chip] : std::as_const(m_chips)) {
            if (rect.contains(position)) {
                startChipDrag(this, FromHarmonizer, UserState::lastUsedCollection(), chip, Qt::CopyAction,
                              Qt::CopyAction);
                return;
            }
        }
        return;
    }
    if (event->buttons() != Qt::NoButton)
        return;

    QString text;
    QPoint point;
    const QRect titles[] = {m_leftTitle, m_middleTitle, m_rightTitle};
    for (int column = 0; column < 3; ++column) {
        if (!titles[column].contains(position))
            continue;
        const QString key = column == 1 ? QStringLiteral("tiptext.harmonizer.palette.scheme.contrast")
                                        : QStringLiteral("tiptext.harmonizer.palette.scheme.wide.contrast");
        text = DB::localizedString(UserState::lastUsedCollection(), key);
        if (!text.isEmpty())
            text = QStringLiteral("<span style=\"font-size: 12px;\">%1</span>")
                       .arg(text.replace(QLatin1String("\n"), QLatin1String("<br/>")));
        point = QPoint(titles[column].right(), titles[column].top());
    }
    if (m_chips.size() == 3) {
        for (int column = 0; column < 3; ++column) {
            const QRect rect = m_chips.at(column).first;
            if (rect.contains(position)) {
                text = m_descriptions.value(column);
                point = QPoint(rect.right(), rect.top());
            }
        }
    }
    QToolTip::showText(mapToGlobal(point), text);
}

void ColorSchemerPelvonWidget::moveKeyFocus(int chip)
{
    if (chip < 0 || chip >= m_chips.size())
        return;
    m_keyFocusChip = chip;
    update();
    announceKeyFocus(this, chipAccessibleText(UserState::lastUsedCollection(), m_chips.at(chip).second));
}

void ColorSchemerPelvonWidget::keyPressEvent(QKeyEvent *event)
{
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
        // The drag carries the browsing collection: the scheme is its own.
        if (keyFocusChip() >= 0)
            Q_EMIT chipChosenInteractively(UserState::lastUsedCollection(), m_chips.at(m_keyFocusChip).second);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void ColorSchemerPelvonWidget::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    if (keyFocusChip() >= 0)
        moveKeyFocus(m_keyFocusChip);
    update();
}

void ColorSchemerPelvonWidget::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

} // namespace Tintor
