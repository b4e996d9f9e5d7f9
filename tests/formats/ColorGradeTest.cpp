#include "formats/ColorGrade.h"
#include "support/TestEnvironment.h"

#include <QtTest>

#include <limits>

using namespace Tintor;

class ColorGradeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void gradeBoundsBelongToTheCloserGrade_data()
    {
        QTest::addColumn<double>("deltaE");
        QTest::addColumn<QString>("grade");
        const std::pair<double, const char *> rows[] = { { 0.0, "indistinguishable" }, { 1.0, "indistinguishable" },
            { 1.0001, "very close" }, { 2.0, "very close" }, { 2.01, "close" }, { 3.5, "close" },
            { 3.5001, "noticeable" }, { 5.0, "noticeable" }, { 5.0001, "different" }, { 80.0, "different" },
            { std::numeric_limits<double>::quiet_NaN(), "different" } };
        for (const auto &[deltaE, grade] : rows)
            QTest::addRow("%g", deltaE) << deltaE << QString::fromLatin1(grade);
    }

    void gradeBoundsBelongToTheCloserGrade()
    {
        QFETCH(double, deltaE);
        QFETCH(QString, grade);
        QCOMPARE(ColorGrade::text(ColorGrade::of(deltaE)), grade);
    }

    void descriptionRoundsToOneDecimal()
    {
        QCOMPARE(ColorGrade::describe(2.34), QString::fromUtf8("\xCE\x94" "E 2.3, close"));
        QCOMPARE(ColorGrade::describe(0.04), QString::fromUtf8("\xCE\x94" "E 0.0, indistinguishable"));
    }
};

HUELINK_TEST_MAIN(ColorGradeTest)
#include "ColorGradeTest.moc"
