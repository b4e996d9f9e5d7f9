#pragma once

#include "db/AbstractBase.h"
#include "db/ColorForesightEntry.h"

#include <QList>
#include <QString>

namespace Tintor::DB {

// One colour-trend group of the foresight tab.
class ColorForesightGroup : public AbstractBase
{
public:
    ColorForesightGroup() = default;
    explicit ColorForesightGroup(const QSqlRecord &record);

    bool isValid() const override { return id != -1; }

    QString name;
    bool isDefaultOpen = false;
    int order = 0;
    QList<ColorForesightEntry> entries;
};

} // namespace Tintor::DB
