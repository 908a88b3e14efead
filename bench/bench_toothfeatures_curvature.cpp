// The all-angles curvature of the "Curvature" window on a 1000 x 1000 grid (target under
// 15 s): nineteen directional curvature grids, eighteen running maxima and the copy into
// the result, every step as grid files through the stand-in, as the "Curvature" button
// runs it. The occlusal-direction curvature (one grid) is timed beside it.
#include "core/appstate.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/prompt.h"
#include "support/tempfolder.h"
#include "formats/surfergrid.h"
#include "surfer/application.h"
#include "toothfeatures/curvgrids.h"
#include "toothfeatures/curvsmooth.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <string>

namespace {

using namespace trelvik;
using namespace trelvik::toothfeatures;

constexpr int kN = 1000;

// The tooth grid, written once into a folder of the run's own.
struct Fixture {
    trelvik::testing::TempFolder dir;
    Fixture() {
        Grid g(kN, kN, 0, 10, 0, 10, 0);
        for (int j = 0; j < kN; ++j)
            for (int i = 0; i < kN; ++i) g.at(i, j) = std::sin(g.x(i)) * std::cos(0.7 * g.y(j)) - 0.02 * g.x(i) * g.y(j);
        formats::writeSurferGrid(dir.path("tooth.grd"), g, formats::SurferGridFormat::Binary7);
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

// A window that has taken tooth.grd as its topographic grid.
struct Window {
    AppState app;
    ScriptedPrompt prompt;
    CurvState state;
    CurvContext ctx{app, prompt, state};
    CurvControls c;
    Window() {
        app.mnuSurf6Checked = false;
        app.mnuSurf8Checked = true;
        c.Label1 = c.Label3 = fixture().dir.dir().string();
        c.Text7 = "tooth.grd";
        c.chkInputCurvGrid = false;
        Input_Top(ctx, c);
        AttachSurfer(ctx);
    }
};

void BM_AllAnglesCurvature(benchmark::State& state) {
    Window w;
    for (auto _ : state) {
        if (Curve(w.ctx, w.c) != StepOutcome::Done) state.SkipWithError("curvature failed");
    }
    benchmark::DoNotOptimize(w.state.CurvatureGrid);
}
BENCHMARK(BM_AllAnglesCurvature)->Unit(benchmark::kSecond)->Iterations(2);

void BM_OcclusalDirectionCurvature(benchmark::State& state) {
    Window w;
    const std::string digit = fixture().dir.path("digit.dat");
    for (auto _ : state) {
        writeFileAtomic(digit, "1,1\r\n4,3\r\n");
        if (CurveOVAngle(w.ctx, w.c) != StepOutcome::Done) state.SkipWithError("curvature failed");
    }
    benchmark::DoNotOptimize(w.state.CurvatureGrid);
}
BENCHMARK(BM_OcclusalDirectionCurvature)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
