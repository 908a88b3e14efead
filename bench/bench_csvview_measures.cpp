// Timing of the viewer's whole-grid steps on a 1000 x 1000 lattice:
// reading a lattice CSV (target < 1 s), slope + orientation + angularity (< 0.2 s),
// surface area, volume and relief index (< 0.05 s).
#include "core/prompt.h"
#include "core/tempfiles.h"
#include "csvview/latticeread.h"
#include "csvview/slopeanalysis.h"
#include "csvview/surfacearea.h"
#include "formats/latticecsv.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

using namespace trelvik;
using namespace trelvik::csvview;

namespace {

constexpr int kN = 1000;
constexpr double kStep = 0.01;

double crown(double x, double y) { return std::sin(3 * x) * std::cos(2 * y) + 0.3 * x * y; }

LatticeGrid makeCrown() {
    LatticeGrid g(kN, kN);
    for (int r = 1; r <= kN; ++r)
        for (int c = 1; c <= kN; ++c) {
            const double x = (c - 1) * kStep, y = (r - 1) * kStep;
            g.at(c, r) = {x, y, crown(x, y)};
        }
    return g;
}

void BM_ReadLatticeCsv(benchmark::State& state) {
    const PrivateFolder folder("bench_csvview");
    const auto& dir = folder.dir();
    PointList pts;
    pts.reserve(static_cast<std::size_t>(kN) * kN);
    for (int r = 0; r < kN; ++r)
        for (int c = 0; c < kN; ++c) pts.push_back({c * kStep, r * kStep, crown(c * kStep, r * kStep)});
    formats::writeLatticeCsv((dir / "crown.csv").string(), pts);
    ScriptedPrompt prompt;
    ReadCsvOptions o;
    o.folder = dir.string();
    o.fileName = "crown.csv";
    for (auto _ : state) {
        CurrentGrid g;
        PointList read;
        benchmark::DoNotOptimize(ReadCsvGrid(o, g, read, prompt));
    }
}
BENCHMARK(BM_ReadLatticeCsv)->Unit(benchmark::kMillisecond);

void BM_SlopeOrientAngularity(benchmark::State& state) {
    const LatticeGrid g = makeCrown();
    SlopeOptions o;
    o.choice = SlopeChoice::Aspect;
    slopeFlags(o.choice, o);
    for (auto _ : state) benchmark::DoNotOptimize(computeSlopeGrids(g, kStep, kStep, o));
}
BENCHMARK(BM_SlopeOrientAngularity)->Unit(benchmark::kMillisecond);

void BM_SurfaceAreaVolume(benchmark::State& state) {
    const LatticeGrid g = makeCrown();
    for (auto _ : state) benchmark::DoNotOptimize(measureSurface(g, kStep, kStep, -2));
}
BENCHMARK(BM_SurfaceAreaVolume)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
