#pragma once
// PrepareSurfer: the first step of every batch button of the "Surfer Functions" window.
//
// Asks GetSurferProgID for the identifier of the ticked version (which also sets
// SurferVersion), then connects AppState::SurferApp to the running instance; with
// "SurferV8" it is made visible. With "Start new Surfer (v8)" ticked (version 8) the
// new instance is started only when the run goes on to show something:
// ShowNewSurfer, called before the first map is drawn and before the user is asked
// to digitise, starts it, makes it visible and gives it a plot document; until then
// the operations run on the running instance (a hidden one when none was running).
// No version ticked throws trelvik::Error.
#include "surferfns/surffnsstate.h"

namespace trelvik::surffns {
// Starts the pending new instance (see above); nothing when none is pending.
void ShowNewSurfer(SurfFnsContext& ctx);
// The version the run will attach to, read from the menu's tick before the attach (and
// set as SurferVersion, as PrepareSurfer sets it), so that a refusal for the version
// comes before the map window opens. False for both when no version is ticked:
// PrepareSurfer's own refusal then follows.
bool AttachesV6(SurfFnsContext& ctx);
bool AttachesV8(SurfFnsContext& ctx);
}
