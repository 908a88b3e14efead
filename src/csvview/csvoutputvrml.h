#pragma once
// The viewer's VRML files: the shown grid as temp.wrl for the 3-D view, and a tooth of
// a multi-tooth file for the browser (file layout in formats/vrml.h).
//
// temp.wrl, from the current grid at its present size (cols x rows):
//   steps: xstep and ystep, both taken as 1 when both are 0; scale s = 10 when xstep
//   is at most 1, else 0.01 (written "10" or "0.01"); xSpacing and zSpacing the steps
//   rounded to 4 places; viewpoint PX = s xstep (nx - 1) / 2 + 8 s, PY = s (zmax + 8),
//   PZ = s ystep (ny - 1) / 2 + 8 s with nx, ny the built size; heights row by row,
//   rows 1..rows, each row from its last column to its first, an empty cell written
//   as the grid's zmin.
// Tooth file: scale and spacings "1"; PX = (nx - 1) / 2, PY = 2.5 zmax, PZ = (ny - 1) / 2;
//   heights as stored, empty cells 9999.
// Neither changes the grid it writes: the steps of the current grid stay as read.
#include "csvview/csvoutput.h"
#include "csvview/latticegrid.h"
#include "formats/vrml.h"

#include <string>

namespace trelvik::csvview {

formats::VrmlElevationGridOut tempWrlContent(const CurrentGrid& grid);
formats::VrmlElevationGridOut toothWrlContent(const LatticeGrid& tooth);

// Writes grid.folder + "temp.wrl" and returns its path. Throws trelvik::Error when no
// point file has been read or the file cannot be written.
std::string WriteTempWrl(const CurrentGrid& grid);

// Writes output name + ".wrl" for a present tooth and returns its path; "" when absent.
std::string WriteToothWrl(const ToothOutput& tooth, const std::string& outputFolder);

} // namespace trelvik::csvview
