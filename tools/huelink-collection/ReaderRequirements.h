#pragma once

#include <QSqlDatabase>
#include <QStringList>

namespace Tintor {

// The tables and columns a collection file must have for the program to
// read it: the format's declared tables plus what the reading queries rely
// on beyond them. The list is derived from the format's own statements by
// building them into an in-memory database, so it follows the format.
class ReaderRequirements {
public:
    struct Table {
        QString name;
        QStringList columns;
    };
    static QList<Table> tables();

    struct Findings {
        // Missing tables and columns the program reads: it would misread the file.
        QStringList errors;
        // Missing tables the format declares but the program never reads.
        QStringList notes;
    };
    static Findings check(const QSqlDatabase &db);
    static bool isReadByProgram(const QString &table);
};

} // namespace Tintor
