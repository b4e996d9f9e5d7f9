#include "db/Texture.h"

#include "db/ImageDecoding.h"
#include "db/RecordFields.h"

#include <QVariant>

namespace Tintor::DB {

using namespace RecordFields;

Texture::Texture(const QSqlRecord &record, DecodeBudget *budget)
{
    const RecordFields::RecordScope scope(record);
    AbstractBase::readRecord(record);
    readCollectionId(record, collectionId);
    readText(record, QStringLiteral("NAME"), name);
    readDouble(record, QStringLiteral("BASE_ALPHA"), baseAlpha);
    QVariant bytes;
    if (lookup(record, QStringLiteral("IMAGE"), bytes) && !bytes.isNull())
        image = decodeImage(bytes.toByteArray(), budget);
}

} // namespace Tintor::DB
