#pragma once
// Grid input and output shared by the stand-in's operations.
//
// readInputGrid: any Surfer grid file (ASCII, Surfer 6 or Surfer 7 binary); every height
//   of 1E+37 or more (or not a number) comes back as the blank value 1.70141E+38, so the
//   operations test blanks one way and write the exact blank value.
// writeOutputGrid: writes the grid in the form an output-format code asks for, codes
//   depending on the instance's version:
//     version 8: 1 Surfer 6 binary, 2 ASCII, 3 Surfer 7 binary, 4 XYZ text;
//     version 6: 1 binary grid (Surfer 6 binary), 3 XYZ text;
//   no code: Surfer 7 binary. Another code throws trelvik::Error. The writers replace an
//   existing file only once the new one is complete.
#include "core/grid.h"

#include <optional>
#include <string>

namespace surfer {

trelvik::Grid readInputGrid(const std::string& path);
void writeOutputGrid(int version, const std::string& operation, const std::string& path,
                     const trelvik::Grid& grid, std::optional<long> outFmt);

// True when both grids have the same node counts and their extents agree to within a
// thousandth of a spacing: the condition for node-by-node arithmetic. A grid regridded
// onto the geometry that the grid-geometry scan reports (its y spacing rounded to six
// decimals) lies on its source's lattice in this sense, though its limits differ in
// the last digits.
bool sameLattice(const trelvik::Grid& a, const trelvik::Grid& b);

} // namespace surfer
