// CIEDE2000 throughput and nearest-colour ranking time on one core.
//
// Targets: at least 5 million colour differences per second, and 100,000
// candidates ranked in under 25 ms. Each figure is the median of several
// runs over fixed pseudo-random Lab colours, so runs are comparable.

#include "color/ColorScience.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRuns = 9;
constexpr int kNearestCount = 5;

Tintor::ColorTriple randomLab(std::mt19937 &generator)
{
    std::uniform_real_distribution<double> lightness(0.0, 100.0);
    std::uniform_real_distribution<double> chroma(-128.0, 127.0);
    return {lightness(generator), chroma(generator), chroma(generator)};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Keeps the compiler from dropping work whose result is otherwise unused.
volatile double sink = 0.0;

void benchDeltaE(std::mt19937 &generator)
{
    constexpr int kPairs = 2'000'000;
    std::vector<Tintor::ColorTriple> references(1024);
    for (Tintor::ColorTriple &lab : references)
        lab = randomLab(generator);
    std::vector<Tintor::ColorTriple> candidates(kPairs);
    for (Tintor::ColorTriple &lab : candidates)
        lab = randomLab(generator);

    std::vector<double> rates;
    for (int run = 0; run < kRuns; ++run) {
        double sum = 0.0;
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < kPairs; ++i)
            sum += Tintor::deltaE2000(references[std::size_t(i) & 1023], candidates[std::size_t(i)]);
        const double elapsed = millisecondsSince(start);
        sink = sink + sum;
        rates.push_back(kPairs / (elapsed / 1000.0));
    }
    const double rate = median(rates);
    std::printf("deltaE2000: %.2f million evaluations/s (median of %d runs of %d pairs; target >= 5): %s\n",
                rate / 1e6, kRuns, kPairs, rate >= 5e6 ? "met" : "MISSED");
}

void benchNearest(std::mt19937 &generator, int candidateCount, bool checkTarget)
{
    std::vector<Tintor::LabCandidate> candidates(static_cast<std::size_t>(candidateCount));
    for (int i = 0; i < candidateCount; ++i) {
        const Tintor::ColorTriple lab = randomLab(generator);
        candidates[std::size_t(i)] = Tintor::LabCandidate{lab[0], lab[1], lab[2], quintptr(i)};
    }
    std::vector<Tintor::NearestMatch> result;
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const Tintor::ColorTriple reference = randomLab(generator);
        const Clock::time_point start = Clock::now();
        Tintor::findNearestColors(reference, candidates, result, kNearestCount);
        times.push_back(millisecondsSince(start));
        sink = sink + result.front().distance;
    }
    const double time = median(times);
    std::printf("findNearestColors: %7d candidates, N = %d: %8.3f ms (median of %d runs)", candidateCount,
                kNearestCount, time, kRuns);
    if (checkTarget)
        std::printf(" (target < 25 ms): %s", time < 25.0 ? "met" : "MISSED");
    std::printf("\n");
}

} // namespace

int main()
{
    std::mt19937 generator(20240611u);
    benchDeltaE(generator);
    benchNearest(generator, 1'000, false);
    benchNearest(generator, 10'000, false);
    benchNearest(generator, 100'000, true);
    return 0;
}
