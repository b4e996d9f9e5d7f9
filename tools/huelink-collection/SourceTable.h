#pragma once

#include <QHash>
#include <QJsonValue>
#include <QList>
#include <QString>
#include <QStringList>

namespace Tintor {

class SourceFiles;

// One row of a source table, from a CSV line or an inline JSON object.
// Field names are lower case; a field that is absent or empty is "not given".
class SourceRecord {
public:
    SourceRecord() = default;
    SourceRecord(const QString &origin, bool isJson);

    // Where the row is: "chips.csv:14" or "collection.json: collections[0].chips[3]".
    QString origin() const { return m_origin; }
    // Where one field of it is: "chips.csv:14: column \"red\"" or "...chips[3].red".
    QString where(const QString &column) const;

    bool has(const QString &column) const;
    QString value(const QString &column) const;
    void set(const QString &column, const QString &value);

private:
    QString m_origin;
    bool m_isJson = false;
    QHash<QString, QString> m_fields;
};

// Loads a table that the manifest gives either as a CSV file name or as an
// inline array of objects. Unknown columns are reported: they are usually
// typos, and a silently ignored column would lose data.
class SourceTable {
public:
    static QList<SourceRecord> load(const QJsonValue &value, const QString &jsonPath, const QStringList &columns,
                                    const SourceFiles &files);

    // Parses CSV text into rows of fields; each row carries the line number
    // it starts on. Blank lines and lines starting with '#' are skipped.
    struct CsvRow {
        int line = 0;
        QStringList fields;
    };
    static QList<CsvRow> parseCsv(const QString &text, QString *error, int *errorLine);

    // Text of an inline JSON scalar; arrays of scalars become "a;b;c".
    static bool jsonScalarText(const QJsonValue &value, QString &out);

    // "name0".."name9" style column lists.
    static QStringList numbered(const QString &prefix, int count = 10);
};

} // namespace Tintor
