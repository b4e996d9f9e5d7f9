#include "db/NavigationQueries.h"
#include "engine/inc/Logging.h"

#include "db/CollectionRegistry.h"
#include "db/QueryMemo.h"
#include "db/QuerySupport.h"
#include "db/Schema.h"
#include "db/Status.h"

#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace Tintor::DB {

using namespace QuerySupport;

namespace {

// "+CMAP.COLLECTION_ID" below is the collection filter with index use on it
// switched off: without statistics in the file, SQLite would otherwise walk
// every card of the collection through the map instead of seeking the card
// by page index or segment.

const QString kChipsOfPage
    = QStringLiteral("SELECT     R.*,     %1 AS COLLECTION_ID FROM     \"ROW\" R WHERE     R.PAGE_ID = %2 ");
const QString kChipsOfNeighbourPage
    = QStringLiteral("SELECT     R.*,     %1 AS COLLECTION_ID FROM     \"ROW\" R WHERE        R.PAGE_ID = %2 ");
// Without the computed column a file whose "ROW" table has no COLLECTION_ID
// gave chips of collection -1; with it a file that has one is read as before
// (the first column of a name wins).
const QString kChipsOfSegmentPage
    = QStringLiteral("SELECT R.*, %1 AS COLLECTION_ID FROM \"ROW\" R  WHERE        R.PAGE_ID = %2 ");

const QString kEnabledCollectionChips = QStringLiteral(
    "SELECT * FROM \"ROW\" R      JOIN PAGE P ON R.PAGE_ID = P.ID      JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = "
    "CMAP.PAGE_ID  WHERE CMAP.COLLECTION_ID IN (SELECT     C.ID FROM     COLLECTION C     JOIN SETTING S ON "
    "S.COLLECTION_ID = C.ID WHERE     S.NAME = 'collection.enabled' COLLATE NOCASE AND     S.VALUE != 0 ORDER BY "
    "    C.\"ORDER\" ASC)");

QString moodFilterText(int mood)
{
    if (mood == 7)
        return QStringLiteral(" AND P.MOOD != %1 AND P.MOOD != %2 ").arg(5).arg(6);
    return QStringLiteral(" AND P.MOOD = %1 ").arg(mood);
}

// The first card by segment, then page index, passing the filter, with the
// segment comparison filled in.
QString segmentFilterQuery(
    qint64 collectionId, const QString &selectList, int mood, bool exterior, const QString &comparison, int segment)
{
    QString sql = QStringLiteral(" SELECT %1 ").arg(selectList)
        + QStringLiteral(" FROM PAGE P       LEFT JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID  WHERE "
                         "+CMAP.COLLECTION_ID = %1 AND ")
              .arg(collectionId)
        + QStringLiteral(" P.SEGMENT %1 %2 ").arg(comparison).arg(segment) + moodFilterText(mood);
    if (exterior)
        sql += QStringLiteral(" AND P.EXTERIOR = 1 ");
    sql += QStringLiteral(" ORDER BY P.SEGMENT ASC, P.PAGE_INDEX ASC LIMIT 1 ");
    return sql;
}

QString pageIndexFilterQuery(qint64 collectionId, const QString &selectList, bool descending, int mood, bool exterior,
    const QString &comparison, int pageIndex)
{
    QString sql = QStringLiteral(" SELECT %1 ").arg(selectList)
        + QStringLiteral(" FROM PAGE P       LEFT JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID  WHERE "
                         "+CMAP.COLLECTION_ID = %1 ")
              .arg(collectionId)
        + QStringLiteral(" AND P.PAGE_INDEX %1 %2 ").arg(comparison).arg(pageIndex);
    if (mood != 7) {
        sql += moodFilterText(mood);
        if (exterior)
            sql += QStringLiteral(" AND P.EXTERIOR = 1 ");
    } else if (exterior) {
        // Stepping card by card with all moods and the exterior filter also
        // visits offwhite and neutral exterior cards.
        sql += QStringLiteral(" AND P.EXTERIOR = 1 ");
    } else {
        sql += moodFilterText(mood);
    }
    sql += descending ? QStringLiteral(" ORDER BY P.PAGE_INDEX DESC LIMIT 1 ")
                      : QStringLiteral(" ORDER BY P.PAGE_INDEX ASC LIMIT 1 ");
    return sql;
}

qint64 chipsOfPage(const ColorPage &page)
{
    return page.entries.size();
}

// Runs `sql` and reads its first row into `entry` (already cleared).
int readFirstEntry(QSqlQuery &query, const QString &sql, ColorEntry &entry, const QVariantList &values = {})
{
    if (!runQuery(query, sql, values) || !query.next())
        return StatusFailed;
    entry.readRecord(query.record());
    return StatusOk;
}

// Builds the card from the row and loads its chips; `chipsSql` takes the
// collection's ID as %1 and the card's as %2.
ColorPage pageWithEntries(
    QSqlDatabase &database, const QSqlRecord &pageRecord, const QString &chipsSql, qint64 collectionId)
{
    ColorPage page(pageRecord);
    QSqlQuery chips(database);
    if (runQuery(chips, chipsSql.arg(collectionId).arg(page.id)))
        appendEntries(chips, page.entries);
    sortEntriesByRowIndex(page.entries);
    return page;
}

// Runs the segment search at or after `segment`, then wrapped below it.
int runSegmentSearch(
    QSqlQuery &query, qint64 collectionId, const QString &selectList, int segment, int mood, bool exterior)
{
    if (runQuery(query, segmentFilterQuery(collectionId, selectList, mood, exterior, QStringLiteral(">="), segment))
        && query.next())
        return StatusOk;
    if (runQuery(query, segmentFilterQuery(collectionId, selectList, mood, exterior, QStringLiteral("<"), segment))
        && query.next())
        return StatusOk;
    return StatusNoMatch;
}

int entryInEnabledCollections(const QString &condition, const QVariantList &values, ColorEntry &entry)
{
    entry.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(Schema::systemWideCollectionUuid(), &status);
    if (status != StatusOk)
        return StatusFailed;
    QSqlQuery query(database);
    return readFirstEntry(query, kEnabledCollectionChips + condition, entry, values);
}

} // namespace

int entryById(const QUuid &uuid, qint64 rowId, ColorEntry &entry)
{
    entry.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    // Collections of one file share its rows: a row ID names a chip of this
    // collection only when one of the collection's cards holds it.
    return readFirstEntry(query,
        QStringLiteral("SELECT    R.*,    %1 AS COLLECTION_ID FROM    \"ROW\" R WHERE     R.ID = %2 "
                       "AND EXISTS (SELECT 1 FROM COLLECTION_PAGE_MAP CMAP WHERE CMAP.PAGE_ID = R.PAGE_ID "
                       "AND CMAP.COLLECTION_ID = %1)")
            .arg(collectionDatabaseId(uuid))
            .arg(rowId),
        entry);
}

int owningCollection(const QUuid &uuid, qint64 rowId, QUuid &owner)
{
    owner = QUuid();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    const qint64 collectionId = collectionDatabaseId(uuid);
    QSqlQuery query(database);
    if (!runQuery(query,
            QStringLiteral("SELECT CMAP.COLLECTION_ID FROM \"ROW\" R JOIN COLLECTION_PAGE_MAP CMAP ON CMAP.PAGE_ID "
                           "= R.PAGE_ID WHERE R.ID = %1 ORDER BY CMAP.COLLECTION_ID = %2 DESC, CMAP.COLLECTION_ID")
                .arg(rowId)
                .arg(collectionId)))
        return StatusFailed;
    const QString path = collectionRegistry().value(uuid).databasePath;
    while (query.next()) {
        const qint64 id = query.value(0).toLongLong();
        owner = id == collectionId ? uuid : collectionUuidInFile(path, id);
        if (!owner.isNull())
            return StatusOk;
    }
    return StatusFailed;
}

int entryByCode(const QUuid &uuid, const QString &code, ColorEntry &entry)
{
    entry.clear();
    if (code.trimmed().isEmpty())
        return StatusFailed;
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    return readFirstEntry(query,
        QStringLiteral("SELECT R.*, %1 AS COLLECTION_ID FROM \"ROW\" R JOIN COLLECTION_PAGE_MAP CMAP ON "
                       "CMAP.PAGE_ID = R.PAGE_ID WHERE CMAP.COLLECTION_ID = %1 AND R.CODE = ? COLLATE NOCASE "
                       "ORDER BY R.ID LIMIT 1")
            .arg(collectionDatabaseId(uuid)),
        entry, { code });
}

int entryAt(const QUuid &uuid, int pageIndex, int rowIndex, ColorEntry &entry)
{
    entry.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    return readFirstEntry(query,
        QStringLiteral("SELECT *  FROM \"ROW\" R       JOIN PAGE P ON R.PAGE_ID = P.ID       JOIN "
                       "COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID  WHERE +CMAP.COLLECTION_ID = "
                       "%1 AND        P.PAGE_INDEX = %2 AND        R.ROW_INDEX = %3 ")
            .arg(collectionDatabaseId(uuid))
            .arg(pageIndex)
            .arg(rowIndex),
        entry);
}

int pageAt(const QUuid &uuid, int pageIndex, ColorPage &page)
{
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    const QString key = QStringLiteral("pageAt %1 %2").arg(uuid.toString()).arg(pageIndex);
    return QueryMemo::cached<ColorPage>(database, key, page, [&](ColorPage &read) {
        const qint64 collectionId = collectionDatabaseId(uuid);
        QSqlQuery query(database);
        if (!runQuery(query,
                QStringLiteral("SELECT * FROM     PAGE P     LEFT JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = "
                               "CMAP.PAGE_ID WHERE     +CMAP.COLLECTION_ID = %1 AND P.PAGE_INDEX = %2 ")
                    .arg(collectionId)
                    .arg(pageIndex))) {
            qCDebug(lcHuelink).noquote() << query.lastError().driverText();
            qCDebug(lcHuelink).noquote() << query.lastError().databaseText();
            return int(StatusFailed);
        }
        if (!query.next())
            return int(StatusFailed);
        read = pageWithEntries(database, query.record(), kChipsOfPage, collectionId);
        return int(StatusOk);
    }, chipsOfPage);
}

int pageById(const QUuid &uuid, qint64 pageId, bool withEntries, ColorPage &page)
{
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    const qint64 collectionId = collectionDatabaseId(uuid);
    QSqlQuery query(database);
    if (!runQuery(query,
            QStringLiteral(" SELECT *  FROM PAGE P       JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = "
                           "CMAP.PAGE_ID  WHERE CMAP.COLLECTION_ID = %1        AND P.ID = %2 ")
                .arg(collectionId)
                .arg(pageId))
        || !query.next())
        return StatusFailed;
    if (!withEntries) {
        page = ColorPage(query.record());
        return StatusOk;
    }
    page = pageWithEntries(database, query.record(),
        QStringLiteral("SELECT * FROM \"ROW\" R  JOIN PAGE P ON R.PAGE_ID = P.ID  JOIN "
                       "COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID  WHERE CMAP.COLLECTION_ID "
                       "= %1 AND        R.PAGE_ID = %2 "),
        collectionId);
    return StatusOk;
}

int firstPageAtOrAfterSegment(const QUuid &uuid, int segment, int mood, bool exterior, ColorPage &page)
{
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    const qint64 collectionId = collectionDatabaseId(uuid);
    QSqlQuery query(database);
    status = runSegmentSearch(query, collectionId, QStringLiteral("*"), segment, mood, exterior);
    if (status != StatusOk)
        return status;
    page = pageWithEntries(database, query.record(), kChipsOfSegmentPage, collectionId);
    return StatusOk;
}

int firstSegmentAtOrAfter(const QUuid &uuid, int segment, int mood, bool exterior, int &outSegment)
{
    outSegment = segment;
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    status = runSegmentSearch(query, collectionDatabaseId(uuid), QStringLiteral("SEGMENT"), segment, mood, exterior);
    if (status != StatusOk)
        return status;
    outSegment = query.value(0).toInt();
    return StatusOk;
}

int firstPageIndexAtOrAfterSegment(const QUuid &uuid, int segment, int mood, bool exterior, int &outPageIndex)
{
    outPageIndex = -1;
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    status = runSegmentSearch(query, collectionDatabaseId(uuid), QStringLiteral("PAGE_INDEX"), segment, mood, exterior);
    if (status != StatusOk)
        return status;
    outPageIndex = query.value(0).toInt();
    return StatusOk;
}

int neighbourPage(const QUuid &uuid, int pageIndex, bool backward, int mood, bool exterior, ColorPage &page)
{
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    const QString key = QStringLiteral("neighbourPage %1 %2 %3 %4 %5")
                            .arg(uuid.toString())
                            .arg(pageIndex)
                            .arg(int(backward))
                            .arg(mood)
                            .arg(int(exterior));
    return QueryMemo::cached<ColorPage>(database, key, page, [&](ColorPage &read) {
        const qint64 collectionId = collectionDatabaseId(uuid);
        const QString towards = backward ? QStringLiteral("<") : QStringLiteral(">");
        const QString around = backward ? QStringLiteral(">") : QStringLiteral("<");
        QSqlQuery query(database);
        // The same order in the opposite direction gives the card at the
        // other end of the deck: stepping wraps around.
        if (!(runQuery(query,
                  pageIndexFilterQuery(collectionId, QStringLiteral("*"), backward, mood, exterior, towards, pageIndex))
                && query.next())
            && !(runQuery(query,
                     pageIndexFilterQuery(collectionId, QStringLiteral("*"), backward, mood, exterior, around, pageIndex))
                && query.next()))
            return int(StatusNoMatch);
        read = pageWithEntries(database, query.record(), kChipsOfNeighbourPage, collectionId);
        return int(StatusOk);
    }, chipsOfPage);
}

int segmentsOfCollection(const QUuid &uuid, QVector<int> &segments)
{
    segments.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    // A scan of every card: the costliest lookup of a large deck's start.
    const QString key = QStringLiteral("segmentsOfCollection %1").arg(uuid.toString());
    return QueryMemo::cached<QVector<int>>(database, key, segments, [&](QVector<int> &read) {
        QSqlQuery query(database);
        if (runQuery(query,
                QStringLiteral("SELECT DISTINCT     P.SEGMENT FROM     PAGE P     LEFT JOIN "
                               "COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID WHERE     "
                               "CMAP.COLLECTION_ID = %1 ")
                    .arg(collectionDatabaseId(uuid)))) {
            while (query.next())
                read.append(query.value(0).toInt());
        }
        std::sort(read.begin(), read.end());
        return read.isEmpty() ? int(StatusFailed) : int(StatusOk);
    });
}

bool hasExteriorPageWithMood(const QUuid &uuid, int mood)
{
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return true;
    QSqlQuery query(database);
    if (!runQuery(query,
            QStringLiteral(" SELECT COUNT(*)  FROM PAGE P       JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = "
                           "CMAP.PAGE_ID  WHERE CMAP.COLLECTION_ID = %1 AND        P.EXTERIOR = 1 AND   "
                           "     P.MOOD = %2 ")
                .arg(collectionDatabaseId(uuid))
                .arg(mood))
        || !query.next())
        return false;
    return query.value(0).toLongLong() != 0;
}

int entryByRgbInEnabledCollections(const QColor &color, ColorEntry &entry)
{
    return entryInEnabledCollections(QStringLiteral("    AND RED = %1     AND GREEN = %2     AND BLUE = %3 ")
                                         .arg(color.red())
                                         .arg(color.green())
                                         .arg(color.blue()),
        {}, entry);
}

int entryByCodeInEnabledCollections(const QString &code, ColorEntry &entry)
{
    // An empty code would find any chip without one instead of letting the
    // caller go on to its next lookup.
    if (code.trimmed().isEmpty()) {
        entry.clear();
        return StatusFailed;
    }
    // The code comes from a drag payload or a palette file: bound, so a
    // quote or SQL text in it is only ever compared.
    return entryInEnabledCollections(QStringLiteral("    AND R.CODE = ? COLLATE NOCASE"), { code }, entry);
}

} // namespace Tintor::DB
