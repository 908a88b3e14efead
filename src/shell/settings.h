#pragma once
// The settings file Trelgo.ini in AppState::ProgramDir: two lines ending CR LF,
//   1  the default data directory
//   2  the Surfer version token, "SurferV6" or "SurferV8".
// The file is always rewritten whole (temp file + rename), never appended to.
// A missing, unreadable or short file is created anew with defaults rather than
// making start-up or the "Dir" buttons fail.
#include "core/appstate.h"

#include <string>

namespace trelvik {

inline constexpr const char* kSettingsFileName = "Trelgo.ini";

// ProgramDir / "Trelgo.ini".
std::string SettingsFilePath(const AppState& app);

// Start-up: makes sure the settings file holds both lines (creating it with samplesDir
// and "SurferV8", or completing a short one), reads line 1 into DefaultDir and line 2
// into SurferVersion, and sets the version ticks: "SurferV6" ticks Surfer6 only,
// "SurferV8" Surfer8 only; any other token leaves the ticks as they are and stays in
// SurferVersion. Throws trelvik::Error (naming the file) only when the file cannot be
// written; DefaultDir and SurferVersion are filled even then. It first removes the
// private working folders of runs that ended without removing theirs (core/tempfiles.h).
void LoadSettingsAtStartup(AppState& app, const std::string& samplesDir);

// Line 1 of the settings file, read afresh on every call. A missing or empty file is
// rewritten from the run's DefaultDir (throws trelvik::Error when that is empty too).
std::string ReadDefaultDir(AppState& app);

// Rewrites the file: DefaultDir := stored line 1, then line 2 from SurferVersion
// ("SurferV6"/"SurferV8"; any other value writes no line 2).
void SaveSurferVersion(AppState& app);

// "Surfer.APP" when Surfer6 is ticked (SurferVersion := "SurferV6"), else
// "Surfer.Application" when Surfer8 is ticked (SurferVersion := "SurferV8"), else ""
// with SurferVersion unchanged.
std::string GetSurferProgID(AppState& app);

// "Update dir and exit": stores folder as line 1 and keeps the stored line 2 (the run's
// SurferVersion, or "SurferV8", when the file has none). An empty folder keeps the
// stored directory.
void UpdateDefaultDir(AppState& app, const std::string& folder);

} // namespace trelvik
