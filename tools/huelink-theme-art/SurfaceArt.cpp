#include "SurfaceArt.h"

#include "ArtKit.h"

#include <QConicalGradient>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <cmath>

namespace Tintor::ThemeArt {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Fine grain keeps large gradients from banding; drawn from a seeded image.
void paintGrain(QPainter &painter, const QRectF &rect, quint32 seed, int strength)
{
    const int width = int(std::ceil(rect.width()));
    const int height = int(std::ceil(rect.height()));
    QImage grain(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(grain.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double n = hashNoise(x, y, seed) - 0.5;
            const int alpha = int(std::lround(std::fabs(n) * 2.0 * strength));
            const int level = n > 0 ? 255 : 0;
            line[x] = qPremultiply(qRgba(level, level, level, alpha));
        }
    }
    painter.drawImage(rect, grain);
}

// A fan of colour strips pinned at one corner: the product's mark, designed
// on a 64-unit square.
void paintFanMark(QPainter &painter, const QRectF &box, const QColor &accent)
{
    painter.save();
    painter.translate(box.topLeft());
    painter.scale(box.width() / 64.0, box.height() / 64.0);
    const QPointF pivot(20.0, 54.0);
    const double hues[5] = {200.0, 150.0, 48.0, 18.0, 340.0};
    const double angles[5] = {-58.0, -36.0, -14.0, 8.0, 30.0};
    for (int strip = 0; strip < 5; ++strip) {
        painter.save();
        painter.translate(pivot);
        painter.rotate(angles[strip]);
        const QRectF body(-6.5, -50.0, 13.0, 54.0);
        softShadow(painter, roundedRectPath(body, 3.0), QPointF(1.2, 0.8), 2, 46);
        painter.setPen(Qt::NoPen);
        painter.setClipPath(roundedRectPath(body, 3.0));
        for (int chip = 0; chip < 4; ++chip) {
            const double value = 0.98 - chip * 0.14;
            const double saturation = 0.30 + chip * 0.17;
            QColor color = hsv(hues[strip], saturation, value);
            if (strip == 2 && accent.isValid())
                color = mix(color, accent, 0.35 + chip * 0.1);
            painter.setBrush(color);
            painter.drawRect(QRectF(-6.5, -50.0 + chip * 11.0, 13.0, 11.0));
        }
        painter.setBrush(QColor(250, 250, 248));
        painter.drawRect(QRectF(-6.5, -6.0, 13.0, 10.0));
        painter.setClipping(false);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0, 0, 0, 70), 0.8));
        painter.drawRoundedRect(body, 3.0, 3.0);
        painter.restore();
    }
    // The rivet.
    QRadialGradient rivet(QPointF(pivot.x() - 0.8, pivot.y() - 0.8), 3.6);
    rivet.setColorAt(0.0, QColor(250, 250, 250));
    rivet.setColorAt(1.0, QColor(150, 152, 156));
    painter.setPen(QPen(QColor(60, 62, 66), 0.8));
    painter.setBrush(rivet);
    painter.drawEllipse(pivot, 3.0, 3.0);
    painter.restore();
}

QFont artFont(double pixelSize, QFont::Weight weight)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(int(std::lround(pixelSize)));
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

double segmentHue(int segment, const WheelLayout &layout)
{
    return (segment - 1) * 360.0 / layout.segmentCount;
}

void paintMainBackground(QPainter &painter, const QSizeF &size)
{
    const QRectF all(QPointF(0, 0), size);
    QLinearGradient body(0.0, 0.0, 0.0, size.height());
    body.setColorAt(0.0, Palette::backgroundTop);
    body.setColorAt(1.0, Palette::backgroundBottom);
    painter.fillRect(all, body);

    // Light falls from the upper left.
    QRadialGradient light(QPointF(size.width() * 0.22, size.height() * 0.05), size.width() * 0.9);
    light.setColorAt(0.0, QColor(255, 255, 255, 22));
    light.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.fillRect(all, light);
    QRadialGradient vignette(QPointF(size.width() * 0.5, size.height() * 0.55), size.width() * 0.75);
    vignette.setColorAt(0.65, QColor(0, 0, 0, 0));
    vignette.setColorAt(1.0, QColor(0, 0, 0, 40));
    painter.fillRect(all, vignette);

    // The header band behind the banner.
    const double header = 70.0 * size.height() / 600.0;
    QLinearGradient band(0.0, 0.0, 0.0, header);
    band.setColorAt(0.0, Palette::headerTop);
    band.setColorAt(1.0, Palette::headerBottom);
    painter.fillRect(QRectF(0.0, 0.0, size.width(), header), band);
    painter.fillRect(QRectF(0.0, header - 1.0, size.width(), 1.0), QColor(24, 25, 27));
    painter.fillRect(QRectF(0.0, header, size.width(), 1.0), QColor(255, 255, 255, 34));

    paintGrain(painter, all, 7U, 7);
}

void paintBarBackground(QPainter &painter, const QSizeF &size)
{
    const double h = size.height();
    QLinearGradient body(0.0, 0.0, 0.0, h);
    body.setColorAt(0.0, Palette::barTop);
    body.setColorAt(0.5, QColor(232, 232, 233));
    body.setColorAt(1.0, Palette::barBottom);
    painter.fillRect(QRectF(QPointF(0, 0), size), body);
    // Highlight along the top, a crisp edge along the bottom: the bar tiles
    // horizontally, so nothing varies along x.
    painter.fillRect(QRectF(0.0, 0.0, size.width(), h / 30.0), QColor(255, 255, 255, 230));
    painter.fillRect(QRectF(0.0, h - 2.0 * h / 30.0, size.width(), h / 30.0), QColor(196, 197, 199));
    painter.fillRect(QRectF(0.0, h - h / 30.0, size.width(), h / 30.0), QColor(150, 152, 156));
}

void paintColorWheel(QPainter &painter, const QSizeF &size, const WheelLayout &layout)
{
    painter.save();
    painter.scale(size.width() / 122.0, size.height() / 122.0);
    const QPointF c = layout.center;
    const double rim = 58.0;
    const double bandInner = 49.0;
    const double hub = 9.0;
    const int n = layout.segmentCount;
    const double width = 360.0 / n;
    const double direction = layout.clockwise ? -1.0 : 1.0;

    softShadow(painter, circlePath(c, rim), QPointF(0.0, 1.5), 3, 90);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(26, 27, 30));
    painter.drawEllipse(c, rim + 0.8, rim + 0.8);

    // Outer band: the continuous hue circle, hue growing in segment order.
    QConicalGradient hueRing(c, layout.firstSegmentAngle);
    for (int step = 0; step <= 36; ++step) {
        const double t = step / 36.0;
        const double angle = t * 360.0; // counter-clockwise from the first segment
        const double hue = layout.clockwise ? -angle : angle;
        hueRing.setColorAt(t, hsv(hue, 0.74, 0.95));
    }
    painter.setBrush(hueRing);
    painter.drawEllipse(c, rim, rim);
    QRadialGradient bandShade(c, rim);
    bandShade.setColorAt(bandInner / rim, QColor(255, 255, 255, 40));
    bandShade.setColorAt(0.93, QColor(255, 255, 255, 0));
    bandShade.setColorAt(1.0, QColor(0, 0, 0, 50));
    painter.setBrush(bandShade);
    painter.drawEllipse(c, rim, rim);

    // Inner field: each segment as three tonal rings, like the chips of a
    // card from deep (centre) to light (towards the hue band).
    const double ringEdges[4] = {hub, 22.0, 35.5, bandInner};
    const double saturations[3] = {0.62, 0.60, 0.46};
    const double values[3] = {0.40, 0.62, 0.84};
    for (int segment = 1; segment <= n; ++segment) {
        const double hue = segmentHue(segment, layout);
        const double middle = layout.firstSegmentAngle + direction * (segment - 1) * width;
        for (int ring = 2; ring >= 0; --ring) {
            const double outer = ringEdges[ring + 1];
            QPainterPath wedge;
            wedge.moveTo(c);
            wedge.arcTo(QRectF(c.x() - outer, c.y() - outer, 2 * outer, 2 * outer), middle - width / 2.0, width);
            wedge.closeSubpath();
            QRadialGradient tone(c, outer);
            const QColor base = hsv(hue, saturations[ring], values[ring]);
            tone.setColorAt(ringEdges[ring] / outer, base.darker(108));
            tone.setColorAt(1.0, base.lighter(104));
            painter.setBrush(tone);
            painter.drawPath(wedge);
        }
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(24, 25, 28, 150), 1.0));
    painter.drawEllipse(c, ringEdges[1], ringEdges[1]);
    painter.drawEllipse(c, ringEdges[2], ringEdges[2]);
    painter.setPen(QPen(QColor(24, 25, 28, 210), 1.2));
    painter.drawEllipse(c, bandInner, bandInner);

    // Segment borders.
    painter.setPen(QPen(QColor(22, 23, 26, 190), 1.1, Qt::SolidLine, Qt::FlatCap));
    for (int segment = 1; segment <= n; ++segment) {
        const double middle = layout.firstSegmentAngle + direction * (segment - 1) * width;
        const double edge = (middle + width / 2.0) * kPi / 180.0;
        const QPointF from(c.x() + hub * std::cos(edge), c.y() - hub * std::sin(edge));
        const QPointF to(c.x() + rim * std::cos(edge), c.y() - rim * std::sin(edge));
        painter.drawLine(from, to);
    }

    // Hub and glass.
    painter.setPen(Qt::NoPen);
    QRadialGradient hubShade(QPointF(c.x() - 2.0, c.y() - 2.0), hub + 2.0);
    hubShade.setColorAt(0.0, QColor(70, 72, 76));
    hubShade.setColorAt(1.0, QColor(28, 29, 32));
    painter.setBrush(hubShade);
    painter.drawEllipse(c, hub, hub);
    QLinearGradient glass(0.0, c.y() - rim, 0.0, c.y() + 4.0);
    glass.setColorAt(0.0, QColor(255, 255, 255, 58));
    glass.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(glass);
    painter.drawEllipse(QRectF(c.x() - rim * 0.78, c.y() - rim * 0.96, rim * 1.56, rim * 1.08));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(255, 255, 255, 46), 1.0));
    painter.drawEllipse(c, rim - 0.6, rim - 0.6);
    painter.restore();
}

void paintWindowIcon(QPainter &painter, const QSizeF &size)
{
    paintFanMark(painter, QRectF(QPointF(0, 0), size), QColor());
}

void paintBanner(QPainter &painter, const QSizeF &size, const CollectionLook &look)
{
    painter.save();
    painter.scale(size.width() / 800.0, size.height() / 70.0);
    const QRectF all(0.0, 0.0, 800.0, 70.0);
    QLinearGradient band(0.0, 0.0, 0.0, 70.0);
    band.setColorAt(0.0, QColor(40, 42, 46));
    band.setColorAt(1.0, QColor(54, 56, 60));
    painter.fillRect(all, band);
    QRadialGradient glow(QPointF(120.0, 10.0), 420.0);
    glow.setColorAt(0.0, withAlpha(look.accent, 60));
    glow.setColorAt(1.0, withAlpha(look.accent, 0));
    painter.fillRect(all, glow);

    paintFanMark(painter, QRectF(22.0, 6.0, 56.0, 56.0), look.accent);

    painter.setPen(QColor(240, 241, 242));
    painter.setFont(artFont(23.0, QFont::DemiBold));
    painter.drawText(QRectF(92.0, 11.0, 430.0, 30.0), Qt::AlignLeft | Qt::AlignVCenter, look.title);
    painter.setPen(QColor(176, 180, 186));
    painter.setFont(artFont(11.5, QFont::Normal));
    painter.drawText(QRectF(93.0, 41.0, 430.0, 18.0), Qt::AlignLeft | Qt::AlignVCenter, look.tagline);

    // The collection's signature chips, fanned out to the right.
    const int count = int(look.signature.size());
    const double chipWidth = 24.0;
    const double gap = 3.0;
    double x = 800.0 - 24.0 - count * (chipWidth + gap) + gap;
    for (int index = 0; index < count; ++index) {
        const QRectF chip(x, 12.0, chipWidth, 44.0);
        softShadow(painter, roundedRectPath(chip, 2.0), QPointF(0.0, 1.0), 2, 70);
        QLinearGradient face(0.0, chip.top(), 0.0, chip.bottom());
        face.setColorAt(0.0, look.signature[index].lighter(106));
        face.setColorAt(1.0, look.signature[index].darker(106));
        painter.setPen(Qt::NoPen);
        painter.setBrush(face);
        painter.drawRoundedRect(chip, 2.0, 2.0);
        painter.setBrush(QColor(255, 255, 255, 34));
        painter.drawRoundedRect(QRectF(chip.left(), chip.top(), chip.width(), 6.0), 2.0, 2.0);
        x += chipWidth + gap;
    }

    // Accent rule along the bottom edge.
    QLinearGradient rule(0.0, 0.0, 800.0, 0.0);
    rule.setColorAt(0.0, withAlpha(look.accent, 0));
    rule.setColorAt(0.2, withAlpha(look.accent, 200));
    rule.setColorAt(0.8, withAlpha(look.accent, 200));
    rule.setColorAt(1.0, withAlpha(look.accent, 0));
    painter.fillRect(QRectF(0.0, 68.0, 800.0, 1.0), rule);
    painter.fillRect(QRectF(0.0, 69.0, 800.0, 1.0), QColor(20, 21, 23));
    painter.restore();
    paintGrain(painter, QRectF(QPointF(0, 0), size), 11U, 5);
}

void paintAboutLogo(QPainter &painter, const QSizeF &size, const CollectionLook &look)
{
    painter.save();
    painter.scale(size.width() / 128.0, size.height() / 48.0);
    paintFanMark(painter, QRectF(0.0, 2.0, 44.0, 44.0), look.accent);
    painter.setPen(QColor(44, 47, 51));
    painter.setFont(artFont(19.0, QFont::Bold));
    painter.drawText(QRectF(44.0, 4.0, 84.0, 26.0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Huelink"));
    painter.setPen(look.accent.isValid() ? look.accent.darker(125) : QColor(90, 94, 98));
    painter.setFont(artFont(8.5, QFont::Normal));
    const QFontMetricsF metrics(painter.font());
    // Under the word mark: the collection, or the maker for the product itself.
    const QString subline = look.title == QLatin1String("Huelink") ? QStringLiteral("by Vestrel") : look.title;
    painter.drawText(QRectF(45.0, 29.0, 83.0, 14.0), Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(subline, Qt::ElideRight, 82.0));
    painter.restore();
}

void paintMadeToOrderMarker(QPainter &painter, const QSizeF &size)
{
    painter.save();
    painter.scale(size.width() / 96.0, size.height() / 50.0);
    const QRectF all(0.0, 0.0, 96.0, 50.0);
    QLinearGradient base(0.0, 0.0, 0.0, 50.0);
    base.setColorAt(0.0, QColor(238, 238, 236));
    base.setColorAt(1.0, QColor(222, 222, 220));
    painter.fillRect(all, base);
    // Diagonal hatching: no colour on file, mixed on request.
    painter.save();
    painter.setClipRect(all);
    painter.setPen(QPen(QColor(196, 196, 194), 2.0));
    for (double x = -50.0; x < 96.0 + 50.0; x += 8.0)
        painter.drawLine(QPointF(x, 50.0), QPointF(x + 50.0, 0.0));
    painter.restore();

    const QRectF badge(32.0, 10.0, 32.0, 30.0);
    softShadow(painter, roundedRectPath(badge, 6.0), QPointF(0.0, 1.0), 2, 60);
    painter.setPen(Qt::NoPen);
    QLinearGradient face(0.0, badge.top(), 0.0, badge.bottom());
    face.setColorAt(0.0, QColor(98, 102, 107));
    face.setColorAt(1.0, QColor(66, 69, 73));
    painter.setBrush(face);
    painter.drawRoundedRect(badge, 6.0, 6.0);
    // A paint drop with a plus: tinted to order.
    QPainterPath drop;
    drop.moveTo(48.0, 14.5);
    drop.cubicTo(QPointF(53.0, 21.0), QPointF(56.0, 25.0), QPointF(56.0, 28.5));
    drop.cubicTo(QPointF(56.0, 33.0), QPointF(52.4, 36.0), QPointF(48.0, 36.0));
    drop.cubicTo(QPointF(43.6, 36.0), QPointF(40.0, 33.0), QPointF(40.0, 28.5));
    drop.cubicTo(QPointF(40.0, 25.0), QPointF(43.0, 21.0), QPointF(48.0, 14.5));
    painter.setBrush(QColor(250, 250, 250));
    painter.drawPath(drop);
    painter.setPen(QPen(QColor(66, 69, 73), 2.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(44.5, 29.0), QPointF(51.5, 29.0));
    painter.drawLine(QPointF(48.0, 25.5), QPointF(48.0, 32.5));
    painter.restore();
}

} // namespace Tintor::ThemeArt
