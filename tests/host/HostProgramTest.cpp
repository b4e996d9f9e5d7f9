// The built stand-in host as a process, with a reporting test module and with the real module over the demo files.

#include "ChipChooser.h"
#include "support/AcoReader.h"
#include "support/ProgramRun.h"
#include "support/TestEnvironment.h"
#include "ui/chips/ChipPayload.h"
#include "ui/palette/MyPaletteWidget.h"
#include "ui/palette/PaletteFileWriter.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace {

const QString kBuildDir = QStringLiteral(HUELINK_BUILD_DIR);
const QString kProgramData = kBuildDir + "/programdata";
const QString kCollectionFolder = kProgramData + "/Vestrel/Huelink/SQLite/Contents/Resources";
const QString kHost = kBuildDir + "/tools/huelink-host/huelink-host";
const QString kTestModule = kBuildDir + "/tools/huelink-host/huelink_host_test_module.so";
// Longer than any run takes: a run that ends by --close-after failed to end the pick itself.
const QString kCloseAfter = QStringLiteral("60000");

// The rows `sql` gives for a collection UUID from the first demo file (by name, as the module scans them) with any.
QList<QVariantList> demoRows(const QString &sql, const QUuid &collection)
{
    QList<QVariantList> rows;
    for (const QFileInfo &file : QDir(kCollectionFolder).entryInfoList({"*.db"}, QDir::Files, QDir::Name)) {
        {
            QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", "pick-test");
            database.setDatabaseName(file.absoluteFilePath());
            database.setConnectOptions("QSQLITE_OPEN_READONLY");
            QSqlQuery query(database);
            if (database.open() && query.prepare(sql)) {
                query.addBindValue(collection.toString(QUuid::WithBraces));
                query.exec();
                while (query.next()) {
                    rows.append(QVariantList());
                    for (int i = 0; i < query.record().count(); ++i)
                        rows.last().append(query.value(i));
                }
            }
        }
        QSqlDatabase::removeDatabase("pick-test");
        if (!rows.isEmpty())
            break;
    }
    return rows;
}

struct Chip {
    QString code;
    qint64 rowId, pageId;
    int pageIndex, rowIndex;
    QColor color;
};

QList<Chip> collectionChips(const QUuid &collection)
{
    QList<Chip> chips;
    for (const QVariantList &r : demoRows(
             "SELECT R.CODE, R.ID, R.PAGE_ID, P.PAGE_INDEX, R.ROW_INDEX, R.RED, R.GREEN, R.BLUE FROM \"ROW\" R "
             "JOIN COLLECTION_PAGE_MAP CMAP ON CMAP.PAGE_ID = R.PAGE_ID JOIN COLLECTION C ON C.ID = CMAP.COLLECTION_ID "
             "JOIN PAGE P ON P.ID = R.PAGE_ID WHERE C.UUID = ? COLLATE NOCASE ORDER BY R.ID",
             collection))
        chips.append({r[0].toString(), r[1].toLongLong(), r[2].toLongLong(), r[3].toInt(), r[4].toInt(),
                      QColor(r[5].toInt(), r[6].toInt(), r[7].toInt())});
    return chips;
}

QString components(const QColor &color)
{
    return QStringLiteral("%1,%2,%3,0").arg(color.red() * 257).arg(color.green() * 257).arg(color.blue() * 257);
}

QByteArray pickedLine(const QColor &color)
{
    return R"({"selector":1,"status":0,"changed":true,"space":0,"components":[)" + components(color).toUtf8() + "]}";
}

// One step per channel: within the module's "same colour" distance of 2, but not the chip's block.
QColor nudged(const QColor &color)
{
    const auto step = [](int channel) { return channel < 255 ? channel + 1 : channel - 1; };
    return QColor(step(color.red()), step(color.green()), step(color.blue()));
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class HostProgramTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QUuid m_firstCollection;
    QList<Chip> m_firstChips;

    QString folder(const QString &name) const { return m_root->filePath(name); }

    QString reportFile() const { return folder("module-report.jsonl"); }

    ProgramRun runHost(const QStringList &arguments, const QString &programData = kProgramData) const
    {
        return ProgramRun::run(kHost, arguments, 120000, m_root->path(),
                               {{"PROGRAMDATA", programData}, {"HOST_TEST_MODULE_REPORT", reportFile()}});
    }

    ProgramRun runTestModule(const QStringList &arguments) const
    {
        return runHost(QStringList{arguments.first(), "--plugin", kTestModule} + arguments.mid(1));
    }

    QJsonArray moduleReports() const
    {
        const QByteArray lines = fileBytes(reportFile()).trimmed().replace('\n', ',');
        return QJsonDocument::fromJson("[" + lines + "]").array();
    }

    QSettings userState() const { return {folder("config/Vestrel/Huelink.Photoshop.ini"), QSettings::IniFormat}; }

    QUuid lastUsedCollection() const { return QUuid(userState().value("UuidOfLastUsedCollection").toString()); }

    // A key of the last used collection's group; an index never written reads as the default, 1.
    int collectionValue(const QString &key) const
    {
        return userState().value(lastUsedCollection().toString(QUuid::WithBraces) + '/' + key, 1).toInt();
    }

private Q_SLOTS:
    // Asks the module for its first collection; every about box of a process is shown, saved (or exit 3) and closed.
    void initTestCase()
    {
        QVERIFY2(!QDir(kCollectionFolder).entryList({"*.db"}).isEmpty(), qPrintable(kCollectionFolder));
        m_root = std::make_unique<QTemporaryDir>();
        const ProgramRun run =
            runHost({"about", "--repeat", "2", "--screenshot", folder("about.png"), "--close-after", "500"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.outLines().size(), 2);
        // The module asked for its file with the plug-in reference the host gave it.
        QVERIFY2(!run.err.contains("huelink-host:"), run.err.constData());
        QCOMPARE(QImage(folder("about.png")).size(), QSize(680, 480));
        m_firstCollection = lastUsedCollection();
        m_firstChips = collectionChips(m_firstCollection);
        QVERIFY(m_firstChips.size() >= 3);
    }

    void init() { m_root = std::make_unique<QTemporaryDir>(); }

    // Bad arguments exit 2, a module that cannot be used exits 1; one line each, and nothing is called.
    void unusableRequestsExitWithOneLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("unknown option") << QStringList{"about", "--colour", "red"} << 2 << "--colour";
        QTest::newRow("component above 16 bits")
            << QStringList{"pick", "--space", "rgb", "--components", "65536,0,0,0"} << 2 << "c0";
        QTest::newRow("swatch type unknown")
            << QStringList{"pick", "--space", "rgb", "--components", "0,0,0,0", "--export-swatches", "mine.txt"} << 2
            << "mine.txt";
        QTest::newRow("match options without an import")
            << QStringList{"pick", "--space", "rgb", "--components", "0,0,0,0", "--match-all"} << 2 << "--match-all";
        QTest::newRow("not one key") << QStringList{"about", "--keys", "Ctrl+F,Nokey"} << 2 << "Nokey";
        QTest::newRow("missing module") << QStringList{"about", "--plugin", "none.so"} << 1 << "none.so";
        QTest::newRow("no entry point")
            << QStringList{"about", "--plugin", kTestModule.chopped(3) + "_without_entry.so"} << 1 << "PluginMain";
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
            expected["dataWord"] = i;
            QCOMPARE(reports[i].toObject(), expected);
        }

    }

    void aboutBlockCarriesTheRequest()
    {
        const ProgramRun run = runTestModule({"about"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, R"({"selector":0,"status":0,"changed":false,"space":null,"components":[]})" "\n");
        QJsonObject report = moduleReports()[0].toObject();
        report.remove("dataWord");
        QCOMPARE(report, (QJsonObject{{"selector", 0}, {"hostWindow", 0}, {"acquire", 0}, {"fileSpec", 0},
                                      {"release", 0}, {"pluginPath", QFileInfo(kTestModule).canonicalFilePath()}}));
    }

    // No collection: the engine start fails and the module returns at once (a shown window would wait 5 s).
    void realModuleWithoutCollectionsLeavesColourAlone()
    {
        QDir().mkpath(folder("programdata/Vestrel/Huelink/SQLite/Contents/Resources"));
        const ProgramRun run = runHost({"pick", "--space", "lab", "--components", "5000,-1200,3400,0", "--close-after",
                                        "5000"}, folder("programdata"));
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, R"({"selector":1,"status":0,"changed":false,"space":3,"components":[5000,-1200,3400,0]})"
                          "\n");
        QVERIFY2(run.elapsedMs < 4000, qPrintable(QString::number(run.elapsedMs)));
    }

    // "address type name"; absolute symbols (type A) are version nodes.
    void moduleExportsOnlyPluginMain()
    {
        QProcess nm;
        nm.start("nm", {"-D", "--defined-only", kBuildDir + "/src/huelink_picker.so"});
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
    void hostCopiesMatchTheModule()
    {
        using Tintor::MyPaletteWidget;
        for (const auto &[size, editHeight] : {std::pair{QSize(565, 243), 17}, std::pair{QSize(31, 75), 4}}) {
            const auto rects = MyPaletteWidget::cellRectsFor(MyPaletteWidget::cellAreaFor(size, 30, editHeight));
            for (int cell = 0; cell < MyPaletteWidget::kRowCount * MyPaletteWidget::kColumnCount; ++cell) {
                const QPoint at(cell % MyPaletteWidget::kColumnCount, cell / MyPaletteWidget::kColumnCount);
                QCOMPARE(ChipChooser::paletteCellRect(size, 30, editHeight, at), rects[std::size_t(cell)]);
            }
        }
        Tintor::DB::ColorEntry chip;
        chip.id = 1136;
        QCOMPARE(ChipChooser::chipPayloadText(m_firstCollection, chip.id, ChipChooser::kFromCardRoller),
                 Tintor::chipPayloadText(Tintor::FromCardRoller, m_firstCollection, chip));
        QCOMPARE(ChipChooser::payloadMimeType(), Tintor::chipPayloadMimeType());
    }

    // The measured chip lies in another Capsure collection: the import switches to it and the pick returns it.
    void capsureImportGoesToTheMeasuredChip()
    {
        const QList<QVariantList> capsure =
            demoRows("SELECT C.UUID FROM CAPSURE_COLLECTION_IDS_BY_PRIORITY V JOIN COLLECTION C ON C.ID = "
                     "V.COLLECTION_ID WHERE C.UUID <> ? COLLATE NOCASE",
                     m_firstCollection);
        QVERIFY2(!capsure.isEmpty(), "the demo needs a second collection with Capsure on");
        const QUuid collection(capsure[0][0].toString());
        const QList<Chip> chips = collectionChips(collection);
        const Chip chip = chips.value(chips.size() / 2);
        const QString measurementFile = folder("programdata/Vestrel/Capsure/Measurements/measurement.cxf");
        const QString device = kBuildDir + "/tools/huelink-collection/huelink-collection";
        QVERIFY(QDir().mkpath(folder("programdata/Vestrel/Capsure/Measurements")));
        QVERIFY(QFile::link(kProgramData + "/Vestrel/Huelink", folder("programdata/Vestrel/Huelink")));
        QCOMPARE(ProgramRun::run(device, {"measurement", measurementFile, "--name", chip.code}, 30000).exitCode, 0);
        QCOMPARE(QDir(folder("programdata/Vestrel/Capsure/Measurements")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{"measurement.cxf"});
        const QByteArray written = fileBytes(measurementFile);

        const ProgramRun run = runHost({"pick", "--space", "gray", "--components", "0,0,0,0", "--capsure-import",
                                        "--choose", chip.code, "--close-after", kCloseAfter},
                                       folder("programdata"));
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.contains("note: the Capsure import took '" + chip.code.toUtf8()), run.err.constData());
        QCOMPARE(run.outLines().value(0), pickedLine(chip.color));
        QCOMPARE(lastUsedCollection(), collection);
        QCOMPARE(QPoint(collectionValue("PageIndex"), collectionValue("RowIndex")),
                 QPoint(chip.pageIndex, chip.rowIndex));
        QCOMPARE(fileBytes(measurementFile), written);
    }

    // --tab clicks along the tab bar until the module has stored the page; a tab the collection lacks exits 6.
    void tabOptionSelectsTheTabPage()
    {
        const QList<std::tuple<QString, QString, int>> cases{{"Vestrel Heritage Facades", "products", 2},
                                                             {"Pelvon Made to Order", "foresight", 0}};
        for (const auto &[collection, tab, page] : cases) {
            m_root = std::make_unique<QTemporaryDir>();
            const ProgramRun run = runHost({"pick", "--space", "rgb", "--components", components(m_firstChips[0].color),
                                            "--collection", collection, "--tab", tab, "--close-after", "3000"});
            QCOMPARE(run.exitCode, page > 0 ? 0 : 6);
            QVERIFY2(page > 0 || run.err.contains(tab.toUtf8()), run.err.constData());
            const auto name = demoRows("SELECT NAME FROM COLLECTION WHERE UUID = ?", lastUsedCollection());
            QCOMPARE(name.value(0).value(0).toString(), collection);
            QCOMPARE(collectionValue("TabPageIndex"), page > 0 ? page : 1);
        }
    }

    // By keyboard alone: search the code, put the chip found into My Palette and use it, as --choose would.
    void keyboardPickSearchesPlacesAndUses()
    {
        const ProgramRun run = runHost({"pick", "--space", "gray", "--components", "0,0,0,0", "--collection",
                                        "Vestrel Interiors", "--keys", "Ctrl+F,0,2,0,3,-,4,Return,Ctrl+D,Ctrl+Return",
                                        "--close-after", "10000"});
        QCOMPARE(run.exitCode, 0);
        const QList<Chip> chips = collectionChips(lastUsedCollection());
        const auto chip = std::find_if(chips.begin(), chips.end(), [](const Chip &c) { return c.code == "0203-4"; });
        QVERIFY(chip != chips.end());
        QCOMPARE(run.outLines(), QList<QByteArray>{pickedLine(chip->color)});
    }

    // Two chips in, both taken back, the first brought again; the searched chip then fills the emptied next cell.
    void keysUndoAndRedoMyPalette()
    {
        const ProgramRun run = runHost({"pick", "--space", "gray", "--components", "0,0,0,0", "--collection",
                                        "Vestrel Interiors", "--keys",
                                        "Ctrl+D,Ctrl+D,Ctrl+Z,Ctrl+Z,Ctrl+Shift+Z,Ctrl+F,0,2,0,3,-,4,Return,Ctrl+D",
                                        "--close-after", "3000"});
        QCOMPARE(run.exitCode, 0);
        QStringList entries;
        for (int cell = 0; cell < 3; ++cell)
            entries << userState().value(QStringLiteral("MyPalette/(0,%1).Entry").arg(cell)).toString();
        const QList<Chip> chips = collectionChips(lastUsedCollection());
        const auto searched = std::find_if(chips.begin(), chips.end(), [](const Chip &c) { return c.code == "0203-4"; });
        QVERIFY(searched != chips.end() && !entries.at(0).isEmpty() && entries.at(2).isEmpty());
        QVERIFY2(entries.at(1).endsWith(QStringLiteral(",%1,%2)").arg(searched->pageId).arg(searched->rowId)),
                 qPrintable(entries.join(' ')));
    }

    // On an empty palette Tab passes selector, wheel, mood, roller, search box and its two roll buttons, the page,
    // the tabs, the grid button and the cells; the twelfth stop is the description line.
    void tabReachesTheDescriptionLine()
    {
        const ProgramRun run = runHost({"pick", "--space", "gray", "--components", "0,0,0,0", "--keys",
                                        "Tab,Tab,Tab,Tab,Tab,Tab,Tab,Tab,Tab,Tab,Tab,Tab,N,O,T,E,Return",
                                        "--close-after", "3000"});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(userState().value("MyPalette/MyPaletteDescription").toString(), QStringLiteral("note"));
    }

    // The chosen chip comes back as RGB and goes into palette and swatch files; a fresh process loads the palette
    // and exports it as a palette text file, the type following the file's extension.
    void chosenChipTravelsThroughPaletteAndSwatchFiles()
    {
        const Chip chip = m_firstChips.value(1);
        const QString entry = QStringLiteral("ItemIndex(%1,%2,%3)")
                                  .arg(m_firstCollection.toString(QUuid::WithBraces), QString::number(chip.pageId),
                                       QString::number(chip.rowId));
        QTemporaryDir files;
        const QString palette = files.filePath("mine.palette");
        const QString swatches = files.filePath("mine.aco");
        ProgramRun run = runHost({"pick", "--space", "rgb", "--components", components(nudged(m_firstChips[0].color)),
                                  "--tab", "textures", "--choose", chip.code.toLower(), "--save-palette", palette,
                                  "--export-swatches", swatches, "--close-after", kCloseAfter});
        // No host error, and inside the host the module keeps its debug lines to itself.
        QVERIFY2(!run.err.contains("huelink-host:") && !run.err.contains("RGB("), run.err.constData());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.outLines(), QList<QByteArray>{pickedLine(chip.color)});
        QCOMPARE(collectionValue("TabPageIndex"), 8);
        QCOMPARE(userState().value("MyPalette/(0,0).Entry").toString(), entry);
        QVERIFY(userState().value("MyPalette/(0,0).Selected").toBool());
        QString error;
        QCOMPARE(readAcoFile(fileBytes(swatches), error).value(0).first, chip.color.rgb());
        QVERIFY2(error.isEmpty(), qPrintable(error));

        m_root = std::make_unique<QTemporaryDir>();
        const QString gpl = files.filePath("mine.gpl");
        run = runHost({"pick", "--space", "rgb", "--components", "0,0,0,0", "--load-palette", palette,
                       "--export-swatches", gpl, "--close-after", kCloseAfter});
        QVERIFY2(!run.err.contains("huelink-host:"), run.err.constData());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(userState().value("MyPalette/(0,0).Entry").toString(), entry);
        const QList<QByteArray> lines = fileBytes(gpl).split('\n');
        QCOMPARE(lines.mid(0, 4), (QList<QByteArray>{"GIMP Palette", "Name: ", "Columns: 6", "#"}));
        QCOMPARE(lines.size(), 6); // one cell, and the last line ends too
        const QColor c = chip.color;
        const QString line = QStringLiteral("%1 %2 %3\t%4 ").arg(c.red(), 3).arg(c.green(), 3).arg(c.blue(), 3);
        QVERIFY2(lines.at(4).startsWith(line.arg(chip.code).toUtf8()), lines.at(4).constData());
        QCOMPARE(userState().value("MyPalette/MyPaletteSwatchFormat").toString(), "gpl");
    }

    // A 24-cell palette over two collections goes out as .ase, then each import into an empty palette against all
    // enabled collections goes out as the next type (.gpl, .aco); every import gives back every chip as itself, in
    // file order. A cut swatch file fails the run and places nothing.
    void swatchFilesComeBackAsTheirOwnChips()
    {
        const QList<QUuid> enabled { m_firstCollection, QUuid("{8D2A4C6E-1F3B-4A59-B7C8-2E4F6A8C0D12}"),
            QUuid("{C4E6A8B0-2D4F-4A71-B3D5-5F7A9C1E3B45}"), QUuid("{5C9E1A3B-7D2F-4E60-8A1B-3C5D7E9F1A23}") };
        QHash<QRgb, int> uses;
        for (const QUuid &collection : enabled) {
            for (const Chip &chip : collectionChips(collection))
                ++uses[chip.color.rgb()];
        }
        QList<Tintor::PaletteFileWriter::Chip> cells;
        QStringList entries;
        for (const QUuid &collection : { enabled.first(), enabled.last() }) {
            const QList<Chip> chips = collectionChips(collection);
            for (int i = 0, taken = 0; i < chips.size() && taken < 12; ++i) {
                if (uses.value(chips[i].color.rgb()) != 1)
                    continue;
                const int cell = cells.size();
                cells.append({ QPoint(cell % 6, cell / 6), collection, chips[i].pageIndex, chips[i].rowIndex,
                    chips[i].code, {} });
                entries << QStringLiteral("ItemIndex(%1,%2,%3)")
                               .arg(collection.toString(QUuid::WithBraces))
                               .arg(chips[i].pageId)
                               .arg(chips[i].rowId);
                ++taken;
            }
        }
        QCOMPARE(cells.size(), 24);
        QTemporaryDir files;
        QFile palette(files.filePath("two.palette"));
        QVERIFY(palette.open(QIODevice::WriteOnly)
            && palette.write(Tintor::PaletteFileWriter::paletteDocument("two", cells)) > 0 && palette.flush());
        const auto cellEntries = [this] {
            QStringList placed;
            for (int cell = 0; cell < 24; ++cell)
                placed << userState().value(QStringLiteral("MyPalette/(%1,%2).Entry").arg(cell / 6).arg(cell % 6)).toString();
            return placed;
        };
        const QStringList pick { "pick", "--space", "rgb", "--components", "0,0,0,0", "--close-after", kCloseAfter };
        QStringList from { "--load-palette", palette.fileName() };
        for (const char *format : { "ase", "gpl", "aco", "" }) {
            const QString out = files.filePath(QStringLiteral("two.%1").arg(format));
            ProgramRun run = runHost(pick + from + (*format ? QStringList { "--export-swatches", out } : QStringList()));
            QVERIFY2(run.exitCode == 0, run.err.constData());
            QStringList placed = cellEntries();
            // The host's .aco lists its colours in ARGB order.
            if (!*format) {
                placed.sort();
                entries.sort();
            }
            QCOMPARE(placed, entries);
            m_root = std::make_unique<QTemporaryDir>();
            from = QStringList { "--import-swatches", out, "--match-all" };
        }
        QFile cut(files.filePath("cut.ase"));
        QVERIFY(cut.open(QIODevice::WriteOnly) && cut.write(fileBytes(files.filePath("two.ase")).left(100)) == 100
            && cut.flush());
        const ProgramRun run = runHost(pick + QStringList { "--import-swatches", cut.fileName() });
        QCOMPARE(run.exitCode, 8);
        QVERIFY2(run.err.contains("cut.ase"), run.err.constData());
        QCOMPARE(cellEntries(), QStringList(24, QString()));
    }

    // A save the file dialog does not take (a folder of that name), or that the disk cuts short, fails the run and
    // leaves the old palette file and the user state file as they were.
    void refusedOrCutPaletteSaveFailsAndKeepsFiles()
    {
        QTemporaryDir files;
        QList<Tintor::PaletteFileWriter::Chip> chips;
        for (int cell = 0; cell < std::min<int>(24, m_firstChips.size()); ++cell) {
            const Chip &chip = m_firstChips[cell];
            chips.append(
                { QPoint(cell % 6, cell / 6), m_firstCollection, chip.pageIndex, chip.rowIndex, chip.code, {} });
        }
        const QString full = files.filePath("full.palette");
        const QString old = files.filePath("old.palette");
        const QByteArray oldBytes = Tintor::PaletteFileWriter::paletteDocument("old", chips.mid(0, 1));
        QFile fullFile(full), oldFile(old);
        QVERIFY(fullFile.open(QIODevice::WriteOnly)
            && fullFile.write(Tintor::PaletteFileWriter::paletteDocument("", chips)) > 2048 && fullFile.flush());
        QVERIFY(oldFile.open(QIODevice::WriteOnly) && oldFile.write(oldBytes) == oldBytes.size() && oldFile.flush());
        const QStringList pick { "pick", "--space", "rgb", "--components", "0,0,0,0" };
        QCOMPARE(runHost(pick + QStringList { "--load-palette", full, "--close-after", kCloseAfter }).exitCode, 0);
        QVERIFY(QDir().mkpath(files.filePath("taken.palette")));
        ProgramRun run = runHost(
            pick + QStringList { "--save-palette", files.filePath("taken.palette"), "--close-after", "3000" });
        QCOMPARE(run.exitCode, 8);
        const QByteArray state = fileBytes(folder("config/Vestrel/Huelink.Photoshop.ini"));
        QVERIFY(state.size() > 1024 && userState().contains("MyPalette/(0,0).Entry"));
        run = ProgramRun::run(kHost, pick + QStringList { "--save-palette", old, "--close-after", kCloseAfter }, 120000,
            m_root->path(), { { "PROGRAMDATA", kProgramData } }, 1024);
        QCOMPARE(run.exitCode, 8);
        QVERIFY2(run.err.contains("old.palette"), run.err.constData());
        QCOMPARE(fileBytes(old), oldBytes);
        QCOMPARE(fileBytes(folder("config/Vestrel/Huelink.Photoshop.ini")), state);
    }
};

HUELINK_TEST_MAIN(HostProgramTest)
#include "HostProgramTest.moc"
