#pragma once
// Scanner point text: the irregular and in-grid text exports of surface scanners
// ("Vava" and the like) and the point files the conversion writes. Three numbers x, y,
// z per point, read as one stream of numbers in file order, separated by commas,
// blanks, tabs or line ends (so a point may wrap over lines), no header. Lines may end
// in CR LF, LF or CR. Numbers may be written without a digit before the point (.25,
// -.5) or in exponent form (1E-05).
//
// Errors (trelvik::Error naming the file and the line): an item that is not a number,
// a count of numbers that is not a multiple of three (the last point incomplete),
// a missing or unreadable file.
//
// Large texts are parsed in blocks on several threads (pointtextblocks.h); the points
// and the refusal, the first in file order, are those of one pass.
#include "core/points.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace trelvik::formats {

PointList readPointText(const std::string& path);

// The points of a text already in memory; `path` names it in messages; lines are
// counted from `firstLine` (so a reader that skipped a header reports true lines).
// With maxPoints given, reading stops after that many points.
PointList parsePointText(std::string_view text, const std::string& path, std::size_t firstLine = 1,
                         std::size_t maxPoints = static_cast<std::size_t>(-1));

} // namespace trelvik::formats
