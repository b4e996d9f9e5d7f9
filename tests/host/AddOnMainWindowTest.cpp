#include "host/AddOnMainWindow.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "state/UserState.h"
#include "support/AcoReader.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"
#include "ui/browse/BrowseFixture.h"
#include "ui/browse/CollectionSelectWidget.h"
#include "ui/browse/MainWidget.h"
#include "ui/browse/SearchWidget.h"
#include "ui/look/TaskButton.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageBox>
#include <QLineEdit>

using namespace Tintor;

namespace {

const QUuid kDeck(QStringLiteral("{8b000000-0000-0000-0000-000000000001}"));
const QUuid kOther(QStringLiteral("{8b000000-0000-0000-0000-000000000002}"));

// Card 1: five chips far apart; card 2 has one grey.
const QList<QColor> kChips = {QColor(200, 40, 40), QColor(40, 200, 40), QColor(40, 40, 200), QColor(220, 200, 30),
                              QColor(30, 200, 220)};
const QStringList kDeckTexts{"Use this colour", "Make swatches", "Deck colours"};
const QStringList kOtherTexts{"Take it", "Swatch file", "Other colours"};

using CodedCells = QList<QPair<QPoint, QString>>;
using SwatchRecords = QList<QPair<QRgb, QString>>;
const QRgb kOrange = qRgb(255, 128, 0);

// Collection, description, cells, the records written (none: a folder is in the way) and the proposed name.
const QList<std::tuple<const char *, QUuid, QString, CodedCells, SwatchRecords, QString>> swatchCases
    = {{"one colour", kOther, QString(), {{QPoint(2, 1), "X"}}, {{kOrange, "X"}}, "Swatch.aco"},
       {"duplicates named after the first cell row by row", kOther, "  My set ",
        {{QPoint(0, 1), "X"}, {QPoint(5, 0), "Y"}}, {{kOrange, "Y"}}, "My set.aco"},
       {"empty name", kOther, " \t ", {{QPoint(0, 0), ""}}, {{kOrange, "RGB(255,128,0)"}}, "Swatch.aco"},
       {"ascending colours, product codes appended", kDeck, "set.aco",
        {{QPoint(0, 0), "D-1"}, {QPoint(1, 0), "D-3"}, {QPoint(0, 3), "D-2"}},
        {{qRgb(40, 40, 200), "D-3"}, {qRgb(40, 200, 40), "D-2"}, {qRgb(200, 40, 40), "D-1 - A1, B2"}}, "set.aco.aco"},
       {"folder in the way", kOther, QString(), {{QPoint(0, 0), "X"}}, {}, "Swatch.aco"}};

} // namespace

class AddOnMainWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FixtureDatabase> fixture;
    QHash<QString, DB::ItemIndex> chipsByCode;

    void fillCells(const CodedCells &cells, bool selected = false)
    {
        for (const auto &[cell, code] : cells) {
            UserState::setMyPaletteEntry(cell.y(), cell.x(), chipsByCode.value(code));
            UserState::setMyPaletteCellSelected(cell.y(), cell.x(), selected);
        }
    }

    static TaskButton *selectButton(AddOnMainWindow &w) { return w.mainWidget()->taskButton(w.selectButtonId()); }
    static TaskButton *swatchButton(AddOnMainWindow &w) { return w.mainWidget()->taskButton(w.swatchButtonId()); }
    static QStringList texts(AddOnMainWindow &w)
    {
        return {selectButton(w)->text(), swatchButton(w)->text(), w.windowTitle()};
    }

    static void use(const QUuid &collection)
    {
        UserState::setLastUsedCollection(collection);
        CollectionSettings::setCurrentCollection(collection);
        CollectionSettings::loadNameOrders(collection);
    }

private Q_SLOTS:
    void initTestCase()
    {
        fixture = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + "/window.db");
        QVERIFY(fixture->isOpen());
        const qint64 deck = fixture->addCollection(kDeck, "DECK", 1, true, "Deck");
        const qint64 other = fixture->addCollection(kOther, "OTHER", 2, true, "Other");
        const char *keys[] = {"photoshop.selectcolor.button", "photoshop.createswatch.button", "color.palette.caption"};
        for (int i = 0; i < 3; ++i) {
            fixture->addLocale(deck, keys[i], kDeckTexts[i]);
            fixture->addLocale(other, keys[i], kOtherTexts[i]);
        }
        const auto addChip = [&](qint64 collection, qint64 page, int index, const QString &code, const QColor &color) {
            const qint64 row = fixture->addRow(collection, page, {index, code, color});
            chipsByCode.insert(code, DB::ItemIndex{collection == deck ? kDeck : kOther, page, row});
        };
        const qint64 deckPage = fixture->addPage(deck, FixtureDatabase::Page(1, 1, {}, false, 1));
        for (int index = 1; index <= kChips.size(); ++index)
            addChip(deck, deckPage, index, QStringLiteral("D-%1").arg(index), kChips.at(index - 1));
        const qint64 greyPage = fixture->addPage(deck, FixtureDatabase::Page(2, 2, {}, false, 1));
        addChip(deck, greyPage, 1, "G-1", QColor(125, 120, 120));
        const qint64 otherPage = fixture->addPage(other, FixtureDatabase::Page(1, 1, {}, false, 1));
        for (int index = 1; index <= 3; ++index)
            addChip(other, otherPage, index, QStringList{"X", "Y", ""}.at(index - 1), QColor(255, 128, 0));

        // Swatch names are codes; the deck appends product codes (D-1: two).
        for (qint64 collection : {deck, other})
            fixture->addSetting(collection, "color.tooltip.show.row.code", 1);
        fixture->addSetting(deck, "export.color.name.append.product.code", 1);
        QVERIFY(fixture->exec("INSERT INTO PRODUCT(ID, NAME, PRODUCT_CODE) VALUES(1, 'Satin', 'A1'), "
                              "(2, 'Gloss', 'B2')"));
        QVERIFY(fixture->exec("INSERT INTO ROW_PRODUCT_MAP(COLLECTION_ID, ROW_ID, PRODUCT_ID) "
                              "VALUES(?, ?, 1), (?, ?, 2)",
                              {deck, chipsByCode["D-1"].colorId, deck, chipsByCode["D-1"].colorId}));
    }

    void init()
    {
        TestEnvironment::resetUserState();
        DB::scanCollectionFiles(DB::collectionRegistry(), true);
        CollectionSettings::setCurrentCollection(QUuid());
        use(kDeck);
    }

    // Two windows in sequence, each closed with the focus in an edit box; the texts follow the collection.
    void windowsInSequenceWithTextsThatFollowTheCollection()
    {
        for (int pick = 0; pick < 2; ++pick) {
            auto window = std::make_unique<AddOnMainWindow>(QColor(Qt::transparent), QString());
            QCOMPARE(AddOnMainWindow::current(), window.get());
            QCOMPARE(window->size(), QSize(800, 600));
            QCOMPARE(window->minimumSize(), window->maximumSize());
            QCOMPARE(window->windowModality(), Qt::ApplicationModal);
            QCOMPARE(window->mainWidget()->taskButtonOrder(), (QList<quint16>{1, 2, 1000, 1001, 3}));
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            QCOMPARE(texts(*window), kDeckTexts);
            window->mainWidget()->collectionChangedInteractively(kOther);
            QCOMPARE(texts(*window), kOtherTexts);
            Q_EMIT window->mainWidget()->collectionSelector()->collectionSelectedInteractively(kDeck);
            QCOMPARE(UserState::lastUsedCollection(), kDeck);
            QCOMPARE(texts(*window), kDeckTexts);
            QApplication::setActiveWindow(window.get());
            window->mainWidget()->search()->lineEdit()->setFocus();
            window->reject();
            window.reset();
            QCOMPARE(AddOnMainWindow::current(), nullptr);
        }
    }

    void buttonStatesFollowClicksInMyPalette()
    {
        fillCells({{QPoint(0, 0), "D-1"}, {QPoint(1, 0), "D-3"}});
        AddOnMainWindow window(QColor(Qt::transparent), QString());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        MyPaletteWidget *palette = window.mainWidget()->myPalette();
        QVERIFY(!selectButton(window)->isEnabled());
        QVERIFY(swatchButton(window)->isEnabled());

        QTest::mouseClick(palette, Qt::LeftButton, Qt::NoModifier, palette->cellRect(QPoint(0, 0)).center());
        QVERIFY(selectButton(window)->isEnabled());
        QTest::mouseClick(palette, Qt::LeftButton, Qt::ControlModifier, palette->cellRect(QPoint(1, 0)).center());
        QVERIFY(!selectButton(window)->isEnabled());

        palette->eraseClicked();
        QVERIFY(!swatchButton(window)->isEnabled());
        QTest::mouseClick(palette, Qt::LeftButton, Qt::NoModifier, palette->cellRect(QPoint(1, 0)).center());
        QVERIFY(!selectButton(window)->isEnabled());
        // An empty selected cell gives the host colour; a transparent one rejects.
        window.selectColor();
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QCOMPARE(window.chosenColor(), QColor(Qt::transparent));
    }

    // Without one selected cell the host colour goes back (one cell's colour: the host runs).
    void selectWithoutOneSelectedCellGivesTheHostColour()
    {
        fillCells({{QPoint(0, 0), "D-1"}, {QPoint(1, 0), "D-2"}}, true);
        // Not shown, so the host colour is never looked for.
        AddOnMainWindow window(QColor(10, 20, 30), QString());
        QSignalSpy accepted(&window, &QDialog::accepted);
        window.selectColor();
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(window.chosenColor(), QColor(10, 20, 30));
    }

    // Looked for once after the window appears: a chip's colour turns the roller to it; a transparent one never.
    void hostColourIsShownOnceAfterTheWindowAppears()
    {
        for (const QColor &hostColour : {kChips.at(4), QColor(Qt::transparent)}) {
            const bool looks = hostColour.alpha() > 0;
            UserState::setPageIndex(kDeck, 2);
            UserState::setRowIndex(kDeck, 1);
            AddOnMainWindow window(hostColour, QString());
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QTRY_VERIFY(window.findChildren<QTimer *>(Qt::FindDirectChildrenOnly).isEmpty());
            QCOMPARE(window.initialColorShown(), looks);
            window.showTimerExhausted();
            QVERIFY(window.initialColorShown());
            QCOMPARE(UserState::pageIndex(kDeck), looks ? 1 : 2);
            QCOMPARE(UserState::rowIndex(kDeck), looks ? 5 : 1);
            UserState::setRowIndex(kDeck, 1);
            window.hide();
            window.show();
            QCoreApplication::processEvents();
            QVERIFY(window.findChildren<QTimer *>(Qt::FindDirectChildrenOnly).isEmpty());
            QCOMPARE(UserState::rowIndex(kDeck), 1);
        }
    }

    void swatchExportWritesOneRecordPerColour_data() { BrowseFixture::addRows(swatchCases); }
    void swatchExportWritesOneRecordPerColour()
    {
        const auto &[name, collection, description, cells, records, proposed] = BrowseFixture::fetchRow(swatchCases);
        use(collection);
        fillCells(cells);
        const QDir folder(TestEnvironment::programData());
        AddOnMainWindow window(QColor(Qt::transparent), folder.path());
        window.mainWidget()->myPalette()->descriptionEdit()->setText(description);
        QTest::mouseClick(swatchButton(window), Qt::LeftButton);
        QFileDialog *dialog = window.swatchDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog->selectedFiles().value(0), folder.filePath(proposed));
        const QString path = folder.filePath(records.isEmpty() ? "taken.aco" : "export.aco");
        QFile::remove(path);
        QVERIFY(!records.isEmpty() || QDir().mkpath(path + "/inside"));
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->done(QDialog::Accepted);
        QVERIFY(window.swatchAlert()->isVisible());
        if (records.isEmpty()) { // the folder is kept and the alert names it
            QVERIFY(QFileInfo::exists(path + "/inside"));
            QCOMPARE(window.swatchAlert()->icon(), QMessageBox::Warning);
            QVERIFY2(window.swatchAlert()->text().contains(QDir::toNativeSeparators(path)),
                     qPrintable(window.swatchAlert()->text()));
            return;
        }
        QCOMPARE(window.swatchAlert()->icon(), QMessageBox::Information);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QString error;
        QCOMPARE(readAcoFile(bytes, error), records);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        if (name == QByteArrayLiteral("one colour"))
            QCOMPARE(bytes.toHex(' '), QByteArray("00 02 00 01 00 00 ff ff 80 80 00 00 00 00 00 00 00 02 00 58 00 00"));
    }

    // The exchange types follow the host's own; each writes My Palette cell by cell, product codes appended.
    void exchangeFormatsFollowTheChosenFilter_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("expected"); // empty: a folder is in the way
        QTest::newRow("gpl") << 2 << "set.gpl"
                             << QByteArray("GIMP Palette\nName: My set\nColumns: 6\n#\n200  40  40\tD-1 - A1, B2\n"
                                           " 40  40 200\tD-3\n200  40  40\tD-1 - A1, B2\n 40 200  40\tD-2\n");
        QTest::newRow("ase") << 1 << "set.ase" << QByteArray("\0D\0-\0003\0\0", 8);
        QTest::newRow("css") << 3 << "set.css" << QByteArray("#c82828; /* D-1 - A1, B2, Deck */");
        QTest::newRow("json") << 4 << "set.json"
                              << QByteArray("D-1 #c82828 Deck 1 1,D-3 #2828c8 Deck 1 3,D-1 #c82828 Deck 1 1,"
                                            "D-2 #28c828 Deck 1 2");
        QTest::newRow("css, folder in the way") << 3 << "taken.css" << QByteArray();
    }

    void exchangeFormatsFollowTheChosenFilter()
    {
        QFETCH(int, filter);
        QFETCH(QString, fileName);
        QFETCH(QByteArray, expected);
        fillCells({{QPoint(0, 0), "D-1"}, {QPoint(1, 0), "D-3"}, {QPoint(5, 1), "D-1"}, {QPoint(0, 3), "D-2"}});
        const QDir folder(TestEnvironment::programData());
        AddOnMainWindow window(QColor(Qt::transparent), folder.path());
        window.mainWidget()->myPalette()->descriptionEdit()->setText(" My set ");
        QTest::mouseClick(swatchButton(window), Qt::LeftButton);
        QFileDialog *dialog = window.swatchDialog();
        QStringList patterns;
        for (const QString &nameFilter : dialog->nameFilters())
            patterns.append(nameFilter.section(' ', -1));
        QCOMPARE(patterns, (QStringList{"(*.aco)", "(*.ase)", "(*.gpl)", "(*.css)", "(*.json)"}));
        QCOMPARE(dialog->selectedNameFilter(), dialog->nameFilters().at(0));

        const QString path = folder.filePath(fileName);
        QFile::remove(path);
        QVERIFY(!expected.isEmpty() || QDir().mkpath(path + "/inside"));
        dialog->selectNameFilter(dialog->nameFilters().at(filter));
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->done(QDialog::Accepted);
        QMessageBox *alert = window.swatchAlert();
        QVERIFY(alert->isVisible());
        QVERIFY2((alert->informativeText() + alert->text()).contains(QDir::toNativeSeparators(path)),
                 qPrintable(alert->text()));
        QCOMPARE(alert->icon(), expected.isEmpty() ? QMessageBox::Warning : QMessageBox::Information);
        QCOMPARE(UserState::myPaletteSwatchFormat(), QFileInfo(fileName).suffix());
        if (expected.isEmpty())
            return;
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QByteArray bytes = file.readAll();
        if (filter == 4) { // card and row, collection and colour come from the chip each cell holds
            QByteArrayList chips;
            for (const QJsonValue chip : QJsonDocument::fromJson(bytes).object().value("chips").toArray())
                chips.append(QStringLiteral("%1 %2 %3 %4 %5")
                                 .arg(chip["code"].toString(), chip["srgb"].toString(), chip["collection"].toString())
                                 .arg(chip["card"].toInt())
                                 .arg(chip["row"].toInt())
                                 .toUtf8());
            bytes = chips.join(',');
        }
        QVERIFY2(bytes.contains(expected), bytes.constData());
    }

    // The next export offers the type chosen last; choosing another renames the proposed file.
    void exportTypeIsRememberedAndRenamesTheProposal()
    {
        fillCells({{QPoint(0, 0), "D-1"}});
        const auto proposed = [](QFileDialog *dialog) { return QFileInfo(dialog->selectedFiles().value(0)).fileName(); };
        UserState::setMyPaletteSwatchFormat("gpl");
        AddOnMainWindow window(QColor(Qt::transparent), TestEnvironment::programData());
        QTest::mouseClick(swatchButton(window), Qt::LeftButton);
        QFileDialog *dialog = window.swatchDialog();
        QCOMPARE(dialog->selectedNameFilter(), dialog->nameFilters().at(2));
        QCOMPARE(proposed(dialog), "Swatch.gpl");
        dialog->selectNameFilter(dialog->nameFilters().at(4));
        Q_EMIT dialog->filterSelected(dialog->nameFilters().at(4));
        QCOMPARE(proposed(dialog), "Swatch.json");
        static_cast<QDialog *>(dialog)->done(QDialog::Rejected);
        QCOMPARE(UserState::myPaletteSwatchFormat(), "gpl");
        UserState::setMyPaletteSwatchFormat("exe"); // anything else stored offers the host's own type
        QTest::mouseClick(swatchButton(window), Qt::LeftButton);
        QCOMPARE(dialog->selectedNameFilter(), dialog->nameFilters().at(0));
        QCOMPARE(proposed(dialog), "Swatch.aco");
    }
};

HUELINK_TEST_MAIN(AddOnMainWindowTest)
#include "AddOnMainWindowTest.moc"
