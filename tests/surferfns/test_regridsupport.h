#pragma once
// Shared set-up of the tests of the "Surfer Functions" batch procedures: a run state
// with the chosen version ticked, the window state, a scripted prompt, grids on disk in
// a temporary folder and a responder that saves a digitise file when asked to digitise.
#include "core/appstate.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/prompt.h"
#include "formats/surfergrid.h"
#include "formats/tempfolder.h"
#include "surfer/application.h"
#include "surfer/plotmodel.h"
#include "surferfns/surffnsstate.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace surffnstest {

using namespace trelvik;
using namespace trelvik::surffns;
using TempFolder = trelvik::testing::TempFolder;

struct ProcRun {
    AppState app;
    ScriptedPrompt prompt;
    SurfFnsState state;
    SurfFnsContext ctx{app, prompt, state};

    explicit ProcRun(const std::string& version) {
        surfer::shutdownAll();
        app.mnuSurf6Checked = version == "SurferV6";
        app.mnuSurf8Checked = version == "SurferV8";
        ctx.chkPlotSurfer = false;
    }
    ~ProcRun() { surfer::shutdownAll(); }

    void add(const std::string& folder, const std::string& name) {
        ctx.File2Folder = folder;
        ctx.Text2 = name;
        AddFilename(ctx);
    }
    // When the next question is a "Digitise map" prompt, saves `content` as the
    // digit.dat of `folder` and answers OK.
    void digitise(const std::string& folder, const std::string& content) {
        prompt.respond([folder, content](const ScriptedPrompt::Shown& s) {
            EXPECT_EQ(s.title, "Digitise map");
            writeFileAtomic(folder + "/digit.dat", content);
            return Answer::Ok;
        });
    }
    // Call-log lines of one operation.
    std::vector<std::string> calls(const std::string& op) const {
        std::vector<std::string> out;
        for (const auto& l : app.SurferApp->callLog())
            if (l.rfind(op, 0) == 0) out.push_back(l);
        return out;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const auto& m : prompt.shown) t.push_back(m.text);
        return t;
    }
};

// cols x rows nodes over [x0, x1] x [y0, y1], z = f(x, y).
inline Grid makeGrid(int cols, int rows, double x0, double x1, double y0, double y1,
                     const std::function<double(double, double)>& f) {
    Grid g(cols, rows, x0, x1, y0, y1);
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i) g.at(i, j) = f(g.x(i), g.y(j));
    return g;
}

inline std::string saveGrid(const std::string& path, const Grid& g) {
    formats::writeSurferGrid(path, g, formats::SurferGridFormat::Binary7);
    return path;
}

inline const std::vector<std::string> kVersions = {"SurferV6", "SurferV8"};

} // namespace surffnstest
