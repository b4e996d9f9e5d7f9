#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

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

// The column names of one kind of record, and where each is.
struct RecordLayout
{
    QStringList names;
    bool ascii = false;
    // Names upper-cased, to the first column of that name; ASCII only.
    QHash<QString, int> upperNames;
};

// While alive, the reads above of `record` find their columns through one
// pass over its column names instead of a scan per column. Scopes nest; the
// innermost one answers.
class RecordScope
{
public:
    explicit RecordScope(const QSqlRecord &record);
    ~RecordScope();
    RecordScope(const RecordScope &) = delete;
    RecordScope &operator=(const RecordScope &) = delete;

    const QSqlRecord *record() const { return m_record; }
    const RecordLayout &layout() const { return *m_layout; }

private:
    const QSqlRecord *m_record;
    const RecordScope *m_outer;
    std::shared_ptr<const RecordLayout> m_layout;
};

// While alive, every record scope of this thread takes the layout of the
// first: for the loop over one query's rows, whose columns never change.
class QueryRows
{
public:
    QueryRows();
    ~QueryRows();
    QueryRows(const QueryRows &) = delete;
    QueryRows &operator=(const QueryRows &) = delete;

private:
    friend class RecordScope;
    const QueryRows *m_outer;
    mutable std::shared_ptr<const RecordLayout> m_layout;
};

} // namespace Tintor::DB::RecordFields
