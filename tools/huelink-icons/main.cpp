// Draws the application icon: a fan deck of colour cards spread over a
// quarter turn around a rivet, one hue per card, each card banded from a
// light tint at its tip to the full colour near the rivet.

#include "engine/inc/AtomicFileWriter.h"

#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QTextStream>
#include <QTransform>

#include <cmath>

namespace {

// Everything is drawn in a 64 x 64 design space.
constexpr double kDesignSize = 64.0;
const QPointF kPivot(13.0, 51.0);
constexpr double kCardLength = 47.0;
constexpr double kCardWidth = 14.0;
constexpr double kCardRadius = 3.5;
// The fan opens from straight up (-90 degrees) towards the right.
constexpr double kFirstAngle = -95.0;
constexpr double kLastAngle = -5.0;

struct Deck
{
    QList<int> hues;
    int chipsPerCard;
    double outline;
};

Deck deckFor(int size)
{
    // Small icons get fewer, plainer cards so that each stays readable.
    if (size <= 16)
        return {{0, 45, 130, 215}, 1, 2.2};
    if (size <= 32)
        return {{355, 30, 52, 140, 205, 270}, 2, 1.6};
    return {{355, 28, 50, 140, 200, 240, 285}, 3, 1.3};
}

QColor chipColor(int hue, int chip, int chips)
{
    // The chip nearest the rivet is the full colour; tints towards the tip.
    const double lightness = chips == 1 ? 0.0 : double(chip) / (chips - 1);
    const int saturation = int(235 - lightness * 105);
    const int value = int(std::min(255.0, 215 + lightness * 40));
    return QColor::fromHsv(hue % 360, saturation, value);
}

const QRectF kCard(-kCardWidth / 2, -kCardLength, kCardWidth, kCardLength + kCardWidth / 2);

QPainterPath cardOutline(double angle)
{
    QPainterPath outline;
    outline.addRoundedRect(kCard, kCardRadius, kCardRadius);
    QTransform transform;
    transform.translate(kPivot.x(), kPivot.y());
    transform.rotate(angle + 90.0); // the card's length runs along -y
    return transform.map(outline);
}

// A soft dark edge around the whole fan keeps the pale tips apart from a
// light background.
void drawFanShadow(QPainter &painter, const QList<double> &angles, const Deck &deck)
{
    QPainterPath fan;
    for (double angle : angles)
        fan = fan.united(cardOutline(angle));
    painter.save();
    painter.setPen(QPen(QColor(20, 20, 40, 90), deck.outline * 2 + 1.4, Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(fan);
    painter.restore();
}

void drawCard(QPainter &painter, double angle, int hue, const Deck &deck)
{
    painter.save();
    painter.translate(kPivot);
    painter.rotate(angle + 90.0);
    const QRectF card = kCard;
    QPainterPath outline;
    outline.addRoundedRect(card, kCardRadius, kCardRadius);

    // A white rim separates the card from the one beneath it.
    painter.setPen(QPen(Qt::white, deck.outline * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::white);
    painter.drawPath(outline);

    painter.setClipPath(outline);
    painter.setPen(Qt::NoPen);
    const double chipArea = kCardLength - kCardWidth * 0.6;
    const double chipLength = chipArea / deck.chipsPerCard;
    painter.fillRect(card, chipColor(hue, 0, deck.chipsPerCard));
    for (int chip = 1; chip < deck.chipsPerCard; ++chip) {
        const double bottom = -kCardWidth * 0.6 - chip * chipLength;
        painter.fillRect(QRectF(card.left(), card.top(), card.width(), bottom - card.top()),
                         chipColor(hue, chip, deck.chipsPerCard));
        // A hairline between chips, as printed cards have.
        painter.fillRect(QRectF(card.left(), bottom - 0.35, card.width(), 0.7), QColor(255, 255, 255, 200));
    }
    painter.restore();
}

QImage drawIcon(int size)
{
    // Drawn four times larger and scaled down for even edges.
    const int canvas = size * 4;
    QImage image(canvas, canvas, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(canvas / kDesignSize, canvas / kDesignSize);

    const Deck deck = deckFor(size);
    const int cards = int(deck.hues.size());
    QList<double> angles;
    for (int i = 0; i < cards; ++i)
        angles.append(kFirstAngle + (kLastAngle - kFirstAngle) * i / (cards - 1));
    drawFanShadow(painter, angles, deck);
    for (int i = 0; i < cards; ++i)
        drawCard(painter, angles.at(i), deck.hues.at(i), deck);

    // The rivet that holds the deck together.
    const double rivet = size <= 16 ? 5.5 : 4.5;
    painter.setPen(QPen(QColor(70, 70, 78), size <= 16 ? 2.2 : 1.4));
    painter.setBrush(QColor(250, 250, 250));
    painter.drawEllipse(kPivot, rivet, rivet);
    painter.end();

    return image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    QTextStream err(stderr);
    if (arguments.size() != 2) {
        err << "usage: huelink-icons OUTPUT_FOLDER\n";
        return 2;
    }
    const QDir folder(arguments.at(1));
    for (int size : {16, 32, 48, 64}) {
        const QString path = folder.filePath(QStringLiteral("icon_%1.png").arg(size));
        QString error;
        if (!Tintor::AtomicFileWriter::writeImage(path, drawIcon(size), "png", error)) {
            err << "cannot write " << path << ": " << error << "\n";
            return 1;
        }
    }
    return 0;
}
