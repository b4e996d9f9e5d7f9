#include "db/QuerySupport.h"
#include "engine/inc/Logging.h"

#include "db/CollectionRegistry.h"
#include "db/RecordFields.h"
#include "db/StatementPool.h"
#include "platform/Platform.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace Tintor::DB::QuerySupport {

ContentStamp contentStamp(QSqlDatabase &database)
{
    ContentStamp stamp;
    const Platform::FileStamp file = Platform::fileStamp(database.databaseName());
    if (!file.exists())
        return stamp;
    stamp.modified = file.modified;
    stamp.size = file.size;
    const Platform::FileStamp log = Platform::fileStamp(database.databaseName() + QStringLiteral("-wal"));
    if (log.exists()) {
        stamp.logModified = log.modified;
        stamp.logSize = log.size;
    }
    stamp.dataVersion = dataVersion(database);
    if (stamp.dataVersion >= 0)
        stamp.generation = connectionGeneration();
    return stamp;
}

bool refreshStamp(QSqlDatabase &database, ContentStamp &stamp)
{
    if (stamp.isValid() && stamp.generation == connectionGeneration() && dataVersion(database) == stamp.dataVersion)
        return true;
    const ContentStamp now = contentStamp(database);
    const bool same = now.sameContent(stamp);
    stamp = now;
    return same;
}

qint64 dataVersion(QSqlDatabase &database)
{
    qint64 version = -1;
    StatementPool::run(database, QStringLiteral("PRAGMA data_version"), {}, [&version](QSqlQuery &query) {
        if (query.next())
            version = query.value(0).toLongLong();
    });
    return version;
}

bool runQuery(QSqlQuery &query, const QString &sql, const QVariantList &values)
{
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return false;
    for (const QVariant &value : values)
        query.addBindValue(value);
    return query.exec();
}

void writeQueryError(const QSqlQuery &query)
{
    const QSqlError error = query.lastError();
    if (error.isValid())
        qCDebug(lcHuelink).noquote() << error.nativeErrorCode() + QStringLiteral(" : ") + error.text();
}

void appendEntries(QSqlQuery &query, QVector<ColorEntry> &entries)
{
    const RecordFields::QueryRows rows;
    while (query.next()) {
        ColorEntry entry;
        entry.readRecord(query.record());
        entries.append(entry);
    }
}

void sortEntriesByRowIndex(QVector<ColorEntry> &entries)
{
    std::stable_sort(entries.begin(), entries.end(),
        [](const ColorEntry &a, const ColorEntry &b) { return a.rowIndex < b.rowIndex; });
}

QList<int> searchableNameIndices(const QList<qint64> &order)
{
    QList<int> indices;
    for (const qint64 index : order) {
        if (index >= 0 && index < RecordFields::kNameCount)
            indices.append(static_cast<int>(index));
    }
    return indices;
}

} // namespace Tintor::DB::QuerySupport
