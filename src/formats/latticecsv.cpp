#include "formats/latticecsv.h"

#include "core/error.h"
#include "core/textform.h"
#include "formats/xyzpointfile.h"

#include <cmath>
#include <limits>

namespace trelvik::formats {

namespace {

// Round(x, decimals) with halves to even, fast for the common case; values close to
// a half defer to the system's decimal rule so that both always agree.
double roundDecimals(double x, int decimals, double scale) {
    const double t = x * scale;
    if (std::fabs(t) < 1e15) {
        const double f = t - std::floor(t);
        if (std::fabs(f - 0.5) > 1e-6) return std::nearbyint(t) / scale;
    }
    return text::Round(x, decimals);
}

} // namespace

PointList readLatticeCsv(const std::string& path) { return readXyzPointFile(path); }

void writeLatticeCsv(const std::string& path, const PointList& points) { writeXyzPointFile(path, points); }

LatticeSteps findLatticeSteps(const PointList& points) {
    LatticeSteps s;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const double dx = points[i].x - points[i - 1].x;
        const double dy = points[i].y - points[i - 1].y;
        const double rx = std::fabs(roundDecimals(dx, 6, 1e6));
        if (rx > 0 && rx < s.xstep) s.xstep = std::fabs(text::Round(dx, 10));
        const double ry = std::fabs(roundDecimals(dy, 6, 1e6));
        if (ry > 0 && ry < s.ystep) s.ystep = std::fabs(text::Round(dy, 10));
    }
    return s;
}

long latticeIndex(double offset, double step) {
    const double q = offset / step;
    if (!(std::fabs(q) < 1e9)) return q > 0 ? 1000000000L : -1000000000L;
    return static_cast<long>(roundDecimals(q, 0, 1.0)) + 1;
}

LatticeExtent calcLatticeExtent(PointList& points, bool originalModel, const std::string& path) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    LatticeExtent e;
    e.xmin = e.ymin = e.zmin = inf;
    e.xmax = e.ymax = e.zmax = -inf;
    double anyMin = inf;  // lowest non-blank height, used when every height is just below 0
    std::vector<std::uint8_t> blank(points.size(), 0);
    for (std::size_t i = 0; i < points.size(); ++i) {
        PointXYZ& p = points[i];
        if (p.z == kLatticeVoid) continue;
        ++e.heights;
        // Blank before negation, so that a negated blank can never become the minimum.
        if (std::fabs(p.z) > kLatticeBlankAbove || std::isnan(p.z)) {
            blank[i] = 1;
        } else if (originalModel) {
            p.z = -p.z;
            // A negated height that lands on the empty marker must stay a height.
            if (p.z == kLatticeVoid) p.z = std::nextafter(kLatticeVoid, 0.0);
        }
        if (p.x < e.xmin) e.xmin = p.x;
        if (p.y < e.ymin) e.ymin = p.y;
        if (p.x > e.xmax) e.xmax = p.x;
        if (p.y > e.ymax) e.ymax = p.y;
        if (!blank[i]) {
            if (p.z < anyMin) anyMin = p.z;
            // Heights just below zero are scanner noise at the base; they never set zmin.
            if (!(p.z > -0.0001 && p.z < 0) && p.z < e.zmin) e.zmin = p.z;
        }
    }
    if (e.heights == 0) throw Error(path + ": no point holds a height");
    if (e.zmin == inf) e.zmin = (anyMin == inf) ? 0.0 : anyMin;
    for (std::size_t i = 0; i < points.size(); ++i) {
        PointXYZ& p = points[i];
        if (p.z == kLatticeVoid && !blank[i]) continue;
        if (blank[i]) p.z = e.zmin;
        if (p.z > e.zmax) e.zmax = p.z;
    }
    if (originalModel) {
        for (std::size_t i = 0; i < points.size(); ++i) {
            PointXYZ& p = points[i];
            if (p.z == kLatticeVoid && !blank[i]) continue;
            p.z -= e.zmin;
        }
        e.zminBeforeRezero = e.zmin;
        e.zmin = 0;
        e.zmax -= e.zminBeforeRezero;
    }
    return e;
}

} // namespace trelvik::formats
