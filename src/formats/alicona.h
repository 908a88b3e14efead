#pragma once
// Alicona text export (in-grid points): line 1 is a header that carries the number
// of points in braces, "{ 2500 }" or "{2500}"; the points follow from line 2 as three
// numbers x, y, z each, separated by commas, blanks, tabs or line ends.
//
// Errors (trelvik::Error naming the file and line): a header without a whole count
// in braces, fewer points than the header announces, an item that is not a number, a
// missing or unreadable file. Points beyond the announced count are not read.
#include "core/points.h"

#include <string>
#include <string_view>

namespace trelvik::formats {

PointList readAliconaText(const std::string& path);

// The count a header line announces ("{ 2500 }" -> 2500). Throws naming `path`.
long long aliconaHeaderCount(std::string_view headerLine, const std::string& path);

} // namespace trelvik::formats
