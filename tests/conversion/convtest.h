#pragma once
// Shared fixture of the conversion tests: a run's state with the stand-in attached,
// a scripted prompt, a temporary folder, and synthetic scans of an analytic crown.
#include "conversion/convstate.h"
#include "core/error.h"
#include "core/grid.h"
#include "core/points.h"
#include "core/prompt.h"
#include "formats/surfergrid.h"
#include "surfer/application.h"
#include "support/tempfolder.h"

#include <cmath>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace convtest {

using namespace trelvik;
using namespace trelvik::conversion;

// The crown: a paraboloid cap over the unit disc.
inline double crown(double x, double y) { return 1 - 0.5 * (x * x + y * y); }

struct ConvRun {
    trelvik::testing::TempFolder dir;
    AppState app;
    ScriptedPrompt prompt;
    ConvState state;
    ConvOptions opt;
    ConvView view;

    explicit ConvRun(bool v6 = false) {
        surfer::shutdownAll();
        app.ProgramDir = app.DefaultDir = dir.folder();
        app.mnuSurf6Checked = v6;
        app.mnuSurf8Checked = !v6;
        opt.File1Folder = dir.folder();
        opt.chkPlotSurfer = false;
        ApplyDefaultSettings(opt);
    }
    ~ConvRun() { surfer::shutdownAll(); }
    ConvContext ctx() { return ConvContext{app, prompt, state, opt, view}; }
    void add(const std::string& name) {
        opt.Text1 = name;
        auto c = ctx();
        AddFilename(c);
    }
    Grid grid(const std::string& name) const { return formats::readSurferGrid(dir.path(name)); }
    std::string messages() const {
        std::string all;
        for (const auto& m : prompt.shown) all += m.text + "\n";
        return all;
    }
};

// Points of the crown on a lattice of spacing h over the disc, row by row.
inline PointList latticeCrown(double h) {
    PointList p;
    const int n = static_cast<int>(std::lround(1 / h));
    for (int j = -n; j <= n; ++j)
        for (int i = -n; i <= n; ++i) {
            const double x = i * h, y = j * h;
            if (x * x + y * y <= 1) p.push_back({x, y, crown(x, y)});
        }
    return p;
}

// Random points of the crown over the disc.
inline PointList scatteredCrown(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-1, 1);
    PointList p;
    while (static_cast<int>(p.size()) < n) {
        const double x = u(rng), y = u(rng);
        if (x * x + y * y <= 1) p.push_back({x, y, crown(x, y)});
    }
    return p;
}

inline std::string xyzText(const PointList& pts) {
    std::ostringstream s;
    s.precision(17);
    for (const auto& p : pts) s << p.x << "," << p.y << "," << p.z << "\r\n";
    return s.str();
}

// The lines of a text whose lines end in CR LF (the last line may lack its ending).
inline std::vector<std::string> crlfLines(const std::string& s) {
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < s.size()) {
        std::size_t e = s.find("\r\n", pos);
        if (e == std::string::npos) e = s.size();
        out.push_back(s.substr(pos, e - pos));
        pos = e + 2;
    }
    return out;
}

// Largest difference between the grid and f over the non-blank nodes whose (x, y)
// satisfies `inside`, and the number of such nodes.
template <class F, class In>
std::pair<double, int> worstError(const Grid& g, F f, In inside) {
    double worst = 0;
    int n = 0;
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c) {
            const double x = g.x(c), y = g.y(r), z = g.at(c, r);
            if (isBlank(z) || !inside(x, y)) continue;
            worst = std::max(worst, std::fabs(z - f(x, y)));
            ++n;
        }
    return {worst, n};
}

} // namespace convtest
