#include "ui/look/ProgramFont.h"

#include "LookFixture.h"

#include <QFontDatabase>
#include <QtTest>

using namespace Tintor;

class ProgramFontTest : public QObject
{
    Q_OBJECT

private:
    LookFixture m_fixture;

    void setFontListRows(const QString &plain, const QString &platform)
    {
        QVERIFY(m_fixture.exec("DELETE FROM THEME WHERE COLLECTION_ID = 0"));
        if (!plain.isNull())
            m_fixture.addSystemTheme("list.of.preferred.font.faces", plain.toUtf8());
        if (!platform.isNull())
            m_fixture.addSystemTheme("list.of.preferred.font.faces.linux", platform.toUtf8());
        forgetPreferredFontFamily();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFontDatabase::families().contains("DejaVu Sans"), "the tests need fonts-dejavu-core");
        QVERIFY(m_fixture.isOpen());
        m_fixture.publish();
    }

    void cleanupTestCase() { forgetPreferredFontFamily(); }

    // Bad entries dropped, empty ones skipped, spaces trimmed; a family named twice or nothing usable: the built-in.
    void fontListFirstFamilyAndStepSizes()
    {
        const FontList mixed = parseFontList(";Arial,9,3;;Verdana,0;Tahoma,-2;Courier,x; DejaVu Sans , 9;Arial,8;");
        QCOMPARE(mixed.families, (QStringList{"DejaVu Sans", "Arial"}));
        QCOMPARE(mixed.sizes, (QHash<QString, int>{{"DejaVu Sans", 9}, {"Arial", 8}}));
        for (const char *text : {"Myriad Pro,10;Myriad Pro,12", "Arial;Verdana,none"}) {
            QCOMPARE(parseFontList(text).families, (QStringList{"Myriad Pro", "Arial"}));
            QCOMPARE(parseFontList(text).sizes, (QHash<QString, int>{{"Myriad Pro", 10}, {"Arial", 8}}));
        }
        // The first listed family installed wins, whatever its case; steps 0..4 run from base - 2 to base + 2.
        const FontList list = parseFontList("A Face,9;B Face,10");
        QCOMPARE(firstInstalledFamily(list, {"B Face", "A Face"}), 0);
        QCOMPARE(firstInstalledFamily(list, {"b face"}), 1);
        QCOMPARE(firstInstalledFamily(list, {"C Face"}), -1);
        const int sizes[] = {10, 8, 9, 10, 11, 12, 10}; // steps -1 to 5
        for (int step = -1; step <= 5; ++step)
            QCOMPARE(programFontPointSize(10, step), sizes[step + 1]);
    }

    void platformListIsReadWhenThePlainOneIsMissing()
    {
        setFontListRows(QString(), QStringLiteral("No Such Face,11;dejavu sans,9"));
        QCOMPARE(preferredFontFamily().toLower(), QStringLiteral("dejavu sans"));
        QCOMPARE(programFontBaseSize(), 9);

        const QFont normal = programFont(FontStyle::Normal, 2);
        QCOMPARE((QList<int>{normal.pointSize(), normal.weight(), normal.italic(), normal.stretch()}),
                 (QList<int>{9, QFont::Normal, false, 100}));
        QCOMPARE(normal.letterSpacingType(), QFont::PercentageSpacing);
        QCOMPARE(normal.letterSpacing(), 100.0);
        QVERIFY(normal.styleStrategy() & QFont::PreferAntialias);
        QCOMPARE(QFontInfo(normal).family(), QStringLiteral("DejaVu Sans"));

        const QFont bold = programFont(FontStyle::Bold, 4);
        const QFont italic = programFont(FontStyle::Italic, 0);
        QCOMPARE((QList<int>{bold.pointSize(), bold.weight(), italic.pointSize(), italic.weight(), italic.italic()}),
                 (QList<int>{11, QFont::Bold, 7, QFont::Normal, true}));
    }

    // The plain list wins over the platform list; the family is chosen once and kept when the data changes later.
    void plainListWinsAndFamilyIsKept()
    {
        setFontListRows(QStringLiteral("DejaVu Serif,12"), QStringLiteral("DejaVu Sans,9"));
        QCOMPARE(preferredFontFamily(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(programFont(FontStyle::Normal, 3).pointSize(), 13);
        setFontListRows(QStringLiteral("DejaVu Sans,9"), QString());
        QCOMPARE(preferredFontFamily(), QStringLiteral("DejaVu Sans"));
        QVERIFY(m_fixture.exec(QStringLiteral("UPDATE THEME SET ITEM_DATA = ? WHERE COLLECTION_ID = 0"),
                                {QByteArray("DejaVu Serif,12")}));
        QCOMPARE(preferredFontFamily(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(programFontBaseSize(), 9);
        // Fonts are cached by their attributes; steps outside 0..4 share the base size's font.
        QVERIFY(programFont(FontStyle::Bold, 3) != programFont(FontStyle::Normal, 3));
        QVERIFY(programFont(FontStyle::Bold, 3) != programFont(FontStyle::Bold, 4));
        QCOMPARE(programFont(FontStyle::Normal, 9), programFont(FontStyle::Normal, 2));

        setFontListRows("No Such Face,11;Nor This,12", QString());
        QCOMPARE(preferredFontFamily(), QString());
        // Regression: with no family installed the base size used to stay 0, giving 1-point text.
        QCOMPARE(programFontBaseSize(), 11);
        QCOMPARE(programFont(FontStyle::Normal, 0).pointSize(), 9);
    }
};

HUELINK_TEST_MAIN(ProgramFontTest)
#include "ProgramFontTest.moc"
