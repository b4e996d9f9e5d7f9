#include "db/ItemIndex.h"

#include <QStringList>

namespace Tintor::DB {

QString ItemIndex::toText() const
{
    return QStringLiteral("ItemIndex(%1,%2,%3)")
        .arg(collectionUuid.toString(QUuid::WithBraces))
        .arg(pageId)
        .arg(colorId);
}

ItemIndex ItemIndex::fromText(const QString &text)
{
    ItemIndex index;
    const QString prefix = QStringLiteral("ItemIndex(");
    if (!text.startsWith(prefix) || !text.endsWith(QLatin1Char(')')))
        return index;
    // Position 11 drops the prefix together with the UUID's opening brace.
    const qsizetype start = prefix.size() + 1;
    const qsizetype length = text.size() - 1 - start;
    if (length <= 0)
        return index;
    const QStringList parts = text.mid(start, length).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return index;
    // The part still ends with the UUID's closing brace.
    const QString uuidText = parts.at(0);
    index.collectionUuid = QUuid::fromString(uuidText.endsWith(QLatin1Char('}'))
                                                 ? QLatin1Char('{') + uuidText
                                                 : uuidText);
    index.pageId = parts.at(1).toLongLong();
    index.colorId = parts.at(2).toLongLong();
    return index;
}

} // namespace Tintor::DB
