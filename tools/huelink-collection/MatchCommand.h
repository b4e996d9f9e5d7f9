#pragma once

#include "db/ColorEntry.h"

#include <QStringList>
#include <QUuid>

namespace Tintor {

// `huelink-collection match`: the nearest chips of a collection for a batch
// of colours, ranked by CIEDE2000 exactly as the interface ranks them (the
// same candidate query, conversion and selection). `arguments` are the
// words after "match". Returns the exit code: 0, 1 when the file or the
// collection cannot be used, 2 for a usage error.
int runMatchCommand(const QStringList &arguments);
const char *matchCommandUsage();

// The chip's shown name: the first name of the collection's display order,
// or, for a collection without one, its first name that is not empty.
QString chipDisplayName(const QUuid &uuid, const DB::ColorEntry &entry);

} // namespace Tintor
