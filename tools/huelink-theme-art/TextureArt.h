#pragma once

#include <QSizeF>
#include <QString>
#include <QStringList>

class QPainter;

// Surface textures for the textures tab: light, nearly grey images whose
// shading the interface multiplies with a chip's colour. Each is computed
// from seeded noise and a lit height field, so a render repeats exactly.
namespace Tintor::ThemeArt {

enum class TextureKind { Plaster, Stucco, Brick, OakBoards, Linen, Concrete, Weatherboard, WallpaperStripe };

struct TextureInfo
{
    TextureKind kind;
    QString fileName;    // without extension
    QString displayName; // stored as the texture's NAME
};

QList<TextureInfo> textureCatalog();
void paintTexture(QPainter &painter, const QSizeF &size, TextureKind kind);

} // namespace Tintor::ThemeArt
