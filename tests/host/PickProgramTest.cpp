// The whole pick, headless: the built stand-in host loads the real module
// over the demo collections, and --choose drops a chip onto My Palette and
// presses the select button as a user would. Also checks the host's own
// copies of the palette's cell rule and of the chip payload against the
// module's code, since the host links none of it. The window's parts are
// checked in process (AddOnMainWindowTest, MyPaletteWidgetTest).

#include "ChipChooser.h"
#include "support/AcoReader.h"
#include "support/ProgramRun.h"
#include "support/TestEnvironment.h"
#include "ui/chips/ChipPayload.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QDir>
#include <QFileInfo>
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
// Longer than any run takes: a run that ends by --close-after failed to end the pick itself.
const QString kCloseAfter = QStringLiteral("60000");

QString hostProgram()
{
    return kBuildDir + QStringLiteral("/tools/huelink-host/huelink-host");
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

// The chips of a collection, in row ID order, from the first demo file (by
// name, as the module scans them) that holds it.
QList<Chip> collectionChips(const QUuid &collection)
{
    const QString connection = QStringLiteral("pick-test");
    QList<Chip> chips;
    for (const QString &file : QDir(kCollectionFolder).entryList({QStringLiteral("*.db")}, QDir::Files, QDir::Name)) {
        {
            QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            database.setDatabaseName(QDir(kCollectionFolder).filePath(file));
            database.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
            QSqlQuery query(database);
            if (database.open()
                && query.prepare(QStringLiteral(
                    "SELECT R.CODE, R.ID, R.PAGE_ID, P.PAGE_INDEX, R.ROW_INDEX, R.RED, R.GREEN, R.BLUE FROM \"ROW\" R "
                    "JOIN COLLECTION_PAGE_MAP CMAP ON CMAP.PAGE_ID = R.PAGE_ID JOIN COLLECTION C ON C.ID = "
                    "CMAP.COLLECTION_ID JOIN PAGE P ON P.ID = R.PAGE_ID WHERE C.UUID = ? COLLATE NOCASE ORDER BY R.ID"))) {
                query.addBindValue(collection.toString(QUuid::WithBraces));
                query.exec();
                while (query.next()) {
                    chips.append({query.value(0).toString(), query.value(1).toLongLong(), query.value(2).toLongLong(),
                                  query.value(3).toInt(), query.value(4).toInt(),
                                  QColor(query.value(5).toInt(), query.value(6).toInt(), query.value(7).toInt())});
                }
            }
        }
        QSqlDatabase::removeDatabase(connection);
        if (!chips.isEmpty())
            break;
    }
    return chips;
}

// The same colour moved by one step per channel: still within the module's
// "same colour" distance of 2, but a block that differs from the chip's.
QColor nudged(const QColor &color)
{
    const auto step = [](int channel) { return channel < 255 ? channel + 1 : channel - 1; };
    return QColor(step(color.red()), step(color.green()), step(color.blue()));
}

QString itemIndexText(const QUuid &collection, const Chip &chip)
{
    return QStringLiteral("ItemIndex(%1,%2,%3)").arg(collection.toString(QUuid::WithBraces)).arg(chip.pageId).arg(chip.rowId);
}

} // namespace

class PickProgramTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_root;
    QUuid m_firstCollection;
    QList<Chip> m_firstChips;

    QString folder(const QString &name) const { return m_root->filePath(name); }

    ProgramRun runHost(const QStringList &arguments) const
    {
        return ProgramRun::run(hostProgram(), arguments, 120000,
                               m_root->path(), {{QStringLiteral("PROGRAMDATA"), kProgramData}});
    }

    QSettings userState() const
    {
        return QSettings(folder(QStringLiteral("config/Vestrel/Huelink.Photoshop.ini")), QSettings::IniFormat);
    }

    QUuid lastUsedCollection() const
    {
        return QUuid::fromString(userState().value(QStringLiteral("UuidOfLastUsedCollection")).toString());
    }

    // What My Palette stored for its first cell.
    QString firstCellEntry() const { return userState().value(QStringLiteral("MyPalette/(0,0).Entry")).toString(); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!QDir(kCollectionFolder).entryList({QStringLiteral("*.db")}).isEmpty(), qPrintable(kCollectionFolder));
        // A new host process starts in the module's first collection: ask the module which one that is.
        m_root = std::make_unique<QTemporaryDir>();
        QCOMPARE(runHost({QStringLiteral("about"), QStringLiteral("--close-after"), QStringLiteral("0")}).exitCode, 0);
        m_firstCollection = QUuid::fromString(userState().value(QStringLiteral("UuidOfLastUsedCollection")).toString());
        QVERIFY(!m_firstCollection.isNull());
        m_firstChips = collectionChips(m_firstCollection);
        QVERIFY(m_firstChips.size() >= 3);

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

    // The stand-in device writes a measurement naming one chip of each
    // Capsure collection (priority order); the host takes the item of a
    // collection other than the first, so the import switches collection
    // and the card roller stands on that chip; the pick then returns it.
    void capsureImportGoesToTheMeasuredChip()
    {
        QList<QUuid> capsureCollections;
        {
            QSqlDatabase database = openCollectionFile(m_firstCollection, QStringLiteral("pick-test-capsure"));
            QSqlQuery query(QStringLiteral("SELECT C.UUID FROM CAPSURE_COLLECTION_IDS_BY_PRIORITY V "
                                           "JOIN COLLECTION C ON C.ID = V.COLLECTION_ID"), database);
            while (query.next())
                capsureCollections.append(QUuid::fromString(query.value(0).toString()));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("pick-test-capsure"));
        int item = 0;
        Chip chip;
        const QString measurementFile = folder("programdata/Vestrel/Capsure/Measurements/measurement.cxf");
        QStringList measurement{QStringLiteral("measurement"), measurementFile};
        for (int i = 0; i < capsureCollections.size(); ++i) {
            const QList<Chip> chips = collectionChips(capsureCollections.at(i));
            const bool target = item == 0 && capsureCollections.at(i) != m_firstCollection;
            const Chip named = chips.value(target ? chips.size() / 2 : 0);
            measurement << QStringLiteral("--name") << named.code;
            if (target) {
                item = i + 1;
                chip = named;
            }
        }
        QVERIFY2(item > 0, "the demo needs two collections with Capsure on");

        // The demo collections under a programdata of the test's own, whose
        // Capsure folder takes the measurement.
        QVERIFY(QDir().mkpath(folder("programdata/Vestrel/Capsure/Measurements")));
        QVERIFY(QFile::link(kProgramData + QStringLiteral("/Vestrel/Huelink"), folder("programdata/Vestrel/Huelink")));
        const QString device = kBuildDir + QStringLiteral("/tools/huelink-collection/huelink-collection");
        QCOMPARE(ProgramRun::run(device, measurement, 30000).exitCode, 0);
        // Written under a temporary name and renamed: nothing else is left.
        QCOMPARE(QDir(folder("programdata/Vestrel/Capsure/Measurements")).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QStringLiteral("measurement.cxf")});
        QFile file(measurementFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray written = file.readAll();
        file.close();

        const ProgramRun run = ProgramRun::run(
            hostProgram(),
            {"pick", "--space", "gray", "--components", "0,0,0,0", "--capsure-import", "--capsure-item",
             QString::number(item), "--choose", chip.code, "--close-after", kCloseAfter},
            120000, m_root->path(), {{QStringLiteral("PROGRAMDATA"), folder("programdata")}});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.contains("note: the Capsure import took '" + chip.code.toUtf8() + " ("));
        QCOMPARE(outLine(run, 0).value("components").toArray(), rgbBlock(chip.color));
        QCOMPARE(lastUsedCollection(), capsureCollections.at(item - 1));
        const QString group = lastUsedCollection().toString(QUuid::WithBraces) + QLatin1Char('/');
        // An index never written reads as the user state's default, 1.
        QCOMPARE(userState().value(group + QStringLiteral("PageIndex"), 1).toInt(), chip.pageIndex);
        QCOMPARE(userState().value(group + QStringLiteral("RowIndex"), 1).toInt(), chip.rowIndex);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), written);
    }

    // --tab clicks along the tab bar (after --collection switched) until the
    // module has stored the page; a tab the collection lacks exits 6.
    void tabOptionSelectsTheTabPage_data()
    {
        QTest::addColumn<QString>("collection");
        QTest::addColumn<QString>("tab");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("textures of the first") << QString() << "textures" << 8 << 0;
        QTest::newRow("products after a switch") << "Vestrel Heritage Facades" << "products" << 2 << 0;
        QTest::newRow("not offered") << "Pelvon Made to Order" << "foresight" << 0 << 6;
    }

    void tabOptionSelectsTheTabPage()
    {
        QFETCH(QString, collection);
        QFETCH(QString, tab);
        QFETCH(int, page);
        QFETCH(int, exitCode);
        QStringList arguments{"pick", "--space", "rgb", "--components", components(m_firstChips.value(0).color),
                              "--tab", tab, "--close-after", "3000"};
        if (!collection.isEmpty())
            arguments << "--collection" << collection;
        const ProgramRun run = runHost(arguments);
        QCOMPARE(run.exitCode, exitCode);
        if (exitCode != 0) {
            QVERIFY(hostErrors(run).join('\n').contains(tab.toUtf8()));
            return;
        }
        const QString group = lastUsedCollection().toString(QUuid::WithBraces) + QLatin1Char('/');
        QCOMPARE(userState().value(group + QStringLiteral("TabPageIndex")).toInt(), page);
        if (!collection.isEmpty())
            QCOMPARE(collectionName(lastUsedCollection()), collection);
    }

    // The chosen chip (typed in lower case, the host colour next to another
    // chip) comes back as RGB through My Palette, and goes into a palette
    // file and a swatch file through the window's buttons and file dialogs;
    // a new host process with a fresh user state opens the palette file, and
    // the cell holds the chip again.
    void chosenChipTravelsThroughPaletteAndSwatchFiles()
    {
        const Chip chip = m_firstChips.value(1);
        QTemporaryDir files;
        const QString palette = files.filePath(QStringLiteral("mine.palette"));
        const QString swatches = files.filePath(QStringLiteral("mine.aco"));
        ProgramRun run = runHost({"pick", "--space", "rgb", "--components", components(nudged(m_firstChips[0].color)),
                                  "--choose", chip.code.toLower(), "--save-palette", palette, "--export-swatches",
                                  swatches, "--close-after", kCloseAfter});
        QVERIFY2(hostErrors(run).isEmpty(), hostErrors(run).join('\n').constData());
        // Inside the host the module keeps its debug lines to itself.
        QVERIFY2(!run.err.contains("RGB("), run.err.constData());
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.outLines().size(), 1);
        QCOMPARE(outLine(run, 0).value("status").toInt(), 0);
        QCOMPARE(outLine(run, 0).value("changed").toBool(), true);
        QCOMPARE(outLine(run, 0).value("space").toInt(), 0);
        QCOMPARE(outLine(run, 0).value("components").toArray(), rgbBlock(chip.color));
        QCOMPARE(firstCellEntry(), itemIndexText(m_firstCollection, chip));
        QVERIFY(userState().value(QStringLiteral("MyPalette/(0,0).Selected")).toBool());
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
