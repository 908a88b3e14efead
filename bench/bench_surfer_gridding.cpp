// Gridding one million scattered points onto 1000 x 1000 nodes, and the regression plane
// of a million points.
#include "surfer/griddataalgorithms.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

namespace {

const trelvik::PointList& cloud() {
    static const trelvik::PointList pts = [] {
        std::mt19937 rng(42);
        std::uniform_real_distribution<double> u(0, 10);
        trelvik::PointList p;
        p.reserve(1000000);
        for (int i = 0; i < 1000000; ++i) {
            const double x = u(rng), y = u(rng);
            p.push_back({x, y, std::sin(x) * std::cos(y) + 0.1 * x});
        }
        return p;
    }();
    return pts;
}

template <void (*Method)(const trelvik::PointList&, trelvik::Grid&, const std::string&)>
void gridMillion(benchmark::State& state) {
    const auto& pts = cloud();
    for (auto _ : state) {
        trelvik::Grid g(1000, 1000, 0, 10, 0, 10);
        Method(pts, g, "bench");
        benchmark::DoNotOptimize(g.z.data());
    }
}

void regressionPlane(benchmark::State& state) {
    const auto& pts = cloud();
    for (auto _ : state) benchmark::DoNotOptimize(surfer::fitPolynomial(pts, 1, 1, 1, "bench").C);
}

} // namespace

BENCHMARK(gridMillion<surfer::gridTriangulation>)->Name("Triangulation_1M_to_1000x1000")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(gridMillion<surfer::gridNearestNeighbor>)->Name("NearestNeighbour_1M_to_1000x1000")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(gridMillion<surfer::gridInverseDistance>)->Name("InverseDistance_1M_to_1000x1000")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(gridMillion<surfer::gridKriging>)->Name("Kriging_1M_to_1000x1000")->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(regressionPlane)->Name("RegressionPlane_1M")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
