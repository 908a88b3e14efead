// "Smooth": the filter's parameters reaching the mapping program, the curvature grid
// after smoothing, the version-6 matrix smoothing and the refusals.
#include "surfer/gridfilter.h"
#include "surferfns/smoothing.h"
#include "procrun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace surffnstest;
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

TEST(Smoothing, WeightAndCentreWeightNamedInTheOutputReachTheFilter) {
    ProcRun r;
    r.add("tooth.grd", bumpy());
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
    expectSameNodes(r.read("tooth_fid5,2.5,7.grd"), surfer::applyGridFilter(bumpy(), want));
}

TEST(Smoothing, CurvatureTickedSmoothsWithTheMatrixThenMakesTheCurvatureGrid) {
    ProcRun r;
    r.add("tooth.grd", bumpy());
    SmoothOptions o;
    o.chkCurvature = true;
    chkCurvature_Click(o);
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
}

TEST(Smoothing, SmoothedAndCurvatureGridsGoInPlaceTogether) {
    ProcRun r;
    r.add("tooth.grd", bumpy());
    r.dir.write("tooth_fwa9,4x3.grd", "the earlier smoothed grid");
    std::filesystem::create_directory(r.dir.path("tooth_fwa9,4x3_curv10.grd"));
    SmoothOptions o;
    o.chkCurvature = true;
    chkCurvature_Click(o);
    EXPECT_EQ(SmoothGrids(r.ctx, o), BatchOutcome::Failed);
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("tooth_fwa9,4x3_curv10.grd"));
    EXPECT_EQ(r.dir.read("tooth_fwa9,4x3.grd"), "the earlier smoothed grid");
}

TEST(Smoothing, Version6MatrixSmoothing) {
    ProcRun r(true);
    r.add("tooth.grd", bumpy());
    SmoothOptions o;
    o.optPDFilter = false;
    o.optDefFilter = true;
    o.txtFilterSize = "5";
    o.txtWeight = "4";
    EXPECT_EQ(SmoothGrids(r.ctx, o), BatchOutcome::Completed);
    EXPECT_THAT(r.calls("GridMatrixSmooth"), ElementsAre(HasSubstr("tooth.grd\", 0, 4, , 2, 2, \"" +
                                                                   r.dir.path("toothsm5.grd") + "\")")));
}

TEST(Smoothing, RefusalsLeaveTheListAndWriteNothing) {
    SmoothOptions even, huge, none, passes;
    even.txtFilterSize = "4";
    huge.txtFilterSize = "99999";
    none.cmbPDFilter = "";
    passes.txtNoTimes = "0";
    const std::tuple<bool, SmoothOptions, const char*> cases[] = {
        {false, even, "Filter size must be odd number."},
        {false, huge, "Filter size must be 1001 or less."},
        {false, none, "Choose filter."},
        {false, passes, "No. times must be a whole number of 1 or more."},
        {true, SmoothOptions{}, "Must only use 'Define filter' option with Surfer v6."}};
    for (const auto& [v6, o, text] : cases) {
        ProcRun r(v6);
        r.add("tooth.grd", bumpy());
        EXPECT_EQ(SmoothGrids(r.ctx, o), BatchOutcome::Stopped);
        ASSERT_EQ(r.prompt.shown.size(), 1u);
        EXPECT_EQ(r.prompt.shown[0].text, text);
        EXPECT_THAT(r.files(), ElementsAre("tooth.grd"));
        EXPECT_EQ(r.state.NumFiles, 1);
    }
}

namespace {
// Records what a batch reports and asks to stop once `stopAfter` statuses were seen.
struct RecordingProgress : trelvik::Progress {
    std::vector<std::string> statuses;
    long long rowSteps = 0, lastTotal = 0;
    std::size_t stopAfter = 1000;
    void status(const std::string& t) override { statuses.push_back(t); }
    void step(long long, long long total) override {
        ++rowSteps;
        lastTotal = total;
    }
    bool stopRequested() override { return statuses.size() >= stopAfter; }
};
} // namespace

TEST(Smoothing, BatchReportsEachGridsStepsAndEscStopsBetweenGrids) {
    ProcRun r;
    r.add("a.grd", bumpy());
    r.add("b.grd", makeGrid(120, 100, 0, 10, 0, 10, [](double x, double y) { return x * y; }));
    SmoothOptions o;
    o.chkCurvature = true;
    chkCurvature_Click(o);
    RecordingProgress progress;
    r.ctx.progress = &progress;
    EXPECT_EQ(SmoothGrids(r.ctx, o), BatchOutcome::Completed);
    EXPECT_THAT(progress.statuses, ElementsAre("grid 1 of 2: smoothing", "grid 1 of 2: curvature",
                                               "grid 2 of 2: smoothing", "grid 2 of 2: curvature"));
    EXPECT_GT(progress.rowSteps, 10);  // the filter's rows, not only the grids
    EXPECT_TRUE(r.prompt.shown.empty());

    // Esc during the first grid: the batch ends before the second, keeping the first's outputs.
    ProcRun s;
    s.add("a.grd", bumpy());
    s.add("b.grd", bumpy());
    RecordingProgress stopper;
    stopper.stopAfter = 2;  // set once the first grid's curvature step has begun
    s.ctx.progress = &stopper;
    EXPECT_EQ(SmoothGrids(s.ctx, o), BatchOutcome::Stopped);
    EXPECT_THAT(s.files(), ElementsAre("a.grd", "a_fwa9,4x3.grd", "a_fwa9,4x3_curv10.grd", "b.grd"));
    ASSERT_EQ(s.prompt.shown.size(), 1u);
    EXPECT_THAT(s.prompt.shown[0].text, HasSubstr("before grid 2 of 2"));
    EXPECT_EQ(s.state.NumFiles, 2);  // the list is kept for another run
}
