// Area curvature of the "Curvature" window: the square of the example with its outline
// text, mean and SD against a hand computation over the nodes inside, the irregular
// patch's areas on a sloping plane (both call forms), alternate sides and refusals.
#include "curvrun.h"
#include "core/textform.h"
#include "toothfeatures/curvarea.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>

using namespace curvtest;
using ::testing::HasSubstr;

namespace {

// Nodes every 0.004 from 1.101 / 3.301, so no node lies on a square's edge: the square
// of side 0.02 from (1.2, 3.4) holds x = 1.201 .. 1.217 and y = 3.401 .. 3.417.
Grid lattice(const std::function<double(double, double)>& f) { return makeGrid(51, 51, 1.101, 1.301, 3.301, 3.501, f); }

// Topographic grid tooth.grd (the plane z = 0.5 x) and curvature grid tooth_c.grd (x + 10 y).
void prepare(CurvRun& r) {
    r.save("tooth.grd", lattice([](double x, double) { return 0.5 * x; }));
    r.save("tooth_c.grd", lattice([](double x, double y) { return x + 10 * y; }));
    r.c.Text7 = "tooth.grd";
    r.c.txtInputCurvText = "_c";
    ASSERT_EQ(Input_Top(r.ctx, r.c), StepOutcome::Done);
    r.c.Text5 = "20";
    r.c.chkUsePrevDig = false;
}

std::vector<double> tableValues(const CurvRun& r, const std::string& name) {
    const std::string t = r.dir.read(name);
    return text::numbers(t.substr(t.find("\r\n") + 2));
}

} // namespace

class CurvatureArea : public ::testing::TestWithParam<bool> {};

TEST_P(CurvatureArea, SquareOfTheExampleMatchesTheNodesInside) {
    CurvRun r(GetParam());
    prepare(r);
    r.digitise("1.2,3.4\r\n");
    ASSERT_EQ(Curv_Area(r.ctx, r.c), StepOutcome::Done) << (r.messages().empty() ? "" : r.messages().back());
    EXPECT_EQ(r.dir.read("tooth_cac20.bln"), "5,0\r\n1.2,3.4\r\n1.2,3.42\r\n1.22,3.42\r\n1.22,3.4\r\n1.2,3.4\r\n");
    EXPECT_EQ(r.dir.read("tooth_cac20.dat"), "1.2,3.4\r\n");
    EXPECT_EQ(r.dir.read("tooth_cac20_curvaresults.csv").substr(0, 58),
              "\"Ave Curvature\",\"SD Curvature\",\"Length of square\",\"Area\"\r\n");
    // Nodes 1.201 .. 1.217 by 3.401 .. 3.417: mean 1.209 + 34.09; squares 505 x 0.00016 over 24.
    const auto v = tableValues(r, "tooth_cac20_curvaresults.csv");
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(v[0], 35.299, 1e-9);
    EXPECT_NEAR(v[1], std::sqrt(0.0808 / 24), 1e-9);
    EXPECT_EQ(v[2], 20);
    EXPECT_EQ(v[3], 400);
    EXPECT_EQ(text::numbers(r.dir.read("tooth_cac20outstr.dat")).size(), 25u * 3u);
    EXPECT_EQ(r.c.Text5, "20");
    EXPECT_EQ(r.c.Label25, " 400");
    EXPECT_EQ(r.calls("GridBlank").size(), 1u);
}

TEST_P(CurvatureArea, IrregularPatchAreasOnASlopingPlaneAndNoAlternateRun) {
    CurvRun r(GetParam());
    prepare(r);
    r.c.optAreaSquare = false;
    r.c.Text4 = "a";
    r.c.Text5 = "50";  // the alternate sides belong to the square
    r.digitise("1.2,3.4\r\n1.2,3.44\r\n1.24,3.44\r\n1.24,3.4\r\n");
    ASSERT_EQ(Curv_Area(r.ctx, r.c), StepOutcome::Done) << (r.messages().empty() ? "" : r.messages().back());
    EXPECT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_EQ(r.c.Text5, "50");
    for (const char* f : {"tooth_ciac-a.dat", "tooth_ciac-a.bln", "tooth_ciac-aout.dat", "tooth_ciac-aoutstr.dat",
                          "tooth_tiac-aout.grd", "tooth_ciac-a_curvaresults.csv"})
        EXPECT_TRUE(r.exists(f)) << f;
    const auto outline = formats::readBlnFile(r.path("tooth_ciac-a.bln"));
    ASSERT_EQ(outline.at(0).vertices.size(), 5u);
    EXPECT_EQ(outline[0].vertices.front(), outline[0].vertices.back());
    // Nodes 1.201 .. 1.237 each way: 9 x 9 whole cells of 0.004 x 0.004 on z = 0.5 x.
    const auto v = tableValues(r, "tooth_ciac-a_curvaresults.csv");
    ASSERT_EQ(v.size(), 4u);
    EXPECT_NEAR(v[0], 1.219 + 34.19, 1e-9);
    EXPECT_NEAR(v[2], 81 * 0.004 * 0.004, 1e-12);
    EXPECT_NEAR(v[3], 81 * 0.004 * 0.004 * std::sqrt(1.25), 1e-12);
    if (GetParam()) EXPECT_TRUE(r.exists("volume.dat"));
}

INSTANTIATE_TEST_SUITE_P(Both, CurvatureArea, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "V6" : "V8"; });

TEST(CurvatureAreaSquare, MicrometreGridAndAlternateSides) {
    CurvRun um;
    prepare(um);
    um.c.optUnitsMM = false;
    um.digitise("1.2,3.4\r\n");
    // A square of 20 grid units reaches far beyond this small grid; the nodes it keeps count.
    ASSERT_EQ(Curv_Area(um.ctx, um.c), StepOutcome::Done);
    EXPECT_EQ(um.dir.read("tooth_cac20.bln"), "5,0\r\n1.2,3.4\r\n1.2,23.4\r\n21.2,23.4\r\n21.2,3.4\r\n1.2,3.4\r\n");

    CurvRun r;
    prepare(r);
    r.c.Text5 = "50";
    r.digitise("1.2,3.4\r\n");
    r.digitise("1.15,3.35\r\n");
    ASSERT_EQ(Curv_Area(r.ctx, r.c), StepOutcome::Done);
    EXPECT_EQ(r.prompt.shown.size(), 2u);
    EXPECT_EQ(r.dir.read("tooth_cac50.dat"), "1.2,3.4\r\n");
    EXPECT_EQ(r.dir.read("tooth_cac100.dat"), "1.15,3.35\r\n");
    EXPECT_EQ(tableValues(r, "tooth_cac100_curvaresults.csv").at(3), 10000);
    EXPECT_EQ(r.c.Text5, "50");

    // With the earlier corners: side 50 reads its own file; side 100 finds none.
    CurvRun prev;
    prepare(prev);
    prev.c.Text5 = "50";
    prev.c.chkUsePrevDig = true;
    writeFileAtomic(prev.path("tooth_cac50.dat"), "1.2,3.4\r\n");
    EXPECT_EQ(Curv_Area(prev.ctx, prev.c), StepOutcome::Refused);
    EXPECT_TRUE(prev.exists("tooth_cac50_curvaresults.csv"));
    EXPECT_FALSE(prev.exists("tooth_cac100.bln"));
    EXPECT_THAT(prev.messages().back(), HasSubstr("tooth_cac100.dat"));
    EXPECT_EQ(prev.c.Text5, "100");
}

TEST(CurvatureAreaSquare, BadSidesMissingGridsAndTooFewNodesAreRefused) {
    for (const char* side : {"0", "-5", "x", ""}) {
        CurvRun r;
        prepare(r);
        const auto before = r.files();
        r.c.Text5 = side;
        EXPECT_EQ(Curv_Area(r.ctx, r.c), StepOutcome::Refused) << side;
        EXPECT_THAT(r.messages().back(), HasSubstr("Length of square"));
        EXPECT_EQ(r.files(), before);
    }
    CurvRun tiny;
    prepare(tiny);
    tiny.c.Text5 = "1";  // 0.001 mm: no node inside
    tiny.digitise("1.2,3.4\r\n");
    EXPECT_EQ(Curv_Area(tiny.ctx, tiny.c), StepOutcome::Refused);
    EXPECT_THAT(tiny.messages().back(), HasSubstr("at least two are needed"));
    EXPECT_EQ(tiny.prompt.shown.back().title, "Error");  // as the slice's refusals of blank points
    EXPECT_FALSE(tiny.exists("tooth_cac1_curvaresults.csv"));

    CurvRun line;
    prepare(line);
    line.c.optAreaSquare = false;
    line.digitise("1.2,3.4\r\n1.3,3.5\r\n");
    EXPECT_EQ(Curv_Area(line.ctx, line.c), StepOutcome::Refused);
    EXPECT_THAT(line.messages().back(), HasSubstr("three points"));
    EXPECT_TRUE(line.calls("GridBlank").empty());

    CurvRun fresh;
    EXPECT_EQ(Curv_Area(fresh.ctx, fresh.c), StepOutcome::Refused);
    EXPECT_THAT(fresh.messages().back(), HasSubstr("curvature grids first"));
    EXPECT_TRUE(fresh.files().empty());
}

TEST(CurvatureAreaSquare, ACornerOffTheToothKeepsTheCornerTakenBefore) {
    CurvRun r;
    prepare(r);
    r.digitise("1.2,3.4\r\n");
    ASSERT_EQ(Curv_Area(r.ctx, r.c), StepOutcome::Done);
    const std::vector<std::string> names{"tooth_cac20.dat", "tooth_cac20.bln", "tooth_cac20out.dat", "tooth_cac20outstr.dat"};
    const auto before = r.dir.contents(names);
    r.digitise("5,5\r\n");  // no node of the grid inside
    EXPECT_EQ(Curv_Area(r.ctx, r.c), StepOutcome::Refused);
    EXPECT_EQ(r.messages().back(), "The square holds no curvature node: it lies off the curvature grid's nodes "
                                   "(between them, or off the tooth), and at least two are needed for a standard "
                                   "deviation. Give a larger side, or digitise its corner among the nodes.");
    EXPECT_EQ(r.dir.contents(names), before);
}

// The smoothed grid chosen on tab 1b takes its curvature grid by a name that repeats the
// smoothing tag: the area step says so before its digitise question and writes nothing.
TEST(CurvatureAreaIrregular, AMissingCurvatureGridIsNamedWithTheGridToChooseBeforeDigitising) {
    CurvRun r;
    r.save("T1_fwa9,4x3.grd", lattice([](double x, double) { return 0.5 * x; }));
    r.save("T1_fwa9,4x3_curv10.grd", lattice([](double x, double y) { return x + 10 * y; }));
    r.dir.write("digit.dat", "1.2,3.4\r\n1.2,3.44\r\n1.24,3.44\r\n1.24,3.4\r\n");
    r.c.Text7 = "T1_fwa9,4x3.grd";
    ASSERT_EQ(Input_Top(r.ctx, r.c), StepOutcome::Done);
    const auto before = r.files();
    r.c.optAreaSquare = false;
    r.c.Text4 = "pa";
    EXPECT_EQ(Curv_Area(r.ctx, r.c), StepOutcome::Refused);
    ASSERT_EQ(r.prompt.shown.size(), 1u);  // no digitise question
    EXPECT_EQ(r.prompt.shown[0].title, "Filename");
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr(r.path("T1_fwa9,4x3_fwa9,4x3_curv10.grd") + " does not exist"));
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("choose T1.grd"));
    EXPECT_EQ(r.files(), before);
}

TEST(CurvatureAreaValues, BlankNodesNeverReachTheValuesButOneE36Does) {
    TempFolder dir;
    const std::string xyz = dir.write("p.dat",
                                      "1 2 0.5\r\n1 3 1.70141E+38\r\n2 2 1E+36\r\n2 3 2E+36\r\n3 3 -0.5\r\n");
    const AreaValues v = FilterAreaValues(xyz, dir.path("v.dat"));
    EXPECT_EQ(v.count, 3);
    EXPECT_EQ(dir.read("v.dat"), "1,2,0.5\r\n2,2,1E+36\r\n3,3,-0.5\r\n");
    EXPECT_NEAR(v.mean, 1e36 / 3, 1e22);
    EXPECT_THROW(FilterAreaValues(dir.path("absent.dat"), dir.path("w.dat")), Error);
    EXPECT_FALSE(std::filesystem::exists(dir.path("w.dat")));

    CurvControls c;
    c.Text5 = "30";
    ShowSquareArea(c);
    EXPECT_EQ(c.Label25, " 900");
    c.Text5 = "";
    ShowSquareArea(c);
    EXPECT_EQ(c.Label25, " 900");
}
