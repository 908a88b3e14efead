#pragma once
// Shared helpers of the stand-in's tests: grids on disk in a temporary folder.
#include "core/grid.h"
#include "formats/surfergrid.h"
#include "support/tempfolder.h"
#include "surfer/application.h"

#include <functional>
#include <string>

namespace surfertest {

using trelvik::Grid;

// cols x rows nodes over [x0, x1] x [y0, y1], z = f(x, y).
inline Grid makeGrid(int cols, int rows, double x0, double x1, double y0, double y1,
                     const std::function<double(double, double)>& f) {
    Grid g(cols, rows, x0, x1, y0, y1);
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i) g.at(i, j) = f(g.x(i), g.y(j));
    return g;
}

inline std::string saveGrid(const trelvik::testing::TempFolder& dir, const std::string& name, const Grid& g,
                            trelvik::formats::SurferGridFormat fmt = trelvik::formats::SurferGridFormat::Binary7) {
    const std::string p = dir.path(name);
    trelvik::formats::writeSurferGrid(p, g, fmt);
    return p;
}

inline std::shared_ptr<surfer::Application> v6() { return surfer::connect("Surfer.APP", true); }
inline std::shared_ptr<surfer::Application> v8() { return surfer::connect("Surfer.Application", true); }

} // namespace surfertest
