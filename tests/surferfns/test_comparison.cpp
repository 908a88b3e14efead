// "Compare": consecutive pairs combined into their upper or lower envelope.
#include "core/grid.h"
#include "surferfns/comparison.h"
#include "test_smoothing_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace trelvik::surffns;
using namespace surffnsproc;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Rows = std::vector<std::vector<double>>;

TEST(Comparison, PairsGiveEnvelopesNamedAfterTheirFirstGrid) {
    ProcRun r;
    const double b = trelvik::kBlank;
    r.save("a.grd", fromRows({{1, 5}, {3, b}}));
    r.save("aplane.grd", fromRows({{2, 2}, {2, 2}}));
    r.save("b.grd", fromRows({{0, 0}, {0, 0}}));
    r.save("bplane.grd", fromRows({{-1, 1}, {-1, 1}}));
    for (const char* g : {"a.grd", "aplane.grd", "b.grd", "bplane.grd"}) r.add(g);
    r.ctx.chkPlotSurfer = true;
    EXPECT_EQ(CompareGrids(r.ctx, CompareOptions{}), BatchOutcome::Completed);
    EXPECT_TRUE(r.prompt.shown.empty());
    const Rows a = rowsOf(r.read("a_top+plane.grd"));
    EXPECT_EQ(a[0], (std::vector<double>{2, 5}));
    EXPECT_EQ(a[1][0], 3);
    EXPECT_TRUE(trelvik::isBlank(a[1][1]));
    EXPECT_EQ(rowsOf(r.read("b_top+plane.grd")), (Rows{{0, 1}, {0, 1}}));
    EXPECT_THAT(r.files(), ElementsAre("a.grd", "a_top+plane.grd", "aplane.grd", "b.grd", "b_top+plane.grd",
                                       "bplane.grd"));
    EXPECT_EQ(r.state.NumFiles, 0);
    EXPECT_EQ(r.calls("GridMath").size(), 2u);
}

TEST(Comparison, MinimumInVersion6Form) {
    ProcRun r(true);
    r.save("a.grd", fromRows({{1, 5}, {0, 0}}));
    r.save("c.grd", fromRows({{2, 2}, {-1, 1}}));
    r.add("a.grd");
    r.add("c.grd");
    CompareOptions o;
    o.optCompareMax = false;
    o.optCompareMin = true;
    o.txtCompGridOutGridText = "_low";
    EXPECT_EQ(CompareGrids(r.ctx, o), BatchOutcome::Completed);
    EXPECT_THAT(r.calls("GridMath"), ElementsAre("GridMath(\"" + r.dir.path("a.grd") + "\", \"" + r.dir.path("c.grd") +
                                                 "\", \"" + r.dir.path("a_low.grd") + "\", , \"C=min(A,B)\")"));
    EXPECT_EQ(rowsOf(r.read("a_low.grd")), (Rows{{1, 2}, {-1, 0}}));
}

TEST(Comparison, OddCountsReportTheUnpairedGrid) {
    ProcRun r;
    for (const char* g : {"a.grd", "b.grd", "c.grd"}) r.save(g, fromRows({{1, 2}, {3, 4}}));
    for (const char* g : {"a.grd", "b.grd", "c.grd"}) r.add(g);
    EXPECT_EQ(CompareGrids(r.ctx, CompareOptions{}), BatchOutcome::Completed);
    EXPECT_TRUE(r.exists("a_top+plane.grd"));
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr(r.dir.path("c.grd")));
    EXPECT_EQ(r.calls("GridMath").size(), 1u);

    ProcRun one;
    one.save("a.grd", fromRows({{1, 2}, {3, 4}}));
    one.add("a.grd");
    EXPECT_EQ(CompareGrids(one.ctx, CompareOptions{}), BatchOutcome::Stopped);
    EXPECT_EQ(one.state.NumFiles, 1);
    EXPECT_THAT(one.files(), ElementsAre("a.grd"));
    EXPECT_FALSE(one.prompt.busyNow);
}

TEST(Comparison, OutputNamesThatWouldReplaceAnInputAreRefused) {
    for (const char* text : {"", "x"}) {
        ProcRun r;
        r.save("a.grd", fromRows({{1, 2}, {3, 4}}));
        r.save("ax.grd", fromRows({{5, 5}, {5, 5}}));
        r.add("a.grd");
        r.add("ax.grd");  // "x" would write a & "x" & ".grd": the second grid itself
        CompareOptions o;
        o.txtCompGridOutGridText = text;
        EXPECT_EQ(CompareGrids(r.ctx, o), BatchOutcome::Stopped);
        ASSERT_EQ(r.prompt.shown.size(), 1u);
        EXPECT_EQ(r.prompt.shown[0].title, "Filename");
        EXPECT_EQ(rowsOf(r.read("a.grd")), (Rows{{1, 2}, {3, 4}}));
        EXPECT_EQ(rowsOf(r.read("ax.grd")), (Rows{{5, 5}, {5, 5}}));
        EXPECT_EQ(r.state.NumFiles, 2);
        EXPECT_TRUE(r.calls("GridMath").empty());
    }
}
