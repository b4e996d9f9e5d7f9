#include "host/AddOnMainWindow.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "state/UserState.h"
#include "support/AcoReader.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"
#include "ui/browse/CardRollerWidget.h"
#include "ui/browse/CollectionSelectWidget.h"
#include "ui/browse/MainWidget.h"
#include "ui/browse/SearchWidget.h"
#include "ui/look/TaskButton.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace Tintor;

namespace {

const QUuid kDeck(QStringLiteral("{8b000000-0000-0000-0000-000000000001}"));
const QUuid kOther(QStringLiteral("{8b000000-0000-0000-0000-000000000002}"));

// Card 1: five chips far apart; card 2: greys turned ever redder, for the
// nearest-colour dialog.
const QList<QColor> kChips = {QColor(200, 40, 40), QColor(40, 200, 40), QColor(40, 40, 200), QColor(220, 200, 30),
                              QColor(30, 200, 220)};
const QList<int> kGreyReds = {125, 132, 140, 150, 160, 175};

using FilledCells = QList<QPair<QPoint, int>>;
using CodedCells = QList<QPair<QPoint, QString>>;
using SwatchRecords = QList<QPair<QRgb, QString>>;

} // namespace

class AddOnMainWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<FixtureDatabase> fixture;
    qint64 deckPageId = -1;
    QList<qint64> deckRows;
    QHash<QString, DB::ItemIndex> chipsByCode;

    void fillCells(const FilledCells &cells)
    {
        for (const auto &[cell, chip] : cells)
            UserState::setMyPaletteEntry(cell.y(), cell.x(), DB::ItemIndex{kDeck, deckPageId, deckRows.at(chip)});
    }

    static void selectCells(const QList<QPoint> &cells)
    {
        for (const QPoint &cell : cells)
            UserState::setMyPaletteCellSelected(cell.y(), cell.x(), true);
    }

    static TaskButton *selectButton(AddOnMainWindow &window)
    {
        return window.mainWidget()->taskButton(window.selectButtonId());
    }

    static TaskButton *swatchButton(AddOnMainWindow &window)
    {
        return window.mainWidget()->taskButton(window.swatchButtonId());
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
        fixture = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder()
                                                    + QStringLiteral("/window.db"));
        QVERIFY(fixture->isOpen());
        const qint64 deck = fixture->addCollection(kDeck, QStringLiteral("DECK"), 1, true, QStringLiteral("Deck"));
        const qint64 other = fixture->addCollection(kOther, QStringLiteral("OTHER"), 2, true, QStringLiteral("Other"));
        const QStringList keys{"photoshop.selectcolor.button", "photoshop.createswatch.button", "color.palette.caption"};
        const QStringList deckTexts{"Use this colour", "Make swatches", "Deck colours"};
        const QStringList otherTexts{"Take it", "Swatch file", "Other colours"};
        for (int i = 0; i < keys.size(); ++i) {
            fixture->addLocale(deck, keys[i], deckTexts[i]);
            fixture->addLocale(other, keys[i], otherTexts[i]);
        }

        FixtureDatabase::Page page;
        page.mood = 1;
        deckPageId = fixture->addPage(deck, page);
        for (int index = 0; index < kChips.size(); ++index) {
            FixtureDatabase::Row row;
            row.rowIndex = index + 1;
            row.code = QStringLiteral("D-%1").arg(index + 1);
            row.color = kChips.at(index);
            deckRows.append(fixture->addRow(deck, deckPageId, row));
        }
        page.pageIndex = 2;
        page.segment = 2;
        const qint64 greyPage = fixture->addPage(deck, page);
        for (int index = 0; index < kGreyReds.size(); ++index) {
            FixtureDatabase::Row row;
            row.rowIndex = index + 1;
            row.code = QStringLiteral("G-%1").arg(index + 1);
            row.color = QColor(kGreyReds.at(index), 120, 120);
            QVERIFY(fixture->addRow(deck, greyPage, row) > 0);
        }
        page.pageIndex = 1;
        page.segment = 1;
        const qint64 otherPage = fixture->addPage(other, page);
        FixtureDatabase::Row row;
        row.code = QStringLiteral("O-1");
        row.color = QColor(90, 90, 30);
        QVERIFY(fixture->addRow(other, otherPage, row) > 0);

        // Swatch names are codes; the deck appends product codes (D-1: two).
        for (qint64 collection : {deck, other})
            fixture->addSetting(collection, QStringLiteral("color.tooltip.show.row.code"), 1);
        fixture->addSetting(deck, QStringLiteral("export.color.name.append.product.code"), 1);
        QVERIFY(fixture->exec(QStringLiteral("INSERT INTO PRODUCT(ID, NAME, PRODUCT_CODE) VALUES(1, 'Satin', 'A1'), "
                                             "(2, 'Gloss', 'B2')")));
        QVERIFY(fixture->exec(QStringLiteral("INSERT INTO ROW_PRODUCT_MAP(COLLECTION_ID, ROW_ID, PRODUCT_ID) "
                                             "VALUES(?, ?, 1), (?, ?, 2)"),
                              {deck, deckRows.at(0), deck, deckRows.at(0)}));
        for (int index = 0; index < 3; ++index) {
            row.rowIndex = index + 2;
            row.code = QStringList{QStringLiteral("X"), QStringLiteral("Y"), QStringLiteral("")}.at(index);
            row.color = QColor(255, 128, 0);
            chipsByCode.insert(row.code, DB::ItemIndex{kOther, otherPage, fixture->addRow(other, otherPage, row)});
        }
        for (int index = 0; index < deckRows.size(); ++index)
            chipsByCode.insert(QStringLiteral("D-%1").arg(index + 1), DB::ItemIndex{kDeck, deckPageId, deckRows.at(index)});
    }

    void init()
    {
        TestEnvironment::resetUserState();
        DB::scanCollectionFiles(DB::collectionRegistry(), true);
        CollectionSettings::setCurrentCollection(QUuid());
        use(kDeck);
    }

    void constructionAddsTheTwoButtonsAndTextsThatFollowTheCollection()
    {
        AddOnMainWindow window(QColor(1, 2, 3), QStringLiteral("/swatches"));
        QCOMPARE(AddOnMainWindow::current(), &window);
        QCOMPARE(MainWidgetAccess::current()->mainWidgetItself(), window.mainWidget());
        QCOMPARE(window.mainWidget()->parentWidget(), &window);
        QCOMPARE(window.size(), QSize(800, 600));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QCOMPARE(window.windowModality(), Qt::ApplicationModal);
        QCOMPARE(window.mainWidget()->taskButtonOrder(), (QList<quint16>{1, 2, 1000, 1001, 3}));
        QCOMPARE(selectButton(window)->text(), QStringLiteral("Use this colour"));
        QCOMPARE(swatchButton(window)->text(), QStringLiteral("Make swatches"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Deck colours"));
        QVERIFY(!window.chosenColor().isValid());

        window.mainWidget()->collectionChangedInteractively(kOther);
        QCOMPARE(selectButton(window)->text(), QStringLiteral("Take it"));
        QCOMPARE(swatchButton(window)->text(), QStringLiteral("Swatch file"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Other colours"));
        // The collection selector's choice travels the same way.
        Q_EMIT window.mainWidget()->collectionSelector()->collectionSelectedInteractively(kDeck);
        QCOMPARE(UserState::lastUsedCollection(), kDeck);
        QCOMPARE(selectButton(window)->text(), QStringLiteral("Use this colour"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Deck colours"));
    }

    void buttonStatesFollowClicksInMyPalette()
    {
        fillCells({{QPoint(0, 0), 0}, {QPoint(1, 0), 2}});
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

        // Emptying both selected cells leaves nothing to export.
        palette->eraseClicked();
        QVERIFY(!swatchButton(window)->isEnabled());
        QTest::mouseClick(palette, Qt::LeftButton, Qt::NoModifier, palette->cellRect(QPoint(1, 0)).center());
        QVERIFY(!selectButton(window)->isEnabled());
    }

    void selectButtonAcceptsWithTheCellColour()
    {
        fillCells({{QPoint(2, 1), 3}});
        selectCells({QPoint(2, 1)});
        // Not shown, so the host colour is never looked for.
        AddOnMainWindow window(QColor(10, 20, 30), QString());
        QSignalSpy accepted(&window, &QDialog::accepted);
        QVERIFY(selectButton(window)->isEnabled());
        QTest::mouseClick(selectButton(window), Qt::LeftButton, Qt::NoModifier, selectButton(window)->rect().center());
        QCOMPARE(accepted.count(), 1);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(window.chosenColor(), kChips.at(3));
    }

    void selectColorWithoutOneSelectedCell_data()
    {
        QTest::addColumn<QColor>("initial");
        QTest::addColumn<int>("result");
        QTest::addColumn<QColor>("chosen");
        QTest::newRow("host colour is returned") << QColor(10, 20, 30) << int(QDialog::Accepted) << QColor(10, 20, 30);
        QTest::newRow("transparent host colour rejects")
            << QColor(Qt::transparent) << int(QDialog::Rejected) << QColor(Qt::transparent);
    }

    void selectColorWithoutOneSelectedCell()
    {
        QFETCH(QColor, initial);
        QFETCH(int, result);
        QFETCH(QColor, chosen);
        fillCells({{QPoint(0, 0), 0}, {QPoint(1, 0), 1}});
        selectCells({QPoint(0, 0), QPoint(1, 0)});
        AddOnMainWindow window(initial, QString());
        window.selectColor();
        QCOMPARE(window.result(), result);
        QCOMPARE(window.chosenColor(), chosen);
    }

    void hostColourIsShownOnceAfterTheWindowAppears_data()
    {
        QTest::addColumn<QColor>("hostColour");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("row");
        QTest::newRow("chip colour turns the roller to it") << kChips.at(4) << 1 << 5;
        // No timer is started, so nothing can look later.
        QTest::newRow("transparent never looks") << QColor(Qt::transparent) << 2 << 6;
    }

    void hostColourIsShownOnceAfterTheWindowAppears()
    {
        QFETCH(QColor, hostColour);
        QFETCH(int, page);
        QFETCH(int, row);
        UserState::setPageIndex(kDeck, 2);
        UserState::setRowIndex(kDeck, 6);
        AddOnMainWindow window(hostColour, QString());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.findChildren<QTimer *>(Qt::FindDirectChildrenOnly).isEmpty());
        QCOMPARE(window.initialColorShown(), hostColour.alpha() > 0);
        window.showTimerExhausted();
        QVERIFY(window.initialColorShown());
        QCOMPARE(UserState::pageIndex(kDeck), page);
        QCOMPARE(UserState::rowIndex(kDeck), row);
        // Showing the window again does not look again.
        UserState::setRowIndex(kDeck, 1);
        window.hide();
        window.show();
        QCoreApplication::processEvents();
        QVERIFY(window.findChildren<QTimer *>(Qt::FindDirectChildrenOnly).isEmpty());
        QCOMPARE(UserState::rowIndex(kDeck), 1);
    }

    void twoWindowsInSequence()
    {
        for (int pick = 0; pick < 2; ++pick) {
            auto window = std::make_unique<AddOnMainWindow>(QColor(Qt::transparent), QString());
            QCOMPARE(AddOnMainWindow::current(), window.get());
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
            // The focus sits in an edit box when the window goes.
            QApplication::setActiveWindow(window.get());
            window->mainWidget()->search()->lineEdit()->setFocus();
            window->mainWidget()->collectionChangedInteractively(pick == 0 ? kOther : kDeck);
            QCOMPARE(window->windowTitle(), pick == 0 ? QStringLiteral("Other colours") : QStringLiteral("Deck colours"));
            window->reject();
            window.reset();
            QCOMPARE(AddOnMainWindow::current(), nullptr);
            QCOMPARE(MainWidgetAccess::current(), nullptr);
        }
    }

    void swatchExportWritesOneRecordPerColour_data()
    {
        QTest::addColumn<QUuid>("collection");
        QTest::addColumn<QString>("description");
        QTest::addColumn<CodedCells>("cells");
        QTest::addColumn<SwatchRecords>("records");
        QTest::addColumn<QString>("proposedName");
        const QRgb orange = qRgb(255, 128, 0);
        QTest::newRow("one colour") << kOther << QString() << CodedCells{{QPoint(2, 1), "X"}}
                                    << SwatchRecords{{orange, "X"}} << "Swatch.aco";
        QTest::newRow("duplicates named after the first cell row by row")
            << kOther << "  My set " << CodedCells{{QPoint(0, 1), "X"}, {QPoint(5, 0), "Y"}}
            << SwatchRecords{{orange, "Y"}} << "My set.aco";
        QTest::newRow("empty name") << kOther << " \t " << CodedCells{{QPoint(0, 0), ""}}
                                    << SwatchRecords{{orange, "RGB(255,128,0)"}} << "Swatch.aco";
        QTest::newRow("ascending colours, product codes appended")
            << kDeck << "set.aco" << CodedCells{{QPoint(0, 0), "D-1"}, {QPoint(1, 0), "D-3"}, {QPoint(0, 3), "D-2"}}
            << SwatchRecords{{qRgb(40, 40, 200), "D-3"}, {qRgb(40, 200, 40), "D-2"}, {qRgb(200, 40, 40), "D-1 - A1, B2"}}
            << "set.aco.aco";
    }

    void swatchExportWritesOneRecordPerColour()
    {
        QFETCH(QUuid, collection);
        QFETCH(QString, description);
        QFETCH(CodedCells, cells);
        QFETCH(SwatchRecords, records);
        QFETCH(QString, proposedName);
        use(collection);
        for (const auto &[cell, code] : cells)
            UserState::setMyPaletteEntry(cell.y(), cell.x(), chipsByCode.value(code));
        const QString folder = TestEnvironment::programData();
        AddOnMainWindow window(QColor(Qt::transparent), folder);
        window.mainWidget()->myPalette()->descriptionEdit()->setText(description);
        QTest::mouseClick(swatchButton(window), Qt::LeftButton, Qt::NoModifier, swatchButton(window)->rect().center());
        QFileDialog *dialog = window.swatchDialog();
        QVERIFY(dialog && dialog->isVisible());
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(dialog->selectedFiles().value(0), QDir(folder).filePath(proposedName));
        const QString path = QDir(folder).filePath(QStringLiteral("export.aco"));
        QFile::remove(path);
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->done(QDialog::Accepted);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QString error;
        QCOMPARE(readAcoFile(file.readAll(), error), records);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(window.swatchAlert()->isVisible());
        QCOMPARE(window.swatchAlert()->icon(), QMessageBox::Information);
        if (QTest::currentDataTag() == QByteArrayLiteral("one colour")) {
            file.seek(0);
            QCOMPARE(file.readAll().toHex(' '), QByteArray("00 02 00 01 00 00 ff ff 80 80 00 00 00 00 00 00 00 02 00 58 00 00"));
        }
    }

    void failedSwatchExportKeepsTheOldFileAndSaysWhy()
    {
        use(kOther);
        UserState::setMyPaletteEntry(0, 0, chipsByCode.value(QStringLiteral("X")));
        AddOnMainWindow window(QColor(Qt::transparent), QString());
        // A folder where the file should go.
        const QString path = TestEnvironment::programData() + QStringLiteral("/taken.aco");
        QVERIFY(QDir().mkpath(path + QStringLiteral("/inside")));
        window.createSwatch();
        window.swatchDialog()->selectFile(path);
        static_cast<QDialog *>(window.swatchDialog())->done(QDialog::Accepted);
        QVERIFY(QFileInfo(path).isDir() && QFileInfo::exists(path + QStringLiteral("/inside")));
        QVERIFY(window.swatchAlert()->isVisible());
        QCOMPARE(window.swatchAlert()->icon(), QMessageBox::Warning);
        QVERIFY2(window.swatchAlert()->text().contains(QDir::toNativeSeparators(path)),
                 qPrintable(window.swatchAlert()->text()));
    }
};

HUELINK_TEST_MAIN(AddOnMainWindowTest)
#include "AddOnMainWindowTest.moc"
