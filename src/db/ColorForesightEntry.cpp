#include "db/ColorForesightEntry.h"

#include "db/RecordFields.h"

namespace Tintor::DB {

using namespace RecordFields;

ColorForesightEntry::ColorForesightEntry(const QSqlRecord &record)
{
    const RecordFields::RecordScope scope(record);
    AbstractBase::readRecord(record);
    readInt64(record, QStringLiteral("ROW_ID"), rowId);
    readText(record, QStringLiteral("NAME_1"), name1);
    readText(record, QStringLiteral("NAME_2"), name2);
    // Channels are set one by one; a missing column leaves its channel at 0.
    int red = 0;
    int green = 0;
    int blue = 0;
    readInt(record, QStringLiteral("RED"), red);
    readInt(record, QStringLiteral("GREEN"), green);
    readInt(record, QStringLiteral("BLUE"), blue);
    color = QColor(qBound(0, red, 255), qBound(0, green, 255), qBound(0, blue, 255));
    readInt(record, QStringLiteral("ORDER"), order);
}

} // namespace Tintor::DB
