#pragma once

#include "formats/SwatchChip.h"
#include "formats/SwatchColor.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace Tintor {

// Swatch exchange files (".ase"): "ASEF", version 1.0, a block count, then
// blocks of a 16-bit type and a 32-bit length. Colour entries carry a UTF-16
// name with terminator, a four-letter model and 32-bit float components.
// Written as one group named after the palette's description holding one
// global RGB entry per distinct colour, in palette order.
class AseFormat {
public:
    // RGB, LAB, CMYK and Gray entries; group blocks are passed over. A block
    // that runs past the file's end, does not hold what its type needs, or a
    // block count the file cannot hold refuses the whole file.
    static bool read(const QByteArray &bytes, QList<SwatchColor> &colors, QString &error);
    static QByteArray write(
        const QString &description, const QList<SwatchChip> &chips, bool appendProductCodes, QString &error);
};

} // namespace Tintor
