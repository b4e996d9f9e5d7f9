#include "host/HostColor.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using namespace Tintor::HostColor;

class HostColorTest : public QObject
{
    Q_OBJECT

    static QString canonical(const QString &path) { return QFileInfo(path).canonicalFilePath(); }

private Q_SLOTS:
    void initialColorFromEachSpace_data()
    {
        QTest::addColumn<QList<int>>("c"); // the space, then the components
        QTest::addColumn<QColor>("expected");
        const auto row = [](const char *name, int space, int c0, int c1, int c2, int c3, const QColor &expected) {
            QTest::newRow(name) << QList<int>{space, c0, c1, c2, c3} << expected;
        };
        row("RGB orange", HostRgb, 65535, 32896, 0, 0, QColor(255, 128, 0));
        // Integer division truncates: 513 / 257 is 1, 256 / 257 is 0.
        row("RGB truncates", HostRgb, 513, 256, 65534, 4711, QColor(1, 0, 254));
        row("HSB red", HostHsb, 0, 65535, 65535, 0, QColor(255, 0, 0));
        row("HSB green", HostHsb, 21845, 65535, 65535, 0, QColor(0, 255, 0));
        row("HSB full turn is red", HostHsb, 65535, 65535, 65535, 0, QColor(255, 0, 0));
        row("HSB grey", HostHsb, 0, 0, 32896, 0, QColor(128, 128, 128));
        // The host's 0 is full ink.
        row("CMYK no ink", HostCmyk, 65535, 65535, 65535, 65535, QColor(255, 255, 255));
        row("CMYK cyan", HostCmyk, 0, 65535, 65535, 65535, QColor(0, 255, 255));
        row("CMYK black only", HostCmyk, 65535, 65535, 65535, 0, QColor(0, 0, 0));
        row("Lab white", HostLab, 10000, 0, 0, 0, QColor(255, 255, 255));
        row("Lab tan", HostLab, 7500, 2000, 3000, 0, QColor(237, 170, 131));
        // Outside the sRGB gamut: channels clamped; a* and b* travel as 16-bit words holding signed hundredths.
        row("Lab violet out of gamut", HostLab, 5000, 10000, quint16(-10000), 0, QColor(180, 0, 255));
        row("Lab green out of gamut", HostLab, 6000, quint16(-12000), 12000, 0, QColor(0, 181, 0));
        row("Gray 100% is black", HostGray, 10000, 0, 0, 0, QColor(0, 0, 0));
        row("Gray 20%", HostGray, 2000, 0, 0, 0, QColor(204, 204, 204));
        row("unknown space 5", 5, 65535, 32896, 0, 0, QColor());
        row("unknown space -1", -1, 65535, 32896, 0, 0, QColor());
    }

    void initialColorFromEachSpace()
    {
        QFETCH(QList<int>, c);
        QFETCH(QColor, expected);
        const quint16 components[4] = {quint16(c[1]), quint16(c[2]), quint16(c[3]), quint16(c[4])};
        const QColor color = initialColor(c[0], components);
        QCOMPARE(color.spec(), expected.spec());
        if (expected.isValid())
            QCOMPARE(QColor::fromRgba(color.rgba()), expected);
    }

    // Widened to 16 bits; what goes out as RGB comes back in as the same colour.
    void pickedColorIsWidenedTo16Bits()
    {
        quint16 block[4] = {11, 22, 33, 44};
        pickedComponents(QColor(255, 0, 128), block);
        QCOMPARE((QList<int>{block[0], block[1], block[2], block[3]}), (QList<int>{65535, 0, 32896, 0}));
        QCOMPARE(initialColor(HostRgb, block), QColor(255, 0, 128));
        pickedComponents(QColor(1, 2, 3), block);
        QCOMPARE((QList<int>{block[0], block[1], block[2], block[3]}), (QList<int>{257, 514, 771, 0}));
    }

    // The version's swatch folder below the start, made; other versions start in the data folder itself.
    void swatchFolderPerHostVersion()
    {
        const QList<std::pair<int, QString>> versions{{9, "CS2"}, {11, "CS4"}, {13, "CS6"}, {14, ""}, {8, ""}};
        for (const auto &[majorVersion, name] : versions) {
            QTemporaryDir start;
            const QString folder = swatchFolder(start.path(), majorVersion);
            const QString sub = "/Adobe/Adobe Photoshop " + name + "/Presets/Color Swatches";
            const QString expected = name.isEmpty() ? start.path() : start.path() + sub;
            QVERIFY2(QFileInfo(expected).isDir(), qPrintable(expected));
            QCOMPARE(canonical(folder), canonical(expected));
            if (name.isEmpty())
                QCOMPARE(QDir(start.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
        }
    }

    // An existing folder is kept with its files; a file where the first folder should be falls back to the start.
    void swatchFolderThatExistsOrCannotBeMade()
    {
        QTemporaryDir start;
        const QString existing = start.path() + "/Adobe/Adobe Photoshop CS6/Presets/Color Swatches";
        QVERIFY(QDir().mkpath(existing));
        QVERIFY(QFile(existing + "/mine.aco").open(QIODevice::WriteOnly));
        QCOMPARE(canonical(swatchFolder(start.path(), 13)), canonical(existing));
        QVERIFY(QFile::exists(existing + "/mine.aco"));

        QTemporaryDir blocked;
        QVERIFY(QFile(blocked.path() + "/Adobe").open(QIODevice::WriteOnly));
        QCOMPARE(canonical(swatchFolder(blocked.path(), 12)), canonical(blocked.path()));
    }
};

HUELINK_TEST_MAIN(HostColorTest)
#include "HostColorTest.moc"
