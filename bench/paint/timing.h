#pragma once
// A small timing harness: the median of repeated runs, printed beside a baseline of the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace fn::bench {

template <class F>
double MedianMs(F&& run, int repetitions) {
    run();  // warm caches and allocations
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        const auto start = std::chrono::steady_clock::now();
        run();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::nth_element(times.begin(), times.begin() + repetitions / 2, times.end());
    return times[static_cast<size_t>(repetitions / 2)];
}

inline void Report(const char* name, double ms, const char* baselineName, double baselineMs, double goal) {
    const double ratio = ms / baselineMs;
    std::printf("%-34s %8.3f ms   %-22s %8.3f ms   %6.2fx  (goal <= %.0fx) %s\n", name, ms, baselineName,
                baselineMs, ratio, goal, ratio <= goal ? "ok" : "OVER");
}

// Keeps a computed value alive so that the compiler cannot drop the work.
inline volatile unsigned long long sink = 0;

}  // namespace fn::bench
