#pragma once
// One "Curvature" window run for the step tests: the run's state with the chosen version
// ticked, the window state and controls (both folders on a temporary folder), a scripted
// prompt and a fresh mapping-program instance, so its call log holds this run's calls.
#include "core/appstate.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "gridmaker.h"
#include "core/prompt.h"
#include "formats/surfergrid.h"
#include "support/tempfolder.h"
#include "surfer/application.h"
#include "toothfeatures/curvcontrols.h"
#include "toothfeatures/curvsmooth.h"
#include "toothfeatures/curvstate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace curvtest {

using namespace trelvik;
using namespace trelvik::toothfeatures;
using TempFolder = trelvik::testing::TempFolder;

using toothtest::makeGrid;

struct CurvRun {
    TempFolder dir;
    AppState app;
    ScriptedPrompt prompt;
    CurvState state;
    CurvContext ctx{app, prompt, state};
    CurvControls c;

    explicit CurvRun(bool v6 = false) {
        surfer::shutdownAll();
        app.mnuSurf6Checked = v6;
        app.mnuSurf8Checked = !v6;
        c.Label1 = c.Label3 = dir.folder();
    }
    ~CurvRun() { surfer::shutdownAll(); }

    std::string path(const std::string& name) const { return dir.path(name); }
    void save(const std::string& name, const Grid& g) const {
        formats::writeSurferGrid(dir.path(name), g, formats::SurferGridFormat::Binary7);
    }
    Grid read(const std::string& name) const { return formats::readSurferGrid(dir.path(name)); }
    bool exists(const std::string& name) const { return std::filesystem::exists(dir.path(name)); }

    // Saves `name` and takes it as the topographic grid (no curvature grid by name).
    void inputTopo(const std::string& name, const Grid& g) {
        save(name, g);
        c.Text7 = name;
        c.chkInputCurvGrid = false;
        ASSERT_EQ(Input_Top(ctx, c), StepOutcome::Done);
    }

    // When the next question comes, saves `content` as the folder's digit.dat and says OK.
    void digitise(const std::string& content) {
        prompt.respond([p = dir.path("digit.dat"), content](const ScriptedPrompt::Shown& s) {
            EXPECT_EQ(s.title, "Digitise map");
            EXPECT_EQ(s.readPath, p);
            writeFileAtomic(p, content);
            return Answer::Ok;
        });
    }
    std::vector<std::string> files() const {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir.folder()))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> calls(const std::string& operation) const {
        std::vector<std::string> out;
        if (!state.m_Surfer) return out;
        for (const std::string& line : state.m_Surfer->callLog())
            if (line.rfind(operation + "(", 0) == 0) out.push_back(line);
        return out;
    }
    // Texts of every message shown so far.
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& s : prompt.shown) out.push_back(s.text);
        return out;
    }
};

} // namespace curvtest
