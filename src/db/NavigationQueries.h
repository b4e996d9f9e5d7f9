#pragma once

#include "db/ColorEntry.h"
#include "db/ColorPage.h"

#include <QColor>
#include <QString>
#include <QUuid>
#include <QVector>

// The queries behind browsing a fan deck: a chip or a card, the next card
// that passes the mood and exterior filter, the first card of a wheel
// segment, the segments, and a chip of any enabled collection by colour or
// code. Each returns a status of db/Status.h. `mood` is 1 to 6, or 7 for all
// moods except offwhite and neutral; `exterior` keeps only exterior cards.
// A failed lookup leaves the caller's page unchanged.
namespace Tintor::DB {

// The chip with that row ID when one of the collection's cards holds it.
int entryById(const QUuid &uuid, qint64 rowId, ColorEntry &entry);
// The registered collection, in the file holding `uuid`, whose cards hold
// the row: `uuid` itself when they do. For rows shared groups name, such as
// trend colours, whose chip may be another collection's.
int owningCollection(const QUuid &uuid, qint64 rowId, QUuid &owner);
int entryAt(const QUuid &uuid, int pageIndex, int rowIndex, ColorEntry &entry);

int pageAt(const QUuid &uuid, int pageIndex, ColorPage &page);
int pageById(const QUuid &uuid, qint64 pageId, bool withEntries, ColorPage &page);

// The first card passing the filter at or after `segment`, wrapping to the
// lowest segment; -6 when no card passes.
int firstPageAtOrAfterSegment(const QUuid &uuid, int segment, int mood, bool exterior, ColorPage &page);
int firstSegmentAtOrAfter(const QUuid &uuid, int segment, int mood, bool exterior, int &outSegment);
int firstPageIndexAtOrAfterSegment(const QUuid &uuid, int segment, int mood, bool exterior, int &outPageIndex);

// The next (or previous) card passing the filter, wrapping around the deck.
// With mood 7 and the exterior filter, offwhite and neutral exterior cards
// are stepped onto as well.
int neighbourPage(const QUuid &uuid, int pageIndex, bool backward, int mood, bool exterior, ColorPage &page);

// Distinct segments of the collection's cards, ascending; -1 when none.
int segmentsOfCollection(const QUuid &uuid, QVector<int> &segments);

// True also when the collection is unavailable.
bool hasExteriorPageWithMood(const QUuid &uuid, int mood);

// The chip of the collection whose code equals `code` without regard to case
// (bound, never pasted); the lowest row ID wins. A blank code finds nothing.
int entryByCode(const QUuid &uuid, const QString &code, ColorEntry &entry);

// Searches every enabled collection of the file holding the system-wide
// collection; the chip's collection is collectionUuidOfDatabaseId(
// entry.collectionId).
int entryByRgbInEnabledCollections(const QColor &color, ColorEntry &entry);
// The code is compared without regard to case and bound, never pasted; a
// blank code finds nothing.
int entryByCodeInEnabledCollections(const QString &code, ColorEntry &entry);

} // namespace Tintor::DB
