// Filters of the "Proc" frame against hand-computed grids and brute-force oracles.
#include "csvview/imagefilters.h"
#include "test_csvhelpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace trelvik::csvview;

namespace {

// cols x rows grid, z from a table given top row first (as the view shows it).
LatticeGrid shown(int cols, int rows, std::vector<double> topFirst) {
    LatticeGrid g(cols, rows);
    for (int r = 1; r <= rows; ++r)
        for (int c = 1; c <= cols; ++c) g.at(c, r) = {double(c), double(r), topFirst[(rows - r) * cols + (c - 1)]};
    auto [lo, hi] = std::minmax_element(g.cells.begin(), g.cells.end(),
                                        [](const GridCell& a, const GridCell& b) { return a.z < b.z; });
    g.zmin = lo->z;
    g.zmax = hi->z;
    return g;
}

std::vector<double> topFirstOf(const LatticeGrid& g) {
    std::vector<double> v;
    for (int r = g.rows; r >= 1; --r)
        for (int c = 1; c <= g.cols; ++c) v.push_back(g.z(c, r));
    return v;
}

LatticeGrid randomGrid(int cols, int rows, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> d(0, 3);
    LatticeGrid g(cols, rows);
    for (auto& c : g.cells) c.z = std::round(d(gen) * 4) / 4;  // ties on purpose
    g.zmin = 0;
    g.zmax = 3;
    return g;
}

// The grid inside a ring of empty cells, as a read with the minimum size lays it out.
LatticeGrid withEmptyRing(const LatticeGrid& g) {
    LatticeGrid out(g.cols + 2, g.rows + 2);
    for (auto& c : out.cells) c.z = kVoidHeight;
    for (int r = 1; r <= g.rows; ++r)
        for (int c = 1; c <= g.cols; ++c) out.z(c + 1, r + 1) = g.z(c, r);
    out.zmin = g.zmin;
    out.zmax = g.zmax;
    return out;
}

// The cells inside the ring, and whether the ring stayed empty.
LatticeGrid insideRing(const LatticeGrid& g, bool& ringEmpty) {
    LatticeGrid in(g.cols - 2, g.rows - 2);
    ringEmpty = true;
    for (int r = 1; r <= g.rows; ++r)
        for (int c = 1; c <= g.cols; ++c) {
            if (c == 1 || r == 1 || c == g.cols || r == g.rows) ringEmpty = ringEmpty && g.isVoidCell(c, r);
            else in.z(c - 1, r - 1) = g.z(c, r);
        }
    return in;
}

} // namespace

TEST(Laplacian, FlatGridLeavesBorderEffectsOnly) {
    const LatticeGrid g = shown(4, 3, std::vector<double>(12, 2.0));
    // Corners miss two neighbours (4*2 - 2*2), edges one (4*2 - 3*2), inside none.
    const std::vector<double> want = {4, 2, 2, 4, 2, 0, 0, 2, 4, 2, 2, 4};
    EXPECT_EQ(topFirstOf(LaplacianFilter(g)), want);
    // Empty neighbours are missing neighbours too, not heights of 9999.
    bool ringEmpty = false;
    EXPECT_EQ(topFirstOf(insideRing(LaplacianFilter(withEmptyRing(g)), ringEmpty)), want);
    EXPECT_TRUE(ringEmpty);
}

TEST(Laplacian, SingleSpikeAndNegativeResponsesCutToZero) {
    std::vector<double> z(25, 0.0);
    z[12] = 1;  // centre of 5 x 5
    const LatticeGrid out = LaplacianFilter(shown(5, 5, z));
    std::vector<double> want(25, 0.0);
    want[12] = 4;  // its four neighbours would be -1: cut to 0
    EXPECT_EQ(topFirstOf(out), want);
    EXPECT_EQ(out.at(2, 4).x, 2.0);  // nodes carried from the working grid
    EXPECT_EQ(out.at(2, 4).y, 4.0);
}

TEST(Convolution, OffsetsPointAlongColumnsAndRows) {
    // z(c, r) = c + 3 (r - 1); kernel: right neighbour x1, upper neighbour x10.
    LatticeGrid g(3, 3);
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c) g.z(c, r) = c + 3 * (r - 1);
    Kernel k(1, 1);
    k.weight(1, 0) = 1;
    k.weight(0, 1) = 10;
    const LatticeGrid out = ConvolveGridKernel(g, k);
    EXPECT_EQ(out.z(1, 1), 2 + 40);
    EXPECT_EQ(out.z(2, 2), 6 + 80);
    EXPECT_EQ(out.z(3, 1), 0 + 60);  // no right neighbour
    EXPECT_EQ(out.z(2, 3), 9 + 0);   // no upper neighbour
    EXPECT_EQ(out.z(3, 3), 0);
}

TEST(Convolution, FiveByFiveMatchesCellByCellSumSkippingEmptyCells) {
    LatticeGrid g = randomGrid(13, 9, 7);
    g.z(1, 1) = kVoidHeight;
    g.z(7, 5) = kVoidHeight;
    Kernel k(2, 2);
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> d(-1, 1);
    for (auto& w : k.weights) w = d(gen);
    const LatticeGrid out = ConvolveGridKernel(g, k);
    for (int j = 1; j <= g.rows; ++j)
        for (int i = 1; i <= g.cols; ++i) {
            double sum = 0;
            for (int cv = -2; cv <= 2; ++cv)
                for (int cu = -2; cu <= 2; ++cu)
                    if (g.inside(i + cu, j + cv) && !g.isVoidCell(i + cu, j + cv))
                        sum += k.weight(cu, cv) * g.z(i + cu, j + cv);
            ASSERT_EQ(out.z(i, j), g.isVoidCell(i, j) ? kVoidHeight : sum) << i << "," << j;
        }
}

TEST(LocalMax, PeakOnFloorMarksPeakAndFarFloor) {
    std::vector<double> z(25, 0.5);
    z[12] = 1;
    const LatticeGrid g = shown(5, 5, z);
    // 0.5 + 0.1 < 1: the peak's neighbours are not marked; the border cells whose
    // window misses the peak are their window's highest.
    const std::vector<double> want = {1, 1,   1,   1,   1,  //
                                      1, 0.5, 0.5, 0.5, 1,  //
                                      1, 0.5, 1,   0.5, 1,  //
                                      1, 0.5, 0.5, 0.5, 1,  //
                                      1, 1,   1,   1,   1};
    EXPECT_EQ(topFirstOf(LocalMaxFilter(g, 3, 0.1, 0.1)), want);
    EXPECT_EQ(topFirstOf(LocalMaxFilter(g, 3, 0.1, 0)), want);  // ties count as highest
    // Hdiff reaching the gap marks everything.
    EXPECT_EQ(topFirstOf(LocalMaxFilter(g, 3, 0.1, 0.5)), std::vector<double>(25, 1.0));
    // An empty margin is neither a cusp nor higher than the floor beside it.
    bool ringEmpty = false;
    EXPECT_EQ(topFirstOf(insideRing(LocalMaxFilter(withEmptyRing(g), 3, 0.1, 0.1), ringEmpty)), want);
    EXPECT_TRUE(ringEmpty);
}

TEST(LocalMax, ThresholdsAndZeroCells) {
    // Prop 0.1 on zmax 5: cells below 0.5 are never marked.
    const LatticeGrid g = shown(3, 1, {0.4, 0, 5});
    const CuspThreshold hmin = readCuspThreshold(ThresholdRule::Prop, "0.3", "0.1", g.zmax, {});
    EXPECT_DOUBLE_EQ(hmin.value, 0.5);
    EXPECT_DOUBLE_EQ(hmin.proportion, 0.1);
    EXPECT_EQ(hmin.absolute, 0);
    // Alone in a 1-wide window each cell is its own highest; 0.4 is below Hmin and
    // the zero cell is never marked.
    EXPECT_EQ(topFirstOf(LocalMaxFilter(g, 1, hmin.value, 0)), (std::vector<double>{0, 0, 5}));
    EXPECT_EQ(topFirstOf(LocalMaxFilter(g, 1, 0, 0)), (std::vector<double>{5, 0, 5}));
}

TEST(LocalMax, MatchesBruteForceForAllKernelSizes) {
    const LatticeGrid g = randomGrid(11, 8, 11);
    for (int k : {3, 5, 7})
        for (double hdiff : {0.0, 0.25}) {
            const LatticeGrid out = LocalMaxFilter(g, k, 0.5, hdiff);
            const int h = (k - 1) / 2;
            for (int j = 1; j <= g.rows; ++j)
                for (int i = 1; i <= g.cols; ++i) {
                    const double c = g.z(i, j);
                    double m = -1e10;
                    for (int cu = -h; cu <= h; ++cu)
                        for (int cv = -h; cv <= h; ++cv)
                            if (g.inside(i + cu, j + cv)) m = std::max(m, g.z(i + cu, j + cv));
                    const bool mark = c >= 0.5 && m != 0 && c != 0 && c + hdiff >= m;
                    ASSERT_EQ(out.z(i, j), mark ? g.zmax : g.zmin) << k << " " << i << "," << j;
                }
        }
}

