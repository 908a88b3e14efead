#pragma once
// The synthetic scan the conversion benchmarks share: a crown 10 mm across (heights
// crownZ), one million points sampled uniformly over the disc of radius 5 mm (about
// every 0.009 mm), every ninth point beyond radius 4 lowered 0.5 mm under the rim as an
// undercut. Always the same points (fixed seed). Also the options of a point text
// converted to a grid by the bare procedure, as the window's defaults give them.
#include "conversion/convstate.h"
#include "core/points.h"

#include <cmath>
#include <random>
#include <string>

namespace convbench {

inline double crownZ(double x, double y) {
    return 3 * std::exp(-(x * x + y * y) / 8) + 0.3 * std::sin(x) * std::cos(y);
}

inline trelvik::PointList scan1M() {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> u(-5, 5);
    trelvik::PointList p;
    p.reserve(1000000);
    while (p.size() < 1000000) {
        const double x = u(rng), y = u(rng), rr = x * x + y * y;
        if (rr > 25) continue;
        const double z = crownZ(x, y);
        p.push_back({x, y, (p.size() % 9 == 0 && rr > 16) ? z - 0.5 : z});
    }
    return p;
}

// File `file` of `folder` to a blanked grid with the default settings, not plotted.
inline trelvik::conversion::ConvOptions textToGridOptions(const std::string& folder, const std::string& file) {
    trelvik::conversion::ConvOptions opt;
    opt.File1Folder = folder;
    opt.Text1 = file;
    opt.chkPlotSurfer = false;
    trelvik::conversion::ApplyDefaultSettings(opt);
    return opt;
}

} // namespace convbench
