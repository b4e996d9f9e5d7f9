#include "db/CollectionLookups.h"

#include "db/CollectionRegistry.h"
#include "db/QuerySupport.h"
#include "db/StatementPool.h"
#include "db/Status.h"

#include <QHash>
#include <QSqlQuery>
#include <QSqlRecord>

#include <functional>

namespace Tintor::DB {

namespace {

// Keys are bound, never pasted, whatever their origin. These lookups run
// dozens of times per request, so their statements are reused.
bool runKeyQuery(QSqlDatabase &database, const QUuid &uuid, const QString &sql, const QString &key,
                 const std::function<void(QSqlQuery &)> &read)
{
    return StatementPool::run(database, sql.arg(collectionDatabaseId(uuid)), {key}, read);
}

} // namespace

int collectionByUuid(const QUuid &uuid, CollectionPointer &out)
{
    out.reset();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    StatementPool::run(database, QStringLiteral(" SELECT *  FROM COLLECTION C  WHERE C.UUID = ? COLLATE NOCASE"),
                       {uuid.toString(QUuid::WithBraces)}, [&out](QSqlQuery &query) {
                           if (query.next())
                               out = CollectionPointer::create(query.record());
                       });
    return out ? StatusOk : StatusFailed;
}

int themeData(const QUuid &uuid, const QString &key, QByteArray &out)
{
    out.clear();
    int status = StatusOk;
    QSqlDatabase database = collectionDatabase(uuid, &status);
    if (status != StatusOk)
        return status;
    bool found = false;
    runKeyQuery(database, uuid,
                QStringLiteral("SELECT T.ITEM_DATA FROM THEME T WHERE T.COLLECTION_ID = %1 AND        "
                               "T.ITEM_KEY = ? COLLATE NOCASE"),
                key, [&](QSqlQuery &query) {
                    if (!query.next())
                        return;
                    const QVariant value = query.value(0);
                    if (value.typeId() == QMetaType::QByteArray) {
                        out.append(value.toByteArray());
                        found = true;
                    }
                });
    return found ? StatusOk : StatusFailed;
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
    const qint64 dataVersion = QuerySupport::dataVersion(database);
    if (dataVersion < 0 || dataVersion != known.dataVersion || known.generation != connectionGeneration()) {
        known.texts.clear();
        known.dataVersion = dataVersion;
        known.generation = connectionGeneration();
    }
    const auto it = known.texts.constFind(key);
    if (it != known.texts.cend())
        return *it;

    QString text = key;
    runKeyQuery(database, uuid,
                QStringLiteral("SELECT L.STRING FROM LOCALE L WHERE L.COLLECTION_ID = %1 AND       "
                               "L.KEY = ? COLLATE NOCASE"),
                key, [&text](QSqlQuery &query) {
                    if (query.next() && query.value(0).typeId() == QMetaType::QString)
                        text = query.value(0).toString();
                });
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
    QVariant value = fallback;
    runKeyQuery(database, uuid,
                QStringLiteral("SELECT S.VALUE FROM SETTING S WHERE S.COLLECTION_ID = %1 AND       "
                               "S.NAME = ? COLLATE NOCASE AND       S.VALUE_INDEX = 0 "),
                name, [&value](QSqlQuery &query) {
                    if (query.next())
                        value = query.value(0);
                });
    return value;
}

QVariantList settingValues(const QUuid &uuid, const QString &name)
{
    QVariantList values;
    QSqlDatabase database = collectionDatabase(uuid);
    if (!database.isValid())
        return values;
    runKeyQuery(database, uuid,
                QStringLiteral("SELECT S.VALUE FROM SETTING S WHERE S.COLLECTION_ID = %1 AND       "
                               "S.NAME = ? COLLATE NOCASE ORDER BY S.VALUE_INDEX ASC "),
                name, [&values](QSqlQuery &query) {
                    while (query.next())
                        values.append(query.value(0));
                });
    return values;
}

} // namespace Tintor::DB
