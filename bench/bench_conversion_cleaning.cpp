// Undercut removal and blanking outline on a synthetic scan of one million points
// (a crown 10 mm across sampled about every 0.009 mm, with points under its rim),
// with the settings the conversion derives from a 0.03 grid interval.
#include "conversion/blankingoutline.h"
#include "conversion/undercutremoval.h"
#include "conversion_scan.h"

#include <benchmark/benchmark.h>

using namespace trelvik;
using namespace trelvik::conversion;

namespace {

const PointList& crown() {
    static const PointList pts = convbench::scan1M();
    return pts;
}

void BM_UndercutRemoval1M(benchmark::State& state) {
    const PointList& pts = crown();
    for (auto _ : state) benchmark::DoNotOptimize(removeUndercuts(pts, DefaultUndercutOptions(0.018)));
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(pts.size()));
}
BENCHMARK(BM_UndercutRemoval1M)->Unit(benchmark::kMillisecond);

void BM_BlankingOutline1M(benchmark::State& state) {
    const PointList& pts = crown();
    OutlineOptions o;
    o.binSize = 0.045;
    o.offsetFactor = 0.25;
    o.onTooLong = TooLong::GrowBins;
    o.checkCoverage = true;
    o.fill = FillRule::Sparse;
    std::size_t vertices = 0;
    for (auto _ : state) vertices = traceBlankingOutline(pts, o).vertices.size();
    state.counters["vertices"] = static_cast<double>(vertices);
    state.SetItemsProcessed(state.iterations() * static_cast<long long>(pts.size()));
}
BENCHMARK(BM_BlankingOutline1M)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
