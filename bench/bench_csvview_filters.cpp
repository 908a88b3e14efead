// Image filters of the viewer on a 1000 x 1000 working grid (target: a 5 x 5
// convolution in under 0.1 s).
#include "csvview/imagefilters.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace trelvik::csvview;

namespace {

LatticeGrid bigGrid() {
    LatticeGrid g(1000, 1000);
    for (int r = 1; r <= 1000; ++r)
        for (int c = 1; c <= 1000; ++c) g.at(c, r) = {double(c), double(r), std::sin(c * 0.01) * std::cos(r * 0.013)};
    g.zmin = -1;
    g.zmax = 1;
    return g;
}

void BM_Convolution5x5(benchmark::State& state) {
    const LatticeGrid g = bigGrid();
    Kernel k(2, 2, 1.0 / 25);
    for (auto _ : state) benchmark::DoNotOptimize(ConvolveGridKernel(g, k));
}
BENCHMARK(BM_Convolution5x5)->Unit(benchmark::kMillisecond);

void BM_Laplacian(benchmark::State& state) {
    const LatticeGrid g = bigGrid();
    for (auto _ : state) benchmark::DoNotOptimize(LaplacianFilter(g));
}
BENCHMARK(BM_Laplacian)->Unit(benchmark::kMillisecond);

void BM_LocalMax7x7(benchmark::State& state) {
    const LatticeGrid g = bigGrid();
    for (auto _ : state) benchmark::DoNotOptimize(LocalMaxFilter(g, 7, 0.1, 0.1));
}
BENCHMARK(BM_LocalMax7x7)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
