// The trelvik executable: reads the settings beside the program, opens the main
// window and registers the tool windows its menus open.
#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "app/toolwindows.h"
#include "core/appstate.h"
#include "core/error.h"
#include "shell/frmStartup.h"
#include "shell/settings.h"
#include "surferwin/mapwindow.h"
#include "widgets/qtprompt.h"
#include "widgets/wheelneedsfocus.h"

namespace {

// The bundled samples: beside the executable in an installed copy, one level up
// when running from a build folder inside the source tree.
QString findSamplesDir(const QString& exeDir) {
    for (const QString& candidate : {exeDir + "/samples", exeDir + "/../samples"}) {
        if (QFileInfo(candidate).isDir()) return QDir::cleanPath(candidate);
    }
    return QDir::cleanPath(exeDir);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Trelvik");
    trelvik::installWheelNeedsFocus(app);

    trelvik::AppState state;
    state.ProgramDir = QDir::toNativeSeparators(QCoreApplication::applicationDirPath()).toStdString();
    trelvik::QtPrompt prompt;
    try {
        trelvik::LoadSettingsAtStartup(state, findSamplesDir(QCoreApplication::applicationDirPath()).toStdString());
    } catch (const trelvik::Error& e) {
        // The run goes on with the defaults already in state; only storing them failed.
        prompt.message("", e.what());
    }

    // An instance of the stand-in shows its map window as soon as it is made visible
    // (File > Start Surfer, or a tool window attaching with version 8).
    trelvik::surferwin::setDataFolderSource([&state] { return state.DefaultDir; });
    trelvik::surferwin::watchVisibleInstances();

    trelvik::frmStartup w(state, prompt);
    trelvik::registerToolWindows(w, state, prompt);
    w.show();
    return app.exec();
}
