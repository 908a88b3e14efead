#include "surfer/gridcalculus.h"

#include "surfer/griddataparallel.h"

#include <cmath>
#include <numbers>

namespace surfer {

namespace {

using trelvik::Grid;
using trelvik::isBlank;
using trelvik::kBlank;

constexpr double kDegrees = 180.0 / std::numbers::pi;

// Gradient at an interior node; false when the stencil meets a blank node.
inline bool gradient(const Grid& g, int c, int r, double dx2, double dy2, double& gx, double& gy) {
    const double* row = g.z.data() + static_cast<std::size_t>(r) * g.cols;
    const double zc = row[c], zw = row[c - 1], ze = row[c + 1];
    const double zs = row[c - g.cols], zn = row[c + g.cols];
    if (isBlank(zc) || isBlank(zw) || isBlank(ze) || isBlank(zs) || isBlank(zn)) return false;
    gx = (ze - zw) / dx2;
    gy = (zn - zs) / dy2;
    return true;
}

template <class Fn>
Grid mapInterior(const Grid& in, Fn&& fn) {
    Grid out(in.cols, in.rows, in.xMin, in.xMax, in.yMin, in.yMax, kBlank);
    if (in.cols < 3 || in.rows < 3) return out;
    detail::forEachRowBlock(in.rows - 2, [&](int r0, int r1) {
        for (int r = r0 + 1; r < r1 + 1; ++r) {
            double* o = out.z.data() + static_cast<std::size_t>(r) * in.cols;
            for (int c = 1; c < in.cols - 1; ++c) o[c] = fn(c, r);
        }
    }, 16);
    return out;
}

} // namespace

Grid terrainSlope(const Grid& in) {
    const double dx2 = 2 * in.xSpacing(), dy2 = 2 * in.ySpacing();
    return mapInterior(in, [&](int c, int r) {
        double gx, gy;
        if (!gradient(in, c, r, dx2, dy2, gx, gy)) return kBlank;
        return std::atan(std::hypot(gx, gy)) * kDegrees;
    });
}

Grid terrainAspect(const Grid& in, double minSlopeRadians) {
    const double dx2 = 2 * in.xSpacing(), dy2 = 2 * in.ySpacing();
    return mapInterior(in, [&](int c, int r) {
        double gx, gy;
        if (!gradient(in, c, r, dx2, dy2, gx, gy)) return kBlank;
        const double steep = std::hypot(gx, gy);
        if (steep == 0 || std::atan(steep) < minSlopeRadians) return kBlank;
        // Downhill is -gradient; its bearing clockwise from +y is atan2(east, north).
        double a = std::atan2(-gx, -gy) * kDegrees;
        if (a < 0) a += 360;
        if (a >= 360) a -= 360;
        return a;
    });
}

Grid directionalCurvature(const Grid& in, double angleDegrees) {
    const double dx = in.xSpacing(), dy = in.ySpacing();
    const double t = angleDegrees / kDegrees;
    const double u = std::cos(t), v = std::sin(t);
    return mapInterior(in, [&](int c, int r) {
        const double* s = in.z.data() + static_cast<std::size_t>(r - 1) * in.cols + c;
        const double* m = s + in.cols;
        const double* n = m + in.cols;
        for (int k = -1; k <= 1; ++k)
            if (isBlank(s[k]) || isBlank(m[k]) || isBlank(n[k])) return kBlank;
        const double zx = (m[1] - m[-1]) / (2 * dx);
        const double zy = (n[0] - s[0]) / (2 * dy);
        const double zxx = (m[1] - 2 * m[0] + m[-1]) / (dx * dx);
        const double zyy = (n[0] - 2 * m[0] + s[0]) / (dy * dy);
        const double zxy = (n[1] - n[-1] - s[1] + s[-1]) / (4 * dx * dy);
        const double d1 = zx * u + zy * v;
        const double d2 = zxx * u * u + 2 * zxy * u * v + zyy * v * v;
        return d2 / std::pow(1 + d1 * d1, 1.5);
    });
}

} // namespace surfer
