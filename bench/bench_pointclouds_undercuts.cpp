// Undercut removal of five million points (target under 15 s): the "Remove undercuts"
// command with default settings, reading the point file, judging every point and
// writing the kept and rejected points; and the judging alone.
// The scan as a scanner exports it (x y z text, blanks between, 10 significant digits,
// about 180 MB) read by the point-cloud window's reader and by the conversion's, and
// read and judged together (target: within half the time numpy's loadtxt takes merely
// to read the same file).
#include "conversion/undercutremoval.h"
#include "core/appstate.h"
#include "core/prompt.h"
#include "support/tempfolder.h"
#include "formats/pointtext.h"
#include "formats/xyzpointfile.h"
#include "pointclouds/cloudcleaning.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <fstream>
#include <random>
#include <string>

using namespace trelvik;
using namespace trelvik::ptcloud;

namespace {

// A scan of a dome: points 0.005 apart with a little jitter over 11.2 x 11.2 units,
// and one point in fifty dropped 0.2 below the surface (an undercut).
const PointList& scan() {
    static const PointList pts = [] {
        std::mt19937 rng(7);
        std::uniform_real_distribution<double> jitter(-0.001, 0.001);
        PointList p;
        const int n = 2237;  // 2237^2 = 5,004,169 points
        p.reserve(static_cast<std::size_t>(n) * n);
        for (int j = 0; j < n; ++j)
            for (int i = 0; i < n; ++i) {
                const double x = 0.005 * i + jitter(rng), y = 0.005 * j + jitter(rng);
                double z = 4 - 0.05 * ((x - 5.6) * (x - 5.6) + (y - 5.6) * (y - 5.6));
                if ((i * 31 + j * 17) % 50 == 0) z -= 0.2;
                p.push_back({x, y, z});
            }
        return p;
    }();
    return pts;
}

// The scan written once as blank-separated text with LF line ends.
const std::string& scanText() {
    static trelvik::testing::TempFolder folder;
    static const std::string path = [] {
        const std::string file = folder.path("scan.xyz");
        std::string text;
        text.reserve(scan().size() * 40);
        char buf[32];
        for (const PointXYZ& p : scan()) {
            const double v[3] = {p.x, p.y, p.z};
            for (int k = 0; k < 3; ++k) {
                text.append(buf, std::to_chars(buf, buf + sizeof buf, v[k], std::chars_format::general, 10).ptr);
                text += k < 2 ? ' ' : '\n';
            }
        }
        std::ofstream(file, std::ios::binary) << text;
        return file;
    }();
    return path;
}

void BM_ReadScanText5M(benchmark::State& state) {
    const std::string& path = scanText();
    for (auto _ : state) benchmark::DoNotOptimize(formats::readXyzPointFile(path));
}
BENCHMARK(BM_ReadScanText5M)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadPointText5M(benchmark::State& state) {
    const std::string& path = scanText();
    for (auto _ : state) benchmark::DoNotOptimize(formats::readPointText(path));
}
BENCHMARK(BM_ReadPointText5M)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReadAndJudgeUndercuts5M(benchmark::State& state) {
    const std::string& path = scanText();
    const auto o = conversion::DefaultUndercutOptions(0.02);
    for (auto _ : state) benchmark::DoNotOptimize(conversion::removeUndercuts(formats::readXyzPointFile(path), o));
}
BENCHMARK(BM_ReadAndJudgeUndercuts5M)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JudgeUndercuts5M(benchmark::State& state) {
    const auto o = conversion::DefaultUndercutOptions(0.02);
    for (auto _ : state) benchmark::DoNotOptimize(conversion::removeUndercuts(scan(), o));
}
BENCHMARK(BM_JudgeUndercuts5M)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RemoveUndercutsCommand5M(benchmark::State& state) {
    trelvik::testing::TempFolder folder;
    formats::writeXyzPointFile(folder.path("scan.txt"), scan());
    AppState app;
    ScriptedPrompt prompt;
    PtCloudList list;
    for (auto _ : state) {
        PtCloudContext ctx{app, prompt, list};
        ctx.File2Folder = folder.dir().string();
        ctx.Text2 = "scan.txt";
        UndercutWindowOptions o;
        if (!cmdRemoveUndercuts(ctx, o) || !prompt.shown.empty()) state.SkipWithError("the command failed");
    }
}
BENCHMARK(BM_RemoveUndercutsCommand5M)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
