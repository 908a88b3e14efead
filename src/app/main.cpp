// The trelvik executable: reads the settings beside the program, opens the main
// window and registers the tool windows its menus open.
#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "conversion/frmConversion.h"
#include "core/appstate.h"
#include "core/error.h"
#include "csvview/frmCSVView.h"
#include "planes/frmEnamOut.h"
#include "planes/frmLandFind.h"
#include "planes/frmPlaneFit.h"
#include "planes/frmRotateAll.h"
#include "pointclouds/frmPtCloud.h"
#include "shell/frmStartup.h"
#include "shell/settings.h"
#include "surferfns/frmSurfFns.h"
#include "surferwin/mapwindow.h"
#include "toothfeatures/frmCurvature.h"
#include "toothfeatures/frmCuspOR.h"
#include "toothfeatures/frmCuspVol.h"
#include "toothfeatures/frmAppAng.h"
#include "toothfeatures/frmCapture.h"
#include "toothfeatures/frmRake.h"
#include "widgets/qtprompt.h"

namespace {

// The bundled samples: beside the executable in an installed copy, one level up
// when running from a build folder inside the source tree.
QString findSamplesDir(const QString& exeDir) {
    for (const QString& candidate : {exeDir + "/samples", exeDir + "/../samples"}) {
        if (QFileInfo(candidate).isDir()) return QDir::cleanPath(candidate);
    }
    return QDir::cleanPath(exeDir);
}

// Each tool window is registered here once it exists, e.g.
//   w.setWindowFactory("frmCuspVol", [&] { return new frmCuspVol(state, prompt); });
void registerToolWindows(trelvik::frmStartup& w, trelvik::AppState& state,
                         trelvik::Prompt& prompt) {
    w.setWindowFactory("frmCSVView", [&] { return new trelvik::csvview::frmCSVView(state, prompt); });
    w.setWindowFactory("frmSurfFns", [&] { return new trelvik::frmSurfFns(state, prompt); });
    w.setWindowFactory("frmCuspVol", [&] { return new trelvik::frmCuspVol(state, prompt); });
    w.setWindowFactory("frmCuspOR", [&] { return new trelvik::frmCuspOR(state, prompt); });
    w.setWindowFactory("frmConversion", [&] { return new trelvik::frmConversion(state, prompt); });
    w.setWindowFactory("frmLandFind", [&] { return new trelvik::frmLandFind(state, prompt); });
    w.setWindowFactory("frmEnamOut", [&] { return new trelvik::frmEnamOut(state, prompt); });
    w.setWindowFactory("frmCurvature", [&] { return new trelvik::toothfeatures::frmCurvature(state, prompt); });
    w.setWindowFactory("frmAppAng", [&] { return new trelvik::frmAppAng(state, prompt); });
    w.setWindowFactory("frmCapture", [&] { return new trelvik::frmCapture(state, prompt); });
    w.setWindowFactory("frmRake", [&] {
        return new trelvik::frmRake(state, prompt, [&w] {
            return qobject_cast<trelvik::frmSurfFns*>(w.windows().load("frmSurfFns"));
        });
    });
    w.setWindowFactory("frmPlaneFit", [&] {
        return new trelvik::frmPlaneFit(state, prompt, trelvik::frmPlaneFit::plotThroughSurfFns(w.windows()));
    });
    w.setWindowFactory("frmRotateAll", [&] { return new trelvik::frmRotateAll(state, prompt); });
    w.setWindowFactory("frmPtCloud", [&] { return new trelvik::frmPtCloud(state, prompt); });
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Trelvik");

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
    registerToolWindows(w, state, prompt);
    w.show();
    return app.exec();
}
