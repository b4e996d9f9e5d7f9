#include "ui/browse/MainWidget.h"
#include "color/ColorScience.h"
#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/SearchQueries.h"
#include "engine/inc/Enumerations.h"
#include "engine/inc/ModuleValues.h"
#include "platform/Platform.h"
#include "state/UserState.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"
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
#include "ui/palette/MyPaletteFullWidget.h"
#include "ui/palette/MyPaletteWidget.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPropertyAnimation>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace Tintor;

namespace {

// Normal cards: 1 fresh, 2 calm (its second chip has an empty searched
// name), 3 offwhite, 4 neutral, 5 warm exterior, 6 rich; card n on segment n.
const QUuid kDeck(QStringLiteral("{7a000000-0000-0000-0000-000000000001}"));
// Pelvon cards, mood filter hidden, no header link and no Capsure folder.
const QUuid kOther(QStringLiteral("{7a000000-0000-0000-0000-000000000002}"));
// Chips for the nearest-colour search: card 1 greys turned ever redder,
// card 2 more of them and three chips near the test colours below.
const QUuid kMatch(QStringLiteral("{7a000000-0000-0000-0000-000000000003}"));
const QUuid kUnknown(QStringLiteral("{7a000000-0000-0000-0000-0000000000ff}"));

const QColor kGrey(120, 120, 120);
const QList<int> kGreyReds = { 125, 132, 140, 150, 160, 175, 200 };
const QColor kExactChip(60, 180, 90);
const QColor kAlmostHost(30, 90, 150);
const QColor kAlmostChip(35, 95, 155);

const QString kCapsureSubfolder = QStringLiteral("/Vestrel/Capsure/Deck");

// Counts paint events per watched widget.
class PaintCounter : public QObject {
public:
    void watch(QWidget *widget) { widget->installEventFilter(this); }
    int count(QObject *widget) const { return counts.value(widget); }
    void reset()
    {
        QCoreApplication::processEvents();
        counts.clear();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++counts[watched];
        return false;
    }

private:
    QHash<QObject *, int> counts;
};

} // namespace

// Receives what the widget hands to the desktop's URL handler.
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
    std::unique_ptr<FixtureDatabase> fixture;
    std::unique_ptr<MainWidget> main;
    MainWidget *instance = nullptr;
    UrlCatcher catcher;
    PaintCounter paints;
    QHash<QString, qint64> chipIds; // by code

    void addCard(qint64 collectionId, int pageIndex, int mood, bool exterior, const QList<QColor> &colors,
        const QString &codePrefix, const QList<QList<double>> &labs = {})
    {
        FixtureDatabase::Page page;
        page.pageIndex = pageIndex;
        page.segment = pageIndex;
        page.mood = mood;
        page.exterior = exterior;
        const qint64 pageId = fixture->addPage(collectionId, page);
        QVERIFY(pageId > 0);
        for (int index = 0; index < colors.size(); ++index) {
            FixtureDatabase::Row row;
            row.rowIndex = index + 1;
            row.code = QStringLiteral("%1-%2").arg(codePrefix).arg(index + 1);
            row.color = colors.at(index);
            if (index < labs.size())
                row.lab = labs.at(index);
            // The searched name slot: empty text (not NULL) on C-2.
            row.names = { row.code == QStringLiteral("C-2") ? QStringLiteral("") : QStringLiteral("name ") + row.code };
            chipIds.insert(row.code, fixture->addRow(collectionId, pageId, row));
        }
    }

    static QList<QColor> colorsOf(int pageIndex, int count)
    {
        QList<QColor> colors;
        for (int row = 1; row <= count; ++row)
            colors << QColor(30 * pageIndex, 20 * row, 240 - 30 * pageIndex);
        return colors;
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
        if (show) {
            main->show();
            if (!QTest::qWaitForWindowExposed(main.get()))
                return nullptr;
            paints.watch(main->colorWheel());
            paints.watch(main->cardRoller());
            paints.watch(main->moodFilter());
            paints.watch(main->tabBar());
        }
        return main.get();
    }

    // Segment, page, row, mood filter and exterior filter.
    static QList<int> position(const QUuid &collection)
    {
        return { UserState::segmentIndex(collection), UserState::pageIndex(collection), UserState::rowIndex(collection),
            UserState::moodFilter(collection), int(UserState::exteriorColors(collection)) };
    }

    // Runs `action` while a timer waits for the nearest-colour dialog and
    // hands it to `answer`.
    void whileDialogOpen(const std::function<void(SelectNearestColorDialog *)> &answer,
        const std::function<void()> &action, bool *dialogSeen)
    {
        *dialogSeen = false;
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *dialog = qobject_cast<SelectNearestColorDialog *>(main->nearestColorDialog());
            if (!dialog || !dialog->isVisible())
                return;
            poll.stop();
            *dialogSeen = true;
            QCOMPARE(QApplication::activeModalWidget(), dialog);
            answer(dialog);
        });
        poll.start();
        // A dialog that never closes would hang the test: end it after a while.
        QTimer guard;
        guard.setSingleShot(true);
        connect(&guard, &QTimer::timeout, this, [this] {
            if (QWidget *dialog = main->nearestColorDialog())
                static_cast<QDialog *>(dialog)->reject();
        });
        guard.start(5000);
        action();
    }

    // Finds the file dialog the widget opens, lets `inspect` look at it and
    // accepts it with `fileName`, or cancels it when that is empty.
    void answerFileDialog(const std::function<void(QFileDialog *)> &inspect, const QString &fileName)
    {
        auto *poll = new QTimer(this);
        poll->setInterval(10);
        connect(poll, &QTimer::timeout, this, [poll, inspect, fileName] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            poll->stop();
            poll->deleteLater();
            inspect(dialog);
            if (fileName.isEmpty()) {
                dialog->reject();
            } else {
                // selectFile() leaves a focused name box alone: type the
                // name as a user would.
                auto *nameEdit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
                QVERIFY(nameEdit);
                nameEdit->setText(fileName);
                static_cast<QDialog *>(dialog)->accept();
            }
        });
        poll->start();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QDir().mkpath(TestEnvironment::programData() + kCapsureSubfolder);
        fixture = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + QStringLiteral("/main.db"));
        QVERIFY(fixture->isOpen());

        const qint64 deck = fixture->addCollection(kDeck, QStringLiteral("DECK"), 1, true, QStringLiteral("Deck"));
        const QList<QPair<const char *, QVariant>> deckSettings = { { "card.type", QStringLiteral("normal") },
            { "row.name.search.order", 0 }, { "header.link", QStringLiteral("https://example.com/deck") },
            { "help.link", QStringLiteral("https://example.com/help?from=%APP%") }, { "capsure.enabled", 1 },
            { "capsure.folder.to.watch.windows", QStringLiteral("%PROGRAMDATA%") + kCapsureSubfolder },
            { "capsure.filename.to.watch", QStringLiteral("measure.cxf") }, { "save.palette.text.format", 1 } };
        for (const auto &[key, value] : deckSettings)
            fixture->addSetting(deck, QLatin1String(key), value);
        fixture->addSetting(deck, QStringLiteral("schemes"), QStringLiteral("contrast"), 0);
        fixture->addSetting(deck, QStringLiteral("schemes"), QStringLiteral("harmonic"), 1);
        // Every text is "Deck " and its key.
        for (const char *key : { "mypalette.palette.save", "mypalette.palette.load", "color.palette.copyright",
                 "color.palette.motto", "motto", "license.copyright", "common.filedialog.palettefile.filtername",
                 "common.filedialog.textfile.filtername" })
            fixture->addLocale(deck, QLatin1String(key), QStringLiteral("Deck ") + QLatin1String(key));
        const QList<std::tuple<int, bool, int, const char *>> deckCards
            = { { MoodFresh, false, 3, "F" }, { MoodCalm, false, 3, "C" }, { MoodOffwhite, false, 2, "O" },
                  { MoodNeutral, false, 1, "N" }, { MoodWarm, true, 2, "W" }, { MoodRich, false, 4, "R" } };
        for (int i = 0; i < deckCards.size(); ++i) {
            const auto &[mood, exterior, count, prefix] = deckCards.at(i);
            addCard(deck, i + 1, mood, exterior, colorsOf(i + 1, count), QLatin1String(prefix));
        }

        const qint64 other = fixture->addCollection(kOther, QStringLiteral("OTHER"), 2, true, QStringLiteral("Other"));
        fixture->addSetting(other, QStringLiteral("card.type"), QStringLiteral("pelvon"));
        fixture->addSetting(other, QStringLiteral("mood.visible"), 0);
        for (const char *key : { "mypalette.palette.save", "mypalette.palette.load", "color.palette.motto", "motto" })
            fixture->addLocale(other, QLatin1String(key), QLatin1String(key));
        addCard(other, 1, MoodFresh, false, colorsOf(1, 2), QStringLiteral("P"));
        addCard(other, 2, MoodFresh, true, colorsOf(2, 3), QStringLiteral("Q"));

        const qint64 match = fixture->addCollection(kMatch, QStringLiteral("MATCH"), 3, true, QStringLiteral("Match"));
        QList<QColor> greys;
        for (int red : kGreyReds)
            greys << QColor(red, 120, 120);
        addCard(match, 1, MoodFresh, false, greys.mid(0, 4), QStringLiteral("G"));
        // Its Lab lies 0.005 in L* from kAlmostHost, its RGB 5 away.
        const ColorTriple almost = colorToLab(kAlmostHost);
        QList<QList<double>> labs(4);
        labs.append(QList<double> { almost[0] + 0.005, almost[1], almost[2] });
        addCard(match, 2, MoodFresh, false, greys.mid(4) + QList<QColor> { kExactChip, kAlmostChip },
            QStringLiteral("H"), labs);

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
        QCOMPARE(instance, nullptr);
        QCOMPARE(MainWidgetAccess::current(), nullptr);
    }

    // ---- construction and the module-wide pointer

    void constructionRegistersAndAppliesTheCollection()
    {
        QVERIFY(makeMain());
        QCOMPARE(MainWidgetAccess::current()->mainWidgetItself(), main.get());
        QCOMPARE(main->size(), QSize(800, 600));
        QCOMPARE(main->sizeHint(), QSize(800, 600));
        QCOMPARE(main->taskButton(MainWidget::SaveButtonId)->text(), QStringLiteral("Deck mypalette.palette.save"));
        QCOMPARE(main->taskButton(MainWidget::LoadButtonId)->text(), QStringLiteral("Deck mypalette.palette.load"));
        QVERIFY(qobject_cast<HelpButton *>(main->taskButton(MainWidget::HelpButtonId)));
        QCOMPARE(main->copyrightLabel()->text(),
            MainWidget::linkText(QStringLiteral("links/copyright"), QStringLiteral("Deck color.palette.copyright")));
        QCOMPARE(MainWidget::linkText(QStringLiteral("l"), QStringLiteral("t")),
            QStringLiteral("<a href=\"l\"><span style=\"text-decoration: none; color: #ffffff;\">t</span></a>"));
        QCOMPARE(main->textFilter(), QStringLiteral("Deck common.filedialog.textfile.filtername (*.txt)"));
        // Unset tab page and scheme take the collection's first ones.
        QCOMPARE(UserState::tabPageIndex(kDeck), int(PageOfColorSchemes));
        QCOMPARE(UserState::schemeKind(kDeck), int(SchemeContrast));
        QCOMPARE(main->colorCandidates().size(), std::size_t(15));
        QVERIFY(main->fullPalette()->isHidden());
    }

    // ---- task buttons

    void addTaskButtonIdsAndPlacement()
    {
        QVERIFY(makeMain());
        using Order = QList<quint16>;
        QCOMPARE(main->addTaskButton(2), quint16(1000));
        QCOMPARE(main->addTaskButton(1000), quint16(1001));
        // An id not in use, and 0, append.
        QCOMPARE(main->addTaskButton(77), quint16(1002));
        QCOMPARE(main->addTaskButton(0), quint16(1003));
        QCOMPARE(main->taskButtonOrder(), (Order { 1, 2, 1000, 1001, 3, 1002, 1003 }));
        QVERIFY(main->taskButton(1000) != main->taskButton(1001));
        QVERIFY(!qobject_cast<HelpButton *>(main->taskButton(1000)));
        // Unknown ids all give the one hidden button.
        TaskButton *none = main->taskButton(4);
        QCOMPARE(main->taskButton(999), none);
        QVERIFY(none->isHidden());
        QCOMPARE(main->taskButtonById(999), nullptr);
    }

    void taskButtonRow_data()
    {
        QTest::addColumn<int>("searchHeight");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("height");
        QTest::newRow("30 tall shrinks to 22") << 30 << 504 << 22;
        QTest::newRow("27 tall shrinks to 23") << 27 << 502 << 23;
        QTest::newRow("23 tall stays") << 23 << 500 << 23;
        QTest::newRow("24 tall shrinks to 22") << 24 << 501 << 22;
    }

    void taskButtonRow()
    {
        QFETCH(int, searchHeight);
        QFETCH(int, top);
        QFETCH(int, height);
        const QRect row = MainWidget::taskButtonRow(QRect(300, 300, 480, 200), QRect(12, 500, 200, searchHeight));
        QCOMPARE(row, QRect(312, top, 480 - 24, height));
    }

    void taskButtonsShareTheRow()
    {
        QVERIFY(makeMain());
        main->addTaskButton(2);
        main->addTaskButton(1000);
        const QRect row = MainWidget::taskButtonRow(main->myPalette()->geometry(), main->search()->geometry());
        // Four wide buttons of equal width and the square help button,
        // 4 pixels apart (less a pixel of truncation), inside the row.
        int expectedLeft = row.left();
        const int side = row.height() - 2;
        const double share = (row.width() - 4.0 * 4 - side) / 4.0;
        for (quint16 id : main->taskButtonOrder()) {
            const QRect geometry = main->taskButton(id)->geometry();
            QVERIFY2(qAbs(geometry.left() - expectedLeft) <= 1, qPrintable(QString::number(id)));
            if (id == MainWidget::HelpButtonId)
                QCOMPARE(geometry, QRect(geometry.left(), row.top() + 1, side, side));
            else
                QCOMPARE(geometry, QRect(geometry.left(), row.top(), int(share), row.height()));
            expectedLeft = geometry.right() + 1 + 4;
        }
        QVERIFY(expectedLeft - 5 <= row.right());
        QVERIFY(expectedLeft - 5 >= row.right() - 4);
    }

    // ---- layout

    void layoutFollowsTheRules()
    {
        QVERIFY(makeMain());
        QCOMPARE(main->headerArea(), QRect(0, 0, 800, 70));
        const QRect motto = main->mottoLabel()->geometry();
        const QRect copyright = main->copyrightLabel()->geometry();
        QCOMPARE(motto.topLeft(), QPoint(12, 599 - motto.height() - 6));
        QCOMPARE(copyright.topLeft(), QPoint(799 - copyright.width() - 12, 599 - copyright.height() - 6));
        const int fontHeight = QFontMetrics(main->copyrightLabel()->font()).height();
        const QRect selector = main->collectionSelector()->geometry();
        QCOMPARE(selector.topLeft(), QPoint(0, 71));
        QCOMPARE(main->colorWheel()->geometry().top(), selector.bottom() + 10);
        QCOMPARE(main->colorWheel()->geometry().center().x(), selector.center().x());
        QCOMPARE(main->moodFilter()->geometry().top(), main->colorWheel()->geometry().bottom() + 10);
        const QRect search = main->search()->geometry();
        QCOMPARE(search.left(), 12);
        QCOMPARE(search.bottom(), 599 - 12 - fontHeight);
        const QRect roller = main->cardRoller()->geometry();
        QCOMPARE(roller,
            QRect(QPoint(search.left(), main->moodFilter()->geometry().bottom() + 6),
                QPoint(search.right(), search.top() - 7)));
        const QRect tabBar = main->tabBar()->geometry();
        QCOMPARE(tabBar, QRect(QPoint(selector.right() + 1, selector.top()), QPoint(799, selector.bottom())));
        QCOMPARE(main->myPalette()->geometry(),
            QRect(QPoint(tabBar.left() + 1, tabBar.bottom() + 1 + 226), QPoint(tabBar.right(), roller.bottom())));
        QCOMPARE(main->fullPalette()->geometry(), main->rect());
    }

    // ---- state slots

    void rollCards_data()
    {
        QTest::addColumn<int>("mood");
        QTest::addColumn<bool>("exterior");
        QTest::addColumn<int>("startPage");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("segment");
        QTest::newRow("forward to the next card") << int(MoodAll) << false << 1 << int(Forward) << 2 << 2;
        QTest::newRow("forward skips offwhite and neutral") << int(MoodAll) << false << 2 << int(Forward) << 5 << 5;
        QTest::newRow("backward wraps to the last") << int(MoodAll) << false << 1 << int(Backward) << 6 << 6;
        QTest::newRow("no card passes: nothing") << int(MoodOffwhite) << true << 1 << int(Forward) << 1 << 1;
        QTest::newRow("only the current card passes: nothing")
            << int(MoodNeutral) << false << 4 << int(Forward) << 4 << 1;
    }

    void rollCards()
    {
        QFETCH(int, mood);
        QFETCH(bool, exterior);
        QFETCH(int, startPage);
        QFETCH(int, direction);
        QFETCH(int, page);
        QFETCH(int, segment);
        use(kDeck, 1, startPage, 2);
        UserState::setMoodFilter(kDeck, mood);
        UserState::setExteriorColors(kDeck, exterior);
        QVERIFY(makeMain(true));
        paints.reset();

        main->rollCards(Direction(direction));
        QCoreApplication::processEvents();

        QCOMPARE(UserState::pageIndex(kDeck), page);
        QCOMPARE(UserState::segmentIndex(kDeck), segment);
        QCOMPARE(UserState::rowIndex(kDeck), 2);
        const bool moved = page != startPage;
        QCOMPARE(paints.count(main->cardRoller()) > 0, moved);
        QCOMPARE(paints.count(main->colorWheel()) > 0, moved && segment != 1);
    }

    void wheelStoresTheSegmentAndGoesToItsFirstCard_data()
    {
        QTest::addColumn<int>("mood");
        QTest::addColumn<bool>("exterior");
        QTest::addColumn<int>("newSegment");
        QTest::addColumn<int>("page");
        QTest::newRow("first card of the segment") << int(MoodAll) << false << 2 << 2;
        QTest::newRow("offwhite segment under all moods: next passing card") << int(MoodAll) << false << 3 << 5;
        QTest::newRow("no card passes: the segment alone") << int(MoodOffwhite) << true << 4 << 1;
    }

    void wheelStoresTheSegmentAndGoesToItsFirstCard()
    {
        QFETCH(int, mood);
        QFETCH(bool, exterior);
        QFETCH(int, newSegment);
        QFETCH(int, page);
        UserState::setMoodFilter(kDeck, mood);
        UserState::setExteriorColors(kDeck, exterior);
        QVERIFY(makeMain(true));
        paints.reset();

        main->segmentChangedInteractivelyByWheel(newSegment);
        QCoreApplication::processEvents();
        QCOMPARE(UserState::segmentIndex(kDeck), newSegment);
        QCOMPARE(UserState::pageIndex(kDeck), page);
        QVERIFY(paints.count(main->colorWheel()) > 0);
        QVERIFY(paints.count(main->cardRoller()) > 0);

        // The same segment again changes and repaints nothing.
        paints.reset();
        main->segmentChangedInteractivelyByWheel(newSegment);
        QCoreApplication::processEvents();
        QCOMPARE(paints.count(main->colorWheel()), 0);
        QCOMPARE(paints.count(main->cardRoller()), 0);
    }

    void filterChangesMoveToAPassingCard()
    {
        QVERIFY(makeMain(true));
        paints.reset();
        main->moodFilterChangedInteractively(MoodOffwhite);
        QCoreApplication::processEvents();
        QCOMPARE(position(kDeck), (QList<int> { 3, 3, 1, int(MoodOffwhite), 0 }));
        QVERIFY(paints.count(main->moodFilter()) > 0);
        QVERIFY(paints.count(main->colorWheel()) > 0);
        QVERIFY(paints.count(main->cardRoller()) > 0);

        main->moodFilterChangedInteractively(MoodAll);
        // Back to all moods: segment 3 has no passing card, the next has.
        QCOMPARE(position(kDeck), (QList<int> { 5, 5, 1, int(MoodAll), 0 }));
        main->exteriorFilterChangedInteractively(true);
        QCOMPARE(position(kDeck), (QList<int> { 5, 5, 1, int(MoodAll), 1 }));

        // Made-to-order chips change no card.
        paints.reset();
        main->showMtoChangedInteractively(true);
        QCoreApplication::processEvents();
        QVERIFY(UserState::showMto(kDeck));
        QCOMPARE(position(kDeck), (QList<int> { 5, 5, 1, int(MoodAll), 1 }));
        QVERIFY(paints.count(main->moodFilter()) > 0);
        QCOMPARE(paints.count(main->cardRoller()), 0);

        // Repeating a value does nothing at all.
        paints.reset();
        main->moodFilterChangedInteractively(MoodAll);
        main->exteriorFilterChangedInteractively(true);
        main->showMtoChangedInteractively(true);
        QCoreApplication::processEvents();
        QCOMPARE(paints.count(main->moodFilter()), 0);

        // Pelvon cards keep the card under a new filter.
        use(kOther, 1, 1, 2);
        main->collectionChangedInteractively(kOther);
        paints.reset();
        main->exteriorFilterChangedInteractively(true);
        QCoreApplication::processEvents();
        QCOMPARE(position(kOther), (QList<int> { 1, 1, 2, int(MoodAll), 1 }));
        QVERIFY(paints.count(main->cardRoller()) > 0);
    }

    void simpleSlotsStoreOnlyNewValues_data()
    {
        using Slot = std::function<void(MainWidget *, int)>;
        using Read = std::function<int()>;
        QTest::addColumn<Slot>("slot");
        QTest::addColumn<Read>("read");
        QTest::addColumn<int>("newValue");
        QTest::newRow("page") << Slot([](MainWidget *w, int v) { w->pageChangedInteractively(v); })
                              << Read([] { return UserState::pageIndex(kDeck); }) << 4;
        QTest::newRow("row") << Slot([](MainWidget *w, int v) { w->rowChangedInteractively(v); })
                             << Read([] { return UserState::rowIndex(kDeck); }) << 3;
        QTest::newRow("tab page") << Slot([](MainWidget *w, int v) { w->tabPageSelected(TabBarPage(v)); })
                                  << Read([] { return UserState::tabPageIndex(kDeck); }) << int(PageOfTextures);
        QTest::newRow("scheme") << Slot([](MainWidget *w, int v) { w->schemeKindChangedInteractively(SchemeKind(v)); })
                                << Read([] { return UserState::schemeKind(kDeck); }) << int(SchemeDramatic);
        QTest::newRow("neutral scheme") << Slot([](MainWidget *w, int v) {
            w->schemeNeutralSubKindChangedInteractively(SchemeKind(v));
        }) << Read([] { return UserState::schemeNeutralSubKind(kDeck); })
                                        << int(SchemeTonalNeutral);
    }

    void simpleSlotsStoreOnlyNewValues()
    {
        using Slot = std::function<void(MainWidget *, int)>;
        using Read = std::function<int()>;
        QFETCH(Slot, slot);
        QFETCH(Read, read);
        QFETCH(int, newValue);
        QVERIFY(makeMain(true));
        const QList<int> before = position(kDeck);
        slot(main.get(), newValue);
        QCOMPARE(read(), newValue);
        // Nothing else moves.
        QCOMPARE(position(kDeck).at(0), before.at(0));
        QCOMPARE(position(kDeck).at(3), before.at(3));
        paints.reset();
        slot(main.get(), newValue);
        QCoreApplication::processEvents();
        QCOMPARE(read(), newValue);
        QCOMPARE(paints.count(main->cardRoller()), 0);
        QCOMPARE(paints.count(main->tabBar()), 0);
    }

    void catalogTabsFollowTheTabPageAndTheChip()
    {
        QVERIFY(makeMain(true));
        const QList<QWidget *> views{main->productsView(), main->foresightView(), main->texturesView()};
        const QList<TabBarPage> pages{PageOfProducts, PageOfColorForesight, PageOfTextures};
        for (int shown = 0; shown < views.size(); ++shown) {
            main->tabPageSelected(pages.at(shown));
            for (int view = 0; view < views.size(); ++view)
                QCOMPARE(views.at(view)->isVisible(), view == shown);
            QCOMPARE(views.at(shown)->geometry(), main->productsView()->geometry());
        }
        // The products page follows the card and the chip while shown.
        main->tabPageSelected(PageOfProducts);
        main->pageChangedInteractively(2);
        QCOMPARE(main->productsView()->codeLabel()->text(), QStringLiteral("C-1"));
        main->rowChangedInteractively(3);
        QCOMPARE(main->productsView()->codeLabel()->text(), QStringLiteral("C-3"));
        main->tabPageSelected(PageOfColorSchemes);
        for (QWidget *view : views)
            QVERIFY(!view->isVisible());
    }

    void searchForPhrase_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<int>("startMood");
        QTest::addColumn<bool>("startExterior");
        QTest::addColumn<QList<int>>("position"); // segment, page, row, mood, exterior
        // Start: segment 1, card 1, row 1.
        QTest::newRow("offwhite under all moods sets the offwhite filter")
            << "O-2" << int(MoodAll) << false << QList<int> { 3, 3, 2, MoodOffwhite, 0 };
        QTest::newRow("fresh while calm sets all moods")
            << "F-3" << int(MoodCalm) << false << QList<int> { 1, 1, 3, MoodAll, 0 };
        QTest::newRow("calm while calm keeps calm")
            << "C-3" << int(MoodCalm) << false << QList<int> { 2, 2, 3, MoodCalm, 0 };
        QTest::newRow("neutral while offwhite sets neutral")
            << "N-1" << int(MoodOffwhite) << false << QList<int> { 4, 4, 1, MoodNeutral, 0 };
        QTest::newRow("interior chip turns the exterior filter off")
            << "R-4" << int(MoodAll) << true << QList<int> { 6, 6, 4, MoodAll, 0 };
        QTest::newRow("exterior chip keeps the exterior filter")
            << "W-2" << int(MoodAll) << true << QList<int> { 5, 5, 2, MoodAll, 1 };
        QTest::newRow("a searched name finds its chip")
            << "name R-2" << int(MoodAll) << false << QList<int> { 6, 6, 2, MoodAll, 0 };
        QTest::newRow("a phrase that finds nothing changes nothing")
            << "nowhere" << int(MoodCalm) << true << QList<int> { 1, 1, 1, MoodCalm, 1 };
        QTest::newRow("a blank phrase finds nothing")
            << "  " << int(MoodAll) << false << QList<int> { 1, 1, 1, MoodAll, 0 };
    }

    void searchForPhrase()
    {
        QFETCH(QString, phrase);
        QFETCH(int, startMood);
        QFETCH(bool, startExterior);
        UserState::setMoodFilter(kDeck, startMood);
        UserState::setExteriorColors(kDeck, startExterior);
        QVERIFY(makeMain());
        main->searchForPhrase(phrase);
        QTEST(position(kDeck), "position");
    }

    void capsureItemOfAnotherCollectionSwitchesFirst()
    {
        QVERIFY(makeMain());
        QSignalSpy changed(main.get(), &MainWidget::selectedCollectionChanged);
        DB::ColorEntry entry;
        QCOMPARE(DB::entryById(kOther, chipIds.value(QStringLiteral("Q-3")), entry), 0);
        main->capsureItemSelectedInteractively(kOther, entry);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(UserState::lastUsedCollection(), kOther);
        QCOMPARE(UserState::segmentIndex(kOther), 2);
        QCOMPARE(UserState::pageIndex(kOther), 2);
        QCOMPARE(UserState::rowIndex(kOther), 3);
        // A chip whose card cannot be loaded changes nothing.
        DB::ColorEntry lost = entry;
        lost.pageId = 99999;
        main->capsureItemSelectedInteractively(kDeck, lost);
        QCOMPARE(UserState::lastUsedCollection(), kOther);
    }

    // ---- changing the collection

    void collectionChangeAppliesTheNewCollection()
    {
        QVERIFY(makeMain(true));
        QSignalSpy changed(main.get(), &MainWidget::selectedCollectionChanged);
        QSignalSpy capsure(main.get(), &MainWidget::onCapsureFileChanged);
        QVERIFY(!main->capsureFolder().isEmpty());

        main->collectionChangedInteractively(kUnknown);
        main->collectionChangedInteractively(kDeck);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(UserState::lastUsedCollection(), kDeck);

        main->collectionChangedInteractively(kOther);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().first().toUuid(), kOther);
        QCOMPARE(UserState::lastUsedCollection(), kOther);
        QCOMPARE(CollectionSettings::currentCollection(), kOther);
        QCOMPARE(main->taskButton(MainWidget::SaveButtonId)->text(), QStringLiteral("mypalette.palette.save"));
        QCOMPARE(main->taskButton(MainWidget::LoadButtonId)->text(), QStringLiteral("mypalette.palette.load"));
        QCOMPARE(main->mottoLabel()->text(),
            MainWidget::linkText(QStringLiteral("links/motto"), QStringLiteral("color.palette.motto")));
        QVERIFY(main->capsureFolder().isEmpty());
        QVERIFY(main->capsureFile().isEmpty());
        QCOMPARE(capsure.count(), 1);
        QCOMPARE(main->collectionSelector()->capsureFileName(), QString());
        QVERIFY(!main->moodFilter()->isVisibleTo(main.get()));
        QCOMPARE(main->cardRoller()->geometry().top(), main->colorWheel()->geometry().bottom() + 6);
        QCOMPARE(main->colorCandidates().size(), std::size_t(5));
        QVERIFY(main->isEnabled());
        QVERIFY(main->updatesEnabled());
        QCOMPARE(main->cursor().shape(), Qt::ArrowCursor);
        // The filters stay as they were made.
        QCOMPARE(main->paletteFilter(), QStringLiteral("Deck common.filedialog.palettefile.filtername (*.palette)"));
    }

    // ---- nearest colour

    void hostColourNearAChipGoesStraightToIt_data()
    {
        QTest::addColumn<QColor>("host");
        QTest::addColumn<QString>("chip");
        QTest::newRow("equal to a chip") << kExactChip << QStringLiteral("H-4");
        QTest::newRow("within 2 on every channel") << QColor(62, 178, 92) << QStringLiteral("H-4");
        QTest::newRow("nearest at 0.005") << kAlmostHost << QStringLiteral("H-5");
    }

    void hostColourNearAChipGoesStraightToIt()
    {
        QFETCH(QColor, host);
        QFETCH(QString, chip);
        use(kMatch, 1, 1, 1);
        // A filter that would hide the chip's card is cleared.
        UserState::setMoodFilter(kMatch, MoodRich);
        QVERIFY(makeMain(true));
        bool dialogSeen = false;
        QTest::ignoreMessage(QtDebugMsg,
            qPrintable(QStringLiteral("\"RGB(%1,%2,%3)\"").arg(host.red()).arg(host.green()).arg(host.blue())));
        whileDialogOpen([](SelectNearestColorDialog *dialog) { dialog->reject(); },
            [&] { main->showNearestColor(host); }, &dialogSeen);
        QVERIFY(!dialogSeen);
        DB::ColorEntry entry;
        QCOMPARE(DB::entryById(kMatch, chipIds.value(chip), entry), 0);
        QCOMPARE(UserState::pageIndex(kMatch), 2);
        QCOMPARE(UserState::rowIndex(kMatch), entry.rowIndex);
        // The wheel points at the card shown.
        QCOMPARE(UserState::segmentIndex(kMatch), 2);
        QCOMPARE(UserState::moodFilter(kMatch), int(MoodAll));
    }

    void distantHostColourAsksAndGoesToTheChosenChip()
    {
        use(kMatch, 2, 2, 5);
        QVERIFY(makeMain(true));
        bool dialogSeen = false;
        // Closing the dialog and a transparent host colour change nothing.
        whileDialogOpen([](SelectNearestColorDialog *dialog) { dialog->close(); },
            [&] { main->showNearestColor(kGrey); }, &dialogSeen);
        QVERIFY(dialogSeen);
        whileDialogOpen([](SelectNearestColorDialog *dialog) { dialog->reject(); },
            [&] { main->showNearestColor(QColor(Qt::transparent)); }, &dialogSeen);
        QVERIFY(!dialogSeen);
        QCOMPARE(position(kMatch), (QList<int> { 2, 2, 5, int(MoodAll), 0 }));

        QColor thirdSwatch;
        whileDialogOpen(
            [&](SelectNearestColorDialog *dialog) {
                QCOMPARE(dialog->parentWidget(), main.get());
                QCOMPARE(dialog->windowModality(), Qt::WindowModal);
                // Six candidates at most, nearest first.
                QVERIFY(!dialog->swatchRect(5).isNull());
                QVERIFY(dialog->swatchRect(6).isNull());
                const QRect swatch = dialog->swatchRect(2);
                thirdSwatch = QColor(dialog->grab().toImage().pixel(swatch.center()));
                QTest::mouseClick(dialog, Qt::LeftButton, Qt::NoModifier, swatch.center());
            },
            [&] { main->showNearestColor(kGrey); }, &dialogSeen);
        QVERIFY(dialogSeen);
        QCOMPARE(thirdSwatch, QColor(kGreyReds.at(2), 120, 120));
        QCOMPARE(main->nearestColorDialog(), nullptr);
        QCOMPARE(position(kMatch), (QList<int> { 1, 1, 3, int(MoodAll), 0 }));
    }

    // ---- header, links, help

    void headerLinkAndHelp()
    {
        QTemporaryFile plugin(TestEnvironment::programData() + QStringLiteral("/plugin_XXXXXX.so"));
        QVERIFY(plugin.open());
        setPluginFilePath(plugin.fileName());
        QVERIFY(makeMain(true));
        QTest::mouseClick(main->taskButton(MainWidget::HelpButtonId), Qt::LeftButton);
        const QString folder = QFileInfo(plugin.fileName()).canonicalPath();
        QCOMPARE(catcher.urls, QList<QUrl> { QUrl(QStringLiteral("https://example.com/help?from=") + folder) });
        setPluginFilePath(QString());
        catcher.urls.clear();

        const QPoint inHeader = main->headerArea().center();
        QTest::mouseMove(main.get(), inHeader);
        QCOMPARE(main->cursor().shape(), Qt::PointingHandCursor);
        const QPoint below(main->headerArea().center().x(), main->headerArea().bottom() + 1);
        QTest::mouseMove(main.get(), below);
        QCOMPARE(main->cursor().shape(), Qt::ArrowCursor);

        QTest::mouseClick(main.get(), Qt::LeftButton, Qt::NoModifier, below);
        QVERIFY(catcher.urls.isEmpty());
        QTest::mouseClick(main.get(), Qt::LeftButton, Qt::NoModifier, inHeader);
        QCOMPARE(catcher.urls, QList<QUrl> { QUrl(QStringLiteral("https://example.com/deck")) });

        // A collection without a header link: no hand, no link.
        main->collectionChangedInteractively(kOther);
        QTest::mouseMove(main.get(), inHeader + QPoint(1, 0));
        QCOMPARE(main->cursor().shape(), Qt::ArrowCursor);
        QTest::mouseClick(main.get(), Qt::LeftButton, Qt::NoModifier, inHeader);
        QCOMPARE(catcher.urls.size(), 1);
    }

    void documentLinksReuseTheirTemporaryFile()
    {
        QVERIFY(makeMain());
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
        QFile mottoFile(mottoPath);
        QVERIFY(mottoFile.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(mottoFile.readAll()), QStringLiteral("Deck motto"));
        mottoFile.close();

        main->linkActivated(QStringLiteral("links/copyright"));
        QTemporaryFile *copyright = main->documentFile(QStringLiteral("links/copyright"));
        QVERIFY(copyright && copyright != motto);
        QFile copyrightFile(copyright->fileName());
        QVERIFY(copyrightFile.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(copyrightFile.readAll()), QStringLiteral("Deck license.copyright"));

        // A shorter text after a collection change leaves no old tail.
        main->collectionChangedInteractively(kOther);
        main->linkActivated(QStringLiteral("links/motto"));
        QVERIFY(mottoFile.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(mottoFile.readAll()), QStringLiteral("motto"));
        mottoFile.close();

        catcher.urls.clear();
        main->linkActivated(QStringLiteral("links/unknown"));
        QVERIFY(catcher.urls.isEmpty());

        main.reset();
        QVERIFY(!QFileInfo::exists(mottoPath));
    }

    // ---- Capsure folder

    void aMeasurementFileInTheWatchedFolderIsReported()
    {
        // The folder lies below the all-users folder.
        const QString folder = TestEnvironment::programData() + kCapsureSubfolder;
        QFile::remove(folder + QStringLiteral("/measure.cxf"));
        QVERIFY(makeMain());
        QCOMPARE(main->capsureFolder(), folder);
        QCOMPARE(main->capsureFile(), folder + QDir::separator() + QStringLiteral("measure.cxf"));
        QSignalSpy capsure(main.get(), &MainWidget::onCapsureFileChanged);
        QFile file(main->capsureFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<cxf/>");
        file.close();
        QTRY_VERIFY(capsure.count() >= 1);
        QCOMPARE(capsure.last().first().toString(), main->capsureFile());
        // The collection selector heard of it.
        QCOMPARE(main->collectionSelector()->capsureFileName(), main->capsureFile());
        QVERIFY(!main->collectionSelector()->capsureButton()->isHidden());
        QVERIFY(file.remove());
    }

    // ---- focus

    void editBoxFocusIsReported()
    {
        QVERIFY(makeMain(true));
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

    // ---- zoom and palette files

    void zoomSlidesTheFullPaletteInAndOut()
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
    }

    void saveDialogOffersTextOnlyWhereTheCollectionAllowsIt()
    {
        QVERIFY(makeMain(true));
        QSignalSpy saves(main.get(), &MainWidget::savePaletteTo);
        const QString path = TestEnvironment::programData() + QStringLiteral("/colours.txt");
        QStringList offered;
        answerFileDialog(
            [&](QFileDialog *dialog) {
                offered = dialog->nameFilters();
                dialog->selectNameFilter(main->textFilter());
            },
            path);
        main->saveButtonClicked();
        QCOMPARE(offered, (QStringList { main->paletteFilter(), main->textFilter() }));
        QCOMPARE(saves.count(), 1);
        QCOMPARE(saves.first().at(0).value<PaletteFileFormat>(), PaletteText);
        QCOMPARE(saves.first().at(1).toString(), path);
        QVERIFY(UserState::myPaletteSaveFileFormat());
        QCOMPARE(UserState::myPaletteLastSavePath(), path);

        // The load dialog offers palette files only; cancelling emits nothing.
        QSignalSpy loads(main.get(), &MainWidget::loadPaletteFrom);
        answerFileDialog([&](QFileDialog *dialog) { offered = dialog->nameFilters(); }, QString());
        main->loadButtonClicked();
        QCOMPARE(offered, QStringList { main->paletteFilter() });
        QCOMPARE(loads.count(), 0);

        // Another collection without the setting: palette files only.
        main->collectionChangedInteractively(kOther);
        answerFileDialog([&](QFileDialog *dialog) { offered = dialog->nameFilters(); }, QString());
        main->saveButtonClicked();
        QCOMPARE(offered, QStringList { main->paletteFilter() });
        QCOMPARE(saves.count(), 1);
    }
};

HUELINK_TEST_MAIN(MainWidgetTest)
#include "MainWidgetTest.moc"
