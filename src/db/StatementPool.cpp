#include "db/StatementPool.h"

#include "db/QuerySupport.h"

#include <QSqlDatabase>
#include <QSqlDriver>

namespace Tintor::DB {

namespace {

// The distinct lookups of a request number a few dozen; SQL texts that
// carry other values than the usual ids are not kept beyond this.
constexpr int kMaxStatements = 128;

StatementPool *&activePool()
{
    static StatementPool *pool = nullptr;
    return pool;
}

} // namespace

StatementPool::StatementPool()
    : m_outer(activePool())
{
    activePool() = this;
}

StatementPool::~StatementPool()
{
    activePool() = m_outer;
}

StatementPool::Statement *StatementPool::statementFor(QSqlDatabase &database, const QString &sql)
{
    const QString key = database.connectionName() + QLatin1Char('\n') + sql;
    const auto found = m_statements.constFind(key);
    if (found != m_statements.cend()) {
        Statement *statement = found->get();
        // A connection opened again under the same name has a new driver.
        if (statement->query.driver() == database.driver())
            return statement->inUse ? nullptr : statement;
        if (statement->inUse)
            return nullptr;
        m_statements.erase(found);
    }
    if (m_statements.size() >= kMaxStatements)
        return nullptr;
    auto statement = std::make_shared<Statement>();
    statement->query = QSqlQuery(database);
    statement->query.setForwardOnly(true);
    if (!statement->query.prepare(sql))
        return nullptr;
    m_statements.insert(key, statement);
    return statement.get();
}

bool StatementPool::run(QSqlDatabase &database, const QString &sql, const QVariantList &values,
    const std::function<void(QSqlQuery &)> &read)
{
    Statement *statement = activePool() ? activePool()->statementFor(database, sql) : nullptr;
    if (!statement) {
        QSqlQuery query(database);
        if (!QuerySupport::runQuery(query, sql, values)) {
            QuerySupport::writeQueryError(query);
            return false;
        }
        read(query);
        return true;
    }
    QSqlQuery &query = statement->query;
    for (qsizetype i = 0; i < values.size(); ++i)
        query.bindValue(int(i), values.at(i));
    if (!query.exec()) {
        QuerySupport::writeQueryError(query);
        query.finish();
        return false;
    }
    statement->inUse = true;
    read(query);
    statement->inUse = false;
    // Ends the statement's read, so it holds no snapshot of the file.
    query.finish();
    return true;
}

} // namespace Tintor::DB
