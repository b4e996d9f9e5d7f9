#include "ui/browse/RollButton.h"

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
    if (image.isNull())
        return;
    QPainter painter(this);
    painter.drawImage(QPoint((width() - image.width()) / 2, (height() - image.height()) / 2), image);
}

} // namespace Tintor
