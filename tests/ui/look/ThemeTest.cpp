#include "ui/look/Theme.h"

#include "LookFixture.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using namespace Tintor;

class ThemeTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LookFixture> m_fixture;

    static bool isPlaceholder(const QImage &image, const QSize &size)
    {
        if (image.size() != size || image.format() != QImage::Format_ARGB32)
            return false;
        const QRgb red = qRgb(255, 0, 0);
        const QRgb white = qRgb(255, 255, 255);
        const int right = size.width() - 2;
        const int bottom = size.height() - 2;
        // The frame runs one pixel inside the edge; outside and inside it
        // the image is white.
        return image.pixel(1, 1) == red && image.pixel(right, 1) == red && image.pixel(1, bottom) == red
            && image.pixel(right, bottom) == red && image.pixel(size.width() / 2, 1) == red
            && image.pixel(0, 0) == white && image.pixel(size.width() - 1, size.height() - 1) == white
            && (size.width() < 5 || image.pixel(size.width() / 2, size.height() / 2) == white);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_fixture = std::make_unique<LookFixture>();
        QVERIFY(m_fixture->isOpen());
        m_fixture->addSystemTheme(QStringLiteral("image.widget.roll.forward.normal"),
                                  LookFixture::png(LookFixture::filled(QSize(9, 7), QColor(10, 200, 30))));
        m_fixture->addSystemTheme(QStringLiteral("image.widget.roll.forward.down"), QByteArray("not an image"));
        m_fixture->addSystemTheme(QStringLiteral("color.widget.collectionselector.text"), "10,20,30,40");
        m_fixture->addSystemTheme(QStringLiteral("color.broken"), "10,20,x");
        m_fixture->addShownTheme(QStringLiteral("image.banner"),
                                 LookFixture::png(LookFixture::filled(QSize(40, 12), QColor(0, 0, 255))));
        m_fixture->publish();
    }

    void keyTableHasEveryKeyOnce()
    {
        QSet<QString> keys;
        for (int i = 0; i < kThemeItemCount; ++i)
            keys.insert(themeItemKey(ThemeItem(i)));
        keys.remove(QString());
        QCOMPARE(keys.size(), 60);
    }

    void placeholderIsWhiteWithRedInsetFrame_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("16x16") << QSize(16, 16);
        QTest::newRow("smallest with a frame 3x3") << QSize(3, 3);
        QTest::newRow("0x16 gives none") << QSize(0, 16);
        QTest::newRow("16x0 gives none") << QSize(16, 0);
    }
    void placeholderIsWhiteWithRedInsetFrame()
    {
        QFETCH(QSize, size);
        const QImage image = placeholderImage(size);
        QCOMPARE(image.isNull(), size.isEmpty());
        QVERIFY(size.isEmpty() || isPlaceholder(image, size));
    }

    void storedImageIsDecodedWhateverTheWantedSize()
    {
        const QImage image = themeImage(ThemeItem::RollForwardNormal, QSize(16, 16));
        QCOMPARE(image.size(), QSize(9, 7));
        QCOMPARE(QColor(image.pixel(4, 3)), QColor(10, 200, 30));
        QCOMPARE(themeImage(QStringLiteral("image.widget.roll.forward.normal"), QSize(0, 0)).size(), QSize(9, 7));
    }

    void undecodableMissingOrOtherCollectionsItemGivesPlaceholder()
    {
        QVERIFY(isPlaceholder(themeImage(ThemeItem::RollForwardDown, QSize(20, 10)), QSize(20, 10)));
        QVERIFY(themeImage(ThemeItem::RollForwardDown, QSize(0, 0)).isNull());
        QVERIFY(themeImage(ThemeItem::Banner, QSize(0, 0)).isNull());
        const QImage banner = themeImage(LookFixture::shownCollection(), ThemeItem::Banner, QSize(16, 16));
        QCOMPARE(banner.size(), QSize(40, 12));
        // The system-wide collection has no banner of its own.
        QVERIFY(isPlaceholder(themeImage(ThemeItem::Banner, QSize(16, 16)), QSize(16, 16)));
        // An unknown collection behaves like a missing item.
        QVERIFY(isPlaceholder(themeImage(QUuid::createUuid(), ThemeItem::Banner, QSize(8, 8)), QSize(8, 8)));
    }

    void colourText_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QColor>("expected");
        const QColor fallback(1, 2, 3);
        QTest::newRow("three parts are opaque") << QByteArray("10,20,30") << QColor(10, 20, 30, 255);
        QTest::newRow("fourth part is alpha") << QByteArray("10,20,30,40") << QColor(10, 20, 30, 40);
        QTest::newRow("empty parts are dropped") << QByteArray(",10,,20,30,") << QColor(10, 20, 30);
        QTest::newRow("spaces around numbers") << QByteArray(" 10, 20 ,30") << QColor(10, 20, 30);
        QTest::newRow("limits") << QByteArray("0,0,255,255") << QColor(0, 0, 255, 255);
        QTest::newRow("two parts") << QByteArray("10,20") << fallback;
        QTest::newRow("five parts") << QByteArray("1,2,3,4,5") << fallback;
        QTest::newRow("above 255") << QByteArray("10,20,300") << fallback;
        QTest::newRow("alpha above 255") << QByteArray("10,20,30,256") << fallback;
        QTest::newRow("negative") << QByteArray("10,-20,30") << fallback;
        QTest::newRow("not a number") << QByteArray("10,20,x") << fallback;
        QTest::newRow("empty") << QByteArray() << fallback;
    }
    void colourText()
    {
        QFETCH(QByteArray, text);
        QFETCH(QColor, expected);
        const QColor result = parseThemeColor(text, QColor(1, 2, 3));
        QCOMPARE(result, expected);
        QCOMPARE(result.alpha(), expected.alpha());
    }

    void themeColourReadsTheSystemWideItem()
    {
        const QColor fallback(9, 9, 9);
        const QColor stored = themeColor(ThemeItem::CollectionSelectorTextColor, fallback);
        QCOMPARE(stored, QColor(10, 20, 30, 40));
        QCOMPARE(themeColor(QStringLiteral("color.broken"), fallback), fallback);
        QCOMPARE(themeColor(QStringLiteral("color.missing"), fallback), fallback);
    }
};

HUELINK_TEST_MAIN(ThemeTest)
#include "ThemeTest.moc"
