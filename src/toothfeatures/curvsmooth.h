#pragma once
// The smoothing and input steps of the "Curvature" window.
//
// Smooth ("Smoothing"): the grid Label1/Text1 smoothed into the topographic grid
//   TopoStem & SmoothTag & ".grd", SmoothTag = "_fwa" (Average) or "_glp" (Gaussian)
//   & txtNoRow & "," & txtWeight & "x" & txtNoSmooth as typed ("_fwa9,4x3").
//   Version 8: one GridFilter call by name making every pass: Average with filter 5 and
//   an n x n matrix of 1 with the weight at its centre; Gaussian with filter 4 and the
//   weight as Param1. Version 6: the passes one after another with GridMatrixSmooth
//   (input, 0, weight, -, h, h, output), h = (n - 1) / 2, through intermediate grids in
//   a private folder (never beside the user's grids); the last copied to the result.
//   No passes (0): the grid is copied to TopoStem & "sm0.grd", tag "sm0", no Surfer call
//   and no size check.
//   Refused with a message, nothing written: no grid chosen ("Choose grid filename",
//   "Filename"); passes not a whole number of 0 or more; a size that is not a positive
//   odd whole number ("No. row/col must be odd number." when even) or above 1001; a
//   weight that is not a number; "Gaussian (v8)" with version 6; a grid without data
//   or with fewer than 3 x 3 nodes (no curvature could come of it). The window's grid
//   names change only once the smoothed grid is written: a failed smoothing leaves the
//   last topographic grid (or none) to the curvature steps. The "Current grid" labels
//   then show the new base name.
// Input_Top ("Input smoothed topo grid"): Label3/Text7 becomes the topographic grid and
//   Label1 takes Label3. With chkInputCurvGrid the curvature grid is taken by name
//   (TopoStem & txtInputCurvText & ".grd"), plotted when Check1 is ticked, tab 2a comes
//   to the front, the "Current grid" labels show the base name and the crest length and
//   square side start again from their first alternate values. A topographic grid not
//   on disk is refused ("Filename") before the map window opens, the window's grids kept;
//   so is, with chkInputCurvGrid, a curvature grid the reader would refuse, or one not on
//   disk that Check1 would plot. One not on disk and not plotted (1a's "Curvature" makes
//   it next) is taken by name without opening the map window.
// Input_Curv ("Input curvature grid and plot"): Label3/Text7 becomes the curvature grid,
//   plotted when Check1 is ticked; one not on disk is refused ("Filename") before the
//   map window opens.
// Both inputs refuse "*.grd", an empty name or one too short for a base name.
// PlotCurvatureContour: version 6 MapContour(grid, 1); version 8 a new plot document
//   with a contour map of the grid.
#include "toothfeatures/curvcontrols.h"
#include "toothfeatures/curvstate.h"

#include <string>

namespace trelvik::toothfeatures {

StepOutcome Smooth(CurvContext& ctx, CurvControls& c);
StepOutcome Input_Top(CurvContext& ctx, CurvControls& c);
StepOutcome Input_Curv(CurvContext& ctx, CurvControls& c);

void PlotCurvatureContour(CurvContext& ctx, const std::string& grid);

} // namespace trelvik::toothfeatures
