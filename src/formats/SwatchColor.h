#pragma once

#include "color/ColorScience.h"

#include <QRgb>
#include <QString>

namespace Tintor {

// One colour read from a swatch file: its name as the file gives it, the
// colour as shown (opaque sRGB) and as matched (CIELAB, D65). Colours given
// in CMYK or gray come through a plain conversion without a profile and are
// marked approximate.
class SwatchColor {
public:
    static SwatchColor fromSrgb(const QString &name, const ColorTriple &srgb, bool approximate = false);
    static SwatchColor fromLab(const QString &name, const ColorTriple &lab);
    // Plain device conversions, ink amounts 0..1.
    static SwatchColor fromCmyk(const QString &name, double cyan, double magenta, double yellow, double black);
    static SwatchColor fromGray(const QString &name, double lightness);
    // Hue in degrees, saturation and brightness 0..1.
    static SwatchColor fromHsb(const QString &name, double hue, double saturation, double brightness);

    QString name;
    QRgb rgb = 0xFF000000;
    ColorTriple lab {};
    bool approximate = false;
};

} // namespace Tintor
