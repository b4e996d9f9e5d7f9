#pragma once

#include <QString>

class QSqlRecord;

namespace Tintor::DB {

// One row of TEXTURE_MAP: a texture paired with a card.
struct TextureMapEntry
{
    TextureMapEntry() = default;
    explicit TextureMapEntry(const QSqlRecord &record);

    qint64 textureId = 0;
    qint64 pageId = 0;
    QString name;
    double alpha = 0.0;
};

} // namespace Tintor::DB
