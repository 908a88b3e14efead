// Reading a multi-tooth file of 10,000 teeth of 20 x 20 points into the tooth store
// (target < 2 s), and one slider step, which copies only the tooth shown.
#include "core/prompt.h"
#include "core/tempfiles.h"
#include "csvview/multitooth.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>

using namespace trelvik;
using namespace trelvik::csvview;

namespace {

// Writes the multi-tooth file into folder.
void writeTeeth(const PrivateFolder& folder) {
    std::ofstream out(folder.file("teeth.csv"), std::ios::binary);
    for (int t = 1; t <= 10000; ++t) {
        out << "0," << t % 7 << "\r\n1,2,3,4,5,6,7,8,9,10\r\n";  // no 666 outside markers
        for (int y = 1; y <= 20; ++y)
            for (int x = 1; x <= 20; ++x) out << x << ',' << y << ',' << -0.01 * ((x - 10) * (x - 10) + (y - 10) * (y - 10) + t % 7) << "\r\n";
        out << "-666,-666,-666\r\n";
    }
}

void BM_ReadTenThousandTeeth(benchmark::State& state) {
    const PrivateFolder folder("bench_multitooth");
    writeTeeth(folder);
    MultiToothReadOptions o;
    o.folder = folder.dir().string();
    o.fileName = "teeth.csv";
    ScriptedPrompt prompt;
    for (auto _ : state) {
        MultiToothStore store;
        benchmark::DoNotOptimize(ReadMultiToothFile(o, store, prompt, noProgress()).outcome);
    }
}

void BM_SliderStep(benchmark::State& state) {
    const PrivateFolder folder("bench_multitooth");
    writeTeeth(folder);
    MultiToothReadOptions o;
    o.folder = folder.dir().string();
    o.fileName = "teeth.csv";
    ScriptedPrompt prompt;
    MultiToothStore store;
    ReadMultiToothFile(o, store, prompt, noProgress());
    ToothViewState view;
    CurrentGrid cur;
    long t = 0;
    for (auto _ : state) {
        t = t % 10000 + 1;
        ViewMultiTeeth({}, t, store, view, cur, noProgress(), [](long, bool) {});
    }
}

} // namespace

BENCHMARK(BM_ReadTenThousandTeeth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SliderStep)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
