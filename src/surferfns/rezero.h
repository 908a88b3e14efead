#pragma once
// "Rezero" of the "Surfer Functions" window: shifts every listed grid so that its least
// x, least y and least z become 0.
//
// Inputs: the entry's geometry with z (window geometry: version-6 report sheet or
//   version-8 scan). Method: GridTransform (Operation 1, offsets -xMin and -yMin) into
//   a private temporary grid (core/tempfiles.h), then GridMath "C = A - " & zMin (general
//   number form) into S & "rz.grd"; both calls by name on either version. The temporary
//   grid goes afterwards, also when a call fails. Output: S & "rz.grd", plotted by the
//   batch when "Plot in Surfer" is ticked. Blank nodes stay blank.
#include "surferfns/surffnsstate.h"

#include <string>

namespace trelvik::surffns {

// The GridMath function text that lowers a grid by zMin.
std::string RezeroFunction(double zMin);

BatchOutcome cmdReZero(SurfFnsContext& ctx);

} // namespace trelvik::surffns
