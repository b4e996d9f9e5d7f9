#include "SourceTable.h"

#include "ProblemList.h"
#include "SourceFiles.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSet>

namespace Tintor {

SourceRecord::SourceRecord(const QString &origin, bool isJson)
    : m_origin(origin)
    , m_isJson(isJson)
{
}

QString SourceRecord::where(const QString &column) const
{
    if (m_isJson)
        return m_origin + QLatin1Char('.') + column;
    return m_origin + QStringLiteral(": column \"%1\"").arg(column);
}

bool SourceRecord::has(const QString &column) const
{
    return !m_fields.value(column).isEmpty();
}

QString SourceRecord::value(const QString &column) const
{
    return m_fields.value(column);
}

void SourceRecord::set(const QString &column, const QString &value)
{
    m_fields.insert(column, value);
}

QStringList SourceTable::numbered(const QString &prefix, int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << prefix + QString::number(i);
    return names;
}

bool SourceTable::jsonScalarText(const QJsonValue &value, QString &out)
{
    switch (value.type()) {
    case QJsonValue::String:
        out = value.toString();
        return true;
    case QJsonValue::Bool:
        out = value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        return true;
    case QJsonValue::Double: {
        const double number = value.toDouble();
        const qint64 whole = qint64(number);
        out = double(whole) == number ? QString::number(whole) : QString::number(number, 'g', 15);
        return true;
    }
    case QJsonValue::Null:
        out.clear();
        return true;
    case QJsonValue::Array: {
        QStringList parts;
        for (const QJsonValue &element : value.toArray()) {
            QString text;
            if (element.isArray() || !jsonScalarText(element, text))
                return false;
            parts << text;
        }
        out = parts.join(QLatin1Char(';'));
        return true;
    }
    default:
        return false;
    }
}

QList<SourceTable::CsvRow> SourceTable::parseCsv(const QString &text, QString *error, int *errorLine)
{
    QList<CsvRow> rows;
    int line = 1;
    int i = 0;
    const int size = text.size();
    while (i < size) {
        // Skip blank and comment lines.
        if (text.at(i) == QLatin1Char('\n') || text.at(i) == QLatin1Char('\r')) {
            if (text.at(i) == QLatin1Char('\n'))
                ++line;
            ++i;
            continue;
        }
        if (text.at(i) == QLatin1Char('#')) {
            while (i < size && text.at(i) != QLatin1Char('\n'))
                ++i;
            continue;
        }
        CsvRow row;
        row.line = line;
        QString field;
        bool quoted = false;
        bool fieldWasQuoted = false;
        bool rowDone = false;
        while (i < size && !rowDone) {
            const QChar c = text.at(i);
            if (quoted) {
                if (c == QLatin1Char('"')) {
                    if (i + 1 < size && text.at(i + 1) == QLatin1Char('"')) {
                        field += QLatin1Char('"');
                        i += 2;
                        continue;
                    }
                    quoted = false;
                    ++i;
                    continue;
                }
                if (c == QLatin1Char('\n'))
                    ++line;
                field += c;
                ++i;
                continue;
            }
            if (c == QLatin1Char('"')) {
                if (!field.trimmed().isEmpty() || fieldWasQuoted) {
                    *error = QStringLiteral("quote inside an unquoted field");
                    *errorLine = line;
                    return {};
                }
                field.clear();
                quoted = true;
                fieldWasQuoted = true;
                ++i;
            } else if (c == QLatin1Char(',')) {
                row.fields << (fieldWasQuoted ? field : field.trimmed());
                field.clear();
                fieldWasQuoted = false;
                ++i;
            } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
                rowDone = true;
            } else {
                if (fieldWasQuoted && !c.isSpace()) {
                    *error = QStringLiteral("text after a closing quote");
                    *errorLine = line;
                    return {};
                }
                if (!fieldWasQuoted)
                    field += c;
                ++i;
            }
        }
        if (quoted) {
            *error = QStringLiteral("quoted field is never closed");
            *errorLine = row.line;
            return {};
        }
        row.fields << (fieldWasQuoted ? field : field.trimmed());
        rows << row;
    }
    return rows;
}

QList<SourceRecord> SourceTable::load(const QJsonValue &value, const QString &jsonPath, const QStringList &columns,
                                      const SourceFiles &files)
{
    ProblemList &problems = files.problems();
    const QString manifestWhere = files.manifestName() + QStringLiteral(": ") + jsonPath;
    QList<SourceRecord> records;
    const QSet<QString> known(columns.begin(), columns.end());

    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        for (int i = 0; i < array.size(); ++i) {
            const QString origin = manifestWhere + QStringLiteral("[%1]").arg(i);
            if (!array.at(i).isObject()) {
                problems.error(origin, QStringLiteral("expected an object"));
                continue;
            }
            SourceRecord record(origin, true);
            const QJsonObject object = array.at(i).toObject();
            for (auto it = object.begin(); it != object.end(); ++it) {
                const QString column = it.key().toLower();
                if (!known.contains(column)) {
                    problems.error(record.where(it.key()), QStringLiteral("unknown field"));
                    continue;
                }
                QString text;
                if (!jsonScalarText(it.value(), text)) {
                    problems.error(record.where(it.key()), QStringLiteral("expected a text, number or flag"));
                    continue;
                }
                record.set(column, text.trimmed());
            }
            records << record;
        }
        return records;
    }
    if (!value.isString()) {
        problems.error(manifestWhere, QStringLiteral("expected a CSV file name or an array of objects"));
        return records;
    }

    const QString fileName = value.toString();
    QByteArray bytes;
    if (!files.read(fileName, manifestWhere, bytes))
        return records;
    QString error;
    int errorLine = 0;
    // Spreadsheet programs like to start UTF-8 files with a byte order mark.
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    const QList<CsvRow> rows = parseCsv(QString::fromUtf8(bytes), &error, &errorLine);
    if (!error.isEmpty()) {
        problems.error(QStringLiteral("%1:%2").arg(fileName).arg(errorLine), error);
        return records;
    }
    if (rows.isEmpty()) {
        problems.error(fileName, QStringLiteral("no header line"));
        return records;
    }
    QStringList header;
    bool headerOk = true;
    for (const QString &name : rows.first().fields) {
        const QString column = name.trimmed().toLower();
        if (!known.contains(column)) {
            problems.error(QStringLiteral("%1:%2: column \"%3\"").arg(fileName).arg(rows.first().line).arg(name),
                           QStringLiteral("unknown column (known: %1)").arg(columns.join(QStringLiteral(", "))));
            headerOk = false;
        } else if (header.contains(column)) {
            problems.error(QStringLiteral("%1:%2: column \"%3\"").arg(fileName).arg(rows.first().line).arg(name),
                           QStringLiteral("column given twice"));
            headerOk = false;
        }
        header << column;
    }
    if (!headerOk)
        return records;
    for (int r = 1; r < rows.size(); ++r) {
        const CsvRow &row = rows.at(r);
        SourceRecord record(QStringLiteral("%1:%2").arg(fileName).arg(row.line), false);
        if (row.fields.size() > header.size()) {
            problems.error(
                record.origin(),
                QStringLiteral("%1 fields, but the header names %2 columns").arg(row.fields.size()).arg(header.size()));
            continue;
        }
        for (int c = 0; c < row.fields.size(); ++c)
            record.set(header.at(c), row.fields.at(c));
        records << record;
    }
    return records;
}

} // namespace Tintor
