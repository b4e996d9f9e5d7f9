#pragma once

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>

class QSqlDatabase;

namespace Tintor::DB {

// The prepared statements of one host request. The lookups that run the
// same SQL again and again within a request (theme items, texts, settings)
// take their statement from the active pool instead of compiling it each
// time. Without an active pool, or while an outer caller still reads the
// same statement, a fresh one is prepared as before. A pool must go before
// the connections do, so a request makes it after its application object.
class StatementPool {
public:
    StatementPool();
    ~StatementPool();
    StatementPool(const StatementPool &) = delete;
    StatementPool &operator=(const StatementPool &) = delete;

    // Prepares (or reuses) `sql` on `database` forward-only, binds `values`
    // by position, runs it and hands the query to `read`. A statement that
    // cannot be prepared or run writes its error and returns false without
    // calling `read`.
    static bool run(QSqlDatabase &database, const QString &sql, const QVariantList &values,
        const std::function<void(QSqlQuery &)> &read);

private:
    struct Statement {
        QSqlQuery query;
        bool inUse = false;
    };

    Statement *statementFor(QSqlDatabase &database, const QString &sql);

    QHash<QString, std::shared_ptr<Statement>> m_statements;
    StatementPool *m_outer = nullptr;
};

} // namespace Tintor::DB
