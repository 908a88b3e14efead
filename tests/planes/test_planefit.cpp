// Plane fitting and the occlusal-vector plane, end to end through the stand-in.
#include "core/error.h"
#include "planes/planefit.h"
#include "planes/landfindslice.h"
#include "planes/planefitgrid.h"
#include "planes/planeformula.h"
#include "planetest.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace trelvik::planes;
using trelvik::testing::TempFolder;
namespace fs = std::filesystem;

namespace {
double tilted(double x, double y) { return 2.5 - 0.1 * y + 0.25 * x; }

struct FitRun {
    TempFolder dir;
    trelvik::AppState app;
    trelvik::ScriptedPrompt prompt;
    PlaneFitState state;
    std::vector<std::string> plotted;
    PlaneFitContext ctx{app, prompt, state, [this](const std::string& g, int t) {
                            plotted.push_back(g + "#" + std::to_string(t));
                        }};
    PlaneFitForm form;
    explicit FitRun(int version) : app(planetest::runState(version)) {
        form.Label1 = dir.folder();
        form.Text1 = "T1.grd";
    }
};
} // namespace

TEST(PlaneFit, FitsATiltedPlaneInBothCallForms) {
    for (int version : {6, 8}) {
        SCOPED_TRACE(version);
        FitRun r(version);
        surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(41, 31, -2, 8, 1, 8.5, tilted));
        r.prompt.respond(planetest::digitise(r.dir, "0.3,1.7\r\n5.1,2.2\r\n-1.5,8\r\n7.7,7.9\r\n3.3,4.4\r\n"));
        r.form.PointOption = 3;
        r.form.Text2 = "4.5";  // halves to even: four points
        r.form.chkIntersectionGrid = true;
        r.form.chkPlotIntersectionGrid = true;
        ASSERT_TRUE(cmdPFit_Click(r.ctx, r.form));
        EXPECT_EQ(r.form.Label4, "5");
        EXPECT_EQ(r.state.FitPointCount, 4);

        const auto p = ReadPlaneFormulaFile(r.dir.path("T1planeform.txt"));
        EXPECT_NEAR(p.C, 2.5, 1e-9);
        EXPECT_NEAR(p.B, -0.1, 1e-9);
        EXPECT_NEAR(p.A, 0.25, 1e-9);
        EXPECT_EQ(firstLine(r.dir.read("T1planeform.txt")), r.form.txtFormula);

        // The plane grid lies on the tooth grid's lattice and carries the plane.
        const auto plane = trelvik::formats::readSurferGrid(r.dir.path("T1plane.grd"));
        EXPECT_EQ(plane.cols, 41);
        EXPECT_EQ(plane.rows, 31);
        EXPECT_NEAR(plane.at(40, 30), tilted(8, 8.5), 1e-9);
        EXPECT_TRUE(fs::exists(r.dir.path("T1top+plane.grd")));
        ASSERT_EQ(r.plotted.size(), 1u);
        EXPECT_EQ(r.plotted[0], r.dir.path("T1top+plane.grd") + "#1");
        for (const char* f : {"T1pl.dat", "T1plz.dat", "volume.dat"})
            EXPECT_EQ(fs::exists(r.dir.path(f)), version == 6 || std::string(f) != "volume.dat") << f;
        EXPECT_FALSE(fs::exists(r.dir.path("T1pl0.dat")));
        EXPECT_EQ(fs::exists(r.dir.path("T1plane_report.txt")), version == 8);
        EXPECT_FALSE(r.prompt.busyNow);
    }
}

TEST(PlaneFit, RefusalsAndCancelWriteNothing) {
    FitRun r(8);
    surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(11, 11, 0, 10, 0, 10, tilted));
    r.form.Text1 = "*.GRD";
    EXPECT_FALSE(cmdPFit_Click(r.ctx, r.form));
    EXPECT_EQ(r.prompt.shown.back().title, "Filename");
    EXPECT_EQ(r.prompt.shown.back().text, "Choose grid filename");
    EXPECT_TRUE(surfer::instances().empty());  // refused before the map window could open

    r.form.Text1 = "T1.grd";
    r.prompt.answer(trelvik::Answer::Cancel);
    EXPECT_FALSE(cmdPFit_Click(r.ctx, r.form));
    EXPECT_EQ(r.prompt.shown.back().title, "Digitise map");
    EXPECT_EQ(r.dir.fileCount(), 1u);

    // "Other:" beyond the points digitised.
    r.prompt.respond(planetest::digitise(r.dir, "1,1\n2,5\n7,3\n4,4\n9,9\n"));
    r.form.PointOption = 3;
    r.form.Text2 = "6";
    EXPECT_FALSE(cmdPFit_Click(r.ctx, r.form));
    EXPECT_EQ(r.prompt.shown.back().title, "Values");
    EXPECT_EQ(r.prompt.shown.back().text, "Number of points must lie between 3 and 5");
    EXPECT_FALSE(fs::exists(r.dir.path("T1planeform.txt")));

    // A digitised point off the grid is named by its number; no formula file appears.
    r.prompt.respond(planetest::digitise(r.dir, "1,1\n2,5\n70,3\n"));
    r.form.PointOption = 1;
    try {
        cmdPFit_Click(r.ctx, r.form);
        FAIL();
    } catch (const trelvik::Error& e) {
        EXPECT_NE(std::string(e.what()).find("Point 3"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(r.dir.path("T1planeform.txt")));

    // A damaged digitise file clears the count of the file before it.
    EXPECT_EQ(r.form.Label4, "3");
    r.prompt.respond(planetest::digitise(r.dir, "1,1\nnot a point\n"));
    EXPECT_THROW(cmdPFit_Click(r.ctx, r.form), trelvik::Error);
    EXPECT_EQ(r.form.Label4, "");
}

// An "Other:" count below 3, above what a digitise file can hold (2 GiB, four bytes a
// point at the least) or no number at all can never be fitted: said before the map window
// opens and the points are asked for.
TEST(PlaneFit, AnOtherCountThatCanNeverBeTakenIsRefusedBeforeTheQuestion) {
    FitRun r(8);
    surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(11, 11, 0, 10, 0, 10, tilted));
    r.form.PointOption = 3;
    for (const char* other : {"2", "abc", "", "-1e30"}) {
        r.form.Text2 = other;
        EXPECT_FALSE(cmdPFit_Click(r.ctx, r.form));
        EXPECT_EQ(r.prompt.shown.back().title, "Values");
        EXPECT_EQ(r.prompt.shown.back().text, "Number of points must be a whole number of 3 or more");
    }
    for (const char* other : {"1e9", "536870913", "1e30"}) {
        r.form.Text2 = other;
        EXPECT_FALSE(cmdPFit_Click(r.ctx, r.form));
        EXPECT_EQ(r.prompt.shown.back().title, "Values") << other;
        EXPECT_EQ(r.prompt.shown.back().text, "Number of points must lie between 3 and 536870912") << other;
    }
    EXPECT_EQ(r.prompt.shown.size(), 7u);
    EXPECT_TRUE(surfer::instances().empty());
    // The largest count a file can hold is asked for.
    r.form.Text2 = "536870912";
    r.prompt.answer(trelvik::Answer::Cancel);
    EXPECT_FALSE(cmdPFit_Click(r.ctx, r.form));
    EXPECT_EQ(r.prompt.shown.back().title, "Digitise map");
}

TEST(PlaneFit, Version6ClipboardThatIsNotAFormulaIsRefused) {
    {
        // What the clipboard holds after the regression is checked before it is used.
        FitRun r(6);
        r.state.m_Surfer = trelvik::planes::AttachSurfer(r.app);
        r.state.m_Surfer->setClipboard("Gridding Report\r\n");
        EXPECT_THROW(RegressionFormulaText(r.app, *r.state.m_Surfer, r.dir.folder() + "/", r.dir.path("rep.txt")),
                     trelvik::Error);
        r.state.m_Surfer->setClipboard("z(x,y) = 1 + -2y + 3x\r\n");
        EXPECT_EQ(RegressionFormulaText(r.app, *r.state.m_Surfer, r.dir.folder() + "/", r.dir.path("rep.txt")),
                  "z(x,y) = 1 + -2y + 3x");
    }
    FitRun r(6);
    surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(11, 11, 0, 10, 0, 10, tilted));
    r.dir.write("T1planeform.txt", "z(x,y) = 1 + 0y + 0x\r\n");
    // Three points on a line: the regression fails, so no formula text reaches the clipboard.
    r.prompt.respond(planetest::digitise(r.dir, "1,1\n2,2\n3,3\n"));
    EXPECT_THROW(cmdPFit_Click(r.ctx, r.form), trelvik::Error);
    EXPECT_EQ(r.dir.read("T1planeform.txt"), "z(x,y) = 1 + 0y + 0x\r\n");
}

// A refused fit - points on one line, a point off the grid, a count out of range - keeps
// the point and height files of the earlier fit.
TEST(PlaneFit, ARefusedFitKeepsTheEarlierPointsAndHeights) {
    FitRun r(8);
    surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(11, 11, 0, 10, 0, 10, tilted));
    r.prompt.respond(planetest::digitise(r.dir, "1,1\n8,2\n3,7\n"));
    ASSERT_TRUE(cmdPFit_Click(r.ctx, r.form));
    const std::string points = r.dir.read("T1pl.dat"), heights = r.dir.read("T1plz.dat");
    r.form.PointOption = 3;
    r.form.Text2 = "3";
    for (const char* bad : {"1,1\n2,2\n3,3\n5,1\n", "1,1\n20,2\n3,7\n", "1,1\n2,5\n"}) {
        SCOPED_TRACE(bad);
        r.prompt.respond(planetest::digitise(r.dir, bad));
        try {
            EXPECT_FALSE(cmdPFit_Click(r.ctx, r.form));
        } catch (const trelvik::Error&) {
        }
        EXPECT_EQ(r.dir.read("T1pl.dat"), points);
        EXPECT_EQ(r.dir.read("T1plz.dat"), heights);
    }
}

// The formula step of both buttons can refuse after the regression: a "Surfer process
// identifier" that names no running program, or one whose report holds no coefficients;
// and a fit can fail to put its files in place. Every file of the earlier planes stays,
// and no working file is left.
TEST(PlaneFit, ARefusedFormulaStepKeepsEveryFileOfTheEarlierPlanes) {
    FitRun r(8);
    surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(11, 11, 0, 10, 0, 10, tilted));
    r.form.chkIntersectionGrid = true;
    r.prompt.respond(planetest::digitise(r.dir, "1,1\n8,2\n3,7\n"));
    ASSERT_TRUE(cmdPFit_Click(r.ctx, r.form));
    r.prompt.respond(planetest::digitise(r.dir, "2,2\n6,7\n"));
    ASSERT_TRUE(cmdOccVect_Click(r.ctx, r.form));
    const std::vector<std::string> names = {
        "T1pl.dat",   "T1plz.dat",   "T1plane.grd",    "T1planeform.txt", "T1plane_report.txt", "T1top+plane.grd",
        "T1_ctp.dat", "T1_ctpz.dat", "T1_ovplpts.dat", "T1ovplane.grd",   "T1ovplaneform.txt",  "T1ovplane_report.txt",
        "Report1.txt"};
    const auto before = r.dir.contents(names);
    const auto files = r.dir.fileCount();
    const auto first = r.state.m_Surfer;
    surfer::connect("Surfer.Application", true);  // the steps now work in a second instance
    r.app.chkSurferPID = true;
    for (auto* step : {&cmdPFit_Click, &cmdOccVect_Click}) {
        for (const std::string pid : {std::string("99999"), std::to_string(first->processId())}) {
            SCOPED_TRACE(pid);
            r.app.txtSurferPID = pid;
            first->setCurrentReport("Gridding Report\r\n");
            r.prompt.respond(planetest::digitise(r.dir, "3,1\n9,3\n4,8\n5,5\n"));
            EXPECT_THROW(step(r.ctx, r.form), trelvik::Error);
            EXPECT_EQ(r.dir.contents(names), before);
            EXPECT_EQ(r.dir.fileCount(), files);
        }
    }
    // A fit whose report copy cannot be put in place (a folder stands there) puts none of
    // its files in place, the intersection grid no more than the others.
    fs::remove(r.dir.path("T1plane_report.txt"));
    fs::create_directory(r.dir.path("T1plane_report.txt"));
    r.app.chkSurferPID = false;
    r.prompt.respond(planetest::digitise(r.dir, "3,1\n9,3\n4,8\n5,5\n"));
    EXPECT_THROW(cmdPFit_Click(r.ctx, r.form), trelvik::Error);
    for (const auto& [name, bytes] : before)
        if (name != "T1plane_report.txt") EXPECT_TRUE(r.dir.read(name) == bytes) << name;
    EXPECT_EQ(r.dir.fileCount(), files);
}

TEST(PlaneFit, OcclusalVectorPlaneOfTheWorkedExample) {
    for (int version : {6, 8}) {
        SCOPED_TRACE(version);
        FitRun r(version);
        surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(9, 9, -2, 2, -2, 2, [](double, double) { return 0.0; }));
        WritePlaneFormulaFile(r.dir.path("T1planeform.txt"), {0, 0, 0.5});
        r.prompt.respond(planetest::digitise(r.dir, "0,1\n0,0\n1,1\n"));
        ASSERT_TRUE(cmdOccVect_Click(r.ctx, r.form));
        const auto p = ReadPlaneFormulaFile(r.dir.path("T1ovplaneform.txt"));
        EXPECT_NEAR(p.C, 0, 1e-9);
        EXPECT_NEAR(p.B, 0, 1e-9);
        EXPECT_NEAR(p.A, -2, 1e-9);
        EXPECT_EQ(r.dir.read("T1_ovplpts.dat"),
                  " 0             0             0 \r\n-.5            0             1 \r\n 0            -1.25          0 \r\n");
        EXPECT_TRUE(fs::exists(r.dir.path("T1ovplane.grd")));
        EXPECT_TRUE(fs::exists(r.dir.path("T1_ctpz.dat")));
        EXPECT_EQ(r.dir.read("T1_ctp.dat"), "0,1\n0,0\n1,1\n");
    }
}

TEST(PlaneFit, OcclusalVectorPlaneFaultsComeBeforeTheRegression) {
    FitRun r(8);
    surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(9, 9, -2, 2, -2, 2, [](double, double) { return 0.0; }));
    // No facet formula yet: reported before the digitise prompt and the map window.
    EXPECT_THROW(cmdOccVect_Click(r.ctx, r.form), trelvik::Error);
    EXPECT_TRUE(r.prompt.shown.empty());
    EXPECT_TRUE(surfer::instances().empty());

    WritePlaneFormulaFile(r.dir.path("T1planeform.txt"), {0, 0, 0});
    // Identical tips: said before any heights are asked of the mapping program.
    r.prompt.respond(planetest::digitise(r.dir, "1,1\n1,1\n2,2\n"));
    try {
        cmdOccVect_Click(r.ctx, r.form);
        ADD_FAILURE() << "identical tips accepted";
    } catch (const trelvik::Error& e) {
        EXPECT_NE(std::string(e.what()).find("digit.dat"), std::string::npos) << e.what();  // the user's file
    }
    for (const std::string& call : r.state.m_Surfer->callLog()) EXPECT_EQ(call.find("GridResiduals"), std::string::npos);
    EXPECT_FALSE(fs::exists(r.dir.path("T1_ctpz.dat")));
    for (const char* tips : {"1,1\n1,1\n", "1,0\n0,0\n"}) {  // identical; a level facet gives a vertical plane
        r.prompt.respond(planetest::digitise(r.dir, tips));
        EXPECT_THROW(cmdOccVect_Click(r.ctx, r.form), trelvik::Error);
        EXPECT_FALSE(fs::exists(r.dir.path("T1ovplane.grd")));
        EXPECT_FALSE(fs::exists(r.dir.path("T1_ovplpts.dat")));
    }
}

// Tips refused after their heights are taken (they give a vertical plane) keep the tip
// files of the earlier occlusal-vector plane.
TEST(PlaneFit, RefusedTipsKeepTheEarlierTipFiles) {
    FitRun r(8);
    surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(9, 9, -2, 2, -2, 2, [](double, double) { return 0.0; }));
    WritePlaneFormulaFile(r.dir.path("T1planeform.txt"), {0, 0, 0.5});
    r.prompt.respond(planetest::digitise(r.dir, "0,1\n0,0\n1,1\n"));
    ASSERT_TRUE(cmdOccVect_Click(r.ctx, r.form));
    const std::string tips = r.dir.read("T1_ctp.dat"), heights = r.dir.read("T1_ctpz.dat");
    WritePlaneFormulaFile(r.dir.path("T1planeform.txt"), {0, 0, 0});
    r.prompt.respond(planetest::digitise(r.dir, "1,0\n0,0\n"));
    EXPECT_THROW(cmdOccVect_Click(r.ctx, r.form), trelvik::Error);
    EXPECT_EQ(r.dir.read("T1_ctp.dat"), tips);
    EXPECT_EQ(r.dir.read("T1_ctpz.dat"), heights);
}

TEST(PlaneFit, ReportCellsWithoutANumberAreRefusedNotReadAsZero) {
    EXPECT_EQ(ReportCoefficient("2.5", "B166", "r.txt"), 2.5);
    EXPECT_EQ(ReportCoefficient("  -0.1\t", "B167", "r.txt"), -0.1);
    EXPECT_EQ(ReportCoefficient("+1.5E-05 (slope)", "B168", "r.txt"), 1.5e-05);
    for (const char* bad : {"", "   ", "Coefficient", "-", "1e999"}) {
        try {
            ReportCoefficient(bad, "B167", "F/T1plane_report.txt");
            ADD_FAILURE() << "\"" << bad << "\" was read as a number";
        } catch (const trelvik::Error& e) {
            const std::string m = e.what();
            EXPECT_NE(m.find("B167"), std::string::npos) << m;
            EXPECT_NE(m.find("F/T1plane_report.txt"), std::string::npos) << m;
        }
    }
}
