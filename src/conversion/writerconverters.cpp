#include "conversion/writerconverters.h"

#include "conversion/csvlattice.h"
#include "conversion/gridtail.h"
#include "conversion/gridtodat.h"
#include "conversion/gridtodxf.h"
#include "conversion/gridtovrml.h"
#include "conversion/piczaconvert.h"
#include "conversion/tifftextconvert.h"
#include "conversion/writercalls.h"
#include "core/digitiseinputs.h"
#include "core/error.h"
#include "surfer/application.h"
#include "surfer/operationprogress.h"

#include <functional>
#include <initializer_list>

namespace trelvik::conversion {

namespace {

std::size_t at(int i) { return static_cast<std::size_t>(i - 1); }

// The run's mapping program, attached only once the entry's input is judged as its reader
// will judge it: attaching shows the map window, which a refusal would leave in front
// with the focus. A grid is said missing as the grid writers say it, another input as
// its reader says it.
surfer::Application& surferForGrid(ConvContext& ctx, const std::string& grid) {
    RequireInputFile(grid, "grid");
    return RunSurfer(ctx);
}
surfer::Application& surferForInput(ConvContext& ctx, const std::string& input) {
    requireInput(input);
    return RunSurfer(ctx);
}

// The chosen file of a single-file converter: its path and stem, or nothing after the
// "Filename" message when the box is empty or still holds one of its masks.
struct Chosen {
    std::string input, stem;
};
std::optional<Chosen> chosenFile(ConvContext& ctx, std::initializer_list<const char*> masks, const char* message) {
    const std::string& t = ctx.opt.Text1;
    bool refused = t.empty();
    for (const char* m : masks) refused = refused || t == m;
    if (refused) {
        ctx.prompt.busy(false);
        ctx.prompt.message("Filename", message);
        return std::nullopt;
    }
    const std::size_t dot = t.rfind('.');
    const std::string base = dot == std::string::npos ? t : t.substr(0, dot);
    return Chosen{JoinFolder(ctx.opt.File1Folder, t), JoinFolder(ctx.opt.File1Folder, base)};
}

// Runs a single-file conversion with the busy pointer; a failure is shown with its own
// title when it is a user's mistake, else as the run's message. Each body asks about
// the outputs it would replace (AskReplace) after its own checks, before writing.
void single(ConvContext& ctx, const std::function<void()>& body) {
    BusyScope busy(ctx.prompt);
    ctx.state.KeepList = false;
    const surfer::OperationProgress rows(&ctx.view.batchProgress());  // the gridding of a Tiff text
    try {
        body();
    } catch (const Refusal& r) {
        ctx.prompt.busy(false);
        ctx.prompt.message(r.title(), r.what());
    } catch (const Error& e) {
        ctx.prompt.busy(false);
        ctx.prompt.message("", e.what());
    }
}

void connectSurfer(ConvContext& ctx) {
    PrepareSurfer(ctx);
    if (!ctx.state.m_Surfer) throw Error("Surfer is not connected");
}

} // namespace

void ConvertPIX_GRD(ConvContext& ctx) {
    ConvState& s = ctx.state;
    const std::vector<int> done = RunList(ctx, true, [&](ConvContext& c, int i) {
        c.view.showEntry(std::to_string(i) + "/" + std::to_string(s.NumFiles), s.FileBase[at(i)]);
        s.FileOutName[at(i)] = s.FileStem[at(i)] + s.OutNameTag + ".grd";
        surfer::Application& app = surferForInput(c, s.FileFullName[at(i)]);
        PiczaToGrid(app, c.app.SurferVersion, s.FileFullName[at(i)], s.FileStem[at(i)] + ".csv", s.FileOutName[at(i)],
                    c.opt.outUnit == OutUnit::Micrometre);
    }, [&](ConvContext&, int i) {
        return std::vector<std::string>{s.FileStem[at(i)] + ".csv", s.FileStem[at(i)] + s.OutNameTag + ".grd"};
    });
    EndGridList(ctx, done);
}

void ConvertPIX_CSV(ConvContext& ctx) {
    const auto f = chosenFile(ctx, {"*.pix"}, "Choose Picza filename");
    if (!f) return;
    single(ctx, [&] {
        if (!AskReplace(ctx, {f->stem + ".csv"})) return;
        PiczaToCsv(f->input, f->stem + ".csv", ctx.opt.outUnit == OutUnit::Micrometre, ctx.opt.fullCsv);
    });
}

void ConvertGRD_PIX(ConvContext& ctx) {
    const auto f = chosenFile(ctx, {"*.grd"}, "Choose grid filename");
    if (!f) return;
    single(ctx, [&] {
        if (!AskReplace(ctx, {f->stem + ".pix"})) return;
        RequireInputFile(f->input, "grid");  // judged before the map window opens
        connectSurfer(ctx);
        GridToPicza(*ctx.state.m_Surfer, ctx.app.SurferVersion, f->input, f->stem + ".pix",
                    ctx.opt.outUnit == OutUnit::Micrometre, ctx.opt.outUnit == OutUnit::Millimetre);
    });
}

void ConvertGRD_WRL(ConvContext& ctx) {
    ConvState& s = ctx.state;
    const auto geometry = VrmlGeometryFor(ctx.opt.cmbToFileType);
    if (!geometry) return;
    RunList(ctx, true, [&](ConvContext& c, int i) {
        s.FileOutName[at(i)] = VrmlOutputName(s.FileStem[at(i)], *geometry);
        surfer::Application& app = surferForGrid(c, s.FileFullName[at(i)]);
        s.WrlScale = GridToVrml(app, c.app.SurferVersion, s.FileFullName[at(i)], s.FileOutName[at(i)], *geometry,
                                c.opt.outUnit == OutUnit::Micrometre, c.opt.outUnit == OutUnit::Millimetre,
                                c.opt.chkVantWRL);
    }, [&](ConvContext&, int i) { return std::vector<std::string>{VrmlOutputName(s.FileStem[at(i)], *geometry)}; });
    if (!s.KeepList) ClearFilenames(s);
}

void ConvertTIFF_GRD(ConvContext& ctx) {
    const auto f = chosenFile(ctx, {"*.txt"}, "Choose text filename");
    if (!f) return;
    single(ctx, [&] {
        TiffDataType t;
        t.optInFOV = !ctx.opt.optInVox;
        t.optInVox = ctx.opt.optInVox;
        t.X_Field = ctx.opt.X_Field;
        t.Y_Field = ctx.opt.Y_Field;
        t.Z_Field = ctx.opt.Z_Field;
        t.X_Input_Int = ctx.opt.X_Input_Int;
        t.Y_Input_Int = ctx.opt.Y_Input_Int;
        t.Z_Input_Height = ctx.opt.Z_Input_Height;
        CheckTiffDataType(t);
        if (!AskReplace(ctx, {f->stem + ".csv", f->stem + ".grd"})) return;
        requireInput(f->input);  // judged before the map window opens
        connectSurfer(ctx);
        const TiffDataType out = TiffTextToGrid(*ctx.state.m_Surfer, ctx.app.SurferVersion, f->input,
                                                f->stem + ".csv", f->stem + ".grd", t);
        ctx.opt.X_Field = out.X_Field;
        ctx.opt.Y_Field = out.Y_Field;
    });
}

void ConvertTIFF_WRL(ConvContext& ctx) {
    const auto f = chosenFile(ctx, {"*.txt"}, "Choose text filename");
    if (!f) return;
    single(ctx, [&] {
        if (AskReplace(ctx, {f->stem + ".wrl"})) TiffTextToVrml(f->input, f->stem + ".wrl");
    });
}

void ConvertCSV_WRL(ConvContext& ctx) {
    const auto f = chosenFile(ctx, {"*.dat", "*.csv"}, "Choose text filename");
    if (!f) return;
    single(ctx, [&] {
        if (AskReplace(ctx, {f->stem + ".wrl"})) CsvLatticeToVrml(f->input, f->stem + ".wrl");
    });
}

void ConvertCSV_TIF(ConvContext& ctx) {
    const auto f = chosenFile(ctx, {"*.dat", "*.csv"}, "Choose text filename");
    if (!f) return;
    single(ctx, [&] {
        if (AskReplace(ctx, {f->stem + ".tif"})) CsvLatticeToTiffDem(f->input, f->stem + ".tif");
    });
}

void ConvertGRD_DAT(ConvContext& ctx) {
    ConvState& s = ctx.state;
    RunList(ctx, true, [&](ConvContext& c, int i) {
        s.FileOutName[at(i)] = DatOutputName(s.FileStem[at(i)], c.opt.chkRenameExt, c.opt.txtRenameExt);
        surfer::Application& app = surferForGrid(c, s.FileFullName[at(i)]);
        GridToDat(app, c.app.SurferVersion, s.FileFullName[at(i)], s.FileOutName[at(i)], c.opt.chkRemoveBPts);
    }, [&](ConvContext& c, int i) {
        return std::vector<std::string>{DatOutputName(s.FileStem[at(i)], c.opt.chkRenameExt, c.opt.txtRenameExt)};
    });
}

void ConvertGRD_XYZ(ConvContext& ctx) {
    ConvState& s = ctx.state;
    RunList(ctx, true, [&](ConvContext& c, int i) {
        s.FileOutName[at(i)] = s.FileStem[at(i)] + ".xyz";
        surfer::Application& app = surferForGrid(c, s.FileFullName[at(i)]);
        GridToXyz(app, c.app.SurferVersion, s.FileFullName[at(i)], s.FileOutName[at(i)]);
    }, [&](ConvContext&, int i) { return std::vector<std::string>{s.FileStem[at(i)] + ".xyz"}; });
}

void ConvertGRD_DXF(ConvContext& ctx) {
    ConvState& s = ctx.state;
    RunList(ctx, true, [&](ConvContext& c, int i) {
        s.FileOutName[at(i)] = s.FileStem[at(i)] + ".dxf";
        surfer::Application& app = surferForGrid(c, s.FileFullName[at(i)]);
        GridToDxf(app, c.app.SurferVersion, s.FileFullName[at(i)], s.FileOutName[at(i)], s.FileBase[at(i)]);
    }, [&](ConvContext&, int i) { return std::vector<std::string>{s.FileStem[at(i)] + ".dxf"}; });
}

} // namespace trelvik::conversion
