#include "toothfeatures/curvsmooth.h"

#include "core/digitiseinputs.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "shell/settings.h"
#include "surfer/application.h"
#include "surfer/callargs.h"
#include "surfer/documents.h"
#include "surfer/plotmodel.h"
#include "surferfns/regridxyz.h"
#include "surferfns/smoothing.h"

#include <cmath>

namespace trelvik::toothfeatures {

using surfer::Named;
using surfer::omitted;
using surfer::Positional;

namespace {

constexpr const char* kMask = "*.grd";
constexpr double kMaxFilterSize = 1001;  // the matrix holds n x n weights

// A file name the steps can build names from: chosen, and longer than its extension.
bool chosenName(const std::string& name) { return !name.empty() && name != kMask && name.size() > 4; }

struct Filter {
    int n = 0;
    double weight = 0;
};

// The size and weight boxes checked; nothing when refused (the message is shown).
std::optional<Filter> readFilter(CurvContext& ctx, const CurvControls& c) {
    const auto n = BoxNumber(c.txtNoRow);
    if (n && *n == std::floor(*n) && std::fmod(*n, 2.0) == 0) {
        Refuse(ctx, "", "No. row/col must be odd number.");
        return std::nullopt;
    }
    if (!n || *n != std::floor(*n) || *n < 1) {
        Refuse(ctx, "Values", "No. row/col must be a positive odd whole number.");
        return std::nullopt;
    }
    if (*n > kMaxFilterSize) {
        Refuse(ctx, "Values", "No. row/col must be 1001 or less.");
        return std::nullopt;
    }
    const auto w = BoxNumber(c.txtWeight);
    if (!w) {
        Refuse(ctx, "Values", "Weight/alpha must be a number.");
        return std::nullopt;
    }
    return Filter{static_cast<int>(*n), *w};
}

// Version 6 smooths one pass per call; the passes between the grid and the result are
// kept in a folder of their own.
void smoothV6(CurvContext& ctx, const CurvControls& c, const Filter& f, long passes) {
    surfer::Application& app = AttachedSurfer(ctx);
    CurvState& s = ctx.state;
    PrivateFolder work("curvsmooth");
    const int h = (f.n - 1) / 2;
    std::string in = s.SourceGrid;
    for (long i = 1; i <= passes; ++i) {
        const std::string out = work.file("sm" + std::to_string(i) + ".grd");
        app.call("GridMatrixSmooth", Positional{in, 0, c.txtWeight, omitted, h, h, out});
        in = out;
    }
    surffns::copyFileReplacing(in, s.TopoGrid);
}

void smoothV8(CurvContext& ctx, const CurvControls& c, const Filter& f, long passes) {
    CurvState& s = ctx.state;
    if (c.optSmAverage) {
        s.AverageKernel = surffns::AverageFilterMatrix(f.n, f.weight);
        CallCurv(ctx, "GridFilter", Positional{},
                 Named{{"InGrid", s.SourceGrid}, {"Filter", 5}, {"NumPasses", passes}, {"NumRow", f.n},
                       {"NumCol", f.n}, {"UserFilter", &s.AverageKernel}, {"OutGrid", s.TopoGrid}});
    } else {
        CallCurv(ctx, "GridFilter", Positional{},
                 Named{{"InGrid", s.SourceGrid}, {"Filter", 4}, {"NumPasses", passes}, {"NumRow", f.n},
                       {"NumCol", f.n}, {"Param1", f.weight}, {"OutGrid", s.TopoGrid}});
    }
}

// Check1: the curvature grid as a contour map when it is input.
void plotOnInput(CurvContext& ctx, const CurvControls& c) {
    if (c.Check1) PlotCurvatureContour(ctx, ctx.state.CurvatureGrid);
}

} // namespace

StepOutcome Smooth(CurvContext& ctx, CurvControls& c) {
    return RunStep(ctx, [&] {
        CurvState& s = ctx.state;
        if (!chosenName(c.Text1)) {
            Refuse(ctx, "Filename", "Choose grid filename");
            return StepOutcome::Refused;
        }
        const auto passes = BoxWhole(c.txtNoSmooth);
        if (!passes || *passes < 0) {
            Refuse(ctx, "Values", "No. of times to smooth must be a whole number of 0 or more.");
            return StepOutcome::Refused;
        }
        std::optional<Filter> filter;
        if (*passes > 0) {
            filter = readFilter(ctx, c);
            if (!filter) return StepOutcome::Refused;
        }
        GetSurferProgID(ctx.app);  // the version ticked, before the map window is shown
        if (*passes > 0 && !c.optSmAverage && IsV6(ctx)) {
            Refuse(ctx, "Values", "Gaussian smoothing needs Surfer 8: choose 'Average' with Surfer 6.");
            return StepOutcome::Refused;
        }

        if (!CurvatureInputUsable(ctx, JoinPath(c.Label1, c.Text1))) return StepOutcome::Refused;
        // Attached only once nothing is missing: attaching shows the map window, which a
        // refusal would leave in front with the focus.
        AttachSurfer(ctx);

        // The names take effect once the grid is smoothed: a failed smoothing leaves the
        // grid of the last one (or none) for the curvature steps, never a missing file.
        CurvState next = s;
        next.GridBaseName = text::BaseName(c.Text1);
        next.TopoStem = JoinPath(c.Label1, next.GridBaseName);
        next.SourceGrid = JoinPath(c.Label1, c.Text1);
        next.SmoothPasses = static_cast<double>(*passes);
        if (*passes == 0) {
            next.SmoothTag = "sm0";
            next.TopoGrid = next.TopoStem + "sm0.grd";
            surffns::copyFileReplacing(next.SourceGrid, next.TopoGrid);
        } else {
            next.SmoothTag = std::string(c.optSmAverage ? "_fwa" : "_glp") + c.txtNoRow + "," + c.txtWeight + "x" +
                             c.txtNoSmooth;
            next.TopoGrid = next.TopoStem + next.SmoothTag + ".grd";
            CurvContext step{ctx.app, ctx.prompt, next};
            if (IsV6(ctx)) smoothV6(step, c, *filter, static_cast<long>(*passes));
            else if (IsV8(ctx)) smoothV8(step, c, *filter, static_cast<long>(*passes));
        }
        s = std::move(next);
        ShowCurrentGrid(s, c);
        return StepOutcome::Done;
    });
}

StepOutcome Input_Top(CurvContext& ctx, CurvControls& c) {
    return RunStep(ctx, [&] {
        CurvState& s = ctx.state;
        c.Label1 = c.Label3;
        if (!chosenName(c.Text7)) {
            Refuse(ctx, "", "Please choose grid filename");
            return StepOutcome::Refused;
        }
        // A name typed for a grid not on disk is refused here, not taken in silence with
        // the map window opened over the window and tab 2a brought to the front.
        if (!inputsPresent(ctx.prompt, {{JoinPath(c.Label3, c.Text7), "topographic grid",
                                         "choose a smoothed topographic grid in the file list."}}))
            return StepOutcome::Refused;
        // The curvature grid taken by name is judged before the map window opens: a grid
        // to plot must be there, and one the reader would refuse is refused now. One not
        // made yet ("Curvature" on 1a makes it next) is taken by name without opening the
        // map window, which would have nothing to show.
        const std::string stem = JoinPath(c.Label3, text::BaseName(c.Text7));
        const std::string curvature = stem + c.txtInputCurvText + ".grd";
        std::string why;
        const InputState curv = c.chkInputCurvGrid ? judgeInput(curvature, why) : InputState::Readable;
        if ((curv == InputState::Missing && c.Check1) || curv == InputState::Refused) {
            inputsPresent(ctx.prompt, {{curvature, "curvature grid",
                                        "untick \"Plot curv grid\", or make it with \"Curvature\" on tab 1a first."}});
            return StepOutcome::Refused;
        }
        s.GridBaseName = text::BaseName(c.Text7);
        s.TopoStem = stem;
        s.TopoGrid = JoinPath(c.Label3, c.Text7);
        if (c.chkInputCurvGrid) {
            if (curv == InputState::Readable) AttachSurfer(ctx);
            s.CurvatureGrid = curvature;
            if (curv == InputState::Readable) plotOnInput(ctx, c);
            c.SSTab2 = kTabSlice;
            ShowCurrentGrid(s, c);
            if (c.chkAltValuesS) c.txtCrestLength = c.txtAltS1;
            if (c.chkAltValues) c.Text5 = c.txtAlt1;
        }
        return StepOutcome::Done;
    });
}

StepOutcome Input_Curv(CurvContext& ctx, CurvControls& c) {
    return RunStep(ctx, [&] {
        if (!chosenName(c.Text7)) {
            Refuse(ctx, "", "Please choose grid filename");
            return StepOutcome::Refused;
        }
        // A name typed for a grid not on disk is refused here, not taken in silence (or
        // found by the plot) once the map window is open over the refusal.
        const std::string grid = JoinPath(c.Label3, c.Text7);
        if (!inputsPresent(ctx.prompt, {{grid, "curvature grid", "choose a curvature grid in the file list."}}))
            return StepOutcome::Refused;
        AttachSurfer(ctx);
        ctx.state.CurvatureGrid = grid;
        plotOnInput(ctx, c);
        return StepOutcome::Done;
    });
}

void PlotCurvatureContour(CurvContext& ctx, const std::string& grid) {
    if (IsV6(ctx)) {
        CallCurv(ctx, "MapContour", Positional{grid, 1}, Named{});
    } else if (IsV8(ctx)) {
        surfer::Application& app = AttachedSurfer(ctx);
        auto plot = surfer::asPlot(app.Documents.Add(1));
        auto map = plot->Shapes.AddContourMap(grid);
        map->Overlays(1);
        plot->Shapes.touch();
    }
}

} // namespace trelvik::toothfeatures
