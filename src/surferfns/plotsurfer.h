#pragma once
// PlotSurfer: puts one grid into the mapping program's plot as a map, laid out in rows
// so that the grids of a batch lie side by side.
//
// Inputs: the grid's full path, the map type (1 relief, 2 contour, 3 image, 4 3-D
//   surface), the "Plot output" options (text boxes read as numbers: a text that is not
//   a number reads 0) and the list position FileIndex as the layout slot (set to 1 when
//   empty; never advanced here).
// Slot: n = FileIndex - 1. Version 8: p = "No. in row" (rounded, halves to even),
//   column c = n - p * Int(n / p), row r = Int(n / p); the frame moves by (sx * c,
//   -sy * r) page inches. Version 6: rows of 10, r10 = Int(n / 10), c10 = FileIndex -
//   10 * r10; map and label move by (4 * c10, -7 * r10) after the label's own shift.
// Version 6 always draws a labelled relief map through the positional map calls;
//   version 8 draws the chosen type through the plot document of the active document.
// Labels (version 8): the grid's file name above the frame's upper-left corner (anchor
//   kLabelGapAxes inches above it, or kLabelGapPlain with the axes hidden, text
//   standing on the anchor), sized by LabelPointSize.
// Failures: "No. in row" below 1 throws trelvik::Error before any call; mapping-program
//   failures (unreadable grid, no plot document) throw trelvik::Error.
#include "surferfns/surffnsstate.h"

#include <string>

namespace surfer { class Application; }

namespace trelvik::surffns {

void PlotSurfer(SurfFnsContext& ctx, const std::string& GridFilename, int PlotType);

// The version-6 map of one grid on `app` through the positional calls, in the rows of 10
// above: a relief map named after the grid's file name and moved to its slot, or a
// contour map (MapContour(grid, 1)) where the program puts it; a label, unless empty,
// drawn at the slot's label place. PlotSurfer's version 6 is the labelled relief map.
void PlotMapV6(surfer::Application& app, const std::string& grid, bool relief, const std::string& label,
               int fileIndex);

inline constexpr double kLabelGapAxes = 0.35;   // inches: room for the top axis numbers
inline constexpr double kLabelGapPlain = 0.12;
// Label size in points: 2.5 points per inch of frame width, less when the text would
// run wider than the frame, within 2..28.
double LabelPointSize(double frameWidth, const std::string& label);

// The label of a map: the part of the path after its last separator ("\" or "/"),
// or the whole text when it has none.
std::string PlotLabel(const std::string& GridFilename);

} // namespace trelvik::surffns
