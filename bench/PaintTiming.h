#pragma once

#include <functional>

// Times a piece of work many times over and prints its spread, for the
// paint benchmarks.
class PaintTiming
{
public:
    struct Figures
    {
        double median = 0;
        double mean = 0;
        double p95 = 0;
        double worst = 0;
    };

    // Times `once` only; `prepare` (storing the state a paint reads) runs
    // before it, untimed. Five untimed rounds warm the caches first.
    static Figures measure(int count, const std::function<void(int)> &once,
                           const std::function<void(int)> &prepare = [](int) {});
    static void print(const char *what, const Figures &figures);
};
