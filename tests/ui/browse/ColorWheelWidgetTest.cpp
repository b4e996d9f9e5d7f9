#include "ui/browse/ColorWheelWidget.h"
#include "db/CollectionRegistry.h"
#include "engine/inc/Enumerations.h"
#include "state/UserState.h"
#include "support/FixtureDatabase.h"
#include "support/TestEnvironment.h"

#include <QImage>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace Tintor;

namespace {

constexpr double kPi = 3.14159265358979323846;

// Twelve segments, first angle 90, clockwise; every segment has cards,
// segment 5's are calm and all others fresh.
const QUuid kClockwise90(QStringLiteral("{1a000000-0000-0000-0000-000000000001}"));
// Twelve segments, first angle 0, clockwise; cards everywhere.
const QUuid kClockwise0(QStringLiteral("{1a000000-0000-0000-0000-000000000002}"));
// Twelve segments, first angle 0, counter-clockwise; cards everywhere.
const QUuid kCounterClockwise0(QStringLiteral("{1a000000-0000-0000-0000-000000000003}"));
// Twelve segments, first angle 0, clockwise; cards in segments 1 and 3 only.
const QUuid kGaps(QStringLiteral("{1a000000-0000-0000-0000-000000000004}"));
// Four segments, but the cards say 7 and 8.
const QUuid kBeyondCount(QStringLiteral("{1a000000-0000-0000-0000-000000000005}"));
// No cards at all.
const QUuid kNoCards(QStringLiteral("{1a000000-0000-0000-0000-000000000006}"));
// Twelve segments, first angle 0, no orientation setting.
const QUuid kUnsetOrientation(QStringLiteral("{1a000000-0000-0000-0000-000000000007}"));

const QColor kBackground(20, 30, 40);

// First angles a damaged or hostile file could carry, each on a clockwise
// deck of twelve segments with cards everywhere.
const char *const kHostileAngles[] = {"1e308", "-1e308", "inf", "-inf", "nan", "1e16", "1e13"};

QUuid hostileDeckUuid(int index)
{
    return QUuid(QStringLiteral("{1b000000-0000-0000-0000-%1}").arg(index, 12, 10, QLatin1Char('0')));
}

double degrees(double radians)
{
    return radians * 180.0 / kPi;
}

double radians(double degrees)
{
    return degrees * kPi / 180.0;
}

// Antialiased white strokes: near white counts.
bool isWhite(const QColor &color)
{
    return color.red() > 230 && color.green() > 230 && color.blue() > 230;
}

QPoint pointOnWheel(const ColorWheelWidget &wheel, double angleDegrees, double radius = 30.0)
{
    return ColorWheelWidget::pointAt(wheel.wheelCenter(), radians(angleDegrees), radius).toPoint();
}

} // namespace

class ColorWheelWidgetTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<FixtureDatabase> fixture;

    void addDeck(const QUuid &uuid, const QString &systemId, int order, const QVariant &segments,
                 const QVariant &firstAngle,
                 const QString &orientation, const QList<int> &cardSegments)
    {
        const qint64 id = fixture->addCollection(uuid, systemId, order);
        QVERIFY(id > 0);
        fixture->addSetting(id, QStringLiteral("num.of.segments"), segments);
        fixture->addSetting(id, QStringLiteral("first.segment.angle"), firstAngle);
        if (!orientation.isEmpty())
            fixture->addSetting(id, QStringLiteral("segment.increment.orientation"), orientation);
        int pageIndex = 1;
        for (const int segment : cardSegments) {
            FixtureDatabase::Page page;
            page.pageIndex = pageIndex++;
            page.segment = segment;
            page.mood = segment == 5 ? MoodCalm : MoodFresh;
            const qint64 pageId = fixture->addPage(id, page);
            QVERIFY(pageId > 0);
            FixtureDatabase::Row row;
            row.code = QStringLiteral("%1-%2").arg(systemId).arg(page.pageIndex);
            row.color = QColor::fromHsv((segment * 30) % 360, 200, 200);
            QVERIFY(fixture->addRow(id, pageId, row) > 0);
        }
    }

    void use(const QUuid &collection) { UserState::setLastUsedCollection(collection); }

private Q_SLOTS:
    void initTestCase()
    {
        fixture = std::make_unique<FixtureDatabase>(TestEnvironment::collectionFolder() + QStringLiteral("/wheel.db"));
        QVERIFY(fixture->isOpen());
        fixture->addTheme(0, QStringLiteral("image.widget.color.wheel.background"),
            FixtureDatabase::png(QSize(122, 122), kBackground));
        const QList<int> all { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 };
        addDeck(kClockwise90, QStringLiteral("CW90"), 1, 12, 90.0, QStringLiteral("CW"), all);
        addDeck(kClockwise0, QStringLiteral("CW0"), 2, 12, 0.0, QStringLiteral("cw"), all);
        addDeck(kCounterClockwise0, QStringLiteral("CCW0"), 3, 12, 0.0, QStringLiteral("CCW"), all);
        addDeck(kGaps, QStringLiteral("GAPS"), 4, 12, 0.0, QStringLiteral("CW"), { 1, 3 });
        addDeck(kBeyondCount, QStringLiteral("BEYOND"), 5, 4, 0.0, QStringLiteral("CW"), { 7, 8 });
        addDeck(kNoCards, QStringLiteral("EMPTY"), 6, 12, 0.0, QStringLiteral("CW"), {});
        addDeck(kUnsetOrientation, QStringLiteral("UNSET"), 7, 12, 0.0, QString(), all);
        for (int i = 0; i < int(std::size(kHostileAngles)); ++i)
            addDeck(hostileDeckUuid(i), QStringLiteral("HOSTILE%1").arg(i), 20 + i, 12,
                    QString::fromLatin1(kHostileAngles[i]), QStringLiteral("CW"), all);
        QCOMPARE(DB::discoverCollections(), 1);
    }

    void cleanupTestCase() { fixture.reset(); }

    void init() { TestEnvironment::resetUserState(); }

    void angleAtFlipsTheScreenAxis()
    {
        const QPointF center(60.0, 61.0);
        // Screen y grows downward: a point above the centre is at 90 degrees.
        QCOMPARE(ColorWheelWidget::angleAt(center, QPointF(60.0, 20.0)), kPi / 2);
        QCOMPARE(ColorWheelWidget::angleAt(center, QPointF(60.0, 100.0)), 3 * kPi / 2);
        QCOMPARE(ColorWheelWidget::angleAt(center, center), 0.0);
        // Straight right is 0, not a full turn.
        QCOMPARE(ColorWheelWidget::angleAt(center, QPointF(100.0, 61.0)), 0.0);
        const QPointF left = ColorWheelWidget::pointAt(center, kPi, 40.0);
        QCOMPARE(QPointF(std::round(left.x() * 1e6) / 1e6, std::round(left.y() * 1e6) / 1e6), QPointF(20.0, 61.0));
        const QPointF up = ColorWheelWidget::pointAt(center, kPi / 2, 40.0);
        QCOMPARE(QPointF(std::round(up.x() * 1e6) / 1e6, std::round(up.y() * 1e6) / 1e6), QPointF(60.0, 21.0));
        // The needle of segment 3 counter-clockwise, and clockwise.
        QCOMPARE(std::round(degrees(ColorWheelWidget::segmentAngle(3, 12, 0.0, false))), 60.0);
        QCOMPARE(std::round(degrees(ColorWheelWidget::segmentAngle(3, 12, 0.0, true))), -60.0);
    }

    void segmentTable_data()
    {
        QTest::addColumn<double>("firstAngle");
        QTest::addColumn<bool>("clockwise");
        QTest::addColumn<double>("angle");
        QTest::addColumn<int>("segment");
        QTest::newRow("cw90 top") << 90.0 << true << 90.0 << 1;
        QTest::newRow("cw90 lower edge of 1") << 90.0 << true << 75.5 << 1;
        QTest::newRow("cw90 upper edge of 1") << 90.0 << true << 104.5 << 1;
        QTest::newRow("cw90 right") << 90.0 << true << 0.0 << 4;
        QTest::newRow("cw90 segment 7 low") << 90.0 << true << 255.5 << 7;
        QTest::newRow("cw0 below zero") << 0.0 << true << 350.0 << 1;
        QTest::newRow("cw0 segment 12") << 0.0 << true << 30.0 << 12;
        QTest::newRow("ccw0 below zero") << 0.0 << false << 350.0 << 1;
        QTest::newRow("ccw0 segment 3") << 0.0 << false << 60.0 << 3;
        QTest::newRow("cw first angle beyond a turn") << 450.0 << true << 60.0 << 2;
        QTest::newRow("ccw negative first angle") << -90.0 << false << 270.0 << 1;
    }
    void segmentTable()
    {
        QFETCH(double, firstAngle);
        QFETCH(bool, clockwise);
        QFETCH(double, angle);
        QFETCH(int, segment);
        const QVector<int> all { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 };
        const auto arcs = ColorWheelWidget::buildSegmentArcs(12, radians(firstAngle), clockwise, all);
        QCOMPARE(ColorWheelWidget::segmentAt(arcs, radians(angle)), segment);
        // The needle of the segment found points into the same piece.
        QCOMPARE(ColorWheelWidget::segmentAt(arcs,
                     std::fmod(ColorWheelWidget::segmentAngle(segment, 12, radians(firstAngle), clockwise) + 4 * kPi,
                         2 * kPi)),
            segment);
    }

    void segmentAcrossZeroHasTwoPieces()
    {
        const auto arcs = ColorWheelWidget::buildSegmentArcs(12, 0.0, true, { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12 });
        QList<QPair<double, double>> pieces;
        for (const SegmentArc &arc : arcs) {
            if (arc.segment == 1)
                pieces.append({ std::round(degrees(arc.lower)), std::round(degrees(arc.upper)) });
            QCOMPARE(arc.bounds, SegmentArc::LowerIncluded | SegmentArc::UpperIncluded);
        }
        QCOMPARE(pieces, (QList<QPair<double, double>> { { 345.0, 360.0 }, { 0.0, 15.0 } }));
        // Segments without cards get no piece.
        const auto gaps = ColorWheelWidget::buildSegmentArcs(12, 0.0, true, { 1, 3 });
        QCOMPARE(ColorWheelWidget::segmentAt(gaps, radians(-60.0 + 360.0)), 3);
        QCOMPARE(ColorWheelWidget::segmentAt(gaps, radians(330.0)), 0); // segment 2
        QVERIFY(ColorWheelWidget::buildSegmentArcs(0, 0.0, true, { 1 }).empty());
    }

    void steppingWrapsAround_data()
    {
        QTest::addColumn<int>("segment");
        QTest::addColumn<bool>("towardsHigher");
        QTest::addColumn<int>("stepped");
        QTest::newRow("up") << 5 << true << 6;
        QTest::newRow("down") << 5 << false << 4;
        QTest::newRow("past the last") << 12 << true << 1;
        QTest::newRow("below the first") << 1 << false << 12;
        QTest::newRow("from the highest integer") << 2147483647 << true << 1;
        QTest::newRow("from the lowest integer") << -2147483647 - 1 << false << 12;
    }
    void steppingWrapsAround()
    {
        QFETCH(int, segment);
        QFETCH(bool, towardsHigher);
        QFETCH(int, stepped);
        QCOMPARE(ColorWheelWidget::steppedSegment(segment, 12, towardsHigher), stepped);
    }

    void hostileAnglesLeaveAWorkingWheel_data()
    {
        QTest::addColumn<int>("deck");
        for (int i = 0; i < int(std::size(kHostileAngles)); ++i)
            QTest::newRow(kHostileAngles[i]) << i;
    }
    void hostileAnglesLeaveAWorkingWheel()
    {
        QFETCH(int, deck);
        use(hostileDeckUuid(deck));
        // A stored segment at the end of the integers too.
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vestrel"),
                  QStringLiteral("Huelink.Photoshop"))
            .setValue(hostileDeckUuid(deck).toString(QUuid::WithBraces) + QStringLiteral("/SegmentIndex"),
                      -2147483647 - 1);
        ColorWheelWidget wheel;
        // Every direction falls on some segment.
        for (double angle = 0.0; angle < 360.0; angle += 7.5)
            QVERIFY(ColorWheelWidget::segmentAt(wheel.segmentArcs(), radians(angle)) != 0);
        // The hub and the needle of the stored segment (read as 1) are drawn.
        const QImage image = wheel.grab().toImage();
        QVERIFY(isWhite(image.pixelColor(wheel.wheelCenter().toPoint())));
        QVERIFY(isWhite(image.pixelColor(pointOnWheel(wheel, degrees(wheel.needleAngle(1)), 25.0))));
    }

    void pressEmitsTheSegmentUnderThePointer_data()
    {
        QTest::addColumn<QUuid>("collection");
        QTest::addColumn<double>("angle");
        QTest::addColumn<int>("segment");
        QTest::addColumn<double>("needle");
        QTest::newRow("cw90 straight right") << kClockwise90 << 0.0 << 4 << 0.0;
        QTest::newRow("cw0 at 350") << kClockwise0 << 350.0 << 1 << 0.0;
        QTest::newRow("ccw0 at 60") << kCounterClockwise0 << 60.0 << 3 << 60.0;
        // Without an orientation the wheel hits clockwise but paints counter-clockwise.
        QTest::newRow("unset orientation") << kUnsetOrientation << 330.0 << 2 << 30.0;
    }
    void pressEmitsTheSegmentUnderThePointer()
    {
        QFETCH(QUuid, collection);
        QFETCH(double, angle);
        QFETCH(int, segment);
        QFETCH(double, needle);
        use(collection);
        ColorWheelWidget wheel;
        QSignalSpy spy(&wheel, &ColorWheelWidget::segmentChangedInteractively);
        QTest::mousePress(&wheel, Qt::LeftButton, Qt::NoModifier, pointOnWheel(wheel, angle));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), segment);
        QCOMPARE(std::round(degrees(wheel.needleAngle(segment))), needle);
        QVERIFY(wheel.isTracking());
        QTest::mouseRelease(&wheel, Qt::LeftButton, Qt::NoModifier, pointOnWheel(wheel, angle));
        QVERIFY(!wheel.isTracking());
    }

    void pressingAndDragging()
    {
        use(kClockwise90);
        ColorWheelWidget wheel;
        wheel.show();
        QCOMPARE(wheel.maximumSize(), QSize(122, 122));
        QCOMPARE(wheel.wheelCenter(), QPointF(60.0, 61.0));
        QSignalSpy spy(&wheel, &ColorWheelWidget::segmentChangedInteractively);
        // The hit radius is inclusive.
        QTest::mousePress(&wheel, Qt::LeftButton, Qt::NoModifier, QPoint(60, 61 - 58));
        QVERIFY(!wheel.isTracking());
        QTest::mouseRelease(&wheel, Qt::LeftButton, Qt::NoModifier, QPoint(60, 61 - 58));
        // The right button selects nothing.
        QTest::mousePress(&wheel, Qt::RightButton, Qt::NoModifier, pointOnWheel(wheel, 90.0));
        QVERIFY(!wheel.isTracking());
        QTest::mouseRelease(&wheel, Qt::RightButton, Qt::NoModifier, pointOnWheel(wheel, 90.0));
        // The centre starts tracking but has no angle.
        QTest::mousePress(&wheel, Qt::LeftButton, Qt::NoModifier, QPoint(60, 61));
        QVERIFY(wheel.isTracking());
        QCOMPARE(spy.count(), 0);
        QTest::mouseRelease(&wheel, Qt::LeftButton, Qt::NoModifier, QPoint(60, 61));
        QTest::mousePress(&wheel, Qt::LeftButton, Qt::NoModifier, QPoint(60, 61 - 57));
        QTest::mouseMove(&wheel, pointOnWheel(wheel, 95.0)); // same segment: emitted again
        QTest::mouseMove(&wheel, QPoint(121, 0)); // outside the wheel: ignored
        QTest::mouseMove(&wheel, pointOnWheel(wheel, 60.0));
        QCOMPARE(spy.count(), 3);
        QCOMPARE(spy.at(0).at(0).toInt(), 1);
        QCOMPARE(spy.at(1).at(0).toInt(), 1);
        QCOMPARE(spy.at(2).at(0).toInt(), 2);
        QTest::mouseRelease(&wheel, Qt::LeftButton, Qt::NoModifier, pointOnWheel(wheel, 60.0));
        QTest::mouseMove(&wheel, pointOnWheel(wheel, 0.0));
        QCOMPARE(spy.count(), 3);
        // A filter stored after the wheel was made: segment 2 moves on to
        // the next with passing cards.
        UserState::setMoodFilter(kClockwise90, MoodCalm);
        QTest::mousePress(&wheel, Qt::LeftButton, Qt::NoModifier, pointOnWheel(wheel, 60.0));
        QCOMPARE(spy.at(3).at(0).toInt(), 5);
    }

    void segmentsWithoutCardsCannotBeHit()
    {
        use(kGaps);
        ColorWheelWidget wheel;
        QSignalSpy spy(&wheel, &ColorWheelWidget::segmentChangedInteractively);
        QTest::mousePress(&wheel, Qt::LeftButton, Qt::NoModifier, pointOnWheel(wheel, 330.0)); // segment 2
        QCOMPARE(spy.count(), 0);
        QTest::mouseMove(&wheel, pointOnWheel(wheel, 300.0)); // segment 3
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 3);
    }

    void mouseWheelSteps_data()
    {
        QTest::addColumn<QUuid>("collection");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("segment");
        QTest::newRow("towards the user") << kClockwise90 << 4 << -120 << 5;
        QTest::newRow("away from the user") << kClockwise90 << 4 << 120 << 3;
        QTest::newRow("huge delta is one step") << kClockwise90 << 4 << -2400 << 5;
        QTest::newRow("skips a segment without cards") << kGaps << 1 << -120 << 3;
        QTest::newRow("skips backwards through the wrap") << kGaps << 1 << 120 << 3;
    }
    void mouseWheelSteps()
    {
        QFETCH(QUuid, collection);
        QFETCH(int, current);
        QFETCH(int, delta);
        QFETCH(int, segment);
        use(collection);
        ColorWheelWidget wheel;
        UserState::setSegmentIndex(collection, current);
        QSignalSpy spy(&wheel, &ColorWheelWidget::segmentChangedInteractively);
        const QPoint at = pointOnWheel(wheel, 45.0);
        QWheelEvent event(at, wheel.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
            Qt::NoScrollPhase, false);
        QApplication::sendEvent(&wheel, &event);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), segment);
    }

    void mouseWheelStepsAreBounded()
    {
        // The query answers 7 for every segment stepping can reach (1 to 4):
        // the wheel must give up instead of looping for ever.
        use(kBeyondCount);
        ColorWheelWidget wheel;
        QCOMPARE(wheel.numberOfSegments(), 4);
        QSignalSpy spy(&wheel, &ColorWheelWidget::segmentChangedInteractively);
        const QPoint at = pointOnWheel(wheel, 45.0);
        QWheelEvent event(at, wheel.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
            Qt::NoScrollPhase, false);
        QApplication::sendEvent(&wheel, &event);
        QCOMPARE(spy.count(), 0);
    }

    void needleShowsTheStoredSegment()
    {
        use(kCounterClockwise0);
        ColorWheelWidget wheel;
        UserState::setSegmentIndex(kCounterClockwise0, 3);
        QCOMPARE(std::round(degrees(wheel.needleAngle(3))), 60.0);
        QImage image = wheel.grab().toImage();
        QVERIFY(isWhite(image.pixelColor(pointOnWheel(wheel, 60.0, 25.0))));
        QCOMPARE(image.pixelColor(pointOnWheel(wheel, 240.0, 25.0)), kBackground);

        // Read afresh on the next paint.
        UserState::setSegmentIndex(kCounterClockwise0, 9);
        image = wheel.grab().toImage();
        QCOMPARE(image.pixelColor(pointOnWheel(wheel, 60.0, 25.0)), kBackground);
        QVERIFY(isWhite(image.pixelColor(pointOnWheel(wheel, 240.0, 25.0))));
        // The arc over the segment at radius 48.
        QVERIFY(isWhite(image.pixelColor(pointOnWheel(wheel, 240.0, 48.0))));
        QCOMPARE(image.pixelColor(pointOnWheel(wheel, 200.0, 48.0)), kBackground);
    }

    void collectionChangeLaysOutAgain()
    {
        use(kClockwise90);
        ColorWheelWidget wheel;
        QCOMPARE(wheel.numberOfSegments(), 12);
        // Segment 4 straddles angle 0 and has two pieces.
        QCOMPARE(wheel.segmentArcs().size(), std::size_t(13));
        use(kGaps);
        wheel.selectedCollectionChanged(kGaps);
        QCOMPARE(wheel.segmentArcs().size(), std::size_t(3)); // segment 1 split, 3
        use(kBeyondCount);
        wheel.selectedCollectionChanged(kBeyondCount);
        QCOMPARE(wheel.numberOfSegments(), 4);
        QVERIFY(wheel.segmentArcs().empty());
        // Without cards: nothing to hit, and painting still works.
        use(kNoCards);
        wheel.selectedCollectionChanged(kNoCards);
        QVERIFY(wheel.segmentArcs().empty());
        QSignalSpy spy(&wheel, &ColorWheelWidget::segmentChangedInteractively);
        QTest::mousePress(&wheel, Qt::LeftButton, Qt::NoModifier, pointOnWheel(wheel, 90.0));
        QCOMPARE(spy.count(), 0);
        QVERIFY(!wheel.grab().isNull());
    }
};

HUELINK_TEST_MAIN(ColorWheelWidgetTest)
#include "ColorWheelWidgetTest.moc"
