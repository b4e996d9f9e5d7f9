#include "state/UserState.h"

#include "engine/inc/ModuleValues.h"

#include <QSettings>
#include <QVariant>

#include <functional>
#include <memory>

namespace Tintor::UserState {

namespace {

const QString kPaletteGroup = QStringLiteral("MyPalette");

QUuid &cachedLastUsedCollection()
{
    static QUuid uuid;
    return uuid;
}

std::unique_ptr<QSettings> openStore(const QString &group = QString())
{
    auto store = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             QStringLiteral("Vestrel"), settingsApplicationName());
    if (!group.isEmpty())
        store->beginGroup(group);
    return store;
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
    return openStore(group)->value(key);
}

void writeValue(const QString &group, const QString &key, const QVariant &value)
{
    openStore(group)->setValue(key, value);
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

QUuid lastUsedCollection()
{
    QUuid &cache = cachedLastUsedCollection();
    if (!cache.isNull())
        return cache;
    const auto store = openStore();
    if (store->contains(QStringLiteral("UuidOfLastUsedCollection")))
        cache = QUuid::fromString(store->value(QStringLiteral("UuidOfLastUsedCollection")).toString());
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
    return readInt(groupOf(collection), QStringLiteral("SegmentIndex"), 1);
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
    return readInt(groupOf(collection), QStringLiteral("PageIndex"), 1);
}

void setPageIndex(const QUuid &collection, int page)
{
    writeValue(groupOf(collection), QStringLiteral("PageIndex"), page);
}

int rowIndex(const QUuid &collection)
{
    return readInt(groupOf(collection), QStringLiteral("RowIndex"), 1);
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
    const auto store = openStore(kPaletteGroup);
    if (index.namesChip())
        store->setValue(cellKey(row, column, "Entry"), index.toText());
    else
        store->remove(cellKey(row, column, "Entry"));
}

bool myPaletteCellSelected(int row, int column)
{
    return readBool(kPaletteGroup, cellKey(row, column, "Selected"), false);
}

void setMyPaletteCellSelected(int row, int column, bool selected)
{
    const auto store = openStore(kPaletteGroup);
    store->remove(cellKey(row, column, "Selected"));
    if (selected)
        store->setValue(cellKey(row, column, "Selected"), true);
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

QString myPaletteLastSavePath()
{
    return readValue(kPaletteGroup, QStringLiteral("MyPaletteLastSavePath")).toString();
}

void setMyPaletteLastSavePath(const QString &path)
{
    writeValue(kPaletteGroup, QStringLiteral("MyPaletteLastSavePath"), path);
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
