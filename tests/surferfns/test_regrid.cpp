// "Regrid" at an exact resolution: lattices of the worked examples, the files and
// folders written, the tooth-row outline and the reported entries.
#include "formats/xyzpointfile.h"
#include "surferfns/regrid.h"
#include "procrun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace surffnstest;
using ::testing::HasSubstr;

namespace {

const char* kOutline = "5,0\r\n1,1\r\n7,1\r\n7,4\r\n1,4\r\n1,1\r\n";  // keeps [1, 7] x [1, 4]

double plane(double x, double y) { return 2 * x + 3 * y; }

// 9 x 6 nodes over [x0, x0 + 8] x [0, 5]: x extent 8, y extent 5.
Grid tooth(double x0 = 0) { return makeGrid(9, 6, x0, x0 + 8, 0, 5, [x0](double x, double y) { return plane(x - x0, y); }); }

} // namespace

TEST(RegridLattice, WorkedExamples) {
    // x extent 8, y extent 5, 150 along the longer x: dx = Round(8 / 149, 3) = 0.054,
    // Round(5 / 0.054, 0) = 93 rows.
    ExactLattice l = ExactResolutionLattice(0, 8, 0, 5, 150, ExactAxis::RowsCols);
    EXPECT_EQ(l.NumCols, 150);
    EXPECT_EQ(l.NumRows, 93);
    EXPECT_DOUBLE_EQ(l.dx, 0.054);
    EXPECT_DOUBLE_EQ(l.dy, 0.054);
    EXPECT_NEAR(l.x1, 149 * 0.054, 1e-12);
    EXPECT_NEAR(l.y1, 92 * 0.054, 1e-12);
    // Equal extents put N on the rows; "rows (Y)" forces them on a wide grid.
    l = ExactResolutionLattice(10, 14, -2, 2, 5, ExactAxis::RowsCols);
    EXPECT_EQ(l.NumRows, 5);
    EXPECT_EQ(l.NumCols, 4);
    EXPECT_DOUBLE_EQ(l.x0, 10);
    l = ExactResolutionLattice(0, 8, 0, 5, 11, ExactAxis::Rows);
    EXPECT_DOUBLE_EQ(l.dy, 0.5);
    EXPECT_EQ(l.NumCols, 16);
}

class RegridVersions : public ::testing::TestWithParam<bool> {};

TEST_P(RegridVersions, WritesTheThreeFoldersAndKeepsTheUsersTextFile) {
    ProcRun r(GetParam());
    r.add("t1b.grd", tooth());
    r.dir.write("t1blnpts.bln", kOutline);
    r.dir.write("t1b.txt", "the scanner's own file\r\n");
    RegridOptions o;
    o.txtExactNoRC = "9";  // spacing 1: every node of the new grid is a data node
    EXPECT_EQ(cmdRegridExactResol(r.ctx, o), BatchOutcome::Completed);
    EXPECT_TRUE(r.prompt.shown.empty());
    EXPECT_EQ(r.dir.read("t1b.txt"), "the scanner's own file\r\n");

    const Grid full = r.read("9_grd/t1b9.grd");
    EXPECT_EQ(full.cols, 9);
    EXPECT_EQ(full.rows, 5);  // Round(5 / 1) rows: y 0 .. 4
    for (int j = 0; j < full.rows; ++j)
        for (int i = 0; i < full.cols; ++i) EXPECT_NEAR(full.at(i, j), plane(i, j), 1e-6);
    const Grid b = r.read("9b_grd/t1b9b.grd");
    EXPECT_TRUE(b.blank(0, 0));
    EXPECT_NEAR(b.at(4, 2), plane(4, 2), 1e-6);
    EXPECT_EQ(r.state.OutGridName.size(), 0u);  // list cleared
    const PointList dat = formats::readXyzPointFile(r.dir.path("9b_dat/t1b9b.dat"));
    EXPECT_EQ(dat.size(), 7u * 4u);  // x 1..7, y 1..4
    EXPECT_EQ(r.dir.fileCount(), 6u);  // nothing else left beside the three folders
}

INSTANTIATE_TEST_SUITE_P(Both, RegridVersions, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "V6" : "V8"; });

TEST(Regrid, TheThreeFilesGoInPlaceTogether) {
    ProcRun r;
    r.add("t1b.grd", tooth());
    r.dir.write("t1blnpts.bln", kOutline);
    for (const char* folder : {"9_grd", "9b_grd", "9b_dat"}) std::filesystem::create_directory(r.dir.path(folder));
    r.dir.write("9_grd/t1b9.grd", "the earlier grid");
    r.dir.write("9b_grd/t1b9b.grd", "the earlier blanked grid");
    std::filesystem::create_directory(r.dir.path("9b_dat/t1b9b.dat"));  // its text cannot be put in place
    RegridOptions o;
    o.txtExactNoRC = "9";
    EXPECT_EQ(cmdRegridExactResol(r.ctx, o), BatchOutcome::Failed);
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("t1b9b.dat"));
    EXPECT_EQ(r.dir.read("9_grd/t1b9.grd"), "the earlier grid");
    EXPECT_EQ(r.dir.read("9b_grd/t1b9b.grd"), "the earlier blanked grid");
}

TEST(Regrid, TextFilesFarFromTheOriginKeepTheirExtents) {
    ProcRun r;
    PointList pts;
    const Grid g = tooth(200000);
    for (int j = 0; j < g.rows; ++j)
        for (int i = 0; i < g.cols; ++i) pts.push_back({g.x(i), g.y(j), g.at(i, j)});
    formats::writeXyzPointFile(r.dir.path("t1.txt"), pts);
    const std::string before = r.dir.read("t1.txt");
    r.dir.write("t1blnpts.bln", "5,0\r\n200001,1\r\n200007,1\r\n200007,4\r\n200001,4\r\n200001,1\r\n");
    r.add("t1.txt");
    RegridOptions o;
    o.optRegridTxt = true;
    o.txtExactNoRC = "9";
    EXPECT_EQ(cmdRegridExactResol(r.ctx, o), BatchOutcome::Completed);
    EXPECT_EQ(r.dir.read("t1.txt"), before);
    const Grid out = r.read("9b_grd/t19b.grd");
    EXPECT_DOUBLE_EQ(out.xMin, 200000);
    EXPECT_NEAR(out.at(3, 2), plane(3, 2), 1e-6);
}

TEST(Regrid, IndividualTeethAreBlankedAgainWithTheRowOutline) {
    ProcRun r(true);
    saveGrid(r.dir.path("plain.grd"), tooth());
    saveGrid(r.dir.path("t1b-sm1b.grd"), tooth());
    r.dir.write("plaiblnpts.bln", kOutline);
    r.dir.write("t1b-sm1blnpts.bln", kOutline);                                  // the tooth
    r.dir.write("t1blnpts.bln", "5,1\r\n0,0\r\n3,0\r\n3,5\r\n0,5\r\n0,0\r\n");  // the row: blanks x <= 3
    r.add("plain.grd");
    r.add("t1b-sm1b.grd");
    RegridOptions o;
    o.txtExactNoRC = "9";
    o.chkRegridIndivTeeth = true;
    EXPECT_EQ(cmdRegridExactResol(r.ctx, o), BatchOutcome::Completed);
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("plain (file no. 1) does not end in \"b-s\""));
    EXPECT_FALSE(FileExists(r.dir.path("9b_grd/plain9b.grd")));
    const Grid b = r.read("9b_grd/t1b-sm1b9b.grd");
    EXPECT_TRUE(b.blank(3, 2));
    EXPECT_FALSE(b.blank(4, 2));
}

TEST(Regrid, MissingOutlinesAndImpossibleLatticesAreReported) {
    ProcRun r;
    saveGrid(r.dir.path("a1.grd"), tooth());
    saveGrid(r.dir.path("b1.grd"), tooth());
    saveGrid(r.dir.path("tiny1.grd"), makeGrid(3, 3, 0, 0.01, 0, 0.01, [](double, double) { return 1.0; }));
    r.dir.write("ablnpts.bln", kOutline);
    r.dir.write("tinyblnpts.bln", kOutline);
    RegridOptions o;
    o.txtExactNoRC = "1";
    r.add("a1.grd");
    EXPECT_EQ(cmdRegridExactResol(r.ctx, o), BatchOutcome::Stopped);
    EXPECT_EQ(r.prompt.shown.back().title, "Values");

    // b1 has no outline: the batch ends before any grid (and the map window), naming the
    // file looked for, and the list stays for another try.
    r.add("tiny1.grd");
    r.add("b1.grd");
    o.txtExactNoRC = "150";
    r.prompt.shown.clear();
    EXPECT_EQ(cmdRegridExactResol(r.ctx, o), BatchOutcome::Stopped);
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_EQ(r.prompt.shown[0].text,
              "Check that blanking file (file no. 3) " + r.dir.path("bblnpts.bln") + " is in correct directory.");
    EXPECT_TRUE(surfer::instances().empty());
    EXPECT_FALSE(FileExists(r.dir.path("150b_dat/a1150b.dat")));
    EXPECT_EQ(r.state.NumFiles, 3);
    // Once it is there, the tiny grid's spacing rounds to 0: reported, left out.
    r.dir.write("bblnpts.bln", kOutline);
    EXPECT_EQ(cmdRegridExactResol(r.ctx, o), BatchOutcome::Completed);
    ASSERT_EQ(r.prompt.shown.size(), 2u);
    EXPECT_THAT(r.prompt.shown[1].text, HasSubstr("tiny1 (file no. 2) is too small for 150 nodes"));
    EXPECT_TRUE(FileExists(r.dir.path("150b_dat/a1150b.dat")));
}
