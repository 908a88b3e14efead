#pragma once
// PrepareSurfer: the first step of every batch button of the "Surfer Functions" window.
//
// Asks GetSurferProgID for the identifier of the ticked version (which also sets
// SurferVersion), then connects AppState::SurferApp: a new instance when "Start new
// Surfer (v8)" is ticked, otherwise the running one. With "SurferV8" the instance is
// made visible and, for a new instance, given a plot document (Documents.Add(1)) for
// the maps that follow. No version ticked throws trelvik::Error.
#include "surferfns/surffnsstate.h"
