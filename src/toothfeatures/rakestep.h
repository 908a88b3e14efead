#pragma once
// The cusp-area steps of the rake-angle window: "Digitise cusp area and trans" and
// "Input trans grid". (Its occlusal-vector step is occvectstep.h with the rake window's
// file names; slicing and the results are rakeslice.h.)
//
// Cusp area, after the window's occlusal-vector step; "stem" is GridDir & GridBaseName:
//   1. the user outlines the cusp area and saves "digit1.dat" beside the grid; it is
//      copied to stem & "_cap.dat" and written as the closed outline stem & "_cap.bln"
//      (flag 0, print zones);
//   2. the mapping program blanks the grid outside the outline and writes what is left
//      as XYZ text, stem & "_cab.dat" (version 6 GridBlank(grid, bln, out, 3); version 8
//      OutFmt 4);
//   3. every node with a height is turned into the occlusal frame and written as an
//      "x,y,z" line to stem & "_cabtrs.dat";
//   4. the tooth grid's spacing (dx from the first two nodes, dy from the first row
//      above the first node) gives the new spacing: with "Use default", the spacing
//      rounded to three decimals (below 1) or to whole numbers, halved; otherwise the
//      spacings typed, which must be numbers above 0;
//   5. the mapping program grids the turned nodes into TransGrid = stem &
//      "_cabtrs.grd": version 6 by position with the spacings and method code 6;
//      version 8 over the turned nodes' extents snapped to the spacing, with node counts
//      rounded (not truncated) from extent / spacing + 1, triangulation (9);
//   6. the transformed grid is plotted (relief, then 3-D surface) through the plot
//      service the window hands in;
//   7. with "Input length file" the tooth length of stem & suffix & ".txt" goes into
//      the Fraction length box.
// "Input trans grid" takes a grid whose name ends in "_cabtrs.grd" as TransGrid (base
// name: the name less those eleven characters) and reads the length file the same way.
// Reported, the window staying usable: no occlusal vector yet, a missing or short
// outline, a blanked grid without any node or without a second row, a spacing that
// rounds to 0, typed spacings that are not numbers above 0, a missing or malformed
// length file, a failed mapping-program call. The grid and, with "Input length file",
// the length file are checked before the cusp area is asked for; the step's files are
// made under working names and put in place only when it succeeds, so a refused outline
// leaves the earlier cusp area's files.
#include "toothfeatures/occvectstep.h"

#include <functional>
#include <optional>
#include <string>

namespace trelvik::toothfeatures {

struct RakeState {
    OcclusalState occ;
    std::string TransGrid;  // the grid the rake lines are sliced on; empty until set
};

struct CuspAreaRequest {
    bool Check1 = true;  // "Use default"
    std::string Text3 = "4", Text4 = "4";
    bool chkInputLengthFile = true;
    std::string txtInputLengthFile = "_tl";
};

// What the step puts into the window's boxes.
struct CuspAreaResult {
    std::string Label9, Label10;  // the tooth grid's spacings
    std::string Text3, Text4;     // the spacings of the transformed grid
    std::optional<std::string> txtRakeLengthF;
};

// Plots a grid as the given map type (1 relief, 4 3-D surface).
using RakePlotter = std::function<void(const std::string& grid, int plotType)>;

// True when the transformed grid was made.
bool cmdDigCuspArea(AppState& app, Prompt& prompt, RakeState& state, const CuspAreaRequest& request,
                    const RakePlotter& plot, CuspAreaResult& result);

// The new grid spacing with "Use default" from the tooth grid's spacing; dx, the x
// spacing, decides the rounding for both axes.
double defaultTransSpacing(double spacing, double dx);

struct TransGridRequest {
    std::string Label3, Text2;
    bool chkInputLengthFile = true;
    std::string txtInputLengthFile = "_tl";
};

// "Input trans grid". True when the grid was taken; the length goes to lengthText.
bool cmdInputTransGrid(Prompt& prompt, RakeState& state, const TransGridRequest& request,
                       std::optional<std::string>& lengthText);

} // namespace trelvik::toothfeatures
