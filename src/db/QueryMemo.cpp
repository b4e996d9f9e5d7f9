#include "db/QueryMemo.h"

#include "db/QuerySupport.h"

#include <QHash>

#include <memory>

namespace Tintor::DB {

namespace {

struct FileValues
{
    QuerySupport::ContentStamp stamp;
    QHash<QString, std::any> values;
    qint64 weight = 0;

    void clear()
    {
        values.clear();
        weight = 0;
    }
};

// Shared pointers: a read may look up another file and grow the table
// while the caller still holds its file's entry.
QHash<QString, std::shared_ptr<FileValues>> &files()
{
    static QHash<QString, std::shared_ptr<FileValues>> table;
    return table;
}

int &hits()
{
    static int count = 0;
    return count;
}

const std::any *valueOf(const FileValues &file, const QString &key)
{
    const auto found = file.values.constFind(key);
    if (found == file.values.cend())
        return nullptr;
    ++hits();
    return &found.value();
}

} // namespace

const std::any *QueryMemo::find(QSqlDatabase &database, const QString &key)
{
    std::shared_ptr<FileValues> &file = files()[database.databaseName()];
    if (!file)
        file = std::make_shared<FileValues>();
    if (!QuerySupport::refreshStamp(database, file->stamp)) {
        file->clear();
        return nullptr;
    }
    return valueOf(*file, key);
}

void QueryMemo::keep(QSqlDatabase &database, const QString &key, std::any value, qint64 weight)
{
    const std::shared_ptr<FileValues> file = files().value(database.databaseName());
    // Without a stamp a change could not be seen: nothing is kept.
    if (!file || !file->stamp.isValid() || weight > kMaxWeightPerFile)
        return;
    if (file->weight + weight > kMaxWeightPerFile)
        file->clear();
    file->values.insert(key, std::move(value));
    file->weight += weight;
}

int QueryMemo::hitCount()
{
    return hits();
}

} // namespace Tintor::DB
