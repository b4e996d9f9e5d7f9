#pragma once

#include "formats/SwatchChip.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace Tintor {

// Chips for scripts (".json"): the description and, per cell in palette
// order, the code, name, collection name and UUID, card and row, sRGB hex,
// CIELAB (D65) and light reflectance value.
class JsonSwatchFormat {
public:
    static QByteArray write(const QString &description, const QList<SwatchChip> &chips, bool appendProductCodes);
};

} // namespace Tintor
