// Drawing the viewer's pictures of a 1000 x 1000 grid: the grey current view and the
// processed views (shaded relief, orientation classes), each with its stretched paint.
#include "csvview/rendergrey.h"
#include "csvview/renderprocessed.h"
#include "csvview/viewgrids.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace trelvik::csvview;

namespace {

constexpr int kSide = 1000;

CurrentGrid domeGrid() {
    CurrentGrid g;
    g.resize(kSide, kSide);
    g.nx = g.ny = kSide;
    g.xstep = g.ystep = 0.01;
    g.zmin = 1e300;
    g.zmax = -1e300;
    for (int r = 1; r <= kSide; ++r)
        for (int c = 1; c <= kSide; ++c) {
            const double x = (c - 500) * 0.01, y = (r - 500) * 0.01;
            const double z = (c + r) % 97 == 0 ? kVoidHeight : 30 - x * x - y * y;
            g.at(c, r) = GridCell{x, y, z};
            if (!isVoid(z)) {
                g.zmin = std::min(g.zmin, z);
                g.zmax = std::max(g.zmax, z);
            }
        }
    return g;
}

LatticeGrid fieldOf(const LatticeGrid& g, double (*f)(int, int)) {
    LatticeGrid out = LatticeGrid::sameNodes(g, 0);
    for (int r = 1; r <= g.rows; ++r)
        for (int c = 1; c <= g.cols; ++c) out.z(c, r) = f(c, r);
    return out;
}

void BM_GreyCurrentView(benchmark::State& state) {
    const CurrentGrid g = domeGrid();
    ViewerViews views;
    for (auto _ : state) {
        views.drawCurrent(g, CurrentViewOptions{true, 0.5});
        benchmark::DoNotOptimize(views.current.image.pixels.data());
    }
}
BENCHMARK(BM_GreyCurrentView)->Unit(benchmark::kMillisecond);

void BM_ProcessedShadedRelief(benchmark::State& state) {
    const CurrentGrid g = domeGrid();
    const LatticeGrid slope = fieldOf(g, [](int c, int r) { return 0.01 * ((c * 7 + r * 3) % 150); });
    const LatticeGrid orient = fieldOf(g, [](int c, int r) { return double((c * 13 + r * 29) % 360); });
    ViewerViews views;
    views.setProcessed(orient);
    ProcessedRenderInput in;
    in.slope = &slope;
    in.orient = &orient;
    in.shadeSlope = &slope;
    in.procMode = "ShadedRelief";
    in.slopeResultsReady = true;
    for (auto _ : state) {
        views.drawProcessed(in);
        benchmark::DoNotOptimize(views.processedView.image.pixels.data());
    }
}
BENCHMARK(BM_ProcessedShadedRelief)->Unit(benchmark::kMillisecond);

void BM_ProcessedOrientationClasses(benchmark::State& state) {
    const CurrentGrid g = domeGrid();
    ViewerViews views;
    views.setProcessed(fieldOf(g, [](int c, int r) { return (c + r) % 11 == 0 ? -1.0 : double((c * 13 + r * 29) % 360); }));
    ProcessedRenderInput in;
    in.procMode = "Aspect";
    in.slopeResultsReady = true;
    for (auto _ : state) {
        views.drawProcessed(in);
        benchmark::DoNotOptimize(views.processedView.image.pixels.data());
    }
}
BENCHMARK(BM_ProcessedOrientationClasses)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
