#include "ui/browse/RollButton.h"

#include "ui/look/KeyFocusMark.h"
#include "ui/look/Theme.h"

#include <QPainter>

namespace Tintor {

RollButton::RollButton(Direction direction, QWidget *parent)
    : QPushButton(parent)
    , m_direction(direction)
{
    const bool forward = direction == Forward;
    m_pressedImage = themeImage(forward ? ThemeItem::RollForwardDown : ThemeItem::RollBackwardDown, size());
    m_normalImage = themeImage(forward ? ThemeItem::RollForwardNormal : ThemeItem::RollBackwardNormal, size());
    setAutoRepeat(true);
    setFixedSize(m_normalImage.size());
}

void RollButton::paintEvent(QPaintEvent *)
{
    const QImage &image = isDown() ? m_pressedImage : m_normalImage;
    QPainter painter(this);
    if (!image.isNull())
        painter.drawImage(QPoint((width() - image.width()) / 2, (height() - image.height()) / 2), image);
    // Space rolls like a click, so a Tab stop here must show itself.
    if (hasFocus())
        paintKeyFocusMark(painter, QRectF(rect()), 3.0);
}

} // namespace Tintor
