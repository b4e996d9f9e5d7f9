#include "ControlArt.h"

#include "ArtKit.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <array>
#include <cmath>
#include <QVector>

namespace Tintor::ThemeArt {

namespace {

// Each control is designed on a fixed grid; other sizes scale that grid.
class DesignGrid
{
public:
    DesignGrid(QPainter &painter, const QSizeF &size, double designWidth, double designHeight)
        : painter(painter)
    {
        painter.save();
        painter.scale(size.width() / designWidth, size.height() / designHeight);
    }
    ~DesignGrid() { painter.restore(); }
    DesignGrid(const DesignGrid &) = delete;
    DesignGrid &operator=(const DesignGrid &) = delete;

private:
    QPainter &painter;
};

const QColor barInk(78, 82, 86);
const QColor barRelief(255, 255, 255, 190);

std::array<QColor, 3> moodColors(MoodArt mood)
{
    switch (mood) {
    case MoodArt::Fresh:
        return {QColor(126, 212, 166), QColor(240, 228, 120), QColor(140, 200, 238)};
    case MoodArt::Warm:
        return {QColor(242, 168, 76), QColor(226, 102, 58), QColor(190, 62, 60)};
    case MoodArt::Calm:
        return {QColor(150, 180, 206), QColor(164, 196, 178), QColor(196, 190, 218)};
    case MoodArt::Rich:
        return {QColor(126, 30, 70), QColor(30, 76, 116), QColor(60, 92, 42)};
    case MoodArt::Offwhite:
        return {QColor(247, 242, 228), QColor(238, 231, 212), QColor(244, 243, 236)};
    case MoodArt::Neutral:
        return {QColor(184, 175, 161), QColor(146, 145, 141), QColor(166, 156, 141)};
    }
    return {};
}

// Three soft vertical bands: a mood reads as a small palette.
void paintPaletteSwatch(QPainter &painter, const QRectF &rect, double radius, const std::array<QColor, 3> &colors)
{
    QLinearGradient bands(rect.left(), 0.0, rect.right(), 0.0);
    bands.setColorAt(0.00, colors[0]);
    bands.setColorAt(0.28, colors[0]);
    bands.setColorAt(0.38, colors[1]);
    bands.setColorAt(0.62, colors[1]);
    bands.setColorAt(0.72, colors[2]);
    bands.setColorAt(1.00, colors[2]);
    painter.setPen(Qt::NoPen);
    painter.setBrush(bands);
    painter.drawRoundedRect(rect, radius, radius);

    QLinearGradient light(0.0, rect.top(), 0.0, rect.bottom());
    light.setColorAt(0.0, QColor(255, 255, 255, 70));
    light.setColorAt(0.45, QColor(255, 255, 255, 10));
    light.setColorAt(0.55, QColor(0, 0, 0, 0));
    light.setColorAt(1.0, QColor(0, 0, 0, 34));
    painter.setBrush(light);
    painter.drawRoundedRect(rect, radius, radius);
}

void paintSwatchFrame(QPainter &painter, const QRectF &swatch, double radius, bool selected)
{
    painter.setBrush(Qt::NoBrush);
    if (selected) {
        const QRectF ring = swatch.adjusted(-1.25, -1.25, 1.25, 1.25);
        painter.setPen(QPen(QColor(255, 255, 255, 60), 3.2));
        painter.drawRoundedRect(ring.adjusted(-0.4, -0.4, 0.4, 0.4), radius + 1.6, radius + 1.6);
        painter.setPen(QPen(QColor(255, 255, 255), 1.5));
        painter.drawRoundedRect(ring, radius + 1.2, radius + 1.2);
        painter.setPen(QPen(QColor(30, 32, 35, 160), 1.0));
        painter.drawRoundedRect(swatch.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
    } else {
        painter.setPen(QPen(QColor(28, 30, 33, 220), 1.0));
        painter.drawRoundedRect(swatch.adjusted(-0.5, -0.5, 0.5, 0.5), radius + 0.5, radius + 0.5);
        painter.setPen(QPen(QColor(255, 255, 255, 36), 1.0));
        painter.drawLine(QPointF(swatch.left() + radius, swatch.top() + 0.5),
                         QPointF(swatch.right() - radius, swatch.top() + 0.5));
    }
}

} // namespace

void paintDropDownArrow(QPainter &painter, const QSizeF &size, bool up)
{
    DesignGrid grid(painter, size, 12, 12);
    QPainterPath chevron;
    if (up) {
        chevron.moveTo(2.5, 7.75);
        chevron.lineTo(6.0, 4.25);
        chevron.lineTo(9.5, 7.75);
    } else {
        chevron.moveTo(2.5, 4.5);
        chevron.lineTo(6.0, 8.0);
        chevron.lineTo(9.5, 4.5);
    }
    strokeEngraved(painter, chevron, barInk, 1.8, barRelief);
}

void paintMoodButton(QPainter &painter, const QSizeF &size, MoodArt mood, bool selected)
{
    DesignGrid grid(painter, size, 23, 21);
    auto colors = moodColors(mood);
    if (!selected) {
        // Resting buttons are a little quieter than the chosen one.
        for (QColor &color : colors)
            color = mix(desaturated(color, 0.8), QColor(70, 72, 76), 0.16);
    }
    const QRectF swatch(3.0, 3.0, 17.0, 15.0);
    paintPaletteSwatch(painter, swatch, 3.0, colors);
    paintSwatchFrame(painter, swatch, 3.0, selected);
}

void paintAllMoods(QPainter &painter, const QSizeF &size)
{
    DesignGrid grid(painter, size, 23, 21);
    const QRectF swatch(3.0, 3.0, 17.0, 15.0);
    const MoodArt moods[6] = {MoodArt::Fresh, MoodArt::Warm, MoodArt::Calm,
                              MoodArt::Rich, MoodArt::Offwhite, MoodArt::Neutral};
    painter.save();
    painter.setClipPath(roundedRectPath(swatch, 3.0));
    painter.setPen(Qt::NoPen);
    const double cellWidth = swatch.width() / 3.0;
    const double cellHeight = swatch.height() / 2.0;
    for (int index = 0; index < 6; ++index) {
        const QRectF cell(swatch.left() + (index % 3) * cellWidth, swatch.top() + (index / 3) * cellHeight,
                          cellWidth + 0.01, cellHeight + 0.01);
        painter.setBrush(moodColors(moods[index])[1]);
        painter.drawRect(cell);
    }
    QLinearGradient light(0.0, swatch.top(), 0.0, swatch.bottom());
    light.setColorAt(0.0, QColor(255, 255, 255, 60));
    light.setColorAt(0.5, QColor(255, 255, 255, 0));
    light.setColorAt(1.0, QColor(0, 0, 0, 30));
    painter.setBrush(light);
    painter.drawRect(swatch);
    painter.restore();
    paintSwatchFrame(painter, swatch, 3.0, false);
}

void paintExteriorOnly(QPainter &painter, const QSizeF &size)
{
    DesignGrid grid(painter, size, 23, 21);
    const QRectF swatch(3.0, 3.0, 17.0, 15.0);
    QLinearGradient sky(0.0, swatch.top(), 0.0, swatch.bottom());
    sky.setColorAt(0.0, QColor(150, 196, 230));
    sky.setColorAt(1.0, QColor(214, 232, 242));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sky);
    painter.drawRoundedRect(swatch, 3.0, 3.0);
    // A house front: the colours that face the weather.
    QPainterPath house;
    house.moveTo(6.5, 11.0);
    house.lineTo(11.5, 6.0);
    house.lineTo(16.5, 11.0);
    house.lineTo(15.0, 11.0);
    house.lineTo(15.0, 16.5);
    house.lineTo(8.0, 16.5);
    house.lineTo(8.0, 11.0);
    house.closeSubpath();
    painter.setBrush(QColor(200, 112, 78));
    painter.drawPath(house);
    painter.setBrush(QColor(250, 246, 236));
    painter.drawRect(QRectF(10.5, 12.5, 2.2, 4.0));
    paintSwatchFrame(painter, swatch, 3.0, false);
}

void paintTick(QPainter &painter, const QSizeF &size)
{
    DesignGrid grid(painter, size, 12, 11);
    QPainterPath tick;
    tick.moveTo(1.9, 5.7);
    tick.lineTo(4.6, 8.4);
    tick.lineTo(10.2, 2.4);
    strokeEngraved(painter, tick, QColor(104, 200, 240), 2.0, QColor(0, 0, 0, 110), QPointF(0.0, 0.9));
}

void paintMoodDisabled(QPainter &painter, const QSizeF &size)
{
    DesignGrid grid(painter, size, 11, 11);
    painter.setPen(QPen(QColor(40, 12, 10, 200), 1.0));
    QRadialGradient body(QPointF(4.6, 3.8), 6.0);
    body.setColorAt(0.0, QColor(240, 104, 88));
    body.setColorAt(1.0, QColor(196, 52, 44));
    painter.setBrush(body);
    painter.drawEllipse(QPointF(5.5, 5.5), 4.6, 4.6);
    painter.setPen(QPen(QColor(255, 255, 255), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3.3, 5.5), QPointF(7.7, 5.5));
}

void paintMagnifyingGlass(QPainter &painter, const QSizeF &size)
{
    DesignGrid grid(painter, size, 16, 16);
    QPainterPath lens = circlePath(QPointF(6.6, 6.6), 4.4);
    QPainterPath handle;
    handle.moveTo(9.9, 9.9);
    handle.lineTo(13.6, 13.6);
    const QColor ink(214, 216, 218);
    const QColor shadow(0, 0, 0, 120);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 26));
    painter.drawPath(lens);
    strokeEngraved(painter, lens, ink, 1.7, shadow);
    strokeEngraved(painter, handle, ink, 2.6, shadow);
}

void paintRollButton(QPainter &painter, const QSizeF &size, bool forward, bool pressed)
{
    DesignGrid grid(painter, size, 22, 22);
    buttonDisc(painter, QPointF(11.0, 11.0), 10.0, pressed);
    const double shift = pressed ? 0.5 : 0.0;
    const QPointF center(forward ? 11.6 + shift : 10.4 + shift, 11.0 + shift);
    const QPainterPath chevron = chevronPath(center, 2.4, 4.2, forward ? 0.0 : 180.0);
    strokeEngraved(painter, chevron, QColor(58, 62, 66), 2.1, QColor(255, 255, 255, pressed ? 80 : 170));
}

void paintSchemeButton(QPainter &painter, const QSizeF &size, SchemeArt scheme, bool selected)
{
    DesignGrid grid(painter, size, 44, 44);
    const QPointF center(22.0, 22.0);
    const double disc = 15.0;
    const double ringOuter = 13.6;
    const double ringInner = 10.0;
    const double markerRadius = (ringOuter + ringInner) / 2.0;
    const double baseHue = 12.0;

    if (selected) {
        QRadialGradient glow(center, 21.5);
        glow.setColorAt(0.66, QColor(255, 255, 255, 80));
        glow.setColorAt(0.82, QColor(255, 255, 255, 24));
        glow.setColorAt(1.0, QColor(255, 255, 255, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(glow);
        painter.drawEllipse(center, 21.5, 21.5);
    }
    softShadow(painter, circlePath(center, disc), QPointF(0.0, 1.2), 3, selected ? 40 : 64);

    // Dark glass disc.
    painter.setPen(Qt::NoPen);
    QLinearGradient glass(0.0, center.y() - disc, 0.0, center.y() + disc);
    glass.setColorAt(0.0, QColor(72, 75, 80));
    glass.setColorAt(1.0, QColor(38, 40, 43));
    painter.setBrush(QColor(24, 25, 27));
    painter.drawEllipse(center, disc + 0.6, disc + 0.6);
    painter.setBrush(glass);
    painter.drawEllipse(center, disc, disc);

    // Hue ring (greys and stones for the neutral schemes), starting at the top.
    const bool neutral = scheme == SchemeArt::Dramatic || scheme == SchemeArt::TonalNeutral;
    auto ringColor = [&](double offset) {
        if (neutral) {
            const double t = std::fmod(offset + 360.0, 360.0) / 360.0;
            return mix(QColor(238, 232, 220), QColor(96, 92, 86), t);
        }
        return hsv(baseHue + offset, selected ? 0.62 : 0.42, selected ? 0.92 : 0.74);
    };
    QConicalGradient ring(center, 90.0);
    for (int step = 0; step <= 24; ++step) {
        const double t = step / 24.0;
        ring.setColorAt(t, ringColor(-t * 360.0));
    }
    QPainterPath band = circlePath(center, ringOuter);
    band.addEllipse(center, ringInner, ringInner);
    painter.setBrush(ring);
    painter.drawPath(band);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(20, 21, 23, 150), 0.8));
    painter.drawEllipse(center, ringInner, ringInner);

    // The scheme's colours as markers on the ring, joined through the disc.
    struct Marker
    {
        double offset;
        QColor color;
    };
    QVector<Marker> markers;
    auto hueMarker = [&](double offset) { return Marker{offset, hsv(baseHue + offset, 0.80, 0.98)}; };
    switch (scheme) {
    case SchemeArt::Harmonising:
        markers = {hueMarker(-30.0), hueMarker(0.0), hueMarker(30.0)};
        break;
    case SchemeArt::Contrasting:
        markers = {hueMarker(0.0), hueMarker(180.0)};
        break;
    case SchemeArt::WideContrast:
        markers = {hueMarker(0.0), hueMarker(150.0), hueMarker(210.0)};
        break;
    case SchemeArt::Dynamic:
        markers = {hueMarker(0.0), hueMarker(120.0), hueMarker(240.0)};
        break;
    case SchemeArt::Dramatic:
        markers = {Marker{200.0, QColor(232, 226, 214)}, hueMarker(0.0), Marker{160.0, QColor(120, 116, 110)}};
        break;
    case SchemeArt::TonalNeutral:
        markers = {Marker{-40.0, QColor(236, 230, 218)}, Marker{0.0, QColor(196, 186, 170)},
                   Marker{40.0, QColor(150, 142, 130)}};
        break;
    }
    auto markerPoint = [&](double offset) {
        const double angle = (90.0 - offset) * 3.14159265358979323846 / 180.0;
        return QPointF(center.x() + markerRadius * std::cos(angle), center.y() - markerRadius * std::sin(angle));
    };
    const QColor joinColor = selected ? QColor(255, 255, 255, 210) : QColor(210, 212, 214, 150);
    painter.setPen(QPen(joinColor, 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (scheme == SchemeArt::Harmonising || scheme == SchemeArt::TonalNeutral) {
        const QRectF arcBox(center.x() - markerRadius, center.y() - markerRadius, 2 * markerRadius, 2 * markerRadius);
        const double span = scheme == SchemeArt::Harmonising ? 60.0 : 80.0;
        QPainterPath arc;
        arc.arcMoveTo(arcBox, 90.0 + span / 2.0);
        arc.arcTo(arcBox, 90.0 + span / 2.0, -span);
        painter.setPen(QPen(joinColor, 2.2, Qt::SolidLine, Qt::RoundCap));
        painter.drawPath(arc);
    } else {
        QPolygonF joins;
        for (const Marker &marker : markers)
            joins << markerPoint(marker.offset);
        if (joins.size() > 2)
            painter.drawPolygon(joins);
        else
            painter.drawPolyline(joins);
    }
    for (const Marker &marker : markers) {
        const QPointF point = markerPoint(marker.offset);
        painter.setPen(QPen(QColor(18, 19, 21, 200), 1.0));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(point, 3.9, 3.9);
        painter.setPen(QPen(selected ? QColor(255, 255, 255) : QColor(226, 228, 230), 1.2));
        painter.setBrush(selected ? marker.color : desaturated(marker.color, 0.75));
        painter.drawEllipse(point, 3.2, 3.2);
    }

    // Gloss and frame.
    painter.setPen(Qt::NoPen);
    QLinearGradient gloss(0.0, center.y() - disc, 0.0, center.y() + 1.0);
    gloss.setColorAt(0.0, QColor(255, 255, 255, selected ? 70 : 46));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(gloss);
    painter.drawEllipse(QRectF(center.x() - disc * 0.8, center.y() - disc * 0.96, disc * 1.6, disc * 1.06));
    painter.setBrush(Qt::NoBrush);
    if (selected) {
        painter.setPen(QPen(QColor(255, 255, 255), 1.7));
        painter.drawEllipse(center, disc + 2.2, disc + 2.2);
    } else {
        painter.setPen(QPen(QColor(255, 255, 255, 30), 1.0));
        painter.drawEllipse(center, disc + 1.4, disc + 1.4);
    }
}

void paintBarIcon(QPainter &painter, const QSizeF &size, BarIcon icon)
{
    DesignGrid grid(painter, size, 16, 16);
    switch (icon) {
    case BarIcon::Zoom: {
        QPainterPath lens = circlePath(QPointF(6.6, 6.6), 4.6);
        QPainterPath plus;
        plus.moveTo(4.4, 6.6);
        plus.lineTo(8.8, 6.6);
        plus.moveTo(6.6, 4.4);
        plus.lineTo(6.6, 8.8);
        QPainterPath handle;
        handle.moveTo(10.0, 10.0);
        handle.lineTo(13.8, 13.8);
        strokeEngraved(painter, lens, barInk, 1.6, barRelief);
        strokeEngraved(painter, plus, barInk, 1.3, barRelief);
        strokeEngraved(painter, handle, barInk, 2.5, barRelief);
        break;
    }
    case BarIcon::Eraser: {
        painter.save();
        painter.translate(8.0, 7.4);
        painter.rotate(-40.0);
        const QRectF body(-6.0, -3.2, 12.0, 6.4);
        QPainterPath outline = roundedRectPath(body, 1.4);
        QPainterPath tip = roundedRectPath(QRectF(-6.0, -3.2, 5.0, 6.4), 1.4);
        fillEngraved(painter, tip, QColor(214, 92, 88), barRelief, QPointF(0.6, 0.8));
        strokeEngraved(painter, outline, barInk, 1.3, barRelief, QPointF(0.6, 0.8));
        painter.restore();
        QPainterPath floor;
        floor.moveTo(7.0, 14.0);
        floor.lineTo(14.0, 14.0);
        strokeEngraved(painter, floor, barInk, 1.2, barRelief);
        break;
    }
    case BarIcon::Trash: {
        QPainterPath lid;
        lid.moveTo(2.8, 4.2);
        lid.lineTo(13.2, 4.2);
        lid.moveTo(6.3, 4.0);
        lid.lineTo(6.3, 2.4);
        lid.lineTo(9.7, 2.4);
        lid.lineTo(9.7, 4.0);
        QPainterPath can;
        can.moveTo(4.2, 6.0);
        can.lineTo(4.9, 13.9);
        can.lineTo(11.1, 13.9);
        can.lineTo(11.8, 6.0);
        QPainterPath ribs;
        for (double x : {6.5, 8.0, 9.5}) {
            ribs.moveTo(x, 7.6);
            ribs.lineTo(x, 12.2);
        }
        strokeEngraved(painter, lid, barInk, 1.4, barRelief);
        strokeEngraved(painter, can, barInk, 1.4, barRelief);
        strokeEngraved(painter, ribs, barInk, 1.0, barRelief);
        break;
    }
    case BarIcon::Grid: {
        QPainterPath cells;
        for (double position : {2.5, 6.5, 10.5, 14.5}) {
            cells.moveTo(position, 2.5);
            cells.lineTo(position, 14.5);
            cells.moveTo(2.5, position);
            cells.lineTo(14.5, position);
        }
        painter.setRenderHint(QPainter::Antialiasing, false);
        QPen relief(barRelief, 1.0);
        painter.setPen(relief);
        painter.drawPath(cells.translated(0.0, 1.0));
        painter.setPen(QPen(barInk, 1.0));
        painter.drawPath(cells);
        painter.setRenderHint(QPainter::Antialiasing, true);
        // One filled cell: the grid holds colours.
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(31, 149, 201));
        painter.drawRect(QRectF(7.0, 7.0, 3.0, 3.0));
        break;
    }
    case BarIcon::Back: {
        QPainterPath arrow;
        arrow.moveTo(13.5, 8.0);
        arrow.lineTo(3.5, 8.0);
        arrow.moveTo(7.8, 3.7);
        arrow.lineTo(3.5, 8.0);
        arrow.lineTo(7.8, 12.3);
        strokeEngraved(painter, arrow, barInk, 1.9, barRelief);
        break;
    }
    }
}

void paintQuestionIcon(QPainter &painter, const QSizeF &size)
{
    DesignGrid grid(painter, size, 128, 128);
    const QPointF center(64.0, 62.0);
    const double radius = 54.0;
    softShadow(painter, circlePath(center, radius), QPointF(0.0, 3.0), 8, 60);
    painter.setPen(Qt::NoPen);
    QLinearGradient body(0.0, center.y() - radius, 0.0, center.y() + radius);
    body.setColorAt(0.0, QColor(92, 196, 238));
    body.setColorAt(0.5, QColor(34, 150, 204));
    body.setColorAt(1.0, QColor(10, 98, 146));
    painter.setBrush(QColor(8, 78, 116));
    painter.drawEllipse(center, radius, radius);
    painter.setBrush(body);
    painter.drawEllipse(center, radius - 2.0, radius - 2.0);
    QLinearGradient gloss(0.0, center.y() - radius, 0.0, center.y());
    gloss.setColorAt(0.0, QColor(255, 255, 255, 120));
    gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(gloss);
    painter.drawEllipse(QRectF(center.x() - 40.0, center.y() - 50.0, 80.0, 52.0));

    QPainterPath hook;
    const QRectF hookCircle(center.x() - 17.0, 31.0, 34.0, 34.0);
    hook.arcMoveTo(hookCircle, 165.0);
    hook.arcTo(hookCircle, 165.0, -225.0);
    hook.quadTo(QPointF(64.0, 66.0), QPointF(64.0, 74.0));
    hook.lineTo(64.0, 78.0);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 40, 70, 90), 11.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(hook.translated(0.0, 2.0));
    painter.setPen(QPen(QColor(255, 255, 255), 11.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(hook);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 40, 70, 90));
    painter.drawEllipse(QPointF(64.0, 95.0), 7.0, 7.0);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawEllipse(QPointF(64.0, 93.0), 7.0, 7.0);
}

void paintSliderGroove(QPainter &painter, const QSizeF &size)
{
    DesignGrid grid(painter, size, 21, 7);
    const QRectF capsule(0.5, 0.5, 20.0, 6.0);
    painter.setPen(QPen(QColor(36, 38, 41), 1.0));
    QLinearGradient inside(0.0, 0.0, 0.0, 7.0);
    inside.setColorAt(0.0, QColor(70, 72, 76));
    inside.setColorAt(1.0, QColor(120, 122, 126));
    painter.setBrush(inside);
    painter.drawRoundedRect(capsule, 3.0, 3.0);
}

void paintSliderGrooveMask(QPainter &painter, const QSizeF &size)
{
    DesignGrid grid(painter, size, 21, 7);
    // Red 0 hides the grey ramp, so only the inside of the groove shows it.
    painter.fillRect(QRectF(0, 0, 21, 7), QColor(0, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawRoundedRect(QRectF(1.0, 1.0, 19.0, 5.0), 2.5, 2.5);
}

void paintSliderThumb(QPainter &painter, const QSizeF &size)
{
    DesignGrid grid(painter, size, 13, 17);
    const QRectF body(1.5, 1.0, 10.0, 14.5);
    softShadow(painter, roundedRectPath(body, 3.0), QPointF(0.0, 0.8), 1, 60);
    painter.setPen(QPen(QColor(40, 42, 45), 1.0));
    QLinearGradient fill(0.0, body.top(), 0.0, body.bottom());
    fill.setColorAt(0.0, QColor(252, 252, 252));
    fill.setColorAt(1.0, QColor(200, 201, 203));
    painter.setBrush(fill);
    painter.drawRoundedRect(body, 3.0, 3.0);
    QPainterPath grip;
    for (double y : {6.0, 8.5, 11.0}) {
        grip.moveTo(4.5, y);
        grip.lineTo(8.5, y);
    }
    strokeEngraved(painter, grip, QColor(120, 123, 127), 1.0, QColor(255, 255, 255, 220));
}

void paintDisclosure(QPainter &painter, const QSizeF &size, bool open)
{
    DesignGrid grid(painter, size, 12, 12);
    QPainterPath triangle;
    if (open) {
        triangle.moveTo(2.0, 4.0);
        triangle.lineTo(10.0, 4.0);
        triangle.lineTo(6.0, 9.0);
    } else {
        triangle.moveTo(4.0, 2.0);
        triangle.lineTo(9.0, 6.0);
        triangle.lineTo(4.0, 10.0);
    }
    triangle.closeSubpath();
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen rounding(QColor(210, 212, 214), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(QPen(QColor(0, 0, 0, 110), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(QColor(0, 0, 0, 110));
    painter.drawPath(triangle.translated(0.0, 1.0));
    painter.setPen(rounding);
    painter.setBrush(QColor(210, 212, 214));
    painter.drawPath(triangle);
}

void paintScrollBarThumb(QPainter &painter, const QSizeF &size)
{
    DesignGrid grid(painter, size, 6, 32);
    QLinearGradient fill(0.0, 0.0, 6.0, 0.0);
    fill.setColorAt(0.0, QColor(192, 192, 192));
    fill.setColorAt(1.0, QColor(208, 208, 208));
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(0.0, 0.0, 6.0, 32.0), 3.0, 3.0);
}

void paintNeutralMarker(QPainter &painter, const QSizeF &size, bool selected)
{
    DesignGrid grid(painter, size, 9, 9);
    const QPointF center(4.5, 4.5);
    const double radius = 3.6;
    // Half warm stone, half its cool complement.
    const QColor warm = selected ? QColor(222, 196, 160) : QColor(176, 162, 142);
    const QColor cool = selected ? QColor(150, 172, 200) : QColor(130, 140, 152);
    painter.setPen(Qt::NoPen);
    painter.setBrush(warm);
    painter.drawPie(QRectF(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius), 90 * 16, 180 * 16);
    painter.setBrush(cool);
    painter.drawPie(QRectF(center.x() - radius, center.y() - radius, 2 * radius, 2 * radius), -90 * 16, 180 * 16);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(selected ? QColor(255, 255, 255) : QColor(188, 188, 188), 1.0));
    painter.drawEllipse(center, radius + 0.4, radius + 0.4);
}

void paintCapsureButton(QPainter &painter, const QSizeF &size)
{
    DesignGrid grid(painter, size, 16, 16);
    const QRectF body(3.5, 0.8, 9.0, 14.4);
    softShadow(painter, roundedRectPath(body, 3.0), QPointF(0.0, 0.7), 1, 60);
    QLinearGradient shell(0.0, body.top(), 0.0, body.bottom());
    shell.setColorAt(0.0, QColor(72, 76, 81));
    shell.setColorAt(1.0, QColor(30, 32, 35));
    painter.setPen(QPen(QColor(22, 23, 25), 0.8));
    painter.setBrush(shell);
    painter.drawRoundedRect(body, 3.0, 3.0);
    // Display and measuring aperture.
    painter.setPen(Qt::NoPen);
    QLinearGradient screen(0.0, 2.6, 0.0, 5.6);
    screen.setColorAt(0.0, QColor(120, 214, 250));
    screen.setColorAt(1.0, QColor(31, 149, 201));
    painter.setBrush(screen);
    painter.drawRoundedRect(QRectF(5.5, 2.6, 5.0, 3.2), 0.8, 0.8);
    QConicalGradient spectrum(QPointF(8.0, 10.6), 90.0);
    for (int step = 0; step <= 6; ++step)
        spectrum.setColorAt(step / 6.0, hsv(step * 60.0, 0.75, 1.0));
    painter.setBrush(QColor(16, 17, 19));
    painter.drawEllipse(QPointF(8.0, 10.6), 2.9, 2.9);
    painter.setBrush(spectrum);
    painter.drawEllipse(QPointF(8.0, 10.6), 2.2, 2.2);
    painter.setBrush(QColor(255, 255, 255, 160));
    painter.drawEllipse(QPointF(7.3, 9.9), 0.7, 0.7);
}

} // namespace Tintor::ThemeArt
