#include "db/CollectionSettings.h"

#include "db/CollectionLookups.h"
#include "db/CollectionRegistry.h"
#include "db/NavigationQueries.h"
#include "db/QueryMemo.h"
#include "db/QuerySupport.h"
#include "db/Schema.h"
#include "db/Status.h"

#include <QHash>
#include <QSqlQuery>
#include <QVariant>

#include <cmath>

namespace Tintor {

namespace {

struct SettingsCache {
    QUuid collection;
    // Raw values as read (conversion happens on every call), and derived
    // values under keys of their own.
    QHash<QString, QVariant> values;
};

SettingsCache &settingsCache()
{
    static SettingsCache cache;
    return cache;
}

// One entry per collection, so readers of different collections never
// replace each other's lists.
QHash<QUuid, NameOrders> &loadedNameOrders()
{
    static QHash<QUuid, NameOrders> loaded;
    return loaded;
}

QString cacheKey(const QString &key)
{
    return key.toLower();
}

// Makes `uuid` the cached collection and hands out its cache.
QHash<QString, QVariant> &cacheFor(const QUuid &uuid)
{
    SettingsCache &cache = settingsCache();
    if (cache.collection != uuid) {
        cache.collection = uuid;
        cache.values.clear();
    }
    return cache.values;
}

QVariant cachedDerived(const QUuid &uuid, const QString &key)
{
    const QVariant value = cacheFor(uuid).value(cacheKey(key));
    return value.isNull() ? QVariant() : value;
}

void storeDerived(const QUuid &uuid, const QString &key, const QVariant &value)
{
    cacheFor(uuid).insert(cacheKey(key), value);
}

// The raw value of a setting: from the cache, else from the collection (the
// older key only when the key is missing). Missing settings are not cached,
// and nothing is ever cached under the older key.
QVariant cachedSetting(const QUuid &uuid, const QString &key, const QString &olderKey = QString())
{
    QHash<QString, QVariant> &values = cacheFor(uuid);
    const auto it = values.constFind(cacheKey(key));
    if (it != values.cend() && !it->isNull())
        return *it;
    QVariant value = DB::settingValue(uuid, key, QVariant());
    if (value.isNull() && !olderKey.isEmpty())
        value = DB::settingValue(uuid, olderKey, QVariant());
    if (value.isNull())
        return QVariant();
    values.insert(cacheKey(key), value);
    return value;
}

int integerOf(const QVariant &value)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    return ok ? number : 0;
}

bool isNonZeroInteger(const QVariant &value)
{
    return !value.isNull() && integerOf(value) != 0;
}

int intSetting(const QUuid &uuid, const QString &key, int defaultValue)
{
    const QVariant value = cachedSetting(uuid, key);
    return value.isNull() ? defaultValue : integerOf(value);
}

// A size is only taken when both sides are within what the views can draw;
// a file asking for more would have the host allocate it.
bool isDrawableSize(const QSize &size)
{
    return size.width() >= 1 && size.height() >= 1 && size.width() <= CollectionSettings::kMaxImageSide
        && size.height() <= CollectionSettings::kMaxImageSide;
}

// The number of the first name equal (without regard to case) to the text,
// 0 when none; `names` pairs texts with numbers.
template <std::size_t N> int numberOfName(const QString &text, const std::pair<const char *, int> (&names)[N])
{
    for (const auto &[name, number] : names) {
        if (text.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return number;
    }
    return 0;
}

template <std::size_t N>
int namedSetting(const QUuid &uuid, const QString &key, const std::pair<const char *, int> (&names)[N])
{
    const QVariant value = cachedSetting(uuid, key);
    return value.isNull() ? 0 : numberOfName(value.toString(), names);
}

// Reads a list setting (from the cache when it holds the converted list),
// replaces recognised texts by their numbers and caches the result.
template <std::size_t N>
QVariantList convertedListSetting(const QUuid &uuid, const QString &key, const std::pair<const char *, int> (&names)[N],
    const QVariantList &defaultList)
{
    const QVariant cached = cachedDerived(uuid, key);
    QVariantList list = cached.typeId() == QMetaType::QVariantList ? cached.toList() : DB::settingValues(uuid, key);
    for (QVariant &element : list) {
        if (element.typeId() != QMetaType::QString)
            continue;
        const int number = numberOfName(element.toString().trimmed(), names);
        if (number != 0)
            element = number;
    }
    if (list.isEmpty())
        list = defaultList;
    if (!list.isEmpty())
        storeDerived(uuid, key, list);
    return list;
}

QSize sizeFromText(const QString &text, bool *ok)
{
    const QStringList parts = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    *ok = false;
    if (parts.size() != 2)
        return QSize();
    bool widthOk = false;
    bool heightOk = false;
    const int width = parts.at(0).toInt(&widthOk);
    const int height = parts.at(1).toInt(&heightOk);
    *ok = widthOk && heightOk && isDrawableSize(QSize(width, height));
    return QSize(width, height);
}

const std::pair<const char *, int> kCardTypes[] = { { "normal", CardNormal }, { "pelvon", CardPelvon } };
const std::pair<const char *, int> kOrientations[] = { { "CW", SegmentClockwise }, { "CCW", SegmentCounterClockwise } };
const std::pair<const char *, int> kCardModes[] = { { "ModeColorToColor", ModeColorToColor },
    { "ModeColorToCard", ModeColorToCard }, { "ModeCardToCard", ModeCardToCard } };
const std::pair<const char *, int> kMoodModes[]
    = { { "MoodModeNormal", MoodModeNormal }, { "MoodModeWarmFreshEquals", MoodModeWarmFreshEquals } };
const std::pair<const char *, int> kProductGroupsModes[] = { { "Products", Products } };
const std::pair<const char *, int> kTabBarPages[]
    = { { "PageOfColorSchemes", PageOfColorSchemes }, { "PageOfProducts", PageOfProducts },
          { "PageOfColorForesight", PageOfColorForesight }, { "PageOfTextures", PageOfTextures } };
const std::pair<const char *, int> kSchemeKinds[] = { { "harmonic", SchemeHarmonic }, { "contrast", SchemeContrast },
    { "wide contrast", SchemeWideContrast }, { "dynamic", SchemeDynamic }, { "dramatic", SchemeDramatic },
    { "neutral", SchemeNeutral }, { "tonal neutral", SchemeTonalNeutral },
    { "complementary neutral", SchemeComplementaryNeutral }, { "natural neutral", SchemeNaturalNeutral } };

QList<qint64> nameOrderOf(QSqlDatabase &database, qint64 collectionId, const QString &key)
{
    QList<qint64> order;
    QSqlQuery query(database);
    // The key is bound: written as a double-quoted literal it would be taken
    // for a column name by any SQLite built without that quirk.
    if (!DB::QuerySupport::runQuery(query,
            QStringLiteral("SELECT     S.VALUE FROM     SETTING S WHERE     "
                           "S.COLLECTION_ID = %1 AND     S.NAME = ? COLLATE NOCASE "
                           "ORDER BY     S.VALUE_INDEX ASC")
                .arg(collectionId),
            { key }))
        return order;
    while (query.next()) {
        bool ok = false;
        const qint64 index = query.value(0).toLongLong(&ok);
        order.append(ok ? index : 0);
    }
    return order;
}

} // namespace

void CollectionSettings::setCurrentCollection(const QUuid &uuid)
{
    cacheFor(uuid);
}

QUuid CollectionSettings::currentCollection()
{
    return settingsCache().collection;
}

void CollectionSettings::loadNameOrders(const QUuid &uuid)
{
    QHash<QUuid, NameOrders> &loaded = loadedNameOrders();
    loaded.remove(uuid);
    int status = DB::StatusOk;
    QSqlDatabase database = DB::collectionDatabase(uuid, &status);
    if (status != DB::StatusOk)
        return;
    NameOrders orders;
    // Every engine start loads them; a later host call finds them kept.
    DB::QueryMemo::cached<NameOrders>(database, QStringLiteral("nameOrders %1").arg(uuid.toString()), orders,
                                      [&](NameOrders &read) {
        const qint64 collectionId = DB::collectionDatabaseId(uuid);
        read.pageNameSearchOrder = nameOrderOf(database, collectionId, QStringLiteral("page.name.search.order"));
        read.pageNameDisplayOrder = nameOrderOf(database, collectionId, QStringLiteral("page.name.display.order"));
        read.pageExtraDisplayOrder = nameOrderOf(database, collectionId, QStringLiteral("page.extra.display.order"));
        read.rowNameSearchOrder = nameOrderOf(database, collectionId, QStringLiteral("row.name.search.order"));
        read.rowNameDisplayOrder = nameOrderOf(database, collectionId, QStringLiteral("row.name.display.order"));
        read.rowExtraDisplayOrder = nameOrderOf(database, collectionId, QStringLiteral("row.extra.display.order"));
        return int(DB::StatusOk);
    });
    loaded.insert(uuid, orders);
}

const NameOrders &CollectionSettings::nameOrders(const QUuid &uuid)
{
    static const NameOrders none;
    QHash<QUuid, NameOrders> &loaded = loadedNameOrders();
    auto it = loaded.constFind(uuid);
    if (it == loaded.cend()) {
        loadNameOrders(uuid);
        it = loaded.constFind(uuid);
    }
    // An unavailable collection has empty lists and is asked again next time.
    return it == loaded.cend() ? none : *it;
}

int CollectionSettings::maxChipsOnAPage(const QUuid &uuid)
{
    const int chips = intSetting(uuid, QStringLiteral("max.chips.on.a.page"), 0);
    return chips >= 0 && chips <= kMaxChipsOnAPage ? chips : 0;
}

CardType CollectionSettings::cardType(const QUuid &uuid)
{
    return static_cast<CardType>(namedSetting(uuid, QStringLiteral("card.type"), kCardTypes));
}

int CollectionSettings::numberOfSegments(const QUuid &uuid)
{
    // The wheel walks every segment when it is laid out and when it steps.
    const int segments = intSetting(uuid, QStringLiteral("num.of.segments"), 12);
    return segments <= kMaxSegments ? segments : 12;
}

double CollectionSettings::firstSegmentAngle(const QUuid &uuid)
{
    const QVariant value = cachedSetting(uuid, QStringLiteral("first.segment.angle"));
    bool ok = false;
    const double angle = value.toDouble(&ok);
    // Brought into one turn here, so no reader walks towards it in steps.
    return ok && std::isfinite(angle) ? std::fmod(angle, 360.0) : 0.0;
}

SegmentOrientation CollectionSettings::segmentIncrementOrientation(const QUuid &uuid)
{
    return static_cast<SegmentOrientation>(
        namedSetting(uuid, QStringLiteral("segment.increment.orientation"), kOrientations));
}

CardMode CollectionSettings::cardMode(const QUuid &uuid)
{
    return static_cast<CardMode>(namedSetting(uuid, QStringLiteral("mode.card"), kCardModes));
}

MoodMode CollectionSettings::moodMode(const QUuid &uuid)
{
    return static_cast<MoodMode>(namedSetting(uuid, QStringLiteral("mode.mood"), kMoodModes));
}

ProductGroupsMode CollectionSettings::productGroupsMode(const QUuid &uuid)
{
    return static_cast<ProductGroupsMode>(
        namedSetting(uuid, QStringLiteral("product.groups.mode"), kProductGroupsModes));
}

QString CollectionSettings::productGroupSeparator(const QUuid &uuid)
{
    return stringSetting(
        uuid, QStringLiteral("product.group.productname.productcode.separator:string"), QStringLiteral(": "));
}

bool CollectionSettings::hasExteriorFilter(const QUuid &uuid)
{
    return boolSetting(uuid, QStringLiteral("has.exterior.filter"), QString(), true);
}

bool CollectionSettings::isMoodVisible(const QUuid &uuid)
{
    return boolSetting(uuid, QStringLiteral("mood.visible"), QString(), true);
}

bool CollectionSettings::hasColorSchemesPage(const QUuid &uuid)
{
    return boolSetting(uuid, QStringLiteral("has.color.schemes.page"), QString(), false);
}

int CollectionSettings::availableTabBarPages(const QUuid &uuid)
{
    const QString key = QStringLiteral("availableTabBarPages");
    const QVariant cached = cachedDerived(uuid, key);
    if (!cached.isNull())
        return cached.toInt();
    // Read past the cache: the system-wide collection's value must not
    // switch the cache away from `uuid`.
    int pages = PageOfColorSchemes;
    if (isNonZeroInteger(DB::settingValue(uuid, QStringLiteral("has.product.groups.page"))))
        pages |= PageOfProducts;
    if (isNonZeroInteger(DB::settingValue(DB::Schema::systemWideCollectionUuid(), QStringLiteral("has.textures.page")))
        && isNonZeroInteger(DB::settingValue(uuid, QStringLiteral("has.textures.page"))))
        pages |= PageOfTextures;
    if (isNonZeroInteger(DB::settingValue(uuid, QStringLiteral("has.color.foresight.page"))))
        pages |= PageOfColorForesight;
    storeDerived(uuid, key, pages);
    return pages;
}

QList<int> CollectionSettings::tabBarPages(const QUuid &uuid)
{
    const QVariantList list = convertedListSetting(uuid, QStringLiteral("tab.bar.page"), kTabBarPages,
        { PageOfColorSchemes, PageOfProducts, PageOfColorForesight, PageOfTextures });
    QList<int> pages { PageOfColorSchemes };
    for (const QVariant &element : list) {
        const int page = integerOf(element);
        if (page != PageOfColorSchemes)
            pages.append(page);
    }
    return pages;
}

QList<int> CollectionSettings::schemeKinds(const QUuid &uuid)
{
    const QVariantList list = convertedListSetting(uuid, QStringLiteral("schemes"), kSchemeKinds, {});
    QList<int> kinds;
    for (const QVariant &element : list)
        kinds.append(integerOf(element));
    return kinds;
}

QSize CollectionSettings::foresightChipSize(const QUuid &uuid)
{
    const QString key = QStringLiteral("foresightChipSize");
    const QVariant cached = cachedDerived(uuid, key);
    if (cached.typeId() == QMetaType::QSize)
        return cached.toSize();
    bool widthOk = false;
    bool heightOk = false;
    const int width = DB::settingValue(uuid, QStringLiteral("widget.color.foresight.chip.width")).toInt(&widthOk);
    const int height = DB::settingValue(uuid, QStringLiteral("widget.color.foresight.chip.height")).toInt(&heightOk);
    if (!widthOk || !heightOk || !isDrawableSize(QSize(width, height)))
        return QSize(64, 48);
    storeDerived(uuid, key, QSize(width, height));
    return QSize(width, height);
}

QSize CollectionSettings::textureSize(const QUuid &uuid, const QSize &defaultSize)
{
    const QString key = QStringLiteral("textureSize");
    const QVariant cached = cachedDerived(uuid, key);
    if (cached.typeId() == QMetaType::QSize)
        return cached.toSize();
    const QString settingKey = QStringLiteral("texture.size");
    QVariant value = DB::settingValue(uuid, settingKey);
    if (value.isNull())
        value = DB::settingValue(DB::Schema::systemWideCollectionUuid(), settingKey);
    if (value.isNull())
        return defaultSize;
    bool ok = false;
    const QSize size = sizeFromText(value.toString(), &ok);
    if (!ok)
        return defaultSize;
    storeDerived(uuid, key, size);
    return size;
}

QList<double> CollectionSettings::cie2000DeltaIntervals(const QUuid &uuid)
{
    const QString key = QStringLiteral("cie2000DeltaIntervals");
    const QVariant cached = cachedDerived(uuid, key);
    QList<double> intervals;
    if (cached.typeId() == QMetaType::QVariantList) {
        for (const QVariant &element : cached.toList())
            intervals.append(element.toDouble());
        return intervals;
    }
    const QVariant value = DB::settingValue(uuid, QStringLiteral("cie2000.delta.intervals"));
    if (value.isNull())
        return intervals;
    QVariantList stored;
    for (const QString &part : value.toString().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const double number = part.toDouble();
        if (std::isfinite(number) && number > 0) {
            intervals.append(number);
            stored.append(number);
        }
    }
    if (!stored.isEmpty())
        storeDerived(uuid, key, stored);
    return intervals;
}

bool CollectionSettings::hasPageWithExteriorMood(const QUuid &uuid, int mood)
{
    const QString key = QStringLiteral("hasPageWithExteriorMood:%1").arg(mood);
    const QVariant cached = cachedDerived(uuid, key);
    if (!cached.isNull())
        return cached.toBool();
    const bool has = DB::hasExteriorPageWithMood(uuid, mood);
    storeDerived(uuid, key, has);
    return has;
}

bool CollectionSettings::tooltipShowsCollectionName(const QUuid &uuid)
{
    return boolSetting(uuid, QStringLiteral("color.tooltip.show.collection.name"), QString(), false);
}

bool CollectionSettings::tooltipShowsPageName(const QUuid &uuid)
{
    return boolSetting(
        uuid, QStringLiteral("color.tooltip.show.page.name"), QStringLiteral("color.tooltip.show.card.name"), false);
}

bool CollectionSettings::tooltipShowsRowCode(const QUuid &uuid)
{
    return boolSetting(
        uuid, QStringLiteral("color.tooltip.show.row.code"), QStringLiteral("color.tooltip.show.color.code"), false);
}

bool CollectionSettings::tooltipShowsRowName(const QUuid &uuid)
{
    return boolSetting(
        uuid, QStringLiteral("color.tooltip.show.row.name"), QStringLiteral("color.tooltip.show.color.name"), false);
}

bool CollectionSettings::tooltipShowsAuxiliaryInfo(const QUuid &uuid)
{
    return boolSetting(uuid, QStringLiteral("color.tooltip.show.row.auxiliary.info"),
        QStringLiteral("color.tooltip.show.auxiliary"), false);
}

bool CollectionSettings::tooltipShowsPageIndex(const QUuid &uuid)
{
    return boolSetting(uuid, QStringLiteral("color.tooltip.show.page.index"), QString(), false);
}

bool CollectionSettings::tooltipShowsRowIndex(const QUuid &uuid)
{
    return boolSetting(uuid, QStringLiteral("color.tooltip.show.row.row.index"), QString(), false);
}

bool CollectionSettings::exportAppendsProductCode(const QUuid &uuid)
{
    return boolSetting(uuid, QStringLiteral("export.color.name.append.product.code"), QString(), false);
}

bool CollectionSettings::isCapsureEnabled(const QUuid &uuid)
{
    return boolSetting(uuid, QStringLiteral("capsure.enabled"), QString(), false);
}

QString CollectionSettings::capsureFolderToWatch(const QUuid &uuid)
{
    return stringSetting(uuid, QStringLiteral("capsure.folder.to.watch.windows"), QString());
}

QString CollectionSettings::capsureFileNameToWatch(const QUuid &uuid)
{
    return stringSetting(uuid, QStringLiteral("capsure.filename.to.watch"), QString());
}

bool CollectionSettings::savesPaletteAsText(const QUuid &uuid, bool defaultValue)
{
    return boolSetting(uuid, QStringLiteral("save.palette.text.format"), QString(), defaultValue);
}

QString CollectionSettings::headerLink(const QUuid &uuid)
{
    return DB::settingValue(uuid, QStringLiteral("header.link"), QString()).toString();
}

QString CollectionSettings::helpLink(const QUuid &uuid)
{
    const QString link = DB::settingValue(uuid, QStringLiteral("help.link"), QString()).toString();
    return link.isEmpty() ? QStringLiteral("file:///%APP%/Contents/Resources/help/main.html") : link;
}

bool CollectionSettings::boolSetting(const QUuid &uuid, const QString &key, const QString &olderKey, bool defaultValue)
{
    const QVariant value = cachedSetting(uuid, key, olderKey);
    return value.isNull() ? defaultValue : integerOf(value) == 1;
}

QString CollectionSettings::stringSetting(const QUuid &uuid, const QString &key, const QString &defaultValue)
{
    const QVariant value = cachedSetting(uuid, key);
    return value.isNull() ? defaultValue : value.toString();
}

} // namespace Tintor
