// A whole pick by keyboard alone through the built host over the demo
// collections: search a code, put the chip found into My Palette, use it.
#include "support/ProgramRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

class KeyboardPickProgramTest : public QObject
{
    Q_OBJECT

    ProgramRun host(const QStringList &arguments) const
    {
        const QTemporaryDir root;
        return ProgramRun::run(ProgramRun::builtProgram("tools/huelink-host/huelink-host"), arguments, 120000, root.path(),
                               {{"PROGRAMDATA", ProgramRun::builtProgram("programdata")}});
    }

private Q_SLOTS:
    void searchPlaceAndUseByKeys()
    {
        // A demo chip of "Vestrel Interiors" (code 0203-4), and a host colour far from it.
        QSqlDatabase demo = QSqlDatabase::addDatabase("QSQLITE");
        demo.setDatabaseName(ProgramRun::builtProgram("programdata/Vestrel/Huelink/SQLite/Contents/Resources/demo-interior.db"));
        QSqlQuery chip(demo.open() ? demo : QSqlDatabase());
        QVERIFY(chip.exec("SELECT RED, GREEN, BLUE FROM \"ROW\" WHERE CODE = '0203-4'") && chip.next());
        const QStringList common{"pick", "--space", "gray", "--components", "0,0,0,0", "--collection", "Vestrel Interiors"};
        const ProgramRun run = host(common + QStringList{"--keys", "Ctrl+F,0,2,0,3,-,4,Return,Ctrl+D,Ctrl+Return", "--close-after", "60000"});
        QVERIFY2(run.exitCode == 0, run.err.constData());
        QCOMPARE(QJsonDocument::fromJson(run.outLines().value(0)).object().value("components").toArray(),
                 (QJsonArray{chip.value(0).toInt() * 257, chip.value(1).toInt() * 257, chip.value(2).toInt() * 257, 0}));

        const ProgramRun bad = host(common + QStringList{"--keys", "Ctrl+F,Nokey"});
        QCOMPARE(bad.exitCode, 2);
        QVERIFY(bad.err.contains("bad --keys: 'Nokey'"));
    }
};

QTEST_MAIN(KeyboardPickProgramTest)
#include "KeyboardPickProgramTest.moc"
