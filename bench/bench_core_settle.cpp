// A step's check that each of its input files exists: every check settles the folder's
// cut commits first, so it lists a folder written in the last seconds (not yet trusted to
// hold none) and only looks up the time of a quiet one. A batch of 2000 scans checks each
// in turn.
#include "core/fileroutines.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "support/tempfolder.h"

namespace {

constexpr int kFiles = 2000;

void BM_FileExistsInAFolderJustWritten(benchmark::State& state) {
    trelvik::testing::TempFolder t;
    std::vector<std::string> paths;
    for (int i = 0; i < kFiles; ++i) paths.push_back(t.write("scan" + std::to_string(i) + ".grd", "x"));
    for (auto _ : state) {
        t.write("touched.txt", "x");  // keeps the folder freshly changed
        int found = 0;
        for (const std::string& p : paths) found += trelvik::FileExists(p) ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_FileExistsInAFolderJustWritten)->Unit(benchmark::kMillisecond);

void BM_FileExistsInAQuietFolder(benchmark::State& state) {
    trelvik::testing::TempFolder t;
    std::vector<std::string> paths;
    for (int i = 0; i < kFiles; ++i) paths.push_back(t.write("scan" + std::to_string(i) + ".grd", "x"));
    // Written long enough ago for its time to be trusted: the first check lists it.
    std::filesystem::last_write_time(t.dir(), std::filesystem::file_time_type::clock::now() - std::chrono::seconds(10));
    for (auto _ : state) {
        int found = 0;
        for (const std::string& p : paths) found += trelvik::FileExists(p) ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_FileExistsInAQuietFolder)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
