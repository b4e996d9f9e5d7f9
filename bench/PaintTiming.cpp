#include "PaintTiming.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

PaintTiming::Figures PaintTiming::measure(int count, const std::function<void(int)> &once,
                                          const std::function<void(int)> &prepare)
{
    constexpr int kWarmUps = 5;
    std::vector<double> times;
    times.reserve(std::max(count, 1));
    QElapsedTimer timer;
    for (int i = 0; i < count + kWarmUps; ++i) {
        prepare(i);
        timer.start();
        once(i);
        if (i >= kWarmUps)
            times.push_back(timer.nsecsElapsed() / 1e6);
    }
    Figures figures;
    if (times.empty())
        return figures;
    std::sort(times.begin(), times.end());
    figures.median = times[times.size() / 2];
    figures.p95 = times[std::min(times.size() - 1, times.size() * 95 / 100)];
    figures.worst = times.back();
    for (const double t : times)
        figures.mean += t;
    figures.mean /= double(times.size());
    return figures;
}

void PaintTiming::print(const char *what, const Figures &figures)
{
    std::printf("%-40s median %7.3f ms  mean %7.3f ms  p95 %7.3f ms  worst %7.3f ms\n", what, figures.median,
                figures.mean, figures.p95, figures.worst);
}
