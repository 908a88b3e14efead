// The rake-angle window's steps end to end, in both call forms: the cusp area blanked,
// turned onto the occlusal vector and gridded again, and the rake lines sliced on a
// transformed grid whose surface is a plane, where every fit gives the plane's slope
// along the rake line.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "crestrun.h"
#include "formats/xyzdump.h"
#include "toothfeatures/rakeslice.h"
#include "toothfeatures/rakestep.h"

#include <cmath>

using namespace crestrun;
using namespace trelvik::toothfeatures;
using ::testing::HasSubstr;

namespace {

double cusp(double x, double y) { return 10 - 0.05 * ((x - 10) * (x - 10) + (y - 10) * (y - 10)); }

OccVectRequest occRequest(const CrestRun& r) {
    OccVectRequest rq;
    rq.window = CrestWindowKind::Rake;
    rq.Label3 = r.folder();
    rq.Text2 = "T1.grd";
    rq.Combo1Text = "Paracristid";
    rq.CrestCode = "pacd";
    return rq;
}

RakeSliceRequest sliceRequest() {
    RakeSliceRequest rq;
    rq.Combo1Text = "Paracristid";
    rq.CrestCode = "pacd";
    return rq;
}

class RakeForms : public ::testing::TestWithParam<bool> {};

// The cusp grid T1.grd with its occlusal vector found, as the cusp area step wants it.
void vectorOnTheCusp(CrestRun& r, RakeState& rs) {
    r.grid("T1.grd", makeGrid(41, 41, 0, 20, 0, 20, cusp));
    r.digitise("digit.dat", "10,10\r\n10,2\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, occRequest(r), rs.occ));
}

// A transformed grid made earlier (the plane z' = 0.2 x' + 0.1 y' + 1) whose node at
// (5, 5) is blank, taken in with "Input trans grid".
void inputTransGridBlankAt55(CrestRun& r, RakeState& rs) {
    Grid g = makeGrid(41, 41, 0, 20, 0, 20, [](double x, double y) { return 0.2 * x + 0.1 * y + 1; });
    g.at(10, 10) = kBlank;
    r.grid("T1_cabtrs.grd", g);
    std::optional<std::string> length;
    ASSERT_TRUE(cmdInputTransGrid(r.prompt, rs, {r.folder(), "T1_cabtrs.grd", false, "_tl"}, length));
}

// The text of each file of the rake step's first pass.
std::vector<std::string> firstPassFiles(const CrestRun& r) {
    const RakePassFiles f = rakePassFiles(r.path("T1"), "pacd_notch-f1");
    std::vector<std::string> texts;
    for (const std::string& path : {f.copy, f.line, f.slice, f.results}) texts.push_back(readWholeFile(path));
    return texts;
}

} // namespace

TEST_P(RakeForms, CuspAreaIsTurnedOntoTheOcclusalVectorAndGriddedAgain) {
    CrestRun r(GetParam());
    r.grid("T1.grd", makeGrid(41, 41, 0, 20, 0, 20, cusp));
    r.dir.write("T1_tl.txt", "12.345\r\n");
    RakeState rs;
    r.digitise("digit.dat", "10,10\r\n10,2\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, occRequest(r), rs.occ)) << r.lastMessage();
    EXPECT_TRUE(r.exists("T1_ovpz.dat"));

    std::vector<std::pair<std::string, int>> plotted;
    CuspAreaResult out;
    r.digitise("digit1.dat", "5,5\r\n15,5\r\n15,15\r\n5,15\r\n");
    ASSERT_TRUE(cmdDigCuspArea(r.app, r.prompt, rs, CuspAreaRequest{},
                               [&](const std::string& g, int t) { plotted.emplace_back(g, t); }, out))
        << r.lastMessage();

    EXPECT_EQ(r.lines("T1_cap.bln")[0], " 5            0");
    EXPECT_EQ(r.lines("T1_cap.bln").back(), r.lines("T1_cap.bln")[1]);
    const auto turned = r.lines("T1_cabtrs.dat");
    EXPECT_EQ(turned.size(), 21u * 21u);  // the nodes from 5 to 15 in steps of 0.5
    const OcclusalFrame frame(*rs.occ.OcclusalUnitVector);
    const PointXYZ first = frame({5, 5, cusp(5, 5)});
    const auto f = fields(turned[0]);
    ASSERT_EQ(f.size(), 3u);
    EXPECT_NEAR(std::stod(f[0]), first.x, 1e-12);
    EXPECT_NEAR(std::stod(f[1]), first.y, 1e-12);
    EXPECT_NEAR(std::stod(f[2]), first.z, 1e-12);

    EXPECT_EQ(out.Label9, "0.5");
    EXPECT_EQ(out.Label10, "0.5");
    EXPECT_EQ(out.Text3, "0.25");
    EXPECT_EQ(out.Text4, "0.25");
    EXPECT_EQ(out.txtRakeLengthF, std::optional<std::string>("12.345"));
    EXPECT_EQ(rs.TransGrid, r.path("T1_cabtrs.grd"));
    const Grid g = formats::readSurferGrid(rs.TransGrid);
    EXPECT_NEAR(g.xSpacing(), 0.25, 1e-9);
    EXPECT_NEAR(g.ySpacing(), 0.25, 1e-9);
    // Gridding by triangles never rises above the turned nodes and comes close to their top.
    double top = -1e300;
    for (const auto& line : turned) top = std::max(top, std::stod(fields(line)[2]));
    EXPECT_LE(g.zMax(), top + 1e-9);
    EXPECT_NEAR(g.zMax(), top, 0.05);
    EXPECT_EQ(plotted, (std::vector<std::pair<std::string, int>>{{rs.TransGrid, 1}, {rs.TransGrid, 4}}));
    if (GetParam()) EXPECT_EQ(r.app.SurferApp, rs.occ.m_Surfer);
}

TEST_P(RakeForms, RakeLinesOnAPlaneGiveItsSlope) {
    CrestRun r(GetParam());
    // A transformed grid made earlier: the plane z' = 0.2 x' + 0.1 y' + 1.
    r.grid("T1_cabtrs.grd", makeGrid(41, 41, 0, 20, 0, 20, [](double x, double y) { return 0.2 * x + 0.1 * y + 1; }));
    r.dir.write("T1_tl.txt", "4\r\n");
    RakeState rs;
    std::optional<std::string> length;
    ASSERT_TRUE(cmdInputTransGrid(r.prompt, rs, {r.folder(), "T1_cabtrs.grd", true, "_tl"}, length));
    EXPECT_EQ(rs.occ.GridBaseName, "T1");
    ASSERT_EQ(length, std::optional<std::string>("4"));

    auto rq = sliceRequest();
    rq.boxes.txtRakeLengthF = *length;
    r.digitise("digit2.dat", "5,5\r\n5,15\r\n9,8\r\n");
    ASSERT_TRUE(cmdSlice(r.app, r.prompt, rs, rq)) << r.lastMessage();
    EXPECT_NE(r.prompt.shown[0].text.find("three points: \n\r1) point on crest to take rake angle from.\n\r"
                                          "2) point along crest. \n\r3) point on rake surface. \n\rSave as digit2.dat"),
              std::string::npos);

    // The line leaves (5, 5) along +x, away from the crest x = 5 towards the third point.
    EXPECT_EQ(r.lines("T1_rkptpacd_notch-f4.bln"), (std::vector<std::string>{"2, 0", " 5             5 ",
                                                                             " 13            5 "}));
    const double step = 0.5 * std::sqrt(1.04);  // profile length between slice points
    const double angle = std::atan(-0.2) * 180 / 3.14159265358979;
    const auto fRows = r.lines("T1_rkslpacd_notch-f4_rakeresults.csv");
    ASSERT_EQ(fRows.size(), 21u);  // I = 0.2, S = 20
    for (std::size_t k = 1; k < fRows.size(); ++k) {
        const auto v = fields(fRows[k]);
        ASSERT_EQ(v.size(), 11u);
        EXPECT_NEAR(std::stod(v[0]), 0.2 * k, 1e-12);
        const long m = std::max(3L, static_cast<long>(std::floor(0.2 * k / step + 1e-9)) + 2);
        EXPECT_EQ(std::stol(v[2]), m) << k;
        EXPECT_NEAR(std::stod(v[1]), (m - 1) * step, 1e-9);
        EXPECT_NEAR(std::stod(v[3]), -0.2, 1e-9);
        EXPECT_NEAR(std::stod(v[4]), angle, 1e-7);
    }
    const auto mRows = r.lines("T1_rkslpacd_notch-m0.25_rakeresults.csv");
    ASSERT_EQ(mRows.size(), 21u);  // I = 0.25, S = 20, a profile of 10
    EXPECT_NEAR(std::stod(fields(mRows.back())[3]), -0.2, 1e-9);
    EXPECT_TRUE(r.exists("T1_rkptpacd_notch-m0.25.dat"));
    EXPECT_EQ(r.calls("GridSlice").size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(CallForms, RakeForms, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Version6" : "Version8"; });

TEST(RakeSteps, SpacingRulesAndRefusals) {
    EXPECT_DOUBLE_EQ(defaultTransSpacing(0.02, 0.02), 0.01);
    EXPECT_DOUBLE_EQ(defaultTransSpacing(3.4, 3.4), 1.5);
    EXPECT_DOUBLE_EQ(defaultTransSpacing(0.0004, 0.0004), 0);
    EXPECT_DOUBLE_EQ(defaultTransSpacing(2.5, 0.5), 1.25);  // dx below 1 decides for y too

    CrestRun r(false);
    r.grid("T1.grd", makeGrid(41, 41, 0, 20, 0, 20, cusp));
    RakeState rs;
    CuspAreaResult out;
    EXPECT_FALSE(cmdDigCuspArea(r.app, r.prompt, rs, CuspAreaRequest{}, nullptr, out));
    EXPECT_EQ(r.prompt.shown.back().title, "Occlusal vector");
    r.digitise("digit.dat", "10,10\r\n10,2\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, occRequest(r), rs.occ));
    CuspAreaRequest typed;
    typed.Check1 = false;
    typed.Text3 = "abc";
    const std::size_t before = r.prompt.shown.size();
    EXPECT_FALSE(cmdDigCuspArea(r.app, r.prompt, rs, typed, nullptr, out));
    EXPECT_EQ(r.prompt.shown.size(), before + 1);  // refused before the digitise prompt
    EXPECT_THAT(r.lastMessage(), HasSubstr("\"abc\""));

    // Typed spacings are used as typed, the counts rounded from the extents.
    typed.Text3 = "0.4";
    typed.Text4 = "0.3";
    typed.chkInputLengthFile = false;
    r.digitise("digit1.dat", "5,5\r\n");
    EXPECT_FALSE(cmdDigCuspArea(r.app, r.prompt, rs, typed, nullptr, out));
    EXPECT_THAT(r.lastMessage(), HasSubstr(" has 1 point; outline the area"));
    r.digitise("digit1.dat", "5,5\r\n15,5\r\n15,15\r\n5,15\r\n");
    ASSERT_TRUE(cmdDigCuspArea(r.app, r.prompt, rs, typed, nullptr, out)) << r.lastMessage();
    const Grid g = formats::readSurferGrid(rs.TransGrid);
    EXPECT_NEAR(g.xSpacing(), 0.4, 1e-9);
    EXPECT_NEAR(g.ySpacing(), 0.3, 1e-9);
    EXPECT_FALSE(out.txtRakeLengthF);

    // Rake refusals, each before anything is written; no crest or a bad box, before the
    // digitise question and the map window.
    surfer::shutdownAll();
    auto rq = sliceRequest();
    rq.Combo1Text.clear();
    const std::size_t asked = r.prompt.shown.size();
    EXPECT_FALSE(cmdSlice(r.app, r.prompt, rs, rq));
    EXPECT_EQ(r.prompt.shown.back().text, "Choose crest name");
    rq = sliceRequest();
    rq.CrestCode.clear();  // a name shown but never chosen
    EXPECT_FALSE(cmdSlice(r.app, r.prompt, rs, rq));
    EXPECT_EQ(r.prompt.shown.back().text, "Choose crest name");
    EXPECT_EQ(r.prompt.shown.size(), asked + 2);
    rq = sliceRequest();
    rq.boxes.txtRakeLengthM = "0";
    EXPECT_FALSE(cmdSlice(r.app, r.prompt, rs, rq));
    EXPECT_THAT(r.lastMessage(), HasSubstr("Multiple interval"));
    EXPECT_TRUE(surfer::instances().empty());
    r.digitise("digit2.dat", "5,5\r\n5,15\r\n");
    EXPECT_FALSE(cmdSlice(r.app, r.prompt, rs, sliceRequest()));
    EXPECT_EQ(r.prompt.shown.back().title, "Digitise map");
    EXPECT_EQ(r.prompt.shown.back().text, "Digitise three points on map");
    r.digitise("digit2.dat", "5,5\r\n5,5\r\n9,8\r\n");
    EXPECT_FALSE(cmdSlice(r.app, r.prompt, rs, sliceRequest()));
    EXPECT_THAT(r.lastMessage(), HasSubstr("same place"));
    EXPECT_FALSE(r.exists("T1_rkptpacd_notch-f1.dat"));

    std::optional<std::string> length;
    EXPECT_FALSE(cmdInputTransGrid(r.prompt, rs, {r.folder(), "T1.grd", true, "_tl"}, length));
    EXPECT_EQ(r.prompt.shown.back().title, "Invalid file");
    EXPECT_EQ(r.lastMessage(), "Selected file is not a translated grid. File should end with _cabtrs.grd");
    EXPECT_FALSE(cmdInputTransGrid(r.prompt, rs, {r.folder(), "T1_cabtrs.grd", true, "_tl"}, length));
    EXPECT_THAT(r.lastMessage(), HasSubstr("T1_tl.txt"));  // the length file is missing
}

TEST(RakeSteps, CrestPointWithoutHeightLeavesTheEarlierRunsFiles) {
    CrestRun r(false);
    RakeState rs;
    ASSERT_NO_FATAL_FAILURE(inputTransGridBlankAt55(r, rs));
    r.digitise("digit2.dat", "8,5\r\n8,15\r\n12,8\r\n");
    ASSERT_TRUE(cmdSlice(r.app, r.prompt, rs, sliceRequest())) << r.lastMessage();
    const auto before = firstPassFiles(r);
    r.digitise("digit2.dat", "5,5\r\n5,15\r\n9,8\r\n");  // the crest point on the blank node
    EXPECT_FALSE(cmdSlice(r.app, r.prompt, rs, sliceRequest()));
    EXPECT_EQ(firstPassFiles(r), before);
}

TEST(RakeSteps, SecondPassRefusedLeavesTheFirstPassesTable) {
    CrestRun r(false);
    RakeState rs;
    ASSERT_NO_FATAL_FAILURE(inputTransGridBlankAt55(r, rs));
    auto rq = sliceRequest();
    rq.boxes.txtRakeLengthM = "5";  // the second pass's interval
    std::vector<std::string> names;
    for (const char* tag : {"pacd_notch-f1", "pacd_notch-m5"}) {
        const RakePassFiles f = rakePassFiles("T1", tag);
        names.insert(names.end(), {f.copy, f.line, f.slice, f.results});
    }
    r.digitise("digit2.dat", "8,5\r\n8,15\r\n12,8\r\n");  // 12 along the plane to the grid's edge
    ASSERT_TRUE(cmdSlice(r.app, r.prompt, rs, rq)) << r.lastMessage();
    const auto before = r.dir.contents(names);
    // The profile stops short of the blank node at (5, 5): long enough for the first
    // pass's interval of 0.05, shorter than the second pass's 5.
    r.digitise("digit2.dat", "3,5\r\n3,15\r\n4,8\r\n");
    EXPECT_FALSE(cmdSlice(r.app, r.prompt, rs, rq));
    EXPECT_THAT(r.lastMessage(), HasSubstr("less than one rake interval (5)"));
    EXPECT_EQ(r.dir.contents(names), before);
}

TEST(RakeSteps, CrestPointWithoutHeightIsNamedRatherThanTheThirdPoint) {
    CrestRun r(false);
    RakeState rs;
    ASSERT_NO_FATAL_FAILURE(inputTransGridBlankAt55(r, rs));
    r.digitise("digit2.dat", "5,5\r\n5,15\r\n9,8\r\n");
    EXPECT_FALSE(cmdSlice(r.app, r.prompt, rs, sliceRequest()));
    EXPECT_THAT(r.lastMessage(), HasSubstr("The crest point (the first point in " + r.path("digit2.dat") +
                                           ", x 5, y 5) has no height"));
    EXPECT_THAT(r.lastMessage(), ::testing::Not(HasSubstr("third point")));
}

TEST(RakeSteps, ProfileTooShortSaysWhatLengthensIt) {
    CrestRun r(false);
    // A transformed grid whose cusp area ends at x' = 10.
    Grid g = makeGrid(41, 41, 0, 20, 0, 20, [](double x, double y) { return 0.2 * x + 0.1 * y + 1; });
    for (int j = 0; j < 41; ++j)
        for (int i = 21; i < 41; ++i) g.at(i, j) = kBlank;
    r.grid("T1_cabtrs.grd", g);
    RakeState rs;
    std::optional<std::string> length;
    ASSERT_TRUE(cmdInputTransGrid(r.prompt, rs, {r.folder(), "T1_cabtrs.grd", false, "_tl"}, length));
    auto rq = sliceRequest();
    rq.kind = RakeKind::Multiple;
    rq.boxes.txtRakeLengthM = "1";  // the interval

    r.digitise("digit2.dat", "9.4,5\r\n9.4,15\r\n9.45,8\r\n");  // 0.6 of the area beyond the crest point
    EXPECT_FALSE(cmdSlice(r.app, r.prompt, rs, rq));
    const std::string refused = r.lastMessage();
    EXPECT_THAT(refused, HasSubstr("less than one rake interval (1)"));
    EXPECT_THAT(refused, HasSubstr("digitise the crest point where the cusp area reaches further"));
    r.digitise("digit2.dat", "9.4,5\r\n9.4,15\r\n9.9,12\r\n");  // the third point further in: no longer
    EXPECT_FALSE(cmdSlice(r.app, r.prompt, rs, rq));
    EXPECT_EQ(r.lastMessage(), refused);
    r.digitise("digit2.dat", "5,5\r\n5,15\r\n9.45,8\r\n");  // the crest point with 5 beyond it
    EXPECT_TRUE(cmdSlice(r.app, r.prompt, rs, rq)) << r.lastMessage();

    r.digitise("digit2.dat", "12,5\r\n12,15\r\n15,8\r\n");  // wholly outside the cusp area
    EXPECT_FALSE(cmdSlice(r.app, r.prompt, rs, rq));
    EXPECT_THAT(r.lastMessage(), HasSubstr(", and none of the rake line's 18 slice points has one either:"));
}

TEST(RakeSteps, CuspAreaOffTheToothLeavesTheEarlierCuspAreasFiles) {
    CrestRun r(false);
    RakeState rs;
    ASSERT_NO_FATAL_FAILURE(vectorOnTheCusp(r, rs));
    CuspAreaRequest area;
    area.chkInputLengthFile = false;
    CuspAreaResult out;
    r.digitise("digit1.dat", "5,5\r\n15,5\r\n15,15\r\n5,15\r\n");
    ASSERT_TRUE(cmdDigCuspArea(r.app, r.prompt, rs, area, nullptr, out)) << r.lastMessage();
    const std::vector<std::string> names{"T1_cap.dat", "T1_cap.bln", "T1_cab.dat", "T1_cabtrs.dat", "T1_cabtrs.grd"};
    const auto before = r.dir.contents(names);
    r.digitise("digit1.dat", "30,30\r\n40,30\r\n40,40\r\n");
    EXPECT_FALSE(cmdDigCuspArea(r.app, r.prompt, rs, area, nullptr, out));
    EXPECT_THAT(r.lastMessage(), HasSubstr("has a height"));
    EXPECT_EQ(r.dir.contents(names), before);
}

TEST(RakeSteps, MissingLengthFileSaysWhereItWasSoughtAndThatLandFindWritesItElsewhere) {
    CrestRun r(false);
    RakeState rs;
    ASSERT_NO_FATAL_FAILURE(vectorOnTheCusp(r, rs));
    const std::size_t before = r.prompt.shown.size();
    CuspAreaResult out;
    EXPECT_FALSE(cmdDigCuspArea(r.app, r.prompt, rs, CuspAreaRequest{}, nullptr, out));
    EXPECT_EQ(r.prompt.shown.size(), before + 1);  // refused before the digitise prompt
    EXPECT_EQ(r.prompt.shown.back().title, "Filename");
    EXPECT_THAT(r.lastMessage(), HasSubstr(r.path("T1_tl.txt")));
    EXPECT_THAT(r.lastMessage(), HasSubstr("Land find writes it in its trials' folder"));

    // "Input trans grid" says the same and keeps the grid it had.
    r.grid("T2_cabtrs.grd", makeGrid(41, 41, 0, 20, 0, 20, cusp));
    std::optional<std::string> length;
    EXPECT_FALSE(cmdInputTransGrid(r.prompt, rs, {r.folder(), "T2_cabtrs.grd", true, "_tl"}, length));
    EXPECT_THAT(r.lastMessage(), HasSubstr(r.path("T2_tl.txt")));
    EXPECT_THAT(r.lastMessage(), HasSubstr("Land find writes it in its trials' folder"));
    EXPECT_EQ(rs.occ.GridBaseName, "T1");
}

TEST(RakeSteps, TransformedGridOfAnotherToothIsNeverSlicedUnderThisOnesNames) {
    CrestRun r(false);
    r.grid("T1.grd", makeGrid(41, 41, 0, 20, 0, 20, cusp));
    r.grid("T2.grd", makeGrid(41, 41, 0, 20, 0, 20, [](double x, double y) { return cusp(x, y) + 3; }));
    RakeState rs;
    r.digitise("digit.dat", "10,10\r\n10,2\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, occRequest(r), rs.occ));
    CuspAreaResult out;
    CuspAreaRequest area;
    area.chkInputLengthFile = false;
    r.digitise("digit1.dat", "5,5\r\n15,5\r\n15,15\r\n5,15\r\n");
    ASSERT_TRUE(cmdDigCuspArea(r.app, r.prompt, rs, area, nullptr, out)) << r.lastMessage();

    // "Next grid", T2 chosen and its occlusal vector found, but no cusp area made for it:
    // the rake line would be sliced on T1's transformed grid and written under T2's names.
    auto occ = occRequest(r);
    occ.Text2 = "T2.grd";
    r.digitise("digit.dat", "10,10\r\n10,2\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, occ, rs.occ));
    const std::size_t before = r.prompt.shown.size();
    EXPECT_FALSE(cmdSlice(r.app, r.prompt, rs, sliceRequest()));
    EXPECT_EQ(r.prompt.shown.size(), before + 1);  // refused before the digitise prompt
    EXPECT_THAT(r.lastMessage(), HasSubstr("T2"));
    EXPECT_FALSE(r.exists("T2_rkslpacd_notch-f1_rakeresults.csv"));
    EXPECT_FALSE(r.exists("T2_rkptpacd_notch-f1.dat"));

    // Its own transformed grid taken in: the rake lines are measured.
    r.grid("T2_cabtrs.grd", makeGrid(41, 41, 0, 20, 0, 20, [](double x, double y) { return 0.2 * x + 0.1 * y; }));
    std::optional<std::string> length;
    ASSERT_TRUE(cmdInputTransGrid(r.prompt, rs, {r.folder(), "T2_cabtrs.grd", false, "_tl"}, length));
    r.digitise("digit2.dat", "5,5\r\n5,15\r\n9,8\r\n");
    EXPECT_TRUE(cmdSlice(r.app, r.prompt, rs, sliceRequest())) << r.lastMessage();
    EXPECT_TRUE(r.exists("T2_rkslpacd_notch-f1_rakeresults.csv"));
}
