// The curvature grid after smoothing on a 1000 x 1000 grid (target under 15 s): the
// 9 x 9 matrix filter three times, nineteen directional curvature grids, eighteen
// running minima and the negated copy, every step as grid files through the stand-in.
// The chain alone is timed too.
#include "core/appstate.h"
#include "core/grid.h"
#include "core/progress.h"
#include "core/prompt.h"
#include "support/tempfolder.h"
#include "formats/surfergrid.h"
#include "surfer/application.h"
#include "surferfns/curvaturechain.h"
#include "surferfns/smoothing.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

using namespace trelvik;
using namespace trelvik::surffns;

constexpr int kN = 1000;

// The tooth grid, written once into a folder of the run's own.
struct Fixture {
    trelvik::testing::TempFolder dir;
    std::string grid = dir.path("tooth.grd");
    Fixture() {
        Grid g(kN, kN, 0, 10, 0, 10, 0);
        for (int j = 0; j < kN; ++j)
            for (int i = 0; i < kN; ++i) g.at(i, j) = std::sin(g.x(i)) * std::cos(0.7 * g.y(j)) - 0.02 * g.x(i) * g.y(j);
        formats::writeSurferGrid(grid, g, formats::SurferGridFormat::Binary7);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

struct Window {
    AppState app;
    ScriptedPrompt prompt;
    SurfFnsState state;
    SurfFnsContext ctx{app, prompt, state};
    Window() {
        ctx.chkPlotSurfer = false;
        ctx.File2Folder = fixture().dir.dir().string();
        ctx.Text2 = "tooth.grd";
    }
};

// Counts what a batch reports, as a window's bar would take it.
struct CountingProgress : Progress {
    long long steps = 0;
    void step(long long, long long) override { ++steps; }
};

void BM_SmoothAndCurvature(benchmark::State& state) {
    Fixture& f = fixture();
    CountingProgress progress;
    for (auto _ : state) {
        Window w;
        if (state.range(0) == 1) w.ctx.progress = &progress;
        SmoothOptions o;
        o.chkCurvature = true;
        chkCurvature_Click(o);
        if (SmoothGrids(w.ctx, o) != BatchOutcome::Completed || !w.prompt.shown.empty())
            state.SkipWithError("smoothing failed");
    }
    benchmark::DoNotOptimize(f.grid);
}
// Argument 1: with a progress sink taking every row step (its cost should not show).
BENCHMARK(BM_SmoothAndCurvature)->Arg(0)->Arg(1)->Unit(benchmark::kSecond)->Iterations(2);

void BM_CurvatureChainOnly(benchmark::State& state) {
    Fixture& f = fixture();
    Window w;
    PrepareSurfer(w.ctx);
    for (auto _ : state) benchmark::DoNotOptimize(MakeCurvatureGrid(w.ctx, f.grid));
}
BENCHMARK(BM_CurvatureChainOnly)->Unit(benchmark::kSecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
