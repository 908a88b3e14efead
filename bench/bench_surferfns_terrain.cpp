// Terrain slope with its histogram table on a 2000 x 2000 grid (target under 2 s): the
// slope grid, its XYZ text, reading the values back and writing the table. The table
// from values already in memory is timed on its own.
#include "core/appstate.h"
#include "core/grid.h"
#include "core/prompt.h"
#include "core/tempfiles.h"
#include "formats/surfergrid.h"
#include "surfer/application.h"
#include "surferfns/terrain.h"
#include "surferfns/terrainhistogram.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

using namespace trelvik;
using namespace trelvik::surffns;

constexpr int kN = 2000;

// The tooth grid, written once into a folder of the run's own.
struct Fixture {
    PrivateFolder dir{"bench_terrain"};
    std::string grid = dir.file("tooth.grd");
    Fixture() {
        Grid g(kN, kN, 0, 20, 0, 20, 0);
        for (int j = 0; j < kN; ++j)
            for (int i = 0; i < kN; ++i) g.at(i, j) = std::sin(g.x(i)) * std::cos(g.y(j)) + 0.05 * g.x(i);
        formats::writeSurferGrid(grid, g, formats::SurferGridFormat::Binary7);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_TerrainSlopeWithHistogram(benchmark::State& state) {
    Fixture& f = fixture();
    for (auto _ : state) {
        AppState app;
        ScriptedPrompt prompt;
        SurfFnsState s;
        SurfFnsContext ctx{app, prompt, s};
        ctx.chkPlotSurfer = false;
        ctx.File2Folder = f.dir.dir().string();
        ctx.Text2 = "tooth.grd";
        ProcessOptions o;
        o.optMirror = false;
        o.optTerrain = true;
        if (ProcessGrids(ctx, o) != BatchOutcome::Completed || !prompt.shown.empty())
            state.SkipWithError("terrain slope failed");
    }
}
BENCHMARK(BM_TerrainSlopeWithHistogram)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SlopeTableFromValues(benchmark::State& state) {
    std::vector<double> values(static_cast<std::size_t>(kN) * kN);
    for (std::size_t k = 0; k < values.size(); ++k) values[k] = std::fmod(k * 0.37, 90.0);
    for (auto _ : state) benchmark::DoNotOptimize(TerrainResultsText(TerrainKind::Slope, values));
}
BENCHMARK(BM_SlopeTableFromValues)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
