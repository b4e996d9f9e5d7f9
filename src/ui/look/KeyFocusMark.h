#pragma once

#include <QRect>

class QPainter;

namespace Tintor {

// The mark of the item the keyboard is on inside a view: a white frame with
// a dashed line in the program's drop blue, drawn 3 pixels inside `item`, so
// it stays apart from the selection and drop frames that lie on an item's
// edge and shows on light and dark colours alike.
void paintKeyFocusMark(QPainter &painter, const QRect &item);

// The rectangle a mark of `item` paints into, for partial updates.
QRect keyFocusMarkRect(const QRect &item);

} // namespace Tintor
