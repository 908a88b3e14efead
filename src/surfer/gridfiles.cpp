#include "surfer/gridfiles.h"

#include "core/error.h"
#include "core/commit/workingfiles.h"
#include "formats/surfergrid.h"
#include "formats/xyzdump.h"
#include "surfer/gridcache.h"

#include <cmath>

namespace surfer {

using trelvik::Grid;

Grid readInputGrid(const std::string& path) {
    // Settled before the stamp, so a grid a kill left old is not taken from the cache.
    trelvik::working::settleBeforeReading(path);
    const std::optional<detail::FileStamp> stamp = detail::fileStamp(path);
    if (std::optional<Grid> kept = detail::cachedGrid(path, stamp)) return std::move(*kept);
    Grid g = trelvik::formats::readSurferGridAsItStands(path);
    for (double& z : g.z)
        if (trelvik::isBlank(z)) z = trelvik::kBlank;
    detail::keepGrid(path, stamp, g);
    return g;
}

void writeOutputGrid(int version, const std::string& operation, const std::string& path, const Grid& grid,
                     std::optional<long> outFmt) {
    using trelvik::formats::SurferGridFormat;
    if (path.empty()) throw trelvik::Error(operation + ": no output file named");
    detail::forgetGrid(path);
    const bool version6 = version == 6;
    if (!outFmt || (!version6 && *outFmt == 3)) {
        trelvik::formats::writeSurferGrid(path, grid, SurferGridFormat::Binary7);
        // The next step of a chain reads it back: keep it as that reading would give it.
        detail::keepGrid(path, detail::fileStamp(path), detail::asReadBackFromSurfer7(grid));
        return;
    }
    const long code = *outFmt;
    if (version == 6) {
        if (code == 1) return trelvik::formats::writeSurferGrid(path, grid, SurferGridFormat::Binary6);
        if (code == 3) return trelvik::formats::writeXyzDump(path, grid);
    } else {
        if (code == 1) return trelvik::formats::writeSurferGrid(path, grid, SurferGridFormat::Binary6);
        if (code == 2) return trelvik::formats::writeSurferGrid(path, grid, SurferGridFormat::Ascii);
        if (code == 3) return trelvik::formats::writeSurferGrid(path, grid, SurferGridFormat::Binary7);
        if (code == 4) return trelvik::formats::writeXyzDump(path, grid);
    }
    throw trelvik::Error(operation + ": output format " + std::to_string(code) + " is not known (writing " + path + ")");
}

bool sameLattice(const Grid& a, const Grid& b) {
    if (a.cols != b.cols || a.rows != b.rows) return false;
    const double tx = 1e-3 * std::max(std::fabs(a.xSpacing()), 1e-300) + 1e-12 * std::fabs(a.xMax);
    const double ty = 1e-3 * std::max(std::fabs(a.ySpacing()), 1e-300) + 1e-12 * std::fabs(a.yMax);
    return std::fabs(a.xMin - b.xMin) <= tx && std::fabs(a.xMax - b.xMax) <= tx &&
           std::fabs(a.yMin - b.yMin) <= ty && std::fabs(a.yMax - b.yMax) <= ty;
}

} // namespace surfer
