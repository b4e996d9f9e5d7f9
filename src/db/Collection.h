#pragma once

#include "db/AbstractBase.h"

#include <QSharedPointer>
#include <QString>
#include <QUuid>

namespace Tintor::DB {

// One collection (fan deck) of a file.
class Collection : public AbstractBase
{
public:
    Collection() = default;
    explicit Collection(const QSqlRecord &record);

    bool isValid() const override { return true; }

    QString systemId;
    qint64 version = 0;
    QUuid uuid;
    QString name;
    int order = 0;
};

using CollectionPointer = QSharedPointer<Collection>;

} // namespace Tintor::DB
