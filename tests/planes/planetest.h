#pragma once
// Shared set-up of the plane and rotation tests: a run state ticked for one version,
// a scripted prompt, tooth grids on disk.
#include "core/appstate.h"
#include "core/prompt.h"
#include "surfer/application.h"
#include "surfer/surfertest.h"

#include <gtest/gtest.h>

#include <string>

namespace planetest {

inline trelvik::AppState runState(int version) {
    surfer::shutdownAll();
    trelvik::AppState a;
    a.mnuSurf6Checked = version == 6;
    a.mnuSurf8Checked = version == 8;
    a.SurferVersion = version == 6 ? "SurferV6" : "SurferV8";
    return a;
}

// A responder that saves the digitise file before answering OK.
inline trelvik::ScriptedPrompt::Responder digitise(const trelvik::testing::TempFolder& dir, std::string points) {
    return [&dir, points](const trelvik::ScriptedPrompt::Shown& s) {
        EXPECT_EQ(s.readPath, dir.path("digit.dat"));
        dir.write("digit.dat", points);
        return trelvik::Answer::Ok;
    };
}

} // namespace planetest
