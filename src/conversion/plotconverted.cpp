#include "conversion/plotconverted.h"

#include "core/error.h"
#include "shell/settings.h"
#include "surfer/application.h"
#include "surfer/callargs.h"
#include "surfer/documents.h"
#include "surfer/plotmodel.h"
#include "surferfns/plotsurfer.h"

namespace trelvik::conversion {

namespace {
using surfer::omitted;
using surfer::Positional;

void plotV6(ConvContext& ctx, const std::string& grid, const std::string& label, int n) {
    auto& app = ctx.state.m_Surfer;
    if (!app) throw Error("Plotting " + grid + ": Surfer is not connected");
    const long r10 = (n - 1) / 10;
    const std::string textName = label + "txt";
    app->call("ReliefMap", Positional{grid, omitted, omitted, omitted, omitted, omitted, omitted, omitted, label});
    app->call("DrawText", Positional{4, 6, label, textName});
    app->call("Select", Positional{textName});
    app->call("TransformSel", Positional{4, 2.25});
    app->call("Select", Positional{label, textName});
    app->call("TransformSel", Positional{4.0 * static_cast<double>(n - 10 * r10), -7.0 * static_cast<double>(r10)});
    app->call("Deselect", Positional{});
}

void plotV8(ConvContext& ctx, const std::string& grid, int type, const std::string& label, int n) {
    const std::string progId = GetSurferProgID(ctx.app);
    if (progId.empty()) throw Error("No Surfer version is ticked in the main window's menu.");
    ctx.state.m_Surfer = surfer::connect(progId, false);
    surfer::Application& app = *ctx.state.m_Surfer;
    if (app.openDocuments().empty()) app.Documents.Add(1);
    auto plot = surfer::asPlot(app.Documents.Item(app.ActiveDocument()->Name));
    std::shared_ptr<surfer::MapFrame> frame;
    switch (type) {
    case 1: frame = plot->Shapes.AddReliefMap(grid); break;
    case 2: frame = plot->Shapes.AddContourMap(grid); break;
    case 3: frame = plot->Shapes.AddImageMap(grid); break;
    default:
        frame = plot->Shapes.AddSurface(grid);
        frame->zMapPerPU = frame->xMapPerPU();
        frame->LightAzimuth = 135.0;
        frame->LightZenith = 45.0;
        frame->ViewProjection = 1;
        frame->ViewRotation = 45.0;
        frame->ViewTilt = 30.0;
        break;
    }
    const int col = (n - 1) % 8, row = (n - 1) / 8;
    frame->Left = frame->Left + 18.0 * col;
    frame->Top = frame->Top - 18.0 * row;
    if (ctx.opt.chkLabelSurfer && !label.empty()) {
        plot->DefaultFont.HAlign = 1;
        plot->DefaultFont.VAlign = 4;
        plot->Shapes.AddText(surfer::kNewMapCentreX - frame->XLength / 2 + 18.0 * col,
                             surfer::kNewMapCentreY - frame->YLength / 2 - 18.0 * row, label);
    }
    plot->Shapes.touch();
}
} // namespace

void PlotSurfer(ConvContext& ctx, const std::string& GridFile, int PlotType) {
    const int n = ctx.state.FileIndex < 1 ? 1 : ctx.state.FileIndex;
    const std::string label = surffns::PlotLabel(GridFile);
    if (IsV6(ctx)) plotV6(ctx, GridFile, label, n);
    else if (IsV8(ctx) && PlotType >= 1 && PlotType <= 4) plotV8(ctx, GridFile, PlotType, label, n);
}

} // namespace trelvik::conversion
