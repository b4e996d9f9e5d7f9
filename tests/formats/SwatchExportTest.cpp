#include "formats/SwatchExport.h"
#include "support/AcoReader.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using namespace Tintor;

namespace {

const QUuid kCollection("{5a000000-0000-0000-0000-00000000005a}");

SwatchChip chip(const QString &code, const QString &name, const QString &collection, int page, int row, QRgb rgb)
{
    SwatchChip chip;
    chip.code = code;
    chip.name = name;
    chip.collectionName = collection;
    chip.collectionUuid = collection == "Other" ? QUuid() : kCollection;
    chip.pageIndex = page;
    chip.rowIndex = row;
    chip.rgb = rgb;
    return chip;
}

// Two cells share a colour; names outside Latin-1 and product codes.
QList<SwatchChip> palette()
{
    SwatchChip brick = chip("F-11", "Brick", "First \u00e9dition", 3, 1, qRgb(180, 60, 40));
    brick.productCodes = { "A1", "B2" };
    brick.lightReflectance = 12.5;
    return { brick, chip("SW 62/8", "Sea \U0001F30A", "First \u00e9dition", 4, 2, qRgb(20, 60, 110)),
        chip("F-12", "Brick too", "Other", 5, 1, qRgb(180, 60, 40)), chip("W", "White", "Other", 5, 2, qRgb(255, 255, 255)) };
}

QByteArray written(SwatchFormat format, const QString &description = "My set", bool appendCodes = true)
{
    QString error;
    const QByteArray bytes = SwatchExport::contents(format, description, palette(), appendCodes, error);
    return error.isEmpty() ? bytes : QByteArray();
}

// Swatch exchange entries read by the byte layout alone: (type, name, model, components).
struct AseBlock {
    int type = 0;
    QString name;
    QByteArray model;
    QList<float> values;
    int colorType = -1;
};

QList<AseBlock> readAse(const QByteArray &bytes, QString &error)
{
    QDataStream in(bytes);
    in.setByteOrder(QDataStream::BigEndian);
    in.setFloatingPointPrecision(QDataStream::SinglePrecision);
    char signature[4];
    quint16 major = 0, minor = 0;
    quint32 count = 0;
    in.readRawData(signature, 4);
    in >> major >> minor >> count;
    QList<AseBlock> blocks;
    for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
        AseBlock block;
        quint16 type = 0, units = 0;
        quint32 length = 0;
        in >> type >> length;
        const qint64 end = in.device()->pos() + length;
        block.type = type;
        if (type != 0xC002) {
            in >> units;
            for (quint16 u = 0; u < units; ++u) {
                quint16 unit = 0;
                in >> unit;
                if (u + 1 < units)
                    block.name.append(QChar(unit));
                else if (unit != 0)
                    error = "name without terminator";
            }
        }
        if (type == 1) {
            block.model.resize(4);
            in.readRawData(block.model.data(), 4);
            for (int c = 0; c < (block.model == "CMYK" ? 4 : block.model == "Gray" ? 1 : 3); ++c) {
                float value = 0;
                in >> value;
                block.values.append(value);
            }
            quint16 colorType = 0;
            in >> colorType;
            block.colorType = colorType;
        }
        if (in.device()->pos() != end)
            error = QStringLiteral("block %1 length %2 does not match its contents").arg(i).arg(length);
        blocks.append(block);
    }
    if (QByteArray(signature, 4) != "ASEF" || major != 1 || minor != 0 || in.status() != QDataStream::Ok
        || !in.atEnd())
        error = "bad header, short file or trailing bytes";
    return blocks;
}

} // namespace

class SwatchExportTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aseHoldsOneGroupOfDistinctRgbColours()
    {
        QString error;
        const QList<AseBlock> blocks = readAse(written(SwatchFormat::Ase), error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(blocks.size(), 5);
        QCOMPARE(blocks.first().type, 0xC001);
        QCOMPARE(blocks.first().name, "My set");
        QCOMPARE(blocks.last().type, 0xC002);
        const QList<std::pair<QString, QRgb>> expected { { "F-11 Brick - A1, B2", qRgb(180, 60, 40) },
            { "SW 62/8 Sea \U0001F30A", qRgb(20, 60, 110) }, { "W White", qRgb(255, 255, 255) } };
        for (int i = 0; i < expected.size(); ++i) {
            const AseBlock &entry = blocks.at(i + 1);
            QCOMPARE(entry.type, 1);
            QCOMPARE(entry.name, expected.at(i).first);
            QCOMPARE(entry.model, QByteArray("RGB "));
            QCOMPARE(entry.colorType, 0);
            QCOMPARE(qRgb(qRound(entry.values[0] * 255), qRound(entry.values[1] * 255), qRound(entry.values[2] * 255)),
                expected.at(i).second);
        }
    }

    void gplHasOneLinePerCellInOrder()
    {
        const QStringList lines = QString::fromUtf8(written(SwatchFormat::Gpl, "Two\nlines"))
                                      .split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.mid(0, 3), (QStringList { "GIMP Palette", "Name: Two lines", "Columns: 6" }));
        QStringList cells;
        for (const QString &line : lines) {
            if (line.startsWith('#') || (!line.at(0).isSpace() && !line.at(0).isDigit()))
                continue;
            const QStringList fields = line.trimmed().split(QRegularExpression("\\s+"));
            cells << QStringLiteral("%1,%2,%3|%4").arg(fields[0], fields[1], fields[2], fields.mid(3).join(' '));
        }
        QCOMPARE(cells,
            (QStringList { "180,60,40|F-11 Brick - A1, B2", "20,60,110|SW 62/8 Sea \U0001F30A", "180,60,40|F-12 Brick too",
                "255,255,255|W White" }));
    }

    void cssNamesOnePropertyPerChipEscaped()
    {
        const QString css = QString::fromUtf8(written(SwatchFormat::Css, "a */ b"));
        QVERIFY(!css.contains("a */ b"));
        const QRegularExpression declaration("^  (--.+): (#[0-9a-f]{6}); /\\* (.*) \\*/$", QRegularExpression::MultilineOption);
        QStringList found;
        for (auto match = declaration.globalMatch(css); match.hasNext();) {
            const auto m = match.next();
            found << m.captured(1) + '=' + m.captured(2) + '=' + m.captured(3);
        }
        QCOMPARE(found,
            (QStringList { "--F-11=#b43c28=F-11 Brick - A1, B2, First \u00e9dition",
                "--SW\\20 62\\/8=#143c6e=SW 62/8 Sea \U0001F30A, First \u00e9dition", "--F-12=#b43c28=F-12 Brick too, Other",
                "--W=#ffffff=W White, Other" }));
        QVERIFY(css.contains(":root {\n"));
    }

    void jsonCarriesChipFacts()
    {
        const QJsonObject root
            = QJsonDocument::fromJson(written(SwatchFormat::Json)).object();
        QCOMPARE(root.value("description").toString(), "My set");
        const QJsonArray chips = root.value("chips").toArray();
        QCOMPARE(chips.size(), 4);
        const QJsonObject brick = chips.at(0).toObject();
        QCOMPARE(brick.value("collectionUuid").toString(), "5a000000-0000-0000-0000-00000000005a");
        QCOMPARE(brick.value("collection").toString(), "First \u00e9dition");
        QCOMPARE(brick.value("card").toInt() * 10 + brick.value("row").toInt(), 31);
        QCOMPARE(brick.value("srgb").toString(), "#b43c28");
        QCOMPARE(brick.value("lrv").toDouble(), 12.5); // the collection's own value
        // Lab of sRGB 180,60,40 worked out apart: 42.896, 47.550, 38.341 (D65).
        const QJsonArray lab = brick.value("lab").toArray();
        QVERIFY(qAbs(lab[0].toDouble() - 42.896) < 0.01 && qAbs(lab[1].toDouble() - 47.550) < 0.01
            && qAbs(lab[2].toDouble() - 38.341) < 0.01);
        // No value given: 100 Y, which is 100 for white.
        QCOMPARE(chips.at(3).toObject().value("lrv").toDouble(), 100.0);
    }

    void acoFollowsTheHostRuleAndSuffixSetting()
    {
        for (const bool appendCodes : { false, true }) {
            QString error;
            const auto records = readAcoFile(
                written(SwatchFormat::Aco, "x", appendCodes), error);
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QCOMPARE(records.size(), 3);
            QCOMPARE(records.at(0), qMakePair(qRgb(20, 60, 110), QString("SW 62/8 Sea \U0001F30A")));
            QCOMPARE(records.at(1).second, appendCodes ? "F-11 Brick - A1, B2" : "F-11 Brick");
        }
    }

    void failedWriteIsReportedAndLeavesNothing()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath("missing/set.ase");
        QVERIFY(!SwatchExport::write(SwatchFormat::Ase, path, "x", palette()).isEmpty());
        QVERIFY(!QFile::exists(path));
        const QString existing = folder.filePath("set.gpl");
        QVERIFY(FixtureDatabase::writeFile(existing, "old"));
        QVERIFY(!SwatchExport::write(SwatchFormat::Gpl, existing, "x", {}).isEmpty());
        QCOMPARE(FixtureDatabase::readFile(existing), QByteArray("old"));
        QCOMPARE(SwatchExport::write(SwatchFormat::Gpl, existing, "x", palette()), QString());
        QVERIFY(FixtureDatabase::readFile(existing).startsWith("GIMP Palette\n"));
        QVERIFY(SwatchExport::formatOfPath("/a/b.GPL") == SwatchFormat::Gpl);
        QVERIFY(!SwatchExport::formatOfPath("b.palette"));
    }
};

HUELINK_TEST_MAIN(SwatchExportTest)
#include "SwatchExportTest.moc"
