#pragma once
// The tool windows the main window's menus open, registered with it once: the program
// itself, the screenshot tool and the guide's worked-example test open every window
// the same way.
#include "core/appstate.h"
#include "core/prompt.h"

namespace trelvik {

class frmStartup;

void registerToolWindows(frmStartup& w, AppState& state, Prompt& prompt);

} // namespace trelvik
