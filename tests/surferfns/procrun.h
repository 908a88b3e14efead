#pragma once
// One "Surfer Functions" run for the procedure tests: the run's state with the chosen
// version ticked, the window state, a scripted prompt, a fresh mapping-program instance
// (so its call log holds this run's calls only) and grids in a temporary folder.
#include "core/appstate.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/prompt.h"
#include "formats/surfergrid.h"
#include "support/tempfolder.h"
#include "surfer/application.h"
#include "surfer/documents.h"
#include "surfer/plotmodel.h"
#include "surferfns/surffnsstate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace surffnstest {

using namespace trelvik;
using namespace trelvik::surffns;
using TempFolder = trelvik::testing::TempFolder;
using Rows = std::vector<std::vector<double>>;  // top row (greatest y) first, as seen from above

// cols x rows nodes over [x0, x1] x [y0, y1], z = f(x, y).
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

inline std::string saveGrid(const std::string& path, const Grid& g) {
    formats::writeSurferGrid(path, g, formats::SurferGridFormat::Binary7);
    return path;
}

struct ProcRun {
    TempFolder dir;
    AppState app;
    ScriptedPrompt prompt;
    SurfFnsState state;
    SurfFnsContext ctx{app, prompt, state};

    explicit ProcRun(bool v6 = false) {
        surfer::shutdownAll();
        app.mnuSurf6Checked = v6;
        app.mnuSurf8Checked = !v6;
        ctx.chkStartSurfer = true;
        ctx.chkPlotSurfer = false;
        ctx.File2Folder = dir.folder();
    }
    ~ProcRun() { surfer::shutdownAll(); }

    // Lists `name` of `folder` (the run's own folder when empty).
    void add(const std::string& name, const std::string& folder = {}) {
        ctx.File2Folder = folder.empty() ? dir.folder() : folder;
        ctx.Text2 = name;
        AddFilename(ctx);
    }
    void add(const std::string& name, const Grid& g) {
        saveGrid(dir.path(name), g);
        add(name);
    }
    // When the next question is a "Digitise map" prompt, saves `content` as the run
    // folder's digit.dat and answers OK.
    void digitise(const std::string& content) {
        prompt.respond([path = dir.path("digit.dat"), content](const ScriptedPrompt::Shown& s) {
            EXPECT_EQ(s.title, "Digitise map");
            EXPECT_EQ(s.readPath, path);
            writeFileAtomic(path, content);
            return Answer::Ok;
        });
    }
    Grid read(const std::string& name) const { return formats::readSurferGrid(dir.path(name)); }
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
    std::vector<std::shared_ptr<surfer::MapFrame>> maps() const {
        return surfer::asPlot(app.SurferApp->ActiveDocument())->Shapes.maps();
    }
};

} // namespace surffnstest
