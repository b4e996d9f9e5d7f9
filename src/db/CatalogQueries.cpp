#include "db/CatalogQueries.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/QueryMemo.h"
#include "db/QuerySupport.h"
#include "db/Status.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace Tintor::DB {

using namespace QuerySupport;

namespace {

// "+" before a collection filter keeps SQLite from walking every card of
// the collection through the map instead of seeking the card by its index.

// The chip columns of the scheme queries; IS_MTO, SCHEME_POS and
// NSCHEME_POS are not among them.
const char *const kSchemeChipColumns
    = "R.CODE,     R.SEGMENT,     R.RED,     R.GREEN,     R.BLUE,     R.L,     R.A,     R.B,     R.NEUTRAL,     "
      "R.WHITE,     R.MOOD,     R.NAME0,     R.NAME1,     R.NAME2,     R.NAME3,     R.NAME4,     R.NAME5,     "
      "R.NAME6,     R.NAME7,     R.NAME8,     R.NAME9,     R.EXTRA0,     R.EXTRA1,     R.EXTRA2,     R.EXTRA3,     "
      "R.EXTRA4,     R.EXTRA5,     R.EXTRA6,     R.EXTRA7,     R.EXTRA8,     R.EXTRA9";

QString schemeByRowSql()
{
    return QStringLiteral("SELECT     %1 AS COLLECTION_ID,     R.ID,     R.PAGE_ID,     M.ROW_ORDER AS ROW_INDEX,     ")
        + QLatin1String(kSchemeChipColumns)
        + QStringLiteral(" FROM     ROW_SCHEME_MAP M     JOIN \"ROW\" R ON M.SCHEME_ROW_ID = R.ID WHERE     "
                         "M.COLLECTION_ID = %1     AND M.ROW_ID = %2     AND M.SCHEME_ID = %3 ORDER BY     "
                         "M.PAGE_ORDER ASC,     M.ROW_ORDER ASC ");
}

QString schemeByPageSql()
{
    return QStringLiteral("SELECT   %1 AS COLLECTION_ID,   R.ID,   R.PAGE_ID,   SM.\"ORDER\" AS PAGE_ORDER,   "
                          "R.ROW_INDEX,   ")
        + QLatin1String(kSchemeChipColumns)
        + QStringLiteral(" FROM   ROW_TO_PAGE_SCHEME SM   JOIN \"ROW\" R ON SM.SCHEME_PAGE_ID = R.PAGE_ID WHERE       "
                         "SM.COLLECTION_ID = %1   AND SM.ROW_ID = %2   AND SM.SCHEME_ID = %3 ORDER BY   "
                         "SM.\"ORDER\" ASC,    R.ROW_INDEX ASC ");
}

QString pelvonSchemeSql()
{
    return QStringLiteral("SELECT     %1 AS COLLECTION_ID,     R.ID,     R.PAGE_ID,     M.ROW_ORDER AS ROW_INDEX,     ")
        + QLatin1String(kSchemeChipColumns)
        + QStringLiteral(",    (CASE WHEN M.SCHEME_ID = %4 AND M.PAGE_ORDER = 0 THEN -1           WHEN M.SCHEME_ID = "
                         "%3 AND M.PAGE_ORDER = 0 THEN 0           WHEN M.SCHEME_ID = %4 AND M.PAGE_ORDER = 1 THEN 1 "
                         "          ELSE 100      END) AS MY_ORDER FROM     ROW_SCHEME_MAP M     JOIN \"ROW\" R ON "
                         "M.SCHEME_ROW_ID = R.ID WHERE     M.COLLECTION_ID = %1     AND M.ROW_ID = %2     AND "
                         "M.SCHEME_ID IN (%3, %4) ORDER BY     MY_ORDER ASC ");
}

enum class KindGates { None, ByPage, ByRow };

// Loads the chip's card, applies the kind gates and runs `sql` (with the
// collection's ID as %1 and the chip's as %2, the rest already filled).
int schemeEntries(const QUuid &uuid, int schemeKind, int pageIndex, int rowIndex, KindGates gates, const QString &sql,
    QVector<ColorEntry> &entries)
{
    entries.clear();
    ColorPage page;
    const int status = pageAt(uuid, pageIndex, page);
    if (status < 0)
        return status;
    if (rowIndex < 1 || rowIndex > page.entries.size())
        return StatusRowOutsideCard;
    const ColorEntry &chip = page.entries.at(rowIndex - 1);
    if (gates != KindGates::None) {
        if (schemeKind == SchemeDramatic && !chip.isNeutral && !chip.isWhite)
            return StatusOk;
        if (gates == KindGates::ByRow && schemeKind == SchemeComplementaryNeutral && chip.mood != MoodRich)
            return StatusOk;
    }
    QSqlDatabase database = collectionDatabase(uuid);
    const QString text = QString(sql).arg(collectionDatabaseId(uuid)).arg(chip.id);
    return QueryMemo::cached<QVector<ColorEntry>>(database, text, entries, [&](QVector<ColorEntry> &read) {
        QSqlQuery query(database);
        if (!runQuery(query, text)) {
            writeQueryError(query);
            return int(StatusFailed);
        }
        appendEntries(query, read);
        return int(StatusOk);
    }, [](const QVector<ColorEntry> &chips) { return qint64(chips.size()); });
}

// Runs a product statement with :ROW_ID bound.
bool runProductQuery(QSqlQuery &query, const QString &sql, qint64 rowId)
{
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return false;
    query.bindValue(QStringLiteral(":ROW_ID"), rowId);
    return query.exec();
}

const QString kProductsOfRow = QStringLiteral(
    "SELECT    PR.* FROM     ROW_PRODUCT_MAP M     JOIN PRODUCT PR ON PR.ID = M.PRODUCT_ID WHERE     M.ROW_ID = "
    ":ROW_ID");

} // namespace

int schemePages(const QUuid &uuid, int pageIndex, int schemeKind, QList<ColorPage> &pages)
{
    pages.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    if (!runQuery(query,
            QStringLiteral("SELECT     TP.PAGE_INDEX FROM     PAGE_SCHEME PS     JOIN PAGE SP ON "
                           "PS.PAGE_ID = SP.ID     JOIN PAGE TP ON PS.SCHEME_PAGE_ID = TP.ID     JOIN "
                           "COLLECTION_PAGE_MAP SCMAP ON SP.ID = SCMAP.PAGE_ID WHERE     (PS.SCHEME_ID = "
                           "%3) AND     (SP.PAGE_INDEX = %2 AND +SCMAP.COLLECTION_ID = %1) ")
                .arg(collectionDatabaseId(uuid))
                .arg(pageIndex)
                .arg(schemeKind)))
        return StatusFailed;
    QList<int> pageIndices;
    while (query.next())
        pageIndices.append(query.value(0).toInt());
    for (const int schemePageIndex : pageIndices) {
        ColorPage page;
        if (pageAt(uuid, schemePageIndex, page) == StatusOk)
            pages.append(page);
    }
    return StatusOk;
}

bool pageHasComplementaryNeutralScheme(const QUuid &uuid, int pageIndex)
{
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return true;
    QSqlQuery query(database);
    if (!runQuery(query,
            QStringLiteral("SELECT     COUNT(*) FROM     PAGE_SCHEME PS WHERE     PS.PAGE_ID = (SELECT "
                           "P.ID                   FROM PAGE P                        JOIN "
                           "COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID                   WHERE       "
                           "                +CMAP.COLLECTION_ID = %1 AND P.PAGE_INDEX = %2 )     AND "
                           "PS.SCHEME_ID = %3 ")
                .arg(collectionDatabaseId(uuid))
                .arg(pageIndex)
                .arg(int(SchemeComplementaryNeutral)))
        || !query.next()) {
        writeQueryError(query);
        return false;
    }
    return query.value(0).toLongLong() != 0;
}

int schemeEntriesByRow(const QUuid &uuid, int schemeKind, int pageIndex, int rowIndex, QVector<ColorEntry> &entries)
{
    return schemeEntries(uuid, schemeKind, pageIndex, rowIndex, KindGates::ByRow,
        schemeByRowSql().arg(QStringLiteral("%1"), QStringLiteral("%2"), QString::number(schemeKind)), entries);
}

int schemeEntriesByPage(const QUuid &uuid, int schemeKind, int pageIndex, int rowIndex, QVector<ColorEntry> &entries)
{
    return schemeEntries(uuid, schemeKind, pageIndex, rowIndex, KindGates::ByPage,
        schemeByPageSql().arg(QStringLiteral("%1"), QStringLiteral("%2"), QString::number(schemeKind)), entries);
}

int pelvonSchemeEntries(const QUuid &uuid, int pageIndex, int rowIndex, QVector<ColorEntry> &entries)
{
    return schemeEntries(uuid, 0, pageIndex, rowIndex, KindGates::None,
        pelvonSchemeSql().arg(QStringLiteral("%1"), QStringLiteral("%2"), QString::number(SchemeContrast),
            QString::number(SchemeWideContrast)),
        entries);
}

int productsOfEntry(const QUuid &uuid, qint64 rowId, QStringList &texts)
{
    texts.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    if (!runProductQuery(query, kProductsOfRow, rowId))
        return StatusFailed;
    int nameColumn = -1;
    int codeColumn = -1;
    bool first = true;
    while (query.next()) {
        if (first) {
            const QSqlRecord record = query.record();
            nameColumn = record.indexOf(QStringLiteral("NAME"));
            codeColumn = record.indexOf(QStringLiteral("PRODUCT_CODE"));
            first = false;
        }
        QString text = nameColumn >= 0 ? query.value(nameColumn).toString() : QString();
        const QString code = codeColumn >= 0 ? query.value(codeColumn).toString() : QString();
        if (!code.isEmpty())
            text += CollectionSettings::productGroupSeparator(uuid) + code;
        texts.append(text);
    }
    return StatusOk;
}

int productCodesOfEntry(const QUuid &uuid, qint64 rowId, QStringList &texts)
{
    texts.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    if (!runProductQuery(query, kProductsOfRow, rowId))
        return StatusFailed;
    const int codeColumn = query.record().indexOf(QStringLiteral("PRODUCT_CODE"));
    if (codeColumn < 0)
        return StatusOk;
    while (query.next()) {
        const QString code = query.value(codeColumn).toString();
        if (!code.isEmpty())
            texts.append(code);
    }
    return StatusOk;
}

int productGroupsOfEntry(const QUuid &uuid, qint64 rowId, QStringList &texts)
{
    texts.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    if (!runProductQuery(query,
            QStringLiteral("SELECT    PG.NAME FROM     ROW_PRODUCT_GROUP_MAP M     JOIN PRODUCT_GROUP PG ON "
                           "PG.ID = M.PRODUCT_GROUP_ID WHERE     M.ROW_ID = :ROW_ID"),
            rowId))
        return StatusFailed;
    while (query.next())
        texts.append(query.value(0).toString());
    return StatusOk;
}

int foresightGroups(const QUuid &uuid, QHash<qint64, ColorForesightGroup> &groups)
{
    groups.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    if (!runQuery(query,
            QStringLiteral(" SELECT *  FROM FORESIGHT_GROUP FG  WHERE FG.COLLECTION_ID IN (0, %1) ")
                .arg(collectionDatabaseId(uuid))))
        return StatusFailed;
    QSqlQuery entryQuery(database);
    while (query.next()) {
        ColorForesightGroup group(query.record());
        if (runQuery(entryQuery,
                QStringLiteral("SELECT * FROM FORESIGHT_ENTRY FE  WHERE        "
                               "FE.FORESIGHT_GROUP_ID = %1  ORDER BY FE.\"ORDER\" ")
                    .arg(group.id))) {
            while (entryQuery.next())
                group.entries.append(ColorForesightEntry(entryQuery.record()));
        }
        std::stable_sort(group.entries.begin(), group.entries.end(),
            [](const ColorForesightEntry &a, const ColorForesightEntry &b) { return a.order < b.order; });
        groups.insert(group.id, group);
    }
    return StatusOk;
}

int texturesOfCollection(const QUuid &uuid, QHash<qint64, Texture> &textures)
{
    textures.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.prepare(
            QStringLiteral("SELECT     * FROM     TEXTURE T WHERE     T.COLLECTION_ID in (0, :COLLECTION_ID)")))
        return StatusFailed;
    query.bindValue(QStringLiteral(":COLLECTION_ID"), collectionDatabaseId(uuid));
    if (!query.exec())
        return StatusFailed;
    // One collection's textures share one decode budget.
    DecodeBudget budget;
    while (query.next()) {
        const Texture texture(query.record(), &budget);
        textures.insert(texture.id, texture);
    }
    return StatusOk;
}

int textureMapOfPage(const QUuid &uuid, qint64 pageId, QVector<TextureMapEntry> &pairings)
{
    pairings.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT     TM.TEXTURE_ID,     TM.PAGE_ID,     TM.ALPHA,     TM.NAME FROM     "
                                      "TEXTURE_MAP TM     JOIN TEXTURE T ON T.ID = TM.TEXTURE_ID WHERE     TM.PAGE_ID "
                                      "= :PAGE_ID")))
        return StatusFailed;
    query.bindValue(QStringLiteral(":PAGE_ID"), pageId);
    if (!query.exec())
        return StatusFailed;
    while (query.next())
        pairings.append(TextureMapEntry(query.record()));
    return StatusOk;
}

} // namespace Tintor::DB
