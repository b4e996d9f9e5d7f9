#include "host/EngineStart.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "engine/inc/ModuleValues.h"
#include "state/UserState.h"

#include <QCoreApplication>
#include <QSqlDatabase>

#include <libxml/xmlversion.h>

// Resource registration must happen outside any namespace.
static void registerModuleResources()
{
    Q_INIT_RESOURCE(huelink);
}

namespace Tintor {

int initializeEngine(const QString &pluginPath, const QString &folder)
{
    registerModuleResources();
    setPluginFilePath(pluginPath);
    setDatabaseFolder(folder);

    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return EngineNoSqlDriver;

    const int discovery = DB::discoverCollections();
    if (discovery < 0)
        return discovery;
    if (discovery == 2)
        return EngineNoCollection;

    const QList<QUuid> collections = DB::collectionUuidsByOrder();
    if (collections.isEmpty())
        return EngineNoCollection;

    // A new host process starts at the first collection; within one run the
    // user's last collection is kept from request to request.
    const qint64 pid = QCoreApplication::applicationPid();
    if (pid != UserState::hostApplicationPid()) {
        UserState::setLastUsedCollection(collections.first());
        UserState::setHostApplicationPid(pid);
    }

    CollectionSettings::loadNameOrders(UserState::lastUsedCollection());

    xmlCheckVersion(20900);
    return EngineReady;
}

} // namespace Tintor
