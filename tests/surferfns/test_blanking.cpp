// "Blank": outlines digitised by the user (or saved earlier) written as blanking files
// and applied to every listed grid, in both call forms.
#include "surferfns/blanking.h"
#include "procrun.h"
#include "support/scriptedprogress.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

using namespace surffnstest;
using ::testing::HasSubstr;

namespace {

// One line of the zone layout: the first item padded to column 14, then the second.
std::string zone(std::string a, const std::string& b) {
    a.resize(14, ' ');
    return a + b + "\r\n";
}

Grid tenByTen() { return makeGrid(11, 11, 0, 10, 0, 10, [](double x, double y) { return x + 10 * y; }); }

// Nodes of a grid that are not blank, as (x, y) pairs of whole numbers.
std::vector<std::pair<int, int>> kept(const ProcRun& r, const std::string& name) {
    const Grid g = r.read(name);
    std::vector<std::pair<int, int>> k;
    for (int j = 0; j < g.rows; ++j)
        for (int i = 0; i < g.cols; ++i)
            if (!g.blank(i, j)) k.emplace_back(static_cast<int>(g.x(i)), static_cast<int>(g.y(j)));
    return k;
}

const char* kOutline = "5,0\r\n2,2\r\n8,2\r\n8,8\r\n2,8\r\n2,2\r\n";

// The ten-by-ten grid a1.grd listed and blanked in `mode` by the digitise file `digit`.
BatchOutcome blankA1(ProcRun& r, BlankMode mode, const std::string& digit) {
    r.add("a1.grd", tenByTen());
    r.digitise(digit);
    BlankOptions o;
    o.mode = mode;
    return cmdBlank(r.ctx, o).outcome;
}

} // namespace

class BlankVersions : public ::testing::TestWithParam<bool> {};

TEST_P(BlankVersions, OutsideAndInsideWriteAClosedOutlineAndBlankTheGrid) {
    for (BlankMode mode : {BlankMode::Outside, BlankMode::Inside}) {
        ProcRun r(GetParam());
        r.add("tooth.grd", tenByTen());
        r.digitise("2,2\r\n8,2\r\n8,8\r\n2,8\r\n");
        BlankOptions o;
        o.mode = mode;
        EXPECT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Completed);
        ASSERT_EQ(r.prompt.shown.size(), 1u);
        EXPECT_EQ(r.prompt.shown[0].text,
                  "Use 'Digitise' to digitise area of tooth to be blanked.\n\rSave as digit.dat in same directory "
                  "as grid then press 'OK'.");
        const char* flag = mode == BlankMode::Inside ? "1" : "0";
        EXPECT_EQ(r.dir.read("toothblnpts.bln"), zone(" 5 ", flag) + zone(" 2 ", " 2 ") + zone(" 8 ", " 2 ") +
                                                     zone(" 8 ", " 8 ") + zone(" 2 ", " 8 ") + zone(" 2 ", " 2 "));
        const auto k = kept(r, "toothb.grd");
        if (mode == BlankMode::Outside) {
            EXPECT_EQ(k.size(), 49u);  // 7 x 7 nodes from 2 to 8, the outline itself kept
            EXPECT_EQ(k.front(), std::make_pair(2, 2));
        } else {
            EXPECT_EQ(k.size(), 121u - 49u);
        }
        EXPECT_EQ(r.state.NumFiles, 0);  // the list is cleared at the end
    }
}

TEST_P(BlankVersions, MultipleInsideWritesOneSectionPerAreaAndCanRegridAndBlank) {
    ProcRun r(GetParam());
    r.add("jaw.grd", tenByTen());
    r.dir.write("jawblnpts.bln", "5,0\r\n1,1\r\n9,1\r\n9,9\r\n1,9\r\n1,1\r\n");  // the earlier tooth outline
    r.dir.write("jawtemp.dat", "the user's own notes");
    r.dir.write("jawtemp.grd", "the user's own grid");
    r.digitise("2,2\r\n4,2\r\n4,4\r\n-1\r\n6,6\r\n8,6\r\n8,8\r\n6,8\r\n");
    BlankOptions o;
    o.mode = BlankMode::MultiInside;
    o.chkMultiBlankRegrid = true;
    o.txtBlankDelChar = "0";
    EXPECT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Completed);
    EXPECT_EQ(r.dir.read("jawblnmpts.bln"), zone(" 4 ", "1") + zone(" 2 ", " 2 ") + zone(" 4 ", " 2 ") +
                                                zone(" 4 ", " 4 ") + zone(" 2 ", " 2 ") + zone(" 5 ", "1") +
                                                zone(" 6 ", " 6 ") + zone(" 8 ", " 6 ") + zone(" 8 ", " 8 ") +
                                                zone(" 6 ", " 8 ") + zone(" 6 ", " 6 "));
    const Grid u = r.read("jawu.grd");
    EXPECT_TRUE(u.blank(3, 2));   // inside the triangle
    EXPECT_TRUE(u.blank(7, 7));   // inside the square
    EXPECT_FALSE(u.blank(5, 5));  // between the areas
    // Regridded from the unblanked nodes, the bubbles are filled again and only the outer
    // outline blanks; the XYZ dump and its regridding are private, and the user's own
    // files of their names stay as they were.
    const Grid ub = r.read("jawub.grd");
    EXPECT_FALSE(ub.blank(7, 7));
    EXPECT_NEAR(ub.at(7, 7), 77, 3);
    EXPECT_TRUE(ub.blank(0, 5));
    EXPECT_EQ(r.dir.read("jawtemp.dat"), "the user's own notes");
    EXPECT_EQ(r.dir.read("jawtemp.grd"), "the user's own grid");
}

TEST_P(BlankVersions, MultipleTeethCutsStripsAlongBordersAndPlotsEveryToothInItsOwnSlot) {
    ProcRun r(GetParam());
    r.ctx.chkPlotSurfer = !GetParam();
    r.add("jawA.grd", tenByTen());
    r.add("jawB.grd", tenByTen());
    const char* borders = "0,7\r\n10,7\r\n-1\r\n0,3\r\n5,3.5\r\n10,3\r\n";
    r.digitise(borders);
    r.digitise(borders);
    BlankOptions o;
    o.mode = BlankMode::MultiTeeth;
    o.chkTeeth = {true, false, false, true, false, false, false, false, true, false, false, false};  // i1, c, m1
    const BlankRunResult res = cmdBlank(r.ctx, o);
    EXPECT_EQ(res.outcome, BatchOutcome::Completed);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("digitise 2 borders between 3 teeth of jawA from anterior"));
    EXPECT_EQ(r.dir.read("jawA-si1c1m1bordblnmpts.dat"), borders);
    EXPECT_EQ(r.dir.read("jawA-si1blnpts.bln"), zone(" 5 ", "0") + zone(" 0 ", " 10 ") + zone(" 0 ", " 7 ") +
                                                    zone(" 10 ", " 7 ") + zone(" 10 ", " 10 ") + zone(" 0 ", " 10 "));
    EXPECT_EQ(r.dir.read("jawA-sc1blnpts.bln"), zone(" 6 ", "0") + zone(" 0 ", " 7 ") + zone(" 10 ", " 7 ") +
                                                    zone(" 10 ", " 3 ") + zone(" 5 ", " 3.5 ") + zone(" 0 ", " 3 ") +
                                                    zone(" 0 ", " 7 "));
    EXPECT_EQ(r.dir.read("jawA-sm1blnpts.bln").substr(0, 17), zone(" 6 ", "0"));  // n(2) + 3
    ASSERT_EQ(res.ToothGridName.size(), 6u);
    EXPECT_EQ(res.ToothGridName[4], r.dir.path("jawB-sc1b.grd"));
    EXPECT_EQ(kept(r, "jawB-si1b.grd").size(), 44u);  // rows y = 7 .. 10
    EXPECT_EQ(kept(r, "jawB-sm1b.grd").front(), std::make_pair(0, 0));
    if (r.ctx.chkPlotSurfer) {
        const auto maps = r.maps();
        ASSERT_EQ(maps.size(), 6u);
        for (int k = 0; k < 6; ++k) {
            EXPECT_EQ(maps[k]->gridPath(), res.ToothGridName[k]);
            EXPECT_DOUBLE_EQ(maps[k]->Left - maps[0]->Left, 18.0 * k);  // slots 1 to 6 of one row
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Both, BlankVersions, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "V6" : "V8"; });

TEST(Blank, ExistingBlankingFilesAreTakenFromTheShortenedName) {
    ProcRun r;
    r.add("toothb150.grd", tenByTen());
    r.dir.write("toothblnpts.bln", kOutline);
    r.dir.write("toothb-sm1blnpts.bln", kOutline);
    BlankOptions o;
    o.chkBlankUseBlnFile = true;
    EXPECT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Completed);
    EXPECT_EQ(r.dir.read("toothb150blnpts.bln"), kOutline);
    EXPECT_EQ(kept(r, "toothb150b.grd").size(), 49u);
    EXPECT_TRUE(r.prompt.shown.empty());

    r.add("toothb150.grd");
    o.mode = BlankMode::MultiTeeth;
    o.chkTeeth = {};
    o.chkTeeth[8] = true;
    EXPECT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Completed);
    EXPECT_EQ(r.dir.read("toothb150-sm1blnpts.bln"), kOutline);
    EXPECT_TRUE(FileExists(r.dir.path("toothb150-sm1b.grd")));

    // A missing earlier file ends the batch, naming the file looked for; the list stays.
    r.add("toothb150.grd");
    o.chkTeeth[9] = true;  // m2 has no earlier file
    EXPECT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Stopped);
    EXPECT_EQ(r.prompt.shown.back().text, "Check that blanking file (file no. 1) " + r.dir.path("toothb-sm2blnpts.bln") +
                                              " is in correct directory.");
    EXPECT_EQ(r.state.NumFiles, 1);
}

// Every earlier tooth file is found before the first is copied over its own.
TEST(Blank, AMissingEarlierToothFileIsFoundBeforeAnyIsCopied) {
    ProcRun r;
    r.add("toothb150.grd", tenByTen());
    r.dir.write("toothb-sm1blnpts.bln", kOutline);
    r.dir.write("toothb150-sm1blnpts.bln", "the copy of an earlier run");
    BlankOptions o;
    o.chkBlankUseBlnFile = true;
    o.mode = BlankMode::MultiTeeth;
    o.chkTeeth = {};
    o.chkTeeth[8] = o.chkTeeth[9] = true;  // m2 has no earlier file
    EXPECT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Stopped);
    EXPECT_EQ(r.dir.read("toothb150-sm1blnpts.bln"), "the copy of an earlier run");
    // Every listed grid's files are judged before the map window opens: one the reader
    // refuses (a folder in its place) in the reader's own words.
    EXPECT_FALSE(r.app.SurferApp);
    std::filesystem::create_directory(r.dir.path("toothb-sm2blnpts.bln"));
    EXPECT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Stopped);
    EXPECT_EQ(r.prompt.shown.back().text,
              "Cannot read \"" + r.dir.path("toothb-sm2blnpts.bln") + "\": it is a folder");
    EXPECT_FALSE(r.app.SurferApp);
}

TEST(Blank, BadEntriesAreReportedAndLeftOutWhileTheOthersGoOn) {
    ProcRun r;
    saveGrid(r.dir.path("ab.grd"), tenByTen());
    r.add("molar.grd", tenByTen());
    // No tooth ticked: nothing to cut.
    BlankOptions o;
    o.mode = BlankMode::MultiTeeth;
    o.chkTeeth = {};
    EXPECT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Stopped);
    EXPECT_EQ(r.prompt.shown.back().title, "Values");

    // Too few borders for three teeth: that grid is left out, the next is cut.
    r.add("ab.grd");
    o.chkTeeth[8] = o.chkTeeth[9] = o.chkTeeth[10] = true;
    r.prompt.shown.clear();
    r.digitise("0,7\r\n10,7\r\n");
    r.prompt.answer(Answer::Ok);  // the report on molar
    r.digitise("0,7\r\n10,7\r\n-1\r\n0,3\r\n10,3\r\n");
    EXPECT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Completed);
    EXPECT_THAT(r.prompt.shown[1].text, HasSubstr("holds 1 border"));
    EXPECT_THAT(r.prompt.shown[1].text, HasSubstr("(molar) is left out"));
    EXPECT_FALSE(FileExists(r.dir.path("molar-sm1b.grd")));
    EXPECT_TRUE(FileExists(r.dir.path("ab-sm3b.grd")));

    // "Del. no. char." longer than the name "ab": the cut would reach into the folder.
    r.add("ab.grd");
    r.add("molar.grd");
    r.dir.write("moblnpts.bln", kOutline);
    BlankOptions e;
    e.chkBlankUseBlnFile = true;
    e.txtBlankDelChar = "3";
    r.prompt.shown.clear();
    EXPECT_EQ(cmdBlank(r.ctx, e).outcome, BatchOutcome::Completed);
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("cannot be taken off the name ab"));
    EXPECT_TRUE(FileExists(r.dir.path("molarb.grd")));
}

TEST(Blank, AGridGoneFromDiskIsNamedBeforeAnyQuestionAndNothingIsWritten) {
    for (BlankMode mode : {BlankMode::Outside, BlankMode::MultiInside, BlankMode::MultiTeeth}) {
        ProcRun r;
        r.add("a1.grd", tenByTen());
        r.add("a2.grd", tenByTen());
        std::filesystem::remove(r.dir.path("a2.grd"));
        r.dir.write("digit.dat", "2,2\r\n8,2\r\n8,8\r\n2,8\r\n");  // what an OK to the question would read
        BlankOptions o;
        o.mode = mode;
        o.chkTeeth = {};
        o.chkTeeth[8] = true;
        EXPECT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Stopped);
        ASSERT_EQ(r.prompt.shown.size(), 1u);
        EXPECT_EQ(r.prompt.shown[0].title, "Filename");
        EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("The grid " + r.dir.path("a2.grd") + " does not exist"));
        EXPECT_EQ(r.files(), (std::vector<std::string>{"a1.grd", "digit.dat"}));
        EXPECT_FALSE(r.app.SurferApp);  // refused before the map window could open
    }
    // A folder named like a grid, or a pipe, is refused in the reader's own words, not
    // said not to exist, and before the map window could open.
    ProcRun r;
    std::filesystem::create_directory(r.dir.path("a2.grd"));
    ASSERT_EQ(::mkfifo(r.dir.path("a3.grd").c_str(), 0600), 0);
    for (const char* name : {"a2.grd", "a3.grd"}) {
        r.add("a1.grd", tenByTen());
        r.add(name);
        r.prompt.shown.clear();
        EXPECT_EQ(cmdBlank(r.ctx, BlankOptions{}).outcome, BatchOutcome::Stopped);
        ASSERT_EQ(r.prompt.shown.size(), 1u);
        EXPECT_EQ(r.prompt.shown[0].title, "Filename");
        EXPECT_EQ(r.prompt.shown[0].text, "Cannot read \"" + r.dir.path(name) + "\": " +
                                              (name == std::string("a2.grd") ? "it is a folder"
                                                                             : "it is a pipe, not a file"));
        EXPECT_FALSE(r.app.SurferApp);
        ClearFilenames(r.state);
    }
}

// The refusal comes before the batch starts: no status line reads as work under way.
TEST(Blank, AGridGoneFromDiskIsRefusedBeforeTheStatusLineNamesABatchStep) {
    ProcRun r;
    r.add("a1.grd", tenByTen());
    r.add("a2.grd", tenByTen());
    std::filesystem::remove(r.dir.path("a2.grd"));
    trelvik::testing::ScriptedProgress progress;
    r.ctx.progress = &progress;
    std::vector<std::string> statusWhileRefused{"not asked"};
    r.prompt.respond([&](const ScriptedPrompt::Shown&) {
        statusWhileRefused = progress.statuses;
        return Answer::Ok;
    });
    EXPECT_EQ(cmdBlank(r.ctx, BlankOptions{}).outcome, BatchOutcome::Stopped);
    EXPECT_THAT(statusWhileRefused, ::testing::IsEmpty());
}

// Areas that cannot be blanked (an empty group) are refused before the working copy of
// the user's file is written.
TEST(Blank, MultipleInsideRefusesAnEmptyAreaBeforeWritingItsWorkingCopy) {
    ProcRun r;
    EXPECT_EQ(blankA1(r, BlankMode::MultiInside, "-1\r\n2,2\r\n8,2\r\n8,8\r\n"), BatchOutcome::Failed);
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("Area 1 of the digitise file"));
    EXPECT_EQ(r.files(), (std::vector<std::string>{"a1.grd", "digit.dat"}));
}

// "Regrid and blank" looks for the earlier outline before the question: its refusal
// leaves no working copy and no "u" grid.
TEST(Blank, RegridAndBlankFindsAMissingOutlineBeforeWritingAnything) {
    ProcRun r;
    r.add("jaw.grd", tenByTen());
    r.dir.write("digit.dat", "2,2\r\n4,2\r\n4,4\r\n");  // what an OK to the question would read
    BlankOptions o;
    o.mode = BlankMode::MultiInside;
    o.chkMultiBlankRegrid = true;
    o.txtBlankDelChar = "0";
    EXPECT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Stopped);
    EXPECT_EQ(r.prompt.shown.back().text,
              "Check that blanking file " + r.dir.path("jawblnpts.bln") + " is in correct directory.");
    EXPECT_EQ(r.files(), (std::vector<std::string>{"digit.dat", "jaw.grd"}));
}

// Saving after End group ends the file with a "-1" line: it closes the last area. Two
// "-1" lines together still leave an empty area.
TEST(Blank, MultipleInsideTakesAFileEndedByAGroupEnd) {
    ProcRun r;
    r.add("a1.grd", tenByTen());
    r.digitise("2,2\r\n4,2\r\n4,4\r\n-1\r\n6,6\r\n8,6\r\n8,8\r\n6,8\r\n-1\r\n");
    BlankOptions o;
    o.mode = BlankMode::MultiInside;
    ASSERT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Completed);
    const Grid u = r.read("a1u.grd");
    EXPECT_TRUE(u.blank(3, 2));  // inside the triangle
    EXPECT_TRUE(u.blank(7, 7));  // inside the square, the last area

    r.add("a1.grd");
    r.digitise("2,2\r\n4,2\r\n4,4\r\n-1\r\n-1\r\n");
    EXPECT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Failed);
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("Area 2 of the digitise file"));
}

// The refusals of the user's file are titled by their subject, not the program's name.
TEST(Blank, MultipleInsideRefusesADigitiseFileUnderFilename) {
    for (const char* digit : {"2,2\r\n4,2\r\n-1\r\n-1\r\n4,4\r\n", "2,2\r\nfour,2\r\n"}) {
        ProcRun r;
        EXPECT_EQ(blankA1(r, BlankMode::MultiInside, digit), BatchOutcome::Failed);
        EXPECT_EQ(r.prompt.shown.back().title, "Filename") << digit;
    }
}

// Outside and Inside blank by one outline: a file of several areas is refused, naming
// the mode that takes them, while one area closed by End group is taken.
TEST(Blank, OutsideAndInsideRefuseSeveralAreasAndTakeOneEndedByAGroupEnd) {
    for (BlankMode mode : {BlankMode::Outside, BlankMode::Inside}) {
        ProcRun r;
        r.add("a1.grd", tenByTen());
        r.digitise("2,2\r\n4,2\r\n4,4\r\n2,4\r\n-1\r\n6,6\r\n8,6\r\n8,8\r\n6,8\r\n-1\r\n");
        BlankOptions o;
        o.mode = mode;
        EXPECT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Failed);
        EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("holds 2 areas"));
        EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("\"Multiple inside (bubbles)\""));
        EXPECT_EQ(r.files(), (std::vector<std::string>{"a1.grd", "digit.dat"}));

        r.add("a1.grd");
        r.digitise("2,2\r\n8,2\r\n8,8\r\n2,8\r\n-1\r\n");
        EXPECT_EQ(cmdBlank(r.ctx, o).outcome, BatchOutcome::Completed);
        EXPECT_EQ(kept(r, "a1b.grd").size(), mode == BlankMode::Outside ? 49u : 72u);
    }
}

// Fewer than three points enclose nothing, in every mode that blanks by areas.
TEST(Blank, AnAreaOfTwoPointsIsRefusedBeforeAnythingIsWritten) {
    const std::pair<BlankMode, const char*> cases[] = {
        {BlankMode::Outside, "2,2\r\n8,8\r\n"},
        {BlankMode::Inside, "2,2\r\n8,8\r\n"},
        {BlankMode::MultiInside, "2,2\r\n4,2\r\n4,4\r\n-1\r\n6,6\r\n8,8\r\n"},
    };
    for (const auto& [mode, digit] : cases) {
        ProcRun r;
        EXPECT_EQ(blankA1(r, mode, digit), BatchOutcome::Failed) << digit;
        EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("has 2 points: an area needs at least three")) << digit;
        EXPECT_EQ(r.files(), (std::vector<std::string>{"a1.grd", "digit.dat"})) << digit;
    }
}

// A digitise file refused, by its reader or by the tooth strips, is titled by its subject
// in every mode and leaves no working copy.
TEST(Blank, ARefusedDigitiseFileIsTitledFilenameAndLeavesNoWorkingCopy) {
    const std::pair<BlankMode, const char*> cases[] = {
        {BlankMode::Outside, "2,2\r\nfour,2\r\n"},
        {BlankMode::Inside, "2,2\r\nfour,2\r\n"},
        {BlankMode::MultiTeeth, "0,7\r\nfour,7\r\n"},
        {BlankMode::MultiTeeth, "0,7\r\n10,7\r\n"},  // one border for the three ticked teeth
    };
    for (const auto& [mode, digit] : cases) {
        ProcRun r;
        blankA1(r, mode, digit);
        EXPECT_EQ(r.prompt.shown.back().title, "Filename") << digit;
        EXPECT_EQ(r.files(), (std::vector<std::string>{"a1.grd", "digit.dat"})) << digit;
    }
}

// A grid left with no height, or a border of one point, is refused before any file of
// the entry is put in place: the files of the earlier good run stay byte for byte.
TEST(Blank, AnEmptyBlankedGridOrABorderOfOnePointLeavesTheEarlierFiles) {
    ProcRun r;
    EXPECT_EQ(blankA1(r, BlankMode::Outside, "2,2\r\n8,2\r\n8,8\r\n2,8\r\n"), BatchOutcome::Completed);
    const std::vector<std::string> outline{"a1b.grd", "a1blnpts.bln", "a1blnpts.dat"};
    const auto good = r.dir.contents(outline);
    const std::pair<BlankMode, const char*> empty[] = {
        {BlankMode::Inside, "-1,-1\r\n11,-1\r\n11,11\r\n-1,11\r\n"},  // round the whole grid
        {BlankMode::Outside, "20,20\r\n30,20\r\n30,30\r\n"},          // off the crown
    };
    for (const auto& [mode, digit] : empty) {
        EXPECT_EQ(blankA1(r, mode, digit), BatchOutcome::Stopped) << digit;
        EXPECT_THAT(r.prompt.shown.back().text,
                    HasSubstr("Blanking " + r.dir.path("a1.grd") + (mode == BlankMode::Inside ? " inside" : " outside") +
                              " the outline leaves no node with a height"));
        EXPECT_EQ(r.dir.contents(outline), good) << digit;
        EXPECT_EQ(r.state.NumFiles, 1);
        ClearFilenames(r.state);
    }

    BlankOptions teeth;
    teeth.mode = BlankMode::MultiTeeth;  // m1, m2 and m3
    r.add("a1.grd");
    r.digitise("0,7\r\n10,7\r\n-1\r\n0,3\r\n10,3\r\n");
    ASSERT_EQ(cmdBlank(r.ctx, teeth).outcome, BatchOutcome::Completed);
    const std::vector<std::string> strips{"a1-sm1m2m3bordblnmpts.dat", "a1-sm2blnpts.bln", "a1-sm3blnpts.bln",
                                          "a1-sm1b.grd", "a1-sm2b.grd", "a1-sm3b.grd"};
    const auto goodStrips = r.dir.contents(strips);
    r.add("a1.grd");
    r.digitise("0,7\r\n10,7\r\n-1\r\n5,3\r\n");
    cmdBlank(r.ctx, teeth);
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("Border 2 of the border file " + r.dir.path("digit.dat") +
                                                      " has 1 point"));
    EXPECT_EQ(r.dir.contents(strips), goodStrips);
    // m2's strip, between 5.5 and 5.8, holds no node: refused after m1's grid is blanked.
    r.add("a1.grd");
    r.digitise("0,5.5\r\n10,5.5\r\n-1\r\n0,5.8\r\n10,5.8\r\n");
    EXPECT_EQ(cmdBlank(r.ctx, teeth).outcome, BatchOutcome::Stopped);
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("outside the strip of tooth m2 leaves no node with a height"));
    EXPECT_EQ(r.dir.contents(strips), goodStrips);
}

// A grid the mapping program refuses to blank leaves the outline files of the earlier run.
TEST(Blank, AGridTheBlankingCallRefusesLeavesTheEarlierOutlineFiles) {
    ProcRun r;
    EXPECT_EQ(blankA1(r, BlankMode::Outside, "2,2\r\n8,2\r\n8,8\r\n2,8\r\n"), BatchOutcome::Completed);
    const std::vector<std::string> outline{"a1blnpts.bln", "a1blnpts.dat"};
    const auto good = r.dir.contents(outline);
    r.dir.write("a1.grd", "x,y,z\r\n1,2,3\r\n");
    r.add("a1.grd");
    r.digitise("3,3\r\n7,3\r\n7,7\r\n");
    EXPECT_EQ(cmdBlank(r.ctx, BlankOptions{}).outcome, BatchOutcome::Failed);
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("is not a Surfer grid"));
    EXPECT_EQ(r.dir.contents(outline), good);
}

TEST(Blank, CancelEndsTheBatchAndKeepsTheList) {
    ProcRun r(true);
    r.add("a1.grd", tenByTen());
    r.add("a2.grd", tenByTen());
    r.digitise("2,2\r\n8,2\r\n8,8\r\n2,8\r\n");
    r.prompt.answer(Answer::Cancel);
    EXPECT_EQ(cmdBlank(r.ctx, BlankOptions{}).outcome, BatchOutcome::Stopped);
    EXPECT_TRUE(FileExists(r.dir.path("a1b.grd")));
    EXPECT_FALSE(FileExists(r.dir.path("a2b.grd")));
    EXPECT_EQ(r.state.NumFiles, 2);
}
