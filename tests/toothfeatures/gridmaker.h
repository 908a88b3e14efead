#pragma once
// A grid of an analytic surface for the tooth-feature tests.
#include "core/grid.h"

#include <functional>

namespace toothtest {

// cols x rows nodes over [x0, x1] x [y0, y1], z = f(x, y).
inline trelvik::Grid makeGrid(int cols, int rows, double x0, double x1, double y0, double y1,
                              const std::function<double(double, double)>& f) {
    trelvik::Grid g(cols, rows, x0, x1, y0, y1);
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i) g.at(i, j) = f(g.x(i), g.y(j));
    return g;
}

} // namespace toothtest
