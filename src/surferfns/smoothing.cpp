#include "surferfns/smoothing.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "surfer/application.h"
#include "surfer/callargs.h"
#include "surferfns/curvaturechain.h"
#include "surferfns/plotsurfer.h"
#include "surferfns/preparesurfer.h"

#include <cmath>

namespace trelvik::surffns {

using surfer::Named;
using surfer::omitted;
using surfer::Positional;
using surfer::Value;

namespace {

constexpr const char* kFilterTitle = "Filter";
constexpr int kUserMatrixCode = 5;
constexpr double kMaxFilterSize = 1001;

const std::vector<PDFilterItem> kItems = {
    {1, "Moving average (nxn)"},     {2, "Distance weighting (nxn)"}, {3, "Inverse distance (nxn)"},
    {4, "Gaussian LP (nxn)"},        {6, "5 node + average (5x5)"},   {7, "5 node x average (5x5)"},
    {8, "9 node average (3x3)"},     {9, "Gaussian (3x3)"},           {10, "Low pass 1 (3x3)"},
    {11, "Low pass 2 (3x3)"},        {12, "Low pass 3 (3x3)"},        {14, "High pass 1 (3x3)"},
    {15, "High pass 2 (3x3)"},       {16, "High pass 3 (3x3)"},
};

const PDFilterItem* findItem(const std::string& text) {
    for (const PDFilterItem& item : kItems)
        if (text == item.text) return &item;
    return nullptr;
}

std::string codeSuffix(int code, const SmoothOptions& o) {
    const std::string& n = o.txtFilterSize;
    const std::string& w = o.txtWeight;
    switch (code) {
    case 1: return "_fa" + n;
    case 2: return "_fd" + n + "," + w;
    case 3: return "_fid" + n + "," + w + "," + o.txtCWeight;
    case 4: return "_glp" + n + "," + w;
    case 5: return "_fwa" + n + "," + w;
    case 6: return "_5n+";
    case 7: return "_5nx";
    case 8: return "_9na";
    case 9: return "_glp3";
    case 10: return "_lp1";
    case 11: return "_lp2";
    case 12: return "_lp3";
    case 14: return "_hp1";
    case 15: return "_hp2";
    case 16: return "_hp3";
    default: return "";
    }
}

// The filter code of the options, 0 when no pre-defined filter is chosen.
int filterCode(const SmoothOptions& o) {
    if (o.optDefFilter) return kUserMatrixCode;
    const PDFilterItem* item = findItem(o.cmbPDFilter);
    return item ? item->code : 0;
}

void refuse(SurfFnsContext& ctx, const char* text) { Refuse(ctx, kFilterTitle, text); }

} // namespace

const std::vector<PDFilterItem>& PDFilterItems() { return kItems; }

std::vector<double> AverageFilterMatrix(int n, double w) {
    std::vector<double> m(static_cast<std::size_t>(n) * static_cast<std::size_t>(n), 1.0);
    const std::size_t centre = static_cast<std::size_t>(n / 2);
    m[centre * static_cast<std::size_t>(n) + centre] = w;
    return m;
}

void chkCurvature_Click(SmoothOptions& o) {
    const bool on = o.chkCurvature;
    o.txtFilterSize = on ? "9" : "3";
    o.txtWeight = on ? "4" : "3";
    o.optDefFilter = on;
    o.optPDFilter = !on;
    o.txtNoTimes = on ? "3" : "1";
}

std::string SmoothSuffix8(const SmoothOptions& o) {
    const int code = filterCode(o);
    if (code == 0) return "";
    std::string suffix = codeSuffix(code, o);
    if (text::Val(o.txtNoTimes) > 1) suffix += "x" + o.txtNoTimes;
    return suffix;
}

BatchOutcome SmoothGrids(SurfFnsContext& ctx, const SmoothOptions& o) {
    // Checks of the typed numbers come first: a refused size touches no grid.
    const double n = text::Val(o.txtFilterSize);
    const double half = (n - 1) / 2;
    if (half != std::floor(half) || n < 1) {
        refuse(ctx, "Filter size must be odd number.");
        return BatchOutcome::Stopped;
    }
    // The user matrix holds n x n weights: a mistyped size must not exhaust the memory.
    if (n > kMaxFilterSize) {
        refuse(ctx, "Filter size must be 1001 or less.");
        return BatchOutcome::Stopped;
    }
    const int size = static_cast<int>(n);
    const double w = text::Val(o.txtWeight), c = text::Val(o.txtCWeight), p = text::Val(o.txtNoTimes);

    // The filter the ticked version can run is checked before the map window opens.
    const auto filterRuns = [&ctx, &o, p] {
        if (AttachesV8(ctx)) {
            // Only the version-8 filter counts passes; a fraction or none would be refused there.
            if (p < 1 || p != std::floor(p)) {
                refuse(ctx, "No. times must be a whole number of 1 or more.");
                return false;
            }
            if (filterCode(o) == 0) {
                refuse(ctx, "Choose filter.");
                return false;
            }
        } else if (AttachesV6(ctx) && !o.optDefFilter) {
            refuse(ctx, "Must only use 'Define filter' option with Surfer v6.");
            return false;
        }
        return true;
    };

    auto entryOp = [&](SurfFnsContext& cx, int i) -> EntryResult {
        SurfFnsState& s = cx.state;
        const std::string& in = s.GridFullName[i - 1];
        if (IsV8(cx)) s.OutGridName[i - 1] = s.GridPathNoExt[i - 1] + SmoothSuffix8(o) + ".grd";
        else if (IsV6(cx)) s.OutGridName[i - 1] = s.GridPathNoExt[i - 1] + "sm" + o.txtFilterSize + ".grd";
        else return EntryResult::Skipped;
        // The curvature grid is read with the smoothed grid it was made from: both are made
        // under working names and put in place with one commit.
        StagedFiles staged;
        const std::string& out = o.chkCurvature ? staged.work(s.OutGridName[i - 1]) : s.OutGridName[i - 1];
        staged.naming([&] {
            if (IsV8(cx)) {
                const int code = filterCode(o);
                surfer::ResultArray matrix;
                if (code == kUserMatrixCode) matrix = AverageFilterMatrix(size, w);
                // The weight or power and the centre weight named in the output reach the
                // filter; the fixed filters take neither.
                const bool takesPower = code == 2 || code == 3 || code == 4;
                const Value param1 = takesPower ? Value(w) : Value(omitted);
                const Value param2 = code == 3 ? Value(c) : Value(omitted);
                const Value passes = static_cast<long>(p);
                if (!cx.app.SurferApp) throw Error("GridFilter: the mapping program is not connected");
                // The filter is issued by position with either version-8 identifier.
                cx.app.SurferApp->call("GridFilter", Positional{in, code, omitted, omitted, passes, param1, param2,
                                                                size, size, omitted, omitted, Value(matrix), out});
            } else {
                const int radius = (size - 1) / 2;
                CallSurfer(cx, "GridMatrixSmooth", Positional{in, 0, w, omitted, radius, radius, out},
                           Named{{"InGrid", in}, {"Method", 0}, {"Weight", w}, {"RowRadius", radius},
                                 {"ColRadius", radius}, {"OutGrid", out}});
            }
            if (o.chkCurvature) {
                BatchStep(cx, "curvature");
                MakeCurvatureGrid(cx, out, staged.work(CurvatureGridName(s.OutGridName[i - 1])));
            }
        });
        if (o.chkCurvature) staged.commit();
        // The smoothed grid is plotted once it is in place; the curvature grid is not plotted.
        if (cx.chkPlotSurfer) {
            s.PlotType = cx.plot.PlotType;
            PlotSurfer(cx, s.OutGridName[i - 1], s.PlotType);
        }
        return EntryResult::Skipped;  // already plotted above
    };
    ctx.batchStep = "smoothing";
    return RunBatch(ctx, entryOp, ClearRule::Always, filterRuns);
}

} // namespace trelvik::surffns
