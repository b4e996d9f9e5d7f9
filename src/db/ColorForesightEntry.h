#pragma once

#include "db/AbstractBase.h"

#include <QColor>
#include <QString>

namespace Tintor::DB {

// One colour of a trend group; rowId 0 when it is not a collection chip.
class ColorForesightEntry : public AbstractBase
{
public:
    ColorForesightEntry() = default;
    explicit ColorForesightEntry(const QSqlRecord &record);

    bool isValid() const override { return id != -1; }

    qint64 rowId = 0;
    QString name1;
    QString name2;
    QColor color;
    int order = 0;
};

} // namespace Tintor::DB
