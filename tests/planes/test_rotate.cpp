// The rotation window's procedures: lattice of the regrid, rotation to a plane, rotation
// about the axes, and their refusals.
#include "core/error.h"
#include "core/textform.h"
#include "formats/surfergrid.h"
#include "formats/xyzdump.h"
#include "planes/planefit.h"
#include "planes/planeformula.h"
#include "planes/rotategrid.h"
#include "planes/rotatepoints.h"
#include "shell/gridgeometry.h"
#include "planetest.h"
#include "support/scriptedprogress.h"
#include "surfer/griddataalgorithms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace trelvik::planes;
using trelvik::testing::TempFolder;
namespace fs = std::filesystem;

namespace {
double slope(double x, double y) { return 1 + 0.3 * x - 0.2 * y; }

struct RotRun {
    TempFolder dir;
    trelvik::AppState app;
    trelvik::ScriptedPrompt prompt;
    RotateState state;
    RotateContext ctx{app, prompt, state};
    RotateForm form;
    explicit RotRun(int version) : app(planetest::runState(version)) {
        form.Label1 = dir.folder();
        form.Label2 = dir.folder();
        form.Text1 = "T1.grd";
        form.Check1 = false;
    }
};

// The least-squares plane of a grid's non-blank nodes, by the stand-in's own fit.
surfer::PolynomialFit fitted(const std::string& grid) {
    const auto g = trelvik::formats::readSurferGrid(grid);
    trelvik::PointList pts;
    for (int j = 0; j < g.rows; ++j)
        for (int i = 0; i < g.cols; ++i)
            if (!trelvik::isBlank(g.at(i, j))) pts.push_back({g.x(i), g.y(j), g.at(i, j)});
    return surfer::fitPolynomial(pts, 1, 1, 1, grid);
}
} // namespace

TEST(Rotate, RegridLatticeCountsWholeLatticeIndices) {
    // Interval 0.5: least x 1.25 gives 1.0, greatest 1.75 gives 2.0; 1.0 to 3.0 is five columns.
    auto l = RegridLatticeFor({4, 1.25, 1.75, 1.0, 3.0}, 0.5, 0.5);
    EXPECT_EQ(l.XMin, 1.0);
    EXPECT_EQ(l.XMax, 2.0);
    EXPECT_EQ(l.NumCols, 3);
    EXPECT_EQ(l.NumRows, 5);
    // 0.7 / 0.1 lies just below 7: the quotient's Int would lose the last column.
    l = RegridLatticeFor({2, 0.0, 0.7, -0.3, 0.0}, 0.1, 0.1);
    EXPECT_EQ(l.NumCols, 8);
    EXPECT_EQ(l.NumRows, 4);
    // Far beyond the old 16-bit row limit and the +-100000 scan start.
    l = RegridLatticeFor({2, 200000.0, 200010.0, -5e5, -4e5}, 1, 2);
    EXPECT_EQ(l.XMin, 200000.0);
    EXPECT_EQ(l.NumRows, 50001);
    EXPECT_THROW(RegridLatticeFor({2, 0, 1, 0, 1}, 0, 1), trelvik::Error);
    EXPECT_THROW(RegridLatticeFor({2, 0, 1, 0, 1}, 1, -0.5), trelvik::Error);
}

TEST(Rotate, GridRotatedByItsOwnFittedPlaneIsLevel) {
    for (int version : {6, 8}) {
        SCOPED_TRACE(version);
        RotRun r(version);
        surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(41, 36, 0, 8, 0, 7, slope));
        // Fit the plane through the plane-fit procedure, then rotate by its formula file.
        PlaneFitState fit;
        PlaneFitContext fctx{r.app, r.prompt, fit, {}};
        PlaneFitForm fform;
        fform.Label1 = r.dir.folder();
        fform.Text1 = "T1.grd";
        r.prompt.respond(planetest::digitise(r.dir, "1,1\n7,2\n3,6\n5,5\n"));
        ASSERT_TRUE(cmdPFit_Click(fctx, fform));

        ASSERT_TRUE(cmdEnterGrid_Click(r.ctx, r.form));
        EXPECT_EQ(r.form.Label5, "0.2");
        EXPECT_EQ(r.form.Label13, "0.1");
        EXPECT_EQ(r.form.Text3, "T1rxy.grd");
        r.form.Text2 = "T1planeform.txt";
        ASSERT_TRUE(cmdRotPlane_Click(r.ctx, r.form));
        const auto f = fitted(r.dir.path("T1trs.grd"));
        EXPECT_LT(std::fabs(f.A), 1e-9);
        EXPECT_LT(std::fabs(f.B), 1e-9);
        EXPECT_TRUE(fs::exists(r.dir.path("T1trs.dat")));
    }
}

TEST(Rotate, LevelPlaneIsTheIdentityAndBlankNodesAreDropped) {
    RotRun r(8);
    auto g = surfertest::makeGrid(11, 11, 0, 10, 0, 10, slope);
    surfertest::saveGrid(r.dir, "T1.grd", g);
    r.form.Check1 = true;
    r.prompt.respond(planetest::digitise(r.dir, "2,2\n8,2\n8,8\n2,8\n"));
    ASSERT_TRUE(cmdEnterGrid_Click(r.ctx, r.form));
    const std::string bln = r.dir.read("T1_tap.bln");
    EXPECT_EQ(std::count(bln.begin(), bln.end(), '\n'), 6);
    WritePlaneFormulaFile(r.dir.path("level.txt"), {5, 0, 0});
    r.form.Text2 = "LEVEL.TXT";
    EXPECT_THROW(cmdRotPlane_Click(r.ctx, r.form), trelvik::Error);  // the name as typed must exist
    r.form.Text2 = "level.txt";
    ASSERT_TRUE(cmdRotPlane_Click(r.ctx, r.form));
    const auto kept = trelvik::formats::readXyzDump(r.dir.path("T1trs.dat"));
    const auto blanked = trelvik::formats::readSurferGrid(r.dir.path("T1_tab.grd"));
    long present = 0;
    for (double z : blanked.z) present += trelvik::isBlank(z) ? 0 : 1;
    ASSERT_EQ(static_cast<long>(kept.size()), present);
    EXPECT_LT(present, 121);
    for (const auto& p : kept) EXPECT_DOUBLE_EQ(p.z, slope(p.x, p.y));
}

// "Enter grid" takes the spacings from its one dump of the grid, and the rotated points
// are written in parallel batches: the spacings must be those of the grid-geometry scan,
// and the point files the text of one WriteLine or PrintLine per point, in dump order,
// over more points than one batch.
TEST(Rotate, OneDumpAndBatchedPointsGiveTheScanAndTheOneLineWriters) {
    RotRun r(8);
    auto g = surfertest::makeGrid(530, 520, -2.5, 3.1, 0.7, 6.05, slope);
    for (int i = 0; i < 400; ++i) g.at(i, i % 7) = trelvik::kBlank;
    surfertest::saveGrid(r.dir, "T1.grd", g);
    ASSERT_TRUE(cmdEnterGrid_Click(r.ctx, r.form));
    trelvik::AppState scan = planetest::runState(8);
    trelvik::ReadGridGeometry(scan, r.dir.path("T1.grd"));
    EXPECT_EQ(r.form.Label5, trelvik::text::CStr(scan.GridXSpacing));
    EXPECT_EQ(r.form.Label12, trelvik::text::CStr(scan.GridYSpacing));
    EXPECT_EQ(r.app.GridCols, scan.GridCols);
    EXPECT_EQ(r.app.GridRows, scan.GridRows);
    EXPECT_EQ(r.app.GridZMax, scan.GridZMax);
    EXPECT_FALSE(fs::exists(r.dir.path("T1temp.dat")));

    const Mat3 rot = RotationToHorizontal(trelvik::planes::PlaneCoefficients{1, -0.2, 0.3});
    std::string comma, zones;
    long count = 0;
    trelvik::formats::scanXyzDump(r.dir.path("T1_tab.dat"), [&](const trelvik::formats::XyzRecord& rec) {
        if (rec.z > 1.7e38) return;
        const Vec3 p = rot * Vec3(rec.x, rec.y, rec.z);
        comma += trelvik::text::WriteLine().num(p.x()).num(p.y()).num(p.z()).str() + "\r\n";
        zones += trelvik::text::PrintLine().num(p.x()).num(p.y()).num(p.z()).str() + "\r\n";
        ++count;
    });
    ASSERT_GT(count, 262144);
    EXPECT_EQ(RotatePointFile(r.dir.path("T1_tab.dat"), r.dir.path("c.dat"), rot, PointLayout::Comma).count, count);
    EXPECT_TRUE(r.dir.read("c.dat") == comma);
    RotatePointFile(r.dir.path("T1_tab.dat"), r.dir.path("z.dat"), rot, PointLayout::PrintZones);
    EXPECT_TRUE(r.dir.read("z.dat") == zones);
}

TEST(Rotate, AboutTheAxesNamesTheOutputAndLeavesTheTrsDatOfRotateByPlane) {
    EXPECT_EQ(RotXYOutputName("T1", true, false, "15", "0"), "T1trs15x.grd");
    EXPECT_EQ(RotXYOutputName("T1", true, true, "15", "-5"), "T1trs15x-5y.grd");
    EXPECT_EQ(RotXYOutputName("T1", false, true, "15", "-5"), "T1trs-5y.grd");
    EXPECT_EQ(RotXYOutputName("T1", false, false, "15", "-5"), "T1trsxy.grd");

    for (int version : {6, 8}) {
        RotRun r(version);
        surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(21, 21, 0, 4, 0, 4, slope));
        ASSERT_TRUE(cmdEnterGrid_Click(r.ctx, r.form));
        r.dir.write("T1trs.dat", "1,2,3\r\n");
        r.form.chkXAxis = true;
        r.form.txtXAngle = "90";
        r.form.Text3 = RotXYOutputName("T1", true, false, "90", "0");
        ASSERT_TRUE(RotXY_Click(r.ctx, r.form));
        EXPECT_EQ(r.dir.read("T1trs.dat"), "1,2,3\r\n");
        // About x by 90 degrees: y' = z, z' = -y; the new grid spans the old heights in y.
        const auto g = trelvik::formats::readSurferGrid(r.dir.path("T1trs90x.grd"));
        EXPECT_NEAR(g.yMin, 0.2, 0.2 + 1e-9);
        EXPECT_NEAR(g.yMax, 2.2, 0.2 + 1e-9);
    }
}

TEST(Rotate, ACancelledOrFailedEnterKeepsTheGridEnteredBefore) {
    RotRun r(8);
    surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(11, 11, 0, 10, 0, 10, slope));
    surfertest::saveGrid(r.dir, "T2.grd",
                         surfertest::makeGrid(11, 11, 0, 10, 0, 10, [](double, double) { return 7.0; }));
    ASSERT_TRUE(cmdEnterGrid_Click(r.ctx, r.form));
    r.form.Text1 = "T2.grd";
    r.form.Check1 = true;
    r.prompt.answer(trelvik::Answer::Cancel);
    EXPECT_FALSE(cmdEnterGrid_Click(r.ctx, r.form));
    r.form.Text1 = "T3.grd";
    r.form.Check1 = false;
    EXPECT_THROW(cmdEnterGrid_Click(r.ctx, r.form), trelvik::Error);
    // Rotating now turns T1's points under T1's name: nothing is written for T2 or T3.
    WritePlaneFormulaFile(r.dir.path("level.txt"), {5, 0, 0});
    r.form.Text2 = "level.txt";
    ASSERT_TRUE(cmdRotPlane_Click(r.ctx, r.form));
    EXPECT_FALSE(fs::exists(r.dir.path("T2trs.grd")));
    EXPECT_FALSE(fs::exists(r.dir.path("T3trs.grd")));
    for (const auto& p : trelvik::formats::readXyzDump(r.dir.path("T1trs.dat")))
        EXPECT_NEAR(p.z, slope(p.x, p.y), 1e-9);
}

// A second Enter of the same grid that fails after its dump (the volume report cannot be
// saved) keeps the first entry, and with it the first entry's points.
TEST(Rotate, AFailedReEnterOfTheSameGridKeepsItsPoints) {
    RotRun r(6);
    surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(11, 11, 0, 10, 0, 10, slope));
    ASSERT_TRUE(cmdEnterGrid_Click(r.ctx, r.form));
    fs::remove(r.dir.path("volume.dat"));
    fs::create_directory(r.dir.path("volume.dat"));
    r.form.Check1 = true;
    r.prompt.respond(planetest::digitise(r.dir, "4,4\n6,4\n6,6\n4,6\n"));
    EXPECT_THROW(cmdEnterGrid_Click(r.ctx, r.form), trelvik::Error);
    WritePlaneFormulaFile(r.dir.path("level.txt"), {5, 0, 0});
    r.form.Text2 = "level.txt";
    ASSERT_TRUE(cmdRotPlane_Click(r.ctx, r.form));
    EXPECT_EQ(trelvik::formats::readXyzDump(r.dir.path("T1trs.dat")).size(), 121u);
}

// An area drawn wholly off the tooth keeps no height: "Enter grid" refuses it before
// writing, so the earlier entry's area, blanked grid and points stay with it.
TEST(Rotate, AnAreaWithoutAHeightIsRefusedAtEnter) {
    RotRun r(8);
    auto g = surfertest::makeGrid(11, 11, 0, 10, 0, 10, slope);
    for (int j = 0; j < 11; ++j)
        for (int i = 7; i < 11; ++i) g.at(i, j) = trelvik::kBlank;
    surfertest::saveGrid(r.dir, "T1.grd", g);
    r.form.Check1 = true;
    r.prompt.respond(planetest::digitise(r.dir, "2,2\n5,2\n5,5\n2,5\n"));
    ASSERT_TRUE(cmdEnterGrid_Click(r.ctx, r.form));
    const std::vector<std::string> names{"T1_tap.dat", "T1_tap.bln", "T1_tab.grd", "T1_tab.dat"};
    const auto before = r.dir.contents(names);
    const auto files = r.dir.fileCount();
    r.prompt.respond(planetest::digitise(r.dir, "8,2\n9.5,2\n9.5,9\n8,9\n"));
    try {
        cmdEnterGrid_Click(r.ctx, r.form);
        ADD_FAILURE() << "an area without a height was entered";
    } catch (const trelvik::Error& e) {
        EXPECT_NE(std::string(e.what()).find("holds no height"), std::string::npos) << e.what();
    }
    EXPECT_EQ(r.dir.contents(names), before);
    EXPECT_EQ(r.dir.fileCount(), files);
}

// A sloping grid entered and a plane chosen, beside turned points of an earlier run.
static void planeChosenOverEarlierPoints(RotRun& r) {
    surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(11, 11, 0, 10, 0, 10, slope));
    ASSERT_TRUE(cmdEnterGrid_Click(r.ctx, r.form));
    WritePlaneFormulaFile(r.dir.path("plane.txt"), {1, -0.2, 0.3});
    r.form.Text2 = "plane.txt";
    r.dir.write("T1trs.dat", "earlier\r\n");
}

// The rotate steps name their stages on the window's sink; Esc while the points turn
// stops before the regrid, with no grid written and the earlier points kept.
TEST(Rotate, EscWhileThePointsTurnStopsBeforeTheRegrid) {
    RotRun r(8);
    ASSERT_NO_FATAL_FAILURE(planeChosenOverEarlierPoints(r));
    trelvik::testing::ScriptedProgress esc(0);
    RotateContext escaped{r.app, r.prompt, r.state, esc};
    EXPECT_THROW(cmdRotPlane_Click(escaped, r.form), trelvik::Stopped);
    EXPECT_EQ(esc.statuses, std::vector<std::string>{"Rotating the points"});
    EXPECT_EQ(r.dir.read("T1trs.dat"), "earlier\r\n");
    EXPECT_FALSE(fs::exists(r.dir.path("T1trs.grd")));
    r.form.chkXAxis = true;
    r.form.Text3 = "T1trs0x.grd";
    EXPECT_THROW(RotXY_Click(escaped, r.form), trelvik::Stopped);
    EXPECT_EQ(r.dir.read("T1trs.dat"), "earlier\r\n");  // Rotate by plane's points stay
    EXPECT_FALSE(fs::exists(r.dir.path("T1trs0x.grd")));

    trelvik::testing::ScriptedProgress seen;
    RotateContext watched{r.app, r.prompt, r.state, seen};
    ASSERT_TRUE(cmdRotPlane_Click(watched, r.form));
    EXPECT_EQ(seen.statuses, (std::vector<std::string>{"Rotating the points", "Gridding the rotated points"}));
    EXPECT_TRUE(fs::exists(r.dir.path("T1trs.grd")));
}

// Rotate by plane's grid that cannot be put in place (a folder holds its name) leaves
// the earlier turned points as they were.
TEST(Rotate, ByPlaneAGridThatCannotBePutInPlaceKeepsTheEarlierPoints) {
    RotRun r(8);
    ASSERT_NO_FATAL_FAILURE(planeChosenOverEarlierPoints(r));
    fs::create_directory(r.dir.path("T1trs.grd"));
    try {
        cmdRotPlane_Click(r.ctx, r.form);
        ADD_FAILURE() << "a grid was put in place over a folder";
    } catch (const trelvik::Error& e) {
        EXPECT_NE(std::string(e.what()).find("T1trs.grd"), std::string::npos) << e.what();
    }
    EXPECT_EQ(r.dir.read("T1trs.dat"), "earlier\r\n");
}

TEST(Rotate, RefusalsLeaveNoFiles) {
    RotRun r(8);
    r.form.Text1 = "";
    EXPECT_FALSE(cmdEnterGrid_Click(r.ctx, r.form));
    EXPECT_EQ(r.prompt.shown.back().text, "Choose grid filename");
    EXPECT_TRUE(surfer::instances().empty());  // refused before the map window could open
    // Rotate before Enter grid.
    r.form.Text2 = "p.txt";
    EXPECT_THROW(cmdRotPlane_Click(r.ctx, r.form), trelvik::Error);

    surfertest::saveGrid(r.dir, "T1.grd", surfertest::makeGrid(11, 11, 0, 10, 0, 10, slope));
    r.form.Text1 = "T1.grd";
    r.form.Check1 = true;
    r.prompt.answer(trelvik::Answer::Cancel);
    EXPECT_FALSE(cmdEnterGrid_Click(r.ctx, r.form));
    EXPECT_EQ(r.dir.fileCount(), 1u);
    r.form.Check1 = false;
    ASSERT_TRUE(cmdEnterGrid_Click(r.ctx, r.form));
    const auto before = r.dir.fileCount();

    r.form.IntervalOption = 3;
    for (auto [x, y] : {std::pair{"0.2", ""}, std::pair{"-1", "0.3"}, std::pair{"abc", "1"}}) {
        r.form.Text5 = x;
        r.form.Text6 = y;
        EXPECT_FALSE(RotXY_Click(r.ctx, r.form));
        EXPECT_EQ(r.prompt.shown.back().text, "Choose x and y intervals for new grid");
        EXPECT_EQ(r.prompt.shown.back().title, "Trelvik");
    }
    r.form.Text5 = "0.2";
    r.form.Text6 = "0.3";
    EXPECT_FALSE(RotXY_Click(r.ctx, r.form));
    EXPECT_EQ(r.prompt.shown.back().text, "Choose axis to rotate around");
    r.form.chkYAxis = true;
    r.form.txtYAngle = "5/2";
    EXPECT_THROW(RotXY_Click(r.ctx, r.form), trelvik::Error);
    r.form.Text2 = "*.TXT";
    EXPECT_FALSE(cmdRotPlane_Click(r.ctx, r.form));
    EXPECT_EQ(r.prompt.shown.back().text, "Choose plane formula filename");
    EXPECT_EQ(r.dir.fileCount(), before);
    EXPECT_FALSE(r.prompt.busyNow);

    EXPECT_EQ(AngleFromText(" -5 ", "x"), -5);
    EXPECT_EQ(AngleFromText("1.5e1", "x"), 15);
    for (const char* bad : {"", "5x", "abc", "1/2", "inf"}) EXPECT_THROW(AngleFromText(bad, "x"), trelvik::Error);
}
