// The capture-area window's steps end to end, in both call forms: the top of the capture
// area, the plane the stand-in fits through it, the crest projected onto that plane along
// the occlusal vector and the band's area, checked against the trapezoid worked out in
// the grid's own coordinates for a straight crest on a bilinear tooth surface.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "crestrun.h"
#include "planes/planeformula.h"
#include "toothfeatures/capturestep.h"

#include <cmath>
#include <filesystem>

using namespace crestrun;
using namespace trelvik::toothfeatures;
using ::testing::HasSubstr;

namespace {

double tooth(double x, double y) { return 3 + 0.5 * x + 0.2 * y + 0.05 * x * y; }
PointXYZ at(double x, double y) { return {x, y, tooth(x, y)}; }
PointXYZ sub(const PointXYZ& a, const PointXYZ& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
double dot(const PointXYZ& a, const PointXYZ& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
PointXYZ cross(const PointXYZ& a, const PointXYZ& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

OccVectRequest occRequest(const CrestRun& r, ToothKind kind = ToothKind::Tribo) {
    OccVectRequest rq;
    rq.window = CrestWindowKind::Capture;
    rq.kind = kind;
    rq.Label3 = r.folder();
    rq.Text2 = "T1.grd";
    rq.Combo1Text = "Paracristid";
    rq.CrestCode = "pacd";
    return rq;
}

CaptureRequest request(ToothKind kind = ToothKind::Tribo) { return {kind, "Paracristid", "pacd"}; }

// Area of the band between the straight crest from a to b and the plane through the
// three top points (the third moved 0.0001 along u), taken along u: a trapezoid, for a
// crest that stays on one side of the plane.
double bandArea(const PointXYZ& a, const PointXYZ& b, const std::array<PointXYZ, 3>& top, const PointXYZ& u) {
    const PointXYZ t2{top[2].x + 1e-4 * u.x, top[2].y + 1e-4 * u.y, top[2].z + 1e-4 * u.z};
    const PointXYZ n = cross(sub(top[1], top[0]), sub(t2, top[0]));
    const double ta = dot(sub(a, top[0]), n) / dot(u, n), tb = dot(sub(b, top[0]), n) / dot(u, n);
    const PointXYZ d = sub(b, a);
    const double width = std::sqrt(dot(d, d) - dot(d, u) * dot(d, u));
    return width * (std::fabs(ta) + std::fabs(tb)) / 2;
}

class CaptureForms : public ::testing::TestWithParam<bool> {};

} // namespace

TEST_P(CaptureForms, BandUnderAStraightCrestIsItsTrapezoid) {
    const bool v6 = GetParam();
    CrestRun r(v6);
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    OcclusalState st;
    r.digitise("digit.dat", "4,10\r\n4,0\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, occRequest(r), st));
    std::optional<CaptureTop> top;
    r.digitise("digit1.dat", "0,18\r\n20,20\r\n10,19\r\n");
    ASSERT_TRUE(cmdDigCBound(r.app, r.prompt, request(), st, top)) << r.lastMessage();
    EXPECT_NEAR((*top)[2].z, tooth(10, 19), 1e-12);
    EXPECT_TRUE(r.exists("T1pacd_CPlpz.dat"));
    EXPECT_FALSE(r.exists("T1pacd_CPlp0.dat"));

    if (v6) {  // the user's map is open; closing the report must leave it
        r.app.SurferApp = st.m_Surfer;
        st.m_Surfer->FileNew();
    }
    r.digitise("digit2.dat", "1,2.5\r\n15,2.5\r\n");
    ASSERT_TRUE(cmdDigCrestLengthCapture(r.app, r.prompt, request(), st, top)) << r.lastMessage();

    const auto results = r.lines("T1pacd_capresults.csv");
    ASSERT_EQ(results.size(), 15u);  // 14 segments and the total
    double sum = 0;
    for (std::size_t i = 0; i + 1 < results.size(); ++i) {
        const auto f = fields(results[i]);
        ASSERT_EQ(f.size(), 2u);
        sum += std::stod(f[0]) + std::stod(f[1]);
    }
    const double total = std::stod(results.back());
    EXPECT_NEAR(total, sum, 1e-9);
    const std::array<PointXYZ, 3> corners{at(0, 18), at(20, 20), at(10, 19)};
    EXPECT_NEAR(total, bandArea(at(1, 2.5), at(15, 2.5), corners, *st.OcclusalUnitVector), 1e-6);

    EXPECT_EQ(r.lines("T1pacd_crsltrz.dat").size(), 15u);
    EXPECT_EQ(r.lines("T1pacd_CPlpt.dat").size(), 3u);
    EXPECT_EQ(r.lines("T1pacd_crsltrppZ.dat").size(), 15u);
    EXPECT_TRUE(r.exists("T1pacd_crsltrpp0.dat"));
    EXPECT_EQ(fields(r.lines("T1pacd_crsltrpp0.dat")[0]).size(), 4u);  // x', y', 0 and the residual
    const auto plane = planes::ReadPlaneFormulaFile(r.path("T1pacdplaneform.txt"));
    EXPECT_FALSE(r.exists("T1planeform.txt"));  // the tooth's own plane file is never touched
    EXPECT_EQ(r.exists("T1pacd_report.txt"), !v6);
    EXPECT_EQ(r.calls("GridData").size(), 1u);
    // The fitted plane holds the turned top points.
    const OcclusalFrame frame(*st.OcclusalUnitVector);
    for (int k = 0; k < 2; ++k) {
        const PointXYZ b = frame((*top)[static_cast<std::size_t>(k)]);
        EXPECT_NEAR(plane.height(b.x, b.y), b.z, 1e-6);
    }
    for (const auto& doc : st.m_Surfer->openDocuments()) EXPECT_EQ(doc->kind(), surfer::DocumentKind::Plot);
    EXPECT_EQ(st.m_Surfer->openDocuments().size(), v6 ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(CallForms, CaptureForms, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Version6" : "Version8"; });

TEST(CaptureStep, CarnassialTopIsLevelAcrossTheVector) {
    CrestRun r(false);
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    r.dir.write("T1planeform.txt", "z(x,y) = 5 + 0.25y + -0.5x\r\n");
    OcclusalState st;
    std::optional<CaptureTop> top;
    // Without the tips of a carnassial occlusal-vector step there is no carnassial top.
    EXPECT_FALSE(cmdDigCBound(r.app, r.prompt, request(ToothKind::Carnassial), st, top));
    EXPECT_FALSE(top);
    r.digitise("digit.dat", "4,10\r\n12,9\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, occRequest(r, ToothKind::Carnassial), st));
    const std::size_t prompts = r.prompt.shown.size();
    ASSERT_TRUE(cmdDigCBound(r.app, r.prompt, request(ToothKind::Carnassial), st, top));
    EXPECT_EQ(r.prompt.shown.size(), prompts);  // no prompt, no file
    const OcclusalFrame frame(*st.OcclusalUnitVector);
    const double z0 = frame((*top)[0]).z;
    EXPECT_NEAR(frame((*top)[1]).z, z0, 1e-9);
    EXPECT_NEAR(frame((*top)[2]).z, z0, 1e-9);
    EXPECT_NEAR((*top)[2].x, 4 + 0.5, 1e-12);
}

TEST(CaptureStep, OrderNamesAndBlankSlicePointsAreHandled) {
    CrestRun r(false);
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    OcclusalState st;
    std::optional<CaptureTop> top;
    auto noName = request();
    noName.CrestCode.clear();
    EXPECT_FALSE(cmdDigCBound(r.app, r.prompt, noName, st, top));
    EXPECT_EQ(r.prompt.shown.back().title, "Crest name");  // the list is the crest list
    EXPECT_EQ(r.prompt.shown.back().text, "Choose crest name");
    EXPECT_FALSE(cmdDigCrestLengthCapture(r.app, r.prompt, noName, st, top));
    EXPECT_EQ(r.prompt.shown.back().title, "Crest name");
    EXPECT_FALSE(cmdDigCrestLengthCapture(r.app, r.prompt, request(), st, top));
    EXPECT_EQ(r.prompt.shown.back().title, "Occlusal vector");

    r.digitise("digit.dat", "4,10\r\n4,0\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, occRequest(r), st));
    EXPECT_FALSE(cmdDigCrestLengthCapture(r.app, r.prompt, request(), st, top));
    EXPECT_EQ(r.prompt.shown.back().title, "Capture area boundary");
    r.digitise("digit1.dat", "2,16\r\n18,16\r\n");  // two points only
    EXPECT_FALSE(cmdDigCBound(r.app, r.prompt, request(), st, top));
    EXPECT_EQ(r.prompt.shown.back().title, "Error");
    r.digitise("digit1.dat", "0,18\r\n20,20\r\n10,19\r\n");
    ASSERT_TRUE(cmdDigCBound(r.app, r.prompt, request(), st, top));

    // The crest runs off the grid at x = 20: its last point has no height and is left out.
    r.digitise("digit2.dat", "1,2.5\r\n25,2.5\r\n");
    ASSERT_TRUE(cmdDigCrestLengthCapture(r.app, r.prompt, request(), st, top)) << r.lastMessage();
    const auto results = r.lines("T1pacd_capresults.csv");
    EXPECT_EQ(results.size(), 20u);  // x = 1 .. 20: 19 segments and the total
    const std::array<PointXYZ, 3> corners{at(0, 18), at(20, 20), at(10, 19)};
    EXPECT_NEAR(std::stod(results.back()), bandArea(at(1, 2.5), at(20, 2.5), corners, *st.OcclusalUnitVector), 1e-6);
    EXPECT_EQ(r.lines("T1pacd_crsltrz.dat").size(), 20u);

    // Wholly off the grid: refused, the earlier results stay.
    r.digitise("digit2.dat", "30,2.5\r\n40,2.5\r\n");
    EXPECT_FALSE(cmdDigCrestLengthCapture(r.app, r.prompt, request(), st, top));
    EXPECT_THAT(r.lastMessage(), HasSubstr("has a height"));
    EXPECT_EQ(r.lines("T1pacd_capresults.csv"), results);
}

namespace {
// A crest measured against a delimited top, the good run a refused one must leave alone.
void measureAGoodCrest(CrestRun& r, OcclusalState& st, std::optional<CaptureTop>& top) {
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    r.digitise("digit.dat", "4,10\r\n4,0\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, occRequest(r), st));
    r.digitise("digit1.dat", "0,18\r\n20,20\r\n10,19\r\n");
    ASSERT_TRUE(cmdDigCBound(r.app, r.prompt, request(), st, top));
    r.digitise("digit2.dat", "1,2.5\r\n15,2.5\r\n");
    ASSERT_TRUE(cmdDigCrestLengthCapture(r.app, r.prompt, request(), st, top)) << r.lastMessage();
}

// The tests of a refusal after a good crest start from it (a failing one ends them there).
class CaptureStepAfterAGoodCrest : public ::testing::Test {
protected:
    void SetUp() override { measureAGoodCrest(r, st, top); }
    CrestRun r{false};
    OcclusalState st;
    std::optional<CaptureTop> top;
};
} // namespace

TEST_F(CaptureStepAfterAGoodCrest, CrestOffTheCrownLeavesTheEarlierCrestsFiles) {
    const std::vector<std::string> names{"T1pacd_crp.dat", "T1pacd_crp.bln", "T1pacd_crsl.dat"};
    const auto before = r.dir.contents(names);
    r.digitise("digit2.dat", "30,2.5\r\n40,2.5\r\n");
    EXPECT_FALSE(cmdDigCrestLengthCapture(r.app, r.prompt, request(), st, top));
    EXPECT_EQ(r.dir.contents(names), before);
}

TEST_F(CaptureStepAfterAGoodCrest, TopGivingNoPlaneLeavesTheEarlierCrestsFiles) {
    const std::vector<std::string> names{"T1pacd_crp.dat",       "T1pacd_crsl.dat",        "T1pacd_crsltrz.dat",
                           "T1pacd_CPlpt.dat",     "T1pacdplaneform.txt",    "T1pacd_crsltrppZ.dat",
                           "T1pacd_crsltrpp0.dat", "T1pacd_capresults.csv"};
    const auto before = r.dir.contents(names);
    r.digitise("digit1.dat", "0,18\r\n10,18\r\n20,18\r\n");  // in one line on the tooth's surface
    ASSERT_TRUE(cmdDigCBound(r.app, r.prompt, request(), st, top));
    r.digitise("digit2.dat", "1,4\r\n15,4\r\n");
    EXPECT_FALSE(cmdDigCrestLengthCapture(r.app, r.prompt, request(), st, top));
    EXPECT_THAT(r.lastMessage(), HasSubstr("in one line"));
    EXPECT_EQ(r.dir.contents(names), before);
}

TEST_F(CaptureStepAfterAGoodCrest, ProjectionThatCannotBeReplacedLeavesTheEarlierCrestsFiles) {
    const std::vector<std::string> names{"T1pacd_crp.dat", "T1pacd_crsl.dat", "T1pacd_crsltrz.dat",
                                         "T1pacd_capresults.csv"};
    const auto before = r.dir.contents(names);
    std::filesystem::remove(r.path("T1pacd_crsltrppZ.dat"));
    std::filesystem::create_directories(r.path("T1pacd_crsltrppZ.dat") + "/inside");
    r.digitise("digit2.dat", "1,4\r\n15,4\r\n");
    EXPECT_FALSE(cmdDigCrestLengthCapture(r.app, r.prompt, request(), st, top));
    EXPECT_THAT(r.lastMessage(), HasSubstr("T1pacd_crsltrppZ.dat"));
    EXPECT_EQ(r.dir.contents(names), before);
}

TEST_F(CaptureStepAfterAGoodCrest, ReportThatCannotBeSavedLeavesEveryFileOfTheFolder) {
    // Every file but the crest the user digitises for this run.
    auto folder = [this] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(r.folder()))
            if (e.path().filename() != "digit2.dat") names.push_back(e.path().filename().string());
        return r.dir.contents(names);
    };
    // A top delimited anew: the refused step's turned top points differ from the earlier ones.
    r.digitise("digit1.dat", "0,17\r\n20,19\r\n10,19\r\n");
    ASSERT_TRUE(cmdDigCBound(r.app, r.prompt, request(), st, top));
    const auto before = folder();
    ASSERT_EQ(before.count("T1pacd_CPlpt.grd"), 1u);
    // The good crest's report names the top points' file, not the name that stood for it.
    EXPECT_THAT(before.at("Report.txt"), HasSubstr("Name:\t" + r.path("T1pacd_CPlpt.dat") + "\r\n"));
    r.app.chkSurferPID = true;
    r.app.txtSurferPID = "999999";  // no program runs with this identifier
    r.digitise("digit2.dat", "1,4\r\n15,4\r\n");
    EXPECT_FALSE(cmdDigCrestLengthCapture(r.app, r.prompt, request(), st, top));
    EXPECT_THAT(r.lastMessage(), HasSubstr("999999"));
    const auto after = folder();
    std::vector<std::string> changed;
    for (const auto& [name, bytes] : after)
        if (!before.count(name) || before.at(name) != bytes) changed.push_back(name);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_THAT(changed, ::testing::IsEmpty());
}

TEST(CaptureStep, TopOfAnotherGridIsNeverUsed) {
    CrestRun r(false);
    r.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    r.grid("T2.grd", makeGrid(21, 21, 0, 20, 0, 20, [](double x, double y) { return tooth(x, y) + 4; }));
    OcclusalState st;
    std::optional<CaptureTop> top;
    r.digitise("digit.dat", "4,10\r\n4,0\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, occRequest(r), st));
    r.digitise("digit1.dat", "0,18\r\n20,20\r\n10,19\r\n");
    ASSERT_TRUE(cmdDigCBound(r.app, r.prompt, request(), st, top));
    EXPECT_EQ(top->grid, st.GridFullPath);

    // "Next grid": T2 and its occlusal vector, but its top not yet delimited. T1's top
    // stands 4 below T2's crest; the band would be measured against the wrong tooth.
    auto occ = occRequest(r);
    occ.Text2 = "T2.grd";
    r.digitise("digit.dat", "4,10\r\n4,0\r\n");
    ASSERT_TRUE(cmdOccVect(r.app, r.prompt, occ, st));
    const std::size_t before = r.prompt.shown.size();
    EXPECT_FALSE(cmdDigCrestLengthCapture(r.app, r.prompt, request(), st, top));
    EXPECT_EQ(r.prompt.shown.size(), before + 1);  // refused before the digitise prompt
    EXPECT_EQ(r.prompt.shown.back().title, "Capture area boundary");
    EXPECT_THAT(r.lastMessage(), HasSubstr("T1.grd"));
    EXPECT_FALSE(r.exists("T2pacd_capresults.csv"));

    // Several crests of one grid share its top.
    r.digitise("digit1.dat", "0,18\r\n20,20\r\n10,19\r\n");
    ASSERT_TRUE(cmdDigCBound(r.app, r.prompt, request(), st, top));
    for (const char* crest : {"1,2.5\r\n15,2.5\r\n", "1,4\r\n15,4\r\n"}) {
        r.digitise("digit2.dat", crest);
        EXPECT_TRUE(cmdDigCrestLengthCapture(r.app, r.prompt, request(), st, top)) << r.lastMessage();
    }
    EXPECT_TRUE(r.exists("T2pacd_capresults.csv"));
}
