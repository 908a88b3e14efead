// Folder batch of 500 point files of 150 x 150 nodes: slope statistics, the patch
// count with eight rotations and the surface measures, three batches in all
// (target < 30 s together).
#include "core/appstate.h"
#include "core/prompt.h"
#include "core/tempfiles.h"
#include "csvview/batchrun.h"
#include "formats/latticecsv.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

using namespace trelvik;
using namespace trelvik::csvview;

namespace {

void BM_Batch500(benchmark::State& state) {
    const PrivateFolder folder("bench_batch");
    const auto& dir = folder.dir();
    for (int f = 0; f < 500; ++f) {
        PointList pts;
        pts.reserve(150 * 150);
        for (int r = 0; r < 150; ++r)
            for (int c = 0; c < 150; ++c) {
                const double x = c * 0.02, y = r * 0.02;
                pts.push_back({x, y, std::sin(3 * x + f * 0.01) * std::cos(2 * y) + 0.1 * x * y});
            }
        formats::writeLatticeCsv((dir / ("t" + std::to_string(1000 + f) + ".dat")).string(), pts);
    }
    AppState app;
    ScriptedPrompt prompt;
    BatchOptions o;
    o.folder = dir.string();
    o.slope.choice = SlopeChoice::Slope;
    o.slope.saveStats = true;
    o.saveSAVolStats = true;
    for (auto _ : state) {
        for (AllFilesMode m : {AllFilesMode::AspectSlope, AllFilesMode::Clump, AllFilesMode::CalcStats}) {
            o.mode = m;
            benchmark::DoNotOptimize(ProcessAllFiles(o, app, prompt, noProgress()).filesDone);
        }
    }
}

} // namespace

BENCHMARK(BM_Batch500)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_MAIN();
