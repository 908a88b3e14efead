#pragma once
// A grid read back from the XYZ text the mapping program writes of it (the dump: one
// node a line, the nodes of one row on consecutive lines, x fastest, rows one after
// another, blank nodes with z = 1.70141E+38), in the dump's own order.
//
// Input: the dump's path. Output: ncols (the nodes of the first row: the first record
// and those after it with the same y), nrows (all records / ncols), the x of every
// column (from the first row), the y of every row (from its first node) and every z,
// row-major in file order. Heights are kept as read (blank markers included).
// Errors (trelvik::Error naming the file): no records, a single row or a single
// column, records that do not fill whole rows, a row whose y changes within it or whose
// x values differ from the first row's (not the lattice the writers rely on), or a line
// without three numbers (named with its line number).
#include <cstddef>
#include <string>
#include <vector>

namespace trelvik::formats {

struct DumpLattice {
    int ncols = 0, nrows = 0;
    std::vector<double> x;  // ncols
    std::vector<double> y;  // nrows
    std::vector<double> z;  // nrows * ncols, row r (from 0) at r * ncols
    double at(int c, int r) const { return z[static_cast<std::size_t>(r) * ncols + c]; }
};

DumpLattice readDumpLattice(const std::string& path);

} // namespace trelvik::formats
