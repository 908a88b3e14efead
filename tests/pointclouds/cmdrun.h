#pragma once
// One point-cloud command run for the procedure tests: the run's state, a scripted
// prompt, the window's list and files in a temporary folder.
#include "core/appstate.h"
#include "core/prompt.h"
#include "pointclouds/ptcloudlist.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace ptcloudtest {

using namespace trelvik;
using namespace trelvik::ptcloud;

struct CmdRun {
    trelvik::testing::TempFolder dir;
    AppState app;
    ScriptedPrompt prompt;
    PtCloudList list;
    PtCloudContext ctx{app, prompt, list};
    CmdRun() { ctx.File2Folder = dir.folder(); }
    // Writes the file (when content is given) and lists it.
    void add(const std::string& name, const std::string& content = {}) {
        if (!content.empty()) dir.write(name, content);
        ctx.Text2 = name;
        EXPECT_TRUE(AddFilename(ctx)) << name;
    }
};

inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
        if (!l.empty() && l.back() == '\r') l.pop_back();
        out.push_back(l);
    }
    return out;
}

} // namespace ptcloudtest
