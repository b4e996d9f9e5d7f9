#include "db/ColorPage.h"

#include "db/RecordFields.h"

namespace Tintor::DB {

using namespace RecordFields;

ColorPage::ColorPage()
{
    id = 0;
}

ColorPage::ColorPage(const QSqlRecord &record)
{
    const RecordFields::RecordScope scope(record);
    AbstractBase::readRecord(record);
    readInt(record, QStringLiteral("PAGE_INDEX"), pageIndex);
    readInt(record, QStringLiteral("SEGMENT"), segment);
    readNamesAndExtras(record, names, extras);
    readFlag(record, QStringLiteral("EXTERIOR"), isExterior);
    readInt(record, QStringLiteral("MOOD"), mood);
}

QString ColorPage::nameAt(int index) const
{
    return index >= 0 && index < names.size() ? names.at(index) : QString();
}

QString ColorPage::extraAt(int index) const
{
    return index >= 0 && index < extras.size() ? extras.at(index) : QString();
}

} // namespace Tintor::DB
