#pragma once

#include "db/Status.h"

#include <QSqlDatabase>
#include <QString>

#include <any>
#include <functional>

namespace Tintor::DB {

// What the lookups of browsing read again and again from a collection file
// (cards with their chips, scheme chips), kept for the life of the process
// per file and dropped when the file's content changes (its stamp, see
// QuerySupport::ContentStamp). Each host call opens its connections anew,
// so without this it compiles and runs the same statements on every call;
// the files are only read, so what they gave still holds while their stamp
// is the same.
class QueryMemo
{
public:
    // What one file's kept values may weigh together (a chip weighs one,
    // as does every value); past this the file's values start over.
    static constexpr qint64 kMaxWeightPerFile = 50000;

    // The value kept under `key` for the file's current content, else what
    // `read` gives, kept when it gives StatusOk. Keys name the lookup and
    // every argument that changes its result. `weigh` tells what a value
    // holds (its chips); without it a value weighs one.
    template <typename T>
    static int cached(QSqlDatabase &database, const QString &key, T &out, const std::function<int(T &)> &read,
                      qint64 (*weigh)(const T &) = nullptr)
    {
        // A key kept with a value of another type is a miss, never a throw.
        if (const T *kept = std::any_cast<T>(find(database, key))) {
            out = *kept;
            return StatusOk;
        }
        const int status = read(out);
        if (status == StatusOk)
            keep(database, key, std::any(out), 1 + (weigh ? weigh(out) : 0));
        return status;
    }

    // Reads answered from kept values so far, for checking that it is used.
    static int hitCount();

private:
    static const std::any *find(QSqlDatabase &database, const QString &key);
    static void keep(QSqlDatabase &database, const QString &key, std::any value, qint64 weight);
};

} // namespace Tintor::DB
