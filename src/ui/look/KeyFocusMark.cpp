#include "ui/look/KeyFocusMark.h"

#include <QPainter>
#include <QPen>

namespace Tintor {

namespace {

const QColor kRimColor(45, 45, 45, 160);
const QColor kMarkColor(255, 255, 255, 224);

} // namespace

void paintKeyFocusMark(QPainter &painter, const QRectF &rect, qreal radius)
{
    if (rect.width() < 4 || rect.height() < 4)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kRimColor, 1.0));
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    QPen mark(kMarkColor, 1.0, Qt::DashLine);
    mark.setDashPattern({3.0, 2.0});
    painter.setPen(mark);
    painter.drawRoundedRect(rect.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
    painter.restore();
}

} // namespace Tintor
