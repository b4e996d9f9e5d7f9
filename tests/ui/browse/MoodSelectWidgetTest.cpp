#include "ui/browse/MoodSelectWidget.h"
#include "db/CollectionRegistry.h"
#include "engine/inc/Enumerations.h"
#include "state/UserState.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QHelpEvent>
#include <QSignalSpy>
#include <QToolTip>
#include <QtTest>

#include <memory>

using namespace Tintor;

namespace {

// Normal cards; exterior cards exist for fresh and calm only.
const QUuid kNormal(QStringLiteral("{2b000000-0000-0000-0000-000000000001}"));
// Normal cards without the exterior filter.
const QUuid kNoExterior(QStringLiteral("{2b000000-0000-0000-0000-000000000002}"));
const QUuid kPelvon(QStringLiteral("{2b000000-0000-0000-0000-000000000003}"));
// No card type.
const QUuid kOther(QStringLiteral("{2b000000-0000-0000-0000-000000000004}"));

const QColor kNormalImageColor(90, 90, 90);
const QColor kWarmSelectedColor(240, 140, 20);
const QString kWarmTip = QStringLiteral("Warm & cosy colours");

MoodSelectWidget::LayoutInput sampleInput(int cardType, bool hasExterior)
{
    MoodSelectWidget::LayoutInput input;
    input.cardType = cardType;
    input.hasExteriorFilter = hasExterior;
    input.moodImageSizes.fill(QSize(23, 21));
    input.tickSize = QSize(12, 11);
    input.allMoodsTextSize = QSize(60, 14);
    input.exteriorTextSize = QSize(80, 14);
    input.mtoTextSize = QSize(100, 14);
    return input;
}

} // namespace

Q_DECLARE_METATYPE(MoodSelectWidget::Layout)

class MoodSelectWidgetTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FixtureDatabase> fixture;

    qint64 addDeck(const QUuid &uuid, const QString &systemId, int order, const QString &cardType)
    {
        const qint64 id = fixture->addCollection(uuid, systemId, order);
        if (!cardType.isEmpty())
            fixture->addSetting(id, QStringLiteral("card.type"), cardType);
        for (const char *key : { "mood.filter.all.moods", "mood.filter.exterior.colors", "do.not.show.mto" })
            fixture->addLocale(id, QLatin1String(key), QLatin1String(key));
        fixture->addLocale(id, QStringLiteral("tiptext.mood.warm.button"), kWarmTip);
        int pageIndex = 1;
        for (const int mood : { MoodFresh, MoodWarm, MoodCalm, MoodRich, MoodOffwhite, MoodNeutral }) {
            FixtureDatabase::Page page;
            page.pageIndex = pageIndex++;
            page.mood = mood;
            page.exterior = mood == MoodFresh || mood == MoodCalm;
            fixture->addPage(id, page);
        }
        return id;
    }

    void use(const QUuid &collection) { UserState::setLastUsedCollection(collection); }

    // Every signal of the panel in emission order.
    static QStringList recordSignals(MoodSelectWidget &panel, QStringList &log)
    {
        QObject::connect(&panel, &MoodSelectWidget::moodFilterChangedInteractively,
            [&log](Mood mood) { log << QStringLiteral("mood:%1").arg(int(mood)); });
        QObject::connect(&panel, &MoodSelectWidget::exteriorFilterChangedInteractively,
            [&log](bool on) { log << QStringLiteral("exterior:%1").arg(on); });
        QObject::connect(&panel, &MoodSelectWidget::showMtoChangedInteractively,
            [&log](bool on) { log << QStringLiteral("mto:%1").arg(on); });
        return log;
    }

private Q_SLOTS:
    void initTestCase()
    {
        fixture = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + QStringLiteral("/mood.db"));
        QVERIFY(fixture->isOpen());
        for (const char *mood : { "fresh", "calm", "warm", "rich", "offwhite", "neutral" }) {
            fixture->addTheme(0, QStringLiteral("image.mood.%1.normal").arg(QLatin1String(mood)),
                FixtureDatabase::png(QSize(23, 21), kNormalImageColor));
        }
        fixture->addTheme(
            0, QStringLiteral("image.mood.warm.selected"), FixtureDatabase::png(QSize(23, 21), kWarmSelectedColor));
        QVERIFY(addDeck(kNormal, QStringLiteral("NORMAL"), 1, QStringLiteral("normal")) > 0);
        const qint64 noExterior = addDeck(kNoExterior, QStringLiteral("NOEXT"), 2, QStringLiteral("Normal"));
        fixture->addSetting(noExterior, QStringLiteral("has.exterior.filter"), 0);
        QVERIFY(addDeck(kPelvon, QStringLiteral("PELVON"), 3, QStringLiteral("PELVON")) > 0);
        QVERIFY(addDeck(kOther, QStringLiteral("OTHER"), 4, QString()) > 0);
        QCOMPARE(DB::discoverCollections(), 1);
    }

    void cleanupTestCase() { fixture.reset(); }

    void init() { TestEnvironment::resetUserState(); }

    void layoutFigures_data()
    {
        QTest::addColumn<MoodSelectWidget::LayoutInput>("input");
        QTest::addColumn<MoodSelectWidget::Layout>("expected");

        // Mood images 23 x 21, tick 12 x 11, labels 60, 80 and 100 wide and
        // 14 high: check items 77 x 14, 97 x 14 and 117 x 14; the mood row
        // is 101 wide, the body 41 high.
        MoodSelectWidget::Layout normal;
        normal.size = QSize(137, 69);
        normal.moodRects = { QRect(4, 4, 23, 21), QRect(30, 4, 23, 21), QRect(56, 4, 23, 21), QRect(82, 4, 23, 21),
            QRect(111, 4, 23, 21), QRect(111, 25, 23, 21) };
        normal.allMoodsItem = QRect(16, 31, 77, 14);
        normal.exteriorItem = QRect(20, 51, 97, 14);
        normal.lineBelowMoods = QLine(4, 28, 104, 28);
        normal.lineLeftOfColumn = QLine(110, 4, 110, 42);
        normal.lineAboveExterior = QLine(4, 47, 133, 47);
        QTest::newRow("normal") << sampleInput(CardNormal, true) << normal;

        MoodSelectWidget::Layout noExterior = normal;
        noExterior.size = QSize(137, 49);
        noExterior.exteriorItem = QRect();
        noExterior.lineAboveExterior = QLine();
        QTest::newRow("normal without exterior filter") << sampleInput(CardNormal, false) << noExterior;

        // A wide all-moods label widens the left part and centres the row.
        MoodSelectWidget::LayoutInput wide = sampleInput(CardNormal, true);
        wide.allMoodsTextSize = QSize(120, 20);
        MoodSelectWidget::Layout wideLayout;
        wideLayout.size = QSize(173, 75); // left part 137 wide, body 47 high
        wideLayout.moodRects = { QRect(22, 4, 23, 21), QRect(48, 4, 23, 21), QRect(74, 4, 23, 21),
            QRect(100, 4, 23, 21), QRect(147, 4, 23, 21), QRect(147, 25, 23, 21) };
        wideLayout.allMoodsItem = QRect(4, 31, 137, 20);
        wideLayout.exteriorItem = QRect(38, 57, 97, 14);
        wideLayout.lineBelowMoods = QLine(22, 28, 122, 28);
        wideLayout.lineLeftOfColumn = QLine(146, 4, 146, 42);
        wideLayout.lineAboveExterior = QLine(22, 53, 169, 53);
        QTest::newRow("wide all-moods label") << wide << wideLayout;

        MoodSelectWidget::Layout pelvon;
        pelvon.size = QSize(123, 20);
        pelvon.mtoItem = QRect(3, 3, 117, 14);
        QTest::newRow("pelvon") << sampleInput(CardPelvon, true) << pelvon;

        QTest::newRow("other") << sampleInput(CardOther, true) << MoodSelectWidget::Layout();
    }
    void layoutFigures()
    {
        QFETCH(MoodSelectWidget::LayoutInput, input);
        QFETCH(MoodSelectWidget::Layout, expected);
        const MoodSelectWidget::Layout layout = MoodSelectWidget::computeLayout(input);
        QCOMPARE(layout.size, expected.size);
        for (std::size_t i = 0; i < layout.moodRects.size(); ++i)
            QCOMPARE(layout.moodRects[i], expected.moodRects[i]);
        QCOMPARE(layout.allMoodsItem, expected.allMoodsItem);
        QCOMPARE(layout.exteriorItem, expected.exteriorItem);
        QCOMPARE(layout.mtoItem, expected.mtoItem);
        QCOMPARE(layout.lineBelowMoods, expected.lineBelowMoods);
        QCOMPARE(layout.lineLeftOfColumn, expected.lineLeftOfColumn);
        QCOMPARE(layout.lineAboveExterior, expected.lineAboveExterior);
    }

    void widgetTakesTheSizeOfItsLayout()
    {
        use(kNormal);
        MoodSelectWidget panel;
        panel.show();
        QCOMPARE(panel.size(), panel.currentLayout().size);
        QCOMPARE(panel.sizeHint(), panel.currentLayout().size);
        QCOMPARE(panel.minimumSizeHint(), panel.currentLayout().size);
        QCOMPARE(panel.minimumSize(), panel.currentLayout().size);
        QCOMPARE(panel.maximumSize(), panel.currentLayout().size);
        const QSize normalSize = panel.size();
        // A collection change lays out again.
        use(kPelvon);
        panel.selectedCollectionChanged(kPelvon);
        QVERIFY(panel.size() != normalSize);
        QCOMPARE(panel.size(), panel.currentLayout().size);
        QVERIFY(!panel.currentLayout().mtoItem.isEmpty());
        use(kOther);
        panel.selectedCollectionChanged(kOther);
        QCOMPARE(panel.size(), QSize(0, 0));
    }

    void clicks_data()
    {
        QTest::addColumn<int>("mood");
        QTest::addColumn<bool>("exterior");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("pick warm") << int(MoodAll) << false << "warm" << QStringList { "mood:2" };
        QTest::newRow("selected mood again") << int(MoodWarm) << false << "warm" << QStringList {};
        QTest::newRow("disabled mood under exterior") << int(MoodAll) << true << "warm" << QStringList {};
        QTest::newRow("mood with exterior cards") << int(MoodAll) << true << "calm" << QStringList { "mood:3" };
        QTest::newRow("all moods") << int(MoodCalm) << false << "all" << QStringList { "mood:7" };
        QTest::newRow("all moods again") << int(MoodAll) << false << "all" << QStringList {};
        QTest::newRow("exterior on drops a mood without exterior cards")
            << int(MoodWarm) << false << "exterior" << QStringList { "mood:7", "exterior:1" };
        QTest::newRow("exterior on keeps a mood with exterior cards")
            << int(MoodFresh) << false << "exterior" << QStringList { "exterior:1" };
        QTest::newRow("exterior off keeps the mood")
            << int(MoodFresh) << true << "exterior" << QStringList { "exterior:0" };
        QTest::newRow("empty spot") << int(MoodAll) << false << "nowhere" << QStringList {};
    }
    void clicks()
    {
        QFETCH(int, mood);
        QFETCH(bool, exterior);
        QFETCH(QString, target);
        QFETCH(QStringList, expected);
        use(kNormal);
        MoodSelectWidget panel;
        panel.show();
        // Stored after construction: the panel must read them on the click.
        UserState::setMoodFilter(kNormal, mood);
        UserState::setExteriorColors(kNormal, exterior);
        QStringList log;
        recordSignals(panel, log);

        const MoodSelectWidget::Layout &layout = panel.currentLayout();
        const QHash<QString, QPoint> targets {
            { QStringLiteral("warm"), panel.moodRect(MoodWarm).center() },
            { QStringLiteral("calm"), panel.moodRect(MoodCalm).center() },
            { QStringLiteral("all"), layout.allMoodsItem.center() },
            { QStringLiteral("exterior"), layout.exteriorItem.center() },
            { QStringLiteral("nowhere"), QPoint(layout.lineLeftOfColumn.x1(), layout.size.height() - 2) },
        };
        QVERIFY(targets.contains(target));
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, targets.value(target));
        QCOMPARE(log, expected);
    }

    void moodAtAndMoodRectArePairs()
    {
        use(kNormal);
        MoodSelectWidget panel;
        for (const Mood mood : { MoodFresh, MoodWarm, MoodCalm, MoodRich, MoodOffwhite, MoodNeutral }) {
            const QRect rect = panel.moodRect(mood);
            QCOMPARE(panel.moodAt(rect.topLeft()), int(mood));
            QCOMPARE(panel.moodAt(rect.bottomRight()), int(mood));
            QVERIFY(panel.moodAt(rect.bottomRight() + QPoint(1, 1)) != int(mood));
        }
        QCOMPARE(panel.moodRect(MoodAll), QRect());
    }

    void withoutExteriorFilterTheExteriorSpotIsDead()
    {
        use(kNormal);
        MoodSelectWidget normalPanel;
        const QPoint exteriorSpot = normalPanel.currentLayout().exteriorItem.center();
        use(kNoExterior);
        MoodSelectWidget panel;
        panel.show();
        QStringList log;
        recordSignals(panel, log);
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, exteriorSpot);
        QVERIFY(log.isEmpty());
        QVERIFY(panel.height() < normalPanel.height());
    }

    void pelvonTogglesMadeToOrder()
    {
        use(kPelvon);
        MoodSelectWidget panel;
        panel.show();
        QStringList log;
        recordSignals(panel, log);
        const QRect item = panel.currentLayout().mtoItem;
        // The placeholder tick, white inside a red frame, shows while they are hidden.
        const QPoint tickFrame(item.left() + 1, item.top() + (item.height() - 11) / 2 + 1);
        QCOMPARE(panel.grab().toImage().pixelColor(tickFrame), QColor(255, 0, 0));
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, item.center());
        QCOMPARE(log, QStringList { "mto:1" });
        UserState::setShowMto(kPelvon, true);
        QVERIFY(panel.grab().toImage().pixelColor(tickFrame) != QColor(255, 0, 0));
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, item.center());
        QCOMPARE(log, (QStringList { "mto:1", "mto:0" }));
        // Outside the item, in the margin: nothing.
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
        QCOMPARE(log.size(), 2);
    }

    void paintingReadsTheFiltersAfresh()
    {
        use(kNormal);
        MoodSelectWidget panel;
        const QRect warm = panel.moodRect(MoodWarm);
        QCOMPARE(panel.grab().toImage().pixelColor(warm.center()), kNormalImageColor);
        UserState::setMoodFilter(kNormal, MoodWarm);
        QCOMPARE(panel.grab().toImage().pixelColor(warm.center()), kWarmSelectedColor);

        // Exterior on: warm has no exterior card and gets the disabled mark
        // (a placeholder: red frame) in its bottom-right corner.
        const QPoint markFrame(warm.right() - 11 + 1, warm.bottom() - 4);
        QCOMPARE(panel.grab().toImage().pixelColor(markFrame), kWarmSelectedColor);
        UserState::setExteriorColors(kNormal, true);
        const QImage marked = panel.grab().toImage();
        QCOMPARE(marked.pixelColor(markFrame), QColor(255, 0, 0));
        QCOMPARE(marked.pixelColor(warm.topLeft() + QPoint(3, 3)), kNormalImageColor);
    }

    void tooltipShowsTheMoodText()
    {
        use(kNormal);
        MoodSelectWidget panel;
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        const QRect warm = panel.moodRect(MoodWarm);
        QHelpEvent onWarm(QEvent::ToolTip, warm.center(), panel.mapToGlobal(warm.center()));
        QApplication::sendEvent(&panel, &onWarm);
        QTRY_VERIFY(QToolTip::isVisible());
        QCOMPARE(QToolTip::text(), QStringLiteral("<span style=\"font-size: 12px;\">%1</span>").arg(kWarmTip));
        QCOMPARE(panel.cursor().shape(), Qt::PointingHandCursor);

        const QPoint all = panel.currentLayout().allMoodsItem.center();
        QHelpEvent onAll(QEvent::ToolTip, all, panel.mapToGlobal(all));
        QApplication::sendEvent(&panel, &onAll);
        QVERIFY(!onAll.isAccepted());
        QTRY_VERIFY(!QToolTip::isVisible());
        // The hand shows what can be clicked, disabled moods too.
        QTest::mouseMove(&panel, panel.currentLayout().exteriorItem.center());
        QCOMPARE(panel.cursor().shape(), Qt::PointingHandCursor);
        QTest::mouseMove(&panel, panel.currentLayout().lineLeftOfColumn.p1() + QPoint(0, 1));
        QCOMPARE(panel.cursor().shape(), Qt::ArrowCursor);
        UserState::setExteriorColors(kNormal, true);
        QTest::mouseMove(&panel, panel.moodRect(MoodRich).center());
        QCOMPARE(panel.cursor().shape(), Qt::PointingHandCursor);
    }
};

HUELINK_TEST_MAIN(MoodSelectWidgetTest)
#include "MoodSelectWidgetTest.moc"
