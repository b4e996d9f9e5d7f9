#include "host/HostColor.h"

#include "color/ColorScience.h"

#include <QDir>

namespace Tintor::HostColor {

QColor initialColor(int colorSpace, const quint16 components[4])
{
    QColor color;
    switch (colorSpace) {
    case HostRgb:
        color = QColor(components[0] / 257, components[1] / 257, components[2] / 257, 255);
        break;
    case HostHsb:
        color = QColor::fromHsvF(float(components[0] / 65535.0), float(components[1] / 65535.0),
                                 float(components[2] / 65535.0), 1.0f);
        break;
    case HostCmyk:
        // The host's 0 is full ink.
        color = QColor::fromCmykF(float(1.0 - components[0] / 65535.0), float(1.0 - components[1] / 65535.0),
                                  float(1.0 - components[2] / 65535.0), float(1.0 - components[3] / 65535.0),
                                  1.0f);
        break;
    case HostLab: {
        const double l = components[0] / 100.0;
        const double a = static_cast<qint16>(components[1]) / 100.0;
        const double b = static_cast<qint16>(components[2]) / 100.0;
        const ColorTriple srgb = labToClampedSrgb({l, a, b});
        color = QColor::fromRgbF(float(srgb[0]), float(srgb[1]), float(srgb[2]), 1.0f);
        break;
    }
    case HostGray: {
        const double value = 1.0 - components[0] / 10000.0;
        const float channel = float(qBound(0.0, value, 1.0));
        color = QColor::fromRgbF(channel, channel, channel, 1.0f);
        break;
    }
    default:
        break;
    }
    return color.isValid() ? color.toRgb() : color;
}

void pickedComponents(const QColor &color, quint16 components[4])
{
    components[0] = static_cast<quint16>(color.red() * 257);
    components[1] = static_cast<quint16>(color.green() * 257);
    components[2] = static_cast<quint16>(color.blue() * 257);
    components[3] = 0;
}

QString swatchSubfolder(int hostMajorVersion)
{
    switch (hostMajorVersion) {
    case 9:
        return QStringLiteral("Adobe/Adobe Photoshop CS2/Presets/Color Swatches/");
    case 10:
        return QStringLiteral("Adobe/Adobe Photoshop CS3/Presets/Color Swatches/");
    case 11:
        return QStringLiteral("Adobe/Adobe Photoshop CS4/Presets/Color Swatches/");
    case 12:
        return QStringLiteral("Adobe/Adobe Photoshop CS5/Presets/Color Swatches/");
    case 13:
        return QStringLiteral("Adobe/Adobe Photoshop CS6/Presets/Color Swatches/");
    default:
        return QString();
    }
}

QString swatchFolder(const QString &startFolder, int hostMajorVersion)
{
    QDir folder(startFolder);
    const QString subfolder = swatchSubfolder(hostMajorVersion);
    if (!subfolder.isEmpty()) {
        if (!folder.exists(subfolder))
            folder.mkpath(subfolder);
        if (folder.exists(subfolder))
            folder.cd(subfolder);
    }
    return folder.path();
}

} // namespace Tintor::HostColor
