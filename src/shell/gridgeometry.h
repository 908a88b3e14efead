#pragma once
// The shape of a grid as the tool windows read it (ReadGridGeometry).
//
// Input: the full path of a grid file whose last four characters are its extension, and
//   the run's state: the ticked mapping-program version decides the identifier.
// Method: attaches AppState::SurferApp to the running mapping program (never starts one
//   unless none runs; version 8 is made visible), has its GridConvert write the grid as
//   XYZ text to a file of a private folder (core/tempfiles.h; version 6 positional with
//   format 3, version 8 named with OutFmt 4), scans that text once in file order and
//   deletes it with its folder. Nothing is written beside the grid.
// Output, in AppState: GridCols (nodes in the first row), GridRows (lines / GridCols,
//   halves to even), GridXMin/XMax/YMin/YMax over every node, blank ones included;
//   GridZMin/ZMax over the nodes with z below 1E+37 (1000000 and -1000000 when every node
//   is blank); GridXSpacing = |x2 - x1| of the first two lines; GridYSpacing = the first
//   change of y, rounded to 6 decimals (halves to even), taken absolute.
// A grid of one row, or a text whose second row never comes, is unusable: that, a
//   failed conversion or a line without three numbers throws trelvik::Error naming the
//   grid, and the AppState values keep those of the previous scan. The temporary file
//   is removed either way.
#include "core/appstate.h"

#include <string>

namespace trelvik {

void ReadGridGeometry(AppState& app, const std::string& grid);

// The same scan of an XYZ dump of the grid that the caller has already had written (the
// same GridConvert call), so a large grid is not dumped twice. The dump is kept.
void ReadGridGeometryOfDump(AppState& app, const std::string& grid, const std::string& xyzDump);

} // namespace trelvik
