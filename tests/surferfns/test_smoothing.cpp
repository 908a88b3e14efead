// "Smooth": filter names, the filter's parameters reaching the mapping program, the
// version-6 matrix smoothing, refusals and the curvature grid after smoothing.
#include "surfer/gridfilter.h"
#include "surferfns/smoothing.h"
#include "test_smoothing_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace trelvik::surffns;
using namespace surffnsproc;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

Grid bumpy() {
    return makeGrid(11, 11, 0, 10, 0, 10, [](double x, double y) { return std::sin(x) * std::cos(0.7 * y) + 0.1 * x; });
}

void expectSameNodes(const Grid& a, const Grid& b) {
    ASSERT_EQ(a.z.size(), b.z.size());
    for (std::size_t k = 0; k < a.z.size(); ++k) EXPECT_NEAR(a.z[k], b.z[k], 1e-12) << k;
}

} // namespace

TEST(Smoothing, PreDefinedFiltersNamesAndCall) {
    ProcRun r;
    r.save("tooth.grd", bumpy());
    r.add("tooth.grd");
    SmoothOptions o;  // moving average, 3, one pass
    EXPECT_EQ(SmoothGrids(r.ctx, o), BatchOutcome::Completed);
    EXPECT_THAT(r.calls("GridFilter"),
                ElementsAre("GridFilter(\"" + r.dir.path("tooth.grd") + "\", 1, , , 1, , , 3, 3, , , <array>, \"" +
                            r.dir.path("tooth_fa3.grd") + "\")"));
    surfer::GridFilterRequest avg;
    expectSameNodes(r.read("tooth_fa3.grd"), surfer::applyGridFilter(bumpy(), avg));
    EXPECT_EQ(r.state.NumFiles, 0);

    o.cmbPDFilter = "Low pass 2 (3x3)";
    o.txtNoTimes = "2";
    EXPECT_EQ(SmoothSuffix8(o), "_lp2x2");
    o.cmbPDFilter = "Distance weighting (nxn)";
    o.txtNoTimes = "1";
    o.txtFilterSize = "5";
    o.txtWeight = "1.5";
    EXPECT_EQ(SmoothSuffix8(o), "_fd5,1.5");
    o.cmbPDFilter = "High pass 3 (3x3)";
    EXPECT_EQ(SmoothSuffix8(o), "_hp3");
    EXPECT_EQ(PDFilterItems().size(), 14u);
}

TEST(Smoothing, WeightAndCentreWeightNamedInTheOutputReachTheFilter) {
    ProcRun r;
    r.save("tooth.grd", bumpy());
    r.add("tooth.grd");
    SmoothOptions o;
    o.cmbPDFilter = "Inverse distance (nxn)";
    o.txtFilterSize = "5";
    o.txtWeight = "2.5";
    o.txtCWeight = "7";
    EXPECT_EQ(SmoothGrids(r.ctx, o), BatchOutcome::Completed);
    EXPECT_THAT(r.calls("GridFilter"), ElementsAre(HasSubstr("\", 3, , , 1, 2.5, 7, 5, 5, , , <array>, ")));
    surfer::GridFilterRequest want;
    want.code = 3;
    want.numRows = want.numCols = 5;
    want.param1 = 2.5;
    want.param2 = 7;
    const Grid got = r.read("tooth_fid5,2.5,7.grd");
    expectSameNodes(got, surfer::applyGridFilter(bumpy(), want));
    // The defaults would have given another surface: the values matter.
    surfer::GridFilterRequest plain = want;
    plain.param1.reset();
    plain.param2.reset();
    EXPECT_GT(std::abs(got.at(5, 5) - surfer::applyGridFilter(bumpy(), plain).at(5, 5)), 1e-6);
}

TEST(Smoothing, CurvatureTickedSmoothsWithTheMatrixThenMakesTheCurvatureGrid) {
    ProcRun r;
    r.save("tooth.grd", bumpy());
    r.add("tooth.grd");
    SmoothOptions o;
    o.chkCurvature = true;
    chkCurvature_Click(o);
    EXPECT_EQ(o.txtFilterSize, "9");
    EXPECT_EQ(o.txtWeight, "4");
    EXPECT_EQ(o.txtNoTimes, "3");
    EXPECT_TRUE(o.optDefFilter && !o.optPDFilter);
    r.ctx.chkPlotSurfer = true;
    EXPECT_EQ(SmoothGrids(r.ctx, o), BatchOutcome::Completed);
    EXPECT_TRUE(r.prompt.shown.empty());
    EXPECT_THAT(r.files(), ElementsAre("tooth.grd", "tooth_fwa9,4x3.grd", "tooth_fwa9,4x3_curv10.grd"));
    surfer::GridFilterRequest m;
    m.code = 5;
    m.numRows = m.numCols = 9;
    m.passes = 3;
    m.userFilter.assign(81, 1.0);
    m.userFilter[40] = 4;
    expectSameNodes(r.read("tooth_fwa9,4x3.grd"), surfer::applyGridFilter(bumpy(), m));
    EXPECT_EQ(r.calls("GridCalculus").size(), 19u);
    // The smoothed grid is plotted (before its curvature grid is made); the curvature grid is not.
    EXPECT_EQ(r.state.PlotType, 1);

    o.chkCurvature = false;
    chkCurvature_Click(o);
    EXPECT_EQ(o.txtFilterSize, "3");
    EXPECT_EQ(o.txtWeight, "3");
    EXPECT_EQ(o.txtNoTimes, "1");
    EXPECT_TRUE(o.optPDFilter && !o.optDefFilter);
}

TEST(Smoothing, Version6MatrixSmoothing) {
    ProcRun r(true);
    r.save("tooth.grd", bumpy());
    r.add("tooth.grd");
    SmoothOptions o;
    o.optPDFilter = false;
    o.optDefFilter = true;
    o.txtFilterSize = "5";
    o.txtWeight = "4";
    o.txtNoTimes = "3";  // not used by version 6
    EXPECT_EQ(SmoothGrids(r.ctx, o), BatchOutcome::Completed);
    EXPECT_THAT(r.calls("GridMatrixSmooth"),
                ElementsAre("GridMatrixSmooth(\"" + r.dir.path("tooth.grd") + "\", 0, 4, , 2, 2, \"" +
                            r.dir.path("toothsm5.grd") + "\")"));
    expectSameNodes(r.read("toothsm5.grd"), surfer::matrixSmooth(bumpy(), 4, 2, 2));
}

TEST(Smoothing, RefusalsLeaveTheListAndWriteNothing) {
    struct Case {
        bool v6;
        SmoothOptions o;
        const char* text;
    };
    SmoothOptions even;
    even.txtFilterSize = "4";
    SmoothOptions huge;
    huge.txtFilterSize = "99999";
    SmoothOptions none;
    none.cmbPDFilter = "";
    SmoothOptions passes;
    passes.txtNoTimes = "0";
    const Case cases[] = {{false, even, "Filter size must be odd number."},
                          {false, huge, "Filter size must be 1001 or less."},
                          {false, none, "Choose filter."},
                          {false, passes, "No. times must be a whole number of 1 or more."},
                          {true, SmoothOptions{}, "Must only use 'Define filter' option with Surfer v6."}};
    for (const Case& c : cases) {
        ProcRun r(c.v6);
        r.save("tooth.grd", bumpy());
        r.add("tooth.grd");
        EXPECT_EQ(SmoothGrids(r.ctx, c.o), BatchOutcome::Stopped);
        ASSERT_EQ(r.prompt.shown.size(), 1u);
        EXPECT_EQ(r.prompt.shown[0].title, "Filter");
        EXPECT_EQ(r.prompt.shown[0].text, c.text);
        EXPECT_THAT(r.files(), ElementsAre("tooth.grd"));
        EXPECT_EQ(r.state.NumFiles, 1);
        EXPECT_FALSE(r.prompt.busyNow);
    }
}
