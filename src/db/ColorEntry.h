#pragma once

#include "db/AbstractBase.h"

#include <QString>
#include <QStringList>

namespace Tintor::DB {

// One chip of a card.
class ColorEntry : public AbstractBase
{
public:
    ColorEntry();

    bool isValid() const override { return true; }
    void clear() override;
    void readRecord(const QSqlRecord &record) override;

    QString nameAt(int index) const;
    QString extraAt(int index) const;

    qint64 collectionId = -1;
    qint64 pageId = -1;
    int rowIndex = -1;
    int pageOrder = -1;
    QString code;
    int segment = -1;
    int red = -1;
    int green = -1;
    int blue = -1;
    double labL = 0.0;
    double labA = 0.0;
    double labB = 0.0;
    bool isMadeToOrder = false;
    bool isNeutral = false;
    bool isWhite = false;
    int mood = 0;
    int schemePos = -1;
    int nschemePos = -1;
    QStringList names;
    QStringList extras;
};

} // namespace Tintor::DB
