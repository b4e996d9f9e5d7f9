#pragma once

#include "db/ItemIndex.h"

#include <QString>
#include <QUuid>

// What the interface remembers between requests and runs. Every call reads
// or writes one key of the store as it is on disk now (a write is on disk
// when the call returns, unless writes are deferred), so all views and hosts
// see the same values without notification; a read parses the file again
// only when its size or modification time changed. A store another live
// host keeps locked is left unchanged.
namespace Tintor::UserState {

// From now on writes are kept in memory, where reads see them, until
// writeDeferred(): a request's start-up writes then cost one locked write
// after its window is painted instead of one each before.
void deferWrites();
// Writes what was deferred in one write and ends the deferral; nothing when
// nothing was deferred.
void writeDeferred();

inline constexpr int kPaletteRows = 4;
inline constexpr int kPaletteColumns = 6;

QUuid lastUsedCollection();
void setLastUsedCollection(const QUuid &uuid);
// Forgets the cached last used collection (the store keeps it).
void forgetCachedLastUsedCollection();

qint64 hostApplicationPid();
void setHostApplicationPid(qint64 pid);

int segmentIndex(const QUuid &collection);
void setSegmentIndex(const QUuid &collection, int segment);
int moodFilter(const QUuid &collection);
void setMoodFilter(const QUuid &collection, int mood);
bool exteriorColors(const QUuid &collection);
void setExteriorColors(const QUuid &collection, bool on);
bool showMto(const QUuid &collection);
void setShowMto(const QUuid &collection, bool on);
int pageIndex(const QUuid &collection);
void setPageIndex(const QUuid &collection, int page);
int rowIndex(const QUuid &collection);
void setRowIndex(const QUuid &collection, int row);
int tabPageIndex(const QUuid &collection);
void setTabPageIndex(const QUuid &collection, int tabPage);
int schemeKind(const QUuid &collection);
void setSchemeKind(const QUuid &collection, int kind);
int schemeNeutralSubKind(const QUuid &collection);
void setSchemeNeutralSubKind(const QUuid &collection, int subKind);
bool colorForesightGroupOpenState(const QUuid &collection, qint64 groupId, bool defaultOpen);
void setColorForesightGroupOpenState(const QUuid &collection, qint64 groupId, bool open);

DB::ItemIndex myPaletteEntry(int row, int column);
// An index that names no chip removes the cell's entry key.
void setMyPaletteEntry(int row, int column, const DB::ItemIndex &index);
bool myPaletteCellSelected(int row, int column);
// Unselected cells have no selection key at all.
void setMyPaletteCellSelected(int row, int column, bool selected);
bool myPaletteGridVisible();
void setMyPaletteGridVisible(bool visible);
// True exactly when the stored format is 1 (text list).
bool myPaletteSaveFileFormat();
void setMyPaletteSaveFileFormat(int format);
// The file type chosen last in the swatch export dialog, as its extension
// ("aco", "ase", ...); empty when none was chosen yet.
QString myPaletteSwatchFormat();
void setMyPaletteSwatchFormat(const QString &extension);
QString myPaletteLastSavePath();
void setMyPaletteLastSavePath(const QString &path);
QString myPaletteDescription();
void setMyPaletteDescription(const QString &description);
int myPaletteFullBackgroundColor();
void setMyPaletteFullBackgroundColor(int grey);

} // namespace Tintor::UserState
