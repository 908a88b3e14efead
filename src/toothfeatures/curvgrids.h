#pragma once
// The curvature grids of the "Curvature" window, made from its topographic grid.
//
// Curve ("Curvature", frame "All angles"): the greatest directional curvature at every
//   node over the directions 0, i, 2i, ..., N i degrees (i = Text3, N = Int(180 / i);
//   10 gives the 19 directions 0 to 180), made by the same chain as the Surfer
//   Functions window's curvature grid (surferfns/curvaturechain.h), its intermediate
//   grids in a private folder. Result: TopoStem & SmoothTag & "_curv" & i & ".grd" (i in
//   the general number form: "tooth_fwa9,4x3_curv10.grd"), which becomes CurvatureGrid.
//   Plot: version 6 MapContour(grid, 1); version 8 a contour map on the active plot
//   document (a new one when none is open) with a scale bar of 8 cycles of txtScaleBar
//   and the grid's file name as its label.
//   Refused before any grid is written: no topographic grid yet; an interval that is not
//   a number with 0.1 <= i <= 180; a scale-bar spacing that is not a number above 0.
//   The chain's calls move the context's progress; Esc between two calls ends the step
//   (Stopped) with a note and no grid.
// CurveOVAngle ("Curvature", frame "Occlusal angle"): the user digitises two points;
//   digit.dat (in Label1) is copied to TopoStem & "OV.dat"; the direction from the first
//   to the second, counter-clockwise from +x over the full circle (OcclusalAngle),
//   gives OVAngleText (two decimals) and the curvature grid TopoStem & "curvOV" &
//   OVAngleText & ".grd" at the unrounded angle, plotted as a contour map in a new plot
//   document; Label12 shows the angle and a degree sign. The copy and the grid go in
//   place together. Fewer than two points or two equal first points are refused with a
//   message, no file written (the copy of the points taken before stays).
// The grid each makes becomes the curvature grid of tabs 2a and 2b, whose "Current grid"
// labels show the base name it is named from.
// Both check the topographic grid before anything is asked or written: a missing one
// fails with its message (CurveOVAngle refuses it, naming the step that gives it), one
// without data or with fewer than 3 x 3 nodes is refused.
#include "toothfeatures/curvcontrols.h"
#include "toothfeatures/curvstate.h"

namespace trelvik::toothfeatures {

// Degrees, 0 <= angle < 360: ArcCos(dx / |d|) * 180 / 3.14159, and 360 minus that when
// dy < 0. Along +x it is 0, along -x 180 (to the precision of the constant).
// (dx, dy) must not be the zero vector (trelvik::Error).
double OcclusalAngle(double dx, double dy);

StepOutcome Curve(CurvContext& ctx, CurvControls& c);
StepOutcome CurveOVAngle(CurvContext& ctx, CurvControls& c);

} // namespace trelvik::toothfeatures
