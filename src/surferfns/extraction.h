#pragma once
// "Extract" of the "Surfer Functions" window: cuts every listed grid down to a
// rectangle of nodes and/or keeps every n-th row and column (GridExtract).
//
// Rectangle (node indices from 1, columns along x, rows along y):
//   digitised  two corners (x1, y1) bottom left and (x2, y2) top right from the user's
//              "digit.dat", copied to S & "extpts.dat":
//                FirstCol = Int((x1 - xMin) / dx) + 2 (at least 1),
//                LastCol  = Int((x2 - xMin) / dx) + 1 (at most the column count),
//              rows likewise with y; suffix "ed". Corners not bottom left and top right:
//              "Points invalid - redigitise points." with which point is which corner, and
//              the batch ends; so does an area holding no unblanked node (off the crown),
//              with a message naming the grid. The copy of the corners is made under a
//              working name and put in place with the extracted grid, so a refusal or a
//              failed GridExtract keeps the earlier corners.
//   max        the smallest rectangle holding every unblanked node (z below 1E+38) with
//              a margin of three nodes, cut at the grid's edge; suffix "em". The grid's
//              XYZ text is read from a private temporary file. A grid whose nodes are all
//              blank is reported and left out.
//   none       the whole grid.
// Frequency: "Factor" n (typed number, halves to even), suffix "rf" & the typed text;
//   "Max no." M: span = larger of LastCol - FirstCol and LastRow - FirstRow; when M < span
//   the frequency is Int(span / M) + 1 and the suffix gains "rm" & the typed text.
//   A factor or maximum below 1 gives a message before anything runs, and so does
//   neither "Reduce grid area" nor "Reduce no. row/col" ticked.
// Output: S & suffix & ".grd". When the rectangle is the whole grid and the frequency 1,
//   "Grid extraction for <base> not required" and nothing is written for that entry.
// GridExtract goes by position on both versions: version 6 (in, r1, c1, r2, c2, rFreq,
//   cFreq, out), version 8 (in, r1, r2, rFreq, c1, c2, cFreq, out).
#include "core/points.h"
#include "surferfns/surffnsstate.h"

#include <optional>
#include <string>

namespace trelvik::surffns {

struct ExtractOptions {
    bool chkRedArea = false;        // "Reduce grid area"
    bool optRedAreaDig = false;     // "Digitise area"; false: "Max unblanked area"
    bool chkRedRow = false;         // "Reduce no. row/col"
    bool optRedRowFactor = true;    // "Factor"; false: "Max no."
    std::string txtRedRowFactor = "2";
    std::string txtRedRowMax = "100";
};

struct NodeRect {
    int FirstCol = 1, LastCol = 1, FirstRow = 1, LastRow = 1;
    bool operator==(const NodeRect&) const = default;
};

// The node rectangle kept for digitised corners (x1, y1), (x2, y2) of a grid geometry.
NodeRect DigitisedRect(const GridGeo& geo, double x1, double y1, double x2, double y2);

// The rectangle around the unblanked nodes of an XYZ dump of cols x rows records (row 1
// first, x fastest) with a margin of three nodes; nothing when every node is blank.
// A dump of another record count throws trelvik::Error naming `source`.
std::optional<NodeRect> MaxUnblankedRect(const PointList& dump, int cols, int rows, const std::string& source);

// True when a node of rectangle r of the dump (as above) is unblanked; an empty
// rectangle holds none.
bool HoldsUnblankedNode(const PointList& dump, int cols, int rows, const NodeRect& r, const std::string& source);

// The row and column frequency for "Max no." M over a rectangle.
int MaxNoFrequency(const NodeRect& r, double maxNo);

BatchOutcome cmdExtract(SurfFnsContext& ctx, const ExtractOptions& options);

} // namespace trelvik::surffns
