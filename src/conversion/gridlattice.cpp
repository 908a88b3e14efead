// Interval detection, point bounds and the GridData lattice of the point conversions.
#include "conversion/pointstogrid.h"

#include "core/error.h"
#include "core/textform.h"
#include "formats/alicona.h"
#include "formats/pointtext.h"
#include "formats/stlascii.h"
#include "surfer/griddatainput.h"

#include <algorithm>
#include <cmath>

namespace trelvik::conversion {

namespace {

bool moreThanGridDataMakes(double cols, double rows) {
    cols = text::Round(cols, 0);
    return cols > surfer::kMaxLatticeAxisNodes || rows > surfer::kMaxLatticeAxisNodes ||
           cols * rows > surfer::kMaxLatticeNodes;
}

// The entry's cleaning files are written before GridData runs: a lattice GridData would
// refuse is refused here, so that a refused entry leaves the earlier run's files.
void requireGriddable(const GridGeometry& g, const std::string& file, const char* advice) {
    if (moreThanGridDataMakes(g.NumCols, static_cast<double>(g.NumRows)))
        throw Refusal("", file + ": the grid would have too many nodes at these intervals; " + advice);
}

// The interval lattice over b: limits snapped to whole intervals, NumCols unrounded; the
// rows as a number, before they are checked and made whole.
GridGeometry intervalLattice(const PointBounds& b, double xint, double yint, double& rows) {
    GridGeometry g;
    g.xint = xint;
    g.yint = yint;
    g.xmin = text::Round(b.xmin / xint, 0) * xint;
    g.xmax = text::Round(b.xmax / xint, 0) * xint;
    g.ymin = text::Round(b.ymin / yint, 0) * yint;
    g.ymax = text::Round(b.ymax / yint, 0) * yint;
    g.NumCols = std::fabs(g.xmax - g.xmin) / xint + 1;
    rows = std::fabs(g.ymax - g.ymin) / yint + 1;
    return g;
}

const char* const kTooManyNodes = ": the grid would have too many nodes at these intervals; choose larger intervals";

} // namespace

void RequireIntervalsGriddable(const PointBounds& b, double xint, double yint, const std::string& file) {
    if (!(xint > 0) || !(yint > 0)) return;
    double rows = 0;
    const GridGeometry g = intervalLattice(b, xint, yint, rows);
    if (!(g.NumCols <= 2e9 && rows <= 2e9) || moreThanGridDataMakes(g.NumCols, text::CInt(rows)))
        throw Refusal("", file + kTooManyNodes);
}

DetectedIntervals DetectIntervals(const PointList& p) {
    DetectedIntervals d;
    const std::size_t n = p.size();
    // Points are numbered from 1 as the rules give them: point k is p[k - 1].
    auto X = [&](std::size_t k) { return p[k - 1].x; };
    auto Y = [&](std::size_t k) { return p[k - 1].y; };
    for (std::size_t k = 1; k <= 1000 && k + 1 <= n; ++k) {
        if (Y(k) == Y(k + 1) && X(k) != X(k + 1)) {
            d.order = "YConst";
            break;
        }
        if (X(k) == X(k + 1) && Y(k) != Y(k + 1)) {
            d.order = "XConst";
            break;
        }
    }
    double xs = 1000000, ys = 1000000;
    if (d.order == "YConst") {
        for (std::size_t k = 1; k <= 100 && k + 1 <= n; ++k) {
            if (Y(k) == Y(k + 1)) {
                const double s = text::Round(std::fabs(X(k) - X(k + 1)), 10);
                if (s > 0 && s < xs) xs = s;
            }
            for (std::size_t j = 1; j <= 1000 && k + j <= n; ++j) {
                if (X(k + j) == X(k)) {
                    const double s = std::fabs(Y(k) - Y(k + j));
                    if (s > 0 && s < ys) ys = s;
                    break;
                }
            }
        }
    } else if (d.order == "XConst") {
        for (std::size_t k = 1; k <= 1000 && k + 1 <= n; ++k) {
            if (X(k) == X(k + 1)) {
                const double s = std::fabs(Y(k) - Y(k + 1));
                if (s > 0 && s < ys) ys = s;
            }
            for (std::size_t j = 1; j <= 100 && k + j <= n; ++j) {
                if (Y(k + j) == Y(k)) {
                    const double s = std::fabs(X(k) - X(k + j));
                    if (s > 0 && s < xs) xs = s;
                    break;
                }
            }
        }
    }
    d.x = text::Round(xs, 8);
    d.y = text::Round(ys, 8);
    return d;
}

PointBounds BoundsOf(const PointList& pts) {
    PointBounds b;
    if (pts.empty()) return b;
    b.xmin = b.xmax = pts[0].x;
    b.ymin = b.ymax = pts[0].y;
    bool haveZ = false;
    for (const auto& p : pts) {
        b.xmin = std::min(b.xmin, p.x);
        b.xmax = std::max(b.xmax, p.x);
        b.ymin = std::min(b.ymin, p.y);
        b.ymax = std::max(b.ymax, p.y);
        if (p.z < 1e37) {
            b.zmin = haveZ ? std::min(b.zmin, p.z) : p.z;
            b.zmax = haveZ ? std::max(b.zmax, p.z) : p.z;
            haveZ = true;
        }
    }
    return b;
}

GridGeometry GeometryByIntervals(const PointBounds& b, double xint, double yint, const std::string& file) {
    if (!(xint > 0) || !(yint > 0))
        throw Refusal("", file + ": the grid intervals must be numbers above 0 (X " + text::CStr(xint) + ", Y " +
                    text::CStr(yint) + ")");
    double rows = 0;
    GridGeometry g = intervalLattice(b, xint, yint, rows);
    if (!(g.NumCols <= 2e9 && rows <= 2e9)) throw Refusal("", file + kTooManyNodes);
    g.NumRows = static_cast<long>(text::CInt(rows));
    if (g.NumCols < 1.5 || g.NumRows < 2)
        throw Refusal("", file + ": the points span less than two grid intervals in x or y; choose smaller intervals");
    requireGriddable(g, file, "choose larger intervals");
    return g;
}

GridGeometry GeometryByMaxRows(const PointBounds& b, long long n, const std::string& file) {
    if (n < 2) throw Refusal("", file + ": \"Max. no. rows/cols\" must be at least 2");
    GridGeometry g;
    const double xr = b.xmax - b.xmin, yr = b.ymax - b.ymin;
    g.xmin = b.xmin;
    g.ymin = b.ymin;
    if (std::fabs(xr) > std::fabs(yr)) {
        g.NumCols = static_cast<double>(n);
        g.xint = text::Round(xr / static_cast<double>(n - 1), 3);
        g.yint = g.xint;
        if (!(g.xint > 0)) throw Refusal("", file + ": the x range is too small for three-decimal intervals");
        g.xmax = g.xmin + (g.NumCols - 1) * g.xint;
        g.NumRows = static_cast<long>(text::CInt(text::Round(std::fabs(yr) / g.yint, 0)));
        g.ymax = g.ymin + static_cast<double>(g.NumRows - 1) * g.yint;
    } else {
        g.NumRows = static_cast<long>(n);
        g.yint = text::Round(yr / static_cast<double>(n - 1), 3);
        g.xint = g.yint;
        if (!(g.yint > 0)) throw Refusal("", file + ": the y range is too small for three-decimal intervals");
        g.ymax = g.ymin + static_cast<double>(g.NumRows - 1) * g.yint;
        g.NumCols = text::Round(std::fabs(xr) / g.xint, 0);
        g.xmax = g.xmin + (g.NumCols - 1) * g.xint;
    }
    if (g.NumCols < 2 || g.NumRows < 2)
        throw Refusal("", file + ": the points are too narrow for a grid of at least two rows and columns");
    requireGriddable(g, file, "choose a smaller \"Max. no. rows/cols\"");
    return g;
}

PointList ReadEntryPoints(const std::string& convMode, const std::string& path) {
    if (convMode == "STL") return formats::distinctVertices(formats::readAsciiStlVertices(path));
    return convMode == "Alicona" ? formats::readAliconaText(path) : formats::readPointText(path);
}

} // namespace trelvik::conversion
