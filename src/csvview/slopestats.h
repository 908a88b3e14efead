#pragma once
// Statistics, class tables and per-cell data files of a slope run.
//
// Values collected (rows outer, columns inner, empty cells left out) by the option:
//   Slope       slope angle in degrees        -> slope/<base>slopestats.csv, slopedata.csv
//   Aspect      orientation, -1 included      -> orient/<base>orientstats.csv, orientdata.csv
//   Angular     angularity in degrees         -> angularity/<base>angularitystats.csv, ...data.csv
//   ShadedRelief nothing, no file.
// Slope classes: n = slopeNoCat classes of width 90/n from 0, lower edge and count.
// Orientation classes: n classes centred on (k-1)*360/n; class 1 spans
// [360 - w, 360) and [0, w), w = 180/n; -1 counts in no class.
// During a folder batch slope and angularity add a row to the "00" summary table.
#include "core/appstate.h"
#include "core/commit/commit.h"
#include "core/prompt.h"
#include "core/stats.h"
#include "csvview/resultsfolder.h"
#include "csvview/slopeanalysis.h"

#include <string>
#include <vector>

namespace trelvik { class StagedFiles; }

namespace trelvik::csvview {

struct ClassRow {
    double edge = 0;  // lower edge (slope) or centre (orientation)
    double count = 0;
};

struct SlopeStatsResult {
    std::vector<double> values;  // the collected values (StatValues), in scan order
    bool hasSummary = false;
    SummaryStats summary;
    std::vector<ClassRow> classes;
    std::vector<std::string> filesWritten;
};

// The values of step "statistics" for the option chosen.
std::vector<double> collectSlopeValues(const SlopeGrids& grids, SlopeChoice choice);

// Writes the statistics and data files the options ask for, and the summary row, all
// put in place together; with `into` they are written into that set instead, for the
// caller to put in place with the rest of the file's outputs (its picture). A class
// count below 1 or above 3600, or an empty value list is refused with a message (title
// "Values") and no file is written; the grids stay valid. File errors throw
// trelvik::Error naming the file.
SlopeStatsResult writeSlopeOutputs(const SlopeGrids& grids, const SlopeOptions& opts, const RunContext& ctx,
                                   AppState& app, Prompt& prompt, StagedFiles* into = nullptr);

struct SlopeRun {
    SlopeGrids grids;
    SlopeStatsResult stats;
};

// The whole run of "Curr. file": grids, then the files the options ask for. The
// window then sets SlopeResultsReady and draws grids.processed by its ProcMode.
SlopeRun AspectSlopeCalc(const LatticeGrid& working, double xstep, double ystep, const SlopeOptions& opts, const RunContext& ctx,
                         AppState& app, Prompt& prompt, StagedFiles* into = nullptr);

} // namespace trelvik::csvview
