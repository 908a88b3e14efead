#pragma once
// Height of a grid at any point by bilinear interpolation between the four nodes of the
// cell holding it. Input: the grid and x, y in its units. Output: the height, or the
// blank value 1.70141E+38 when the point lies outside the grid's extents or a node that
// carries weight is blank (a point on a grid line needs only the two nodes of that line,
// a point on a node only the node). Points within a part in 1E9 of a spacing of a grid
// line, or outside an edge, count as on it.
#include "core/grid.h"

namespace surfer {

double bilinearHeight(const trelvik::Grid& g, double x, double y);

} // namespace surfer
