#pragma once
// Folder batch runs ("All files"): every ".dat" point file of a folder is read as
// "Read CSV" reads it and the chosen analysis is run on it, with the batch flags
// telling the analyses to begin their "00" summary tables at the first file and
// append one row per later file.
//
// Files: the folder's regular files whose extension is ".dat" (any case), in name
// order. Per file: read into the current grid, copied to the working grid, then
//   Clump        ProcClump (slope and orientation once per file, whatever R)
//   AspectSlope  AspectSlopeCalc with the slope tab's option and save boxes
//   Contour      ContourBands
//   CalcStats    CalcSAVolStats
// A file's outputs (its tables, its summary rows and the picture the window saves
// when `afterFile` shows it) are put in place together once it is shown. A file that
// cannot be read, analysed or written, or an analysis refused with a message, ends
// the batch, its earlier outputs whole; the next batch begins its summary tables anew.
// A folder without ".dat" files is named in a message.
#include "core/appstate.h"
#include "core/commit/commit.h"
#include "core/points.h"
#include "core/progress.h"
#include "core/prompt.h"
#include "csvview/contourbands.h"
#include "csvview/latticegrid.h"
#include "csvview/latticeread.h"
#include "csvview/opccount.h"
#include "csvview/slopestats.h"
#include "csvview/surfacearea.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace trelvik::csvview {

enum class AllFilesMode { Clump, AspectSlope, Contour, CalcStats };

struct BatchOptions {
    std::string folder;           // the file list's folder
    AllFilesMode mode = AllFilesMode::AspectSlope;
    bool originalModel = false;   // chkOrigModelFile
    SizeOption size = SizeOption::Minimum;
    SizeMode previousSizeMode = SizeMode::None;  // the window's last read, kept by "Other"
    SlopeOptions slope;           // the slope tab (its option button decides the flags)
    OpcSettings opc;              // the OPC tab
    ContourOptions contour;       // the contour frame
    bool saveSAVolStats = false;  // chkSAVolSaveStats
};

// What the batch holds after each file; the window draws it (and its renderer
// saves the images its save boxes ask for).
struct BatchFileResult {
    std::string fileName;
    CurrentGrid grid;
    PointList points;
    LatticeGrid working;
    std::optional<SlopeRun> slope;
    std::optional<OpcResult> opc;
    std::optional<LatticeGrid> bands;
    std::optional<SurfaceMeasures> surface;
    // While `afterFile` shows the file: the set its outputs are written into, which the
    // picture saved of it joins; put in place once `afterFile` returns.
    StagedFiles* files = nullptr;
};

struct BatchResult {
    std::vector<std::string> files;  // the ".dat" files found, in the order run
    long filesDone = 0;
    bool failed = false;             // ended early (message shown)
    std::optional<BatchFileResult> last;
};

// `afterFile` (optional) is called after each file's analysis with its results; an
// error it throws ends the batch with the file's outputs left out.
BatchResult ProcessAllFiles(const BatchOptions& opts, AppState& app, Prompt& prompt, Progress& progress,
                            const std::function<void(const BatchFileResult&)>& afterFile = {});

// The ".dat" files of `folder`, in name order.
std::vector<std::string> batchFiles(const std::string& folder);

} // namespace trelvik::csvview
