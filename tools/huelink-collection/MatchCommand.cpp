#include "MatchCommand.h"

#include "color/ColorScience.h"
#include "db/CollectionRegistry.h"
#include "db/CollectionSettings.h"
#include "db/NavigationQueries.h"
#include "db/SearchQueries.h"
#include "db/Status.h"
#include "engine/inc/ModuleValues.h"
#include "PaletteMatch.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>
#include <QUuid>

#include <cmath>
#include <cstdio>
#include <vector>

namespace Tintor {

namespace {

constexpr int kDefaultCount = 5;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char *const kUsage = "usage: huelink-collection match FILE.db [--collection UUID] [--count N] [--json]\n"
                           "                                (--rgb RRGGBB | --lab L,a,b | --csv IN)...\n"
                           "       huelink-collection match FILE.db... --palette SWATCHFILE [--count N] [--json]\n"
                           "\n"
                           "Prints for each colour the N nearest chips of the collection (default: the\n"
                           "file's first collection, N = 5) ranked by CIEDE2000: rank, code, name, page\n"
                           "index, row index, RGB and the colour difference. --csv reads one colour per\n"
                           "line (RRGGBB, #RRGGBB or L,a,b; blank lines are skipped; \"-\" is standard\n"
                           "input). --json prints one JSON object per colour instead.\n"
                           "\n"
                           "With --palette, the colours of a swatch file (.ase, .aco, .gpl or .css) are\n"
                           "matched across every enabled collection of all the files given, and each\n"
                           "match also names its collection and grades the difference.\n";

void printError(const QString &message)
{
    std::fprintf(stderr, "huelink-collection match: %s\n", qPrintable(message));
}

struct InputColor {
    QString text; // as printed back: RRGGBB or L,a,b
    ColorTriple lab {};
};

bool parseRgb(const QString &text, InputColor &input)
{
    static const QRegularExpression hex(QStringLiteral("^#?([0-9A-Fa-f]{6})$"));
    const QRegularExpressionMatch match = hex.match(text.trimmed());
    if (!match.hasMatch())
        return false;
    const QString digits = match.captured(1).toUpper();
    const QColor color(QStringLiteral("#") + digits);
    input.text = digits;
    input.lab = colorToLab(color);
    return true;
}

bool parseLab(const QString &text, InputColor &input)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(','));
    if (parts.size() != 3)
        return false;
    ColorTriple lab {};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        lab[std::size_t(i)] = parts.at(i).trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(lab[std::size_t(i)]))
            return false;
    }
    QStringList shown;
    for (const QString &part : parts)
        shown << part.trimmed();
    input.text = shown.join(QLatin1Char(','));
    input.lab = lab;
    return true;
}

// A line of a colour list: hexadecimal RGB or an L,a,b triple.
bool parseLine(const QString &line, InputColor &input)
{
    return parseRgb(line, input) || parseLab(line, input);
}

bool readColorList(const QString &path, QList<InputColor> &inputs, QString &error)
{
    QFile file;
    const bool standardInput = path == QLatin1String("-");
    const bool opened = standardInput ? file.open(stdin, QIODevice::ReadOnly | QIODevice::Text)
                                      : (file.setFileName(path), file.open(QIODevice::ReadOnly | QIODevice::Text));
    if (!opened) {
        error = QStringLiteral("cannot read %1").arg(path);
        return false;
    }
    QTextStream stream(&file);
    int lineNumber = 0;
    while (!stream.atEnd()) {
        const QString line = stream.readLine();
        ++lineNumber;
        if (line.trimmed().isEmpty())
            continue;
        InputColor input;
        if (!parseLine(line, input)) {
            error = QStringLiteral("%1:%2: not a colour (RRGGBB or L,a,b): %3").arg(path).arg(lineNumber).arg(line);
            return false;
        }
        inputs.append(input);
    }
    return true;
}

struct Options {
    QStringList files;
    QString palette;
    QUuid collection;
    int count = kDefaultCount;
    bool json = false;
    QList<InputColor> inputs;
};

// Returns 0, or the exit code for a usage error (already reported).
int parseArguments(const QStringList &arguments, Options &options)
{
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const auto value = [&](QString &out) {
            if (i + 1 >= arguments.size()) {
                printError(QStringLiteral("%1 needs a value").arg(argument));
                return false;
            }
            out = arguments.at(++i);
            return true;
        };
        QString text;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            std::fputs(kUsage, stdout);
            return -1;
        } else if (argument == QLatin1String("--json")) {
            options.json = true;
        } else if (argument == QLatin1String("--collection")) {
            if (!value(text))
                return kExitUsage;
            options.collection = QUuid::fromString(text);
            if (options.collection.isNull()) {
                printError(QStringLiteral("not a collection UUID: %1").arg(text));
                return kExitUsage;
            }
        } else if (argument == QLatin1String("--count")) {
            if (!value(text))
                return kExitUsage;
            bool ok = false;
            options.count = text.toInt(&ok);
            if (!ok || options.count < 1) {
                printError(QStringLiteral("--count needs a positive number, not %1").arg(text));
                return kExitUsage;
            }
        } else if (argument == QLatin1String("--rgb") || argument == QLatin1String("--lab")) {
            if (!value(text))
                return kExitUsage;
            InputColor input;
            const bool rgb = argument == QLatin1String("--rgb");
            if (!(rgb ? parseRgb(text, input) : parseLab(text, input))) {
                printError(QStringLiteral("%1 needs %2, not %3")
                               .arg(argument, rgb ? QStringLiteral("RRGGBB") : QStringLiteral("L,a,b"), text));
                return kExitUsage;
            }
            options.inputs.append(input);
        } else if (argument == QLatin1String("--palette")) {
            if (!value(options.palette))
                return kExitUsage;
        } else if (argument == QLatin1String("--csv")) {
            if (!value(text))
                return kExitUsage;
            QString error;
            if (!readColorList(text, options.inputs, error)) {
                printError(error);
                return kExitUsage;
            }
        } else if (argument.startsWith(QLatin1String("--"))) {
            printError(QStringLiteral("unknown option %1").arg(argument));
            return kExitUsage;
        } else {
            options.files.append(argument);
        }
    }
    if (!options.palette.isEmpty()) {
        if (!options.inputs.isEmpty() || !options.collection.isNull()) {
            printError(QStringLiteral("--palette matches across all collections; it takes no other colours or --collection"));
            return kExitUsage;
        }
        if (options.files.isEmpty()) {
            std::fputs(kUsage, stderr);
            return kExitUsage;
        }
        return 0;
    }
    if (options.files.size() > 1) {
        printError(QStringLiteral("more than one file: %1").arg(options.files.at(1)));
        return kExitUsage;
    }
    if (options.files.isEmpty() || options.inputs.isEmpty()) {
        std::fputs(kUsage, stderr);
        return kExitUsage;
    }
    return 0;
}

// Makes the files the only ones the registry knows: the queries find
// collections through the database folder.
bool registerFiles(const QStringList &paths, const QTemporaryDir &folder, QString &error)
{
    const QString resources = folder.path() + QStringLiteral("/Contents/Resources");
    QDir().mkpath(resources);
    for (qsizetype index = 0; index < paths.size(); ++index) {
        const QFileInfo info(paths.at(index));
        if (!info.isFile()) {
            error = QStringLiteral("no such file: %1").arg(paths.at(index));
            return false;
        }
        const QString registered
            = resources + (index == 0 ? QStringLiteral("/collection.db") : QStringLiteral("/collection-%1.db").arg(index));
#ifdef Q_OS_WIN
        const bool placed = QFile::copy(info.absoluteFilePath(), registered);
#else
        const bool placed = QFile::link(info.absoluteFilePath(), registered);
#endif
        if (!placed) {
            error = QStringLiteral("cannot open %1").arg(paths.at(index));
            return false;
        }
    }
    setDatabaseFolder(folder.path());
    DB::scanCollectionFiles(DB::collectionRegistry(), true);
    return true;
}

struct MatchedChip {
    QString code;
    QString name;
    int pageIndex = -1;
    int rowIndex = -1;
    QString rgb;
    double deltaE = 0.0;
};

QString hexOf(int red, int green, int blue)
{
    return QStringLiteral("%1%2%3")
        .arg(red, 2, 16, QLatin1Char('0'))
        .arg(green, 2, 16, QLatin1Char('0'))
        .arg(blue, 2, 16, QLatin1Char('0'))
        .toUpper();
}

QList<MatchedChip> matchesOf(const QUuid &uuid, const InputColor &input, const std::vector<LabCandidate> &candidates,
    int count, QHash<qint64, int> &pageIndexCache)
{
    std::vector<NearestMatch> nearest;
    findNearestColors(input.lab, candidates, nearest, count);
    QList<MatchedChip> chips;
    for (const NearestMatch &match : nearest) {
        DB::ColorEntry entry;
        if (DB::entryById(uuid, qint64(match.reference), entry) != DB::StatusOk)
            continue;
        auto page = pageIndexCache.constFind(entry.pageId);
        if (page == pageIndexCache.cend()) {
            DB::ColorPage card;
            const int pageIndex = DB::pageById(uuid, entry.pageId, false, card) == DB::StatusOk ? card.pageIndex : -1;
            page = pageIndexCache.insert(entry.pageId, pageIndex);
        }
        MatchedChip chip;
        chip.code = entry.code;
        chip.name = chipDisplayName(uuid, entry);
        chip.pageIndex = *page;
        chip.rowIndex = entry.rowIndex;
        chip.rgb = hexOf(entry.red, entry.green, entry.blue);
        chip.deltaE = match.distance;
        chips.append(chip);
    }
    return chips;
}

QString jsonString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray { text }).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// Written by hand to keep the fields in the documented order.
QString jsonLine(const InputColor &input, const QList<MatchedChip> &chips)
{
    QStringList matches;
    for (const MatchedChip &chip : chips) {
        matches << QStringLiteral("{\"code\":%1,\"name\":%2,\"pageIndex\":%3,\"rowIndex\":%4,\"rgb\":%5,\"deltaE\":%6}")
                       .arg(jsonString(chip.code), jsonString(chip.name))
                       .arg(chip.pageIndex)
                       .arg(chip.rowIndex)
                       .arg(jsonString(chip.rgb), QString::number(chip.deltaE, 'f', 4));
    }
    return QStringLiteral("{\"input\":%1,\"matches\":[%2]}")
        .arg(jsonString(input.text), matches.join(QLatin1Char(',')));
}

void printText(QTextStream &out, const InputColor &input, const QList<MatchedChip> &chips)
{
    out << input.text << '\n';
    int rank = 0;
    for (const MatchedChip &chip : chips) {
        out << "  " << ++rank << '\t' << chip.code << '\t' << chip.name << "\tpage " << chip.pageIndex << "\trow "
            << chip.rowIndex << '\t' << chip.rgb << '\t' << QString::number(chip.deltaE, 'f', 4) << '\n';
    }
}

} // namespace

QString chipDisplayName(const QUuid &uuid, const DB::ColorEntry &entry)
{
    const QList<qint64> &order = CollectionSettings::nameOrders(uuid).rowNameDisplayOrder;
    if (!order.isEmpty())
        return entry.nameAt(int(order.first()));
    for (const QString &name : entry.names) {
        if (!name.isEmpty())
            return name;
    }
    return QString();
}

const char *matchCommandUsage()
{
    return "match FILE.db [--collection UUID] [--count N] [--json] (--rgb RRGGBB | --lab L,a,b | --csv IN)...  "
           "the N nearest chips (default 5) by CIEDE2000\n"
           "  match FILE.db... --palette SWATCHFILE [--count N] [--json]  "
           "the N nearest chips of all enabled collections for each colour of a swatch file";
}

int runMatchCommand(const QStringList &arguments)
{
    Options options;
    const int parsed = parseArguments(arguments, options);
    if (parsed < 0)
        return 0;
    if (parsed != 0)
        return parsed;

    QTemporaryDir folder;
    QString error;
    if (!folder.isValid() || !registerFiles(options.files, folder, error)) {
        printError(error.isEmpty() ? QStringLiteral("cannot prepare a temporary folder") : error);
        return kExitFailure;
    }
    const QList<QUuid> collections = DB::collectionUuidsByOrder();
    if (collections.isEmpty()) {
        printError(QStringLiteral("%1 is not a collection file (no enabled collection in it)")
                       .arg(options.files.join(QStringLiteral(", "))));
        return kExitFailure;
    }
    if (!options.palette.isEmpty())
        return runPaletteMatch(options.palette, collections, options.count, options.json);
    const QString &file = options.files.first();
    const QUuid uuid = options.collection.isNull() ? collections.first() : options.collection;
    if (!collections.contains(uuid)) {
        printError(
            QStringLiteral("%1 holds no enabled collection %2").arg(file, uuid.toString(QUuid::WithBraces)));
        return kExitFailure;
    }
    CollectionSettings::setCurrentCollection(uuid);

    std::vector<LabCandidate> candidates;
    int skipped = 0;
    const int status = DB::matchCandidates(uuid, candidates, &skipped);
    if (status != DB::StatusOk) {
        printError(QStringLiteral("cannot read the colours of %1 (status %2)").arg(file).arg(status));
        return kExitFailure;
    }
    if (skipped > 0) {
        printError(QStringLiteral("skipped %1 chip(s) of %2 without a usable Lab (NULL, not a number or not finite)")
                       .arg(skipped)
                       .arg(file));
    }
    if (candidates.empty()) {
        printError(QStringLiteral("collection %1 has no chips with a usable Lab").arg(uuid.toString(QUuid::WithBraces)));
        return kExitFailure;
    }

    QHash<qint64, int> pageIndexCache;
    QTextStream out(stdout);
    for (const InputColor &input : std::as_const(options.inputs)) {
        const QList<MatchedChip> chips = matchesOf(uuid, input, candidates, options.count, pageIndexCache);
        if (options.json)
            out << jsonLine(input, chips) << '\n';
        else
            printText(out, input, chips);
    }
    out.flush();
    return 0;
}

} // namespace Tintor
