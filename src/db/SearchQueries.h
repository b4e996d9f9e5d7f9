#pragma once

#include "color/ColorScience.h"
#include "db/ColorEntry.h"

#include <QColor>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVector>

#include <vector>

// Finding colours by what the user types or measures: the search box's
// completion list, the phrase search, the near-colour lookup, the candidates
// of the nearest-colour matcher and the Capsure lookups. Which names are
// searched comes from the name orders of CollectionSettings, which must be
// loaded for the collection first; codes are always searched. Matching is
// exact equality after upper-casing both sides.
namespace Tintor::DB {

// Every searched name and code of the collection, once each, none empty,
// sorted without regard to case; -1 when there are none.
int completionEntries(const QUuid &uuid, QStringList &entries);

// Locates the card or chip whose searched name or code equals `phrase`.
// `outRowIndex` stays -1 when a card name matched; `outMood` is 0 unless the
// card's mood is 1 to 6. -6 when nothing matched or the phrase is blank.
int findPhrase(const QUuid &uuid, const QString &phrase, int &outPageIndex, int &outRowIndex, int &outSegment,
    int &outMood, bool &outExterior);

// A chip within 2 of each RGB channel (inclusive); the first found wins.
int entryNearRgb(const QUuid &uuid, const QColor &color, ColorEntry &entry);

// Lab of every chip of the collection with its row ID as the reference, for
// findNearestColors.
// Chips whose Lab is missing, not a number or not finite are left out and
// counted in `skipped`.
int matchCandidates(const QUuid &uuid, std::vector<LabCandidate> &candidates, int *skipped = nullptr);

// IDs of the Capsure-enabled collections, lowest priority number first.
int capsureCollectionIds(QVector<qint64> &ids);

// Chips of the Capsure-enabled collections whose searched name or code equals
// `text` (a measured object's name, bound, never pasted), chips of the
// highest-priority collection first. 0 also when nothing matched; a blank
// text matches nothing.
int findCapsureEntries(const QString &text, QVector<ColorEntry> &entries);

} // namespace Tintor::DB
