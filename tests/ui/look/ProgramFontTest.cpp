#include "ui/look/ProgramFont.h"

#include "LookFixture.h"
#include "support/TestEnvironment.h"

#include <QFontDatabase>
#include <QtTest>

using namespace Tintor;

class ProgramFontTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LookFixture> m_fixture;

    void setFontListRows(const QString &plain, const QString &platform)
    {
        QVERIFY(m_fixture->exec(QStringLiteral("DELETE FROM THEME WHERE COLLECTION_ID = 0")));
        if (!plain.isNull())
            m_fixture->addSystemTheme(QStringLiteral("list.of.preferred.font.faces"), plain.toUtf8());
        if (!platform.isNull())
            m_fixture->addSystemTheme(QStringLiteral("list.of.preferred.font.faces.linux"), platform.toUtf8());
        forgetPreferredFontFamily();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFontDatabase::families().contains(QStringLiteral("DejaVu Sans")),
                 "the tests need fonts-dejavu-core");
        m_fixture = std::make_unique<LookFixture>();
        QVERIFY(m_fixture->isOpen());
        m_fixture->publish();
    }

    void cleanupTestCase() { forgetPreferredFontFamily(); }

    void fontListText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<QList<int>>("sizes");
        const QStringList builtIn{QStringLiteral("Myriad Pro"), QStringLiteral("Arial")};
        const QList<int> builtInSizes{10, 8};
        QTest::newRow("size not a number drops the entry")
            << QStringLiteral("Arial,9;Verdana,x") << QStringList{QStringLiteral("Arial")} << QList<int>{9};
        QTest::newRow("empty entries are skipped")
            << QStringLiteral(";;DejaVu Sans,10;;Arial,8;")
            << QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("Arial")} << QList<int>{10, 8};
        QTest::newRow("three parts drop the entry")
            << QStringLiteral("Arial,9,3;Verdana,11") << QStringList{QStringLiteral("Verdana")} << QList<int>{11};
        QTest::newRow("zero and negative sizes drop the entry")
            << QStringLiteral("Arial,0;Verdana,-2;Tahoma,7") << QStringList{QStringLiteral("Tahoma")}
            << QList<int>{7};
        QTest::newRow("spaces around a family") << QStringLiteral(" DejaVu Sans , 9")
                                                << QStringList{QStringLiteral("DejaVu Sans")} << QList<int>{9};
        QTest::newRow("family named twice gives the built-in list")
            << QStringLiteral("Myriad Pro,10;Myriad Pro,12") << builtIn << builtInSizes;
        QTest::newRow("nothing usable gives the built-in list")
            << QStringLiteral("Arial;Verdana,none") << builtIn << builtInSizes;
    }
    void fontListText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, families);
        QFETCH(QList<int>, sizes);
        const FontList list = parseFontList(text);
        QCOMPARE(list.families, families);
        QCOMPARE(list.sizes.size(), sizes.size());
        for (int i = 0; i < families.size(); ++i)
            QCOMPARE(list.sizes.value(families.at(i)), sizes.at(i));
    }

    void firstInstalledFamilyIgnoresCase_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<int>("index");
        QTest::newRow("first listed wins") << QStringLiteral("A Face,9;B Face,10")
                                           << QStringList{QStringLiteral("B Face"), QStringLiteral("A Face")} << 0;
        QTest::newRow("skips missing") << QStringLiteral("A Face,9;B Face,10") << QStringList{QStringLiteral("B Face")}
                                       << 1;
        QTest::newRow("other case") << QStringLiteral("dejavu SANS,9") << QStringList{QStringLiteral("DejaVu Sans")}
                                    << 0;
        QTest::newRow("none installed") << QStringLiteral("A Face,9") << QStringList{QStringLiteral("C Face")} << -1;
    }
    void firstInstalledFamilyIgnoresCase()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, installed);
        QFETCH(int, index);
        QCOMPARE(firstInstalledFamily(parseFontList(text), installed), index);
    }

    void stepPointSizes_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("pointSize");
        QTest::newRow("0: base - 2") << 0 << 8;
        QTest::newRow("2: base") << 2 << 10;
        QTest::newRow("4: base + 2") << 4 << 12;
        QTest::newRow("5: base") << 5 << 10;
        QTest::newRow("-1: base") << -1 << 10;
    }
    void stepPointSizes()
    {
        QFETCH(int, step);
        QFETCH(int, pointSize);
        QCOMPARE(programFontPointSize(10, step), pointSize);
    }

    void platformListIsReadWhenThePlainOneIsMissing()
    {
        setFontListRows(QString(), QStringLiteral("No Such Face,11;dejavu sans,9"));
        QCOMPARE(preferredFontFamily().toLower(), QStringLiteral("dejavu sans"));
        QCOMPARE(programFontBaseSize(), 9);

        const QFont normal = programFont(FontStyle::Normal, 2);
        QCOMPARE(normal.pointSize(), 9);
        QCOMPARE(normal.weight(), QFont::Normal);
        QVERIFY(!normal.italic());
        QCOMPARE(normal.stretch(), 100);
        QCOMPARE(normal.letterSpacingType(), QFont::PercentageSpacing);
        QCOMPARE(normal.letterSpacing(), 100.0);
        QVERIFY(normal.styleStrategy() & QFont::PreferAntialias);
        QCOMPARE(QFontInfo(normal).family(), QStringLiteral("DejaVu Sans"));

        const QFont bold = programFont(FontStyle::Bold, 4);
        QCOMPARE(bold.pointSize(), 11);
        QCOMPARE(bold.weight(), QFont::Bold);
        const QFont italic = programFont(FontStyle::Italic, 0);
        QCOMPARE(italic.pointSize(), 7);
        QVERIFY(italic.italic());
        QCOMPARE(italic.weight(), QFont::Normal);
    }

    // The plain list wins over the platform list; the family is chosen once
    // and kept when the data changes later.
    void plainListWinsAndFamilyIsKept()
    {
        setFontListRows(QStringLiteral("DejaVu Serif,12"), QStringLiteral("DejaVu Sans,9"));
        QCOMPARE(preferredFontFamily(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(programFont(FontStyle::Normal, 3).pointSize(), 13);
        setFontListRows(QStringLiteral("DejaVu Sans,9"), QString());
        QCOMPARE(preferredFontFamily(), QStringLiteral("DejaVu Sans"));
        QVERIFY(m_fixture->exec(QStringLiteral("UPDATE THEME SET ITEM_DATA = ? WHERE COLLECTION_ID = 0"),
                                {QByteArray("DejaVu Serif,12")}));
        QCOMPARE(preferredFontFamily(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(programFontBaseSize(), 9);
    }

    void noInstalledFamilyKeepsReadableSizes()
    {
        setFontListRows(QStringLiteral("No Such Face,11;Nor This,12"), QString());
        QCOMPARE(preferredFontFamily(), QString());
        // Regression: the base size used to stay 0, giving 1-point text.
        QCOMPARE(programFontBaseSize(), 11);
        for (int step = 0; step <= 4; ++step)
            QCOMPARE(programFont(FontStyle::Normal, step).pointSize(), 11 - 2 + step);
    }

    void fontsAreCachedByTheirAttributes()
    {
        setFontListRows(QStringLiteral("DejaVu Sans,10"), QString());
        QVERIFY(programFont(FontStyle::Bold, 3) != programFont(FontStyle::Normal, 3));
        QVERIFY(programFont(FontStyle::Bold, 3) != programFont(FontStyle::Bold, 4));
        // Steps outside 0..4 share the base size's font.
        QCOMPARE(programFont(FontStyle::Normal, 9), programFont(FontStyle::Normal, 2));
    }
};

HUELINK_TEST_MAIN(ProgramFontTest)
#include "ProgramFontTest.moc"
