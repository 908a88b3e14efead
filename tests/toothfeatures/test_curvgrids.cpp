// Curvature grids of the "Curvature" window, checked on an elliptic paraboloid against
// its analytic directional curvature, in both call forms, with the file names, the
// plots and the refusals of bad intervals and digitised vectors.
#include "curvrun.h"
#include "core/textform.h"
#include "surfer/documents.h"
#include "surfer/plotmodel.h"
#include "support/scriptedprogress.h"
#include "surferfns/curvaturechain.h"
#include "toothfeatures/curvgrids.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace curvtest;
using ::testing::HasSubstr;

namespace {

constexpr double kA = 0.3, kB = 0.1;  // z = kA x^2 + kB y^2

double bowl(double x, double y) { return kA * x * x + kB * y * y; }

// d2z/ds2 / (1 + (dz/ds)^2)^1.5 along the direction `degrees` counter-clockwise from +x.
double bowlCurvature(double x, double y, double degrees) {
    const double t = degrees * std::numbers::pi / 180, u = std::cos(t), v = std::sin(t);
    const double d1 = 2 * kA * x * u + 2 * kB * y * v;
    return (2 * kA * u * u + 2 * kB * v * v) / std::pow(1 + d1 * d1, 1.5);
}

Grid bowlGrid() { return makeGrid(9, 7, -2, 2, -1.5, 1.5, bowl); }

// Every interior node against f; the edge nodes are blank.
void expectInterior(const Grid& g, const std::function<double(double, double)>& f) {
    for (int j = 0; j < g.rows; ++j)
        for (int i = 0; i < g.cols; ++i) {
            if (i == 0 || j == 0 || i == g.cols - 1 || j == g.rows - 1) {
                EXPECT_TRUE(g.blank(i, j));
                continue;
            }
            EXPECT_NEAR(g.at(i, j), f(g.x(i), g.y(j)), 1e-9) << i << "," << j;
        }
}

} // namespace

class CurvatureGrids : public ::testing::TestWithParam<bool> {};

TEST_P(CurvatureGrids, AllAnglesIsTheGreatestAnalyticCurvatureForAnyInterval) {
    struct Case {
        const char* interval;
        const char* name;
        int directions;
    };
    for (const Case& k : {Case{"10", "bowl_curv10.grd", 19}, Case{"7", "bowl_curv7.grd", 26},
                          Case{"7.5", "bowl_curv7.5.grd", 25}, Case{"180", "bowl_curv180.grd", 2}}) {
        CurvRun r(GetParam());
        r.inputTopo("bowl.grd", bowlGrid());
        // A user's grids named as the steps once were stay untouched.
        r.save("bowl0.grd", makeGrid(3, 3, 0, 1, 0, 1, [](double, double) { return 42; }));
        r.save("bowlm0.grd", makeGrid(3, 3, 0, 1, 0, 1, [](double, double) { return 43; }));
        r.c.Text3 = k.interval;
        ASSERT_EQ(Curve(r.ctx, r.c), StepOutcome::Done) << k.interval;
        EXPECT_EQ(r.state.CurvatureGrid, r.path(k.name));
        const double step = text::Val(k.interval);
        expectInterior(r.read(k.name), [&](double x, double y) {
            double best = -1e300;
            for (int d = 0; d < k.directions; ++d) best = std::max(best, bowlCurvature(x, y, step * d));
            return best;
        });
        const auto calc = r.calls("GridCalculus");
        ASSERT_EQ(calc.size(), static_cast<std::size_t>(k.directions));
        const std::string last = text::CStr(step * (k.directions - 1));
        EXPECT_THAT(calc.back(), HasSubstr(GetParam() ? ", 0, 2, " + last + ", , , , , " : "Param1:=" + last + ","));
        EXPECT_EQ(r.calls("GridMath").size(), static_cast<std::size_t>(k.directions));  // folds and the copy
        EXPECT_EQ(r.read("bowl0.grd").at(1, 1), 42);
        EXPECT_EQ(r.read("bowlm0.grd").at(1, 1), 43);
        EXPECT_EQ(r.files(), (std::vector<std::string>{"bowl.grd", "bowl0.grd", k.name, "bowlm0.grd"}));
    }
}

TEST_P(CurvatureGrids, OcclusalDirectionCurvatureMatchesTheParaboloid) {
    CurvRun r(GetParam());
    r.inputTopo("bowl.grd", bowlGrid());
    r.digitise("0.5,0.25\r\n1.5,1.25\r\n");
    ASSERT_EQ(CurveOVAngle(r.ctx, r.c), StepOutcome::Done);
    EXPECT_EQ(r.c.Label12, "45.00\u00b0");
    EXPECT_EQ(r.state.CurvatureGrid, r.path("bowlcurvOV45.00.grd"));
    EXPECT_EQ(r.dir.read("bowlOV.dat"), "0.5,0.25\r\n1.5,1.25\r\n");
    const double angle = OcclusalAngle(1, 1);
    EXPECT_NEAR(angle, 45, 1e-3);
    expectInterior(r.read("bowlcurvOV45.00.grd"), [&](double x, double y) { return bowlCurvature(x, y, angle); });
    ASSERT_EQ(r.calls("GridCalculus").size(), 1u);
    if (GetParam()) {
        EXPECT_THAT(r.calls("MapContour").at(0), HasSubstr("bowlcurvOV45.00.grd\", 1)"));
    } else {
        auto maps = surfer::asPlot(r.state.m_Surfer->ActiveDocument())->Shapes.maps();
        ASSERT_EQ(maps.size(), 1u);
        EXPECT_EQ(maps[0]->mapKind(), surfer::MapKind::Contour);
    }
}

// The occlusal-direction grid is the one tabs 2a and 2b then measure: their "Current grid"
// names the grid it was made from.
TEST(CurvatureGrids, OcclusalDirectionGridBecomesTheCurrentGridOfTheMeasuringTabs) {
    CurvRun r;
    r.inputTopo("bowl.grd", bowlGrid());
    ASSERT_EQ(r.c.lblCurrentGridS, "");
    r.digitise("0.5,0.25\r\n1.5,1.25\r\n");
    ASSERT_EQ(CurveOVAngle(r.ctx, r.c), StepOutcome::Done);
    EXPECT_EQ(r.c.lblCurrentGridS, "bowl");
    EXPECT_EQ(r.c.lblCurrentGridA, "bowl");
}

INSTANTIATE_TEST_SUITE_P(Both, CurvatureGrids, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "V6" : "V8"; });

TEST(CurvatureGrids, SmoothedAllAnglesGridIsNamedTaggedAndPlottedWithScaleBarAndLabel) {
    CurvRun r;
    r.save("tooth.grd", makeGrid(15, 15, 0, 1.4, 0, 1.4, bowl));
    r.c.Text1 = "tooth.grd";
    ASSERT_EQ(Smooth(r.ctx, r.c), StepOutcome::Done);
    r.c.txtScaleBar = "0.2";
    ASSERT_EQ(Curve(r.ctx, r.c), StepOutcome::Done);
    EXPECT_EQ(r.state.CurvatureGrid, r.path("tooth_fwa9,4x3_curv10.grd"));
    EXPECT_TRUE(r.exists("tooth_fwa9,4x3_curv10.grd"));

    auto plot = surfer::asPlot(r.state.m_Surfer->ActiveDocument());
    auto maps = plot->Shapes.maps();
    ASSERT_EQ(maps.size(), 1u);
    EXPECT_EQ(maps[0]->gridPath(), r.path("tooth_fwa9,4x3_curv10.grd"));
    ASSERT_EQ(maps[0]->ScaleBars.Count(), 1);
    const auto bar = maps[0]->ScaleBars.Item(1);
    EXPECT_EQ(bar->CycleSpacing, 0.2);
    EXPECT_EQ(bar->LabelIncrement, 0.2);
    EXPECT_EQ(bar->NumCycles, 8);
    auto label = std::dynamic_pointer_cast<surfer::TextShape>(plot->Shapes.all().back());
    ASSERT_TRUE(label);
    EXPECT_EQ(label->Text, "tooth_fwa9,4x3_curv10.grd");
    EXPECT_DOUBLE_EQ(label->X, 10.44 - maps[0]->XLength / 2);
    EXPECT_DOUBLE_EQ(label->Y, 13.5 - maps[0]->YLength / 2);
    EXPECT_EQ(plot->DefaultFont.HAlign, 1);
    EXPECT_EQ(plot->DefaultFont.VAlign, 4);
}

// The all-angles chain reports each call to the window's sink, and Esc between two
// calls ends the step with a note and no curvature grid.
TEST(CurvatureGrids, AllAnglesReportsEachCallAndStopsAtEscBetweenCalls) {
    using trelvik::testing::ScriptedProgress;
    CurvRun r;
    r.inputTopo("bowl.grd", bowlGrid());
    ScriptedProgress seen;
    CurvContext watched{r.app, r.prompt, r.state, seen};
    ASSERT_EQ(Curve(watched, r.c), StepOutcome::Done);
    // 19 directions, 18 folds and the copy.
    ASSERT_FALSE(seen.steps.empty());
    EXPECT_EQ(seen.steps.back(), std::make_pair(38LL, 38LL));
    EXPECT_EQ(seen.steps.size(), 39u);
    EXPECT_EQ(seen.statuses.at(18), "Curvature direction 19 of 19");

    CurvRun stop;
    stop.inputTopo("bowl.grd", bowlGrid());
    ScriptedProgress esc(5);  // Esc once four calls are done
    CurvContext escaped{stop.app, stop.prompt, stop.state, esc};
    EXPECT_EQ(Curve(escaped, stop.c), StepOutcome::Stopped);
    EXPECT_EQ(stop.calls("GridCalculus").size(), 3u);  // each direction is folded in as it is made
    EXPECT_EQ(stop.calls("GridMath").size(), 1u);
    EXPECT_EQ(stop.files(), std::vector<std::string>{"bowl.grd"});
    ASSERT_EQ(stop.prompt.shown.size(), 1u);
    EXPECT_EQ(stop.prompt.shown[0].title, "Trelvik");
    EXPECT_THAT(stop.prompt.shown[0].text, HasSubstr("stopped (Esc) after 4 of 38"));
}

TEST(CurvatureGrids, BadIntervalsAndMissingGridsAreRefusedBeforeAnyGridIsWritten) {
    for (const char* interval : {"0", "-10", "181", "abc", "10x", "", "0.09"}) {
        CurvRun r;
        r.inputTopo("bowl.grd", bowlGrid());
        r.c.Text3 = interval;
        EXPECT_EQ(Curve(r.ctx, r.c), StepOutcome::Refused) << interval;
        EXPECT_THAT(r.messages().at(0), HasSubstr("angle interval (All angles)")) << interval;
        EXPECT_TRUE(r.calls("GridCalculus").empty());
        EXPECT_EQ(r.files(), std::vector<std::string>{"bowl.grd"});
    }
    CurvRun r;
    r.inputTopo("bowl.grd", bowlGrid());
    r.c.txtScaleBar = "none";
    EXPECT_EQ(Curve(r.ctx, r.c), StepOutcome::Refused);
    EXPECT_THAT(r.messages().at(0), HasSubstr("scale bar"));

    CurvRun fresh;  // no topographic grid yet
    EXPECT_EQ(Curve(fresh.ctx, fresh.c), StepOutcome::Refused);
    EXPECT_EQ(CurveOVAngle(fresh.ctx, fresh.c), StepOutcome::Refused);
    EXPECT_EQ(fresh.messages(), (std::vector<std::string>(2, "Smooth a grid or input a smoothed topo grid first.")));
    EXPECT_TRUE(fresh.files().empty());
}

TEST(CurvatureGrids, OcclusalAnglesRunCounterClockwiseOverTheFullCircle) {
    const std::pair<std::pair<double, double>, const char*> cases[] = {
        {{1, 0}, "0.00"},     {{-3, 0}, "180.00"}, {{0, 2}, "90.00"},  {{0, -2}, "270.00"},
        {{-1, -1}, "225.00"}, {{1, -1}, "315.00"}, {{-1, 1}, "135.00"}, {{2, 1e-9}, "0.00"},
    };
    for (const auto& [d, text] : cases) {
        const double a = OcclusalAngle(d.first, d.second);
        EXPECT_EQ(text::Format(a, "##0.00"), text) << d.first << "," << d.second;
        EXPECT_GE(a, 0);
        EXPECT_LT(a, 360);
    }
    EXPECT_THROW(OcclusalAngle(0, 0), Error);
}

TEST(CurvatureGrids, OcclusalVectorOfOneOrTwoEqualPointsOrCancelledWritesNoGrid) {
    const std::pair<const char*, const char*> cases[] = {
        {"1,1\r\n1,1\r\n", "same point"},
        {"1,1\r\n", "Digitise two points"},
    };
    for (const auto& [digit, message] : cases) {
        CurvRun r;
        r.inputTopo("bowl.grd", bowlGrid());
        r.digitise(digit);
        EXPECT_EQ(CurveOVAngle(r.ctx, r.c), StepOutcome::Refused);
        EXPECT_THAT(r.messages().back(), HasSubstr(message));
        EXPECT_TRUE(r.calls("GridCalculus").empty());
        EXPECT_TRUE(r.c.Label12.empty());
    }
    CurvRun r;
    r.inputTopo("bowl.grd", bowlGrid());
    r.prompt.answer(Answer::Cancel);
    EXPECT_EQ(CurveOVAngle(r.ctx, r.c), StepOutcome::Cancelled);
    EXPECT_EQ(r.files(), std::vector<std::string>{"bowl.grd"});
    EXPECT_FALSE(r.prompt.busyNow);
}

TEST(CurvatureGrids, RefusedOcclusalVectorLeavesThePointsTakenBefore) {
    CurvRun r;
    r.inputTopo("bowl.grd", bowlGrid());
    r.digitise("0.5,0.25\r\n1.5,1.25\r\n");
    ASSERT_EQ(CurveOVAngle(r.ctx, r.c), StepOutcome::Done);
    r.digitise("1,1\r\n1,1\r\n");
    EXPECT_EQ(CurveOVAngle(r.ctx, r.c), StepOutcome::Refused);
    EXPECT_EQ(r.dir.read("bowlOV.dat"), "0.5,0.25\r\n1.5,1.25\r\n");
}

TEST(CurvatureGrids, DirectionCountOfAStepIgnoresRoundingOfTheQuotient) {
    const std::pair<double, double> cases[] = {{10, 18}, {7, 25}, {7.5, 24}, {180, 1}, {0.1, 1800}, {0.3, 600}, {1.1, 163}};
    for (const auto& [step, n] : cases) EXPECT_EQ(surffns::CurvatureStepCount(step), n) << step;
}
