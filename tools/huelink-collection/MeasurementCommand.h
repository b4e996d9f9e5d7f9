#pragma once

#include <QStringList>

namespace Tintor {

// `huelink-collection measurement`: a stand-in for the Capsure device
// software. Writes a CxF3 document whose measured objects carry the given
// names, as the device software would: to a temporary file in the target's
// folder, renamed into place once complete, so a watcher never reads half
// a document. `arguments` are the words after "measurement". Returns the
// exit code: 0, 1 when the file cannot be written, 2 for a usage error.
int runMeasurementCommand(const QStringList &arguments);
const char *measurementCommandUsage();

} // namespace Tintor
