// The curvature grid after smoothing on a 1000 x 1000 grid (target under 15 s): the
// 9 x 9 matrix filter three times, nineteen directional curvature grids, eighteen
// running minima and the negated copy, every step as grid files through the stand-in.
// The chain alone is timed too, and the all-angles chain at a fine step on a smaller grid,
// with the most its working folder held at once and the process's peak memory.
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

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>
#include <sys/resource.h>

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

// 181 directions (one degree apart) on a 400 x 400 grid: each directional grid is a
// whole grid, so what the working folder holds at once shows whether they pile up.
void BM_AllAnglesFineStep(benchmark::State& state) {
    trelvik::testing::TempFolder dir;
    AppState app;
    ScriptedPrompt prompt;
    SurfFnsState st;
    SurfFnsContext ctx{app, prompt, st};
    ctx.chkPlotSurfer = false;
    PrepareSurfer(ctx);
    const std::string grid = dir.path("fine.grd"), result = dir.path("fine_curv1.grd");
    {
        Grid g(400, 400, 0, 4, 0, 4, 0);
        for (int j = 0; j < 400; ++j)
            for (int i = 0; i < 400; ++i) g.at(i, j) = std::sin(3 * g.x(i)) * std::cos(2.1 * g.y(j));
        formats::writeSurferGrid(grid, g, formats::SurferGridFormat::Binary7);
    }
    std::uintmax_t peakDisk = 0;
    const CurvatureCall call = [&](const std::string& op, const surfer::Positional& v6, const surfer::Named& v8) {
        CallSurfer(ctx, op, v6, v8);
        const std::filesystem::path out = std::filesystem::path(v8.args.back().second.text()).parent_path();
        if (out == dir.dir()) return;
        std::uintmax_t held = 0;
        for (const auto& e : std::filesystem::directory_iterator(out)) held += e.file_size();
        peakDisk = std::max(peakDisk, held);
    };
    for (auto _ : state) MakeAllAnglesCurvature(call, grid, 1, result);
    struct rusage use{};
    getrusage(RUSAGE_SELF, &use);
    state.counters["peak_work_MB"] = static_cast<double>(peakDisk) / 1e6;
    state.counters["peak_rss_MB"] = static_cast<double>(use.ru_maxrss) / 1e3;
}
BENCHMARK(BM_AllAnglesFineStep)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
