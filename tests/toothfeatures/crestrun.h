#pragma once
// One run of the crest and rake steps for the procedure tests: the run's state with the
// chosen version ticked, a scripted prompt, a fresh mapping-program stand-in, and the
// tooth grid in a temporary folder. Digitise prompts are answered by writing the file
// the prompt names, as the user would from the map.
#include "core/appstate.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "gridmaker.h"
#include "core/prompt.h"
#include "formats/surfergrid.h"
#include "support/tempfolder.h"
#include "surfer/application.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace crestrun {

using namespace trelvik;

using toothtest::makeGrid;

struct CrestRun {
    trelvik::testing::TempFolder dir;
    AppState app;
    ScriptedPrompt prompt;

    explicit CrestRun(bool v6) {
        surfer::shutdownAll();
        app.mnuSurf6Checked = v6;
        app.mnuSurf8Checked = !v6;
        app.ProgramDir = app.DefaultDir = dir.folder();
    }
    ~CrestRun() { surfer::shutdownAll(); }

    std::string folder() const { return dir.folder(); }
    std::string path(const std::string& name) const { return dir.path(name); }
    void grid(const std::string& name, const Grid& g) {
        formats::writeSurferGrid(dir.path(name), g, formats::SurferGridFormat::Binary7);
    }
    // Answers the next "Digitise map" prompt with OK after saving `content` as `file`.
    void digitise(const std::string& file, const std::string& content) {
        prompt.respond([this, file, content](const ScriptedPrompt::Shown& s) {
            EXPECT_EQ(s.title, "Digitise map");
            EXPECT_NE(s.text.find("Save as " + file + " in same directory as grid"), std::string::npos) << s.text;
            EXPECT_EQ(s.readPath, dir.path(file));
            writeFileAtomic(dir.path(file), content);
            return Answer::Ok;
        });
    }
    std::vector<std::string> lines(const std::string& name) const {
        std::vector<std::string> out;
        std::string all = dir.read(name), cur;
        for (char c : all) {
            if (c == '\n') {
                if (!cur.empty() && cur.back() == '\r') cur.pop_back();
                out.push_back(cur);
                cur.clear();
            } else {
                cur.push_back(c);
            }
        }
        if (!cur.empty()) out.push_back(cur);
        return out;
    }
    std::vector<std::string> titles() const {
        std::vector<std::string> t;
        for (const auto& s : prompt.shown) t.push_back(s.title);
        return t;
    }
    std::string lastMessage() const { return prompt.shown.empty() ? std::string() : prompt.shown.back().text; }
    bool exists(const std::string& name) const { return FileExists(dir.path(name)); }
    std::vector<std::string> calls(const std::string& operation) const {
        std::vector<std::string> out;
        for (const auto& inst : surfer::instances())
            for (const std::string& line : inst->callLog())
                if (line.rfind(operation + "(", 0) == 0) out.push_back(line);
        return out;
    }
};

// Fields of a comma-separated line (no quoting).
inline std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out(1);
    for (char c : line) {
        if (c == ',') out.emplace_back();
        else out.back().push_back(c);
    }
    return out;
}

} // namespace crestrun
