// Times the catalog tabs over a large collection file: layout and paint of
// the textures page with many textures on one card, of the foresight page
// with every group open, and a products refresh. Paints include their user
// state reads and queries, as in the running program.
//
//   CatalogPaintBench FILE.db [paints]
//
// FILE.db is for instance
//   huelink-collection synth --chips 2000 --textures 60 --foresight-groups 40 --group-chips 12 -o F.db
// (60 textures on each of the first 40 cards, 40 groups of 12 chips).

#include "db/CatalogQueries.h"
#include "BenchCollection.h"
#include "PaintTiming.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "engine/inc/ModuleValues.h"
#include "state/UserState.h"
#include "ui/catalog/ColorForesightViewport.h"
#include "ui/catalog/ColorForesightWidget.h"
#include "ui/catalog/ProductsWidget.h"
#include "ui/catalog/TexturesViewport.h"
#include "ui/catalog/TexturesWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

double once(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE.db [paints]\n", argv[0]);
        return 2;
    }
    BenchCollection bench;
    QApplication app(argc, argv);
    const int paints = argc > 2 ? std::max(10, atoi(argv[2])) : 100;
    const QUuid collection = bench.open(argv[1]);
    if (collection.isNull())
        return 1;
    Tintor::UserState::setPageIndex(collection, 1);
    Tintor::UserState::setRowIndex(collection, 1);

    QHash<qint64, Tintor::DB::ColorForesightGroup> groups;
    Tintor::DB::foresightGroups(collection, groups);
    int groupChips = 0;
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        Tintor::UserState::setColorForesightGroupOpenState(collection, it.key(), true);
        groupChips += int(it->entries.size());
    }

    // Both scroll areas at the size of the tab page in the main widget.
    const QSize pageSize(578, 226);
    Tintor::TexturesWidget textures;
    textures.resize(pageSize);
    textures.show();
    Tintor::TexturesViewport *tiles = textures.texturesViewport();
    QImage visible(pageSize, QImage::Format_ARGB32_Premultiplied);
    std::printf("collection %s: %lld textures on card 1, %lld foresight groups with %d chips, %d paints each\n",
                qPrintable(collection.toString()), static_cast<long long>(tiles->tiles().size()),
                static_cast<long long>(groups.size()), groupChips, paints);

    QImage whole(tiles->size(), QImage::Format_ARGB32_Premultiplied);
    const double firstTexturePaint = once([&] { tiles->render(&whole); });
    const PaintTiming::Figures texturePaint = PaintTiming::measure(paints, [&](int) { tiles->render(&whole); });
    const PaintTiming::Figures textureVisible = PaintTiming::measure(paints, [&](int) { textures.render(&visible); });
    const PaintTiming::Figures textureLayout = PaintTiming::measure(paints, [&](int) { tiles->layoutTiles(); });
    // Another chip (stored untimed: the paint is timed, not the user state
    // write): every tinted image is made again on the next paint.
    const auto otherChip = [&](int i) { Tintor::UserState::setRowIndex(collection, 1 + i % 2); };
    const PaintTiming::Figures textureNewTint =
        PaintTiming::measure(std::max(10, paints / 10), [&](int) { tiles->render(&whole); }, otherChip);
    // What the user waits for: the tab as shown, after another chip.
    const PaintTiming::Figures textureNewTintVisible =
        PaintTiming::measure(std::max(10, paints / 10), [&](int) { textures.render(&visible); }, otherChip);

    Tintor::ColorForesightWidget foresight;
    foresight.resize(pageSize);
    foresight.show();
    Tintor::ColorForesightViewport *page = foresight.foresightViewport();
    QImage pageImage(page->size(), QImage::Format_ARGB32_Premultiplied);
    const PaintTiming::Figures foresightPaint = PaintTiming::measure(paints, [&](int) { page->render(&pageImage); });
    const PaintTiming::Figures foresightVisible = PaintTiming::measure(paints, [&](int) { foresight.render(&visible); });
    const PaintTiming::Figures foresightLayout = PaintTiming::measure(paints, [&](int) { page->layoutGroups(); });
    const PaintTiming::Figures foresightLoad =
        PaintTiming::measure(std::max(10, paints / 10), [&](int) { page->loadGroups(collection); });

    Tintor::ProductsWidget products;
    products.resize(pageSize);
    products.show();
    const PaintTiming::Figures productsRefresh = PaintTiming::measure(paints, [&](int) { products.refresh(); });
    const PaintTiming::Figures productsPaint = PaintTiming::measure(paints, [&](int) { products.render(&visible); });

    std::printf("textures page %dx%d, first paint (tinting) %.3f ms\n", tiles->width(), tiles->height(),
                firstTexturePaint);
    PaintTiming::print("textures paint, whole page", texturePaint);
    PaintTiming::print("textures paint, visible part", textureVisible);
    PaintTiming::print("textures paint after a chip change", textureNewTint);
    PaintTiming::print("textures visible part after a chip change", textureNewTintVisible);
    PaintTiming::print("textures layout", textureLayout);
    std::printf("foresight page %dx%d\n", page->width(), page->height());
    PaintTiming::print("foresight paint, whole page", foresightPaint);
    PaintTiming::print("foresight paint, visible part", foresightVisible);
    PaintTiming::print("foresight layout", foresightLayout);
    PaintTiming::print("foresight load (queries)", foresightLoad);
    PaintTiming::print("products refresh (queries)", productsRefresh);
    PaintTiming::print("products paint", productsPaint);
    return 0;
}
