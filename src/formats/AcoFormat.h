#pragma once

#include "formats/SwatchChip.h"
#include "formats/SwatchColor.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QRgb>
#include <QString>

namespace Tintor {

// The host's colour swatch file (".aco"): sections of big-endian 16-bit
// words, version 1 (colours only) optionally followed by version 2 (colours
// with UTF-16 names). Written as one version-2 section of RGB records in
// ascending ARGB order, one per colour, as the host's own export does.
class AcoFormat {
public:
    // RGB, HSB, CMYK, Lab and gray records; any other colour space, a short
    // record or a count that does not fit the file refuses the whole file.
    static bool read(const QByteArray &bytes, QList<SwatchColor> &colors, QString &error);
    static QByteArray write(const QList<SwatchChip> &chips, bool appendProductCodes, QString &error);
    // The records of `table` (colour to name, one per colour, at most 65,535);
    // an empty name is written as "RGB(r,g,b)".
    static QByteArray records(const QMap<QRgb, QString> &table);
};

} // namespace Tintor
