// Cusp volume on a 2000 x 2000 tooth grid (target under 10 s): the outline blanked, the
// plane subtracted, the tip found and 20 intervals (21 levels) raised and measured into
// the results table, through the version-8 stand-in as the window runs it.
#include "core/appstate.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/prompt.h"
#include "core/tempfiles.h"
#include "formats/surfergrid.h"
#include "planes/planeformula.h"
#include "planes/toothlength.h"
#include "surfer/application.h"
#include "toothfeatures/cuspvol.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <string>

namespace {

using namespace trelvik;
using namespace trelvik::toothfeatures;

constexpr int kN = 2000;

double plane(double x, double y) { return 5 + 0.2 * x - 0.1 * y; }

// The tooth, its plane and the cusp outline, written once into a folder of the run's own.
struct Fixture {
    PrivateFolder dir{"bench_cuspvol"};
    Fixture()
    {
        Grid tooth(kN, kN, -10, 10, -10, 10), base(kN, kN, -10, 10, -10, 10);
        for (int j = 0; j < kN; ++j)
            for (int i = 0; i < kN; ++i) {
                const double x = tooth.x(i), y = tooth.y(j);
                base.at(i, j) = plane(x, y);
                tooth.at(i, j) = plane(x, y) + std::max(0.0, 8 - 0.32 * (x * x + y * y));
            }
        formats::writeSurferGrid(dir.file("T1.grd"), tooth, formats::SurferGridFormat::Binary7);
        formats::writeSurferGrid(dir.file("T1ovplane.grd"), base, formats::SurferGridFormat::Binary7);
        planes::WritePlaneFormulaFile(dir.file("T1ovplaneform.txt"), planes::PlaneCoefficients{5, -0.1, 0.2});
        planes::writeToothLengthFile(dir.file("T1_tl.txt"), 15);
        std::string outline;
        for (int k = 0; k < 100; ++k) {
            const double t = 2 * std::numbers::pi * k / 100;
            outline += std::to_string(7 * std::cos(t)) + "," + std::to_string(7 * std::sin(t)) + "\r\n";
        }
        writeFileAtomic(dir.file("digit.dat"), outline);
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_CuspVolumeTwentyLevels(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        surfer::shutdownAll();
        AppState app;
        app.mnuSurf6Checked = false;
        app.mnuSurf8Checked = true;
        ScriptedPrompt prompt;  // answers OK: digit.dat is already saved
        CuspVolControls c;
        CuspVolState s;
        CuspVolRun run{app, prompt, c, s};
        c.Label1 = f.dir.dir().string();
        c.Text7 = "T1.grd";
        c.Text1 = "50";
        c.Text10 = "20";
        if (!Input_Top(run)) state.SkipWithError("input failed");
        c.Combo1 = "Paracone";
        Combo1_Click(run);
        if (!Blank_Grid(run) || c.Label13 != "Done")
            state.SkipWithError(prompt.shown.empty() ? "measurement failed" : prompt.shown.back().text.c_str());
    }
    surfer::shutdownAll();
}
BENCHMARK(BM_CuspVolumeTwentyLevels)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
