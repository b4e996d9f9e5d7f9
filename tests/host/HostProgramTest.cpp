// Runs the built stand-in host as a process: its command line, its JSON line, the blocks it hands to a module (seen
// through a test module that reports what it reads) and the real module inside it. The automation options drive the
// real module in PickProgramTest.

#include "support/ProgramRun.h"
#include "support/TestEnvironment.h"

#include <QtTest>

namespace {

const QString kToolDir = QStringLiteral(HUELINK_BUILD_DIR "/tools/huelink-host");
const QString kHost = kToolDir + "/huelink-host";
const QString kRealModule = QStringLiteral(HUELINK_BUILD_DIR "/src/huelink_picker.so");
const QString kTestModule = kToolDir + "/huelink_host_test_module.so";

} // namespace

class HostProgramTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;

    QString reportFile() const { return m_root->filePath("module-report.jsonl"); }

    // The module's report lines as one array.
    QJsonArray moduleReports() const
    {
        QFile file(reportFile());
        const QByteArray lines = file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().replace('\n', ',') : "";
        return QJsonDocument::fromJson("[" + lines + "]").array();
    }

    // Every per-user and all-users folder of the child points into this test's temporary folder.
    ProgramRun runHost(const QStringList &arguments) const
    {
        QDir().mkpath(m_root->filePath("programdata"));
        return ProgramRun::run(kHost, arguments, 60000, m_root->path(),
                               {{"PROGRAMDATA", m_root->filePath("programdata")}, {"HOST_TEST_MODULE_REPORT", reportFile()}});
    }

    ProgramRun runTestModule(const QStringList &arguments) const
    {
        return runHost(QStringList{arguments.first(), "--plugin", kTestModule} + arguments.mid(1));
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

    // Bad arguments exit 2, a module that cannot be used exits 1; one line each, and nothing is called.
    void unusableRequestsExitWithOneLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("unknown option") << QStringList{"about", "--colour", "red"} << 2 << "--colour";
        QTest::newRow("component above 16 bits")
            << QStringList{"pick", "--space", "rgb", "--components", "65536,0,0,0"} << 2 << "c0";
        QTest::newRow("lab a below signed range")
            << QStringList{"pick", "--space", "lab", "--components", "0,-32769,0,0"} << 2 << "c1";
        QTest::newRow("not one key") << QStringList{"about", "--keys", "Ctrl+F,Nokey"} << 2 << "Nokey";
        QTest::newRow("colour option for about") << QStringList{"about", "--space", "rgb"} << 2 << "pick";
        QTest::newRow("missing module") << QStringList{"about", "--plugin", "none.so"} << 1 << "none.so";
        QTest::newRow("no entry point")
            << QStringList{"about", "--plugin", kToolDir + "/huelink_host_test_module_without_entry.so"} << 1
            << "PluginMain";
    }

    void unusableRequestsExitWithOneLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, mentions);
        const ProgramRun run = runHost(arguments);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.out.isEmpty(), run.out.constData());
        QCOMPARE(run.errLines().size(), 1);
        QVERIFY2(run.err.contains(mentions.toUtf8()), run.err.constData());
        QVERIFY(!QFile::exists(reportFile()));
    }

    // The test module reads the block at the real module's byte offsets and calls the host operations as it does.
    void pickBlockCarriesTheRequest()
    {
        const ProgramRun run =
            runTestModule({"pick", "--space", "lab", "--components", "5000,-200,32767,7", "--prompt",
                           "Choose a wall colour", "--host-version", "12", "--repeat", "2"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());
        const QByteArray line =
            R"({"selector":1,"status":0,"changed":false,"space":3,"components":[5000,-200,32767,7]})" "\n";
        QCOMPARE(run.out, line + line);
        // a* = -200 reaches the block as its two's complement; the version is in bits 16 and up.
        QJsonObject expected{{"selector", 1}, {"sourceSpace", 3}, {"resultSpace", 3},
                             {"components", QJsonArray{5000, 65336, 32767, 7}}, {"prompt", "Choose a wall colour"},
                             {"versStatus", 0}, {"versWord", 12 << 16}, {"hostWindow", 0}, {"acquire", 0},
                             {"fileSpec", 0}, {"release", 0},
                             {"pluginPath", QFileInfo(kTestModule).canonicalFilePath()}};
        const QJsonArray reports = moduleReports();
        QCOMPARE(reports.size(), 2);
        for (int i = 0; i < reports.size(); ++i) {
            // The host keeps the plug-in's data word between requests.
            expected["dataWord"] = i;
            QCOMPARE(reports[i].toObject(), expected);
        }

        // Without a prompt the host passes a null pointer and its default version.
        QFile::remove(reportFile());
        QCOMPARE(runTestModule({"pick", "--space", "gray", "--components", "0,0,0,0"}).exitCode, 0);
        QVERIFY(moduleReports()[0].toObject()["prompt"].isNull());
        QCOMPARE(moduleReports()[0].toObject()["versWord"].toInteger(), 13 << 16);
    }

    // The about block.
    void aboutBlockCarriesTheRequest()
    {
        const ProgramRun run = runTestModule({"about"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, R"({"selector":0,"status":0,"changed":false,"space":null,"components":[]})" "\n");
        QJsonObject report = moduleReports()[0].toObject();
        report.remove("dataWord");
        QCOMPARE(report, (QJsonObject{{"selector", 0}, {"hostWindow", 0}, {"acquire", 0}, {"fileSpec", 0}, {"release", 0},
                                      {"pluginPath", QFileInfo(kTestModule).canonicalFilePath()}}));
    }

    // No collection: the engine start fails and the real module returns at
    // once, showing nothing (a shown window would wait for --close-after).
    void realModuleWithoutCollectionsLeavesColourAlone()
    {
        QDir().mkpath(m_root->filePath("programdata/Vestrel/Huelink/SQLite/Contents/Resources"));
        const ProgramRun run =
            runHost({"pick", "--space", "lab", "--components", "5000,-1200,3400,0", "--close-after", "5000"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, R"({"selector":1,"status":0,"changed":false,"space":3,"components":[5000,-1200,3400,0]})"
                          "\n");
        QVERIFY2(run.elapsedMs < 4000, qPrintable(QString::number(run.elapsedMs)));
        QSettings state(m_root->filePath("config/Vestrel/Huelink.Photoshop.ini"), QSettings::IniFormat);
        QVERIFY(!state.contains("HostApplicationPID"));
    }

    // "address type name"; absolute symbols (type A) are version nodes.
    void moduleExportsOnlyPluginMain()
    {
        QProcess nm;
        nm.start("nm", {"-D", "--defined-only", kRealModule});
        if (!nm.waitForFinished(30000))
            QSKIP("nm is not installed");
        QStringList symbols;
        for (const QByteArray &line : nm.readAllStandardOutput().split('\n')) {
            const QList<QByteArray> fields = line.simplified().split(' ');
            if (fields.size() >= 3 && fields[1] != "A")
                symbols.append(fields[1] + ' ' + fields[2]);
        }
        QCOMPARE(symbols, QStringList{"T PluginMain"});
    }
};

HUELINK_TEST_MAIN(HostProgramTest)
#include "HostProgramTest.moc"
