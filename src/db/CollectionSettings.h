#pragma once

#include "engine/inc/Enumerations.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QUuid>

namespace Tintor {

enum SegmentOrientation {
    SegmentOrientationUnset = 0,
    SegmentClockwise = 1,
    SegmentCounterClockwise = 2,
};

enum CardMode {
    CardModeUnset = 0,
    ModeColorToColor = 1,
    ModeColorToCard = 2,
    ModeCardToCard = 3,
};

enum MoodMode {
    MoodModeUnset = 0,
    MoodModeNormal = 1,
    MoodModeWarmFreshEquals = 2,
};

enum ProductGroupsMode {
    GroupsWithProductTooltip = 0,
    Products = 1,
};

// Which of the ten names and extras of a card or chip are searched and shown,
// in order; each element indexes `names` or `extras` of a ColorPage or
// ColorEntry. Answered per collection by CollectionSettings::nameOrders.
struct NameOrders {
    QList<qint64> pageNameSearchOrder;
    QList<qint64> pageNameDisplayOrder;
    QList<qint64> pageExtraDisplayOrder;
    QList<qint64> rowNameSearchOrder;
    QList<qint64> rowNameDisplayOrder;
    QList<qint64> rowExtraDisplayOrder;
};

// The typed behaviour switches of a collection, read from its SETTING rows.
// Every accessor answers: a missing setting or an unavailable collection
// gives the fixed default. Values read are cached for one collection at a
// time; asking about another collection switches the cache, so one
// collection's value is never answered for another.
class CollectionSettings {
public:
    CollectionSettings() = delete;

    // Bounds on numbers read from a collection file; a value beyond them
    // reads as the setting's default.
    static constexpr int kMaxSegments = 360;
    static constexpr int kMaxChipsOnAPage = 1000;
    static constexpr int kMaxImageSide = 4096;

    static void setCurrentCollection(const QUuid &uuid);
    static QUuid currentCollection();

    // Reads the collection's six lists again (each request and each switch
    // of the shown collection starts from the file as it is now).
    static void loadNameOrders(const QUuid &uuid);
    // The collection's lists, read on first use; empty while the collection
    // is unavailable. Every reader asks for its own collection.
    static const NameOrders &nameOrders(const QUuid &uuid);

    static int maxChipsOnAPage(const QUuid &uuid);
    static CardType cardType(const QUuid &uuid);
    static int numberOfSegments(const QUuid &uuid);
    static double firstSegmentAngle(const QUuid &uuid);
    static SegmentOrientation segmentIncrementOrientation(const QUuid &uuid);
    static CardMode cardMode(const QUuid &uuid);
    static MoodMode moodMode(const QUuid &uuid);
    static ProductGroupsMode productGroupsMode(const QUuid &uuid);
    static QString productGroupSeparator(const QUuid &uuid);
    static bool hasExteriorFilter(const QUuid &uuid);
    static bool isMoodVisible(const QUuid &uuid);
    static bool hasColorSchemesPage(const QUuid &uuid);

    // TabBarPage flags of the pages the collection (and, for textures, the
    // system-wide collection) provides; the schemes page always.
    static int availableTabBarPages(const QUuid &uuid);
    // The configured page order: PageOfColorSchemes first and once, then the
    // other configured pages; an unrecognised name gives 0 (no page).
    static QList<int> tabBarPages(const QUuid &uuid);
    // SchemeKind numbers in the configured order; 0 for an unknown name.
    static QList<int> schemeKinds(const QUuid &uuid);
    static QSize foresightChipSize(const QUuid &uuid);
    static QSize textureSize(const QUuid &uuid, const QSize &defaultSize);
    // The positive values of "cie2000.delta.intervals", unsorted.
    static QList<double> cie2000DeltaIntervals(const QUuid &uuid);
    static bool hasPageWithExteriorMood(const QUuid &uuid, int mood);

    static bool tooltipShowsCollectionName(const QUuid &uuid);
    static bool tooltipShowsPageName(const QUuid &uuid);
    static bool tooltipShowsRowCode(const QUuid &uuid);
    static bool tooltipShowsRowName(const QUuid &uuid);
    static bool tooltipShowsAuxiliaryInfo(const QUuid &uuid);
    static bool tooltipShowsPageIndex(const QUuid &uuid);
    static bool tooltipShowsRowIndex(const QUuid &uuid);

    static bool exportAppendsProductCode(const QUuid &uuid);
    static bool isCapsureEnabled(const QUuid &uuid);
    static QString capsureFolderToWatch(const QUuid &uuid);
    static QString capsureFileNameToWatch(const QUuid &uuid);
    static bool savesPaletteAsText(const QUuid &uuid, bool defaultValue);

    // Read on every call, never cached.
    static QString headerLink(const QUuid &uuid);
    // "%APP%" stands for the plug-in folder; the caller replaces it.
    static QString helpLink(const QUuid &uuid);

    // Cached flag: true when the value (or, if the key is missing, the
    // older key's value) is the integer 1.
    static bool boolSetting(const QUuid &uuid, const QString &key, const QString &olderKey, bool defaultValue);
    static QString stringSetting(const QUuid &uuid, const QString &key, const QString &defaultValue);
};

} // namespace Tintor
