// Turns and mirrors of the current grid, checked on screen layout and by writing the
// grid with "Output CSV" and reading it back node by node.
#include "csvview/csvoutput.h"
#include "csvview/latticeread.h"
#include "csvview/rotatemirror.h"
#include "test_csvhelpers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trelvik::csvview;

namespace {

// Heights as the view shows them: rows top to bottom, columns left to right.
std::vector<std::vector<double>> onScreen(const LatticeGrid& g) {
    std::vector<std::vector<double>> v;
    for (int r = g.rows; r >= 1; --r) {
        v.emplace_back();
        for (int c = 1; c <= g.cols; ++c) v.back().push_back(g.z(c, r));
    }
    return v;
}

// a b c on top, d e f below (a = 1 ... f = 6), steps 1 in x and 2 in y.
CurrentGrid abcdef() {
    CurrentGrid g;
    g.resize(3, 2);
    const double z[2][3] = {{4, 5, 6}, {1, 2, 3}};  // row 1 (bottom), row 2 (top)
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 3; ++c) {
            g.at(c, r) = {10.0 + (c - 1), 20.0 + 2 * (r - 1), z[r - 1][c - 1]};
            g.filled[g.index(c, r)] = 1;
        }
    g.nx = 3;
    g.ny = 2;
    g.xstep = 1;
    g.ystep = 2;
    g.zmin = 1;
    g.zmax = 6;
    return g;
}

using Rows = std::vector<std::vector<double>>;

} // namespace

TEST(RotateMirror, ScreenLayoutOfEachButton) {
    CurrentGrid g = abcdef();
    ASSERT_TRUE(RotateCW(g));
    EXPECT_EQ(onScreen(g), (Rows{{4, 1}, {5, 2}, {6, 3}}));  // d a / e b / f c
    g = abcdef();
    RotateACW(g);
    EXPECT_EQ(onScreen(g), (Rows{{3, 6}, {2, 5}, {1, 4}}));  // c f / b e / a d
    g = abcdef();
    Rotate180(g);
    EXPECT_EQ(onScreen(g), (Rows{{6, 5, 4}, {3, 2, 1}}));
    g = abcdef();
    MirrorHoriz(g);
    EXPECT_EQ(onScreen(g), (Rows{{3, 2, 1}, {6, 5, 4}}));
    g = abcdef();
    MirrorVert(g);
    EXPECT_EQ(onScreen(g), (Rows{{4, 5, 6}, {1, 2, 3}}));
}

TEST(RotateMirror, QuarterTurnLaysNodesAnewWithStepsExchanged) {
    CurrentGrid g = abcdef();
    RotateCW(g);
    EXPECT_EQ(g.cols, 2);
    EXPECT_EQ(g.rows, 3);
    EXPECT_EQ(g.xstep, 2);
    EXPECT_EQ(g.ystep, 1);
    EXPECT_EQ(g.nx, 2);
    EXPECT_EQ(g.ny, 3);
    for (int q = 1; q <= 3; ++q)
        for (int p = 1; p <= 2; ++p) {
            EXPECT_EQ(g.at(p, q).x, 10 + 2 * (p - 1));
            EXPECT_EQ(g.at(p, q).y, 20 + (q - 1));
        }
    EXPECT_EQ(g.xmax, 12);
    EXPECT_EQ(g.ymax, 22);
}

TEST(RotateMirror, EmptyCellsTurnWithTheirHeights) {
    CurrentGrid g = abcdef();
    g.z(1, 1) = kVoidHeight;  // d empty
    g.filled[g.index(1, 1)] = 0;
    RotateCW(g);
    EXPECT_EQ(g.z(1, 3), kVoidHeight);  // top-left on screen
    EXPECT_FALSE(g.isFilled(1, 3));
    EXPECT_TRUE(g.isFilled(2, 3));
    RotateACW(g);  // and back, nodes where they were
    EXPECT_EQ(g.z(1, 1), kVoidHeight);
    EXPECT_EQ(onScreen(g)[0], (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(g.at(3, 2).x, 12);
    EXPECT_EQ(g.at(3, 2).y, 22);
    CurrentGrid none;
    EXPECT_FALSE(RotateCW(none) || MirrorHoriz(none));
}

// Writes a lattice file, reads it, turns it, writes it with "Output CSV", reads that
// back and compares node by node: the file must hold the turned grid, not a mirror.
TEST(RotateMirror, TurnedGridWrittenAndReadBackKeepsItsTurn) {
    csvtest::TempDir tmp;
    // 4 x 3 lattice, steps 0.05 in x and 0.1 in y, distinct heights.
    std::string text;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            text += std::to_string(1 + 0.05 * c) + "," + std::to_string(2 + 0.1 * r) + "," +
                    std::to_string(1 + c + 10 * r) + "\r\n";
    csvtest::writeText(tmp.path("tooth.csv"), text);

    for (int op = 0; op < 3; ++op) {
        trelvik::ScriptedPrompt prompt;
        CurrentGrid g;
        trelvik::PointList pts;
        ASSERT_TRUE(ReadCsvGrid({tmp.folder(), "tooth.csv", false, SizeOption::Minimum}, g, pts, prompt).done);
        const Rows before = onScreen(g);
        if (op == 0) RotateCW(g);
        if (op == 1) RotateACW(g);
        if (op == 2) MirrorHoriz(g);
        OutputCurrentGridCsv(g, tmp.path("turned.csv"));

        CurrentGrid back;
        ASSERT_TRUE(ReadCsvGrid({tmp.folder(), "turned.csv", false, SizeOption::Minimum}, back, pts, prompt).done);
        ASSERT_EQ(back.cols, g.cols) << op;
        ASSERT_EQ(back.rows, g.rows) << op;
        EXPECT_NEAR(back.xstep, g.xstep, 1e-9);
        EXPECT_NEAR(back.ystep, g.ystep, 1e-9);
        EXPECT_EQ(onScreen(back), onScreen(g)) << op;
        for (std::size_t i = 0; i < g.cells.size(); ++i) {
            EXPECT_NEAR(back.cells[i].x, g.cells[i].x, 1e-9);
            EXPECT_NEAR(back.cells[i].y, g.cells[i].y, 1e-9);
        }
        // Independent check of the turn on the heights with the margin stripped:
        // top-left of a clockwise turn is the old bottom-left.
        if (op == 0) EXPECT_EQ(onScreen(back)[1][1], before[before.size() - 2][1]);
        if (op == 1) EXPECT_EQ(onScreen(back)[1][1], before[1][before[0].size() - 2]);
    }
}
