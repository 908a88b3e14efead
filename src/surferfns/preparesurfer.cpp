#include "surferfns/preparesurfer.h"

#include "core/error.h"
#include "shell/settings.h"
#include "surfer/application.h"
#include "surfer/documents.h"

namespace trelvik::surffns {

void PrepareSurfer(SurfFnsContext& ctx) {
    const std::string progId = GetSurferProgID(ctx.app);
    if (progId.empty())
        throw Error("No Surfer version is ticked in the main window's menu: choose Surfer 6 or Surfer 8.");
    if (IsV8(ctx) && ctx.chkStartSurfer) {
        bool running = false;
        for (const auto& a : surfer::instances()) running = running || a->version() == 8;
        ctx.app.SurferApp = surfer::connect(progId, false);
        // Started for the run and still unseen: it becomes the new instance itself.
        ctx.newSurferPending = true;
        ctx.newSurferFresh = !running;
        return;
    }
    ctx.newSurferPending = false;
    ctx.app.SurferApp = surfer::connect(progId, ctx.chkStartSurfer);
    if (IsV8(ctx)) ctx.app.SurferApp->Visible = true;
}

void ShowNewSurfer(SurfFnsContext& ctx) {
    if (!ctx.newSurferPending) return;
    ctx.newSurferPending = false;
    if (!ctx.app.SurferApp || !ctx.newSurferFresh) ctx.app.SurferApp = surfer::connect(GetSurferProgID(ctx.app), true);
    ctx.newSurferFresh = false;
    ctx.app.SurferApp->Visible = true;
    ctx.app.SurferApp->Documents.Add(1);
}

bool AttachesV6(SurfFnsContext& ctx) { return !GetSurferProgID(ctx.app).empty() && IsV6(ctx); }
bool AttachesV8(SurfFnsContext& ctx) { return !GetSurferProgID(ctx.app).empty() && IsV8(ctx); }

} // namespace trelvik::surffns
