#include "db/AbstractBase.h"

#include "db/RecordFields.h"

namespace Tintor::DB {

void AbstractBase::clear()
{
    id = -1;
}

void AbstractBase::readRecord(const QSqlRecord &record)
{
    const RecordFields::RecordScope scope(record);
    clear();
    RecordFields::readInt64(record, QStringLiteral("ID"), id);
}

} // namespace Tintor::DB
