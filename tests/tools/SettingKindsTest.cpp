#include "SettingKinds.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using namespace Tintor;

class SettingKindsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void checksValuesByKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("stored"); // empty: refused
        QTest::addColumn<QString>("problem");

        const QStringList refused;
        QTest::newRow("flag true") << "mood.visible" << QStringList { "true" } << QStringList { "1" } << "";
        QTest::newRow("flag 2") << "capsure.enabled" << QStringList { "2" } << refused << "not a flag";
        QTest::newRow("older tooltip key")
            << "Color.Tooltip.Show.Card.Name" << QStringList { "maybe" } << refused << "not a flag";
        QTest::newRow("segments") << "num.of.segments" << QStringList { " 24 " } << QStringList { "24" } << "";
        QTest::newRow("segments zero") << "num.of.segments" << QStringList { "0" } << refused << "at least 1";
        QTest::newRow("segments word") << "num.of.segments" << QStringList { "twelve" } << refused << "not an integer";
        QTest::newRow("max chips zero") << "max.chips.on.a.page" << QStringList { "0" } << QStringList { "0" } << "";
        QTest::newRow("max chips negative") << "max.chips.on.a.page" << QStringList { "-1" } << refused << "negative";
        QTest::newRow("priority negative") << "capsure.priority" << QStringList { "-3" } << QStringList { "-3" } << "";
        QTest::newRow("angle word") << "first.segment.angle" << QStringList { "east" } << refused << "not a number";
        QTest::newRow("card type any case")
            << "card.type" << QStringList { "PELVON" } << QStringList { "PELVON" } << "";
        QTest::newRow("card type unknown") << "card.type" << QStringList { "round" } << refused << "normal, pelvon";
        QTest::newRow("size") << "texture.size" << QStringList { "300,200" } << QStringList { "300,200" } << "";
        QTest::newRow("size negative") << "texture.size" << QStringList { "300,-2" } << refused << "not a size";
        // What the program would bring back to its default.
        QTest::newRow("angle inf") << "first.segment.angle" << QStringList{"-inf"} << refused << "not finite";
        QTest::newRow("angle 1e13") << "first.segment.angle" << QStringList{"1e13"} << refused << "degrees";
        QTest::newRow("segments 361") << "num.of.segments" << QStringList{"361"} << refused << "largest";
        QTest::newRow("chip width beyond int") << "widget.color.foresight.chip.width" << QStringList{"9999999999"}
                                               << refused << "largest";
        QTest::newRow("size huge") << "texture.size" << QStringList{"300,2147483647"} << refused << "not a size";
        QTest::newRow("intervals inf") << "cie2000.delta.intervals" << QStringList{"1,inf"} << refused << "finite";
        QTest::newRow("intervals array joined")
            << "cie2000.delta.intervals" << QStringList { "1", "2" } << QStringList { "1,2" } << "";
        QTest::newRow("intervals zero") << "cie2000.delta.intervals" << QStringList { "1,0" } << refused
                                        << "not a positive number";
        QTest::newRow("tab pages") << "tab.bar.page" << QStringList { "PageOfTextures", " pageofproducts" }
                                   << QStringList { "PageOfTextures", "pageofproducts" } << "";
        QTest::newRow("tab page unknown")
            << "tab.bar.page" << QStringList { "PageOfTextures", "PageOfHelp" } << refused << "element 1";
        QTest::newRow("schemes") << "schemes" << QStringList { "wide contrast", "natural neutral" }
                                 << QStringList { "wide contrast", "natural neutral" } << "";
        QTest::newRow("scheme by number refused") << "schemes" << QStringList { "2" } << refused << "not a scheme name";
        QTest::newRow("name order ten") << "row.name.search.order" << QStringList { "10" } << refused << "0..9";
        QTest::newRow("list for single value") << "help.link" << QStringList { "a", "b" } << refused << "single value";
        QTest::newRow("text any") << "collection.name" << QStringList { "Deck, \"new\"" }
                                  << QStringList { "Deck, \"new\"" } << "";
        QTest::newRow("unknown key list kept")
            << "my.own.key" << QStringList { "a", "b" } << QStringList { "a", "b" } << "";
    }

    void checksValuesByKey()
    {
        QFETCH(QString, key);
        QFETCH(QStringList, values);
        QFETCH(QStringList, stored);
        QFETCH(QString, problem);
        const QString result = SettingKinds::checkAndNormalize(key, values);
        if (stored.isEmpty()) {
            QVERIFY2(!result.isEmpty() && result.contains(problem), qPrintable(result));
        } else {
            QVERIFY2(result.isEmpty(), qPrintable(result));
            QCOMPARE(values, stored);
        }
    }

    void namesSchemesAndMoods_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("scheme");
        QTest::addColumn<int>("mood");

        QTest::newRow("wide contrast spaced") << "Wide Contrast" << 3 << -1;
        QTest::newRow("widecontrast") << "widecontrast" << 3 << -1;
        QTest::newRow("natural neutral") << "natural neutral" << 9 << -1;
        QTest::newRow("neutral") << "neutral" << 6 << 6;
        QTest::newRow("warm") << "WARM" << 0 << 2;
        QTest::newRow("offwhite") << "offwhite" << 0 << 5;
        QTest::newRow("number 4") << "4" << 4 << 4;
        QTest::newRow("number 7") << "7" << 7 << -1;
        QTest::newRow("number 10") << "10" << 0 << -1;
    }

    void namesSchemesAndMoods()
    {
        QFETCH(QString, text);
        QFETCH(int, scheme);
        QFETCH(int, mood);
        QCOMPARE(SettingKinds::schemeNumber(text), scheme);
        QCOMPARE(SettingKinds::moodNumber(text), mood);
    }
};

HUELINK_TEST_MAIN(SettingKindsTest)
#include "SettingKindsTest.moc"
