#include "formats/SwatchExport.h"
#include "formats/SwatchFile.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QtTest>

#include <cstring>

#include <sys/stat.h>

using namespace Tintor;

namespace {

// Big-endian fields, written here from the formats' layouts.
QByteArray words(std::initializer_list<quint32> values, int width = 2)
{
    QByteArray bytes;
    for (quint32 value : values) {
        for (int shift = (width - 1) * 8; shift >= 0; shift -= 8)
            bytes.append(char((value >> shift) & 0xFF));
    }
    return bytes;
}

QByteArray utf16(const QString &text)
{
    QByteArray bytes;
    for (const QChar unit : text)
        bytes += words({ unit.unicode() });
    return bytes + words({ 0 });
}

QByteArray floats(std::initializer_list<float> values)
{
    QByteArray bytes;
    for (float value : values) {
        quint32 bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        bytes += words({ bits }, 4);
    }
    return bytes;
}

QByteArray aseEntry(const QString &name, const QByteArray &model, const QByteArray &values)
{
    const QByteArray body = words({ quint32(name.size() + 1) }) + utf16(name) + model + values + words({ 2 });
    return words({ 1 }) + words({ quint32(body.size()) }, 4) + body;
}

QByteArray ase(const QList<QByteArray> &blocks, quint32 declared = 0)
{
    return QByteArray("ASEF") + words({ 1, 0 }) + words({ declared ? declared : quint32(blocks.size()) }, 4)
        + blocks.join();
}

QByteArray acoRecord(std::initializer_list<quint32> fiveWords, const QString *name = nullptr)
{
    return words(fiveWords) + (name ? words({ quint32(name->size() + 1) }, 4) + utf16(*name) : QByteArray());
}

QString described(const SwatchReadResult &result)
{
    if (!result.ok())
        return "error: " + result.error;
    QStringList colors;
    for (const SwatchColor &color : result.colors)
        colors << QStringLiteral("%1=%2%3").arg(color.name, QColor(color.rgb).name(), color.approximate ? "~" : "");
    return colors.join(' ');
}

} // namespace

class SwatchFileTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsEveryColourModel_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("expected");
        const QString red("Red"), lab("Lab"), hsb("Hsb"), cmyk("Ink"), gray("Gray");
        QTest::newRow("ase, groups passed over") << "c.ase"
            << ase({ words({ 0xC001 }) + words({ 6 }, 4) + words({ 2 }) + utf16("G"),
                   aseEntry(red, "RGB ", floats({ 1.0f, 0.5f, 0.0f })), aseEntry(lab, "LAB ", floats({ 0.5f, 0, 0 })),
                   aseEntry(cmyk, "CMYK", floats({ 0, 1, 1, 0.5f })), aseEntry(gray, "Gray", floats({ 0.2f })),
                   words({ 0xC002, 0, 0 }) })
            << "Red=#ff8000 Lab=#777777 Ink=#800000~ Gray=#333333~";
        QTest::newRow("aco 1 then 2: names from 2")
            << "c.aco"
            << words({ 1, 2 }) + acoRecord({ 0, 65535, 0, 0, 0 }) + acoRecord({ 7, 5000, 0, 0, 0 }) + words({ 2, 2 })
                + acoRecord({ 0, 65535, 0, 0, 0 }, &red) + acoRecord({ 7, 5000, quint16(qint16(-2000)), 0, 0 }, &lab)
            << "Red=#ff0000 Lab=#4c8076";
        QTest::newRow("aco hsb, cmyk, gray")
            << "c.aco"
            << words({ 2, 3 }) + acoRecord({ 1, 21845, 65535, 65535, 0 }, &hsb)
                + acoRecord({ 2, 65535, 0, 0, 65535 }, &cmyk) + acoRecord({ 8, 7500, 0, 0, 0 }, &gray)
            << "Hsb=#00ff00 Ink=#ff0000~ Gray=#404040~";
        QTest::newRow("aco version 1 only") << "c.aco" << words({ 1, 1 }) + acoRecord({ 0, 0, 0, 65535, 0 })
                                            << "=#0000ff";
        QTest::newRow("gpl") << "p.gpl"
                             << QByteArray("GIMP Palette\r\nName: x\nColumns: 3\n# note\n\n255   0  0\tBrand red\n"
                                           "1 2 3\n")
                             << "Brand red=#ff0000 =#010203";
        QTest::newRow("css") << "s.css"
                             << QByteArray("/* #111111 */ #main, .a { color: #aBc; border: 1px solid #102030 }\n"
                                           "@media print { :root { --brand\\ red: #ff0000; --x: #12345678; } }\n"
                                           "a { background: url('#222222;') }")
                             << "#main, .a=#aabbcc #main, .a=#102030 brand red=#ff0000";
    }

    void readsEveryColourModel()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, expected);
        QCOMPARE(described(SwatchFile::parse(bytes, fileName)), expected);
    }

    void writtenChipsComeBackAsThemselves()
    {
        QList<SwatchChip> chips;
        for (int i = 0; i < 24; ++i) {
            SwatchChip chip;
            chip.code = QStringLiteral("C-%1").arg(i);
            chip.name = QStringLiteral("N\u00e4me %1").arg(i);
            chip.rgb = qRgb((i * 53) % 256, (i * 97 + 11) % 256, (i * 31 + 200) % 256);
            chips.append(chip);
        }
        for (const SwatchFormat format : { SwatchFormat::Ase, SwatchFormat::Gpl, SwatchFormat::Aco, SwatchFormat::Css }) {
            QString error;
            const QByteArray bytes = SwatchExport::contents(format, "Set", chips, false, error);
            const SwatchReadResult result = SwatchFile::parse(bytes, "x." + SwatchExport::extension(format));
            QVERIFY2(result.ok(), qPrintable(result.error));
            QCOMPARE(result.colors.size(), chips.size());
            for (const SwatchChip &chip : chips) {
                const auto found = std::find_if(result.colors.cbegin(), result.colors.cend(),
                    [&chip](const SwatchColor &color) { return color.rgb == chip.rgb; });
                QVERIFY(found != result.colors.cend());
                QCOMPARE(deltaE2000(found->lab, colorToLab(QColor(chip.rgb))), 0.0);
                const QString name = format == SwatchFormat::Css ? chip.code : chip.swatchName(false);
                QCOMPARE(found->name, name);
            }
        }
    }

    void hostileFilesAreRefused_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("message");
        const QByteArray entry = aseEntry("A", "RGB ", floats({ 1, 1, 1 }));
        QByteArray pastEnd = ase({ entry });
        pastEnd[14] = char(0x7F); // block length high byte
        QTest::newRow("ase block past the end") << "x.ase" << pastEnd << "past the end";
        QTest::newRow("ase 1,000,000 blocks declared") << "x.ase" << ase({ entry }, 1000000) << "too short";
        QByteArray shortName = entry;
        shortName[7] = char(0x40); // name length beyond the block
        QTest::newRow("ase name past its block") << "x.ase" << ase({ shortName }) << "name of colour 1";
        QTest::newRow("ase unknown model") << "x.ase" << ase({ aseEntry("A", "HSV ", floats({ 1, 1, 1 })) })
                                           << "not RGB, LAB";
        QTest::newRow("ase version 2") << "x.ase" << QByteArray("ASEF") + words({ 2, 0, 0, 0 }) << "version 2.0";
        QTest::newRow("aco name length 2^31") << "x.aco" << words({ 2, 1, 0, 1, 2, 3, 0, 0x8000, 0 }) + words({ 0 })
                                              << "runs past the end";
        QTest::newRow("aco count over the bound") << "x.aco" << words({ 1, 10001 }) << "at most 10000";
        QTest::newRow("aco count past the data") << "x.aco" << words({ 1, 3, 0, 0, 0, 0, 0 }) << "too short";
        QTest::newRow("aco unknown colour space") << "x.aco" << words({ 1, 1, 3, 0, 0, 0, 0 }) << "colour space 3";
        QTest::newRow("aco sections disagree") << "x.aco" << words({ 1, 1, 0, 0, 0, 0, 0, 2, 0 }) << "version 2 section 0";
        QTest::newRow("zero length") << "x.aco" << QByteArray() << "empty";
        QTest::newRow("gpl channel 256") << "x.gpl" << QByteArray("GIMP Palette\n256 0 0 x\n") << "above 255";
        QTest::newRow("gpl stray line") << "x.gpl" << QByteArray("GIMP Palette\nred\n") << "line 2";
        QTest::newRow("gpl 10,001 colours") << "x.gpl" << "GIMP Palette\n" + QByteArray("1 2 3\n").repeated(10001)
                                            << "more than 10000";
        QTest::newRow("over 16 MB") << "x.css" << QByteArray(16 * 1024 * 1024 + 1, ' ') << "larger than 16 MB";
        QTest::newRow("css without colours") << "x.css" << QByteArray("a { color: red }") << "no #rgb";
        QTest::newRow("unknown kind") << "x.txt" << QByteArray("#ffffff") << "not a swatch file";
        QTest::newRow("extension lies") << "x.ase" << QByteArray("GIMP") << "do not match";
    }

    void hostileFilesAreRefused()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, message);
        const SwatchReadResult result = SwatchFile::parse(bytes, fileName);
        QVERIFY2(result.error.contains(message), qPrintable(result.error));
        QVERIFY(result.colors.isEmpty());
    }

    void onlyRegularFilesAreOpened()
    {
        QTemporaryDir folder;
        const QString fifo = folder.filePath("pipe.aco");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString big = folder.filePath("big.gpl");
        QFile file(big);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(17 * 1024 * 1024));
        file.close();
        const std::pair<QString, const char *> cases[] = { { folder.path(), "folder" }, { fifo, "not a regular file" },
            { folder.filePath("none.ase"), "does not exist" }, { big, "larger than 16 MB" } };
        for (const auto &[path, message] : cases) {
            const SwatchReadResult result = SwatchFile::read(path);
            QVERIFY2(result.error.contains(QLatin1String(message)) && result.colors.isEmpty(), qPrintable(result.error));
        }
        const QString good = folder.filePath("good.gpl");
        QVERIFY(FixtureDatabase::writeFile(good, "GIMP Palette\n1 2 3 a\n"));
        QCOMPARE(described(SwatchFile::read(good)), "a=#010203");
    }
};

HUELINK_TEST_MAIN(SwatchFileTest)
#include "SwatchFileTest.moc"
