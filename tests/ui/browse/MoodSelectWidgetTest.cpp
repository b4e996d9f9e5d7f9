#include "ui/browse/MoodSelectWidget.h"
#include "engine/inc/Enumerations.h"
#include "state/UserState.h"
#include "ui/browse/BrowseFixture.h"

#include <QHelpEvent>
#include <QToolTip>

using namespace Tintor;
using BrowseFixture::addRows;
using BrowseFixture::fetchRow;
using Layout = MoodSelectWidget::Layout;

namespace {

// Normal cards; exterior cards exist for fresh and calm only.
const QUuid kNormal(QStringLiteral("{2b000000-0000-0000-0000-000000000001}"));
const QUuid kNoExterior(QStringLiteral("{2b000000-0000-0000-0000-000000000002}")); // no exterior filter
const QUuid kPelvon(QStringLiteral("{2b000000-0000-0000-0000-000000000003}"));
const QUuid kOther(QStringLiteral("{2b000000-0000-0000-0000-000000000004}")); // no card type

const QColor kNormalImageColor(90, 90, 90);
const QColor kWarmSelectedColor(240, 140, 20);
const QString kWarmTip = QStringLiteral("Warm & cosy colours");

MoodSelectWidget::LayoutInput sampleInput(int cardType, bool hasExterior, const QSize &allMoodsText = QSize(60, 14))
{
    MoodSelectWidget::LayoutInput input;
    input.cardType = cardType;
    input.hasExteriorFilter = hasExterior;
    input.moodImageSizes.fill(QSize(23, 21));
    input.tickSize = QSize(12, 11);
    input.allMoodsTextSize = allMoodsText;
    input.exteriorTextSize = QSize(80, 14);
    input.mtoTextSize = QSize(100, 14);
    return input;
}

QVariantList fields(const Layout &layout)
{
    QVariantList all { layout.size, layout.allMoodsItem, layout.exteriorItem, layout.mtoItem, layout.lineBelowMoods,
        layout.lineLeftOfColumn, layout.lineAboveExterior };
    for (const QRect &rect : layout.moodRects)
        all << rect;
    return all;
}

// Images 23 x 21, tick 12 x 11, labels 60, 80, 100 x 14: items 77, 97, 117 x 14; mood row 101 wide, body 41 high.
const Layout kNormalLayout { QSize(137, 69),
    { QRect(4, 4, 23, 21), QRect(30, 4, 23, 21), QRect(56, 4, 23, 21), QRect(82, 4, 23, 21), QRect(111, 4, 23, 21),
        QRect(111, 25, 23, 21) },
    QRect(16, 31, 77, 14), QRect(20, 51, 97, 14), QRect(), QLine(4, 28, 104, 28), QLine(110, 4, 110, 42),
    QLine(4, 47, 133, 47) };

const QList<std::tuple<const char *, MoodSelectWidget::LayoutInput, Layout>> layouts
    = { { "normal", sampleInput(CardNormal, true), kNormalLayout },
          // A wide all-moods label widens the left part (137) and the body (47), centring the row.
          { "wide all-moods label", sampleInput(CardNormal, true, QSize(120, 20)),
              { QSize(173, 75),
                  { QRect(22, 4, 23, 21), QRect(48, 4, 23, 21), QRect(74, 4, 23, 21), QRect(100, 4, 23, 21),
                      QRect(147, 4, 23, 21), QRect(147, 25, 23, 21) },
                  QRect(4, 31, 137, 20), QRect(38, 57, 97, 14), QRect(), QLine(22, 28, 122, 28), QLine(146, 4, 146, 42),
                  QLine(22, 53, 169, 53) } },
          { "pelvon", sampleInput(CardPelvon, true),
              { QSize(123, 20), {}, QRect(), QRect(), QRect(3, 3, 117, 14), QLine(), QLine(), QLine() } },
          { "other", sampleInput(CardOther, true), Layout() } };

const QList<std::tuple<const char *, int, bool, QString, QStringList>> clickCases = {
    { "pick warm", MoodAll, false, "warm", { "mood:2" } }, { "selected mood again", MoodWarm, false, "warm", {} },
    { "disabled mood under exterior", MoodAll, true, "warm", {} },
    { "mood with exterior cards", MoodAll, true, "calm", { "mood:3" } },
    { "all moods", MoodCalm, false, "all", { "mood:7" } }, { "all moods again", MoodAll, false, "all", {} },
    { "exterior on drops a mood without exterior cards", MoodWarm, false, "exterior", { "mood:7", "exterior:1" } },
    { "exterior on keeps a mood with exterior cards", MoodFresh, false, "exterior", { "exterior:1" } },
    { "exterior off keeps the mood", MoodFresh, true, "exterior", { "exterior:0" } },
    { "empty spot", MoodAll, false, "nowhere", {} }
};

void recordSignals(MoodSelectWidget &panel, QStringList &log)
{
    QObject::connect(&panel, &MoodSelectWidget::moodFilterChangedInteractively,
        [&log](Mood mood) { log << QStringLiteral("mood:%1").arg(int(mood)); });
    QObject::connect(&panel, &MoodSelectWidget::exteriorFilterChangedInteractively,
        [&log](bool on) { log << QStringLiteral("exterior:%1").arg(on); });
    QObject::connect(&panel, &MoodSelectWidget::showMtoChangedInteractively,
        [&log](bool on) { log << QStringLiteral("mto:%1").arg(on); });
}

} // namespace

class MoodSelectWidgetTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        FixtureDatabase fixture(TestEnvironment::collectionFolder() + QStringLiteral("/mood.db"));
        QVERIFY(fixture.isOpen());
        for (const char *mood : { "fresh", "calm", "warm", "rich", "offwhite", "neutral" })
            fixture.addTheme(0, QStringLiteral("image.mood.%1.normal").arg(QLatin1String(mood)),
                FixtureDatabase::png(QSize(23, 21), kNormalImageColor));
        fixture.addTheme(
            0, QStringLiteral("image.mood.warm.selected"), FixtureDatabase::png(QSize(23, 21), kWarmSelectedColor));
        const QList<QPair<QUuid, QString>> decks
            = { { kNormal, "normal" }, { kNoExterior, "Normal" }, { kPelvon, "PELVON" }, { kOther, "" } };
        for (int order = 1; order <= decks.size(); ++order) {
            const auto &[uuid, cardType] = decks.at(order - 1);
            const qint64 id = fixture.addCollection(uuid, QStringLiteral("M%1").arg(order), order);
            if (!cardType.isEmpty())
                fixture.addSetting(id, QStringLiteral("card.type"), cardType);
            if (uuid == kNoExterior)
                fixture.addSetting(id, QStringLiteral("has.exterior.filter"), 0);
            for (const char *key : { "mood.filter.all.moods", "mood.filter.exterior.colors", "do.not.show.mto" })
                fixture.addLocale(id, QLatin1String(key), QLatin1String(key));
            fixture.addLocale(id, QStringLiteral("tiptext.mood.warm.button"), kWarmTip);
            int pageIndex = 1;
            for (const int mood : { MoodFresh, MoodWarm, MoodCalm, MoodRich, MoodOffwhite, MoodNeutral })
                fixture.addPage(
                    id, FixtureDatabase::Page(pageIndex++, 1, {}, mood == MoodFresh || mood == MoodCalm, mood));
        }
        QCOMPARE(DB::discoverCollections(), 1);
    }

    void init() { TestEnvironment::resetUserState(); }

    void layoutFigures_data() { addRows(layouts); }
    void layoutFigures()
    {
        const auto &[name, input, expected] = fetchRow(layouts);
        QCOMPARE(fields(MoodSelectWidget::computeLayout(input)), fields(expected));
    }

    void widgetTakesTheSizeOfItsLayout()
    {
        UserState::setLastUsedCollection(kNormal);
        MoodSelectWidget panel;
        panel.show();
        QStringList log;
        recordSignals(panel, log);
        const Layout normalLayout = panel.currentLayout();
        const QSize size = normalLayout.size;
        QCOMPARE((QList<QSize> { panel.size(), panel.sizeHint(), panel.minimumSizeHint(), panel.minimumSize(),
                     panel.maximumSize() }),
            QList<QSize>(5, size));
        UserState::setLastUsedCollection(kPelvon);
        panel.selectedCollectionChanged(kPelvon);
        QVERIFY(panel.size() != size);
        QCOMPARE(panel.size(), panel.currentLayout().size);
        // Pelvon cards: the made-to-order item toggles; a placeholder tick (red frame) shows while they are hidden.
        const QRect item = panel.currentLayout().mtoItem;
        const QPoint tickFrame(item.left() + 1, item.top() + (item.height() - 11) / 2 + 1);
        QCOMPARE(panel.grab().toImage().pixelColor(tickFrame), QColor(255, 0, 0));
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, item.center());
        UserState::setShowMto(kPelvon, true);
        QVERIFY(panel.grab().toImage().pixelColor(tickFrame) != QColor(255, 0, 0));
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, item.center());
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
        UserState::setLastUsedCollection(kOther);
        panel.selectedCollectionChanged(kOther);
        QCOMPARE(panel.size(), QSize(0, 0));
        // Without the exterior filter the panel is lower and the exterior spot dead.
        UserState::setLastUsedCollection(kNoExterior);
        panel.selectedCollectionChanged(kNoExterior);
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, normalLayout.exteriorItem.center());
        QCOMPARE(log, (QStringList { "mto:1", "mto:0" }));
        QVERIFY(panel.height() < normalLayout.size.height());
    }

    void clicks_data() { addRows(clickCases); }
    void clicks()
    {
        const auto &[name, mood, exterior, target, expected] = fetchRow(clickCases);
        UserState::setLastUsedCollection(kNormal);
        MoodSelectWidget panel;
        panel.show();
        // Stored after construction: the panel must read them on the click.
        UserState::setMoodFilter(kNormal, mood);
        UserState::setExteriorColors(kNormal, exterior);
        QStringList log;
        recordSignals(panel, log);
        const Layout &layout = panel.currentLayout();
        const QHash<QString, QPoint> targets { { QStringLiteral("warm"), panel.moodRect(MoodWarm).center() },
            { QStringLiteral("calm"), panel.moodRect(MoodCalm).center() },
            { QStringLiteral("all"), layout.allMoodsItem.center() },
            { QStringLiteral("exterior"), layout.exteriorItem.center() },
            { QStringLiteral("nowhere"), QPoint(layout.lineLeftOfColumn.x1(), layout.size.height() - 2) } };
        QTest::mouseClick(&panel, Qt::LeftButton, Qt::NoModifier, targets.value(target));
        QCOMPARE(log, expected);
    }

    void moodRectsAndPainting()
    {
        UserState::setLastUsedCollection(kNormal);
        MoodSelectWidget panel;
        for (const Mood mood : { MoodFresh, MoodWarm, MoodCalm, MoodRich, MoodOffwhite, MoodNeutral }) {
            const QRect rect = panel.moodRect(mood);
            QCOMPARE(panel.moodAt(rect.topLeft()), int(mood));
            QCOMPARE(panel.moodAt(rect.bottomRight()), int(mood));
            QVERIFY(panel.moodAt(rect.bottomRight() + QPoint(1, 1)) != int(mood));
        }
        QCOMPARE(panel.moodRect(MoodAll), QRect());
        const QRect warm = panel.moodRect(MoodWarm);
        QCOMPARE(panel.grab().toImage().pixelColor(warm.center()), kNormalImageColor);
        UserState::setMoodFilter(kNormal, MoodWarm);
        // Exterior on: warm, without exterior cards, gets the disabled mark (red frame) bottom right.
        const QPoint markFrame(warm.right() - 11 + 1, warm.bottom() - 4);
        const QImage selected = panel.grab().toImage();
        QCOMPARE(selected.pixelColor(warm.center()), kWarmSelectedColor);
        QCOMPARE(selected.pixelColor(markFrame), kWarmSelectedColor);
        UserState::setExteriorColors(kNormal, true);
        const QImage marked = panel.grab().toImage();
        QCOMPARE(marked.pixelColor(markFrame), QColor(255, 0, 0));
        QCOMPARE(marked.pixelColor(warm.topLeft() + QPoint(3, 3)), kNormalImageColor);
    }

    void tooltipAndHandShowWhatCanBeClicked()
    {
        UserState::setLastUsedCollection(kNormal);
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
        // Disabled moods get the hand too.
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
