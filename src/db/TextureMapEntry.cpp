#include "db/TextureMapEntry.h"

#include "db/RecordFields.h"

#include <cmath>

namespace Tintor::DB {

using namespace RecordFields;

TextureMapEntry::TextureMapEntry(const QSqlRecord &record)
{
    const RecordFields::RecordScope scope(record);
    readInt64(record, QStringLiteral("TEXTURE_ID"), textureId);
    readInt64(record, QStringLiteral("PAGE_ID"), pageId);
    readText(record, QStringLiteral("NAME"), name);
    readDouble(record, QStringLiteral("ALPHA"), alpha);
    alpha = clampedAlpha(alpha);
}

double TextureMapEntry::clampedAlpha(double value)
{
    // Outside 0..1 the tint arithmetic wraps into garbage colours.
    if (std::isnan(value) || value < 0.0)
        return 0.0;
    return value > 1.0 ? 1.0 : value;
}

} // namespace Tintor::DB
