#pragma once
// A "Surfer Functions" run for the procedure tests: the run's state, a scripted prompt,
// a new mapping-program instance of the asked version, grids in a temporary folder.
#include "core/appstate.h"
#include "core/prompt.h"
#include "formats/surfergrid.h"
#include "formats/tempfolder.h"
#include "surfer/application.h"
#include "surferfns/surffnsstate.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace surffnsproc {

using trelvik::Grid;
using Rows = std::vector<std::vector<double>>;  // top row (greatest y) first, as seen from above

inline Grid makeGrid(int cols, int rows, double x0, double x1, double y0, double y1,
                     const std::function<double(double, double)>& f) {
    Grid g(cols, rows, x0, x1, y0, y1);
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i) g.at(i, j) = f(g.x(i), g.y(j));
    return g;
}

inline Grid fromRows(const Rows& top) {
    const int rows = static_cast<int>(top.size()), cols = static_cast<int>(top[0].size());
    Grid g(cols, rows, 0, cols - 1, 0, rows - 1);
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i) g.at(i, j) = top[rows - 1 - j][i];
    return g;
}

inline Rows rowsOf(const Grid& g) {
    Rows out;
    for (int j = g.rows - 1; j >= 0; --j) out.emplace_back(g.z.begin() + j * g.cols, g.z.begin() + (j + 1) * g.cols);
    return out;
}

struct ProcRun {
    trelvik::AppState app;
    trelvik::ScriptedPrompt prompt;
    trelvik::surffns::SurfFnsState state;
    trelvik::surffns::SurfFnsContext ctx{app, prompt, state};
    trelvik::testing::TempFolder dir;

    explicit ProcRun(bool v6 = false) {
        app.mnuSurf6Checked = v6;
        app.mnuSurf8Checked = !v6;
        ctx.chkStartSurfer = true;  // a fresh instance: its call log holds this run's calls only
        ctx.chkPlotSurfer = false;
        ctx.File2Folder = dir.folder();
    }
    void add(const std::string& name, const Grid& g) {
        trelvik::formats::writeSurferGrid(dir.path(name), g, trelvik::formats::SurferGridFormat::Binary7);
        ctx.Text2 = name;
        trelvik::surffns::AddFilename(ctx);
    }
    Grid read(const std::string& name) const { return trelvik::formats::readSurferGrid(dir.path(name)); }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.folder()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> calls(const std::string& operation) const {
        std::vector<std::string> out;
        for (const std::string& line : app.SurferApp->callLog())
            if (line.rfind(operation + "(", 0) == 0) out.push_back(line);
        return out;
    }
};

} // namespace surffnsproc
