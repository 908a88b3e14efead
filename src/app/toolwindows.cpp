#include "app/toolwindows.h"

#include "conversion/frmConversion.h"
#include "csvview/frmCSVView.h"
#include "planes/frmEnamOut.h"
#include "planes/frmLandFind.h"
#include "planes/frmPlaneFit.h"
#include "planes/frmRotateAll.h"
#include "pointclouds/frmPtCloud.h"
#include "shell/frmStartup.h"
#include "surferfns/frmSurfFns.h"
#include "toothfeatures/frmAppAng.h"
#include "toothfeatures/frmCapture.h"
#include "toothfeatures/frmCurvature.h"
#include "toothfeatures/frmCuspOR.h"
#include "toothfeatures/frmCuspVol.h"
#include "toothfeatures/frmRake.h"

namespace trelvik {

void registerToolWindows(frmStartup& w, AppState& state, Prompt& prompt) {
    w.setWindowFactory("frmCSVView", [&] { return new csvview::frmCSVView(state, prompt); });
    w.setWindowFactory("frmSurfFns", [&] { return new frmSurfFns(state, prompt); });
    w.setWindowFactory("frmCuspVol", [&] { return new frmCuspVol(state, prompt); });
    w.setWindowFactory("frmCuspOR", [&] { return new frmCuspOR(state, prompt); });
    w.setWindowFactory("frmConversion", [&] { return new frmConversion(state, prompt); });
    w.setWindowFactory("frmLandFind", [&] { return new frmLandFind(state, prompt); });
    w.setWindowFactory("frmEnamOut", [&] { return new frmEnamOut(state, prompt); });
    w.setWindowFactory("frmCurvature", [&] { return new toothfeatures::frmCurvature(state, prompt); });
    w.setWindowFactory("frmAppAng", [&] { return new frmAppAng(state, prompt); });
    w.setWindowFactory("frmCapture", [&] { return new frmCapture(state, prompt); });
    w.setWindowFactory("frmRake", [&] {
        return new frmRake(state, prompt, [&w] {
            return qobject_cast<frmSurfFns*>(w.windows().load("frmSurfFns"));
        });
    });
    w.setWindowFactory("frmPlaneFit", [&] {
        return new frmPlaneFit(state, prompt, frmPlaneFit::plotThroughSurfFns(w.windows()));
    });
    w.setWindowFactory("frmRotateAll", [&] { return new frmRotateAll(state, prompt); });
    w.setWindowFactory("frmPtCloud", [&] { return new frmPtCloud(state, prompt); });
}

} // namespace trelvik
