#pragma once

#include <QColor>
#include <QPointF>
#include <QSizeF>
#include <QString>
#include <QVector>

class QPainter;

// The large theme images: backgrounds, the colour wheel, and the art each
// collection carries of its own (banner, about logo, made-to-order marker).
namespace Tintor::ThemeArt {

// The layout the wheel picture is drawn for; the demo collections use the
// same values in their settings.
struct WheelLayout
{
    int segmentCount = 12;
    double firstSegmentAngle = 90.0; // degrees, counter-clockwise from three o'clock
    bool clockwise = true;
    QPointF center{60.0, 61.0};
};

// What a collection's own art shows.
struct CollectionLook
{
    QString title;
    QString tagline;
    QVector<QColor> signature; // the chips shown on the banner
    QColor accent;
};

void paintMainBackground(QPainter &painter, const QSizeF &size);
void paintBarBackground(QPainter &painter, const QSizeF &size);
void paintColorWheel(QPainter &painter, const QSizeF &size, const WheelLayout &layout);
void paintWindowIcon(QPainter &painter, const QSizeF &size);
void paintBanner(QPainter &painter, const QSizeF &size, const CollectionLook &look);
void paintAboutLogo(QPainter &painter, const QSizeF &size, const CollectionLook &look);
void paintMadeToOrderMarker(QPainter &painter, const QSizeF &size);

// The hue the wheel shows at the centre of a segment (1-based).
double segmentHue(int segment, const WheelLayout &layout);

} // namespace Tintor::ThemeArt
