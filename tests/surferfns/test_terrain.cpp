// Terrain slope and aspect through "Process": histogram tables of small grids whose
// slopes are known, counted by hand.
#include "surferfns/terrain.h"
#include "surferfns/terrainhistogram.h"
#include "procrun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace surffnstest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

constexpr double kDeg = 180.0 / std::numbers::pi;

// Three equal rows: only the middle row has interior nodes, dz/dy = 0 there, and the
// heights are chained so that the central difference at interior node c is grads[c - 1].
Grid slopeRow(const std::vector<double>& grads) {
    const int cols = static_cast<int>(grads.size()) + 2;
    std::vector<double> h(cols, 0.0);
    for (int c = 1; c + 1 < cols; ++c) h[c + 1] = h[c - 1] + 2 * grads[c - 1];
    return makeGrid(cols, 3, 0, cols - 1, 0, 2, [&](double x, double) { return h[static_cast<int>(x)]; });
}

std::string line(const std::string& a, const std::string& b) { return "\"" + a + "\",\"" + b + "\"\r\n"; }

std::string table(const std::vector<int>& counts, double w) {
    std::string t = line("Bin", "Frequency");
    for (std::size_t k = 0; k < counts.size(); ++k) {
        char centre[32];
        std::snprintf(centre, sizeof centre, "%.15g", static_cast<double>(k) * w);
        t += line(centre, std::to_string(counts[k]));
    }
    return t + "\r\n";
}

ProcessOptions terrain(const char* item) {
    ProcessOptions o;
    o.optMirror = false;
    o.optTerrain = true;
    o.cmbProcess = item;
    return o;
}

} // namespace

TEST(TerrainClasses, CentredClassesWrapForAspectButNotForSlope) {
    // 355 and 354.375 are north again; 5.625 is a boundary and goes up to class 2.
    auto a = TerrainClassCounts({355, 354.375, 354.374, 5.625, 5.624, 0}, 11.25, 360, true);
    EXPECT_EQ(std::vector<std::int64_t>(a.begin(), a.begin() + 2), (std::vector<std::int64_t>{4, 1}));
    EXPECT_EQ(a[31], 1);
    EXPECT_THAT(TerrainClassCounts({45, 44.9, 315, 225}, 90, 360, true), ElementsAre(2, 1, 0, 1));
    // Counts pass the old 16-bit limit.
    EXPECT_EQ(TerrainClassCounts(std::vector<double>(40000, 30.0), 11.25, 90, false)[3], 40000);
}

class TerrainVersions : public ::testing::TestWithParam<bool> {};

TEST_P(TerrainVersions, SlopeTableWithSteepestClassMeanAndDeviation) {
    ProcRun r(GetParam());
    // 0, 85, 45, 5.71, 2.86 and 89 degrees: classes 1, 8, 5, 2, 1, 8 (85 and 89 are the
    // steepest class, not the flattest).
    const std::vector<double> grads{0, std::tan(85 / kDeg), 1, 0.1, 0.05, std::tan(89 / kDeg)};
    r.add("tooth.grd", slopeRow(grads));
    r.dir.write("toothtemp.dat", "the user's own");  // named like the step's scratch x, y, z text
    EXPECT_EQ(ProcessGrids(r.ctx, terrain("Terrain slope")), BatchOutcome::Completed);
    EXPECT_TRUE(r.prompt.shown.empty());
    EXPECT_EQ(r.dir.read("toothtemp.dat"), "the user's own");
    const std::string text = r.dir.read("toothtsresults.csv");
    const std::string head = table({2, 1, 0, 0, 1, 0, 0, 2}, 11.25) + line("Mean Slope", "SD Slope");
    ASSERT_EQ(text.substr(0, head.size()), head);
    double mean = 0, ss = 0, m = 0, sd = 0;
    for (double g : grads) mean += std::atan(g) * kDeg / grads.size();
    for (double g : grads) ss += std::pow(std::atan(g) * kDeg - mean, 2);
    ASSERT_EQ(std::sscanf(text.c_str() + head.size(), "\"%lf\",\"%lf\"", &m, &sd), 2);
    EXPECT_NEAR(m, mean, 1e-9);
    EXPECT_NEAR(sd, std::sqrt(ss / 5), 1e-9);
    EXPECT_EQ(text.substr(text.size() - 5), "\"\r\n\r\n");
}

TEST_P(TerrainVersions, AspectFourTablesAndNames) {
    const bool v6 = GetParam();
    ProcRun r(v6);
    r.ctx.chkPlotSurfer = true;
    // z = y: downhill is south (180) at all 3 x 2 interior nodes.
    r.add("tooth.grd", makeGrid(5, 4, 0, 4, 0, 3, [](double, double y) { return y; }));
    EXPECT_EQ(ProcessGrids(r.ctx, terrain("Terrain aspect")), BatchOutcome::Completed);
    auto six = [](int classes, int at) {
        std::vector<int> c(classes, 0);
        c[at] = 6;
        return c;
    };
    const std::string stem = v6 ? "toothta" : "toothta10";
    EXPECT_EQ(r.dir.read(stem + "results.csv"),
              table(six(32, 16), 11.25) + table(six(16, 8), 22.5) + table(six(8, 4), 45) + table(six(4, 2), 90));
    EXPECT_EQ(r.state.PlotType, 3);  // shown as an image map
    const std::string calc = r.calls("GridCalculus").at(0);
    // The grid is made under a working name beside the one it is put in place as.
    if (v6) EXPECT_THAT(calc, HasSubstr("tooth.grd\", 1, , , 1, , , , \"" + r.dir.path(".toothta.grd.trelvik-")));
    else EXPECT_THAT(calc, HasSubstr("Operation:=5, Param1:=0.174532925199433, OutGrid:=\"" +
                                     r.dir.path(".toothta10.grd.trelvik-")));
    if (!v6) EXPECT_THAT(calc, HasSubstr(".tmp\", OutFmt:=3)"));
    EXPECT_THAT(r.files(), ::testing::Contains(stem + ".grd"));
}

INSTANTIATE_TEST_SUITE_P(Both, TerrainVersions, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "V6" : "V8"; });

TEST(Terrain, RefusalsAndTooFewValues) {
    ProcRun r;
    r.add("tooth.grd", slopeRow({1}));  // one interior node
    for (const char* bad : {"", "Terrain"}) {
        EXPECT_EQ(ProcessGrids(r.ctx, terrain(bad)), BatchOutcome::Stopped);
        EXPECT_EQ(r.prompt.shown.back().text, "Choose processing procedure.");
    }
    EXPECT_FALSE(r.app.SurferApp);  // refused before the map window could open
    EXPECT_THAT(r.files(), ElementsAre("tooth.grd"));
    EXPECT_EQ(r.state.NumFiles, 1);
    // One value: the table and a message instead of a division by N - 1 = 0.
    EXPECT_EQ(ProcessGrids(r.ctx, terrain("Terrain slope")), BatchOutcome::Completed);
    EXPECT_EQ(r.dir.read("toothtsresults.csv"), table({0, 0, 0, 0, 1, 0, 0, 0}, 11.25));
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("1 value(s)"));
}

TEST(Terrain, GridAndTableGoInPlaceTogether) {
    ProcRun r;
    r.add("tooth.grd", slopeRow({1, 0.5}));
    r.dir.write("toothts.grd", "the earlier slope grid");
    std::filesystem::create_directory(r.dir.path("toothtsresults.csv"));  // the table cannot be put in place
    EXPECT_EQ(ProcessGrids(r.ctx, terrain("Terrain slope")), BatchOutcome::Failed);
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("toothtsresults.csv"));
    EXPECT_EQ(r.dir.read("toothts.grd"), "the earlier slope grid");
}
