#pragma once

#include "db/AbstractBase.h"
#include "db/ColorEntry.h"

#include <QStringList>
#include <QVector>

namespace Tintor::DB {

// One card with its chips. An invalid page (pageIndex -1) means "no card".
class ColorPage : public AbstractBase
{
public:
    ColorPage();
    explicit ColorPage(const QSqlRecord &record);

    bool isValid() const override { return pageIndex >= 1 && segment >= 1; }

    QString nameAt(int index) const;
    QString extraAt(int index) const;

    int pageIndex = -1;
    int segment = -1;
    bool isExterior = false;
    int mood = 0;
    QStringList names;
    QStringList extras;
    QVector<ColorEntry> entries;
};

} // namespace Tintor::DB
