#include "state/UserState.h"

#include "engine/inc/Logging.h"
#include "engine/inc/ModuleValues.h"
#include "platform/Platform.h"
#include "state/IniSettingsFormat.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QSettings>
#include <QVariant>

#include <functional>
#include <utility>

namespace Tintor::UserState {

namespace {

const QString kPaletteGroup = QStringLiteral("MyPalette");

// Segment, card and chip numbers beyond this are no position in any
// collection; they read as the default, so no caller's arithmetic on them
// can overflow.
constexpr int kIndexLimit = 1000000;

bool isPlausibleIndex(int index)
{
    return index >= -kIndexLimit && index <= kIndexLimit;
}

QUuid &cachedLastUsedCollection()
{
    static QUuid uuid;
    return uuid;
}

// One store object for the module: a read costs a look at the file's size
// and time, and the file is parsed again only when someone changed it.
// Opening a store per read parses the whole file each time, which grows
// with whatever the file holds.
QSettings &sharedStore()
{
    // Never destroyed: it must outlive every reader, and destroying it while
    // the toolkit unloads would touch its already freed statics.
    static QSettings *store = nullptr;
    if (!store) {
        store = new QSettings(
            IniSettingsFormat::format(), QSettings::UserScope, QStringLiteral("Vestrel"), settingsApplicationName());
    }
    return *store;
}

// After a failed write the store keeps the change in memory and every sync
// tries to write it again. Reads leave that to the next write for a while,
// so a full disk costs one attempt per write, not one per read.
constexpr qint64 kFailedWriteQuietMs = 2000;

using Platform::FileStamp;

const QString &storePath()
{
    static const QString path = sharedStore().fileName();
    return path;
}

// The stamp of the file as the store last read or wrote it.
FileStamp &syncedStamp()
{
    static FileStamp stamp = Platform::fileStamp(storePath());
    return stamp;
}

// Syncs only when the file changed since the store last read or wrote it:
// a sync costs several stats and time conversions, and reads come by the
// dozen per request.
QSettings &syncedStore()
{
    QSettings &store = sharedStore();
    const FileStamp now = Platform::fileStamp(storePath());
    if (now != syncedStamp() && !IniSettingsFormat::writeFailedWithin(kFailedWriteQuietMs)) {
        store.sync();
        syncedStamp() = Platform::fileStamp(storePath());
    }
    return store;
}

struct DeferredWrites
{
    bool active = false;
    // Full key to value; an invalid value removes the key.
    QMap<QString, QVariant> values;
};

DeferredWrites &deferredWrites()
{
    static DeferredWrites writes;
    return writes;
}

// The toolkit waits up to half a minute for a lock file it cannot take. A
// host that crashed while writing leaves one behind, with its own dead
// process id or with nothing readable in it.
constexpr int kLockWaitMs = 1000;

// After one refusal the following writes do not wait again for the same
// lock, so a request with many writes stalls once, not once per write; the
// toolkit's own stale time later lets a forgotten lock be taken over.
constexpr int kRefusalMemoryMs = 30000;

bool storeMayBeWritten(const QSettings &store)
{
    const QString lockPath = store.fileName() + QStringLiteral(".lock");
    static QDateTime refusedLock;
    static QElapsedTimer sinceRefusal;
    const QFileInfo lockInfo(lockPath);
    if (refusedLock.isValid() && !sinceRefusal.hasExpired(kRefusalMemoryMs) && lockInfo.exists()
        && lockInfo.lastModified() == refusedLock) {
        qCDebug(lcHuelink) << "User state still locked - left unchanged for this call";
        return false;
    }
    QLockFile lock(lockPath);
    // Any other failure (a folder not made yet) is the store's own to meet.
    if (lock.tryLock(kLockWaitMs) || lock.error() != QLockFile::LockFailedError)
        return true;
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock.getLockInfo(&pid, &host, &application)) {
        lock.removeStaleLockFile();
        if (lock.tryLock(0))
            return true;
    }
    qCDebug(lcHuelink) << "User state is locked by process" << pid << "- left unchanged for this call";
    refusedLock = lockInfo.lastModified();
    sinceRefusal.start();
    return false;
}

QString fullKey(const QString &group, const QString &key)
{
    return group.isEmpty() ? key : group + QLatin1Char('/') + key;
}

QString groupOf(const QUuid &collection)
{
    return collection.toString(QUuid::WithBraces);
}

QString cellKey(int row, int column, const char *suffix)
{
    return QStringLiteral("(%1,%2).%3").arg(row).arg(column).arg(QLatin1String(suffix));
}

QVariant readValue(const QString &group, const QString &key)
{
    const QString full = fullKey(group, key);
    const DeferredWrites &deferred = deferredWrites();
    if (deferred.active) {
        const auto pending = deferred.values.constFind(full);
        if (pending != deferred.values.cend())
            return *pending;
    }
    return syncedStore().value(full);
}

// Puts `changes` on disk at once, unless another live host holds the
// store's lock; then this call changes nothing.
void writeChanges(const QMap<QString, QVariant> &changes)
{
    QSettings &store = syncedStore();
    if (!storeMayBeWritten(store))
        return;
    for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
        if (it->isValid())
            store.setValue(it.key(), *it);
        else
            store.remove(it.key());
    }
    store.sync();
    syncedStamp() = Platform::fileStamp(storePath());
}

// An invalid value removes the key.
void storeValue(const QString &full, const QVariant &value)
{
    DeferredWrites &deferred = deferredWrites();
    if (deferred.active)
        deferred.values.insert(full, value);
    else
        writeChanges({{full, value}});
}

void writeValue(const QString &group, const QString &key, const QVariant &value)
{
    storeValue(fullKey(group, key), value);
}

// Integer read: the default when missing, unconvertible or not accepted.
int readInt(const QString &group, const QString &key, int fallback,
            const std::function<bool(int)> &accept = nullptr)
{
    const QVariant value = readValue(group, key);
    if (!value.isValid())
        return fallback;
    bool converted = false;
    const int number = value.toString().trimmed().toInt(&converted);
    if (!converted || (accept && !accept(number)))
        return fallback;
    return number;
}

bool readBool(const QString &group, const QString &key, bool fallback)
{
    const QVariant value = readValue(group, key);
    if (!value.isValid())
        return fallback;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    const QString text = value.toString().trimmed().toLower();
    if (text == QLatin1String("true"))
        return true;
    if (text == QLatin1String("false"))
        return false;
    bool converted = false;
    const qlonglong number = text.toLongLong(&converted);
    return converted ? number != 0 : fallback;
}

} // namespace

void deferWrites()
{
    deferredWrites().active = true;
}

void writeDeferred()
{
    DeferredWrites &deferred = deferredWrites();
    deferred.active = false;
    if (deferred.values.isEmpty())
        return;
    const QMap<QString, QVariant> changes = std::exchange(deferred.values, {});
    writeChanges(changes);
}

QUuid lastUsedCollection()
{
    QUuid &cache = cachedLastUsedCollection();
    if (!cache.isNull())
        return cache;
    const QVariant stored = readValue(QString(), QStringLiteral("UuidOfLastUsedCollection"));
    if (stored.isValid())
        cache = QUuid::fromString(stored.toString());
    return cache;
}

void setLastUsedCollection(const QUuid &uuid)
{
    writeValue(QString(), QStringLiteral("UuidOfLastUsedCollection"), uuid.toString(QUuid::WithBraces));
    cachedLastUsedCollection() = uuid;
}

void forgetCachedLastUsedCollection()
{
    cachedLastUsedCollection() = QUuid();
}

qint64 hostApplicationPid()
{
    const QVariant value = readValue(QString(), QStringLiteral("HostApplicationPID"));
    return value.toString().toLongLong();
}

void setHostApplicationPid(qint64 pid)
{
    writeValue(QString(), QStringLiteral("HostApplicationPID"), pid);
}

int segmentIndex(const QUuid &collection)
{
    return readInt(groupOf(collection), QStringLiteral("SegmentIndex"), 1, isPlausibleIndex);
}

void setSegmentIndex(const QUuid &collection, int segment)
{
    writeValue(groupOf(collection), QStringLiteral("SegmentIndex"), segment);
}

int moodFilter(const QUuid &collection)
{
    return readInt(groupOf(collection), QStringLiteral("MoodFilter"), 7,
                   [](int mood) { return mood >= 1 && mood <= 7; });
}

void setMoodFilter(const QUuid &collection, int mood)
{
    writeValue(groupOf(collection), QStringLiteral("MoodFilter"), mood);
}

bool exteriorColors(const QUuid &collection)
{
    return readBool(groupOf(collection), QStringLiteral("ExteriorColors"), false);
}

void setExteriorColors(const QUuid &collection, bool on)
{
    writeValue(groupOf(collection), QStringLiteral("ExteriorColors"), on);
}

bool showMto(const QUuid &collection)
{
    return readBool(groupOf(collection), QStringLiteral("ShowMto"), false);
}

void setShowMto(const QUuid &collection, bool on)
{
    writeValue(groupOf(collection), QStringLiteral("ShowMto"), on);
}

int pageIndex(const QUuid &collection)
{
    return readInt(groupOf(collection), QStringLiteral("PageIndex"), 1, isPlausibleIndex);
}

void setPageIndex(const QUuid &collection, int page)
{
    writeValue(groupOf(collection), QStringLiteral("PageIndex"), page);
}

int rowIndex(const QUuid &collection)
{
    return readInt(groupOf(collection), QStringLiteral("RowIndex"), 1, isPlausibleIndex);
}

void setRowIndex(const QUuid &collection, int row)
{
    writeValue(groupOf(collection), QStringLiteral("RowIndex"), row);
}

int tabPageIndex(const QUuid &collection)
{
    return readInt(groupOf(collection), QStringLiteral("TabPageIndex"), 0,
                   [](int page) { return page == 1 || page == 2 || page == 4 || page == 8; });
}

void setTabPageIndex(const QUuid &collection, int tabPage)
{
    writeValue(groupOf(collection), QStringLiteral("TabPageIndex"), tabPage);
}

int schemeKind(const QUuid &collection)
{
    return readInt(groupOf(collection), QStringLiteral("SchemeKind"), 0,
                   [](int kind) { return kind >= 1 && kind <= 9; });
}

void setSchemeKind(const QUuid &collection, int kind)
{
    writeValue(groupOf(collection), QStringLiteral("SchemeKind"), kind);
}

int schemeNeutralSubKind(const QUuid &collection)
{
    return readInt(groupOf(collection), QStringLiteral("SchemeNeutralSubKind"), 7,
                   [](int kind) { return kind >= 7 && kind <= 9; });
}

void setSchemeNeutralSubKind(const QUuid &collection, int subKind)
{
    writeValue(groupOf(collection), QStringLiteral("SchemeNeutralSubKind"), subKind);
}

bool colorForesightGroupOpenState(const QUuid &collection, qint64 groupId, bool defaultOpen)
{
    return readBool(groupOf(collection), QStringLiteral("ColorForesightGroup_%1_OpenState").arg(groupId),
                    defaultOpen);
}

void setColorForesightGroupOpenState(const QUuid &collection, qint64 groupId, bool open)
{
    writeValue(groupOf(collection), QStringLiteral("ColorForesightGroup_%1_OpenState").arg(groupId), open);
}

DB::ItemIndex myPaletteEntry(int row, int column)
{
    return DB::ItemIndex::fromText(readValue(kPaletteGroup, cellKey(row, column, "Entry")).toString());
}

void setMyPaletteEntry(int row, int column, const DB::ItemIndex &index)
{
    storeValue(fullKey(kPaletteGroup, cellKey(row, column, "Entry")),
               index.namesChip() ? QVariant(index.toText()) : QVariant());
}

bool myPaletteCellSelected(int row, int column)
{
    return readBool(kPaletteGroup, cellKey(row, column, "Selected"), false);
}

void setMyPaletteCellSelected(int row, int column, bool selected)
{
    storeValue(fullKey(kPaletteGroup, cellKey(row, column, "Selected")), selected ? QVariant(true) : QVariant());
}

bool myPaletteGridVisible()
{
    return readBool(kPaletteGroup, QStringLiteral("MyPaletteGridVisible"), true);
}

void setMyPaletteGridVisible(bool visible)
{
    writeValue(kPaletteGroup, QStringLiteral("MyPaletteGridVisible"), visible);
}

bool myPaletteSaveFileFormat()
{
    return readInt(kPaletteGroup, QStringLiteral("MyPaletteSaveFileFormat"), 0) == 1;
}

void setMyPaletteSaveFileFormat(int format)
{
    writeValue(kPaletteGroup, QStringLiteral("MyPaletteSaveFileFormat"), format);
}

QString myPaletteSwatchFormat()
{
    return readValue(kPaletteGroup, QStringLiteral("MyPaletteSwatchFormat")).toString();
}

void setMyPaletteSwatchFormat(const QString &extension)
{
    writeValue(kPaletteGroup, QStringLiteral("MyPaletteSwatchFormat"), extension);
}

QString myPaletteLastSavePath()
{
    return readValue(kPaletteGroup, QStringLiteral("MyPaletteLastSavePath")).toString();
}

void setMyPaletteLastSavePath(const QString &path)
{
    writeValue(kPaletteGroup, QStringLiteral("MyPaletteLastSavePath"), path);
}

QString myPaletteDescription()
{
    return readValue(kPaletteGroup, QStringLiteral("MyPaletteDescription")).toString();
}

void setMyPaletteDescription(const QString &description)
{
    writeValue(kPaletteGroup, QStringLiteral("MyPaletteDescription"), description);
}

int myPaletteFullBackgroundColor()
{
    return readInt(kPaletteGroup, QStringLiteral("MyPaletteFullBackgroundColor"), 176);
}

void setMyPaletteFullBackgroundColor(int grey)
{
    writeValue(kPaletteGroup, QStringLiteral("MyPaletteFullBackgroundColor"), grey);
}

} // namespace Tintor::UserState
