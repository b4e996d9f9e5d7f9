// Runs the built stand-in host as a separate process: its command line, its
// JSON line, the blocks it hands to a module (seen through a test module that
// reports what it reads), its automation options, and the real module inside it.

#include "support/ProgramRun.h"
#include "support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString kBuildDir = QStringLiteral(HUELINK_BUILD_DIR);
const QString kToolDir = kBuildDir + QStringLiteral("/tools/huelink-host");
const QString kHost = kToolDir + QStringLiteral("/huelink-host");
const QString kRealModule = kBuildDir + QStringLiteral("/src/huelink_picker.so");
const QString kTestModule = kToolDir + QStringLiteral("/huelink_host_test_module.so");

QJsonObject parseObject(const QByteArray &line)
{
    return QJsonDocument::fromJson(line).object();
}

} // namespace

class HostProgramTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;

    QString folder(const QString &name) const { return m_root->filePath(name); }
    QString reportFile() const { return folder(QStringLiteral("module-report.jsonl")); }

    QList<QJsonObject> moduleReports() const
    {
        QFile file(reportFile());
        QList<QJsonObject> reports;
        if (file.open(QIODevice::ReadOnly)) {
            for (const QByteArray &line : file.readAll().split('\n')) {
                if (!line.isEmpty())
                    reports.append(parseObject(line));
            }
        }
        return reports;
    }

    // Every per-user and all-users folder of the child points into this test's temporary folder.
    ProgramRun runHost(const QStringList &arguments, QMap<QString, QString> environment = {}) const
    {
        QDir().mkpath(folder(QStringLiteral("programdata")));
        environment.insert(QStringLiteral("PROGRAMDATA"), folder(QStringLiteral("programdata")));
        environment.insert(QStringLiteral("HOST_TEST_MODULE_REPORT"), reportFile());
        return ProgramRun::run(kHost, arguments, 60000, m_root->path(), environment);
    }

    ProgramRun runTestModule(const QStringList &arguments, const QMap<QString, QString> &environment = {}) const
    {
        return runHost(QStringList{arguments.first(), QStringLiteral("--plugin"), kTestModule} + arguments.mid(1),
                       environment);
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const QString &file : {kHost, kRealModule, kTestModule})
            QVERIFY2(QFileInfo::exists(file), qPrintable(file));
    }

    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
    }

    void cleanup() { m_root.reset(); }

    // Bad arguments exit 2, a module that cannot be used exits 1; one line each.
    void unusableRequestsExitWithOneLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("mentions");
        const QStringList rgb{"pick", "--space", "rgb", "--components"};
        const QStringList lab{"pick", "--space", "lab", "--components"};
        const QStringList about{"about", "--plugin"};
        QTest::newRow("no command") << QStringList() << 2 << "command";
        QTest::newRow("unknown option") << QStringList{"about", "--colour", "red"} << 2 << "--colour";
        QTest::newRow("missing value") << rgb << 2 << "needs a value";
        QTest::newRow("unknown space") << QStringList{"pick", "--space", "xyz", "--components", "0,0,0,0"} << 2 << "xyz";
        QTest::newRow("three components") << rgb + QStringList{"1,2,3"} << 2 << "four";
        QTest::newRow("component not a number") << rgb + QStringList{"1,x,3,4"} << 2 << "c1";
        QTest::newRow("component above 16 bits") << rgb + QStringList{"65536,0,0,0"} << 2 << "c0";
        QTest::newRow("lab a below signed range") << lab + QStringList{"0,-32769,0,0"} << 2 << "c1";
        QTest::newRow("colour option for about") << QStringList{"about", "--space", "rgb"} << 2 << "pick";
        QTest::newRow("negative close delay") << QStringList{"about", "--close-after", "-5"} << 2 << "--close-after";
        QTest::newRow("missing module") << about + QStringList{"no-such-module.so"} << 1 << "no-such-module.so";
        QTest::newRow("not a module") << about + QStringList{"notes.so"} << 1 << "notes.so";
        QTest::newRow("no entry point") << about + QStringList{kToolDir + "/huelink_host_test_module_without_entry.so"}
                                        << 1 << "PluginMain";
    }

    void unusableRequestsExitWithOneLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, mentions);
        QFile notes(folder(QStringLiteral("notes.so")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a shared object\n");
        notes.close();
        const ProgramRun run = runHost(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.out.isEmpty(), run.out.constData());
        QCOMPARE(run.errLines().size(), 1);
        QVERIFY2(run.err.contains(mentions.toUtf8()), run.err.constData());
        // Nothing was called.
        QVERIFY(!QFile::exists(reportFile()));
    }

    // The test module reads the block at the byte offsets the real module
    // uses and calls the host operations as the real module does.
    void pickBlockCarriesTheRequest()
    {
        const ProgramRun run = runTestModule({"pick", "--space", "lab", "--components", "5000,-200,32767,7",
                                              "--prompt", "Choose a wall colour", "--host-version", "12", "--repeat",
                                              "2"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        const QList<QJsonObject> reports = moduleReports();
        QCOMPARE(reports.size(), 2);
        for (int i = 0; i < reports.size(); ++i) {
            const QJsonObject &report = reports[i];
            QCOMPARE(report.value("selector").toInt(), 1);
            QCOMPARE(report.value("sourceSpace").toInt(), 3);
            QCOMPARE(report.value("resultSpace").toInt(), 3);
            // a* = -200 reaches the block as its two's complement.
            QCOMPARE(report.value("components").toArray(), (QJsonArray{5000, 65336, 32767, 7}));
            QCOMPARE(report.value("prompt").toString(), QStringLiteral("Choose a wall colour"));
            QCOMPARE(report.value("versStatus").toInt(), 0);
            QCOMPARE(report.value("versWord").toInteger() >> 16, 12);
            QCOMPARE(report.value("hostWindow").toInteger(), 0);
            QCOMPARE(report.value("acquire").toInt(), 0);
            QCOMPARE(report.value("fileSpec").toInt(), 0);
            QCOMPARE(report.value("release").toInt(), 0);
            QCOMPARE(report.value("pluginPath").toString(), QFileInfo(kTestModule).canonicalFilePath());
            // The host keeps the plug-in's data word between requests.
            QCOMPARE(report.value("dataWord").toInt(), i);
        }
        QCOMPARE(run.outLines().size(), 2);
        for (const QByteArray &line : run.outLines()) {
            QCOMPARE(line, QByteArray(R"({"selector":1,"status":0,"changed":false,"space":3,"components":[5000,-200,32767,7]})"));
        }

        // Without a prompt the host passes a null pointer and its default version.
        QFile::remove(reportFile());
        QCOMPARE(runTestModule({"pick", "--space", "gray", "--components", "0,0,0,0"}).exitCode, 0);
        QVERIFY(moduleReports().value(0).value("prompt").isNull());
        QCOMPARE(moduleReports().value(0).value("versWord").toInteger() >> 16, 13);
    }

    void oneRequestPrintsOneLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("about") << QStringList{"about"} << QString()
                               << QByteArray(R"({"selector":0,"status":0,"changed":false,"space":null,"components":[]})");
        QTest::newRow("a picked colour is reported as changed")
            << QStringList{"pick", "--space", "cmyk", "--components", "1,2,3,4"} << "255,0,128"
            << QByteArray(R"({"selector":1,"status":0,"changed":true,"space":0,"components":[65535,0,32896,0]})");
    }

    void oneRequestPrintsOneLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, answer);
        QFETCH(QByteArray, line);
        const ProgramRun run = runTestModule(arguments, {{"HOST_TEST_MODULE_ANSWER", answer}});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.outLines(), QList<QByteArray>{line});
        const QList<QJsonObject> reports = moduleReports();
        QCOMPARE(reports.size(), 1);
        QCOMPARE(reports[0].value("selector"), parseObject(line).value("selector"));
        QCOMPARE(reports[0].value("hostWindow").toInteger(), 0);
        QCOMPARE(reports[0].value("pluginPath").toString(), QFileInfo(kTestModule).canonicalFilePath());
    }

    // The automation rides on the toolkit's start-up routines, so it must
    // reach every application object the module creates in one process.
    void automationClosesEveryRequestsWindowAndSavesScreenshot()
    {
        const QString shot = folder(QStringLiteral("window.png"));
        const ProgramRun run = runTestModule({"pick", "--space", "rgb", "--components", "1,2,3,4", "--screenshot", shot,
                                              "--close-after", "400", "--repeat", "2"},
                                             {{"HOST_TEST_MODULE_WINDOW", "1"}});
        QVERIFY2(run.finished, "the host waited for a window nobody closed");
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        QCOMPARE(run.outLines().size(), 2);
        const QList<QJsonObject> reports = moduleReports();
        QCOMPARE(reports.size(), 2);
        for (const QJsonObject &report : reports) {
            // Closed as a click on the close button: a close event, then reject.
            QCOMPARE(report.value("closeEvents").toInt(), 1);
            QCOMPARE(report.value("dialogResult").toInt(), 0);
        }
        const QImage image(shot);
        QCOMPARE(image.size(), QSize(240, 160));
        QCOMPARE(image.pixelColor(3, 3), QColor(40, 120, 200));
    }

    // No collection: the engine start fails and the real module returns at
    // once, showing nothing (a shown window would wait for --close-after).
    void realModuleWithoutCollectionsLeavesColourAlone()
    {
        QDir().mkpath(folder(QStringLiteral("programdata/Vestrel/Huelink/SQLite/Contents/Resources")));
        const ProgramRun run =
            runHost({"pick", "--space", "lab", "--components", "5000,-1200,3400,0", "--close-after", "5000"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.outLines(), QList<QByteArray>{
                                     R"({"selector":1,"status":0,"changed":false,"space":3,"components":[5000,-1200,3400,0]})"});
        QVERIFY2(run.elapsedMs < 4000, qPrintable(QString::number(run.elapsedMs)));
        QSettings state(folder(QStringLiteral("config/Vestrel/Huelink.Photoshop.ini")), QSettings::IniFormat);
        QVERIFY(!state.contains("HostApplicationPID"));
    }

    void moduleExportsOnlyPluginMain()
    {
        const QString nm = QStandardPaths::findExecutable(QStringLiteral("nm"));
        if (nm.isEmpty())
            QSKIP("nm is not installed");
        QProcess process;
        process.start(nm, {QStringLiteral("-D"), QStringLiteral("--defined-only"), kRealModule});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QStringList symbols;
        for (const QByteArray &line : process.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            // "address type name"; absolute symbols (type A) are version nodes.
            if (fields.size() >= 3 && fields[1] != "A")
                symbols.append(QString::fromLatin1(fields[1] + ' ' + fields[2]));
        }
        QCOMPARE(symbols, QStringList{QStringLiteral("T PluginMain")});
    }
};

HUELINK_TEST_MAIN(HostProgramTest)
#include "HostProgramTest.moc"
