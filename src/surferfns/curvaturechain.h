#pragma once
// The curvature grid of a smoothed grid: at every node the greatest directional
// curvature over nineteen horizontal directions, 0 to 180 degrees in steps of 10.
//
// Input: G, the full path of the smoothed grid; the run's mapping-program instance and
//   call form (SurfFnsContext). Output: G less its last four characters followed by
//   "_curv10.grd", beside G; the function returns that path.
// Method, all through the mapping program: directional curvature (GridCalculus,
//   version 8 Operation 3 with the angle as Param1; version 6 class 0, kind 2, angle in
//   position 4) at 0, 10, ..., 180 degrees, one grid each; a running fold of the
//   nineteen grids by GridMath; the last fold copied into the result.
// Sign: the mapping program's directional curvature is positive where the surface bends
//   upward and negative across a crest; the fold keeps the greatest ("C=max(A,B)") and
//   the copy ("C=A") writes it, in 1 / length units. The tooth-feature curvature tools
//   issue the same chain, so both read one curvature grid the same way.
// Blank: a node blank in a directional grid (grid edge, next to a blank) is blank.
// The 37 intermediate grids are written in a private folder of their own under the
//   system's temporary folder, so they never meet the user's grids; each is deleted as
//   soon as the call that reads it has run, and the folder goes however the chain ends.
//   A failed call or an intermediate grid that cannot be deleted throws trelvik::Error.
#include "surferfns/surffnsstate.h"

#include <string>

namespace trelvik::surffns {

inline constexpr int kCurvatureStep = 10;  // degrees between directions

// The result name for a smoothed grid G: G less its last four characters & "_curv10.grd".
std::string CurvatureGridName(const std::string& smoothedGrid);

std::string MakeCurvatureGrid(SurfFnsContext& ctx, const std::string& smoothedGrid);

} // namespace trelvik::surffns
