#include "db/CatalogQueries.h"
#include "db/CollectionRegistry.h"
#include "db/Status.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QImage>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace Tintor;
using namespace Tintor::DB;

namespace {

const QUuid kDeck(QStringLiteral("{2a000000-0000-0000-0000-00000000002a}"));
const QUuid kSecond(QStringLiteral("{2b000000-0000-0000-0000-00000000002b}"));

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
        m_fixture
            = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + QStringLiteral("/catalog.db"));
        QVERIFY(m_fixture->isOpen());
        FixtureDatabase &db = *m_fixture;
        m_deckId = db.addCollection(kDeck, QStringLiteral("DECK"), 1);
        m_secondId = db.addCollection(kSecond, QStringLiteral("SECOND"), 2);
        db.addSetting(m_secondId, QStringLiteral("product.group.productname.productcode.separator:string"),
            QStringLiteral(" / "));

        // Card 1: a neutral chip, a rich chip and a plain one. Cards 2 and 3
        // make up its schemes; card 9 belongs to no collection.
        for (const int pageIndex : { 1, 2, 3, 9 }) {
            FixtureDatabase::Page page;
            page.pageIndex = pageIndex;
            page.segment = pageIndex;
            const qint64 pageId = db.addPage(m_deckId, page);
            QVERIFY(pageId > 0);
            m_pageIds.insert(pageIndex, pageId);
        }
        QVERIFY(db.exec(QStringLiteral("DELETE FROM COLLECTION_PAGE_MAP WHERE PAGE_ID = ?"), { m_pageIds.value(9) }));

        m_rows.insert(QStringLiteral("N"), addChip(1, 1, "N", [](FixtureDatabase::Row &row) { row.neutral = true; }));
        m_rows.insert(QStringLiteral("R"), addChip(1, 2, "R", [](FixtureDatabase::Row &row) { row.mood = 4; }));
        m_rows.insert(QStringLiteral("P"), addChip(1, 3, "P", [](FixtureDatabase::Row &row) {
            row.mood = 1;
            row.madeToOrder = true;
            row.schemePos = 3;
        }));
        for (const char *code : { "B2", "B1" })
            m_rows.insert(QString::fromLatin1(code), addChip(2, code[1] - '0', code, {}));
        for (const char *code : { "C1", "C2" })
            m_rows.insert(QString::fromLatin1(code),
                addChip(3, code[1] - '0', code, [](FixtureDatabase::Row &row) { row.madeToOrder = true; }));
        m_rows.insert(QStringLiteral("X1"), addChip(9, 1, "X1", {}));

        // Card schemes of card 1: contrast (2) lists card 3 before card 2 and
        // the unreachable card 9; complementary neutral (8) exists.
        addPageScheme(1, 3, 2, 0);
        addPageScheme(1, 9, 2, 1);
        addPageScheme(1, 2, 2, 2);
        addPageScheme(1, 2, 8, 0);

        // Chip schemes, stored out of order.
        for (const QString &chip : { QStringLiteral("N"), QStringLiteral("R"), QStringLiteral("P") }) {
            for (const int kind : { 1, 5, 8 }) {
                addRowScheme(chip, kind, QStringLiteral("C2"), 1, 0);
                addRowScheme(chip, kind, QStringLiteral("B1"), 0, 1);
                addRowScheme(chip, kind, QStringLiteral("C1"), 1, 1);
            }
            for (const int kind : { 2, 5, 8 }) {
                addPageToRowScheme(chip, kind, 3, 0);
                addPageToRowScheme(chip, kind, 2, 1);
            }
        }
        // Pelvon: contrast and wide contrast chips on scheme cards 0 and 1.
        addRowScheme(QStringLiteral("P"), 2, QStringLiteral("B1"), 1, 1); // contrast, card 1: among the rest
        addRowScheme(QStringLiteral("P"), 3, QStringLiteral("C2"), 1, 1); // wide contrast, card 1: third
        addRowScheme(QStringLiteral("P"), 2, QStringLiteral("C1"), 0, 1); // contrast, card 0: second
        addRowScheme(QStringLiteral("P"), 3, QStringLiteral("B2"), 0, 1); // wide contrast, card 0: first

        // Products of chip N, with and without a code, and its groups.
        QVERIFY(db.exec(QStringLiteral("INSERT INTO PRODUCT(ID, NAME, PRODUCT_CODE) VALUES(1, 'Satin', 'S-10'), "
                                       "(2, 'Matt', ''), (3, 'Gloss', 'G-7')")));
        QVERIFY(
            db.exec(QStringLiteral("INSERT INTO ROW_PRODUCT_MAP(COLLECTION_ID, ROW_ID, PRODUCT_ID) VALUES(?, ?, 1), "
                                   "(?, ?, 2)"),
                { m_deckId, rowId("N"), m_deckId, rowId("N") }));
        QVERIFY(
            db.exec(QStringLiteral("INSERT INTO ROW_PRODUCT_MAP(COLLECTION_ID, ROW_ID, PRODUCT_ID) VALUES(?, ?, 3)"),
                { m_deckId, rowId("R") }));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO PRODUCT_GROUP(ID, NAME) VALUES(1, 'Walls'), (2, 'Wood')")));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO ROW_PRODUCT_GROUP_MAP(COLLECTION_ID, ROW_ID, PRODUCT_GROUP_ID) "
                                       "VALUES(?, ?, 1), (?, ?, 2)"),
            { m_deckId, rowId("N"), m_deckId, rowId("N") }));

        // Foresight: a shared group, one per collection.
        m_sharedGroup = addGroup(0, "Shared");
        m_deckGroup = addGroup(m_deckId, "Deck trends");
        m_secondGroup = addGroup(m_secondId, "Second trends");
        addForesightEntry(m_sharedGroup, 2, "late");
        addForesightEntry(m_sharedGroup, 0, "early");
        addForesightEntry(m_sharedGroup, 1, "middle");
        addForesightEntry(m_deckGroup, 0, "only");

        // Textures: shared, per collection, and pairings with card 1.
        m_sharedTexture = addTexture(0, "Plaster", QColor(200, 200, 200));
        m_deckTexture = addTexture(m_deckId, "Brick", QColor(150, 50, 40));
        m_secondTexture = addTexture(m_secondId, "Wood", QColor(120, 80, 40));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO TEXTURE_MAP(TEXTURE_ID, PAGE_ID, ALPHA, NAME) VALUES(?, ?, 0.5, "
                                       "'Plaster wall'), (?, ?, 1.0, 'Brick wall')"),
            { m_sharedTexture, m_pageIds.value(1), m_deckTexture, m_pageIds.value(1) }));

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
    }

    void complementaryNeutralSchemeOfACard()
    {
        QVERIFY(pageHasComplementaryNeutralScheme(kDeck, 1));
        QVERIFY(!pageHasComplementaryNeutralScheme(kDeck, 2));
        QVERIFY(!pageHasComplementaryNeutralScheme(kDeck, 42));
        QVERIFY(!pageHasComplementaryNeutralScheme(kSecond, 1));
        // Unavailable: offered rather than hidden.
        QVERIFY(pageHasComplementaryNeutralScheme(QUuid(), 1));
        QVERIFY(pageHasComplementaryNeutralScheme(QUuid(QStringLiteral("{2c000000-0000-0000-0000-00000000002c}")), 1));
    }

    void schemeEntriesByRowGatesAndOrders_data()
    {
        QTest::addColumn<int>("rowIndex");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("codes");

        const QStringList scheme { QStringLiteral("B1"), QStringLiteral("C2"), QStringLiteral("C1") };
        QTest::newRow("harmonic of a plain chip") << 3 << int(SchemeHarmonic) << scheme;
        QTest::newRow("dramatic of a neutral chip") << 1 << int(SchemeDramatic) << scheme;
        QTest::newRow("dramatic of a plain chip") << 3 << int(SchemeDramatic) << QStringList();
        QTest::newRow("dramatic of a rich chip") << 2 << int(SchemeDramatic) << QStringList();
        QTest::newRow("complementary neutral of a rich chip") << 2 << int(SchemeComplementaryNeutral) << scheme;
        QTest::newRow("complementary neutral of a neutral chip")
            << 1 << int(SchemeComplementaryNeutral) << QStringList();
        QTest::newRow("kind without rows") << 3 << int(SchemeDynamic) << QStringList();
    }

    void schemeEntriesByRowGatesAndOrders()
    {
        QFETCH(int, rowIndex);
        QFETCH(int, kind);
        QFETCH(QStringList, codes);
        QVector<ColorEntry> entries(2);
        QCOMPARE(schemeEntriesByRow(kDeck, kind, 1, rowIndex, entries), 0);
        QCOMPARE(codesOf(entries), codes);
        // Row index is the ROW_ORDER within the scheme; the record holds no
        // made-to-order flag or scheme positions.
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

    void schemeEntriesByPageListsWholeCards_data()
    {
        QTest::addColumn<int>("rowIndex");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QStringList>("codes");

        const QStringList cards { QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("B1"),
            QStringLiteral("B2") };
        QTest::newRow("contrast") << 3 << int(SchemeContrast) << cards;
        QTest::newRow("dramatic of a neutral chip") << 1 << int(SchemeDramatic) << cards;
        QTest::newRow("dramatic of a plain chip") << 3 << int(SchemeDramatic) << QStringList();
        // The mood gate belongs to the chip schemes only.
        QTest::newRow("complementary neutral of a plain chip") << 3 << int(SchemeComplementaryNeutral) << cards;
    }

    void schemeEntriesByPageListsWholeCards()
    {
        QFETCH(int, rowIndex);
        QFETCH(int, kind);
        QFETCH(QStringList, codes);
        QVector<ColorEntry> entries;
        QCOMPARE(schemeEntriesByPage(kDeck, kind, 1, rowIndex, entries), 0);
        QCOMPARE(codesOf(entries), codes);
        for (const ColorEntry &entry : entries) {
            QCOMPARE(entry.rowIndex, entry.code.right(1).toInt());
            QCOMPARE(entry.pageOrder, entry.code.startsWith(QLatin1Char('C')) ? 0 : 1);
        }
    }

    void pelvonSchemeOrdersWideContrastFirst()
    {
        QVector<ColorEntry> entries;
        QCOMPARE(pelvonSchemeEntries(kDeck, 1, 3, entries), 0);
        QCOMPARE(codesOf(entries).mid(0, 3),
            (QStringList { QStringLiteral("B2"), QStringLiteral("C1"), QStringLiteral("C2") }));
        // The harmonic rows of P are not contrast rows; B1 is the remaining one.
        QCOMPARE(codesOf(entries).mid(3), QStringList { QStringLiteral("B1") });
        // No kind gates: chip N is neutral, but has no pelvon rows.
        QCOMPARE(pelvonSchemeEntries(kDeck, 1, 1, entries), 0);
        QVERIFY(entries.isEmpty());
    }

    void schemeQueriesRejectRowsOutsideTheCard_data()
    {
        QTest::addColumn<int>("pageIndex");
        QTest::addColumn<int>("rowIndex");
        QTest::addColumn<int>("status");
        QTest::newRow("one past the last chip") << 1 << 4 << int(StatusRowOutsideCard);
        QTest::newRow("row zero") << 1 << 0 << int(StatusRowOutsideCard);
        QTest::newRow("negative row") << 1 << -1 << int(StatusRowOutsideCard);
        QTest::newRow("missing card") << 42 << 1 << int(StatusFailed);
    }

    void schemeQueriesRejectRowsOutsideTheCard()
    {
        QFETCH(int, pageIndex);
        QFETCH(int, rowIndex);
        QFETCH(int, status);
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

    void productTextsWithAndWithoutCodes()
    {
        QStringList texts { QStringLiteral("stale") };
        QCOMPARE(productsOfEntry(kDeck, rowId("N"), texts), 0);
        std::sort(texts.begin(), texts.end());
        QCOMPARE(texts, (QStringList { QStringLiteral("Matt"), QStringLiteral("Satin: S-10") }));
        // The separator is the asking collection's.
        QCOMPARE(productsOfEntry(kSecond, rowId("R"), texts), 0);
        QCOMPARE(texts, QStringList { QStringLiteral("Gloss / G-7") });

        QCOMPARE(productCodesOfEntry(kDeck, rowId("N"), texts), 0);
        QCOMPARE(texts, QStringList { QStringLiteral("S-10") });
        QCOMPARE(productCodesOfEntry(kDeck, rowId("P"), texts), 0);
        QVERIFY(texts.isEmpty());

        QCOMPARE(productGroupsOfEntry(kDeck, rowId("N"), texts), 0);
        std::sort(texts.begin(), texts.end());
        QCOMPARE(texts, (QStringList { QStringLiteral("Walls"), QStringLiteral("Wood") }));
        QCOMPARE(productGroupsOfEntry(QUuid(), rowId("N"), texts), int(StatusNullUuid));
        QVERIFY(texts.isEmpty());
    }

    void foresightGroupsIncludeSharedOnes()
    {
        QHash<qint64, ColorForesightGroup> groups;
        QCOMPARE(foresightGroups(kDeck, groups), 0);
        QCOMPARE(sortedKeys(groups.keys()), sortedKeys({ m_sharedGroup, m_deckGroup }));
        const ColorForesightGroup shared = groups.value(m_sharedGroup);
        QCOMPARE(shared.name, QStringLiteral("Shared"));
        QCOMPARE(shared.entries.size(), 3);
        QCOMPARE(shared.entries.at(0).name1, QStringLiteral("early"));
        QCOMPARE(shared.entries.at(1).name1, QStringLiteral("middle"));
        QCOMPARE(shared.entries.at(2).name1, QStringLiteral("late"));
        QCOMPARE(shared.entries.at(2).color, QColor(2, 20, 200));

        QCOMPARE(foresightGroups(kSecond, groups), 0);
        QCOMPARE(sortedKeys(groups.keys()), sortedKeys({ m_sharedGroup, m_secondGroup }));
        QVERIFY(groups.value(m_secondGroup).entries.isEmpty());
    }

    void texturesIncludeSharedOnesAndPairWithCards()
    {
        QHash<qint64, Texture> textures;
        QCOMPARE(texturesOfCollection(kDeck, textures), 0);
        QCOMPARE(sortedKeys(textures.keys()), sortedKeys({ m_sharedTexture, m_deckTexture }));
        const Texture brick = textures.value(m_deckTexture);
        QCOMPARE(brick.name, QStringLiteral("Brick"));
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

    template <typename Adjust> qint64 addChip(int pageIndex, int rowIndex, const char *code, Adjust adjust)
    {
        FixtureDatabase::Row row;
        row.rowIndex = rowIndex;
        row.code = QString::fromLatin1(code);
        row.color = QColor(pageIndex * 10, rowIndex * 10, 5);
        adjust(row);
        return m_fixture->addRow(m_deckId, m_pageIds.value(pageIndex), row);
    }
    qint64 addChip(int pageIndex, int rowIndex, const char *code, std::nullptr_t)
    {
        return addChip(pageIndex, rowIndex, code, [](FixtureDatabase::Row &) {});
    }

    void addPageScheme(int pageIndex, int schemePageIndex, int kind, int order)
    {
        QVERIFY(m_fixture->exec(QStringLiteral("INSERT INTO PAGE_SCHEME(COLLECTION_ID, PAGE_ID, SCHEME_PAGE_ID, "
                                               "SCHEME_ID, \"ORDER\") VALUES(?, ?, ?, ?, ?)"),
            { m_deckId, m_pageIds.value(pageIndex), m_pageIds.value(schemePageIndex), kind, order }));
    }

    void addRowScheme(const QString &chip, int kind, const QString &schemeChip, int pageOrder, int rowOrder)
    {
        QVERIFY(m_fixture->exec(QStringLiteral("INSERT INTO ROW_SCHEME_MAP(COLLECTION_ID, ROW_ID, SCHEME_ID, "
                                               "SCHEME_ROW_ID, PAGE_ORDER, ROW_ORDER) VALUES(?, ?, ?, ?, ?, ?)"),
            { m_deckId, m_rows.value(chip), kind, m_rows.value(schemeChip), pageOrder, rowOrder }));
    }

    void addPageToRowScheme(const QString &chip, int kind, int schemePageIndex, int order)
    {
        QVERIFY(m_fixture->exec(QStringLiteral("INSERT INTO ROW_TO_PAGE_SCHEME(COLLECTION_ID, ROW_ID, SCHEME_ID, "
                                               "SCHEME_PAGE_ID, \"ORDER\") VALUES(?, ?, ?, ?, ?)"),
            { m_deckId, m_rows.value(chip), kind, m_pageIds.value(schemePageIndex), order }));
    }

    qint64 addGroup(qint64 collectionId, const char *name)
    {
        m_fixture->exec(QStringLiteral("INSERT INTO FORESIGHT_GROUP(COLLECTION_ID, NAME, DEFAULT_OPEN, \"ORDER\") "
                                       "VALUES(?, ?, 1, 0)"),
            { collectionId, QString::fromLatin1(name) });
        return m_fixture->lastInsertId();
    }

    void addForesightEntry(qint64 groupId, int order, const char *name)
    {
        QVERIFY(m_fixture->exec(QStringLiteral("INSERT INTO FORESIGHT_ENTRY(COLLECTION_ID, FORESIGHT_GROUP_ID, NAME_1, "
                                               "RED, GREEN, BLUE, \"ORDER\") VALUES(0, ?, ?, ?, ?, ?, ?)"),
            { groupId, QString::fromLatin1(name), order, order * 10, order * 100, order }));
    }

    qint64 addTexture(qint64 collectionId, const char *name, const QColor &color)
    {
        m_fixture->exec(
            QStringLiteral("INSERT INTO TEXTURE(COLLECTION_ID, NAME, IMAGE, BASE_ALPHA) VALUES(?, ?, ?, 0.8)"),
            { collectionId, QString::fromLatin1(name), FixtureDatabase::png(QSize(4, 3), color) });
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
