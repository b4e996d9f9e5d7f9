#include "color/ColorScience.h"

#include <QColor>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Tintor {

namespace {

constexpr double kEpsilon = 0.008856451679035631; // 216 / 24389
constexpr double kKappa = 903.2962962962963;      // 24389 / 27
constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
constexpr double k25Pow7 = 6103515625.0;
// Cosine and sine of 30°, 6° and 63° (0.5235987755982988,
// 0.10471975511965977 and 1.0995574287564276 radians).
constexpr double kCos30 = 0.8660254037844387;
constexpr double kSin30 = 0.49999999999999994;
constexpr double kCos6 = 0.9945218953682733;
constexpr double kSin6 = 0.10452846326765346;
constexpr double kCos63 = 0.4539904997395468;
constexpr double kSin63 = 0.8910065241883678;

double decodeChannel(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double encodeChannel(double v)
{
    return v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 0.4166666666666667) - 0.055;
}

double labF(double t)
{
    return t > kEpsilon ? std::pow(t, 0.3333333333333333) : (kKappa * t + 16.0) / 116.0;
}

double pow7(double x)
{
    const double x2 = x * x;
    const double x3 = x2 * x;
    return x3 * x3 * x;
}

double clamp01(double v)
{
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

} // namespace

ColorTriple srgbToXyz(const ColorTriple &srgb)
{
    const double r = decodeChannel(srgb[0]);
    const double g = decodeChannel(srgb[1]);
    const double b = decodeChannel(srgb[2]);
    return {0.4124 * r + 0.3576 * g + 0.1805 * b,
            0.2126 * r + 0.7152 * g + 0.0722 * b,
            0.0193 * r + 0.1192 * g + 0.9505 * b};
}

ColorTriple xyzToLab(const ColorTriple &xyz, const ColorTriple &white)
{
    const double fx = labF(xyz[0] / white[0]);
    const double fy = labF(xyz[1] / white[1]);
    const double fz = labF(xyz[2] / white[2]);
    return {116.0 * fy - 16.0, 500.0 * (fx - fy), 200.0 * (fy - fz)};
}

ColorTriple labToXyz(const ColorTriple &lab, const ColorTriple &white)
{
    const double fy = (lab[0] + 16.0) / 116.0;
    const double fx = lab[1] / 500.0 + fy;
    const double fz = fy - lab[2] / 200.0;
    const double fx3 = fx * fx * fx;
    const double fz3 = fz * fz * fz;
    const double xr = fx3 > kEpsilon ? fx3 : (116.0 * fx - 16.0) / kKappa;
    const double yr = lab[0] > kKappa * kEpsilon ? fy * fy * fy : lab[0] / kKappa;
    const double zr = fz3 > kEpsilon ? fz3 : (116.0 * fz - 16.0) / kKappa;
    return {xr * white[0], yr * white[1], zr * white[2]};
}

ColorTriple xyzToSrgb(const ColorTriple &xyz)
{
    const double x = xyz[0];
    const double y = xyz[1];
    const double z = xyz[2];
    const double r = 3.2406254773200533 * x - 1.5372079722103185 * y - 0.4986285986982479 * z;
    const double g = -0.9689307147293194 * x + 1.8757560608852413 * y + 0.04151752384295394 * z;
    const double b = 0.05571012044551061 * x - 0.2040210505984867 * y + 1.0569959422543882 * z;
    return {encodeChannel(r), encodeChannel(g), encodeChannel(b)};
}

void clampUnit(ColorTriple &srgb)
{
    for (double &channel : srgb)
        channel = clamp01(channel);
}

ColorTriple colorToLab(const QColor &color)
{
    return xyzToLab(srgbToXyz({color.redF(), color.greenF(), color.blueF()}), D65White);
}

ColorTriple labToClampedSrgb(const ColorTriple &lab)
{
    ColorTriple srgb = xyzToSrgb(labToXyz(lab, D65White));
    clampUnit(srgb);
    return srgb;
}

namespace {

// deltaE2000, or infinity once the lightness and chroma terms alone show
// that the difference squared is above `limitSquared`, before the costly
// hue terms. Whatever the limit, a difference that is returned is the same
// value, computed by the same operations.
double deltaE2000Within(const ColorTriple &reference, const ColorTriple &candidate, double limitSquared)
{
    const double l1 = reference[0], a1 = reference[1], b1 = reference[2];
    const double l2 = candidate[0], a2 = candidate[1], b2 = candidate[2];

    const double c1 = std::sqrt(a1 * a1 + b1 * b1);
    const double c2 = std::sqrt(a2 * a2 + b2 * b2);
    const double cMean7 = pow7((c1 + c2) / 2.0);
    const double g = 0.5 * (1.0 - std::sqrt(cMean7 / (cMean7 + k25Pow7)));

    const double a1p = (1.0 + g) * a1;
    const double a2p = (1.0 + g) * a2;
    const double c1p = std::sqrt(a1p * a1p + b1 * b1);
    const double c2p = std::sqrt(a2p * a2p + b2 * b2);

    const double deltaLp = l2 - l1;
    const double deltaCp = c2p - c1p;
    const double lMean = (l1 + l2) / 2.0;
    const double cpMean = (c1p + c2p) / 2.0;
    const double lMinus50Sq = (lMean - 50.0) * (lMean - 50.0);
    const double sL = 1.0 + 0.015 * lMinus50Sq / std::sqrt(20.0 + lMinus50Sq);
    const double sC = 1.0 + 0.045 * cpMean;
    const double cpMean7 = pow7(cpMean);
    const double rC = 2.0 * std::sqrt(cpMean7 / (cpMean7 + k25Pow7));
    const double termL = deltaLp / sL;
    const double termC = deltaCp / sC;

    // The sum below is termL^2 + x^2 + y^2 + RT x y with x = termC and
    // y = termH. RT = -sin(2 dTheta) RC with dTheta in (0, 30] degrees, so
    // RT^2 <= 0.75 RC^2; over every y the least of x^2 + y^2 + RT x y is
    // x^2 (1 - RT^2 / 4) >= x^2 (1 - 0.1875 RC^2), positive as RC <= 2.
    // The margin covers the rounding of both sums.
    const double leastSum = termL * termL + termC * termC * (1.0 - 0.1875 * rC * rC);
    if (leastSum * (1.0 - 1e-9) > limitSquared)
        return std::numeric_limits<double>::infinity();

    double h1p = std::atan2(b1, a1p);
    if (h1p < 0.0)
        h1p += kTwoPi;
    double h2p = std::atan2(b2, a2p);
    if (h2p < 0.0)
        h2p += kTwoPi;

    double deltahp = h2p - h1p;
    if (deltahp > kPi)
        deltahp -= kTwoPi;
    else if (deltahp < -kPi)
        deltahp += kTwoPi;
    const double deltaHp = 2.0 * std::sqrt(c1p * c2p) * std::sin(deltahp / 2.0);

    double hpMean;
    if (std::fabs(h1p - h2p) <= kPi)
        hpMean = (h1p + h2p) / 2.0;
    else if (h1p + h2p < kTwoPi)
        hpMean = (h1p + h2p + kTwoPi) / 2.0;
    else
        hpMean = (h1p + h2p - kTwoPi) / 2.0;

    // T from one sine and cosine of the mean hue; the multiple angles and
    // the 30°, 6° and 63° shifts follow by identity. Four fewer
    // trigonometric calls per evaluation; the result agrees to about 1e-13.
    const double cosH = std::cos(hpMean);
    const double sinH = std::sin(hpMean);
    const double cos2H = cosH * cosH - sinH * sinH;
    const double sin2H = 2.0 * sinH * cosH;
    const double cos3H = cosH * cos2H - sinH * sin2H;
    const double sin3H = sinH * cos2H + cosH * sin2H;
    const double cos4H = cos2H * cos2H - sin2H * sin2H;
    const double sin4H = 2.0 * sin2H * cos2H;
    const double t = 1.0 - 0.17 * (cosH * kCos30 + sinH * kSin30) + 0.24 * cos2H
                   + 0.32 * (cos3H * kCos6 - sin3H * kSin6) - 0.2 * (cos4H * kCos63 + sin4H * kSin63);

    const double sH = 1.0 + 0.015 * cpMean * t;

    // Δθ in degrees, from the mean hue in degrees.
    const double hpMeanDegrees = hpMean * (180.0 / kPi);
    const double ratio = (hpMeanDegrees - 275.0) / 25.0;
    const double deltaThetaDegrees = 30.0 * std::exp(-ratio * ratio);
    const double rT = -std::sin(2.0 * deltaThetaDegrees * (kPi / 180.0)) * rC;

    const double termH = deltaHp / sH;
    const double sum = termL * termL + termC * termC + termH * termH + rT * termC * termH;
    return std::sqrt(sum > 0.0 ? sum : 0.0);
}

} // namespace

double deltaE2000(const ColorTriple &reference, const ColorTriple &candidate)
{
    return deltaE2000Within(reference, candidate, std::numeric_limits<double>::infinity());
}

double lightnessLowerBound(const ColorTriple &reference, const LabCandidate &candidate)
{
    // For every finite pair, deltaE2000 >= |dL| / (1 + 0.015 * |Lmean - 50|):
    // - The chroma and hue part of the sum, x^2 + y^2 + RT * x * y with
    //   x = dC'/SC and y = dH'/SH, is never negative: |RT| = |sin(2 dTheta)|
    //   * RC <= RC < 2, and x^2 + y^2 >= 2 |x y|. (SC >= 1 and SH >= 1, since
    //   T > 0.36 over all hues, so x and y are finite.) Hence the result is
    //   at least |dL'| / SL, and dL' is dL.
    // - SL = 1 + 0.015 u^2 / sqrt(20 + u^2) with u = Lmean - 50, and
    //   u^2 / sqrt(20 + u^2) < |u|, so SL < 1 + 0.015 |u|.
    // No square root here, so the test costs far less than the difference.
    const double deltaL = candidate.l - reference[0];
    const double meanLightness = (candidate.l + reference[0]) / 2.0;
    return std::fabs(deltaL) / (1.0 + 0.015 * std::fabs(meanLightness - 50.0));
}

namespace {

// The weight of the a-b distance in differenceLowerBound: 1 - sin(60°).
constexpr double kPlaneWeight = 0.1339745962155613 * (1.0 - 1e-12);
// SC's slope 0.045 times the largest a' scale 1 + G = 1.5, over two chromas.
constexpr double kChromaScaleSlope = 0.045 * 1.5 / 2.0;

double differenceLowerBoundSquared(double deltaL, double meanLightness, double deltaA, double deltaB,
                                   double chromaSum)
{
    const double sL = 1.0 + 0.015 * std::fabs(meanLightness - 50.0);
    const double sC = 1.0 + kChromaScaleSlope * chromaSum;
    return deltaL * deltaL / (sL * sL) + kPlaneWeight * (deltaA * deltaA + deltaB * deltaB) / (sC * sC);
}

} // namespace

double differenceLowerBound(const ColorTriple &reference, const LabCandidate &candidate)
{
    // With x = dC'/SC and y = dH'/SH as in lightnessLowerBound:
    // - RT = -sin(2 dTheta) RC with 0 < dTheta <= 30°, so |RT| < 2 sin(60°) and
    //   x^2 + y^2 + RT x y >= (1 - |RT| / 2)(x^2 + y^2) >= (1 - sin 60°)(x^2 + y^2).
    // - T <= 1 + 0.17 + 0.24 + 0.32 + 0.2 < 3, so SH = 1 + 0.015 C'mean T < SC
    //   and x^2 + y^2 >= (dC'^2 + dH'^2) / SC^2.
    // - dC'^2 + dH'^2 = C1'^2 + C2'^2 - 2 C1' C2' cos(dh') is the squared
    //   distance in the a'b' plane, and a' = (1 + G) a with one G >= 0 for both,
    //   so it is at least da^2 + db^2.
    // - G <= 0.5, so C' <= 1.5 C and SC = 1 + 0.045 C'mean <= 1 + 0.03375 (C1 + C2).
    // Together with the lightness part: dE^2 >= dL^2 / SL^2 + (1 - sin 60°)
    // (da^2 + db^2) / (1 + 0.03375 (C1 + C2))^2.
    const double chromaSum =
        std::sqrt(reference[1] * reference[1] + reference[2] * reference[2])
                             + std::sqrt(candidate.a * candidate.a + candidate.b * candidate.b);
    return std::sqrt(differenceLowerBoundSquared(candidate.l - reference[0], (candidate.l + reference[0]) / 2.0,
                                                 candidate.a - reference[1], candidate.b - reference[2], chromaSum));
}

namespace {

// Far below any overflow in deltaE2000 (chroma to the 7th power, the
// lightness term squared): for larger or non-finite values the difference
// may come out as 0 or not a number, where the bound above does not hold.
constexpr double kBoundedMagnitude = 1e30;

bool boundHolds(double l, double a, double b)
{
    return std::fabs(l) + std::fabs(a) + std::fabs(b) < kBoundedMagnitude;
}

} // namespace

void findNearestColors(const ColorTriple &reference, const std::vector<LabCandidate> &candidates,
                       std::vector<NearestMatch> &result, int maximumCount)
{
    result.clear();
    if (maximumCount <= 0)
        return;
    const std::size_t limit = static_cast<std::size_t>(maximumCount);
    result.reserve(limit + 1);
    const bool referenceBounded = boundHolds(reference[0], reference[1], reference[2]);
    const double referenceChroma = std::sqrt(reference[1] * reference[1] + reference[2] * reference[2]);
    for (const LabCandidate &candidate : candidates) {
        // Skipped only when even the bound, less a margin for rounding, is
        // beyond the last kept match: the full difference could not enter
        // the list, so the result is the same as without the test.
        // lightnessLowerBound with its division multiplied out.
        if (result.size() == limit && referenceBounded
            && std::fabs(candidate.l - reference[0]) * (1.0 - 1e-9)
                   > (result.back().distance + 1e-100)
                         * (1.0 + 0.015 * std::fabs((candidate.l + reference[0]) / 2.0 - 50.0))
            && boundHolds(candidate.l, candidate.a, candidate.b))
            continue;
        // The same, with the a-b distance: one square root instead of the
        // dozens of operations of the difference itself.
        if (result.size() == limit && referenceBounded && boundHolds(candidate.l, candidate.a, candidate.b)) {
            const double threshold = (result.back().distance + 1e-100) * (1.0 + 1e-9);
            const double chromaSum = referenceChroma + std::sqrt(candidate.a * candidate.a + candidate.b * candidate.b);
            if (differenceLowerBoundSquared(candidate.l - reference[0], (candidate.l + reference[0]) / 2.0,
                                            candidate.a - reference[1], candidate.b - reference[2], chromaSum)
                    * (1.0 - 1e-9)
                > threshold * threshold)
                continue;
        }
        // A full list also lets the difference stop after its lightness and
        // chroma terms when those alone put it beyond the last kept match.
        const bool bounded = result.size() == limit && referenceBounded && result.back().distance >= 1e-100
                          && boundHolds(candidate.l, candidate.a, candidate.b);
        const double distance
            = deltaE2000Within(reference, {candidate.l, candidate.a, candidate.b},
                               bounded ? result.back().distance * result.back().distance
                                       : std::numeric_limits<double>::infinity());
        // Full list and not nearer than the last kept match: nothing to do.
        if (result.size() == limit && !(distance < result.back().distance))
            continue;
        const auto position = std::upper_bound(
            result.begin(), result.end(), distance,
            [](double value, const NearestMatch &match) { return value < match.distance; });
        result.insert(position, NearestMatch{distance, candidate.reference});
        if (result.size() > limit)
            result.pop_back();
    }
}

} // namespace Tintor
