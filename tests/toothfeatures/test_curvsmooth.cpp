// Smoothing and the input steps of the "Curvature" window: the smoothed grid's name and
// calls in both call forms, the two call forms agreeing on the grid, the refusals of
// bad sizes and methods, and what the input steps set.
#include "curvrun.h"
#include "surfer/documents.h"
#include "surfer/plotmodel.h"
#include "toothfeatures/curvgrids.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace curvtest;
using ::testing::HasSubstr;

namespace {

Grid bumpy() {
    return makeGrid(21, 17, 0, 2, 0, 1.6, [](double x, double y) { return std::sin(3 * x) * std::cos(4 * y) + x * y; });
}

} // namespace

TEST(CurvatureSmooth, AverageSmoothingAgreesInBothCallFormsAndLeavesOnlyTheResult) {
    Grid v6Result, v8Result;
    for (bool v6 : {false, true}) {
        CurvRun r(v6);
        r.save("tooth.grd", bumpy());
        r.c.Text1 = "tooth.grd";
        ASSERT_EQ(Smooth(r.ctx, r.c), StepOutcome::Done);
        EXPECT_EQ(r.state.SmoothTag, "_fwa9,4x3");
        EXPECT_EQ(r.state.TopoGrid, r.path("tooth_fwa9,4x3.grd"));
        EXPECT_EQ(r.state.TopoStem, r.path("tooth"));
        EXPECT_EQ(r.state.GridBaseName, "tooth");
        EXPECT_EQ(r.files(), (std::vector<std::string>{"tooth.grd", "tooth_fwa9,4x3.grd"}));
        if (v6) {
            const auto passes = r.calls("GridMatrixSmooth");
            ASSERT_EQ(passes.size(), 3u);
            EXPECT_THAT(passes[0], HasSubstr("(\"" + r.path("tooth.grd") + "\", 0, \"4\", , 4, 4, \""));
            EXPECT_TRUE(r.calls("GridFilter").empty());
            v6Result = r.read("tooth_fwa9,4x3.grd");
        } else {
            const auto filter = r.calls("GridFilter");
            ASSERT_EQ(filter.size(), 1u);
            EXPECT_THAT(filter[0], HasSubstr("Filter:=5, NumPasses:=3, NumRow:=9, NumCol:=9, UserFilter:=<array>"));
            ASSERT_EQ(r.state.AverageKernel.size(), 81u);
            for (std::size_t k = 0; k < 81; ++k) EXPECT_EQ(r.state.AverageKernel[k], k == 40 ? 4 : 1) << k;
            v8Result = r.read("tooth_fwa9,4x3.grd");
        }
    }
    // Three passes one by one give the grid that the filter's own three passes give.
    ASSERT_EQ(v6Result.z.size(), v8Result.z.size());
    for (std::size_t k = 0; k < v6Result.z.size(); ++k) EXPECT_NEAR(v6Result.z[k], v8Result.z[k], 1e-12) << k;
}

TEST(CurvatureSmooth, GaussianVersion8AndNoPassesCopy) {
    CurvRun r;
    r.save("tooth.grd", bumpy());
    r.c.Text1 = "tooth.grd";
    r.c.optSmAverage = false;
    r.c.txtNoRow = "5";
    r.c.txtWeight = "2.5";
    r.c.txtNoSmooth = "2";
    ASSERT_EQ(Smooth(r.ctx, r.c), StepOutcome::Done);
    EXPECT_EQ(r.state.TopoGrid, r.path("tooth_glp5,2.5x2.grd"));
    EXPECT_THAT(r.calls("GridFilter").at(0), HasSubstr("Filter:=4, NumPasses:=2, NumRow:=5, NumCol:=5, Param1:=2.5"));

    // No passes: a plain copy, no call, no size check (an even size is accepted).
    for (bool v6 : {false, true}) {
        CurvRun z(v6);
        z.save("tooth.grd", bumpy());
        z.c.Text1 = "tooth.grd";
        z.c.txtNoSmooth = "0";
        z.c.txtNoRow = "8";
        ASSERT_EQ(Smooth(z.ctx, z.c), StepOutcome::Done);
        EXPECT_EQ(z.state.SmoothTag, "sm0");
        EXPECT_EQ(z.dir.read("toothsm0.grd"), z.dir.read("tooth.grd"));
        EXPECT_TRUE(z.state.m_Surfer->callLog().empty());
    }
}

TEST(CurvatureSmooth, BadInputsAreRefusedWithNothingWritten) {
    struct Case {
        bool v6;
        const char* Text1;
        const char* passes;
        const char* rows;
        const char* weight;
        bool gauss;
        const char* title;
        const char* message;
    };
    const Case cases[] = {
        {false, "*.grd", "3", "9", "4", false, "Filename", "Choose grid filename"},
        {false, "", "3", "9", "4", false, "Filename", "Choose grid filename"},
        {false, ".grd", "3", "9", "4", false, "Filename", "Choose grid filename"},
        {false, "tooth.grd", "3", "8", "4", false, "Trelvik", "No. row/col must be odd number."},
        {false, "tooth.grd", "3", "9.5", "4", false, "Values", "No. row/col must be a positive odd whole number."},
        {false, "tooth.grd", "3", "-3", "4", false, "Values", "No. row/col must be a positive odd whole number."},
        {false, "tooth.grd", "3", "nine", "4", false, "Values", "No. row/col must be a positive odd whole number."},
        {false, "tooth.grd", "3", "1003", "4", false, "Values", "No. row/col must be 1001 or less."},
        {false, "tooth.grd", "3", "9", "four", false, "Values", "Weight/alpha must be a number."},
        {false, "tooth.grd", "2.5", "9", "4", false, "Values", "No. of times to smooth must be a whole number of 0 or more."},
        {false, "tooth.grd", "-1", "9", "4", false, "Values", "No. of times to smooth must be a whole number of 0 or more."},
        {false, "tooth.grd", "x", "9", "4", false, "Values", "No. of times to smooth must be a whole number of 0 or more."},
        {true, "tooth.grd", "3", "9", "4", true, "Values", "Gaussian smoothing needs Surfer 8: choose 'Average' with Surfer 6."},
    };
    for (const Case& k : cases) {
        CurvRun r(k.v6);
        r.save("tooth.grd", bumpy());
        r.c.Text1 = k.Text1;
        r.c.txtNoSmooth = k.passes;
        r.c.txtNoRow = k.rows;
        r.c.txtWeight = k.weight;
        r.c.optSmAverage = !k.gauss;
        EXPECT_EQ(Smooth(r.ctx, r.c), StepOutcome::Refused) << k.message;
        ASSERT_EQ(r.prompt.shown.size(), 1u) << k.message;
        EXPECT_EQ(r.prompt.shown[0].title, k.title);
        EXPECT_EQ(r.prompt.shown[0].text, k.message);
        EXPECT_EQ(r.files(), std::vector<std::string>{"tooth.grd"});
        EXPECT_TRUE(r.state.TopoGrid.empty());
        EXPECT_FALSE(r.prompt.busyNow);
        EXPECT_TRUE(surfer::instances().empty()) << k.message;  // refused before the map window could open
    }
}

TEST(CurvatureSmooth, MissingSourceGridIsAFailureMessage) {
    CurvRun r;
    r.c.Text1 = "absent.grd";
    EXPECT_EQ(Smooth(r.ctx, r.c), StepOutcome::Failed);
    EXPECT_EQ(r.prompt.shown.at(0).title, "Error");
    EXPECT_THAT(r.prompt.shown.at(0).text, HasSubstr("absent.grd"));
    EXPECT_TRUE(r.files().empty());
}

TEST(CurvatureSmooth, AFailedSmoothingLeavesTheLastGridAndTheNextStepsDoNotRunOnAMissingOne) {
    CurvRun r;
    r.save("tooth.grd", bumpy());
    r.c.Text1 = "tooth.grd";
    ASSERT_EQ(Smooth(r.ctx, r.c), StepOutcome::Done);
    const CurvState good = r.state;
    // One node: the reader calls it damaged, once; the window keeps the grid smoothed before.
    r.dir.write("one.grd", "DSAA\r\n1 1\r\n0 0\r\n0 0\r\n1 1\r\n1\r\n");
    r.c.Text1 = "one.grd";
    EXPECT_EQ(Smooth(r.ctx, r.c), StepOutcome::Failed);
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("damaged"));
    EXPECT_EQ(r.state.TopoGrid, good.TopoGrid);
    EXPECT_EQ(r.state.SmoothTag, good.SmoothTag);
    // In a fresh window the next steps say what is missing, before any digitising.
    CurvRun fresh;
    fresh.dir.write("one.grd", "DSAA\r\n1 1\r\n0 0\r\n0 0\r\n1 1\r\n1\r\n");
    fresh.c.Text1 = "one.grd";
    EXPECT_EQ(Smooth(fresh.ctx, fresh.c), StepOutcome::Failed);
    EXPECT_EQ(Curve(fresh.ctx, fresh.c), StepOutcome::Refused);
    EXPECT_EQ(CurveOVAngle(fresh.ctx, fresh.c), StepOutcome::Refused);
    ASSERT_EQ(fresh.prompt.shown.size(), 3u);
    for (std::size_t k = 1; k < 3; ++k)
        EXPECT_EQ(fresh.prompt.shown[k].text, "Smooth a grid or input a smoothed topo grid first.");
}

TEST(CurvatureSmooth, GridsWithoutDataOrTooSmallForCurvatureAreRefusedWithNothingWritten) {
    Grid blank = makeGrid(5, 5, 0, 1, 0, 1, [](double, double) { return 1.0; });
    std::fill(blank.z.begin(), blank.z.end(), kBlank);
    const Grid small = makeGrid(2, 2, 0, 1, 0, 1, [](double x, double y) { return x + y; });
    for (const Grid* g : std::vector<const Grid*>{&blank, &small}) {
        CurvRun r;
        r.save("tooth.grd", *g);
        r.c.Text1 = "tooth.grd";
        EXPECT_EQ(Smooth(r.ctx, r.c), StepOutcome::Refused);
        EXPECT_THAT(r.prompt.shown.back().text, HasSubstr(g == &blank ? "no data" : "at least 3 x 3"));
        // Taken in as a smoothed grid, the curvature steps refuse it too.
        r.c.Text7 = "tooth.grd";
        r.c.chkInputCurvGrid = false;
        ASSERT_EQ(Input_Top(r.ctx, r.c), StepOutcome::Done);
        EXPECT_EQ(Curve(r.ctx, r.c), StepOutcome::Refused);
        EXPECT_EQ(CurveOVAngle(r.ctx, r.c), StepOutcome::Refused);
        EXPECT_EQ(r.files(), std::vector<std::string>{"tooth.grd"});
        EXPECT_TRUE(r.calls("GridFilter").empty());
        EXPECT_TRUE(r.calls("GridCalculus").empty());
    }
}

TEST(CurvatureInputs, InputTopoTakesTheCurvatureGridByNameOnlyWhenTicked) {
    CurvRun r;
    r.save("tooth.grd", bumpy());
    r.c.Label1 = "elsewhere";
    r.c.Text7 = "tooth.grd";
    r.c.chkInputCurvGrid = false;
    r.c.txtCrestLength = "2.0";
    ASSERT_EQ(Input_Top(r.ctx, r.c), StepOutcome::Done);
    EXPECT_EQ(r.c.Label1, r.dir.folder());
    EXPECT_EQ(r.state.TopoGrid, r.path("tooth.grd"));
    EXPECT_TRUE(r.state.CurvatureGrid.empty());
    EXPECT_EQ(r.c.SSTab2, kTabSmooth);
    EXPECT_TRUE(r.c.lblCurrentGridS.empty());
    EXPECT_EQ(r.c.txtCrestLength, "2.0");
    EXPECT_FALSE(r.state.m_Surfer);

    r.c.chkInputCurvGrid = true;
    r.c.Text5 = "70";
    r.save("tooth_fwa9,4x3_curv10.grd", bumpy());
    ASSERT_EQ(Input_Top(r.ctx, r.c), StepOutcome::Done);
    EXPECT_EQ(r.state.CurvatureGrid, r.path("tooth_fwa9,4x3_curv10.grd"));
    EXPECT_EQ(r.c.SSTab2, kTabSlice);
    EXPECT_EQ(r.c.lblCurrentGridS, "tooth");
    EXPECT_EQ(r.c.lblCurrentGridA, "tooth");
    EXPECT_EQ(r.c.txtCrestLength, "0.5");
    EXPECT_EQ(r.c.Text5, "50");
    EXPECT_TRUE(r.state.m_Surfer);
    EXPECT_TRUE(r.prompt.shown.empty());
}

// A topographic grid, taken by name or not, or a curvature grid, plotted or not, that is
// not on disk is said before the map window could open and the window turn to tab 2a,
// with nothing taken.
TEST(CurvatureInputs, AGridNotOnDiskIsRefusedBeforeTheMapWindow) {
    CurvRun r;
    r.c.Text7 = "gone.grd";
    for (bool byName : {false, true}) {
        r.c.chkInputCurvGrid = byName;
        EXPECT_EQ(Input_Top(r.ctx, r.c), StepOutcome::Refused);
        EXPECT_THAT(r.messages().back(), HasSubstr("The topographic grid " + r.path("gone.grd") + " does not exist"));
    }
    for (bool plot : {false, true}) {
        r.c.Check1 = plot;
        EXPECT_EQ(Input_Curv(r.ctx, r.c), StepOutcome::Refused);
        EXPECT_THAT(r.messages().back(), HasSubstr("The curvature grid " + r.path("gone.grd") + " does not exist"));
    }
    // The curvature grid a topographic grid names, taken by name, is looked for too: to
    // be plotted it must be there.
    r.save("tooth.grd", bumpy());
    r.c.Text7 = "tooth.grd";
    r.c.chkInputCurvGrid = true;
    EXPECT_EQ(Input_Top(r.ctx, r.c), StepOutcome::Refused);
    EXPECT_EQ(r.prompt.shown.back().title, "Filename");
    EXPECT_THAT(r.messages().back(),
                HasSubstr("The curvature grid " + r.path("tooth_fwa9,4x3_curv10.grd") + " does not exist"));
    EXPECT_TRUE(surfer::instances().empty());
    EXPECT_EQ(r.c.SSTab2, kTabSmooth);
    EXPECT_TRUE(r.state.TopoGrid.empty());
    EXPECT_TRUE(r.state.CurvatureGrid.empty());
    // Not plotted, one yet to be made is taken by name, with no map window to show it.
    r.c.Check1 = false;
    EXPECT_EQ(Input_Top(r.ctx, r.c), StepOutcome::Done);
    EXPECT_EQ(r.state.CurvatureGrid, r.path("tooth_fwa9,4x3_curv10.grd"));
    EXPECT_TRUE(surfer::instances().empty());
}

// The grids made on tab 1a are the ones tabs 2a and 2b measure: their "Current grid"
// shows it, also for a curvature grid made from a grid input on 1b without its own.
TEST(CurvatureInputs, GridsMadeOnTab1aAreTheCurrentGridOfTheMeasuringTabs) {
    CurvRun r;
    r.save("tooth.grd", bumpy());
    r.c.Text1 = "tooth.grd";
    ASSERT_EQ(Smooth(r.ctx, r.c), StepOutcome::Done);
    EXPECT_EQ(r.c.lblCurrentGridS, "tooth");
    EXPECT_EQ(r.c.lblCurrentGridA, "tooth");
    r.inputTopo("other.grd", bumpy());
    ASSERT_EQ(Curve(r.ctx, r.c), StepOutcome::Done);
    EXPECT_EQ(r.c.lblCurrentGridS, "other");
    EXPECT_EQ(r.c.lblCurrentGridA, "other");
}

TEST(CurvatureInputs, InputCurvatureGridPlotsAContourMapWhenAsked) {
    for (bool v6 : {false, true}) {
        CurvRun r(v6);
        r.save("c.grd", makeGrid(5, 5, 0, 1, 0, 1, [](double x, double y) { return x - y; }));
        r.c.Text7 = "c.grd";
        r.c.Check1 = true;
        ASSERT_EQ(Input_Curv(r.ctx, r.c), StepOutcome::Done);
        EXPECT_EQ(r.state.CurvatureGrid, r.path("c.grd"));
        if (v6) {
            EXPECT_EQ(r.calls("MapContour"), std::vector<std::string>{"MapContour(\"" + r.path("c.grd") + "\", 1)"});
        } else {
            auto maps = surfer::asPlot(r.state.m_Surfer->ActiveDocument())->Shapes.maps();
            ASSERT_EQ(maps.size(), 1u);
            EXPECT_EQ(maps[0]->mapKind(), surfer::MapKind::Contour);
            EXPECT_EQ(maps[0]->gridPath(), r.path("c.grd"));
        }
    }
    CurvRun r;
    for (const char* name : {"*.grd", ""}) {
        r.c.Text7 = name;
        EXPECT_EQ(Input_Curv(r.ctx, r.c), StepOutcome::Refused);
        EXPECT_EQ(Input_Top(r.ctx, r.c), StepOutcome::Refused);
    }
    EXPECT_EQ(r.messages(), std::vector<std::string>(4, "Please choose grid filename"));
}
