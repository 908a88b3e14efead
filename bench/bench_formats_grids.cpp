// Reading and writing 2000 x 2000 grids: Surfer 7 binary (target under 0.15 s each way,
// and within 3 times a copy of the file, timed beside them) and the XYZ text dump (target
// 100 MB/s or more, written and parsed); and a point text file of a million points.
#include "support/tempfolder.h"
#include "formats/surfergrid.h"
#include "formats/xyzdump.h"
#include "formats/xyzpointfile.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>

using namespace trelvik;
using namespace trelvik::formats;

namespace {

const std::string& folder() {
    static const trelvik::testing::TempFolder dir;
    static const std::string path = dir.dir().string();
    return path;
}

const Grid& bigGrid() {
    static const Grid g = [] {
        Grid grid(2000, 2000, 0.0, 19.99, -5.0, 14.99);
        for (int r = 0; r < grid.rows; ++r)
            for (int c = 0; c < grid.cols; ++c) {
                double x = grid.x(c), y = grid.y(r);
                grid.at(c, r) = std::sin(x * 0.7) * std::cos(y * 0.3) * 1.234567 + 0.01 * x * y;
            }
        for (int r = 0; r < 200; ++r)
            for (int c = 0; c < 2000; ++c) grid.at(c, r) = kBlank;  // a blank margin
        return grid;
    }();
    return g;
}

void BM_WriteSurfer7(benchmark::State& state) {
    const Grid& g = bigGrid();
    const std::string p = folder() + "/w7.grd";
    for (auto _ : state) writeSurferGrid(p, g, SurferGridFormat::Binary7);
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(std::filesystem::file_size(p)));
}
BENCHMARK(BM_WriteSurfer7)->Unit(benchmark::kMillisecond);

void BM_ReadSurfer7(benchmark::State& state) {
    const std::string p = folder() + "/r7.grd";
    writeSurferGrid(p, bigGrid(), SurferGridFormat::Binary7);
    for (auto _ : state) benchmark::DoNotOptimize(readSurferGrid(p));
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(std::filesystem::file_size(p)));
}
BENCHMARK(BM_ReadSurfer7)->Unit(benchmark::kMillisecond);

void BM_ReadAsciiGrid(benchmark::State& state) {
    const std::string p = folder() + "/ra.grd";
    writeSurferGrid(p, bigGrid(), SurferGridFormat::Ascii);
    for (auto _ : state) benchmark::DoNotOptimize(readSurferGrid(p));
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(std::filesystem::file_size(p)));
}
BENCHMARK(BM_ReadAsciiGrid)->Unit(benchmark::kMillisecond);

// The yardstick of the two above: the Surfer 7 file copied as "cp" copies it.
void BM_CopySurfer7File(benchmark::State& state) {
    const std::string from = folder() + "/c7.grd", to = folder() + "/c7copy.grd";
    writeSurferGrid(from, bigGrid(), SurferGridFormat::Binary7);
    for (auto _ : state) std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(std::filesystem::file_size(from)));
}
BENCHMARK(BM_CopySurfer7File)->Unit(benchmark::kMillisecond);

// A million scanner points as comma-separated point text (target 0.2 s or less).
void BM_WriteXyzPointFile1M(benchmark::State& state) {
    PointList pts;
    pts.reserve(1000000);
    for (int i = 0; i < 1000000; ++i)
        pts.push_back({0.0137 * (i % 1000) - 5, 0.0091 * (i / 1000) - 4.5, std::sin(i * 0.001) * 2.345678});
    const std::string p = folder() + "/points.txt";
    for (auto _ : state) writeXyzPointFile(p, pts);
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(std::filesystem::file_size(p)));
}
BENCHMARK(BM_WriteXyzPointFile1M)->Unit(benchmark::kMillisecond);

void BM_WriteXyzDump(benchmark::State& state) {
    const std::string p = folder() + "/w.xyz";
    for (auto _ : state) writeXyzDump(p, bigGrid());
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(std::filesystem::file_size(p)));
}
BENCHMARK(BM_WriteXyzDump)->Unit(benchmark::kMillisecond);

void BM_ReadXyzDump(benchmark::State& state) {
    const std::string p = folder() + "/r.xyz";
    writeXyzDump(p, bigGrid());
    for (auto _ : state) benchmark::DoNotOptimize(readXyzDump(p));
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(std::filesystem::file_size(p)));
}
BENCHMARK(BM_ReadXyzDump)->Unit(benchmark::kMillisecond);

// The record scanner alone, as the callers that keep no point list use it.
void BM_ScanXyzDump(benchmark::State& state) {
    const std::string p = folder() + "/s.xyz";
    writeXyzDump(p, bigGrid());
    for (auto _ : state) {
        double sum = 0;
        scanXyzDump(p, [&sum](const XyzRecord& r) { sum += r.x + r.y + r.zText.size(); });
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(std::filesystem::file_size(p)));
}
BENCHMARK(BM_ScanXyzDump)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
