#pragma once
// "Regrid" of the "Surfer Functions" window: puts every listed grid (or XYZ text file)
// onto a grid of square cells with an exact number of nodes along one axis, blanks it
// with the tooth's outline and writes the blanked grid and its XYZ text into sibling
// folders named after that number, so a set of teeth ends up at one resolution.
//
// Inputs: N = "Exact no." (typed number, halves to even; its text T as typed names the
//   folders and files), the axis option, grid or text input, "Del from grd fname" d and
//   "Indiv. teeth". Per entry, with S the entry's folder and base name:
//   outline        grids: S less d characters & "blnpts.bln"; text files: S & "blnpts.bln"
//   row outline    with "Indiv. teeth", for S ending in "b-s" and three characters:
//                  S less its last six characters & "blnpts.bln"
//   data           grids: the mapping program's XYZ text, in a private temporary file,
//                  without its blank nodes; text files: the file itself
//   extents        least and greatest x and y over every record of the data, starting
//                  from the first record
// Lattice (ExactLattice): along the main axis N nodes, spacing Round(extent / (N - 1),
//   3) for both axes; the other axis Round(|extent| / spacing, 0) nodes; both start at
//   the least coordinate. Main axis: x for "cols (X)", y for "rows (Y)", for "rows/cols"
//   the longer extent (y when equal).
// Outputs in the entry's folder: T & "_grd/" base & T & ".grd" (kriging), T & "b_grd/"
//   base & T & "b.grd" (blanked, again with the row outline under "Indiv. teeth"), T &
//   "b_dat/" base & T & "b.dat" (its unblanked nodes as "x,y,z" lines). The folders are
//   made when missing; the three files are put in place together, so a failure of any
//   leaves the entry's earlier three.
// Reported: N below 2 (nothing runs); per entry, and that entry left out: d negative or
//   longer than the base name, a name without the row pattern under "Indiv. teeth", a
//   spacing that rounds to 0 or fewer than 2 nodes along the other axis. A missing
//   outline of any entry ends the batch before the map window opens, with "Check that
//   (row) blanking file (file no. i) <path> is in correct directory.", naming the file
//   looked for (an outline the reader refuses, a folder say, with the reader's message),
//   and keeps the list. Plotting
//   uses the image map when the "Process grid" frame's terrain option is selected.
#include "surferfns/gridcalls.h"
#include "surferfns/surffnsstate.h"

#include <string>

namespace trelvik::surffns {

enum class ExactAxis { RowsCols, Rows, Cols };  // optExactNoRC / optExactNoR / optExactNoC

struct RegridOptions {
    std::string txtExactNoRC = "150";
    ExactAxis axis = ExactAxis::RowsCols;
    bool optRegridTxt = false;  // "Use txt files"; false: "Use grid files"
    std::string txtRegridDelChar = "1";
    bool chkRegridIndivTeeth = false;
    bool optTerrain = false;    // the "Process grid" frame's terrain option
};

using ExactLattice = GridDataLattice;

ExactLattice ExactResolutionLattice(double xMin, double xMax, double yMin, double yMax, long n, ExactAxis axis);

BatchOutcome cmdRegridExactResol(SurfFnsContext& ctx, const RegridOptions& options);

} // namespace trelvik::surffns
