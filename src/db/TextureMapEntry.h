#pragma once

#include <QString>

class QSqlRecord;

namespace Tintor::DB {

// One row of TEXTURE_MAP: a texture paired with a card.
struct TextureMapEntry
{
    TextureMapEntry() = default;
    explicit TextureMapEntry(const QSqlRecord &record);

    // ALPHA as the tint may use it: within 0..1, not a number reads as 0.
    static double clampedAlpha(double value);

    qint64 textureId = 0;
    qint64 pageId = 0;
    QString name;
    double alpha = 0.0; // always within 0..1
};

} // namespace Tintor::DB
