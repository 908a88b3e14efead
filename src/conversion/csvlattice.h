#pragma once
// CSV lattices: a regular x, y, z point file (one record a line, no header) read into a
// height lattice, and that lattice written as VRML or as a Tiff DEM.
//
// ReadCsvLattice: the records form a lattice in one of two orders, told by the first
//   two records: rows of constant y with x varying fastest (x differs between them), or
//   columns of constant x with y varying fastest (only y differs); x and y may run
//   either way. Each layout is read in its own order. Heights: the least height
//   (ignoring blanks, 1E+37 and above, and heights just below zero, in (-1E-05, 0)) and
//   the greatest height below 1E+37, both taken from the data themselves (0 when there
//   are none); blank heights above 1E+38 are stored as the least height. H(i, j) has i
//   along x and j along y, both increasing with the coordinate; spacings are absolute.
//   Refusals (no title): "Incorrect number of lines - error in parsing xlines" (or
//   "ylines") when the record count is not a whole number of rows (columns). Errors: a
//   missing file, a line without three numbers (named with its line), the first two
//   records at one place, a single row or column, a row (column) whose y (x) changes
//   within it.
// CsvLatticeToVrml: the Lattice variant of formats/vrml.h, scale 1, spacings
//   CStr(Round(spacing, 4)), one viewpoint at ((nx - 1) xint / 2, 2.5 zmax,
//   (ny - 1) yint / 2), heights unrounded, rows j = 1..ny. Line 2 names the input.
// CsvLatticeToTiffDem: formats/tiffdem.h, one band of 32-bit floats, north up.
#include "formats/tiffdem.h"

#include <string>
#include <vector>

namespace trelvik::conversion {

struct CsvLattice {
    int nx = 0, ny = 0;
    double xint = 0, yint = 0;       // absolute spacings
    double xmin = 0, ymin = 0;       // the lattice's least x and y
    double zmin = 0, zmax = 0;
    std::vector<double> H;           // ny * nx: H[(j - 1) * nx + (i - 1)]
    double at(int i, int j) const { return H[static_cast<std::size_t>(j - 1) * nx + (i - 1)]; }
};

CsvLattice ReadCsvLattice(const std::string& path);

void CsvLatticeToVrml(const std::string& input, const std::string& out);
void CsvLatticeToTiffDem(const std::string& input, const std::string& out);

} // namespace trelvik::conversion
