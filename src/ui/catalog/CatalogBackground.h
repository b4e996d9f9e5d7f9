#pragma once

#include <QImage>
#include <QRect>

class QWidget;

namespace Tintor {

// The part of the main background that lies under `rect` of `widget`, so a
// page of the catalog tabs can look transparent over it. Taken from the
// main widget's window brush when there is a main widget (no decoding),
// otherwise from the theme image at the size of the widget's window.
QImage mainBackgroundUnder(const QWidget *widget, const QRect &rect);

} // namespace Tintor
