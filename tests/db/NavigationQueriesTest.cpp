#include "db/NavigationQueries.h"
#include "db/CollectionRegistry.h"
#include "db/QueryMemo.h"
#include "db/Status.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using namespace Tintor::DB;

namespace {

const QUuid kDeck("{0a000000-0000-0000-0000-00000000000a}");
const QUuid kOther("{0b000000-0000-0000-0000-00000000000b}");
const QUuid kDisabled("{0c000000-0000-0000-0000-00000000000c}");
const QUuid kUnknown("{0d000000-0000-0000-0000-00000000000d}");

struct CardSpec {
    int pageIndex;
    int segment;
    int mood;
    bool exterior;
};

// Page, segment, mood, exterior of the deck's cards; offwhite (5) and neutral (6) cards in between must be skipped.
const CardSpec kCards[] = {
    { 1, 1, 5, true }, // offwhite exterior
    { 2, 1, 1, false }, // fresh
    { 3, 2, 2, true }, // warm exterior
    { 4, 2, 6, false }, // neutral
    { 5, 5, 3, false }, // calm
    { 6, 5, 6, true }, // neutral exterior
    { 7, 1, 2, false }, // warm, same segment as 1 and 2
};

QList<int> pageIndicesOf(const ColorPage &page)
{
    QList<int> rowIndices;
    for (const ColorEntry &entry : page.entries)
        rowIndices.append(entry.rowIndex);
    return rowIndices;
}

} // namespace

class NavigationQueriesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_fixture = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + "/deck.db");
        QVERIFY(m_fixture->isOpen());
        m_deckId = m_fixture->addCollection(kDeck, "DECK", 1);
        m_otherId = m_fixture->addCollection(kOther, "OTHER", 2);
        const qint64 disabledId = m_fixture->addCollection(kDisabled, "OFF", 3, false);
        QVERIFY(m_deckId > 0 && m_otherId > 0 && disabledId > 0);
        using Page = FixtureDatabase::Page;
        using Row = FixtureDatabase::Row;
        for (const CardSpec &card : kCards) {
            const qint64 pageId
                = m_fixture->addPage(m_deckId, Page { card.pageIndex, card.segment, {}, card.exterior, card.mood });
            m_pageIds.insert(card.pageIndex, pageId);
            // Rows stored out of order: the card must sort them.
            for (const int rowIndex : { 3, 1, 2 }) {
                const QString code = QStringLiteral("D%1-%2").arg(card.pageIndex).arg(rowIndex);
                QVERIFY(m_fixture->addRow(
                            m_deckId, pageId, Row { rowIndex, code, QColor(card.pageIndex * 20, rowIndex * 30, 7) })
                    > 0);
            }
        }
        const qint64 otherPageId = m_fixture->addPage(m_otherId, Page { 1, 3 });
        m_quotedRowId = m_fixture->addRow(m_otherId, otherPageId, Row { 1, "O'NEIL 7", QColor(1, 2, 3) });
        QVERIFY(m_fixture->addRow(m_otherId, otherPageId, Row { 2, "", QColor(4, 4, 4) }) > 0);
        const qint64 hiddenPageId = m_fixture->addPage(disabledId, Page { 1, 1 });
        QVERIFY(m_fixture->addRow(disabledId, hiddenPageId, Row { 1, "HIDDEN", QColor(9, 9, 9) }) > 0);

        QCOMPARE(discoverCollections(), 1);
    }

    void cleanupTestCase() { m_fixture.reset(); }

    void pageAtLoadsTheCardWithItsChipsInRowOrder()
    {
        ColorPage page;
        QCOMPARE(pageAt(kDeck, 3, page), int(StatusOk));
        QCOMPARE(page.pageIndex, 3);
        QCOMPARE(page.id, m_pageIds.value(3));
        QCOMPARE(pageIndicesOf(page), (QList<int> { 1, 2, 3 }));
        for (const ColorEntry &entry : page.entries) {
            QCOMPARE(entry.collectionId, m_deckId);
            QCOMPARE(entry.pageId, page.id);
        }
        QCOMPARE(page.entries.at(1).code, "D3-2");
        QCOMPARE(pageAt(kDeck, 99, page), int(StatusFailed));
        QCOMPARE(page.pageIndex, 3); // left as it was
        QCOMPARE(pageAt(QUuid(), 1, page), int(StatusNullUuid));
        QCOMPARE(pageAt(kDisabled, 1, page), int(StatusNotRegistered));
        QCOMPARE(pageById(kDeck, m_pageIds.value(5), false, page), int(StatusOk));
        QCOMPARE(page.pageIndex, 5);
        QVERIFY(page.entries.isEmpty());
        QCOMPARE(pageById(kDeck, m_pageIds.value(5), true, page), int(StatusOk));
        QCOMPARE(pageIndicesOf(page), (QList<int> { 1, 2, 3 }));
        // The card exists in the file but not in that collection.
        QCOMPARE(pageById(kOther, m_pageIds.value(5), true, page), int(StatusFailed));
    }

    // Cards are kept between calls, but never past a change of the file: seen on the same connection and on the
    // fresh one a later host call opens.
    void keptCardsFollowTheFile()
    {
        const auto redOfFirstChip = [] {
            ColorPage page;
            return pageAt(kDeck, 7, page) == StatusOk && !page.entries.isEmpty() ? page.entries.first().red : -1;
        };
        QCOMPARE(redOfFirstChip(), 140);
        const int hits = QueryMemo::hitCount();
        QCOMPARE(redOfFirstChip(), 140);
        QCOMPARE(QueryMemo::hitCount(), hits + 1);
        const QString change = QStringLiteral("UPDATE \"ROW\" SET RED = ? WHERE PAGE_ID = ? AND ROW_INDEX = 1");
        QVERIFY(m_fixture->exec(change, { 141, m_pageIds.value(7) }));
        QCOMPARE(redOfFirstChip(), 141);
        QSqlDatabase::removeDatabase(connectionNameOf(m_fixture->path()));
        QVERIFY(m_fixture->exec(change, { 142, m_pageIds.value(7) }));
        QCOMPARE(redOfFirstChip(), 142);
        QVERIFY(m_fixture->exec(change, { 140, m_pageIds.value(7) }));
    }

    void entryLookupsFindTheChipOrClearTheEntry()
    {
        ColorEntry entry;
        QCOMPARE(entryAt(kDeck, 4, 2, entry), int(StatusOk));
        QCOMPARE(entry.code, "D4-2");
        const qint64 rowId = entry.id;

        ColorEntry byId;
        QCOMPARE(entryById(kDeck, rowId, byId), int(StatusOk));
        QCOMPARE(byId.code, "D4-2");
        QCOMPARE(byId.collectionId, m_deckId);

        QCOMPARE(entryAt(kDeck, 4, 9, entry), int(StatusFailed));
        QCOMPARE(entry.id, qint64(-1));
        QCOMPARE(entryById(kDeck, 987654, entry), int(StatusFailed));
        QCOMPARE(entry.id, qint64(-1));
        QCOMPARE(entryById(QUuid(), rowId, entry), int(StatusNullUuid));
        // Collections of one file share its rows: another collection's row ID is no chip of this one.
        QCOMPARE(entryById(kOther, rowId, entry), int(StatusFailed));
        QCOMPARE(entryById(kDeck, m_quotedRowId, entry), int(StatusFailed));
        QUuid owner;
        QCOMPARE(owningCollection(kDeck, m_quotedRowId, owner), int(StatusOk));
        QCOMPARE(owner, kOther);
        QCOMPARE(owningCollection(kOther, 987654, owner), int(StatusFailed));
        // Codes are case-blind and taken literally; an empty expected code: no match.
        const std::pair<const char *, const char *> codes[] = { { "d2-3", "D2-3" }, { "o'neil 7", "O'NEIL 7" },
            { "HIDDEN", "" }, { "x'; DROP TABLE PAGE; --", "" }, { "", "" } };
        for (const auto &[code, expected] : codes) {
            ColorEntry entry;
            const int status = entryByCodeInEnabledCollections(QString::fromLatin1(code), entry);
            QCOMPARE(status, *expected ? int(StatusOk) : int(StatusFailed));
            QCOMPARE(entry.code, QString::fromLatin1(expected));
            if (!*expected)
                QCOMPARE(entry.id, qint64(-1));
            // Whatever the text held, the file is intact and still answers.
            ColorPage page;
            QCOMPARE(pageAt(kDeck, 1, page), int(StatusOk));
        }
    }

    // Mood 7 is all moods; neutral cards pass only the neutral filter or, exterior, all moods.
    void neighbourPageStepsThroughTheFilterAndWraps()
    {
        // From, backward, mood, exterior, expected.
        const std::tuple<int, bool, int, bool, int> steps[] = { { 3, false, 7, false, 5 }, { 7, false, 7, false, 2 },
            { 2, true, 7, false, 7 }, { 5, true, 7, false, 3 }, { 3, false, 7, true, 6 }, { 1, true, 7, true, 6 },
            { 3, true, 5, false, 1 }, { 1, true, 6, true, 6 }, { 7, false, 2, false, 3 } };
        for (const auto &[from, backward, mood, exterior, expected] : steps) {
            ColorPage page;
            QCOMPARE(neighbourPage(kDeck, from, backward, mood, exterior, page), int(StatusOk));
            QCOMPARE(page.pageIndex, expected);
            QCOMPARE(pageIndicesOf(page), (QList<int> { 1, 2, 3 }));
            QCOMPARE(page.entries.first().collectionId, m_deckId);
        }
        // Segment, mood, exterior: lowest page, skipping neutral (offwhite for exterior), past empties, wrapping.
        const std::tuple<int, int, bool, int, int> starts[]
            = { { 1, 7, false, 2, 1 }, { 2, 7, false, 3, 2 }, { 3, 7, false, 5, 5 }, { 9, 7, false, 2, 1 },
                  { 1, 7, true, 3, 2 }, { 2, 5, false, 1, 1 }, { 3, 6, true, 6, 5 } };
        for (const auto &[segment, mood, exterior, expectedPage, expectedSegment] : starts) {
            ColorPage page;
            QCOMPARE(firstPageAtOrAfterSegment(kDeck, segment, mood, exterior, page), int(StatusOk));
            QCOMPARE(page.pageIndex, expectedPage);
            QCOMPARE(pageIndicesOf(page), (QList<int> { 1, 2, 3 }));
            QCOMPARE(page.entries.first().collectionId, m_deckId);
            int outPageIndex = 0;
            QCOMPARE(firstPageIndexAtOrAfterSegment(kDeck, segment, mood, exterior, outPageIndex), int(StatusOk));
            QCOMPARE(outPageIndex, expectedPage);
            int outSegment = 0;
            QCOMPARE(firstSegmentAtOrAfter(kDeck, segment, mood, exterior, outSegment), int(StatusOk));
            QCOMPARE(outSegment, expectedSegment);
        }
    }

    void filterNoCardPassesLeavesThePage()
    {
        ColorPage page;
        QCOMPARE(pageAt(kDeck, 5, page), int(StatusOk));
        // No rich cards at all; no fresh exterior card.
        QCOMPARE(neighbourPage(kDeck, 5, false, 4, false, page), int(StatusNoMatch));
        QCOMPARE(neighbourPage(kDeck, 5, true, 1, true, page), int(StatusNoMatch));
        QCOMPARE(firstPageAtOrAfterSegment(kDeck, 1, 4, false, page), int(StatusNoMatch));
        QCOMPARE(page.pageIndex, 5);
        QCOMPARE(page.entries.size(), 3);

        int outSegment = 0;
        QCOMPARE(firstSegmentAtOrAfter(kDeck, 4, 4, false, outSegment), int(StatusNoMatch));
        QCOMPARE(outSegment, 4);
        int outPageIndex = 0;
        QCOMPARE(firstPageIndexAtOrAfterSegment(kDeck, 4, 4, false, outPageIndex), int(StatusNoMatch));
        QCOMPARE(outPageIndex, -1);
        QCOMPARE(firstPageIndexAtOrAfterSegment(QUuid(), 4, 7, false, outPageIndex), int(StatusNullUuid));
        QCOMPARE(outPageIndex, -1);
        QVector<int> segments { 42 };
        QCOMPARE(segmentsOfCollection(kDeck, segments), int(StatusOk));
        QCOMPARE(segments, (QVector<int> { 1, 2, 5 }));
        QCOMPARE(segmentsOfCollection(kOther, segments), int(StatusOk));
        QCOMPARE(segments, (QVector<int> { 3 }));
        QCOMPARE(segmentsOfCollection(kUnknown, segments), int(StatusNotRegistered));
        QVERIFY(segments.isEmpty());
    }

    void hasExteriorPageWithMoodCountsExteriorCardsOnly()
    {
        QVERIFY(hasExteriorPageWithMood(kDeck, 6));
        QVERIFY(!hasExteriorPageWithMood(kDeck, 1)); // fresh card exists, but not for exterior use
        QVERIFY(!hasExteriorPageWithMood(kOther, 6));
        QVERIFY(hasExteriorPageWithMood(kUnknown, 1)); // unavailable: assume there is one
        ColorEntry entry;
        QCOMPARE(entryByRgbInEnabledCollections(QColor(1, 2, 3), entry), int(StatusOk));
        QCOMPARE(entry.id, m_quotedRowId);
        QCOMPARE(collectionUuidInSystemWideFile(entry.collectionId), kOther);
        QCOMPARE(entryByRgbInEnabledCollections(QColor(60, 60, 7), entry), int(StatusOk));
        QCOMPARE(entry.code, "D3-2");
        QCOMPARE(collectionUuidInSystemWideFile(entry.collectionId), kDeck);

        QCOMPARE(entryByRgbInEnabledCollections(QColor(1, 2, 4), entry), int(StatusFailed));
        QCOMPARE(entry.id, qint64(-1));
        QCOMPARE(entryByRgbInEnabledCollections(QColor(9, 9, 9), entry), int(StatusFailed));
    }

private:
    std::unique_ptr<FixtureDatabase> m_fixture;
    qint64 m_deckId = -1;
    qint64 m_otherId = -1;
    qint64 m_quotedRowId = -1;
    QHash<int, qint64> m_pageIds;
};

HUELINK_TEST_MAIN(NavigationQueriesTest)
#include "NavigationQueriesTest.moc"
