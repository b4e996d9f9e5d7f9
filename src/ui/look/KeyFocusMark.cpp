#include "ui/look/KeyFocusMark.h"

#include <QPainter>
#include <QPen>

namespace Tintor {

namespace {

constexpr int kInset = 3;
const QColor kMarkBlue(0, 151, 251);

} // namespace

QRect keyFocusMarkRect(const QRect &item)
{
    return item.adjusted(kInset, kInset, -kInset, -kInset);
}

void paintKeyFocusMark(QPainter &painter, const QRect &item)
{
    const QRect mark = keyFocusMarkRect(item);
    if (mark.width() < 2 || mark.height() < 2)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawRect(mark.adjusted(1, 1, -1, -1));
    QPen dashes(kMarkBlue, 2, Qt::CustomDashLine);
    dashes.setDashPattern({ 2, 2 });
    painter.setPen(dashes);
    painter.drawRect(mark.adjusted(1, 1, -1, -1));
    painter.restore();
}

} // namespace Tintor
