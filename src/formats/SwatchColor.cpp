#include "formats/SwatchColor.h"

#include <QColor>

#include <algorithm>
#include <cmath>

namespace Tintor {

namespace {

// A component written from an 8-bit value comes back as that value even
// through a 32-bit float, so a chip exported and read again is itself.
bool snapsToByte(double fraction, int &byte)
{
    const double value = std::clamp(fraction, 0.0, 1.0) * 255.0;
    byte = int(std::lround(value));
    return std::fabs(value - byte) < 1e-3;
}

QRgb rgbOf(const ColorTriple &srgb)
{
    return qRgb(int(std::lround(srgb[0] * 255.0)), int(std::lround(srgb[1] * 255.0)),
        int(std::lround(srgb[2] * 255.0)));
}

} // namespace

SwatchColor SwatchColor::fromSrgb(const QString &name, const ColorTriple &srgb, bool approximate)
{
    SwatchColor color;
    color.name = name;
    color.approximate = approximate;
    int red = 0, green = 0, blue = 0;
    if (snapsToByte(srgb[0], red) && snapsToByte(srgb[1], green) && snapsToByte(srgb[2], blue)) {
        // The same conversion as a chip's colour, so equal colours give ΔE 0.
        color.rgb = qRgb(red, green, blue);
        color.lab = colorToLab(QColor(red, green, blue));
        return color;
    }
    const ColorTriple clamped { std::clamp(srgb[0], 0.0, 1.0), std::clamp(srgb[1], 0.0, 1.0),
        std::clamp(srgb[2], 0.0, 1.0) };
    color.rgb = rgbOf(clamped);
    color.lab = xyzToLab(srgbToXyz(clamped));
    return color;
}

SwatchColor SwatchColor::fromLab(const QString &name, const ColorTriple &lab)
{
    SwatchColor color;
    color.name = name;
    color.rgb = rgbOf(labToClampedSrgb(lab));
    color.lab = lab;
    return color;
}

SwatchColor SwatchColor::fromCmyk(const QString &name, double cyan, double magenta, double yellow, double black)
{
    const auto channel = [black](double ink) {
        return (1.0 - std::clamp(ink, 0.0, 1.0)) * (1.0 - std::clamp(black, 0.0, 1.0));
    };
    return fromSrgb(name, { channel(cyan), channel(magenta), channel(yellow) }, true);
}

SwatchColor SwatchColor::fromGray(const QString &name, double lightness)
{
    const double level = std::clamp(lightness, 0.0, 1.0);
    return fromSrgb(name, { level, level, level }, true);
}

SwatchColor SwatchColor::fromHsb(const QString &name, double hue, double saturation, double brightness)
{
    const QColor hsv = QColor::fromHsvF(float(std::fmod(std::fmod(hue, 360.0) + 360.0, 360.0) / 360.0),
        float(std::clamp(saturation, 0.0, 1.0)), float(std::clamp(brightness, 0.0, 1.0)));
    return fromSrgb(name, { hsv.redF(), hsv.greenF(), hsv.blueF() });
}

} // namespace Tintor
