// "Extract" and "Fix resolution": node rectangles, frequencies and the grids written.
#include "formats/xyzpointfile.h"
#include "surferfns/extraction.h"
#include "surferfns/regridfixres.h"
#include "procrun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace surffnstest;
using ::testing::HasSubstr;

namespace {

// 21 x 11 nodes over [0, 10] x [0, 5], z = x + 100 y, unblanked only for columns
// c0..c1 and rows r0..r1 (from 1).
Grid island(int c0, int c1, int r0, int r1) {
    Grid g = makeGrid(21, 11, 0, 10, 0, 5, [](double x, double y) { return x + 100 * y; });
    for (int j = 0; j < g.rows; ++j)
        for (int i = 0; i < g.cols; ++i)
            if (i + 1 < c0 || i + 1 > c1 || j + 1 < r0 || j + 1 > r1) g.at(i, j) = kBlank;
    return g;
}

PointList dumpOf(const Grid& g) {
    PointList p;
    for (int j = 0; j < g.rows; ++j)
        for (int i = 0; i < g.cols; ++i) p.push_back({g.x(i), g.y(j), g.at(i, j)});
    return p;
}

// Extraction of the area whose corners the user digitises.
ExtractOptions digitisedArea() {
    ExtractOptions o;
    o.chkRedArea = true;
    o.optRedAreaDig = true;
    return o;
}

// The grid g listed as `name` and the area between the corners in `digit` extracted.
BatchOutcome extractDigitised(ProcRun& r, const std::string& name, const Grid& g, const std::string& digit) {
    r.add(name, g);
    r.digitise(digit);
    return cmdExtract(r.ctx, digitisedArea());
}

} // namespace

TEST(ExtractRules, RectanglesAndFrequenciesFollowTheWorkedExamples) {
    GridGeo geo;
    geo.GeoCols = 21, geo.GeoRows = 11, geo.GeoXSpacing = 0.5, geo.GeoYSpacing = 0.5;
    // Corner x1 = 1.0 on a grid from 0 by 0.5: Int(2) + 2 = 4; the far corner beyond the
    // grid is cut to its edge.
    EXPECT_EQ(DigitisedRect(geo, 1.0, -3, 4.2, 99), (NodeRect{4, 9, 1, 11}));

    // Unblanked from column 5: FirstCol 2; from column 2: 1 (margin three, cut at 1).
    EXPECT_EQ(MaxUnblankedRect(dumpOf(island(5, 12, 2, 9)), 21, 11, "g"), (NodeRect{2, 15, 1, 11}));
    EXPECT_EQ(MaxUnblankedRect(dumpOf(island(2, 21, 6, 6)), 21, 11, "g"), (NodeRect{1, 21, 3, 9}));
    EXPECT_FALSE(MaxUnblankedRect(dumpOf(island(30, 30, 1, 1)), 21, 11, "g"));
    EXPECT_THROW(MaxUnblankedRect(dumpOf(island(1, 1, 1, 1)), 20, 11, "g"), Error);

    // "Max no." 100: a span of exactly 100 keeps every node, 101 takes every second.
    EXPECT_EQ(MaxNoFrequency(NodeRect{1, 101, 1, 50}, 100), 1);
    EXPECT_EQ(MaxNoFrequency(NodeRect{1, 102, 1, 50}, 100), 2);
    EXPECT_EQ(MaxNoFrequency(NodeRect{1, 50, 1, 302}, 100), 4);
}

class ExtractVersions : public ::testing::TestWithParam<bool> {};

TEST_P(ExtractVersions, MaxUnblankedAreaCutsToTheIslandAndLeavesDigitDatAlone) {
    const Grid g = island(8, 12, 5, 7);
    ProcRun r(GetParam());
    r.dir.write("digit.dat", "1,1\r\n2,2\r\n");  // the user's own digitised points
    r.add("t1.grd", g);
    ExtractOptions o;
    o.chkRedArea = true;
    o.chkRedRow = true;
    o.optRedRowFactor = true;
    o.txtRedRowFactor = "2";
    EXPECT_EQ(cmdExtract(r.ctx, o), BatchOutcome::Completed);
    EXPECT_EQ(r.dir.read("digit.dat"), "1,1\r\n2,2\r\n");
    // Columns 5..15 and rows 2..10, every second node: 6 x 5 nodes from (2, 0.5).
    const Grid e = r.read("t1emrf2.grd");
    EXPECT_EQ(e.cols, 6);
    EXPECT_EQ(e.rows, 5);
    EXPECT_DOUBLE_EQ(e.xMin, 2);
    EXPECT_DOUBLE_EQ(e.yMin, 0.5);
    EXPECT_DOUBLE_EQ(e.at(3, 2), g.at(10, 5));
    // No dump left behind: the grids, digit.dat and, with version 6, the report sheet.
    EXPECT_EQ(r.dir.fileCount(), GetParam() ? 4u : 3u);
}

TEST_P(ExtractVersions, FixResolutionRoundsOriginAndSpacingAndAlwaysPlots) {
    Grid g = makeGrid(6, 5, 0.12345, 0.12345 + 5 * 0.01012, 2.0004, 2.0004 + 4 * 0.02, [](double x, double y) {
        return 3 * x - y;
    });
    g.at(0, 0) = kBlank;
    ProcRun r(GetParam());
    r.ctx.chkClearFilenames = false;
    r.add("t2.grd", g);
    for (const char* own : {"temp.dat", "temp2.dat"}) r.dir.write(own, "the user's own");  // named like its scratch
    EXPECT_EQ(cmdFixResolution(r.ctx), BatchOutcome::Completed);
    const Grid f = r.read("t2fixres.grd");
    EXPECT_EQ(f.cols, 6);
    EXPECT_EQ(f.rows, 5);
    EXPECT_NEAR(f.xMin, 0.123, 1e-12);
    EXPECT_NEAR(f.xSpacing(), 0.010, 1e-12);
    EXPECT_NEAR(f.yMin, 2.0, 1e-12);
    EXPECT_NEAR(f.ySpacing(), 0.02, 1e-12);
    // Gridded from the unblanked nodes only: z = 3x - y lies below 0 here, the blank far above.
    EXPECT_LT(f.zMax(), 0);
    for (const char* own : {"temp.dat", "temp2.dat"}) EXPECT_EQ(r.dir.read(own), "the user's own");
    EXPECT_EQ(r.state.NumFiles, 1);  // kept: "Clear filenames after fn" unticked
    // Plotted although "Plot output" is unticked.
    EXPECT_EQ(GetParam() ? r.calls("ReliefMap").size() : r.maps().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Both, ExtractVersions, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "V6" : "V8"; });

TEST(Extract, DigitisedCornersAndTheirFailures) {
    ProcRun r;
    EXPECT_EQ(extractDigitised(r, "t3.grd", island(1, 21, 1, 11), "1.0,1.0\r\n4.2,3.1\r\n"), BatchOutcome::Completed);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("bottom left and top right of area in t3 to keep.\n\rSave"));
    EXPECT_EQ(r.dir.read("t3extpts.dat"), "1.0,1.0\r\n4.2,3.1\r\n");
    const Grid e = r.read("t3ed.grd");
    EXPECT_EQ(e.cols, 6);  // columns 4 to 9: x 1.5 .. 4
    EXPECT_DOUBLE_EQ(e.xMin, 1.5);
    EXPECT_EQ(e.rows, 4);  // rows 4 to 7: y 1.5 .. 3

    // Corners the wrong way round: the batch ends, the list stays, and the copy of the
    // corners that made the extracted grid stays as it was.
    r.add("t3.grd");
    r.digitise("4,4\r\n1,1\r\n");
    EXPECT_EQ(cmdExtract(r.ctx, digitisedArea()), BatchOutcome::Stopped);
    EXPECT_EQ(r.prompt.shown.back().text, "Points invalid - redigitise points. The first point is the bottom left "
                                          "corner of the area to keep and the second the top right.");
    EXPECT_EQ(r.state.NumFiles, 1);
    EXPECT_EQ(r.dir.read("t3extpts.dat"), "1.0,1.0\r\n4.2,3.1\r\n");

    // Corners round the whole grid extract nothing, so their copy is not written either.
    r.digitise("-5,-5\r\n20,20\r\n");
    EXPECT_EQ(cmdExtract(r.ctx, digitisedArea()), BatchOutcome::Completed);
    EXPECT_EQ(r.prompt.shown.back().text, "Grid extraction for t3 not required");
    EXPECT_EQ(r.dir.read("t3extpts.dat"), "1.0,1.0\r\n4.2,3.1\r\n");

    // The grid goes in place only with its corners: when their copy cannot be put in place
    // (a folder stands there), the earlier extracted grid stays.
    const std::string grid = r.dir.read("t3ed.grd");
    ASSERT_TRUE(std::filesystem::remove(r.dir.path("t3extpts.dat")));
    std::filesystem::create_directory(r.dir.path("t3extpts.dat"));
    r.add("t3.grd");
    r.digitise("0.5,0.5\r\n3,3\r\n");
    EXPECT_EQ(cmdExtract(r.ctx, digitisedArea()), BatchOutcome::Failed);
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr(r.dir.path("t3extpts.dat")));
    EXPECT_TRUE(r.dir.read("t3ed.grd") == grid);
}

// An area holding no height is refused where it is taken, before any file is written.
TEST(Extract, AnAreaOffTheCrownIsRefusedBeforeAnythingIsWritten) {
    ProcRun r;
    EXPECT_EQ(extractDigitised(r, "t4.grd", island(1, 6, 1, 4), "6,3\r\n9,4.5\r\n"), BatchOutcome::Stopped);
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("The area digitised on t4 holds no node with a height"));
    EXPECT_EQ(r.files(), (std::vector<std::string>{"digit.dat", "t4.grd"}));
}

TEST(Extract, NeitherBoxTickedSaysWhichToTick) {
    ProcRun r;
    r.add("full.grd", island(1, 21, 1, 11));
    EXPECT_EQ(cmdExtract(r.ctx, ExtractOptions{}), BatchOutcome::Stopped);
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("Tick \"Reduce grid area\" or \"Reduce no. row/col\""));
    EXPECT_EQ(r.state.NumFiles, 1);
}

TEST(Extract, BadFrequenciesAndBlankGridsAreReported) {
    ProcRun r(true);
    r.add("none.grd", island(30, 30, 1, 1));
    r.add("full.grd", island(1, 21, 1, 11));

    ExtractOptions o;
    o.chkRedRow = true;
    o.txtRedRowFactor = "0";
    EXPECT_EQ(cmdExtract(r.ctx, o), BatchOutcome::Stopped);
    EXPECT_EQ(r.prompt.shown.back().title, "Values");
    o.optRedRowFactor = false;
    o.txtRedRowMax = "x";
    EXPECT_EQ(cmdExtract(r.ctx, o), BatchOutcome::Stopped);

    // The all-blank grid is reported and left out; the full one needs no extraction.
    ExtractOptions area;
    area.chkRedArea = true;
    r.prompt.shown.clear();
    EXPECT_EQ(cmdExtract(r.ctx, area), BatchOutcome::Completed);
    ASSERT_EQ(r.prompt.shown.size(), 2u);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("Every node of none is blank"));
    EXPECT_EQ(r.prompt.shown[1].text, "Grid extraction for full not required");
    EXPECT_EQ(r.dir.fileCount(), 3u);  // the two grids and the report sheet, nothing else
}
