#include "formats/surfergrid.h"

#include "core/error.h"
#include "formats/fileio_detail.h"
#include "formats/surfergrid_detail.h"

#include <cmath>

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
    return formatOf(detail::readFilePrefix(path, 4, "grid file"), path);
}

Grid readSurferGrid(const std::string& path) {
    std::string data = detail::readWholeFileOrThrow(path, "grid file");
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
    detail::replaceFile(path, bytes, "grid file");
}

} // namespace trelvik::formats
