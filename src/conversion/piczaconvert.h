#pragma once
// The conversion window's three Picza converters (formats/picza.h), one file each.
//
// Units: Picza coordinates are whole numbers in units of 0.025 mm. Reading, a file value
// v becomes v * 0.025 * f with f = 1000 under "µm" and 1 otherwise ("mm", "Auto").
// Writing, a grid value becomes value * F rounded half to even, with F = 40 (mm to file
// units) under "mm", 0.04 (µm to file units) under "µm", and under "Auto" 40 when the
// grid's x spacing is at most 1, else 0.04.
//
// PiczaToPointFile (first half of Picza to grid): every point of the scan lines, in file
//   order, as "x,y,z" (x and y from the window's corner, all three scaled), with an
//   empty line before each scan line after the first; returns the lattice the mapping
//   program grids it onto: NumCols = Int((x2 - x1) / sx + 1) + 1 nodes from 0 to
//   XMax = (NumCols - 1) * sx * s, rows alike.
// PiczaToGrid: PiczaToPointFile to `points`, then GridData onto that lattice into `grid`.
// PiczaToCsv: "Full CSV": the ncols x nrows lattice of the window (rows outer), each
//   node the scan point at that place or, where there is none, the place with the last
//   height taken (0 at the start of each file); "Part CSV": every point of every scan
//   line, scaled. Output "x,y,z" lines.
// GridToPicza: the grid mirrored in y by the mapping program (a private temporary XYZ
//   text), written as a Picza file: steps |x1 - Round(x2, 4)| and |y1 - y2| of the first
//   nodes times F, window 0, 0, Int(xmax * F), Int(ymax * F), one scan line per grid row,
//   blank nodes at height 0.
// Errors (a malformed Picza file with its line, a missing file, a refused call) throw
// trelvik::Error before any output is replaced.
#include <string>

namespace surfer {
class Application;
}

namespace trelvik::conversion {

double PiczaReadFactor(bool optOutum);
double PiczaWriteFactor(bool optOutum, bool optOutmm, double dx);

struct PiczaLattice {
    long NumCols = 0, NumRows = 0;
    double XMax = 0, YMax = 0;
};

PiczaLattice PiczaToPointFile(const std::string& pix, const std::string& points, bool optOutum);
void PiczaToGrid(surfer::Application& app, const std::string& version, const std::string& pix,
                 const std::string& points, const std::string& grid, bool optOutum);
void PiczaToCsv(const std::string& pix, const std::string& csv, bool optOutum, bool fullCsv);
void GridToPicza(surfer::Application& app, const std::string& version, const std::string& grid,
                 const std::string& pix, bool optOutum, bool optOutmm);

} // namespace trelvik::conversion
