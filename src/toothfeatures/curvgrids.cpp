#include "toothfeatures/curvgrids.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "core/vectors.h"
#include "formats/digitisefile.h"
#include "surfer/application.h"
#include "surfer/callargs.h"
#include "surfer/documents.h"
#include "surfer/plotmodel.h"
#include "surferfns/curvaturechain.h"
#include "surferfns/regridxyz.h"
#include "toothfeatures/curvsmooth.h"

#include <algorithm>
#include <cmath>

namespace trelvik::toothfeatures {

using surfer::Named;
using surfer::Positional;

namespace {

// The page point the all-angles label is centred on, as for the other map labels.
constexpr double kLabelX = surfer::kNewMapCentreX;
constexpr double kLabelY = surfer::kNewMapCentreY;
// The angle constant the occlusal direction has always been computed with.
constexpr double kPiAsWritten = 3.14159;

surffns::CurvatureCall curvCall(CurvContext& ctx) {
    return [&ctx](const std::string& op, const Positional& v6, const Named& v8) { CallCurv(ctx, op, v6, v8); };
}

// A topographic grid that can give curvature, checked before anything is asked or written
// (with the controls, a missing one is named with the step that gives it).
bool needTopoGrid(CurvContext& ctx, const CurvControls* c = nullptr) {
    if (ctx.state.TopoGrid.empty()) {
        Refuse(ctx, "Filename", "Smooth a grid or input a smoothed topo grid first.");
        return false;
    }
    if (c && !DigitiseGridsPresent(ctx, *c, true, false)) return false;
    return CurvatureInputUsable(ctx, ctx.state.TopoGrid);
}

// The all-angles grid on the active plot document, with a scale bar and its name.
void plotAllAngles(CurvContext& ctx, const std::string& grid, const std::string& label, double spacing) {
    if (IsV6(ctx)) {
        CallCurv(ctx, "MapContour", Positional{grid, 1}, Named{});
        return;
    }
    if (!IsV8(ctx)) return;
    surfer::Application& app = AttachedSurfer(ctx);
    // A running mapping program always shows a plot; an instance without one gets one.
    std::shared_ptr<surfer::PlotDocument> plot;
    if (!app.openDocuments().empty() && app.ActiveDocument()->kind() == surfer::DocumentKind::Plot)
        plot = surfer::asPlot(app.Documents.Item(app.ActiveDocument()->Name));
    else
        plot = surfer::asPlot(app.Documents.Add(1));
    auto map = plot->Shapes.AddContourMap(grid);
    map->Overlays(1);
    auto bar = map->ScaleBars.Add();
    bar->CycleSpacing = spacing;
    bar->LabelIncrement = spacing;
    bar->NumCycles = 8;
    plot->DefaultFont.HAlign = 1;
    plot->DefaultFont.VAlign = 4;
    plot->Shapes.AddText(kLabelX - map->XLength / 2, kLabelY - map->YLength / 2, label);
    plot->Shapes.touch();
}

} // namespace

double OcclusalAngle(double dx, double dy) {
    const double length = std::sqrt(dx * dx + dy * dy);
    if (!(length > 0)) throw Error("The two points of the occlusal vector are the same point");
    const double cosine = std::clamp(dx / length, -1.0, 1.0);
    double angle = ArcCos(cosine) * 180 / kPiAsWritten;
    if (dy < 0) angle = 360 - angle;
    return angle;
}

StepOutcome Curve(CurvContext& ctx, CurvControls& c) {
    return RunStep(ctx, [&] {
        CurvState& s = ctx.state;
        const auto interval = BoxNumber(c.Text3);
        if (!interval || !(*interval > 0 && *interval <= 180)) {
            Refuse(ctx, "Values", "The angle interval (All angles) must be a number above 0 and at most 180.");
            return StepOutcome::Refused;
        }
        if (surffns::CurvatureStepCount(*interval) + 1 > static_cast<double>(surffns::kMaxCurvatureDirections)) {
            Refuse(ctx, "Values", "The angle interval (All angles) must be 0.1 degrees or more.");
            return StepOutcome::Refused;
        }
        const auto spacing = BoxNumber(c.txtScaleBar);
        if (!spacing || !(*spacing > 0)) {
            Refuse(ctx, "Values", "The scale bar spacing (All angles) must be a number above 0.");
            return StepOutcome::Refused;
        }
        if (!needTopoGrid(ctx)) return StepOutcome::Refused;
        AttachedSurfer(ctx);

        s.AngleInterval = c.Text3;
        const std::string tail = s.SmoothTag + "_curv" + text::CStr(*interval) + ".grd";
        const std::string result = s.TopoStem + tail;
        surffns::MakeAllAnglesCurvature(curvCall(ctx), s.TopoGrid, *interval, result, ctx.progress);
        s.CurvatureGrid = result;
        ShowCurrentGrid(s, c);
        plotAllAngles(ctx, result, s.GridBaseName + tail, *spacing);
        return StepOutcome::Done;
    });
}

StepOutcome CurveOVAngle(CurvContext& ctx, CurvControls& c) {
    return RunStep(ctx, [&] {
        CurvState& s = ctx.state;
        if (!needTopoGrid(ctx, &c)) return StepOutcome::Refused;
        AttachedSurfer(ctx);
        const std::string saved = JoinPath(c.Label1, "digit.dat");
        if (!AskDigitise(ctx, "Use 'Digitise' to define occlusal vector with two points.", saved))
            return StepOutcome::Cancelled;
        const formats::PointXYList p = formats::readDigitisePoints(saved);  // errors name the user's file
        if (p.size() < 2) {
            Refuse(ctx, "Digitise map", "Digitise two points for the occlusal vector (" + saved + " holds one).");
            return StepOutcome::Refused;
        }
        const double dx = p[1].x - p[0].x, dy = p[1].y - p[0].y;
        if (dx == 0 && dy == 0) {
            Refuse(ctx, "Digitise map", "The two points of the occlusal vector are the same point: digitise two "
                                        "different points.");
            return StepOutcome::Refused;
        }
        // Copied only once the points are taken: refused ones leave the earlier copy. The
        // copy and the grid made from it go in place together.
        const double angle = OcclusalAngle(dx, dy);
        const std::string angleText = text::Format(angle, "##0.00");
        const std::string grid = s.TopoStem + "curvOV" + angleText + ".grd";
        StagedFiles staged;
        surffns::copyFileReplacing(saved, staged.work(s.TopoStem + "OV.dat"));
        staged.naming([&] { surffns::DirectionalCurvature(curvCall(ctx), s.TopoGrid, angle, staged.work(grid)); });
        staged.commit();
        s.OVAngleText = angleText;
        s.CurvatureGrid = grid;
        ShowCurrentGrid(s, c);
        PlotCurvatureContour(ctx, s.CurvatureGrid);
        c.Label12 = s.OVAngleText + "\u00b0";
        return StepOutcome::Done;
    });
}

} // namespace trelvik::toothfeatures
