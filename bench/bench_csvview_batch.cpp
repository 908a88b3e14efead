// Folder batch of 500 point files of 150 x 150 nodes: slope statistics, the patch
// count with eight rotations and the surface measures, three batches in all
// (target < 30 s together). And the patch count's "All files" on 50 files in a folder of
// an ordinary disk, where every file a step puts in place is synced: its cost in writes,
// syncs and renames (target: within 1.2x of one write and sync per file).
#include "core/appstate.h"
#include "core/prompt.h"
#include "core/tempfiles.h"
#include "csvview/batchrun.h"
#include "formats/latticecsv.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace trelvik;
using namespace trelvik::csvview;

namespace {

void writeFiles(const std::filesystem::path& dir, int count) {
    for (int f = 0; f < count; ++f) {
        PointList pts;
        pts.reserve(150 * 150);
        for (int r = 0; r < 150; ++r)
            for (int c = 0; c < 150; ++c) {
                const double x = c * 0.02, y = r * 0.02;
                pts.push_back({x, y, std::sin(3 * x + f * 0.01) * std::cos(2 * y) + 0.1 * x * y});
            }
        formats::writeLatticeCsv((dir / ("t" + std::to_string(1000 + f) + ".dat")).string(), pts);
    }
}

void BM_Batch500(benchmark::State& state) {
    const PrivateFolder folder("bench_batch");
    const auto& dir = folder.dir();
    writeFiles(dir, 500);
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

void BM_OpcAllFiles50(benchmark::State& state) {
    // Not a private folder: those are never synced, and the syncs are what is measured.
    std::string name = (std::filesystem::temp_directory_path() / "trelvik-bench-opc-XXXXXX").string();
    const std::filesystem::path dir = ::mkdtemp(name.data());
    writeFiles(dir, 50);
    AppState app;
    ScriptedPrompt prompt;
    BatchOptions o;
    o.folder = dir.string();
    o.mode = AllFilesMode::Clump;
    for (auto _ : state) benchmark::DoNotOptimize(ProcessAllFiles(o, app, prompt, noProgress()).filesDone);
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
}

} // namespace

BENCHMARK(BM_OpcAllFiles50)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Batch500)->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK_MAIN();
