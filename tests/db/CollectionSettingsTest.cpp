#include "db/CollectionSettings.h"
#include "db/CollectionRegistry.h"
#include "db/Schema.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using namespace Tintor;

namespace {

using Accessor = std::function<QVariant(const QUuid &)>;

template <typename T> QVariant variantOf(const T &value)
{
    if constexpr (std::is_enum_v<T>)
        return int(value);
    else
        return QVariant::fromValue(value);
}

// A row's accessor: `call` is a CollectionSettings call on the collection `u`.
#define READ(call) Accessor([](const QUuid &u) { return variantOf(CollectionSettings::call); })

const QSize kFallback(11, 22);

QVariant listOf(const QList<int> &values)
{
    return QVariant::fromValue(values);
}

// One setting row: key, value and list position.
struct SettingRow {
    QString key;
    QVariant value;
    int valueIndex = 0;
};

using SettingRows = QList<SettingRow>;

SettingRows one(const char *key, const QVariant &value)
{
    return { { QString::fromLatin1(key), value, 0 } };
}

SettingRows list(const char *key, const QStringList &values)
{
    SettingRows rows;
    for (int i = 0; i < values.size(); ++i)
        rows.append({ QString::fromLatin1(key), values.at(i), i });
    return rows;
}

} // namespace

class CollectionSettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_fixture = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + "/settings.db");
        QVERIFY(m_fixture->isOpen());
        // The system-wide collection supplies a texture size and allows the textures page.
        m_fixture->addSetting(0, "texture.size", "640,480");
        m_fixture->addSetting(0, "has.textures.page", 1);
        newCollection({});
        QCOMPARE(DB::discoverCollections(), 1);
    }

    void cleanupTestCase() { m_fixture.reset(); }

    void accessorsReadTheirKeys()
    {
        const SettingRows none;
        const QList<std::tuple<const char *, SettingRows, Accessor, QVariant>> rows {
            { "card type pelvon in capitals", one("card.type", "PELVON"), READ(cardType(u)), 2 },
            { "card type unknown", one("card.type", "fan"), READ(cardType(u)), 0 },
            { "card type missing", none, READ(cardType(u)), 0 },
            { "orientation ccw", one("segment.increment.orientation", "ccw"), READ(segmentIncrementOrientation(u)), 2 },
            { "card mode", one("mode.card", "modecardtocard"), READ(cardMode(u)), 3 },
            { "mood mode", one("mode.mood", "MoodModeWarmFreshEquals"), READ(moodMode(u)), 2 },
            { "product groups mode", one("product.groups.mode", "PRODUCTS"), READ(productGroupsMode(u)), 1 },
            { "segments missing", none, READ(numberOfSegments(u)), 12 },
            { "segments as a word", one("num.of.segments", "twelve"), READ(numberOfSegments(u)), 0 },
            { "max chips", one("max.chips.on.a.page", 7), READ(maxChipsOnAPage(u)), 7 },
            { "angle", one("first.segment.angle", "15.5"), READ(firstSegmentAngle(u)), 15.5 },
            { "angle not a number", one("first.segment.angle", "east"), READ(firstSegmentAngle(u)), 0.0 },
            { "separator missing", none, READ(productGroupSeparator(u)), ": " },
            { "separator", one("product.group.productname.productcode.separator:string", " / "),
                READ(productGroupSeparator(u)), " / " },
            { "exterior filter missing", none, READ(hasExteriorFilter(u)), true },
            { "exterior filter off", one("has.exterior.filter", "0"), READ(hasExteriorFilter(u)), false },
            { "flag 2 is not 1", one("has.exterior.filter", "2"), READ(hasExteriorFilter(u)), false },
            { "mood visible missing", none, READ(isMoodVisible(u)), true },
            { "schemes page", one("has.color.schemes.page", 1), READ(hasColorSchemesPage(u)), true },
            { "page name by older key", one("color.tooltip.show.card.name", 1), READ(tooltipShowsPageName(u)), true },
            { "page name key wins over older key",
                one("color.tooltip.show.page.name", 0) + one("color.tooltip.show.card.name", 1),
                READ(tooltipShowsPageName(u)), false },
            { "row code by older key", one("color.tooltip.show.color.code", 1), READ(tooltipShowsRowCode(u)), true },
            { "row name by older key", one("color.tooltip.show.color.name", 1), READ(tooltipShowsRowName(u)), true },
            { "aux, older key", one("color.tooltip.show.auxiliary", 1), READ(tooltipShowsAuxiliaryInfo(u)), true },
            { "collection", one("color.tooltip.show.collection.name", 1), READ(tooltipShowsCollectionName(u)), true },
            { "page index", one("color.tooltip.show.page.index", 1), READ(tooltipShowsPageIndex(u)), true },
            { "row index", one("color.tooltip.show.row.row.index", 1), READ(tooltipShowsRowIndex(u)), true },
            { "export code", one("export.color.name.append.product.code", 1), READ(exportAppendsProductCode(u)), true },
            { "capsure", one("capsure.enabled", "1"), READ(isCapsureEnabled(u)), true },
            { "capsure folder", one("capsure.folder.to.watch.windows", "C:/M"), READ(capsureFolderToWatch(u)), "C:/M" },
            { "capsure file", one("capsure.filename.to.watch", "a.cxf"), READ(capsureFileNameToWatch(u)), "a.cxf" },
            { "palette as text off", one("save.palette.text.format", 0), READ(savesPaletteAsText(u, true)), false },
            { "header link", one("header.link", "http://example.org/"), READ(headerLink(u)), "http://example.org/" },
            { "help link empty", one("help.link", ""), READ(helpLink(u)),
                "file:///%APP%/Contents/Resources/help/main.html" },
            { "help link", one("help.link", "https://h.example.org/"), READ(helpLink(u)), "https://h.example.org/" },
            { "tab pages missing", none, READ(tabBarPages(u)), listOf({ 1, 2, 4, 8 }) },
            { "tab pages trimmed, any case, unknown",
                list("tab.bar.page",
                    { " pageofproducts ", "PageOfNothing", "PAGEOFCOLORFORESIGHT", "PageOfColorSchemes" }),
                READ(tabBarPages(u)), listOf({ 1, 2, 0, 4 }) },
            { "schemes",
                list("schemes",
                    { "harmonic", " Wide Contrast", "natural neutral", "tonal neutral", "bogus",
                        "complementary neutral" }),
                READ(schemeKinds(u)), listOf({ 1, 3, 9, 7, 0, 8 }) },
            { "schemes missing", none, READ(schemeKinds(u)), listOf({}) },
            { "available pages",
                one("has.product.groups.page", 1) + one("has.textures.page", "1") + one("has.color.foresight.page", 0),
                READ(availableTabBarPages(u)), 1 | 2 | 8 },
            { "available pages, foresight", one("has.product.groups.page", "x") + one("has.color.foresight.page", 3),
                READ(availableTabBarPages(u)), 1 | 4 },
            { "foresight chip",
                one("widget.color.foresight.chip.width", 80) + one("widget.color.foresight.chip.height", "60"),
                READ(foresightChipSize(u)), QSize(80, 60) },
            { "chip half given", one("widget.color.foresight.chip.width", 80), READ(foresightChipSize(u)),
                QSize(64, 48) },
            { "empty parts", one("texture.size", ",300,,200,"), READ(textureSize(u, kFallback)), QSize(300, 200) },
            { "texture one number", one("texture.size", "300"), READ(textureSize(u, kFallback)), kFallback },
            { "texture not a number", one("texture.size", "300,tall"), READ(textureSize(u, kFallback)), kFallback },
            { "texture system-wide", none, READ(textureSize(u, kFallback)), QSize(640, 480) },
            { "deltas", one("cie2000.delta.intervals", "1,2,0,-3,5"), READ(cie2000DeltaIntervals(u)),
                variantOf(QList<double> { 1, 2, 5 }) },
            { "deltas unsorted", one("cie2000.delta.intervals", "4.5,,1.5,x"), READ(cie2000DeltaIntervals(u)),
                variantOf(QList<double> { 4.5, 1.5 }) },
            // Hostile values read as the default (or in range): no reader loops, allocates or overflows on them.
            { "angle 1e308", one("first.segment.angle", "1e308"), READ(firstSegmentAngle(u)), std::fmod(1e308, 360.0) },
            { "angle inf", one("first.segment.angle", "inf"), READ(firstSegmentAngle(u)), 0.0 },
            { "angle -inf", one("first.segment.angle", "-inf"), READ(firstSegmentAngle(u)), 0.0 },
            { "angle nan", one("first.segment.angle", "nan"), READ(firstSegmentAngle(u)), 0.0 },
            { "segments 2^31-1", one("num.of.segments", "2147483647"), READ(numberOfSegments(u)), 12 },
            { "segments 361", one("num.of.segments", "361"), READ(numberOfSegments(u)), 12 },
            { "segments 360", one("num.of.segments", "360"), READ(numberOfSegments(u)), 360 },
            { "max chips -1", one("max.chips.on.a.page", "-1"), READ(maxChipsOnAPage(u)), 0 },
            { "texture huge", one("texture.size", "2147483647,2"), READ(textureSize(u, kFallback)), kFallback },
            { "deltas inf, nan", one("cie2000.delta.intervals", "inf,nan,3,1e999"), READ(cie2000DeltaIntervals(u)),
                variantOf(QList<double> { 3 }) },
            { "foresight chip huge",
                one("widget.color.foresight.chip.width", 2000000000) + one("widget.color.foresight.chip.height", 60),
                READ(foresightChipSize(u)), QSize(64, 48) },
        };
        for (const auto &[name, settings, read, expected] : rows) {
            const QUuid uuid = newCollection(settings);
            QVERIFY2(read(uuid) == expected, qPrintable(QString::fromLatin1(name) + ": " + read(uuid).toString()));
            // Answered the same from the cache.
            QVERIFY2(read(uuid) == expected, name);
        }
    }

    void cacheKeepsValuesReadUntilTheCollectionChanges()
    {
        const QUuid a = newCollection(one("num.of.segments", 6) + one("has.product.groups.page", 1));
        const QUuid b = newCollection(one("card.type", "pelvon"));
        QCOMPARE(CollectionSettings::cardType(b), CardPelvon);
        QCOMPARE(CollectionSettings::numberOfSegments(b), 12);
        QCOMPARE(CollectionSettings::numberOfSegments(a), 6);
        QCOMPARE(CollectionSettings::availableTabBarPages(a), 1 | 2);
        QCOMPARE(CollectionSettings::currentCollection(), a);
        QVERIFY(m_fixture->exec(QStringLiteral("UPDATE SETTING SET VALUE = '8' WHERE COLLECTION_ID = ? AND NAME = "
                                               "'num.of.segments'"),
            { m_ids.value(a) }));
        QVERIFY(m_fixture->exec(QStringLiteral("UPDATE SETTING SET VALUE = '0' WHERE COLLECTION_ID = ? AND NAME = "
                                               "'has.product.groups.page'"),
            { m_ids.value(a) }));
        QCOMPARE(CollectionSettings::numberOfSegments(a), 6);
        QCOMPARE(CollectionSettings::availableTabBarPages(a), 1 | 2);
        CollectionSettings::setCurrentCollection(a); // same collection: the cache stays
        QCOMPARE(CollectionSettings::numberOfSegments(a), 6);
        CollectionSettings::setCurrentCollection(b);
        QCOMPARE(CollectionSettings::numberOfSegments(a), 8);
        QCOMPARE(CollectionSettings::availableTabBarPages(a), 1);
        const QString update = QStringLiteral("UPDATE SETTING SET VALUE = ? WHERE COLLECTION_ID = 0 AND NAME = "
                                              "'has.textures.page'");
        QVERIFY(m_fixture->exec(update, { 0 }));
        const QUuid off = newCollection(one("has.textures.page", 1));
        QCOMPARE(CollectionSettings::availableTabBarPages(off), 1);
        QVERIFY(m_fixture->exec(update, { 1 }));
        const QUuid on = newCollection(one("has.textures.page", 1));
        QCOMPARE(CollectionSettings::availableTabBarPages(on), 1 | 8);
        // Reading the system-wide value did not move the cache away.
        QCOMPARE(CollectionSettings::currentCollection(), on);
        QCOMPARE(CollectionSettings::textureSize(on, QSize()), QSize(640, 480));
        QCOMPARE(CollectionSettings::currentCollection(), on);
    }

    void missingSettingsAreAskedForAgain()
    {
        const QUuid a = newCollection({});
        QCOMPARE(CollectionSettings::cardType(a), CardOther);
        QCOMPARE(CollectionSettings::tabBarPages(a), (QList<int> { 1, 2, 4, 8 }));
        addSettings(a, one("card.type", "pelvon") + one("color.tooltip.show.card.name", 1));
        QCOMPARE(CollectionSettings::cardType(a), CardPelvon);
        QVERIFY(CollectionSettings::tooltipShowsPageName(a));
        // The value found through the older key is cached under the key and answers until the collection changes.
        addSettings(a, one("color.tooltip.show.page.name", 0));
        QVERIFY(CollectionSettings::tooltipShowsPageName(a));
        const QUuid moody = newCollection({});
        const QUuid plain = newCollection({});
        FixtureDatabase::Page page { 1, 1, {}, true, 3 };
        m_fixture->addPage(m_ids.value(moody), page);
        QVERIFY(CollectionSettings::hasPageWithExteriorMood(moody, 3));
        QVERIFY(!CollectionSettings::hasPageWithExteriorMood(moody, 1));
        page.pageIndex = 2;
        page.mood = 1;
        m_fixture->addPage(m_ids.value(moody), page);
        QVERIFY(!CollectionSettings::hasPageWithExteriorMood(moody, 1));
        QVERIFY(!CollectionSettings::hasPageWithExteriorMood(plain, 1));
        QVERIFY(CollectionSettings::hasPageWithExteriorMood(moody, 1));
        // An unavailable collection has every mood.
        QVERIFY(CollectionSettings::hasPageWithExteriorMood(QUuid(), 3));
        const QUuid ordered = newCollection(
            list("row.name.search.order", { "3", "x", "12" }) + list("Page.Name.Display.Order", { "2" }));
        // Stored out of order: VALUE_INDEX decides.
        addSettings(ordered, { { "row.extra.display.order", 5, 1 }, { "row.extra.display.order", 4, 0 } });
        const NameOrders &orders = CollectionSettings::nameOrders(ordered);
        QCOMPARE(orders.rowNameSearchOrder, (QList<qint64> { 3, 0, 12 }));
        QCOMPARE(orders.pageNameDisplayOrder, QList<qint64> { 2 });
        QCOMPARE(orders.rowExtraDisplayOrder, (QList<qint64> { 4, 5 }));
        QVERIFY(orders.pageNameSearchOrder.isEmpty());
        QVERIFY(CollectionSettings::nameOrders(QUuid()).rowNameSearchOrder.isEmpty());
    }

private:
    QUuid newCollection(const SettingRows &settings)
    {
        const QUuid uuid = QUuid::createUuid();
        ++m_counter;
        const qint64 id = m_fixture->addCollection(uuid, QStringLiteral("C%1").arg(m_counter), m_counter);
        m_ids.insert(uuid, id);
        addSettings(uuid, settings);
        return uuid;
    }

    void addSettings(const QUuid &uuid, const SettingRows &settings)
    {
        for (const SettingRow &row : settings)
            m_fixture->addSetting(m_ids.value(uuid), row.key, row.value, row.valueIndex);
    }

    std::unique_ptr<FixtureDatabase> m_fixture;
    QHash<QUuid, qint64> m_ids;
    int m_counter = 0;
};

HUELINK_TEST_MAIN(CollectionSettingsTest)
#include "CollectionSettingsTest.moc"
