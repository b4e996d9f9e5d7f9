#include "ui/browse/DropDownButton.h"

#include "ui/look/Theme.h"

#include <QPainter>

namespace Tintor {

DropDownButton::DropDownButton(QWidget *parent)
    : QPushButton(parent)
{
    setAutoRepeat(false);
    m_downArrowImage = themeImage(ThemeItem::DropdownArrowDown, size());
    m_upArrowImage = themeImage(ThemeItem::DropdownArrowUp, size());
}

void DropDownButton::setClosed(bool closed)
{
    if (m_closed == closed)
        return;
    m_closed = closed;
    update();
}

void DropDownButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (!m_backgroundImage.isNull()) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, m_backgroundImage);
    }
    const QImage &arrow = m_closed ? m_downArrowImage : m_upArrowImage;
    if (!arrow.isNull()) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.drawImage((width() - arrow.width()) / 2, (height() - arrow.height()) / 2, arrow);
    }
}

} // namespace Tintor
