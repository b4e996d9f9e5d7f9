#include "db/SearchQueries.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/QuerySupport.h"
#include "db/Schema.h"
#include "db/Status.h"

#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <string>
#include <vector>

namespace Tintor::DB {

using namespace QuerySupport;

namespace {

QStringList nameColumns(const QString &columnPattern, const QList<qint64> &order)
{
    QStringList columns;
    for (const int index : searchableNameIndices(order))
        columns << columnPattern.arg(index);
    return columns;
}

// The text case-folded, as UTF-8: byte order is code point order.
std::string foldedKey(const QString &text)
{
    std::string key;
    key.reserve(std::size_t(text.size()));
    for (const QChar character : text) {
        const char16_t unit = character.unicode();
        if (unit >= 128)
            return text.toCaseFolded().toStdString();
        key.push_back(char(unit >= 'A' && unit <= 'Z' ? unit + ('a' - 'A') : unit));
    }
    return key;
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
    // One pass over the cards and one over the chips, each reading every
    // searched column; duplicates and blanks are dropped here. Letting SQL
    // do it (DISTINCT per column, UNION, DISTINCT again) costs several
    // times as much on large collections and gives the same list.
    QStringList values;
    values.reserve(16384);
    // Like the single statement it replaces, a failure anywhere gives no list.
    const auto readColumns = [&](const QStringList &columns, const QString &from) {
        if (columns.isEmpty())
            return true;
        QSqlQuery query(database);
        if (!runQuery(query, QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), from)))
            return false;
        const int count = int(columns.size());
        while (query.next()) {
            for (int column = 0; column < count; ++column)
                values.append(query.value(column).toString());
        }
        return true;
    };
    const bool read
        = readColumns(nameColumns(QStringLiteral("P.NAME%1"), orders.pageNameSearchOrder),
              QStringLiteral("PAGE P JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID "
                             "= %1")
                  .arg(collectionId))
        && readColumns(nameColumns(QStringLiteral("R.NAME%1"), orders.rowNameSearchOrder)
                + QStringList { QStringLiteral("R.CODE") },
            QStringLiteral("\"ROW\" R JOIN PAGE P ON R.PAGE_ID = P.ID JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = "
                           "CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = %1")
                .arg(collectionId));
    if (!read)
        return StatusFailed;
    // Sorted and deduplicated by case-folded text; of several spellings the
    // first one read is kept. The folded keys are byte strings: folding once
    // and comparing bytes is several times quicker than comparing without
    // regard to case.
    struct Keyed {
        std::string key;
        int valueIndex;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(std::size_t(values.size()));
    for (int index = 0; index < values.size(); ++index) {
        const QString &value = values.at(index);
        if (!value.trimmed().isEmpty())
            keyed.push_back({ foldedKey(value), index });
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) {
        const int order = a.key.compare(b.key);
        return order != 0 ? order < 0 : a.valueIndex < b.valueIndex;
    });
    entries.reserve(qsizetype(keyed.size()));
    for (std::size_t i = 0; i < keyed.size(); ++i) {
        if (i == 0 || keyed[i].key != keyed[i - 1].key)
            entries.append(values.at(keyed[i].valueIndex));
    }
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
    // An empty name means "no such name": an empty phrase would otherwise
    // pick whichever card or chip lacks one.
    if (phrase.trimmed().isEmpty())
        return StatusNoMatch;
    const qint64 collectionId = collectionDatabaseId(uuid);
    const NameOrders &orders = CollectionSettings::nameOrders();
    // The phrase is upper-cased with Unicode rules, but SQLite's UPPER and
    // NOCASE fold ASCII only: "Grün" typed as it is stored would never equal
    // UPPER("Grün"). So a column matches when it equals, ASCII case aside,
    // the upper-cased phrase (what the plain comparison finds), the phrase as
    // typed or the lower-cased phrase. The equality form also lets each
    // table be searched once and alone, through the code index for codes.
    QStringList forms { phrase.toUpper() };
    for (const QString &form : { phrase, phrase.toLower() }) {
        if (!forms.contains(form))
            forms << form;
    }
    QStringList placeholders;
    for (int i = 0; i < forms.size(); ++i)
        placeholders << QStringLiteral(":PHRASE%1").arg(i);
    const QString phraseList = placeholders.join(QStringLiteral(", "));
    const auto matching = [&phraseList](const QStringList &columns) {
        QStringList tests;
        for (const QString &column : columns)
            tests << QStringLiteral("%1 COLLATE NOCASE IN (%2)").arg(column, phraseList);
        return tests.join(QStringLiteral(" OR "));
    };
    const QStringList pageColumns = nameColumns(QStringLiteral("P.NAME%1"), orders.pageNameSearchOrder);
    const QStringList chipColumns = nameColumns(QStringLiteral("R2.NAME%1"), orders.rowNameSearchOrder);
    const QString pageTest
        = pageColumns.isEmpty() ? QStringLiteral("0") : QStringLiteral("(%1)").arg(matching(pageColumns));
    const QString select = QStringLiteral(
        "SELECT     P.SEGMENT AS PAGE_SEGMENT,     P.PAGE_INDEX,     R.ROW_INDEX,     P.MOOD AS PAGE_MOOD,     "
        "P.EXTERIOR AS PAGE_EXTERIOR,     %2 AS IS_PAGE FROM     \"ROW\" R     JOIN PAGE P ON R.PAGE_ID = P.ID     "
        "JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID WHERE     +CMAP.COLLECTION_ID = %1     AND %3");
    const QString collection = QString::number(collectionId);
    // Chips by code (through the code index, so the usual search answers at
    // once), chips by searched name, then chips of cards by searched name;
    // as before, the first row found wins. "+" keeps SQLite from walking the
    // whole collection through the map instead.
    QStringList parts { select.arg(collection, pageTest,
        QStringLiteral("R.ID IN (SELECT R2.ID FROM \"ROW\" R2 WHERE %1)")
            .arg(matching({ QStringLiteral("R2.CODE") }))) };
    if (!chipColumns.isEmpty())
        parts << select.arg(collection, pageTest,
            QStringLiteral("R.ID IN (SELECT R2.ID FROM \"ROW\" R2 WHERE %1)").arg(matching(chipColumns)));
    if (!pageColumns.isEmpty())
        parts << select.arg(collection, QStringLiteral("1"), pageTest);
    const QString sql = parts.join(QStringLiteral(" UNION ALL ")) + QStringLiteral(" LIMIT     1 ");
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return StatusFailed;
    for (int i = 0; i < forms.size(); ++i)
        query.bindValue(placeholders.at(i), forms.at(i));
    if (!query.exec())
        return StatusFailed;
    if (!query.next())
        return StatusNoMatch;
    const QSqlRecord record = query.record();
    const auto integer = [&record](const char *column) { return record.value(QLatin1String(column)).toInt(); };
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
    // The BETWEEN ranges restate the ABS tests so that the colour index can
    // be used; the collection filter is kept off the map's index so that
    // SQLite does not walk the whole collection instead.
    const int red = color.red();
    const int green = color.green();
    const int blue = color.blue();
    if (!runQuery(query,
            QStringLiteral("SELECT * FROM \"ROW\" R      JOIN PAGE P ON R.PAGE_ID = P.ID      JOIN "
                           "COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID  WHERE +CMAP.COLLECTION_ID = "
                           "%1 AND R.RED BETWEEN %5 AND %6 AND R.GREEN BETWEEN %7 AND %8 AND R.BLUE "
                           "BETWEEN %9 AND %10 AND        ABS(RED - %2) <= 2 AND        ABS(GREEN - %3) "
                           "<= 2 AND        ABS(BLUE - %4) <= 2 ")
                .arg(collectionDatabaseId(uuid))
                .arg(red)
                .arg(green)
                .arg(blue)
                .arg(red - 2)
                .arg(red + 2)
                .arg(green - 2)
                .arg(green + 2)
                .arg(blue - 2)
                .arg(blue + 2))
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
    // without chips. The sRGB columns are not needed for the ranking.
    if (!runQuery(query,
            QStringLiteral("SELECT R.ID,R.L,R.A,R.B  FROM \"ROW\" R       JOIN PAGE "
                           "P ON R.PAGE_ID = P.ID       JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = "
                           "CMAP.PAGE_ID  WHERE CMAP.COLLECTION_ID = %1 ")
                .arg(collectionDatabaseId(uuid))))
        return StatusFailed;
    while (query.next()) {
        LabCandidate candidate;
        candidate.l = query.value(1).toDouble();
        candidate.a = query.value(2).toDouble();
        candidate.b = query.value(3).toDouble();
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
    if (text.trimmed().isEmpty())
        return StatusOk;
    const QStringList columns
        = nameColumns(QStringLiteral("UPPER(R.NAME%1)"), CollectionSettings::nameOrders().rowNameSearchOrder)
        + QStringList { QStringLiteral("UPPER(R.CODE)") };
    QSqlQuery query(database);
    // The name comes from a measurement file: bound, never pasted.
    if (!runQuery(query,
            QStringLiteral("SELECT     R.*,     CMAP.COLLECTION_ID FROM     \"ROW\" R     JOIN PAGE P ON "
                           "R.PAGE_ID = P.ID     JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID     INNER "
                           "JOIN CAPSURE_COLLECTION_IDS_BY_PRIORITY T1 ON CMAP.COLLECTION_ID = T1.COLLECTION_ID "
                           "WHERE     UPPER(?) IN (%1) ORDER BY     T1.PRIORITY ASC")
                .arg(columns.join(QStringLiteral(", "))),
            { text }))
        return StatusFailed;
    appendEntries(query, entries);
    return StatusOk;
}

} // namespace Tintor::DB
