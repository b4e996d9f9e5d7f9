#include "ui/catalog/TexturesViewport.h"

#include "db/CatalogQueries.h"
#include "db/CollectionLookups.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "state/UserState.h"
#include "ui/catalog/CatalogBackground.h"
#include "ui/chips/MainWidgetAccess.h"
#include "ui/look/ProgramFont.h"

#include <QMouseEvent>
#include <QPainter>

namespace Tintor {

namespace {

constexpr int kColumns = 3;
constexpr int kRowSpacing = 16;
constexpr int kCaptionGap = 8;
constexpr int kNameGap = 4;

QFont captionFont()
{
    return programFont(FontStyle::Bold, 4);
}

QFont nameFont()
{
    return programFont(FontStyle::Italic, 2);
}

} // namespace

TexturesViewport::TexturesViewport(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TexturesViewport"));
    setMouseTracking(true);
}

void TexturesViewport::loadTextures(const QUuid &collection)
{
    m_collection = collection;
    m_textures.clear();
    m_tinted.clear();
    DB::texturesOfCollection(collection, m_textures);
}

QImage TexturesViewport::tintedImage(const QImage &texture, const QColor &tint, double alpha)
{
    // RGB32 and ARGB32 share one layout and only the colour channels count:
    // no copy for the usual formats.
    const QImage source = texture.format() == QImage::Format_RGB32 || texture.format() == QImage::Format_ARGB32
                            ? texture
                            : texture.convertToFormat(QImage::Format_ARGB32);
    QImage out(source.size(), QImage::Format_ARGB32);
    const int tintChannels[3] = {tint.red(), tint.green(), tint.blue()};
    // Per channel, the mixed value m only depends on p: one table each.
    int table[3][256];
    for (int c = 0; c < 3; ++c) {
        for (int p = 0; p < 256; ++p) {
            const int m = int(tintChannels[c] * alpha + p * (1.0 - alpha)) % 256;
            table[c][p] = (p * m) >> 8;
        }
    }
    for (int y = 0; y < source.height(); ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            line[x] = qRgba(table[0][qRed(in[x])], table[1][qGreen(in[x])], table[2][qBlue(in[x])], 255);
    }
    return out;
}

const QImage &TexturesViewport::tintedTexture(const DB::Texture &texture, const QColor &tint, double alpha,
                                              const QSize &tileSize)
{
    if (tint.rgb() != m_cachedTint || tileSize != m_cachedTileSize) {
        m_tinted.clear();
        m_cachedTint = tint.rgb();
        m_cachedTileSize = tileSize;
    }
    const QPair<qint64, double> key(texture.id, alpha);
    auto found = m_tinted.find(key);
    // Only the part a tile shows is tinted: a large texture costs no more
    // than one that fits.
    if (found == m_tinted.end()) {
        const QRect shown = texture.image.rect() & QRect(QPoint(0, 0), tileSize);
        const QImage part = shown == texture.image.rect() ? texture.image : texture.image.copy(shown);
        found = m_tinted.insert(key, tintedImage(part, tint, alpha));
    }
    return *found;
}

QColor TexturesViewport::tintColor() const
{
    const int rowIndex = UserState::rowIndex(m_collection);
    DB::ColorPage page;
    if (DB::pageAt(m_collection, UserState::pageIndex(m_collection), page) == DB::StatusOk && rowIndex >= 1
        && rowIndex <= page.entries.size()) {
        const DB::ColorEntry &row = page.entries.at(rowIndex - 1);
        return QColor(row.red, row.green, row.blue);
    }
    return QColor(255, 0, 0);
}

void TexturesViewport::layoutTiles()
{
    m_layingOut = true;
    m_tiles.clear();

    const QSize tileSize = CollectionSettings::textureSize(m_collection, QSize(148, 96));
    QVector<DB::TextureMapEntry> entries;
    DB::ColorPage page;
    if (DB::pageAt(m_collection, UserState::pageIndex(m_collection), page) == DB::StatusOk)
        DB::textureMapOfPage(m_collection, page.id, entries);

    const int w = width();
    const int captionHeight = QFontMetrics(captionFont()).height();
    const int nameHeight = QFontMetrics(nameFont()).height();
    const int gap = (w - kColumns * tileSize.width()) / 2;
    const int pitch = tileSize.height() + nameHeight + kRowSpacing;
    QRect tile(QPoint(0, captionHeight + kCaptionGap), tileSize);
    QRect last = tile;
    for (const DB::TextureMapEntry &entry : std::as_const(entries)) {
        if (tile.right() > rect().right())
            tile.moveTo(0, tile.top() + pitch);
        m_tiles.append({tile, entry});
        last = tile;
        tile.translate(gap + tileSize.width(), 0);
    }
    resize(w, last.bottom() + nameHeight + kRowSpacing);

    m_background = QImage();
    MainWidgetAccess *access = currentMainWidget();
    if (access && access->mainWidgetItself() && parentWidget())
        m_background = mainBackgroundUnder(parentWidget(), parentWidget()->rect());
    m_layingOut = false;
}

void TexturesViewport::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (!m_layingOut)
        layoutTiles();
}

void TexturesViewport::mouseMoveEvent(QMouseEvent *event)
{
    setCursor(Qt::ArrowCursor);
    QWidget::mouseMoveEvent(event);
}

void TexturesViewport::paintEvent(QPaintEvent *event)
{
    const QColor tint = tintColor();
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setBrush(Qt::NoBrush);
    // The background is the visible part of the main background: it stays
    // where the scroll area is, whatever was scrolled or repainted.
    if (!m_background.isNull())
        painter.drawImage(parentWidget() ? mapFromParent(QPoint(0, 0)) : QPoint(0, 0), m_background);

    const QFont caption = captionFont();
    painter.setFont(caption);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 0, width(), QFontMetrics(caption).height()),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     DB::localizedString(m_collection, QStringLiteral("textures.select.message")));

    const QFont names = nameFont();
    const int nameHeight = QFontMetrics(names).height();
    painter.setFont(names);
    const QRect dirty = event->rect();
    for (const Tile &tile : std::as_const(m_tiles)) {
        const auto texture = m_textures.constFind(tile.entry.textureId);
        // A texture missing from the table keeps its place, undrawn.
        if (texture == m_textures.cend() || texture->image.isNull())
            continue;
        const QRect &r = tile.rect;
        if (!r.adjusted(-1, -1, 1, nameHeight + kNameGap + 1).translated(0, r.height()).united(r).intersects(dirty))
            continue;
        // Tiles outside the repainted part, scrolled out of view among them,
        // were skipped above: they are tinted when they come into view.
        const QImage &tinted = tintedTexture(*texture, tint, tile.entry.alpha, r.size());
        painter.drawImage(r.topLeft(), tinted, QRect(QPoint(0, 0), r.size()));
        painter.setPen(QColor(96, 96, 96, 32));
        painter.drawRect(r.adjusted(-1, -1, 0, 0));
        painter.setPen(QColor(96, 96, 96, 255));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        painter.setPen(QColor(255, 255, 255, 32));
        painter.drawRect(r.adjusted(1, 1, -2, -2));
        painter.setPen(Qt::white);
        painter.drawText(QRect(r.left(), r.top() + r.height() + kNameGap, r.width(), nameHeight),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, tile.entry.name);
    }
}

} // namespace Tintor
