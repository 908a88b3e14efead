// Grid operations of the stand-in on a 2000 x 2000 grid: GridBlank with a 20,000-vertex
// outline (target under 0.3 s), GridVolume (under 0.1 s), GridMath "C=max(A,B)" (under
// 0.2 s). Each is timed as the whole call (grid files read and written) and as the
// computation alone.
#include "core/grid.h"
#include "core/tempfiles.h"
#include "formats/surfergrid.h"
#include "surfer/application.h"
#include "surfer/gridblank.h"
#include "surfer/gridexpression.h"
#include "surfer/gridvolume.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace {

constexpr int kN = 2000;

struct Fixture {
    trelvik::PrivateFolder folder{"bench_surfer"};
    const std::filesystem::path& dir = folder.dir();
    trelvik::Grid a, b;
    std::string aPath, bPath, blnPath;
    surfer::BlnSection outline;

    Fixture() {
        a = trelvik::Grid(kN, kN, 0, 20, 0, 20, 0);
        b = a;
        for (int j = 0; j < kN; ++j)
            for (int i = 0; i < kN; ++i) {
                const double x = a.x(i), y = a.y(j);
                a.at(i, j) = std::sin(x) * std::cos(y) + 0.05 * x;
                b.at(i, j) = 0.3 - 0.01 * y;
            }
        aPath = (dir / "a.grd").string();
        bPath = (dir / "b.grd").string();
        trelvik::formats::writeSurferGrid(aPath, a, trelvik::formats::SurferGridFormat::Binary7);
        trelvik::formats::writeSurferGrid(bPath, b, trelvik::formats::SurferGridFormat::Binary7);
        // A wavy closed outline of 20,000 vertices around the grid's centre.
        const int n = 20000;
        blnPath = (dir / "outline.bln").string();
        std::ofstream bln(blnPath, std::ios::binary);
        bln << (n + 1) << ",0\r\n";
        outline.flag = 0;
        for (int k = 0; k <= n; ++k) {
            const double t = 2 * M_PI * (k % n) / n;
            const double r = 7 + 1.5 * std::sin(40 * t);
            const double x = 10 + r * std::cos(t), y = 10 + r * std::sin(t);
            outline.x.push_back(x);
            outline.y.push_back(y);
            bln << x << "," << y << "\r\n";
        }
    }
};

Fixture& fixture() {
    static Fixture f;
    return f;
}

void BM_GridBlankCall(benchmark::State& state) {
    auto& f = fixture();
    auto app = surfer::connect("Surfer.Application", true);
    const std::string out = (f.dir / "blanked.grd").string();
    for (auto _ : state) app->call("GridBlank", surfer::Named{{"InGrid", f.aPath}, {"BlankFile", f.blnPath}, {"OutGrid", out}});
}
BENCHMARK(BM_GridBlankCall)->Unit(benchmark::kMillisecond);

void BM_GridBlankCompute(benchmark::State& state) {
    auto& f = fixture();
    for (auto _ : state) {
        trelvik::Grid g = f.a;
        surfer::blankGrid(g, {f.outline});
        benchmark::DoNotOptimize(g.z.data());
    }
}
BENCHMARK(BM_GridBlankCompute)->Unit(benchmark::kMillisecond);

void BM_GridVolumeCall(benchmark::State& state) {
    auto& f = fixture();
    auto app = surfer::connect("Surfer.Application", true);
    surfer::ResultArray r(12);
    for (auto _ : state)
        app->call("GridVolume", surfer::Named{{"Upper", f.aPath}, {"Lower", 0}, {"pResults", r}, {"ShowReport", false}});
}
BENCHMARK(BM_GridVolumeCall)->Unit(benchmark::kMillisecond);

void BM_GridVolumeCompute(benchmark::State& state) {
    auto& f = fixture();
    for (auto _ : state) benchmark::DoNotOptimize(surfer::computeVolume(f.a, &f.b, 0));
}
BENCHMARK(BM_GridVolumeCompute)->Unit(benchmark::kMillisecond);

void BM_GridMathMaxCall(benchmark::State& state) {
    auto& f = fixture();
    auto app = surfer::connect("Surfer.Application", true);
    const std::string out = (f.dir / "c.grd").string();
    for (auto _ : state)
        app->call("GridMath", surfer::Named{{"Function", "C=max(A,B)"}, {"InGridA", f.aPath}, {"InGridB", f.bPath}, {"OutGridC", out}});
}
BENCHMARK(BM_GridMathMaxCall)->Unit(benchmark::kMillisecond);

void BM_GridMathMaxCompute(benchmark::State& state) {
    auto& f = fixture();
    const surfer::GridExpression e("C=max(A,B)");
    std::vector<double> out(f.a.z.size());
    for (auto _ : state) {
        e.evaluate(f.a.z.data(), f.b.z.data(), out.data(), out.size());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_GridMathMaxCompute)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
