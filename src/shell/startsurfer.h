#pragma once
// File > Start Surfer: starts a new instance of the stand-in for the ticked version
// (never attaches to a running one). A version-8 instance is made visible and given
// one new plot document; a version-6 instance is left hidden and empty. The caller
// keeps no reference. Throws trelvik::Error when no version is ticked.
#include "core/appstate.h"

namespace trelvik {

// Returns the new instance's process identifier.
long StartSurfer(AppState& state);

} // namespace trelvik
