#pragma once
// The curvature grid of a smoothed grid: at every node the greatest directional
// curvature over nineteen horizontal directions, 0 to 180 degrees in steps of 10.
//
// Input: G, the full path of the smoothed grid; the run's mapping-program instance and
//   call form (SurfFnsContext). Output: G less its last four characters followed by
//   "_curv10.grd", beside G; the function returns that path.
// Method, all through the mapping program: directional curvature (GridCalculus,
//   version 8 Operation 3 with the angle as Param1; version 6 class 0, kind 2, angle in
//   position 4) at 0, 10, ..., 180 degrees, one grid each, each folded by GridMath into
//   the greatest so far as soon as it is made (m0 = max(d0, d1), then mj = max(d(j + 1),
//   m(j - 1))); the last fold copied into the result.
// Sign: the mapping program's directional curvature is positive where the surface bends
//   upward and negative across a crest; the fold keeps the greatest ("C=max(A,B)") and
//   the copy ("C=A") writes it, in 1 / length units. The tooth-feature curvature tools
//   issue the same chain, so both read one curvature grid the same way.
// Blank: a node blank in a directional grid (grid edge, next to a blank) is blank.
// The 37 intermediate grids are written in a private folder of their own under the
//   system's temporary folder, so they never meet the user's grids; each is deleted as
//   soon as the call that reads it has run, so at most three are there at once (three
//   grids of disk, however many directions), and the folder goes however the chain
//   ends (a killed run's goes when the next private folder is made).
//   A failed call or an intermediate grid that cannot be deleted throws trelvik::Error.
//
// MakeAllAnglesCurvature is the same chain for any angle step and result name, issued
// through a caller of the window's own (the curvature tool holds its own instance):
//   directions 0, step, ..., N * step with N = Int(180 / step) (step 7: 0 to 175; a
//   quotient a rounding short of a whole number counts as that number: 0.1 gives 1800),
//   folds m0 .. m(N - 1), the last copied into `result`. A step outside 0 < step <= 180
//   (or one giving more than kMaxCurvatureDirections directions) throws trelvik::Error
//   before any call. DirectionalCurvature is the single GridCalculus call of the chain.
//   Progress: one step per call (directions, folds, the copy); Esc between two calls
//   throws trelvik::Stopped and leaves `result` unwritten (and the private folder gone).
#include "surferfns/surffnsstate.h"

#include <functional>
#include <string>

namespace trelvik::surffns {

inline constexpr int kCurvatureStep = 10;  // degrees between directions

// The result name for a smoothed grid G: G less its last four characters & "_curv10.grd".
std::string CurvatureGridName(const std::string& smoothedGrid);

// With `result` given (a working name of the step's own), the grid is written there instead.
std::string MakeCurvatureGrid(SurfFnsContext& ctx, const std::string& smoothedGrid, const std::string& result = {});

// Issues one operation: v6 by position on a version-6 instance, v8 by name on a
// version-8 one (and nothing under another version token). Throws trelvik::Error.
using CurvatureCall =
    std::function<void(const std::string& operation, const surfer::Positional& v6, const surfer::Named& v8)>;

// Directions a tenth of a degree apart already give the greatest curvature to a part in
// 10^6; finer steps would only multiply the calls (each direction a whole grid).
inline constexpr long kMaxCurvatureDirections = 1801;

// N of a step: the directions are 0 .. N (N + 1 of them).
double CurvatureStepCount(double stepDegrees);

void DirectionalCurvature(const CurvatureCall& call, const std::string& grid, double angleDegrees,
                          const std::string& out);
void MakeAllAnglesCurvature(const CurvatureCall& call, const std::string& grid, double stepDegrees,
                            const std::string& result, Progress& progress = noProgress());

} // namespace trelvik::surffns
