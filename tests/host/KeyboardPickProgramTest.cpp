// A whole pick by keyboard alone through the built host over the demo collections, against the same pick by mouse.
#include "support/ProgramRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

class KeyboardPickProgramTest : public QObject
{
    Q_OBJECT

    static QJsonArray pick(const QStringList &options, int expectedExit = 0)
    {
        const QTemporaryDir root;
        const ProgramRun run = ProgramRun::run(ProgramRun::builtProgram("tools/huelink-host/huelink-host"),
            QStringList{"pick", "--space", "gray", "--components", "0,0,0,0", "--collection", "Vestrel Interiors", "--close-after", "10000"} + options,
            120000, root.path(), {{"PROGRAMDATA", ProgramRun::builtProgram("programdata")}});
        return run.exitCode == expectedExit ? QJsonDocument::fromJson(run.outLines().value(0)).object().value("components").toArray()
                                            : QJsonArray{run.exitCode, QString::fromUtf8(run.err)};
    }

private Q_SLOTS:
    // Search the code, put the chip found into My Palette and use it, as --choose drops and uses it (its colour × 257);
    // Ctrl+Return alone has no chip to use.
    void searchPlaceAndUseByKeys()
    {
        const QJsonArray chosen = pick({"--choose", "0203-4"});
        QVERIFY(chosen != QJsonArray({0, 0, 0, 0}));
        QCOMPARE(pick({"--keys", "Ctrl+F,0,2,0,3,-,4,Return,Ctrl+D,Ctrl+Return"}), chosen);
        QCOMPARE(pick({"--keys", "Ctrl+Return"}), QJsonArray({0, 0, 0, 0}));
        QCOMPARE(pick({"--keys", "Ctrl+F,Nokey"}, 2), QJsonArray());
    }
};

QTEST_MAIN(KeyboardPickProgramTest)
#include "KeyboardPickProgramTest.moc"
