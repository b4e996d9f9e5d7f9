#pragma once

#include "formats/SwatchChip.h"

#include <QList>

namespace Tintor {
class MyPaletteWidget;
}

// Gathers what the exchange formats write about each filled My Palette
// cell, row by row from the top: code, name, collection, card and row,
// colour and the collection's own Lab. A cell whose chip can no longer be
// read still goes out with its colour and the name the cell shows.
class MyPaletteSwatchChips {
public:
    // With `productCodes`, each chip's product codes are looked up too.
    static QList<Tintor::SwatchChip> collect(const Tintor::MyPaletteWidget &palette, bool productCodes);
};
