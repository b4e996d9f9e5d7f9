#include "ui/look/TaskButton.h"

#include "ui/look/ProgramFont.h"

#include <QEvent>
#include <QLinearGradient>
#include <QPainter>

namespace Tintor {

namespace {

constexpr qreal kCornerRadius = 5;

} // namespace

TaskButton::TaskButton(QWidget *parent)
    : QPushButton(parent)
{
    setFont(programFont(FontStyle::Normal, 3));
    setMouseTracking(true);
    updateCursor();
}

int TaskButton::greyLevel(const QColor &color)
{
    return (11 * color.red() + 16 * color.green() + 5 * color.blue()) / 32;
}

void TaskButton::makeRound(const QColor &textColor)
{
    m_textColor = textColor;
    m_round = true;
}

TaskButton::PaintColors TaskButton::paintColors() const
{
    if (isEnabled())
        return {m_gradientTopColor, m_gradientBottomColor, m_textColor};
    if (m_round) {
        const int level = 255 - greyLevel(m_textColor);
        return {m_gradientBottomColor, m_gradientBottomColor, QColor(level, level, level)};
    }
    const QColor darkened = m_gradientBottomColor.darker(120);
    const int level = greyLevel(m_gradientTopColor);
    return {darkened, darkened, QColor(level, level, level)};
}

void TaskButton::updateCursor()
{
    setCursor(isEnabled() ? Qt::ArrowCursor : Qt::ForbiddenCursor);
}

void TaskButton::mouseMoveEvent(QMouseEvent *event)
{
    updateCursor();
    QPushButton::mouseMoveEvent(event);
}

void TaskButton::changeEvent(QEvent *event)
{
    // A disabled widget receives no mouse moves, so the cursor follows the
    // enabled state here as well.
    if (event->type() == QEvent::EnabledChange)
        updateCursor();
    QPushButton::changeEvent(event);
}

void TaskButton::paintEvent(QPaintEvent *)
{
    const PaintColors colors = paintColors();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);

    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, colors.gradientTop);
    gradient.setColorAt(1, colors.gradientBottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRoundedRect(rect(), kCornerRadius, kCornerRadius);

    // Drawn twice for a fuller stroke on the light gradient.
    const int shift = isDown() ? 3 : 1;
    const QRect textRect = rect().adjusted(shift, shift, 0, 0);
    painter.setPen(colors.text);
    painter.setFont(font());
    painter.drawText(textRect, Qt::AlignCenter, text());
    painter.drawText(textRect, Qt::AlignCenter, text());

    if (hasFocus())
        paintFocusRings(painter, kCornerRadius);
}

void TaskButton::paintFocusRings(QPainter &painter, qreal radius) const
{
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(119, 173, 216, 192), 2));
    painter.drawRoundedRect(rect().adjusted(3, 3, -3, -3), radius, radius);
    painter.setPen(QPen(QColor(198, 216, 230, 192), 2));
    painter.drawRoundedRect(rect().adjusted(2, 2, -2, -2), radius, radius);
}

void TaskButton::paintRoundButton()
{
    const PaintColors colors = paintColors();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);

    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, colors.gradientTop);
    gradient.setColorAt(1, colors.gradientBottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(rect());

    const int shift = isDown() ? 2 : 0;
    const QRect textRect = rect().translated(shift, shift);
    painter.setPen(colors.text);
    painter.setFont(font());
    painter.drawText(textRect, Qt::AlignCenter, text());
    painter.drawText(textRect, Qt::AlignCenter, text());
    // The round buttons are Tab stops like the others: the same rings,
    // rounded to the circle.
    if (hasFocus())
        paintFocusRings(painter, height() / 2.0 - 2);
}

} // namespace Tintor
