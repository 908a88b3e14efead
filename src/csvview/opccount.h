#pragma once
// Orientation patch count (OPC) and its rotations (OPCR) of the working grid.
//
// Classes per cell, from one of two sources:
//   orientation  the slope analysis' orientation grid (degrees in [0, 360), 9999
//                flat or void, -1 below the minimum slope): N sectors of width
//                w = 360 / N, turned by offset = w/2 (+ (r-1) w / R in rotation
//                run r): class = Int((v + offset) / w) + 1, wrapped so that N + 1
//                is 1 and N + 2 is 2. -1 is class N + 1 (flat patches), or void
//                with "Void horiz areas".
//   contour      the height bands by the same rule with w = 1 and no offset
//                (class = band + 1, wrapped, -1 as above), N = the number of bands
//                between the lowest and highest present.
// Patches: 4-connected cells of equal class; kept when larger than the minimum
// size M (cells). Per run: P, the summary statistics of the kept sizes, and the
// diversity 1 / sum (size / T)^2 (0 when P < 2), T = non-void cells of the working
// grid outside its outermost ring. With OPCR the run is repeated R times (source
// computed once): R as typed sets the turn w / R between runs, R rounded (halves to
// even) is the number of runs, and P, the statistics and the diversity are averaged
// over the runs made.
// Files, in folder + run name: per-file patch grid (x, y, patch), results table,
// patch bitmap (run 1 only) and the "00" summary tables.
#include "core/appstate.h"
#include "core/commit/commit.h"
#include "core/progress.h"
#include "core/prompt.h"
#include "csvview/contourbands.h"
#include "csvview/latticegrid.h"
#include "csvview/opclabel.h"
#include "csvview/resultsfolder.h"
#include "csvview/slopestats.h"

#include <optional>
#include <string>
#include <vector>

namespace trelvik::csvview {

enum class ClumpSource { AspectSlope, Contour, CurrentView };

// The controls of the "OPC (Clumping)" frame, texts as typed.
struct OpcSettings {
    ClumpSource source = ClumpSource::AspectSlope;
    std::string aspectNoCat = "8";    // txtAspectNoCat (shared with the slope tab)
    std::string minClumpSize = "2";   // txtMinClumpSize
    bool opcr = true;                 // chkOPCR
    std::string noOpcRot = "8";       // txtNoOPCRot
    bool voidHoriz = false;           // chkVoidHoriz
    bool useMinSlope = false;         // chkUseMinSlope (shared with the slope tab)
    std::string minSlope = "10";      // txtMinSlope (shared)
    bool contourByRange = false;      // optContourScaleR selected; false: optContourScaleZ
    std::string contourScaleZ = "2";  // txtContourScaleZ
    std::string contourScaleR = "10"; // txtContourScaleR
    bool singleResultsFile = true;    // chkClumpSingResFile
    bool saveImage = true;            // chkClumpSaveImage
};

// lblClumpNameID from the texts as typed; nothing when the label stays as it is.
std::optional<std::string> UpdateClumpNameID(const OpcSettings& s);
// The run name the count uses for its folder and files (N and M as whole numbers,
// the "xy int" factor as its value).
std::optional<std::string> clumpRunName(const OpcSettings& s);

// Classes of every cell of `source` (orientations) as described above.
std::vector<int> orientationClasses(const LatticeGrid& source, int n, double offset, bool voidHoriz);
// Classes of a band grid (width 1, no offset); `n` receives the band count.
std::vector<int> bandClasses(const LatticeGrid& bands, int& n, bool voidHoriz);

// Cells counted in T: non-void working cells outside the outermost ring.
long countInteriorCells(const LatticeGrid& working);

// A label layer for the result views: x, y of `source`, z the value or 9999.
LatticeGrid labelLayer(const LatticeGrid& source, const std::vector<int>& values);

struct OpcInput {
    const LatticeGrid* working = nullptr;
    double xstep = 1;            // CurrentGrid xstep
    double ystep = 1;            // CurrentGrid ystep
    double zmin = 0, zmax = 0;   // CurrentGrid height range (for the bands)
    SlopeOptions slopeTab;       // option button and save boxes of the slope tab
    RunContext ctx;              // folder, base name, batch flags
};

struct OpcResult {
    bool done = false;  // false: refused with a message, nothing written
    std::string runName;
    int rotations = 1;             // R, the number of runs made
    std::vector<PatchStats> runs;  // one per run
    // Averages over the runs made.
    double avgPatches = 0;
    SummaryStats avgSizes;
    double avgDiversity = 0;
    long totalCells = 0;           // T of the last run
    long pixelsInClumps = 0;       // of run 1 (the per-file files)
    // The last run's layers (for the result views 1..4) and its source grid.
    LatticeGrid bands;             // the band grid (contour source)
    std::vector<int> classes;      // layer 1
    PatchLabels labels;            // provisional (layer 2), component (3..6), patch (7)
    std::optional<SlopeRun> slope; // the slope analysis, orientation source only
    std::string noClumpsText;      // lblNoClumps: P of the last run
    std::string pdClumpedText;     // lblPDClumped: its diversity to 3 places
    std::vector<std::string> filesWritten;

    // The processed grid: the orientation grid or the band grid.
    const LatticeGrid& processed() const { return slope ? slope->grids.processed : bands; }
};

// "Curr. file" of the OPC frame (also each file of a "Clump" batch). Refusals go
// through `prompt` ("Values"; "This option is not enabled" for "Current view").
// The run's files (the slope tab's, the patch grid, its results, the summary rows and
// the bitmap) are put in place together once the run is done; with `into` they are
// written into that set instead, for the caller to put in place with the rest of the
// file's outputs. File errors throw trelvik::Error naming the file. The shared
// statistics fields of `app` hold the last summary computed.
OpcResult ProcClump(const OpcSettings& settings, const OpcInput& in, AppState& app, Prompt& prompt,
                    Progress& progress, StagedFiles* into = nullptr);

} // namespace trelvik::csvview
