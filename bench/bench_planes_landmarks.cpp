// The landmark and outline hot loops: reading a long slice profile (target 100 MB/s or
// more, the curvature, crest and rake tools read the same files), matching landmarks
// to the slice, and aligning a million outline points (target under 0.1 s).
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "formats/slicefile.h"
#include "planes/enamel.h"
#include "planes/landfind.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>

using namespace trelvik;
using namespace trelvik::planes;

namespace {

const std::string& sliceFile() {
    static const PrivateFolder dir("bench_planes");
    static const std::string path = [] {
        const std::string p = (dir.dir() / "slice.dat").string();
        std::string text;
        text.reserve(70u * 1000000u);
        for (int j = 0; j < 1000000; ++j) {
            const double x = 0.001 * j, y = 3 + 0.0005 * j;
            const double z = j % 5000 == 0 ? kBlank : std::sin(x) * 2.345678 + 0.1 * y;
            text += text::WriteLine().num(x).num(y).num(z).num(std::hypot(x, 0.0005 * j)).num(1 + j / 1000).str();
            text += "\r\n";
        }
        writeFileAtomic(p, text);
        return p;
    }();
    return path;
}

void BM_ReadSliceFile(benchmark::State& state) {
    const std::string& p = sliceFile();
    for (auto _ : state) benchmark::DoNotOptimize(formats::readSliceFile(p));
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(std::filesystem::file_size(p)));
}
BENCHMARK(BM_ReadSliceFile)->Unit(benchmark::kMillisecond);

void BM_MatchLandmarks(benchmark::State& state) {
    std::vector<formats::SlicePoint> slice;
    for (int j = 0; j < 100000; ++j) slice.push_back({0.01 * j, 0.02 * j, std::sin(0.01 * j), 0.0223 * j});
    std::vector<double> x, y;
    for (int k = 0; k < 10; ++k) {
        x.push_back(slice[static_cast<std::size_t>(k * 9999)].x);
        y.push_back(slice[static_cast<std::size_t>(k * 9999)].y);
    }
    for (auto _ : state) benchmark::DoNotOptimize(MatchLandmarks(x, y, slice, 1e-5));
}
BENCHMARK(BM_MatchLandmarks)->Unit(benchmark::kMillisecond);

void BM_AlignOutlines(benchmark::State& state) {
    std::vector<PointList> segments(10);
    for (int s = 0; s < 10; ++s)
        for (int j = 0; j < 100000; ++j)
            segments[static_cast<std::size_t>(s)].push_back({std::cos(j * 1e-4) + s, std::sin(j * 1e-4), 0.3 * s});
    const PlaneCoefficients plane{1, -0.2, 0.35};
    for (auto _ : state) benchmark::DoNotOptimize(AlignOutlines(segments, {0.3, 0.9, 0.1}, plane, true));
    state.SetItemsProcessed(state.iterations() * 1000000);
}
BENCHMARK(BM_AlignOutlines)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
