#include "db/ColorForesightGroup.h"

#include "db/RecordFields.h"

namespace Tintor::DB {

using namespace RecordFields;

ColorForesightGroup::ColorForesightGroup(const QSqlRecord &record)
{
    const RecordFields::RecordScope scope(record);
    AbstractBase::readRecord(record);
    readText(record, QStringLiteral("NAME"), name);
    readFlag(record, QStringLiteral("DEFAULT_OPEN"), isDefaultOpen);
    readInt(record, QStringLiteral("ORDER"), order);
}

} // namespace Tintor::DB
