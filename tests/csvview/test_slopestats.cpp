#include "csvview/slopestats.h"

#include "core/textform.h"
#include "test_csvhelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace trelvik;
using namespace trelvik::csvview;
using csvtest::readText;

namespace {

// Slope grids whose interior values are given row by row (rows 2.., columns 2..);
// everything else empty. `which` selects the grid that carries the values.
SlopeGrids gridsWith(SlopeChoice which, int cols, int rows, const std::vector<double>& values) {
    SlopeGrids g;
    LatticeGrid base(cols, rows);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c) base.at(c, r) = {c * 0.5, r * 0.25, kVoidHeight};
    g.slope = g.orient = g.angularity = base;
    LatticeGrid* dst = which == SlopeChoice::Slope ? &g.slope : which == SlopeChoice::Aspect ? &g.orient : &g.angularity;
    std::size_t i = 0;
    for (int r = 2; r < rows && i < values.size(); ++r)
        for (int c = 2; c < cols && i < values.size(); ++c) dst->z(c, r) = values[i++];
    return g;
}

SlopeOptions options(SlopeChoice c, bool stats, bool data) {
    SlopeOptions o;
    o.choice = c;
    slopeFlags(c, o);
    o.saveStats = stats;
    o.saveData = data;
    return o;
}

} // namespace

TEST(SlopeStats, AngularityStatisticsWithTheQuartileRule) {
    csvtest::TempDir t;
    AppState app;
    ScriptedPrompt p;
    RunContext ctx{t.folder(), "m1", false, false};
    const auto g = gridsWith(SlopeChoice::Angular, 4, 4, {3, 1, 4, 2});
    const auto res = writeSlopeOutputs(g, options(SlopeChoice::Angular, true, true), ctx, app, p);
    EXPECT_DOUBLE_EQ(res.summary.q1, 1.25);
    EXPECT_DOUBLE_EQ(res.summary.q3, 3.25);
    EXPECT_EQ(readText(t.path("angularity/m1angularitystats.csv")),
              "\"Info\",\"NoPts\",\"AngularityMean\",\"AngularitySD\",\"AngularityMin\",\"AngularityMax\","
              "\"AngularityMed\",\"Angularity1Q\",\"Angularity3Q\"\r\n"
              "\"Angularity\",4,2.5,1.29099444873581,1,4,2.5,1.25,3.25\r\n");
    // Data: x, y, value per analysed cell, rows outer.
    EXPECT_EQ(readText(t.path("angularity/m1angularitydata.csv")),
              "1,0.5,3\r\n1.5,0.5,1\r\n1,0.75,4\r\n1.5,0.75,2\r\n");
    EXPECT_FALSE(std::filesystem::exists(t.path("angularity/00angularstats.csv")));
}

TEST(SlopeStats, SlopeClassesAndBatchSummary) {
    csvtest::TempDir t;
    AppState app;
    ScriptedPrompt p;
    // Slope gradients of 5, 15, 15, 89 and 45 degrees (atan of tan is exact to ~1e-13).
    std::vector<double> grads;
    for (double d : {5.0, 15.0, 15.0, 89.0, 45.0}) grads.push_back(std::tan(d * std::acos(-1.0) / 180));
    const auto g = gridsWith(SlopeChoice::Slope, 7, 3, grads);
    RunContext ctx{t.folder(), "a", true, false};
    auto o = options(SlopeChoice::Slope, true, false);
    const auto res = writeSlopeOutputs(g, o, ctx, app, p);
    ASSERT_EQ(res.classes.size(), 9u);
    EXPECT_NEAR(res.summary.mean, 33.8, 1e-9);
    EXPECT_NEAR(res.summary.median, 15, 1e-9);
    const std::string text = readText(t.path("slope/aslopestats.csv"));
    const std::string head =
        "\"Info\",\"NoPts\",\"SlopeMean\",\"SlopeSD\",\"SlopeMin\",\"SlopeMax\",\"SlopeMed\",\"Slope1Q\",\"Slope3Q\"\r\n";
    ASSERT_EQ(text.substr(0, head.size()), head);
    const std::string tail = "\r\n\r\n\"IntStart\",\"NoPts\"\r\n0,1\r\n10,2\r\n20,0\r\n30,0\r\n40,1\r\n50,0\r\n60,0\r\n70,0\r\n80,1\r\n";
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
    EXPECT_EQ(text.find("\"Slope\",5,"), head.size());

    // Batch: the first file begins the summary, the next appends; "Curr. file" leaves it.
    const std::string sum = t.path("slope/00slopestats.csv");
    std::string first = readText(sum);
    EXPECT_EQ(first.find("\"File\",\"Info\",\"NoPts\",\"SlopeMean\""), 0u);
    EXPECT_NE(first.find("\r\n\"a\",\"Slope\",5,"), std::string::npos);
    ctx.baseName = "b";
    ctx.allFilesStarted = true;
    writeSlopeOutputs(g, o, ctx, app, p);
    std::string second = readText(sum);
    EXPECT_EQ(second.substr(0, first.size()), first);
    EXPECT_EQ(second.substr(first.size(), 13), "\"b\",\"Slope\",5");
    ctx.allFilesRunning = false;
    ctx.allFilesStarted = false;
    writeSlopeOutputs(g, o, ctx, app, p);
    EXPECT_EQ(readText(sum), second);
    // A new batch begins the summary afresh.
    ctx.allFilesRunning = true;
    writeSlopeOutputs(g, o, ctx, app, p);
    EXPECT_EQ(readText(sum), first.substr(0, first.find("\r\n") + 2) + second.substr(first.size()));
}

TEST(SlopeStats, OrientationClassesWrapAroundNorth) {
    csvtest::TempDir t;
    AppState app;
    ScriptedPrompt p;
    const auto g = gridsWith(SlopeChoice::Aspect, 5, 5, {350, 10, 22.5, 45, 67.4, -1, 337.5, 180, 200});
    RunContext ctx{t.folder(), "o", true, false};
    const auto res = writeSlopeOutputs(g, options(SlopeChoice::Aspect, true, true), ctx, app, p);
    EXPECT_EQ(readText(t.path("orient/oorientstats.csv")),
              "\"Info\"\r\n\"Orient\"\r\n\r\n\"IntCentre\",\"NoPts\"\r\n"
              "0,3\r\n45,3\r\n90,0\r\n135,0\r\n180,2\r\n225,0\r\n270,0\r\n315,0\r\n");
    // -1 is in the data file but in no class; there is no orientation summary.
    EXPECT_EQ(readText(t.path("orient/oorientdata.csv")).find("2,0.75,-1\r\n") != std::string::npos, true);
    EXPECT_FALSE(std::filesystem::exists(t.path("orient/00orientstats.csv")));
    EXPECT_EQ(res.values.size(), 9u);
}

TEST(SlopeStats, NothingForShadedReliefAndRefusals) {
    csvtest::TempDir t;
    AppState app;
    ScriptedPrompt p;
    RunContext ctx{t.folder(), "s", false, false};
    const auto g = gridsWith(SlopeChoice::Slope, 4, 4, {0.1, 0.2});
    writeSlopeOutputs(g, options(SlopeChoice::ShadedRelief, true, true), ctx, app, p);
    EXPECT_TRUE(std::filesystem::is_empty(t.dir));

    auto o = options(SlopeChoice::Slope, true, false);
    o.slopeNoCat = 0;
    writeSlopeOutputs(g, o, ctx, app, p);
    ASSERT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.shown[0].title, "Values");
    EXPECT_FALSE(std::filesystem::exists(t.path("slope/sslopestats.csv")));
    // A mistyped count of a billion classes is refused, not laid out.
    auto big = options(SlopeChoice::Aspect, true, false);
    big.aspectNoCat = 1e9;
    writeSlopeOutputs(gridsWith(SlopeChoice::Aspect, 4, 4, {10, 20}), big, ctx, app, p);
    ASSERT_EQ(p.shown.size(), 2u);
    EXPECT_EQ(p.shown[1].title, "Values");
    EXPECT_FALSE(std::filesystem::exists(t.path("orient/sorientstats.csv")));

    // No analysed cell: no summary can be made; the data file is still written, empty.
    const auto none = gridsWith(SlopeChoice::Angular, 4, 4, {});
    writeSlopeOutputs(none, options(SlopeChoice::Angular, true, true), ctx, app, p);
    EXPECT_EQ(p.shown.size(), 3u);
    EXPECT_EQ(readText(t.path("angularity/sangularitydata.csv")), "");
}
