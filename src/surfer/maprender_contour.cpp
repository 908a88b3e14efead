// Contour lines by marching squares (see maprender.h).
#include "surfer/maprender.h"

#include <algorithm>

namespace surfer {

std::vector<ContourLevel> traceContours(const trelvik::Grid& grid, const std::vector<double>& levelsIn) {
    std::vector<double> levels = levelsIn;
    std::sort(levels.begin(), levels.end());
    std::vector<ContourLevel> out;
    out.reserve(levels.size());
    for (double l : levels) out.push_back({l, {}});
    if (grid.cols < 2 || grid.rows < 2 || levels.empty()) return out;
    const double dx = grid.xSpacing(), dy = grid.ySpacing();

    for (int r = 0; r + 1 < grid.rows; ++r) {
        const double y0 = grid.y(r), y1 = grid.y(r + 1);
        const double* row0 = grid.z.data() + static_cast<std::size_t>(r) * grid.cols;
        const double* row1 = row0 + grid.cols;
        for (int c = 0; c + 1 < grid.cols; ++c) {
            const double z00 = row0[c], z10 = row0[c + 1], z01 = row1[c], z11 = row1[c + 1];
            if (trelvik::isBlank(z00) || trelvik::isBlank(z10) || trelvik::isBlank(z01) || trelvik::isBlank(z11))
                continue;
            const double lo = std::min(std::min(z00, z10), std::min(z01, z11));
            const double hi = std::max(std::max(z00, z10), std::max(z01, z11));
            // A level crosses the cell when some corner is below it and some at or above.
            auto it = std::upper_bound(levels.begin(), levels.end(), lo);
            if (it == levels.end() || *it > hi) continue;
            const double x0 = grid.xMin + c * dx, x1 = x0 + dx;
            for (; it != levels.end() && *it <= hi; ++it) {
                const double L = *it;
                // Crossing points on the four edges: bottom, right, top, left.
                auto cross = [L](double za, double zb) { return (L - za) / (zb - za); };
                const bool a00 = z00 >= L, a10 = z10 >= L, a11 = z11 >= L, a01 = z01 >= L;
                double ex[4], ey[4];
                bool has[4] = {a00 != a10, a10 != a11, a01 != a11, a00 != a01};
                if (has[0]) { ex[0] = x0 + cross(z00, z10) * dx; ey[0] = y0; }
                if (has[1]) { ex[1] = x1; ey[1] = y0 + cross(z10, z11) * dy; }
                if (has[2]) { ex[2] = x0 + cross(z01, z11) * dx; ey[2] = y1; }
                if (has[3]) { ex[3] = x0; ey[3] = y0 + cross(z00, z01) * dy; }
                auto& segs = out[static_cast<std::size_t>(it - levels.begin())].segments;
                auto join = [&](int p, int q) { segs.push_back({ex[p], ey[p], ex[q], ey[q]}); };
                const int n = has[0] + has[1] + has[2] + has[3];
                if (n == 2) {
                    int p = -1, q = -1;
                    for (int e = 0; e < 4; ++e)
                        if (has[e]) (p < 0 ? p : q) = e;
                    join(p, q);
                } else if (n == 4) {
                    const bool centreAbove = (z00 + z10 + z01 + z11) / 4 >= L;
                    // Cut off the two corners that are not joined through the centre.
                    if (a00 == centreAbove) {  // z00 and z11 join over the centre
                        join(0, 1);            // around z10
                        join(2, 3);            // around z01
                    } else {
                        join(3, 0);  // around z00
                        join(1, 2);  // around z11
                    }
                }
            }
        }
    }
    return out;
}

} // namespace surfer
