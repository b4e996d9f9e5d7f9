#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

// Plain theme pictures for the gallery's own demo file, drawn here so the
// views can be looked at before the real demo collections exist.
namespace Gallery {

QByteArray pngBytes(const QImage &image);

QImage mainBackground(const QSize &size);
QImage barBackground(const QSize &size);
// A hue ring whose colours agree with the demo decks: segment n (clockwise
// from the top) has hue (n - 1) * 30.
QImage colorWheelBackground();
QImage moodImage(const QColor &color, bool selected);
QImage tickImage();
QImage disabledMarkImage();
QImage magnifyingGlassImage();
QImage rollImage(bool forward, bool pressed);
QImage dropDownArrowImage(bool up);
QImage madeToOrderImage();
QImage bannerImage(const QString &title);

} // namespace Gallery
