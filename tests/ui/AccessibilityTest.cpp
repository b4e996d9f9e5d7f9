#include "ui/harmonizer/HarmonizerFixture.h"

#include "state/UserState.h"
#include "ui/browse/CardRollerWidget.h"
#include "ui/browse/CollectionSelectWidget.h"
#include "ui/browse/ColorWheelWidget.h"
#include "ui/browse/MainWidget.h"
#include "ui/browse/MoodSelectWidget.h"
#include "ui/browse/SearchWidget.h"
#include "ui/browse/TabBarWidget.h"
#include "ui/catalog/ColorForesightWidget.h"
#include "ui/harmonizer/ColorSchemerPelvonWidget.h"
#include "ui/harmonizer/ColorSchemerWidget.h"
#include "ui/look/ImageButton.h"
#include "ui/look/TaskButton.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QAccessible>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

using namespace Tintor;
using namespace HarmonizerFixture;

class AccessibilityTest : public QObject
{
    Q_OBJECT

    Deck m_deck;
    MainWidget *m_main = nullptr;
    std::unique_ptr<MainWidget> m_owner;

    QWidget *view(const QString &name) const
    {
        const QHash<QString, QWidget *> views{
            {"collection selector", m_main->collectionSelector()}, {"wheel", m_main->colorWheel()},
            {"mood filter", m_main->moodFilter()}, {"card roller", m_main->cardRoller()},
            {"search box", m_main->search()->lineEdit()}, {"tab bar", m_main->tabBar()},
            {"schemes", m_main->colorSchemer()}, {"pelvon schemes", m_main->pelvonSchemer()},
            {"foresight", m_main->foresightView()}, {"My Palette", m_main->myPalette()},
            {"erase button", m_main->myPalette()->eraseButton()}, {"load button", m_main->taskButton(MainWidget::LoadButtonId)},
            {"palette description", m_main->myPalette()->descriptionEdit()}};
        return views.value(name);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_deck = build();
        QVERIFY(m_deck.file->exec(QStringLiteral("INSERT INTO LOCALE(COLLECTION_ID, LOCALE, \"KEY\", STRING) SELECT ID, 'en', "
                                                 "'tab.bar.color.schemes.caption', 'Schemes of CHIP' FROM COLLECTION WHERE SYSTEMID = 'CHIP'")));
    }

    void init()
    {
        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(kByChip);
        UserState::setPageIndex(kByChip, 1);
        UserState::setRowIndex(kByChip, 1);
        UserState::setTabPageIndex(kByChip, PageOfColorSchemes);
        m_owner = std::make_unique<MainWidget>(&m_main);
        m_main->show();
        m_main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_main));
    }

    void cleanup() { m_owner.reset(); }

    void viewsHaveNamesAndRoles_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<QString>("name"); // empty: any, as long as there is one
        const QList<std::tuple<const char *, QAccessible::Role, const char *>> rows{
            {"collection selector", QAccessible::ComboBox, "Collection"}, {"wheel", QAccessible::Dial, "Colour wheel"},
            {"mood filter", QAccessible::Grouping, "Mood filter"}, {"card roller", QAccessible::List, "Card roller"},
            {"search box", QAccessible::EditableText, "Search"}, {"tab bar", QAccessible::PageTabList, "Tabs"},
            {"schemes", QAccessible::List, "Schemes of CHIP"}, {"pelvon schemes", QAccessible::List, "Schemes of CHIP"},
            {"foresight", QAccessible::Client, "Colour foresight"}, {"My Palette", QAccessible::Table, "My Palette"},
            {"erase button", QAccessible::Button, "Erase"}, {"load button", QAccessible::Button, ""},
            {"palette description", QAccessible::EditableText, "Palette description"}};
        for (const auto &[view, role, name] : rows)
            QTest::newRow(view) << int(role) << QString::fromLatin1(name);
    }
    void viewsHaveNamesAndRoles()
    {
        QFETCH(int, role);
        QFETCH(QString, name);
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(view(QString::fromLatin1(QTest::currentDataTag())));
        QVERIFY(face);
        QCOMPARE(int(face->role()), role);
        QVERIFY(!face->text(QAccessible::Name).isEmpty());
        QVERIFY(!face->text(QAccessible::Description).isEmpty());
        if (!name.isEmpty())
            QCOMPARE(face->text(QAccessible::Name), name);
    }

    void namesFollowTheCollection()
    {
        m_main->collectionChangedInteractively(kPelvon);
        QCOMPARE(QAccessible::queryAccessibleInterface(m_main->colorSchemer())->text(QAccessible::Name), "Colour schemes");
    }

    // Keys move over chips, describe them and place them as a drop would; Ctrl+S still picks schemes.
    // (Offscreen there is no accessibility backend, so Qt drops the focus events themselves.)
    void keysAreAnnouncedAndPlaceChips()
    {
        ColorSchemerWidget *schemer = m_main->colorSchemer();
        schemer->setFocus();
        QTRY_VERIFY(schemer->hasFocus());
        QTest::keyClick(schemer, Qt::Key_Right);
        QCOMPARE(QAccessible::queryAccessibleInterface(schemer)->text(QAccessible::Description), "B1, CHIP");
        QTest::keyClick(schemer, Qt::Key_Return);
        MyPaletteWidget *palette = m_main->myPalette();
        QCOMPARE(palette->cellColorId(QPoint(0, 0)), m_deck.rows.value("B1"));
        QCOMPARE(UserState::myPaletteEntry(0, 0).colorId, m_deck.rows.value("B1"));
        QVERIFY(UserState::myPaletteCellSelected(0, 0));

        QTest::keySequence(m_main, QKeySequence(QStringLiteral("Ctrl+S, Ctrl+2")));
        QCOMPARE(UserState::schemeKind(kByChip), schemer->offeredKinds().at(1));

        QSignalSpy requests(m_main, &MainWidget::selectColorRequested);
        palette->setFocus();
        QTRY_VERIFY(palette->hasFocus());
        QTest::keyClick(palette, Qt::Key_Right);
        QCOMPARE(palette->accessibleDescription(), "Empty cell, row 1, column 2");
        QTest::keyClick(palette, Qt::Key_Return);
        QCOMPARE(requests.size(), 1);
    }
};

HUELINK_TEST_MAIN(AccessibilityTest)
#include "AccessibilityTest.moc"
