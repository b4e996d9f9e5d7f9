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
        QTest::addColumn<QStringList>("stored");
        QTest::addColumn<QString>("problem");

        // Stored as given when `stored` is "=", refused (naming `problem`) when it is empty.
        const auto row = [](const char *name, const char *key, const QStringList &values, QStringList stored,
                             const char *problem = "") {
            if (stored == QStringList { "=" })
                stored = values;
            QTest::newRow(name) << QString::fromLatin1(key) << values << stored << QString::fromLatin1(problem);
        };
        const QStringList same { "=" };
        row("flag true", "mood.visible", { "true" }, { "1" });
        row("flag 2", "capsure.enabled", { "2" }, {}, "not a flag");
        row("older tooltip key", "Color.Tooltip.Show.Card.Name", { "maybe" }, {}, "not a flag");
        row("segments", "num.of.segments", { " 24 " }, { "24" });
        row("segments zero", "num.of.segments", { "0" }, {}, "at least 1");
        row("segments word", "num.of.segments", { "twelve" }, {}, "not an integer");
        row("max chips zero", "max.chips.on.a.page", { "0" }, same);
        row("max chips negative", "max.chips.on.a.page", { "-1" }, {}, "negative");
        row("priority negative", "capsure.priority", { "-3" }, same);
        row("angle word", "first.segment.angle", { "east" }, {}, "not a number");
        row("card type any case", "card.type", { "PELVON" }, same);
        row("card type unknown", "card.type", { "round" }, {}, "normal, pelvon");
        row("size", "texture.size", { "300,200" }, same);
        row("size negative", "texture.size", { "300,-2" }, {}, "not a size");
        // What the program would bring back to its default.
        row("angle inf", "first.segment.angle", { "-inf" }, {}, "not finite");
        row("angle 1e13", "first.segment.angle", { "1e13" }, {}, "degrees");
        row("segments 361", "num.of.segments", { "361" }, {}, "largest");
        row("chip width beyond int", "widget.color.foresight.chip.width", { "9999999999" }, {}, "largest");
        row("size huge", "texture.size", { "300,2147483647" }, {}, "not a size");
        row("intervals inf", "cie2000.delta.intervals", { "1,inf" }, {}, "finite");
        row("intervals array joined", "cie2000.delta.intervals", { "1", "2" }, { "1,2" });
        row("intervals zero", "cie2000.delta.intervals", { "1,0" }, {}, "not a positive number");
        row("tab pages", "tab.bar.page", { "PageOfTextures", " pageofproducts" },
            { "PageOfTextures", "pageofproducts" });
        row("tab page unknown", "tab.bar.page", { "PageOfTextures", "PageOfHelp" }, {}, "element 1");
        row("schemes", "schemes", { "wide contrast", "natural neutral" }, same);
        row("scheme by number refused", "schemes", { "2" }, {}, "not a scheme name");
        row("name order ten", "row.name.search.order", { "10" }, {}, "0..9");
        row("list for single value", "help.link", { "a", "b" }, {}, "single value");
        row("text any", "collection.name", { "Deck, \"new\"" }, same);
        row("unknown key list kept", "my.own.key", { "a", "b" }, same);
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
        const std::tuple<const char *, int, int> names[] = { { "Wide Contrast", 3, -1 }, { "widecontrast", 3, -1 },
            { "natural neutral", 9, -1 }, { "neutral", 6, 6 }, { "WARM", 0, 2 }, { "offwhite", 0, 5 }, { "4", 4, 4 },
            { "7", 7, -1 }, { "10", 0, -1 } };
        for (const auto &[text, scheme, mood] : names) {
            QCOMPARE(SettingKinds::schemeNumber(QString::fromLatin1(text)), scheme);
            QCOMPARE(SettingKinds::moodNumber(QString::fromLatin1(text)), mood);
        }
    }
};

HUELINK_TEST_MAIN(SettingKindsTest)
#include "SettingKindsTest.moc"
