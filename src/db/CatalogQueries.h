#pragma once

#include "db/ColorEntry.h"
#include "db/ColorForesightGroup.h"
#include "db/ColorPage.h"
#include "db/Texture.h"
#include "db/TextureMapEntry.h"
#include "engine/inc/Enumerations.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <QUuid>
#include <QVector>

// The data of the harmonizer and the catalog tabs: colour schemes of a chip
// or card, the products and product groups of a chip, the foresight groups,
// and the textures with their card pairings. Each empties its output first
// and returns a status of db/Status.h.
namespace Tintor::DB {

// The cards of a card's scheme of that kind, as the file lists them; cards
// that cannot be loaded are skipped.
int schemePages(const QUuid &uuid, int pageIndex, int schemeKind, QList<ColorPage> &pages);
// True also when the collection is unavailable.
bool pageHasComplementaryNeutralScheme(const QUuid &uuid, int pageIndex);

// Scheme chips of the chip at (pageIndex, rowIndex): -10 when the row index
// lies outside the card. Dramatic schemes exist only for neutral or white
// chips, complementary neutral ones (by row) only for rich chips; otherwise 0
// and no chips. The chips' rowIndex is their place within the scheme.
int schemeEntriesByRow(const QUuid &uuid, int schemeKind, int pageIndex, int rowIndex, QVector<ColorEntry> &entries);
// Every chip of each scheme card, card by card; pageOrder is the card's
// place in the scheme and rowIndex the chip's place on its card.
int schemeEntriesByPage(const QUuid &uuid, int schemeKind, int pageIndex, int rowIndex, QVector<ColorEntry> &entries);
// Wide contrast of scheme card 0, contrast of card 0, wide contrast of
// card 1, then the rest.
int pelvonSchemeEntries(const QUuid &uuid, int pageIndex, int rowIndex, QVector<ColorEntry> &entries);

// "NAME" or "NAME<separator>CODE" of each product of the chip `rowId`.
int productsOfEntry(const QUuid &uuid, qint64 rowId, QStringList &texts);
// The non-empty product codes of the chip.
int productCodesOfEntry(const QUuid &uuid, qint64 rowId, QStringList &texts);
int productGroupsOfEntry(const QUuid &uuid, qint64 rowId, QStringList &texts);

// The collection's groups and the shared ones (COLLECTION_ID 0) by ID, each
// with its entries sorted by order.
int foresightGroups(const QUuid &uuid, QHash<qint64, ColorForesightGroup> &groups);
// The collection's textures and the shared ones by ID.
int texturesOfCollection(const QUuid &uuid, QHash<qint64, Texture> &textures);
// The textures paired with the card of database ID `pageId`.
int textureMapOfPage(const QUuid &uuid, qint64 pageId, QVector<TextureMapEntry> &pairings);

} // namespace Tintor::DB
