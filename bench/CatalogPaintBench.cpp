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
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Figures
{
    double median = 0;
    double p95 = 0;
    double worst = 0;
};

Figures measure(int count, const std::function<void(int)> &once)
{
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        timer.start();
        once(i);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[std::min(times.size() - 1, times.size() * 95 / 100)], times.back()};
}

void print(const char *what, const Figures &figures)
{
    std::printf("%-40s median %7.3f ms  p95 %7.3f ms  worst %7.3f ms\n", what, figures.median, figures.p95,
                figures.worst);
}

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
    QTemporaryDir folder;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.path() + QStringLiteral("/config")));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString source = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const int paints = argc > 2 ? std::max(10, atoi(argv[2])) : 100;

    const QString databaseFolder = folder.path() + QStringLiteral("/SQLite");
    QDir().mkpath(databaseFolder + QStringLiteral("/Contents/Resources"));
    if (!QFile::link(source, databaseFolder + QStringLiteral("/Contents/Resources/bench.db"))) {
        std::fprintf(stderr, "cannot link %s\n", qPrintable(source));
        return 1;
    }
    Tintor::setHostApplicationName(QStringLiteral("Photoshop"));
    Tintor::setDatabaseFolder(databaseFolder);
    if (Tintor::DB::discoverCollections() != 1 || Tintor::DB::collectionUuidsByOrder().isEmpty()) {
        std::fprintf(stderr, "no collection in %s\n", qPrintable(source));
        return 1;
    }
    const QUuid collection = Tintor::DB::collectionUuidsByOrder().constFirst();
    Tintor::UserState::setLastUsedCollection(collection);
    Tintor::CollectionSettings::loadNameOrders(collection);
    Tintor::CollectionSettings::setCurrentCollection(collection);
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
    const Figures texturePaint = measure(paints, [&](int) { tiles->render(&whole); });
    const Figures textureVisible = measure(paints, [&](int) { textures.render(&visible); });
    const Figures textureLayout = measure(paints, [&](int) { tiles->layoutTiles(); });
    // Another chip: every tinted image is made again on the next paint.
    const Figures textureNewTint = measure(std::max(10, paints / 10), [&](int i) {
        Tintor::UserState::setRowIndex(collection, 1 + i % 2);
        tiles->render(&whole);
    });

    Tintor::ColorForesightWidget foresight;
    foresight.resize(pageSize);
    foresight.show();
    Tintor::ColorForesightViewport *page = foresight.foresightViewport();
    QImage pageImage(page->size(), QImage::Format_ARGB32_Premultiplied);
    const Figures foresightPaint = measure(paints, [&](int) { page->render(&pageImage); });
    const Figures foresightVisible = measure(paints, [&](int) { foresight.render(&visible); });
    const Figures foresightLayout = measure(paints, [&](int) { page->layoutGroups(); });
    const Figures foresightLoad =
        measure(std::max(10, paints / 10), [&](int) { page->loadGroups(collection); });

    Tintor::ProductsWidget products;
    products.resize(pageSize);
    products.show();
    const Figures productsRefresh = measure(paints, [&](int) { products.refresh(); });
    const Figures productsPaint = measure(paints, [&](int) { products.render(&visible); });

    std::printf("textures page %dx%d, first paint (tinting) %.3f ms\n", tiles->width(), tiles->height(),
                firstTexturePaint);
    print("textures paint, whole page", texturePaint);
    print("textures paint, visible part", textureVisible);
    print("textures paint after a chip change", textureNewTint);
    print("textures layout", textureLayout);
    std::printf("foresight page %dx%d\n", page->width(), page->height());
    print("foresight paint, whole page", foresightPaint);
    print("foresight paint, visible part", foresightVisible);
    print("foresight layout", foresightLayout);
    print("foresight load (queries)", foresightLoad);
    print("products refresh (queries)", productsRefresh);
    print("products paint", productsPaint);
    return 0;
}
