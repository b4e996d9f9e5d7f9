// Times one full paint of the card roller and of the colour wheel over a
// large collection file: the paints include their user state reads and
// card queries, as in the running program.
//
//   BrowsePaintBench FILE.db [paints]
//
// FILE.db is for instance `huelink-collection synth --chips 100000 -o F.db`.
// The file is linked into a temporary collection folder and the user state
// lives in a temporary folder.

#include "BenchCollection.h"
#include "PaintTiming.h"

#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/Status.h"
#include "engine/inc/ModuleValues.h"
#include "state/UserState.h"
#include "ui/browse/CardRollerWidget.h"
#include "ui/browse/ColorWheelWidget.h"
#include "ui/browse/MoodSelectWidget.h"

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
    std::printf("collection %s: %d chips on %d cards, %d paints each\n", qPrintable(collection.toString()),
                BenchCollection::chipCount(collection), pages, paints);
    if (pages < 3)
        return 1;

    // The card roller at its size in the main widget.
    Tintor::CardRollerWidget roller;
    roller.resize(210, 221);
    QImage rollerImage(roller.size(), QImage::Format_ARGB32_Premultiplied);
    // Cards spread over the whole deck, so no paint finds its pages cached.
    auto cardAt = [pages](int i) { return 1 + int((quint64(i) * 7919) % quint64(pages)); };
    const PaintTiming::Figures rollerFigures = PaintTiming::measure(
        paints, [&](int) { roller.render(&rollerImage); },
        [&](int i) { Tintor::UserState::setPageIndex(collection, cardAt(i)); });
    int chipsPainted = roller.chipCount(0) + roller.chipCount(1) + roller.chipCount(2);
    const PaintTiming::Figures rollerSameCard = PaintTiming::measure(paints, [&](int) { roller.render(&rollerImage); });

    Tintor::UserState::setMoodFilter(collection, Tintor::MoodCalm);
    Tintor::UserState::setExteriorColors(collection, true);
    const PaintTiming::Figures rollerFiltered = PaintTiming::measure(
        paints, [&](int) { roller.render(&rollerImage); },
        [&](int i) {
            int page = cardAt(i);
            Tintor::DB::ColorPage card;
            if (Tintor::DB::neighbourPage(collection, page, false, Tintor::MoodCalm, true, card)
                == Tintor::DB::StatusOk)
                page = card.pageIndex;
            Tintor::UserState::setPageIndex(collection, page);
        });
    Tintor::UserState::setMoodFilter(collection, Tintor::MoodAll);
    Tintor::UserState::setExteriorColors(collection, false);
    // The three card queries a roller paint makes, without the painting.
    auto cardQueries = [&](int i, int mood, bool exterior) {
        Tintor::DB::ColorPage middle;
        Tintor::DB::ColorPage side;
        Tintor::DB::pageAt(collection, cardAt(i), middle);
        Tintor::DB::neighbourPage(collection, middle.pageIndex, false, mood, exterior, side);
        Tintor::DB::neighbourPage(collection, middle.pageIndex, true, mood, exterior, side);
    };
    const PaintTiming::Figures queries = PaintTiming::measure(paints, [&](int i) { cardQueries(i, Tintor::MoodAll, false); });
    const PaintTiming::Figures filteredQueries = PaintTiming::measure(paints, [&](int i) { cardQueries(i, Tintor::MoodCalm, true); });

    Tintor::ColorWheelWidget wheel;
    QImage wheelImage(wheel.size(), QImage::Format_ARGB32_Premultiplied);
    const int segments = std::max(1, wheel.numberOfSegments());
    const PaintTiming::Figures wheelFigures = PaintTiming::measure(
        paints, [&](int) { wheel.render(&wheelImage); },
        [&](int i) { Tintor::UserState::setSegmentIndex(collection, 1 + i % segments); });
    QElapsedTimer stateTimer;
    stateTimer.start();
    for (int i = 0; i < paints; ++i)
        Tintor::UserState::segmentIndex(collection);
    const double stateRead = stateTimer.nsecsElapsed() / 1e6 / paints;
    const PaintTiming::Figures wheelLayout = PaintTiming::measure(std::max(10, paints / 10),
                                        [&](int) { wheel.selectedCollectionChanged(collection); });

    Tintor::MoodSelectWidget moods;
    QImage moodImage(moods.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    const PaintTiming::Figures moodFigures = PaintTiming::measure(paints, [&](int) { moods.render(&moodImage); });

    PaintTiming::print("card roller paint, cards spread", rollerFigures);
    PaintTiming::print("card roller paint, same card", rollerSameCard);
    PaintTiming::print("card roller paint, calm exterior", rollerFiltered);
    PaintTiming::print("  its card queries alone", queries);
    PaintTiming::print("  its card queries, calm exterior", filteredQueries);
    PaintTiming::print("colour wheel paint", wheelFigures);
    PaintTiming::print("colour wheel layout (collection)", wheelLayout);
    PaintTiming::print("mood filter paint", moodFigures);
    std::printf("one user state read: %.3f ms\n", stateRead);
    std::printf("chips on the three cards of the last spread paint: %d\n", chipsPainted);
    return 0;
}
