#pragma once

#include <QString>
#include <QUuid>

namespace Tintor::DB {

// A chip while the system runs: collection UUID, card ID and row ID.
struct ItemIndex
{
    QUuid collectionUuid;
    qint64 pageId = -1;
    qint64 colorId = -1;

    bool namesChip() const { return colorId >= 1; }
    QString toText() const;
    static ItemIndex fromText(const QString &text);

    friend bool operator==(const ItemIndex &a, const ItemIndex &b)
    {
        return a.collectionUuid == b.collectionUuid && a.pageId == b.pageId && a.colorId == b.colorId;
    }
    friend bool operator!=(const ItemIndex &a, const ItemIndex &b) { return !(a == b); }
};

} // namespace Tintor::DB
