#include "color/ColorScience.h"
#include "support/TestEnvironment.h"

#include <QtTest>

using Tintor::ColorTriple;
using Tintor::LabCandidate;
using Tintor::NearestMatch;

namespace {

double round4(double value)
{
    return std::round(value * 10000.0) / 10000.0;
}

// Four decimals per channel; + 0.0 turns -0 into 0.
QString fixed4(const ColorTriple &triple)
{
    QStringList channels;
    for (const double channel : triple)
        channels << QString::number(round4(channel) + 0.0, 'f', 4);
    return channels.join(", ");
}

std::vector<LabCandidate> candidatesAtLightness(const QList<double> &lightnesses)
{
    std::vector<LabCandidate> candidates;
    for (int i = 0; i < lightnesses.size(); ++i)
        candidates.push_back(LabCandidate { lightnesses.at(i), 0.0, 0.0, quintptr(i) });
    return candidates;
}

QList<quintptr> referencesOf(const std::vector<NearestMatch> &matches)
{
    QList<quintptr> references;
    for (const NearestMatch &match : matches)
        references.append(match.reference);
    return references;
}

} // namespace

class ColorScienceTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void colorToLabReproducesReferenceFigures()
    {
        // The matrix white differs slightly from D65White (small a*, b*); the dark colour takes both linear branches.
        const std::pair<QColor, ColorTriple> colors[] = { { QColor(255, 255, 255), { 100.0, 0.00526, -0.01041 } },
            { QColor(0, 0, 0), { 0.0, 0.0, 0.0 } }, { QColor(255, 0, 0), { 53.2329, 80.1093, 67.2201 } },
            { QColor(128, 128, 128), { 53.5850, 0.0032, -0.0062 } },
            { QColor(10, 20, 5), { 5.2012, -5.9216, 5.6277 } } };
        for (const auto &[color, lab] : colors)
            QCOMPARE(fixed4(Tintor::colorToLab(color)), fixed4(lab));
        QCOMPARE(fixed4(Tintor::srgbToXyz({ 1.0, 1.0, 1.0 })), fixed4(ColorTriple { 0.9505, 1.0, 1.089 }));
        QCOMPARE(fixed4(Tintor::srgbToXyz({ 0.0, 0.0, 0.0 })), fixed4(ColorTriple { 0.0, 0.0, 0.0 }));
        const ColorTriple white = Tintor::labToXyz({ 100.0, 0.0, 0.0 }, Tintor::D65White);
        for (int i = 0; i < 3; ++i)
            QVERIFY(qFuzzyCompare(white[i], Tintor::D65White[i]));
        // The four-digit matrix leaves white a hair below 1 in blue; in 8 bits it is white.
        ColorTriple srgb = Tintor::xyzToSrgb(white);
        Tintor::clampUnit(srgb);
        for (double channel : srgb)
            QCOMPARE(qRound(channel * 255.0), 255);
        for (double channel : Tintor::labToClampedSrgb({ 100.0, 0.0, 0.0 }))
            QCOMPARE(qRound(channel * 255.0), 255);
    }

    // The branches of each transfer function meet almost continuously: edge values are told apart exactly.
    void decodingEdgeTakesLinearBranch()
    {
        const double edge = 0.04045;
        const ColorTriple xyz = Tintor::srgbToXyz({ edge, 0.0, 0.0 });
        QCOMPARE(xyz[1], 0.2126 * (edge / 12.92));
        const double above = 0.0405;
        QCOMPARE(Tintor::srgbToXyz({ above, 0.0, 0.0 })[1], 0.2126 * std::pow((above + 0.055) / 1.055, 2.4));
        // X alone drives red through the first matrix coefficient; pick an X that makes the product exactly the edge.
        const double coefficient = 3.2406254773200533;
        const double encodingEdge = 0.0031308;
        double x = encodingEdge / coefficient;
        for (int step = 0; step < 8 && coefficient * x != encodingEdge; ++step)
            x = std::nextafter(x, coefficient * x < encodingEdge ? 1.0 : 0.0);
        QCOMPARE(coefficient * x, encodingEdge);
        QCOMPARE(Tintor::xyzToSrgb({ x, 0.0, 0.0 })[0], 12.92 * encodingEdge);
        const double encodingAbove = 0.0032;
        QCOMPARE(Tintor::xyzToSrgb({ encodingAbove / coefficient, 0.0, 0.0 })[0],
            1.055 * std::pow(coefficient * (encodingAbove / coefficient), 0.4166666666666667) - 0.055);
    }

    // Y below ε: L* = κ·Y; and back.
    void labBranchesBelowTheEdges()
    {
        const std::pair<ColorTriple, ColorTriple> pairs[]
            = { { { 0.005 * 0.95047, 0.005, 0.005 * 1.08883 }, { 4.5165, 0.0, 0.0 } },
                  { { 0.0037880062, 0.1841865185, 0.2005478070 }, { 50.0, -200.0, 0.0 } },
                  { { 0.0042088958, 0.0044282258, 0.0048215851 }, { 4.0, 0.0, 0.0 } } };
        for (const auto &[xyz, lab] : pairs) {
            const ColorTriple computed = Tintor::xyzToLab(xyz, Tintor::D65White);
            QCOMPARE(fixed4(computed), fixed4(lab));
            const ColorTriple back = Tintor::labToXyz(computed, Tintor::D65White);
            for (int i = 0; i < 3; ++i)
                QVERIFY2(std::fabs(back[i] - xyz[i]) < 1e-8, qPrintable(fixed4(back)));
        }
        ColorTriple srgb = Tintor::xyzToSrgb({ 1.0, 0.0, 0.0 });
        QVERIFY(srgb[0] > 1.0 && srgb[1] < 0.0);
        Tintor::clampUnit(srgb);
        QCOMPARE(srgb[0], 1.0);
        QCOMPARE(srgb[1], 0.0);
    }

    // Published CIEDE2000 test pairs, among them the mean-hue and hue-difference wrap cases.
    void deltaE2000ReproducesReferencePairs()
    {
        const std::tuple<ColorTriple, ColorTriple, double> pairs[] = {
            { { 50.0, 2.6772, -79.7751 }, { 50.0, 0.0, -82.7485 }, 2.0425 },
            { { 50.0, 3.1571, -77.2803 }, { 50.0, 0.0, -82.7485 }, 2.8615 },
            { { 50.0, -1.3802, -84.2814 }, { 50.0, 0.0, -82.7485 }, 1.0000 },
            { { 50.0, -0.9009, -85.5211 }, { 50.0, 0.0, -82.7485 }, 1.0000 },
            { { 50.0, 0.0, 0.0 }, { 50.0, -1.0, 2.0 }, 2.3669 },
            { { 50.0, 2.4900, -0.0010 }, { 50.0, -2.4900, 0.0009 }, 7.1792 },
            { { 50.0, 2.4900, -0.0010 }, { 50.0, -2.4900, 0.0010 }, 7.1792 },
            { { 50.0, 2.4900, -0.0010 }, { 50.0, -2.4900, 0.0011 }, 7.2195 },
            { { 50.0, -0.0010, 2.4900 }, { 50.0, 0.0009, -2.4900 }, 4.8045 },
            { { 50.0, -0.0010, 2.4900 }, { 50.0, 0.0010, -2.4900 }, 4.8045 },
            { { 50.0, -0.0010, 2.4900 }, { 50.0, 0.0011, -2.4900 }, 4.7461 },
            { { 50.0, 2.5, 0.0 }, { 50.0, 0.0, -2.5 }, 4.3065 },
            { { 50.0, 2.5, 0.0 }, { 73.0, 25.0, -18.0 }, 27.1492 },
            { { 50.0, 2.5, 0.0 }, { 50.0, 3.1736, 0.5854 }, 1.0000 },
            { { 50.0, 2.5, 0.0 }, { 50.0, 3.2972, 0.0 }, 1.0000 },
            { { 60.2574, -34.0099, 36.2677 }, { 60.4626, -34.1751, 39.4387 }, 1.2644 },
            { { 90.8027, -2.0831, 1.4410 }, { 91.1528, -1.6435, 0.0447 }, 1.4441 },
            { { 6.7747, -0.2908, -2.4247 }, { 5.8714, -0.0985, -2.2286 }, 0.6377 },
            { { 2.0776, 0.0795, -1.1350 }, { 0.9033, -0.0636, -0.5514 }, 0.9082 },
        };
        for (const auto &[reference, candidate, distance] : pairs) {
            QCOMPARE(round4(Tintor::deltaE2000(reference, candidate)), distance);
            // Swapping the roles flips the signs of ΔC′ and ΔH′ together.
            QCOMPARE(round4(Tintor::deltaE2000(candidate, reference)), distance);
            QCOMPARE(Tintor::deltaE2000(reference, reference), 0.0);
        }
        // Hues 350° and 10° average to 0° and differ by 20°; wrapped wrongly they measure like 170°/190°.
        const ColorTriple at350 { 50.0, 13.7563, -3.4730 };
        const ColorTriple at10 { 50.0, 13.7563, 3.4730 };
        QCOMPARE(round4(Tintor::deltaE2000(at350, at10)), 4.9754);
        QCOMPARE(round4(Tintor::deltaE2000(at10, at350)), 4.9754);
        const ColorTriple at190 { 50.0, -13.7563, -3.4730 };
        const ColorTriple at170 { 50.0, -13.7563, 3.4730 };
        QCOMPARE(round4(Tintor::deltaE2000(at190, at170)), 5.3701);
    }

    void findNearestColorsKeepsEarlierOfEqualDistances()
    {
        // Distances in sequence order: far, near, near (5 below instead of 5 above), middle.
        const std::vector<LabCandidate> candidates = candidatesAtLightness({ 80.0, 55.0, 45.0, 65.0 });
        const ColorTriple reference { 50.0, 0.0, 0.0 };
        QCOMPARE(Tintor::deltaE2000(reference, { 55.0, 0.0, 0.0 }), Tintor::deltaE2000(reference, { 45.0, 0.0, 0.0 }));
        const std::pair<int, QList<quintptr>> counts[]
            = { { 2, { 1, 2 } }, { 4, { 1, 2, 3, 0 } }, { 10, { 1, 2, 3, 0 } } };
        for (const auto &[maximumCount, expected] : counts) {
            std::vector<NearestMatch> result;
            Tintor::findNearestColors(reference, candidates, result, maximumCount);
            QCOMPARE(referencesOf(result), expected);
            for (const NearestMatch &match : result)
                QCOMPARE(match.distance, Tintor::deltaE2000(reference, { candidates[match.reference].l, 0, 0 }));
        }
        // A new search forgets the previous result, also with no room or no candidates.
        std::vector<NearestMatch> result { { 0.0, 99 }, { 0.0, 98 }, { 0.0, 97 } };
        Tintor::findNearestColors({ 50.0, 0.0, 0.0 }, candidatesAtLightness({ 70.0 }), result, 3);
        QCOMPARE(referencesOf(result), QList<quintptr> { 0 });
        Tintor::findNearestColors({ 50.0, 0.0, 0.0 }, {}, result, 3);
        QVERIFY(result.empty());
        for (const int maximumCount : { 0, -3 }) {
            result = { { 1.0, 99 }, { 2.0, 98 } };
            Tintor::findNearestColors({ 50.0, 0.0, 0.0 }, candidatesAtLightness({ 50.0, 60.0 }), result, maximumCount);
            QVERIFY(result.empty());
        }
    }

    // The selection keeps exactly the first N of a full stable sort, however the list fills and overflows and
    // whatever the lightness and chroma tests skip; lightness beyond 0..100, overflowing chroma and saturated blues
    // (where the hue rotation term pulls differences below their lightness and chroma parts) included.
    void findNearestColorsAgreesWithFullStableSort()
    {
        enum Spread { Wide, Coarse, Clustered, Extreme, Blue };
        for (const auto &[maximumCount, candidateCount, spread] :
            { std::tuple(5, 2000, Wide), std::tuple(7, 1000, Coarse), std::tuple(300, 300, Coarse),
                std::tuple(6, 3000, Clustered), std::tuple(1, 3000, Clustered), std::tuple(6, 2000, Extreme),
                std::tuple(6, 3000, Blue) }) {
            QRandomGenerator random(4711u + quint32(candidateCount) + quint32(spread));
            const auto coarse = [&random](double step) { return step * random.bounded(-2, 3); };
            std::vector<LabCandidate> candidates;
            for (int i = 0; i < candidateCount; ++i) {
                LabCandidate candidate;
                if (spread == Coarse || spread == Clustered) {
                    // Clustered: many chips of nearly one lightness, equal distances among them.
                    candidate.l = spread == Coarse ? 50.0 + coarse(10.0) : 48.0 + coarse(0.5);
                    candidate.a = coarse(spread == Coarse ? 10.0 : 3.0);
                    candidate.b = coarse(spread == Coarse ? 10.0 : 3.0);
                } else if (spread == Blue) {
                    // Strong blues, where the hue rotation term weighs most.
                    candidate.l = 60.0 + random.bounded(20.0);
                    candidate.a = random.bounded(20.0);
                    candidate.b = -110.0 + random.bounded(30.0);
                } else {
                    candidate.l = spread == Extreme ? random.bounded(400.0) - 150.0 : random.bounded(100.0);
                    candidate.a = random.bounded(256.0) - 128.0;
                    candidate.b = random.bounded(256.0) - 128.0;
                }
                candidate.reference = quintptr(i);
                candidates.push_back(candidate);
            }
            if (spread == Extreme)
                candidates[candidateCount / 2].a = 1e50; // its difference overflows to 0
            const ColorTriple reference = spread == Wide ? ColorTriple { 50.0, 0.0, 0.0 }
                : spread == Blue                         ? ColorTriple { 70.0, 10.0, -95.0 }
                : ColorTriple { random.bounded(100.0), random.bounded(60.0) - 30.0, random.bounded(60.0) - 30.0 };
            for (const LabCandidate &candidate : candidates) {
                const double distance = Tintor::deltaE2000(reference, { candidate.l, candidate.a, candidate.b });
                QVERIFY(candidate.a > 1e30 || Tintor::lightnessLowerBound(reference, candidate) <= distance);
                QVERIFY(candidate.a > 1e30 || Tintor::differenceLowerBound(reference, candidate) <= distance);
            }
            std::vector<NearestMatch> all;
            for (const LabCandidate &candidate : candidates)
                all.push_back(
                    { Tintor::deltaE2000(reference, { candidate.l, candidate.a, candidate.b }), candidate.reference });
            std::stable_sort(all.begin(), all.end(),
                [](const NearestMatch &a, const NearestMatch &b) { return a.distance < b.distance; });
            all.resize(std::min<std::size_t>(all.size(), std::size_t(maximumCount)));

            std::vector<NearestMatch> result;
            Tintor::findNearestColors(reference, candidates, result, maximumCount);
            QCOMPARE(referencesOf(result), referencesOf(all));
        }
    }
};

HUELINK_TEST_MAIN(ColorScienceTest)
#include "ColorScienceTest.moc"
