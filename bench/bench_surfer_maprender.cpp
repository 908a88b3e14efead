// Drawing a 2000 x 2000 grid at screen resolution (an 800 x 800 pixel frame), each map
// type. The window's budget is 0.5 s per map.
#include "surfer/maprender.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {
const trelvik::Grid& bigGrid() {
    static trelvik::Grid g = [] {
        trelvik::Grid grid(2000, 2000, 0, 10, 0, 10, 0);
        for (int r = 0; r < grid.rows; ++r)
            for (int c = 0; c < grid.cols; ++c)
                grid.at(c, r) = std::sin(grid.x(c)) * std::cos(grid.y(r) * 0.7) + 0.05 * grid.x(c);
        return grid;
    }();
    return g;
}
constexpr int kPixels = 800;
} // namespace

static void BM_Relief(benchmark::State& st) {
    for (auto _ : st) benchmark::DoNotOptimize(surfer::renderRelief(bigGrid(), kPixels, kPixels, 135, 45));
}
BENCHMARK(BM_Relief)->Unit(benchmark::kMillisecond);

static void BM_ColourImage(benchmark::State& st) {
    for (auto _ : st) benchmark::DoNotOptimize(surfer::renderColourImage(bigGrid(), kPixels, kPixels));
}
BENCHMARK(BM_ColourImage)->Unit(benchmark::kMillisecond);

static void BM_Contours(benchmark::State& st) {
    const auto& g = bigGrid();
    const auto levels = surfer::contourLevels(g.zMin(), g.zMax(), 10);
    for (auto _ : st) benchmark::DoNotOptimize(surfer::traceContours(g, levels));
}
BENCHMARK(BM_Contours)->Unit(benchmark::kMillisecond);

static void BM_Surface(benchmark::State& st) {
    surfer::SurfaceView v;
    v.xyUnitsPerInch = 10.0 / 6;
    v.zUnitsPerInch = 10.0 / 6;
    for (auto _ : st) benchmark::DoNotOptimize(surfer::renderSurface(bigGrid(), kPixels, kPixels, v));
}
BENCHMARK(BM_Surface)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
