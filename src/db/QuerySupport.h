#pragma once

#include "db/ColorEntry.h"

#include <QList>
#include <QString>
#include <QVariantList>
#include <QVector>

class QSqlDatabase;
class QSqlQuery;

// Small pieces shared by the query modules.
namespace Tintor::DB::QuerySupport {

// What was read from a collection file still holds while its stamp is
// the same. The toolkit drops the connections with each application
// object, so the file's size and modification time (and its write-ahead
// log's) carry a stamp across host calls; within one connection SQLite's
// data_version also sees a change committed in the same clock tick.
struct ContentStamp
{
    qint64 modified = -1;
    qint64 size = -1;
    qint64 logModified = -1;
    qint64 logSize = -1;
    int generation = -1;
    qint64 dataVersion = -1;

    bool isValid() const { return dataVersion >= 0 && modified >= 0; }
    // Same file content: data_version is compared only on one connection.
    bool sameContent(const ContentStamp &other) const
    {
        return isValid() && other.isValid() && modified == other.modified && size == other.size
            && logModified == other.logModified && logSize == other.logSize
            && (generation != other.generation || dataVersion == other.dataVersion);
    }
};
// Invalid when the file or its version cannot be read.
ContentStamp contentStamp(QSqlDatabase &database);
// True when the file still holds the content `stamp` was taken of; `stamp`
// describes the current content afterwards either way. On the connection
// the stamp was taken on, data_version alone answers (any connection's
// commit changes it); only a new connection needs the file's size and time.
bool refreshStamp(QSqlDatabase &database, ContentStamp &stamp);
// SQLite's data_version of the connection, -1 when it cannot be read.
qint64 dataVersion(QSqlDatabase &database);

// Prepares `sql` forward-only, binds `values` by position and runs it.
bool runQuery(QSqlQuery &query, const QString &sql, const QVariantList &values = {});
// The SQL error number, " : " and the error text, when an error is set.
void writeQueryError(const QSqlQuery &query);
// One cleared and read ColorEntry per remaining row.
void appendEntries(QSqlQuery &query, QVector<ColorEntry> &entries);
void sortEntriesByRowIndex(QVector<ColorEntry> &entries);
// The name indices of a search-order list that name a column (0 to 9), in
// order; larger and negative ones are dropped.
QList<int> searchableNameIndices(const QList<qint64> &order);

} // namespace Tintor::DB::QuerySupport
