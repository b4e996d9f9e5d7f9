#pragma once

#include <QStringList>

// `huelink-collection match`: the nearest chips of a collection for a batch
// of colours, ranked by CIEDE2000 exactly as the interface ranks them.
// `arguments` are the words after "match". Returns the exit code.
int runMatchCommand(const QStringList &arguments);
