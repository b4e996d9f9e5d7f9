#pragma once

#include "formats/SwatchChip.h"
#include "formats/SwatchColor.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace Tintor {

// Palette text files (".gpl") as paint and drawing programs on the desktop
// read them: a "GIMP Palette" line, "Name:" and "Columns:" headers, comments
// starting with '#', then one "red green blue name" line per colour.
class GplFormat {
public:
    static bool read(const QByteArray &bytes, QList<SwatchColor> &colors, QString &error);
    // One line per chip in the order given (six columns, like My Palette).
    static QByteArray write(const QString &description, const QList<SwatchChip> &chips, bool appendProductCodes);
};

} // namespace Tintor
