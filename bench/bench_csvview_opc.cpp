// Orientation patch count on a 1000 x 1000 crown-like grid (target < 0.3 s) and with
// eight rotations (target < 1.5 s): slope and orientation, classes, labelling,
// statistics and the per-file patch grid and results table.
#include "core/appstate.h"
#include "core/prompt.h"
#include "core/tempfiles.h"
#include "csvview/opccount.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

using namespace trelvik;
using namespace trelvik::csvview;

namespace {

constexpr int kN = 1000;

LatticeGrid crown() {
    LatticeGrid g(kN, kN);
    for (int r = 1; r <= kN; ++r)
        for (int c = 1; c <= kN; ++c) {
            const double x = (c - 1) * 0.01, y = (r - 1) * 0.01;
            g.at(c, r) = {x, y, std::sin(3 * x) * std::cos(2 * y) + 0.3 * x * y + 0.02 * std::sin(40 * x + 17 * y)};
        }
    return g;
}

void runCount(benchmark::State& state, bool opcr) {
    const PrivateFolder folder("bench_opc");
    const auto& dir = folder.dir();
    const LatticeGrid g = crown();
    OpcInput in;
    in.working = &g;
    in.xstep = 0.01;
    in.ystep = 0.01;
    in.ctx.folder = dir.string() + "/";
    in.ctx.baseName = "crown";
    OpcSettings s;
    s.opcr = opcr;
    s.saveImage = false;
    AppState app;
    ScriptedPrompt prompt;
    long patches = 0;
    for (auto _ : state) {
        const OpcResult r = ProcClump(s, in, app, prompt, noProgress());
        patches = r.runs.empty() ? 0 : r.runs[0].patches;
    }
    state.counters["patches"] = static_cast<double>(patches);
}

void BM_Opc1000(benchmark::State& state) { runCount(state, false); }
void BM_Opcr8_1000(benchmark::State& state) { runCount(state, true); }

// The slope analysis alone, the part of a count that is not the patch count's own.
void BM_SlopeOnly1000(benchmark::State& state) {
    const LatticeGrid g = crown();
    SlopeOptions o;
    o.wantSlope = o.wantOrient = true;
    for (auto _ : state) benchmark::DoNotOptimize(computeSlopeGrids(g, 0.01, 0.01, o));
}

void BM_LabelOnly1000(benchmark::State& state) {
    std::vector<int> cls(static_cast<std::size_t>(kN) * kN);
    std::uint32_t x = 12345;
    for (int& v : cls) {
        x = x * 1664525u + 1013904223u;
        v = 1 + static_cast<int>((x >> 16) % 3);
    }
    for (auto _ : state) benchmark::DoNotOptimize(labelPatches(cls, kN, kN, 2));
}

} // namespace

BENCHMARK(BM_Opc1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Opcr8_1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SlopeOnly1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LabelOnly1000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
