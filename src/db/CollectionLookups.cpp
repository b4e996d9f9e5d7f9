#include "db/CollectionLookups.h"

#include "db/CollectionRegistry.h"
#include "db/QueryMemo.h"
#include "db/QuerySupport.h"
#include "db/StatementPool.h"
#include "db/Status.h"

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
    // Kept as a value: every caller gets a pointer of its own.
    Collection collection;
    const int found = QueryMemo::cached<Collection>(
        database, QStringLiteral("collection %1").arg(uuid.toString()), collection, [&](Collection &read) {
            bool exists = false;
            StatementPool::run(database, QStringLiteral(" SELECT *  FROM COLLECTION C  WHERE C.UUID = ? COLLATE NOCASE"),
                               {uuid.toString(QUuid::WithBraces)}, [&](QSqlQuery &query) {
                                   exists = query.next();
                                   if (exists)
                                       read = Collection(query.record());
                               });
            return exists ? int(StatusOk) : int(StatusFailed);
        });
    if (found == StatusOk)
        out = CollectionPointer::create(collection);
    return found;
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
    // Views ask for the same texts on every paint and every host call.
    QString text;
    QueryMemo::cached<QString>(database, QStringLiteral("locale %1 %2").arg(uuid.toString(), key), text,
                               [&](QString &read) {
                                   read = key;
                                   runKeyQuery(database, uuid,
                                               QStringLiteral("SELECT L.STRING FROM LOCALE L WHERE L.COLLECTION_ID = "
                                                              "%1 AND       L.KEY = ? COLLATE NOCASE"),
                                               key, [&read](QSqlQuery &query) {
                                                   if (query.next() && query.value(0).typeId() == QMetaType::QString)
                                                       read = query.value(0).toString();
                                               });
                                   return int(StatusOk);
                               });
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
