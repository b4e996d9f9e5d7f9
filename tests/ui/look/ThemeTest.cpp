#include "ui/look/Theme.h"

#include "db/Schema.h"
#include "db/ThemeImageCache.h"
#include "LookFixture.h"

#include <QtTest>

using namespace Tintor;

class ThemeTest : public QObject
{
    Q_OBJECT

private:
    LookFixture m_fixture;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_fixture.isOpen());
        m_fixture.addSystemTheme("image.widget.roll.forward.normal", FixtureDatabase::png({9, 7}, {10, 200, 30}));
        m_fixture.addSystemTheme("image.widget.roll.forward.down", "not an image");
        m_fixture.addSystemTheme("color.widget.collectionselector.text", "10,20,30,40");
        m_fixture.addSystemTheme("color.broken", "10,20,x");
        m_fixture.addShownTheme("image.banner", FixtureDatabase::png({40, 12}, Qt::blue));
        m_fixture.addSystemTheme("image.mto", FixtureDatabase::png({5, 5}, Qt::green));
        // Larger than any theme image is drawn: a small file that would take 64 MB.
        m_fixture.addSystemTheme("image.about.logo", FixtureDatabase::png({4096, 4096}, Qt::gray));
        m_fixture.publish();
    }

    void keyTableHasEveryKeyOnce()
    {
        QSet<QString> keys;
        for (int i = 0; i < kThemeItemCount; ++i)
            keys.insert(themeItemKey(ThemeItem(i)));
        keys.remove(QString());
        QCOMPARE(keys.size(), 60);
    }

    // White with a red frame one pixel inside the edge; an empty size gives none.
    void placeholderIsWhiteWithRedInsetFrame()
    {
        for (const QSize &size : {QSize(16, 16), QSize(3, 3)}) {
            const QImage image = placeholderImage(size);
            QCOMPARE(image.size(), size);
            QCOMPARE(image.format(), QImage::Format_ARGB32);
            const int right = size.width() - 2;
            const int bottom = size.height() - 2;
            for (const QPoint &frame : {QPoint(1, 1), QPoint(right, 1), QPoint(1, bottom), QPoint(right, bottom)})
                QCOMPARE(image.pixel(frame), qRgb(255, 0, 0));
            QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
            QCOMPARE(image.pixel(right + 1, bottom + 1), qRgb(255, 255, 255));
        }
        QCOMPARE(placeholderImage(QSize(16, 16)).pixel(8, 1), qRgb(255, 0, 0));
        QCOMPARE(placeholderImage(QSize(16, 16)).pixel(8, 8), qRgb(255, 255, 255));
        QVERIFY(placeholderImage(QSize(0, 16)).isNull());
        QVERIFY(placeholderImage(QSize(16, 0)).isNull());
    }

    // Decoded whatever the wanted size; an undecodable, missing or other collection's image gives the placeholder.
    void themeImages()
    {
        const QImage image = themeImage(ThemeItem::RollForwardNormal, QSize(16, 16));
        QCOMPARE(image.size(), QSize(9, 7));
        QCOMPARE(QColor(image.pixel(4, 3)), QColor(10, 200, 30));
        QCOMPARE(themeImage("image.widget.roll.forward.normal", QSize(0, 0)).size(), QSize(9, 7));

        QCOMPARE(themeImage(ThemeItem::RollForwardDown, QSize(20, 10)), placeholderImage(QSize(20, 10)));
        QVERIFY(themeImage(ThemeItem::RollForwardDown, QSize(0, 0)).isNull());
        QVERIFY(themeImage(ThemeItem::Banner, QSize(0, 0)).isNull());
        QCOMPARE(themeImage(LookFixture::shownCollection(), ThemeItem::Banner, QSize(16, 16)).size(), QSize(40, 12));
        // The system-wide collection has no banner of its own; an unknown collection is like a missing item.
        QCOMPARE(themeImage(ThemeItem::Banner, QSize(16, 16)), placeholderImage(QSize(16, 16)));
        QCOMPARE(themeImage(QUuid::createUuid(), ThemeItem::Banner, QSize(8, 8)), placeholderImage(QSize(8, 8)));
    }

    // Decoded once while the file stays as it is; a change written by another connection shows on the next call.
    void themeImagesFollowTheFileAndStayDecoded()
    {
        QCOMPARE(QColor(themeImage(ThemeItem::Mto).pixel(2, 2)), QColor(Qt::green));
        const int decodes = DB::ThemeImageCache::decodeCount();
        QCOMPARE(QColor(themeImage(ThemeItem::Mto).pixel(2, 2)), QColor(Qt::green));
        QCOMPARE(DB::ThemeImageCache::decodeCount(), decodes);
        // The next host call opens the connection anew; the file is the same.
        const QString path = DB::collectionRegistry().value(DB::Schema::systemWideCollectionUuid()).databasePath;
        QSqlDatabase::removeDatabase(DB::connectionNameOf(path));
        QCOMPARE(QColor(themeImage(ThemeItem::Mto).pixel(2, 2)), QColor(Qt::green));
        QCOMPARE(DB::ThemeImageCache::decodeCount(), decodes);
        QVERIFY(m_fixture.exec("UPDATE THEME SET ITEM_DATA = ? WHERE ITEM_KEY = 'image.mto'",
                               {FixtureDatabase::png({6, 6}, Qt::red)}));
        QCOMPARE(themeImage(ThemeItem::Mto).size(), QSize(6, 6));
        QCOMPARE(themeImage(ThemeItem::AboutLogo, QSize(8, 8)), placeholderImage(QSize(8, 8)));
    }

    // Three or four parts from 0 to 255, spaces and empty parts allowed; anything else gives the fallback.
    void colourText()
    {
        const QColor fallback(1, 2, 3);
        for (const auto &[text, color] : QList<QPair<const char *, QColor>>{
                 {"10,20,30", QColor(10, 20, 30)}, {"10,20,30,40", QColor(10, 20, 30, 40)},
                 {",10,,20,30,", QColor(10, 20, 30)}, {" 10, 20 ,30", QColor(10, 20, 30)}, {"0,0,255,255", Qt::blue}})
            QCOMPARE(parseThemeColor(text, fallback), color);
        for (const char *bad : {"10,20", "1,2,3,4,5", "10,20,300", "10,20,30,256", "10,-20,30", "10,20,x", ""})
            QVERIFY2(parseThemeColor(bad, fallback) == fallback, bad);
    }

    void themeColourReadsTheSystemWideItem()
    {
        const QColor fallback(9, 9, 9);
        QCOMPARE(themeColor(ThemeItem::CollectionSelectorTextColor, fallback), QColor(10, 20, 30, 40));
        QCOMPARE(themeColor(QStringLiteral("color.broken"), fallback), fallback);
        QCOMPARE(themeColor(QStringLiteral("color.missing"), fallback), fallback);
    }
};

HUELINK_TEST_MAIN(ThemeTest)
#include "ThemeTest.moc"
