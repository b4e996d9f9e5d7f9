#include "ui/look/KeyFocusMark.h"

#include <QPainter>
#include <QPen>

namespace Tintor {

namespace {

constexpr int kItemInset = 3;
constexpr qreal kItemRadius = 2.0;
const QColor kDark(45, 45, 45, 200);
const QColor kLight(255, 255, 255, 224);

} // namespace

void paintKeyFocusMark(QPainter &painter, const QRectF &rect, qreal radius, bool overLight)
{
    if (rect.width() < 4 || rect.height() < 4)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(overLight ? kLight : kDark, 1.0));
    painter.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    QPen mark(overLight ? kDark : kLight, 1.0, Qt::DashLine);
    mark.setDashPattern({3.0, 2.0});
    painter.setPen(mark);
    painter.drawRoundedRect(rect.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
    painter.restore();
}

QRect keyFocusMarkRect(const QRect &item)
{
    return item.adjusted(kItemInset, kItemInset, -kItemInset, -kItemInset);
}

void paintKeyFocusMark(QPainter &painter, const QRect &item)
{
    paintKeyFocusMark(painter, QRectF(keyFocusMarkRect(item)), kItemRadius);
}

} // namespace Tintor
