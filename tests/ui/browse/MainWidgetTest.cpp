#include "ui/browse/MainWidget.h"
#include "color/ColorScience.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/SearchQueries.h"
#include "engine/inc/Enumerations.h"
#include "engine/inc/ModuleValues.h"
#include "state/UserState.h"
#include "ui/browse/BrowseFixture.h"
#include "ui/browse/CardRollerWidget.h"
#include "ui/browse/CollectionSelectWidget.h"
#include "ui/browse/ColorWheelWidget.h"
#include "ui/browse/MoodSelectWidget.h"
#include "ui/browse/SearchWidget.h"
#include "ui/browse/TabBarWidget.h"
#include "ui/catalog/ColorForesightWidget.h"
#include "ui/catalog/ProductsWidget.h"
#include "ui/catalog/TexturesWidget.h"
#include "ui/look/HelpButton.h"
#include "ui/look/ImageButton.h"
#include "ui/look/TaskButton.h"
#include "ui/matching/SelectNearestColorDialog.h"
#include "ui/matching/SwatchMatchDialog.h"
#include "ui/palette/MyPaletteFullWidget.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QDesktopServices>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QUndoStack>

using namespace Tintor;
using BrowseFixture::addRows;
using BrowseFixture::fetchRow;

namespace {

// Cards 1 fresh, 2 calm (chip 2's searched name empty), 3 offwhite, 4 neutral, 5 warm exterior, 6 rich; segment n.
const QUuid kDeck(QStringLiteral("{7a000000-0000-0000-0000-000000000001}"));
// Pelvon cards, mood filter hidden, no header link and no Capsure folder.
const QUuid kOther(QStringLiteral("{7a000000-0000-0000-0000-000000000002}"));
// Greys turned ever redder, and chips near the host colours below.
const QUuid kMatch(QStringLiteral("{7a000000-0000-0000-0000-000000000003}"));
const QUuid kUnknown(QStringLiteral("{7a000000-0000-0000-0000-0000000000ff}"));

const QColor kGrey(120, 120, 120);
const QList<int> kGreyReds = { 125, 132, 140, 150, 160, 175, 200 };
const QColor kExactChip(60, 180, 90);
const QColor kAlmostHost(30, 90, 150);
const QString kCapsureSubfolder = QStringLiteral("/Vestrel/Capsure/Deck");

struct PaintCounter : QObject {
    QHash<QObject *, int> counts;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        counts[watched] += event->type() == QEvent::Paint;
        return false;
    }
};

QList<int> position(const QUuid &c)
{
    return { UserState::segmentIndex(c), UserState::pageIndex(c), UserState::rowIndex(c), UserState::moodFilter(c),
        int(UserState::exteriorColors(c)) };
}

// Filters, start card, the move (a wheel segment, or 0 and -1 to roll on and back), then segment and card.
const QList<std::tuple<const char *, int, bool, int, int, int, int>> moves
    = { { "roll forward to the next card", MoodAll, false, 1, 0, 2, 2 },
          { "roll forward skips offwhite and neutral", MoodAll, false, 2, 0, 5, 5 },
          { "roll backward wraps to the last", MoodAll, false, 1, -1, 6, 6 },
          { "roll: no card passes, nothing", MoodOffwhite, true, 1, 0, 1, 1 },
          { "roll: only the current card passes, nothing", MoodNeutral, false, 4, 0, 1, 4 },
          { "wheel: first card of the segment", MoodAll, false, 1, 2, 2, 2 },
          { "wheel: offwhite segment under all moods, next passing card", MoodAll, false, 1, 3, 3, 5 },
          { "wheel: no card passes, the segment alone", MoodOffwhite, true, 1, 4, 4, 1 } };
const QList<std::tuple<const char *, std::function<void(MainWidget *, int)>, std::function<int()>, int>> simpleSlots
    = { { "page", &MainWidget::pageChangedInteractively, [] { return UserState::pageIndex(kDeck); }, 4 },
          { "row", &MainWidget::rowChangedInteractively, [] { return UserState::rowIndex(kDeck); }, 3 },
          { "tab page", [](MainWidget *w, int v) { w->tabPageSelected(TabBarPage(v)); },
              [] { return UserState::tabPageIndex(kDeck); }, PageOfTextures },
          { "scheme", [](MainWidget *w, int v) { w->schemeKindChangedInteractively(SchemeKind(v)); },
              [] { return UserState::schemeKind(kDeck); }, SchemeDramatic },
          { "neutral scheme", [](MainWidget *w, int v) { w->schemeNeutralSubKindChangedInteractively(SchemeKind(v)); },
              [] { return UserState::schemeNeutralSubKind(kDeck); }, SchemeTonalNeutral } };
// The last column: what the search box shows in place of its placeholder afterwards ("" its own placeholder).
const QList<std::tuple<const char *, QString, int, bool, QList<int>, QString>> searches
    = { { "offwhite under all moods sets the offwhite filter", "O-2", MoodAll, false, { 3, 3, 2, MoodOffwhite, 0 }, "" },
          { "fresh while calm sets all moods", "F-3", MoodCalm, false, { 1, 1, 3, MoodAll, 0 }, "" },
          { "calm while calm keeps calm", "C-3", MoodCalm, false, { 2, 2, 3, MoodCalm, 0 }, "" },
          { "neutral while offwhite sets neutral", "N-1", MoodOffwhite, false, { 4, 4, 1, MoodNeutral, 0 }, "" },
          { "interior chip turns the exterior filter off", "R-4", MoodAll, true, { 6, 6, 4, MoodAll, 0 }, "" },
          { "exterior chip keeps the exterior filter", "W-2", MoodAll, true, { 5, 5, 2, MoodAll, 1 }, "" },
          { "a searched name finds its chip", "name R-2", MoodAll, false, { 6, 6, 2, MoodAll, 0 }, "" },
          { "a phrase that finds nothing changes nothing and says so", "nowhere", MoodCalm, true,
              { 1, 1, 1, MoodCalm, 1 }, "No colour \u201CNOWHERE\u201D in Deck" },
          { "a code of another collection is named with it", "Q-2", MoodAll, false, { 1, 1, 1, MoodAll, 0 },
              "No colour \u201CQ-2\u201D in Deck \u2014 found in Other" },
          { "a blank phrase finds nothing, silently", "  ", MoodAll, false, { 1, 1, 1, MoodAll, 0 }, "" } };
const QList<std::tuple<const char *, QColor, QString>> nears = { { "equal to a chip", kExactChip, "H-4" },
    { "within 2 on every channel", QColor(62, 178, 92), "H-4" }, { "nearest at 0.005", kAlmostHost, "H-5" } };

} // namespace

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};

class MainWidgetTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<MainWidget> main;
    MainWidget *instance = nullptr;
    UrlCatcher catcher;
    PaintCounter paints;
    QHash<QString, qint64> chipIds; // by code

    int painted(QWidget *widget) const { return paints.counts.value(widget); }
    void resetPaints()
    {
        QCoreApplication::processEvents();
        paints.counts.clear();
    }

    void use(const QUuid &collection, int segment, int page, int row)
    {
        UserState::setLastUsedCollection(collection);
        UserState::setSegmentIndex(collection, segment);
        UserState::setPageIndex(collection, page);
        UserState::setRowIndex(collection, row);
        CollectionSettings::setCurrentCollection(collection);
        CollectionSettings::loadNameOrders(collection);
    }

    MainWidget *makeMain(bool show = false)
    {
        main = std::make_unique<MainWidget>(&instance);
        if (!show)
            return main.get();
        main->show();
        for (QWidget *view :
            QList<QWidget *> { main->colorWheel(), main->cardRoller(), main->moodFilter(), main->tabBar() })
            view->installEventFilter(&paints);
        return QTest::qWaitForWindowExposed(main.get()) ? main.get() : nullptr;
    }

    // Runs `action` while a timer hands the modal dialog D to `answer`; returns whether it came.
    template <typename D> bool answering(const std::function<void(D *)> &answer, const std::function<void()> &action)
    {
        bool seen = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            poll.stop();
            seen = true;
            answer(dialog);
        });
        poll.start(10);
        action();
        return seen;
    }

private Q_SLOTS:
    void initTestCase()
    {
        using BrowseFixture::addCard;
        using Page = FixtureDatabase::Page;
        QDir().mkpath(TestEnvironment::programData() + kCapsureSubfolder);
        FixtureDatabase fixture(TestEnvironment::collectionFolder() + QStringLiteral("/main.db"));
        QVERIFY(fixture.isOpen());
        const auto colorsOf = [](int page, int count) {
            QList<QColor> colors;
            for (int row = 1; row <= count; ++row)
                colors << QColor(30 * page, 20 * row, 240 - 30 * page);
            return colors;
        };

        const qint64 deck = fixture.addCollection(kDeck, QStringLiteral("DECK"), 1, true, QStringLiteral("Deck"));
        const QList<QPair<const char *, QVariant>> deckSettings = { { "card.type", QStringLiteral("normal") },
            { "row.name.search.order", 0 }, { "header.link", QStringLiteral("https://example.com/deck") },
            { "help.link", QStringLiteral("https://example.com/help?from=%APP%") }, { "capsure.enabled", 1 },
            { "capsure.folder.to.watch.windows", QStringLiteral("%PROGRAMDATA%") + kCapsureSubfolder },
            { "capsure.filename.to.watch", QStringLiteral("measure.cxf") }, { "save.palette.text.format", 1 } };
        for (const auto &[key, value] : deckSettings)
            fixture.addSetting(deck, QLatin1String(key), value);
        fixture.addSetting(deck, QStringLiteral("schemes"), QStringLiteral("contrast"), 0);
        fixture.addSetting(deck, QStringLiteral("schemes"), QStringLiteral("harmonic"), 1);
        for (const char *key : { "mypalette.palette.save", "mypalette.palette.load", "color.palette.copyright",
                 "color.palette.motto", "motto", "license.copyright", "common.filedialog.palettefile.filtername",
                 "common.filedialog.textfile.filtername" })
            fixture.addLocale(deck, QLatin1String(key), QStringLiteral("Deck ") + QLatin1String(key));
        const QList<std::tuple<int, bool, int, const char *>> deckCards
            = { { MoodFresh, false, 3, "F-" }, { MoodCalm, false, 3, "C-" }, { MoodOffwhite, false, 2, "O-" },
                  { MoodNeutral, false, 1, "N-" }, { MoodWarm, true, 2, "W-" }, { MoodRich, false, 4, "R-" } };
        for (int i = 0; i < deckCards.size(); ++i) {
            const auto &[mood, exterior, count, prefix] = deckCards.at(i);
            addCard(fixture, deck, Page(i + 1, i + 1, {}, exterior, mood), colorsOf(i + 1, count),
                QLatin1String(prefix), &chipIds, [](FixtureDatabase::Row &row) {
                    if (row.code == QLatin1String("C-2"))
                        row.names = QStringList { QStringLiteral("") }; // empty text, not NULL
                });
        }

        const qint64 other = fixture.addCollection(kOther, QStringLiteral("OTHER"), 2, true, QStringLiteral("Other"));
        fixture.addSetting(other, QStringLiteral("card.type"), QStringLiteral("pelvon"));
        fixture.addSetting(other, QStringLiteral("mood.visible"), 0);
        for (const char *key : { "mypalette.palette.save", "mypalette.palette.load", "color.palette.motto", "motto" })
            fixture.addLocale(other, QLatin1String(key), QLatin1String(key));
        addCard(fixture, other, Page(1, 1, {}, false, MoodFresh), colorsOf(1, 2), QStringLiteral("P-"), &chipIds);
        addCard(fixture, other, Page(2, 2, {}, true, MoodFresh), colorsOf(2, 3), QStringLiteral("Q-"), &chipIds);

        const qint64 match = fixture.addCollection(kMatch, QStringLiteral("MATCH"), 3, true, QStringLiteral("Match"));
        QList<QColor> greys;
        for (int red : kGreyReds)
            greys << QColor(red, 120, 120);
        addCard(fixture, match, Page(1, 1, {}, false, MoodFresh), greys.mid(0, 4), QStringLiteral("G-"), &chipIds);
        // H-5 lies 0.005 in L* from kAlmostHost, its RGB 5 away.
        const ColorTriple almost = colorToLab(kAlmostHost);
        addCard(fixture, match, Page(2, 2, {}, false, MoodFresh), greys.mid(4) << kExactChip << QColor(35, 95, 155),
            QStringLiteral("H-"), &chipIds, [&](FixtureDatabase::Row &row) {
                if (row.rowIndex == 5)
                    row.lab = { almost[0] + 0.005, almost[1], almost[2] };
            });

        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    }

    void init()
    {
        TestEnvironment::resetUserState();
        DB::scanCollectionFiles(DB::collectionRegistry(), true);
        // Settings are cached per collection: start every case afresh.
        CollectionSettings::setCurrentCollection(QUuid());
        use(kDeck, 1, 1, 1);
        catcher.urls.clear();
    }

    void cleanup()
    {
        main.reset();
        QVERIFY(!instance && !MainWidgetAccess::current());
    }

    void constructionAppliesTheCollectionAndLaysOut()
    {
        QVERIFY(makeMain());
        QCOMPARE(MainWidgetAccess::current()->mainWidgetItself(), main.get());
        QCOMPARE(main->sizeHint(), QSize(800, 600));
        QCOMPARE(main->taskButton(MainWidget::SaveButtonId)->text(), QStringLiteral("Deck mypalette.palette.save"));
        QCOMPARE(main->taskButton(MainWidget::LoadButtonId)->text(), QStringLiteral("Deck mypalette.palette.load"));
        QCOMPARE(main->copyrightLabel()->text(),
            MainWidget::linkText(QStringLiteral("links/copyright"), QStringLiteral("Deck color.palette.copyright")));
        QCOMPARE(MainWidget::linkText(QStringLiteral("l"), QStringLiteral("t")),
            QStringLiteral("<a href=\"l\"><span style=\"text-decoration: none; color: #ffffff;\">t</span></a>"));
        QCOMPARE(main->textFilter(), QStringLiteral("Deck common.filedialog.textfile.filtername (*.txt)"));
        // Unset tab page and scheme take the collection's first ones.
        QVERIFY(UserState::tabPageIndex(kDeck) == PageOfColorSchemes && UserState::schemeKind(kDeck) == SchemeContrast);
        QCOMPARE(main->colorCandidates().size(), std::size_t(15));

        QCOMPARE(main->headerArea(), QRect(0, 0, 800, 70));
        const QRect motto = main->mottoLabel()->geometry();
        const QRect copyright = main->copyrightLabel()->geometry();
        QCOMPARE(motto.topLeft(), QPoint(12, 599 - motto.height() - 6));
        QCOMPARE(copyright.topLeft(), QPoint(799 - copyright.width() - 12, 599 - copyright.height() - 6));
        const QRect selector = main->collectionSelector()->geometry();
        const QRect wheel = main->colorWheel()->geometry();
        QCOMPARE(selector.topLeft(), QPoint(0, 71));
        QCOMPARE(wheel.top(), selector.bottom() + 10);
        QCOMPARE(wheel.center().x(), selector.center().x());
        QCOMPARE(main->moodFilter()->geometry().top(), wheel.bottom() + 10);
        const QRect search = main->search()->geometry();
        QCOMPARE(search.left(), 12);
        QCOMPARE(search.bottom(), 599 - 12 - QFontMetrics(main->copyrightLabel()->font()).height());
        const QRect roller = main->cardRoller()->geometry();
        QCOMPARE(roller,
            QRect(QPoint(12, main->moodFilter()->geometry().bottom() + 6), QPoint(search.right(), search.top() - 7)));
        const QRect tabBar = main->tabBar()->geometry();
        QCOMPARE(tabBar, QRect(QPoint(selector.right() + 1, selector.top()), QPoint(799, selector.bottom())));
        QCOMPARE(main->myPalette()->geometry(),
            QRect(QPoint(tabBar.left() + 1, tabBar.bottom() + 1 + 226), QPoint(tabBar.right(), roller.bottom())));
        QCOMPARE(main->fullPalette()->geometry(), main->rect());

        QCOMPARE(main->addTaskButton(2), quint16(1000));
        QCOMPARE(main->addTaskButton(1000), quint16(1001));
        // An id not in use, and 0, append.
        QCOMPARE(main->addTaskButton(77), quint16(1002));
        QCOMPARE(main->addTaskButton(0), quint16(1003));
        QCOMPARE(main->taskButtonOrder(), (QList<quint16> { 1, 2, 1000, 1001, 3, 1002, 1003 }));
        QVERIFY(!qobject_cast<HelpButton *>(main->taskButton(1000))
            && qobject_cast<HelpButton *>(main->taskButton(MainWidget::HelpButtonId)));
        // Unknown ids all give the one hidden button.
        QCOMPARE(main->taskButton(999), main->taskButton(4));
        QVERIFY(main->taskButton(999)->isHidden() && !main->taskButtonById(999));

        // Six equal wide buttons and the square help button, 4 pixels apart (less truncation), fill the row.
        const QRect row = MainWidget::taskButtonRow(main->myPalette()->geometry(), main->search()->geometry());
        int expectedLeft = row.left();
        const int side = row.height() - 2;
        const int share = int((row.width() - 4.0 * 6 - side) / 6.0);
        for (quint16 id : main->taskButtonOrder()) {
            const QRect geometry = main->taskButton(id)->geometry();
            QVERIFY2(qAbs(geometry.left() - expectedLeft) <= 1, qPrintable(QString::number(id)));
            if (id == MainWidget::HelpButtonId)
                QCOMPARE(geometry, QRect(geometry.left(), row.top() + 1, side, side));
            else
                QCOMPARE(geometry, QRect(geometry.left(), row.top(), share, row.height()));
            expectedLeft = geometry.right() + 1 + 4;
        }
        QVERIFY(expectedLeft - 5 <= row.right() && expectedLeft - 5 >= row.right() - 6);
        // Search box height, then the row's top and height.
        for (const auto &[searchHeight, top, height] :
            QList<std::tuple<int, int, int>> { { 30, 504, 22 }, { 27, 502, 23 }, { 23, 500, 23 }, { 24, 501, 22 } })
            QCOMPARE(MainWidget::taskButtonRow(QRect(300, 300, 480, 200), QRect(12, 500, 200, searchHeight)),
                QRect(312, top, 456, height));
    }

    void rollAndWheelMoveToAPassingCard_data() { addRows(moves); }
    void rollAndWheelMoveToAPassingCard()
    {
        const auto &[name, mood, exterior, startPage, move, segment, page] = fetchRow(moves);
        use(kDeck, 1, startPage, 2);
        UserState::setMoodFilter(kDeck, mood);
        UserState::setExteriorColors(kDeck, exterior);
        QVERIFY(makeMain(true));
        resetPaints();
        if (move > 0)
            main->segmentChangedInteractivelyByWheel(move);
        else
            main->rollCards(move ? Backward : Forward);
        QCoreApplication::processEvents();
        QCOMPARE(position(kDeck).mid(0, 3), (QList<int> { segment, page, 2 }));
        // The roller repaints when the segment or the card changes, the wheel when the segment does.
        QCOMPARE(painted(main->cardRoller()) > 0, page != startPage || segment != 1);
        QCOMPARE(painted(main->colorWheel()) > 0, segment != 1);
    }

    void filterChangesMoveToAPassingCard()
    {
        QVERIFY(makeMain(true));
        resetPaints();
        main->moodFilterChangedInteractively(MoodOffwhite);
        QCoreApplication::processEvents();
        QCOMPARE(position(kDeck), (QList<int> { 3, 3, 1, int(MoodOffwhite), 0 }));
        for (QWidget *view : QList<QWidget *> { main->moodFilter(), main->colorWheel(), main->cardRoller() })
            QVERIFY(painted(view) > 0);
        // Back to all moods: segment 3 has no passing card, the next has.
        main->moodFilterChangedInteractively(MoodAll);
        QCOMPARE(position(kDeck), (QList<int> { 5, 5, 1, int(MoodAll), 0 }));
        main->exteriorFilterChangedInteractively(true);
        QCOMPARE(position(kDeck), (QList<int> { 5, 5, 1, int(MoodAll), 1 }));

        resetPaints();
        main->showMtoChangedInteractively(true);
        QCoreApplication::processEvents();
        QVERIFY(UserState::showMto(kDeck));
        QCOMPARE(position(kDeck), (QList<int> { 5, 5, 1, int(MoodAll), 1 }));
        QVERIFY(painted(main->moodFilter()) > 0 && painted(main->cardRoller()) == 0);

        resetPaints();
        main->moodFilterChangedInteractively(MoodAll);
        main->exteriorFilterChangedInteractively(true);
        main->showMtoChangedInteractively(true);
        main->segmentChangedInteractivelyByWheel(5);
        QCoreApplication::processEvents();
        QCOMPARE(painted(main->moodFilter()) + painted(main->colorWheel()) + painted(main->cardRoller()), 0);

        // Pelvon cards keep the card under a new filter.
        use(kOther, 1, 1, 2);
        main->collectionChangedInteractively(kOther);
        resetPaints();
        main->exteriorFilterChangedInteractively(true);
        QCoreApplication::processEvents();
        QCOMPARE(position(kOther), (QList<int> { 1, 1, 2, int(MoodAll), 1 }));
        QVERIFY(painted(main->cardRoller()) > 0);
    }

    void catalogTabsAndSimpleSlots()
    {
        QVERIFY(makeMain(true));
        const QList<QWidget *> views { main->productsView(), main->foresightView(), main->texturesView() };
        const QList<TabBarPage> pages { PageOfProducts, PageOfColorForesight, PageOfTextures };
        for (int shown = 0; shown < views.size(); ++shown) {
            main->tabPageSelected(pages.at(shown));
            for (int view = 0; view < views.size(); ++view)
                QCOMPARE(views.at(view)->isVisible(), view == shown);
            QCOMPARE(views.at(shown)->geometry(), main->productsView()->geometry());
        }
        main->tabPageSelected(PageOfProducts);
        main->pageChangedInteractively(2);
        QCOMPARE(main->productsView()->codeLabel()->text(), QStringLiteral("C-1"));
        main->rowChangedInteractively(3);
        QCOMPARE(main->productsView()->codeLabel()->text(), QStringLiteral("C-3"));
        main->tabPageSelected(PageOfColorSchemes);
        for (QWidget *view : views)
            QVERIFY(!view->isVisible());

        // Simple slots store a new value and move nothing else; the same value again paints nothing.
        use(kDeck, 1, 1, 1);
        for (const auto &[name, slot, read, newValue] : simpleSlots) {
            const QList<int> before = position(kDeck);
            slot(main.get(), newValue);
            QVERIFY2(read() == newValue, name);
            QVERIFY(position(kDeck).at(0) == before.at(0) && position(kDeck).at(3) == before.at(3));
            resetPaints();
            slot(main.get(), newValue);
            QCoreApplication::processEvents();
            QCOMPARE(read(), newValue);
            QCOMPARE(painted(main->cardRoller()) + painted(main->tabBar()), 0);
        }
    }

    void searchForPhrase_data() { addRows(searches); }
    void searchForPhrase()
    {
        const auto &[name, phrase, startMood, startExterior, expected, shown] = fetchRow(searches);
        UserState::setMoodFilter(kDeck, startMood);
        UserState::setExteriorColors(kDeck, startExterior);
        QVERIFY(makeMain());
        QLineEdit *box = main->search()->lineEdit();
        const QString placeholder = box->placeholderText();
        QTest::keyClicks(box, phrase);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(position(kDeck), expected);
        QCOMPARE(box->placeholderText(), shown.isEmpty() ? placeholder : shown);
        // Until the next key.
        QTest::keyClick(main->search(), Qt::Key_Shift);
        QCOMPARE(box->placeholderText(), placeholder);
    }

    void collectionChangeAppliesTheNewCollection()
    {
        // A measurement file in the watched folder, below the all-users folder, is reported.
        const QString folder = TestEnvironment::programData() + kCapsureSubfolder;
        QFile::remove(folder + QStringLiteral("/measure.cxf"));
        QVERIFY(makeMain(true));
        QCOMPARE(main->capsureFolder(), folder);
        QCOMPARE(main->capsureFile(), folder + QDir::separator() + QStringLiteral("measure.cxf"));
        QSignalSpy capsure(main.get(), &MainWidget::onCapsureFileChanged);
        QFile file(main->capsureFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<cxf/>");
        file.close();
        QTRY_VERIFY(capsure.count() >= 1);
        QCOMPARE(capsure.last().first().toString(), main->capsureFile());
        QCOMPARE(main->collectionSelector()->capsureFileName(), main->capsureFile());
        QVERIFY(!main->collectionSelector()->capsureButton()->isHidden());

        QSignalSpy changed(main.get(), &MainWidget::selectedCollectionChanged);
        main->collectionChangedInteractively(kUnknown);
        main->collectionChangedInteractively(kDeck);
        QVERIFY(changed.isEmpty() && UserState::lastUsedCollection() == kDeck);
        DB::ColorEntry entry;
        QCOMPARE(DB::entryById(kOther, chipIds.value(QStringLiteral("Q-3")), entry), 0);
        main->capsureItemSelectedInteractively(kOther, entry);
        QCOMPARE(changed, (QList<QVariantList> { { kOther } }));
        QCOMPARE(position(kOther).mid(0, 3), (QList<int> { 2, 2, 3 }));
        QVERIFY(UserState::lastUsedCollection() == kOther && CollectionSettings::currentCollection() == kOther);
        QCOMPARE(main->taskButton(MainWidget::SaveButtonId)->text(), QStringLiteral("mypalette.palette.save"));
        QCOMPARE(main->mottoLabel()->text(),
            MainWidget::linkText(QStringLiteral("links/motto"), QStringLiteral("color.palette.motto")));
        QVERIFY(main->capsureFolder().isEmpty() && main->capsureFile().isEmpty());
        QCOMPARE(capsure.last().first().toString(), QString());
        QVERIFY(main->collectionSelector()->capsureButton()->isHidden());
        QVERIFY(!main->moodFilter()->isVisibleTo(main.get()));
        QCOMPARE(main->cardRoller()->geometry().top(), main->colorWheel()->geometry().bottom() + 6);
        QCOMPARE(main->colorCandidates().size(), std::size_t(5));
        QVERIFY(main->isEnabled() && main->updatesEnabled());
        QCOMPARE(main->cursor().shape(), Qt::ArrowCursor);
        // The filters stay as they were made.
        QCOMPARE(main->paletteFilter(), QStringLiteral("Deck common.filedialog.palettefile.filtername (*.palette)"));
        // A chip whose card cannot be loaded changes nothing.
        entry.pageId = 99999;
        main->capsureItemSelectedInteractively(kDeck, entry);
        QCOMPARE(UserState::lastUsedCollection(), kOther);
        QVERIFY(file.remove());
    }

    void hostColourNearAChipGoesStraightToIt_data() { addRows(nears); }
    void hostColourNearAChipGoesStraightToIt()
    {
        const auto &[name, host, chip] = fetchRow(nears);
        use(kMatch, 1, 1, 1);
        // A filter that would hide the chip's card is cleared.
        UserState::setMoodFilter(kMatch, MoodRich);
        QVERIFY(makeMain(true));
        QTest::ignoreMessage(QtDebugMsg,
            qPrintable(QStringLiteral("\"RGB(%1,%2,%3)\"").arg(host.red()).arg(host.green()).arg(host.blue())));
        QVERIFY(!answering<QDialog>(&QDialog::reject, [&, color = host] { main->showNearestColor(color); }));
        DB::ColorEntry entry;
        QCOMPARE(DB::entryById(kMatch, chipIds.value(chip), entry), 0);
        QCOMPARE(position(kMatch), (QList<int> { 2, 2, entry.rowIndex, MoodAll, 0 }));
    }

    void distantHostColourAsksAndGoesToTheChosenChip()
    {
        use(kMatch, 2, 2, 5);
        QVERIFY(makeMain(true));
        QVERIFY(answering<QDialog>(&QDialog::close, [&] { main->showNearestColor(kGrey); }));
        QCOMPARE(position(kMatch), (QList<int> { 2, 2, 5, int(MoodAll), 0 }));

        QColor thirdSwatch;
        QVERIFY(answering<SelectNearestColorDialog>(
            [&](SelectNearestColorDialog *dialog) {
                QCOMPARE(main->nearestColorDialog(), dialog);
                QVERIFY(dialog->parentWidget() == main.get() && dialog->windowModality() == Qt::WindowModal);
                // Six candidates at most, nearest first.
                QVERIFY(!dialog->swatchRect(5).isNull() && dialog->swatchRect(6).isNull());
                const QRect swatch = dialog->swatchRect(2);
                thirdSwatch = QColor(dialog->grab().toImage().pixel(swatch.center()));
                QTest::mouseClick(dialog, Qt::LeftButton, Qt::NoModifier, swatch.center());
            },
            [&] { main->showNearestColor(kGrey); }));
        QCOMPARE(thirdSwatch, QColor(kGreyReds.at(2), 120, 120));
        QCOMPARE(main->nearestColorDialog(), nullptr);
        QCOMPARE(position(kMatch), (QList<int> { 1, 1, 3, int(MoodAll), 0 }));
    }

    void linksAndHelpOpenOnTheDesktop()
    {
        const auto read = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        QTemporaryFile plugin(TestEnvironment::programData() + QStringLiteral("/plugin_XXXXXX.so"));
        QVERIFY(plugin.open());
        setPluginFilePath(plugin.fileName());
        QVERIFY(makeMain(true));
        QTest::mouseClick(main->taskButton(MainWidget::HelpButtonId), Qt::LeftButton);
        const QString folder = QFileInfo(plugin.fileName()).canonicalPath();
        QCOMPARE(catcher.urls, QList<QUrl> { QUrl(QStringLiteral("https://example.com/help?from=") + folder) });
        setPluginFilePath(QString());
        catcher.urls.clear();

        main->linkActivated(QStringLiteral("links/motto"));
        QTemporaryFile *motto = main->documentFile(QStringLiteral("links/motto"));
        QVERIFY(motto);
        const QString mottoPath = motto->fileName();
        QVERIFY(mottoPath.endsWith(QStringLiteral(".html")));
        QCOMPARE(QFileInfo(mottoPath).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
        main->linkActivated(QStringLiteral("links/motto"));
        QCOMPARE(main->documentFile(QStringLiteral("links/motto")), motto);
        const QUrl mottoUrl = QUrl::fromLocalFile(mottoPath);
        QCOMPARE(catcher.urls, (QList<QUrl> { mottoUrl, mottoUrl }));
        QCOMPARE(read(mottoPath), QStringLiteral("Deck motto"));
        main->linkActivated(QStringLiteral("links/copyright"));
        QTemporaryFile *copyright = main->documentFile(QStringLiteral("links/copyright"));
        QVERIFY(copyright && copyright != motto);
        QCOMPARE(read(copyright->fileName()), QStringLiteral("Deck license.copyright"));
        catcher.urls.clear();
        main->linkActivated(QStringLiteral("links/unknown"));
        QVERIFY(catcher.urls.isEmpty());

        const QPoint inHeader = main->headerArea().center();
        const QPoint below(inHeader.x(), main->headerArea().bottom() + 1);
        QTest::mouseMove(main.get(), inHeader);
        QCOMPARE(main->cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseMove(main.get(), below);
        QCOMPARE(main->cursor().shape(), Qt::ArrowCursor);
        QTest::mouseClick(main.get(), Qt::LeftButton, Qt::NoModifier, below);
        QVERIFY(catcher.urls.isEmpty());
        QTest::mouseClick(main.get(), Qt::LeftButton, Qt::NoModifier, inHeader);
        QCOMPARE(catcher.urls, QList<QUrl> { QUrl(QStringLiteral("https://example.com/deck")) });

        // Without a header link: no hand, no link; a shorter document text leaves no old tail.
        main->collectionChangedInteractively(kOther);
        QTest::mouseMove(main.get(), inHeader + QPoint(1, 0));
        QCOMPARE(main->cursor().shape(), Qt::ArrowCursor);
        QTest::mouseClick(main.get(), Qt::LeftButton, Qt::NoModifier, inHeader);
        QCOMPARE(catcher.urls.size(), 1);
        main->linkActivated(QStringLiteral("links/motto"));
        QCOMPARE(read(mottoPath), QStringLiteral("motto"));
        main.reset();
        QVERIFY(!QFileInfo::exists(mottoPath));
    }

    void zoomSlidesTheFullPaletteAndEditBoxFocusIsReported()
    {
        QVERIFY(makeMain(true));
        main->zoomMyPaletteClicked();
        QCOMPARE(main->zoomAnimation()->duration(), 350);
        QCOMPARE(main->zoomAnimation()->easingCurve().type(), QEasingCurve::OutQuart);
        QCOMPARE(main->zoomAnimation()->startValue().toPoint(), QPoint(800, 0));
        QTRY_COMPARE(main->fullPalette()->pos(), QPoint(0, 0));
        main->unzoomMyPaletteClicked();
        QCOMPARE(main->zoomAnimation()->endValue().toPoint(), QPoint(-800, 0));
        QTRY_VERIFY(main->fullPalette()->isHidden());
        // Zooming in again while the view still slides out: it stays.
        main->zoomMyPaletteClicked();
        main->unzoomMyPaletteClicked();
        main->zoomMyPaletteClicked();
        QTRY_COMPARE(main->zoomAnimation()->state(), QAbstractAnimation::Stopped);
        QCOMPARE(main->fullPalette()->pos(), QPoint(0, 0));
        QVERIFY(main->fullPalette()->isVisible());
        QApplication::setActiveWindow(main.get());
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QSignalSpy got(main.get(), &MainWidget::anEditBoxGotFocus);
        QSignalSpy lost(main.get(), &MainWidget::anEditBoxLostFocus);
        main->search()->lineEdit()->setFocus();
        QTRY_COMPARE(got.count(), 1);
        main->myPalette()->descriptionEdit()->setFocus();
        QTRY_COMPARE(got.count(), 2);
        QCOMPARE(lost.count(), 0);
        main->setFocus();
        QTRY_COMPARE(lost.count(), 1);
        QCOMPARE(got.count(), 2);
        // The widget may go while an edit box has the focus.
        main->search()->lineEdit()->setFocus();
        QTRY_COMPARE(got.count(), 3);
        main.reset();
    }

    void saveDialogOffersTextOnlyWhereTheCollectionAllowsIt()
    {
        QVERIFY(makeMain(true));
        QSignalSpy saves(main.get(), &MainWidget::savePaletteTo);
        QSignalSpy loads(main.get(), &MainWidget::loadPaletteFrom);
        const QString path = TestEnvironment::programData() + QStringLiteral("/colours.txt");
        QStringList offered;
        QVERIFY(answering<QFileDialog>(
            [&](QFileDialog *dialog) {
                offered = dialog->nameFilters();
                dialog->selectNameFilter(main->textFilter());
                // selectFile() leaves a focused name box alone: type as a user would.
                dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
                static_cast<QDialog *>(dialog)->accept();
            },
            [&] { main->saveButtonClicked(); }));
        QCOMPARE(offered, (QStringList { main->paletteFilter(), main->textFilter() }));
        QCOMPARE(saves.count(), 1);
        QCOMPARE(saves.first().at(0).value<PaletteFileFormat>(), PaletteText);
        QCOMPARE(saves.first().at(1).toString(), path);
        QVERIFY(UserState::myPaletteSaveFileFormat());
        QCOMPARE(UserState::myPaletteLastSavePath(), path);

        const auto cancel = [&](QFileDialog *dialog) {
            offered = dialog->nameFilters();
            dialog->reject();
        };
        QVERIFY(answering<QFileDialog>(cancel, [&] { main->loadButtonClicked(); }));
        QCOMPARE(offered, (QStringList { main->paletteFilter(), main->swatchFilter() }));
        main->collectionChangedInteractively(kOther);
        QVERIFY(answering<QFileDialog>(cancel, [&] { main->saveButtonClicked(); }));
        QCOMPARE(offered, QStringList { main->paletteFilter() });
        QCOMPARE(saves.count() + loads.count(), 1);
    }

    // A swatch file chosen in the open dialog: its colours are matched in the current collection, or in all enabled
    // ones once asked; unticked rows stay out, a row's other candidate may be taken, and one undo takes the whole
    // import back. Cancel, and a cut file (which is reported), change nothing.
    void swatchImportPlacesTheTickedChipsAsOneStep()
    {
        QVERIFY(makeMain(true));
        const QString path = TestEnvironment::programData() + QStringLiteral("/brand.gpl");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly)
            && file.write("GIMP Palette\n30 20 210\tone\n30 40 210\ttwo\n60 180 90\tthree\n") > 0 && file.flush());
        // Read in the dialog, compared once it is gone: a failed check there would leave it open.
        // A cell selected further on: an import still starts at the first cell.
        MyPaletteWidget *palette = main->myPalette();
        QTest::mouseClick(palette, Qt::LeftButton, {}, palette->cellRect(QPoint(3, 1)).center());
        QCOMPARE(palette->selectedCell(0), QPoint(3, 1));
        QList<DB::CollectionMatcher::Match> seen;
        QStringList shown;
        int rows = 0;
        int candidates = 0;
        QVERIFY(answering<QFileDialog>(
            [&](QFileDialog *dialog) {
                dialog->selectNameFilter(main->swatchFilter());
                dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(path);
                static_cast<QDialog *>(dialog)->accept();
            },
            [&] {
                answering<SwatchMatchDialog>(
                    [&](SwatchMatchDialog *dialog) {
                        rows = dialog->matchList()->topLevelItemCount();
                        seen << dialog->matches(0).value(0) << dialog->matches(2).value(0);
                        dialog->allCollectionsBox()->click();
                        seen << dialog->matches(2).value(0);
                        const QTreeWidgetItem *third = dialog->matchList()->topLevelItem(2);
                        for (int column : { SwatchMatchDialog::ChipColumn, SwatchMatchDialog::DifferenceColumn,
                                 SwatchMatchDialog::GradeColumn })
                            shown << third->text(column);
                        candidates = dialog->matches(0).size();
                        dialog->matchList()->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
                        // Unfolded, a row lists its candidates; ticking the second takes it.
                        QTreeWidgetItem *first = dialog->matchList()->topLevelItem(0);
                        first->setExpanded(true);
                        if (first->childCount() == candidates)
                            first->child(1)->setCheckState(0, Qt::Checked);
                        seen << dialog->matches(0).value(1);
                        dialog->buttons()->button(QDialogButtonBox::Ok)->click();
                    },
                    [&] { main->loadButtonClicked(); });
            }));
        QCOMPARE(rows, 3);
        QCOMPARE(seen.size(), 4);
        QCOMPARE(seen[0].rowId, chipIds.value("F-1"));
        QVERIFY(seen[1].collection == kDeck && seen[1].deltaE > 1.0);
        QVERIFY(seen[2].rowId == chipIds.value("H-4") && seen[2].collection == kMatch && seen[2].deltaE < 0.01);
        QCOMPARE(candidates, int(SwatchMatchDialog::kCandidateCount));
        QCOMPARE(shown.size(), 3);
        QVERIFY2(shown[0].startsWith(QStringLiteral("H-4")), qPrintable(shown[0]));
        QCOMPARE(shown.mid(1), QStringList({ QStringLiteral("0.0"), QStringLiteral("indistinguishable") }));
        const DB::CollectionMatcher::Match taken = seen[3];
        QCOMPARE(palette->cellItem(QPoint(0, 0)).collectionUuid, taken.collection);
        QCOMPARE(palette->cellColorId(QPoint(0, 0)), taken.rowId);
        QCOMPARE(palette->cellColorId(QPoint(1, 0)), chipIds.value("H-4"));
        QVERIFY(palette->cellColorId(QPoint(2, 0)) <= 0);
        palette->undoStack()->undo();
        QVERIFY(palette->isPaletteEmpty());
        bool cancelCloses = false;
        QVERIFY(answering<SwatchMatchDialog>(
            [&](SwatchMatchDialog *dialog) {
                dialog->buttons()->button(QDialogButtonBox::Cancel)->click();
                cancelCloses = !dialog->isVisible();
                if (!cancelCloses)
                    dialog->reject();
            },
            [&] { main->importSwatchFile(path); }));
        QVERIFY(cancelCloses);
        QVERIFY(palette->isPaletteEmpty());

        QVERIFY(file.resize(0) && file.write(QByteArray("ASEF\0\1\0\0\0\0\0\5", 12)) == 12 && file.flush());
        main->importSwatchFile(path);
        QVERIFY(main->swatchFailureMessage() && main->swatchFailureMessage()->isVisible());
        QVERIFY(main->swatchFailureMessage()->text().contains(QStringLiteral("brand.gpl")));
        QVERIFY(palette->isPaletteEmpty() && palette->undoStack()->canRedo());
    }
};

HUELINK_TEST_MAIN(MainWidgetTest)
#include "MainWidgetTest.moc"
