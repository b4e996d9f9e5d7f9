#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QtGlobal>

class QPainter;

// Drawing helpers shared by every piece of theme art: colour arithmetic,
// seeded noise (never a global random source, so renders repeat exactly)
// and the small primitives the controls are built from.
namespace Tintor::ThemeArt {

// The look shared by all pieces.
namespace Palette {
inline const QColor inkDark{69, 72, 76};
inline const QColor inkLight{222, 224, 226};
inline const QColor accent{31, 149, 201};
inline const QColor accentDeep{11, 104, 150};
inline const QColor backgroundTop{86, 89, 93};
inline const QColor backgroundBottom{58, 60, 64};
inline const QColor headerTop{44, 46, 50};
inline const QColor headerBottom{54, 56, 60};
inline const QColor barTop{246, 246, 246};
inline const QColor barBottom{212, 212, 213};
inline const QColor outline{43, 45, 48};
} // namespace Palette

QColor mix(const QColor &from, const QColor &to, double t);
QColor withAlpha(QColor color, int alpha);
// Hue in degrees, saturation and value 0..1.
QColor hsv(double hue, double saturation, double value);
// Scales the colour's saturation, keeping hue and value.
QColor desaturated(const QColor &color, double factor);

// Uniform in [0, 1), the same for the same arguments on every machine.
double hashNoise(int x, int y, quint32 seed);
// Smooth value noise in [0, 1) over the plane, unit cell size.
double valueNoise(double x, double y, quint32 seed);
// Sum of `octaves` value-noise layers, each half the size, in [0, 1).
double fractalNoise(double x, double y, quint32 seed, int octaves);

QPainterPath roundedRectPath(const QRectF &rect, double radius);
QPainterPath circlePath(const QPointF &center, double radius);
QPainterPath chevronPath(const QPointF &center, double halfWidth, double halfHeight, double angleDegrees);

// A glyph stroked in `ink` over a one-pixel lighter or darker relief line,
// the way engraved icons on a light bar read crisply.
void strokeEngraved(QPainter &painter, const QPainterPath &path, const QColor &ink, double width,
                    const QColor &relief, const QPointF &reliefOffset = QPointF(0.0, 1.0));
void fillEngraved(QPainter &painter, const QPainterPath &path, const QColor &ink, const QColor &relief,
                  const QPointF &reliefOffset = QPointF(0.0, 1.0));

// A soft shadow: the shape filled repeatedly, growing and fading.
void softShadow(QPainter &painter, const QPainterPath &shape, const QPointF &offset, int spread,
                int strongestAlpha);

// A round push-button body: outline, vertical gradient, top gloss.
void buttonDisc(QPainter &painter, const QPointF &center, double radius, bool pressed);

} // namespace Tintor::ThemeArt
