// "Compare": consecutive pairs combined into their upper or lower envelope.
#include "surferfns/comparison.h"
#include "procrun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace surffnstest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(Comparison, PairsGiveEnvelopesNamedAfterTheirFirstGridAndTheOddOneIsReported) {
    ProcRun r;
    const double b = trelvik::kBlank;
    r.add("a.grd", fromRows({{1, 5}, {3, b}}));
    r.add("aplane.grd", fromRows({{2, 2}, {2, 2}}));
    r.add("b.grd", fromRows({{0, 0}, {0, 0}}));
    r.add("bplane.grd", fromRows({{-1, 1}, {-1, 1}}));
    r.add("c.grd", fromRows({{0, 0}, {0, 0}}));
    EXPECT_EQ(CompareGrids(r.ctx, CompareOptions{}), BatchOutcome::Completed);
    const Rows a = rowsOf(r.read("a_top+plane.grd"));
    EXPECT_EQ(a[0], (std::vector<double>{2, 5}));
    EXPECT_EQ(a[1][0], 3);
    EXPECT_TRUE(trelvik::isBlank(a[1][1]));
    EXPECT_EQ(rowsOf(r.read("b_top+plane.grd")), (Rows{{0, 1}, {0, 1}}));
    EXPECT_EQ(r.files().size(), 7u);
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr(r.dir.path("c.grd")));
    EXPECT_EQ(r.state.NumFiles, 0);
}

TEST(Comparison, MinimumInVersion6Form) {
    ProcRun r(true);
    r.add("a.grd", fromRows({{1, 5}, {0, 0}}));
    r.add("c.grd", fromRows({{2, 2}, {-1, 1}}));
    CompareOptions o;
    o.optCompareMax = false;
    o.optCompareMin = true;
    o.txtCompGridOutGridText = "_low";
    EXPECT_EQ(CompareGrids(r.ctx, o), BatchOutcome::Completed);
    EXPECT_THAT(r.calls("GridMath"), ElementsAre("GridMath(\"" + r.dir.path("a.grd") + "\", \"" + r.dir.path("c.grd") +
                                                 "\", \"" + r.dir.path("a_low.grd") + "\", , \"C=min(A,B)\")"));
    EXPECT_EQ(rowsOf(r.read("a_low.grd")), (Rows{{1, 2}, {-1, 0}}));
}

TEST(Comparison, NamesThatWouldReplaceAnInputAreRefused) {
    for (const char* text : {"", "x"}) {
        ProcRun r;
        r.add("a.grd", fromRows({{1, 2}, {3, 4}}));
        r.add("ax.grd", fromRows({{5, 5}, {5, 5}}));  // "x" would name the output ax.grd
        CompareOptions o;
        o.txtCompGridOutGridText = text;
        EXPECT_EQ(CompareGrids(r.ctx, o), BatchOutcome::Stopped);
        EXPECT_EQ(r.prompt.shown.at(0).title, "Filename");
        EXPECT_EQ(rowsOf(r.read("ax.grd")), (Rows{{5, 5}, {5, 5}}));
        EXPECT_EQ(r.state.NumFiles, 2);
        EXPECT_FALSE(r.app.SurferApp);  // refused before the map window could open
    }
}
