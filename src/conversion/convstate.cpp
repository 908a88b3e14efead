#include "conversion/convstate.h"

#include "conversion/plotconverted.h"
#include "conversion/pointstogrid.h"
#include "core/error.h"
#include "core/replacequestion.h"
#include "core/textform.h"
#include "shell/settings.h"
#include "surfer/application.h"
#include "surfer/callargs.h"
#include "surfer/operationprogress.h"

#include <cmath>
#include <filesystem>

namespace trelvik::conversion {

namespace {

const char* const kGrd = "Surfer grid file (*.grd)";
const char* const kStl = "STL surface file (*.stl)";

// A file name less its extension (the last "." and what follows), as a list entry's
// FileBase.
std::string baseOf(const std::string& name) {
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

struct FromRow {
    const char* item;
    const char* pattern;
    std::vector<std::string> to;
    bool inGrid;
};

const std::vector<FromRow>& fromRows() {
    static const std::vector<FromRow> rows = {
        {"Text file (irregular, e.g. Vava) (*.txt)", "*.txt", {kGrd}, false},
        {"Text file (in grid) (*.txt)", "*.txt", {kGrd}, true},
        {"Alicona text file (in grid) (*.txt)", "*.txt", {kGrd}, true},
        {kGrd,
         "*.grd",
         {"Picza file (*.pix)", "VRML file ElevationGrid (*.wrl)", "VRML file Polygons (*.wrl)",
          "VRML file Polygons - surface (*.wrl)", "DAT text file (*.dat)", "XYZ text file (*.xyz)",
          "AutoCAD DXF file (*.dxf)"},
         false},
        {"Avizo surf file (*.surf)", "*.surf", {kGrd}, false},
        {kStl, "*.stl", {kGrd}, false},
        {"CSV file (*.csv,*.dat)", "*.csv;*.dat", {"VRML file (*.wrl)", "Tiff DEM file (*.tif)"}, false},
        {"Picza file (*.pix)", "*.pix", {kGrd, "CSV file (*.csv,*.dat)"}, false},
        {"Tiff text file (*.txt)", "*.txt", {kGrd, "VRML file (*.wrl)"}, false},
        {"VRML file (*.wrl)", "*.wrl", {}, false},
        {"Show all files (*.*)", "*.*", {}, false},
    };
    return rows;
}

struct Pair {
    const char* from;
    const char* to;
    const char* converter;
    const char* mode;
};
const Pair kPairs[] = {
    {"Tiff text file (*.txt)", kGrd, "ConvertTIFF_GRD", ""},
    {"Text file (irregular, e.g. Vava) (*.txt)", kGrd, "ConvertTXT_GRD", "TxtIrreg"},
    {"Text file (in grid) (*.txt)", kGrd, "ConvertTXT_GRD", "TxtGrid"},
    {"Alicona text file (in grid) (*.txt)", kGrd, "ConvertTXT_GRD", "Alicona"},
    {"Avizo surf file (*.surf)", kGrd, "ConvertSURF_GRD", ""},
    {kStl, kGrd, "ConvertTXT_GRD", "STL"},
    {"Picza file (*.pix)", kGrd, "ConvertPIX_GRD", ""},
    {"Picza file (*.pix)", "CSV file (*.csv,*.dat)", "ConvertPIX_CSV", ""},
    {kGrd, "Picza file (*.pix)", "ConvertGRD_PIX", ""},
    {kGrd, "VRML file ElevationGrid (*.wrl)", "ConvertGRD_WRL", ""},
    {kGrd, "VRML file Polygons (*.wrl)", "ConvertGRD_WRL", ""},
    {kGrd, "VRML file Polygons - surface (*.wrl)", "ConvertGRD_WRL", ""},
    {kGrd, "DAT text file (*.dat)", "ConvertGRD_DAT", ""},
    {kGrd, "XYZ text file (*.xyz)", "ConvertGRD_XYZ", ""},
    {kGrd, "AutoCAD DXF file (*.dxf)", "ConvertGRD_DXF", ""},
    {"Tiff text file (*.txt)", "VRML file (*.wrl)", "ConvertTIFF_WRL", ""},
    {"CSV file (*.csv,*.dat)", "VRML file (*.wrl)", "ConvertCSV_WRL", ""},
    {"CSV file (*.csv,*.dat)", "Tiff DEM file (*.tif)", "ConvertCSV_TIF", ""},
};

void refuse(ConvContext& ctx, const std::string& title, const std::string& text) { trelvik::refuse(ctx.prompt, title, text); }

} // namespace

const std::vector<std::string>& FromItems() {
    static const std::vector<std::string> items = [] {
        std::vector<std::string> v;
        for (const auto& r : fromRows()) v.push_back(r.item);
        return v;
    }();
    return items;
}

std::optional<FromType> FromTypeOf(const std::string& fromItem) {
    for (const auto& r : fromRows())
        if (fromItem == r.item) return FromType{r.pattern, r.to, r.inGrid};
    return std::nullopt;
}

std::optional<Converter> ConverterFor(const std::string& from, const std::string& to) {
    for (const Pair& p : kPairs)
        if (from == p.from && to == p.to) return Converter{p.converter, p.mode};
    return std::nullopt;
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    const char sep = static_cast<char>(std::filesystem::path::preferred_separator);
    return folder + sep + name;
}

bool AddFilename(ConvContext& ctx) {
    const std::string& name = ctx.opt.Text1;
    for (const char* bare : {"", "*.pix", "*.dat", "*.csv", "*.grd", "*.txt"}) {
        if (name == bare) {
            refuse(ctx, "Filename", "Choose filename");
            return false;
        }
    }
    ConvState& s = ctx.state;
    const std::string full = JoinFolder(ctx.opt.File1Folder, name);
    for (const auto& f : s.FileFullName) {
        if (f == full) {
            refuse(ctx, "Filename", "Filename already added");
            return false;
        }
    }
    const auto dot = name.rfind('.');
    const std::string base = baseOf(name);
    const std::string dir = JoinFolder(ctx.opt.File1Folder, "");
    s.FileDir.push_back(dir);
    s.FileBase.push_back(base);
    s.FileStem.push_back(dir + base);
    s.FileFullName.push_back(full);
    s.FileExt.push_back(dot == std::string::npos ? "" : name.substr(dot));
    s.FileOutName.emplace_back();
    s.NumFiles = static_cast<int>(s.FileFullName.size());
    s.OutNameTag = ctx.opt.chkAddOutText ? ctx.opt.txtAddOutText : "";
    return true;
}

int AddAllFilenames(ConvContext& ctx) {
    int added = 0;
    const std::vector<std::string> names = ctx.opt.File1Names;
    for (const auto& n : names) {
        ctx.opt.Text1 = n;
        if (AddFilename(ctx)) ++added;
    }
    if (!names.empty()) ctx.opt.Text1 = names.front();
    return added;
}

void ClearFilenames(ConvState& s) {
    s.NumFiles = 0;
    for (auto* v : {&s.FileFullName, &s.FileDir, &s.FileBase, &s.FileStem, &s.FileExt, &s.FileOutName,
                    &s.FileRejName, &s.FileBlnName})
        v->clear();
}

void RepointEntry(ConvState& s, int i, const std::string& F) {
    const auto k = static_cast<std::size_t>(i - 1);
    const auto cut = F.find_last_of("/\\");
    const std::string name = cut == std::string::npos ? F : F.substr(cut + 1);
    const std::string ext = name.size() >= 4 ? name.substr(name.size() - 4) : name;
    s.FileBase[k] = name.size() >= 4 ? name.substr(0, name.size() - 4) : "";
    s.FileStem[k] = s.FileDir[k] + s.FileBase[k];
    s.FileFullName[k] = s.FileStem[k] + ext;
}

double DefaultSearchRadius(double xint) {
    return xint < 1 ? xint / 2 + text::Round(xint / 10, 3) : xint / 2 + text::Round(xint / 10, 1);
}

void ApplyDefaultSettings(ConvOptions& o) {
    if (o.chkEqualXY) o.txtYInt = o.txtXInt;
    if (!o.chkDefaultSet) return;
    const double xint = text::Val(o.txtXInt);
    o.txtSearchRadius = text::CStr(DefaultSearchRadius(xint));
    o.txtBinSize = text::CStr(xint);
    o.txtBlnBinSize = text::CStr(1.5 * xint);
    o.txtThresh = text::CStr(text::Round(4 * text::Val(o.txtSearchRadius), 3));
}

std::optional<ExamineResult> ExamineFile(ConvContext& ctx) {
    std::string path, stem;
    if (ctx.state.NumFiles == 0) {
        const std::string& name = ctx.opt.Text1;
        if (name.empty() || name == "*.txt") {
            refuse(ctx, "Filename", "Choose text filename");
            return std::nullopt;
        }
        path = JoinFolder(ctx.opt.File1Folder, name);
        stem = JoinFolder(ctx.opt.File1Folder, baseOf(name));
    } else {
        path = ctx.state.FileFullName[0];
        stem = ctx.state.FileStem[0];
    }
    // A scanner file is examined for the points its conversion to a grid grids (an STL's
    // distinct vertices, an Alicona text past its header, an Avizo surface's vertices in
    // mm), read as that conversion reads them; any other From type as point text.
    const auto toGrid = ConverterFor(ctx.opt.cmbFromFileType, kGrd);
    const PointList pts =
        toGrid && toGrid->name == "ConvertSURF_GRD"
            ? ReadSurfacePoints(ctx.opt, path, stem)
            : ReadEntryPoints(toGrid && toGrid->name == "ConvertTXT_GRD" ? toGrid->convMode : "", path);
    ExamineResult r;
    r.count = static_cast<long long>(pts.size());
    if (!pts.empty()) {
        r.xmin = r.xmax = pts[0].x;
        r.ymin = r.ymax = pts[0].y;
    }
    for (const auto& p : pts) {
        r.xmin = std::min(r.xmin, p.x);
        r.xmax = std::max(r.xmax, p.x);
        r.ymin = std::min(r.ymin, p.y);
        r.ymax = std::max(r.ymax, p.y);
    }
    const double xi = text::Val(ctx.opt.txtXInt), yi = text::Val(ctx.opt.txtYInt);
    if (xi > 0 && yi > 0 && !pts.empty()) {
        const double est = text::Round(((r.ymax - r.ymin) / yi) * ((r.xmax - r.xmin) / xi), 0);
        if (!(std::fabs(est) <= 2147483647.0))
            throw Error(path + ": the number of output points at these intervals is too large to show");
        r.outputPoints = static_cast<long long>(est);
    }
    return r;
}

bool IsV6(const ConvContext& ctx) { return ctx.app.SurferVersion == "SurferV6"; }
bool IsV8(const ConvContext& ctx) { return ctx.app.SurferVersion == "SurferV8"; }

namespace {
const char* const kNoVersion = "No Surfer version is ticked in the main window's menu: choose Surfer 6 or Surfer 8.";
} // namespace

void PrepareSurfer(ConvContext& ctx) {
    const std::string progId = GetSurferProgID(ctx.app);
    if (progId.empty()) throw Error(kNoVersion);
    ctx.state.m_Surfer = surfer::connect(progId, ctx.opt.chkStartSurfer);
    if (IsV8(ctx)) {
        ctx.state.m_Surfer->Visible = true;
        if (ctx.opt.chkStartSurfer) ctx.state.m_Surfer->Documents.Add(1);
    }
}

bool CallSurfer(ConvContext& ctx, const std::string& operation, const surfer::Positional& v6,
                const surfer::Named& v8) {
    if (!IsV6(ctx) && !IsV8(ctx)) return false;
    if (ctx.state.SurferDue) RunSurfer(ctx);
    if (!ctx.state.m_Surfer) throw Error(operation + ": Surfer is not connected");
    if (IsV6(ctx)) ctx.state.m_Surfer->call(operation, v6);
    else ctx.state.m_Surfer->call(operation, v8);
    return true;
}

surfer::Application& RunSurfer(ConvContext& ctx) {
    if (ctx.state.SurferDue) {
        ctx.state.SurferDue = false;
        PrepareSurfer(ctx);
    }
    if (!ctx.state.m_Surfer) throw Error("Surfer is not connected");
    return *ctx.state.m_Surfer;
}

void Report(ConvContext& ctx, const std::string& title, const std::string& text) {
    ctx.prompt.busy(false);
    ctx.prompt.message(title, text);
    ctx.prompt.busy(true);
}

bool AskReplace(ConvContext& ctx, const std::vector<std::string>& planned) {
    const bool replace = ConfirmReplace(ctx.prompt, planned);
    if (!replace) ctx.state.KeepList = true;
    return replace;
}

std::vector<int> RunList(ConvContext& ctx, bool usesSurfer, const EntryFn& entry, const OutputsFn& outputs) {
    BusyScope busy(ctx.prompt);
    std::vector<int> done;
    ConvState& s = ctx.state;
    s.KeepList = false;
    // The list as it was made: a run re-points its entries to the files it writes and
    // adds its own tags to the names of its grids.
    const ConvState listed = s;
    auto keepListed = [&] {
        s.NumFiles = listed.NumFiles;
        s.OutNameTag = listed.OutNameTag;
        s.FileFullName = listed.FileFullName;
        s.FileDir = listed.FileDir;
        s.FileBase = listed.FileBase;
        s.FileStem = listed.FileStem;
        s.FileExt = listed.FileExt;
        s.FileOutName.assign(listed.FileFullName.size(), "");
        s.FileRejName.clear();
        s.FileBlnName.clear();
        s.KeepList = true;
    };
    try {
        // Connected at the first call: an entry refused before it opens no map window
        // to stand in front of its message.
        if (usesSurfer && GetSurferProgID(ctx.app).empty()) throw Error(kNoVersion);
        s.SurferDue = usesSurfer;
    } catch (const Error& e) {
        Report(ctx, "", e.what());
        ctx.view.entryFailed();
        return done;
    }
    const bool chosenOnly = s.NumFiles == 0;
    if (chosenOnly) {
        AddFilename(ctx);
        ctx.prompt.busy(true);
    }
    const int n = s.NumFiles;
    std::vector<std::string> planned;
    for (int i = 1; i <= n; ++i) {
        s.FileIndex = i;
        for (std::string& f : outputs(ctx, i)) planned.push_back(std::move(f));
    }
    if (!AskReplace(ctx, planned)) {
        // The user's list stays for another try; the chosen file was only the run's.
        if (chosenOnly) ClearFilenames(s);
        return done;
    }
    // A file's share of the bar, in which its gridding moves by rows.
    constexpr long long kShare = 1000;
    Progress& files = ctx.view.batchProgress();
    bool stopped = false, settingsRefused = false, otherFailure = false;
    for (s.FileIndex = 1; s.FileIndex <= n; ++s.FileIndex) {
        const int i = s.FileIndex;
        if (ctx.view.stopRequested()) {
            stopped = true;
            Report(ctx, "", "Conversion stopped (Esc) before " + s.FileFullName[static_cast<std::size_t>(i - 1)] +
                                "; " + std::to_string(i - 1) + " of " + std::to_string(n) + " files were done.");
            break;
        }
        files.step((i - 1) * kShare, n * kShare);
        try {
            PartProgress part(files, (i - 1) * kShare, i * kShare, n * kShare);
            const surfer::OperationProgress rows(&part);
            entry(ctx, i);
            done.push_back(i);
        } catch (const Error& e) {
            (dynamic_cast<const Refusal*>(&e) ? settingsRefused : otherFailure) = true;
            s.FileOutName[static_cast<std::size_t>(i - 1)].clear();
            Report(ctx, "", e.what());
            ctx.view.entryFailed();
        } catch (const std::exception& e) {
            otherFailure = true;
            s.FileOutName[static_cast<std::size_t>(i - 1)].clear();
            Report(ctx, "", "The conversion of " + s.FileFullName[static_cast<std::size_t>(i - 1)] +
                                " failed: " + e.what());
            ctx.view.entryFailed();
        }
    }
    if (s.FileIndex > n) files.step(n * kShare, n * kShare);  // not stopped
    if (done.empty() && !stopped && settingsRefused && !otherFailure) keepListed();
    return done;
}

void PlotPass(ConvContext& ctx, const std::vector<int>& entries) {
    if (!ctx.opt.chkPlotSurfer) return;
    ConvState& s = ctx.state;
    try {
        for (int i : entries) {
            s.FileIndex = i;
            s.PlotType = ctx.opt.PlotType;
            PlotSurfer(ctx, s.FileOutName[static_cast<std::size_t>(i - 1)], s.PlotType);
        }
    } catch (const Error& e) {
        Report(ctx, "", e.what());
    }
}

} // namespace trelvik::conversion
