#pragma once

#include <QString>

namespace Tintor {

// Status of the engine start: 0 ready; -1 no "QSQLITE" driver; -3 no
// collection; other negative values come from the discovery.
enum EngineStatus {
    EngineReady = 0,
    EngineNoSqlDriver = -1,
    EngineNoCollection = -3,
};

// Once per host request, before any window: resources, module-wide paths,
// collection discovery and the remembered last collection.
int initializeEngine(const QString &pluginPath, const QString &databaseFolder);

} // namespace Tintor
