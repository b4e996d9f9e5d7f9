// Time of one chip description (the tooltip text of a chip) over a large
// collection. Target: under 2 ms per description, since the card roller
// and the schemers build one for every chip they lay out.
//
//   ChipDescriptionBench [collection.db] [--chips N] [--samples N]
//
// Without a file it writes a synthetic collection of N chips (default
// 100000) with every tooltip fact switched on. With a file (for example one
// from "huelink-collection synth") it describes the chips of that file's
// first collection as they are configured.

#include "db/CollectionRegistry.h"
#include "db/NavigationQueries.h"
#include "db/Schema.h"
#include "engine/inc/ModuleValues.h"
#include "ui/chips/ColorTooltipText.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVariant>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace Tintor;

namespace {

const QUuid kLargeCollection(QStringLiteral("{5a000000-0000-0000-0000-00000000005a}"));
const QUuid kSmallCollection(QStringLiteral("{5b000000-0000-0000-0000-00000000005b}"));
constexpr int kChipsPerCard = 7;

bool run(QSqlQuery &query, const QString &sql, const QVariantList &values = {})
{
    if (!query.prepare(sql)) {
        std::fprintf(stderr, "prepare failed: %s\n", qPrintable(query.lastError().text()));
        return false;
    }
    for (const QVariant &value : values)
        query.addBindValue(value);
    if (!query.exec()) {
        std::fprintf(stderr, "statement failed: %s\n", qPrintable(query.lastError().text()));
        return false;
    }
    return true;
}

qint64 addCollection(QSqlQuery &query, const QUuid &uuid, const QString &name, int order)
{
    run(query, QStringLiteral("INSERT INTO COLLECTION(UUID, SYSTEMID, VERSION, NAME, \"ORDER\") VALUES(?, ?, 1, ?, ?)"),
        {uuid.toString(), name.toUpper(), name, order});
    const qint64 id = query.lastInsertId().toLongLong();
    const auto setting = [&](const QString &key, const QVariant &value, int index = 0) {
        run(query, QStringLiteral("INSERT INTO SETTING(COLLECTION_ID, NAME, VALUE, VALUE_INDEX) VALUES(?, ?, ?, ?)"),
            {id, key, value, index});
    };
    setting(QStringLiteral("collection.enabled"), 1);
    for (const char *key : {"color.tooltip.show.collection.name", "color.tooltip.show.page.name",
                            "color.tooltip.show.row.code", "color.tooltip.show.row.name",
                            "color.tooltip.show.row.auxiliary.info", "color.tooltip.show.page.index",
                            "color.tooltip.show.row.row.index"})
        setting(QString::fromLatin1(key), 1);
    for (const char *key : {"page.name.display.order", "row.name.display.order", "row.extra.display.order"}) {
        setting(QString::fromLatin1(key), 1, 0);
        setting(QString::fromLatin1(key), 0, 1);
    }
    return id;
}

// Cards of seven chips with two names and two auxiliary texts each.
bool addChips(QSqlQuery &query, qint64 collectionId, int chipCount)
{
    QRandomGenerator random(42);
    qint64 pageId = -1;
    for (int chip = 0; chip < chipCount; ++chip) {
        const int pageIndex = chip / kChipsPerCard + 1;
        if (chip % kChipsPerCard == 0) {
            if (!run(query,
                     QStringLiteral("INSERT INTO PAGE(COLLECTION_ID, PAGE_INDEX, SEGMENT, NAME, EXTERIOR, MOOD, NAME0, "
                                    "NAME1) VALUES(?, ?, ?, ?, 0, ?, ?, ?)"),
                     {collectionId, pageIndex, pageIndex % 24 + 1,
                      QStringLiteral("page-%1-%2").arg(collectionId).arg(pageIndex), pageIndex % 6 + 1,
                      QStringLiteral("Card %1").arg(pageIndex), QStringLiteral("Karte %1").arg(pageIndex)}))
                return false;
            pageId = query.lastInsertId().toLongLong();
            run(query, QStringLiteral("INSERT INTO COLLECTION_PAGE_MAP(COLLECTION_ID, PAGE_ID) VALUES(?, ?)"),
                {collectionId, pageId});
        }
        const quint32 rgb = random.generate();
        if (!run(query,
                 QStringLiteral("INSERT INTO \"ROW\"(COLLECTION_ID, PAGE_ID, ROW_INDEX, CODE, SEGMENT, RED, GREEN, "
                                "BLUE, L, A, B, NEUTRAL, WHITE, MOOD, SCHEME_POS, NSCHEME_POS, IS_MTO, NAME0, NAME1, "
                                "EXTRA0, EXTRA1) VALUES(?, ?, ?, ?, ?, ?, ?, ?, 50, 0, 0, 0, 0, ?, 0, 0, 0, ?, ?, ?, "
                                "?)"),
                 {collectionId, pageId, chip % kChipsPerCard + 1, QStringLiteral("S %1-Y").arg(chip, 6, 10, QLatin1Char('0')),
                  pageIndex % 24 + 1, int(rgb & 0xff), int((rgb >> 8) & 0xff), int((rgb >> 16) & 0xff),
                  pageIndex % 6 + 1, QStringLiteral("Colour %1").arg(chip), QStringLiteral("Farbe %1").arg(chip),
                  QStringLiteral("Interior and exterior"), QStringLiteral("Light fastness %1").arg(chip % 8)}))
            return false;
    }
    return true;
}

bool writeSyntheticCollection(const QString &path, int chipCount)
{
    QFile::remove(path);
    bool ok = true;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("synthetic"));
        database.setDatabaseName(path);
        ok = database.open();
        QSqlQuery query(database);
        ok = ok && run(query, QStringLiteral("BEGIN"));
        for (const QString &sql :
             DB::Schema::declaredStatements() + DB::Schema::readerStatements() + DB::Schema::seedStatements())
            ok = ok && run(query, sql);
        ok = ok && addChips(query, addCollection(query, kLargeCollection, QStringLiteral("Synthetic Deck"), 1), chipCount);
        ok = ok && addChips(query, addCollection(query, kSmallCollection, QStringLiteral("Small Deck"), 2), 70);
        ok = ok && run(query, QStringLiteral("COMMIT"));
        database.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("synthetic"));
    return ok;
}

std::vector<qint64> rowIdsOf(const QUuid &collection)
{
    std::vector<qint64> ids;
    int status = 0;
    const QSqlDatabase database = DB::collectionDatabase(collection, &status);
    if (status != 0)
        return ids;
    QSqlQuery query(database);
    query.exec(QStringLiteral("SELECT R.ID FROM \"ROW\" R JOIN COLLECTION_PAGE_MAP M ON M.PAGE_ID = R.PAGE_ID "
                              "WHERE M.COLLECTION_ID = %1")
                   .arg(DB::collectionDatabaseId(collection)));
    while (query.next())
        ids.push_back(query.value(0).toLongLong());
    return ids;
}

// CPU time of this thread: on a loaded machine the wall-clock tail is
// mostly time spent waiting for a core.
double threadCpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Figures
{
    double median = 0;
    double mean = 0;
    double p99 = 0;
    double max = 0;
};

Figures figuresOf(std::vector<double> times)
{
    Figures figures;
    if (times.empty())
        return figures;
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (const double time : times)
        sum += time;
    figures.mean = sum / double(times.size());
    figures.median = times[times.size() / 2];
    figures.p99 = times[std::min(times.size() - 1, times.size() * 99 / 100)];
    figures.max = times.back();
    return figures;
}

void print(const char *label, const std::pair<Figures, Figures> &figures)
{
    const auto &[wall, cpu] = figures;
    std::printf("%s\n  wall: median %7.3f ms  mean %7.3f ms  p99 %7.3f ms  max %7.3f ms\n"
                "  cpu:  median %7.3f ms  mean %7.3f ms  p99 %7.3f ms  max %7.3f ms\n",
                label, wall.median, wall.mean, wall.p99, wall.max, cpu.median, cpu.mean, cpu.p99, cpu.max);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QString file;
    int chipCount = 100000;
    int samples = 2000;
    const QStringList arguments = app.arguments();
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--chips") && i + 1 < arguments.size())
            chipCount = arguments.at(++i).toInt();
        else if (arguments.at(i) == QLatin1String("--samples") && i + 1 < arguments.size())
            samples = arguments.at(++i).toInt();
        else
            file = arguments.at(i);
    }

    QTemporaryDir root;
    const QString folder = root.path() + QStringLiteral("/Contents/Resources");
    QDir().mkpath(folder);
    setDatabaseFolder(root.path());
    QElapsedTimer timer;
    timer.start();
    if (file.isEmpty()) {
        if (!writeSyntheticCollection(folder + QStringLiteral("/synthetic.db"), chipCount))
            return 1;
        std::printf("synthetic collection of %d chips written in %.1f s\n", chipCount, timer.elapsed() / 1000.0);
    } else if (!QFile::copy(file, folder + QStringLiteral("/collection.db"))) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(file));
        return 1;
    }
    if (DB::discoverCollections() != 1)
        return 1;
    const QList<QUuid> collections = DB::collectionUuidsByOrder();
    const QUuid large = collections.value(0);
    const QUuid small = collections.value(1);
    const std::vector<qint64> largeIds = rowIdsOf(large);
    const std::vector<qint64> smallIds = rowIdsOf(small);
    if (largeIds.empty())
        return 1;
    std::printf("collection %s: %zu chips\n", qPrintable(large.toString()), largeIds.size());

    timer.restart();
    const QString first = colorTooltipText(large, largeIds.front(), true);
    std::printf("first description (opens the file, reads settings): %.3f ms\n", timer.nsecsElapsed() / 1e6);
    std::printf("sample: %s\n", qPrintable(first));

    QRandomGenerator random(7);
    const auto measure = [&](bool rich, bool alternate) {
        std::vector<double> times;
        std::vector<double> cpuTimes;
        times.reserve(samples);
        cpuTimes.reserve(samples);
        for (int i = 0; i < samples; ++i) {
            const bool other = alternate && !smallIds.empty() && i % 2 == 1;
            const std::vector<qint64> &ids = other ? smallIds : largeIds;
            const qint64 id = ids[random.bounded(quint32(ids.size()))];
            const double cpuStart = threadCpuMilliseconds();
            timer.restart();
            const QString text = colorTooltipText(other ? small : large, id, rich);
            times.push_back(timer.nsecsElapsed() / 1e6);
            cpuTimes.push_back(threadCpuMilliseconds() - cpuStart);
            if (text.isEmpty())
                std::fprintf(stderr, "empty description for row %lld\n", id);
        }
        return std::make_pair(figuresOf(times), figuresOf(cpuTimes));
    };
    print("rich, random chips of one collection", measure(true, false));
    print("plain, random chips of one collection", measure(false, false));
    if (!smallIds.empty())
        print("rich, alternating between two collections", measure(true, true));
    return 0;
}
