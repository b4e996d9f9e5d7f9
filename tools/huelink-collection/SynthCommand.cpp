#include "SynthCommand.h"

#include "CollectionSource.h"
#include "CollectionWriter.h"
#include "ProblemList.h"
#include "SourceValidator.h"

#include <QBuffer>
#include <QColor>
#include <QElapsedTimer>
#include <QImage>

#include <cstdio>

namespace Tintor {

namespace {

constexpr int kSegments = 24;

// splitmix64: the same numbers on every platform and library, unlike the
// standard distributions.
class Random {
public:
    explicit Random(quint64 seed)
        : m_state(seed)
    {
    }
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int between(int low, int high) { return low + int(next() % quint64(high - low + 1)); }
    double unit() { return double(next() >> 11) / double(1ull << 53); }

private:
    quint64 m_state;
};

const char *const kAdjectives[] = {"Quiet", "Amber", "Misty",  "Bold",   "Soft",   "Deep",   "Pale",   "Warm",
                                   "Cool",  "Dusky", "Bright", "Silent", "Golden", "Velvet", "Hidden", "Morning"};
const char *const kNouns[] = {"Meadow", "Harbour", "Canyon", "Orchard", "Dune",  "Lagoon", "Ember", "Fern",
                              "Slate",  "Clay",    "Petal",  "Glacier", "Spice", "Willow", "Tide",  "Heath"};
const char *const kFamilies[] = {"Reds",  "Oranges", "Ambers", "Yellows", "Limes",   "Greens",
                                 "Teals", "Cyans",   "Blues",  "Indigos", "Violets", "Magentas"};

QString chipName(quint64 hash, int number)
{
    return QStringLiteral("%1 %2 %3")
        .arg(QLatin1String(kAdjectives[hash % 16]), QLatin1String(kNouns[(hash >> 8) % 16]))
        .arg(number);
}

int moodOfHue(double hue)
{
    if (hue < 70.0 || hue >= 330.0)
        return 2; // warm
    if (hue < 200.0)
        return 1; // fresh
    if (hue < 280.0)
        return 3; // calm
    return 4; // rich
}

QByteArray textureImage(quint64 seed, QRgb tint, const QSize &size = QSize(64, 64))
{
    Random random(seed);
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int grain = random.between(-24, 24);
            image.setPixel(x, y,
                           qRgb(qBound(0, qRed(tint) + grain, 255), qBound(0, qGreen(tint) + grain, 255),
                                qBound(0, qBlue(tint) + grain, 255)));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

SourceSetting setting(const QString &name, const QStringList &values)
{
    return SourceSetting{name, values, QStringLiteral("synth")};
}

} // namespace

const char *SynthCommand::usage()
{
    return "synth --chips N [--seed S] [--foresight-groups G] [--group-chips C] [--textures T] -o FILE.db\n"
           "    write a synthetic collection of N chips (1..200000); G foresight groups of C chips\n"
           "    and T textures paired with each of the first 40 cards (each 1..1000) make the\n"
           "    catalog tabs larger";
}

CollectionSource SynthCommand::makeSource(int chipCount, quint64 seed)
{
    return makeSource(chipCount, seed, CatalogShape());
}

CollectionSource SynthCommand::makeSource(int chipCount, quint64 seed, const CatalogShape &shape)
{
    Random random(seed);
    CollectionSource source;

    for (int i = 0; i < 12; ++i)
        source.products << SourceProduct{QStringLiteral("p%1").arg(i + 1), QStringLiteral("Product %1").arg(i + 1),
                                         i % 4 == 3 ? QString() : QStringLiteral("PR-%1").arg(100 + i),
                                         QStringLiteral("synth")};
    const QStringList groupNames{QStringLiteral("Interior"), QStringLiteral("Exterior"), QStringLiteral("Wood"),
                                 QStringLiteral("Metal")};
    for (int g = 0; g < groupNames.size(); ++g) {
        SourceProductGroup group{QStringLiteral("g%1").arg(g + 1), groupNames.at(g), {}, QStringLiteral("synth")};
        for (int p = g; p < 12; p += 4)
            group.productKeys << QStringLiteral("p%1").arg(p + 1);
        source.productGroups << group;
    }

    SourceCollection &systemWide = source.collections[0];
    systemWide.settings << setting(QStringLiteral("has.textures.page"), {QStringLiteral("1")})
                        << setting(QStringLiteral("texture.size"), {QStringLiteral("300,200")});
    systemWide.theme << SourceThemeItem{QStringLiteral("list.of.preferred.font.faces"),
                                        QByteArrayLiteral("DejaVu Sans,10;Liberation Sans,9"), QStringLiteral("synth")};

    SourceCollection collection;
    collection.uuid
        = QUuid(QStringLiteral("{5F3C1B2A-7D4E-4A1B-9C8D-0000000000%1}").arg(seed % 256, 2, 16, QLatin1Char('0')));
    collection.systemId = QStringLiteral("SYNTH");
    collection.name = QStringLiteral("Synthetic %1").arg(chipCount);
    collection.order = 1;
    collection.where = QStringLiteral("synth");
    collection.settings << setting(QStringLiteral("collection.name"), {collection.name})
                        << setting(QStringLiteral("num.of.segments"), {QString::number(kSegments)})
                        << setting(QStringLiteral("max.chips.on.a.page"), {QStringLiteral("8")})
                        << setting(QStringLiteral("card.type"), {QStringLiteral("normal")})
                        << setting(QStringLiteral("mode.card"), {QStringLiteral("ModeCardToCard")})
                        << setting(QStringLiteral("mode.mood"), {QStringLiteral("MoodModeNormal")})
                        << setting(QStringLiteral("has.color.schemes.page"), {QStringLiteral("1")})
                        << setting(QStringLiteral("has.product.groups.page"), {QStringLiteral("1")})
                        << setting(QStringLiteral("has.color.foresight.page"), {QStringLiteral("1")})
                        << setting(QStringLiteral("has.textures.page"), {QStringLiteral("1")})
                        << setting(QStringLiteral("tab.bar.page"),
                                   {QStringLiteral("PageOfColorSchemes"), QStringLiteral("PageOfProducts"),
                                    QStringLiteral("PageOfColorForesight"), QStringLiteral("PageOfTextures")})
                        << setting(QStringLiteral("schemes"),
                                   {QStringLiteral("harmonic"), QStringLiteral("contrast"),
                                    QStringLiteral("wide contrast"), QStringLiteral("dynamic"),
                                    QStringLiteral("neutral")})
                        << setting(QStringLiteral("page.name.search.order"), {QStringLiteral("0")})
                        << setting(QStringLiteral("page.name.display.order"), {QStringLiteral("0")})
                        << setting(QStringLiteral("row.name.search.order"), {QStringLiteral("0"), QStringLiteral("1")})
                        << setting(QStringLiteral("row.name.display.order"), {QStringLiteral("0"), QStringLiteral("1")})
                        << setting(QStringLiteral("row.extra.display.order"), {QStringLiteral("0")})
                        << setting(QStringLiteral("color.tooltip.show.row.code"), {QStringLiteral("1")})
                        << setting(QStringLiteral("color.tooltip.show.row.name"), {QStringLiteral("1")})
                        << setting(QStringLiteral("cie2000.delta.intervals"), {QStringLiteral("3,6,10")})
                        << setting(QStringLiteral("capsure.enabled"), {QStringLiteral("1")})
                        << setting(QStringLiteral("capsure.priority"), {QStringLiteral("1")});
    collection.locale << SourceLocaleText{QStringLiteral("collection.title"), collection.name, QString(),
                                          QStringLiteral("synth")};

    // Cards of 5 to 8 chips, spread evenly over the segments in page order.
    QList<int> cardSizes;
    for (int remaining = chipCount; remaining > 0;) {
        const int size = qMin(remaining, random.between(5, 8));
        cardSizes << size;
        remaining -= size;
    }
    const int cardCount = int(cardSizes.size());
    QVector<QVector<int>> cardsOfSegment(kSegments + 1);
    QVector<int> positionInSegment(cardCount);
    collection.pages.reserve(cardCount);
    collection.chips.reserve(chipCount);
    for (int card = 0; card < cardCount; ++card) {
        const int segment = 1 + int(qint64(card) * kSegments / cardCount);
        positionInSegment[card] = int(cardsOfSegment[segment].size());
        cardsOfSegment[segment] << card;
    }
    for (int card = 0; card < cardCount; ++card) {
        const int segment = 1 + int(qint64(card) * kSegments / cardCount);
        const int cardsHere = int(cardsOfSegment[segment].size());
        const double hue = (segment - 1) * (360.0 / kSegments)
            + (360.0 / kSegments) * (positionInSegment[card] + 0.5) / qMax(1, cardsHere);
        const bool neutralCard = card % 7 == 6;
        const bool offWhiteCard = card % 11 == 5;
        const double saturation = neutralCard ? 0.06 : offWhiteCard ? 0.18 : 0.25 + 0.7 * random.unit();
        SourcePage page;
        page.pageIndex = card + 1;
        page.segment = segment;
        page.names = tenEmptyTexts();
        page.extras = tenEmptyTexts();
        page.names[0] = QStringLiteral("%1 %2").arg(QLatin1String(kFamilies[(segment - 1) / 2])).arg(card + 1);
        page.extras[0] = QStringLiteral("Fan %1").arg(1 + card / 100);
        page.exterior = card % 3 == 0;
        page.mood = neutralCard ? 6 : offWhiteCard ? 5 : moodOfHue(hue);
        page.where = QStringLiteral("synth card %1").arg(card + 1);
        collection.pages << page;

        const int size = cardSizes.at(card);
        for (int row = 1; row <= size; ++row) {
            const quint64 hash = random.next();
            const double lightness = offWhiteCard ? 0.97 - 0.025 * row : 0.92 - 0.72 * (row - 1) / qMax(1, size - 1);
            const QColor color = QColor::fromHslF(float(hue / 360.0), float(saturation), float(lightness));
            SourceChip chip;
            chip.pageIndex = page.pageIndex;
            chip.rowIndex = row;
            chip.code = QStringLiteral("%1-%2").arg(page.pageIndex, 5, 10, QLatin1Char('0')).arg(row);
            chip.names = tenEmptyTexts();
            chip.extras = tenEmptyTexts();
            chip.names[0] = chipName(hash, page.pageIndex);
            chip.names[1] = chipName(hash >> 16, row);
            chip.extras[0] = QStringLiteral("LRV %1").arg(int(lightness * 100));
            chip.red = color.red();
            chip.green = color.green();
            chip.blue = color.blue();
            chip.neutral = neutralCard;
            chip.white = offWhiteCard && row == 1;
            chip.madeToOrder = hash % 20 == 0;
            chip.mood = page.mood;
            chip.schemePos = row;
            chip.nschemePos = row;
            const int productCount = 1 + int((hash >> 24) % 3);
            for (int p = 0; p < productCount; ++p)
                chip.productKeys << QStringLiteral("p%1").arg(1 + int(((hash >> (28 + 4 * p)) + p) % 12));
            chip.productKeys.removeDuplicates();
            chip.productGroupKeys << QStringLiteral("g%1").arg(1 + int((hash >> 40) % 4));
            chip.where = QStringLiteral("synth chip %1/%2").arg(page.pageIndex).arg(row);
            collection.chips << chip;
        }
    }

    // Scheme cards: neighbours on the wheel, the opposite segment and its
    // neighbours, and a neutral card; at the same place within their segment.
    auto cardAt = [&](int segment, int position) {
        segment = ((segment - 1) % kSegments + kSegments) % kSegments + 1;
        const QVector<int> &cards = cardsOfSegment[segment];
        return cards.isEmpty() ? -1 : cards.at(qMin(position, int(cards.size()) - 1));
    };
    const QList<QPair<int, QList<int>>> schemeOffsets{{1, {-1, 1}}, {2, {12}}, {3, {10, 14}}, {4, {8, 16}}};
    for (int card = 0; card < cardCount; ++card) {
        const int segment = collection.pages.at(card).segment;
        for (const auto &scheme : schemeOffsets) {
            QList<int> members;
            for (int offset : scheme.second) {
                const int other = cardAt(segment + offset, positionInSegment[card]);
                if (other >= 0 && other != card && !members.contains(other))
                    members << other;
            }
            for (int order = 0; order < members.size(); ++order) {
                SourcePageScheme pageScheme;
                pageScheme.page.pageIndex = card + 1;
                pageScheme.page.where = QStringLiteral("synth");
                pageScheme.scheme = scheme.first;
                pageScheme.schemePage.pageIndex = members.at(order) + 1;
                pageScheme.schemePage.where = QStringLiteral("synth");
                pageScheme.order = order;
                pageScheme.where = QStringLiteral("synth");
                collection.pageSchemes << pageScheme;
            }
        }
    }

    const QStringList groupTitles{QStringLiteral("Spring"), QStringLiteral("Coastal"), QStringLiteral("Urban")};
    const int groupCount = shape.foresightGroups > 0 ? shape.foresightGroups : int(groupTitles.size());
    const int groupChips = shape.groupChips > 0 ? shape.groupChips : 6;
    for (int g = 0; g < groupCount && cardCount > 0; ++g) {
        SourceForesightGroup group;
        group.name = g < groupTitles.size() ? groupTitles.at(g)
                                            : QStringLiteral("%1 %2").arg(groupTitles.at(g % 3)).arg(g / 3 + 1);
        group.defaultOpen = g == 0;
        group.order = g + 1;
        group.where = QStringLiteral("synth");
        for (int e = 0; e < groupChips; ++e) {
            SourceForesightEntry entry;
            entry.order = e + 1;
            entry.chip.pageIndex = 1 + int(random.next() % quint64(cardCount));
            entry.chip.rowIndex = 1;
            entry.chip.where = QStringLiteral("synth");
            entry.name1 = QStringLiteral("%1 %2").arg(group.name).arg(e + 1);
            entry.name2 = QStringLiteral("Trend");
            entry.where = QStringLiteral("synth");
            group.entries << entry;
        }
        collection.foresight << group;
    }
    const QList<QPair<QString, QRgb>> textures{{QStringLiteral("Plaster"), qRgb(200, 196, 188)},
                                               {QStringLiteral("Timber"), qRgb(150, 110, 70)}};
    const int textureCount = shape.textures > 0 ? shape.textures : int(textures.size());
    // Measured textures fill their tiles, as real ones do.
    const QSize textureSize = shape.textures > 0 ? QSize(148, 96) : QSize(64, 64);
    if (shape.textures > 0)
        collection.settings << setting(QStringLiteral("texture.size"), {QStringLiteral("148,96")});
    for (int t = 0; t < textureCount; ++t) {
        SourceTexture texture;
        texture.name = t < textures.size() ? textures.at(t).first : QStringLiteral("Texture %1").arg(t + 1);
        texture.image = textureImage(seed + quint64(t), textures.at(t % 2).second, textureSize);
        texture.baseAlpha = 0.8;
        texture.where = QStringLiteral("synth");
        const int firstCard = shape.textures > 0 ? 0 : t;
        const int cardStep = shape.textures > 0 ? 1 : 2;
        for (int card = firstCard; card < qMin(cardCount, 40); card += cardStep) {
            SourceTextureMap map;
            map.page.pageIndex = card + 1;
            map.page.where = QStringLiteral("synth");
            map.alpha = 0.6;
            map.where = QStringLiteral("synth");
            texture.maps << map;
        }
        collection.textures << texture;
    }
    source.collections << collection;
    return source;
}

int SynthCommand::run(const QStringList &arguments)
{
    int chips = -1;
    quint64 seed = 1;
    CatalogShape shape;
    QString outputPath;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        bool ok = true;
        if (argument == QLatin1String("--chips") && i + 1 < arguments.size())
            chips = arguments.at(++i).toInt(&ok);
        else if (argument == QLatin1String("--foresight-groups") && i + 1 < arguments.size())
            shape.foresightGroups = arguments.at(++i).toInt(&ok);
        else if (argument == QLatin1String("--group-chips") && i + 1 < arguments.size())
            shape.groupChips = arguments.at(++i).toInt(&ok);
        else if (argument == QLatin1String("--textures") && i + 1 < arguments.size())
            shape.textures = arguments.at(++i).toInt(&ok);
        else if (argument == QLatin1String("--seed") && i + 1 < arguments.size())
            seed = arguments.at(++i).toULongLong(&ok);
        else if ((argument == QLatin1String("-o") || argument == QLatin1String("--output")) && i + 1 < arguments.size())
            outputPath = arguments.at(++i);
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "synth: bad argument \"%s\"\nusage: huelink-collection %s\n",
                         argument.toUtf8().constData(), usage());
            return 2;
        }
    }
    const auto outOfRange = [](int value) { return value < 0 || value > maximumExtras; };
    if (chips < 1 || chips > maximumChips || outputPath.isEmpty() || outOfRange(shape.foresightGroups)
        || outOfRange(shape.groupChips) || outOfRange(shape.textures)) {
        std::fprintf(stderr, "usage: huelink-collection %s\n", usage());
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    CollectionSource source = makeSource(chips, seed, shape);
    ProblemList problems;
    SourceValidator(problems).validate(source);
    CollectionWriter writer(problems);
    if (problems.hasErrors() || !writer.write(source, outputPath)) {
        problems.print();
        return 1;
    }
    const CollectionWriter::Counts counts = writer.counts();
    std::printf("%s: %d card(s), %d chip(s), %d scheme chip row(s), %d scheme card row(s) in %lld ms\n",
                outputPath.toUtf8().constData(), counts.pages, counts.chips, counts.rowSchemeRows,
                counts.rowPageSchemeRows, static_cast<long long>(timer.elapsed()));
    return 0;
}

} // namespace Tintor
