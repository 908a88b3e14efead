// "Regrid" at an exact resolution over a batch of tooth grids of 1000 x 1000 nodes:
// XYZ text of each grid, blank nodes dropped, kriging onto 150 nodes along the longer
// axis, blanking with the tooth outline, XYZ text of the blanked grid; with plotting,
// each blanked grid is also added as a map to the mapping program's plot document.
#include "core/appstate.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/prompt.h"
#include "core/tempfiles.h"
#include "formats/surfergrid.h"
#include "surfer/application.h"
#include "surfer/documents.h"
#include "surferfns/regrid.h"
#include "surferfns/surffnsstate.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>

namespace {

using namespace trelvik;
using namespace trelvik::surffns;
namespace fs = std::filesystem;

// A crown-like surface over [0, 10] x [0, 8], blank outside an ellipse.
Grid crown(int n, double phase) {
    Grid g(n, n, 0, 10, 0, 8);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) {
            const double x = g.x(i), y = g.y(j);
            const double u = (x - 5) / 4.8, v = (y - 4) / 3.8;
            g.at(i, j) = u * u + v * v > 1 ? kBlank
                                           : 2 * std::exp(-((x - 3.5) * (x - 3.5) + (y - 5) * (y - 5)) / 3) +
                                                 1.5 * std::exp(-((x - 6.5) * (x - 6.5) + (y - 3) * (y - 3)) / 2) +
                                                 0.1 * std::sin(3 * x + phase);
        }
    return g;
}

struct Batch {
    PrivateFolder folder{"bench_regrid"};
    const fs::path& dir = folder.dir();
    int files;
    Batch(int count, int nodes) : files(count) {
        for (int k = 1; k <= count; ++k) {
            const std::string stem = (dir / ("tooth" + std::to_string(k))).string();
            formats::writeSurferGrid(stem + "b.grd", crown(nodes, k), formats::SurferGridFormat::Binary7);
            writeFileAtomic(stem + "blnpts.bln", "5,0\r\n0.5,0.5\r\n9.5,0.5\r\n9.5,7.5\r\n0.5,7.5\r\n0.5,0.5\r\n");
        }
    }
};

void BM_RegridBatch(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const int nodes = static_cast<int>(state.range(1));
    const bool plot = state.range(2) != 0;
    Batch batch(count, nodes);
    for (auto _ : state) {
        AppState app;
        app.mnuSurf8Checked = true;
        ScriptedPrompt prompt;
        SurfFnsState s;
        SurfFnsContext ctx{app, prompt, s};
        ctx.chkPlotSurfer = plot;
        ctx.File2Folder = batch.dir.string();
        for (int k = 1; k <= count; ++k) ctx.File2Names.push_back("tooth" + std::to_string(k) + "b.grd");
        AddAllFilenames(ctx);
        const BatchOutcome r = cmdRegridExactResol(ctx, RegridOptions{});
        if (r != BatchOutcome::Completed || !prompt.shown.empty()) {
            state.SkipWithError(prompt.shown.empty() ? "regrid failed" : prompt.shown.back().text.c_str());
            break;
        }
        // The user sees the hourglass during the batch and the normal pointer after it.
        if (prompt.busyChanges == 0 || prompt.busyNow) {
            state.SkipWithError("the busy pointer was not shown and restored");
            break;
        }
        if (plot && surfer::asPlot(app.SurferApp->ActiveDocument())->Shapes.maps().size() != static_cast<std::size_t>(count)) {
            state.SkipWithError("not every regridded grid was plotted");
            break;
        }
    }
    surfer::shutdownAll();
}
BENCHMARK(BM_RegridBatch)->ArgNames({"grids", "nodes", "plot"})->Args({20, 1000, 0})->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_RegridBatch)->ArgNames({"grids", "nodes", "plot"})->Args({20, 1000, 1})->Unit(benchmark::kSecond)->Iterations(1);
BENCHMARK(BM_RegridBatch)->ArgNames({"grids", "nodes", "plot"})->Args({1, 1000, 1})->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
