// The whole pick, headless: the built stand-in host loads the real module
// over the demo collections, and --choose drops a chip onto My Palette and
// presses the select button as a user would. Also checks the host's own
// copies of the palette's cell rule and of the chip payload against the
// module's code, since the host links none of it.

#include "ChipChooser.h"
#include "support/AcoReader.h"
#include "support/ProgramRun.h"
#include "support/TestEnvironment.h"
#include "ui/chips/ChipPayload.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <QtTest>

#include <memory>

namespace {

const QString kBuildDir = QStringLiteral(HUELINK_BUILD_DIR);
const QString kProgramData = kBuildDir + QStringLiteral("/programdata");
const QString kCollectionFolder = kProgramData + QStringLiteral("/Vestrel/Huelink/SQLite/Contents/Resources");
// Longer than any run takes: a run that ends by --close-after failed to
// end the pick itself.
const QString kCloseAfter = QStringLiteral("60000");

QString hostProgram()
{
    return kBuildDir + QStringLiteral("/tools/huelink-host/huelink-host");
}

// The host's own error lines; the module's debug lines are left out.
QList<QByteArray> hostErrors(const ProgramRun &run)
{
    QList<QByteArray> lines;
    for (const QByteArray &line : run.errLines()) {
        if (line.startsWith("huelink-host:"))
            lines.append(line);
    }
    return lines;
}

QJsonObject outLine(const ProgramRun &run, int index)
{
    return QJsonDocument::fromJson(run.outLines().value(index)).object();
}

struct Chip
{
    QString code;
    qint64 rowId = -1;
    qint64 pageId = -1;
    int pageIndex = 0;
    int rowIndex = 0;
    QColor color;
};

QJsonArray rgbBlock(const QColor &color)
{
    return QJsonArray{color.red() * 257, color.green() * 257, color.blue() * 257, 0};
}

QString components(const QColor &color)
{
    return QStringLiteral("%1,%2,%3,0").arg(color.red() * 257).arg(color.green() * 257).arg(color.blue() * 257);
}

// The demo file holding `collection` (the first by name, as the module
// scans them), opened read-only under `connection`.
QSqlDatabase openCollectionFile(const QUuid &collection, const QString &connection)
{
    const QFileInfoList files =
        QDir(kCollectionFolder).entryInfoList({QStringLiteral("*.db")}, QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        database.setDatabaseName(file.absoluteFilePath());
        database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (database.open()) {
            QSqlQuery query(database);
            query.prepare(QStringLiteral("SELECT 1 FROM COLLECTION WHERE UUID = ? COLLATE NOCASE"));
            query.addBindValue(collection.toString(QUuid::WithBraces));
            if (query.exec() && query.next())
                return database;
            database.close();
        }
    }
    return QSqlDatabase();
}

// The chips of a collection, in row ID order.
QList<Chip> collectionChips(const QUuid &collection)
{
    const QString connection = QStringLiteral("pick-test-chips");
    QList<Chip> chips;
    {
        QSqlDatabase database = openCollectionFile(collection, connection);
        QSqlQuery query(database);
        query.prepare(QStringLiteral(
            "SELECT R.CODE, R.ID, R.PAGE_ID, P.PAGE_INDEX, R.ROW_INDEX, R.RED, R.GREEN, R.BLUE FROM \"ROW\" R "
            "JOIN COLLECTION_PAGE_MAP CMAP ON CMAP.PAGE_ID = R.PAGE_ID "
            "JOIN COLLECTION C ON C.ID = CMAP.COLLECTION_ID JOIN PAGE P ON P.ID = R.PAGE_ID "
            "WHERE C.UUID = ? COLLATE NOCASE ORDER BY R.ID"));
        query.addBindValue(collection.toString(QUuid::WithBraces));
        if (database.isOpen() && query.exec()) {
            while (query.next()) {
                Chip chip;
                chip.code = query.value(0).toString();
                chip.rowId = query.value(1).toLongLong();
                chip.pageId = query.value(2).toLongLong();
                chip.pageIndex = query.value(3).toInt();
                chip.rowIndex = query.value(4).toInt();
                chip.color = QColor(query.value(5).toInt(), query.value(6).toInt(), query.value(7).toInt());
                chips.append(chip);
            }
        }
    }
    QSqlDatabase::removeDatabase(connection);
    return chips;
}

// The displayed name of a collection (the selector lists these).
QString collectionName(const QUuid &collection)
{
    const QString connection = QStringLiteral("pick-test-name");
    QString name;
    {
        QSqlDatabase database = openCollectionFile(collection, connection);
        QSqlQuery query(database);
        query.prepare(QStringLiteral("SELECT NAME FROM COLLECTION WHERE UUID = ? COLLATE NOCASE"));
        query.addBindValue(collection.toString(QUuid::WithBraces));
        if (database.isOpen() && query.exec() && query.next())
            name = query.value(0).toString();
    }
    QSqlDatabase::removeDatabase(connection);
    return name;
}

// The same colour moved by one step per channel: still within the module's
// "same colour" distance of 2, but a block that differs from the chip's.
QColor nudged(const QColor &color)
{
    const auto step = [](int channel) { return channel < 255 ? channel + 1 : channel - 1; };
    return QColor(step(color.red()), step(color.green()), step(color.blue()));
}

} // namespace

class PickProgramTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QUuid m_firstCollection;
    QUuid m_otherCollection;
    QList<Chip> m_firstChips;
    Chip m_otherChip;

    QString folder(const QString &name) const { return m_root->filePath(name); }
    QString userStateFile() const { return folder(QStringLiteral("config/Vestrel/Huelink.Photoshop.ini")); }

    ProgramRun runHost(const QStringList &arguments) const
    {
        return ProgramRun::run(hostProgram(), arguments, 120000, m_root->path(),
                               {{QStringLiteral("PROGRAMDATA"), kProgramData}});
    }

    QSettings userState() const { return QSettings(userStateFile(), QSettings::IniFormat); }

    QUuid lastUsedCollection() const
    {
        return QUuid::fromString(userState().value(QStringLiteral("UuidOfLastUsedCollection")).toString());
    }

    // What My Palette stored for its first cell.
    QString firstCellEntry() const { return userState().value(QStringLiteral("MyPalette/(0,0).Entry")).toString(); }
    bool firstCellSelected() const { return userState().value(QStringLiteral("MyPalette/(0,0).Selected")).toBool(); }

    // Off the first card and row, so only a nearest-colour step that ran in
    // its collection turns the card roller to it; and the only chip that
    // step can find for the nudged colour.
    static bool isLoneChipOffFirstCard(const Chip &chip, const QList<Chip> &chips)
    {
        if (chip.pageIndex <= 1 || chip.rowIndex <= 1)
            return false;
        const QColor host = nudged(chip.color);
        for (const Chip &other : chips) {
            if (other.rowId != chip.rowId && qAbs(other.color.red() - host.red()) <= 2
                && qAbs(other.color.green() - host.green()) <= 2 && qAbs(other.color.blue() - host.blue()) <= 2)
                return false;
        }
        return true;
    }

    static QString itemIndexText(const QUuid &collection, const Chip &chip)
    {
        return QStringLiteral("ItemIndex(%1,%2,%3)")
            .arg(collection.toString(QUuid::WithBraces))
            .arg(chip.pageId)
            .arg(chip.rowId);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFileInfo(hostProgram()).isExecutable(), qPrintable(hostProgram()));
        QVERIFY2(!QDir(kCollectionFolder).entryList({QStringLiteral("*.db")}).isEmpty(),
                 qPrintable(kCollectionFolder));
        // A new host process starts in the module's first collection: ask
        // the module which one that is.
        m_root = std::make_unique<QTemporaryDir>();
        const ProgramRun about = runHost({QStringLiteral("about"), QStringLiteral("--close-after"), QStringLiteral("0")});
        QCOMPARE(about.exitCode, 0);
        m_firstCollection = lastUsedCollection();
        QVERIFY(!m_firstCollection.isNull());
        m_firstChips = collectionChips(m_firstCollection);
        QVERIFY(m_firstChips.size() >= 3);

        // Another collection with chips, for the collection switch.
        for (const QString &file : QDir(kCollectionFolder).entryList({QStringLiteral("*.db")}, QDir::Files)) {
            const QString connection = QStringLiteral("pick-test-list");
            QList<QUuid> uuids;
            {
                QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
                database.setDatabaseName(QDir(kCollectionFolder).filePath(file));
                database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
                QVERIFY(database.open());
                QSqlQuery query(QStringLiteral("SELECT UUID FROM COLLECTION WHERE ID > 0 ORDER BY ID"), database);
                while (query.next())
                    uuids.append(QUuid::fromString(query.value(0).toString()));
            }
            QSqlDatabase::removeDatabase(connection);
            for (const QUuid &uuid : uuids) {
                if (uuid == m_firstCollection || !m_otherCollection.isNull())
                    continue;
                const QList<Chip> chips = collectionChips(uuid);
                for (const Chip &chip : chips) {
                    if (isLoneChipOffFirstCard(chip, chips)) {
                        m_otherCollection = uuid;
                        m_otherChip = chip;
                        break;
                    }
                }
            }
        }
        QVERIFY(!m_otherCollection.isNull());
        m_root.reset();
    }

    void init()
    {
        m_root = std::make_unique<QTemporaryDir>();
        QVERIFY(m_root->isValid());
    }

    void cleanup() { m_root.reset(); }

    // The host's copy of the cell rule, against the module's own.
    void hostCellRuleMatchesMyPalette_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("barHeight");
        QTest::addColumn<int>("editHeight");
        QTest::newRow("the widget in the add-on window") << QSize(565, 243) << 30 << 17;
        QTest::newRow("widths and heights that leave remainders") << QSize(400, 200) << 30 << 16;
        QTest::newRow("odd bar") << QSize(613, 301) << 27 << 19;
        QTest::newRow("barely room for the cells") << QSize(31, 75) << 30 << 4;
    }

    void hostCellRuleMatchesMyPalette()
    {
        QFETCH(QSize, size);
        QFETCH(int, barHeight);
        QFETCH(int, editHeight);
        using Tintor::MyPaletteWidget;
        const auto rects = MyPaletteWidget::cellRectsFor(MyPaletteWidget::cellAreaFor(size, barHeight, editHeight));
        for (int row = 0; row < MyPaletteWidget::kRowCount; ++row) {
            for (int column = 0; column < MyPaletteWidget::kColumnCount; ++column) {
                QCOMPARE(ChipChooser::paletteCellRect(size, barHeight, editHeight, QPoint(column, row)),
                         rects[std::size_t(row * MyPaletteWidget::kColumnCount + column)]);
            }
        }
    }

    void hostPayloadIsTheModulesChipPayload()
    {
        Tintor::DB::ColorEntry chip;
        chip.id = 1136;
        const QUuid collection = QUuid::fromString(QStringLiteral("{8d2a4c6e-1f3b-4a59-b7c8-2e4f6a8c0d12}"));
        QCOMPARE(ChipChooser::chipPayloadText(collection, chip.id, ChipChooser::kFromCardRoller),
                 Tintor::chipPayloadText(Tintor::FromCardRoller, collection, chip));
        QCOMPARE(ChipChooser::payloadMimeType(), Tintor::chipPayloadMimeType());
    }

    void badChoiceArgumentsExitTwo_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("mentions");
        const QStringList pick{"pick", "--space", "rgb", "--components", "0,0,0,0"};
        QTest::newRow("choose for about") << QStringList{"about", "--choose", "A1"} << QByteArray("pick");
        QTest::newRow("empty code") << pick + QStringList{"--choose", ""} << QByteArray("--choose");
        QTest::newRow("collection without choose")
            << pick + QStringList{"--collection", "Vestrel Interiors"} << QByteArray("--choose");
        QTest::newRow("dialog screenshot for about")
            << QStringList{"about", "--screenshot-dialog", "d.png"} << QByteArray("pick");
    }

    void badChoiceArgumentsExitTwo()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, mentions);
        const ProgramRun run = runHost(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(hostErrors(run).size(), 1);
        QVERIFY2(hostErrors(run)[0].contains(mentions), hostErrors(run)[0].constData());
    }

    void chosenChipComesBackAsRgb_data()
    {
        QTest::addColumn<int>("chipIndex");
        QTest::addColumn<QStringList>("hostColour");
        QTest::addColumn<bool>("lowerCaseCode");
        // Chip indexes into the first collection's chips, by row ID.
        QTest::newRow("host colour next to another chip")
            << 1 << QStringList{"--space", "rgb", "--components", "nudged:0"} << false;
        QTest::newRow("host colour that asks in the nearest-colour dialog")
            << 2 << QStringList{"--space", "rgb", "--components", "51400,30840,20560,0"} << false;
        QTest::newRow("host colour in Lab") << 0 << QStringList{"--space", "lab", "--components", "5000,-1200,3400,0"}
                                            << false;
        QTest::newRow("code typed in lower case") << 2 << QStringList{"--space", "gray", "--components", "0,0,0,0"}
                                                  << true;
    }

    void chosenChipComesBackAsRgb()
    {
        QFETCH(int, chipIndex);
        QFETCH(QStringList, hostColour);
        QFETCH(bool, lowerCaseCode);
        const Chip chip = m_firstChips.value(chipIndex);
        if (hostColour.last().startsWith(QLatin1String("nudged:")))
            hostColour.last() = components(nudged(m_firstChips.value(hostColour.last().mid(7).toInt()).color));
        const QString code = lowerCaseCode ? chip.code.toLower() : chip.code;
        const ProgramRun run = runHost(QStringList{"pick"} + hostColour
                                    + QStringList{"--choose", code, "--close-after", kCloseAfter});
        QVERIFY(run.finished);
        QVERIFY2(hostErrors(run).isEmpty(), hostErrors(run).join('\n').constData());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.outLines().size(), 1);
        const QJsonObject block = outLine(run, 0);
        QCOMPARE(block.value("status").toInt(), 0);
        QCOMPARE(block.value("changed").toBool(), true);
        QCOMPARE(block.value("space").toInt(), 0);
        QCOMPARE(block.value("components").toArray(), rgbBlock(chip.color));
        // It went through My Palette: the first cell holds the chip, selected.
        QCOMPARE(firstCellEntry(), itemIndexText(m_firstCollection, chip));
        QVERIFY(firstCellSelected());
    }

    // A host colour the collection does not hold asks in the nearest-colour
    // dialog, which must not keep a scripted choice waiting: it is saved,
    // then closed as by its close button, and the choice still happens.
    void nearestColourDialogIsSavedAndDismissedBeforeTheChoice()
    {
        const Chip chip = m_firstChips.value(0);
        const QString windowShot = folder(QStringLiteral("window.png"));
        const QString dialogShot = folder(QStringLiteral("dialog.png"));
        const ProgramRun run = runHost({"pick", "--space", "rgb", "--components", "51400,30840,20560,0", "--choose",
                                     chip.code, "--screenshot", windowShot, "--screenshot-dialog", dialogShot,
                                     "--close-after", kCloseAfter});
        QVERIFY2(hostErrors(run).isEmpty(), hostErrors(run).join('\n').constData());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(outLine(run, 0).value("components").toArray(), rgbBlock(chip.color));
        const QImage window(windowShot);
        QCOMPARE(window.size(), QSize(800, 600));
        QVERIFY(!QImage(dialogShot).isNull());
        QCOMPARE(firstCellEntry(), itemIndexText(m_firstCollection, chip));
    }

    void withoutChooseBlockStaysUnchanged()
    {
        const ProgramRun run = runHost({"pick", "--space", "rgb", "--components", "51400,30840,20560,0",
                                     "--close-after", "1500"});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(hostErrors(run).isEmpty(), hostErrors(run).join('\n').constData());
        QCOMPARE(outLine(run, 0).value("changed").toBool(), false);
        QCOMPARE(outLine(run, 0).value("components").toArray(), (QJsonArray{51400, 30840, 20560, 0}));
        QVERIFY(firstCellEntry().isEmpty());
    }

    void unknownCodeExitsFourAndLeavesBlock()
    {
        const ProgramRun run = runHost({"pick", "--space", "rgb", "--components", "100,200,300,0", "--choose",
                                     "NO-SUCH-CODE", "--close-after", kCloseAfter});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 4);
        QCOMPARE(hostErrors(run).size(), 1);
        QVERIFY2(hostErrors(run)[0].contains("NO-SUCH-CODE"), hostErrors(run)[0].constData());
        QCOMPARE(outLine(run, 0).value("changed").toBool(), false);
        QCOMPARE(outLine(run, 0).value("components").toArray(), (QJsonArray{100, 200, 300, 0}));
        // The window was closed at once, not by --close-after.
        QVERIFY2(run.elapsedMs < 30000, qPrintable(QString::number(run.elapsedMs)));
        QVERIFY(firstCellEntry().isEmpty());
    }

    void failedChoiceExitsFive_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("mentions");
        QTest::newRow("unknown collection")
            << QStringList{"--collection", "No Such Collection", "--close-after", kCloseAfter}
            << QByteArray("No Such Collection");
        QTest::newRow("window closed before the choice")
            << QStringList{"--close-after", "0"} << QByteArray("closed before");
    }

    void failedChoiceExitsFive()
    {
        QFETCH(QStringList, options);
        QFETCH(QByteArray, mentions);
        const ProgramRun run = runHost(QStringList{"pick", "--space", "rgb", "--components", "100,200,300,0",
                                                "--choose", m_firstChips.value(0).code}
                                    + options);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 5);
        QCOMPARE(hostErrors(run).size(), 1);
        QVERIFY2(hostErrors(run)[0].contains(mentions), hostErrors(run)[0].constData());
        QCOMPARE(outLine(run, 0).value("changed").toBool(), false);
    }

    // The first pick switches collection and chooses there; the second
    // starts in that collection, which shows in where its nearest-colour
    // step turned the card roller: to the chip matching the host colour.
    void secondPickStartsInTheCollectionUsedLast()
    {
        const Chip chip = m_otherChip;
        const QString name = collectionName(m_otherCollection);
        QVERIFY(!name.isEmpty());
        const ProgramRun run = runHost({"pick", "--space", "rgb", "--components", components(nudged(chip.color)),
                                     "--collection", name, "--choose", chip.code, "--repeat", "2", "--close-after",
                                     kCloseAfter});
        QVERIFY2(hostErrors(run).isEmpty(), hostErrors(run).join('\n').constData());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.outLines().size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(outLine(run, i).value("changed").toBool(), true);
            QCOMPARE(outLine(run, i).value("components").toArray(), rgbBlock(chip.color));
        }
        QCOMPARE(lastUsedCollection(), m_otherCollection);
        const QString group = m_otherCollection.toString(QUuid::WithBraces) + QLatin1Char('/');
        QCOMPARE(userState().value(group + QStringLiteral("PageIndex")).toInt(), chip.pageIndex);
        QCOMPARE(userState().value(group + QStringLiteral("RowIndex")).toInt(), chip.rowIndex);
        QCOMPARE(firstCellEntry(), itemIndexText(m_otherCollection, chip));
    }

    // The chosen chip goes into a palette file and a swatch file through the
    // window's buttons and file dialogs; a new host process with a fresh
    // user state opens the palette file, and the cell holds the chip again.
    void paletteFileAndSwatchesTravelBetweenProcesses()
    {
        const Chip chip = m_firstChips.value(1);
        QTemporaryDir files;
        const QString palette = files.filePath(QStringLiteral("mine.palette"));
        const QString swatches = files.filePath(QStringLiteral("mine.aco"));
        ProgramRun run = runHost({"pick", "--space", "rgb", "--components", components(chip.color), "--choose",
                                  chip.code, "--save-palette", palette, "--export-swatches", swatches,
                                  "--close-after", kCloseAfter});
        QVERIFY2(hostErrors(run).isEmpty(), hostErrors(run).join('\n').constData());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(outLine(run, 0).value("components").toArray(), rgbBlock(chip.color));
        QFile swatchFile(swatches);
        QVERIFY(swatchFile.open(QIODevice::ReadOnly));
        QString error;
        const QList<QPair<QRgb, QString>> records = readAcoFile(swatchFile.readAll(), error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QCOMPARE(records.size(), 1);
        QCOMPARE(records.first().first, chip.color.rgb());

        m_root = std::make_unique<QTemporaryDir>();
        run = runHost({"pick", "--space", "rgb", "--components", "0,0,0,0", "--load-palette", palette,
                       "--close-after", kCloseAfter});
        QVERIFY2(hostErrors(run).isEmpty(), hostErrors(run).join('\n').constData());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(firstCellEntry(), itemIndexText(m_firstCollection, chip));
    }
};

HUELINK_TEST_MAIN(PickProgramTest)
#include "PickProgramTest.moc"
