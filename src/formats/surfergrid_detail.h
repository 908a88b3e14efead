#pragma once
// The three Surfer grid layouts as pure conversions between a file's bytes and a Grid.
// File access (whole-file reads, replacing writes) stays in surfergrid.cpp, so each
// layout can be checked on bytes alone. Parsers throw trelvik::Error whose message
// names `path`; formatters expect a grid already checked by checkWritableGrid.
#include "core/grid.h"

#include <functional>
#include <string>
#include <string_view>

namespace trelvik::formats::detail {

// Counts beyond this are taken as damage rather than as a grid: no caller works on
// more than a few thousand nodes a side, and a bad count must not drive a huge allocation.
inline constexpr long long kMaxGridSide = 1000000;
inline constexpr long long kMaxGridNodes = 400000000;

// Least and greatest non-blank height, 0 and 0 when every node is blank (a header
// needs numbers, and blank-valued extremes would read as a grid full of blanks). With
// blanksExact, also whether every blank node already holds exactly kBlank.
void zRangeForHeader(const Grid& g, double& zlo, double& zhi, bool* blanksExact = nullptr);

[[noreturn]] void damaged(const std::string& path, const std::string& why);

// Some writers (GDAL among them) store a grid whose first row is its greatest y as a
// reversed range (ylo > yhi) or a negative spacing. The nodes still have definite
// places, so the readers accept it: `first` and `last` are the coordinates of the
// first and last column (or row) as stored; equal or non-finite values are damage.
// After the heights are read, orientAxes puts both axes in ascending order.
struct AxisOrder {
    bool xReversed = false, yReversed = false;
};
void checkAxis(const std::string& path, double first, double last, const char* axis);
void setAxes(Grid& g, double xFirst, double xLast, double yFirst, double yLast, AxisOrder& order);
void orientAxes(Grid& g, AxisOrder order);

Grid parseAscii(std::string_view data, const std::string& path);
std::string formatAscii(const Grid& g);

Grid parseBinary6(std::string_view data, const std::string& path);
std::string formatBinary6(const Grid& g, const std::string& path);

Grid parseBinary7(std::string_view data, const std::string& path);
std::string formatBinary7(const Grid& g, const std::string& path);

// Where a Surfer 7 grid is parsed from: the whole file in memory, or the open file
// itself, so that the heights go straight into the grid's buffer.
class Binary7Source {
public:
    virtual ~Binary7Source() = default;
    virtual std::size_t size() const = 0;
    // len bytes at pos (pos + len <= size()), valid until the next call.
    virtual std::string_view bytes(std::size_t pos, std::size_t len) = 0;
    // n heights at pos (pos + 8 n <= size()) into out.
    virtual void doubles(std::size_t pos, std::size_t n, double* out) = 0;
};
Grid parseBinary7(Binary7Source& src, const std::string& path);

// A Surfer 7 writer in pieces: checkBinary7Size throws for a grid one file cannot hold,
// then emitBinary7 hands the file's bytes to put in order, the heights a piece at a time.
void checkBinary7Size(const Grid& g, const std::string& path);
void emitBinary7(const Grid& g, const std::function<void(std::string_view)>& put);

} // namespace trelvik::formats::detail
