#include "surferfns/preparesurfer.h"

#include "core/error.h"
#include "shell/settings.h"
#include "surfer/application.h"

namespace trelvik::surffns {

void PrepareSurfer(SurfFnsContext& ctx) {
    const std::string progId = GetSurferProgID(ctx.app);
    if (progId.empty())
        throw Error("No Surfer version is ticked in the main window's menu: choose Surfer 6 or Surfer 8.");
    ctx.app.SurferApp = surfer::connect(progId, ctx.chkStartSurfer);
    if (IsV8(ctx)) {
        ctx.app.SurferApp->Visible = true;
        if (ctx.chkStartSurfer) ctx.app.SurferApp->Documents.Add(1);
    }
}

} // namespace trelvik::surffns
