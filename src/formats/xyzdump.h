#pragma once
// XYZ text of a grid as the mapping program writes it: one node per line "x y z",
// x fastest, rows by ascending y, blank nodes included with z = 1.70141E+38,
// numbers in the general form with 15 significant digits, lines ended CR LF.
#include "core/grid.h"
#include "core/points.h"

#include <string>

namespace trelvik::formats {

void writeXyzDump(const std::string& path, const Grid& grid);
// Reads every record (x, y, z separated by blanks, tabs or commas), in file order.
PointList readXyzDump(const std::string& path);

} // namespace trelvik::formats
