#include "ArtKit.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace Tintor::ThemeArt {

namespace {

int channelMix(int from, int to, double t)
{
    return std::clamp(int(std::lround(from + (to - from) * t)), 0, 255);
}

quint32 mixBits(quint32 value)
{
    value ^= value >> 16;
    value *= 0x7feb352dU;
    value ^= value >> 15;
    value *= 0x846ca68bU;
    value ^= value >> 16;
    return value;
}

double smoothStep(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

} // namespace

QColor mix(const QColor &from, const QColor &to, double t)
{
    return QColor(channelMix(from.red(), to.red(), t), channelMix(from.green(), to.green(), t),
                  channelMix(from.blue(), to.blue(), t), channelMix(from.alpha(), to.alpha(), t));
}

QColor withAlpha(QColor color, int alpha)
{
    color.setAlpha(std::clamp(alpha, 0, 255));
    return color;
}

QColor hsv(double hue, double saturation, double value)
{
    double h = std::fmod(hue, 360.0);
    if (h < 0.0)
        h += 360.0;
    return QColor::fromHsvF(float(h / 360.0), float(std::clamp(saturation, 0.0, 1.0)),
                            float(std::clamp(value, 0.0, 1.0)));
}

QColor desaturated(const QColor &color, double factor)
{
    float h = 0, s = 0, v = 0, a = 0;
    color.getHsvF(&h, &s, &v, &a);
    if (h < 0)
        h = 0;
    return QColor::fromHsvF(h, float(std::clamp(s * factor, 0.0, 1.0)), v, a);
}

double hashNoise(int x, int y, quint32 seed)
{
    const quint32 bits = mixBits(quint32(x) * 0x9e3779b1U ^ mixBits(quint32(y) + 0x632be5abU) ^ (seed * 0x85ebca77U));
    return double(bits >> 8) / double(1U << 24);
}

double valueNoise(double x, double y, quint32 seed)
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = int(fx);
    const int iy = int(fy);
    const double tx = smoothStep(x - fx);
    const double ty = smoothStep(y - fy);
    const double a = hashNoise(ix, iy, seed);
    const double b = hashNoise(ix + 1, iy, seed);
    const double c = hashNoise(ix, iy + 1, seed);
    const double d = hashNoise(ix + 1, iy + 1, seed);
    const double top = a + (b - a) * tx;
    const double bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double fractalNoise(double x, double y, quint32 seed, int octaves)
{
    double sum = 0.0;
    double weight = 0.5;
    double total = 0.0;
    double frequency = 1.0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += weight * valueNoise(x * frequency, y * frequency, seed + quint32(octave) * 101U);
        total += weight;
        weight *= 0.5;
        frequency *= 2.0;
    }
    return total > 0.0 ? sum / total : 0.0;
}

QPainterPath roundedRectPath(const QRectF &rect, double radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QPainterPath circlePath(const QPointF &center, double radius)
{
    QPainterPath path;
    path.addEllipse(center, radius, radius);
    return path;
}

QPainterPath chevronPath(const QPointF &center, double halfWidth, double halfHeight, double angleDegrees)
{
    // Drawn pointing right, then turned.
    QPainterPath path;
    path.moveTo(-halfWidth, -halfHeight);
    path.lineTo(halfWidth, 0.0);
    path.lineTo(-halfWidth, halfHeight);
    QTransform transform;
    transform.translate(center.x(), center.y());
    transform.rotate(angleDegrees);
    return transform.map(path);
}

void strokeEngraved(QPainter &painter, const QPainterPath &path, const QColor &ink, double width,
                    const QColor &relief, const QPointF &reliefOffset)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    QPen pen(relief, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.drawPath(path.translated(reliefOffset));
    pen.setColor(ink);
    painter.setPen(pen);
    painter.drawPath(path);
    painter.restore();
}

void fillEngraved(QPainter &painter, const QPainterPath &path, const QColor &ink, const QColor &relief,
                  const QPointF &reliefOffset)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(relief);
    painter.drawPath(path.translated(reliefOffset));
    painter.setBrush(ink);
    painter.drawPath(path);
    painter.restore();
}

void softShadow(QPainter &painter, const QPainterPath &shape, const QPointF &offset, int spread,
                int strongestAlpha)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    for (int step = spread; step >= 1; --step) {
        const double t = double(step) / double(spread);
        const int alpha = int(std::lround(strongestAlpha * (1.0 - t) * (1.0 - t) + 2));
        QPen pen(QColor(0, 0, 0, std::min(alpha, 255)), step * 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        painter.setPen(pen);
        painter.drawPath(shape.translated(offset));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, strongestAlpha));
    painter.drawPath(shape.translated(offset));
    painter.restore();
}

void buttonDisc(QPainter &painter, const QPointF &center, double radius, bool pressed)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    // Outline ring, darker towards the bottom like a bevel seen from above.
    QLinearGradient rim(center.x(), center.y() - radius, center.x(), center.y() + radius);
    rim.setColorAt(0.0, QColor(58, 60, 64));
    rim.setColorAt(1.0, QColor(30, 31, 34));
    painter.setBrush(rim);
    painter.drawEllipse(center, radius, radius);

    const double inner = radius - 1.0;
    QLinearGradient body(center.x(), center.y() - inner, center.x(), center.y() + inner);
    if (pressed) {
        body.setColorAt(0.0, QColor(176, 178, 181));
        body.setColorAt(1.0, QColor(214, 215, 217));
    } else {
        body.setColorAt(0.0, QColor(250, 250, 250));
        body.setColorAt(0.55, QColor(226, 227, 228));
        body.setColorAt(1.0, QColor(196, 197, 199));
    }
    painter.setBrush(body);
    painter.drawEllipse(center, inner, inner);

    if (pressed) {
        // Inner shadow along the top edge.
        QRadialGradient shade(QPointF(center.x(), center.y() + inner * 0.35), inner * 1.25);
        shade.setColorAt(0.70, QColor(0, 0, 0, 0));
        shade.setColorAt(1.0, QColor(0, 0, 0, 70));
        painter.setBrush(shade);
        painter.drawEllipse(center, inner, inner);
    } else {
        QLinearGradient gloss(center.x(), center.y() - inner, center.x(), center.y());
        gloss.setColorAt(0.0, QColor(255, 255, 255, 150));
        gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
        painter.setBrush(gloss);
        painter.drawEllipse(QRectF(center.x() - inner * 0.8, center.y() - inner * 0.95, inner * 1.6, inner * 1.05));
    }
    painter.restore();
}

} // namespace Tintor::ThemeArt
