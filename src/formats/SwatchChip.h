#pragma once

#include "color/ColorScience.h"

#include <QRgb>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <optional>

namespace Tintor {

// One chip on its way out to a swatch file: what the writers of every format
// need to know about it, filled in by the caller from My Palette and the
// collection. Cells are given in row-major order, empty cells left out.
class SwatchChip {
public:
    QString code;
    QString name;
    // The name the palette shows for the cell; when empty, "CODE NAME".
    QString displayName;
    QString collectionName;
    QUuid collectionUuid;
    int pageIndex = -1;
    int rowIndex = -1;
    QRgb rgb = 0xFF000000;
    // The collection's own Lab; computed from rgb when absent.
    std::optional<ColorTriple> lab;
    // Light reflectance value 0..100 as the collection gives it.
    std::optional<double> lightReflectance;
    QStringList productCodes;

    // The name on one line: line breaks and tabs become spaces.
    QString oneLineName() const;
    // The name a swatch entry carries: the one-line name, with " - " and the
    // product codes appended when asked; "RGB(r,g,b)" when that is empty.
    QString swatchName(bool appendProductCodes) const;
    ColorTriple labOrComputed() const;
    // The collection's value, or 100 Y of the sRGB colour.
    double lightReflectanceOrComputed() const;
};

} // namespace Tintor
