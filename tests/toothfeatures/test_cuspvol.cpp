// The cusp volume steps end to end on an analytic cusp, in both call forms, and the
// refusals that keep a result from being measured against the wrong plane or files.
#include "cuspvolrun.h"
#include "curvrun.h"

#include "core/textform.h"
#include "support/scriptedprogress.h"
#include "toothfeatures/curvgrids.h"
#include "toothfeatures/cuspvollevels.h"
#include "toothfeatures/curvslice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace cuspvoltest;
using ::testing::HasSubstr;

namespace {

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        lines.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    return lines;
}

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> out;
    std::stringstream ss(line);
    std::string f;
    while (std::getline(ss, f, ',')) out.push_back(f);
    if (!line.empty() && line.back() == ',') out.push_back("");
    return out;
}

// Input, cusp, outline and the automatic calculation, as a user runs them.
void measure(CuspVolTestRun& t)
{
    t.c.Text7 = "T1.grd";
    t.c.Text1 = "10";   // interval 20 / 10 = 2
    t.c.Text10 = "3";   // four levels
    ASSERT_TRUE(Input_Top(t.run)) << t.lastMessage();
    t.chooseCusp("Paracone");
    t.digitise(circleOutline(7, 64));
    ASSERT_TRUE(Blank_Grid(t.run)) << t.lastMessage();
}

} // namespace

TEST(CuspVol, AnalyticCuspInBothCallForms)
{
    std::string tables[2];  // [1] version 6, [0] version 8
    for (bool v6 : {true, false}) {
        CuspVolTestRun t(v6);
        measure(t);
        EXPECT_EQ(t.c.Text5, "2");
        EXPECT_EQ(t.c.Label12, "Done");
        EXPECT_EQ(t.c.Label13, "Done");
        EXPECT_EQ(t.c.Label8, "8");
        EXPECT_EQ(t.c.Text8, "8");
        EXPECT_NEAR(std::stod(t.c.Label6), 0, 1e-5);  // the plane itself inside the outline

        const double tilt = std::acos(1 / std::sqrt(A * A + B * B + 1));
        const double step = 2 * std::sin(1.570796 - tilt);
        EXPECT_NEAR(std::stod(t.c.Label7), step, 1e-12);

        tables[v6] = t.dir.read("T1pa-20_cuspvolresults.csv");
        const auto lines = splitLines(tables[v6]);
        ASSERT_EQ(lines.size(), 5u);
        EXPECT_EQ(lines[0], "\"IntZMin\",\"IntZMax\",\"Fract_IL\",\"Vert_dist_from_tip\",\"Dist_from_tip\","
                            "\"Volume\",\"Pos_Surf_Area\"");
        for (int i = 0; i < 4; ++i) {
            const auto f = fields(lines[i + 1]);
            ASSERT_EQ(f.size(), 8u) << lines[i + 1];
            const double level = 8 - i * step;
            EXPECT_EQ(f[0], "\"" + text::Trim(text::Str(level)) + "\"");
            EXPECT_EQ(f[1], "\"8\"");
            EXPECT_EQ(f[2], "\"" + std::to_string(i) + "/10il\"");
            EXPECT_EQ(f[3], text::CStr(i * step));
            EXPECT_EQ(f[4], text::CStr(i * 2.0));
            EXPECT_EQ(f[7], "\"\"");
            const double volume = std::stod(f[5]), area = std::stod(f[6]);
            if (i == 0) {
                EXPECT_NEAR(volume, 0, 1e-9);
                EXPECT_NEAR(area, 0, 1e-2);
            } else {
                EXPECT_NEAR(volume, capVolume(level), 0.01 * capVolume(level)) << "level " << level;
                EXPECT_NEAR(area, capSurface(level), 0.01 * capSurface(level)) << "level " << level;
            }
        }

        // The outline: 64 points closed into 65 vertices, the last equal to the first.
        const auto bln = splitLines(t.dir.read("T1papoints.bln"));
        ASSERT_EQ(bln.size(), 66u);
        EXPECT_EQ(bln[0], " 65           0");
        EXPECT_EQ(bln[1], bln[65]);
        EXPECT_EQ(t.dir.read("T1papoints.dat"), t.dir.read("digit.dat"));
        EXPECT_TRUE(FileExists(t.dir.path("T1pab.grd")));
        EXPECT_TRUE(FileExists(t.dir.path("T1pabtmp.grd")));
        // Erased level grids never lay in the user's folder.
        for (const auto& e : std::filesystem::directory_iterator(t.dir.folder()))
            EXPECT_THAT(e.path().filename().string(), ::testing::Not(HasSubstr("level")));
        for (const std::string& g : t.s.LevelGrids) EXPECT_FALSE(FileExists(g));

        const auto& log = t.s.m_Surfer->callLog();
        if (v6) {
            EXPECT_TRUE(FileExists(t.dir.path("volume.dat")));
        } else {
            // Version 8 measures every level without a report window.
            int volumes = 0;
            for (const std::string& line : log)
                if (line.rfind("GridVolume(", 0) == 0) {
                    ++volumes;
                    EXPECT_THAT(line, HasSubstr("False"));
                }
            EXPECT_EQ(volumes, 4);
            EXPECT_EQ(t.s.m_Surfer->currentReport(), "");
            EXPECT_FALSE(FileExists(t.dir.path("volume.dat")));
        }
    }
    // Version 6 writes its grids in single precision; otherwise the tables agree.
    const auto six = splitLines(tables[1]), eight = splitLines(tables[0]);
    ASSERT_EQ(six.size(), eight.size());
    for (std::size_t i = 1; i < six.size(); ++i) {
        const auto a = fields(six[i]), b = fields(eight[i]);
        for (int f : {0, 1, 2, 3, 4, 7}) EXPECT_EQ(a[f], b[f]);
        for (int f : {5, 6}) EXPECT_NEAR(std::stod(a[f]), std::stod(b[f]), 1e-6 * (1 + std::stod(b[f])));
    }
}

// The paracone of T1.grd blanked and analysed by hand, its volume not yet calculated.
static void blankParacone(CuspVolTestRun& t) {
    t.c.Text7 = "T1.grd";
    t.c.chkAutoCalc = false;
    ASSERT_TRUE(Input_Top(t.run));
    t.chooseCusp("Paracone");
    t.digitise(circleOutline(7, 16));
    ASSERT_TRUE(Blank_Grid(t.run)) << t.lastMessage();
}

// The sheet left beside the grid names the height grid it measured, which the user can
// open, not the working file it was made under before it went in place.
TEST(CuspVol, Version6SheetOfBlankAndAnalyseNamesTheHeightGrid)
{
    CuspVolTestRun t(true, 41);
    ASSERT_NO_FATAL_FAILURE(blankParacone(t));
    EXPECT_THAT(t.dir.read("volume.dat"), HasSubstr(t.dir.path("T1pabtmp.grd")));
}

TEST(CuspVol, KeptLevelGridsAreNamedAfterGridAndCusp)
{
    CuspVolTestRun t(false, 41);
    t.dir.write("Plane1.grd", "the user's own file");
    t.c.Text7 = "T1.grd";
    t.c.Check1 = false;
    t.c.chkAutoCalc = false;
    t.c.Text10 = "1";
    ASSERT_TRUE(Input_Top(t.run));
    t.chooseCusp("Protoconid");
    EXPECT_EQ(t.c.Label14, "prd");
    t.digitise(circleOutline(7, 16));
    ASSERT_TRUE(Blank_Grid(t.run));
    EXPECT_EQ(t.c.Label13, "");
    EXPECT_FALSE(FileExists(t.dir.path("T1prd-20_cuspvolresults.csv")));
    t.c.Text8 = "7.5";  // the user edits the tip height
    ASSERT_TRUE(Calculate(t.run)) << t.lastMessage();
    EXPECT_TRUE(FileExists(t.dir.path("T1prdlevel1.grd")));
    EXPECT_TRUE(FileExists(t.dir.path("T1prdlevel2.grd")));
    EXPECT_EQ(t.dir.read("Plane1.grd"), "the user's own file");
    const auto lines = splitLines(t.dir.read("T1prd-20_cuspvolresults.csv"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].substr(0, 20), "\"7.5\",\"7.5\",\"0/50il\"");
    // The raised plane is the plane grid lifted by the level, node for node.
    const Grid level = formats::readSurferGrid(t.dir.path("T1prdlevel1.grd"));
    EXPECT_NEAR(level.at(3, 5), plane(level.x(3), level.y(5)) + 7.5, 1e-9);
}

TEST(CuspVol, AFractionalNumberOfIntervalsEndsAtItsWholePart)
{
    CuspVolTestRun t(false);
    measure(t);
    t.c.Text10 = "2.5";  // levels k = 1 to 3.5
    ASSERT_TRUE(Calculate(t.run)) << t.lastMessage();
    const auto lines = splitLines(t.dir.read("T1pa-20_cuspvolresults.csv"));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(fields(lines[3])[2], "\"2/10il\"");
}

// "Calculate" reports each level's grid and volume, and Esc between two of them ends
// the step with a note: no results table, the kept level grids made so far stay.
TEST(CuspVol, LevelsAreReportedAndEscStopsBetweenThem)
{
    CuspVolTestRun t(false, 41);
    t.c.Check1 = false;  // level grids kept
    measure(t);

    trelvik::testing::ScriptedProgress seen;
    CuspVolRun watched{t.app, t.prompt, t.c, t.s, seen};
    ASSERT_TRUE(Calculate(watched)) << t.lastMessage();
    EXPECT_EQ(seen.steps.back(), std::make_pair(8LL, 8LL));  // four levels, a grid and a volume each
    EXPECT_EQ(seen.statuses.front(), "Grid of level 1 of 4");
    EXPECT_EQ(seen.statuses.back(), "Volume of level 4 of 4");
    std::filesystem::remove(t.dir.path("T1pa-20_cuspvolresults.csv"));
    for (int k = 1; k <= 4; ++k) std::filesystem::remove(t.dir.path("T1palevel" + std::to_string(k) + ".grd"));

    trelvik::testing::ScriptedProgress esc(2);  // Esc while the second level grid is made
    CuspVolRun escaped{t.app, t.prompt, t.c, t.s, esc};
    EXPECT_FALSE(Calculate(escaped));
    EXPECT_THAT(t.lastMessage(), ::testing::HasSubstr("stopped (Esc) before the grid of level 3 of 4"));
    EXPECT_EQ(t.prompt.shown.back().title, "Trelvik");
    EXPECT_FALSE(FileExists(t.dir.path("T1pa-20_cuspvolresults.csv")));
    EXPECT_TRUE(FileExists(t.dir.path("T1palevel2.grd")));
    EXPECT_FALSE(FileExists(t.dir.path("T1palevel3.grd")));
    EXPECT_FALSE(t.prompt.busyNow);
}

TEST(CuspVol, ATableThatCannotBeReplacedLeavesTheLevelGridsItWasMeasuredOver)
{
    CuspVolTestRun t(false, 41);
    t.c.Check1 = false;  // level grids kept
    measure(t);
    const std::vector<std::string> names{"T1palevel1.grd", "T1palevel2.grd", "T1palevel3.grd", "T1palevel4.grd"};
    const auto before = t.dir.contents(names);
    std::filesystem::remove(t.dir.path("T1pa-20_cuspvolresults.csv"));
    std::filesystem::create_directories(t.dir.path("T1pa-20_cuspvolresults.csv") + "/inside");
    t.c.Text8 = "7.5";  // other levels
    EXPECT_FALSE(Calculate(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr("T1pa-20_cuspvolresults.csv"));
    EXPECT_EQ(t.dir.contents(names), before);
}

TEST(CuspVol, InputStepsReadLengthAndPlane)
{
    CuspVolTestRun t(false, 11);
    planes::writeToothLengthFile(t.dir.path("T1_tl.txt"), 12.345);
    planes::WritePlaneFormulaText(t.dir.path("T1ovplaneform.txt"), "z(x,y) = 1.5 + -0.25y + 0.125x");
    t.c.Text7 = "T1.grd";
    ASSERT_TRUE(Input_Top(t.run)) << t.lastMessage();
    EXPECT_EQ(t.c.Text5, "0.247");
    EXPECT_EQ(t.c.Label7, "12.345");
    EXPECT_EQ(t.c.lblDist, "4.94");
    EXPECT_EQ(t.s.ToothLength, 12.345);
    EXPECT_EQ(t.s.PlaneGrid, t.dir.path("T1ovplane.grd"));
    EXPECT_EQ(t.s.PlaneFormulaPath, t.dir.path("T1ovplaneform.txt"));
    EXPECT_EQ(t.c.Label3, "0.125");
    EXPECT_EQ(t.c.Label5, "-0.25");
    EXPECT_EQ(t.s.TopoStem, t.dir.path("T1"));
    ASSERT_TRUE(t.s.m_Surfer);
    EXPECT_TRUE(t.s.m_Surfer->Visible);

    // Without the optional text the plane is T1plane.grd; a missing one is said before the
    // map window could open.
    surfer::shutdownAll();
    t.c.chkPlaneOpt = false;
    EXPECT_FALSE(Input_Top(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr("T1plane.grd"));
    EXPECT_TRUE(surfer::instances().empty());
    formats::writeSurferGrid(t.dir.path("T1plane.grd"), makeGrid(11, 10, plane), formats::SurferGridFormat::Binary7);
    planes::WritePlaneFormulaText(t.dir.path("T1planeform.txt"), "z(x,y) = 2 + 0y + 0x");
    ASSERT_TRUE(Input_Top(t.run));
    EXPECT_EQ(t.s.PlaneGrid, t.dir.path("T1plane.grd"));
    EXPECT_EQ(t.c.Label3, "0");

    // "Input plane grid" takes the chosen plane grid and the formula beside it.
    t.c.Text7 = "T1ovplane.grd";
    ASSERT_TRUE(Input_Plane(t.run)) << t.lastMessage();
    EXPECT_EQ(t.s.PlaneGrid, t.dir.path("T1ovplane.grd"));
    EXPECT_EQ(t.c.Label3, "0.125");
    // A name that is not a plane grid is refused before it is cut; a plane grid not there,
    // before the map window could open.
    t.c.Text7 = "T1.grd";
    EXPECT_FALSE(Input_Plane(t.run));
    EXPECT_EQ(t.prompt.shown.back().title, "Filename");
    surfer::shutdownAll();
    t.c.Text7 = "T9plane.grd";
    EXPECT_FALSE(Input_Plane(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr("T9plane.grd does not exist"));
    EXPECT_TRUE(surfer::instances().empty());
    EXPECT_EQ(t.s.PlaneGrid, t.dir.path("T1ovplane.grd"));
}

TEST(CuspVol, AnotherToothNeverKeepsThePreviousPlaneOrLength)
{
    CuspVolTestRun t(false, 11);
    formats::writeSurferGrid(t.dir.path("T2.grd"), makeGrid(11, 10, tooth), formats::SurferGridFormat::Binary7);
    t.c.Text7 = "T1.grd";
    ASSERT_TRUE(Input_Top(t.run));
    EXPECT_FALSE(t.s.PlaneGrid.empty());

    // T2 has neither a plane nor a length file: with the boxes unticked both are cleared.
    t.c.Text7 = "T2.grd";
    t.c.chkReadPlane = false;
    t.c.chkInputTLFile = false;
    ASSERT_TRUE(Input_Top(t.run));
    EXPECT_EQ(t.s.PlaneGrid, "");
    EXPECT_EQ(t.s.ToothLength, 0);
    EXPECT_EQ(t.c.Label3, "");
    EXPECT_EQ(t.c.Label7, "");
    t.chooseCusp("Metacone");
    const std::size_t before = t.dir.fileCount();
    EXPECT_FALSE(Blank_Grid(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr("plane"));
    EXPECT_EQ(t.dir.fileCount(), before);

    // With the boxes ticked, a missing file fails the step and leaves T1's state whole.
    t.c.Text7 = "T1.grd";
    t.c.chkReadPlane = t.c.chkInputTLFile = true;
    ASSERT_TRUE(Input_Top(t.run));
    t.c.Text7 = "T2.grd";
    EXPECT_FALSE(Input_Top(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr("T2_tl.txt"));
    EXPECT_EQ(t.s.TopoGrid, t.dir.path("T1.grd"));
    EXPECT_EQ(t.s.PlaneGrid, t.dir.path("T1ovplane.grd"));
}

TEST(CuspVol, MissingLengthFileSaysWhereItWasSoughtAndThatLandFindWritesItElsewhere)
{
    CuspVolTestRun t(false, 11);
    std::filesystem::remove(t.dir.path("T1_tl.txt"));
    t.c.Text7 = "T1.grd";
    EXPECT_FALSE(Input_Top(t.run));
    EXPECT_EQ(t.prompt.shown.back().title, "Filename");
    EXPECT_THAT(t.lastMessage(), HasSubstr(t.dir.path("T1_tl.txt")));
    EXPECT_THAT(t.lastMessage(), HasSubstr("Land find writes it in its trials' folder"));
}

TEST(CuspVol, RefusalsAndBadInputWriteNothing)
{
    CuspVolTestRun t(true, 11);
    // No grid chosen.
    EXPECT_FALSE(Input_Top(t.run));
    EXPECT_EQ(t.prompt.shown.back().text, "Please choose grid filename");
    EXPECT_EQ(t.prompt.shown.back().title, "Trelvik");
    // A missing topo grid.
    t.c.Text7 = "T9.grd";
    EXPECT_FALSE(Input_Top(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr("T9.grd"));
    // A divisor that is not a number.
    t.c.Text7 = "T1.grd";
    t.c.Text1 = "fifty";
    EXPECT_FALSE(Input_Top(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr("fifty"));
    t.c.Text1 = "50";
    ASSERT_TRUE(Input_Top(t.run));

    const std::size_t files = t.dir.fileCount();
    // No cusp chosen.
    EXPECT_FALSE(Blank_Grid(t.run));
    EXPECT_EQ(t.prompt.shown.back().title, "Cusp name");
    EXPECT_EQ(t.prompt.shown.back().text, "Choose cusp name");
    t.c.Combo1 = "paracone";  // not a name of the list: the code stays empty
    Combo1_Click(t.run);
    EXPECT_EQ(t.c.Label14, "");
    EXPECT_FALSE(Blank_Grid(t.run));
    t.chooseCusp("Paracone");
    // Calculate before blanking.
    EXPECT_FALSE(Calculate(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr("Blank and analyse"));
    // The user cancels the outline; then saves no digit.dat.
    t.prompt.answer(Answer::Cancel);
    EXPECT_FALSE(Blank_Grid(t.run));
    EXPECT_EQ(t.prompt.shown.back().text,
              "Use 'Digitise' to outline cusp.\n\rSave as digit.dat in same directory as grid then press 'OK'.");
    EXPECT_FALSE(Blank_Grid(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr("digit.dat"));
    EXPECT_EQ(t.dir.fileCount(), files);
    EXPECT_FALSE(t.prompt.busyNow);

    // A non-numeric interval: a message, and no results table.
    t.c.chkAutoCalc = false;
    t.digitise(circleOutline(3, 12));
    ASSERT_TRUE(Blank_Grid(t.run)) << t.lastMessage();
    t.c.Text5 = "2,5";
    EXPECT_FALSE(Calculate(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr("Interval size"));
    EXPECT_FALSE(FileExists(t.dir.path("T1pa-20_cuspvolresults.csv")));
    t.c.Text5 = "1";
    t.c.Text10 = "2.5 levels";
    EXPECT_FALSE(Calculate(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr("No. of intervals"));

    // Next cusp clears the cusp and its outline: the next one must be blanked afresh.
    Next_Cusp(t.run);
    EXPECT_EQ(t.s.CuspCode, "");
    EXPECT_EQ(t.c.Text8, "");
    EXPECT_EQ(t.c.Label14, "");
    EXPECT_EQ(t.c.Combo1, "Paracone");
    t.chooseCusp("Metacone");
    t.c.Text8 = "5";
    t.c.Text10 = "2";
    EXPECT_FALSE(Calculate(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr("Blank and analyse"));
}

TEST(CuspVol, OutlineAwayFromTheGridIsReported)
{
    CuspVolTestRun t(false, 11);
    t.c.Text7 = "T1.grd";
    ASSERT_TRUE(Input_Top(t.run));
    t.chooseCusp("Entoconid");
    t.digitise("100,100\r\n101,100\r\n101,101\r\n");
    EXPECT_FALSE(Blank_Grid(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr("inside the cusp outline"));
    EXPECT_EQ(t.c.Label12, "");
    EXPECT_FALSE(FileExists(t.dir.path("T1end-20_cuspvolresults.csv")));
}

TEST(CuspVol, OutlineAwayFromTheToothLeavesTheCuspBlankedBefore)
{
    CuspVolTestRun t(false, 11);
    ASSERT_NO_FATAL_FAILURE(blankParacone(t));
    const std::vector<std::string> names{"T1papoints.dat", "T1papoints.bln", "T1pab.grd", "T1pabtmp.grd"};
    const auto before = t.dir.contents(names);
    t.digitise("100,100\r\n101,100\r\n101,101\r\n");
    EXPECT_FALSE(Blank_Grid(t.run));
    EXPECT_EQ(t.dir.contents(names), before);
}

TEST(CuspVol, AFailedBlankingCallNamesTheGridsAsTheUserKnowsThem)
{
    CuspVolTestRun t(false, 11);
    // A plane grid of other nodes than the tooth's: the height grid cannot be made.
    formats::writeSurferGrid(t.dir.path("T1ovplane.grd"), makeGrid(7, 10, plane), formats::SurferGridFormat::Binary7);
    t.c.Text7 = "T1.grd";
    ASSERT_TRUE(Input_Top(t.run)) << t.lastMessage();
    t.chooseCusp("Paracone");
    t.digitise(circleOutline(7, 16));
    EXPECT_FALSE(Blank_Grid(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr(t.dir.path("T1pab.grd") + " and "));
    EXPECT_EQ(t.lastMessage().find(".trelvik-"), std::string::npos) << t.lastMessage();
}

// Cusp volume and Curvature read digit.dat from the window's current folder: when that is
// not the grid's, the question says where to save it.
TEST(CuspVol, DigitiseQuestionNamesTheFolderReadWhenItIsNotTheGrids)
{
    CuspVolTestRun t(false, 11);
    t.c.Text7 = "T1.grd";
    ASSERT_TRUE(Input_Top(t.run));
    t.chooseCusp("Paracone");
    const std::string away = t.dir.path("away");
    std::filesystem::create_directory(away);
    t.c.Label1 = away;
    t.prompt.answer(Answer::Cancel);
    EXPECT_FALSE(Blank_Grid(t.run));
    EXPECT_EQ(t.lastMessage(), "Use 'Digitise' to outline cusp.\n\rSave as digit.dat in " + away + " then press 'OK'.");

    curvtest::CurvRun r;
    r.inputTopo("bowl.grd", toothtest::makeGrid(5, 5, 0, 4, 0, 4, [](double x, double y) { return x * x + y * y; }));
    r.c.Label1 = r.dir.path("away");
    std::filesystem::create_directory(r.c.Label1);
    r.prompt.answer(Answer::Cancel);
    EXPECT_EQ(CurveOVAngle(r.ctx, r.c), StepOutcome::Cancelled);
    EXPECT_EQ(r.prompt.shown.back().text, "Use 'Digitise' to define occlusal vector with two points.\n\rSave as "
                                          "digit.dat in " + r.c.Label1 + " then press 'OK'.");
}

// The code names the output files; a name typed over the list (none of the list, or one
// typed but not chosen) would have one cusp's or crest's results replace another's.
TEST(CuspVol, ANameTheListDoesNotShowChosenIsRefusedBeforeAnythingIsAskedOrWritten)
{
    CuspVolTestRun t(false, 41);
    t.c.Text7 = "T1.grd";
    ASSERT_TRUE(Input_Top(t.run));
    t.chooseCusp("Paracone");
    t.digitise(circleOutline(3, 12));
    ASSERT_TRUE(Blank_Grid(t.run)) << t.lastMessage();
    const std::vector<std::string> names{"T1papoints.dat", "T1papoints.bln", "T1pab.grd", "T1pabtmp.grd",
                                         "T1pa-20_cuspvolresults.csv", "digit.dat"};
    const auto before = t.dir.contents(names);
    const std::size_t files = t.dir.fileCount();
    t.chooseCusp("Hypocone");
    EXPECT_EQ(t.c.Label14, "pa");
    for (auto [typed, said] : {std::pair{"Hypocone", "\"Hypocone\" is not a cusp of the list"},
                               std::pair{"Metacone", "\"Metacone\" is not the cusp chosen (pa)"}}) {
        t.c.Combo1 = typed;
        for (auto step : {Blank_Grid, Calculate}) {
            t.prompt.shown.clear();
            EXPECT_FALSE(step(t.run));
            ASSERT_EQ(t.prompt.shown.size(), 1u) << typed;
            EXPECT_EQ(t.prompt.shown[0].title, "Cusp name");
            EXPECT_EQ(t.prompt.shown[0].text, std::string(said) + ": choose a cusp name from the list.");
        }
    }
    EXPECT_EQ(t.dir.contents(names), before);
    EXPECT_EQ(t.dir.fileCount(), files);

    curvtest::CurvRun r;  // the crest windows share the check
    r.c.chkCID = true;
    r.c.Combo1 = "Hypocristid ridge";
    r.state.CrestCode = "hycd";
    EXPECT_EQ(Slice_Grids(r.ctx, r.c), StepOutcome::Refused);
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_EQ(r.prompt.shown[0].title, "Crest name");
    EXPECT_EQ(r.prompt.shown[0].text,
              "\"Hypocristid ridge\" is not a crest of the list: choose a crest name from the list.");
}

TEST(CuspVol, DistanceCaption)
{
    EXPECT_EQ(DistanceCaption("25", "20"), "500");
    EXPECT_EQ(DistanceCaption("0.247", "20"), "4.94");
    EXPECT_EQ(DistanceCaption("", "20"), "");
    EXPECT_EQ(DistanceCaption("25", "x"), "");
}

TEST(CuspVol, AnotherPlaneNeedsTheCuspBlankedAgain)
{
    CuspVolTestRun t(false, 41);
    t.c.Text7 = "T1.grd";
    t.c.chkAutoCalc = false;
    t.c.Text10 = "2";
    ASSERT_TRUE(Input_Top(t.run));
    t.chooseCusp("Metacone");
    t.digitise(circleOutline(7, 16));
    ASSERT_TRUE(Blank_Grid(t.run));
    EXPECT_EQ(t.c.Text8, "8");

    // A plane 1 higher: the tip stands 7 above it, not 8 as measured above the first.
    formats::writeSurferGrid(t.dir.path("T1hiplane.grd"),
                             makeGrid(41, 10, [](double x, double y) { return plane(x, y) + 1; }),
                             formats::SurferGridFormat::Binary7);
    planes::WritePlaneFormulaFile(t.dir.path("T1hiplaneform.txt"), planes::PlaneCoefficients{C + 1, B, A});
    t.c.Text7 = "T1hiplane.grd";
    ASSERT_TRUE(Input_Plane(t.run)) << t.lastMessage();
    EXPECT_EQ(t.c.Text8, "");
    EXPECT_FALSE(Calculate(t.run));
    EXPECT_THAT(t.lastMessage(), HasSubstr("Blank and analyse"));
    EXPECT_FALSE(FileExists(t.dir.path("T1me-20_cuspvolresults.csv")));

    t.digitise(circleOutline(7, 16));
    ASSERT_TRUE(Blank_Grid(t.run));
    EXPECT_NEAR(std::stod(t.c.Text8), 7, 1e-9);
    ASSERT_TRUE(Calculate(t.run)) << t.lastMessage();

    // Reading the same plane again keeps the blanked cusp.
    ASSERT_TRUE(Input_Plane(t.run));
    EXPECT_NEAR(std::stod(t.c.Text8), 7, 1e-9);
    EXPECT_TRUE(Calculate(t.run)) << t.lastMessage();
}
