#include "ui/harmonizer/HarmonizerFixture.h"
#include "ui/palette/PaletteFixture.h"

#include "db/NavigationQueries.h"
#include "ui/browse/MainWidget.h"
#include "ui/browse/SearchWidget.h"
#include "ui/harmonizer/ColorSchemerWidget.h"
#include "ui/look/ImageButton.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QAccessible>
#include <QLineEdit>
#include <QtTest>

using namespace Tintor;
using namespace HarmonizerFixture;
using namespace PaletteFixture;
using CellList = QList<QPoint>;

// Keys of My Palette, schemes and trend chips; what assistive technology reads of every view.
class KeyboardAccessibilityTest : public QObject {
    Q_OBJECT

    Collections m_collections;
    Deck m_deck;
    MainWidget *m_main = nullptr;
    std::unique_ptr<MainWidget> m_owner;

    // Runs `action` on a palette with chips in (0,0), (1,0), (0,1); gives signal counts and stored cells.
    template <typename Action> QStringList run(const CellList &selected, bool enabled, Action action)
    {
        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(kDeck);
        for (int chip = 0; chip < 3; ++chip)
            UserState::setMyPaletteEntry(chip / 2, chip % 2, deckItem(m_collections, chip));
        for (const QPoint &cell : selected)
            UserState::setMyPaletteCellSelected(cell.y(), cell.x(), true);
        MyPaletteWidget palette;
        palette.resize(400, 200);
        palette.show();
        palette.setEnabled(enabled);
        QSignalSpy changed(&palette, &MyPaletteWidget::myPaletteChanged);
        QSignalSpy selection(&palette, &MyPaletteWidget::myPaletteSelectionChanged);
        QSignalSpy requests(&palette, &MyPaletteWidget::selectColorRequested);
        action(palette);
        QStringList outcome {
            QStringLiteral("signals %1 %2 %3").arg(changed.size()).arg(selection.size()).arg(requests.size())
        };
        for (int index = 0; index < 24; ++index)
            outcome << UserState::myPaletteEntry(index / 6, index % 6).toText()
                    + (UserState::myPaletteCellSelected(index / 6, index % 6) ? "+" : "");
        return outcome;
    }

    void open(const QUuid &collection, int page, int tab, bool paletteChip = false)
    {
        TestEnvironment::resetUserState();
        // A selected chip enables every header button of My Palette.
        UserState::setMyPaletteEntry(0, 0, paletteChip ? deckItem(m_collections, 0) : DB::ItemIndex());
        UserState::setMyPaletteCellSelected(0, 0, paletteChip);
        UserState::setLastUsedCollection(collection);
        UserState::setPageIndex(collection, page);
        UserState::setRowIndex(collection, 1);
        UserState::setTabPageIndex(collection, tab);
        m_owner = std::make_unique<MainWidget>(&m_main);
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main));
    }
    // A view by its class, or one of the named parts.
    QWidget *view(const QString &name) const
    {
        const QHash<QString, QWidget *> parts { { "search box", m_main->search()->lineEdit() },
            { "erase button", m_main->myPalette()->eraseButton() },
            { "palette description", m_main->myPalette()->descriptionEdit() } };
        for (QWidget *child : m_main->findChildren<QWidget *>()) {
            if (QLatin1String(child->metaObject()->className()) == "Tintor::" + name)
                return child;
        }
        return parts.value(name);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_collections = create();
        m_deck = build();
        m_deck.file->addLocale(1, "tab.bar.color.schemes.caption", "Schemes of CHIP");
        // A trend group of the chip deck: a chip of the collection, then a colour of none.
        QVERIFY(m_deck.file->exec(
            QStringLiteral("INSERT INTO FORESIGHT_GROUP(ID, COLLECTION_ID, NAME, DEFAULT_OPEN, \"ORDER\") "
                           "VALUES (5, 1, 'Trends', 1, 1)")));
        QVERIFY(m_deck.file->exec(
            QStringLiteral("INSERT INTO FORESIGHT_ENTRY(COLLECTION_ID, FORESIGHT_GROUP_ID, ROW_ID, NAME_1, "
                           "\"ORDER\") VALUES (0, 5, ?, 'Moss', 1), (0, 5, NULL, 'Mist', 2)"),
            { m_deck.rows.value("B1") }));
    }
    void cleanup() { m_owner.reset(); }

    void viewsHaveNamesAndRoles_data()
    {
        QTest::addColumn<QString>("expected"); // role, then name
        QTest::newRow("CollectionSelectWidget") << "ComboBox Collection";
        QTest::newRow("ColorWheelWidget") << "Dial Colour wheel";
        QTest::newRow("MoodSelectWidget") << "Grouping Mood filter";
        QTest::newRow("CardRollerWidget") << "List Card roller";
        QTest::newRow("search box") << "EditableText Search";
        QTest::newRow("TabBarWidget") << "PageTabList Tabs";
        QTest::newRow("ColorSchemerWidget") << "List Schemes of CHIP";
        QTest::newRow("ColorSchemerPelvonWidget") << "List Schemes of CHIP";
        QTest::newRow("ColorForesightWidget") << "Client Colour foresight";
        QTest::newRow("MyPaletteWidget") << "Table My Palette";
        QTest::newRow("erase button") << "Button Erase";
        QTest::newRow("palette description") << "EditableText Palette description";
    }
    void viewsHaveNamesAndRoles()
    {
        QFETCH(QString, expected);
        open(kByChip, 1, PageOfColorSchemes);
        QAccessibleInterface *face
            = QAccessible::queryAccessibleInterface(view(QString::fromLatin1(QTest::currentDataTag())));
        QVERIFY(face);
        QCOMPARE(
            QMetaEnum::fromType<QAccessible::Role>().valueToKey(face->role()) + (' ' + face->text(QAccessible::Name)),
            expected);
        QVERIFY(!face->text(QAccessible::Description).isEmpty());
        m_main->collectionChangedInteractively(kPelvon);
        QCOMPARE(
            QAccessible::queryAccessibleInterface(m_main->colorSchemer())->text(QAccessible::Name), "Colour schemes");
    }

    // Tab reaches every control in the order docs/keyboard.md gives, and each shows that it has the focus.
    void tabWalksTheWindowMarkingEachStop()
    {
        open(kByChip, 1, PageOfColorSchemes, true);
        QWidget *first = view("CollectionSelectWidget");
        first->setFocus(Qt::TabFocusReason);
        QList<QWidget *> stops;
        QStringList names;
        for (QWidget *stop = first; stops.size() < 40 && !stops.contains(stop); stop = QApplication::focusWidget()) {
            stops << stop;
            names << QString::fromLatin1(stop->metaObject()->className()).remove("Tintor::");
            QTest::keyClick(stop, Qt::Key_Tab);
        }
        QCOMPARE(names.join(' '),
            "CollectionSelectWidget ColorWheelWidget MoodSelectWidget CardRollerWidget QLineEdit RollButton RollButton "
            "ColorSchemerWidget TabBarWidget ImageButton ImageButton ImageButton ImageButton MyPaletteWidget "
            "KeyFocusLineEdit TaskButton TaskButton HelpButton");
        QCOMPARE(stops.value(4), m_main->search()->lineEdit());
        QCOMPARE(stops.value(14), m_main->myPalette()->descriptionEdit());
        for (QWidget *stop : std::as_const(stops)) {
            // The search box's mark lies on its frame, round the text.
            const QWidget *shown = stop == stops.value(4) ? m_main->search() : stop;
            const QRect area = QRect(shown->mapTo(m_main, QPoint()), shown->size()).adjusted(-2, -2, 2, 2);
            stop->setFocus(Qt::TabFocusReason);
            const QImage focused = m_main->grab(area).toImage();
            m_main->setFocus(Qt::OtherFocusReason);
            QVERIFY2(focused != m_main->grab(area).toImage(), stop->metaObject()->className());
        }
    }

    // Enter puts the chip the arrows reached into My Palette, as a drop of it would; "-": view disabled.
    void enterPlacesTheFocusedChip_data()
    {
        QTest::addColumn<QString>("row"); // view, card, keys, chip placed or "none"
        QTest::newRow("scheme, next line") << "ColorSchemerWidget 1 Right,Right,Down,Return C2";
        QTest::newRow("scheme, no chips") << "ColorSchemerWidget 2 Right,Return none";
        QTest::newRow("scheme, disabled") << "-ColorSchemerWidget 1 Right,Return none";
        QTest::newRow("pelvon, middle") << "ColorSchemerPelvonWidget 1 Right,Right,Return T0";
        QTest::newRow("foresight, a chip") << "ColorForesightWidget 1 Right,Return B1";
        QTest::newRow("foresight, no chip") << "ColorForesightWidget 1 Right,Right,Return none";
    }
    void enterPlacesTheFocusedChip()
    {
        QFETCH(QString, row);
        const QStringList parts = row.split(' ');
        const QString view = parts[0].mid(row.startsWith('-') ? 1 : 0);
        const QUuid collection = view.contains("Pelvon") ? kPelvon : kByChip;
        open(collection, parts[1].toInt(), view.contains("Foresight") ? PageOfColorForesight : PageOfColorSchemes);
        QWidget *target = this->view(view);
        target->setEnabled(!row.startsWith('-'));
        QTest::keySequence(target, QKeySequence(parts[2]));
        QCOMPARE(m_main->myPalette()->cellColorId(QPoint(0, 0)), m_deck.rows.value(parts[3], -1));
        if (parts[3] != "none")
            QCOMPARE(target->accessibleDescription(), parts[3] + (collection == kPelvon ? ", PELVON" : ", CHIP"));
    }

    // Each key leaves the stored state and signals its mouse action leaves.
    void keyActsAsMouse_data()
    {
        QTest::addColumn<CellList>("selected");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QPoint>("click"); // (-1, -1): the erase button; (-2, -2): nothing
        QTest::addColumn<int>("modifiers");
        const CellList two { { 0, 0 }, { 2, 2 } };
        QTest::newRow("Space selects alone, arrows stop at the edge") << two << "Up,Right,Space" << QPoint(1, 0) << 0;
        QTest::newRow("Ctrl+Space adds") << two << "Down,Ctrl+Space" << QPoint(0, 1) << int(Qt::ControlModifier);
        QTest::newRow("Ctrl+Space removes") << two << "Ctrl+Space" << QPoint(0, 0) << int(Qt::ControlModifier);
        QTest::newRow("Shift+arrow") << two << "Shift+Right" << QPoint(1, 0) << int(Qt::ShiftModifier);
        QTest::newRow("Delete erases") << CellList { { 0, 0 }, { 5, 3 } } << "Delete" << QPoint(-1, -1) << 0;
        QTest::newRow("Delete, no chip selected") << CellList { { 5, 3 } } << "Delete" << QPoint(-1, -1) << 0;
        QTest::newRow("disabled") << two << "Space,Ctrl+Space,Delete,Return" << QPoint(-2, -2) << -1;
    }
    void keyActsAsMouse()
    {
        QFETCH(CellList, selected);
        QFETCH(QString, keys);
        QFETCH(QPoint, click);
        QFETCH(int, modifiers);
        const QStringList byKeys = run(selected, modifiers >= 0,
            [&keys](MyPaletteWidget &palette) { QTest::keySequence(&palette, QKeySequence(keys)); });
        QCOMPARE(byKeys, run(selected, modifiers >= 0, [&](MyPaletteWidget &palette) {
            if (click.x() == -1)
                QTest::mouseClick(palette.eraseButton(), Qt::LeftButton);
            else if (click.x() >= 0)
                QTest::mouseClick(
                    &palette, Qt::LeftButton, Qt::KeyboardModifiers(modifiers), palette.cellRect(click).center());
        }));
    }

    // Into the first selected cell, else the first empty one, else nowhere; then Enter asks for the cell's colour.
    void placeChip()
    {
        DB::ColorEntry chip;
        QCOMPARE(DB::entryById(kPlainDeck, m_collections.plainRows.at(1), chip), 0);
        const std::tuple<CellList, int, QPoint> rows[] = { // fill: cells filled row-major first
            { { { 4, 2 }, { 1, 1 } }, 3, { 1, 1 } }, { {}, 3, { 3, 0 } }, { {}, 24, { -1, -1 } }
        };
        for (const auto &[selected, fill, target] : rows) {
            bool placed = false;
            const QStringList outcome = run(selected, true, [&](MyPaletteWidget &palette) {
                for (int index = 0; index < fill; ++index)
                    UserState::setMyPaletteEntry(index / 6, index % 6, deckItem(m_collections, index % 8));
                palette.selectedCollectionChanged(kDeck);
                placed = palette.placeChip(kPlainDeck, chip);
                QTest::keyClick(&palette, Qt::Key_Return);
            });
            QCOMPARE(placed, target.x() >= 0);
            QCOMPARE(outcome.first(), placed ? "signals 1 1 1" : "signals 0 0 1");
            // Only the target is selected, and it holds the chip.
            QCOMPARE(outcome.join(' ').count('+'), placed ? 1 : 0);
            const DB::ItemIndex item { kPlainDeck, m_collections.plainPageId, chip.id };
            QCOMPARE(outcome.value(1 + target.y() * 6 + target.x()), placed ? item.toText() + "+" : QString());
        }
    }
};

HUELINK_TEST_MAIN(KeyboardAccessibilityTest)
#include "KeyboardAccessibilityTest.moc"
