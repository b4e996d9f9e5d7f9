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

using namespace Tintor;
using namespace Tintor::DB;

namespace {

const QUuid kNamed("{1a000000-0000-0000-0000-00000000001a}");
const QUuid kCodesOnly("{1b000000-0000-0000-0000-00000000001b}");
const QUuid kEmpty("{1c000000-0000-0000-0000-00000000001c}");
const QUuid kCapsureLow("{1d000000-0000-0000-0000-00000000001d}");
const QUuid kCapsureNoPriority("{1e000000-0000-0000-0000-00000000001e}");
const QUuid kCapsureOff("{1f000000-0000-0000-0000-00000000001f}");
const QUuid kFolding("{20000000-0000-0000-0000-000000000020}");
const QUuid kBroken("{21000000-0000-0000-0000-000000000021}");

// Codes and names as bytes that are not UTF-8 (hex), on chips 1 to 3.
struct BrokenChip {
    const char *code;
    const char *name;
};
const BrokenChip kBrokenChips[] = {
    { "41C3", "47E96E" }, // truncated sequence; a Latin-1 name
    { "4F4B2D31", "8080" }, // lone continuation bytes
    { "FF2D33", "EDA080" }, // never in UTF-8; an encoded surrogate
};

} // namespace

class SearchQueriesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_fixture = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + "/search.db");
        QVERIFY(m_fixture->isOpen());
        FixtureDatabase &db = *m_fixture;
        const qint64 namedId = db.addCollection(kNamed, "NAMED", 1);
        const qint64 codesOnlyId = db.addCollection(kCodesOnly, "CODES", 2);
        db.addCollection(kEmpty, "EMPTY", 3);
        const qint64 lowId = db.addCollection(kCapsureLow, "LOW", 4);
        const qint64 noPriorityId = db.addCollection(kCapsureNoPriority, "NOPRIO", 5);
        const qint64 offId = db.addCollection(kCapsureOff, "OFF", 6);
        const qint64 foldingId = db.addCollection(kFolding, "FOLDING", 7);
        m_capsureIds = { codesOnlyId, namedId, lowId };
        // Named: card NAME0 (12 ignored), chip NAME1 (10 ignored), so a chip's NAME0 is never searched. Folding: card
        // NAME2, NAME0; chip NAME1, NAME0. Capsure: "first" casts to 0; no priority or disabled never take part.
        const QList<std::tuple<qint64, const char *, QVariant, int>> settings {
            { namedId, "page.name.search.order", 0, 0 }, { namedId, "page.name.search.order", 12, 1 },
            { namedId, "row.name.search.order", 10, 0 }, { namedId, "row.name.search.order", 1, 1 },
            { namedId, "row.name.search.order", -1, 2 }, { foldingId, "page.name.search.order", 2, 0 },
            { foldingId, "page.name.search.order", 0, 1 }, { foldingId, "row.name.search.order", 1, 0 },
            { foldingId, "row.name.search.order", 0, 1 }, { namedId, "capsure.enabled", "1", 0 },
            { namedId, "capsure.priority", 2, 0 }, { codesOnlyId, "Capsure.Enabled", 1, 0 },
            { codesOnlyId, "capsure.priority", "first", 0 }, { lowId, "capsure.enabled", 1, 0 },
            { lowId, "capsure.priority", 7, 0 }, { noPriorityId, "capsure.enabled", 1, 0 },
            { offId, "capsure.enabled", 0, 0 }, { offId, "capsure.priority", 1, 0 }
        };
        for (const auto &[id, name, value, index] : settings)
            db.addSetting(id, QString::fromLatin1(name), value, index);

        // Dawn's mood 9 is not one the filter knows.
        using Page = FixtureDatabase::Page;
        const qint64 sunsetId = db.addPage(namedId, Page { 4, 3, { "Sunset", "Hidden card name" }, true, 2 });
        const qint64 dawnId = db.addPage(namedId, Page { 5, 6, { "Dawn" }, false, 9 });
        const qint64 plainId = db.addPage(codesOnlyId, Page { 1, 1, { "Plain card" } });
        const qint64 lowPageId = db.addPage(lowId, Page { 1, 1, { "Plain card" } });
        const qint64 offPageId = db.addPage(offId, Page { 1, 1, { "Plain card" } });
        const qint64 foldedId = db.addPage(foldingId, Page { 1, 1, { "éclair", "Unsearched", "Zebra" } });
        const qint64 blankId = db.addPage(foldingId, Page { 2, 1, { "  ", "", "\t" } });

        // Names differing only in case, a chip name equal to a code or to a card's name, a code in two Capsure
        // collections. Folding: each case-only duplicate sits in one chip or card, so no spelling hangs on chip order.
        using Row = FixtureDatabase::Row;
        const QList<std::tuple<qint64, qint64, Row>> chips {
            { namedId, sunsetId, Row { 1, "ABC-1", QColor(100, 150, 200), { "Shown only", "Reef" } } },
            { namedId, sunsetId, Row { 2, "xyz-2", QColor(10, 20, 30), { "", "  " } } },
            { namedId, sunsetId, Row { 3, "CAP-1", QColor(7, 7, 7) } },
            { namedId, sunsetId, Row { 4, "Q'UOTE", QColor(8, 8, 8) } },
            { namedId, sunsetId, Row { 5, "SU-5", QColor(0, 0, 2), { "", "Dawn" } } },
            { namedId, sunsetId, Row { 6, "GR-6", QColor(0, 0, 3), { "", "Grün" } } },
            { namedId, sunsetId, Row { 7, "ÉC-7", QColor(0, 0, 4), { "", "ÉCLAIR" } } },
            { namedId, dawnId, Row { 3, "Lagoon", QColor(200, 200, 200), { "", "Sunrise" } } },
            { namedId, dawnId, Row { 1, "SR-9", QColor(0, 0, 0), { "", "sunrise" } } },
            { namedId, dawnId, Row { 2, "DW-2", QColor(0, 0, 1), { "", "sr-9" } } },
            // P-2 is near the colour of ABC-1, but in another collection.
            { codesOnlyId, plainId, Row { 1, "P-1", QColor(100, 150, 200), { "Plain name" } } },
            { codesOnlyId, plainId, Row { 2, "P-2", QColor(101, 151, 201) } },
            { codesOnlyId, plainId, Row { 3, "cap-1", QColor(6, 6, 6) } },
            { lowId, lowPageId, Row { 1, "CAP-1", QColor(5, 5, 5), { "", "Lagoon" } } },
            { offId, offPageId, Row { 1, "CAP-1", QColor(9, 9, 9) } },
            { foldingId, foldedId, Row { 1, "APPLE", QColor(1, 0, 0), { "Ärger", "apple" } } },
            { foldingId, foldedId, Row { 2, "ÉCLAIR", QColor(2, 0, 0), { "\u00a0", "a1" } } },
            { foldingId, foldedId, Row { 3, "A-1", QColor(3, 0, 0), { "", "a_1" } } },
            { foldingId, blankId, Row { 1, "ＡＢ", QColor(4, 0, 0), { "\u3000", "\U0001F600" } } },
            { foldingId, blankId, Row { 2, "Ωmega", QColor(5, 0, 0), { "eclair", "ωMEGA" } } },
            { foldingId, blankId, Row { 3, "zebra", QColor(6, 0, 0), { "", "" } } },
            { foldingId, blankId, Row { 4, "apple-2", QColor(7, 0, 0), { "f-1", " \t" } } },
            { foldingId, blankId, Row { 5, "LEAD", QColor(8, 0, 0), { "", " Lead" } } },
        };
        for (const auto &[collectionId, pageId, row] : chips)
            QVERIFY(db.addRow(collectionId, pageId, row) > 0);

        // Texts that are not UTF-8 and Lab values that are no numbers, as in a damaged file.
        const qint64 brokenId = db.addCollection(kBroken, "BROKEN", 8);
        db.addSetting(brokenId, "row.name.search.order", 1, 0);
        const qint64 brokenPage = db.addPage(brokenId, Page { 1, 1, { "Plain card" } });
        QSqlQuery raw(db.database());
        QVERIFY(raw.exec("PRAGMA ignore_check_constraints = ON"));
        for (int i = 0; i < int(std::size(kBrokenChips)); ++i) {
            QVERIFY(
                db.addRow(brokenId, brokenPage, Row { i + 1, "placeholder", QColor(i, 0, 0), { "", "placeholder" } })
                > 0);
            QVERIFY(raw.exec(QStringLiteral("UPDATE \"ROW\" SET CODE = CAST(X'%1' AS TEXT), NAME1 = CAST(X'%2' AS "
                                            "TEXT) WHERE CODE = 'placeholder'")
                                 .arg(QLatin1String(kBrokenChips[i].code), QLatin1String(kBrokenChips[i].name))));
        }
        QVERIFY(db.addRow(brokenId, brokenPage, Row { 4, "LAB-TEXT", QColor(4, 0, 0) }) > 0);
        QVERIFY(db.addRow(brokenId, brokenPage, Row { 5, "LAB-INF", QColor(5, 0, 0) }) > 0);
        QVERIFY(raw.exec("UPDATE \"ROW\" SET L = 'none' WHERE CODE = 'LAB-TEXT'"));
        QVERIFY(raw.exec("UPDATE \"ROW\" SET A = 1e999 WHERE CODE = 'LAB-INF'"));
        QVERIFY(raw.exec("PRAGMA ignore_check_constraints = OFF"));
        QCOMPARE(discoverCollections(), 1);
    }

    void cleanupTestCase() { m_fixture.reset(); }

    void findPhraseMatchesWholeNamesAndCodes()
    {
        // Phrase, status, page, row, segment, mood, exterior. A card name leaves the row open; Lagoon's unknown mood
        // reads as none; prefixes, unsearched names and a blank phrase (most chips have empty names) do not match.
        const std::tuple<const char *, int, int, int, int, int, bool> phrases[] = { { "abc-1", 0, 4, 1, 3, 2, true },
            { "sUNSET", 0, 4, -1, 3, 2, true }, { "reef", 0, 4, 1, 3, 2, true }, { "LAGOON", 0, 5, 3, 6, 0, false },
            { "Sun", -6, 0, -1, 0, 0, false }, { "Shown only", -6, 0, -1, 0, 0, false },
            { "Hidden card name", -6, 0, -1, 0, 0, false }, { "q'uote", 0, 4, 4, 3, 2, true },
            { "Grün", 0, 4, 6, 3, 2, true }, { "GRÜN", 0, 4, 6, 3, 2, true }, { "éclair", 0, 4, 7, 3, 2, true },
            { "x' OR '1'='1", -6, 0, -1, 0, 0, false }, { "  ", -6, 0, -1, 0, 0, false } };
        CollectionSettings::loadNameOrders(kNamed);
        for (const auto &[phrase, status, pageIndex, rowIndex, segment, mood, exterior] : phrases) {
            int page = 0, row = 99, outSegment = 0, outMood = 0;
            bool outExterior = false;
            QCOMPARE(
                findPhrase(kNamed, QString::fromUtf8(phrase), page, row, outSegment, outMood, outExterior), status);
            QCOMPARE(row, rowIndex);
            if (status == 0) {
                QCOMPARE(page, pageIndex);
                QCOMPARE(outSegment, segment);
                QCOMPARE(outMood, mood);
                QCOMPARE(outExterior, exterior);
            }
        }
    }

    void findPhraseWithoutNameOrdersSearchesCodesOnly()
    {
        QVERIFY(CollectionSettings::nameOrders(kCodesOnly).pageNameSearchOrder.isEmpty());
        int pageIndex = 0, rowIndex = 0, segment = 0, mood = 0;
        bool exterior = true;
        QCOMPARE(findPhrase(kCodesOnly, "p-2", pageIndex, rowIndex, segment, mood, exterior), 0);
        QCOMPARE(pageIndex, 1);
        QCOMPARE(rowIndex, 2);
        QVERIFY(!exterior);
        for (const char *phrase : { "Plain card", "Plain name" })
            QCOMPARE(findPhrase(kCodesOnly, phrase, pageIndex, rowIndex, segment, mood, exterior), int(StatusNoMatch));
        QCOMPARE(findPhrase(QUuid(), "P-1", pageIndex, rowIndex, segment, mood, exterior), int(StatusNullUuid));
        ColorEntry entry;
        QCOMPARE(entryNearRgb(kNamed, QColor(98, 152, 198), entry), int(StatusOk));
        QCOMPARE(entry.code, "ABC-1");
        // ABC-1 is (100, 150, 200): three off in any one channel is too far.
        for (const QColor &far : { QColor(103, 150, 200), QColor(97, 150, 200), QColor(100, 153, 200),
                 QColor(100, 147, 200), QColor(100, 150, 203), QColor(100, 150, 197) }) {
            QCOMPARE(entryNearRgb(kNamed, far, entry), int(StatusFailed));
            QCOMPARE(entry.id, qint64(-1));
        }
    }

    void completionListsEachSearchedTextOnce()
    {
        CollectionSettings::loadNameOrders(kNamed);
        QStringList entries { "stale" };
        QCOMPARE(completionEntries(kNamed, entries), 0);
        // Card NAME0s, chip NAME1s and codes, never the unsearched names; "sr-9" is a name and a code,
        // "Sunrise"/"sunrise" differ only in case, "Dawn" names a card and a chip; blanks are left out.
        const QStringList expected = QStringList { "ABC-1", "CAP-1", "Dawn", "DW-2", "GR-6", "Grün", "Lagoon", "Q'UOTE",
            "Reef", "SR-9", "SU-5", "Sunrise", "Sunset", "xyz-2", "ÉC-7", "ÉCLAIR" };
        QCOMPARE(entries.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QCOMPARE(entries.at(i).toUpper(), expected.at(i).toUpper());

        CollectionSettings::loadNameOrders(kCodesOnly);
        QCOMPARE(completionEntries(kCodesOnly, entries), 0);
        QCOMPARE(entries, (QStringList { "cap-1", "P-1", "P-2" }));
        QCOMPARE(completionEntries(kEmpty, entries), int(StatusFailed));
        QVERIFY(entries.isEmpty());
        QCOMPARE(completionEntries(QUuid(), entries), int(StatusNullUuid));
        // A value stored as bytes reads as its UTF-8 text, like every other.
        for (const char *type : { "TEXT", "BLOB", "TEXT" }) {
            QSqlQuery update(m_fixture->database());
            QVERIFY(update.exec(
                QStringLiteral("UPDATE \"ROW\" SET NAME1 = CAST(NAME1 AS %1) WHERE CODE = 'LEAD'").arg(type)));
            // Case-folded code point order ("_" after digits, "Ä" after "z", beyond U+FFFF last); of texts equal but
            // for case the first read (card, chip name, code) is kept; blank texts are left out, others untrimmed.
            CollectionSettings::loadNameOrders(kFolding);
            QStringList entries;
            QCOMPARE(completionEntries(kFolding, entries), 0);
            QCOMPARE(entries,
                (QStringList { " Lead", "A-1", "a1", "a_1", "apple", "apple-2", "eclair", "f-1", "LEAD", "Zebra",
                    "Ärger", "éclair", "ωMEGA", "ＡＢ", "\U0001F600" }));
        }
    }

    void everyOfferedCompletionFindsItsChip()
    {
        // Bytes that are not UTF-8 read as replacement characters, in the list and in the search alike.
        CollectionSettings::loadNameOrders(kBroken);
        QStringList entries;
        QCOMPARE(completionEntries(kBroken, entries), 0);
        QCOMPARE(entries.size(), 2 * int(std::size(kBrokenChips)) + 2);
        for (int i = 0; i < int(std::size(kBrokenChips)); ++i) {
            for (const char *hex : { kBrokenChips[i].code, kBrokenChips[i].name }) {
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
        candidates.assign(3, LabCandidate());
        QCOMPARE(matchCandidates(kCodesOnly, candidates), 0);
        QCOMPARE(candidates.size(), std::size_t(3));
        ColorEntry entry;
        QCOMPARE(entryByCodeInEnabledCollections("P-2", entry), 0);
        const auto it = std::find_if(candidates.cbegin(), candidates.cend(),
            [&entry](const LabCandidate &c) { return c.reference == quintptr(entry.id); });
        QVERIFY(it != candidates.cend());
        QCOMPARE(it->l, entry.labL);
        QCOMPARE(it->a, entry.labA);
        QCOMPARE(it->b, entry.labB);
        // The list is kept between calls, but not past a change to the file.
        QVERIFY(m_fixture->exec("UPDATE \"ROW\" SET L = 12.5 WHERE ID = ?", {entry.id}));
        QCOMPARE(matchCandidates(kCodesOnly, candidates), 0);
        QCOMPARE(std::count_if(candidates.cbegin(), candidates.cend(), [](const LabCandidate &c) { return c.l == 12.5; }),
            1);
        QVERIFY(m_fixture->exec("UPDATE \"ROW\" SET L = ? WHERE ID = ?", {entry.labL, entry.id}));
        QCOMPARE(matchCandidates(kEmpty, candidates), 0);
        QVERIFY(candidates.empty());
        QCOMPARE(matchCandidates(QUuid(), candidates), int(StatusNullUuid));
    }

    void findCapsureEntriesPrefersHigherPriority()
    {
        QVector<qint64> ids { 42 };
        QCOMPARE(capsureCollectionIds(ids), 0);
        QCOMPARE(ids, m_capsureIds);

        QVector<ColorEntry> entries;
        QCOMPARE(findCapsureEntries("cap-1", entries), 0);
        QCOMPARE(entries.size(), 3); // the disabled collection's chip is not among them
        QCOMPARE(collectionUuidInSystemWideFile(entries.at(0).collectionId), kCodesOnly);
        QCOMPARE(collectionUuidInSystemWideFile(entries.at(1).collectionId), kNamed);
        QCOMPARE(collectionUuidInSystemWideFile(entries.at(2).collectionId), kCapsureLow);
        QCOMPARE(entries.at(2).red, 5);
        // Searched chip names count too (the device-matching collections' row.name.search.order).
        QCOMPARE(findCapsureEntries("LAGOON", entries), 0);
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries.at(0).code, "Lagoon");
        QCOMPARE(entries.at(1).code, "CAP-1");
        // Measured names are taken literally; an empty name matches no nameless chip.
        CollectionSettings::loadNameOrders(kNamed);
        for (const auto &[text, count] :
            { std::pair("q'uote", 1), std::pair("x'); DROP TABLE \"ROW\"; --", 0), std::pair("", 0) }) {
            QVector<ColorEntry> entries(1);
            QCOMPARE(findCapsureEntries(QString::fromLatin1(text), entries), 0);
            QCOMPARE(entries.size(), count);
            ColorEntry entry;
            QCOMPARE(entryAt(kNamed, 4, 1, entry), 0);
        }
    }

private:
    std::unique_ptr<FixtureDatabase> m_fixture;
    QVector<qint64> m_capsureIds;
};

HUELINK_TEST_MAIN(SearchQueriesTest)
#include "SearchQueriesTest.moc"
