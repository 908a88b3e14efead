// The conversion's long steps at full size: vertex extraction from an ASCII STL of one
// million facets, and a one-million-point scan converted to a blanked grid (undercut
// removal, blanking outline with fill points, gridding and blanking through the
// stand-in), with the settings derived from a 0.03 grid interval.
#include "conversion/pointstogrid.h"
#include "conversion_scan.h"
#include "formats/stlascii.h"
#include "formats/xyzpointfile.h"
#include "surfer/application.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

using namespace trelvik;
using namespace trelvik::conversion;

namespace {

std::filesystem::path benchDir() {
    static const std::filesystem::path d = [] {
        auto p = std::filesystem::temp_directory_path() / ("trelvik_bench_conv_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(p);
        return p;
    }();
    return d;
}

using convbench::crownZ;

// A triangulated lattice of 708 x 708 cells: about one million facets.
const std::string& stlFile() {
    static const std::string path = [] {
        const std::string p = (benchDir() / "crown.stl").string();
        std::ofstream out(p, std::ios::binary);
        const int n = 708;
        const double h = 10.0 / n;
        char buf[96];
        auto vertex = [&](int i, int j) {
            const double x = -5 + i * h, y = -5 + j * h;
            std::snprintf(buf, sizeof buf, "      vertex %.6f %.6f %.6f\n", x, y, crownZ(x, y));
            out << buf;
        };
        out << "solid crown\n";
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i)
                for (int t = 0; t < 2; ++t) {
                    out << "  facet normal 0 0 1\n    outer loop\n";
                    vertex(i, j);
                    vertex(i + 1, j + t);
                    vertex(i + t, j + 1);
                    out << "    endloop\n  endfacet\n";
                }
        out << "endsolid crown\n";
        return p;
    }();
    return path;
}

void BM_StlVertexExtraction1MFacets(benchmark::State& state) {
    const std::string& f = stlFile();
    std::size_t distinct = 0;
    for (auto _ : state) distinct = formats::distinctVertices(formats::readAsciiStlVertices(f)).size();
    state.counters["distinct"] = static_cast<double>(distinct);
}
BENCHMARK(BM_StlVertexExtraction1MFacets)->Unit(benchmark::kMillisecond);

void BM_PointFileToBlankedGrid1M(benchmark::State& state) {
    const std::filesystem::path dir = benchDir();
    formats::writeXyzPointFile((dir / "scan.txt").string(), convbench::scan1M());
    for (auto _ : state) {
        surfer::shutdownAll();
        AppState app;
        app.mnuSurf6Checked = false;
        app.mnuSurf8Checked = true;
        ScriptedPrompt prompt;
        ConvState st;
        ConvOptions opt = convbench::textToGridOptions(dir.string(), "scan.txt");
        ConvView view;
        ConvContext ctx{app, prompt, st, opt, view};
        ConvertTXT_GRD(ctx);
        if (!prompt.shown.empty()) state.SkipWithError(prompt.shown.front().text.c_str());
    }
    surfer::shutdownAll();
}
BENCHMARK(BM_PointFileToBlankedGrid1M)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ec;
    std::filesystem::remove_all(benchDir(), ec);
    return 0;
}
