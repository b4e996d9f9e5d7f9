#pragma once

#include <QRectF>

class QPainter;

namespace Tintor {

// The mark a custom-painted view draws round its keyboard focus: a light
// rounded frame inside a dark rim, so that it reads over the dark main
// background and the light header bars alike, and never looks like the
// plain white frame of a selected chip.
void paintKeyFocusMark(QPainter &painter, const QRectF &rect, qreal radius = 4.0);

} // namespace Tintor
