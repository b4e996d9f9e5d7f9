#pragma once

#include <QSize>
#include <QSizeF>
#include <QString>
#include <QVector>

#include <functional>

class QPainter;

// Everything the renderer draws: the system-wide theme, the art each demo
// collection carries of its own, and the surface textures, with the pixel
// size each is designed for.
namespace Tintor::ThemeArt {

// What a piece is seen against in the interface; the contact sheet uses it.
enum class Backdrop { Dark, Light, Opaque };

struct ArtPiece
{
    QString folder; // "theme", "collections/<name>" or "textures"
    QString name;   // the theme key, or the texture's file name
    QSize size;     // designed pixel size at scale 1
    Backdrop backdrop;
    std::function<void(QPainter &, const QSizeF &)> paint;

    QString relativePath() const { return folder + QLatin1Char('/') + name + QStringLiteral(".png"); }
};

QVector<ArtPiece> artCatalog();

} // namespace Tintor::ThemeArt
