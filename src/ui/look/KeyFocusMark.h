#pragma once

#include <QRect>
#include <QRectF>

class QPainter;

namespace Tintor {

// The mark a custom-painted view draws round its keyboard focus: a dashed
// rounded frame inside a rim of the opposite shade, light dashes over the
// dark main background and dark ones over the light header bars, so it
// never looks like the plain white frame of a selected chip.
void paintKeyFocusMark(QPainter &painter, const QRectF &rect, qreal radius = 4.0, bool overLight = false);

// The same mark on an item inside a view (a chip, a palette cell), drawn
// 3 pixels inside `item` so it stays apart from the selection and drop
// frames on the item's edge; the two shades show on any chip colour.
void paintKeyFocusMark(QPainter &painter, const QRect &item);

// The rectangle an item's mark paints into, for partial updates.
QRect keyFocusMarkRect(const QRect &item);

} // namespace Tintor
