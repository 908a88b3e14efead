// Filters against hand-computed results on a 3 x 3 grid:
//   row 2 (top):    3 0 5
//   row 1:          0 4 0
//   row 0 (bottom): 1 0 2
#include "surfer/gridfilter.h"

#include "core/error.h"

#include <gtest/gtest.h>

#include <cmath>

using trelvik::Grid;

namespace {

Grid sample() {
    Grid g(3, 3, 0, 2, 0, 2, 0);
    const double v[9] = {1, 0, 2, 0, 4, 0, 3, 0, 5};
    for (int i = 0; i < 9; ++i) g.z[static_cast<std::size_t>(i)] = v[i];
    return g;
}

double filtered(int code, int col, int row, const Grid& g = sample()) {
    surfer::GridFilterRequest r;
    r.code = code;
    return surfer::applyGridFilter(g, r).at(col, row);
}

} // namespace

TEST(GridFilter, FixedKernelsAtCentreAndCorner) {
    EXPECT_DOUBLE_EQ(filtered(8, 1, 1), 15.0 / 9);       // 9-node average
    EXPECT_DOUBLE_EQ(filtered(8, 0, 0), 5.0 / 4);        // renormalised over 4 nodes
    EXPECT_DOUBLE_EQ(filtered(6, 1, 1), 4.0 / 5);        // + shape
    EXPECT_DOUBLE_EQ(filtered(7, 1, 1), 15.0 / 5);       // x shape
    EXPECT_DOUBLE_EQ(filtered(9, 1, 1), 27.0 / 16);      // Gaussian 1-2-1
    EXPECT_DOUBLE_EQ(filtered(9, 0, 0), 8.0 / 9);        // weights 4, 2, 2, 1 present
    EXPECT_DOUBLE_EQ(filtered(10, 1, 1), 19.0 / 10);     // low pass 1: centre 2
    EXPECT_DOUBLE_EQ(filtered(11, 1, 1), 27.0 / 12);     // low pass 2: centre 4
    EXPECT_DOUBLE_EQ(filtered(12, 1, 1), 59.0 / 20);     // low pass 3: centre 12
    EXPECT_DOUBLE_EQ(filtered(14, 1, 1), 36.0 - 11);     // high pass 1
    EXPECT_DOUBLE_EQ(filtered(15, 1, 1), 20.0);          // high pass 2: 5*4 - 0
    EXPECT_DOUBLE_EQ(filtered(16, 1, 1), 20.0 + 11);     // high pass 3: corners +1
    EXPECT_DOUBLE_EQ(filtered(14, 0, 0), 1.0);           // incomplete block keeps its value
}

TEST(GridFilter, BlanksStayBlankAndAreLeftOutOfTheWeights) {
    Grid g = sample();
    g.at(2, 2) = trelvik::kBlank;
    EXPECT_DOUBLE_EQ(filtered(8, 1, 1, g), 10.0 / 8);
    EXPECT_TRUE(trelvik::isBlank(filtered(8, 2, 2, g)));
    EXPECT_DOUBLE_EQ(filtered(14, 1, 1, g), 4.0);  // high pass next to a blank: unchanged
}

TEST(GridFilter, ParametersSizesPassesAndUserMatrix) {
    surfer::GridFilterRequest r;
    r.code = 3;  // inverse distance: edges 1, corners 1/2, centre Param2
    r.param1 = 2;
    r.param2 = 3;
    EXPECT_DOUBLE_EQ(surfer::applyGridFilter(sample(), r).at(1, 1), 17.5 / 9);

    r.code = 2;  // distance weighting, power 1: D = sqrt 2 + 1
    r.param1 = 1;
    r.param2.reset();
    const double s2 = std::sqrt(2.0);
    EXPECT_NEAR(surfer::applyGridFilter(sample(), r).at(1, 1), (4 + 11 * (s2 - 1)) / 5, 1e-14);

    r = {};
    r.code = 4;  // Gaussian with alpha 0 is the plain average
    r.param1 = 0;
    EXPECT_DOUBLE_EQ(surfer::applyGridFilter(sample(), r).at(1, 1), 15.0 / 9);

    r = {};
    r.code = 5;
    r.userFilter = {1, 1, 1, 1, 4, 1, 1, 1, 1};
    EXPECT_DOUBLE_EQ(surfer::applyGridFilter(sample(), r).at(1, 1), 27.0 / 12);
    r.userFilter.pop_back();
    EXPECT_THROW(surfer::applyGridFilter(sample(), r), trelvik::Error);

    r = {};
    r.code = 8;
    r.passes = 2;  // the first pass's nine values average to 14.75 / 9 at the centre
    EXPECT_NEAR(surfer::applyGridFilter(sample(), r).at(1, 1), 14.75 / 9, 1e-14);

    r = {};
    r.code = 1;
    r.numRows = 1;  // a 1 x 3 window along x
    EXPECT_DOUBLE_EQ(surfer::applyGridFilter(sample(), r).at(1, 1), 4.0 / 3);

    for (int bad : {0, 13, 17}) {
        r = {};
        r.code = bad;
        EXPECT_THROW(surfer::applyGridFilter(sample(), r), trelvik::Error) << bad;
    }
    r = {};
    r.numRows = r.numCols = 4;
    EXPECT_THROW(surfer::applyGridFilter(sample(), r), trelvik::Error);
    r = {};
    r.passes = 0;
    EXPECT_THROW(surfer::applyGridFilter(sample(), r), trelvik::Error);
}

TEST(GridMatrixSmooth, CentreWeightedWindow) {
    EXPECT_DOUBLE_EQ(surfer::matrixSmooth(sample(), 4, 1, 1).at(1, 1), 27.0 / 12);
    EXPECT_DOUBLE_EQ(surfer::matrixSmooth(sample(), 4, 0, 1).at(1, 1), 16.0 / 6);  // one row, three columns
    EXPECT_DOUBLE_EQ(surfer::matrixSmooth(sample(), 4, 1, 1).at(0, 0), (4.0 + 4) / 7);
}
