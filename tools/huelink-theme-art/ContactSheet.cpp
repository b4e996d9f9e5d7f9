#include "ContactSheet.h"

#include "ArtKit.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace Tintor::ThemeArt {

namespace {

constexpr int kSheetWidth = 1800;
constexpr int kMargin = 16;
constexpr int kLabelHeight = 28;

int zoomFor(const QImage &image)
{
    const int longest = std::max(image.width(), image.height());
    if (longest <= 16)
        return 6;
    if (longest <= 48)
        return 4;
    if (longest <= 128)
        return 2;
    return 1;
}

void paintBackdrop(QPainter &painter, const QRect &rect, Backdrop backdrop)
{
    switch (backdrop) {
    case Backdrop::Dark:
        painter.fillRect(rect, QColor(74, 76, 80));
        break;
    case Backdrop::Light:
        painter.fillRect(rect, QColor(228, 228, 229));
        break;
    case Backdrop::Opaque:
        for (int y = rect.top(); y <= rect.bottom(); y += 8)
            for (int x = rect.left(); x <= rect.right(); x += 8)
                painter.fillRect(QRect(x, y, 8, 8).intersected(rect),
                                 ((x - rect.left()) / 8 + (y - rect.top()) / 8) % 2 ? QColor(200, 200, 200)
                                                                                    : QColor(240, 240, 240));
        break;
    }
}

} // namespace

QImage renderPiece(const ArtPiece &piece, double scale)
{
    const QSize pixels(int(std::lround(piece.size.width() * scale)), int(std::lround(piece.size.height() * scale)));
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
    painter.scale(double(pixels.width()) / piece.size.width(), double(pixels.height()) / piece.size.height());
    piece.paint(painter, QSizeF(piece.size));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage contactSheet(const QVector<ArtPiece> &pieces, const QVector<QImage> &images)
{
    // Lay the cells out in rows first, then paint.
    struct Cell
    {
        QRect area;
        int index;
        int zoom;
    };
    QVector<Cell> cells;
    int x = kMargin;
    int y = kMargin;
    int rowHeight = 0;
    QString folder;
    for (int index = 0; index < pieces.size(); ++index) {
        const QImage &image = images[index];
        const int zoom = zoomFor(image);
        const int imageWidth = image.width() + (zoom > 1 ? image.width() * zoom + 8 : 0);
        const int width = std::max(imageWidth + 16, 150);
        const int height = std::max(image.height(), zoom > 1 ? image.height() * zoom : 0) + 16 + kLabelHeight;
        const bool newFolder = pieces[index].folder != folder;
        if (x + width > kSheetWidth - kMargin || (newFolder && index > 0)) {
            x = kMargin;
            y += rowHeight + kMargin + (newFolder ? 22 : 0);
            rowHeight = 0;
        }
        folder = pieces[index].folder;
        cells.push_back({QRect(x, y, width, height), index, zoom});
        x += width + kMargin;
        rowHeight = std::max(rowHeight, height);
    }
    QImage sheet(kSheetWidth, y + rowHeight + kMargin, QImage::Format_ARGB32);
    sheet.fill(QColor(38, 39, 42));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(10);
    painter.setFont(font);
    for (const Cell &cell : cells) {
        const ArtPiece &piece = pieces[cell.index];
        const QImage &image = images[cell.index];
        const QRect imageArea = cell.area.adjusted(0, 0, 0, -kLabelHeight);
        paintBackdrop(painter, imageArea, piece.backdrop);
        painter.drawImage(imageArea.topLeft() + QPoint(8, 8), image);
        if (cell.zoom > 1) {
            const QImage zoomed = image.scaled(image.size() * cell.zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            painter.drawImage(imageArea.topLeft() + QPoint(16 + image.width(), 8), zoomed);
        }
        painter.setPen(QColor(220, 222, 224));
        const QString label = piece.folder + QLatin1Char('/') + piece.name;
        painter.drawText(QRect(cell.area.left(), imageArea.bottom() + 2, cell.area.width(), 12),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(label, Qt::ElideMiddle, cell.area.width()));
        painter.setPen(QColor(150, 152, 156));
        painter.drawText(QRect(cell.area.left(), imageArea.bottom() + 14, cell.area.width(), 12),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("%1 x %2").arg(image.width()).arg(image.height()));
    }
    return sheet;
}

QImage previewComposition(const QVector<ArtPiece> &pieces, const QVector<QImage> &images)
{
    auto image = [&](const QString &path) {
        for (int index = 0; index < pieces.size(); ++index)
            if (pieces[index].relativePath() == path)
                return images[index];
        return QImage();
    };
    auto themeImage = [&](const char *key) { return image(QStringLiteral("theme/%1.png").arg(QLatin1String(key))); };

    QImage preview(800, 600, QImage::Format_ARGB32);
    QPainter painter(&preview);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(9);
    painter.setFont(font);
    painter.drawImage(0, 0, themeImage("image.widget.main.background"));
    painter.drawImage(0, 0, image(QStringLiteral("collections/interior/image.banner.png")));

    // Collection selector and tab bar.
    const QImage bar = themeImage("image.widget.bar.background");
    painter.drawImage(QRect(0, 71, 234, 30), bar, QRect(0, 0, 234, 30));
    painter.setPen(QColor(49, 49, 49));
    painter.drawText(QRect(0, 71, 210, 30), Qt::AlignCenter, QStringLiteral("Vestrel Interiors"));
    painter.drawImage(210 + 4, 71 + 9, themeImage("image.widget.dropdown.arrow.down"));
    for (int x = 235; x < 800; x += bar.width())
        painter.drawImage(x, 71, bar);
    painter.setPen(QColor(188, 188, 188));
    painter.drawLine(235, 71, 235, 600);
    painter.fillRect(QRect(236, 71, 120, 30), QColor(255, 255, 255, 178));
    painter.setPen(QColor(55, 55, 55));
    painter.drawText(QRect(236, 71, 120, 30), Qt::AlignCenter, QStringLiteral("Colour schemes"));
    painter.setPen(QColor(128, 128, 128));
    painter.drawText(QRect(357, 71, 90, 30), Qt::AlignCenter, QStringLiteral("Products"));

    // Wheel with its needle, as the widget paints it.
    const QPoint wheel(56, 111);
    painter.drawImage(wheel, themeImage("image.widget.color.wheel.background"));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRect(wheel.x() + 54, wheel.y() + 55, 13, 13));
    painter.setPen(QPen(Qt::white, 3));
    painter.drawLine(QPointF(wheel.x() + 60, wheel.y() + 61), QPointF(wheel.x() + 60 + 40 * 0.5, wheel.y() + 61 - 40 * 0.866));
    painter.setPen(QPen(Qt::white, 2));
    painter.drawArc(QRect(wheel.x() + 12, wheel.y() + 13, 96, 96), 45 * 16, 30 * 16);

    // Mood panel.
    const QRect moodPanel(44, 243, 146, 72);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QColor(64, 64, 64));
    painter.drawRoundedRect(moodPanel, 7, 7);
    const char *moodKeys[] = {"image.mood.fresh.normal", "image.mood.calm.selected", "image.mood.warm.normal",
                              "image.mood.rich.normal"};
    for (int index = 0; index < 4; ++index)
        painter.drawImage(moodPanel.left() + 6 + index * 26, moodPanel.top() + 4, themeImage(moodKeys[index]));
    painter.drawImage(moodPanel.left() + 112, moodPanel.top() + 4, themeImage("image.mood.offwhite.normal"));
    painter.drawImage(moodPanel.left() + 112, moodPanel.top() + 25, themeImage("image.mood.neutral.normal"));
    painter.drawImage(moodPanel.left() + 112 + 12, moodPanel.top() + 25 + 10, themeImage("image.mood.disabled"));
    painter.drawImage(moodPanel.left() + 8, moodPanel.top() + 36, themeImage("image.tick.normal"));
    painter.setPen(QColor(188, 188, 188));
    painter.drawText(QRect(moodPanel.left() + 22, moodPanel.top() + 32, 90, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("All moods"));
    painter.drawImage(moodPanel.left() + 8, moodPanel.top() + 55, themeImage("image.tick.normal"));
    painter.drawText(QRect(moodPanel.left() + 22, moodPanel.top() + 51, 120, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Exterior colours"));

    // Search box with its roll buttons.
    const QRect search(12, 548, 210, 26);
    painter.setPen(QColor(45, 45, 45));
    painter.drawRoundedRect(search.adjusted(0, 0, -50, -1), 7, 7);
    painter.drawImage(search.left() + 7, search.top() + 5, themeImage("image.widget.search.magnifying.glass"));
    painter.drawImage(search.right() - 43, search.top() + 2, themeImage("image.widget.roll.backward.normal"));
    painter.drawImage(search.right() - 21, search.top() + 2, themeImage("image.widget.roll.forward.down"));

    // Harmonizer buttons.
    const char *schemeKeys[] = {"image.scheme.harmonising.selected", "image.scheme.contrasting.normal",
                                "image.scheme.wide.contrast.normal", "image.scheme.dynamic.normal",
                                "image.scheme.dramatic.normal", "image.scheme.tonal.neutral.normal"};
    for (int index = 0; index < 6; ++index)
        painter.drawImage(262 + index * 86, 109, themeImage(schemeKeys[index]));
    painter.drawImage(262 + 5 * 86 + 52, 164, themeImage("image.complementary.neutral.marker.normal"));

    // My Palette bar.
    for (int x = 236; x < 800; x += bar.width())
        painter.drawImage(x, 330, bar);
    const char *paletteKeys[] = {"image.mypalette.zoom", "image.mypalette.eraser", "image.mypalette.trash",
                                 "image.mypalette.grid.off"};
    for (int index = 0; index < 4; ++index)
        painter.drawImage(660 + index * 22, 337, themeImage(paletteKeys[index]));
    painter.drawImage(620, 337, themeImage("image.capsure.button.normal"));
    painter.drawImage(250, 345, themeImage("image.color.foresight.group.open"));
    painter.end();
    return preview;
}

} // namespace Tintor::ThemeArt
