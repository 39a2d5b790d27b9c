#pragma once
// FN_BENCH_SMOKE=1 (set by scripts/test) asks a benchmark for one short pass on small inputs:
// it proves the benchmark still builds, runs and checks its results, and measures nothing.
#include <cstdlib>
#include <cstring>

namespace fn::bench {

inline bool SmokeRun() {
    const char* v = std::getenv("FN_BENCH_SMOKE");
    return v && *v && std::strcmp(v, "0") != 0;
}

}  // namespace fn::bench
