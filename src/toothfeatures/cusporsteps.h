#pragma once
// The steps of the cusp occlusion relief window (frmCuspOR), as plain procedures.
//
//   DigitiseProfile  asks for the groove line (digit.dat, two points), writes the open
//                    slice line <stem>_Profp.bln (header: the texts "2" and "0" in print
//                    zones), has the mapping program slice the grid along it into
//                    <stem>_Prof.dat (x, y, z, distance, segment per line) and keeps the
//                    profile; no copy of the line is made, and a file of the user's
//                    named <stem>_Profp.dat stays as it is. A profile that crosses
//                    blank nodes is refused; a missing grid is said before the
//                    digitise question.
//   DigitiseOcclusalVector  asks for two points along the occlusal vector (digit1.dat),
//                    matches each to its nearest profile point (cuspor.h; "Tolerance
//                    required" shows the tolerance reached), levels the profile on the
//                    chord between them, copies the points to <stem>_ovp.dat and writes
//                    <stem>_corresults.csv (replaced whole); the two go in place together.
// Failures (missing files, too few points, points too far from the profile, a tolerance
// step that is not above 0) end the step with a message and write no file: the line,
// slice and point files are put in place only once the step's checks have passed. A
// refused profile leaves the window with the profile before it, as Cancel would.
#include "core/appstate.h"
#include "core/prompt.h"
#include "toothfeatures/cuspor.h"

#include <memory>
#include <string>

namespace surfer { class Application; }

namespace trelvik::toothfeatures {

struct CuspORControls {
    std::string Label3;           // folder of the file list
    std::string Text2 = "*.grd";  // chosen grid
    std::string Text1 = "1";      // "Tolerance interval (µm)"
    std::string Label9;           // "Tolerance required"
};

struct CuspORState {
    std::shared_ptr<surfer::Application> m_Surfer;
    std::string GridDir;          // folder & separator
    std::string GridBaseName;
    GrooveProfile profile;        // empty until a profile step completes
    int MatchIndex1 = 0, MatchIndex2 = 0;
    int PeakIndex = 0;
};

struct CuspORRun {
    AppState& app;
    Prompt& prompt;
    CuspORControls& c;
    CuspORState& s;
};

// "Digitise groove profile" and "Digitise occlusal vector"; true when the step completed.
bool DigitiseProfile(CuspORRun& run);
bool DigitiseOcclusalVector(CuspORRun& run);

// "Next grid".
void NextGrid(CuspORRun& run);

} // namespace trelvik::toothfeatures
