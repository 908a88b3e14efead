// A step's check that each of its input files exists: every check settles the folder's
// cut commits first, so it lists a folder written in the last seconds (not yet trusted to
// hold none) and only looks up the time of a quiet one. A batch of 2000 scans checks each
// in turn. A folder holding 20,000 names of records of ended runs that are not the user's
// to settle is listed once a step while it stands: a step of 20 file checks there costs
// about one listing, not twenty.
#include "core/fileroutines.h"
#include "core/commit/workingfiles.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
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
    // Changed long enough ago for its time to be trusted: the first check lists it.
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    for (auto _ : state) {
        int found = 0;
        for (const std::string& p : paths) found += trelvik::FileExists(p) ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
}
BENCHMARK(BM_FileExistsInAQuietFolder)->Unit(benchmark::kMillisecond);

constexpr int kRecordNames = 20000, kChecksPerStep = 20;

void BM_StepOfFileChecksBeside20000RecordNames(benchmark::State& state) {
    trelvik::testing::TempFolder t;
    const pid_t ended = fork();
    if (ended == 0) _exit(0);
    waitpid(ended, nullptr, 0);
    // Empty, and another user's where the benchmark may make them so (else readable by
    // others): no record the user obeys, so each stays and is named.
    for (int i = 0; i < kRecordNames; ++i) {
        const std::string name = t.write(trelvik::working::stamped(".commit.trelvik-", trelvik::working::hostName(),
                                                                   ended, static_cast<unsigned long>(i)) + ".commit", "");
        ::chmod(name.c_str(), 0644);
        if (::geteuid() == 0) benchmark::DoNotOptimize(::chown(name.c_str(), 65534, 65534));
    }
    const std::string scan = t.write("scan.grd", "x");
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));  // its time trusted
    for (auto _ : state) {
        trelvik::working::takeSettleNotes();  // a new step
        int found = 0;
        for (int i = 0; i < kChecksPerStep; ++i) found += trelvik::FileExists(scan) ? 1 : 0;
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * kChecksPerStep);
}
BENCHMARK(BM_StepOfFileChecksBeside20000RecordNames)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
