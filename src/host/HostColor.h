#pragma once

#include <QColor>
#include <QString>
#include <QtGlobal>

// The colour exchange with the host: the host's colour spaces in, 16-bit
// RGB out, and the folder the swatch export starts in.
namespace Tintor::HostColor {

enum HostColorSpace {
    HostRgb = 0,
    HostHsb = 1,
    HostCmyk = 2,
    HostLab = 3,
    HostGray = 4,
};

// The host's current colour as an RGB QColor; invalid for an unknown space.
QColor initialColor(int colorSpace, const quint16 components[4]);

// Red, green, blue widened to 16 bits (x 257) and 0.
void pickedComponents(const QColor &color, quint16 components[4]);

// The relative swatch folder of a host major version; empty when unknown.
QString swatchSubfolder(int hostMajorVersion);
// `startFolder` with the version's swatch folder appended and created when
// that works; `startFolder` itself otherwise.
QString swatchFolder(const QString &startFolder, int hostMajorVersion);

} // namespace Tintor::HostColor
