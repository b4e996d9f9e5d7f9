#pragma once

#include <QString>
#include <QStringList>

class QSqlRecord;
class QVariant;

namespace Tintor::DB::RecordFields {

// The one reading rule of every record: the first column of that name
// (case-insensitive); a missing or invalid value leaves the field as it is,
// a value that does not convert gives 0.
bool lookup(const QSqlRecord &record, const QString &column, QVariant &value);
void readInt64(const QSqlRecord &record, const QString &column, qint64 &field);
void readInt(const QSqlRecord &record, const QString &column, int &field);
void readDouble(const QSqlRecord &record, const QString &column, double &field);
void readFlag(const QSqlRecord &record, const QString &column, bool &field);
void readText(const QSqlRecord &record, const QString &column, QString &field);
// Like readInt64, but a missing or unconvertible value writes "Oops.".
void readCollectionId(const QSqlRecord &record, qint64 &field);
// NAME0..NAME9 and EXTRA0..EXTRA9, always ten each afterwards.
void readNamesAndExtras(const QSqlRecord &record, QStringList &names, QStringList &extras);

inline constexpr int kNameCount = 10;

} // namespace Tintor::DB::RecordFields
