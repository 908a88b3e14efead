#pragma once
// Quarter turns, half turn and mirrors of the viewer's current grid, in place.
//
// Input and output: the CurrentGrid at its present size (cols x rows), "left",
// "right", "top" and "bottom" as the grid view shows it (column 1 at the left, the
// highest row at the top).
//
//  MirrorVert   heights flipped top to bottom: cell (a, b) takes z of (a, rows - b + 1).
//  MirrorHoriz  heights flipped left to right: cell (a, b) takes z of (cols - a + 1, b).
//               Mirrors move heights and filled flags only; x, y stay put.
//  RotateCW     a quarter turn clockwise on screen: cols and rows swap and cell (p, q)
//               takes z of old cell (cols - q + 1, p).
//  RotateACW    anticlockwise: cell (p, q) takes z of old cell (q, rows - p + 1).
//  Rotate180    two clockwise turns: cell (a, b) takes z of (cols - a + 1, rows - b + 1);
//               x and y stay put.
//
// After a quarter turn the grid is again a proper lattice: cell (p, q) lies at
// x = x1 + (p - 1) * xstep', y = y1 + (q - 1) * ystep', where (x1, y1) is the node of
// cell (1, 1) and the steps are exchanged (xstep' = old ystep). So the grid written
// by "Output CSV" reads back turned, as shown. The built size (nx, ny), the limits
// and the x, y extents follow the new lattice; the height range is unchanged.
//
// Each returns false and changes nothing when no grid has been read.
#include "csvview/latticegrid.h"

namespace trelvik::csvview {

bool MirrorVert(CurrentGrid& grid);
bool MirrorHoriz(CurrentGrid& grid);
bool RotateCW(CurrentGrid& grid);
bool RotateACW(CurrentGrid& grid);
bool Rotate180(CurrentGrid& grid);

} // namespace trelvik::csvview
