#pragma once
// "Fix resolution" of the "Surfer Functions" window: regrids every listed grid onto the
// same number of nodes with its origin and spacing rounded to three decimals.
//
// Inputs: the entry's geometry (window geometry, version-6 report sheet or version-8
//   scan); x0 = Round(xMin, 3), dx = Round(x spacing, 3), x1 = (cols - 1) * dx + x0, and
//   y likewise (halves to the even digit).
// Scratch files in a private temporary folder (core/tempfiles.h): "temp.dat" (the
//   mapping program's XYZ text of the grid) and "temp2.dat" (its unblanked nodes as
//   "x,y,z" lines), gone when the entry ends; the output S & "fixres.grd".
// Gridding: version 6 GridData by position (kriging code 1, limits and spacings);
//   version 8 by name (node counts and limits, Algorithm 9, no report).
// The output is plotted whether or not "Plot in Surfer" is ticked; the list is cleared
// only when "Clear filenames after fn" is ticked.
#include "surferfns/gridcalls.h"
#include "surferfns/surffnsstate.h"

namespace trelvik::surffns {

GridDataLattice FixResolutionLattice(const GridGeo& geo);

BatchOutcome cmdFixResolution(SurfFnsContext& ctx);

} // namespace trelvik::surffns
