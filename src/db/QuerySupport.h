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

// What was read through a connection still holds while its stamp is the
// same: the connection was not opened anew, and no other connection has
// committed a change to the file since (SQLite's data_version).
struct ContentStamp
{
    int generation = -1;
    qint64 dataVersion = -1;

    bool isValid() const { return dataVersion >= 0; }
    bool operator==(const ContentStamp &other) const
    {
        return generation == other.generation && dataVersion == other.dataVersion;
    }
    bool operator!=(const ContentStamp &other) const { return !(*this == other); }
};
// Invalid when the version cannot be read.
ContentStamp contentStamp(QSqlDatabase &database);

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
