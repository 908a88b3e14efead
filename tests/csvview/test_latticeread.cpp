#include "csvview/latticeread.h"

#include "core/error.h"
#include "formats/latticecsv.h"
#include "test_csvhelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <set>

using namespace trelvik;
using namespace trelvik::csvview;
using csvtest::TempDir;
using csvtest::writeText;

namespace {

std::string latticeText(int nx, int ny, double hx, double hy, double x0, double y0) {
    std::string s;
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            const double x = x0 + i * hx, y = y0 + j * hy;
            s += std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(1 + 0.1 * i + 0.01 * j) + "\r\n";
        }
    return s;
}

class LatticeRead : public ::testing::Test {
protected:
    ReadCsvOutcome read(const std::string& name, SizeOption size = SizeOption::Minimum, bool orig = false) {
        return readInto(g, name, size, orig);
    }
    ReadCsvOutcome readInto(CurrentGrid& grid, const std::string& name, SizeOption size = SizeOption::Minimum,
                            bool orig = false) {
        return ReadCsvGrid({t.dir.string(), name, orig, size}, grid, pts, p);
    }
    TempDir t;
    CurrentGrid g;
    PointList pts;
    ScriptedPrompt p;
};

} // namespace

TEST_F(LatticeRead, DefaultAndMinimumSizesOfA24By24Lattice) {
    writeText(t.path("tooth.csv"), latticeText(24, 24, 1, 1, 1, 1));
    ASSERT_TRUE(read("tooth.csv", SizeOption::Default).done);
    EXPECT_EQ(g.cols, 24);
    EXPECT_EQ(g.rows, 24);
    EXPECT_EQ(std::count(g.filled.begin(), g.filled.end(), 1), 576);
    EXPECT_DOUBLE_EQ(g.at(5, 7).x, 5);
    EXPECT_DOUBLE_EQ(g.at(5, 7).y, 7);
    EXPECT_NEAR(g.at(5, 7).z, 1 + 0.4 + 0.06, 1e-9);

    ASSERT_TRUE(read("tooth.csv", SizeOption::Minimum).done);
    EXPECT_EQ(g.cols, 26);
    EXPECT_EQ(g.rows, 26);
    for (int i = 1; i <= 26; ++i) {
        EXPECT_TRUE(g.isVoidCell(i, 1) && g.isVoidCell(i, 26) && g.isVoidCell(1, i) && g.isVoidCell(26, i));
    }
    EXPECT_DOUBLE_EQ(g.at(1, 1).x, 0);  // margin cells sit on their node positions
    EXPECT_DOUBLE_EQ(g.at(26, 26).y, 25);
    EXPECT_DOUBLE_EQ(g.at(6, 8).x, 5);
    EXPECT_EQ(g.baseName, "tooth");
    EXPECT_EQ(g.path, t.dir.string() + "/tooth.csv");
    EXPECT_TRUE(p.shown.empty());
}

TEST_F(LatticeRead, StepsFromShuffledPointsAndPlacementByRounding) {
    // 0.05 x 0.1 lattice whose coordinates are multiples of the step that truncation
    // would misplace (0.3 / 0.1 is just below 3 in binary).
    PointList lattice;
    for (int j = 0; j < 21; ++j)
        for (int i = 0; i < 31; ++i) lattice.push_back({i * 0.05, j * 0.1, 2.0 + i * j * 0.001});
    std::mt19937 rng(7);
    std::shuffle(lattice.begin() + 2, lattice.end(), rng);
    // keep one consecutive pair one step apart in each coordinate
    lattice[0] = {0.3, 0.7, 5};
    lattice[1] = {0.35, 0.8, 6};
    formats::writeLatticeCsv(t.path("s.dat"), lattice);

    ASSERT_TRUE(read("s.dat").done);
    EXPECT_DOUBLE_EQ(g.xstep, 0.05);
    EXPECT_DOUBLE_EQ(g.ystep, 0.1);
    EXPECT_EQ(g.cols, 33);
    EXPECT_EQ(g.rows, 23);
    // Every distinct node got its own cell, at its own position.
    std::set<std::pair<long, long>> distinct;
    for (const auto& q : pts) distinct.insert({std::lround(q.x / 0.05), std::lround(q.y / 0.1)});
    EXPECT_EQ(static_cast<std::size_t>(std::count(g.filled.begin(), g.filled.end(), 1)), distinct.size());
    for (int r = 1; r <= g.rows; ++r)
        for (int c = 1; c <= g.cols; ++c) {
            EXPECT_NEAR(g.at(c, r).x, (c - 2) * 0.05, 1e-9);
            EXPECT_NEAR(g.at(c, r).y, (r - 2) * 0.1, 1e-9);
        }
    // The later of two points for one node wins: (0.3, 0.7) and (0.35, 0.8) were moved.
    EXPECT_EQ(formats::latticeIndex(0.3, 0.1), 4);
}

TEST_F(LatticeRead, PointAtOriginIsARealCell) {
    writeText(t.path("o.csv"), "0,0,0\r\n1,0,2\r\n0,1,3\r\n1,1,4\r\n");
    ASSERT_TRUE(read("o.csv").done);
    ASSERT_EQ(g.cols, 4);
    EXPECT_TRUE(g.isFilled(2, 2));
    EXPECT_EQ(g.z(2, 2), 0.0);
    EXPECT_EQ(g.z(3, 3), 4.0);
    EXPECT_TRUE(g.isVoidCell(1, 1));
}

TEST_F(LatticeRead, ExtentsWithBlankNoiseAndOriginalModel) {
    writeText(t.path("b.csv"),
              "0,0,2\r\n1,0,-0.00005\r\n2,0,1.70141E+38\r\n0,1,5\r\n1,1,3\r\n2,1,0.5\r\n");
    ASSERT_TRUE(read("b.csv").done);
    EXPECT_DOUBLE_EQ(g.zmin, 0.5);  // -0.00005 never becomes the minimum
    EXPECT_DOUBLE_EQ(g.zmax, 5);    // the blank does not raise it
    EXPECT_DOUBLE_EQ(g.z(4, 2), 0.5);  // the blank took the lowest height

    // Negated: heights -2, 0.00005, blank, -5, -3, -0.5. The blank must not turn into
    // -1.7E+38 and become the minimum.
    ASSERT_TRUE(read("b.csv", SizeOption::Minimum, true).done);
    EXPECT_DOUBLE_EQ(g.zminBeforeRezero, -5);
    EXPECT_DOUBLE_EQ(g.zmin, 0);
    EXPECT_DOUBLE_EQ(g.zmax, 0.00005 + 5);
    EXPECT_DOUBLE_EQ(g.z(2, 3), 0);      // the old maximum 5 is now the base
    EXPECT_DOUBLE_EQ(g.z(4, 2), 0);      // the blank took the lowest height
    EXPECT_DOUBLE_EQ(g.z(2, 2), 3);      // -2 - (-5)
}

TEST_F(LatticeRead, WrittenGridReadsBackWithSameExtents) {
    writeText(t.path("a.csv"), "10,20,1\r\n10.5,20,2\r\n10,20.5,3\r\n11,21,4\r\n");
    ASSERT_TRUE(read("a.csv").done);
    PointList out;
    for (const auto& c : g.cells) out.push_back({c.x, c.y, c.z});  // as "Output CSV" writes the grid
    formats::writeLatticeCsv(t.path("b.csv"), out);
    CurrentGrid g2;
    ASSERT_TRUE(readInto(g2, "b.csv").done);
    EXPECT_EQ(g2.cols, g.cols);
    EXPECT_EQ(g2.rows, g.rows);
    EXPECT_DOUBLE_EQ(g2.xmin, 10);
    EXPECT_DOUBLE_EQ(g2.ymax, 21);
    EXPECT_DOUBLE_EQ(g2.zmax, 4);
    for (std::size_t k = 0; k < g.cells.size(); ++k) {
        EXPECT_DOUBLE_EQ(g2.cells[k].x, g.cells[k].x);
        EXPECT_DOUBLE_EQ(g2.cells[k].z, g.cells[k].z);
        EXPECT_EQ(g2.filled[k], g.filled[k]);
    }
}

TEST_F(LatticeRead, RefusalsAndMessages) {
    EXPECT_FALSE(read("*.csv").done);
    ASSERT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.shown[0].title, "Filename");
    EXPECT_EQ(p.shown[0].text, "Choose csv filename");
    EXPECT_FALSE(p.busyNow);

    // "Other" before any read has no size to keep.
    writeText(t.path("one.csv"), "3,4,7\r\n");
    EXPECT_FALSE(read("one.csv", SizeOption::Other).done);
    EXPECT_EQ(g.cols, 0);

    // One point: no step; one clear message and a 3 x 3 grid around the point.
    p.shown.clear();
    ASSERT_TRUE(read("one.csv").done);
    ASSERT_EQ(p.shown.size(), 1u);
    EXPECT_EQ(p.shown[0].title, "Error");
    EXPECT_NE(p.shown[0].text.find("no lattice step"), std::string::npos);
    EXPECT_EQ(g.cols, 3);
    EXPECT_EQ(g.rows, 3);
    EXPECT_EQ(g.z(2, 2), 7);
    // Now "Other" keeps Minimum.
    EXPECT_TRUE(read("one.csv", SizeOption::Other).done);
    EXPECT_EQ(g.sizeMode, SizeMode::Minimum);

    // Missing and malformed files: an error naming the file; the grid stays.
    EXPECT_THROW(read("none.csv"), Error);
    writeText(t.path("bad.csv"), "1,2,3\r\n1,x,3\r\n");
    try {
        read("bad.csv");
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("bad.csv"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("line 2"), std::string::npos);
    }
    EXPECT_EQ(g.cols, 3);
    EXPECT_FALSE(p.busyNow);
}

TEST_F(LatticeRead, DefaultSizeLeavesOutPointsOffTheLattice) {
    writeText(t.path("d.csv"), "1,1,1\r\n2,1,2\r\n1,2,3\r\n30,2,4\r\n");
    const auto out = read("d.csv", SizeOption::Default);
    ASSERT_TRUE(out.done);
    EXPECT_EQ(out.pointsOutside, 1);
    EXPECT_EQ(std::count(g.filled.begin(), g.filled.end(), 1), 3);
}
