#pragma once

#include "db/AbstractBase.h"
#include "db/ImageDecoding.h"

#include <QImage>
#include <QString>

namespace Tintor::DB {

// A surface image laid over chips on the textures tab.
class Texture : public AbstractBase
{
public:
    Texture() = default;
    // The image is decoded within `budget` when one is given.
    explicit Texture(const QSqlRecord &record, DecodeBudget *budget = nullptr);

    bool isValid() const override { return id != -1; }

    qint64 collectionId = 0;
    QString name;
    double baseAlpha = 0.0;
    QImage image;
};

} // namespace Tintor::DB
