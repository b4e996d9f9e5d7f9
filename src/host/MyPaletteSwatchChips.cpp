#include "host/MyPaletteSwatchChips.h"

#include "db/CatalogQueries.h"
#include "db/CollectionLookups.h"
#include "db/ColorPage.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "ui/palette/MyPaletteWidget.h"
#include "ui/palette/PaletteChips.h"

#include <QHash>

using namespace Tintor;

QList<SwatchChip> MyPaletteSwatchChips::collect(const MyPaletteWidget &palette, bool productCodes)
{
    QList<SwatchChip> chips;
    QHash<QUuid, QString> collectionNames;
    for (int row = 0; row < palette.rowCount(); ++row) {
        for (int column = 0; column < palette.columnCount(); ++column) {
            const QPoint cell(column, row);
            const QColor color = palette.cellColor(cell);
            if (color == QColor(Qt::transparent))
                continue;
            const DB::ItemIndex item = palette.cellItem(cell);
            SwatchChip chip;
            chip.rgb = qRgb(color.red(), color.green(), color.blue());
            chip.collectionUuid = item.collectionUuid;
            DB::ColorEntry entry;
            if (PaletteChips::loadChip(item, entry) != DB::StatusOk) {
                chip.displayName = palette.cellName(cell);
                chips.append(chip);
                continue;
            }
            chip.code = entry.code;
            const qint64 nameIndex = PaletteChips::displayNameIndex(item.collectionUuid);
            chip.name = nameIndex >= 0 && nameIndex <= INT_MAX ? entry.nameAt(int(nameIndex)) : QString();
            chip.rowIndex = entry.rowIndex;
            chip.lab = ColorTriple{ entry.labL, entry.labA, entry.labB };
            DB::ColorPage page;
            if (DB::pageById(item.collectionUuid, entry.pageId, false, page) == DB::StatusOk)
                chip.pageIndex = page.pageIndex;
            if (!collectionNames.contains(item.collectionUuid)) {
                DB::CollectionPointer collection;
                const bool found = DB::collectionByUuid(item.collectionUuid, collection) == DB::StatusOk && collection;
                collectionNames.insert(item.collectionUuid, found ? collection->name : QString());
            }
            chip.collectionName = collectionNames.value(item.collectionUuid);
            if (productCodes && DB::productCodesOfEntry(item.collectionUuid, entry.id, chip.productCodes) != DB::StatusOk)
                chip.productCodes.clear();
            chips.append(chip);
        }
    }
    return chips;
}
