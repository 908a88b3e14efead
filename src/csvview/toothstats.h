#pragma once
// Per-tooth statistics of a multi-tooth store and the sorting of its teeth.
//
// For each tooth, on its grid taken as a unit lattice (steps of 1), heights as read
// (lowest 0), cusp threshold thr:
//   MaxHt     the tooth's highest height (zmax(t))
//   TotalSA   sum over squares of four non-void corners of the mean of the two
//             triangulations' areas; a square whose non-void corners all lie below
//             thr adds nothing, to SA or to Vol
//   TotalVol  sum of the non-void heights z(i, j) (no cell area, no base), less the
//             cells of squares skipped by thr (only when SA is measured)
//   SA/Vol    TotalSA / TotalVol; no value when TotalVol is 0
// Void cells (9999) never enter a sum. Threshold: NA 0, Abs and Prop the typed
// number (Prop is not scaled).
// Table: header "ToothNo" then the ticked measures, every field followed by a comma;
// one row per tooth, the tooth number quoted, values bare, a value-less item empty.
#include "core/progress.h"
#include "core/prompt.h"
#include "csvview/latticegrid.h"
#include "csvview/multitooth.h"
#include "csvview/thresholdrule.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trelvik::csvview {

// File name preset in the save window.
inline constexpr const char* kToothStatsFileName = "testcalc.csv";

struct ToothStatsOptions {
    bool maxHt = false, sa = false, vol = false, saVolRat = false;  // chkCSMaxHt, chkCSSA, chkCSVol, chkCSSAVolRat
    ThresholdRule threshold = ThresholdRule::NA;                    // optCMinNA / optCMinAbs / optCMinProp
    std::string absText = "0.1", propText = "0.1";                  // txtCMinAbs, txtCMinProp
};

// "SA/Vol" can be ticked only while "SA" and "Vol" are.
bool allowSaVolRatTick(bool sa, bool vol);

struct ToothSurface {
    double sa = 0, vol = 0;
};
// SA and Vol of one tooth grid; `withSa` applies the threshold skip.
ToothSurface toothSurface(const LatticeGrid& grid, double thr, bool withSa);

// Per-tooth results of the last "All teeth" run (arrays in store order).
struct ToothStatsTable {
    bool available = false;
    std::uint64_t generation = 0;  // the store's read the results belong to
    bool hasMaxHt = false, hasSA = false, hasVol = false, hasSAVolRat = false;
    std::vector<double> MaxHt, TotalSA, TotalVol, TotalSAVolRat;  // NaN: no value
};

// "All teeth": computes the ticked measures for every tooth and replaces `outPath`
// (the save window's SaveFilePath) with the table. A caller whose save window was
// cancelled does not call it. File errors throw trelvik::Error naming the file.
void CalcStatsAllTeeth(const ToothStatsOptions& opts, const MultiToothStore& store, const std::string& outPath,
                       ToothStatsTable& table, Progress& progress);

enum class ToothSortKey { MaxHt, SA, Vol, SAVolRat, LaPlac, None };

struct ToothSortOptions {
    bool sortBox = false;     // chkCSSort
    ToothSortKey key = ToothSortKey::None;
    bool showSorted = false;  // chkCSShowSorted
};

struct ToothSortResult {
    bool sorted = false;
    std::vector<long> index;  // sorted position k (0-based) holds the tooth index[k] (1-based)
    bool storeReordered = false;  // "Show sorted": the window shows tooth 1 and sets the slider to 1
};

// "Sort": orders the teeth by the key with QuickSortWithIndex; with "Show sorted"
// rearranges the store and the table. A key not measured for the teeth held gets a
// message (title "Values") and nothing is sorted.
ToothSortResult SortTeeth(const ToothSortOptions& opts, ToothStatsTable& table, MultiToothStore& store, Prompt& prompt);

} // namespace trelvik::csvview
