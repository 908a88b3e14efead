#pragma once
// Rotating the XYZ points of a grid and gridding them again (the rotation window's
// "Rotate" buttons and anything else that turns a grid in space).
//
//  RotatePointFile   reads an XYZ dump (x, y, z a line, blank nodes z = 1.70141E+38),
//      drops every record with z above 1.7E+38, turns the rest by the rotation r and
//      writes them as lines x', y', z' (comma-separated, or in 14-column print zones),
//      numbers in the general form, replacing the output through a temporary file
//      (written in parallel blocks; the text does not depend on the thread count).
//      Returns the count and the extents of the rotated points (from the first point).
//  RegridLatticeFor  the lattice of the regrid: the whole-number lattice indices
//      i0 = Round(least x / dx), i1 = Round(greatest x / dx) (halves to even), XMin =
//      i0 dx, XMax = i1 dx, NumCols = i1 - i0 + 1; rows likewise with dy. Counting from
//      the indices, not from Int of (XMax - XMin) / dx, keeps floating error from losing
//      a column. An interval of 0 or below, or not finite, throws trelvik::Error.
//  RegridRotatedPoints  grids the point file D into the grid O: version 6 GridData with
//      14 positional arguments (D, 0, 1, 2, four omitted, dx, dy, two omitted, method 6,
//      O), the lattice the program's own; version 8 GridData(DataFile, NumCols, NumRows,
//      XMin, XMax, YMin, YMax on RegridLatticeFor, Algorithm 9, ShowReport False,
//      OutGrid). Triangulation leaves nodes outside the points' hull blank.
// Neither counts nor sizes are limited to 16 bits.
#include "core/appstate.h"
#include "planes/occlusalvector.h"

#include <string>

namespace surfer { class Application; }

namespace trelvik::planes {

enum class PointLayout { Comma, PrintZones };

struct PointExtents {
    long count = 0;
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
};

PointExtents RotatePointFile(const std::string& xyzIn, const std::string& out, const Mat3& r, PointLayout layout);

struct RegridLattice {
    long NumCols = 0, NumRows = 0;
    double XMin = 0, XMax = 0, YMin = 0, YMax = 0;
};

RegridLattice RegridLatticeFor(const PointExtents& e, double xInterval, double yInterval);

void RegridRotatedPoints(const AppState& app, surfer::Application& m_Surfer, const std::string& pointFile,
                         const PointExtents& extents, double xInterval, double yInterval, const std::string& outGrid);

} // namespace trelvik::planes
