#pragma once
// Curvature of a patch of the tooth surface ("2b. Area curvature" of the "Curvature"
// window): the mean and standard deviation of the curvature grid's values inside a
// square or a digitised outline, with the patch's size, in a results table.
//
// Square (optAreaSquare): T = TopoStem & "_cac" & Text5 (as typed). Its bottom-left
//   corner (x0, y0) is the first point of T & ".dat", a copy of digit.dat (in Label1),
//   or, with chkUsePrevDig, that file as an earlier run left it. The outline T & ".bln"
//   is the literal header "5,0" and the corners (x0, y0), (x0, y0 + s), (x0 + s, y0 + s),
//   (x0 + s, y0), (x0, y0) comma-separated, s = side x UnitFactor (side = Text5 in
//   micrometres; UnitFactor 0.001 for a grid in millimetres, 1 in micrometres).
// Irregular (optAreaIrreg): T = TopoStem & "_ciac-" & Text4; the digitised outline is
//   copied to T & ".dat" and closed into T & ".bln" (zone layout); the topographic grid
//   blanked outside it becomes TopoStem & "_tiac-" & Text4 & "out.grd", whose planar and
//   surface area come from GridVolume against the level 0 (version 6 through the report
//   sheet Label1/"volume.dat", cells (27,3) and (34,3); version 8 result elements 5 and 7).
// Both: the curvature grid blanked outside the outline as XYZ text T & "out.dat"; its
//   records with z not above 1E+36 copied, comma-separated, to T & "outstr.dat"; mean and
//   SD (n - 1) of those z; the table T & "_curvaresults.csv" (replaced):
//     square     "Ave Curvature","SD Curvature","Length of square","Area" / mean, SD,
//                side, side x side
//     irregular  "Ave Curvature","SD Curvature","Planar irreg area","3D irreg area" /
//                mean, SD, planar area, surface area.
// With chkAltValues a square's side switches between txtAlt1 and txtAlt2, and a switch to
//   txtAlt2 measures the square of that side at once (at most two runs; an irregular
//   patch is measured once).
// Refused with a message, nothing written: no curvature grid (or, irregular, no
//   topographic grid), or its file missing, said before the digitise question; a side that is not a number above 0; no corner file of an earlier
//   run with chkUsePrevDig; a corner file without a point; an outline of fewer than
//   three points; fewer than two non-blank curvature nodes inside the patch (with none,
//   the message says to place the patch over the nodes). The patch's
//   files, its table included, are made under working names and put in place together
//   only when it is measured, so a refusal leaves the earlier run's files (and the
//   corner it reuses) as they were.
#include "formats/blnfile.h"
#include "toothfeatures/curvcontrols.h"
#include "toothfeatures/curvstate.h"

#include <string>

namespace trelvik::toothfeatures {

formats::BlnSection SquareOutline(double x0, double y0, double side);

struct AreaValues {
    long count = 0;  // records kept
    double mean = 0, sd = 0;  // sd needs two records; 0 otherwise
};
// Copies the records of the XYZ dump whose z is not above 1E+36 to valuesFile as "x,y,z"
// lines (the dump's own number texts) and returns their count, mean and SD.
AreaValues FilterAreaValues(const std::string& xyzFile, const std::string& valuesFile);

// Label25 after a change of Text5: the square of its leading number, with a leading
// blank for a positive value; an empty Text5 leaves it.
void ShowSquareArea(CurvControls& c);

StepOutcome Curv_Area(CurvContext& ctx, CurvControls& c);

} // namespace trelvik::toothfeatures
