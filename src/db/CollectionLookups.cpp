#include "db/CollectionLookups.h"

#include "db/CollectionRegistry.h"
#include "db/QuerySupport.h"
#include "db/Status.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>

namespace Tintor::DB {

namespace {

// Keys are bound, never pasted, whatever their origin.
bool runKeyQuery(QSqlQuery &query, const QUuid &uuid, const QString &sql, const QString &key)
{
    return QuerySupport::runQuery(query, sql.arg(collectionDatabaseId(uuid)), {key});
}

} // namespace

int collectionByUuid(const QUuid &uuid, CollectionPointer &out)
{
    out.reset();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    if (!QuerySupport::runQuery(query, QStringLiteral(" SELECT *  FROM COLLECTION C  WHERE C.UUID = ? COLLATE NOCASE"),
                                {uuid.toString(QUuid::WithBraces)})
        || !query.next())
        return StatusFailed;
    out = CollectionPointer::create(query.record());
    return StatusOk;
}

int themeData(const QUuid &uuid, const QString &key, QByteArray &out)
{
    out.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    QSqlQuery query(database);
    if (runKeyQuery(query, uuid,
                    QStringLiteral("SELECT T.ITEM_DATA FROM THEME T WHERE T.COLLECTION_ID = %1 AND        "
                                   "T.ITEM_KEY = ? COLLATE NOCASE"),
                    key)
        && query.next()) {
        const QVariant value = query.value(0);
        if (value.typeId() == QMetaType::QByteArray) {
            out.append(value.toByteArray());
            return StatusOk;
        }
    }
    QuerySupport::writeQueryError(query);
    return StatusFailed;
}

QString localizedDocument(const QUuid &uuid, const QString &key)
{
    QSqlDatabase database = collectionDatabase(uuid);
    if (!database.isValid())
        return key;
    // Views ask for the same texts on every paint; a text may be long. The
    // answers are kept until the file changes under the connection.
    struct LocaleTexts {
        int generation = -1;
        qint64 dataVersion = -1;
        QHash<QString, QString> texts;
    };
    static QHash<QUuid, LocaleTexts> cache;
    LocaleTexts &known = cache[uuid];
    QSqlQuery version(database);
    const qint64 dataVersion
        = version.exec(QStringLiteral("PRAGMA data_version")) && version.next() ? version.value(0).toLongLong() : -1;
    if (dataVersion < 0 || dataVersion != known.dataVersion || known.generation != connectionGeneration()) {
        known.texts.clear();
        known.dataVersion = dataVersion;
        known.generation = connectionGeneration();
    }
    const auto it = known.texts.constFind(key);
    if (it != known.texts.cend())
        return *it;

    QString text = key;
    QSqlQuery query(database);
    if (runKeyQuery(query, uuid,
                    QStringLiteral("SELECT L.STRING FROM LOCALE L WHERE L.COLLECTION_ID = %1 AND       "
                                   "L.KEY = ? COLLATE NOCASE"),
                    key)
        && query.next() && query.value(0).typeId() == QMetaType::QString) {
        text = query.value(0).toString();
    } else {
        QuerySupport::writeQueryError(query);
    }
    if (dataVersion >= 0)
        known.texts.insert(key, text);
    return text;
}

QString localizedString(const QUuid &uuid, const QString &key)
{
    QString text = localizedDocument(uuid, key);
    if (text.size() <= kMaxInterfaceTextLength)
        return text;
    // Never leave half of a surrogate pair at the end.
    const qsizetype length = text.at(kMaxInterfaceTextLength - 1).isHighSurrogate() ? kMaxInterfaceTextLength - 1
                                                                                     : kMaxInterfaceTextLength;
    text.truncate(length);
    return text;
}

QVariant settingValue(const QUuid &uuid, const QString &name, const QVariant &fallback)
{
    QSqlDatabase database = collectionDatabase(uuid);
    if (!database.isValid())
        return fallback;
    QSqlQuery query(database);
    if (runKeyQuery(query, uuid,
                    QStringLiteral("SELECT S.VALUE FROM SETTING S WHERE S.COLLECTION_ID = %1 AND       "
                                   "S.NAME = ? COLLATE NOCASE AND       S.VALUE_INDEX = 0 "),
                    name)
        && query.next())
        return query.value(0);
    QuerySupport::writeQueryError(query);
    return fallback;
}

QVariantList settingValues(const QUuid &uuid, const QString &name)
{
    QVariantList values;
    QSqlDatabase database = collectionDatabase(uuid);
    if (!database.isValid())
        return values;
    QSqlQuery query(database);
    if (runKeyQuery(query, uuid,
                    QStringLiteral("SELECT S.VALUE FROM SETTING S WHERE S.COLLECTION_ID = %1 AND       "
                                   "S.NAME = ? COLLATE NOCASE ORDER BY S.VALUE_INDEX ASC "),
                    name)) {
        while (query.next())
            values.append(query.value(0));
    }
    return values;
}

} // namespace Tintor::DB
