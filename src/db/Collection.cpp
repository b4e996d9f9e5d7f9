#include "db/Collection.h"

#include "db/RecordFields.h"

namespace Tintor::DB {

using namespace RecordFields;

Collection::Collection(const QSqlRecord &record)
{
    const RecordFields::RecordScope scope(record);
    AbstractBase::readRecord(record);
    readText(record, QStringLiteral("SYSTEMID"), systemId);
    readInt64(record, QStringLiteral("VERSION"), version);
    QString uuidText;
    readText(record, QStringLiteral("UUID"), uuidText);
    const QUuid parsed = QUuid::fromString(uuidText);
    if (!parsed.isNull())
        uuid = parsed;
    readText(record, QStringLiteral("NAME"), name);
    readInt(record, QStringLiteral("ORDER"), order);
}

} // namespace Tintor::DB
