#pragma once
// GridFilter and GridMatrixSmooth: grids smoothed or sharpened by a weighted window
// moved over every node, repeated for a number of passes (each pass works on the result
// of the one before). Output on the input's lattice, in the input's z unit.
//
// Filter codes (version 8) and their weights; d is a neighbour's distance from the
// centre in nodes, D = sqrt(hr^2 + hc^2) + 1 for a window of (2hr+1) rows by (2hc+1)
// columns (NumRow x NumCol, both odd):
//   1  moving average             every weight 1
//   2  distance weighting         (1 - d/D)^p, p = Param1 (2 when not given)
//   3  inverse distance           1 / d^p off the centre, p = Param1 (2 when not given);
//                                 centre weight Param2 (1 when not given)
//   4  Gaussian low pass          exp(-alpha (d/D)^2), alpha = Param1 (2 when not given)
//   5  user matrix                UserFilter, NumRow x NumCol weights, row by row
//   6  5-node + average           3 x 3: 0 1 0 / 1 1 1 / 0 1 0
//   7  5-node x average           3 x 3: 1 0 1 / 0 1 0 / 1 0 1
//   8  9-node average             3 x 3: all 1
//   9  Gaussian 3 x 3             1 2 1 / 2 4 2 / 1 2 1
//   10, 11, 12 low pass 1, 2, 3   3 x 3: all 1 with centre 2, 4, 12
//   14 high pass 1                -1 -1 -1 / -1  9 -1 / -1 -1 -1
//   15 high pass 2                 0 -1  0 / -1  5 -1 /  0 -1  0
//   16 high pass 3                 1 -2  1 / -2  5 -2 /  1 -2  1
// Low-pass filters (1 to 12) divide by the sum of the weights of the neighbours that
// exist and are not blank, so edges and holes keep the surface's level; a node whose
// neighbours all weigh 0 is blank. High-pass filters need the whole 3 x 3 block: a node
// at the edge or next to a blank keeps its value. Blank nodes stay blank.
// Code 13 and codes outside 1 to 16 are errors, as are an even or non-positive size, a
// user matrix of the wrong size, or passes below 1.
//
// GridMatrixSmooth (version 6): a (2*rowRadius+1) x (2*colRadius+1) moving average whose
// centre weighs centreWeight and every other node 1, renormalised as the low-pass filters.
#include "core/grid.h"

#include <optional>
#include <vector>

namespace surfer {

struct GridFilterRequest {
    int code = 1;
    int numRows = 3, numCols = 3;
    int passes = 1;
    std::optional<double> param1, param2;
    std::vector<double> userFilter;  // numRows * numCols, row by row (code 5)
};

trelvik::Grid applyGridFilter(const trelvik::Grid& in, const GridFilterRequest& request);
trelvik::Grid matrixSmooth(const trelvik::Grid& in, double centreWeight, int rowRadius, int colRadius);

} // namespace surfer
