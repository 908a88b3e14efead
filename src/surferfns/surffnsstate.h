#pragma once
// State of the "Surfer Functions" window and the batch skeleton its buttons share.
//
// The window collects a list of grid files; each batch button runs one mapping-program
// operation over every entry, writes the output beside the input (the entry's
// GridPathNoExt followed by the operation's suffix) and can plot it. The list, the list
// position FileIndex and the window geometry live in SurfFnsState; SurfFnsContext adds
// the run's services and the option values the procedures read from the window.
//
// Lists are stored 0-based: entry i of the window (1..NumFiles) is element i - 1.
// FileIndex counts from 1 and is empty until a batch loop (or PlotSurfer) sets it.
#include "core/appstate.h"
#include "core/error.h"
#include "core/progress.h"
#include "core/prompt.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace surfer {
struct Positional;
struct Named;
}

namespace trelvik::surffns {

// Map options and view of the "Plot output" frame. Text boxes are kept as the text
// typed and read as numbers at each PlotSurfer call.
struct PlotOptions {
    int PlotType = 1;  // option group: 1 relief, 2 contour, 3 image, 4 3-D surface
    bool chkShowAxes = true;
    bool chkLabelSurfer = true;
    bool chkScaleBar = false;
    std::string txtScaleBar = "0.05";
    std::string txtNoInPlotRow = "6";
    std::string txtPlotSpacX = "18";
    std::string txtPlotSpacY = "18";
    std::string txtAzimuth = "135";
    std::string txtZenith = "45";
    std::string txtRot = "45";
    std::string txtTilt = "30";
    int Projection = 1;  // 1 "Pers", 2 "Orth", 0 neither selected
};

// A view preset: what "Above" and "Default" put into the lighting, view and projection.
struct ViewPreset {
    const char* Azimuth;
    const char* Zenith;
    int Projection;
    const char* Rot;
    const char* Tilt;
};
inline constexpr ViewPreset kPresetAbove{"0", "90", 2, "0", "90"};
inline constexpr ViewPreset kPresetDefault{"135", "45", 1, "45", "30"};
void ApplyPreset(PlotOptions& options, const ViewPreset& preset);

// Window geometry of the grid being processed (counts are whole numbers).
struct GridGeo {
    double GeoCols = 0, GeoRows = 0;
    double GeoXSpacing = 0, GeoYSpacing = 0;
    double GeoXMin = 0, GeoXMax = 0, GeoYMin = 0, GeoYMax = 0;
    double GeoZMin = 0, GeoZMax = 0;
};

struct SurfFnsState {
    int NumFiles = 0;
    std::vector<std::string> GridFullName;   // folder + separator + file name; the duplicate key
    std::vector<std::string> GridDir;        // folder + separator
    std::vector<std::string> GridBaseName;   // file name less its last four characters
    std::vector<std::string> GridPathNoExt;  // GridDir + GridBaseName: the stem of every output
    std::vector<std::string> OutGridName;    // last output of the entry (or the grid to plot)
    std::optional<int> FileIndex;            // list position; empty in a fresh window
    int PlotType = 1;
    GridGeo Geo;
};

// What a procedure needs: the run's state and services, the window state, and the
// option values of the window's controls as read when the button was pressed.
struct SurfFnsContext {
    AppState& app;
    Prompt& prompt;
    SurfFnsState& state;
    std::string File2Folder;         // folder shown by the file list
    std::string Text2 = "*.grd";     // chosen file name
    std::vector<std::string> File2Names;  // every file the file list shows (Add all)
    bool chkClearFilenames = true;   // "Clear filenames after fn"
    bool chkStartSurfer = false;     // "Start new Surfer (v8)"
    bool chkPlotSurfer = true;       // "Plot in Surfer"
    PlotOptions plot;
    // "Start new Surfer (v8)" is honoured when the run first plots or asks to digitise,
    // so a run refused at a message leaves no empty map window behind.
    bool newSurferPending = false;
    bool newSurferFresh = false;  // the pending instance was started for this run: use it
    // Progress of a batch: "grid 3 of 20: smoothing" as its status, grids and the rows
    // of long operations as steps; Esc (stopRequested) ends the batch between grids.
    Progress* progress = nullptr;     // none: nothing shown, never stopped
    std::string batchStep = "processing";  // what each grid goes through, for the status
};

// The batch's progress sink (a silent one when none is set).
Progress& BatchProgress(SurfFnsContext& ctx);
// Shows "grid <FileIndex> of <NumFiles>: <what>" as the batch's status.
void BatchStep(SurfFnsContext& ctx, const std::string& what);

// --- The grid list -------------------------------------------------------------------

// "Add filename": adds File2Folder/Text2. Refuses with a "Filename" message (and returns
// false) when Text2 is empty or "*.grd" ("Choose grid filename"), when the name has four
// characters or fewer and so no base name, or when the full name is already
// listed ("Filename already added"). Sets FileIndex as the duplicate scan leaves it.
bool AddFilename(SurfFnsContext& ctx);
// "Add all filenames": Add filename for each of File2Names in turn (Text2 takes each
// name); returns the number added. Text2 ends on the first name. Names refused (already
// listed, too short) are named together in one "Filename" message.
int AddAllFilenames(SurfFnsContext& ctx);
// Every listed grid one its reader will take (inputsPresent); otherwise the normal
// pointer, one "Filename" message for the first that is not ("The grid <path> does not
// exist: ..." for one missing, the reader's own message for a folder, a pipe or another
// user's link), and false. The batches ask it before they attach, so a grid gone since
// it was added is refused before the map window opens and before any question or file.
bool ListedGridsPresent(SurfFnsContext& ctx);
// "Clear filenames": empties the list.
void ClearFilenames(SurfFnsState& state);
// The folder joined to a file name with the platform separator; a folder that already
// ends in one (a drive root) gets a second, as names built from it always have.
std::string JoinFolder(const std::string& folder, const std::string& name);

// --- Mapping-program calls ------------------------------------------------------------

// Connects AppState::SurferApp (new instance when chkStartSurfer, else the running one).
// Version 8: made visible, and with chkStartSurfer a plot document is added.

void PrepareSurfer(SurfFnsContext& ctx);

// True when the run's SurferVersion is "SurferV6" / "SurferV8".
bool IsV6(const SurfFnsContext& ctx);
bool IsV8(const SurfFnsContext& ctx);
// Issues one operation on SurferApp in the form the run's version asks for: positional
// with "SurferV6", named with "SurferV8". Any other token issues nothing and returns
// false. Failures throw trelvik::Error.
bool CallSurfer(SurfFnsContext& ctx, const std::string& operation, const surfer::Positional& v6,
                const surfer::Named& v8);

// A message while a batch runs: the pointer is normal while it shows, busy again after.
void Report(SurfFnsContext& ctx, const std::string& title, const std::string& text);
// A message that ends the handler: the pointer stays normal.
void Refuse(SurfFnsContext& ctx, const std::string& title, const std::string& text);
// The "Digitise map" question (OK and Cancel): the step's instruction, a line feed and a
// carriage return, then "Save as digit.dat in same directory as grid then press 'OK'.";
// `readPath` is the digit.dat the step then reads, in its grid's folder.
// False when the user cancels; the pointer is busy again after OK.
bool AskDigitise(SurfFnsContext& ctx, const std::string& instruction, const std::string& readPath);

// --- The batch skeleton ---------------------------------------------------------------

// What one entry's operation reports back to the skeleton.
enum class EntryResult {
    Done,     // output written and stored in OutGridName(entry): plot it when asked
    Skipped,  // nothing to plot for this entry (already reported); go on
    Stop,     // the user cancelled: end the batch, list kept, no message
};
// One operation on entry (1-based). It sets ctx.state.OutGridName[entry - 1] to the
// grid it wrote. Throwing trelvik::Error ends the batch with that message.
using EntryOperation = std::function<EntryResult(SurfFnsContext& ctx, int entry)>;

enum class ClearRule {
    Always,      // most operations: the list is cleared when the batch ends
    IfTicked,    // "Clear filenames after fn" decides
    Never,
};

enum class BatchOutcome { Completed, Stopped, Failed };

// Runs op over the whole list: hourglass, Add filename first when the list is empty,
// then the list checked (ListedGridsPresent, then `check`) and only then PrepareSurfer,
// so a refused run never opens the map window; FileIndex = 1..NumFiles with the plot step after each Done entry (when
// chkPlotSurfer, map type from ctx.plot.PlotType), then the list is cleared per rule.
// A failure (trelvik::Error or another std::exception) shows its message (a Refusal
// under its own title), ends the batch and keeps the list and every output already
// written; Stop ends it quietly.
// Before each grid the status shows "grid i of n: <batchStep>"; an Esc pressed during
// the run stops it before the next grid with one message, keeping the list and the
// outputs already written (Stopped).
// An empty list with no grid chosen stops the batch at Add filename's refusal.
// `check`, when given, runs once the list is filled and before the first grid's status:
// false stops the batch (its refusal already shown) before anything reads as under way.
// The pointer is normal again however it ends.
BatchOutcome RunBatch(SurfFnsContext& ctx, const EntryOperation& op, ClearRule clear = ClearRule::Always,
                      const std::function<bool()>& check = {});

// "Plot grid": plots every listed input grid (OutGridName := GridFullName) whether or
// not "Plot in Surfer" is ticked; clears the list when "Clear filenames after fn" is.
BatchOutcome PlotGrids(SurfFnsContext& ctx);

} // namespace trelvik::surffns
