#include "ui/chips/ChipPayload.h"
#include "db/CollectionRegistry.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"
#include "ui/chips/ChipDrag.h"

#include <QDrag>
#include <QMimeData>
#include <QtTest>

#include <memory>

using namespace Tintor;

namespace {

const QUuid kDeck(QStringLiteral("{1a000000-0000-0000-0000-00000000001a}"));
const QUuid kUnknown(QStringLiteral("{1b000000-0000-0000-0000-00000000001b}"));

std::unique_ptr<QMimeData> mimeWith(const QString &text)
{
    return std::unique_ptr<QMimeData>(newChipPayloadMimeData(text));
}

std::unique_ptr<QMimeData> mimeWith(const QByteArray &data)
{
    auto mime = std::make_unique<QMimeData>();
    mime->setData(chipPayloadMimeType(), data);
    return mime;
}

} // namespace

class ChipPayloadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_fixture = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + QStringLiteral("/deck.db"));
        QVERIFY(m_fixture->isOpen());
        const qint64 deckId = m_fixture->addCollection(kDeck, QStringLiteral("DECK"), 1);
        FixtureDatabase::Page page;
        page.pageIndex = 3;
        page.segment = 2;
        FixtureDatabase::Row row;
        row.rowIndex = 2;
        row.code = QStringLiteral("ÅR 1012");
        row.color = QColor(200, 30, 40);
        row.names = QStringList { QStringLiteral("Rødgrød") };
        m_rowId = m_fixture->addRow(deckId, m_fixture->addPage(deckId, page), row);
        QCOMPARE(DB::discoverCollections(), 1);
    }

    void cleanupTestCase() { m_fixture.reset(); }

    void payloadTextsAreTheWrittenFormat()
    {
        DB::ColorEntry chip;
        chip.id = 42;
        QCOMPARE(chipPayloadText(FromCardRoller, kDeck, chip),
            QStringLiteral("{ \"collectuionUuid\" : \"{1a000000-0000-0000-0000-00000000001a}\", "
                           "\"colorId\" : 42, \"from\" : 1 }"));
        const QString text
            = colorPayloadText(FromForesight, QColor(255, 0, 0), QStringLiteral("Grün \"Ö\""), QString());
        QCOMPARE(text,
            QStringLiteral("{ \"colorName1\" : \"Grün \\\"Ö\\\"\", \"colorName2\" : \"\", "
                           "\"colorRgb\" : 4294901760, \"from\" : 4 }"));
        // The format's bytes are the UTF-8 text.
        const auto mime = mimeWith(text);
        QCOMPARE(mime->data(chipPayloadMimeType()), text.toUtf8());
        QCOMPARE(mime->formats(), QStringList { QStringLiteral("vestrel.hlnk/color.chip.dnd.info") });
    }

    void chipPayloadReadsBackTheChip()
    {
        DB::ColorEntry chip;
        chip.id = m_rowId;
        const auto mime = mimeWith(chipPayloadText(FromHarmonizer, kDeck, chip));
        QVERIFY(hasChipPayload(mime.get()));
        QCOMPARE(chipPayloadSource(mime.get()), FromHarmonizer);
        QUuid uuid;
        DB::ColorEntry read;
        QCOMPARE(readChipPayload(mime.get(), uuid, read), int(DB::StatusOk));
        QCOMPARE(uuid, kDeck);
        QCOMPARE(read.id, m_rowId);
        QCOMPARE(read.code, QStringLiteral("ÅR 1012"));
        QCOMPARE(read.nameAt(0), QStringLiteral("Rødgrød"));
        QCOMPARE(QColor(read.red, read.green, read.blue), QColor(200, 30, 40));
    }

    void colorPayloadReadsBackColourAndNames()
    {
        const QString name1 = QStringLiteral("Ölweiß ☂ 東京");
        const QString name2 = QStringLiteral("tab\there\nline \\ / \"q\"");
        const auto mime = mimeWith(colorPayloadText(FromForesight, QColor(255, 0, 0), name1, name2));
        QColor color;
        QCOMPARE(readColorPayload(mime.get(), color), 0);
        QCOMPARE(color, QColor(255, 0, 0));
        QString read1;
        QString read2;
        QCOMPARE(readColorNames(mime.get(), read1, read2), 0);
        QCOMPARE(read1, name1);
        QCOMPARE(read2, name2);
    }

    void colourReadIgnoresAlphaAndDefaultsToBlack_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("transparent red") << QByteArray("{\"colorRgb\":16711680,\"from\":4}") << QColor(255, 0, 0);
        QTest::newRow("missing colour") << QByteArray("{\"from\":4}") << QColor(0, 0, 0);
        QTest::newRow("only the low 32 bits")
            << QByteArray("{\"colorRgb\":4295032576}") << QColor(0, 255, 0); // 0x1_0000_FF00
    }
    void colourReadIgnoresAlphaAndDefaultsToBlack()
    {
        QFETCH(QByteArray, payload);
        QFETCH(QColor, expected);
        QColor color(1, 2, 3);
        QCOMPARE(readColorPayload(mimeWith(payload).get(), color), 0);
        QCOMPARE(color, expected);
        QCOMPARE(color.alpha(), 255);
    }

    void sourceKindOfPayloads_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("source");
        QTest::newRow("card roller") << QByteArray("{\"from\":1}") << 1;
        QTest::newRow("foresight") << QByteArray("{\"from\":4}") << 4;
        QTest::newRow("zero") << QByteArray("{\"from\":0}") << 0;
        QTest::newRow("five") << QByteArray("{\"from\":5}") << 0;
        QTest::newRow("beyond 32 bits") << QByteArray("{\"from\":4294967297}") << 0;
        QTest::newRow("missing") << QByteArray("{\"From\":1}") << 0;
    }
    void sourceKindOfPayloads()
    {
        QFETCH(QByteArray, payload);
        QFETCH(int, source);
        QCOMPARE(int(chipPayloadSource(mimeWith(payload).get())), source);
    }

    // "none": no mime data at all; "text": plain text only.
    void unreadablePayloadsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("none") << QByteArray("none");
        QTest::newRow("text") << QByteArray("text");
        QTest::newRow("unparsable") << QByteArray("{\"from\": 1");
        QTest::newRow("array") << QByteArray("[{\"from\":1}]");
        QTest::newRow("deep nesting") << QByteArray(1000000, '{');
    }
    void unreadablePayloadsAreRefused()
    {
        QFETCH(QByteArray, payload);
        std::unique_ptr<QMimeData> mime = payload.size() > 4 ? mimeWith(payload) : std::make_unique<QMimeData>();
        mime->setText(chipPayloadText(FromCardRoller, kDeck, DB::ColorEntry()));
        const QMimeData *given = payload == "none" ? nullptr : mime.get();
        QCOMPARE(hasChipPayload(given), payload.size() > 4);
        QCOMPARE(chipPayloadSource(given), FromNowhere);
        QUuid uuid;
        DB::ColorEntry chip;
        QCOMPARE(readChipPayload(given, uuid, chip), int(DB::StatusFailed));
        QColor color;
        QCOMPARE(readColorPayload(given, color), int(DB::StatusFailed));
        QString name1;
        QString name2;
        QCOMPARE(readColorNames(given, name1, name2), int(DB::StatusFailed));
    }

    void chipOfAnotherCollectionOrRowIsNotFound()
    {
        DB::ColorEntry chip;
        chip.id = m_rowId;
        QUuid uuid;
        DB::ColorEntry read;
        QCOMPARE(readChipPayload(mimeWith(chipPayloadText(FromCardRoller, kUnknown, chip)).get(), uuid, read),
            int(DB::StatusNotRegistered));
        QCOMPARE(uuid, kUnknown);
        chip.id = m_rowId + 1000;
        QVERIFY(readChipPayload(mimeWith(chipPayloadText(FromCardRoller, kDeck, chip)).get(), uuid, read) < 0);
        // Missing keys: null UUID and row 0.
        QCOMPARE(readChipPayload(mimeWith(QByteArray("{\"from\":1}")).get(), uuid, read), int(DB::StatusNullUuid));
        QVERIFY(uuid.isNull());
    }

    void dragPictureFadesTheColourUnderItsText()
    {
        const QPixmap pixmap = chipDragPixmap(QColor(10, 120, 230), QStringLiteral("ÅR 1012"));
        QCOMPARE(pixmap.size(), QSize(128, 64));
        const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(image.pixelColor(0, 0).rgb() & 0xffffff, QColor(10, 120, 230).rgb() & 0xffffff);
        QVERIFY(image.pixelColor(0, 0).alpha() > 250);
        // Beyond the gradient's end point everything has the last stop's alpha.
        QVERIFY(qAbs(image.pixelColor(127, 63).alpha() - 160) <= 2);
        QVERIFY(qAbs(image.pixelColor(5, 40).alpha() - 208) < 20);
        int textPixelsRight = 0;
        int textPixelsLeft = 0;
        for (int y = 2; y < 32; ++y) {
            for (int x = 2; x < 126; ++x) {
                if (qGray(image.pixel(x, y)) < 40)
                    ++(x >= 64 ? textPixelsRight : textPixelsLeft);
            }
        }
        QVERIFY(textPixelsRight > 10);
        QCOMPARE(textPixelsLeft, 0);
    }

    void dragsCarryPictureAndPayload()
    {
        QWidget source;
        DB::ColorEntry chip;
        QCOMPARE(DB::entryById(kDeck, m_rowId, chip), 0);
        QDrag *drag = newChipDrag(&source, FromCardRoller, kDeck, chip);
        QCOMPARE(drag->hotSpot(), QPoint(0, 0));
        QCOMPARE(drag->pixmap().toImage(), chipDragPixmap(QColor(200, 30, 40), chip.code).toImage());
        QCOMPARE(drag->mimeData()->data(chipPayloadMimeType()), chipPayloadText(FromCardRoller, kDeck, chip).toUtf8());

        drag = newColorDrag(&source, FromForesight, QColor(1, 2, 3), QStringLiteral("Trend"), QStringLiteral("Ölgrün"),
            QStringLiteral("B"));
        QCOMPARE(drag->pixmap().toImage(), chipDragPixmap(QColor(1, 2, 3), QStringLiteral("Trend")).toImage());
        QCOMPARE(chipPayloadSource(drag->mimeData()), FromForesight);
        QString name1;
        QString name2;
        QCOMPARE(readColorNames(drag->mimeData(), name1, name2), 0);
        QCOMPARE(name1, QStringLiteral("Ölgrün"));
    }

private:
    std::unique_ptr<FixtureDatabase> m_fixture;
    qint64 m_rowId = -1;
};

HUELINK_TEST_MAIN(ChipPayloadTest)
#include "ChipPayloadTest.moc"
