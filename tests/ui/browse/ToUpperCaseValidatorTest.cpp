#include "ui/browse/ToUpperCaseValidator.h"

#include "support/TestEnvironment.h"

#include <QtTest>

class ToUpperCaseValidatorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void upperCasesAndAcceptsEverything_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("lower case") << QStringLiteral("s 1002-y") << QStringLiteral("S 1002-Y");
        QTest::newRow("already upper") << QStringLiteral("N 0500") << QStringLiteral("N 0500");
        QTest::newRow("umlauts") << QStringLiteral("ölweiß grün") << QStringLiteral("ÖLWEISS GRÜN");
        QTest::newRow("punctuation and blanks") << QStringLiteral("  -/'\"% ") << QStringLiteral("  -/'\"% ");
        QTest::newRow("empty") << QString() << QString();
    }
    void upperCasesAndAcceptsEverything()
    {
        QFETCH(QString, input);
        QFETCH(QString, expected);
        Tintor::ToUpperCaseValidator validator;
        int position = input.size();
        QCOMPARE(validator.validate(input, position), QValidator::Acceptable);
        QCOMPARE(input, expected);
    }
};

HUELINK_TEST_MAIN(ToUpperCaseValidatorTest)
#include "ToUpperCaseValidatorTest.moc"
