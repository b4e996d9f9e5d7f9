#include "ui/browse/ColorWheelWidget.h"
#include "engine/inc/Enumerations.h"
#include "state/UserState.h"
#include "ui/browse/BrowseFixture.h"

#include <cmath>

using namespace Tintor;
using BrowseFixture::addRows;
using BrowseFixture::fetchRow;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Twelve segments with cards everywhere (5 calm, the rest fresh) unless the name says otherwise.
const QUuid kClockwise90(QStringLiteral("{1a000000-0000-0000-0000-000000000001}"));
const QUuid kClockwise0(QStringLiteral("{1a000000-0000-0000-0000-000000000002}"));
const QUuid kCounterClockwise0(QStringLiteral("{1a000000-0000-0000-0000-000000000003}"));
const QUuid kGaps(QStringLiteral("{1a000000-0000-0000-0000-000000000004}"));
const QUuid kBeyondCount(QStringLiteral("{1a000000-0000-0000-0000-000000000005}"));
const QUuid kNoCards(QStringLiteral("{1a000000-0000-0000-0000-000000000006}"));
const QUuid kUnsetOrientation(QStringLiteral("{1a000000-0000-0000-0000-000000000007}"));

const QColor kBackground(20, 30, 40);

// First angles a damaged or hostile file could carry, each on a clockwise deck.
const char *const kHostileAngles[] = { "1e308", "-1e308", "inf", "-inf", "nan", "1e16", "1e13" };

QUuid hostileDeckUuid(int index)
{
    return QUuid(QStringLiteral("{1b000000-0000-0000-0000-%1}").arg(index, 12, 10, QLatin1Char('0')));
}

// Antialiased white strokes: near white counts.
bool isWhite(const QColor &color)
{
    return color.red() > 230 && color.green() > 230 && color.blue() > 230;
}

QPoint pointOnWheel(const ColorWheelWidget &wheel, double angleDegrees, double radius = 30.0)
{
    return ColorWheelWidget::pointAt(wheel.wheelCenter(), qDegreesToRadians(angleDegrees), radius).toPoint();
}

void use(const QUuid &collection, int segment = 1)
{
    UserState::setLastUsedCollection(collection);
    UserState::setSegmentIndex(collection, segment);
}

const QList<int> kAll { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 };

const QList<std::tuple<const char *, QUuid, double, int, double>> presses
    = { { "cw90 straight right", kClockwise90, 0.0, 4, 0.0 }, { "cw0 at 350", kClockwise0, 350.0, 1, 0.0 },
          { "ccw0 at 60", kCounterClockwise0, 60.0, 3, 60.0 },
          // Without an orientation the wheel hits clockwise but paints counter-clockwise.
          { "unset orientation", kUnsetOrientation, 330.0, 2, 30.0 } };

const QList<std::tuple<const char *, QUuid, int, int, int>> steps = { { "towards the user", kClockwise90, 4, -120, 5 },
    { "away from the user", kClockwise90, 4, 120, 3 }, { "huge delta is one step", kClockwise90, 4, -2400, 5 },
    { "skips a segment without cards", kGaps, 1, -120, 3 }, { "skips backwards through the wrap", kGaps, 1, 120, 3 },
    // The query answers 7 for every segment in reach: the wheel must give up, not loop.
    { "bounded where no segment has cards", kBeyondCount, 1, -120, 0 } };

} // namespace

class ColorWheelWidgetTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        FixtureDatabase fixture(TestEnvironment::collectionFolder() + QStringLiteral("/wheel.db"));
        QVERIFY(fixture.isOpen());
        fixture.addTheme(0, QStringLiteral("image.widget.color.wheel.background"),
            FixtureDatabase::png(QSize(122, 122), kBackground));
        QList<std::tuple<QUuid, int, QVariant, QString, QList<int>>> decks = { { kClockwise90, 12, 90.0, "CW", kAll },
            { kClockwise0, 12, 0.0, "cw", kAll }, { kCounterClockwise0, 12, 0.0, "CCW", kAll },
            { kGaps, 12, 0.0, "CW", { 1, 3 } }, { kBeyondCount, 4, 0.0, "CW", { 7, 8 } },
            { kNoCards, 12, 0.0, "CW", {} }, { kUnsetOrientation, 12, 0.0, "", kAll } };
        for (int i = 0; i < int(std::size(kHostileAngles)); ++i)
            decks.append({ hostileDeckUuid(i), 12, QString::fromLatin1(kHostileAngles[i]), "CW", kAll });
        for (int order = 1; order <= decks.size(); ++order) {
            const auto &[uuid, segments, firstAngle, orientation, cardSegments] = decks.at(order - 1);
            const qint64 id = fixture.addCollection(uuid, QStringLiteral("W%1").arg(order), order);
            fixture.addSetting(id, QStringLiteral("num.of.segments"), segments);
            fixture.addSetting(id, QStringLiteral("first.segment.angle"), firstAngle);
            if (!orientation.isEmpty())
                fixture.addSetting(id, QStringLiteral("segment.increment.orientation"), orientation);
            for (int page = 1; page <= cardSegments.size(); ++page) {
                const int segment = cardSegments.at(page - 1);
                BrowseFixture::addCard(fixture, id,
                    FixtureDatabase::Page(page, segment, {}, false, segment == 5 ? MoodCalm : MoodFresh),
                    { QColor::fromHsv((segment * 30) % 360, 200, 200) },
                    QStringLiteral("W%1-%2-").arg(order).arg(page));
            }
        }
        QCOMPARE(DB::discoverCollections(), 1);
    }

    void init() { TestEnvironment::resetUserState(); }

    void geometryFunctions()
    {
        const QPointF center(60.0, 61.0);
        // Screen y grows downward: a point above the centre is at 90 degrees.
        QCOMPARE(ColorWheelWidget::angleAt(center, QPointF(60.0, 20.0)), kPi / 2);
        QCOMPARE(ColorWheelWidget::angleAt(center, QPointF(60.0, 100.0)), 3 * kPi / 2);
        QCOMPARE(ColorWheelWidget::angleAt(center, center), 0.0);
        // Straight right is 0, not a full turn.
        QCOMPARE(ColorWheelWidget::angleAt(center, QPointF(100.0, 61.0)), 0.0);
        QCOMPARE(std::round(qRadiansToDegrees(ColorWheelWidget::segmentAngle(3, 12, 0.0, false))), 60.0);
        QCOMPARE(std::round(qRadiansToDegrees(ColorWheelWidget::segmentAngle(3, 12, 0.0, true))), -60.0);

        // First angle, orientation, an angle and the segment there, whose needle points into it.
        const QList<std::tuple<double, bool, double, int>> cases
            = { { 90.0, true, 90.0, 1 }, { 90.0, true, 75.5, 1 }, { 90.0, true, 104.5, 1 }, { 90.0, true, 0.0, 4 },
                  { 90.0, true, 255.5, 7 }, { 0.0, true, 350.0, 1 }, { 0.0, true, 30.0, 12 }, { 0.0, false, 350.0, 1 },
                  { 0.0, false, 60.0, 3 }, { 450.0, true, 60.0, 2 }, { -90.0, false, 270.0, 1 } };
        for (const auto &[firstAngle, clockwise, angle, segment] : cases) {
            const auto arcs
                = ColorWheelWidget::buildSegmentArcs(12, qDegreesToRadians(firstAngle), clockwise, kAll.toVector());
            QCOMPARE(ColorWheelWidget::segmentAt(arcs, qDegreesToRadians(angle)), segment);
            const double needle = ColorWheelWidget::segmentAngle(segment, 12, qDegreesToRadians(firstAngle), clockwise);
            QCOMPARE(ColorWheelWidget::segmentAt(arcs, std::fmod(needle + 4 * kPi, 2 * kPi)), segment);
        }

        const QList<std::tuple<int, bool, int>> stepCases = { { 5, true, 6 }, { 5, false, 4 }, { 12, true, 1 },
            { 1, false, 12 }, { 2147483647, true, 1 }, { -2147483647 - 1, false, 12 } };
        for (const auto &[segment, towardsHigher, stepped] : stepCases)
            QCOMPARE(ColorWheelWidget::steppedSegment(segment, 12, towardsHigher), stepped);
        // Segment 1 straddles 0 and has two pieces, both bounds included.
        QList<QPair<double, double>> pieces;
        for (const SegmentArc &arc : ColorWheelWidget::buildSegmentArcs(12, 0.0, true, kAll.toVector())) {
            if (arc.segment == 1)
                pieces.append({ std::round(qRadiansToDegrees(arc.lower)), std::round(qRadiansToDegrees(arc.upper)) });
            QCOMPARE(arc.bounds, SegmentArc::LowerIncluded | SegmentArc::UpperIncluded);
        }
        QCOMPARE(pieces, (QList<QPair<double, double>> { { 345.0, 360.0 }, { 0.0, 15.0 } }));
        QVERIFY(ColorWheelWidget::buildSegmentArcs(0, 0.0, true, { 1 }).empty());
    }

    void hostileAnglesLeaveAWorkingWheel()
    {
        for (int deck = 0; deck < int(std::size(kHostileAngles)); ++deck) {
            // A stored segment at the end of the integers too.
            use(hostileDeckUuid(deck), -2147483647 - 1);
            ColorWheelWidget wheel;
            for (double angle = 0.0; angle < 360.0; angle += 7.5)
                QVERIFY2(ColorWheelWidget::segmentAt(wheel.segmentArcs(), qDegreesToRadians(angle)) != 0,
                    kHostileAngles[deck]);
            const QImage image = wheel.grab().toImage();
            QVERIFY(isWhite(image.pixelColor(wheel.wheelCenter().toPoint()))
                && isWhite(image.pixelColor(pointOnWheel(wheel, qRadiansToDegrees(wheel.needleAngle(1)), 25.0))));
        }
    }

    void orientationSettingsSteerHitsAndNeedle()
    {
        for (const auto &[name, collection, angle, segment, needle] : presses) {
            use(collection);
            ColorWheelWidget wheel;
            QVERIFY2(wheel.segmentAtPoint(pointOnWheel(wheel, angle)) == segment, name);
            QCOMPARE(std::round(qRadiansToDegrees(wheel.needleAngle(segment))), needle);
        }
    }

    void pressingAndDragging()
    {
        use(kClockwise90);
        ColorWheelWidget wheel;
        wheel.show();
        QCOMPARE(wheel.maximumSize(), QSize(122, 122));
        QCOMPARE(wheel.wheelCenter(), QPointF(60.0, 61.0));
        QSignalSpy spy(&wheel, &ColorWheelWidget::segmentChangedInteractively);
        // Just outside the hit radius, the right button, the centre (tracking, no angle): nothing.
        for (const auto &[button, at, tracking] :
            QList<std::tuple<Qt::MouseButton, QPoint, bool>> { { Qt::LeftButton, QPoint(60, 61 - 58), false },
                { Qt::RightButton, pointOnWheel(wheel, 90.0), false }, { Qt::LeftButton, QPoint(60, 61), true } }) {
            QTest::mousePress(&wheel, button, Qt::NoModifier, at);
            QCOMPARE(wheel.isTracking(), tracking);
            QTest::mouseRelease(&wheel, button, Qt::NoModifier, at);
        }
        QVERIFY(!wheel.isTracking() && spy.isEmpty());
        // The hit radius is inclusive.
        QTest::mousePress(&wheel, Qt::LeftButton, Qt::NoModifier, QPoint(60, 61 - 57));
        QTest::mouseMove(&wheel, pointOnWheel(wheel, 95.0)); // same segment: emitted again
        QTest::mouseMove(&wheel, QPoint(121, 0)); // outside the wheel: ignored
        QTest::mouseMove(&wheel, pointOnWheel(wheel, 60.0));
        QTest::mouseRelease(&wheel, Qt::LeftButton, Qt::NoModifier, pointOnWheel(wheel, 60.0));
        QTest::mouseMove(&wheel, pointOnWheel(wheel, 0.0));
        // A filter stored after the wheel was made: segment 2 moves on to one with passing cards.
        UserState::setMoodFilter(kClockwise90, MoodCalm);
        QTest::mousePress(&wheel, Qt::LeftButton, Qt::NoModifier, pointOnWheel(wheel, 60.0));
        QCOMPARE(spy, (QList<QVariantList> { { 1 }, { 1 }, { 2 }, { 5 } }));
    }

    void mouseWheelSteps_data() { addRows(steps); }
    void mouseWheelSteps()
    {
        const auto &[name, collection, current, delta, segment] = fetchRow(steps);
        use(collection);
        ColorWheelWidget wheel;
        UserState::setSegmentIndex(collection, current);
        QSignalSpy spy(&wheel, &ColorWheelWidget::segmentChangedInteractively);
        const QPoint at = pointOnWheel(wheel, 45.0);
        QWheelEvent event(at, wheel.mapToGlobal(at), {}, QPoint(0, delta), {}, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&wheel, &event);
        QCOMPARE(spy, segment ? QList<QVariantList> { { segment } } : QList<QVariantList> {});
    }

    void needleAndCollectionChanges()
    {
        use(kCounterClockwise0, 3);
        ColorWheelWidget wheel;
        QSignalSpy spy(&wheel, &ColorWheelWidget::segmentChangedInteractively);
        QCOMPARE(std::round(qRadiansToDegrees(wheel.needleAngle(3))), 60.0);
        QImage image = wheel.grab().toImage();
        QVERIFY(isWhite(image.pixelColor(pointOnWheel(wheel, 60.0, 25.0))));
        QCOMPARE(image.pixelColor(pointOnWheel(wheel, 240.0, 25.0)), kBackground);
        // Read afresh on the next paint.
        UserState::setSegmentIndex(kCounterClockwise0, 9);
        image = wheel.grab().toImage();
        // The needle, and the arc over the segment at radius 48.
        QVERIFY(isWhite(image.pixelColor(pointOnWheel(wheel, 240.0, 25.0)))
            && isWhite(image.pixelColor(pointOnWheel(wheel, 240.0, 48.0))));
        QCOMPARE((QList<QColor> { image.pixelColor(pointOnWheel(wheel, 60.0, 25.0)),
                     image.pixelColor(pointOnWheel(wheel, 200.0, 48.0)) }),
            QList<QColor>(2, kBackground));
        QCOMPARE(wheel.numberOfSegments(), 12);
        QCOMPARE(wheel.segmentArcs().size(), std::size_t(13)); // segment 1 straddles 0
        use(kGaps);
        wheel.selectedCollectionChanged(kGaps);
        QCOMPARE(wheel.segmentArcs().size(), std::size_t(3)); // segment 1 split, 3
        // Segments without cards cannot be hit, but a drag goes on over them.
        QTest::mousePress(&wheel, Qt::LeftButton, Qt::NoModifier, pointOnWheel(wheel, 330.0)); // segment 2
        QCOMPARE(spy.count(), 0);
        QTest::mouseMove(&wheel, pointOnWheel(wheel, 300.0));
        QTest::mouseRelease(&wheel, Qt::LeftButton, Qt::NoModifier, pointOnWheel(wheel, 300.0));
        QCOMPARE(spy, (QList<QVariantList> { { 3 } }));
        use(kBeyondCount);
        wheel.selectedCollectionChanged(kBeyondCount);
        QVERIFY(wheel.numberOfSegments() == 4 && wheel.segmentArcs().empty());
        use(kNoCards);
        wheel.selectedCollectionChanged(kNoCards);
        QVERIFY(wheel.segmentArcs().empty());
        QTest::mousePress(&wheel, Qt::LeftButton, Qt::NoModifier, pointOnWheel(wheel, 90.0));
        QVERIFY(spy.count() == 1 && !wheel.grab().isNull());
    }
};

HUELINK_TEST_MAIN(ColorWheelWidgetTest)
#include "ColorWheelWidgetTest.moc"
