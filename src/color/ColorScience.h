#pragma once

#include <array>
#include <vector>

#include <QtGlobal>

class QColor;

namespace Tintor {

// Colour triples: sRGB fractions (gamma-encoded), CIE XYZ relative to Y = 1,
// or CIELAB.
using ColorTriple = std::array<double, 3>;

// Reference white of every Lab conversion in the system.
inline constexpr ColorTriple D65White{0.95047, 1.0, 1.08883};

// One candidate of a nearest search; `reference` is the caller's and is
// never dereferenced here.
struct LabCandidate
{
    double l = 0.0;
    double a = 0.0;
    double b = 0.0;
    quintptr reference = 0;
};

struct NearestMatch
{
    double distance = 0.0;
    quintptr reference = 0;
};

ColorTriple srgbToXyz(const ColorTriple &srgb);
ColorTriple xyzToLab(const ColorTriple &xyz, const ColorTriple &white = D65White);
ColorTriple labToXyz(const ColorTriple &lab, const ColorTriple &white = D65White);
// Not clamped: the result may lie outside 0..1.
ColorTriple xyzToSrgb(const ColorTriple &xyz);
void clampUnit(ColorTriple &srgb);
ColorTriple colorToLab(const QColor &color);
// Lab (D65) to displayable sRGB fractions, clamped.
ColorTriple labToClampedSrgb(const ColorTriple &lab);

// CIEDE2000 with kL = kC = kH = 1.
double deltaE2000(const ColorTriple &reference, const ColorTriple &candidate);

// A value deltaE2000(reference, candidate) never falls below, from the
// lightness alone; used to skip candidates in the nearest search.
double lightnessLowerBound(const ColorTriple &reference, const LabCandidate &candidate);

// A tighter value it never falls below, from lightness, a and b together.
double differenceLowerBound(const ColorTriple &reference, const LabCandidate &candidate);

// Keeps the `maximumCount` nearest candidates, nearest first; of equal
// distances the earlier candidate stands first.
void findNearestColors(const ColorTriple &reference, const std::vector<LabCandidate> &candidates,
                       std::vector<NearestMatch> &result, int maximumCount);

} // namespace Tintor
