#include "PaletteFixture.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/Status.h"
#include "ui/palette/PaletteChips.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Tintor;
using namespace PaletteFixture;

namespace {

const QUuid kLate(QStringLiteral("{5a1e0000-0000-0000-0000-00000000007e}"));

struct timespec modificationTime(const QString &path)
{
    struct stat info {};
    stat(QFile::encodeName(path).constData(), &info);
    return info.st_mtim;
}

bool setModificationTime(const QString &path, const struct timespec &time)
{
    const struct timespec times[2] = {time, time};
    return utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

} // namespace

class PaletteChipsTest : public QObject
{
    Q_OBJECT

private:
    Collections m_collections;

private Q_SLOTS:
    void initTestCase()
    {
        m_collections = create();
        QVERIFY(m_collections.file->isOpen());
    }

    void itemsThatNameNoChip_data()
    {
        QTest::addColumn<QUuid>("collection");
        QTest::addColumn<qint64>("rowId");
        QTest::addColumn<int>("status");
        QTest::newRow("empty cell") << QUuid() << qint64(-1) << int(DB::StatusFailed);
        QTest::newRow("row id 0") << kDeck << qint64(0) << int(DB::StatusFailed);
        QTest::newRow("null collection") << QUuid() << qint64(5) << int(DB::StatusNullUuid);
        QTest::newRow("row not in the file") << kDeck << qint64(99999) << int(DB::StatusFailed);
    }

    void itemsThatNameNoChip()
    {
        QFETCH(QUuid, collection);
        QFETCH(qint64, rowId);
        QFETCH(int, status);
        DB::ColorEntry chip;
        chip.code = QStringLiteral("stale");
        QCOMPARE(PaletteChips::loadChip(DB::ItemIndex{collection, 1, rowId}, chip), status);
        QVERIFY(chip.code.isEmpty());
    }

    // The full view loads every cell on every paint: a collection that is
    // not installed must not cost a scan of the folder each time.
    void missingCollectionIsRememberedUntilTheFolderChanges()
    {
        const QString folder = TestEnvironment::collectionFolder();
        const DB::ItemIndex lateItem{kLate, 1, 1};
        DB::ColorEntry chip;
        QCOMPARE(PaletteChips::loadChip(lateItem, chip), int(DB::StatusNotRegistered));
        const struct timespec before = modificationTime(folder);

        // Installed behind the folder's back: its time put back as it was.
        FixtureDatabase late(folder + QStringLiteral("/late.db"));
        const qint64 lateId = late.addCollection(kLate, QStringLiteral("LATE"), 7);
        FixtureDatabase::Page page;
        const qint64 pageId = late.addPage(lateId, page);
        FixtureDatabase::Row row;
        row.code = QStringLiteral("LT-1");
        row.color = QColor(1, 2, 3);
        const qint64 rowId = late.addRow(lateId, pageId, row);
        QVERIFY(rowId > 0);
        QVERIFY(setModificationTime(folder, before));
        const DB::ItemIndex installed{kLate, pageId, rowId};
        QCOMPARE(PaletteChips::loadChip(installed, chip), int(DB::StatusNotRegistered));
        QVERIFY(!DB::collectionRegistry().contains(kLate));

        // Any change of the folder makes it look again.
        struct timespec later = before;
        later.tv_sec += 5;
        QVERIFY(setModificationTime(folder, later));
        QCOMPARE(PaletteChips::loadChip(installed, chip), 0);
        QCOMPARE(chip.code, QStringLiteral("LT-1"));
        QVERIFY(DB::collectionRegistry().contains(kLate));
    }

    void displayName_data()
    {
        QTest::addColumn<QUuid>("collection");
        QTest::addColumn<int>("chip");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first name of the display order") << kDeck << 0 << QStringLiteral("HL 1010 - Brick Lane");
        QTest::newRow("no display order: code alone") << kPlainDeck << 1 << QStringLiteral("PL-2");
    }

    void displayName()
    {
        QFETCH(QUuid, collection);
        QFETCH(int, chip);
        QFETCH(QString, expected);
        const qint64 rowId = collection == kDeck ? m_collections.deckRows.at(chip) : m_collections.plainRows.at(chip);
        DB::ColorEntry entry;
        QCOMPARE(PaletteChips::loadChip(DB::ItemIndex{collection, 1, rowId}, entry), 0);
        // Whichever collection was read before, the chip's own orders count.
        CollectionSettings::nameOrders(collection == kDeck ? kPlainDeck : kDeck);
        QCOMPARE(PaletteChips::displayName(collection, entry), expected);
    }
};

HUELINK_TEST_MAIN(PaletteChipsTest)
#include "PaletteChipsTest.moc"
