#include "ui/browse/ColorWheelWidget.h"

#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "state/UserState.h"
#include "ui/look/KeyFocusMark.h"
#include "ui/look/Theme.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QWheelEvent>

#include <cmath>

namespace Tintor {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
// Half the opening of the needle head (π/20).
constexpr double kNeedleHeadHalfAngle = 0.15707963267948966;

int sixteenthsOfDegree(double radians)
{
    return int(radians * 180.0 / kPi * 16.0);
}

} // namespace

bool SegmentArc::contains(double angle) const
{
    const bool aboveLower = (bounds & LowerIncluded) ? angle >= lower : angle > lower;
    const bool belowUpper = (bounds & UpperIncluded) ? angle <= upper : angle < upper;
    return aboveLower && belowUpper;
}

ColorWheelWidget::ColorWheelWidget(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(kSide, kSide);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_MouseTracking);
    layoutFor(UserState::lastUsedCollection());
}

QSize ColorWheelWidget::sizeHint() const
{
    return QSize(kSide, kSide);
}

double ColorWheelWidget::angleAt(const QPointF &center, const QPointF &point)
{
    const double dx = point.x() - center.x();
    const double dy = center.y() - point.y();
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (distance == 0.0)
        return 0.0;
    // asin rather than atan2 so that the quarter angles come out exact and a
    // boundary angle falls on the piece the table lists first.
    const double theta = std::asin(std::min(1.0, std::fabs(dy) / distance));
    if (dx < 0 && dy >= 0)
        return kPi - theta;
    if (dx < 0)
        return kPi + theta;
    if (dy < 0)
        return kTwoPi - theta;
    return theta;
}

QPointF ColorWheelWidget::pointAt(const QPointF &center, double angle, double radius)
{
    return QPointF(center.x() + radius * std::cos(angle), center.y() - radius * std::sin(angle));
}

double ColorWheelWidget::segmentAngle(int segment, int segmentCount, double firstAngle, bool clockwise)
{
    if (segmentCount < 1)
        return firstAngle;
    const double width = kTwoPi / segmentCount;
    // In doubles: a stored segment may be any integer.
    return firstAngle + (clockwise ? -1.0 : 1.0) * (double(segment) - 1.0) * width;
}

int ColorWheelWidget::segmentAt(const std::vector<SegmentArc> &arcs, double angle)
{
    for (const SegmentArc &arc : arcs) {
        if (arc.contains(angle))
            return arc.segment;
    }
    return 0;
}

std::vector<SegmentArc> ColorWheelWidget::buildSegmentArcs(int segmentCount, double firstAngle, bool clockwise,
                                                            const QVector<int> &segmentsWithCards)
{
    std::vector<SegmentArc> result;
    if (segmentCount < 1 || segmentCount > CollectionSettings::kMaxSegments)
        return result;
    const double width = kTwoPi / segmentCount;
    auto add = [&](double lower, double upper, int segment) {
        if (segmentsWithCards.contains(segment))
            result.push_back({lower, upper, SegmentArc::LowerIncluded | SegmentArc::UpperIncluded, segment});
    };

    // The walk below wraps across angle 0 at most once, so the first angle is
    // first brought into the one turn where that suffices; otherwise a first
    // angle such as 0 counter-clockwise or 400 degrees would leave part of
    // the circle without any segment.
    auto intoTurnFrom = [](double angle, double lowest) {
        if (!std::isfinite(angle))
            angle = 0.0;
        double offset = std::fmod(angle - lowest, kTwoPi);
        if (offset < 0)
            offset += kTwoPi;
        if (offset >= kTwoPi)
            offset = 0.0;
        return lowest + offset;
    };
    if (clockwise) {
        firstAngle = intoTurnFrom(firstAngle, -width / 2.0);
        double upper = firstAngle + width / 2.0;
        for (int segment = 1; segment <= segmentCount; ++segment) {
            double lower = upper - width;
            if (lower < 0) {
                lower += kTwoPi;
                add(lower, kTwoPi, segment);
                if (upper > 0)
                    add(0.0, upper, segment);
            } else {
                add(lower, upper, segment);
            }
            upper = lower;
        }
    } else {
        firstAngle = intoTurnFrom(firstAngle, width / 2.0);
        double lower = firstAngle - width / 2.0;
        for (int segment = 1; segment <= segmentCount; ++segment) {
            double upper = lower + width;
            if (upper > kTwoPi) {
                upper -= kTwoPi;
                add(0.0, upper, segment);
                if (lower < kTwoPi)
                    add(lower, kTwoPi, segment);
            } else {
                add(lower, upper, segment);
            }
            lower = upper;
        }
    }
    return result;
}

int ColorWheelWidget::steppedSegment(int segment, int segmentCount, bool towardsHigher)
{
    // Wide enough for a stored segment at either end of the integers.
    const qint64 stepped = qint64(segment) + (towardsHigher ? 1 : -1);
    if (stepped < 1)
        return segmentCount;
    if (stepped > segmentCount)
        return 1;
    return int(stepped);
}

int ColorWheelWidget::segmentAtPoint(const QPointF &point) const
{
    const double dx = point.x() - center.x();
    const double dy = center.y() - point.y();
    const double distance = std::sqrt(dx * dx + dy * dy);
    if (distance > hitRadius || distance == 0.0)
        return 0;
    return segmentAt(arcs, angleAt(center, point));
}

double ColorWheelWidget::needleAngle(int segment) const
{
    // The needle counts clockwise only for "CW"; the hit-test table does so
    // for every orientation but "CCW". The two differ for an unset value.
    return segmentAngle(segment, segmentCount, firstAngle, orientation == SegmentClockwise);
}

void ColorWheelWidget::selectedCollectionChanged(const QUuid &collectionId)
{
    layoutFor(collectionId);
    update();
}

void ColorWheelWidget::layoutFor(const QUuid &collectionId)
{
    background = themeImage(ThemeItem::ColorWheelBackground, size());
    arcs.clear();
    segmentsWithCards.clear();
    DB::segmentsOfCollection(collectionId, segmentsWithCards);

    center = QPointF(60.0, 61.0);
    hubRadius = kHubRadius;
    hitRadius = kHitRadius;
    needleRadius = kNeedleRadius;
    arcRadius = kArcRadius;
    segmentCount = CollectionSettings::numberOfSegments(collectionId);
    firstAngle = CollectionSettings::firstSegmentAngle(collectionId) * kPi / 180.0;
    orientation = CollectionSettings::segmentIncrementOrientation(collectionId);
    if (segmentCount < 1) {
        segmentWidth = 0.0;
        return;
    }
    segmentWidth = kTwoPi / segmentCount;
    arcs = buildSegmentArcs(segmentCount, firstAngle, orientation != SegmentCounterClockwise, segmentsWithCards);
}

void ColorWheelWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), background);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    if (hasFocus())
        paintKeyFocusMark(painter, QRectF(rect()), 8.0);

    const QColor white(255, 255, 255);
    painter.setBrush(white);
    painter.setPen(Qt::NoPen);
    const int hubSide = int(2 * hubRadius + 1);
    painter.drawEllipse(QRect(int(center.x() - hubRadius), int(center.y() - hubRadius), hubSide, hubSide));

    const double angle = needleAngle(UserState::segmentIndex(UserState::lastUsedCollection()));

    QPen needlePen(white);
    needlePen.setWidth(3);
    painter.setPen(needlePen);
    painter.drawLine(center, pointAt(center, angle, needleRadius - 5.0));

    QPen headPen(white);
    headPen.setWidth(0);
    painter.setPen(headPen);
    const QPolygonF head{pointAt(center, angle, needleRadius - 1.0),
                         pointAt(center, angle + kNeedleHeadHalfAngle, needleRadius - 9.0),
                         pointAt(center, angle - kNeedleHeadHalfAngle, needleRadius - 9.0)};
    painter.drawPolygon(head, Qt::OddEvenFill);

    if (segmentWidth <= 0.0)
        return;
    QPen arcPen(white);
    arcPen.setWidth(2);
    painter.setPen(arcPen);
    painter.setBrush(Qt::NoBrush);
    const QRectF arcBox(center.x() - arcRadius, center.y() - arcRadius, 2 * arcRadius, 2 * arcRadius);
    painter.drawArc(arcBox, sixteenthsOfDegree(angle - segmentWidth / 2.0), sixteenthsOfDegree(segmentWidth));
}

void ColorWheelWidget::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || tracking)
        return;
    const QPointF position = event->position();
    const double dx = position.x() - center.x();
    const double dy = position.y() - center.y();
    if (std::sqrt(dx * dx + dy * dy) > hitRadius)
        return;
    tracking = true;
    trackTo(position);
}

void ColorWheelWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (tracking)
        trackTo(event->position());
}

void ColorWheelWidget::mouseReleaseEvent(QMouseEvent *)
{
    tracking = false;
}

void ColorWheelWidget::trackTo(const QPointF &position)
{
    const int segment = segmentAtPoint(position);
    if (segment == 0)
        return;
    const QUuid collection = UserState::lastUsedCollection();
    int withCards = segment;
    if (DB::firstSegmentAtOrAfter(collection, segment, UserState::moodFilter(collection),
                                  UserState::exteriorColors(collection), withCards)
        != DB::StatusOk)
        withCards = segment;
    Q_EMIT segmentChangedInteractively(withCards);
}

void ColorWheelWidget::wheelEvent(QWheelEvent *event)
{
    event->accept();
    stepSegment(event->angleDelta().y() < 0);
}

void ColorWheelWidget::keyPressEvent(QKeyEvent *event)
{
    const bool plain = event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    // A wheel without a segment to point at takes no keys.
    if (!plain || arcs.empty() || (event->key() != Qt::Key_Left && event->key() != Qt::Key_Right)) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    stepSegment(event->key() == Qt::Key_Right);
}

void ColorWheelWidget::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
}

void ColorWheelWidget::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void ColorWheelWidget::stepSegment(bool towardsHigher)
{
    if (segmentCount < 1)
        return;
    const QUuid collection = UserState::lastUsedCollection();
    const int mood = UserState::moodFilter(collection);
    const bool exterior = UserState::exteriorColors(collection);
    int segment = UserState::segmentIndex(collection);
    // Cards may carry segment numbers above the configured count, and the
    // query may then keep answering a segment stepping never reaches: one
    // turn round the wheel is enough to find any reachable one.
    for (int step = 0; step < segmentCount; ++step) {
        segment = steppedSegment(segment, segmentCount, towardsHigher);
        int answer = segment;
        if (DB::firstSegmentAtOrAfter(collection, segment, mood, exterior, answer) != DB::StatusOk)
            answer = segment;
        if (answer == segment) {
            Q_EMIT segmentChangedInteractively(segment);
            return;
        }
    }
}

} // namespace Tintor
