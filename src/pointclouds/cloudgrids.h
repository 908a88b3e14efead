#pragma once
// Grid steps of the point-cloud window, through the mapping program (its stand-in), on
// the grids made from clouds that are listed in the window.
//
// "Digitise and blank grid", per grid: the user digitises the area on a map and saves
//   "digit.dat" in the grid's folder; it is copied to FileStem & "blnpts.dat" and written
//   as the closed outline FileStem & "blnpts.bln" (print zones, flag 0 for "Outside" -
//   blank outside the outline - or 1 for "Inside"); GridBlank writes FileStem & "b.grd".
// "Extract smaller grid", per grid: with "Reduce grid area" the user digitises the
//   bottom-left and top-right corners (copied to FileStem & "extpts.dat"); with the
//   grid's xmin, ymin, dx, dy the kept nodes are columns Int((x1 - xmin) / dx) + 2 ..
//   Int((x2 - xmin) / dx) + 1 (rows alike, Int = floor), held within the grid, tag "e".
//   With "Reduce no. rows/cols" every n-th row and column is kept, n the typed step
//   (halves to even), tag "r" & n. GridExtract writes FileStem & tag & ".grd"; -1 stands
//   for a bound or step not set. With "Plot in Surfer" the grid is then plotted. With
//   neither box ticked the step says to tick one ("Values") and does nothing.
// Plot (version 8): a relief map centred at 10 FileIndex + 10.19 page units across, or
//   a contour map where the program puts it; with "Label", the name FileBase & tag &
//   ".grd" centred under it. Version 6 draws the same choice through the positional
//   calls, in the Surfer Functions window's rows of 10 (PlotMapV6).
// Both steps check that every listed grid exists and is a Surfer grid before they
// attach (and so before a new Surfer is started, the replace question or a digitise
// prompt). Cancel at a digitise prompt, or corners not bottom left and
// top right ("Points invalid - redigitise points."), end the step with the list kept;
// a missing "digit.dat" or a failed operation ends it with its message. Per grid, every
// check comes before any file is written: an outline of fewer than three points or of
// more than one area (groups ended by "-1"), and a blanked grid or a digitised area
// left without a height, are refused. The output grid is made under a working name;
// the copy of "digit.dat", the outline and the grid are put in place only when the
// grid's step succeeds, so a refused step leaves the files of the last good run.
#include "pointclouds/ptcloudlist.h"

#include <string>

namespace trelvik::ptcloud {

struct GridStepOptions {
    bool chkStartSurfer = false;   // "Start new Surfer (v8)"
    bool optBlankOutside = true;   // "Outside"; false: "Inside"
    bool chkRedArea = false;       // "Reduce grid area"
    bool chkRedRow = false;        // "Reduce no. rows/cols"
    std::string txtRedRow = "2";
    bool chkPlotSurfer = true;     // "Plot in Surfer"
    bool optRelief = true;         // "Relief"; false: "Contour"
    bool chkLabelSurfer = true;    // "Label"
};

bool cmdBlank(PtCloudContext& ctx, const GridStepOptions& options);
bool cmdExtract(PtCloudContext& ctx, const GridStepOptions& options);

// Node range kept for digitised corners, held within cols x rows (1-based, inclusive).
struct NodeRange {
    long c1, c2, r1, r2;
};
NodeRange DigitisedNodes(double xmin, double ymin, double dx, double dy, long cols, long rows, double x1, double y1,
                         double x2, double y2);

} // namespace trelvik::ptcloud
