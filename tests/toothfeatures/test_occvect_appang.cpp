// The occlusal-vector step and the approach angle end to end, in both call forms, on a
// bilinear tooth surface (which the stand-in's bilinear heights reproduce exactly): the
// vector from the digitised points, the carnassial cross product with the tooth's plane,
// the refusals, and the approach angle of a straight crest, worked out by hand from the
// crest's direction and the occlusal vector.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "crestrun.h"
#include "toothfeatures/appang.h"
#include "toothfeatures/appangstep.h"
#include "toothfeatures/occvectstep.h"

#include <cmath>
#include <filesystem>

using namespace crestrun;
using namespace trelvik::toothfeatures;
using ::testing::HasSubstr;

namespace {

double tooth(double x, double y) { return 3 + 0.5 * x + 0.2 * y + 0.05 * x * y; }

PointXYZ at(double x, double y) { return {x, y, tooth(x, y)}; }

PointXYZ unit(double x, double y, double z) {
    const double n = std::sqrt(x * x + y * y + z * z);
    return {x / n, y / n, z / n};
}

void expectNear(const PointXYZ& a, const PointXYZ& b, double tol = 1e-12) {
    EXPECT_NEAR(a.x, b.x, tol);
    EXPECT_NEAR(a.y, b.y, tol);
    EXPECT_NEAR(a.z, b.z, tol);
}

OccVectRequest request(const CrestRun& r, CrestWindowKind w = CrestWindowKind::AppAng, ToothKind k = ToothKind::Tribo) {
    OccVectRequest rq;
    rq.window = w;
    rq.kind = k;
    rq.Label3 = r.folder();
    rq.Text2 = "T1.grd";
    rq.Combo1Text = "Preparacrista";
    rq.CrestCode = "prpac";
    return rq;
}

class BothForms : public ::testing::TestWithParam<bool> {};

} // namespace

TEST_P(BothForms, TriboVectorIsTheDifferenceOfTheDigitisedPoints) {
    CrestRun r(GetParam());
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    r.digitise("digit.dat", "4,10\r\n4,0\r\n7,7\r\n");
    OcclusalState st;
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, request(r), st)) << r.lastMessage();
    const PointXYZ p1 = at(4, 10), p2 = at(4, 0);
    expectNear(*st.OcclusalPoint1, p1);
    expectNear(*st.OcclusalPoint2, p2);
    expectNear(*st.OcclusalUnitVector, unit(p1.x - p2.x, p1.y - p2.y, p1.z - p2.z));
    EXPECT_FALSE(st.PlaneNormal);
    EXPECT_EQ(st.GridFullPath, r.folder() + "/T1.grd");
    EXPECT_EQ(st.GridBaseName, "T1");
    EXPECT_TRUE(r.exists("T1prpac_ovp.dat") && r.exists("T1prpac_ovpz.dat"));
    EXPECT_FALSE(r.exists("T1prpac_ovp0.dat"));
    ASSERT_EQ(r.calls("GridResiduals").size(), 1u);
    EXPECT_EQ(r.app.SurferVersion, GetParam() ? "SurferV6" : "SurferV8");
    EXPECT_EQ(st.m_Surfer->Visible, !GetParam());

    // In the other order the vector turns round; the rake window names its files without the code.
    r.digitise("digit.dat", "4,0\r\n4,10\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, request(r, CrestWindowKind::Rake), st));
    expectNear(*st.OcclusalUnitVector, unit(p2.x - p1.x, p2.y - p1.y, p2.z - p1.z));
    EXPECT_TRUE(r.exists("T1_ovpz.dat"));
}

TEST_P(BothForms, CarnassialVectorStandsOnTheToothPlaneAndTheTipLine) {
    CrestRun r(GetParam());
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    r.dir.write("T1planeform.txt", "z(x,y) = 5 + 0.25y + -0.5x\r\n");
    const PointXYZ N{0.5, -0.25, 1};
    const PointXYZ t1 = at(4, 10), t2 = at(12, 9);
    const PointXYZ T{t1.x - t2.x, t1.y - t2.y, t1.z - t2.z};
    PointXYZ V{N.y * T.z - N.z * T.y, N.z * T.x - N.x * T.z, N.x * T.y - N.y * T.x};
    if (V.z < 0) V = {-V.x, -V.y, -V.z};
    const PointXYZ expected = unit(V.x, V.y, V.z);
    for (const char* tips : {"4,10\r\n12,9\r\n", "12,9\r\n4,10\r\n"}) {
        r.digitise("digit.dat", tips);
        OcclusalState st;
        ASSERT_TRUE(cmdOccVect(r.app, r.prompt, request(r, CrestWindowKind::Capture, ToothKind::Carnassial), st))
            << r.lastMessage();
        expectNear(*st.OcclusalUnitVector, expected);
        expectNear(*st.PlaneNormal, N);
    }
    EXPECT_TRUE(r.exists("T1prpac_ctpz.dat"));
    EXPECT_NE(r.prompt.shown[0].text.find("Use 'Digitise' to define cusp tips.\n\r"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(CallForms, BothForms, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Version6" : "Version8"; });

TEST(OccVectStep, RefusalsAndFailuresLeaveNoVector) {
    CrestRun r(false);
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    OcclusalState st;
    struct Case {
        CrestWindowKind window;
        std::string Text2, code, title, text;
    };
    for (const Case& c : {Case{CrestWindowKind::AppAng, "*.grd", "prpac", "Filename", "Choose grid filename"},
                          Case{CrestWindowKind::Capture, "", "prpac", "Grid filename", "Choose grid filename"},
                          Case{CrestWindowKind::AppAng, "T1.grd", "", "Crest name", "Choose crest name"},
                          Case{CrestWindowKind::Capture, "T1.grd", "", "Crest name", "Choose crest name"}}) {
        auto rq = request(r, c.window);
        rq.Text2 = c.Text2;
        rq.CrestCode = c.code;
        const std::size_t before = r.prompt.shown.size();
        EXPECT_FALSE(cmdOccVect(r.app, r.prompt, rq, st));
        EXPECT_EQ(r.prompt.shown.size(), before + 1);  // refused before the digitise question
        EXPECT_EQ(r.prompt.shown.back().title, c.title);
        EXPECT_EQ(r.prompt.shown.back().text, c.text);
        EXPECT_FALSE(r.prompt.busyNow);
    }
    EXPECT_TRUE(surfer::instances().empty());  // refused before the map window could open

    // A carnassial tooth without its plane file: said before the digitise question.
    EXPECT_FALSE(cmdOccVect(r.app, r.prompt, request(r, CrestWindowKind::AppAng, ToothKind::Carnassial), st));
    EXPECT_EQ(r.prompt.shown.back().title, "Filename");
    EXPECT_THAT(r.lastMessage(), HasSubstr("planeform.txt"));

    // Identical points, a point beside the grid.
    struct Bad {
        ToothKind kind;
        const char* points;
        const char* says;
    };
    for (const Bad& b : {Bad{ToothKind::Tribo, "4,10\r\n4,10\r\n", "direction"},
                         Bad{ToothKind::Tribo, "4,10\r\n40,10\r\n", "40"},
                         Bad{ToothKind::Tribo, "4,10\r\n", "2"}}) {
        r.digitise("digit.dat", b.points);
        EXPECT_FALSE(cmdOccVect(r.app, r.prompt, request(r, CrestWindowKind::AppAng, b.kind), st));
        EXPECT_EQ(r.prompt.shown.back().title, "Error");
        EXPECT_THAT(r.lastMessage(), HasSubstr(b.says));
        EXPECT_FALSE(st.OcclusalUnitVector);
    }

    // A good vector survives a cancelled run on the same grid, not one on another grid.
    r.digitise("digit.dat", "4,10\r\n4,0\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, request(r), st));
    r.prompt.answer(Answer::Cancel);
    EXPECT_FALSE(cmdOccVect(r.app, r.prompt, request(r), st));
    EXPECT_TRUE(st.OcclusalUnitVector);
    r.grid("T2.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    auto other = request(r);
    other.Text2 = "T2.grd";
    r.prompt.answer(Answer::Cancel);
    EXPECT_FALSE(cmdOccVect(r.app, r.prompt, other, st));
    EXPECT_FALSE(st.OcclusalUnitVector);
    EXPECT_EQ(st.GridBaseName, "T2");
}

TEST(OccVectStep, PointsThatGiveNoVectorLeaveTheEarlierRunsFiles) {
    CrestRun r(false);
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    r.dir.write("T1planeform.txt", "z(x,y) = 5 + 0.25y + -0.5x\r\n");
    for (const ToothKind kind : {ToothKind::Tribo, ToothKind::Carnassial}) {
        const bool tribo = kind == ToothKind::Tribo;
        OcclusalState st;
        r.digitise("digit.dat", "4,10\r\n4,0\r\n");
        ASSERT_TRUE(cmdOccVect(r.app, r.prompt, request(r, CrestWindowKind::AppAng, kind), st)) << r.lastMessage();
        const std::vector<std::string> names = {tribo ? "T1prpac_ovp.dat" : "T1prpac_ctp.dat",
                                                tribo ? "T1prpac_ovpz.dat" : "T1prpac_ctpz.dat"};
        const auto before = r.dir.contents(names);
        // Identical points for the Tribo type, a plane file that cannot be read for the Carnassial.
        if (!tribo) r.dir.write("T1planeform.txt", "no formula\r\n");
        r.digitise("digit.dat", tribo ? "7,7\r\n7,7\r\n" : "7,7\r\n12,9\r\n");
        EXPECT_FALSE(cmdOccVect(r.app, r.prompt, request(r, CrestWindowKind::AppAng, kind), st));
        EXPECT_EQ(r.prompt.shown.back().title, "Error");
        EXPECT_EQ(r.dir.contents(names), before);
    }
}

TEST(OccVectStep, RefusedPointsLeaveTheWindowWithTheVectorWhoseFilesStand) {
    CrestRun r(false);
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    r.dir.write("T1planeform.txt", "z(x,y) = 5 + 0.25y + -0.5x\r\n");
    const auto rq = request(r, CrestWindowKind::AppAng, ToothKind::Carnassial);
    OcclusalState st;
    r.digitise("digit.dat", "4,10\r\n12,9\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, rq, st)) << r.lastMessage();
    const PointXYZ u = *st.OcclusalUnitVector;
    r.digitise("digit.dat", "4,10\r\n40,10\r\n");  // the second tip beside the grid
    EXPECT_FALSE(cmdOccVect(r.app, r.prompt, rq, st));
    // The tips and the plane normal stay with the vector: the carnassial capture top is made from them.
    ASSERT_TRUE(st.OcclusalUnitVector && st.OcclusalPoint2 && st.PlaneNormal);
    expectNear(*st.OcclusalUnitVector, u, 0);
    expectNear(*st.OcclusalPoint2, at(12, 9));
    r.digitise("digit1.dat", "1,2.5\r\n15,2.5\r\n");
    EXPECT_TRUE(cmdDigCrestLengthAppAng(r.app, r.prompt, st, "Preparacrista", "prpac")) << r.lastMessage();
}

TEST(OccVectStep, FrameTurnsTheVectorUpright) {
    const PointXYZ u = unit(0.3, -0.4, 0.8);
    const OcclusalFrame f(u);
    expectNear(f(u), {0, 0, 1}, 1e-15);
    const PointXYZ p{1.5, -2, 7};
    const PointXYZ q = f(p);
    EXPECT_NEAR(q.z, p.x * u.x + p.y * u.y + p.z * u.z, 1e-12);
    EXPECT_NEAR(std::hypot(q.x, q.y, q.z), std::hypot(p.x, p.y, p.z), 1e-12);
    expectNear(OcclusalFrame({0, 0, 1})(p), p);
    expectNear(OcclusalFrame({0, 0, -1})(p), {-p.x, p.y, -p.z});
}

TEST_P(BothForms, StraightCrestGivesTheAngleBetweenItAndThePlaneAcrossTheVector) {
    CrestRun r(GetParam());
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    r.digitise("digit.dat", "4,10\r\n4,0\r\n");
    OcclusalState st;
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, request(r), st));
    r.digitise("digit1.dat", "1,2.5\r\n15,2.5\r\n");
    ASSERT_TRUE(cmdDigCrestLengthAppAng(r.app, r.prompt, st, "Preparacrista", "prpac")) << r.lastMessage();

    // Along y = 2.5 the surface rises 0.5 + 0.05 * 2.5 per unit of x: direction d.
    const PointXYZ d{1, 0, 0.625};
    const PointXYZ& u = *st.OcclusalUnitVector;
    const double along = d.x * u.x + d.y * u.y + d.z * u.z;
    const double across = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z - along * along);
    const double degrees = std::atan(along / across) * 180 / 3.14159;

    EXPECT_EQ(r.lines("T1prpac_crp.bln")[0], " 2            0");
    const auto rows = r.lines("T1prpac_crsltrs_aaresults.csv");
    ASSERT_EQ(rows.size(), 16u);  // header and 15 slice points, x = 1 .. 15
    EXPECT_EQ(rows[0], kApproachAngleHeader);
    const auto first = fields(rows[1]);
    ASSERT_EQ(first.size(), 15u);
    EXPECT_NEAR(std::stod(first[13]), std::fabs(degrees), 1e-9);
    EXPECT_NEAR(std::stod(first[14]), std::fabs(degrees), 1e-9);
    for (int i = 3; i <= 12; ++i) {
        const auto f = fields(rows[static_cast<std::size_t>(i + 1)]);
        ASSERT_EQ(f.size(), 13u);
        EXPECT_NEAR(std::stod(f[3]), across, 1e-12);  // deltaXY
        EXPECT_NEAR(std::stod(f[7]), degrees, 1e-9) << i;
    }
    EXPECT_EQ(r.prompt.shown.size(), 2u);  // the two digitise prompts, nothing else
    EXPECT_FALSE(r.prompt.busyNow);
}

TEST(AppAngStep, CrestsThatLeaveTheDataOrHaveNoVectorAreRefused) {
    CrestRun r(false);
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    OcclusalState st;
    EXPECT_FALSE(cmdDigCrestLengthAppAng(r.app, r.prompt, st, "Preparacrista", "prpac"));
    EXPECT_EQ(r.prompt.shown.back().title, "Occlusal vector");
    r.digitise("digit.dat", "4,10\r\n4,0\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, request(r), st));

    r.digitise("digit1.dat", "10,2.5\r\n30,2.5\r\n");  // runs off the grid at x = 20
    EXPECT_FALSE(cmdDigCrestLengthAppAng(r.app, r.prompt, st, "Preparacrista", "prpac"));
    EXPECT_THAT(r.lastMessage(), HasSubstr("no height"));
    EXPECT_FALSE(r.exists("T1prpac_crsltrs_aaresults.csv"));

    r.digitise("digit1.dat", "10,2.5\r\n15,2.5\r\n");  // six slice points
    EXPECT_FALSE(cmdDigCrestLengthAppAng(r.app, r.prompt, st, "Preparacrista", "prpac"));
    EXPECT_THAT(r.lastMessage(), HasSubstr("at least 10"));

    r.prompt.answer(Answer::Cancel);
    EXPECT_FALSE(cmdDigCrestLengthAppAng(r.app, r.prompt, st, "Hypocristid", "hycd"));
    EXPECT_FALSE(r.exists("T1hycd_crp.dat"));

    // A level crest (the tooth flat) is written and reported.
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, [](double, double y) { return 0.01 * y * y; }));
    r.digitise("digit.dat", "4,10\r\n4,0\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, request(r), st));
    r.digitise("digit1.dat", "1,2\r\n15,2\r\n");
    EXPECT_TRUE(cmdDigCrestLengthAppAng(r.app, r.prompt, st, "Preparacrista", "prpac"));
    EXPECT_EQ(r.prompt.shown.back().title, "Approach angle");
    EXPECT_EQ(fields(r.lines("T1prpac_crsltrs_aaresults.csv")[1])[13], "0");
}

// After "Next crest" the list is empty: a crest digitised then would be measured into
// files named by no crest, each run replacing the last.
TEST(AppAngStep, NoCrestChosenIsRefusedBeforeTheQuestion) {
    CrestRun r(false);
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    OcclusalState st;
    r.digitise("digit.dat", "4,10\r\n4,0\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, request(r), st));
    r.dir.write("digit1.dat", "1,2.5\r\n15,2.5\r\n");
    r.prompt.shown.clear();
    EXPECT_FALSE(cmdDigCrestLengthAppAng(r.app, r.prompt, st, "", ""));
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_EQ(r.prompt.shown[0].title, "Crest name");
    EXPECT_EQ(r.prompt.shown[0].text, "Choose crest name");
    for (const char* name : {"T1_crp.dat", "T1_crp.bln", "T1_crsl.dat", "T1_crsltrs_aaresults.csv"})
        EXPECT_FALSE(r.exists(name)) << name;
}

// The files of a crest that a failed crest after it must leave as they are.
static const std::vector<std::string> kPreparacristaFiles{"T1prpac_crp.dat", "T1prpac_crp.bln", "T1prpac_crsl.dat"};

// A vector and a good preparacrista on the tooth; before gets the crest's files.
static void goodPreparacrista(CrestRun& r, OcclusalState& st, std::map<std::string, std::string>& before) {
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    r.digitise("digit.dat", "4,10\r\n4,0\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, request(r), st));
    r.digitise("digit1.dat", "1,2.5\r\n15,2.5\r\n");
    ASSERT_TRUE(cmdDigCrestLengthAppAng(r.app, r.prompt, st, "Preparacrista", "prpac")) << r.lastMessage();
    before = r.dir.contents(kPreparacristaFiles);
}

TEST(AppAngStep, CrestOffTheDataLeavesTheEarlierCrestsFiles) {
    CrestRun r(false);
    OcclusalState st;
    std::map<std::string, std::string> before;
    ASSERT_NO_FATAL_FAILURE(goodPreparacrista(r, st, before));
    r.digitise("digit1.dat", "10,2.5\r\n30,2.5\r\n");  // runs off the grid at x = 20
    EXPECT_FALSE(cmdDigCrestLengthAppAng(r.app, r.prompt, st, "Preparacrista", "prpac"));
    EXPECT_THAT(r.lastMessage(), HasSubstr("no height"));
    EXPECT_EQ(r.dir.contents(kPreparacristaFiles), before);
}

TEST(AppAngStep, TableThatCannotBeReplacedLeavesTheEarlierCrestsFiles) {
    CrestRun r(false);
    OcclusalState st;
    std::map<std::string, std::string> before;
    ASSERT_NO_FATAL_FAILURE(goodPreparacrista(r, st, before));
    std::filesystem::remove(r.dir.path("T1prpac_crsltrs_aaresults.csv"));
    std::filesystem::create_directories(r.dir.path("T1prpac_crsltrs_aaresults.csv") + "/inside");
    r.digitise("digit1.dat", "1,5\r\n17,5\r\n");
    EXPECT_FALSE(cmdDigCrestLengthAppAng(r.app, r.prompt, st, "Preparacrista", "prpac"));
    EXPECT_THAT(r.lastMessage(), HasSubstr("T1prpac_crsltrs_aaresults.csv"));
    EXPECT_EQ(r.dir.contents(kPreparacristaFiles), before);
}
