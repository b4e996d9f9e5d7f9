#include "TextureArt.h"

#include "ArtKit.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <functional>

namespace Tintor::ThemeArt {

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Surface
{
    double height = 0.0; // relief, in pixels of the design grid
    double albedo = 1.0; // 0..1
};

using SurfaceFunction = std::function<Surface(double x, double y)>;

double smooth(double edge0, double edge1, double x)
{
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// Lights the height field from the upper left; a flat surface keeps its albedo.
QImage lightSurface(int width, int height, double unit, const SurfaceFunction &surface, double relief)
{
    QImage image(width, height, QImage::Format_RGB32);
    const double lx = -0.45, ly = -0.55, lz = 0.70;
    const double length = std::sqrt(lx * lx + ly * ly + lz * lz);
    const double flat = lz / length;
    std::vector<Surface> field(size_t(width + 2) * size_t(height + 2));
    for (int y = -1; y <= height; ++y)
        for (int x = -1; x <= width; ++x)
            field[size_t(y + 1) * size_t(width + 2) + size_t(x + 1)] = surface((x + 0.5) / unit, (y + 0.5) / unit);
    auto at = [&](int x, int y) -> const Surface & { return field[size_t(y + 1) * size_t(width + 2) + size_t(x + 1)]; };
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double dx = (at(x + 1, y).height - at(x - 1, y).height) * 0.5 * unit * relief;
            const double dy = (at(x, y + 1).height - at(x, y - 1).height) * 0.5 * unit * relief;
            const double nx = -dx, ny = -dy, nz = 1.0;
            const double nLength = std::sqrt(nx * nx + ny * ny + nz * nz);
            const double lambert = std::max(0.0, (nx * lx + ny * ly + nz * lz) / (nLength * length));
            const double shade = 0.38 + 0.62 * lambert / flat;
            const int level = std::clamp(int(std::lround(255.0 * at(x, y).albedo * shade)), 0, 255);
            line[x] = qRgb(level, level, level);
        }
    }
    return image;
}

Surface plaster(double x, double y)
{
    // Trowel strokes: ridges of a noise field stretched along gentle arcs.
    const double bend = 6.0 * std::sin(x / 23.0 + 1.3) + 3.0 * std::sin(x / 11.0);
    const double stroke = fractalNoise(x / 38.0, (y + bend) / 7.5, 21U, 3);
    const double ridge = 1.0 - std::fabs(2.0 * stroke - 1.0);
    const double clouds = fractalNoise(x / 28.0, y / 28.0, 22U, 4);
    Surface s;
    s.height = 1.4 * clouds + 1.3 * std::pow(ridge, 4.0);
    s.albedo = 0.84 + 0.10 * clouds + 0.02 * hashNoise(int(x * 4), int(y * 4), 23U);
    return s;
}

Surface stucco(double x, double y)
{
    const double grit = fractalNoise(x / 2.2, y / 2.2, 31U, 3);
    const double lumps = fractalNoise(x / 9.0, y / 9.0, 32U, 3);
    Surface s;
    s.height = 2.2 * grit + 2.6 * smooth(0.45, 0.8, lumps);
    s.albedo = 0.88 + 0.07 * lumps + 0.03 * (grit - 0.5);
    return s;
}

Surface brick(double x, double y)
{
    const double brickWidth = 37.0, brickHeight = 12.0, mortar = 2.4;
    const int row = int(std::floor(y / brickHeight));
    const double shift = (row % 2) ? brickWidth / 2.0 : 0.0;
    const double bx = x + shift;
    const int column = int(std::floor(bx / brickWidth));
    const double u = bx - column * brickWidth;
    const double v = y - row * brickHeight;
    const double edge = std::min({u, brickWidth - u, v, brickHeight - v});
    const double inside = smooth(mortar * 0.5, mortar * 0.5 + 1.4, edge);
    const double perBrick = hashNoise(column, row, 41U);
    const double speckle = fractalNoise(x / 3.0, y / 3.0, 42U, 3);
    Surface s;
    s.height = inside * (2.0 + 0.6 * speckle) + (1.0 - inside) * 0.4 * fractalNoise(x, y, 43U, 2);
    const double brickTone = 0.64 + 0.16 * perBrick + 0.14 * (speckle - 0.5);
    const double mortarTone = 0.92 + 0.04 * hashNoise(int(x * 2), int(y * 2), 44U);
    s.albedo = mortarTone + (brickTone - mortarTone) * inside;
    return s;
}

Surface oakBoards(double x, double y)
{
    const double boardHeight = 24.0;
    const int board = int(std::floor(y / boardHeight));
    const double v = y - board * boardHeight;
    const double joint = 30.0 + 70.0 * hashNoise(board, 0, 51U);
    const bool secondPlank = x > joint;
    const quint32 seed = 52U + quint32(board * 2 + (secondPlank ? 1 : 0));
    const double warp = 9.0 * fractalNoise(x / 60.0, v / 10.0, seed, 3);
    const double rings = 0.5 + 0.5 * std::sin(2.0 * kPi * ((v + warp) / 5.1));
    const double streaks = fractalNoise(x / 26.0, v * 1.4, seed + 7U, 3);
    const double edge = std::min({v, boardHeight - v, std::fabs(x - joint)});
    const double seam = smooth(0.0, 1.3, edge);
    Surface s;
    s.height = 0.35 * rings + 1.2 * seam;
    s.albedo = (0.66 + 0.16 * std::pow(rings, 2.0) + 0.14 * streaks + 0.05 * hashNoise(board, 1, 53U)) *
               (0.72 + 0.28 * seam);
    return s;
}

Surface linen(double x, double y)
{
    const double period = 4.0;
    const int ix = int(std::floor(x / period));
    const int iy = int(std::floor(y / period));
    const double warpThread = 0.5 + 0.5 * std::cos(2.0 * kPi * (x / period - 0.5));
    const double weftThread = 0.5 + 0.5 * std::cos(2.0 * kPi * (y / period - 0.5));
    const bool warpOnTop = ((ix + iy) % 2) == 0;
    const double slubWarp = 0.8 + 0.4 * hashNoise(ix, 0, 61U);
    const double slubWeft = 0.8 + 0.4 * hashNoise(0, iy, 62U);
    Surface s;
    s.height = warpOnTop ? 1.0 + warpThread * slubWarp : 0.6 + weftThread * slubWeft;
    s.albedo = 0.80 + 0.08 * (warpOnTop ? slubWarp : slubWeft) + 0.08 * fractalNoise(x / 18.0, y / 18.0, 63U, 3);
    return s;
}

Surface concrete(double x, double y)
{
    const double clouds = fractalNoise(x / 22.0, y / 22.0, 71U, 4);
    const double fine = fractalNoise(x / 1.6, y / 1.6, 72U, 2);
    // Small air pores.
    double pore = 0.0;
    const int cx = int(std::floor(x / 7.0));
    const int cy = int(std::floor(y / 7.0));
    for (int oy = -1; oy <= 1; ++oy) {
        for (int ox = -1; ox <= 1; ++ox) {
            if (hashNoise(cx + ox, cy + oy, 73U) < 0.8)
                continue;
            const double px = (cx + ox + hashNoise(cx + ox, cy + oy, 74U)) * 7.0;
            const double py = (cy + oy + hashNoise(cx + ox, cy + oy, 75U)) * 7.0;
            const double radius = 0.7 + 1.0 * hashNoise(cx + ox, cy + oy, 76U);
            const double distance = std::hypot(x - px, y - py);
            pore = std::max(pore, 1.0 - smooth(radius * 0.6, radius, distance));
        }
    }
    Surface s;
    s.height = 0.8 * clouds + 0.25 * fine - 1.5 * pore;
    s.albedo = (0.80 + 0.12 * clouds + 0.05 * (fine - 0.5)) * (1.0 - 0.35 * pore);
    return s;
}

Surface weatherboard(double x, double y)
{
    const double boardHeight = 16.0;
    const int board = int(std::floor(y / boardHeight));
    const double v = y - board * boardHeight;
    const double grain = fractalNoise(x / 40.0, (v + board * 31.0) * 0.9, 81U, 3);
    Surface s;
    // Each board leans out towards its lower edge; the next one starts in its shadow.
    s.height = 3.0 * (v / boardHeight) + 0.2 * grain;
    s.albedo = (0.88 + 0.05 * grain) * (0.74 + 0.26 * smooth(0.0, 2.2, v));
    return s;
}

Surface wallpaperStripe(double x, double y)
{
    // Satin stripes with a raised ring medallion between them.
    const double column = 18.5;
    const double stripe = 0.5 + 0.5 * std::cos(2.0 * kPi * x / column);
    const int row = int(std::floor(y / 16.0));
    const double shift = (row % 2) ? column / 2.0 : 0.0;
    const double u = std::fmod(x + shift + column * 10.0, column) - column / 2.0;
    const double v = y - (row + 0.5) * 16.0;
    const double distance = std::hypot(u, v);
    const double medallion = std::exp(-(distance - 3.2) * (distance - 3.2) / 0.9) + (distance < 1.1 ? 0.8 : 0.0);
    const double paper = fractalNoise(x / 2.0, y / 2.0, 91U, 2);
    Surface s;
    s.height = 0.9 * medallion + 0.12 * paper;
    s.albedo = 0.93 - 0.07 * smooth(0.55, 0.95, stripe) + 0.03 * (paper - 0.5);
    return s;
}

} // namespace

QList<TextureInfo> textureCatalog()
{
    return {
        {TextureKind::Plaster, QStringLiteral("plaster"), QStringLiteral("Smooth plaster")},
        {TextureKind::Stucco, QStringLiteral("stucco"), QStringLiteral("Coarse render")},
        {TextureKind::Brick, QStringLiteral("brick"), QStringLiteral("Brick wall")},
        {TextureKind::OakBoards, QStringLiteral("oak-boards"), QStringLiteral("Oak boards")},
        {TextureKind::Linen, QStringLiteral("linen"), QStringLiteral("Linen")},
        {TextureKind::Concrete, QStringLiteral("concrete"), QStringLiteral("Fair-faced concrete")},
        {TextureKind::Weatherboard, QStringLiteral("weatherboard"), QStringLiteral("Weatherboard")},
        {TextureKind::WallpaperStripe, QStringLiteral("wallpaper"), QStringLiteral("Embossed wallpaper")},
    };
}

void paintTexture(QPainter &painter, const QSizeF &size, TextureKind kind)
{
    // Computed at device resolution so a larger render gains detail.
    const double unit = painter.worldTransform().m11();
    const int width = int(std::lround(size.width() * unit));
    const int height = int(std::lround(size.height() * unit));
    SurfaceFunction surface;
    double relief = 1.0;
    switch (kind) {
    case TextureKind::Plaster:
        surface = plaster;
        relief = 0.8;
        break;
    case TextureKind::Stucco:
        surface = stucco;
        relief = 0.9;
        break;
    case TextureKind::Brick:
        surface = brick;
        relief = 0.9;
        break;
    case TextureKind::OakBoards:
        surface = oakBoards;
        relief = 0.8;
        break;
    case TextureKind::Linen:
        surface = linen;
        relief = 0.7;
        break;
    case TextureKind::Concrete:
        surface = concrete;
        relief = 0.8;
        break;
    case TextureKind::Weatherboard:
        surface = weatherboard;
        relief = 0.9;
        break;
    case TextureKind::WallpaperStripe:
        surface = wallpaperStripe;
        relief = 0.8;
        break;
    }
    const QImage image = lightSurface(width, height, unit, surface, relief);
    painter.save();
    painter.resetTransform();
    painter.drawImage(QPointF(0, 0), image);
    painter.restore();
}

} // namespace Tintor::ThemeArt
