#include "ui/chips/ChipPayload.h"
#include "db/CollectionRegistry.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"
#include "ui/chips/ChipDrag.h"
#include "ui/chips/JsonCodec.h"

#include <QDrag>
#include <QtTest>

using namespace Tintor;

namespace {

const QUuid kDeck("{1a000000-0000-0000-0000-00000000001a}");
const QUuid kUnknown("{1b000000-0000-0000-0000-00000000001b}");

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
        m_fixture = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + "/deck.db");
        QVERIFY(m_fixture->isOpen());
        const qint64 deckId = m_fixture->addCollection(kDeck, "DECK", 1);
        m_rowId = m_fixture->addRow(
            deckId, m_fixture->addPage(deckId, { 3, 2 }), { 2, "ÅR 1012", QColor(200, 30, 40), { "Rødgrød" } });
        QCOMPARE(DB::discoverCollections(), 1);
    }

    void payloadTextsAreTheWrittenFormat()
    {
        DB::ColorEntry chip;
        chip.id = 42;
        QCOMPARE(chipPayloadText(FromCardRoller, kDeck, chip),
            QStringLiteral("{ \"collectuionUuid\" : \"{1a000000-0000-0000-0000-00000000001a}\", "
                           "\"colorId\" : 42, \"from\" : 1 }"));
        const QString text = colorPayloadText(FromForesight, QColor(255, 0, 0), "Grün \"Ö\"", "tab\there");
        QCOMPARE(text,
            QStringLiteral("{ \"colorName1\" : \"Grün \\\"Ö\\\"\", \"colorName2\" : \"tab\\there\", "
                           "\"colorRgb\" : 4294901760, \"from\" : 4 }"));
        // The format's bytes are the UTF-8 text, and the names read back.
        const auto mime = mimeWith(text);
        QCOMPARE(mime->data(chipPayloadMimeType()), text.toUtf8());
        QCOMPARE(mime->formats(), QStringList { "vestrel.hlnk/color.chip.dnd.info" });
        QString name1;
        QString name2;
        QCOMPARE(readColorNames(mime.get(), name1, name2), 0);
        QCOMPARE(name1 + '|' + name2, "Grün \"Ö\"|tab\there");
    }

    // The chip is looked up in its own collection; another collection, row or missing keys do not find it.
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
        QCOMPARE(read.code, "ÅR 1012");
        QCOMPARE(read.nameAt(0), "Rødgrød");
        QCOMPARE(QColor(read.red, read.green, read.blue), QColor(200, 30, 40));
        QCOMPARE(readChipPayload(mimeWith(chipPayloadText(FromCardRoller, kUnknown, chip)).get(), uuid, read),
            int(DB::StatusNotRegistered));
        QCOMPARE(uuid, kUnknown);
        chip.id = m_rowId + 1000;
        QVERIFY(readChipPayload(mimeWith(chipPayloadText(FromCardRoller, kDeck, chip)).get(), uuid, read) < 0);
        QCOMPARE(readChipPayload(mimeWith(QByteArray("{\"from\":1}")).get(), uuid, read), int(DB::StatusNullUuid));
        QVERIFY(uuid.isNull());
    }

    // The colour read ignores alpha and defaults to black.
    void sourceAndColourOfPayloads_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("source");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("card roller") << QByteArray("{\"from\":1}") << 1 << QColor(0, 0, 0);
        QTest::newRow("foresight, transparent red")
            << QByteArray("{\"colorRgb\":16711680,\"from\":4}") << 4 << QColor(255, 0, 0);
        QTest::newRow("zero") << QByteArray("{\"from\":0}") << 0 << QColor(0, 0, 0);
        QTest::newRow("five") << QByteArray("{\"from\":5}") << 0 << QColor(0, 0, 0);
        QTest::newRow("beyond 32 bits") << QByteArray("{\"from\":4294967297}") << 0 << QColor(0, 0, 0);
        QTest::newRow("missing") << QByteArray("{\"From\":1}") << 0 << QColor(0, 0, 0);
        QTest::newRow("only the low 32 bits") << QByteArray("{\"colorRgb\":4295032576}") << 0 << QColor(0, 255, 0);
    }
    void sourceAndColourOfPayloads()
    {
        QFETCH(QByteArray, payload);
        const auto mime = mimeWith(payload);
        QTEST(int(chipPayloadSource(mime.get())), "source");
        QColor color(1, 2, 3, 4);
        QCOMPARE(readColorPayload(mime.get(), color), 0);
        QTEST(color, "colour");
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

    void dragPictureFadesTheColourUnderItsText()
    {
        const QPixmap pixmap = chipDragPixmap(QColor(10, 120, 230), "ÅR 1012");
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
        drag = newColorDrag(&source, FromForesight, QColor(1, 2, 3), "Trend", "Ölgrün", "B");
        QCOMPARE(drag->pixmap().toImage(), chipDragPixmap(QColor(1, 2, 3), "Trend").toImage());
        QCOMPARE(drag->mimeData()->data(chipPayloadMimeType()),
            colorPayloadText(FromForesight, QColor(1, 2, 3), "Ölgrün", "B").toUtf8());
    }

    void serializeWritesTheFixedTextForms_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QByteArray>("expected");
        const QVariantMap payload { { "from", 1 }, { "colorId", qint64(42) }, { "collectuionUuid", "{a}" } };
        QTest::newRow("invalid") << QVariant() << QByteArray("null");
        QTest::newRow("list") << QVariant(QVariantList { 1, "a", true }) << QByteArray("[ 1, \"a\", true ]");
        QTest::newRow("string list") << QVariant(QStringList { "x", "y" }) << QByteArray("[ \"x\", \"y\" ]");
        QTest::newRow("map in key order")
            << QVariant(payload) << QByteArray("{ \"collectuionUuid\" : \"{a}\", \"colorId\" : 42, \"from\" : 1 }");
        QTest::newRow("hash") << QVariant(QVariantHash { { "k", false } }) << QByteArray("{ \"k\" : false }");
        QTest::newRow("double 2") << QVariant(2.0) << QByteArray("2.0");
        QTest::newRow("double 0.5") << QVariant(0.5) << QByteArray("0.5");
        QTest::newRow("double 1e21") << QVariant(1e21) << QByteArray("1e+21");
        QTest::newRow("unsigned 64") << QVariant(quint64(18446744073709551615ULL))
                                     << QByteArray("18446744073709551615");
        QTest::newRow("signed 64") << QVariant(qint64(-9223372036854775807LL - 1))
                                   << QByteArray("-9223372036854775808");
        QTest::newRow("unsigned 32") << QVariant(quint32(4294901760U)) << QByteArray("4294901760");
        QTest::newRow("uuid as text") << QVariant(QUuid("{00000000-0000-0000-0000-000000000001}"))
                                      << QByteArray("\"{00000000-0000-0000-0000-000000000001}\"");
        QTest::newRow("escapes") << QVariant("a\\b\"c\bd\fe\nf\rg\th/i\x01")
                                 << QByteArray("\"a\\\\b\\\"c\\bd\\fe\\nf\\rg\\th/i\x01\"");
        QTest::newRow("non-ASCII as UTF-8") << QVariant("Grün ☂") << QByteArray("\"Grün ☂\"");
        // Values without a text form fail the whole.
        QTest::newRow("size in a list") << QVariant(QVariantList { 1, QSize(1, 2) }) << QByteArray();
        QTest::newRow("point in a map") << QVariant(QVariantMap { { "p", QPoint(1, 1) } }) << QByteArray();
    }
    void serializeWritesTheFixedTextForms()
    {
        QFETCH(QVariant, value);
        QFETCH(QByteArray, expected);
        bool ok = expected.isNull();
        QCOMPARE(JsonCodec::serialize(value, ok), expected);
        QCOMPARE(ok, !expected.isNull());
    }

    void parseReadsValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("expected");
        const QVariant null = QVariant::fromValue(nullptr); // parses to an invalid value
        QTest::newRow("doubled and missing commas")
            << "[1,,2 3]" << QVariant(QVariantList { quint64(1), quint64(2), quint64(3) });
        QTest::newRow("exponent without point is unsigned 0") << "1e+21" << QVariant(quint64(0));
        QTest::newRow("double") << "-0.25" << QVariant(-0.25);
        QTest::newRow("negative integer") << "-42" << QVariant(qint64(-42));
        QTest::newRow("unsigned integer") << "18446744073709551615" << QVariant(quint64(18446744073709551615ULL));
        QTest::newRow("unconvertible double is 0") << "1.2.3" << QVariant(0.0);
        QTest::newRow("lone minus is 0") << "-" << QVariant(qint64(0));
        QTest::newRow("words as prefixes")
            << "[truefalse,nullnull]" << QVariant(QVariantList { true, false, QVariant(), QVariant() });
        QTest::newRow("trailing text ignored") << " \t\r\n7 garbage" << QVariant(quint64(7));
        QTest::newRow("escapes") << "\"a\\\"\\\\\\/\\b\\f\\n\\r\\t\\q\"" << QVariant("a\"\\/\b\f\n\r\t");
        QTest::newRow("unicode escape") << "\"\\u00fc\\u263A\"" << QVariant("ü☺");
        QTest::newRow("bad hex gives code unit 0") << "\"\\u12g4x\"" << QVariant(QString(QChar(0)) + 'x');
        QTest::newRow("repeated key keeps last")
            << "{\"a\":1,\"a\":2}" << QVariant(QVariantMap { { "a", quint64(2) } });
        QTest::newRow("object without commas")
            << "{\"a\":1 \"b\":[]}" << QVariant(QVariantMap { { "a", quint64(1) }, { "b", QVariantList() } });
        QTest::newRow("key quote not checked") << "{xk\": true}" << QVariant(QVariantMap { { "k", true } });
        QTest::newRow("null") << "null" << null;
        QTest::newRow("null text") << QString() << null;
    }
    void parseReadsValues()
    {
        QFETCH(QString, text);
        QFETCH(QVariant, expected);
        bool ok = false;
        const QVariant value = JsonCodec::parse(text, ok);
        QVERIFY(ok);
        if (expected.userType() == QMetaType::Nullptr)
            expected = QVariant();
        QCOMPARE(value.userType(), expected.userType());
        QCOMPARE(value, expected);
    }

    // Empty, unterminated, bad escapes, key without colon, punctuation or unknown word as value, nested failure.
    void parseFails()
    {
        for (const char *text : { "", "{\"a\": 1", "[1, 2", "\"abc", "\"abc\\", "\"\\u12", "{\"a\" 1}", "[1, :]", "nul",
                 "]", "{\"a\": [1, {\"b\": }]}" }) {
            bool ok = true;
            QVERIFY2(!JsonCodec::parse(QString::fromUtf8(text), ok).isValid() && !ok, text);
        }
    }

    // Outside applications can offer a payload: deep nesting fails instead of overflowing the stack.
    void nestingDeeperThanTheLimitFails()
    {
        const int limit = JsonCodec::kMaxNestingDepth;
        for (const auto &[open, close] :
            { std::pair<QString, QString>("[", "]"), std::pair<QString, QString>("{\"k\":", "}") }) {
            bool ok = false;
            const QVariant deepest = JsonCodec::parse(open.repeated(limit) + '0' + close.repeated(limit), ok);
            QVERIFY(ok && deepest.isValid());
            QVERIFY(JsonCodec::parse(open.repeated(limit + 1) + '0' + close.repeated(limit + 1), ok).isNull());
            QVERIFY(!ok);
        }
        // Siblings do not count as nesting.
        bool ok = false;
        const QVariant wide = JsonCodec::parse('[' + QStringLiteral("[]").repeated(limit * 4) + ']', ok);
        QVERIFY(ok);
        QCOMPARE(wide.toList().size(), limit * 4);
    }

private:
    std::unique_ptr<FixtureDatabase> m_fixture;
    qint64 m_rowId = -1;
};

HUELINK_TEST_MAIN(ChipPayloadTest)
#include "ChipPayloadTest.moc"
