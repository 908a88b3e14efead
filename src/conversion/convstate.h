#pragma once
// State of the "File Format Conversion" window and the pieces every converter shares:
// the batch list, the option values read from the window's controls, the labels a
// run moves, the From/To vocabulary and dispatch, adding and clearing files, the
// default-settings rule, file examination, the mapping-program connection and the
// loop that list converters follow.
//
// Lists are stored 0-based: entry i of the window (1..NumFiles) is element i - 1;
// FileIndex counts from 1. A converter may re-point an entry to a file it wrote
// (RepointEntry) so that later names are built on that file.
#include "core/appstate.h"
#include "core/progress.h"
#include "core/prompt.h"

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

namespace trelvik::conversion {

struct ConvState {
    int NumFiles = 0;
    std::vector<std::string> FileFullName;  // FileDir + name: the input and the duplicate key
    std::vector<std::string> FileDir;       // the file list's folder + separator
    std::vector<std::string> FileBase;      // name up to its last "."
    std::vector<std::string> FileStem;      // FileDir + FileBase: the stem of every output
    std::vector<std::string> FileExt;       // name from its last "." on (".txt")
    std::vector<std::string> FileOutName;   // output or intermediate file of the running converter
    std::vector<std::string> FileRejName;   // undercut rejects of the run, per entry
    std::vector<std::string> FileBlnName;   // blanking outline of the run, per entry ("" when none)
    int FileIndex = 0;                      // entry being processed, from 1
    std::string OutNameTag;                 // added to grid names; set at every Add
    std::string ConvMode;                   // "TxtIrreg", "TxtGrid", "Alicona" or "STL"
    std::shared_ptr<surfer::Application> m_Surfer;
    int PlotType = 1;                       // last map type plotted
    double PiczaLastHeight = 0;             // kept between conversions by the Picza lattice rule
    double WrlScale = 0;                    // kept between files by the VRML writer
    bool KeepList = false;                  // the run keeps its list for another try
    bool SurferDue = false;                 // connected at the list run's first call
};

enum class GridOption { Interval, MaxNoRows, AutoInt };
enum class GridMethod { InvDist, Krig, NearNeigh };
enum class OutUnit { Micrometre, Millimetre, Auto };

// The window's controls as the converters read them; texts as typed. Converters write
// back the texts they change (intervals, derived settings); the window shows them.
struct ConvOptions {
    // File selection.
    std::string File1Folder;
    std::string Text1;
    std::vector<std::string> File1Names;  // every file the file list shows
    std::string cmbFromFileType, cmbToFileType;
    bool chkAddOutText = false;
    std::string txtAddOutText = "_";
    bool chkStartSurfer = false;
    // "TXT to GRD".
    GridOption gridOption = GridOption::Interval;
    std::string txtXInt = "0.030", txtYInt = "0.030";
    bool chkEqualXY = true;
    std::string txtMaxNoRows = "200";
    bool chkMould = false;
    GridMethod method = GridMethod::Krig;
    // "UC and blank".
    bool chkRemoveUndercuts = true, chkBlankOutline = true, chkDefaultSet = true;
    std::string txtSearchRadius = "0.020", txtBinSize = "0.030";
    bool optThresh = true;  // else optProp
    std::string txtThresh = "0.05", txtProp = "0.9";
    bool chkFindNeigh = true;
    std::string txtSearchRadiusInc = "0.25";
    bool chkWriteRej = true;
    std::string txtBlnBinSize = "0.1", txtBlnOffset = "0.25";
    bool chkBlankedAreaPts = true;
    // "Plot output".
    bool chkPlotSurfer = true;
    int PlotType = 1;  // 1 relief, 2 contour, 3 image, 4 3-D surface, 0 none selected
    bool chkLabelSurfer = true;
    // "Other formats".
    OutUnit outUnit = OutUnit::Auto;
    bool chkVantWRL = false;
    bool fullCsv = true;  // Option3 "Full CSV (all data pts)", else Option4
    bool chkRemoveBPts = true, chkRenameExt = false;
    std::string txtRenameExt = ".txt";
    bool chkSurfCmMm = true, chkSurfRevZ = true, chkSurfUseTxt = false;
    // "TIF to GRD".
    bool optInVox = true;  // else optInFOV
    std::string X_Field, Y_Field, Z_Field, X_Input_Int, Y_Input_Int, Z_Input_Height;
};

// What a run shows while it works; the window maps it to its labels and bars.
class ConvView {
public:
    virtual ~ConvView() = default;
    virtual void showEntry(const std::string& progress, const std::string& name) { (void)progress, (void)name; }
    virtual void showProcessingFrame() {}
    virtual void clearCleaningLabels() {}
    virtual void showUndercutCount(long long n) { (void)n; }
    virtual Progress& undercutProgress() { return noProgress(); }  // processed of total
    virtual Progress& outlineProgress() { return noProgress(); }   // vertices so far
    // Esc: the running list stops before its next file.
    virtual bool stopRequested() { return false; }
    // A file of the list (or the run before its list) failed and was reported.
    virtual void entryFailed() {}
    // The run's files on the window's bar, a file's gridding moving it within its share.
    virtual Progress& batchProgress() { return noProgress(); }
};

struct ConvContext {
    AppState& app;
    Prompt& prompt;
    ConvState& state;
    ConvOptions& opt;
    ConvView& view;
};

// --- From and To -----------------------------------------------------------------------

// The eleven From items in the window's order.
const std::vector<std::string>& FromItems();
struct FromType {
    std::string pattern;                // file list pattern
    std::vector<std::string> toItems;   // in the window's order
    bool presetsInGrid = false;         // in-grid text: auto intervals, nearest neighbour, no cleaning
};
// The item's pattern and To items; nullopt for a text that is not a From item.
std::optional<FromType> FromTypeOf(const std::string& fromItem);
// The converter a (From, To) pair runs ("ConvertTXT_GRD", ...) and, for the point
// texts, its ConvMode; empty when no pair matches.
struct Converter {
    std::string name, convMode;
};
std::optional<Converter> ConverterFor(const std::string& from, const std::string& to);

// --- The batch list --------------------------------------------------------------------

// "Add filename": adds File1Folder/Text1. Refuses with a "Filename" message and returns
// false for an empty name or a bare pattern ("Choose filename"), a name already listed
// ("Filename already added"). A name without "." is taken whole as its base with an
// empty extension. Sets OutNameTag.
bool AddFilename(ConvContext& ctx);
// "Add all filenames": Add filename for each of File1Names (Text1 takes each name).
int AddAllFilenames(ConvContext& ctx);
void ClearFilenames(ConvState& state);
// Points entry i (1-based) at file F of its folder: FileBase = F's name less its last
// four characters, FileStem = FileDir + FileBase, FileFullName = FileStem + F's last four.
void RepointEntry(ConvState& state, int i, const std::string& F);
// folder + separator + name.
std::string JoinFolder(const std::string& folder, const std::string& name);

// --- Settings --------------------------------------------------------------------------

// Copies the x interval to y when "Equal X,Y int" is ticked; then, with "Use default
// settings", derives the search radius, the undercut bin size, the outline bin size and
// the threshold from the x interval.
void ApplyDefaultSettings(ConvOptions& opt);
// The default search radius for an x interval: xint/2 + Round(xint/10, 3) below 1,
// xint/2 + Round(xint/10, 1) otherwise.
double DefaultSearchRadius(double xint);

// "Examine": the first list entry, or the chosen file when the list is empty, read as
// the From type's conversion to a Surfer grid reads it (an STL's distinct vertices, an
// Alicona text's points, an Avizo surface's converted vertices), else as point text.
struct ExamineResult {
    long long count = 0;
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    std::optional<long long> outputPoints;  // with both intervals above 0
};
// Refuses an empty list with no chosen text file ("Choose text filename", returns
// nullopt); a bad file or an estimate beyond 32-bit range throws trelvik::Error.
std::optional<ExamineResult> ExamineFile(ConvContext& ctx);

// --- The mapping program and the list loop ----------------------------------------------

// Connects state.m_Surfer to the ticked version (a new instance with chkStartSurfer);
// version 8 is made visible and a new instance gets a plot document. No version ticked
// throws trelvik::Error.
void PrepareSurfer(ConvContext& ctx);
bool IsV6(const ConvContext& ctx);
bool IsV8(const ConvContext& ctx);
// Issues one operation on m_Surfer in the run's form; another version token issues
// nothing and returns false. Failures throw trelvik::Error.
bool CallSurfer(ConvContext& ctx, const std::string& operation, const surfer::Positional& v6,
                const surfer::Named& v8);
// m_Surfer, connected first when the list run has not yet; throws when there is none.
surfer::Application& RunSurfer(ConvContext& ctx);

// A message shown with the normal pointer, busy again afterwards.
void Report(ConvContext& ctx, const std::string& title, const std::string& text);

// The replace question of a run (replacequestion.h); Cancel sets KeepList, so that
// the batch list is kept for another try.
bool AskReplace(ConvContext& ctx, const std::vector<std::string>& planned);

// The loop of the list converters: busy pointer; when usesSurfer, a version ticked (else
// the PrepareSurfer message) and PrepareSurfer at the run's first call (CallSurfer,
// RunSurfer), so that an entry refused before it opens no map window; the
// chosen file added when the list is empty; the files outputs(ctx, i) names for every
// entry checked at once (AskReplace: on Cancel no entry runs, and the list is as it
// was before the run); entry(ctx, i) for i = 1..NumFiles with FileIndex = i, each file
// a share of the view's batchProgress that the mapping program's operations (gridding)
// move by their rows. An entry that throws is reported (its FileOutName emptied) and the next entry
// goes on; Esc stops before the next entry, with a message. Returns the entries that completed. A failure before the
// loop (no Surfer) is reported and no entry runs. A run whose every entry was refused
// for the window's settings (trelvik::Refusal) sets KeepList and leaves the list as it
// was made, as Cancel on the replace question does: the settings can be corrected and
// the same files converted. The pointer is normal again however it ends.
using EntryFn = std::function<void(ConvContext&, int)>;
using OutputsFn = std::function<std::vector<std::string>(ConvContext&, int)>;
std::vector<int> RunList(ConvContext& ctx, bool usesSurfer, const EntryFn& entry, const OutputsFn& outputs);

// The plot pass after a grid-producing list: PlotSurfer (plotconverted.h) for each
// completed entry's FileOutName, with FileIndex = its position, when "Plot in Surfer"
// is ticked. A plotting failure is reported once and ends the pass.
void PlotPass(ConvContext& ctx, const std::vector<int>& entries);

} // namespace trelvik::conversion
