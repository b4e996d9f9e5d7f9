#pragma once

#include <string>
#include <vector>

// What the editor plug-ins read through the engine without a window: a
// chip's colour by its code, and My Palette's chips. Each call starts the
// engine over the installed collections (or those below $PROGRAMDATA) with
// an application object that lives for the call only. The interface is
// plain C++ so the image editor's side needs no toolkit.
namespace ChipSource {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
};

struct NamedColor {
    std::string code;
    std::string name; // "code - name", as My Palette shows it
    Rgb color;
};

// The chip whose code is `code` (without regard to case) in the collection
// named `collectionName`, or with an empty name in the enabled collections
// in their order. False with `error` set (one line) when there is none.
bool chipColor(const std::string &code, const std::string &collectionName, Rgb &color, std::string &error);

// My Palette's description (empty when none) and its chips, row by row.
// Cells whose collection is no longer installed are left out and counted in
// `missing`.
bool myPalette(std::string &description, std::vector<NamedColor> &chips, int &missing, std::string &error);

} // namespace ChipSource
