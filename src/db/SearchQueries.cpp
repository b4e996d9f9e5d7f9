#include "db/SearchQueries.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/QuerySupport.h"
#include "db/Schema.h"
#include "db/Status.h"

#include <QHash>
#include <QPair>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#if HUELINK_SQLITE_HANDLE
#include <sqlite3.h>
#endif

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

// The searched texts of a collection with their case-folded keys, in the
// order read. Keys are UTF-8 (byte order is code point order) in one buffer;
// each carries its first sixteen bytes as two numbers, so that most
// comparisons in the sort touch neither the buffer nor memcmp.
class FoldedTexts {
public:
    explicit FoldedTexts(std::size_t expected)
    {
        m_keys.reserve(expected * 16);
        m_ascii.reserve(expected * 16);
        m_items.reserve(expected);
    }

    std::size_t size() const { return m_items.size(); }

    // Adds `text` unless it is empty or only white space.
    void add(const QString &text)
    {
        const std::size_t offset = m_keys.size();
        const std::size_t size = std::size_t(text.size());
        m_keys.resize(offset + size);
        char *key = m_keys.data() + offset;
        const QChar *units = text.constData();
        bool blank = true;
        for (std::size_t i = 0; i < size; ++i) {
            const char16_t unit = units[i].unicode();
            if (unit >= 128) {
                m_keys.resize(offset);
                addFolded(text);
                return;
            }
            blank = blank && isAsciiSpace(unit);
            key[i] = foldAscii(char(unit));
        }
        if (blank) {
            m_keys.resize(offset);
            return;
        }
        push(offset, -1 - qint32(m_texts.size()));
        m_texts.append(text);
    }

    // Adds UTF-8 `bytes` if they are ASCII (blank ones are dropped); false,
    // adding nothing, when they are not.
    bool addAscii(const char *bytes, std::size_t size)
    {
        const std::size_t offset = m_keys.size();
        m_keys.resize(offset + size);
        char *key = m_keys.data() + offset;
        bool blank = true;
        for (std::size_t i = 0; i < size; ++i) {
            const char byte = bytes[i];
            if (uchar(byte) >= 128) {
                m_keys.resize(offset);
                return false;
            }
            blank = blank && isAsciiSpace(byte);
            key[i] = foldAscii(byte);
        }
        if (blank) {
            m_keys.resize(offset);
            return true;
        }
        push(offset, qint32(m_ascii.size()));
        m_ascii.append(bytes, size);
        return true;
    }

    // Each key once, spelt as first read, in key order.
    QStringList sortedUnique()
    {
        const char *keys = m_keys.data();
        std::sort(m_items.begin(), m_items.end(), [keys](const Item &a, const Item &b) {
            if (a.head[0] != b.head[0])
                return a.head[0] < b.head[0];
            if (a.head[1] != b.head[1])
                return a.head[1] < b.head[1];
            const int order = compareTails(keys, a, b);
            return order != 0 ? order < 0 : a.order < b.order;
        });
        QStringList sorted;
        sorted.reserve(qsizetype(m_items.size()));
        const Item *previous = nullptr;
        for (const Item &item : m_items) {
            if (!previous || item.head[0] != previous->head[0] || item.head[1] != previous->head[1]
                || compareTails(keys, item, *previous) != 0) {
                sorted.append(item.text < 0 ? m_texts.at(-1 - item.text)
                                            : QString::fromLatin1(m_ascii.data() + item.text, qsizetype(item.length)));
            }
            previous = &item;
        }
        return sorted;
    }

private:
    static constexpr std::size_t kHeadSize = 16;

    struct Item {
        quint64 head[2]; // the key's first sixteen bytes, big-endian, zero-padded
        quint32 offset;
        quint32 length;
        quint32 order; // of reading
        // >= 0: offset of the ASCII spelling in m_ascii (as long as the key);
        // < 0: -1 - index of the spelling in m_texts.
        qint32 text;
    };

    // As QChar::isSpace below 128.
    template <typename Unit> static bool isAsciiSpace(Unit unit)
    {
        return unit == ' ' || (unit >= '\t' && unit <= '\r');
    }

    static char foldAscii(char byte) { return byte >= 'A' && byte <= 'Z' ? char(byte + ('a' - 'A')) : byte; }

    // Orders keys with equal heads: by the bytes after the head, then by length.
    static int compareTails(const char *keys, const Item &a, const Item &b)
    {
        const quint32 common = std::min(a.length, b.length);
        if (common > kHeadSize) {
            const int order = std::memcmp(keys + a.offset + kHeadSize, keys + b.offset + kHeadSize, common - kHeadSize);
            if (order != 0)
                return order;
        }
        return a.length == b.length ? 0 : (a.length < b.length ? -1 : 1);
    }

    void addFolded(const QString &text)
    {
        if (std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isSpace(); }))
            return;
        const std::size_t offset = m_keys.size();
        const QByteArray key = text.toCaseFolded().toUtf8();
        m_keys.append(key.constData(), std::size_t(key.size()));
        push(offset, -1 - qint32(m_texts.size()));
        m_texts.append(text);
    }

    void push(std::size_t offset, qint32 text)
    {
        const std::size_t length = m_keys.size() - offset;
        char head[kHeadSize] = {};
        std::memcpy(head, m_keys.data() + offset, std::min(length, kHeadSize));
        m_items.push_back({ { qFromBigEndian<quint64>(head), qFromBigEndian<quint64>(head + 8) }, quint32(offset),
            quint32(length), quint32(m_items.size()), text });
    }

    std::string m_keys;
    std::string m_ascii;
    std::vector<Item> m_items;
    QStringList m_texts;
};

enum class ReadResult { Read, Failed, Unsupported };

#if HUELINK_SQLITE_HANDLE
// The connection's own SQLite handle; null for another driver, or for a
// database not stored as UTF-8, whose texts the driver would convert.
sqlite3 *utf8SqliteHandle(const QSqlDatabase &database)
{
    const QVariant handle = database.driver() ? database.driver()->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.constData());
    sqlite3_stmt *statement = nullptr;
    bool utf8 = false;
    if (connection && sqlite3_prepare_v2(connection, "PRAGMA encoding", -1, &statement, nullptr) == SQLITE_OK
        && sqlite3_step(statement) == SQLITE_ROW) {
        utf8 = qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(statement, 0)), "UTF-8") == 0;
    }
    sqlite3_finalize(statement);
    return utf8 ? connection : nullptr;
}

// Reads without a QVariant per value: ASCII texts straight from the UTF-8,
// others decoded from their bytes. Values that are neither text nor NULL
// are left to the driver.
ReadResult readDirectly(sqlite3 *connection, const QString &sql, FoldedTexts &texts)
{
    sqlite3_stmt *statement = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(connection, utf8.constData(), int(utf8.size()), &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return ReadResult::Failed;
    }
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> finalizer(statement, sqlite3_finalize);
    const int count = sqlite3_column_count(statement);
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int column = 0; column < count; ++column) {
            const int type = sqlite3_column_type(statement, column);
            if (type == SQLITE_NULL)
                continue;
            if (type != SQLITE_TEXT)
                return ReadResult::Unsupported;
            const char *bytes = reinterpret_cast<const char *>(sqlite3_column_text(statement, column));
            const int size = sqlite3_column_bytes(statement, column);
            // Bytes that are not UTF-8 become replacement characters, as the
            // phrase search reads them too.
            if (!texts.addAscii(bytes, std::size_t(size)))
                texts.add(QString::fromUtf8(bytes, size));
        }
    }
    return step == SQLITE_DONE ? ReadResult::Read : ReadResult::Failed;
}
#endif

ReadResult readThroughDriver(const QSqlDatabase &database, const QString &sql, FoldedTexts &texts)
{
    QSqlQuery query(database);
    if (!runQuery(query, sql))
        return ReadResult::Failed;
    const int count = query.record().count();
    while (query.next()) {
        for (int column = 0; column < count; ++column)
            texts.add(query.value(column).toString());
    }
    return ReadResult::Read;
}

// SQL compares the stored bytes, so a name or code that is not valid UTF-8
// never equals the phrase its completion entry (read with replacement
// characters) offers. Such a phrase is looked for again in the texts as the
// completion reads them: codes first, then chip names, then card names.
int findDecodedPhrase(QSqlDatabase &database, qint64 collectionId, const NameOrders &orders, const QString &phrase,
    int &outPageIndex, int &outRowIndex, int &outSegment, int &outMood, bool &outExterior)
{
#if HUELINK_SQLITE_HANDLE
    const bool fromBytes = utf8SqliteHandle(database) != nullptr;
#else
    const bool fromBytes = false;
#endif
    const auto column = [fromBytes](const QString &name) {
        return fromBytes ? QStringLiteral("CAST(%1 AS BLOB)").arg(name) : name;
    };
    QStringList chipColumns { column(QStringLiteral("R.CODE")) };
    for (const QString &name : nameColumns(QStringLiteral("R.NAME%1"), orders.rowNameSearchOrder))
        chipColumns << column(name);
    QStringList pageColumns;
    for (const QString &name : nameColumns(QStringLiteral("P.NAME%1"), orders.pageNameSearchOrder))
        pageColumns << column(name);
    QSqlQuery query(database);
    query.setForwardOnly(true);
    if (!runQuery(query,
            QStringLiteral("SELECT P.SEGMENT, P.PAGE_INDEX, R.ROW_INDEX, P.MOOD, P.EXTERIOR, %1 FROM \"ROW\" R "
                           "JOIN PAGE P ON R.PAGE_ID = P.ID JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                           "WHERE +CMAP.COLLECTION_ID = %2")
                .arg((chipColumns + pageColumns).join(QStringLiteral(", ")))
                .arg(collectionId)))
        return StatusFailed;
    const auto matches = [&query, fromBytes, &phrase](int index) {
        const QVariant value = query.value(index);
        const QString text = fromBytes ? QString::fromUtf8(value.toByteArray()) : value.toString();
        return text.compare(phrase, Qt::CaseInsensitive) == 0;
    };
    // 0 code, 1 chip name, 2 card name; the first row of the best kind wins.
    int best = 3;
    const int first = 5;
    while (best > 0 && query.next()) {
        int kind = 3;
        if (matches(first))
            kind = 0;
        for (int i = 1; kind > 1 && i < chipColumns.size(); ++i) {
            if (matches(first + i))
                kind = 1;
        }
        for (int i = 0; kind > 2 && i < pageColumns.size(); ++i) {
            if (matches(first + int(chipColumns.size()) + i))
                kind = 2;
        }
        if (kind >= best)
            continue;
        best = kind;
        outSegment = query.value(0).toInt();
        outPageIndex = query.value(1).toInt();
        outRowIndex = kind == 2 ? -1 : query.value(2).toInt();
        const int mood = query.value(3).toInt();
        outMood = mood >= 1 && mood <= 6 ? mood : 0;
        outExterior = query.value(4).toInt() != 0;
    }
    return best < 3 ? StatusOk : StatusNoMatch;
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
    const NameOrders &orders = CollectionSettings::nameOrders(uuid);
    // One pass over the cards and one over the chips, each reading every
    // searched column; duplicates and blanks are dropped here. Letting SQL
    // do it (DISTINCT per column, UNION, DISTINCT again) costs several
    // times as much on large collections and gives the same list.
    QStringList statements;
    const QStringList pageColumns = nameColumns(QStringLiteral("P.NAME%1"), orders.pageNameSearchOrder);
    if (!pageColumns.isEmpty()) {
        statements << QStringLiteral("SELECT %1 FROM PAGE P JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID "
                                     "WHERE CMAP.COLLECTION_ID = %2")
                          .arg(pageColumns.join(QStringLiteral(", ")))
                          .arg(collectionId);
    }
    const QStringList chipColumns
        = nameColumns(QStringLiteral("R.NAME%1"), orders.rowNameSearchOrder) + QStringList { QStringLiteral("R.CODE") };
    statements << QStringLiteral("SELECT %1 FROM \"ROW\" R JOIN PAGE P ON R.PAGE_ID = P.ID JOIN COLLECTION_PAGE_MAP "
                                 "CMAP ON P.ID = CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = %2")
                      .arg(chipColumns.join(QStringLiteral(", ")))
                      .arg(collectionId);
    // Sized after the last call: the list is rebuilt for the same collection
    // again and again, and growing the buffers costs more than filling them.
    static std::size_t expected = 16384;
    const auto readAll = [&](bool direct) {
        auto texts = std::make_unique<FoldedTexts>(expected);
        for (const QString &sql : statements) {
            ReadResult result = ReadResult::Unsupported;
#if HUELINK_SQLITE_HANDLE
            if (direct) {
                if (sqlite3 *connection = utf8SqliteHandle(database))
                    result = readDirectly(connection, sql, *texts);
            }
#else
            Q_UNUSED(direct)
#endif
            if (result == ReadResult::Unsupported && direct)
                return std::unique_ptr<FoldedTexts>();
            if (result == ReadResult::Unsupported)
                result = readThroughDriver(database, sql, *texts);
            // Like the single statement it replaces, a failure anywhere gives
            // no list.
            if (result == ReadResult::Failed)
                return std::make_unique<FoldedTexts>(0);
        }
        return texts;
    };
    std::unique_ptr<FoldedTexts> texts = readAll(true);
    if (!texts)
        texts = readAll(false);
    expected = std::max<std::size_t>(texts->size(), 1024);
    // Sorted and deduplicated by case-folded text; of several spellings the
    // first one read is kept.
    entries = texts->sortedUnique();
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
    const NameOrders &orders = CollectionSettings::nameOrders(uuid);
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
    if (!query.next()) {
        const bool ascii = std::all_of(phrase.cbegin(), phrase.cend(), [](QChar c) { return c.unicode() < 128; });
        return ascii ? StatusNoMatch
                     : findDecodedPhrase(database, collectionId, orders, phrase, outPageIndex, outRowIndex, outSegment,
                                         outMood, outExterior);
    }
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
    // The tolerance of 2 per channel, inclusive, is written as BETWEEN
    // ranges so that the colour index can be used; the collection filter is
    // kept off the map's index so that SQLite does not walk the whole
    // collection instead.
    const int red = color.red();
    const int green = color.green();
    const int blue = color.blue();
    if (!runQuery(query,
            QStringLiteral("SELECT * FROM \"ROW\" R      JOIN PAGE P ON R.PAGE_ID = P.ID      JOIN "
                           "COLLECTION_PAGE_MAP CMAP ON P.ID = CMAP.PAGE_ID  WHERE +CMAP.COLLECTION_ID = "
                           "%1 AND R.RED BETWEEN %2 AND %3 AND R.GREEN BETWEEN %4 AND %5 AND R.BLUE "
                           "BETWEEN %6 AND %7 ")
                .arg(collectionDatabaseId(uuid))
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

int matchCandidates(const QUuid &uuid, std::vector<LabCandidate> &candidates, int *skipped)
{
    candidates.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    // Reading every chip through SQL costs far more than the ranking: the
    // list is kept per collection and file until the file's content changes.
    struct KnownCandidates {
        QuerySupport::ContentStamp stamp;
        std::vector<LabCandidate> candidates;
        int skipped = 0;
    };
    static QHash<QPair<QUuid, QString>, KnownCandidates> cache;
    const QuerySupport::ContentStamp stamp = QuerySupport::contentStamp(database);
    const QPair<QUuid, QString> cacheKey(uuid, database.databaseName());
    const auto known = cache.find(cacheKey);
    if (known != cache.end() && known->stamp.sameContent(stamp)) {
        known->stamp = stamp;
        candidates = known->candidates;
        if (skipped)
            *skipped = known->skipped;
        return StatusOk;
    }
    cache.remove(cacheKey);

    QSqlQuery query(database);
    // A failed query is reported: an empty list would pass for a collection
    // without chips. The sRGB columns are not needed for the ranking.
    if (!runQuery(query,
            QStringLiteral("SELECT R.ID,R.L,R.A,R.B  FROM \"ROW\" R       JOIN PAGE "
                           "P ON R.PAGE_ID = P.ID       JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = "
                           "CMAP.PAGE_ID  WHERE CMAP.COLLECTION_ID = %1 ")
                .arg(collectionDatabaseId(uuid))))
        return StatusFailed;
    int skippedRows = 0;
    // A NULL, text or infinite component is no colour: as 0 it would match
    // black, and a NaN distance would upset the ranking.
    const auto component = [&query](int column, double &value) {
        const QVariant field = query.value(column);
        bool ok = false;
        value = field.isNull() ? 0.0 : field.toDouble(&ok);
        return ok && std::isfinite(value);
    };
    while (query.next()) {
        LabCandidate candidate;
        if (!component(1, candidate.l) || !component(2, candidate.a) || !component(3, candidate.b)) {
            ++skippedRows;
            continue;
        }
        candidate.reference = static_cast<quintptr>(query.value(0).toLongLong());
        candidates.push_back(candidate);
    }
    if (skipped)
        *skipped = skippedRows;
    // A read cut short by an error is not kept.
    if (stamp.isValid() && !query.lastError().isValid())
        cache.insert(cacheKey, KnownCandidates{stamp, candidates, skippedRows});
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
    // One query covers every device-matching collection, so it searches the
    // names any of them searches.
    QList<qint64> searchedNames;
    QVector<qint64> ids;
    capsureCollectionIds(ids);
    for (const qint64 id : std::as_const(ids)) {
        for (const qint64 index : CollectionSettings::nameOrders(collectionUuidInSystemWideFile(id)).rowNameSearchOrder) {
            if (!searchedNames.contains(index))
                searchedNames.append(index);
        }
    }
    const QStringList columns = nameColumns(QStringLiteral("UPPER(R.NAME%1)"), searchedNames)
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
