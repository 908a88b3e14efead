// Grids that share one lattice are treated as one lattice: a plane grid fitted onto the
// geometry the scan reports lines up with its tooth grid for spacings of many decimals,
// and the stand-in's two-grid operations take the pair.
#include "core/error.h"
#include "formats/surfergrid.h"
#include "planes/planefit.h"
#include "planetest.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trelvik::planes;
using trelvik::testing::TempFolder;

TEST(SharedLattice, PlaneGridOfAToothWithLongSpacingsWorksWithGridMathAndGridVolume) {
    for (double spacing : {1.0 / 60, 0.0123456789}) {
        SCOPED_TRACE(spacing);
        TempFolder dir;
        trelvik::AppState app = planetest::runState(8);
        trelvik::ScriptedPrompt prompt;
        PlaneFitState state;
        PlaneFitContext ctx{app, prompt, state, {}};
        const int cols = 181, rows = 241;
        auto dome = [](double x, double y) { return 1 - (x - 1) * (x - 1) - (y - 1.5) * (y - 1.5); };
        surfertest::saveGrid(dir, "T1.grd",
                             surfertest::makeGrid(cols, rows, 0.1, 0.1 + (cols - 1) * spacing, 0.2,
                                                  0.2 + (rows - 1) * spacing, dome));
        const double x1 = 0.1 + (cols - 1) * spacing, y1 = 0.2 + (rows - 1) * spacing;
        prompt.respond(planetest::digitise(dir, "0.3,0.4\n" + std::to_string(x1 - 0.1) + ",0.5\n1,"
                                                    + std::to_string(y1 - 0.2) + "\n"));
        PlaneFitForm form;
        form.Label1 = dir.folder();
        form.Text1 = "T1.grd";
        form.chkIntersectionGrid = true;
        ASSERT_TRUE(cmdPFit_Click(ctx, form));
        const auto higher = trelvik::formats::readSurferGrid(dir.path("T1top+plane.grd"));
        EXPECT_EQ(higher.cols, cols);
        EXPECT_EQ(higher.rows, rows);

        surfer::ResultArray results;
        state.m_Surfer->call("GridVolume", surfer::Named{{"Upper", dir.path("T1.grd")},
                                                         {"Lower", dir.path("T1plane.grd")},
                                                         {"pResults", results},
                                                         {"ShowReport", false}});
        EXPECT_FALSE(results.empty());
    }
}

TEST(SharedLattice, TwoGridOperationsAcceptAThousandthOfASpacingAndNoMore) {
    // Limits that agree within a thousandth of a spacing are one lattice; a hundredth is not.
    TempFolder dir;
    auto app = surfertest::v8();
    const double s = 1.0 / 60;
    auto flat = [](double, double) { return 1.0; };
    surfertest::saveGrid(dir, "a.grd", surfertest::makeGrid(61, 61, 0, 60 * s, 0, 60 * s, flat));
    surfertest::saveGrid(dir, "near.grd",
                         surfertest::makeGrid(61, 61, 0, 60 * s, 5e-4 * s, 60 * s - 5e-4 * s, flat));
    surfertest::saveGrid(dir, "off.grd", surfertest::makeGrid(61, 61, 0.01 * s, 60 * s, 0, 60 * s, flat));
    surfertest::saveGrid(dir, "small.grd", surfertest::makeGrid(60, 61, 0, 60 * s, 0, 60 * s, flat));
    auto math = [&](const char* b) {
        app->call("GridMath", surfer::Named{{"Function", "C=A-B"},
                                            {"InGridA", dir.path("a.grd")},
                                            {"InGridB", dir.path(b)},
                                            {"OutGridC", dir.path("c.grd")}});
    };
    EXPECT_NO_THROW(math("near.grd"));
    EXPECT_THROW(math("off.grd"), trelvik::Error);
    EXPECT_THROW(math("small.grd"), trelvik::Error);
}
