#pragma once

#include "db/Texture.h"
#include "db/TextureMapEntry.h"

#include <QColor>
#include <QHash>
#include <QImage>
#include <QRect>
#include <QUuid>
#include <QVector>
#include <QWidget>

namespace Tintor {

// The scrolled page of the textures tab: the textures the collection pairs
// with the selected card, as tiles in three flush columns, each tinted with
// the selected chip's colour, framed and named. Passive: the card and chip
// come from the user state on every layout and paint.
class TexturesViewport : public QWidget
{
    Q_OBJECT

public:
    struct Tile
    {
        QRect rect;
        DB::TextureMapEntry entry;
    };

    explicit TexturesViewport(QWidget *parent = nullptr);

    // The textures of the collection and the shared ones; drops every
    // tinted image made so far.
    void loadTextures(const QUuid &collection);
    // Places the tiles of the selected card and resizes to fit.
    void layoutTiles();

    QVector<Tile> tiles() const { return m_tiles; }
    // Tinted images kept for reuse (one per texture, tint and alpha).
    int cachedTintCount() const { return int(m_tinted.size()); }
    // The selected chip's colour, pure red when there is none.
    QColor tintColor() const;

    // The texture's shading multiplied into a mix of the tint and the
    // texture: m = trunc(T * a + p * (1 - a)) mod 256, out = (p * m) >> 8
    // per channel, fully opaque. `alpha` must lie within 0..1.
    static QImage tintedImage(const QImage &texture, const QColor &tint, double alpha);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    const QImage &tintedTexture(const DB::Texture &texture, const QColor &tint, double alpha, const QSize &tileSize);

    QUuid m_collection;
    QHash<qint64, DB::Texture> m_textures;
    QVector<Tile> m_tiles;
    QImage m_background;
    // Tinting touches every pixel: the images of one tint are kept until
    // the tint, the tile size or the collection changes.
    QRgb m_cachedTint = 0;
    QSize m_cachedTileSize;
    QHash<QPair<qint64, double>, QImage> m_tinted;
    bool m_layingOut = false;
};

} // namespace Tintor
