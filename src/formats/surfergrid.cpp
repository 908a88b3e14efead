#include "formats/surfergrid.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "formats/surfergrid_detail.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace trelvik::formats {

namespace detail {

void zRangeForHeader(const Grid& g, double& zlo, double& zhi) {
    zlo = g.zMin();
    zhi = g.zMax();
    if (isBlank(zlo) || isBlank(zhi)) zlo = zhi = 0.0;
}

void damaged(const std::string& path, const std::string& why) {
    throw Error("The grid file " + path + " is damaged: " + why + ".");
}

void checkAxis(const std::string& path, double first, double last, const char* axis) {
    if (!std::isfinite(first) || !std::isfinite(last) || first == last)
        damaged(path, std::string("its ") + axis + " extent is not a range");
}

void setAxes(Grid& g, double xFirst, double xLast, double yFirst, double yLast, AxisOrder& order) {
    order.xReversed = xLast < xFirst;
    order.yReversed = yLast < yFirst;
    g.xMin = std::min(xFirst, xLast);
    g.xMax = std::max(xFirst, xLast);
    g.yMin = std::min(yFirst, yLast);
    g.yMax = std::max(yFirst, yLast);
}

void orientAxes(Grid& g, AxisOrder order) {
    const std::size_t cols = static_cast<std::size_t>(g.cols);
    if (order.yReversed)
        for (int top = 0, bottom = g.rows - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(g.z.begin() + top * cols, g.z.begin() + (top + 1) * cols, g.z.begin() + bottom * cols);
    if (order.xReversed)
        for (int r = 0; r < g.rows; ++r) std::reverse(g.z.begin() + r * cols, g.z.begin() + (r + 1) * cols);
}

} // namespace detail

namespace {

SurferGridFormat formatOf(std::string_view data, const std::string& path) {
    std::string_view tag = data.substr(0, 4);
    if (tag == "DSAA") return SurferGridFormat::Ascii;
    if (tag == "DSBB") return SurferGridFormat::Binary6;
    if (tag == "DSRB") return SurferGridFormat::Binary7;
    throw Error("The file " + path + " is not a Surfer grid (it starts with neither DSAA, DSBB nor DSRB).");
}

void checkWritableGrid(const Grid& g, const std::string& path) {
    const std::string head = "Cannot write the grid file " + path + ": ";
    if (g.cols < 2 || g.rows < 2) throw Error(head + "a grid needs at least 2 columns and 2 rows.");
    if (g.z.size() != static_cast<std::size_t>(g.cols) * static_cast<std::size_t>(g.rows))
        throw Error(head + "its heights do not match its column and row counts.");
    if (!std::isfinite(g.xMin) || !std::isfinite(g.xMax) || !(g.xMax > g.xMin) ||
        !std::isfinite(g.yMin) || !std::isfinite(g.yMax) || !(g.yMax > g.yMin))
        throw Error(head + "its x and y extents are not ranges.");
}

} // namespace

SurferGridFormat detectSurferGridFormat(const std::string& path) {
    // Only the tag is needed; large grids are not read for it.
    if (!FileExists(path)) throw Error("Cannot open the grid file " + path + ": no such file.");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!f) throw Error("Cannot open the grid file " + path + ".");
    char tag[4] = {};
    const std::size_t got = std::fread(tag, 1, sizeof tag, f.get());
    return formatOf(std::string_view(tag, got), path);
}

Grid readSurferGrid(const std::string& path) {
    const std::string data = readWholeFile(path);
    switch (formatOf(data, path)) {
    case SurferGridFormat::Ascii: return detail::parseAscii(data, path);
    case SurferGridFormat::Binary6: return detail::parseBinary6(data, path);
    case SurferGridFormat::Binary7: return detail::parseBinary7(data, path);
    }
    throw Error("The file " + path + " is not a Surfer grid.");
}

void writeSurferGrid(const std::string& path, const Grid& grid, SurferGridFormat format) {
    checkWritableGrid(grid, path);
    std::string bytes;
    switch (format) {
    case SurferGridFormat::Ascii: bytes = detail::formatAscii(grid); break;
    case SurferGridFormat::Binary6: bytes = detail::formatBinary6(grid, path); break;
    case SurferGridFormat::Binary7: bytes = detail::formatBinary7(grid, path); break;
    }
    writeFileAtomic(path, bytes);
}

} // namespace trelvik::formats
