// Times one full paint of the card roller and of the colour wheel over a
// large collection file: the paints include their user state reads and
// card queries, as in the running program.
//
//   BrowsePaintBench FILE.db [paints]
//
// FILE.db is for instance `huelink-collection synth --chips 100000 -o F.db`.
// The file is linked into a temporary collection folder and the user state
// lives in a temporary folder.

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
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Figures
{
    double median = 0;
    double mean = 0;
    double p95 = 0;
    double worst = 0;
};

// Times `once` only; `prepare` (storing the state a paint reads) runs
// before it, untimed.
Figures measure(int count, const std::function<void(int)> &once,
                const std::function<void(int)> &prepare = [](int) {})
{
    for (int i = 0; i < 5; ++i) {
        prepare(i);
        once(i);
    }
    std::vector<double> times;
    times.reserve(count);
    QElapsedTimer timer;
    for (int i = 0; i < count; ++i) {
        prepare(i);
        timer.start();
        once(i);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    Figures figures;
    figures.median = times[times.size() / 2];
    figures.p95 = times[std::min(times.size() - 1, times.size() * 95 / 100)];
    figures.worst = times.back();
    for (const double t : times)
        figures.mean += t;
    figures.mean /= times.size();
    return figures;
}

void print(const char *what, const Figures &figures)
{
    std::printf("%-34s median %7.3f ms  mean %7.3f ms  p95 %7.3f ms  worst %7.3f ms\n", what, figures.median,
                figures.mean, figures.p95, figures.worst);
}

int chipCount(const QUuid &collection)
{
    QSqlQuery query(Tintor::DB::collectionDatabase(collection));
    query.exec(QStringLiteral("SELECT COUNT(*) FROM \"ROW\" WHERE COLLECTION_ID = %1")
                   .arg(Tintor::DB::collectionDatabaseId(collection)));
    return query.next() ? query.value(0).toInt() : -1;
}

int pageCount(const QUuid &collection)
{
    QSqlQuery query(Tintor::DB::collectionDatabase(collection));
    query.exec(QStringLiteral("SELECT MAX(P.PAGE_INDEX) FROM PAGE P JOIN COLLECTION_PAGE_MAP M ON P.ID = M.PAGE_ID "
                              "WHERE M.COLLECTION_ID = %1")
                   .arg(Tintor::DB::collectionDatabaseId(collection)));
    return query.next() ? query.value(0).toInt() : 0;
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
    const int paints = argc > 2 ? std::max(10, atoi(argv[2])) : 200;

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
    const int pages = pageCount(collection);
    std::printf("collection %s: %d chips on %d cards, %d paints each\n", qPrintable(collection.toString()),
                chipCount(collection), pages, paints);
    if (pages < 3)
        return 1;

    // The card roller at its size in the main widget.
    Tintor::CardRollerWidget roller;
    roller.resize(210, 221);
    QImage rollerImage(roller.size(), QImage::Format_ARGB32_Premultiplied);
    // Cards spread over the whole deck, so no paint finds its pages cached.
    auto cardAt = [pages](int i) { return 1 + int((quint64(i) * 7919) % quint64(pages)); };
    const Figures rollerFigures = measure(
        paints, [&](int) { roller.render(&rollerImage); },
        [&](int i) { Tintor::UserState::setPageIndex(collection, cardAt(i)); });
    int chipsPainted = roller.chipCount(0) + roller.chipCount(1) + roller.chipCount(2);
    const Figures rollerSameCard = measure(paints, [&](int) { roller.render(&rollerImage); });

    Tintor::UserState::setMoodFilter(collection, Tintor::MoodCalm);
    Tintor::UserState::setExteriorColors(collection, true);
    const Figures rollerFiltered = measure(
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
    const Figures queries = measure(paints, [&](int i) { cardQueries(i, Tintor::MoodAll, false); });
    const Figures filteredQueries = measure(paints, [&](int i) { cardQueries(i, Tintor::MoodCalm, true); });

    Tintor::ColorWheelWidget wheel;
    QImage wheelImage(wheel.size(), QImage::Format_ARGB32_Premultiplied);
    const int segments = std::max(1, wheel.numberOfSegments());
    const Figures wheelFigures = measure(
        paints, [&](int) { wheel.render(&wheelImage); },
        [&](int i) { Tintor::UserState::setSegmentIndex(collection, 1 + i % segments); });
    QElapsedTimer stateTimer;
    stateTimer.start();
    for (int i = 0; i < paints; ++i)
        Tintor::UserState::segmentIndex(collection);
    const double stateRead = stateTimer.nsecsElapsed() / 1e6 / paints;
    const Figures wheelLayout = measure(std::max(10, paints / 10),
                                        [&](int) { wheel.selectedCollectionChanged(collection); });

    Tintor::MoodSelectWidget moods;
    QImage moodImage(moods.size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    const Figures moodFigures = measure(paints, [&](int) { moods.render(&moodImage); });

    print("card roller paint, cards spread", rollerFigures);
    print("card roller paint, same card", rollerSameCard);
    print("card roller paint, calm exterior", rollerFiltered);
    print("  its card queries alone", queries);
    print("  its card queries, calm exterior", filteredQueries);
    print("colour wheel paint", wheelFigures);
    print("colour wheel layout (collection)", wheelLayout);
    print("mood filter paint", moodFigures);
    std::printf("one user state read: %.3f ms\n", stateRead);
    std::printf("chips on the three cards of the last spread paint: %d\n", chipsPainted);
    return 0;
}
