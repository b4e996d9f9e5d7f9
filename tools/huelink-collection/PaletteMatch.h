#pragma once

#include <QList>
#include <QString>
#include <QUuid>

namespace Tintor {

// `huelink-collection match ... --palette FILE`: for each colour of a swatch
// file, the `count` nearest chips across `collections` (registered already)
// by CIEDE2000, with the grade of each difference. Returns the exit code.
int runPaletteMatch(const QString &swatchPath, const QList<QUuid> &collections, int count, bool json);

} // namespace Tintor
