#pragma once

#include "db/ColorEntry.h"
#include "db/ItemIndex.h"

#include <QString>
#include <QUuid>

// Loading the chips My Palette and its full view name. A palette outlives
// collections: a cell may name a collection that is no longer installed.
// Loading such a chip would rescan the collection folder every time (the
// registry looks for an unknown UUID on disk), and the full view loads
// every cell on every paint, so a miss is remembered until the collection
// folder changes.
namespace Tintor::PaletteChips {

// Status of db/Status.h: 0 when the chip was loaded into `chip`.
int loadChip(const DB::ItemIndex &item, DB::ColorEntry &chip);

// "code - name" with the first name of the collection's row-name display
// order, or the code alone when that name is empty or there is no order.
QString displayName(const QUuid &collection, const DB::ColorEntry &chip);
// The same in two steps, for naming many chips of one collection: the name
// slot (-1 for none) and the name built with it.
qint64 displayNameIndex(const QUuid &collection);
QString displayName(const DB::ColorEntry &chip, qint64 nameIndex);

// Forgets every remembered miss.
void forgetMisses();

} // namespace Tintor::PaletteChips
