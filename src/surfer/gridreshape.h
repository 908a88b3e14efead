#pragma once
// Lattice reshaping of grids (the stand-in's GridExtract and GridTransform).
//
// extractGrid
//   Input: a grid; rows r1..r2 and columns c1..c2 counted from 1 (row 1 the least y,
//   column 1 the least x), every rFreq-th row and cFreq-th column starting at r1 and c1.
//   -1 stands for the first row or column (r1, c1), the last (r2, c2) or a step of 1.
//   Output: the sub-grid; its extents are the x and y of its outer nodes. Blank nodes stay
//   blank. A range outside the grid, reversed, or a step below 1 throws trelvik::Error.
//
// transformGrid
//   Input: a grid and one operation: Offset (x and y moved by xOffset, yOffset),
//   Rotate (quarter turns, rotation in degrees counter-clockwise, a multiple of 90; -90 is
//   a clockwise quarter turn), MirrorX (x reversed), MirrorY (y reversed).
//   Output: the transformed grid. Mirrors keep the extents; a turned grid keeps its
//   lower-left corner where the input's was, with the spacings exchanged for odd quarter
//   turns. A rotation that is not a multiple of 90 throws trelvik::Error.
#include "core/grid.h"

namespace surfer {

trelvik::Grid extractGrid(const trelvik::Grid& g, long r1, long r2, long rFreq, long c1, long c2, long cFreq);

enum class TransformOp { Offset, Rotate, MirrorX, MirrorY };
trelvik::Grid transformGrid(const trelvik::Grid& g, TransformOp op, double xOffset, double yOffset, double rotation);

} // namespace surfer
