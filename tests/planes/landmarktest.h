#pragma once
// Shared set-up of the landmark and enamel-outline tests: a plane grid on disk and
// trial files in a temporary folder.
#include "core/grid.h"
#include "formats/surfergrid.h"
#include "support/tempfolder.h"

#include <functional>
#include <string>
#include <vector>

namespace landmarktest {

// cols x rows nodes over [x0, x1] x [y0, y1], z = f(x, y).
inline std::string writeGrid(const trelvik::testing::TempFolder& dir, const std::string& name, int cols, int rows,
                             double x0, double x1, double y0, double y1,
                             const std::function<double(double, double)>& f) {
    trelvik::Grid g(cols, rows, x0, x1, y0, y1);
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i) g.at(i, j) = f(g.x(i), g.y(j));
    const std::string p = dir.path(name);
    trelvik::formats::writeSurferGrid(p, g, trelvik::formats::SurferGridFormat::Binary7);
    return p;
}

inline double basalPlane(double x, double y) { return 1 + 0.5 * x + 0.25 * y; }

} // namespace landmarktest
