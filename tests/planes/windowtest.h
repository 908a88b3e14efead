#pragma once
// Shared set-up of the window tests: the main window over a temporary folder that is
// both the program's folder and the default directory, a run ticked for version 8, a
// scripted prompt; windows opened through their menu items and files picked in lists.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>

#include <memory>

#include "planetest.h"
#include "shell/frmStartup.h"
#include "support/qtapp.h"
#include "support/tempfolder.h"
#include "surfer/application.h"
#include "widgets/filelistbox.h"

namespace planetest {

struct WindowEnv {
    trelvik::testing::TempFolder dir;
    trelvik::AppState state = runState(8);
    trelvik::ScriptedPrompt prompt;
    std::unique_ptr<trelvik::frmStartup> main;

    WindowEnv() {
        trelvik::testsupport::ensureApp();
        state.ProgramDir = state.DefaultDir = dir.folder();
        main = std::make_unique<trelvik::frmStartup>(state, prompt);
    }
    ~WindowEnv() {
        main.reset();
        QApplication::processEvents();
        surfer::shutdownAll();
    }
    WindowEnv(const WindowEnv&) = delete;
    WindowEnv& operator=(const WindowEnv&) = delete;

    // Triggers the menu item (which must be enabled) and returns the window it loaded.
    template <class W>
    W* open(QAction* item, const char* name) {
        EXPECT_TRUE(item->isEnabled());
        item->trigger();
        return qobject_cast<W*>(main->windows().find(name));
    }
    // Clicks the file `name` in the list.
    void pick(trelvik::FileListBox* list, const char* name) {
        list->refresh();
        ASSERT_TRUE(list->selectFile(name)) << name;
        emit list->clicked();
    }
};

} // namespace planetest
