// The crest and rake measures on long inputs: the approach angle of a crest slice of
// many points (running means, angles, block and grand means, the table's text), the
// capture area between a crest and its plane, and the rake fits of a long profile with
// many rake lengths (each fit sums over the profile up to its threshold).
#include "toothfeatures/appang.h"
#include "toothfeatures/capturearea.h"
#include "toothfeatures/rakefit.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

using namespace trelvik;
using namespace trelvik::toothfeatures;

PointList wavyCrest(int m) {
    PointList p;
    p.reserve(static_cast<std::size_t>(m));
    for (int i = 0; i < m; ++i) p.push_back({0.01 * i, 0.002 * i, std::sin(0.003 * i) + 0.1 * std::sin(0.05 * i)});
    return p;
}

void BM_ApproachAngle(benchmark::State& state) {
    const PointList crest = wavyCrest(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const auto s = computeApproachAngle(crest);
        const auto lines = approachAngleTable(s);
        benchmark::DoNotOptimize(lines.size());
    }
    state.counters["points"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_ApproachAngle)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CaptureArea(benchmark::State& state) {
    const PointList crest = wavyCrest(static_cast<int>(state.range(0)));
    PointList plane = crest;
    for (auto& q : plane) q.z = 2 + 0.1 * q.x;
    const std::vector<bool> gaps(crest.size(), false);
    for (auto _ : state) {
        const auto r = captureArea(crest, plane, gaps);
        const auto lines = captureResultsLines(r);
        benchmark::DoNotOptimize(lines.size());
    }
    state.counters["points"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_CaptureArea)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_RakeRows(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    std::vector<double> D, Z;
    for (int j = 0; j < n; ++j) {
        D.push_back(0.01 * j);
        Z.push_back(-0.3 * 0.01 * j + 0.02 * std::sin(0.1 * j));
    }
    RakePass pass;
    pass.interval = 0.01 * n / static_cast<double>(state.range(1));
    pass.steps = static_cast<double>(state.range(1));
    for (auto _ : state) {
        const auto rows = rakeRows(D, Z, pass);
        benchmark::DoNotOptimize(rows.size());
    }
    state.counters["points"] = n;
    state.counters["rows"] = static_cast<double>(state.range(1));
}
BENCHMARK(BM_RakeRows)->Args({10000, 20})->Args({10000, 1000})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
