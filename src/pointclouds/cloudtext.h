#pragma once
// Fast text of point files: rows of numbers in the general form (up to 15 significant
// digits, as trelvik::text::CStr writes them) joined by commas, or by another separator,
// each row ended CR LF. Rows are formatted in parallel blocks and joined in row order,
// so the text does not depend on the thread count.
#include <cstddef>
#include <functional>
#include <string>

namespace trelvik::ptcloud {

// values(r, out) fills out[0 .. cols-1] for row r. `after` is appended after the last
// number of a row (before CR LF): "" for point files, "," for VRML point lines.
std::string formatRows(std::size_t rows, int cols, const std::function<void(std::size_t, double*)>& values,
                       char separator = ',', const std::string& after = "");

} // namespace trelvik::ptcloud
