// Writers of the conversion window on a 2000 x 2000 grid: VRML (ElevationGrid and
// polygons), DXF, DAT and XYZ. Each writer streams its output in blocks; the rate
// counter is output bytes per second (target 100 MB/s or more). The "whole" runs
// include the stand-in mapping program writing and the writer reading back the XYZ text.
// Rates are on wall-clock time.
#include "conversion/gridtodat.h"
#include "conversion/gridtodxf.h"
#include "conversion/gridtovrml.h"
#include "core/grid.h"
#include "support/tempfolder.h"
#include "formats/dumplattice.h"
#include "formats/dxf.h"
#include "formats/surfergrid.h"
#include "formats/vrml.h"
#include "formats/xyzdump.h"
#include "surfer/application.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

using namespace trelvik;

namespace {

constexpr int kN = 2000;

const trelvik::testing::TempFolder& folder() {
    static const trelvik::testing::TempFolder f;
    return f;
}

// A tooth-like dome at 0.01 spacing with a blank corner, as the grid file and its dump.
const std::string& gridFile() {
    static const std::string path = [] {
        Grid g(kN, kN, 0, (kN - 1) * 0.01, 0, (kN - 1) * 0.01);
        for (int r = 0; r < kN; ++r)
            for (int c = 0; c < kN; ++c) {
                const double x = (c - kN / 2) * 0.01, y = (r - kN / 2) * 0.01;
                g.at(c, r) = (c < 40 && r < 40) ? kBlank : 3 - 0.1 * (x * x + y * y) + 0.01 * std::sin(7 * x);
            }
        const std::string p = folder().path("dome.grd");
        formats::writeSurferGrid(p, g, formats::SurferGridFormat::Binary7);
        formats::writeXyzDump(folder().path("dome.dat"), g);
        return p;
    }();
    return path;
}

const std::string& dumpFile() {
    gridFile();
    static const std::string p = folder().path("dome.dat");
    return p;
}

const formats::DumpLattice& lattice() {
    static const formats::DumpLattice d = formats::readDumpLattice(dumpFile());
    return d;
}

template <class Fn>
void run(benchmark::State& state, const std::string& out, Fn&& fn) {
    lattice();  // the grid, its dump and the lattice read back are made before the clock runs
    for (auto _ : state) fn(out);
    const double bytes = static_cast<double>(std::filesystem::file_size(out));
    state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
    state.counters["MB"] = bytes / 1e6;
    std::remove(out.c_str());
}

void BM_VrmlElevationGrid(benchmark::State& state) {
    formats::VrmlGridFile o;
    o.source = gridFile();
    run(state, folder().path("o.wrl"), [&](const std::string& out) { formats::writeVrmlGridFile(out, lattice(), o); });
}
BENCHMARK(BM_VrmlElevationGrid)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_VrmlPolygons(benchmark::State& state) {
    formats::VrmlGridFile o;
    o.source = gridFile();
    o.geometry = static_cast<formats::VrmlGeometry>(state.range(0));
    run(state, folder().path("oP.wrl"), [&](const std::string& out) { formats::writeVrmlGridFile(out, lattice(), o); });
}
BENCHMARK(BM_VrmlPolygons)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_Dxf(benchmark::State& state) {
    run(state, folder().path("o.dxf"), [&](const std::string& out) { formats::writeDxfFaces(out, lattice(), "dome"); });
}
BENCHMARK(BM_Dxf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_DatWithoutBlanks(benchmark::State& state) {
    run(state, folder().path("o.dat"), [&](const std::string& out) { conversion::WriteDatWithoutBlanks(dumpFile(), out); });
}
BENCHMARK(BM_DatWithoutBlanks)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

void BM_ShiftedXyz(benchmark::State& state) {
    run(state, folder().path("o.xyz"), [&](const std::string& out) { conversion::WriteShiftedXyz(dumpFile(), out); });
}
BENCHMARK(BM_ShiftedXyz)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// Whole conversions through the stand-in (GridTransform / GridConvert, read back, write).
void BM_WholeGridToVrml(benchmark::State& state) {
    auto app = surfer::connect("Surfer.Application");
    run(state, folder().path("w.wrl"), [&](const std::string& out) {
        conversion::GridToVrml(*app, "SurferV8", gridFile(), out, formats::VrmlGeometry::ElevationGrid, false, false,
                               false);
    });
}
BENCHMARK(BM_WholeGridToVrml)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_WholeGridToDxf(benchmark::State& state) {
    auto app = surfer::connect("Surfer.Application");
    run(state, folder().path("w.dxf"), [&](const std::string& out) {
        conversion::GridToDxf(*app, "SurferV8", gridFile(), out, "dome");
    });
}
BENCHMARK(BM_WholeGridToDxf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_WholeGridToDat(benchmark::State& state) {
    auto app = surfer::connect("Surfer.Application");
    run(state, folder().path("w.dat"), [&](const std::string& out) {
        conversion::GridToDat(*app, "SurferV8", gridFile(), out, true);
    });
}
BENCHMARK(BM_WholeGridToDat)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void BM_WholeGridToXyz(benchmark::State& state) {
    auto app = surfer::connect("Surfer.Application");
    run(state, folder().path("w.xyz"), [&](const std::string& out) {
        conversion::GridToXyz(*app, "SurferV8", gridFile(), out);
    });
}
BENCHMARK(BM_WholeGridToXyz)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

BENCHMARK_MAIN();
