#include "PaletteFixture.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/Status.h"
#include "ui/palette/PaletteChips.h"
#include "ui/palette/PaletteFileReader.h"
#include "ui/palette/PaletteFileWriter.h"

#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace Tintor;
using namespace PaletteFixture;
using Chips = QList<PaletteFileWriter::Chip>;

namespace {

const QUuid kLate("{5a1e0000-0000-0000-0000-00000000007e}");

struct timespec modificationTime(const QString &path)
{
    struct stat info { };
    stat(QFile::encodeName(path).constData(), &info);
    return info.st_mtim;
}

bool setModificationTime(const QString &path, const struct timespec &time)
{
    const struct timespec times[2] = { time, time };
    return utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

} // namespace

class PaletteChipsTest : public QObject {
    Q_OBJECT

private:
    Collections m_collections;

private Q_SLOTS:
    void initTestCase()
    {
        m_collections = create();
        QVERIFY(m_collections.file->isOpen());
    }

    // An empty cell, row ID 0, a null collection, a row not in the file name no chip.
    void loadChipAndDisplayName()
    {
        const std::tuple<QUuid, qint64, int> rows[] = { { QUuid(), -1, DB::StatusFailed },
            { kDeck, 0, DB::StatusFailed }, { QUuid(), 5, DB::StatusNullUuid }, { kDeck, 99999, DB::StatusFailed } };
        for (const auto &[collection, rowId, status] : rows) {
            DB::ColorEntry chip;
            chip.code = "stale";
            QCOMPARE(PaletteChips::loadChip(DB::ItemIndex { collection, 1, rowId }, chip), status);
            QVERIFY(chip.code.isEmpty());
        }
        // Whichever collection was read before, the chip's own orders count; no display order: code alone.
        DB::ColorEntry entry;
        QCOMPARE(PaletteChips::loadChip(deckItem(m_collections, 0), entry), 0);
        CollectionSettings::nameOrders(kPlainDeck);
        QCOMPARE(PaletteChips::displayName(kDeck, entry), "HL 1010 - Brick Lane");
        QCOMPARE(PaletteChips::loadChip(DB::ItemIndex { kPlainDeck, 1, m_collections.plainRows.at(1) }, entry), 0);
        CollectionSettings::nameOrders(kDeck);
        QCOMPARE(PaletteChips::displayName(kPlainDeck, entry), "PL-2");
    }

    // The full view loads every cell on every paint: a missing collection must not cost a folder scan each time.
    void missingCollectionIsRememberedUntilTheFolderChanges()
    {
        const QString folder = TestEnvironment::collectionFolder();
        const DB::ItemIndex lateItem { kLate, 1, 1 };
        DB::ColorEntry chip;
        QCOMPARE(PaletteChips::loadChip(lateItem, chip), int(DB::StatusNotRegistered));
        const struct timespec before = modificationTime(folder);

        // Installed behind the folder's back: its time put back as it was.
        FixtureDatabase late(folder + "/late.db");
        const qint64 lateId = late.addCollection(kLate, "LATE", 7);
        const qint64 pageId = late.addPage(lateId, {});
        const qint64 rowId = late.addRow(lateId, pageId, { 1, "LT-1", QColor(1, 2, 3) });
        QVERIFY(rowId > 0);
        QVERIFY(setModificationTime(folder, before));
        const DB::ItemIndex installed { kLate, pageId, rowId };
        QCOMPARE(PaletteChips::loadChip(installed, chip), int(DB::StatusNotRegistered));
        QVERIFY(!DB::collectionRegistry().contains(kLate));

        // Any change of the folder makes it look again.
        struct timespec later = before;
        later.tv_sec += 5;
        QVERIFY(setModificationTime(folder, later));
        QCOMPARE(PaletteChips::loadChip(installed, chip), 0);
        QCOMPARE(chip.code, "LT-1");
        QVERIFY(DB::collectionRegistry().contains(kLate));
    }

    void paletteFileBytes_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<Chips>("chips");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("empty palette") << QString() << Chips {}
                                       << QByteArray("\t<description/>\n\t<chips>\n\t</chips>\n");
        QTest::newRow("escaped description and a chip")
            << "a<b&c\r\x01é" << Chips { { QPoint(5, 3), kDeck, 2, 7, "Q\"1\t", {} } }
            << QByteArray("\t<description>a&lt;b&amp;c&#13;\xC3\xA9</description>\n\t<chips>\n\t\t<chip row=\"3\" "
                          "col=\"5\">\n\t\t\t<entry uuid-of-collection=\"{5a1e0000-0000-0000-0000-0000000000d1}\" "
                          "page-index=\"2\" row-index=\"7\" color-code=\"Q&quot;1&#9;\"/>\n\t\t</chip>\n\t</chips>\n");
    }

    void paletteFileBytes()
    {
        QFETCH(QString, description);
        QFETCH(Chips, chips);
        QFETCH(QByteArray, body);
        const QByteArray bytes = PaletteFileWriter::paletteDocument(description, chips);
        QCOMPARE(bytes,
            "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vestrel-palette version=\"3.0\" "
            "system=\"multi-collection\">\n"
                + body + "</vestrel-palette>\n");
        // What is written reads back unchanged; a character XML cannot carry is left out.
        PaletteFileReader::Document document;
        QCOMPARE(PaletteFileReader::parse(bytes, document), PaletteFileReader::Read);
        QCOMPARE(document.description, QString(description).remove(QChar(1)));
        QCOMPARE(document.chips.value(0).code, chips.value(0).code);
    }
};

HUELINK_TEST_MAIN(PaletteChipsTest)
#include "PaletteChipsTest.moc"
