// Times one full paint of the colour schemer over a large collection file,
// with its user state reads and scheme queries as in the running program:
// once with the selected chip changing before every paint (the chips are
// computed again) and once as a hover repaint (nothing changed). Also times
// the pelvon scheme query alone, which the pelvon schemer makes on every
// paint.
//
//   SchemesPaintBench FILE.db [paints]
//
// FILE.db is for instance `huelink-collection synth --chips 100000 -o F.db`.

#include "db/CatalogQueries.h"
#include "BenchCollection.h"
#include "PaintTiming.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "engine/inc/ModuleValues.h"
#include "state/UserState.h"
#include "ui/harmonizer/ColorSchemerPelvonWidget.h"
#include "ui/harmonizer/ColorSchemerWidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <algorithm>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE.db [paints]\n", argv[0]);
        return 2;
    }
    BenchCollection bench;
    QApplication app(argc, argv);
    const int paints = argc > 2 ? std::max(10, atoi(argv[2])) : 200;
    const QUuid collection = bench.open(argv[1]);
    if (collection.isNull())
        return 1;
    const int pages = BenchCollection::cardCount(collection);
    const int perCard = Tintor::CollectionSettings::maxChipsOnAPage(collection);
    std::printf("collection: %d chips on %d cards, card mode %d, %d paints each\n",
                BenchCollection::chipCount(collection), pages,
                int(Tintor::CollectionSettings::cardMode(collection)), paints);
    if (pages < 3 || perCard < 1)
        return 1;

    // The schemer at its size in the main widget.
    Tintor::UserState::setSchemeKind(collection, Tintor::SchemeHarmonic);
    Tintor::ColorSchemerWidget schemer;
    schemer.resize(399, 226);
    QImage image(schemer.size(), QImage::Format_ARGB32_Premultiplied);
    auto cardAt = [pages](int i) { return 1 + int((quint64(i) * 7919) % quint64(pages)); };
    auto select = [&](int i) {
        Tintor::UserState::setPageIndex(collection, cardAt(i));
        Tintor::UserState::setRowIndex(collection, 1 + i % perCard);
    };
    const PaintTiming::Figures changed = PaintTiming::measure(paints, [&](int) { schemer.render(&image); }, select);
    const int chips = int(schemer.chips().size());
    const PaintTiming::Figures hover = PaintTiming::measure(paints, [&](int) { schemer.render(&image); });

    // The pelvon schemer asks for chip schemes of contrast and wide contrast.
    Tintor::ColorSchemerPelvonWidget pelvon;
    pelvon.resize(399, 226);
    const PaintTiming::Figures pelvonChanged = PaintTiming::measure(paints, [&](int) { pelvon.render(&image); }, select);
    const PaintTiming::Figures pelvonHover = PaintTiming::measure(paints, [&](int) { pelvon.render(&image); });
    QVector<Tintor::DB::ColorEntry> entries;
    const PaintTiming::Figures pelvonQuery = PaintTiming::measure(
        paints, [&](int i) { Tintor::DB::pelvonSchemeEntries(collection, cardAt(i), 1 + i % perCard, entries); });
    QElapsedTimer stateTimer;
    stateTimer.start();
    for (int i = 0; i < paints; ++i)
        Tintor::UserState::pageIndex(collection);

    PaintTiming::print("schemer paint, selected chip changed", changed);
    PaintTiming::print("schemer paint, hover repaint", hover);
    PaintTiming::print("pelvon schemer paint, chip changed", pelvonChanged);
    PaintTiming::print("pelvon schemer paint, hover repaint", pelvonHover);
    PaintTiming::print("pelvon scheme query alone", pelvonQuery);
    std::printf("chips of the last changed paint: %d; one user state read: %.3f ms\n", chips,
                stateTimer.nsecsElapsed() / 1e6 / paints);
    return 0;
}
