// Crest slicing of the "Curvature" window: a crest sliced across a synthetic ridge gives
// the crest-length table of a hand computation, in both call forms; the threshold range
// of the examples; the alternate crest lengths; the refusals of bad values.
#include "curvrun.h"
#include "core/textform.h"
#include "formats/blnfile.h"
#include "toothfeatures/curvarea.h"
#include "toothfeatures/curvgrids.h"
#include "toothfeatures/curvslice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using namespace curvtest;
using ::testing::HasSubstr;

namespace {

// A ridge along y: z = 1 - x^2, nodes every 0.2 in x and 0.25 in y. Across it (0 degrees)
// the curvature is -2 / (1 + 4 x^2)^1.5: -2 on the crest line, -0.2978 at x = 0.8.
Grid ridge() { return makeGrid(11, 5, -1, 1, 0, 1, [](double x, double) { return 1 - x * x; }); }

// The ridge as topographic grid and its curvature across the ridge as curvature grid.
void prepareRidge(CurvRun& r) {
    r.inputTopo("ridge.grd", ridge());
    r.digitise("0,0.5\r\n1,0.5\r\n");
    ASSERT_EQ(CurveOVAngle(r.ctx, r.c), StepOutcome::Done);
    ASSERT_EQ(r.state.CurvatureGrid, r.path("ridgecurvOV0.00.grd"));
}

// The crest: across the ridge at y = 0.4, its end points between the edge column (blank
// in the curvature grid) and the next one.
constexpr const char* kCrest = "-0.9,0.4\r\n0.9,0.4\r\n";

std::vector<std::vector<double>> numbersOf(const std::string& text) {
    std::vector<std::vector<double>> rows;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) rows.push_back(text::numbers(line));
    return rows;
}

} // namespace

TEST(CurvatureSlice, ThresholdRangeOfTheExamples) {
    const ThresholdPlan p = ThresholdRange(-0.25, 0.5, 0.25);
    EXPECT_DOUBLE_EQ(p.top, 0.501);
    EXPECT_DOUBLE_EQ(p.bottom, -0.25);
    EXPECT_EQ(p.count, 5);  // 4.004 rounds to 4; -0.249 still lies above -0.25
    EXPECT_EQ(text::CStr(p.lowest), "-0.499");
    EXPECT_DOUBLE_EQ(ThresholdRange(-1, -0.5, 0.1).top, -0.499);
    EXPECT_EQ(ThresholdRange(-1, -0.0005, 0.1).top, 0);
    EXPECT_EQ(ThresholdRange(-1, -0.001, 0.1).top, 0);
    // A range wider than the step asks for, from the estimate upwards.
    const ThresholdPlan q = ThresholdRange(-2, -0.2977, 0.05);
    EXPECT_EQ(q.count, 36);
    EXPECT_EQ(text::CStr(q.lowest), "-2.047");
    EXPECT_THROW(ThresholdRange(0, 1, 0), Error);
}

TEST(CurvatureSlice, HugeCurvaturesGiveTheirCountAtOnce) {
    // At 2e18 a step of 1e-9 no longer moves the top (one unit in the last place is 256):
    // the count comes in closed form, for the slice step to refuse as too many.
    const double v = 2.133754572882417e18;
    const ThresholdPlan p = ThresholdRange(v, v, 1e-9);
    EXPECT_GT(p.count, 100000);
    EXPECT_LE(p.lowest, v);
    EXPECT_THROW(ThresholdRange(v, v, 1e-14), Error);
}

class CurvatureRidge : public ::testing::TestWithParam<bool> {};

TEST_P(CurvatureRidge, CrestLengthTableMatchesHandComputation) {
    CurvRun r(GetParam());
    prepareRidge(r);
    r.digitise(kCrest);
    ASSERT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Done) << (r.messages().empty() ? "" : r.messages().back());
    for (const char* f : {"ridge1.0.dat", "ridge1.0.bln", "ridge1.0ts.dat", "ridge1.0cs.dat", "ridge1.0_curvslresults.csv"})
        EXPECT_TRUE(r.exists(f)) << f;
    EXPECT_EQ(r.dir.read("ridge1.0.dat"), kCrest);
    const auto line = formats::readBlnFile(r.path("ridge1.0.bln"));
    ASSERT_EQ(line.size(), 1u);
    EXPECT_EQ(line[0].vertices, (formats::PointXYList{{-0.9, 0.4}, {0.9, 0.4}}));
    EXPECT_EQ(r.dir.read("ridge1.0.bln").substr(0, 16), " 2            0\r");

    // Eleven slice points; the two end points lie next to the blank edge.
    EXPECT_EQ(r.state.SliceCount, 11);
    EXPECT_NEAR(r.state.CurvMin, -2, 1e-9);
    EXPECT_NEAR(r.state.CurvMax, -0.2977522134849325, 1e-9);
    EXPECT_EQ(r.c.Text8, "-0.297");
    EXPECT_EQ(r.c.Text10, "36");
    EXPECT_EQ(r.c.Label9, "-2.047");
    EXPECT_THAT(r.c.Label6, HasSubstr("-2"));
    EXPECT_THAT(r.c.Label8, HasSubstr("-0.29775"));
    EXPECT_EQ(r.c.txtCrestLength, "0.5");  // switched from the second alternate value, no second slice
    EXPECT_EQ(r.prompt.shown.size(), 2u);

    // Segment lengths across the ridge (0.2 apart, heights 1 - x^2), by hand:
    // 0.8-0.6: 0.3440930, 0.6-0.4: 0.2828427, 0.4-0.2: 0.2332381, 0.2-0: 0.2039608.
    // A segment counts once both its ends reach the threshold; curvature -0.2978 (x = 0.8),
    // -0.5247 (0.6), -0.9523 (0.4), -1.6008 (0.2), -2 (0).
    const auto rows = numbersOf(r.dir.read("ridge1.0_curvslresults.csv"));
    ASSERT_EQ(rows.size(), 36u + 4u);
    EXPECT_EQ(r.dir.read("ridge1.0_curvslresults.csv")
                  .rfind("\"Interval\",\"Curvature\",\"Length of surface with curvature above threshold\"\r\n\"1\",", 0),
              0u);
    for (int k = 1; k <= 36; ++k) {
        const double expected = k <= 4 ? 0 : k <= 13 ? 0.6881860 : k <= 26 ? 1.2538715 : k <= 34 ? 1.7203477 : 2.1282692;
        ASSERT_EQ(rows[k].size(), 3u);
        EXPECT_EQ(rows[k][0], k);
        EXPECT_NEAR(rows[k][1], -0.297 - 0.05 * k, 1e-12);
        EXPECT_NEAR(rows[k][2], expected, 1e-6) << k;
    }
    EXPECT_TRUE(rows[37].empty());
    const std::vector<double> summary = rows[39];
    ASSERT_EQ(summary.size(), 6u);
    EXPECT_NEAR(summary[0], -2, 1e-9);
    EXPECT_NEAR(summary[1], -0.2977522, 1e-6);
    EXPECT_NEAR(summary[2], -0.9723543, 1e-6);  // mean of the nine points off the blank edge
    EXPECT_NEAR(summary[3], 0.6282610, 1e-6);
    EXPECT_NEAR(summary[4], 2.1282692, 1e-6);
    EXPECT_NEAR(summary[5], 1.8, 1e-12);
    EXPECT_EQ(r.calls("GridSlice").size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Both, CurvatureRidge, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "V6" : "V8"; });

TEST(CurvatureSlice, AlternateLengthSlicesTwiceAndManualCalculateNamesTheSliceItComputes) {
    CurvRun r;
    prepareRidge(r);
    r.c.txtCrestLength = "0.5";
    r.digitise(kCrest);
    r.digitise(kCrest);
    ASSERT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Done);
    EXPECT_EQ(r.prompt.shown.size(), 3u);
    EXPECT_TRUE(r.exists("ridge0.5_curvslresults.csv"));
    EXPECT_TRUE(r.exists("ridge1.0_curvslresults.csv"));
    EXPECT_EQ(r.c.txtCrestLength, "0.5");

    // The box now reads 0.5, but the slice in hand is the one under 1.0; a start of 0 counts.
    r.c.Text8 = "0";
    r.c.Text10 = "2";
    r.c.Text6 = "1.1";
    ASSERT_EQ(Calculate(r.ctx, r.c), StepOutcome::Done);
    const auto rows = numbersOf(r.dir.read("ridge1.0_curvslresults.csv"));
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[1][1], -1.1);
    EXPECT_NEAR(rows[1][2], 1.2538715, 1e-6);
    EXPECT_EQ(rows[2][1], -2.2);
    EXPECT_NEAR(rows[2][2], 2.1282692, 1e-6);
    EXPECT_EQ(numbersOf(r.dir.read("ridge0.5_curvslresults.csv")).size(), 40u);

    // Equal alternate values slice once.
    CurvRun same;
    prepareRidge(same);
    same.c.txtAltS1 = same.c.txtAltS2 = same.c.txtCrestLength = "1.0";
    same.digitise(kCrest);
    ASSERT_EQ(Slice_Grids(same.ctx, same.c), StepOutcome::Done);
    EXPECT_EQ(same.calls("GridSlice").size(), 2u);
}

TEST(CurvatureSlice, AFractionalNumberOfIntervalsIsTakenToTheNearestWhole) {
    CurvRun r;
    prepareRidge(r);
    r.digitise(kCrest);
    ASSERT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Done);
    r.c.Text8 = "0";
    r.c.Text6 = "1.1";
    for (auto [typed, rows] : {std::pair{"2.5", 2u}, std::pair{"2.6", 3u}}) {
        r.c.Text10 = typed;
        ASSERT_EQ(Calculate(r.ctx, r.c), StepOutcome::Done) << typed;
        EXPECT_EQ(numbersOf(r.dir.read("ridge1.0_curvslresults.csv")).size(), rows + 4) << typed;
    }
}

TEST(CurvatureSlice, CrestCodeNamesTheFilesAndIsRequiredWhenTicked) {
    CurvRun r;
    prepareRidge(r);
    r.c.chkCID = true;
    r.c.Combo1 = "Paracristid";
    EXPECT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Refused);  // no code chosen yet
    EXPECT_EQ(r.prompt.shown.back().title, "Crest name");
    EXPECT_EQ(r.prompt.shown.back().text, "Choose crest name");

    r.state.CrestCode = "pacd";
    r.c.chkAltValuesS = false;
    r.digitise(kCrest);
    ASSERT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Done);
    for (const char* f : {"ridgepacd1.0.dat", "ridgepacd1.0ts.dat", "ridgepacd1.0cs.dat", "ridgepacd1.0_curvslresults.csv"})
        EXPECT_TRUE(r.exists(f)) << f;

    Next_Crest(r.ctx, r.c);
    EXPECT_TRUE(r.state.CrestCode.empty());
    for (const std::string* s : {&r.c.Label6, &r.c.Label8, &r.c.Label9, &r.c.Text8, &r.c.Label14}) EXPECT_TRUE(s->empty());
    EXPECT_EQ(r.c.Text10, "36");
    EXPECT_EQ(r.state.SliceCount, 11);
}

TEST(CurvatureSlice, CrestOffTheToothLeavesTheLastSlicesFiles) {
    CurvRun r;
    prepareRidge(r);
    r.c.chkAltValuesS = false;
    r.digitise(kCrest);
    ASSERT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Done);
    const std::vector<std::string> names{"ridge1.0.dat", "ridge1.0.bln", "ridge1.0ts.dat", "ridge1.0cs.dat"};
    const auto before = r.dir.contents(names);
    r.digitise("5,0.4\r\n6,0.4\r\n");  // beside the ridge's grid
    EXPECT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Failed);
    EXPECT_THAT(r.messages().back(), HasSubstr("crosses no curvature values"));
    EXPECT_EQ(r.dir.contents(names), before);
}

TEST(CurvatureSlice, CrestOfOneCurvatureValueLeavesTheLastSlicesFilesWhenCalculateFollows) {
    CurvRun r;
    prepareRidge(r);
    r.c.chkAltValuesS = false;
    r.c.chkCalcSliceAuto = true;
    r.digitise(kCrest);
    ASSERT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Done);
    const std::vector<std::string> names{"ridge1.0.dat", "ridge1.0.bln", "ridge1.0ts.dat", "ridge1.0cs.dat",
                           "ridge1.0_curvslresults.csv"};
    const auto before = r.dir.contents(names);
    r.digitise("0.8,0.4\r\n0.95,0.4\r\n");  // one point short of the blank edge column
    EXPECT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Refused);
    EXPECT_THAT(r.messages().back(), HasSubstr("fewer than two curvature values"));
    EXPECT_EQ(r.dir.contents(names), before);
}

// Each step's files go in place together: when the last of them cannot replace its name
// (a folder holds it), the files the step made before it stay as the run before left them;
// and a slice's table stays the earlier one when a slice file cannot replace its name.
TEST(CurvatureSlice, AFileThatCannotBeReplacedLeavesEachStepsEarlierFilesWhole) {
    CurvRun r;
    prepareRidge(r);
    auto block = [&](const std::string& name) {
        std::filesystem::remove(r.path(name));
        std::filesystem::create_directories(r.path(name) + "/inside");
    };
    const std::vector<std::string> vector{"ridgeOV.dat"};
    const auto vectorBefore = r.dir.contents(vector);
    block("ridgecurvOV90.00.grd");
    r.digitise("0,0.2\r\n0,0.7\r\n");
    EXPECT_EQ(CurveOVAngle(r.ctx, r.c), StepOutcome::Failed);
    EXPECT_EQ(r.dir.contents(vector), vectorBefore);
    EXPECT_EQ(r.state.CurvatureGrid, r.path("ridgecurvOV0.00.grd"));

    r.c.chkAltValuesS = false;
    r.c.chkCalcSliceAuto = true;
    r.digitise(kCrest);
    ASSERT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Done);
    const std::vector<std::string> slice{"ridge1.0.dat", "ridge1.0.bln", "ridge1.0ts.dat", "ridge1.0cs.dat"};
    const auto sliceBefore = r.dir.contents(slice);
    block("ridge1.0_curvslresults.csv");
    r.digitise("-0.9,0.6\r\n0.9,0.6\r\n");
    EXPECT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Failed);
    EXPECT_EQ(r.dir.contents(slice), sliceBefore);
    std::filesystem::remove_all(r.path("ridge1.0_curvslresults.csv"));
    r.dir.write("ridge1.0_curvslresults.csv", "earlier\r\n");
    block("ridge1.0cs.dat");
    EXPECT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Failed);
    EXPECT_EQ(r.dir.read("ridge1.0_curvslresults.csv"), "earlier\r\n");

    r.c.optUnitsMM = false;
    r.c.chkAltValues = false;
    r.c.chkUsePrevDig = false;
    r.c.Text5 = "1";
    r.digitise("-0.9,0.1\r\n");
    ASSERT_EQ(Curv_Area(r.ctx, r.c), StepOutcome::Done);
    const std::vector<std::string> square{"ridge_cac1.dat", "ridge_cac1.bln", "ridge_cac1out.dat",
                                          "ridge_cac1outstr.dat"};
    const auto squareBefore = r.dir.contents(square);
    block("ridge_cac1_curvaresults.csv");
    r.digitise("-0.7,0.1\r\n");
    EXPECT_EQ(Curv_Area(r.ctx, r.c), StepOutcome::Failed);
    EXPECT_EQ(r.dir.contents(square), squareBefore);
}

TEST(CurvatureSlice, BadValuesAreRefusedBeforeSlicingOrWriting) {
    for (const char* step : {"0", "-0.05", "x", ""}) {
        CurvRun r;
        prepareRidge(r);
        const auto before = r.files();
        r.c.Text6 = step;
        EXPECT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Refused) << step;
        EXPECT_EQ(r.messages().back(), "Interval size must be a number above 0.");
        EXPECT_TRUE(r.calls("GridSlice").empty());
        EXPECT_EQ(r.files(), before);
    }
    CurvRun r;
    prepareRidge(r);
    EXPECT_EQ(Calculate(r.ctx, r.c), StepOutcome::Refused);  // start still empty
    EXPECT_EQ(r.prompt.shown.back().title, "Values");
    EXPECT_EQ(r.prompt.shown.back().text, "Error - Enter all values\nThe box \"Range to use\" is empty.");
    r.c.Text8 = "0.5";
    r.c.Text10 = "ten";
    EXPECT_EQ(Calculate(r.ctx, r.c), StepOutcome::Refused);
    EXPECT_EQ(r.prompt.shown.back().text,
              "Error - Enter all values\nThe box \"No. of intervals\" holds \"ten\"; it needs a number other than 0.");
    r.c.Text10 = "10";
    EXPECT_EQ(Calculate(r.ctx, r.c), StepOutcome::Refused);  // no slice yet
    EXPECT_THAT(r.messages().back(), HasSubstr("Slice a crest first"));
    r.c.Text10 = "0.4";
    EXPECT_EQ(Calculate(r.ctx, r.c), StepOutcome::Refused);
    EXPECT_THAT(r.messages().back(), HasSubstr("No. of intervals must be from 1"));

    // One digitised point gives no line.
    r.digitise("0,0.4\r\n");
    EXPECT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Refused);
    EXPECT_THAT(r.messages().back(), HasSubstr("at least two points"));
    EXPECT_TRUE(r.calls("GridSlice").empty());

    CurvRun fresh;
    EXPECT_EQ(Slice_Grids(fresh.ctx, fresh.c), StepOutcome::Refused);
    EXPECT_THAT(fresh.messages().back(), HasSubstr("topographic and curvature grids first"));
}

TEST(CurvatureSlice, LowestThresholdFollowsTheBoxes) {
    CurvControls c;
    c.Text8 = "0";
    c.Text10 = "5";
    c.Text6 = "0.25";
    ShowLowestThreshold(c);
    EXPECT_EQ(c.Label9, "-1");
    c.Text6 = "0";
    c.Label9 = "kept";
    ShowLowestThreshold(c);
    EXPECT_EQ(c.Label9, "kept");
}
