#include "surferfns/plotsurfer.h"

#include "core/error.h"
#include "core/textform.h"
#include "shell/settings.h"
#include "surfer/application.h"
#include "surfer/documents.h"
#include "surfer/plotmodel.h"
#include "surferfns/preparesurfer.h"

#include <algorithm>

namespace trelvik::surffns {

namespace {
using surfer::omitted;
using surfer::Positional;

void plotV6(SurfFnsContext& ctx, const std::string& grid, const std::string& label, int fileIndex) {
    // Plane fitting and rake angle may plot before anything in the run has connected
    // the version-6 instance; attach to it rather than fail on an empty reference.
    auto& app = ctx.app.SurferApp;
    if (!app || app->version() != 6) app = surfer::connect("Surfer.APP", false);
    PlotMapV6(*app, grid, true, label, fileIndex);
}

void hideAxes(surfer::MapFrame& frame, int count) {
    for (int k = 1; k <= count; ++k) {
        surfer::Axis& axis = frame.Axes(k);
        axis.ShowLabels = false;
        axis.MajorTickType = 1;
        axis.AxisLine.Style = "Invisible";
    }
}

void plotV8(SurfFnsContext& ctx, const std::string& grid, int plotType, const std::string& label,
            int fileIndex) {
    const PlotOptions& o = ctx.plot;
    const long long p = text::CInt(text::Val(o.txtNoInPlotRow));
    if (p < 1)
        throw Error("\"No. in row\" must be a whole number of at least 1 (it reads \"" + o.txtNoInPlotRow + "\").");
    const double sx = text::Val(o.txtPlotSpacX);
    const double sy = static_cast<float>(text::Val(o.txtPlotSpacY));
    const double azimuth = text::Val(o.txtAzimuth), zenith = text::Val(o.txtZenith);
    const long long n = fileIndex - 1;
    const long long r = n / p;
    const long long c = n - p * r;

    const std::string progId = GetSurferProgID(ctx.app);
    if (progId.empty()) throw Error("No Surfer version is ticked in the main window's menu.");
    ShowNewSurfer(ctx);
    ctx.app.SurferApp = surfer::connect(progId, false);
    surfer::Application& app = *ctx.app.SurferApp;
    // The mapping program opens with an empty plot; an instance started on demand has
    // none yet, so give it one rather than fail on the first map.
    if (app.openDocuments().empty()) app.Documents.Add(1);
    auto plot = surfer::asPlot(app.Documents.Item(app.ActiveDocument()->Name));

    std::shared_ptr<surfer::MapFrame> frame;
    switch (plotType) {
    case 1:
        frame = plot->Shapes.AddReliefMap(grid);
        frame->Overlays(1).HLightAngle = azimuth;
        frame->Overlays(1).VLightAngle = zenith;
        break;
    case 2: frame = plot->Shapes.AddContourMap(grid); break;
    case 3: frame = plot->Shapes.AddImageMap(grid); break;
    case 4:
        frame = plot->Shapes.AddSurface(grid);
        frame->zMapPerPU = frame->xMapPerPU();
        frame->LightAzimuth = azimuth;
        frame->LightZenith = zenith;
        if (o.Projection == 1 || o.Projection == 2) frame->ViewProjection = o.Projection;
        frame->ViewRotation = text::Val(o.txtRot);
        frame->ViewTilt = text::Val(o.txtTilt);
        break;
    default: throw Error("Map type " + std::to_string(plotType) + " is not one of 1 to 4.");
    }
    frame->Left = frame->Left + sx * static_cast<double>(c);
    frame->Top = frame->Top - sy * static_cast<double>(r);
    if (!o.chkShowAxes) hideAxes(*frame, plotType == 4 ? 5 : 4);
    if (o.chkScaleBar) {
        auto bar = frame->ScaleBars.Add();
        const double spacing = text::Val(o.txtScaleBar);
        bar->CycleSpacing = spacing;
        bar->LabelIncrement = spacing;
        bar->NumCycles = 8;
    }
    if (plotType == 2) {
        frame->Overlays(1).ShowColorScale = false;
        frame->Overlays(1).ShowColorScale = true;
    }
    if (o.chkLabelSurfer && !label.empty()) {
        // The label stands above the frame, clear of the top axis numbers and of the
        // scale bar below, and is sized with the map so that it never runs wider than
        // its frame (several maps per row stay readable).
        plot->DefaultFont.HAlign = 1;
        plot->DefaultFont.VAlign = 4;
        const double gap = o.chkShowAxes ? kLabelGapAxes : kLabelGapPlain;
        auto text = plot->Shapes.AddText(frame->Left, frame->Top + gap, label);
        text->Font.Size = LabelPointSize(frame->XLength, label);
    }
    plot->Shapes.touch();
}
} // namespace

double LabelPointSize(double frameWidth, const std::string& label) {
    // Average glyph advance taken as 0.6 of the point size.
    const double fitWidth = frameWidth * 72.0 / (0.6 * static_cast<double>(std::max<std::size_t>(label.size(), 1)));
    return std::clamp(std::min(frameWidth * 2.5, fitWidth), 2.0, 28.0);
}

std::string PlotLabel(const std::string& GridFilename) {
    const auto cut = GridFilename.find_last_of("/\\");
    return cut == std::string::npos ? GridFilename : GridFilename.substr(cut + 1);
}

void PlotMapV6(surfer::Application& app, const std::string& grid, bool relief, const std::string& label,
               int fileIndex) {
    const long r10 = (fileIndex - 1) / 10;
    const long c10 = fileIndex - 10 * r10;
    const std::string mapName = PlotLabel(grid);
    const std::string textName = mapName + "txt";
    if (relief)
        app.call("ReliefMap", Positional{grid, omitted, omitted, omitted, omitted, omitted, omitted, omitted, mapName});
    else
        app.call("MapContour", Positional{grid, 1});
    if (!label.empty()) {
        app.call("DrawText", Positional{4, 6, label, textName});
        app.call("Select", Positional{textName});
        app.call("TransformSel", Positional{4, 2.25});
    }
    // A contour map takes no name to be moved by: it stays where the program puts it.
    if (relief && !label.empty()) app.call("Select", Positional{mapName, textName});
    else if (relief) app.call("Select", Positional{mapName});
    else if (!label.empty()) app.call("Select", Positional{textName});
    else return;
    app.call("TransformSel", Positional{4 * c10, -7 * r10});
    app.call("Deselect", Positional{});
}

void PlotSurfer(SurfFnsContext& ctx, const std::string& GridFilename, int PlotType) {
    if (!ctx.state.FileIndex) ctx.state.FileIndex = 1;
    const int fileIndex = *ctx.state.FileIndex;
    const std::string label = PlotLabel(GridFilename);
    if (IsV6(ctx)) plotV6(ctx, GridFilename, label, fileIndex);
    else if (IsV8(ctx)) plotV8(ctx, GridFilename, PlotType, label, fileIndex);
}

} // namespace trelvik::surffns
