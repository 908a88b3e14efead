#include "pointclouds/cloudgrids.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "formats/blnfile.h"
#include "formats/digitisefile.h"
#include "formats/surfergrid.h"
#include "shell/gridgeometry.h"
#include "shell/settings.h"
#include "surfer/application.h"
#include "surfer/plotmodel.h"
#include "surferfns/plotsurfer.h"
#include "surferfns/regridxyz.h"

#include <algorithm>
#include <cmath>

namespace trelvik::ptcloud {

namespace {

bool isV6(const PtCloudContext& ctx) { return ctx.app.SurferVersion == "SurferV6"; }

std::string progIdOrThrow(PtCloudContext& ctx) {
    const std::string id = GetSurferProgID(ctx.app);
    if (id.empty()) throw Error("No Surfer version is ticked in the main window's menu: choose Surfer 6 or Surfer 8.");
    return id;
}

void attach(PtCloudContext& ctx, const GridStepOptions& o) {
    const std::string id = progIdOrThrow(ctx);
    auto& s = ctx.list.m_Surfer;
    s = surfer::connect(id, o.chkStartSurfer);
    if (!isV6(ctx)) {
        s->Visible = true;
        if (o.chkStartSurfer) s->Documents.Add(1);
    }
}

// The selected grid listed when the list is empty; then every listed grid must exist
// and be a Surfer grid, so that a run that cannot go on starts no new Surfer and asks
// neither to replace files nor to digitise. False when nothing is listed (the refusal
// already shown).
bool listedGridsExist(PtCloudContext& ctx) {
    AddSelectedWhenEmpty(ctx);
    const PtCloudList& l = ctx.list;
    for (int i = 0; i < l.NoFiles; ++i) {
        if (!FileExists(l.FileFullName[i])) throw Error("The grid " + l.FileFullName[i] + " does not exist.");
        formats::detectSurferGridFormat(l.FileFullName[i]);
    }
    return l.NoFiles > 0;
}

// The file the user saves the digitised points of listed grid i in, and the step reads.
std::string digitFile(const PtCloudList& l, int i) { return l.FileDir[i] + "digit.dat"; }

// The digitised points of listed grid i, to be read where the user saved them (so a
// damaged file is named as saved). The step's own copy of them is made only once the
// step has succeeded, so a refused step leaves the copy of the last good run.
std::string savedDigitFile(const PtCloudList& l, int i) {
    std::string from = digitFile(l, i);
    if (!FileExists(from))
        throw Error("The digitised points " + from + " were not found: save them as digit.dat in the grid's folder.");
    return from;
}

struct Geometry {
    double xmin = 0, ymin = 0, dx = 0, dy = 0;
    long cols = 0, rows = 0;
};

Geometry geometry(PtCloudContext& ctx, const std::string& grid) {
    Geometry g;
    if (isV6(ctx)) {
        // The report sheet is saved and reopened in a private folder, never over a
        // "volume.dat" of the user's.
        surfer::Application& app = *ctx.list.m_Surfer;
        PrivateFolder work("ptcloud_volume");
        const std::string path = work.file("volume.dat");
        app.FileNew();
        app.call("GridVolume", surfer::Positional{grid, surfer::omitted, surfer::omitted, 0});
        app.FileSaveAs(path);
        app.FileClose();
        auto sheet = app.FileOpen(path, 1);
        auto cell = [&](long r, long c) { return text::Val(app.GetWksCell(sheet, r, c)); };
        g.xmin = cell(7, 1);
        g.ymin = cell(8, 1);
        g.dx = cell(5, 2);
        g.dy = cell(6, 2);
        g.cols = static_cast<long>(cell(4, 4));
        g.rows = static_cast<long>(cell(4, 7));
        app.FileClose();
        app.FileClose();
    } else {
        ReadGridGeometry(ctx.app, grid);
        g.xmin = ctx.app.GridXMin;
        g.ymin = ctx.app.GridYMin;
        g.dx = ctx.app.GridXSpacing;
        g.dy = ctx.app.GridYSpacing;
        g.cols = ctx.app.GridCols;
        g.rows = ctx.app.GridRows;
    }
    if (!(g.dx > 0) || !(g.dy > 0)) throw Error("The node spacing of " + grid + " could not be read.");
    return g;
}

void plot(PtCloudContext& ctx, const GridStepOptions& o, const std::string& grid, const std::string& label) {
    const int fileIndex = ctx.list.FileIndex;
    const bool labelled = o.chkLabelSurfer && !ctx.list.FileBase[static_cast<std::size_t>(fileIndex - 1)].empty();
    ctx.list.m_Surfer = surfer::connect(progIdOrThrow(ctx), false);
    surfer::Application& app = *ctx.list.m_Surfer;
    if (isV6(ctx)) {
        // The map type and label chosen, through the positional calls.
        surffns::PlotMapV6(app, grid, o.optRelief, labelled ? label : std::string(), fileIndex);
        return;
    }
    if (app.openDocuments().empty()) app.Documents.Add(1);
    auto doc = surfer::asPlot(app.Documents.Item(app.ActiveDocument()->Name));
    if (!doc) throw Error("The active Surfer document is not a plot.");
    const double centre = 10.0 * fileIndex + 10.19;
    std::shared_ptr<surfer::MapFrame> frame;
    if (o.optRelief) {
        frame = doc->Shapes.AddReliefMap(grid);
        frame->Left = centre - frame->XLength / 2;
    } else {
        frame = doc->Shapes.AddContourMap(grid);
    }
    if (labelled) {
        doc->DefaultFont.HAlign = 2;
        doc->DefaultFont.VAlign = 4;
        doc->Shapes.AddText(centre, 14.63 - frame->YLength / 2 - 1, label);
    }
    doc->Shapes.touch();
}

} // namespace

NodeRange DigitisedNodes(double xmin, double ymin, double dx, double dy, long cols, long rows, double x1, double y1,
                         double x2, double y2) {
    auto at = [](double v) { return static_cast<long>(std::clamp(std::floor(v), -1e9, 1e9)); };
    NodeRange r;
    r.c1 = std::max(1L, at((x1 - xmin) / dx) + 2);
    r.r1 = std::max(1L, at((y1 - ymin) / dy) + 2);
    r.c2 = std::min(cols, at((x2 - xmin) / dx) + 1);
    r.r2 = std::min(rows, at((y2 - ymin) / dy) + 1);
    return r;
}

bool cmdBlank(PtCloudContext& ctx, const GridStepOptions& o) {
    return RunCommand(ctx, [&] {
        if (!listedGridsExist(ctx)) return;
        attach(ctx, o);
        PtCloudList& l = ctx.list;
        askReplace(ctx, [&](int i) {
            return std::vector<std::string>{l.FileStem[i] + "blnpts.dat", l.FileStem[i] + "blnpts.bln",
                                            l.FileStem[i] + "b.grd"};
        });
        for (int i = 0; i < l.NoFiles; ++i) {
            l.FileIndex = i + 1;
            if (!askDigitise(ctx.prompt, "Use 'Digitise' to digitise area of " + l.FileBase[i] + " to be blanked.",
                             digitFile(l, i)))
                return;
            // Every check before any file is written: the outline, the output's name and
            // the blanked grid (made under a working name) holding a height.
            formats::PointXYList pts;
            std::size_t areas = 0;
            for (formats::PointXYList& g : formats::readDigitiseGroups(savedDigitFile(l, i)))
                if (!g.empty()) {
                    ++areas;
                    pts = std::move(g);
                }
            if (areas > 1)
                throw Error("The digitised outline for " + l.FileBase[i] + " holds " + std::to_string(areas) +
                            " areas ended by -1; \"Digitise and blank grid\" blanks by one outline.");
            if (pts.size() < 3)
                throw Error("The digitised outline for " + l.FileBase[i] + " holds " + std::to_string(pts.size()) +
                            " point(s); an area needs at least three.");
            l.FileOutName[i] = l.FileStem[i] + "b.grd";
            refuseOverwritingInput(l, l.FileOutName[i]);
            StagedFiles staged;
            const std::string bln = staged.work(l.FileStem[i] + "blnpts.bln"), blanked = staged.work(l.FileOutName[i]);
            formats::writeBlnFile(bln, {formats::closedOutline(pts, o.optBlankOutside ? 0 : 1)}, formats::BlnLayout::Zone);
            surfer::Application& app = *l.m_Surfer;
            if (isV6(ctx)) app.call("GridBlank", surfer::Positional{l.FileFullName[i], bln, blanked, 1});
            else app.call("GridBlank", surfer::Named{{"InGrid", l.FileFullName[i]}, {"BlankFile", bln},
                                                     {"OutGrid", blanked}});
            if (!formats::readSurferGrid(blanked).hasHeight())
                throw Error("Blanking " + l.FileFullName[i] + (o.optBlankOutside ? " outside" : " inside") +
                            " the digitised outline leaves no node with a height: digitise the area on the tooth.");
            surffns::copyFileReplacing(digitFile(l, i), staged.work(l.FileStem[i] + "blnpts.dat"));
            staged.commit();
        }
        ClearFilenames(l);
    });
}

bool cmdExtract(PtCloudContext& ctx, const GridStepOptions& o) {
    if (!o.chkRedArea && !o.chkRedRow) {
        ctx.prompt.message("Values", "Tick \"Reduce grid area\" or \"Reduce no. rows/cols\" (or both) to say what "
                                     "to extract.");
        return false;
    }
    const long long freq = o.chkRedRow ? text::CInt(text::Val(o.txtRedRow)) : -1;
    if (o.chkRedRow && freq < 1) {
        ctx.prompt.message("Values", "The step of \"Reduce no. rows/cols\" must be a whole number of at least 1.");
        return false;
    }
    return RunCommand(ctx, [&] {
        if (!listedGridsExist(ctx)) return;
        attach(ctx, o);
        PtCloudList& l = ctx.list;
        // "e" for a digitised area, "r<step>" for reduced rows and columns.
        const std::string outTag =
            std::string(o.chkRedArea ? "e" : "") + (o.chkRedRow ? "r" + std::to_string(freq) : "");
        askReplace(ctx, [&](int i) {
            std::vector<std::string> out{l.FileStem[i] + outTag + ".grd"};
            if (o.chkRedArea) out.insert(out.begin(), l.FileStem[i] + "extpts.dat");
            return out;
        });
        for (int i = 0; i < l.NoFiles; ++i) {
            l.FileIndex = i + 1;
            NodeRange r{-1, -1, -1, -1};
            if (o.chkRedArea) {
                if (!askDigitise(ctx.prompt,
                                 "Use 'Digitise' to digitise bottom left and top right of area in " + l.FileBase[i] +
                                     " to keep.",
                                 digitFile(l, i)))
                    return;
                // The corners and the extracted grid are checked before any file is
                // written; the grid is extracted under a working name.
                const formats::PointXYList pts = formats::readDigitisePoints(savedDigitFile(l, i));
                if (pts.size() < 2)
                    throw Error("The digitised corners for " + l.FileBase[i] + " hold one point; two are needed.");
                if (pts[0].x >= pts[1].x || pts[0].y >= pts[1].y) {
                    ctx.prompt.busy(false);
                    ctx.prompt.message("", "Points invalid - redigitise points.");
                    return;
                }
                const Geometry g = geometry(ctx, l.FileFullName[i]);
                r = DigitisedNodes(g.xmin, g.ymin, g.dx, g.dy, g.cols, g.rows, pts[0].x, pts[0].y, pts[1].x, pts[1].y);
                if (r.c1 > r.c2 || r.r1 > r.r2)
                    throw Error("The digitised area holds no node of " + l.FileFullName[i] + ".");
            }
            l.FileOutName[i] = l.FileStem[i] + outTag + ".grd";
            refuseOverwritingInput(l, l.FileOutName[i]);
            StagedFiles staged;
            const std::string extracted = staged.work(l.FileOutName[i]);
            l.m_Surfer->call("GridExtract",
                             surfer::Named{{"InGrid", l.FileFullName[i]}, {"r1", r.r1}, {"r2", r.r2}, {"rFreq", freq},
                                           {"c1", r.c1}, {"c2", r.c2}, {"cFreq", freq}, {"OutGrid", extracted}});
            if (o.chkRedArea) {
                if (!formats::readSurferGrid(extracted).hasHeight())
                    throw Error("The digitised area of " + l.FileFullName[i] +
                                " holds no node with a height: digitise the corners over the tooth.");
                surffns::copyFileReplacing(digitFile(l, i), staged.work(l.FileStem[i] + "extpts.dat"));
            }
            staged.commit();
            if (o.chkPlotSurfer) plot(ctx, o, l.FileOutName[i], l.FileBase[i] + outTag + ".grd");
        }
        ClearFilenames(l);
    });
}

} // namespace trelvik::ptcloud
