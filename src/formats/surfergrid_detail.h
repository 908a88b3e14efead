#pragma once
// The three Surfer grid layouts as pure conversions between a file's bytes and a Grid.
// File access (whole-file reads, replacing writes) stays in surfergrid.cpp, so each
// layout can be checked on bytes alone. Parsers throw trelvik::Error whose message
// names `path`; formatters expect a grid already checked by checkWritableGrid.
#include "core/grid.h"

#include <string>
#include <string_view>

namespace trelvik::formats::detail {

// Counts beyond this are taken as damage rather than as a grid: no caller works on
// more than a few thousand nodes a side, and a bad count must not drive a huge allocation.
inline constexpr long long kMaxGridSide = 1000000;
inline constexpr long long kMaxGridNodes = 400000000;

// Least and greatest non-blank height, 0 and 0 when every node is blank (a header
// needs numbers, and blank-valued extremes would read as a grid full of blanks).
void zRangeForHeader(const Grid& g, double& zlo, double& zhi);

[[noreturn]] void damaged(const std::string& path, const std::string& why);

Grid parseAscii(std::string_view data, const std::string& path);
std::string formatAscii(const Grid& g);

Grid parseBinary6(std::string_view data, const std::string& path);
std::string formatBinary6(const Grid& g, const std::string& path);

Grid parseBinary7(std::string_view data, const std::string& path);
std::string formatBinary7(const Grid& g, const std::string& path);

} // namespace trelvik::formats::detail
