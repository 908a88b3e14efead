// ConvertTXT_GRD and the entry tail it shares with ConvertSURF_GRD.
#include "conversion/pointstogrid.h"

#include "conversion/cleaning.h"
#include "conversion/gridtail.h"
#include "conversion/undercutremoval.h"
#include "core/commit/commit.h"
#include "core/error.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "formats/xyzpointfile.h"
#include "surfer/callargs.h"

#include <optional>

namespace trelvik::conversion {

namespace {

using surfer::Named;
using surfer::omitted;
using surfer::Positional;

int algorithmCode(GridMethod m) {
    switch (m) {
    case GridMethod::InvDist: return 1;
    case GridMethod::Krig: return 2;
    case GridMethod::NearNeigh: return 6;
    }
    return 2;
}

void gridData(ConvContext& ctx, const std::string& data, const GridGeometry& g, const std::string& out) {
    const bool issued = CallSurfer(
        ctx, "GridData",
        Positional{data, 0, 1, 2, g.xmin, g.xmax, g.ymin, g.ymax, g.xint, g.yint, omitted, omitted, 1, out},
        Named{{"DataFile", data},
              {"XCol", 1},
              {"yCol", 2},
              {"zCol", 3},
              {"NumCols", g.NumCols},
              {"NumRows", g.NumRows},
              {"XMin", g.xmin},
              {"XMax", g.xmax},
              {"YMin", g.ymin},
              {"YMax", g.ymax},
              {"Algorithm", algorithmCode(ctx.opt.method)},
              {"ShowReport", false},
              {"OutGrid", out}});
    if (!issued)
        throw Error("No grid was made for " + data + ": the Surfer version \"" + ctx.app.SurferVersion +
                    "\" is neither SurferV6 nor SurferV8");
}

void gridBlank(ConvContext& ctx, const std::string& in, const std::string& bln, const std::string& out) {
    CallSurfer(ctx, "GridBlank", Positional{in, bln, out, 1},
               Named{{"InGrid", in}, {"BlankFile", bln}, {"OutGrid", out}});
}

void entryCaptions(ConvContext& ctx, int i) {
    ctx.view.showEntry(text::Trim(text::CStr(i)) + "/" + text::Trim(text::CStr(ctx.state.NumFiles)),
                       ctx.state.FileBase[static_cast<std::size_t>(i - 1)]);
}

// "Auto calculate intervals": the intervals found on the points become the window's.
void applyDetectedIntervals(ConvOptions& o, const PointList& pts, const std::string& file) {
    if (pts.size() < 2) throw Error(file + ": fewer than two points; no intervals can be found");
    const DetectedIntervals d = DetectIntervals(pts);
    if (d.x >= 1000000 || d.y >= 1000000)
        throw Error(file + ": no regular grid spacing was found in its first points; choose \"Grid intervals\" "
                           "or \"Max. no. rows/cols\" for irregular points");
    o.txtXInt = text::Trim(text::CStr(d.x));
    ApplyDefaultSettings(o);
    o.txtYInt = text::Trim(text::CStr(d.y));
}

// The tags a text-to-grid run adds to OutNameTag once its list has its entries.
std::string txtRunTag(const ConvOptions& o) {
    std::string tag;
    if (o.gridOption == GridOption::MaxNoRows) tag += o.txtMaxNoRows;
    if (o.chkMould) tag += "m";
    return tag;
}

std::vector<std::string> txtOutputs(ConvContext& ctx, int i) {
    const ConvState& s = ctx.state;
    const auto k = static_cast<std::size_t>(i - 1);
    std::vector<std::string> out;
    std::string stem = s.FileStem[k];
    if (s.ConvMode == "STL") {
        out.push_back(stem + "vt.txt");
        stem += "vt";
    }
    ConvOptions o = ctx.opt;
    // The undercut files are named after the radius the detected interval gives.
    if (o.gridOption == GridOption::AutoInt && o.chkRemoveUndercuts && o.chkDefaultSet) {
        try {
            applyDetectedIntervals(o, ReadEntryPoints(s.ConvMode, s.FileFullName[k]), s.FileFullName[k]);
        } catch (const std::exception&) {
            return {};  // the entry fails before it writes anything
        }
    }
    for (std::string& f : TailOutputs(o, stem, s.OutNameTag + txtRunTag(o))) out.push_back(std::move(f));
    return out;
}

void txtEntry(ConvContext& ctx, int i) {
    ConvState& s = ctx.state;
    ConvOptions& o = ctx.opt;
    const auto k = static_cast<std::size_t>(i - 1);
    entryCaptions(ctx, i);
    ctx.view.clearCleaningLabels();
    PointList pts = ReadEntryPoints(s.ConvMode, s.FileFullName[k]);
    TailSettings t;
    t.geometry = o.gridOption;
    t.pointsInFile = s.ConvMode != "Alicona";
    if (s.ConvMode == "STL") {
        // The distinct vertices are written with the entry's other files, once its
        // checks have passed.
        t.pointText = s.FileStem[k] + "vt.txt";
        RepointEntry(s, i, t.pointText);
    }
    if (o.gridOption == GridOption::AutoInt) applyDetectedIntervals(o, pts, s.FileFullName[k]);
    CleanAndGrid(ctx, i, std::move(pts), t);
}

} // namespace

void CleanAndGrid(ConvContext& ctx, int i, PointList pts, const TailSettings& t) {
    ConvState& s = ctx.state;
    ConvOptions& o = ctx.opt;
    const auto k = static_cast<std::size_t>(i - 1);
    if (pts.size() < 2) throw Error(s.FileFullName[k] + ": fewer than two points; no grid can be made");
    // The search radius and bin sizes derive from the interval: a box that does not hold
    // a number is named as the box the user typed into, not as a setting made from it.
    const bool derived = o.chkDefaultSet && (o.chkRemoveUndercuts || o.chkBlankOutline);
    if (derived || t.geometry == GridOption::Interval) {
        requirePositive(o.txtXInt, "x grid interval", s.FileFullName[k]);
        if (t.geometry == GridOption::Interval) requirePositive(o.txtYInt, "y grid interval", s.FileFullName[k]);
    }
    bool written = t.pointsInFile;
    // The entry's own point text holds the points as handed over, not turned.
    std::optional<PointList> unturned;
    if (o.chkMould) {
        if (!t.pointText.empty()) unturned = pts;
        TurnMould(pts);
        written = false;
    }
    // "Auto calculate intervals" lays the grid over the lattice as read, whatever the
    // cleaning then leaves out or the fill points add beyond it.
    const PointBounds asRead = BoundsOf(pts);
    // Messages name the entry's file as it came, not a cleaning file it may be re-pointed to.
    const std::string source = s.FileFullName[k];
    if (t.geometry != GridOption::MaxNoRows)
        RequireIntervalsGriddable(asRead, text::Val(o.txtXInt), text::Val(o.txtYInt), source);
    // Every step is worked out and checked in memory before any file of the entry is
    // written: a refused entry leaves the earlier run's files as they were.
    const PointList* gridded = &pts;
    UndercutStep undercuts;
    if (o.chkRemoveUndercuts) {
        if (o.chkDefaultSet) o.txtSearchRadius = text::CStr(DefaultSearchRadius(text::Val(o.txtXInt)));
        undercuts = FindUndercuts(ctx, pts);
        gridded = &undercuts.res.kept;
        RepointEntry(s, i, s.FileOutName[k]);
        written = true;
    }
    OutlineStep outline;
    if (o.chkBlankOutline) {
        double offset = text::Val(o.txtBlnOffset);
        if (o.chkDefaultSet) {
            const double xint = text::Val(o.txtXInt);
            if (t.surfaceDefaults) {
                o.txtBlnBinSize = text::CStr(6 * xint);
                offset = 0.1;
                o.txtBlnOffset = text::Trim(text::Str(0.1));
            } else {
                o.txtBlnBinSize = text::CStr(1.5 * xint);
            }
        }
        outline = FindBlankingOutline(ctx, *gridded, offset);
        if (outline.made && o.chkBlankedAreaPts) {
            gridded = &outline.withFill;
            RepointEntry(s, i, s.FileOutName[k]);
            written = true;
        }
    }
    s.FileOutName[k] = s.FileStem[k] + s.OutNameTag + ".grd";
    const PointBounds b = t.geometry == GridOption::AutoInt ? asRead : BoundsOf(*gridded);
    const GridGeometry g = t.geometry == GridOption::MaxNoRows
                               ? GeometryByMaxRows(b, text::CInt(text::Val(o.txtMaxNoRows)), source)
                               : GeometryByIntervals(b, text::Val(o.txtXInt), text::Val(o.txtYInt), source);

    // The entry's files are written under working names and put in place together once
    // the mapping program has made its grids: a failed gridding or blanking leaves the
    // earlier run's files.
    StagedFiles staged;
    if (!t.pointText.empty()) formats::writeXyzPointFile(staged.work(t.pointText), unturned ? *unturned : pts);
    if (o.chkRemoveUndercuts) WriteUndercuts(undercuts, staged);
    WriteBlankingOutline(outline, staged);
    // The points gridded: the entry's own file, or one this entry has just written.
    const std::string& last = s.FileFullName[k];
    const bool madeHere = last == t.pointText || last == undercuts.keptFile || last == outline.fillFile;
    std::string data = madeHere ? staged.work(last) : last;
    // The turned (or header-less) copy that is gridded lives in a private folder: a name
    // in the user's folder could replace, and then delete, a file of theirs.
    std::optional<PrivateTempFile> temp;
    if (!written && (o.chkMould || s.ConvMode == "Alicona")) {
        temp.emplace(".txt");
        formats::writeXyzPointFile(temp->path(), *gridded);
        data = temp->path();
    }
    const std::string& gridOut = staged.work(s.FileOutName[k]);
    staged.naming([&] { gridData(ctx, data, g, gridOut); });
    temp.reset();
    if (o.chkBlankOutline && !outline.made) {
        staged.commit();
        // Said only now, when the grid it leaves unblanked and the file it names are made.
        Report(ctx, "", outline.failure);
        Report(ctx, "", "No blanking outline was made for " + s.FileFullName[k] + ", so its grid " +
                            s.FileOutName[k] + " is left unblanked.");
        return;
    }
    if (o.chkBlankOutline) {
        RepointEntry(s, i, s.FileOutName[k]);
        s.FileOutName[k] = s.FileStem[k] + "b.grd";
        const std::string &in = staged.work(s.FileFullName[k]), &bln = staged.work(s.FileBlnName[k]),
                          &out = staged.work(s.FileOutName[k]);
        staged.naming([&] { gridBlank(ctx, in, bln, out); });
    }
    staged.commit();
}

std::vector<std::string> TailOutputs(ConvOptions o, std::string stem, const std::string& tag) {
    std::vector<std::string> out;
    if (o.chkRemoveUndercuts) {
        if (o.chkDefaultSet) o.txtSearchRadius = text::CStr(DefaultSearchRadius(text::Val(o.txtXInt)));
        stem = UndercutName(o, stem);
        out.push_back(stem + ".txt");
        if (o.chkWriteRej) out.push_back(stem + "_rej.txt");
    }
    if (o.chkBlankOutline) {
        out.push_back(stem + "pblnpts.bln");
        out.push_back(stem + "pblnptsinfo.txt");
        if (o.chkBlankedAreaPts) {
            stem += "p";
            out.push_back(stem + ".txt");
        }
    }
    // An outline that gives up leaves no fill points: the points are gridded under the
    // stem they had before the fill, so that grid is the entry's too.
    const std::string unfilled = o.chkBlankOutline && o.chkBlankedAreaPts ? stem.substr(0, stem.size() - 1) : stem;
    out.push_back(stem + tag + ".grd");
    if (o.chkBlankOutline) out.push_back(stem + tag + "b.grd");
    if (unfilled != stem) out.push_back(unfilled + tag + ".grd");
    return out;
}

void EndGridList(ConvContext& ctx, const std::vector<int>& done) {
    PlotPass(ctx, done);
    ctx.view.showEntry("", "");
    if (!ctx.state.KeepList) ClearFilenames(ctx.state);
}

void ConvertTXT_GRD(ConvContext& ctx) {
    bool tagged = false;
    const std::vector<int> done = RunList(ctx, true, [&](ConvContext& c, int i) {
        if (!tagged) {
            // The run's own tags, once, after the list has its entries.
            c.state.OutNameTag += txtRunTag(c.opt);
            if (c.opt.chkRemoveUndercuts || c.opt.chkBlankOutline) c.view.showProcessingFrame();
            tagged = true;
        }
        txtEntry(c, i);
    }, txtOutputs);
    EndGridList(ctx, done);
}

} // namespace trelvik::conversion
