#include "ui/chips/ColorTooltipText.h"

#include "db/CollectionLookups.h"
#include "db/CollectionSettings.h"
#include "db/ColorEntry.h"
#include "db/ColorPage.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"

#include <QStringList>

#include <limits>

namespace Tintor {

namespace {

void appendNonEmpty(QStringList &lines, const QString &text)
{
    if (!text.isEmpty())
        lines.append(text);
}

// Name indices come from the collection file; the records answer an empty
// text outside their range.
int nameIndex(qint64 index)
{
    return index < 0 || index > std::numeric_limits<int>::max() ? -1 : int(index);
}

} // namespace

QString colorTooltipText(const QUuid &collectionId, qint64 colorId, bool rich)
{
    const bool showsCollectionName = CollectionSettings::tooltipShowsCollectionName(collectionId);
    const bool showsPageName = CollectionSettings::tooltipShowsPageName(collectionId);
    const bool showsCode = CollectionSettings::tooltipShowsRowCode(collectionId);
    const bool showsRowNames = CollectionSettings::tooltipShowsRowName(collectionId);
    const bool showsAuxiliary = CollectionSettings::tooltipShowsAuxiliaryInfo(collectionId);
    const bool showsPageIndex = CollectionSettings::tooltipShowsPageIndex(collectionId);
    const bool showsRowIndex = CollectionSettings::tooltipShowsRowIndex(collectionId);

    DB::ColorEntry entry;
    if (DB::entryById(collectionId, colorId, entry) != DB::StatusOk)
        return QString();

    QStringList lines;
    if (showsCollectionName) {
        DB::CollectionPointer collection;
        if (DB::collectionByUuid(collectionId, collection) == DB::StatusOk && collection)
            lines.append(collection->name);
    }
    if (showsPageName) {
        DB::ColorPage page;
        if (DB::pageById(collectionId, entry.pageId, false, page) == DB::StatusOk) {
            for (const qint64 index : CollectionSettings::nameOrders(collectionId).pageNameDisplayOrder)
                appendNonEmpty(lines, page.nameAt(nameIndex(index)));
        }
    }
    if (showsCode)
        appendNonEmpty(lines, entry.code);
    if (showsRowNames) {
        for (const qint64 index : CollectionSettings::nameOrders(collectionId).rowNameDisplayOrder)
            appendNonEmpty(lines, entry.nameAt(nameIndex(index)));
    }
    if (showsAuxiliary) {
        for (const qint64 index : CollectionSettings::nameOrders(collectionId).rowExtraDisplayOrder) {
            const QString extra = entry.extraAt(nameIndex(index));
            if (extra.isEmpty())
                continue;
            lines.append(rich ? QStringLiteral("<span style=\"font-style:italic;\">%1</span>").arg(extra) : extra);
        }
    }
    if (showsPageIndex) {
        DB::ColorPage page;
        if (DB::pageById(collectionId, entry.pageId, false, page) == DB::StatusOk)
            lines.append(QString::number(page.pageIndex));
    }
    if (showsRowIndex)
        lines.append(QString::number(entry.rowIndex));

    if (!rich)
        return lines.join(QLatin1Char('\n'));
    return QStringLiteral("<div style=\"margin:2px;\">%1</div>").arg(lines.join(QStringLiteral("<br/>")));
}

} // namespace Tintor
