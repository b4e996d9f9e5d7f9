#include "db/CatalogQueries.h"
#include "db/CollectionRegistry.h"
#include "db/Status.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using namespace Tintor;
using namespace Tintor::DB;

namespace {

const QUuid kDeck("{2a000000-0000-0000-0000-00000000002a}");
const QUuid kSecond("{2b000000-0000-0000-0000-00000000002b}");

QStringList codesOf(const QVector<ColorEntry> &entries)
{
    QStringList codes;
    for (const ColorEntry &entry : entries)
        codes << entry.code;
    return codes;
}

QList<qint64> sortedKeys(const QList<qint64> &keys)
{
    QList<qint64> sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

} // namespace

class CatalogQueriesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_fixture = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + "/catalog.db");
        QVERIFY(m_fixture->isOpen());
        FixtureDatabase &db = *m_fixture;
        m_deckId = db.addCollection(kDeck, "DECK", 1);
        m_secondId = db.addCollection(kSecond, "SECOND", 2);
        db.addSetting(m_secondId, "product.group.productname.productcode.separator:string", " / ");

        // Card 1: a neutral, a rich and a plain chip; cards 2 and 3 make its schemes; card 9 is in no collection.
        for (const int pageIndex : { 1, 2, 3, 9 })
            m_pageIds.insert(pageIndex, db.addPage(m_deckId, FixtureDatabase::Page { pageIndex, pageIndex }));
        QVERIFY(db.exec("DELETE FROM COLLECTION_PAGE_MAP WHERE PAGE_ID = ?", { m_pageIds.value(9) }));

        for (const auto &[pageIndex, rowIndex, code, mood, neutral, madeToOrder] :
            QList<std::tuple<int, int, const char *, int, bool, bool>> { { 1, 1, "N", 0, true, false },
                { 1, 2, "R", 4, false, false }, { 1, 3, "P", 1, false, true }, { 2, 2, "B2", 0, false, false },
                { 2, 1, "B1", 0, false, false }, { 3, 1, "C1", 0, false, true }, { 3, 2, "C2", 0, false, true },
                { 9, 1, "X1", 0, false, false } }) {
            FixtureDatabase::Row row { rowIndex, code, QColor(pageIndex * 10, rowIndex * 10, 5) };
            row.mood = mood;
            row.neutral = neutral;
            row.madeToOrder = madeToOrder;
            row.schemePos = 3;
            m_rows.insert(row.code, m_fixture->addRow(m_deckId, m_pageIds.value(pageIndex), row));
        }

        const auto page = [this](int index) { return m_pageIds.value(index); };
        // Card 1's schemes: contrast (2) lists card 3, the unreachable 9, then 2; complementary neutral (8) exists.
        for (const auto &[schemePage, kind, order] :
            QList<std::tuple<int, int, int>> { { 3, 2, 0 }, { 9, 2, 1 }, { 2, 2, 2 }, { 2, 8, 0 } })
            insert("PAGE_SCHEME(COLLECTION_ID, PAGE_ID, SCHEME_PAGE_ID, SCHEME_ID, \"ORDER\")",
                { m_deckId, page(1), page(schemePage), kind, order });
        // Chip schemes, out of order. Pelvon: contrast (2) and wide contrast (3) chips on P's scheme cards 0 and 1.
        QList<std::tuple<const char *, int, const char *, int, int>> rowSchemes { { "P", 2, "B1", 1, 1 },
            { "P", 3, "C2", 1, 1 }, { "P", 2, "C1", 0, 1 }, { "P", 3, "B2", 0, 1 } };
        for (const char *chip : { "N", "R", "P" }) {
            for (const int kind : { 1, 5, 8 })
                rowSchemes << std::make_tuple(chip, kind, "C2", 1, 0) << std::make_tuple(chip, kind, "B1", 0, 1)
                           << std::make_tuple(chip, kind, "C1", 1, 1);
            for (const int kind : { 2, 5, 8 }) {
                for (const auto &[schemePage, order] : { std::pair(3, 0), std::pair(2, 1) })
                    insert("ROW_TO_PAGE_SCHEME(COLLECTION_ID, ROW_ID, SCHEME_ID, SCHEME_PAGE_ID, \"ORDER\")",
                        { m_deckId, rowId(chip), kind, page(schemePage), order });
            }
        }
        for (const auto &[chip, kind, schemeChip, pageOrder, rowOrder] : rowSchemes)
            insert("ROW_SCHEME_MAP(COLLECTION_ID, ROW_ID, SCHEME_ID, SCHEME_ROW_ID, PAGE_ORDER, ROW_ORDER)",
                { m_deckId, rowId(chip), kind, rowId(schemeChip), pageOrder, rowOrder });

        // Products of chip N, with and without a code, and its groups.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO PRODUCT(ID, NAME, PRODUCT_CODE) VALUES(1, 'Satin', 'S-10'), "
                                       "(2, 'Matt', ''), (3, 'Gloss', 'G-7')")));
        QVERIFY(db.exec("INSERT INTO PRODUCT_GROUP(ID, NAME) VALUES(1, 'Walls'), (2, 'Wood')"));
        for (const auto &[chip, product] : { std::pair("N", 1), std::pair("N", 2), std::pair("R", 3) })
            insert("ROW_PRODUCT_MAP(COLLECTION_ID, ROW_ID, PRODUCT_ID)", { m_deckId, rowId(chip), product });
        for (const int group : { 1, 2 })
            insert("ROW_PRODUCT_GROUP_MAP(COLLECTION_ID, ROW_ID, PRODUCT_GROUP_ID)", { m_deckId, rowId("N"), group });

        // Foresight: a shared group, one per collection.
        const QString groups = "FORESIGHT_GROUP(COLLECTION_ID, NAME, DEFAULT_OPEN, \"ORDER\")";
        m_sharedGroup = insert(groups, { 0, "Shared", 1, 0 });
        m_deckGroup = insert(groups, { m_deckId, "Deck trends", 1, 0 });
        m_secondGroup = insert(groups, { m_secondId, "Second trends", 1, 0 });
        for (const auto &[group, order, name] :
            QList<std::tuple<qint64, int, const char *>> { { m_sharedGroup, 2, "late" }, { m_sharedGroup, 0, "early" },
                { m_sharedGroup, 1, "middle" }, { m_deckGroup, 0, "only" } })
            insert("FORESIGHT_ENTRY(COLLECTION_ID, FORESIGHT_GROUP_ID, NAME_1, RED, GREEN, BLUE, \"ORDER\")",
                { 0, group, QString::fromLatin1(name), order, order * 10, order * 100, order });

        // Textures: shared, per collection, and pairings with card 1.
        const QString textures = "TEXTURE(COLLECTION_ID, NAME, IMAGE, BASE_ALPHA)";
        m_sharedTexture
            = insert(textures, { 0, "Plaster", FixtureDatabase::png(QSize(4, 3), QColor(200, 200, 200)), 0.8 });
        m_deckTexture
            = insert(textures, { m_deckId, "Brick", FixtureDatabase::png(QSize(4, 3), QColor(150, 50, 40)), 0.8 });
        m_secondTexture = insert(textures, { m_secondId, "Wood", FixtureDatabase::png(QSize(4, 3), Qt::gray), 0.8 });
        insert("TEXTURE_MAP(TEXTURE_ID, PAGE_ID, ALPHA, NAME)", { m_sharedTexture, page(1), 0.5, "Plaster wall" });
        insert("TEXTURE_MAP(TEXTURE_ID, PAGE_ID, ALPHA, NAME)", { m_deckTexture, page(1), 1.0, "Brick wall" });

        QCOMPARE(discoverCollections(), 1);
    }

    void cleanupTestCase() { m_fixture.reset(); }

    void schemePagesLoadsTheCardsThatExist()
    {
        QList<ColorPage> pages { ColorPage() };
        QCOMPARE(schemePages(kDeck, 1, SchemeContrast, pages), 0);
        QList<int> indices;
        for (const ColorPage &page : pages) {
            indices << page.pageIndex;
            QCOMPARE(page.entries.size(), 2);
        }
        std::sort(indices.begin(), indices.end());
        QCOMPARE(indices, (QList<int> { 2, 3 })); // card 9 cannot be loaded and is skipped
        QCOMPARE(schemePages(kDeck, 1, SchemeDynamic, pages), 0);
        QVERIFY(pages.isEmpty());
        QCOMPARE(schemePages(kDeck, 2, SchemeContrast, pages), 0);
        QVERIFY(pages.isEmpty());
        QCOMPARE(schemePages(QUuid(), 1, SchemeContrast, pages), int(StatusNullUuid));
        QVERIFY(pageHasComplementaryNeutralScheme(kDeck, 1));
        QVERIFY(!pageHasComplementaryNeutralScheme(kDeck, 2));
        // Unavailable: offered rather than hidden.
        QVERIFY(pageHasComplementaryNeutralScheme(QUuid(), 1));
    }

    // Chip schemes gate by the chip's mood: dramatic needs a neutral chip, complementary neutral a rich one.
    void schemeEntriesByRowGatesAndOrders()
    {
        const QStringList scheme { "B1", "C2", "C1" };
        const std::tuple<int, int, QStringList> cases[]
            = { { 3, SchemeHarmonic, scheme }, { 1, SchemeDramatic, scheme }, { 3, SchemeDramatic, {} },
                  { 2, SchemeComplementaryNeutral, scheme }, { 1, SchemeComplementaryNeutral, {} } };
        for (const auto &[rowIndex, kind, codes] : cases) {
            QVector<ColorEntry> entries(2);
            QCOMPARE(schemeEntriesByRow(kDeck, kind, 1, rowIndex, entries), 0);
            QCOMPARE(codesOf(entries), codes);
            // Row index is the ROW_ORDER within the scheme; the record holds no made-to-order flag or positions.
            QList<int> rowOrders;
            for (const ColorEntry &entry : entries) {
                rowOrders << entry.rowIndex;
                QCOMPARE(entry.collectionId, m_deckId);
                QVERIFY(!entry.isMadeToOrder);
                QCOMPARE(entry.schemePos, -1);
                QCOMPARE(entry.pageOrder, -1);
            }
            if (!codes.isEmpty())
                QCOMPARE(rowOrders, (QList<int> { 1, 0, 1 }));
        }
    }

    // The mood gate belongs to the chip schemes only.
    void schemeEntriesByPageListsWholeCards()
    {
        const QStringList cards { "C1", "C2", "B1", "B2" };
        const std::tuple<int, int, QStringList> cases[]
            = { { 1, SchemeDramatic, cards }, { 3, SchemeDramatic, {} }, { 3, SchemeComplementaryNeutral, cards } };
        for (const auto &[rowIndex, kind, codes] : cases) {
            QVector<ColorEntry> entries;
            QCOMPARE(schemeEntriesByPage(kDeck, kind, 1, rowIndex, entries), 0);
            QCOMPARE(codesOf(entries), codes);
            for (const ColorEntry &entry : entries) {
                QCOMPARE(entry.rowIndex, entry.code.right(1).toInt());
                QCOMPARE(entry.pageOrder, entry.code.startsWith(QLatin1Char('C')) ? 0 : 1);
            }
        }
    }

    void pelvonSchemeOrdersWideContrastFirst()
    {
        QVector<ColorEntry> entries;
        QCOMPARE(pelvonSchemeEntries(kDeck, 1, 3, entries), 0);
        QCOMPARE(codesOf(entries).mid(0, 3), (QStringList { "B2", "C1", "C2" }));
        // The harmonic rows of P are not contrast rows; B1 is the remaining one.
        QCOMPARE(codesOf(entries).mid(3), QStringList { "B1" });
        // No kind gates: chip N is neutral, but has no pelvon rows.
        QCOMPARE(pelvonSchemeEntries(kDeck, 1, 1, entries), 0);
        QVERIFY(entries.isEmpty());
        // One past the last chip, row zero, a missing card.
        for (const auto &[pageIndex, rowIndex, status] : { std::tuple(1, 4, int(StatusRowOutsideCard)),
                 std::tuple(1, 0, int(StatusRowOutsideCard)), std::tuple(42, 1, int(StatusFailed)) }) {
            QVector<ColorEntry> entries(1);
            QCOMPARE(schemeEntriesByRow(kDeck, SchemeHarmonic, pageIndex, rowIndex, entries), status);
            QVERIFY(entries.isEmpty());
            entries.resize(1);
            QCOMPARE(schemeEntriesByPage(kDeck, SchemeContrast, pageIndex, rowIndex, entries), status);
            QVERIFY(entries.isEmpty());
            entries.resize(1);
            QCOMPARE(pelvonSchemeEntries(kDeck, pageIndex, rowIndex, entries), status);
            QVERIFY(entries.isEmpty());
        }
    }

    void productTextsWithAndWithoutCodes()
    {
        QStringList texts { "stale" };
        QCOMPARE(productsOfEntry(kDeck, rowId("N"), texts), 0);
        std::sort(texts.begin(), texts.end());
        QCOMPARE(texts, (QStringList { "Matt", "Satin: S-10" }));
        // The separator is the asking collection's.
        QCOMPARE(productsOfEntry(kSecond, rowId("R"), texts), 0);
        QCOMPARE(texts, QStringList { "Gloss / G-7" });

        QCOMPARE(productCodesOfEntry(kDeck, rowId("N"), texts), 0);
        QCOMPARE(texts, QStringList { "S-10" });
        QCOMPARE(productCodesOfEntry(kDeck, rowId("P"), texts), 0);
        QVERIFY(texts.isEmpty());

        QCOMPARE(productGroupsOfEntry(kDeck, rowId("N"), texts), 0);
        std::sort(texts.begin(), texts.end());
        QCOMPARE(texts, (QStringList { "Walls", "Wood" }));
        QCOMPARE(productGroupsOfEntry(QUuid(), rowId("N"), texts), int(StatusNullUuid));
        QVERIFY(texts.isEmpty());
        QHash<qint64, ColorForesightGroup> groups;
        QCOMPARE(foresightGroups(kDeck, groups), 0);
        QCOMPARE(sortedKeys(groups.keys()), sortedKeys({ m_sharedGroup, m_deckGroup }));
        const ColorForesightGroup shared = groups.value(m_sharedGroup);
        QCOMPARE(shared.name, "Shared");
        QCOMPARE(shared.entries.size(), 3);
        QCOMPARE(shared.entries.at(0).name1, "early");
        QCOMPARE(shared.entries.at(1).name1, "middle");
        QCOMPARE(shared.entries.at(2).name1, "late");
        QCOMPARE(shared.entries.at(2).color, QColor(2, 20, 200));

        QCOMPARE(foresightGroups(kSecond, groups), 0);
        QCOMPARE(sortedKeys(groups.keys()), sortedKeys({ m_sharedGroup, m_secondGroup }));
        QVERIFY(groups.value(m_secondGroup).entries.isEmpty());
        QHash<qint64, Texture> textures;
        QCOMPARE(texturesOfCollection(kDeck, textures), 0);
        QCOMPARE(sortedKeys(textures.keys()), sortedKeys({ m_sharedTexture, m_deckTexture }));
        const Texture brick = textures.value(m_deckTexture);
        QCOMPARE(brick.name, "Brick");
        QCOMPARE(brick.image.size(), QSize(4, 3));
        QCOMPARE(brick.image.pixelColor(1, 1), QColor(150, 50, 40));
        QCOMPARE(textures.value(m_sharedTexture).collectionId, qint64(0));
        QCOMPARE(texturesOfCollection(kSecond, textures), 0);
        QCOMPARE(sortedKeys(textures.keys()), sortedKeys({ m_sharedTexture, m_secondTexture }));

        QVector<TextureMapEntry> pairings;
        QCOMPARE(textureMapOfPage(kDeck, m_pageIds.value(1), pairings), 0);
        QCOMPARE(pairings.size(), 2);
        const auto plaster = std::find_if(pairings.cbegin(), pairings.cend(),
            [](const TextureMapEntry &e) { return e.name == QLatin1String("Plaster wall"); });
        QVERIFY(plaster != pairings.cend());
        QCOMPARE(plaster->textureId, m_sharedTexture);
        QCOMPARE(plaster->pageId, m_pageIds.value(1));
        QCOMPARE(plaster->alpha, 0.5);
        QCOMPARE(textureMapOfPage(kDeck, m_pageIds.value(2), pairings), 0);
        QVERIFY(pairings.isEmpty());
    }

private:
    qint64 rowId(const char *code) const { return m_rows.value(QString::fromLatin1(code)); }

    // Inserts one row into `table` ("NAME(COLUMNS)"); returns its ID.
    qint64 insert(const QString &table, const QVariantList &values)
    {
        const QString marks = QStringLiteral("?, ").repeated(values.size()).chopped(2);
        if (!m_fixture->exec(QStringLiteral("INSERT INTO %1 VALUES(%2)").arg(table, marks), values))
            qFatal("fixture insert failed");
        return m_fixture->lastInsertId();
    }

    std::unique_ptr<FixtureDatabase> m_fixture;
    qint64 m_deckId = -1;
    qint64 m_secondId = -1;
    QHash<int, qint64> m_pageIds;
    QHash<QString, qint64> m_rows;
    qint64 m_sharedGroup = -1;
    qint64 m_deckGroup = -1;
    qint64 m_secondGroup = -1;
    qint64 m_sharedTexture = -1;
    qint64 m_deckTexture = -1;
    qint64 m_secondTexture = -1;
};

HUELINK_TEST_MAIN(CatalogQueriesTest)
#include "CatalogQueriesTest.moc"
