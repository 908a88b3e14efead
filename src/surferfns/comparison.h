#pragma once
// "Compare": the listed grids taken in consecutive pairs (1 with 2, 3 with 4, ...) and
// combined node by node into the upper or lower envelope of the two surfaces.
//
// Input: the window's list in the order the grids were added (an empty list is not
//   filled from the file box) and the frame's controls (CompareOptions). Grid B must lie
//   on the same nodes as grid A.
// Output per pair starting at entry i: GridPathNoExt(i) & txtCompGridOutGridText &
//   ".grd" = GridMath "C=max(A,B)" ("Maximum") or "C=min(A,B)" ("Minimum") of A =
//   GridFullName(i), B = GridFullName(i + 1); blank where either is blank. Stored in
//   OutGridName(i) and plotted at layout slot i when "Plot in Surfer" is ticked.
// Refusals (message, nothing written, list kept, before the map window opens): fewer
//   than two grids ("Add the two grids to compare." for none), a listed grid gone from
//   disk, an empty output text, or one that makes an output name equal a listed grid
//   (it would overwrite an input). An odd count
//   compares the pairs and reports the last grid as having no partner. The list is
//   cleared after the pairs. A failed call ends the run with a message; earlier pairs
//   keep their outputs.
#include "surferfns/surffnsstate.h"

#include <string>

namespace trelvik::surffns {

struct CompareOptions {
    bool optCompareMax = true;
    bool optCompareMin = false;
    std::string txtCompGridOutGridText = "_top+plane";
};

BatchOutcome CompareGrids(SurfFnsContext& ctx, const CompareOptions& o);

} // namespace trelvik::surffns
