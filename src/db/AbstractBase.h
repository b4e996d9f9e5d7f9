#pragma once

#include <QtGlobal>

class QSqlRecord;

namespace Tintor::DB {

// Polymorphic base of the records read from a collection file.
class AbstractBase
{
public:
    AbstractBase() = default;
    AbstractBase(const AbstractBase &) = default;
    AbstractBase &operator=(const AbstractBase &) = default;
    virtual ~AbstractBase() = default;

    virtual bool isValid() const = 0;
    virtual void clear();
    // Clears through the virtual table first, then reads "ID".
    virtual void readRecord(const QSqlRecord &record);

    qint64 id = -1;
};

} // namespace Tintor::DB
