#pragma once
// A small timing harness: the median of repeated runs, printed beside a baseline of the same run.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <utility>
#include <vector>

namespace fn::bench {

// On the host the thread's own processor time is taken, so that other work on a shared machine
// does not count; under the platform (Wine) the wall clock.
inline double NowMs() {
#ifdef _WIN32
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
#else
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
#endif
}

template <class F>
double TimeMs(F&& run) {
    const double start = NowMs();
    run();
    return NowMs() - start;
}

inline double Median(std::vector<double> times) {
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

template <class F>
double MedianMs(F&& run, int repetitions) {
    run();  // warm caches and allocations
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) times.push_back(TimeMs(run));
    return Median(times);
}

// Medians of a piece of work and its baseline, run alternately so that a change in the load of
// the machine affects both alike.
template <class F, class B>
std::pair<double, double> CompareMs(F&& run, B&& baseline, int repetitions) {
    run();
    baseline();
    std::vector<double> a, b;
    for (int i = 0; i < repetitions; ++i) {
        a.push_back(TimeMs(run));
        b.push_back(TimeMs(baseline));
    }
    return {Median(a), Median(b)};
}

// Prints both times and a ratio measured apart from them (the median of paired ratios, say).
inline void ReportRatio(const char* name, double ms, const char* baselineName, double baselineMs, double ratio,
                        double goal) {
    std::printf("%-34s %8.3f ms   %-22s %8.3f ms   %6.2fx  (goal <= %gx) %s\n", name, ms, baselineName,
                baselineMs, ratio, goal, ratio <= goal ? "ok" : "OVER");
}

inline void Report(const char* name, double ms, const char* baselineName, double baselineMs, double goal) {
    ReportRatio(name, ms, baselineName, baselineMs, ms / baselineMs, goal);
}

// Keeps a computed value alive so that the compiler cannot drop the work.
inline volatile unsigned long long sink = 0;

}  // namespace fn::bench
