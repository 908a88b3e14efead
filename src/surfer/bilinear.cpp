#include "surfer/bilinear.h"

#include <algorithm>
#include <cmath>

namespace surfer {

namespace {
// Cell index and fraction along one axis; false when outside.
bool locate(double v, double lo, double step, int n, int& i, double& f) {
    if (n == 1) {
        if (std::fabs(v - lo) > 1e-12 * (1 + std::fabs(lo))) return false;
        i = 0;
        f = 0;
        return true;
    }
    double u = (v - lo) / step;
    if (!(u >= -1e-9 && u <= (n - 1) + 1e-9)) return false;
    u = std::min(std::max(u, 0.0), static_cast<double>(n - 1));
    i = static_cast<int>(std::floor(u));
    if (i >= n - 1) i = n - 2;
    f = u - i;
    // A point on a grid line, computed with rounding, must not lean on the next line.
    if (f < 1e-9) f = 0;
    else if (f > 1 - 1e-9) f = 1;
    return true;
}
} // namespace

double bilinearHeight(const trelvik::Grid& g, double x, double y) {
    if (g.cols < 1 || g.rows < 1) return trelvik::kBlank;
    int i = 0, j = 0;
    double fx = 0, fy = 0;
    if (!locate(x, g.xMin, g.xSpacing(), g.cols, i, fx) || !locate(y, g.yMin, g.ySpacing(), g.rows, j, fy))
        return trelvik::kBlank;
    const int i1 = g.cols > 1 ? i + 1 : i, j1 = g.rows > 1 ? j + 1 : j;
    const double w[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
    const double z[4] = {g.at(i, j), g.at(i1, j), g.at(i, j1), g.at(i1, j1)};
    double sum = 0;
    for (int k = 0; k < 4; ++k) {
        if (w[k] == 0) continue;
        if (trelvik::isBlank(z[k])) return trelvik::kBlank;
        sum += w[k] * z[k];
    }
    return sum;
}

} // namespace surfer
