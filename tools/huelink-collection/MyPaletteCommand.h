#pragma once

#include <QStringList>

namespace Tintor {

// `huelink-collection my-palette`: My Palette's chips as the user state and
// the installed collections (or those below $PROGRAMDATA) give them, row by
// row, for hosts that make swatches of them. Returns the exit code: 0, 1
// when no collection can be read, 2 for a usage error.
int runMyPaletteCommand(const QStringList &arguments);
const char *myPaletteCommandUsage();

} // namespace Tintor
