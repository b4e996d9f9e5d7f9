#pragma once

#include <QRectF>

class QPainter;

namespace Tintor {

// The mark a custom-painted view draws round its keyboard focus: a dashed
// rounded frame inside a rim of the opposite shade, light dashes over the
// dark main background and dark ones over the light header bars, so it
// never looks like the plain white frame of a selected chip.
void paintKeyFocusMark(QPainter &painter, const QRectF &rect, qreal radius = 4.0, bool overLight = false);

} // namespace Tintor
