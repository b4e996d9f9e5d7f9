#include "ReaderRequirements.h"

#include "db/Schema.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace Tintor {

namespace {

// Declared columns that no reading query selects by; a file may drop them.
bool isOptional(const QString &table, const QString &column)
{
    return (table.compare(QLatin1String("PAGE"), Qt::CaseInsensitive) == 0
            || table.compare(QLatin1String("ROW"), Qt::CaseInsensitive) == 0)
        && (column.compare(QLatin1String("COLLECTION_ID"), Qt::CaseInsensitive) == 0
            || column.compare(QLatin1String("NAME"), Qt::CaseInsensitive) == 0);
}

QString quotedName(const QString &name)
{
    QString escaped = name;
    escaped.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QStringList columnsOf(const QSqlDatabase &db, const QString &table)
{
    QStringList columns;
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(quotedName(table))))
        return columns;
    while (query.next())
        columns << query.value(1).toString();
    return columns;
}

QStringList objectNames(const QSqlDatabase &db)
{
    QStringList names;
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type IN ('table', 'view') "
                                  "AND name NOT LIKE 'sqlite_%' ORDER BY rowid")))
        while (query.next())
            names << query.value(0).toString();
    return names;
}

bool containsName(const QStringList &names, const QString &name)
{
    return names.contains(name, Qt::CaseInsensitive);
}

} // namespace

QList<ReaderRequirements::Table> ReaderRequirements::tables()
{
    static const QList<Table> cached = [] {
        QList<Table> result;
        const QString connection = QStringLiteral("huelink-collection-reference");
        {
            QSqlDatabase reference = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            reference.setDatabaseName(QStringLiteral(":memory:"));
            reference.open();
            QSqlQuery query(reference);
            for (const QString &sql : DB::Schema::declaredStatements() + DB::Schema::readerStatements())
                query.exec(sql);
            QStringList names = DB::Schema::tableNames();
            for (const QString &name : objectNames(reference)) {
                if (!containsName(names, name))
                    names << name;
            }
            for (const QString &name : names) {
                Table table;
                table.name = name;
                for (const QString &column : columnsOf(reference, name)) {
                    if (!isOptional(name, column))
                        table.columns << column;
                }
                result << table;
            }
            reference.close();
        }
        QSqlDatabase::removeDatabase(connection);
        return result;
    }();
    return cached;
}

bool ReaderRequirements::isReadByProgram(const QString &table)
{
    // Declared by the format for the maker's own tools; no query of the
    // program selects from them.
    static const QStringList unread {QStringLiteral("GLOBALSETTING"), QStringLiteral("MOOD"),
                                     QStringLiteral("SCHEME"), QStringLiteral("ROW_NAME"),
                                     QStringLiteral("PRODUCT_PRODUCT_GROUP_MAP")};
    return !containsName(unread, table);
}

ReaderRequirements::Findings ReaderRequirements::check(const QSqlDatabase &db)
{
    Findings findings;
    const QStringList present = objectNames(db);
    for (const Table &table : tables()) {
        QStringList &list = isReadByProgram(table.name) ? findings.errors : findings.notes;
        if (!containsName(present, table.name)) {
            list << QStringLiteral("table %1 is missing").arg(table.name);
            continue;
        }
        const QStringList columns = columnsOf(db, table.name);
        for (const QString &column : table.columns) {
            if (!containsName(columns, column))
                list << QStringLiteral("column %1.%2 is missing").arg(table.name, column);
        }
    }
    return findings;
}

} // namespace Tintor
