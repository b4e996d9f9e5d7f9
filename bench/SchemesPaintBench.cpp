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
#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "engine/inc/ModuleValues.h"
#include "state/UserState.h"
#include "ui/harmonizer/ColorSchemerPelvonWidget.h"
#include "ui/harmonizer/ColorSchemerWidget.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
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
    double p95 = 0;
    double worst = 0;
};

// Times `once` only; `prepare` runs before it, untimed.
Figures measure(int count, const std::function<void(int)> &once, const std::function<void(int)> &prepare = [](int) {})
{
    std::vector<double> times;
    QElapsedTimer timer;
    for (int i = 0; i < count + 5; ++i) {
        prepare(i);
        timer.start();
        once(i);
        if (i >= 5)
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

int countOf(const QUuid &collection, const QString &sql)
{
    QSqlQuery query(Tintor::DB::collectionDatabase(collection));
    query.exec(sql.arg(Tintor::DB::collectionDatabaseId(collection)));
    return query.next() ? query.value(0).toInt() : -1;
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
    Tintor::CollectionSettings::setCurrentCollection(collection);
    const int pages = countOf(collection, QStringLiteral("SELECT MAX(P.PAGE_INDEX) FROM PAGE P JOIN "
                                                         "COLLECTION_PAGE_MAP M ON P.ID = M.PAGE_ID WHERE "
                                                         "M.COLLECTION_ID = %1"));
    const int perCard = Tintor::CollectionSettings::maxChipsOnAPage(collection);
    std::printf("collection: %d chips on %d cards, card mode %d, %d paints each\n",
                countOf(collection, QStringLiteral("SELECT COUNT(*) FROM \"ROW\" WHERE COLLECTION_ID = %1")), pages,
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
    const Figures changed = measure(paints, [&](int) { schemer.render(&image); }, select);
    const int chips = int(schemer.chips().size());
    const Figures hover = measure(paints, [&](int) { schemer.render(&image); });

    // The pelvon schemer asks for chip schemes of contrast and wide contrast.
    Tintor::ColorSchemerPelvonWidget pelvon;
    pelvon.resize(399, 226);
    const Figures pelvonChanged = measure(paints, [&](int) { pelvon.render(&image); }, select);
    const Figures pelvonHover = measure(paints, [&](int) { pelvon.render(&image); });
    QVector<Tintor::DB::ColorEntry> entries;
    const Figures pelvonQuery = measure(
        paints, [&](int i) { Tintor::DB::pelvonSchemeEntries(collection, cardAt(i), 1 + i % perCard, entries); });
    QElapsedTimer stateTimer;
    stateTimer.start();
    for (int i = 0; i < paints; ++i)
        Tintor::UserState::pageIndex(collection);

    print("schemer paint, selected chip changed", changed);
    print("schemer paint, hover repaint", hover);
    print("pelvon schemer paint, chip changed", pelvonChanged);
    print("pelvon schemer paint, hover repaint", pelvonHover);
    print("pelvon scheme query alone", pelvonQuery);
    std::printf("chips of the last changed paint: %d; one user state read: %.3f ms\n", chips,
                stateTimer.nsecsElapsed() / 1e6 / paints);
    return 0;
}
