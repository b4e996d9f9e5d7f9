// Keys do what their clicks do and nothing in a disabled or empty view; Tab walks the views as seen.
#include "db/CollectionRegistry.h"
#include "state/UserState.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"
#include "ui/browse/CardRollerWidget.h"
#include "ui/browse/CollectionSelectWidget.h"
#include "ui/browse/ColorWheelWidget.h"
#include "ui/browse/MainWidget.h"
#include "ui/browse/MoodSelectWidget.h"
#include "ui/browse/RollButton.h"
#include "ui/browse/SearchWidget.h"
#include "ui/browse/TabBarWidget.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

using namespace Tintor;

namespace {

const QUuid kDeck(QStringLiteral("{7b000000-0000-0000-0000-000000000001}"));
const QUuid kPelvon(QStringLiteral("{7b000000-0000-0000-0000-000000000002}"));
const QUuid kEmpty(QStringLiteral("{7b000000-0000-0000-0000-000000000003}"));

// The views with keys, then the search box whose roll buttons the roller's keys stand for.
enum View { RollerView, WheelView, MoodView, TabsView, SelectorView, SearchView };
QWidget *viewOf(MainWidget *m, int view)
{
    return QList<QWidget *>{m->cardRoller(), m->colorWheel(), m->moodFilter(), m->tabBar(), m->collectionSelector(), m->search()}[view];
}

using Act = std::function<void(MainWidget *)>;
using Spot = std::function<QPoint(MainWidget *)>;
Act clickAt(int view, Spot at) { return [=](MainWidget *m) { QTest::mouseClick(viewOf(m, view), Qt::LeftButton, {}, at(m)); }; }
Act chip(int n) { return clickAt(RollerView, [n](MainWidget *m) { return m->cardRoller()->chipRect(1, n).center(); }); }
Act roll(Direction way, int times) { return [=](MainWidget *m) { for (int i = 0; i < times; ++i) m->search()->rollButton(way)->click(); }; }
Act segment(int s)
{
    return clickAt(WheelView, [s](MainWidget *m) {
        return ColorWheelWidget::pointAt(m->colorWheel()->wheelCenter(), m->colorWheel()->needleAngle(s), 30).toPoint();
    });
}

struct Binding { const char *name; QUuid collection; int page, row, view; QString keys; Act click; bool sameSignals = true; };
const QList<Binding> kBindings = {
    {"roller Down: the chip below", kDeck, 1, 1, RollerView, "Down", chip(1)},
    {"roller Up: the chip above", kDeck, 1, 3, RollerView, "Up", chip(1)},
    {"roller Down passes a hidden made-to-order chip", kPelvon, 1, 1, RollerView, "Down", chip(2)},
    {"roller Left rolls back", kDeck, 2, 2, RollerView, "Left", roll(Backward, 1)},
    {"roller Right rolls into the next segment", kDeck, 3, 2, RollerView, "Right", roll(Forward, 1)},
    {"roller End: last card of the segment", kDeck, 1, 1, RollerView, "End", roll(Forward, 2), false},
    {"roller Home: first card of the segment", kDeck, 3, 1, RollerView, "Home", roll(Backward, 2), false},
    {"roller Return: into My Palette as Ctrl+D", kDeck, 2, 3, RollerView, "Return",
     [](MainWidget *m) { QTest::keyClick(m, Qt::Key_D, Qt::ControlModifier); }},
    {"wheel Right: the next segment", kDeck, 1, 1, WheelView, "Right", segment(2)},
    {"wheel Left: the segment before", kDeck, 4, 1, WheelView, "Left", segment(1)},
    {"mood Space on calm", kDeck, 1, 1, MoodView, "Right,Space", clickAt(MoodView, [](MainWidget *m) { return m->moodFilter()->moodRect(MoodCalm).center(); })},
    {"mood Space on exterior colours", kDeck, 1, 1, MoodView, "Right,Right,Right,Right,Right,Right,Right,Space",
     clickAt(MoodView, [](MainWidget *m) { return m->moodFilter()->currentLayout().exteriorItem.center(); })},
    {"mood Space on made-to-order", kPelvon, 1, 1, MoodView, "Space", clickAt(MoodView, [](MainWidget *m) { return m->moodFilter()->currentLayout().mtoItem.center(); })},
    {"tabs Right: the next tab", kDeck, 1, 1, TabsView, "Right", clickAt(TabsView, [](MainWidget *m) { return m->tabBar()->tabRect(PageOfProducts).center(); })},
    {"selector Space opens the list", kDeck, 1, 1, SelectorView, "Space", [](MainWidget *m) { m->collectionSelector()->dropDownButtonClicked(); }},
};

} // namespace

class BrowseKeyboardTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainWidget> main;
    std::vector<std::unique_ptr<QSignalSpy>> spies;

    MainWidget *start(const QUuid &collection, int page, int row)
    {
        spies.clear();
        main.reset();
        TestEnvironment::resetUserState();
        UserState::setLastUsedCollection(collection);
        UserState::setSegmentIndex(collection, page < 4 ? 1 : page - 2);
        UserState::setPageIndex(collection, page);
        UserState::setRowIndex(collection, row);
        main = std::make_unique<MainWidget>(nullptr);
        main->show();
        QApplication::setActiveWindow(main.get());
        for (int view = RollerView; view <= SearchView; ++view) {
            const QMetaObject *meta = viewOf(main.get(), view)->metaObject();
            for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
                if (meta->method(i).methodType() == QMetaMethod::Signal)
                    spies.push_back(std::make_unique<QSignalSpy>(viewOf(main.get(), view), meta->method(i)));
        }
        return QTest::qWaitForWindowActive(main.get()) ? main.get() : nullptr;
    }

    // The stored position, filters and tab, whether the list is open, My Palette's selected chips; then the signals.
    QStringList state() const
    {
        const QUuid c = UserState::lastUsedCollection();
        QStringList all{c.toString()};
        for (const int value : {UserState::segmentIndex(c), UserState::pageIndex(c), UserState::rowIndex(c), UserState::moodFilter(c),
                                int(UserState::exteriorColors(c)), int(UserState::showMto(c)), UserState::tabPageIndex(c),
                                int(main->collectionSelector()->collectionList()->isVisible())})
            all << QString::number(value);
        for (int n = 0; n < main->myPalette()->selectedCellCount(); ++n)
            all << main->myPalette()->cellItem(main->myPalette()->selectedCell(n)).toText();
        for (const auto &spy : spies)
            for (const QVariantList &call : *spy)
                all << spy->signal() + QVariant(call).toStringList().join(QLatin1Char(' '));
        return all;
    }

    void type(int view, const QString &keys)
    {
        for (const QString &part : keys.split(QLatin1Char(',')))
            QTest::keyClick(viewOf(main.get(), view), QKeySequence(part)[0].key());
    }

private Q_SLOTS:
    void initTestCase()
    {
        FixtureDatabase fixture(TestEnvironment::collectionFolder() + QStringLiteral("/keys.db"));
        const qint64 deck = fixture.addCollection(kDeck, QStringLiteral("DECK"), 1, true, QStringLiteral("Deck"));
        const qint64 pelvon = fixture.addCollection(kPelvon, QStringLiteral("PELVON"), 2, true, QStringLiteral("Pelvon"));
        fixture.addCollection(kEmpty, QStringLiteral("EMPTY"), 3, true, QStringLiteral("Empty"));
        for (const auto &[collection, key, value] : {std::tuple{deck, "card.type", QVariant("normal")}, {pelvon, "card.type", "pelvon"},
                                                     {deck, "has.product.groups.page", 1}, {deck, "segment.increment.orientation", "CW"}})
            fixture.addSetting(collection, QLatin1String(key), value);
        // Cards 1 to 3 on segment 1, 4 and 5 on 2 and 3, moods fresh to rich, then fresh; each second chip is made to order.
        for (int page = 1; page <= 5; ++page) {
            for (const qint64 collection : {deck, pelvon}) {
                const qint64 id = fixture.addPage(collection, FixtureDatabase::Page(page, page < 4 ? 1 : page - 2, {}, false, page % 5 + page / 5));
                for (int row = 1; row <= 3; ++row) {
                    FixtureDatabase::Row chip(row, QStringLiteral("K%1-%2").arg(page).arg(row), QColor(40 * page, 60 * row, 9));
                    chip.madeToOrder = row == 2;
                    fixture.addRow(collection, id, chip);
                }
            }
        }
        DB::scanCollectionFiles(DB::collectionRegistry(), true);
    }

    void keyDoesWhatItsClickDoes_data()
    {
        QTest::addColumn<int>("binding");
        for (int i = 0; i < kBindings.size(); ++i)
            QTest::newRow(kBindings.at(i).name) << i;
    }

    void keyDoesWhatItsClickDoes()
    {
        QFETCH(int, binding);
        const Binding &b = kBindings.at(binding);
        QVERIFY(start(b.collection, b.page, b.row));
        const QStringList before = state();
        type(b.view, b.keys);
        const QStringList keyed = state().mid(0, b.sameSignals ? -1 : before.size());
        QVERIFY(start(b.collection, b.page, b.row));
        b.click(main.get());
        QCOMPARE(keyed, state().mid(0, b.sameSignals ? -1 : before.size()));
        QVERIFY(keyed != before);
        // Disabled, or for the roller and wheel without a card to show: neither the keys nor Ctrl+D change anything.
        for (const QUuid &collection : b.view <= WheelView ? QList<QUuid>{kDeck, kEmpty} : QList<QUuid>{kDeck}) {
            QVERIFY(start(collection, b.page, b.row));
            for (const int view : {b.view, int(RollerView)})
                viewOf(main.get(), view)->setEnabled(collection != kDeck);
            const QStringList unchanged = state();
            type(b.view, b.keys);
            QTest::keyClick(main.get(), Qt::Key_D, Qt::ControlModifier);
            QCOMPARE(state(), unchanged);
        }
    }

    void keysReadOutTheMarkedChipAndMood()
    {
        QVERIFY(start(kDeck, 1, 1));
        main->cardRoller()->setFocus();
        type(RollerView, QStringLiteral("Down"));
        QVERIFY2(main->cardRoller()->accessibleDescription().startsWith(QStringLiteral("K1-2")),
                 qPrintable(main->cardRoller()->accessibleDescription()));
        type(MoodView, QStringLiteral("Right"));
        QCOMPARE(main->moodFilter()->accessibleDescription(), QStringLiteral("Calm"));
    }

    void tabWalksTheViewsAsSeenAndEachShowsItsFocus()
    {
        QVERIFY(start(kDeck, 1, 1));
        QHash<QWidget *, QImage> unfocused;
        for (int view = RollerView; view <= SelectorView; ++view)
            unfocused.insert(viewOf(main.get(), view), viewOf(main.get(), view)->grab().toImage());
        const QList<QWidget *> expected{main->collectionSelector(), main->colorWheel(), main->moodFilter(), main->cardRoller(),
                                        main->search()->lineEdit(), main->tabBar(), main->myPalette()->descriptionEdit()};
        qsizetype next = 0;
        for (int step = 0; step < 40 && next < expected.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *now = QApplication::focusWidget();
            QVERIFY(!unfocused.contains(now) || now->grab().toImage() != unfocused.value(now));
            next += now == expected.at(next) ? 1 : 0;
        }
        QCOMPARE(next, expected.size());
    }
};

HUELINK_TEST_MAIN(BrowseKeyboardTest)
#include "BrowseKeyboardTest.moc"
