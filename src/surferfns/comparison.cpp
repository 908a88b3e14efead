#include "surferfns/comparison.h"

#include "core/error.h"
#include "surfer/callargs.h"
#include "surfer/operationprogress.h"
#include "surferfns/plotsurfer.h"

#include <filesystem>

namespace trelvik::surffns {

using surfer::Named;
using surfer::omitted;
using surfer::Positional;

namespace {

constexpr const char* kCompareTitle = "Compare";

bool samePath(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    if (a == b) return true;
    std::error_code ec;
    const fs::path pa = fs::weakly_canonical(a, ec);
    if (ec) return false;
    const fs::path pb = fs::weakly_canonical(b, ec);
    return !ec && pa == pb;
}

// The first output name that would replace a listed grid, or "".
std::string overwrittenInput(const SurfFnsState& s, const std::string& addText) {
    for (int i = 1; i + 1 <= s.NumFiles; i += 2) {
        const std::string out = s.GridPathNoExt[i - 1] + addText + ".grd";
        for (const std::string& in : s.GridFullName)
            if (samePath(out, in)) return out;
    }
    return "";
}

BatchOutcome comparePairs(SurfFnsContext& ctx, const CompareOptions& o) {
    SurfFnsState& s = ctx.state;
    const int n = s.NumFiles;
    if (n < 2) {
        if (n == 1) Refuse(ctx, kCompareTitle, "Add the grid to compare " + s.GridFullName[0] + " with.");
        else Refuse(ctx, kCompareTitle, "Add the two grids to compare.");
        return BatchOutcome::Stopped;
    }
    if (!ListedGridsPresent(ctx)) return BatchOutcome::Stopped;
    const std::string& addText = o.txtCompGridOutGridText;
    if (addText.empty()) {
        Refuse(ctx, "Filename", "Enter the text to add to the output filename.");
        return BatchOutcome::Stopped;
    }
    if (const std::string hit = overwrittenInput(s, addText); !hit.empty()) {
        Refuse(ctx, "Filename", "The output grid " + hit +
                                           " would replace a listed grid: change the text to add to the output "
                                           "filename.");
        return BatchOutcome::Stopped;
    }
    // Attached only once nothing is missing: attaching shows the map window, which a
    // refusal would leave in front with the focus.
    PrepareSurfer(ctx);
    const char* function = o.optCompareMax ? "C=max(A,B)" : o.optCompareMin ? "C=min(A,B)" : nullptr;
    Progress& progress = BatchProgress(ctx);
    const surfer::OperationProgress rows(&progress);
    for (s.FileIndex = 1; *s.FileIndex + 1 <= n; s.FileIndex = *s.FileIndex + 2) {
        const int i = *s.FileIndex;
        if (progress.stopRequested()) {
            Refuse(ctx, "", "Stopped (Esc) before grid " + std::to_string(i) + " of " + std::to_string(n) +
                                ": the outputs of the grids before it are kept.");
            return BatchOutcome::Stopped;
        }
        BatchStep(ctx, "comparing");
        progress.step(i - 1, n);
        const std::string& a = s.GridFullName[i - 1];
        const std::string& b = s.GridFullName[i];
        s.OutGridName[i - 1] = s.GridPathNoExt[i - 1] + addText + ".grd";
        const std::string& out = s.OutGridName[i - 1];
        if (function)
            CallSurfer(ctx, "GridMath", Positional{a, b, out, omitted, function},
                       Named{{"Function", function}, {"InGridA", a}, {"InGridB", b}, {"OutGridC", out}});
        if (ctx.chkPlotSurfer) {
            s.PlotType = ctx.plot.PlotType;
            PlotSurfer(ctx, out, s.PlotType);
        }
    }
    if (n % 2 == 1) {
        Refuse(ctx, kCompareTitle, "The last grid, " + s.GridFullName[n - 1] +
                                              ", has no grid to be compared with and was left out.");
    }
    progress.step(n, n);
    ClearFilenames(s);
    return BatchOutcome::Completed;
}

} // namespace

BatchOutcome CompareGrids(SurfFnsContext& ctx, const CompareOptions& o) {
    BusyScope busy(ctx.prompt);
    try {
        return comparePairs(ctx, o);
    } catch (const std::exception& e) {
        Refuse(ctx, "", e.what());
        return BatchOutcome::Failed;
    }
}

} // namespace trelvik::surffns
