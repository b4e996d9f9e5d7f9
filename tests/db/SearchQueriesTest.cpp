#include "db/SearchQueries.h"
#include "color/ColorScience.h"
#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QSqlQuery>
#include <QtTest>

#include <memory>

using namespace Tintor;
using namespace Tintor::DB;

namespace {

const QUuid kNamed(QStringLiteral("{1a000000-0000-0000-0000-00000000001a}"));
const QUuid kCodesOnly(QStringLiteral("{1b000000-0000-0000-0000-00000000001b}"));
const QUuid kEmpty(QStringLiteral("{1c000000-0000-0000-0000-00000000001c}"));
const QUuid kCapsureLow(QStringLiteral("{1d000000-0000-0000-0000-00000000001d}"));
const QUuid kCapsureNoPriority(QStringLiteral("{1e000000-0000-0000-0000-00000000001e}"));
const QUuid kCapsureOff(QStringLiteral("{1f000000-0000-0000-0000-00000000001f}"));
const QUuid kFolding(QStringLiteral("{20000000-0000-0000-0000-000000000020}"));
const QUuid kBroken(QStringLiteral("{21000000-0000-0000-0000-000000000021}"));

// Codes and names as bytes that are not UTF-8 (hex), on chips 1 to 3.
struct BrokenChip {
    const char *code;
    const char *name;
};
const BrokenChip kBrokenChips[] = {
    {"41C3", "47E96E"},   // truncated sequence; a Latin-1 name
    {"4F4B2D31", "8080"}, // lone continuation bytes
    {"FF2D33", "EDA080"}, // never in UTF-8; an encoded surrogate
};

QStringList names(std::initializer_list<const char *> texts)
{
    QStringList list;
    for (const char *text : texts)
        list << QString::fromUtf8(text);
    return list;
}

} // namespace

class SearchQueriesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_fixture
            = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + QStringLiteral("/search.db"));
        QVERIFY(m_fixture->isOpen());
        FixtureDatabase &db = *m_fixture;

        // Card names: NAME0 searched (index 12 ignored); chip names: NAME1 and
        // NAME10 (ignored), so NAME0 of a chip is shown but never searched.
        m_namedId = db.addCollection(kNamed, QStringLiteral("NAMED"), 1);
        db.addSetting(m_namedId, QStringLiteral("page.name.search.order"), 0, 0);
        db.addSetting(m_namedId, QStringLiteral("page.name.search.order"), 12, 1);
        db.addSetting(m_namedId, QStringLiteral("row.name.search.order"), 10, 0);
        db.addSetting(m_namedId, QStringLiteral("row.name.search.order"), 1, 1);
        db.addSetting(m_namedId, QStringLiteral("row.name.search.order"), -1, 2);

        FixtureDatabase::Page sunset;
        sunset.pageIndex = 4;
        sunset.segment = 3;
        sunset.mood = 2;
        sunset.exterior = true;
        sunset.names = names({ "Sunset", "Hidden card name" });
        const qint64 sunsetId = db.addPage(m_namedId, sunset);
        FixtureDatabase::Page dawn;
        dawn.pageIndex = 5;
        dawn.segment = 6;
        dawn.mood = 9; // not a mood the filter knows
        dawn.names = names({ "Dawn" });
        const qint64 dawnId = db.addPage(m_namedId, dawn);

        addChip(sunsetId, 1, "ABC-1", QColor(100, 150, 200), names({ "Shown only", "Reef" }));
        addChip(sunsetId, 2, "xyz-2", QColor(10, 20, 30), names({ "", "  " }));
        // Names differing only in case, a chip name equal to a code, and one
        // equal to another card's name.
        addChip(dawnId, 3, "Lagoon", QColor(200, 200, 200), names({ "", "Sunrise" }));
        addChip(dawnId, 1, "SR-9", QColor(0, 0, 0), names({ "", "sunrise" }));
        addChip(dawnId, 2, "DW-2", QColor(0, 0, 1), names({ "", "sr-9" }));
        addChip(sunsetId, 5, "SU-5", QColor(0, 0, 2), names({ "", "Dawn" }));
        addChip(sunsetId, 6, "GR-6", QColor(0, 0, 3), names({ "", "Grün" }));
        addChip(sunsetId, 7, "ÉC-7", QColor(0, 0, 4), names({ "", "ÉCLAIR" }));

        m_codesOnlyId = db.addCollection(kCodesOnly, QStringLiteral("CODES"), 2);
        FixtureDatabase::Page plain;
        plain.pageIndex = 1;
        plain.segment = 1;
        plain.names = names({ "Plain card" });
        const qint64 plainId = db.addPage(m_codesOnlyId, plain);
        addChip(plainId, 1, "P-1", QColor(100, 150, 200), names({ "Plain name" }));
        // Near the colour of ABC-1, but in another collection.
        addChip(plainId, 2, "P-2", QColor(101, 151, 201), {});

        db.addCollection(kEmpty, QStringLiteral("EMPTY"), 3);

        // Capsure: kNamed priority 2; kCodesOnly priority "first" (casts to
        // 0, so it comes first); one enabled without a priority and one with
        // a priority but disabled never take part.
        db.addSetting(m_namedId, QStringLiteral("capsure.enabled"), QStringLiteral("1"));
        db.addSetting(m_namedId, QStringLiteral("capsure.priority"), 2);
        db.addSetting(m_codesOnlyId, QStringLiteral("Capsure.Enabled"), 1);
        db.addSetting(m_codesOnlyId, QStringLiteral("capsure.priority"), QStringLiteral("first"));
        const qint64 lowId = db.addCollection(kCapsureLow, QStringLiteral("LOW"), 4);
        db.addSetting(lowId, QStringLiteral("capsure.enabled"), 1);
        db.addSetting(lowId, QStringLiteral("capsure.priority"), 7);
        const qint64 noPriorityId = db.addCollection(kCapsureNoPriority, QStringLiteral("NOPRIO"), 5);
        db.addSetting(noPriorityId, QStringLiteral("capsure.enabled"), 1);
        const qint64 offId = db.addCollection(kCapsureOff, QStringLiteral("OFF"), 6);
        db.addSetting(offId, QStringLiteral("capsure.enabled"), 0);
        db.addSetting(offId, QStringLiteral("capsure.priority"), 1);
        m_capsureIds = { m_codesOnlyId, m_namedId, lowId };

        // The same code in two Capsure collections, and a chip shared by name.
        const qint64 lowPageId = db.addPage(lowId, plain);
        addChip(lowPageId, 1, "CAP-1", QColor(5, 5, 5), names({ "", "Lagoon" }));
        addChip(plainId, 3, "cap-1", QColor(6, 6, 6), {});
        addChip(sunsetId, 3, "CAP-1", QColor(7, 7, 7), {});
        addChip(sunsetId, 4, "Q'UOTE", QColor(8, 8, 8), {});
        const qint64 offPageId = db.addPage(offId, plain);
        addChip(offPageId, 1, "CAP-1", QColor(9, 9, 9), {});

        // Completion corner cases: card columns NAME2 then NAME0, chip
        // columns NAME1, NAME0, then the code.
        const qint64 foldingId = db.addCollection(kFolding, QStringLiteral("FOLDING"), 7);
        db.addSetting(foldingId, QStringLiteral("page.name.search.order"), 2, 0);
        db.addSetting(foldingId, QStringLiteral("page.name.search.order"), 0, 1);
        db.addSetting(foldingId, QStringLiteral("row.name.search.order"), 1, 0);
        db.addSetting(foldingId, QStringLiteral("row.name.search.order"), 0, 1);
        FixtureDatabase::Page folded;
        folded.names = names({ "éclair", "Unsearched", "Zebra" });
        const qint64 foldedId = db.addPage(foldingId, folded);
        FixtureDatabase::Page blank;
        blank.pageIndex = 2;
        blank.names = names({ "  ", "", "\t" });
        const qint64 blankId = db.addPage(foldingId, blank);
        // Each case-only duplicate sits in one chip or in a card, so which
        // spelling is read first does not depend on the order of the chips.
        addChip(foldedId, 1, "APPLE", QColor(1, 0, 0), names({ "Ärger", "apple" }));
        addChip(foldedId, 2, "ÉCLAIR", QColor(2, 0, 0), names({ "\u00a0", "a1" }));
        addChip(foldedId, 3, "A-1", QColor(3, 0, 0), names({ "", "a_1" }));
        addChip(blankId, 1, "ＡＢ", QColor(4, 0, 0), names({ "\u3000", "\U0001F600" }));
        addChip(blankId, 2, "Ωmega", QColor(5, 0, 0), names({ "eclair", "ωMEGA" }));
        addChip(blankId, 3, "zebra", QColor(6, 0, 0), names({ "", "" }));
        addChip(blankId, 4, "apple-2", QColor(7, 0, 0), names({ "f-1", " \t" }));
        addChip(blankId, 5, "LEAD", QColor(8, 0, 0), names({ "", " Lead" }));

        // A file with texts that are not UTF-8 and Lab values that are no
        // numbers; the checks are switched off as a damaged file has them.
        const qint64 brokenId = db.addCollection(kBroken, QStringLiteral("BROKEN"), 8);
        db.addSetting(brokenId, QStringLiteral("row.name.search.order"), 1, 0);
        const qint64 brokenPage = db.addPage(brokenId, plain);
        QSqlQuery raw(db.database());
        QVERIFY(raw.exec(QStringLiteral("PRAGMA ignore_check_constraints = ON")));
        for (int i = 0; i < int(std::size(kBrokenChips)); ++i) {
            addChip(brokenPage, i + 1, "placeholder", QColor(i, 0, 0), names({"", "placeholder"}));
            QVERIFY(raw.exec(QStringLiteral("UPDATE \"ROW\" SET CODE = CAST(X'%1' AS TEXT), NAME1 = CAST(X'%2' AS "
                                            "TEXT) WHERE CODE = 'placeholder'")
                                 .arg(QLatin1String(kBrokenChips[i].code), QLatin1String(kBrokenChips[i].name))));
        }
        addChip(brokenPage, 4, "LAB-TEXT", QColor(4, 0, 0), {});
        addChip(brokenPage, 5, "LAB-INF", QColor(5, 0, 0), {});
        QVERIFY(raw.exec(QStringLiteral("UPDATE \"ROW\" SET L = 'none' WHERE CODE = 'LAB-TEXT'")));
        QVERIFY(raw.exec(QStringLiteral("UPDATE \"ROW\" SET A = 1e999 WHERE CODE = 'LAB-INF'")));
        QVERIFY(raw.exec(QStringLiteral("PRAGMA ignore_check_constraints = OFF")));

        QCOMPARE(discoverCollections(), 1);
    }

    void cleanupTestCase() { m_fixture.reset(); }

    void findPhraseMatchesWholeNamesAndCodes_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("pageIndex");
        QTest::addColumn<int>("rowIndex");
        QTest::addColumn<int>("segment");
        QTest::addColumn<int>("mood");
        QTest::addColumn<bool>("exterior");

        QTest::newRow("code typed in lower case") << "abc-1" << 0 << 4 << 1 << 3 << 2 << true;
        QTest::newRow("code stored in lower case") << "XYZ-2" << 0 << 4 << 2 << 3 << 2 << true;
        QTest::newRow("card name leaves the row open") << "sUNSET" << 0 << 4 << -1 << 3 << 2 << true;
        QTest::newRow("searched chip name") << "reef" << 0 << 4 << 1 << 3 << 2 << true;
        QTest::newRow("unknown mood reads as none") << "LAGOON" << 0 << 5 << 3 << 6 << 0 << false;
        QTest::newRow("prefix is not a match") << "Sun" << -6 << 0 << -1 << 0 << 0 << false;
        QTest::newRow("chip name not in the search order") << "Shown only" << -6 << 0 << -1 << 0 << 0 << false;
        QTest::newRow("card name not in the search order") << "Hidden card name" << -6 << 0 << -1 << 0 << 0 << false;
        QTest::newRow("quote in the phrase") << "q'uote" << 0 << 4 << 4 << 3 << 2 << true;
        QTest::newRow("non-ASCII name as stored") << "Grün" << 0 << 4 << 6 << 3 << 2 << true;
        QTest::newRow("non-ASCII name in lower case") << "grün" << 0 << 4 << 6 << 3 << 2 << true;
        QTest::newRow("non-ASCII name in capitals") << "GRÜN" << 0 << 4 << 6 << 3 << 2 << true;
        QTest::newRow("capital non-ASCII name in lower case") << "éclair" << 0 << 4 << 7 << 3 << 2 << true;
        QTest::newRow("non-ASCII code") << "éc-7" << 0 << 4 << 7 << 3 << 2 << true;
        QTest::newRow("SQL in the phrase") << "x' OR '1'='1" << -6 << 0 << -1 << 0 << 0 << false;
        // Most chips have empty names; an empty phrase must not pick one.
        QTest::newRow("empty phrase") << "" << -6 << 0 << -1 << 0 << 0 << false;
        QTest::newRow("blank phrase") << "  " << -6 << 0 << -1 << 0 << 0 << false;
    }

    void findPhraseMatchesWholeNamesAndCodes()
    {
        QFETCH(QString, phrase);
        QFETCH(int, status);
        CollectionSettings::loadNameOrders(kNamed);
        int pageIndex = 0;
        int rowIndex = 99;
        int segment = 0;
        int mood = 0;
        bool exterior = false;
        QCOMPARE(findPhrase(kNamed, phrase, pageIndex, rowIndex, segment, mood, exterior), status);
        if (status != 0) {
            QCOMPARE(rowIndex, -1);
            return;
        }
        QTEST(pageIndex, "pageIndex");
        QTEST(rowIndex, "rowIndex");
        QTEST(segment, "segment");
        QTEST(mood, "mood");
        QTEST(exterior, "exterior");
    }

    void findPhraseCardOrChipIsDecidedByTheRowFound()
    {
        // "Dawn" names card 5 and a chip of card 4: either answer must be
        // whole, a card without a row or a chip with its own card.
        CollectionSettings::loadNameOrders(kNamed);
        int pageIndex = 0, rowIndex = 0, segment = 0, mood = 0;
        bool exterior = false;
        QCOMPARE(findPhrase(kNamed, QStringLiteral("dawn"), pageIndex, rowIndex, segment, mood, exterior), 0);
        if (pageIndex == 5) {
            QCOMPARE(rowIndex, -1);
            QCOMPARE(segment, 6);
        } else {
            QCOMPARE(pageIndex, 4);
            QCOMPARE(rowIndex, 5);
            QCOMPARE(segment, 3);
        }
    }

    void findPhraseWithoutNameOrdersSearchesCodesOnly()
    {
        QVERIFY(CollectionSettings::nameOrders(kCodesOnly).pageNameSearchOrder.isEmpty());
        int pageIndex = 0, rowIndex = 0, segment = 0, mood = 0;
        bool exterior = true;
        QCOMPARE(findPhrase(kCodesOnly, QStringLiteral("p-2"), pageIndex, rowIndex, segment, mood, exterior), 0);
        QCOMPARE(pageIndex, 1);
        QCOMPARE(rowIndex, 2);
        QVERIFY(!exterior);
        QCOMPARE(findPhrase(kCodesOnly, QStringLiteral("Plain card"), pageIndex, rowIndex, segment, mood, exterior),
            int(StatusNoMatch));
        QCOMPARE(findPhrase(kCodesOnly, QStringLiteral("Plain name"), pageIndex, rowIndex, segment, mood, exterior),
            int(StatusNoMatch));
        QCOMPARE(findPhrase(QUuid(), QStringLiteral("P-1"), pageIndex, rowIndex, segment, mood, exterior),
            int(StatusNullUuid));
    }

    void completionListsEachSearchedTextOnce()
    {
        CollectionSettings::loadNameOrders(kNamed);
        QStringList entries { QStringLiteral("stale") };
        QCOMPARE(completionEntries(kNamed, entries), 0);
        // Card NAME0s, chip NAME1s and codes, never the unsearched names;
        // "sr-9" is a name and a code, "Sunrise"/"sunrise" differ only in
        // case, "Dawn" names a card and a chip; blanks are left out.
        const QStringList expected = names({ "ABC-1", "CAP-1", "Dawn", "DW-2", "GR-6", "Grün", "Lagoon", "Q'UOTE",
            "Reef", "SR-9", "SU-5", "Sunrise", "Sunset", "xyz-2", "ÉC-7", "ÉCLAIR" });
        QCOMPARE(entries.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(entries.at(i).toUpper(), expected.at(i).toUpper());
        for (const QString &entry : entries)
            QVERIFY(!entry.trimmed().isEmpty());
    }

    void completionWithoutNameOrdersListsCodes()
    {
        CollectionSettings::loadNameOrders(kCodesOnly);
        QStringList entries;
        QCOMPARE(completionEntries(kCodesOnly, entries), 0);
        QCOMPARE(entries, names({ "cap-1", "P-1", "P-2" }));
        QCOMPARE(completionEntries(kEmpty, entries), int(StatusFailed));
        QVERIFY(entries.isEmpty());
        QCOMPARE(completionEntries(QUuid(), entries), int(StatusNullUuid));
    }

    void completionFoldsCaseAndKeepsTheFirstSpelling_data()
    {
        QTest::addColumn<bool>("blob");
        QTest::newRow("texts") << false;
        // A value stored as bytes reads as its UTF-8 text, like every other.
        QTest::newRow("a name stored as a blob") << true;
    }

    void completionFoldsCaseAndKeepsTheFirstSpelling()
    {
        QFETCH(bool, blob);
        QSqlQuery update(m_fixture->database());
        const auto storeLeadNameAs = [&update](const char *type) {
            return update.exec(QStringLiteral("UPDATE \"ROW\" SET NAME1 = CAST(NAME1 AS %1) WHERE CODE = 'LEAD'")
                                   .arg(QLatin1String(type)));
        };
        QVERIFY(storeLeadNameAs(blob ? "BLOB" : "TEXT"));
        const auto restore = qScopeGuard([&storeLeadNameAs] { storeLeadNameAs("TEXT"); });
        // Sorted by the case-folded text in code point order (so "_" after
        // digits, "Ä" after "z", a character beyond U+FFFF last); of texts
        // equal but for case the first read is kept, card names before chip
        // names before codes; texts of only white space (tabs, no-break and
        // ideographic spaces too) are left out, others are kept untrimmed.
        CollectionSettings::loadNameOrders(kFolding);
        QStringList entries;
        QCOMPARE(completionEntries(kFolding, entries), 0);
        QCOMPARE(entries,
            names({ " Lead", "A-1", "a1", "a_1", "apple", "apple-2", "eclair", "f-1", "LEAD", "Zebra", "Ärger",
                "éclair", "ωMEGA", "ＡＢ", "\U0001F600" }));
    }

    void everyOfferedCompletionFindsItsChip()
    {
        // Bytes that are not UTF-8 read as replacement characters, in the
        // list and in the search alike.
        CollectionSettings::loadNameOrders(kBroken);
        QStringList entries;
        QCOMPARE(completionEntries(kBroken, entries), 0);
        QCOMPARE(entries.size(), 2 * int(std::size(kBrokenChips)) + 2);
        for (int i = 0; i < int(std::size(kBrokenChips)); ++i) {
            for (const char *hex : {kBrokenChips[i].code, kBrokenChips[i].name}) {
                const QString text = QString::fromUtf8(QByteArray::fromHex(hex));
                QVERIFY2(entries.contains(text), hex);
                int page = -1, row = -1, segment = -1, mood = -1;
                bool exterior = false;
                QCOMPARE(findPhrase(kBroken, text, page, row, segment, mood, exterior), 0);
                QCOMPARE(row, i + 1);
            }
        }
    }

    void matchCandidatesSkipChipsWithoutAUsableLab()
    {
        std::vector<LabCandidate> candidates;
        int skipped = -1;
        QCOMPARE(matchCandidates(kBroken, candidates, &skipped), 0);
        QCOMPARE(skipped, 2);
        QCOMPARE(candidates.size(), std::size(kBrokenChips));
    }

    void entryNearRgbAllowsTwoPerChannel_data()
    {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<QString>("code");

        QTest::newRow("exact") << QColor(100, 150, 200) << "ABC-1";
        QTest::newRow("one step on every channel") << QColor(101, 149, 201) << "ABC-1";
        QTest::newRow("two steps on every channel") << QColor(98, 152, 198) << "ABC-1";
        QTest::newRow("three steps on red") << QColor(103, 150, 200) << "";
        QTest::newRow("three steps on blue") << QColor(100, 150, 197) << "";
    }

    void entryNearRgbAllowsTwoPerChannel()
    {
        QFETCH(QColor, color);
        QFETCH(QString, code);
        ColorEntry entry;
        const int status = entryNearRgb(kNamed, color, entry);
        if (code.isEmpty()) {
            QCOMPARE(status, int(StatusFailed));
            QCOMPARE(entry.id, qint64(-1));
        } else {
            QCOMPARE(status, int(StatusOk));
            QCOMPARE(entry.code, code);
        }
    }

    void matchCandidatesCarryLabAndRowId()
    {
        std::vector<LabCandidate> candidates(3);
        QCOMPARE(matchCandidates(kCodesOnly, candidates), 0);
        QCOMPARE(candidates.size(), std::size_t(3));
        ColorEntry entry;
        QCOMPARE(entryByCodeInEnabledCollections(QStringLiteral("P-2"), entry), 0);
        const auto it = std::find_if(candidates.cbegin(), candidates.cend(),
            [&entry](const LabCandidate &c) { return c.reference == quintptr(entry.id); });
        QVERIFY(it != candidates.cend());
        QCOMPARE(it->l, entry.labL);
        QCOMPARE(it->a, entry.labA);
        QCOMPARE(it->b, entry.labB);

        // Ranked by the matcher, a chip's own colour finds that chip first.
        std::vector<NearestMatch> nearest;
        findNearestColors({ entry.labL, entry.labA, entry.labB }, candidates, nearest, 2);
        QCOMPARE(nearest.size(), std::size_t(2));
        QCOMPARE(nearest.front().reference, quintptr(entry.id));
        QCOMPARE(nearest.front().distance, 0.0);

        QCOMPARE(matchCandidates(kEmpty, candidates), 0);
        QVERIFY(candidates.empty());
        QCOMPARE(matchCandidates(QUuid(), candidates), int(StatusNullUuid));
    }

    void capsureCollectionsComeByPriority()
    {
        QVector<qint64> ids { 42 };
        QCOMPARE(capsureCollectionIds(ids), 0);
        QCOMPARE(ids, m_capsureIds);
    }

    void findCapsureEntriesPrefersHigherPriority()
    {
        QVector<ColorEntry> entries;
        QCOMPARE(findCapsureEntries(QStringLiteral("cap-1"), entries), 0);
        QCOMPARE(entries.size(), 3); // the disabled collection's chip is not among them
        QCOMPARE(collectionUuidInSystemWideFile(entries.at(0).collectionId), kCodesOnly);
        QCOMPARE(collectionUuidInSystemWideFile(entries.at(1).collectionId), kNamed);
        QCOMPARE(collectionUuidInSystemWideFile(entries.at(2).collectionId), kCapsureLow);
        QCOMPARE(entries.at(2).red, 5);

        // Searched chip names count too (row.name.search.order of the loaded
        // collection).
        QCOMPARE(findCapsureEntries(QStringLiteral("LAGOON"), entries), 0);
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).code, QStringLiteral("Lagoon"));
        QCOMPARE(entries.at(1).code, QStringLiteral("CAP-1"));
    }

    void findCapsureEntriesTakesMeasuredNamesLiterally_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("quote in the name") << "q'uote" << 1;
        QTest::newRow("SQL that would match everything") << "x' OR '1'='1" << 0;
        QTest::newRow("SQL that would end the statement") << "x'); DROP TABLE \"ROW\"; --" << 0;
        QTest::newRow("lone quote") << "'" << 0;
        QTest::newRow("unknown") << "NOPE" << 0;
        QTest::newRow("empty name matches no nameless chip") << "" << 0;
    }

    void findCapsureEntriesTakesMeasuredNamesLiterally()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        CollectionSettings::loadNameOrders(kNamed);
        QVector<ColorEntry> entries(1);
        QCOMPARE(findCapsureEntries(text, entries), 0);
        QCOMPARE(entries.size(), count);
        ColorEntry entry;
        QCOMPARE(entryAt(kNamed, 4, 1, entry), 0);
    }

private:
    void addChip(qint64 pageId, int rowIndex, const char *code, const QColor &color, const QStringList &chipNames)
    {
        QSqlQuery query(m_fixture->database());
        query.prepare(QStringLiteral("SELECT CMAP.COLLECTION_ID FROM COLLECTION_PAGE_MAP CMAP WHERE CMAP.PAGE_ID = ?"));
        query.addBindValue(pageId);
        QVERIFY(query.exec() && query.next());
        FixtureDatabase::Row row;
        row.rowIndex = rowIndex;
        row.code = QString::fromUtf8(code);
        row.color = color;
        row.names = chipNames;
        QVERIFY(m_fixture->addRow(query.value(0).toLongLong(), pageId, row) > 0);
    }

    std::unique_ptr<FixtureDatabase> m_fixture;
    qint64 m_namedId = -1;
    qint64 m_codesOnlyId = -1;
    QVector<qint64> m_capsureIds;
};

HUELINK_TEST_MAIN(SearchQueriesTest)
#include "SearchQueriesTest.moc"
