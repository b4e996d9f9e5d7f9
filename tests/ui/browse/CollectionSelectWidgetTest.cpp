#include "ui/browse/CollectionSelectWidget.h"

#include "state/UserState.h"
#include "ui/browse/BrowseFixture.h"
#include "ui/browse/DropDownButton.h"
#include "ui/look/ImageButton.h"
#include "ui/look/ProgramFont.h"

#include <QLineEdit>
#include <QListWidget>

using namespace Tintor;
using namespace BrowseFixture;

namespace {

// Drawn images pass through PNG and premultiplied formats on their way.
bool isCloseTo(const QColor &actual, const QColor &expected)
{
    return qAbs(actual.red() - expected.red()) <= 2 && qAbs(actual.green() - expected.green()) <= 2
        && qAbs(actual.blue() - expected.blue()) <= 2;
}

} // namespace

class CollectionSelectWidgetTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> m_window;
    CollectionSelectWidget *m_selector = nullptr;
    QLineEdit *m_other = nullptr;

    QListWidget *openList()
    {
        m_selector->dropDownButtonClicked();
        QListWidget *list = m_selector->collectionList();
        return QTest::qWaitFor([list] { return list->hasFocus(); }) ? list : nullptr;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(create()); }

    void init()
    {
        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(kExterior);
        // The main widget's stand-in: the list is the selector's sibling.
        m_window = std::make_unique<QWidget>();
        m_window->resize(400, 260);
        m_selector = new CollectionSelectWidget(m_window.get());
        m_selector->move(10, 40);
        m_other = new QLineEdit(m_window.get());
        m_other->setGeometry(300, 0, 90, 20);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }

    void cleanup() { m_window.reset(); }

    void showsTheCollectionAndTheButton()
    {
        QVERIFY(m_selector->minimumSize() == QSize(234, 30) && m_selector->maximumSize() == QSize(234, 30));
        QCOMPARE(m_selector->font(), programFont(FontStyle::Normal, 3));
        QCOMPARE(m_selector->textColor(), kSelectorTextColor);
        DropDownButton *button = m_selector->dropDownButton();
        QVERIFY(!button->isHidden() && button->isClosed());
        // Margin (30 - 20) / 2 = 5; right edge 233 - 5; centred in rows 5 to 24.
        QCOMPARE(button->geometry(), QRect(208, 5, 20, 20));
        QCOMPARE(m_selector->textRect(), QRect(0, 0, 208, 30));
        // The button blends in: its background is the selector's under it.
        QCOMPARE(button->backgroundImage().convertToFormat(QImage::Format_ARGB32),
            barBackground().copy(button->geometry()).convertToFormat(QImage::Format_ARGB32));
        QListWidget *list = m_selector->collectionList();
        QCOMPARE(list->parentWidget(), m_window.get());
        QVERIFY(list->isHidden());
        QCOMPARE(list->count(), 3);
        const QList<QPair<QUuid, QString>> expected
            = { { kInterior, kInteriorName }, { kExterior, kExteriorName }, { kOil, kOilName } };
        for (int row = 0; row < list->count(); ++row) {
            QCOMPARE(QUuid(list->item(row)->data(Qt::UserRole).toString()), expected.at(row).first);
            QCOMPARE(list->item(row)->text(), expected.at(row).second);
            QCOMPARE(list->item(row)->sizeHint(), QSize(0, 28));
        }
        QCOMPARE(m_selector->collectionName(), kExteriorName);
        m_selector->selectedCollectionChanged(kOil);
        QCOMPARE(m_selector->collectionName(), kOilName);
        // A collection that cannot be loaded keeps the former name.
        m_selector->selectedCollectionChanged(QUuid(QStringLiteral("{3f000000-0000-0000-0000-00000000003f}")));
        QCOMPARE(m_selector->collectionName(), kOilName);
        QVERIFY(setSecondFileEnabled(false));
        QCOMPARE(DB::collectionUuidsByOrder().size(), 1);
        UserState::setLastUsedCollection(kInterior);
        CollectionSelectWidget single(m_window.get());
        QVERIFY(setSecondFileEnabled(true));
        QVERIFY(single.dropDownButton()->isHidden());
        QCOMPARE(single.textRect(), QRect(0, 0, 234, 30));
        QCOMPARE(single.collectionList()->count(), 1);
        QCOMPARE(single.collectionName(), kInteriorName);
    }

    void listOpensOnTheCurrentCollectionAndReportsThePick()
    {
        // Clicking another collection, or the current one again, reports it once.
        for (const auto &[row, collection] : QList<QPair<int, QUuid>> { { 2, kOil }, { 1, kExterior } }) {
            QSignalSpy chosen(m_selector, &CollectionSelectWidget::collectionSelectedInteractively);
            QListWidget *list = openList();
            QVERIFY(list);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
            QCOMPARE(chosen, (QList<QVariantList> { { collection } }));
            QVERIFY(list->isHidden() && m_selector->dropDownButton()->isClosed());
            // Reporting is all: the stored collection is the receiver's to change.
            QCOMPARE(UserState::lastUsedCollection(), kExterior);
            QCOMPARE(m_selector->collectionName(), kExteriorName);
        }
        QSignalSpy chosen(m_selector, &CollectionSelectWidget::collectionSelectedInteractively);
        DropDownButton *button = m_selector->dropDownButton();
        // The arrows (12 x 10) are centred; their middle pixel is inside both.
        const QPoint middle((20 - 12) / 2 + 6, (20 - 10) / 2 + 5);
        QVERIFY(isCloseTo(button->grab().toImage().pixelColor(middle), QColor(70, 70, 70)));
        QVERIFY(isCloseTo(button->grab().toImage().pixelColor(1, 1), barBackground().pixelColor(208, 5)));
        QListWidget *list = m_selector->collectionList();
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(list->hasFocus());
        QCOMPARE(list->geometry(), QRect(10, 70, 234, 128));
        QVERIFY(!button->isClosed());
        QVERIFY(isCloseTo(button->grab().toImage().pixelColor(middle), QColor(200, 40, 40)));
        QCOMPARE(list->selectedItems().size(), 1);
        QCOMPARE(QUuid(list->selectedItems().first()->data(Qt::UserRole).toString()), kExterior);
        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_VERIFY(list->isHidden());
        QVERIFY(button->isClosed());
        // Changed behind the selector's back: it must not have kept a copy.
        UserState::setLastUsedCollection(kOil);
        QVERIFY(openList());
        QCOMPARE(list->selectedItems().size(), 1);
        QCOMPARE(QUuid(list->selectedItems().first()->data(Qt::UserRole).toString()), kOil);
        QCOMPARE(list->currentItem(), list->selectedItems().first());
        m_other->setFocus();
        QTRY_VERIFY(list->isHidden());
        QVERIFY(button->isClosed());
        QCOMPARE(chosen.count(), 0);
        QVERIFY(openList());
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(chosen, (QList<QVariantList> { { kInterior } }));
        QVERIFY(list->isHidden());
        // Only Space, Return, Enter and Alt+Down open the list.
        QTest::keyClick(m_selector, Qt::Key_X);
        QVERIFY(list->isHidden());
    }

    void capsureButtonFollowsTheMeasurementFileAndImports()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("measurement.cxf"));
        ImageButton *capsure = m_selector->capsureButton();
        DropDownButton *dropDown = m_selector->dropDownButton();
        const auto makeFree = [&] {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        };
        m_selector->capsureFileChanged(path);
        QVERIFY(capsure->isHidden() && !QFile::exists(path));
        QVERIFY(m_selector->capsureFileName().isEmpty());

        // Free: shown at the right end, pulsing, the drop-down button moves left.
        makeFree();
        m_selector->capsureFileChanged(path);
        QVERIFY(!capsure->isHidden() && capsure->isPulsing());
        QCOMPARE(m_selector->capsureFileName(), path);
        QTRY_COMPARE(capsure->geometry(), QRect(208, 5, 20, 20));
        QCOMPARE(dropDown->geometry(), QRect(186, 5, 20, 20));
        QCOMPARE(m_selector->textRect().right(), 185);
        QCOMPARE(capsure->normalImage().convertToFormat(QImage::Format_ARGB32),
            filled(16, 16, QColor(60, 160, 230)).convertToFormat(QImage::Format_ARGB32));

        // Still being written (cannot be opened for writing): hidden again, the name kept.
        QVERIFY(QFile::remove(path) && QDir().mkdir(path));
        m_selector->capsureFileChanged(path);
        QVERIFY(capsure->isHidden() && !capsure->isPulsing());
        QCOMPARE(m_selector->capsureFileName(), path);
        QTRY_COMPARE(dropDown->geometry(), QRect(208, 5, 20, 20));
        // Back at full opacity once its last fade-in has run.
        QTRY_VERIFY(!capsure->graphicsEffect());

        // Free again later: back, with its pulse; a click runs the import.
        QVERIFY(QDir().rmdir(path));
        makeFree();
        m_selector->capsureFileChanged(path);
        QVERIFY(!capsure->isHidden() && capsure->isPulsing());
        QString importedFile;
        DB::ColorEntry entry;
        entry.id = 77;
        // Found chips carry their collection's ID in the file holding the system-wide collection.
        entry.collectionId = DB::collectionDatabaseId(kInterior);
        bool accept = false;
        m_selector->setCapsureImport([&](QWidget *parent, const QString &fileName, DB::ColorEntry &chosen) {
            importedFile = fileName;
            chosen = entry;
            return parent == m_selector && accept;
        });
        QSignalSpy reported(m_selector, &CollectionSelectWidget::capsureItemSelectedInteractively);
        QTRY_VERIFY(capsure->isVisible());
        // Dialog closed without a pick: nothing reported, the pulse ends.
        QTest::mouseClick(capsure, Qt::LeftButton);
        QCOMPARE(importedFile, path);
        QCOMPARE(reported.count(), 0);
        QVERIFY(!capsure->isPulsing());
        accept = true;
        QTest::mouseClick(capsure, Qt::LeftButton);
        QCOMPARE(reported.count(), 1);
        QCOMPARE(reported.first().at(0).toUuid(), kInterior);
        QCOMPARE(reported.first().at(1).value<DB::ColorEntry>().id, qint64(77));
        QVERIFY(!capsure->isHidden());
    }
};

HUELINK_TEST_MAIN(CollectionSelectWidgetTest)
#include "CollectionSelectWidgetTest.moc"
