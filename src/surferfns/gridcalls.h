#pragma once
// The gridding and blanking calls that blanking, exact regridding and resolution fixing
// all issue, in the two call forms of the run's Surfer version.
//
//  GridBlankCall  blanks `in` with the blanking file `bln` into `out`: version 6
//                 (in, bln, out, 1), version 8 InGrid, BlankFile, OutGrid.
//  GridDataCall   grids the XYZ text `data` (x, y, z in columns 1 to 3) onto `lattice`
//                 into `out`: version 6 (data, 0, 1, 2, x0, x1, y0, y1, dx, dy, -, -, 1,
//                 out), kriging; version 8 DataFile, XCol 1, yCol 2, zCol 3, the
//                 ExclusionFilter when one is given, NumCols, NumRows, XMin, XMax, YMin,
//                 YMax, Algorithm, ShowReport False, OutGrid.
// Another version token issues nothing. Failed calls throw trelvik::Error.
#include "surferfns/surffnsstate.h"

#include <string>

namespace trelvik::surffns {

// A lattice of NumCols x NumRows nodes from (x0, y0) to (x1, y1), spacings dx and dy.
struct GridDataLattice {
    long NumCols = 0, NumRows = 0;
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0, dx = 0, dy = 0;
};

void GridBlankCall(SurfFnsContext& ctx, const std::string& in, const std::string& bln, const std::string& out);

// exclusionFilter: empty for none (version 8 only).
void GridDataCall(SurfFnsContext& ctx, const std::string& data, const GridDataLattice& lattice, int algorithm,
                  const std::string& exclusionFilter, const std::string& out);

} // namespace trelvik::surffns
