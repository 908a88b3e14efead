// Terrain slope and aspect through "Process": the grids, the XYZ text and the histogram
// tables of small grids whose slopes are known, counted by hand.
#include "surferfns/terrain.h"
#include "surferfns/terrainhistogram.h"
#include "test_smoothing_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace trelvik::surffns;
using namespace surffnsproc;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

constexpr double kDeg = 180.0 / std::numbers::pi;

// Three rows alike, so only the middle row has interior nodes and dz/dy = 0 there. The
// heights are chained so that the central difference at interior node c is grads[c - 1]:
// its terrain slope is atan(|grads[c - 1]|).
Grid slopeRow(const std::vector<double>& grads) {
    const int cols = static_cast<int>(grads.size()) + 2;
    std::vector<double> h(cols, 0.0);
    for (int c = 1; c + 1 < cols; ++c) h[c + 1] = h[c - 1] + 2 * grads[c - 1];
    Grid g(cols, 3, 0, cols - 1, 0, 2);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < cols; ++i) g.at(i, j) = h[i];
    return g;
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

} // namespace

TEST(TerrainClasses, CentredClassesWrapForAspectButNotForSlope) {
    // Aspect, width 11.25: 355 and 354.375 are north again, 354.374 the last class;
    // 5.625 is a boundary and goes up to class 2, 5.624 stays in class 1.
    auto a = TerrainClassCounts({355, 354.375, 354.374, 5.625, 5.624, 0, 180}, 11.25, 360, true);
    ASSERT_EQ(a.size(), 32u);
    EXPECT_EQ(a[0], 4);
    EXPECT_EQ(a[1], 1);
    EXPECT_EQ(a[16], 1);
    EXPECT_EQ(a[31], 1);
    // Slope: 84.375 and 90 are the steepest class, not the flattest.
    auto s = TerrainClassCounts({84.375, 90, 84.374, 0, 5.625}, 11.25, 90, false);
    EXPECT_THAT(s, ElementsAre(1, 1, 0, 0, 0, 0, 0, 3));
    // The 90-wide classes of the last aspect pass: 45 lies on a boundary and counts with
    // east, 44.9 and 315 with north.
    EXPECT_THAT(TerrainClassCounts({45, 44.9, 315, 225}, 90, 360, true), ElementsAre(2, 1, 0, 1));
    // Counts pass the old 16-bit limit.
    EXPECT_EQ(TerrainClassCounts(std::vector<double>(40000, 30.0), 11.25, 90, false)[3], 40000);
}

class TerrainVersions : public ::testing::TestWithParam<bool> {};

TEST_P(TerrainVersions, SlopeTableByteForByteWithMeanAndDeviation) {
    ProcRun r(GetParam());
    // Slopes 0, 85, 45, 5.71, 2.86 and 89 degrees: classes 1, 8, 5, 2, 1, 8.
    const std::vector<double> grads{0, std::tan(85 / kDeg), 1, 0.1, 0.05, std::tan(89 / kDeg)};
    r.save("tooth.grd", slopeRow(grads));
    r.add("tooth.grd");
    ProcessOptions o;
    o.optMirror = false;
    o.optTerrain = true;
    EXPECT_EQ(ProcessGrids(r.ctx, o), BatchOutcome::Completed);
    EXPECT_TRUE(r.prompt.shown.empty());
    EXPECT_TRUE(r.exists("toothts.grd"));
    EXPECT_TRUE(r.exists("toothtemp.dat"));
    const std::string text = r.dir.read("toothtsresults.csv");
    const std::string expectTable = table({2, 1, 0, 0, 1, 0, 0, 2}, 11.25);
    ASSERT_EQ(text.substr(0, expectTable.size()), expectTable);
    const std::string rest = text.substr(expectTable.size());
    ASSERT_EQ(rest.rfind(line("Mean Slope", "SD Slope"), 0), 0u) << rest;
    double mean = 0, ss = 0;
    for (double g : grads) mean += std::atan(g) * kDeg / grads.size();
    for (double g : grads) ss += std::pow(std::atan(g) * kDeg - mean, 2);
    double m = 0, sd = 0;
    ASSERT_EQ(std::sscanf(rest.c_str() + line("Mean Slope", "SD Slope").size(), "\"%lf\",\"%lf\"", &m, &sd), 2);
    EXPECT_NEAR(m, mean, 1e-9);
    EXPECT_NEAR(sd, std::sqrt(ss / 5), 1e-9);
    EXPECT_EQ(rest.substr(rest.size() - 5), "\"\r\n\r\n");
    EXPECT_EQ(r.state.NumFiles, 0);  // cleared after the run
    // Running again replaces the table rather than growing it.
    r.add("tooth.grd");
    ProcessGrids(r.ctx, o);
    EXPECT_EQ(r.dir.read("toothtsresults.csv"), text);
}

TEST_P(TerrainVersions, AspectFourTablesNamesAndMinimumSlope) {
    const bool v6 = GetParam();
    ProcRun r(v6);
    // z = y: downhill is south (180) at every interior node (3 x 2 of them); slope 45.
    r.save("tooth.grd", makeGrid(5, 4, 0, 4, 0, 3, [](double, double y) { return y; }));
    r.add("tooth.grd");
    ProcessOptions o;
    o.optMirror = false;
    o.optTerrain = true;
    o.cmbProcess = "Terrain aspect";
    EXPECT_EQ(ProcessGrids(r.ctx, o), BatchOutcome::Completed);
    const std::string stem = v6 ? "toothta" : "toothta10";
    EXPECT_TRUE(r.exists(stem + ".grd"));
    auto counts = [](int classes, int at) {
        std::vector<int> c(classes, 0);
        c[at] = 6;
        return c;
    };
    EXPECT_EQ(r.dir.read(stem + "results.csv"), table(counts(32, 16), 11.25) + table(counts(16, 8), 22.5) +
                                                    table(counts(8, 4), 45) + table(counts(4, 2), 90));
    const auto calc = r.calls("GridCalculus");
    ASSERT_EQ(calc.size(), 1u);
    if (v6) {
        EXPECT_EQ(calc[0], "GridCalculus(\"" + r.dir.path("tooth.grd") + "\", 1, , , 1, , , , \"" +
                               r.dir.path("toothta.grd") + "\")");
        EXPECT_THAT(r.calls("GridConvert"), ElementsAre(HasSubstr("temp.dat\", 3)")));
    } else {
        EXPECT_THAT(calc[0], HasSubstr("Operation:=5, Param1:=0.174532925199433,"));
        EXPECT_THAT(calc[0], HasSubstr("OutFmt:=3)"));
        EXPECT_THAT(r.calls("GridConvert"), ElementsAre(HasSubstr("OutFmt:=4)")));
    }
}

INSTANTIATE_TEST_SUITE_P(Both, TerrainVersions, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "V6" : "V8"; });

TEST(Terrain, MinimumSlopeBlanksGentleNodesAndTextWithoutNumberMeansZero) {
    ProcRun r;
    // A 5 degree plane: all blank with a 10 degree minimum, all kept with "abc" (0).
    const double t = std::tan(5 / kDeg);
    r.save("tooth.grd", makeGrid(4, 3, 0, 3, 0, 2, [&](double x, double) { return t * x; }));
    ProcessOptions o;
    o.optMirror = false;
    o.optTerrain = true;
    o.cmbProcess = "Terrain aspect";
    r.add("tooth.grd");
    ProcessGrids(r.ctx, o);
    const std::string zeros = r.dir.read("toothta10results.csv");
    EXPECT_EQ(zeros.substr(0, table(std::vector<int>(32, 0), 11.25).size()), table(std::vector<int>(32, 0), 11.25));
    o.txtTAMinSlope = "abc";
    r.add("tooth.grd");
    ProcessGrids(r.ctx, o);
    EXPECT_THAT(r.calls("GridCalculus").back(), HasSubstr("Param1:=0,"));
    std::vector<int> west(32, 0);
    west[24] = 2;  // aspect 270 for the two interior nodes
    EXPECT_EQ(r.dir.read("toothtaabcresults.csv").substr(0, table(west, 11.25).size()), table(west, 11.25));
}

TEST(Terrain, RefusalsAndTooFewValues) {
    {
        // A text other than the two items: message before anything is written; list kept.
        ProcRun r;
        r.save("tooth.grd", slopeRow({1}));
        r.add("tooth.grd");
        ProcessOptions o;
        o.optMirror = false;
        o.optTerrain = true;
        for (const char* bad : {"", "Terrain"}) {
            o.cmbProcess = bad;
            EXPECT_EQ(ProcessGrids(r.ctx, o), BatchOutcome::Stopped);
            EXPECT_EQ(r.prompt.shown.back().title, "Process");
            EXPECT_EQ(r.prompt.shown.back().text, "Choose processing procedure.");
        }
        EXPECT_EQ(r.state.NumFiles, 1);
        EXPECT_THAT(r.files(), ElementsAre("tooth.grd"));
        EXPECT_FALSE(r.prompt.busyNow);
    }
    {
        // One value: the table, a message, and no division by N - 1 = 0.
        ProcRun r;
        r.save("tooth.grd", slopeRow({1}));
        r.add("tooth.grd");
        ProcessOptions o;
        o.optMirror = false;
        o.optTerrain = true;
        EXPECT_EQ(ProcessGrids(r.ctx, o), BatchOutcome::Completed);
        EXPECT_EQ(r.dir.read("toothtsresults.csv"), table({0, 0, 0, 0, 1, 0, 0, 0}, 11.25));
        ASSERT_EQ(r.prompt.shown.size(), 1u);
        EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("1 value(s)"));
    }
}

TEST(Terrain, PlottedAsImageMapAndEmptyListTakesTheFileBox) {
    ProcRun r;
    r.ctx.chkPlotSurfer = true;
    r.ctx.plot.PlotType = 2;
    r.save("tooth.grd", slopeRow({1, 2}));
    r.ctx.Text2 = "tooth.grd";  // nothing listed: the file box's grid is processed
    ProcessOptions o;
    o.optMirror = false;
    o.optTerrain = true;
    EXPECT_EQ(ProcessGrids(r.ctx, o), BatchOutcome::Completed);
    EXPECT_TRUE(r.exists("toothtsresults.csv"));
    EXPECT_EQ(r.state.PlotType, 3);
    EXPECT_EQ(r.ctx.plot.PlotType, 2);  // the frame's own choice is untouched
}
