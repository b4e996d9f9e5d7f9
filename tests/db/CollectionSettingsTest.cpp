#include "db/CollectionSettings.h"
#include "db/CollectionRegistry.h"
#include "db/Schema.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QtTest>

#include <cmath>

#include <functional>
#include <memory>

using namespace Tintor;

namespace {

using Accessor = std::function<QVariant(const QUuid &)>;

QVariant listOf(const QList<int> &values)
{
    return QVariant::fromValue(values);
}

const QHash<QString, Accessor> &accessors()
{
    static const QHash<QString, Accessor> table {
        { QStringLiteral("maxChipsOnAPage"),
            [](const QUuid &u) { return QVariant(CollectionSettings::maxChipsOnAPage(u)); } },
        { QStringLiteral("cardType"), [](const QUuid &u) { return QVariant(int(CollectionSettings::cardType(u))); } },
        { QStringLiteral("numberOfSegments"),
            [](const QUuid &u) { return QVariant(CollectionSettings::numberOfSegments(u)); } },
        { QStringLiteral("firstSegmentAngle"),
            [](const QUuid &u) { return QVariant(CollectionSettings::firstSegmentAngle(u)); } },
        { QStringLiteral("segmentIncrementOrientation"),
            [](const QUuid &u) { return QVariant(int(CollectionSettings::segmentIncrementOrientation(u))); } },
        { QStringLiteral("cardMode"), [](const QUuid &u) { return QVariant(int(CollectionSettings::cardMode(u))); } },
        { QStringLiteral("moodMode"), [](const QUuid &u) { return QVariant(int(CollectionSettings::moodMode(u))); } },
        { QStringLiteral("productGroupsMode"),
            [](const QUuid &u) { return QVariant(int(CollectionSettings::productGroupsMode(u))); } },
        { QStringLiteral("productGroupSeparator"),
            [](const QUuid &u) { return QVariant(CollectionSettings::productGroupSeparator(u)); } },
        { QStringLiteral("hasExteriorFilter"),
            [](const QUuid &u) { return QVariant(CollectionSettings::hasExteriorFilter(u)); } },
        { QStringLiteral("isMoodVisible"),
            [](const QUuid &u) { return QVariant(CollectionSettings::isMoodVisible(u)); } },
        { QStringLiteral("hasColorSchemesPage"),
            [](const QUuid &u) { return QVariant(CollectionSettings::hasColorSchemesPage(u)); } },
        { QStringLiteral("tooltipShowsCollectionName"),
            [](const QUuid &u) { return QVariant(CollectionSettings::tooltipShowsCollectionName(u)); } },
        { QStringLiteral("tooltipShowsPageName"),
            [](const QUuid &u) { return QVariant(CollectionSettings::tooltipShowsPageName(u)); } },
        { QStringLiteral("tooltipShowsRowCode"),
            [](const QUuid &u) { return QVariant(CollectionSettings::tooltipShowsRowCode(u)); } },
        { QStringLiteral("tooltipShowsRowName"),
            [](const QUuid &u) { return QVariant(CollectionSettings::tooltipShowsRowName(u)); } },
        { QStringLiteral("tooltipShowsAuxiliaryInfo"),
            [](const QUuid &u) { return QVariant(CollectionSettings::tooltipShowsAuxiliaryInfo(u)); } },
        { QStringLiteral("tooltipShowsPageIndex"),
            [](const QUuid &u) { return QVariant(CollectionSettings::tooltipShowsPageIndex(u)); } },
        { QStringLiteral("tooltipShowsRowIndex"),
            [](const QUuid &u) { return QVariant(CollectionSettings::tooltipShowsRowIndex(u)); } },
        { QStringLiteral("exportAppendsProductCode"),
            [](const QUuid &u) { return QVariant(CollectionSettings::exportAppendsProductCode(u)); } },
        { QStringLiteral("isCapsureEnabled"),
            [](const QUuid &u) { return QVariant(CollectionSettings::isCapsureEnabled(u)); } },
        { QStringLiteral("capsureFolderToWatch"),
            [](const QUuid &u) { return QVariant(CollectionSettings::capsureFolderToWatch(u)); } },
        { QStringLiteral("capsureFileNameToWatch"),
            [](const QUuid &u) { return QVariant(CollectionSettings::capsureFileNameToWatch(u)); } },
        { QStringLiteral("savesPaletteAsText(true)"),
            [](const QUuid &u) { return QVariant(CollectionSettings::savesPaletteAsText(u, true)); } },
        { QStringLiteral("headerLink"), [](const QUuid &u) { return QVariant(CollectionSettings::headerLink(u)); } },
        { QStringLiteral("helpLink"), [](const QUuid &u) { return QVariant(CollectionSettings::helpLink(u)); } },
        { QStringLiteral("tabBarPages"), [](const QUuid &u) { return listOf(CollectionSettings::tabBarPages(u)); } },
        { QStringLiteral("schemeKinds"), [](const QUuid &u) { return listOf(CollectionSettings::schemeKinds(u)); } },
        { QStringLiteral("availableTabBarPages"),
            [](const QUuid &u) { return QVariant(CollectionSettings::availableTabBarPages(u)); } },
        { QStringLiteral("foresightChipSize"),
            [](const QUuid &u) { return QVariant(CollectionSettings::foresightChipSize(u)); } },
        { QStringLiteral("textureSize"),
            [](const QUuid &u) { return QVariant(CollectionSettings::textureSize(u, QSize(11, 22))); } },
        { QStringLiteral("cie2000DeltaIntervals"),
            [](const QUuid &u) {
                QVariantList values;
                for (const double value : CollectionSettings::cie2000DeltaIntervals(u))
                    values << value;
                return QVariant(values);
            } },
    };
    return table;
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

Q_DECLARE_METATYPE(SettingRows)

class CollectionSettingsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_fixture
            = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + QStringLiteral("/settings.db"));
        QVERIFY(m_fixture->isOpen());
        // The system-wide collection supplies a texture size and allows the
        // textures page.
        m_fixture->addSetting(0, QStringLiteral("texture.size"), QStringLiteral("640,480"));
        m_fixture->addSetting(0, QStringLiteral("has.textures.page"), 1);
        newCollection({});
        QCOMPARE(DB::discoverCollections(), 1);
    }

    void cleanupTestCase() { m_fixture.reset(); }

    void accessorsReadTheirKeys_data()
    {
        QTest::addColumn<SettingRows>("settings");
        QTest::addColumn<QString>("accessor");
        QTest::addColumn<QVariant>("expected");

        QTest::newRow("card type pelvon in capitals") << one("card.type", "PELVON") << "cardType" << QVariant(2);
        QTest::newRow("card type unknown") << one("card.type", "fan") << "cardType" << QVariant(0);
        QTest::newRow("card type missing") << SettingRows() << "cardType" << QVariant(0);
        QTest::newRow("key in other case") << one("Card.Type", "pelvon") << "cardType" << QVariant(2);
        QTest::newRow("orientation ccw in lower case")
            << one("segment.increment.orientation", "ccw") << "segmentIncrementOrientation" << QVariant(2);
        QTest::newRow("orientation missing") << SettingRows() << "segmentIncrementOrientation" << QVariant(0);
        QTest::newRow("card mode") << one("mode.card", "modecardtocard") << "cardMode" << QVariant(3);
        QTest::newRow("mood mode") << one("mode.mood", "MoodModeWarmFreshEquals") << "moodMode" << QVariant(2);
        QTest::newRow("product groups mode products")
            << one("product.groups.mode", "PRODUCTS") << "productGroupsMode" << QVariant(1);
        QTest::newRow("product groups mode groups")
            << one("product.groups.mode", "GroupsWithProductTooltip") << "productGroupsMode" << QVariant(0);
        QTest::newRow("segments missing") << SettingRows() << "numberOfSegments" << QVariant(12);
        QTest::newRow("segments as a word") << one("num.of.segments", "twelve") << "numberOfSegments" << QVariant(0);
        QTest::newRow("segments") << one("num.of.segments", "24") << "numberOfSegments" << QVariant(24);
        QTest::newRow("max chips") << one("max.chips.on.a.page", 7) << "maxChipsOnAPage" << QVariant(7);
        QTest::newRow("angle") << one("first.segment.angle", "15.5") << "firstSegmentAngle" << QVariant(15.5);
        QTest::newRow("angle not a number")
            << one("first.segment.angle", "east") << "firstSegmentAngle" << QVariant(0.0);
        QTest::newRow("separator missing") << SettingRows() << "productGroupSeparator" << QVariant(": ");
        QTest::newRow("separator") << one("product.group.productname.productcode.separator:string", " / ")
                                   << "productGroupSeparator" << QVariant(" / ");
        QTest::newRow("exterior filter missing") << SettingRows() << "hasExteriorFilter" << QVariant(true);
        QTest::newRow("exterior filter off")
            << one("has.exterior.filter", "0") << "hasExteriorFilter" << QVariant(false);
        QTest::newRow("flag 2 is not 1") << one("has.exterior.filter", "2") << "hasExteriorFilter" << QVariant(false);
        QTest::newRow("mood visible missing") << SettingRows() << "isMoodVisible" << QVariant(true);
        QTest::newRow("schemes page missing") << SettingRows() << "hasColorSchemesPage" << QVariant(false);
        QTest::newRow("schemes page") << one("has.color.schemes.page", 1) << "hasColorSchemesPage" << QVariant(true);
        QTest::newRow("page name by older key")
            << one("color.tooltip.show.card.name", 1) << "tooltipShowsPageName" << QVariant(true);
        QTest::newRow("page name key wins over older key")
            << (one("color.tooltip.show.page.name", 0) + one("color.tooltip.show.card.name", 1))
            << "tooltipShowsPageName" << QVariant(false);
        QTest::newRow("row code by older key")
            << one("color.tooltip.show.color.code", 1) << "tooltipShowsRowCode" << QVariant(true);
        QTest::newRow("row name by older key")
            << one("color.tooltip.show.color.name", 1) << "tooltipShowsRowName" << QVariant(true);
        QTest::newRow("auxiliary by older key")
            << one("color.tooltip.show.auxiliary", 1) << "tooltipShowsAuxiliaryInfo" << QVariant(true);
        QTest::newRow("auxiliary") << one("color.tooltip.show.row.auxiliary.info", 1) << "tooltipShowsAuxiliaryInfo"
                                   << QVariant(true);
        QTest::newRow("collection name") << one("color.tooltip.show.collection.name", 1) << "tooltipShowsCollectionName"
                                         << QVariant(true);
        QTest::newRow("page index") << one("color.tooltip.show.page.index", 1) << "tooltipShowsPageIndex"
                                    << QVariant(true);
        QTest::newRow("row index") << one("color.tooltip.show.row.row.index", 1) << "tooltipShowsRowIndex"
                                   << QVariant(true);
        QTest::newRow("export code") << one("export.color.name.append.product.code", 1) << "exportAppendsProductCode"
                                     << QVariant(true);
        QTest::newRow("capsure") << one("capsure.enabled", "1") << "isCapsureEnabled" << QVariant(true);
        QTest::newRow("capsure folder") << one("capsure.folder.to.watch.windows", "C:/Measure")
                                        << "capsureFolderToWatch" << QVariant("C:/Measure");
        QTest::newRow("capsure file") << one("capsure.filename.to.watch", "last.cxf") << "capsureFileNameToWatch"
                                      << QVariant("last.cxf");
        QTest::newRow("palette as text default true") << SettingRows() << "savesPaletteAsText(true)" << QVariant(true);
        QTest::newRow("palette as text off")
            << one("save.palette.text.format", 0) << "savesPaletteAsText(true)" << QVariant(false);
        QTest::newRow("header link missing") << SettingRows() << "headerLink" << QVariant("");
        QTest::newRow("header link") << one("header.link", "http://example.org/") << "headerLink"
                                     << QVariant("http://example.org/");
        const QVariant defaultHelp(QStringLiteral("file:///%APP%/Contents/Resources/help/main.html"));
        QTest::newRow("help link missing") << SettingRows() << "helpLink" << defaultHelp;
        QTest::newRow("help link empty") << one("help.link", "") << "helpLink" << defaultHelp;
        QTest::newRow("help link") << one("help.link", "https://help.example.org/") << "helpLink"
                                   << QVariant("https://help.example.org/");

        QTest::newRow("tab pages given") << list("tab.bar.page", { "PageOfTextures", "PageOfColorSchemes" })
                                         << "tabBarPages" << listOf({ 1, 8 });
        QTest::newRow("tab pages missing") << SettingRows() << "tabBarPages" << listOf({ 1, 2, 4, 8 });
        QTest::newRow("tab pages trimmed, any case")
            << list("tab.bar.page", { " pageofproducts ", "PAGEOFCOLORFORESIGHT" }) << "tabBarPages"
            << listOf({ 1, 2, 4 });
        QTest::newRow("tab page unknown")
            << list("tab.bar.page", { "PageOfNothing", "PageOfProducts" }) << "tabBarPages" << listOf({ 1, 0, 2 });
        QTest::newRow("schemes") << list("schemes",
            { "harmonic", " Wide Contrast", "natural neutral", "tonal neutral", "bogus", "complementary neutral" })
                                 << "schemeKinds" << listOf({ 1, 3, 9, 7, 0, 8 });
        QTest::newRow("schemes missing") << SettingRows() << "schemeKinds" << listOf({});

        QTest::newRow("available pages") << (one("has.product.groups.page", 1) + one("has.textures.page", "1")
            + one("has.color.foresight.page", 0))
                                         << "availableTabBarPages" << QVariant(1 | 2 | 8);
        QTest::newRow("available pages, foresight")
            << (one("has.product.groups.page", "x") + one("has.color.foresight.page", 3)) << "availableTabBarPages"
            << QVariant(1 | 4);
        QTest::newRow("available pages missing") << SettingRows() << "availableTabBarPages" << QVariant(1);

        QTest::newRow("foresight chip") << (one("widget.color.foresight.chip.width", 80)
            + one("widget.color.foresight.chip.height", "60"))
                                        << "foresightChipSize" << QVariant(QSize(80, 60));
        QTest::newRow("foresight chip half given")
            << one("widget.color.foresight.chip.width", 80) << "foresightChipSize" << QVariant(QSize(64, 48));
        QTest::newRow("foresight chip not a number")
            << (one("widget.color.foresight.chip.width", "wide") + one("widget.color.foresight.chip.height", 60))
            << "foresightChipSize" << QVariant(QSize(64, 48));

        QTest::newRow("texture size") << one("texture.size", "300,200") << "textureSize" << QVariant(QSize(300, 200));
        QTest::newRow("texture size empty parts")
            << one("texture.size", ",300,,200,") << "textureSize" << QVariant(QSize(300, 200));
        QTest::newRow("texture size single number")
            << one("texture.size", "300") << "textureSize" << QVariant(QSize(11, 22));
        QTest::newRow("texture size second part not a number")
            << one("texture.size", "300,tall") << "textureSize" << QVariant(QSize(11, 22));
        QTest::newRow("texture size of the system-wide collection")
            << SettingRows() << "textureSize" << QVariant(QSize(640, 480));

        QTest::newRow("delta intervals") << one("cie2000.delta.intervals", "1,2,0,-3,5") << "cie2000DeltaIntervals"
                                         << QVariant(QVariantList { 1.0, 2.0, 5.0 });
        QTest::newRow("delta intervals unsorted") << one("cie2000.delta.intervals", "4.5,,1.5,x")
                                                  << "cie2000DeltaIntervals" << QVariant(QVariantList { 4.5, 1.5 });
        QTest::newRow("delta intervals missing")
            << SettingRows() << "cie2000DeltaIntervals" << QVariant(QVariantList());

        // Hostile values read as the default (or brought into range), so no
        // reader loops, allocates or overflows on a number the file chose.
        const auto hostile = [](const char *name, const char *key, const char *value, const char *accessor,
                                 const QVariant &expected) {
            QTest::newRow(name) << one(key, value) << QString::fromLatin1(accessor) << expected;
        };
        hostile("angle 1e308", "first.segment.angle", "1e308", "firstSegmentAngle", std::fmod(1e308, 360.0));
        hostile("angle inf", "first.segment.angle", "inf", "firstSegmentAngle", 0.0);
        hostile("angle -inf", "first.segment.angle", "-inf", "firstSegmentAngle", 0.0);
        hostile("angle nan", "first.segment.angle", "nan", "firstSegmentAngle", 0.0);
        hostile("segments 2^31-1", "num.of.segments", "2147483647", "numberOfSegments", 12);
        hostile("segments 361", "num.of.segments", "361", "numberOfSegments", 12);
        hostile("segments 360", "num.of.segments", "360", "numberOfSegments", 360);
        hostile("max chips -1", "max.chips.on.a.page", "-1", "maxChipsOnAPage", 0);
        hostile("texture size huge", "texture.size", "2147483647,2", "textureSize", QSize(11, 22));
        hostile("delta intervals inf, nan", "cie2000.delta.intervals", "inf,nan,3,1e999", "cie2000DeltaIntervals",
                QVariantList { 3.0 });
        QTest::newRow("foresight chip huge")
            << (one("widget.color.foresight.chip.width", 2000000000) + one("widget.color.foresight.chip.height", 60))
            << "foresightChipSize" << QVariant(QSize(64, 48));
    }

    void accessorsReadTheirKeys()
    {
        QFETCH(SettingRows, settings);
        QFETCH(QString, accessor);
        QFETCH(QVariant, expected);
        QVERIFY(accessors().contains(accessor));
        const QUuid uuid = newCollection(settings);
        const Accessor read = accessors().value(accessor);
        QCOMPARE(read(uuid), expected);
        // Answered the same from the cache.
        QCOMPARE(read(uuid), expected);
    }

    void unavailableCollectionsGetTheDefaults()
    {
        const QUuid unknown(QStringLiteral("{3f000000-0000-0000-0000-00000000003f}"));
        QCOMPARE(CollectionSettings::numberOfSegments(unknown), 12);
        QVERIFY(CollectionSettings::hasExteriorFilter(unknown));
        QCOMPARE(CollectionSettings::tabBarPages(QUuid()), (QList<int> { 1, 2, 4, 8 }));
        QCOMPARE(
            CollectionSettings::helpLink(unknown), QStringLiteral("file:///%APP%/Contents/Resources/help/main.html"));
        QVERIFY(CollectionSettings::hasPageWithExteriorMood(unknown, 3));
    }

    void cacheAnswersEachCollectionWithItsOwnValues()
    {
        const QUuid a = newCollection(one("card.type", "normal") + one("num.of.segments", 6));
        const QUuid b = newCollection(one("card.type", "pelvon"));
        QCOMPARE(CollectionSettings::cardType(a), CardNormal);
        QCOMPARE(CollectionSettings::cardType(b), CardPelvon);
        QCOMPARE(CollectionSettings::cardType(a), CardNormal);
        QCOMPARE(CollectionSettings::numberOfSegments(b), 12);
        QCOMPARE(CollectionSettings::numberOfSegments(a), 6);
        QCOMPARE(CollectionSettings::currentCollection(), a);
    }

    void cacheKeepsValuesReadUntilTheCollectionChanges()
    {
        const QUuid a = newCollection(one("num.of.segments", 6) + one("has.product.groups.page", 1));
        const QUuid b = newCollection({});
        CollectionSettings::setCurrentCollection(a);
        QCOMPARE(CollectionSettings::numberOfSegments(a), 6);
        QCOMPARE(CollectionSettings::availableTabBarPages(a), 1 | 2);
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
    }

    void missingSettingsAreAskedForAgain()
    {
        const QUuid a = newCollection({});
        QCOMPARE(CollectionSettings::cardType(a), CardOther);
        QCOMPARE(CollectionSettings::tabBarPages(a), (QList<int> { 1, 2, 4, 8 }));
        addSettings(a, one("card.type", "pelvon") + one("color.tooltip.show.card.name", 1));
        QCOMPARE(CollectionSettings::cardType(a), CardPelvon);
        QVERIFY(CollectionSettings::tooltipShowsPageName(a));
        // The value found through the older key is cached under the key and
        // answers until the collection changes.
        addSettings(a, one("color.tooltip.show.page.name", 0));
        QVERIFY(CollectionSettings::tooltipShowsPageName(a));
    }

    void texturesPageNeedsTheSystemWideCollectionToo()
    {
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

    void exteriorMoodAnswerIsCachedPerCollection()
    {
        const QUuid a = newCollection({});
        const QUuid b = newCollection({});
        FixtureDatabase::Page page;
        page.pageIndex = 1;
        page.segment = 1;
        page.mood = 3;
        page.exterior = true;
        m_fixture->addPage(m_ids.value(a), page);
        QVERIFY(CollectionSettings::hasPageWithExteriorMood(a, 3));
        QVERIFY(!CollectionSettings::hasPageWithExteriorMood(a, 1));
        page.pageIndex = 2;
        page.mood = 1;
        m_fixture->addPage(m_ids.value(a), page);
        QVERIFY(!CollectionSettings::hasPageWithExteriorMood(a, 1));
        QVERIFY(!CollectionSettings::hasPageWithExteriorMood(b, 1));
        QVERIFY(CollectionSettings::hasPageWithExteriorMood(a, 1));
    }

    void nameOrdersLoadInListOrder()
    {
        const QUuid a = newCollection(
            list("row.name.search.order", { "3", "x", "12" }) + list("Page.Name.Display.Order", { "2" }));
        // Stored out of order: VALUE_INDEX decides.
        addSettings(a,
            { { QStringLiteral("row.extra.display.order"), 5, 1 },
                { QStringLiteral("row.extra.display.order"), 4, 0 } });
        const NameOrders &orders = CollectionSettings::nameOrders(a);
        QCOMPARE(orders.rowNameSearchOrder, (QList<qint64> { 3, 0, 12 }));
        QCOMPARE(orders.pageNameDisplayOrder, QList<qint64> { 2 });
        QCOMPARE(orders.rowExtraDisplayOrder, (QList<qint64> { 4, 5 }));
        QVERIFY(orders.pageNameSearchOrder.isEmpty());
        QVERIFY(orders.pageExtraDisplayOrder.isEmpty());
        QVERIFY(orders.rowNameDisplayOrder.isEmpty());

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
