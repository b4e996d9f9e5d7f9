// Runs the built stand-in host as a separate process: its command line, its
// JSON line, the blocks it hands to a module (seen through a test module that
// reports what it reads), its automation options, and the real module's
// engine start inside it.

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

QString hostProgram()
{
    return kToolDir + QStringLiteral("/huelink-host");
}

QString realModule()
{
    return kBuildDir + QStringLiteral("/src/huelink_picker.so");
}

QString testModule()
{
    return kToolDir + QStringLiteral("/huelink_host_test_module.so");
}

using HostRun = ProgramRun;

QJsonObject parseObject(const QByteArray &line)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        qWarning() << "not a JSON object:" << line << error.errorString();
    return document.object();
}

QList<QJsonObject> parseLines(const QList<QByteArray> &lines)
{
    QList<QJsonObject> objects;
    for (const QByteArray &line : lines)
        objects.append(parseObject(line));
    return objects;
}

QJsonArray components(int c0, int c1, int c2, int c3)
{
    return QJsonArray{c0, c1, c2, c3};
}

} // namespace

class HostProgramTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;

    QString folder(const QString &name) const { return m_root->filePath(name); }

    QString collectionFolder() const
    {
        const QString path = folder(QStringLiteral("programdata/Vestrel/Huelink/SQLite/Contents/Resources"));
        QDir().mkpath(path);
        return path;
    }

    QString userStateFile() const { return folder(QStringLiteral("config/Vestrel/Huelink.Photoshop.ini")); }

    QString moduleReportFile() const { return folder(QStringLiteral("module-report.jsonl")); }

    QList<QJsonObject> moduleReports() const
    {
        QFile file(moduleReportFile());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QList<QByteArray> lines = file.readAll().split('\n');
        lines.removeAll(QByteArray());
        return parseLines(lines);
    }

    // Every per-user and all-users folder of the child points into this
    // test's temporary folder.
    HostRun runHost(const QStringList &arguments, QMap<QString, QString> environment = {}) const
    {
        QDir().mkpath(folder(QStringLiteral("programdata")));
        environment.insert(QStringLiteral("PROGRAMDATA"), folder(QStringLiteral("programdata")));
        environment.insert(QStringLiteral("HOST_TEST_MODULE_REPORT"), moduleReportFile());
        return ProgramRun::run(hostProgram(), arguments, 60000, m_root->path(), environment);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(hostProgram()).isExecutable(), qPrintable(hostProgram()));
        QVERIFY2(QFileInfo::exists(realModule()), qPrintable(realModule()));
        QVERIFY2(QFileInfo::exists(testModule()), qPrintable(testModule()));
    }

    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
    }

    void cleanup() { m_root.reset(); }

    void badArgumentsExitTwoWithOneLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("mentions");
        const QString components = QStringLiteral("--components");
        QTest::newRow("no command") << QStringList() << "command";
        QTest::newRow("unknown command") << QStringList{"paint"} << "paint";
        QTest::newRow("unknown option") << QStringList{"about", "--colour", "red"} << "--colour";
        QTest::newRow("missing value") << QStringList{"pick", "--space", "rgb", "--components"} << "needs a value";
        QTest::newRow("unknown space") << QStringList{"pick", "--space", "xyz", components, "0,0,0,0"} << "xyz";
        QTest::newRow("three components") << QStringList{"pick", "--space", "rgb", components, "1,2,3"} << "four";
        QTest::newRow("component not a number")
            << QStringList{"pick", "--space", "rgb", components, "1,x,3,4"} << "c1";
        QTest::newRow("component above 16 bits")
            << QStringList{"pick", "--space", "rgb", components, "65536,0,0,0"} << "c0";
        QTest::newRow("negative rgb component")
            << QStringList{"pick", "--space", "rgb", components, "0,-1,0,0"} << "c1";
        QTest::newRow("negative lab lightness")
            << QStringList{"pick", "--space", "lab", components, "-1,0,0,0"} << "c0";
        QTest::newRow("lab a below signed range")
            << QStringList{"pick", "--space", "lab", components, "0,-32769,0,0"} << "c1";
        QTest::newRow("lab b above signed range")
            << QStringList{"pick", "--space", "lab", components, "0,0,32768,0"} << "c2";
        QTest::newRow("pick without space") << QStringList{"pick", components, "0,0,0,0"} << "--space";
        QTest::newRow("pick without components") << QStringList{"pick", "--space", "rgb"} << "--components";
        QTest::newRow("colour option for about") << QStringList{"about", "--space", "rgb"} << "pick";
        QTest::newRow("option twice") << QStringList{"about", "--repeat", "1", "--repeat", "2"} << "twice";
        QTest::newRow("repeat zero") << QStringList{"about", "--repeat", "0"} << "--repeat";
        QTest::newRow("negative close delay") << QStringList{"about", "--close-after", "-5"} << "--close-after";
        QTest::newRow("negative host version")
            << QStringList{"pick", "--space", "rgb", components, "0,0,0,0", "--host-version", "-1"} << "--host-version";
    }

    void badArgumentsExitTwoWithOneLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, mentions);
        const HostRun run = runHost(arguments);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.out.isEmpty(), run.out.constData());
        QCOMPARE(run.errLines().size(), 1);
        QVERIFY2(run.err.contains(mentions.toUtf8()), run.err.constData());
        // Nothing was loaded or called.
        QVERIFY(!QFile::exists(moduleReportFile()));
    }

    void moduleThatCannotBeUsedExitsOne_data()
    {
        QTest::addColumn<QString>("module");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("missing file") << QStringLiteral("no-such-module.so") << "no-such-module.so";
        QTest::newRow("not a module") << QStringLiteral("notes.so") << "notes.so";
        QTest::newRow("no entry point") << kToolDir + QStringLiteral("/huelink_host_test_module_without_entry.so")
                                        << "PluginMain";
    }

    void moduleThatCannotBeUsedExitsOne()
    {
        QFETCH(QString, module);
        QFETCH(QString, mentions);
        QFile notes(folder(QStringLiteral("notes.so")));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write("not a shared object\n");
        notes.close();
        const HostRun run = runHost({QStringLiteral("about"), QStringLiteral("--plugin"), module});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.errLines().size(), 1);
        QVERIFY2(run.err.contains(mentions.toUtf8()), run.err.constData());
    }

    // The test module reads the block at the byte offsets the real module
    // uses and calls the host operations as the real module does.
    void pickBlockCarriesTheRequest()
    {
        const HostRun run = runHost({"pick", "--plugin", testModule(), "--space", "lab", "--components",
                                     "5000,-200,32767,7", "--prompt", "Choose a wall colour", "--host-version", "12",
                                     "--repeat", "2"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        const QList<QJsonObject> reports = moduleReports();
        QCOMPARE(reports.size(), 2);
        const QString canonicalModule = QFileInfo(testModule()).canonicalFilePath();
        for (int i = 0; i < reports.size(); ++i) {
            const QJsonObject &report = reports[i];
            QCOMPARE(report.value("selector").toInt(), 1);
            QCOMPARE(report.value("sourceSpace").toInt(), 3);
            QCOMPARE(report.value("resultSpace").toInt(), 3);
            // a* = -200 reaches the block as its two's complement.
            QCOMPARE(report.value("components").toArray(), components(5000, 65336, 32767, 7));
            QCOMPARE(report.value("prompt").toString(), QStringLiteral("Choose a wall colour"));
            QCOMPARE(report.value("versStatus").toInt(), 0);
            QCOMPARE(report.value("versWord").toInteger() >> 16, 12);
            QCOMPARE(report.value("hostWindow").toInteger(), 0);
            QCOMPARE(report.value("acquire").toInt(), 0);
            QCOMPARE(report.value("fileSpec").toInt(), 0);
            QCOMPARE(report.value("release").toInt(), 0);
            QCOMPARE(report.value("pluginPath").toString(), canonicalModule);
            // The host keeps the plug-in's data word between requests.
            QCOMPARE(report.value("dataWord").toInt(), i);
        }
        const QList<QJsonObject> lines = parseLines(run.outLines());
        QCOMPARE(lines.size(), 2);
        for (const QJsonObject &line : lines) {
            QCOMPARE(line.value("selector").toInt(), 1);
            QCOMPARE(line.value("status").toInt(), 0);
            QCOMPARE(line.value("changed").toBool(), false);
            QCOMPARE(line.value("space").toInt(), 3);
            QCOMPARE(line.value("components").toArray(), components(5000, -200, 32767, 7));
        }
    }

    void pickWithoutPromptPassesNullPointer()
    {
        const HostRun run = runHost({"pick", "--plugin", testModule(), "--space", "gray", "--components", "0,0,0,0"});
        QCOMPARE(run.exitCode, 0);
        const QList<QJsonObject> reports = moduleReports();
        QCOMPARE(reports.size(), 1);
        QVERIFY(reports[0].value("prompt").isNull());
        QCOMPARE(reports[0].value("versWord").toInteger() >> 16, 13);
    }

    void aboutRecordCarriesSuiteAndReference()
    {
        const HostRun run = runHost({"about", "--plugin", testModule()});
        QCOMPARE(run.exitCode, 0);
        const QList<QJsonObject> reports = moduleReports();
        QCOMPARE(reports.size(), 1);
        QCOMPARE(reports[0].value("selector").toInt(), 0);
        QCOMPARE(reports[0].value("hostWindow").toInteger(), 0);
        QCOMPARE(reports[0].value("pluginPath").toString(), QFileInfo(testModule()).canonicalFilePath());
        QCOMPARE(run.outLines(), QList<QByteArray>{
                                     R"({"selector":0,"status":0,"changed":false,"space":null,"components":[]})"});
    }

    void pickedColourIsReportedAsChanged()
    {
        const HostRun run = runHost({"pick", "--plugin", testModule(), "--space", "cmyk", "--components", "1,2,3,4"},
                                    {{"HOST_TEST_MODULE_ANSWER", "255,0,128"}});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.outLines(), QList<QByteArray>{
                                     R"({"selector":1,"status":0,"changed":true,"space":0,"components":[65535,0,32896,0]})"});
    }

    void writeOutsideColourFieldsIsReported()
    {
        const HostRun run = runHost({"pick", "--plugin", testModule(), "--space", "rgb", "--components", "1,2,3,4"},
                                    {{"HOST_TEST_MODULE_STRAY", "1"}});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.errLines().size(), 1);
        QVERIFY2(run.err.contains("offset 196"), run.err.constData());
        QCOMPARE(parseObject(run.outLines().value(0)).value("changed").toBool(), false);
    }

    // The automation rides on the toolkit's start-up routines, so it must
    // reach every application object the module creates in one process.
    void automationClosesEveryRequestsWindowAndSavesScreenshot()
    {
        const QString shot = folder(QStringLiteral("window.png"));
        const HostRun run = runHost({"pick", "--plugin", testModule(), "--space", "rgb", "--components", "1,2,3,4",
                                     "--screenshot", shot, "--close-after", "400", "--repeat", "2"},
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
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), QSize(240, 160));
        QCOMPARE(image.pixelColor(3, 3), QColor(40, 120, 200));
    }

    void closeAfterClosesDialogsOnTopFirst()
    {
        const HostRun run = runHost({"about", "--plugin", testModule(), "--close-after", "300"},
                                    {{"HOST_TEST_MODULE_WINDOW", "1"}, {"HOST_TEST_MODULE_NESTED", "1"}});
        QVERIFY2(run.finished, "a nested dialog kept the host waiting");
        QCOMPARE(run.exitCode, 0);
        const QList<QJsonObject> reports = moduleReports();
        QCOMPARE(reports.size(), 1);
        QCOMPARE(reports[0].value("nestedResult").toInt(), 0);
        QCOMPARE(reports[0].value("dialogResult").toInt(), 0);
    }

    // Closing at once still leaves a screenshot: the close takes it first.
    void immediateCloseStillSavesScreenshot()
    {
        const QString shot = folder(QStringLiteral("early.png"));
        const HostRun run = runHost({"about", "--plugin", testModule(), "--screenshot", shot, "--close-after", "0"},
                                    {{"HOST_TEST_MODULE_WINDOW", "1"}});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QImage(shot).size(), QSize(240, 160));
    }

    void screenshotWithoutWindowExitsThree()
    {
        const QString shot = folder(QStringLiteral("none.png"));
        const HostRun run = runHost({"about", "--plugin", testModule(), "--screenshot", shot, "--close-after", "100"});
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.outLines().size(), 1);
        QCOMPARE(run.errLines().size(), 1);
        QVERIFY(!QFile::exists(shot));
    }

    void realModuleWithoutCollectionsLeavesColourAlone_data()
    {
        QTest::addColumn<QStringList>("request");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("rgb") << QStringList{"pick", "--space", "rgb", "--components", "65535,32896,0,0"}
                             << QByteArray(R"({"selector":1,"status":0,"changed":false,"space":0,"components":[65535,32896,0,0]})");
        QTest::newRow("lab") << QStringList{"pick", "--space", "lab", "--components", "5000,-1200,3400,0"}
                             << QByteArray(R"({"selector":1,"status":0,"changed":false,"space":3,"components":[5000,-1200,3400,0]})");
        QTest::newRow("unknown space") << QStringList{"pick", "--space", "9", "--components", "1,2,3,4"}
                                       << QByteArray(R"({"selector":1,"status":0,"changed":false,"space":9,"components":[1,2,3,4]})");
        QTest::newRow("about") << QStringList{"about"}
                               << QByteArray(R"({"selector":0,"status":0,"changed":false,"space":null,"components":[]})");
    }

    // No collection: the engine start fails and the module returns at once,
    // showing nothing (a shown window would wait for --close-after).
    void realModuleWithoutCollectionsLeavesColourAlone()
    {
        QFETCH(QStringList, request);
        QFETCH(QByteArray, line);
        collectionFolder();
        const HostRun run = runHost(request + QStringList{"--close-after", "5000"});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.outLines(), QList<QByteArray>{line});
        QVERIFY2(run.elapsedMs < 4000, qPrintable(QString::number(run.elapsedMs)));
        QVERIFY(!QSettings(userStateFile(), QSettings::IniFormat).contains("HostApplicationPID"));
    }

    void moduleExportsOnlyPluginMain()
    {
        const QString nm = QStandardPaths::findExecutable(QStringLiteral("nm"));
        if (nm.isEmpty())
            QSKIP("nm is not installed");
        QProcess process;
        process.start(nm, {QStringLiteral("-D"), QStringLiteral("--defined-only"), realModule()});
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
