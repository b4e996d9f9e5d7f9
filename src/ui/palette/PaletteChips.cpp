#include "ui/palette/PaletteChips.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "engine/inc/ModuleValues.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <climits>

namespace Tintor::PaletteChips {

namespace {

// Collections whose chips could not be loaded, with the folder state at
// the time.
QHash<QUuid, QString> &misses()
{
    static QHash<QUuid, QString> value;
    return value;
}

// Changes whenever a collection file is added, removed or renamed (the
// folder's time) or the collection's own file is rewritten.
QString folderState(const QUuid &collection)
{
    const QFileInfo folder(QDir(databaseFolder()).filePath(QStringLiteral("Contents/Resources")));
    QString state = QString::number(folder.exists() ? folder.lastModified().toMSecsSinceEpoch() : -1);
    const auto location = DB::collectionRegistry().constFind(collection);
    if (location != DB::collectionRegistry().cend()) {
        const QFileInfo file(location->databasePath);
        state += QLatin1Char('/') + QString::number(file.exists() ? file.lastModified().toMSecsSinceEpoch() : -1)
            + QLatin1Char('/') + QString::number(file.size());
    }
    return state;
}

} // namespace

int loadChip(const DB::ItemIndex &item, DB::ColorEntry &chip)
{
    chip.clear();
    if (!item.namesChip())
        return DB::StatusFailed;
    if (item.collectionUuid.isNull())
        return DB::StatusNullUuid;
    QHash<QUuid, QString> &known = misses();
    const auto miss = known.constFind(item.collectionUuid);
    if (miss != known.cend()) {
        if (*miss == folderState(item.collectionUuid))
            return DB::StatusNotRegistered;
        known.remove(item.collectionUuid);
    }
    const int status = DB::entryById(item.collectionUuid, item.colorId, chip);
    // Only a collection that cannot be reached is remembered; a chip that is
    // simply not in an available collection costs one cheap query.
    if (status == DB::StatusNotRegistered || status == DB::StatusCannotOpen)
        known.insert(item.collectionUuid, folderState(item.collectionUuid));
    return status;
}

qint64 displayNameIndex(const QUuid &collection)
{
    const QList<qint64> &order = CollectionSettings::nameOrders(collection).rowNameDisplayOrder;
    return order.isEmpty() ? -1 : order.first();
}

QString displayName(const DB::ColorEntry &chip, qint64 nameIndex)
{
    const QString name = nameIndex >= 0 && nameIndex <= INT_MAX ? chip.nameAt(int(nameIndex)) : QString();
    return name.isEmpty() ? chip.code : chip.code + QStringLiteral(" - ") + name;
}

QString displayName(const QUuid &collection, const DB::ColorEntry &chip)
{
    return displayName(chip, displayNameIndex(collection));
}

void forgetMisses()
{
    misses().clear();
}

} // namespace Tintor::PaletteChips
