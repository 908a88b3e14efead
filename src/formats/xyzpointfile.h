#pragma once
// XyzPointFile: point text, one point a line, x, y and z, no header.
// Written as bare numbers in the general form (CStr) joined by commas, lines ended
// CR LF, by the parallel streamed writer (numberrows.h); an existing file is replaced
// (through a temporary file in its folder).
// Read: every non-empty line is a point of three numbers separated by commas,
// blanks or tabs; a line without three numbers is an error naming file and line.
// Large files are parsed in blocks on several threads (pointtextblocks.h); the points
// and the refusal, the first in file order, are those of one pass.
#include "core/points.h"

#include <string>
#include <string_view>

namespace trelvik::formats {

PointList readXyzPointFile(const std::string& path);
void writeXyzPointFile(const std::string& path, const PointList& points);

// Parses the points of a whole text already in memory; `path` only names the source
// in error messages.
PointList parseXyzPoints(std::string_view text, const std::string& path);

} // namespace trelvik::formats
