// The viewer's 3-D view of a 1000 x 1000 grid (target under 2 s): temp.wrl as the
// viewer writes it, read back, turned into the surface and drawn at the view's size.
#include "core/tempfiles.h"
#include "csvview/csvoutputvrml.h"
#include "csvview/vrmlview.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

using namespace trelvik::csvview;

namespace {

constexpr int kN = 1000;

std::string writeBigTempWrl(const trelvik::PrivateFolder& folder) {
    const auto& dir = folder.dir();
    CurrentGrid g;
    g.resize(kN, kN);
    g.nx = g.ny = kN;
    g.xstep = g.ystep = 0.03;
    g.folder = dir.string() + "/";
    g.zmin = 1e9;
    g.zmax = -1e9;
    for (int r = 1; r <= kN; ++r)
        for (int c = 1; c <= kN; ++c) {
            const double z = 2 + std::sin(c * 0.01) * std::cos(r * 0.013);
            g.at(c, r) = {(c - 1) * 0.03, (r - 1) * 0.03, z};
            g.zmin = std::min(g.zmin, z);
            g.zmax = std::max(g.zmax, z);
        }
    return WriteTempWrl(g);
}

void BM_LoadIntoView1000(benchmark::State& state) {
    const trelvik::PrivateFolder folder("bench_vrmlview");
    const std::string path = writeBigTempWrl(folder);
    long drawn = 0;
    for (auto _ : state) {
        const VrmlScene scene = loadVrmlScene(path);
        const surfer::RgbImage img = drawVrmlScene(scene, 313, 300, fittedView());
        drawn = 0;
        for (std::uint32_t p : img.pixels) drawn += (p >> 24) != 0;
    }
    state.counters["pixels"] = static_cast<double>(drawn);
}
BENCHMARK(BM_LoadIntoView1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
