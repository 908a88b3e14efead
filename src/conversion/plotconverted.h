#pragma once
// PlotSurfer of the conversion window: one converted grid drawn as a map in the
// mapping program's plot, laid out by its place n = FileIndex in the batch list, with
// its file name as a label.
//
// Version 8: attaches afresh to the running instance (state.m_Surfer replaced); adds a
//   relief (1), contour (2), image (3) or 3-D surface (4) map of the grid to the active
//   plot document; a 3-D surface gets a vertical scale equal to the horizontal, light
//   from azimuth 135 and zenith 45, perspective projection, rotation 45 and tilt 30.
//   Maps run 8 to a row: the frame moves 18 page units right per column and 18 down
//   per row, c = (n - 1) mod 8, r = Int((n - 1) / 8). With "Label" ticked the file name
//   (the part after the last separator) is written at (10.44 - XLength / 2 + 18 c,
//   13.5 - YLength / 2 - 18 r), centred horizontally and anchored at its bottom.
// Version 6: always a labelled relief map through the positional calls, rows of 10:
//   the map and its label move by (4 (n - 10 Int((n - 1) / 10)), -7 Int((n - 1) / 10)).
// Another version token, or a map type outside 1..4, plots nothing.
// Failures of the mapping program (no plot document, unreadable grid) throw
// trelvik::Error.
#include "conversion/convstate.h"

#include <string>

namespace trelvik::conversion {

void PlotSurfer(ConvContext& ctx, const std::string& GridFile, int PlotType);

} // namespace trelvik::conversion
