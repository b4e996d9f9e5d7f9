#pragma once

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QUuid>

// Finding collection files, the process-wide registry of their collections
// and one named connection per file.
namespace Tintor::DB {

struct CollectionLocation
{
    QUuid uuid;
    qint64 databaseId = 0;
    int order = 0;
    QString databasePath;
    QString systemId;
};

using CollectionRegistryHash = QHash<QUuid, CollectionLocation>;

// The registry itself: created empty, only a scan with clearFirst shrinks it.
CollectionRegistryHash &collectionRegistry();

// 1 when the registry holds at least one collection, 2 when none.
int discoverCollections();
int scanCollectionFiles(CollectionRegistryHash &registry, bool clearFirst);
// 0, or -2 (null UUID), -4 (not registered after a rescan), -5 (cannot open).
int checkAvailability(const QUuid &uuid);

QString connectionNameOf(const QString &databasePath);
// The open connection of the collection's file; checkAvailability first.
// `status` receives its result; an invalid database when it is not 0.
QSqlDatabase collectionDatabase(const QUuid &uuid, int *status = nullptr);
// Changes whenever a collection connection is opened, so that what was read
// through an earlier connection is not taken for the file's content now.
int connectionGeneration();

qint64 collectionDatabaseId(const QUuid &uuid);
// Integer collection IDs are private to their file (every file numbers its
// collections from 1), so an ID read from a query names a collection only
// together with the file the query ran on. Null when none matches.
QUuid collectionUuidInFile(const QString &databasePath, qint64 databaseId);
// For chips found by the searches over all enabled collections, which run on
// the file holding the system-wide collection.
QUuid collectionUuidInSystemWideFile(qint64 databaseId);
int collectionUuidBySystemId(const QString &systemId, QUuid &out);
// Every registered collection except the system-wide one, by ascending ORDER.
QList<QUuid> collectionUuidsByOrder();

bool isSystemWideCollection(const QUuid &uuid);

} // namespace Tintor::DB
