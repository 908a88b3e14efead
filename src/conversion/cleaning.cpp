#include "conversion/cleaning.h"

#include "conversion/blankingoutline.h"
#include "conversion/undercutremoval.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/xyzpointfile.h"

namespace trelvik::conversion {

namespace {

std::size_t entry(const ConvContext& ctx) { return static_cast<std::size_t>(ctx.state.FileIndex - 1); }

// Per-entry name lists made afresh at the first entry of a run.
void sizeRunList(ConvContext& ctx, std::vector<std::string>& names) {
    if (ctx.state.FileIndex == 1 || names.size() != static_cast<std::size_t>(ctx.state.NumFiles))
        names.assign(static_cast<std::size_t>(ctx.state.NumFiles), "");
}

} // namespace

double requirePositive(const std::string& text, const char* what, const std::string& file) {
    const double v = text::Val(text);
    if (!(v > 0)) throw Error(file + ": the " + std::string(what) + " \"" + text + "\" is not a number above 0");
    return v;
}

namespace {

// The rule and sizes the undercut step runs with (the bin size is checked by the step).
UndercutOptions undercutOptions(const ConvOptions& o, double r0) {
    if (o.chkDefaultSet) return DefaultUndercutOptions(r0);
    UndercutOptions u;
    u.radius = r0;
    u.binSize = text::Val(o.txtBinSize);
    u.rule = o.optThresh ? UndercutRule::Threshold : UndercutRule::Proportion;
    u.threshold = text::Val(o.txtThresh);
    u.proportion = text::Val(o.txtProp);
    return u;
}

} // namespace

std::string UndercutName(const ConvOptions& o, const std::string& stem) {
    const double r0 = text::Val(o.txtSearchRadius);
    const UndercutOptions u = undercutOptions(o, r0);
    const std::string tag = u.rule == UndercutRule::Threshold ? "-uct" + UndercutTag(u.threshold)
                                                              : "-ucp" + UndercutTag(u.proportion);
    return stem + tag + "_" + UndercutTag(r0) + (o.chkMould ? "m" : "");
}

std::string UndercutTag(double v) {
    if (v < 0.1) {
        const std::string f = text::Format(v, "#.000");
        return f.size() > 2 ? f.substr(f.size() - 2) : f;
    }
    if (v < 1) {
        const std::string f = text::Format(v, "#.000");
        return f.size() > 3 ? f.substr(f.size() - 3) : f;
    }
    return text::Format(v, "###.000");
}

PointList RemoveUndercuts(ConvContext& ctx, const PointList& points) {
    ConvState& s = ctx.state;
    ConvOptions& o = ctx.opt;
    const std::size_t k = entry(ctx);
    const std::string& file = s.FileFullName[k];
    const double r0 = requirePositive(o.txtSearchRadius, "search radius", file);
    UndercutOptions u = undercutOptions(o, r0);
    if (o.chkDefaultSet) {
        o.txtBinSize = text::CStr(r0);
        o.txtThresh = text::Format(u.threshold, "0.000");
    } else {
        u.binSize = requirePositive(o.txtBinSize, "bin size", file);
    }
    ctx.view.showUndercutCount(static_cast<long long>(points.size()));
    UndercutResult res = removeUndercuts(points, u, ctx.view.undercutProgress(), file);
    // Refused before the files are written: the earlier run's stay beside its grid.
    if (res.kept.size() < 2) throw Error(file + ": fewer than two points are left after undercut removal");

    const std::string name = UndercutName(o, s.FileStem[k]);
    formats::writeXyzPointFile(name + ".txt", res.kept);
    if (o.chkWriteRej) formats::writeXyzPointFile(name + "_rej.txt", res.rejected);
    sizeRunList(ctx, s.FileRejName);
    s.FileRejName[k] = name + "_rej.txt";
    s.FileOutName[k] = name + ".txt";
    return std::move(res.kept);
}

std::optional<PointList> CreateBlankingFile(ConvContext& ctx, const PointList& points, double offsetFactor) {
    ConvState& s = ctx.state;
    ConvOptions& o = ctx.opt;
    const std::size_t k = entry(ctx);
    sizeRunList(ctx, s.FileBlnName);
    OutlineOptions oo;
    oo.binSize = requirePositive(o.txtBlnBinSize, "blanking outline bin size", s.FileFullName[k]);
    oo.offsetFactor = offsetFactor;
    oo.onTooLong = TooLong::GrowBins;
    oo.checkCoverage = true;  // a grid blanked to a loop near the start would lose the tooth
    oo.fill = o.chkBlankedAreaPts ? FillRule::Sparse : FillRule::None;
    OutlineResult r;
    try {
        r = traceBlankingOutline(points, oo, ctx.view.outlineProgress(), s.FileFullName[k]);
    } catch (const OutlineError& e) {
        std::string text = s.FileFullName[k] + ": " + e.what();
        // Dead ends come from stray points, but as often from points lying further
        // apart than the walk reaches; say which setting sets the reach.
        if (e.code() == OutlineError::Code::TooManyDeadEnds)
            text += "\nThe outline joins points at most 1.5 bins (" + text::CStr(1.5 * oo.binSize) +
                    ") apart; for points further apart, raise the outline's \"Bin size\" (with \"Use default "
                    "settings\", the grid interval).";
        Report(ctx, "", text);
        return std::nullopt;
    }
    const std::string bln = s.FileStem[k] + "pblnpts.bln";
    writeBlankingOutline(bln, r.ring);
    {
        AtomicTextWriter info(s.FileStem[k] + "pblnptsinfo.txt");
        info.line(text::WriteLine().text("Blanking_outline_Bin_size").text("Blanking_outline_Offset_factor").str());
        info.line(text::WriteLine().num(r.binSize).num(offsetFactor).text("prop_bin_size").str());
        info.commit();
    }
    s.FileBlnName[k] = bln;
    if (!o.chkBlankedAreaPts) return points;
    PointList all;
    all.reserve(points.size() + r.fill.size());
    all.insert(all.end(), points.begin(), points.end());
    all.insert(all.end(), r.fill.begin(), r.fill.end());
    const std::string fillFile = s.FileStem[k] + "p.txt";
    formats::writeXyzPointFile(fillFile, all);
    s.FileOutName[k] = fillFile;
    return all;
}

} // namespace trelvik::conversion
