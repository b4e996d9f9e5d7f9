#include "db/ColorEntry.h"

#include "db/RecordFields.h"

namespace Tintor::DB {

using namespace RecordFields;

ColorEntry::ColorEntry()
{
    ColorEntry::clear();
}

void ColorEntry::clear()
{
    AbstractBase::clear();
    collectionId = -1;
    pageId = -1;
    rowIndex = -1;
    pageOrder = -1;
    code.clear();
    segment = -1;
    red = green = blue = -1;
    labL = labA = labB = 0.0;
    isMadeToOrder = false;
    isNeutral = false;
    isWhite = false;
    mood = 0;
    schemePos = -1;
    nschemePos = -1;
    names.clear();
    extras.clear();
}

void ColorEntry::readRecord(const QSqlRecord &record)
{
    const RecordFields::RecordScope scope(record);
    AbstractBase::readRecord(record);
    readCollectionId(record, collectionId);
    readInt64(record, QStringLiteral("PAGE_ID"), pageId);
    readText(record, QStringLiteral("CODE"), code);
    readNamesAndExtras(record, names, extras);
    readInt(record, QStringLiteral("SEGMENT"), segment);
    readInt(record, QStringLiteral("ROW_INDEX"), rowIndex);
    readInt(record, QStringLiteral("PAGE_ORDER"), pageOrder);
    readInt(record, QStringLiteral("RED"), red);
    readInt(record, QStringLiteral("GREEN"), green);
    readInt(record, QStringLiteral("BLUE"), blue);
    readDouble(record, QStringLiteral("L"), labL);
    readDouble(record, QStringLiteral("A"), labA);
    readDouble(record, QStringLiteral("B"), labB);
    readFlag(record, QStringLiteral("IS_MTO"), isMadeToOrder);
    readFlag(record, QStringLiteral("NEUTRAL"), isNeutral);
    readFlag(record, QStringLiteral("WHITE"), isWhite);
    readInt(record, QStringLiteral("MOOD"), mood);
    readInt(record, QStringLiteral("SCHEME_POS"), schemePos);
    readInt(record, QStringLiteral("NSCHEME_POS"), nschemePos);
}

QString ColorEntry::nameAt(int index) const
{
    return index >= 0 && index < names.size() ? names.at(index) : QString();
}

QString ColorEntry::extraAt(int index) const
{
    return index >= 0 && index < extras.size() ? extras.at(index) : QString();
}

} // namespace Tintor::DB
