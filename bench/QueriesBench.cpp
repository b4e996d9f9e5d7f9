// Times the card, search and matching queries on large collection files.
//
//   QueriesBench [--only NAME]... [FILE.db ...]
//   QueriesBench --write CHIPS FILE.db
//
// Each FILE.db (for instance from `huelink-collection synth --chips N`) is
// measured through its first collection. Without arguments the bench writes
// synthetic files of 10,000 and 100,000 chips itself. --only runs just the
// measurements whose names contain NAME.

#include "color/ColorScience.h"
#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/Schema.h"
#include "db/SearchQueries.h"
#include "engine/inc/ModuleValues.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

using namespace Tintor;

namespace {

constexpr int kChipsPerCard = 7;
constexpr int kSegments = 24;

bool execOrWarn(QSqlQuery &query, const QString &sql)
{
    if (query.exec(sql))
        return true;
    std::fprintf(stderr, "statement failed: %s\n  %s\n", qPrintable(sql), qPrintable(query.lastError().text()));
    return false;
}

// A collection of `chipCount` chips on cards of seven, spread over the wheel
// and the moods, with names and codes the search settings point at.
bool writeSyntheticFile(const QString &path, int chipCount)
{
    QFile::remove(path);
    const QString connection = QStringLiteral("bench-writer");
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        if (!db.open())
            return false;
        QSqlQuery query(db);
        execOrWarn(query, QStringLiteral("PRAGMA journal_mode = OFF"));
        execOrWarn(query, QStringLiteral("PRAGMA synchronous = OFF"));
        db.transaction();
        for (const QString &sql :
            DB::Schema::declaredStatements() + DB::Schema::readerStatements() + DB::Schema::seedStatements())
            ok = execOrWarn(query, sql) && ok;
        ok = execOrWarn(query,
                 QStringLiteral("INSERT INTO COLLECTION(ID, UUID, SYSTEMID, VERSION, NAME, \"ORDER\") "
                                "VALUES(1, '{5a5a5a5a-0000-4000-8000-000000000001}', 'SYNTH', 1, "
                                "'Synthetic', 1)"))
            && ok;
        for (const char *setting : { "('collection.enabled', '1', 0)", "('page.name.search.order', '0', 0)",
                 "('row.name.search.order', '0', 0)", "('row.name.search.order', '1', 1)",
                 "('has.exterior.filter', '1', 0)" })
            ok = execOrWarn(query,
                     QStringLiteral("INSERT INTO SETTING(COLLECTION_ID, NAME, VALUE, VALUE_INDEX) "
                                    "VALUES(1, %1)")
                         .arg(QString::fromLatin1(setting).mid(1).chopped(1).prepend(QString())))
                && ok;

        QSqlQuery page(db);
        page.prepare(QStringLiteral("INSERT INTO PAGE(ID, COLLECTION_ID, PAGE_INDEX, SEGMENT, NAME, EXTERIOR, MOOD, "
                                    "NAME0) VALUES(?, 1, ?, ?, ?, ?, ?, ?)"));
        QSqlQuery map(db);
        map.prepare(QStringLiteral("INSERT INTO COLLECTION_PAGE_MAP(COLLECTION_ID, PAGE_ID) VALUES(1, ?)"));
        QSqlQuery row(db);
        row.prepare(
            QStringLiteral("INSERT INTO \"ROW\"(COLLECTION_ID, PAGE_ID, ROW_INDEX, CODE, SEGMENT, RED, GREEN, "
                           "BLUE, L, A, B, MOOD, NAME0, NAME1) VALUES(1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        QRandomGenerator random(20240601);
        const int cardCount = (chipCount + kChipsPerCard - 1) / kChipsPerCard;
        int chip = 0;
        for (int card = 1; card <= cardCount && ok; ++card) {
            const int segment = 1 + (card - 1) * kSegments / cardCount;
            const int mood = 1 + card % 6;
            page.addBindValue(card);
            page.addBindValue(card);
            page.addBindValue(segment);
            page.addBindValue(QStringLiteral("page-%1").arg(card));
            page.addBindValue(random.bounded(3) == 0 ? 1 : 0);
            page.addBindValue(mood);
            page.addBindValue(QStringLiteral("Card %1").arg(card));
            ok = page.exec() && ok;
            map.addBindValue(card);
            ok = map.exec() && ok;
            for (int rowIndex = 1; rowIndex <= kChipsPerCard && chip < chipCount; ++rowIndex, ++chip) {
                const QColor color(random.bounded(256), random.bounded(256), random.bounded(256));
                const ColorTriple lab = colorToLab(color);
                row.addBindValue(card);
                row.addBindValue(rowIndex);
                row.addBindValue(QStringLiteral("S-%1").arg(chip + 1, 6, 10, QLatin1Char('0')));
                row.addBindValue(segment);
                row.addBindValue(color.red());
                row.addBindValue(color.green());
                row.addBindValue(color.blue());
                row.addBindValue(lab[0]);
                row.addBindValue(lab[1]);
                row.addBindValue(lab[2]);
                row.addBindValue(mood);
                row.addBindValue(QStringLiteral("Colour %1").arg(chip + 1));
                row.addBindValue(QStringLiteral("Tone %1").arg(chip % 5000));
                ok = row.exec() && ok;
            }
        }
        if (!ok)
            std::fprintf(stderr, "insert failed: %s %s %s\n", qPrintable(page.lastError().text()),
                qPrintable(map.lastError().text()), qPrintable(row.lastError().text()));
        // No ANALYZE: files need not carry statistics, and the queries must
        // be quick without them.
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

// Wall time and processor time: on a loaded machine the processor time is
// the figure that compares.
struct Figure {
    double meanMs = 0.0;
    double medianMs = 0.0;
    double cpuMeanMs = 0.0;
    double cpuMedianMs = 0.0;
    double cpuP95Ms = 0.0;
    int runs = 0;
};

double cpuNowMs()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double percentile(std::vector<double> times, double fraction)
{
    std::sort(times.begin(), times.end());
    const auto rank = std::size_t(std::ceil(fraction * double(times.size())));
    return times.at(std::min(times.size() - 1, rank == 0 ? 0 : rank - 1));
}

Figure measure(int runs, const std::function<void(int)> &run)
{
    Figure figure;
    figure.runs = runs;
    std::vector<double> times;
    std::vector<double> cpuTimes;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        const double cpuStart = cpuNowMs();
        timer.start();
        run(i);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpuTimes.push_back(cpuNowMs() - cpuStart);
    }
    for (const double ms : times)
        figure.meanMs += ms / runs;
    for (const double ms : cpuTimes)
        figure.cpuMeanMs += ms / runs;
    figure.medianMs = percentile(times, 0.5);
    figure.cpuMedianMs = percentile(cpuTimes, 0.5);
    figure.cpuP95Ms = percentile(cpuTimes, 0.95);
    return figure;
}

// Names given with --only select the measurements to run (substrings).
QStringList onlyNames;

bool wanted(const char *name)
{
    if (onlyNames.isEmpty())
        return true;
    const QString text = QString::fromLatin1(name);
    return std::any_of(
        onlyNames.cbegin(), onlyNames.cend(), [&text](const QString &only) { return text.contains(only); });
}

void report(const char *name, const Figure &figure, double targetMs, const char *note = "")
{
    std::printf("  %-36s cpu mean %8.3f median %8.3f p95 %8.3f ms  wall median %8.3f ms  (%3d runs, target %5.1f "
                "ms) %s%s\n",
        name, figure.cpuMeanMs, figure.cpuMedianMs, figure.cpuP95Ms, figure.medianMs, figure.runs, targetMs,
        figure.cpuMedianMs <= targetMs ? "ok" : "SLOW", note);
}

// Measures and reports `name` unless --only leaves it out.
void bench(const char *name, int runs, double targetMs, const std::function<void(int)> &run,
    const std::function<QString()> &note = {})
{
    if (!wanted(name))
        return;
    const Figure figure = measure(runs, run);
    report(name, figure, targetMs, note ? qPrintable(note()) : "");
}

int benchFile(const QString &filePath)
{
    // The registry finds files below <database folder>/Contents/Resources.
    QTemporaryDir folder;
    const QString resources = folder.path() + QStringLiteral("/Contents/Resources");
    QDir().mkpath(resources);
    const QString linked = resources + QLatin1Char('/') + QFileInfo(filePath).fileName();
    if (!QFile::link(QFileInfo(filePath).absoluteFilePath(), linked)) {
        std::fprintf(stderr, "cannot link %s\n", qPrintable(filePath));
        return 1;
    }
    setDatabaseFolder(folder.path());
    DB::scanCollectionFiles(DB::collectionRegistry(), true);
    const QList<QUuid> collections = DB::collectionUuidsByOrder();
    if (collections.isEmpty()) {
        std::fprintf(stderr, "%s holds no enabled collection\n", qPrintable(filePath));
        return 1;
    }
    const QUuid uuid = collections.first();
    CollectionSettings::setCurrentCollection(uuid);
    CollectionSettings::loadNameOrders(uuid);

    std::vector<LabCandidate> candidates;
    const Figure candidatesFigure = measure(5, [&](int) { DB::matchCandidates(uuid, candidates); });
    const int chipCount = int(candidates.size());
    QSqlQuery pages(DB::collectionDatabase(uuid));
    pages.exec(QStringLiteral("SELECT MAX(P.PAGE_INDEX) FROM PAGE P JOIN COLLECTION_PAGE_MAP CMAP ON P.ID = "
                              "CMAP.PAGE_ID WHERE CMAP.COLLECTION_ID = %1")
                   .arg(DB::collectionDatabaseId(uuid)));
    const int pageCount = pages.next() ? pages.value(0).toInt() : 0;
    QVector<int> segments;
    DB::segmentsOfCollection(uuid, segments);
    if (chipCount == 0 || pageCount == 0 || segments.isEmpty()) {
        std::fprintf(stderr, "%s: collection has no chips\n", qPrintable(filePath));
        return 1;
    }
    std::printf("%s: %d chips on %d cards, %d segments\n", qPrintable(QFileInfo(filePath).fileName()), chipCount,
        pageCount, int(segments.size()));

    QRandomGenerator random(7);
    std::vector<DB::ColorEntry> samples;
    for (int i = 0; i < 50; ++i) {
        DB::ColorEntry entry;
        DB::entryById(uuid, qint64(candidates.at(random.bounded(chipCount)).reference), entry);
        samples.push_back(entry);
    }
    const auto sample = [&samples](int i) -> const DB::ColorEntry & { return samples.at(i % samples.size()); };

    DB::ColorPage page;
    DB::ColorEntry entry;
    bench("pageAt", 300, 1.0, [&](int) { DB::pageAt(uuid, 1 + random.bounded(pageCount), page); });
    bench("neighbourPage (all moods)", 300, 1.0,
        [&](int i) { DB::neighbourPage(uuid, 1 + random.bounded(pageCount), i % 2, MoodAll, false, page); });
    bench("neighbourPage (offwhite, exterior)", 300, 1.0,
        [&](int i) { DB::neighbourPage(uuid, 1 + random.bounded(pageCount), i % 2, MoodOffwhite, true, page); });
    bench("neighbourPage (all moods, exterior)", 300, 1.0,
        [&](int i) { DB::neighbourPage(uuid, 1 + random.bounded(pageCount), i % 2, MoodAll, true, page); });
    bench("neighbourPage (no card passes)", 100, 1.0,
        [&](int i) { DB::neighbourPage(uuid, 1 + random.bounded(pageCount), i % 2, 9, false, page); });
    bench("firstPageAtOrAfterSegment", 300, 1.0, [&](int) {
        DB::firstPageAtOrAfterSegment(uuid, 1 + random.bounded(segments.last() + 1), MoodAll, false, page);
    });
    bench("firstPageAtOrAfterSegment (wraps)", 300, 1.0,
        [&](int) { DB::firstPageAtOrAfterSegment(uuid, segments.last() + 1, MoodNeutral, true, page); });
    bench("firstPageAtOrAfterSegment (calm)", 300, 1.0, [&](int) {
        DB::firstPageAtOrAfterSegment(uuid, 1 + random.bounded(segments.last() + 1), MoodCalm, false, page);
    });
    bench("entryById", 300, 1.0,
        [&](int) { DB::entryById(uuid, qint64(candidates.at(random.bounded(chipCount)).reference), entry); });
    bench("entryNearRgb (hit)", 300, 1.0, [&](int i) {
        const DB::ColorEntry &chip = sample(i);
        DB::entryNearRgb(uuid, QColor(chip.red, chip.green, chip.blue), entry);
    });
    bench("entryNearRgb (miss-prone)", 300, 1.0, [&](int) {
        DB::entryNearRgb(uuid, QColor(random.bounded(256), random.bounded(256), random.bounded(256)), entry);
    });
    int pageIndex = 0, rowIndex = 0, segment = 0, mood = 0;
    bool exterior = false;
    bench("findPhrase (code)", 50, 20.0,
        [&](int i) { DB::findPhrase(uuid, sample(i).code.toLower(), pageIndex, rowIndex, segment, mood, exterior); });
    bench("findPhrase (no match)", 20, 20.0, [&](int) {
        DB::findPhrase(uuid, QStringLiteral("no such colour"), pageIndex, rowIndex, segment, mood, exterior);
    });
    QStringList completions;
    bench(
        "completionEntries", 20, 150.0, [&](int) { DB::completionEntries(uuid, completions); },
        [&] { return QStringLiteral(" %1 entries").arg(completions.size()); });
    if (wanted("matchCandidates"))
        report("matchCandidates", candidatesFigure, 100.0);
    std::vector<NearestMatch> nearest;
    bench("matchCandidates + findNearestColors", 5, 1000.0, [&](int i) {
        DB::matchCandidates(uuid, candidates);
        findNearestColors(colorToLab(QColor(sample(i).red, sample(i).green, sample(i).blue)), candidates, nearest, 5);
    });
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList files = app.arguments().mid(1);
    while (files.size() >= 2 && files.first() == QLatin1String("--only")) {
        onlyNames << files.at(1);
        files = files.mid(2);
    }
    if (files.size() == 3 && files.first() == QLatin1String("--write"))
        return writeSyntheticFile(files.at(2), files.at(1).toInt()) ? 0 : 1;
    QTemporaryDir scratch;
    if (files.isEmpty()) {
        for (const int chips : { 10000, 100000 }) {
            const QString path = scratch.filePath(QStringLiteral("synth-%1.db").arg(chips));
            QElapsedTimer timer;
            timer.start();
            if (!writeSyntheticFile(path, chips)) {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                return 1;
            }
            std::printf("wrote %s in %.1f s\n", qPrintable(QFileInfo(path).fileName()), timer.elapsed() / 1000.0);
            files << path;
        }
    }
    int result = 0;
    for (const QString &file : files)
        result |= benchFile(file);
    return result;
}
