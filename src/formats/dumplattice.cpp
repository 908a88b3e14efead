#include "formats/dumplattice.h"

#include "core/error.h"
#include "formats/xyzdump.h"

#include <filesystem>
#include <limits>

namespace trelvik::formats {

DumpLattice readDumpLattice(const std::string& path) {
    DumpLattice d;
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec) d.z.reserve(static_cast<std::size_t>(size / 24) + 1);
    bool firstRowDone = false;
    std::size_t col = 0;  // column of the next record within its row
    auto fail = [&](const std::string& why, std::size_t line) {
        throw Error("The XYZ text " + path + " is not a whole grid: " + why + " (line " + std::to_string(line) + ").");
    };
    try {
        scanXyzDump(path, [&](const XyzRecord& r) {
            if (!firstRowDone) {
                if (d.x.empty() || r.y == d.y[0]) {
                    if (d.y.empty()) d.y.push_back(r.y);
                    d.x.push_back(r.x);
                    d.z.push_back(r.z);
                    return;
                }
                firstRowDone = true;
                if (d.x.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
                    fail("too many nodes in a row", r.line);
                d.ncols = static_cast<int>(d.x.size());
                col = 0;
            }
            if (col == 0) {
                d.y.push_back(r.y);
            } else if (r.y != d.y.back()) {
                fail("a row ends after " + std::to_string(col) + " of " + std::to_string(d.ncols) + " nodes", r.line);
            }
            if (r.x != d.x[col]) fail("the x of a node differs from the x of its column in the first row", r.line);
            d.z.push_back(r.z);
            if (++col == static_cast<std::size_t>(d.ncols)) col = 0;
        });
    } catch (const XyzLineError& e) {
        throw Error("The XYZ text " + path + " has no x, y and z on line " + std::to_string(e.line()) + ".");
    }
    if (d.z.empty()) throw Error("The XYZ text " + path + " holds no grid nodes.");
    if (!firstRowDone) throw Error("The XYZ text " + path + " holds a single row of nodes; a grid needs two rows.");
    if (col != 0)
        throw Error("The XYZ text " + path + " is not a whole grid: its last row has " + std::to_string(col) + " of " +
                    std::to_string(d.ncols) + " nodes.");
    if (d.ncols < 2) throw Error("The XYZ text " + path + " holds a single column of nodes; a grid needs two columns.");
    if (d.y.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw Error("The XYZ text " + path + " holds too many rows.");
    d.nrows = static_cast<int>(d.y.size());
    return d;
}

} // namespace trelvik::formats
