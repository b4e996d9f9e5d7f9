#include "DemoArt.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace Gallery {

namespace {

QImage transparentImage(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

QByteArray pngBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QImage mainBackground(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0.0, QColor(62, 64, 70));
    gradient.setColorAt(1.0, QColor(36, 37, 41));
    painter.fillRect(image.rect(), gradient);
    return image;
}

QImage barBackground(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, size.height());
    gradient.setColorAt(0.0, QColor(92, 94, 102));
    gradient.setColorAt(1.0, QColor(66, 68, 74));
    painter.fillRect(image.rect(), gradient);
    painter.setPen(QColor(40, 40, 44));
    painter.drawLine(0, size.height() - 1, size.width(), size.height() - 1);
    return image;
}

QImage colorWheelBackground()
{
    constexpr double pi = 3.14159265358979323846;
    const QSize size(122, 122);
    QImage image = transparentImage(size);
    const double cx = 60.0;
    const double cy = 61.0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            const double dx = x + 0.5 - cx;
            const double dy = cy - (y + 0.5);
            const double r = std::sqrt(dx * dx + dy * dy);
            double angle = std::atan2(dy, dx) * 180.0 / pi;
            const int hue = int(std::fmod(90.0 - angle + 720.0, 360.0));
            QColor color;
            if (r <= 50.0)
                color = QColor(44, 45, 50);
            else if (r <= 59.0)
                color = QColor::fromHsv(hue, 170, 225);
            else if (r <= 60.5)
                color = QColor(30, 30, 34);
            else
                continue;
            // Soft outer edge.
            if (r > 59.5)
                color.setAlpha(int(255 * std::max(0.0, 60.5 - r)));
            image.setPixelColor(x, y, color);
        }
    }
    return image;
}

QImage moodImage(const QColor &color, bool selected)
{
    QImage image = transparentImage(QSize(23, 21));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor fill = color;
    if (!selected)
        fill = fill.darker(150);
    painter.setBrush(fill);
    painter.setPen(QPen(selected ? QColor(255, 255, 255) : QColor(30, 30, 30), selected ? 2.0 : 1.0));
    painter.drawRoundedRect(QRectF(1.5, 1.5, 20, 18), 4, 4);
    return image;
}

QImage tickImage()
{
    QImage image = transparentImage(QSize(12, 11));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(255, 255, 255), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    QPainterPath path;
    path.moveTo(1.5, 5.5);
    path.lineTo(4.5, 8.5);
    path.lineTo(10.5, 1.5);
    painter.drawPath(path);
    return image;
}

QImage disabledMarkImage()
{
    QImage image = transparentImage(QSize(11, 11));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(40, 40, 40));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(0.5, 0.5, 10, 10));
    painter.setPen(QPen(QColor(235, 90, 80), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(3.5, 3.5), QPointF(7.5, 7.5));
    painter.drawLine(QPointF(7.5, 3.5), QPointF(3.5, 7.5));
    return image;
}

QImage magnifyingGlassImage()
{
    QImage image = transparentImage(QSize(16, 16));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(90, 90, 90), 1.8, Qt::SolidLine, Qt::RoundCap));
    painter.drawEllipse(QRectF(2, 2, 8, 8));
    painter.drawLine(QPointF(9.5, 9.5), QPointF(14, 14));
    return image;
}

QImage rollImage(bool forward, bool pressed)
{
    QImage image = transparentImage(QSize(16, 16));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(pressed ? QColor(255, 255, 255) : QColor(200, 200, 204));
    QPolygonF triangle;
    if (forward)
        triangle << QPointF(5, 3) << QPointF(12, 8) << QPointF(5, 13);
    else
        triangle << QPointF(11, 3) << QPointF(4, 8) << QPointF(11, 13);
    painter.drawPolygon(triangle);
    return image;
}

QImage dropDownArrowImage(bool up)
{
    QImage image = transparentImage(QSize(12, 12));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(230, 230, 232));
    QPolygonF triangle;
    if (up)
        triangle << QPointF(2, 8) << QPointF(6, 3) << QPointF(10, 8);
    else
        triangle << QPointF(2, 4) << QPointF(6, 9) << QPointF(10, 4);
    painter.drawPolygon(triangle);
    return image;
}

QImage madeToOrderImage()
{
    QImage image = transparentImage(QSize(96, 50));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), QColor(255, 255, 255, 150));
    painter.setPen(QPen(QColor(90, 90, 90, 160), 2.0));
    for (int x = -50; x < 96; x += 10)
        painter.drawLine(x, 50, x + 50, 0);
    QFont font = painter.font();
    font.setPixelSize(16);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(50, 50, 50));
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("MTO"));
    return image;
}

QImage bannerImage(const QString &title)
{
    QImage image = transparentImage(QSize(800, 70));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = painter.font();
    font.setPixelSize(26);
    font.setWeight(QFont::Light);
    painter.setFont(font);
    painter.setPen(QColor(235, 235, 238));
    painter.drawText(QRect(24, 0, 760, 70), Qt::AlignVCenter | Qt::AlignLeft, title);
    return image;
}

} // namespace Gallery
