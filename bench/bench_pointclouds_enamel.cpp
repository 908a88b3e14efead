// Enamel thickness between two clouds of one million points each (target under 2 s):
// the nearest distances with their search record, and the whole "Calculate" command
// with reading both point files and writing the distance and record files.
#include "core/appstate.h"
#include "core/prompt.h"
#include "support/tempfolder.h"
#include "formats/xyzpointfile.h"
#include "pointclouds/enamelthickness.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

using namespace trelvik;
using namespace trelvik::ptcloud;

namespace {

// A dome of scattered points 10 units across and, `offset` below it, a second one.
PointList dome(std::size_t n, unsigned seed, double offset) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-5, 5);
    PointList p(n);
    for (auto& q : p) {
        const double x = u(rng), y = u(rng);
        q = {x, y, 4 - 0.08 * (x * x + y * y) - offset};
    }
    return p;
}

const PointList& outer() {
    static const PointList p = dome(1000000, 1, 0);
    return p;
}
const PointList& inner() {
    static const PointList p = dome(1000000, 2, 1.2);
    return p;
}

void BM_NearestDistances1M(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(NearestDistances(outer(), inner(), 0.25));
}
BENCHMARK(BM_NearestDistances1M)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EnamelCommand1M(benchmark::State& state) {
    trelvik::testing::TempFolder folder;
    formats::writeXyzPointFile(folder.path("outer.txt"), outer());
    formats::writeXyzPointFile(folder.path("inner.txt"), inner());
    AppState app;
    ScriptedPrompt prompt;
    PtCloudList list;
    for (auto _ : state) {
        PtCloudContext ctx{app, prompt, list};
        ctx.File2Folder = folder.dir().string();
        ctx.Text2 = "outer.txt";
        AddFilename(ctx);
        ctx.Text2 = "inner.txt";
        AddFilename(ctx);
        if (!cmdEnamThickCalc(ctx, {})) state.SkipWithError("the command failed");
    }
}
BENCHMARK(BM_EnamelCommand1M)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
