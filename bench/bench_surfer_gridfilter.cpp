// Filters and terrain slope on a 2000 x 2000 grid.
#include "surfer/gridcalculus.h"
#include "surfer/gridfilter.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

const trelvik::Grid& surface() {
    static const trelvik::Grid g = [] {
        trelvik::Grid s(2000, 2000, 0, 20, 0, 20, 0);
        for (int r = 0; r < s.rows; ++r)
            for (int c = 0; c < s.cols; ++c) s.at(c, r) = std::sin(s.x(c)) * std::cos(s.y(r));
        for (int r = 900; r < 1100; ++r)
            for (int c = 900; c < 1100; ++c) s.at(c, r) = trelvik::kBlank;  // a hole, as blanked teeth have
        return s;
    }();
    return g;
}

void average9x9ThreePasses(benchmark::State& state) {
    surfer::GridFilterRequest r;
    r.code = 1;
    r.numRows = r.numCols = 9;
    r.passes = 3;
    for (auto _ : state) benchmark::DoNotOptimize(surfer::applyGridFilter(surface(), r).z.data());
}

void terrainSlope2000(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(surfer::terrainSlope(surface()).z.data());
}

} // namespace

BENCHMARK(average9x9ThreePasses)->Name("GridFilter_9x9_average_3_passes_2000x2000")->Unit(benchmark::kMillisecond);
BENCHMARK(terrainSlope2000)->Name("TerrainSlope_2000x2000")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
