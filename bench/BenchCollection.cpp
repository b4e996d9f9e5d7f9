#include "BenchCollection.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "engine/inc/ModuleValues.h"
#include "state/UserState.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

#include <cstdio>

BenchCollection::BenchCollection()
{
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_folder.path() + QStringLiteral("/config")));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

QUuid BenchCollection::open(const char *file)
{
    const QString source = QFileInfo(QString::fromLocal8Bit(file)).absoluteFilePath();
    const QString databaseFolder = m_folder.path() + QStringLiteral("/SQLite");
    QDir().mkpath(databaseFolder + QStringLiteral("/Contents/Resources"));
    if (!QFile::link(source, databaseFolder + QStringLiteral("/Contents/Resources/bench.db"))) {
        std::fprintf(stderr, "cannot link %s\n", qPrintable(source));
        return QUuid();
    }
    Tintor::setHostApplicationName(Tintor::moduleHostApplicationName());
    Tintor::setDatabaseFolder(databaseFolder);
    if (Tintor::DB::discoverCollections() != 1 || Tintor::DB::collectionUuidsByOrder().isEmpty()) {
        std::fprintf(stderr, "no collection in %s\n", qPrintable(source));
        return QUuid();
    }
    const QUuid collection = Tintor::DB::collectionUuidsByOrder().constFirst();
    Tintor::UserState::setLastUsedCollection(collection);
    Tintor::CollectionSettings::loadNameOrders(collection);
    Tintor::CollectionSettings::setCurrentCollection(collection);
    return collection;
}

namespace {

// The first value of a counting query; %1 in `sql` is the collection's
// database ID.
int countOf(const QUuid &collection, const QString &sql)
{
    QSqlQuery query(Tintor::DB::collectionDatabase(collection));
    query.exec(sql.arg(Tintor::DB::collectionDatabaseId(collection)));
    return query.next() ? query.value(0).toInt() : -1;
}

} // namespace

int BenchCollection::chipCount(const QUuid &collection)
{
    return countOf(collection, QStringLiteral("SELECT COUNT(*) FROM \"ROW\" WHERE COLLECTION_ID = %1"));
}

int BenchCollection::cardCount(const QUuid &collection)
{
    return countOf(collection, QStringLiteral("SELECT MAX(P.PAGE_INDEX) FROM PAGE P JOIN COLLECTION_PAGE_MAP M "
                                              "ON P.ID = M.PAGE_ID WHERE M.COLLECTION_ID = %1"));
}
