#include "db/SearchQueries.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/QuerySupport.h"
#include "db/Schema.h"
#include "db/Status.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace Tintor::DB {

using namespace QuerySupport;

namespace {

QStringList upperColumns(const QString &columnPattern, const QList<qint64> &order)
{
    QStringList columns;
    for (const int index : searchableNameIndices(order))
        columns << columnPattern.arg(index);
    return columns;
}

} // namespace

int completionEntries(const QUuid &uuid, QStringList &entries)
{
    entries.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    const qint64 collectionId = collectionDatabaseId(uuid);
    const NameOrders &orders = CollectionSettings::nameOrders();
    QStringList selects;
    for (const int index : searchableNameIndices(orders.pageNameSearchOrder))
        selects << QStringLiteral("SELECT DISTINCT P.NAME%2 AS ENTRY FROM PAGE P LEFT JOIN COLLECTION_PAGE_MAP CMAP "
                                  "ON P.ID = CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = %1")
                       .arg(collectionId)
                       .arg(index);
    for (const int index : searchableNameIndices(orders.rowNameSearchOrder))
        selects << QStringLiteral("SELECT DISTINCT R.NAME%2 AS ENTRY FROM \"ROW\" R LEFT JOIN PAGE P ON R.PAGE_ID = "
                                  "P.ID LEFT JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID WHERE "
                                  "CMAP.COLLECTION_ID = %1")
                       .arg(collectionId)
                       .arg(index);
    selects << QStringLiteral("SELECT DISTINCT R.CODE AS ENTRY FROM \"ROW\" R LEFT JOIN PAGE P ON R.PAGE_ID = P.ID "
                              "LEFT JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = %1")
                   .arg(collectionId);
    QSqlQuery query(database);
    if (runQuery(query, QStringLiteral("SELECT DISTINCT ENTRY FROM (%1) WHERE LENGTH(TRIM(ENTRY)) > 0")
                            .arg(selects.join(QStringLiteral(" UNION "))))) {
        while (query.next())
            entries.append(query.value(0).toString());
    }
    std::sort(entries.begin(), entries.end(),
              [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return entries.isEmpty() ? StatusFailed : StatusOk;
}

int findPhrase(const QUuid &uuid, const QString &phrase, int &outPageIndex, int &outRowIndex, int &outSegment,
               int &outMood, bool &outExterior)
{
    outRowIndex = -1;
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    const qint64 collectionId = collectionDatabaseId(uuid);
    const NameOrders &orders = CollectionSettings::nameOrders();
    const QStringList pageColumns = upperColumns(QStringLiteral("UPPER(P.NAME%1)"), orders.pageNameSearchOrder);
    const QStringList allColumns = pageColumns
        + upperColumns(QStringLiteral("UPPER(R.NAME%1)"), orders.rowNameSearchOrder)
        + QStringList{QStringLiteral("UPPER(R.CODE)")};
    const QString comma = QStringLiteral(",");
    QString sql;
    if (!pageColumns.isEmpty()) {
        sql = QStringLiteral("SELECT     P.SEGMENT AS PAGE_SEGMENT,     P.PAGE_INDEX,     R.ROW_INDEX,     P.MOOD AS "
                             "PAGE_MOOD,     P.EXTERIOR AS PAGE_EXTERIOR,     (:PHRASE IN (%2)) AS IS_PAGE FROM     "
                             "\"ROW\" R     JOIN PAGE P ON R.PAGE_ID = P.ID     JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = "
                             "CMAP.PAGE_ID WHERE     CMAP.COLLECTION_ID = %1     AND :PHRASE IN (%3) LIMIT     1 ")
                  .arg(collectionId)
                  .arg(pageColumns.join(comma), allColumns.join(comma));
    } else {
        sql = QStringLiteral("SELECT     P.SEGMENT AS PAGE_SEGMENT,     P.PAGE_INDEX,     R.ROW_INDEX,     P.MOOD AS "
                             "PAGE_MOOD,     P.EXTERIOR AS PAGE_EXTERIOR,     0 AS IS_PAGE FROM     \"ROW\" R     "
                             "JOIN PAGE P ON R.PAGE_ID = P.ID     JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                             "WHERE     CMAP.COLLECTION_ID = %1     AND :PHRASE IN (%2) LIMIT     1 ")
                  .arg(collectionId)
                  .arg(allColumns.join(comma));
    }
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return StatusFailed;
    query.bindValue(QStringLiteral(":PHRASE"), phrase.toUpper());
    if (!query.exec())
        return StatusFailed;
    if (!query.next())
        return StatusNoMatch;
    const QSqlRecord record = query.record();
    const auto integer = [&record](const char *column) {
        return record.value(QLatin1String(column)).toInt();
    };
    outPageIndex = integer("PAGE_INDEX");
    outSegment = integer("PAGE_SEGMENT");
    const int mood = integer("PAGE_MOOD");
    outMood = mood >= 1 && mood <= 6 ? mood : 0;
    outExterior = integer("PAGE_EXTERIOR") != 0;
    if (integer("IS_PAGE") == 0)
        outRowIndex = integer("ROW_INDEX");
    return StatusOk;
}

int entryNearRgb(const QUuid &uuid, const QColor &color, ColorEntry &entry)
{
    entry.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    if (!runQuery(query, QStringLiteral("SELECT * FROM \"ROW\" R      JOIN PAGE P ON R.PAGE_ID = P.ID      JOIN "
                                        "COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID  WHERE CMAP.COLLECTION_ID = "
                                        "%1 AND        ABS(RED - %2) <= 2 AND        ABS(GREEN - %3) <= 2 AND        "
                                        "ABS(BLUE - %4) <= 2 ")
                             .arg(collectionDatabaseId(uuid))
                             .arg(color.red())
                             .arg(color.green())
                             .arg(color.blue()))
        || !query.next())
        return StatusFailed;
    entry.readRecord(query.record());
    return StatusOk;
}

int matchCandidates(const QUuid &uuid, std::vector<LabCandidate> &candidates)
{
    candidates.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    // A failed query is reported: an empty list would pass for a collection
    // without chips.
    if (!runQuery(query, QStringLiteral("SELECT R.ID,R.RED,R.GREEN,R.BLUE,R.L,R.A,R.B  FROM \"ROW\" R       JOIN PAGE "
                                        "P ON R.PAGE_ID = P.ID       JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = "
                                        "CMAP.PAGE_ID  WHERE CMAP.COLLECTION_ID = %1 ")
                             .arg(collectionDatabaseId(uuid))))
        return StatusFailed;
    while (query.next()) {
        LabCandidate candidate;
        candidate.l = query.value(4).toDouble();
        candidate.a = query.value(5).toDouble();
        candidate.b = query.value(6).toDouble();
        candidate.reference = static_cast<quintptr>(query.value(0).toLongLong());
        candidates.push_back(candidate);
    }
    return StatusOk;
}

int capsureCollectionIds(QVector<qint64> &ids)
{
    ids.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(Schema::systemWideCollectionUuid(), &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    if (!runQuery(query, QStringLiteral("SELECT     * FROM     CAPSURE_COLLECTION_IDS_BY_PRIORITY ")))
        return StatusFailed;
    while (query.next())
        ids.append(query.value(0).toLongLong());
    return StatusOk;
}

int findCapsureEntries(const QString &text, QVector<ColorEntry> &entries)
{
    entries.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(Schema::systemWideCollectionUuid(), &status);
    if (status != StatusOk)
        return status;
    const QStringList columns = upperColumns(QStringLiteral("UPPER(R.NAME%1)"),
                                             CollectionSettings::nameOrders().rowNameSearchOrder)
        + QStringList{QStringLiteral("UPPER(R.CODE)")};
    QSqlQuery query(database);
    // The name comes from a measurement file: bound, never pasted.
    if (!runQuery(query,
                  QStringLiteral("SELECT     R.*,     CMAP.COLLECTION_ID FROM     \"ROW\" R     JOIN PAGE P ON "
                                 "R.PAGE_ID = P.ID     JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID     INNER "
                                 "JOIN CAPSURE_COLLECTION_IDS_BY_PRIORITY T1 ON CMAP.COLLECTION_ID = T1.COLLECTION_ID "
                                 "WHERE     UPPER(?) IN (%1) ORDER BY     T1.PRIORITY ASC")
                      .arg(columns.join(QStringLiteral(", "))),
                  {text}))
        return StatusFailed;
    appendEntries(query, entries);
    return StatusOk;
}

} // namespace Tintor::DB
