// VRML elevation grid of a 1000 x 1000 grid: writing it (target under 1.5 s) and
// reading it back for the 3-D view (target under 2 s).
#include "core/tempfiles.h"
#include "formats/vrml.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

using namespace trelvik;
using namespace trelvik::formats;

namespace {

VrmlElevationGridOut bigFile() {
    VrmlElevationGridOut f;
    f.xDimension = f.zDimension = 1000;
    f.scale = "10";
    f.xSpacing = f.zSpacing = "0.03";
    f.heights.reserve(1000000);
    for (int j = 0; j < 1000; ++j)
        for (int i = 0; i < 1000; ++i) f.heights.push_back(std::round(std::sin(i * 0.01) * std::cos(j * 0.013) * 1e4) / 1e4 + 2);
    return f;
}

std::string benchPath() {
    static const PrivateFolder folder("bench_vrml");
    return folder.file("big.wrl");
}

void BM_WriteVrml1000(benchmark::State& state) {
    const VrmlElevationGridOut f = bigFile();
    const std::string path = benchPath();
    for (auto _ : state) writeVrmlElevationGrid(path, f);
    state.counters["MB"] = double(std::filesystem::file_size(path)) / 1e6;
    std::remove(path.c_str());
}
BENCHMARK(BM_WriteVrml1000)->Unit(benchmark::kMillisecond);

void BM_ReadVrml1000(benchmark::State& state) {
    const std::string path = benchPath();
    writeVrmlElevationGrid(path, bigFile());
    for (auto _ : state) {
        VrmlSurface s = readVrmlSurface(path);
        benchmark::DoNotOptimize(vrmlSurfaceGrid(s));
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_ReadVrml1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
