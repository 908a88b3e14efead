#include "csvview/slopeanalysis.h"

#include <cmath>

namespace trelvik::csvview {

namespace {
constexpr double kPi = 3.14159265358979;
constexpr double kDeg = 180.0 / kPi;

// Downhill bearing from the column and row changes; 9999 when flat.
inline double orientation(double d1, double d2) {
    if (d1 == 0) {
        if (d2 == 0) return kVoidHeight;
        return d2 > 0 ? 180.0 : 0.0;
    }
    if (d2 == 0) return d1 < 0 ? 90.0 : 270.0;
    const double a = std::atan(d1 / d2) * kDeg;
    if (d2 > 0) return a + 180.0;
    if (d1 > 0) return a + 360.0;
    return a;
}

// Horn's operator at the interior cell whose row-major index is k, on a plain z array.
inline void horn(const double* z, std::size_t k, std::size_t cols, double& d1, double& d2) {
    const double* up = z + k + cols;  // row + 1
    const double* mid = z + k;
    const double* dn = z - cols + k;  // row - 1
    // Summed as differences of opposite cells, so that a surface level along one
    // direction gives exactly 0 there (and so an exact bearing), not rounding noise.
    d1 = ((dn[1] - dn[-1]) + 2 * (mid[1] - mid[-1]) + (up[1] - up[-1])) / 8;
    d2 = ((up[-1] - dn[-1]) + 2 * (up[0] - dn[0]) + (up[1] - dn[1])) / 8;
}

// True when any of the eight neighbours of index k is empty.
inline bool voidAround(const double* z, std::size_t k, std::size_t cols) {
    const double* up = z + k + cols;
    const double* mid = z + k;
    const double* dn = z + k - cols;
    return isVoid(dn[-1]) || isVoid(dn[0]) || isVoid(dn[1]) || isVoid(mid[-1]) || isVoid(mid[1]) ||
           isVoid(up[-1]) || isVoid(up[0]) || isVoid(up[1]);
}

} // namespace

void slopeFlags(SlopeChoice choice, SlopeOptions& opts) {
    opts.wantSlope = choice != SlopeChoice::Angular;
    opts.wantOrient = choice == SlopeChoice::Aspect || choice == SlopeChoice::ShadedRelief;
    opts.wantAngular = choice == SlopeChoice::Angular;
}

const char* procModeName(SlopeChoice choice) {
    switch (choice) {
    case SlopeChoice::Slope: return "Slope";
    case SlopeChoice::Aspect: return "Aspect";
    case SlopeChoice::Angular: return "Angular";
    case SlopeChoice::ShadedRelief: return "ShadedRelief";
    }
    return "";
}

SlopeGrids computeSlopeGrids(const LatticeGrid& working, double xstep, double ystep, const SlopeOptions& opts) {
    SlopeGrids g;
    // The row change is brought to the x step's scale; exactly 1 for square cells, so
    // those give the same bits as a plain division by the x step.
    const double yScale = (ystep > 0 && ystep != xstep) ? xstep / ystep : 1.0;
    const int cols = working.cols, rows = working.rows;
    g.slope = LatticeGrid::sameNodes(working, kVoidHeight);
    g.orient = LatticeGrid::sameNodes(working, kVoidHeight);
    g.angularity = LatticeGrid::sameNodes(working, kVoidHeight);
    g.slopeDeg = LatticeGrid(cols, rows);

    const std::size_t n = working.cells.size();
    const std::size_t w = static_cast<std::size_t>(cols);
    std::vector<double> z(n), sdeg(n, 0.0), sgrad(n, kVoidHeight);
    for (std::size_t k = 0; k < n; ++k) z[k] = working.cells[k].z;
    std::vector<std::uint8_t> analysed(n, 0);

    for (int r = 2; r < rows; ++r) {
        for (int c = 2; c < cols; ++c) {
            const std::size_t k = working.index(c, r);
            if (voidAround(z.data(), k, w)) continue;
            double d1, d2;
            horn(z.data(), k, w, d1, d2);
            d2 *= yScale;
            const double s = std::sqrt(d1 * d1 + d2 * d2) / xstep;
            const double deg = std::atan(s) * kDeg;
            double o = orientation(d1, d2);
            if (opts.useMinSlope && deg < opts.minSlope) o = -1;
            analysed[k] = 1;
            sgrad[k] = s;
            sdeg[k] = deg;
            g.slope.cells[k].z = s;
            g.slopeDeg.cells[k].z = deg;
            g.orient.cells[k].z = o;
        }
    }
    // Angularity: the slope of the slope-angle surface, where all eight neighbours have a slope.
    for (int r = 2; r < rows; ++r) {
        for (int c = 2; c < cols; ++c) {
            const std::size_t k = working.index(c, r);
            if (!analysed[k] || voidAround(sgrad.data(), k, w)) continue;
            double d1, d2;
            horn(sdeg.data(), k, w, d1, d2);
            d2 *= yScale;
            g.angularity.cells[k].z = std::atan(std::sqrt(d1 * d1 + d2 * d2) / xstep) * kDeg;
        }
    }

    // shadeSlope is built only once its content is known: a grid of a million cells
    // costs as much to lay out as the slope loop takes.
    if (opts.wantSlope && opts.wantOrient) {
        g.processed = g.orient;
        g.shadeSlope = g.slope;
    } else {
        g.shadeSlope = LatticeGrid(cols, rows);
        if (opts.wantSlope)
            g.processed = g.slope;
        else if (opts.wantAngular)
            g.processed = g.angularity;
        else
            g.processed = LatticeGrid(cols, rows);
    }
    return g;
}

} // namespace trelvik::csvview
