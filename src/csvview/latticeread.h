#pragma once
// Reading a lattice point file into the viewer's CurrentGrid ("Read CSV").
//
// Input: a LatticeCsvFile (x,y,z per line, points on one regular lattice, any order).
// Output: the point list in file order and the CurrentGrid: steps found from
// consecutive points, extents, size by the size option, every point placed in its
// nearest lattice cell (rounding, so 0.3 / 0.1 lands in cell 4), empty cells at
// their node position with z = 9999.
// Blank heights (magnitude above 1E+36, the mapping program's blank) take the lowest
// height; points holding the empty-cell marker 9999 (as "Output CSV" writes them)
// are no points: they set no extent and fill no cell.
// "Original model file" negates the heights and shifts them so the lowest is 0.
#include "core/points.h"
#include "core/prompt.h"
#include "csvview/latticegrid.h"

#include <string>

namespace trelvik::csvview {

struct ReadCsvOptions {
    std::string folder;    // the file list's folder (a trailing separator is optional)
    std::string fileName;  // the name box (Text1)
    bool originalModel = false;
    SizeOption size = SizeOption::Minimum;
};

struct ReadCsvOutcome {
    bool done = false;      // false: refused with a message, grid unchanged
    int pointsOutside = 0;  // points that fell outside the grid (Default size) and were left out
};

// The read behind "Read CSV", without drawing. Refusals ("Choose csv filename",
// no size mode yet) are shown through `prompt`; a missing or malformed file throws
// trelvik::Error naming it. A step that cannot be found shows "Error" and the read
// goes on with the step 10000. On success `grid` and `gridPoints` are replaced.
ReadCsvOutcome ReadCsvGrid(const ReadCsvOptions& opts, CurrentGrid& grid, PointList& gridPoints, Prompt& prompt);

// Extents of `points` into grid's xmin..ymax and zmin/zmax, with blank replacement
// and "Original model file" negation and re-zeroing applied to `points` in place.
// Throws trelvik::Error when no point holds a height.
void CalcGridExtent(PointList& points, bool originalModel, CurrentGrid& grid);

// Builds the grid cells from `points` (extents already taken): steps, size mode,
// limits, placement, empty cells; sets cols/rows to nx/ny. Returns false (message
// shown) when no size mode can be had. Used per tooth by the multi-tooth reader.
ReadCsvOutcome FillGridFromPointsX(const PointList& points, SizeOption size, CurrentGrid& grid, Prompt& prompt);

// Path up to and including its last separator; the part after it less its last
// four characters.
std::string FindRootDir(const std::string& path);
std::string FindBaseFilename(const std::string& path);

} // namespace trelvik::csvview
