#include "db/CollectionRegistry.h"

#include "db/Schema.h"
#include "db/Status.h"
#include "engine/inc/ModuleValues.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <algorithm>

namespace Tintor::DB {

namespace {

const QString kDriver = QStringLiteral("QSQLITE");
const QString kEnumeratorConnection = QStringLiteral("collectionEnumerator");
// The module only reads collection files; read-only also keeps a vanished
// file from being created anew as an empty database.
const QString kReadOnlyOption = QStringLiteral("QSQLITE_OPEN_READONLY");

int &openedConnections()
{
    static int count = 0;
    return count;
}

QSqlDatabase addReadOnlyDatabase(const QString &connectionName, const QString &path)
{
    QSqlDatabase database = QSqlDatabase::addDatabase(kDriver, connectionName);
    database.setDatabaseName(path);
    database.setConnectOptions(kReadOnlyOption);
    return database;
}

void scanOneFile(const QString &filePath, CollectionRegistryHash &registry)
{
    {
        QSqlDatabase database = addReadOnlyDatabase(kEnumeratorConnection, filePath);
        if (database.open()) {
            const QStringList tables = database.tables();
            const bool hasCollectionTable = std::any_of(tables.cbegin(), tables.cend(), [](const QString &table) {
                return table.compare(QLatin1String("COLLECTION"), Qt::CaseInsensitive) == 0;
            });
            if (hasCollectionTable) {
                QSqlQuery query(database);
                const QString sql = QStringLiteral(
                    "SELECT     DISTINCT C.* FROM     COLLECTION C     LEFT JOIN SETTING S ON "
                    "S.COLLECTION_ID = C.ID WHERE     (C.UUID = '%1' COLLATE NOCASE) OR     "
                    "(S.NAME = '%2' COLLATE NOCASE AND S.VALUE = 1)")
                    .arg(Schema::systemWideCollectionUuid().toString(QUuid::WithBraces).toUpper(),
                         QStringLiteral("collection.enabled"));
                if (query.exec(sql)) {
                    while (query.next()) {
                        const QSqlRecord record = query.record();
                        const QUuid uuid = QUuid::fromString(record.value(QStringLiteral("UUID")).toString());
                        if (uuid.isNull() || registry.contains(uuid))
                            continue;
                        CollectionLocation location;
                        location.uuid = uuid;
                        location.databaseId = record.value(QStringLiteral("ID")).toLongLong();
                        location.order = record.value(QStringLiteral("ORDER")).toInt();
                        location.databasePath = database.databaseName();
                        location.systemId = record.value(QStringLiteral("SYSTEMID")).toString();
                        registry.insert(uuid, location);
                    }
                }
            }
            database.close();
        }
    }
    QSqlDatabase::removeDatabase(kEnumeratorConnection);
}

} // namespace

CollectionRegistryHash &collectionRegistry()
{
    static CollectionRegistryHash registry;
    return registry;
}

QString connectionNameOf(const QString &databasePath)
{
    // Asked for on every query; the registry's paths are absolute, so the
    // name of one never changes (a relative path would follow the current
    // folder and is not kept).
    static QHash<QString, QString> names;
    const auto known = names.constFind(databasePath);
    if (known != names.cend())
        return *known;
    const QString name = QFileInfo(databasePath).absoluteFilePath().toLower();
    if (QDir::isAbsolutePath(databasePath)) {
        // The files of one folder; anything beyond is not worth a bound.
        if (names.size() >= 256)
            names.clear();
        names.insert(databasePath, name);
    }
    return name;
}

int scanCollectionFiles(CollectionRegistryHash &registry, bool clearFirst)
{
    if (clearFirst)
        registry = CollectionRegistryHash();
    const QDir databaseDir(databaseFolder());
    if (!databaseDir.exists(QStringLiteral("Contents/Resources")))
        return 0;
    QString folderPath = QDir::toNativeSeparators(databaseDir.path());
    if (!folderPath.endsWith(QDir::separator()))
        folderPath += QDir::separator();
    folderPath = QDir::toNativeSeparators(folderPath + QStringLiteral("Contents/Resources"));
    const QDir folder(folderPath);
    // By name: which file supplies a UUID held twice (the system-wide
    // collection is in every file) must not depend on the file system's
    // directory order, which differs between machines.
    const QFileInfoList files = folder.entryInfoList({QStringLiteral("*.db")}, QDir::Files, QDir::Name);
    for (const QFileInfo &file : files)
        scanOneFile(file.absoluteFilePath(), registry);
    return 0;
}

int discoverCollections()
{
    CollectionRegistryHash &registry = collectionRegistry();
    if (!registry.isEmpty())
        return 1;
    scanCollectionFiles(registry, true);
    return registry.isEmpty() ? 2 : 1;
}

int checkAvailability(const QUuid &uuid)
{
    if (uuid.isNull())
        return StatusNullUuid;
    CollectionRegistryHash &registry = collectionRegistry();
    if (!registry.contains(uuid)) {
        scanCollectionFiles(registry, false);
        if (!registry.contains(uuid))
            return StatusNotRegistered;
    }
    const QString path = registry.value(uuid).databasePath;
    const QString name = connectionNameOf(path);
    // Tested by name, not by a remembered flag: the toolkit drops named
    // connections together with its application object.
    if (QSqlDatabase::contains(name))
        return StatusOk;
    // The connection that stays is the one tested: SQLite opens lazily, so
    // reading the table list makes it read the header and the schema, and a
    // file that is not a database is refused here rather than by every
    // query. The schema read is the one its queries need anyway.
    bool opened = false;
    {
        QSqlDatabase database = addReadOnlyDatabase(name, path);
        opened = database.open() && !database.tables().isEmpty();
        if (!opened)
            database.close();
    }
    if (!opened) {
        QSqlDatabase::removeDatabase(name);
        return StatusCannotOpen;
    }
    ++openedConnections();
    return StatusOk;
}

int connectionGeneration()
{
    return openedConnections();
}

QSqlDatabase collectionDatabase(const QUuid &uuid, int *status)
{
    const int availability = checkAvailability(uuid);
    if (status)
        *status = availability;
    if (availability != StatusOk)
        return QSqlDatabase();
    const QString name = connectionNameOf(collectionRegistry().value(uuid).databasePath);
    return QSqlDatabase::database(name, true);
}

qint64 collectionDatabaseId(const QUuid &uuid)
{
    const CollectionRegistryHash &registry = collectionRegistry();
    const auto it = registry.constFind(uuid);
    return it == registry.cend() ? -1 : it->databaseId;
}

QUuid collectionUuidInFile(const QString &databasePath, qint64 databaseId)
{
    const CollectionRegistryHash &registry = collectionRegistry();
    for (auto it = registry.cbegin(); it != registry.cend(); ++it) {
        if (it->databaseId == databaseId && it->databasePath == databasePath)
            return it.key();
    }
    return QUuid();
}

QUuid collectionUuidInSystemWideFile(qint64 databaseId)
{
    const CollectionRegistryHash &registry = collectionRegistry();
    const auto systemWide = registry.constFind(Schema::systemWideCollectionUuid());
    if (systemWide == registry.cend())
        return QUuid();
    return collectionUuidInFile(systemWide->databasePath, databaseId);
}

int collectionUuidBySystemId(const QString &systemId, QUuid &out)
{
    const CollectionRegistryHash &registry = collectionRegistry();
    for (auto it = registry.cbegin(); it != registry.cend(); ++it) {
        if (it->systemId.compare(systemId, Qt::CaseInsensitive) == 0) {
            out = it.key();
            return StatusOk;
        }
    }
    return StatusFailed;
}

QList<QUuid> collectionUuidsByOrder()
{
    CollectionRegistryHash &registry = collectionRegistry();
    if (registry.isEmpty())
        scanCollectionFiles(registry, true);
    QList<CollectionLocation> locations;
    for (const CollectionLocation &location : registry) {
        if (!isSystemWideCollection(location.uuid))
            locations.append(location);
    }
    // Equal ORDER values can only come from different files; keep both
    // (ordered by file, then UUID) instead of letting one hide the other.
    std::sort(locations.begin(), locations.end(), [](const CollectionLocation &a, const CollectionLocation &b) {
        if (a.order != b.order)
            return a.order < b.order;
        if (a.databasePath != b.databasePath)
            return a.databasePath < b.databasePath;
        return a.uuid.toString() < b.uuid.toString();
    });
    QList<QUuid> uuids;
    uuids.reserve(locations.size());
    for (const CollectionLocation &location : locations)
        uuids.append(location.uuid);
    return uuids;
}

bool isSystemWideCollection(const QUuid &uuid)
{
    return uuid == Schema::systemWideCollectionUuid();
}

} // namespace Tintor::DB
