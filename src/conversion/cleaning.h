#pragma once
// The conversion window's cleaning steps for one batch entry (FileIndex), around the
// shared cores of undercutremoval.h and blankingoutline.h. The caller hands over the
// entry's points already in the frame they are gridded in (a mould scan turned over
// once, before either step), so the cleaned points, the outline and the grid agree.
//
// Each step comes in two halves, so that an entry makes every check (its grid's
// lattice among them) before it writes anything, and a refused entry leaves the
// earlier run's files as they were.
//
// FindUndercuts: radius r0 = Val("Primary search radius"); with "Use default
//   settings" the bins are as large as r0 and the threshold rule runs with
//   t = Round(4 r0, 3) ("Bin size" shows r0, the threshold box Format(t, "0.000"));
//   otherwise "Bin size" and the chosen rule with its box. Names the files
//     stem-uct<t>_<r0>[m].txt   kept points      (-ucp<p>_... for the proportion rule)
//     stem-uct<t>_<r0>[m]_rej.txt   rejects      (only with "Write rejected points...")
//   with the tags of UndercutTag, "m" for a mould scan: the entry's FileOutName becomes
//   the kept file and FileRejName the rejects name. Fewer than two kept points are
//   refused. "Always find neighbour" changes nothing: every point lies in its own
//   square, so no search comes back empty and there is never a radius to grow.
//   WriteUndercuts writes both files, in bin order, under the working names of `staged`.
// FindBlankingOutline: bin size Val(outline "Bin size"), the given offset factor, bins
//   grown by a third of the first size when the outline exceeds 100,000 vertices or
//   closes around part of the cloud only (at most 20 times). Names stem + "pblnpts.bln"
//   (closed ring, flag 0), stem + "pblnptsinfo.txt" (bin size and offset factor) and,
//   with "Place in blanked area", stem + "p.txt": the points and then the fill points at
//   the lowest height; sets FileBlnName and (fill file) FileOutName. When the outline
//   gives up, the step is not made (nothing to write) and holds the message to show once
//   the entry's grid is made.
//   WriteBlankingOutline writes the files of a made step, under the working names of
//   `staged`: the entry puts them in place with its grids.
// Both throw trelvik::Refusal naming the entry's file for settings that are not numbers
// above 0; an output file is replaced only by its complete new version.
#include "conversion/blankingoutline.h"
#include "conversion/convstate.h"
#include "conversion/undercutremoval.h"
#include "core/commit/commit.h"
#include "core/fileroutines.h"
#include "core/points.h"

#include <string>

namespace trelvik::conversion {

struct UndercutStep {
    UndercutResult res;
    std::string keptFile, rejFile;  // rejFile empty when the rejects are not written
};
UndercutStep FindUndercuts(ConvContext& ctx, const PointList& points);
void WriteUndercuts(const UndercutStep& step, StagedFiles& staged);

struct OutlineStep {
    bool made = false;  // false: the outline gave up
    std::string failure;  // why it gave up, naming the entry's file
    OutlineResult outline;
    double offsetFactor = 0;
    std::string blnFile, infoFile, fillFile;  // fillFile empty without fill points
    PointList withFill;                       // the points and the fill points (fill only)
};
OutlineStep FindBlankingOutline(ConvContext& ctx, const PointList& points, double offsetFactor);
void WriteBlankingOutline(const OutlineStep& step, StagedFiles& staged);

// The name tag of a setting: below 0.1 the last 2 characters of Format(v, "#.000"),
// below 1 the last 3, otherwise Format(v, "###.000") (0.018 -> "18", 0.25 -> "250",
// 1.5 -> "1.500").
std::string UndercutTag(double v);

// The number in a settings box, which must be above 0; otherwise trelvik::Refusal naming
// the file, the setting (`what`) and the text as typed.
double requirePositive(const std::string& text, const char* what, const std::string& file);

// The kept and rejected files' common name for the entry stem under these settings (the
// search radius as set for the entry): stem-uct<t>_<r0>[m], without ".txt".
std::string UndercutName(const ConvOptions& o, const std::string& stem);

} // namespace trelvik::conversion
