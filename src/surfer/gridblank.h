#pragma once
// Blanking of grid nodes by outlines (the stand-in's GridBlank).
//
// blankGrid
//   Input: a grid and the sections of a blanking file, applied one after another. A
//   section with flag 0 blanks every node outside its outline, flag 1 every node inside.
//   Inside follows the even-odd rule; a node on an edge or vertex of the outline (to a
//   part in 1E9 of the node spacing) counts as inside. An outline that does not repeat
//   its first vertex is closed by an edge back to it.
//   Output: the grid with the chosen nodes set to the blank value 1.70141E+38; nodes
//   already blank stay blank. x, y in the grid's units.
//   Method: one scanline per grid row, crossing the outline's edges with the row's
//   line, so the work grows with rows x crossings rather than nodes x vertices.
//   A flag other than 0 or 1 throws trelvik::Error.
#include "core/grid.h"
#include "surfer/blnsections.h"

#include <vector>

namespace surfer {

void blankGrid(trelvik::Grid& grid, const std::vector<BlnSection>& sections);

} // namespace surfer
