#pragma once
// State of the "Curvature" window and the services its steps share.
//
// The window smooths a tooth grid, makes a curvature grid from it through the mapping
// program, and measures curvature along a digitised crest or over a digitised patch.
// Every output lies beside the topographic grid and is named from TopoStem (its folder
// and base name). CurvState holds what the steps leave for each other, under the
// window's own names; CurvContext adds the run's services. The window keeps its own
// mapping-program instance (m_Surfer), attached by the smoothing and input steps; a
// later step finding none attached (a topographic grid input without the automatic
// curvature input) attaches it rather than fail.
//
// Typed numbers: the window's boxes are checked as whole texts (BoxNumber), so a
// mistyped size or interval is refused with a message naming its box instead of being
// read as 0.
#include "core/appstate.h"
#include "core/progress.h"
#include "core/prompt.h"
#include "toothfeatures/curvcontrols.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace surfer {
class Application;
struct Positional;
struct Named;
}

namespace trelvik::toothfeatures {

struct CurvState {
    std::shared_ptr<surfer::Application> m_Surfer;

    // Grids (full paths) and names.
    std::string GridBaseName;   // the grid's file name less its last four characters
    std::string TopoStem;       // folder + separator + GridBaseName
    std::string SourceGrid;     // the grid "Smoothing" smooths
    std::string TopoGrid;       // the smoothed topographic grid
    std::string SmoothTag;      // tag of the last smoothing ("_fwa9,4x3", "sm0"); empty before
    double SmoothPasses = 0;
    std::vector<double> AverageKernel;  // n x n, row by row (version-8 average smoothing)
    std::string CurvatureGrid;  // the curvature grid the crest and area steps read
    std::string CrestCode;      // code of the chosen crest; empty until chosen

    // Curvature grids.
    std::string AngleInterval;  // the all-angles step as typed
    std::string OVAngleText;    // the occlusal-vector angle, two decimals

    // The last crest slice: its files, and one entry per slice point (index 0 first).
    std::string SliceStem;  // the name stem S the slice's files and results table share
    std::string SlicePointsFile, SliceLineFile, TopoSliceFile, CurvSliceFile;
    long SliceCount = 0;
    std::vector<double> SliceX, SliceY, SliceZ, SliceDist, SliceCurv;  // blank: kBlank
    double CurvMax = 0, CurvMin = 0;
    long IntervalCount = 0;

    // Area curvature: 1 for a grid in micrometres, 0.001 in millimetres.
    double UnitFactor = 0.001;
};

struct CurvContext {
    AppState& app;
    Prompt& prompt;
    CurvState& state;
    // The window's bar and Esc for the steps that loop (the all-angles directions).
    Progress& progress = noProgress();
};

// --- Mapping program ------------------------------------------------------------------

// Attaches m_Surfer to the running instance of the ticked version (made visible with
// version 8). Throws trelvik::Error when no version is ticked.
void AttachSurfer(CurvContext& ctx);
bool IsV6(const CurvContext& ctx);
bool IsV8(const CurvContext& ctx);
// One operation on m_Surfer in the run's call form; another version token issues
// nothing and returns false.
bool CallCurv(CurvContext& ctx, const std::string& operation, const surfer::Positional& v6,
              const surfer::Named& v8);
// m_Surfer, attached first when no earlier step attached it.
surfer::Application& AttachedSurfer(CurvContext& ctx);

// --- Messages --------------------------------------------------------------------------

// A message that ends the step: the pointer is normal while and after it shows.
void Refuse(CurvContext& ctx, const std::string& title, const std::string& text);
// The "Digitise map" question (OK and Cancel): the instruction, a line feed and a
// carriage return, then "Save as digit.dat in same directory as grid then press 'OK'.";
// `readPath` is the digit.dat the step then reads, in the window's folder, which the
// line names instead when it is not the topographic grid's.
// False when the user cancels (pointer normal); after OK the pointer is busy again.
bool AskDigitise(CurvContext& ctx, const std::string& instruction, const std::string& readPath);

// Whether `grid` can give a curvature grid: it must be readable (a failure throws
// trelvik::Error naming it), hold data, and have at least 3 x 3 nodes, since curvature
// needs a node on every side. Otherwise a message says why and the result is false.
bool CurvatureInputUsable(CurvContext& ctx, const std::string& grid);

// The grids a digitise step reads, checked before its "Digitise map" question: the
// topographic grid when `topo`, the curvature grid when `curvature`. A missing one is
// named with what to do: which grid to choose on tab 1b (a curvature grid taken by name
// from a grid that was itself smoothed doubles the smoothing tag), or which step makes
// it. False after the message; nothing is written.
bool DigitiseGridsPresent(CurvContext& ctx, const CurvControls& c, bool topo, bool curvature);

// The "Current grid" of tabs 2a and 2b: the base name of the grid the measuring steps
// read, shown once a step of 1a or 1b gives them their grids.
void ShowCurrentGrid(const CurvState& s, CurvControls& c);

// Runs one step with the busy pointer: a trelvik::Error (or another failure) is shown
// as a message titled "Error" and gives Failed; a stop at Esc (trelvik::Stopped) shows
// its note under the default title and gives Stopped; the pointer is normal however it
// ends.
StepOutcome RunStep(CurvContext& ctx, const std::function<StepOutcome()>& body);

// --- Names and numbers ------------------------------------------------------------------

// folder joined to name with the platform separator (as the other windows join them).
std::string JoinPath(const std::string& folder, const std::string& name);
// The folder part of a path (before its last separator); "" when it has none.
std::string FolderOf(const std::string& path);
// The number a box holds when its whole text (blanks around it aside) is one number;
// nothing for an empty box, a text or a number followed by other characters.
std::optional<double> BoxNumber(const std::string& text);
// A box holding a whole number (9, 9.0); nothing otherwise.
std::optional<long long> BoxWhole(const std::string& text);

} // namespace trelvik::toothfeatures
