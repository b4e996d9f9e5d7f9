#pragma once

#include <QImage>
#include <QPointF>
#include <QUuid>
#include <QVector>
#include <QWidget>

#include <vector>

namespace Tintor {

// One piece of the angular range of a wheel segment, in radians
// counter-clockwise from the positive x axis with y pointing up.
struct SegmentArc
{
    enum Bound {
        UpperIncluded = 1,
        LowerIncluded = 2,
    };

    double lower = 0.0;
    double upper = 0.0;
    int bounds = LowerIncluded;
    int segment = 0;

    bool contains(double angle) const;
};

// The circular segment selector in the header of the main widget. The cards
// of a collection are grouped into hue segments; the wheel marks the current
// segment (read from the user state on every paint) with a needle and an arc,
// and reports the segment the user points at or steps to with the mouse
// wheel or the Left and Right keys. It keeps no selection of its own.
class ColorWheelWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kSide = 122;
    static constexpr double kHubRadius = 6.0;
    static constexpr double kHitRadius = 57.0;
    static constexpr double kNeedleRadius = 45.0;
    static constexpr double kArcRadius = 48.0;

    explicit ColorWheelWidget(QWidget *parent = nullptr);

    QSize sizeHint() const override;

    QPointF wheelCenter() const { return center; }
    int numberOfSegments() const { return segmentCount; }
    const std::vector<SegmentArc> &segmentArcs() const { return arcs; }
    bool isTracking() const { return tracking; }

    // The segment whose piece holds the angle of `point`, or 0 when the point
    // lies outside the hit radius, on the centre or on no piece. Segments
    // without cards have no piece.
    int segmentAtPoint(const QPointF &point) const;
    // The centre angle of a segment as the needle shows it.
    double needleAngle(int segment) const;

    // Angle of `point` around `center` in [0, 2π), y pointing up; the centre
    // itself gives 0.
    static double angleAt(const QPointF &center, const QPointF &point);
    // The point at `radius` from `center` in direction `angle`.
    static QPointF pointAt(const QPointF &center, double angle, double radius);
    // Centre angle of segment n: the first angle, then one segment width per
    // step, clockwise or counter-clockwise.
    static double segmentAngle(int segment, int segmentCount, double firstAngle, bool clockwise);
    // The first piece holding `angle`, in table order; 0 when none does.
    static int segmentAt(const std::vector<SegmentArc> &arcs, double angle);
    // The hit-test table: pieces inside [0, 2π] for every listed segment;
    // a segment across angle 0 gets two pieces.
    static std::vector<SegmentArc> buildSegmentArcs(int segmentCount, double firstAngle, bool clockwise,
                                                    const QVector<int> &segmentsWithCards);
    // One wheel step with wrap-around between 1 and segmentCount.
    static int steppedSegment(int segment, int segmentCount, bool towardsHigher);

Q_SIGNALS:
    void segmentChangedInteractively(int newSegment);

public Q_SLOTS:
    void selectedCollectionChanged(const QUuid &collectionId);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    // Reports the nearest segment round the wheel whose cards pass the
    // filter, as one mouse-wheel step does.
    void stepSegment(bool towardsHigher);
    void layoutFor(const QUuid &collectionId);
    void trackTo(const QPointF &position);

    QImage background;
    std::vector<SegmentArc> arcs;
    QVector<int> segmentsWithCards;
    QPointF center;
    double hubRadius = 0.0;
    double hitRadius = 0.0;
    double needleRadius = 0.0;
    double arcRadius = 0.0;
    int segmentCount = 0;
    double firstAngle = 0.0;
    int orientation = 0;
    double segmentWidth = 0.0;
    bool tracking = false;
};

} // namespace Tintor
