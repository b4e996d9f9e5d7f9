#include "db/TextureMapEntry.h"

#include "db/RecordFields.h"

namespace Tintor::DB {

using namespace RecordFields;

TextureMapEntry::TextureMapEntry(const QSqlRecord &record)
{
    readInt64(record, QStringLiteral("TEXTURE_ID"), textureId);
    readInt64(record, QStringLiteral("PAGE_ID"), pageId);
    readText(record, QStringLiteral("NAME"), name);
    readDouble(record, QStringLiteral("ALPHA"), alpha);
}

} // namespace Tintor::DB
