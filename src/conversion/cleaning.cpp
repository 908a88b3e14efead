#include "conversion/cleaning.h"

#include "conversion/blankingoutline.h"
#include "conversion/undercutremoval.h"
#include "core/commit/commit.h"
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
    if (!(v > 0)) throw Refusal("", file + ": the " + std::string(what) + " \"" + text + "\" is not a number above 0");
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

UndercutStep FindUndercuts(ConvContext& ctx, const PointList& points) {
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
    UndercutStep step;
    step.res = removeUndercuts(points, u, ctx.view.undercutProgress(), file);
    if (step.res.kept.size() < 2) throw Error(file + ": fewer than two points are left after undercut removal");

    const std::string name = UndercutName(o, s.FileStem[k]);
    step.keptFile = name + ".txt";
    if (o.chkWriteRej) step.rejFile = name + "_rej.txt";
    sizeRunList(ctx, s.FileRejName);
    s.FileRejName[k] = name + "_rej.txt";
    s.FileOutName[k] = step.keptFile;
    return step;
}

void WriteUndercuts(const UndercutStep& step, StagedFiles& staged) {
    formats::writeXyzPointFile(staged.work(step.keptFile), step.res.kept);
    if (!step.rejFile.empty()) formats::writeXyzPointFile(staged.work(step.rejFile), step.res.rejected);
}

OutlineStep FindBlankingOutline(ConvContext& ctx, const PointList& points, double offsetFactor) {
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
    OutlineStep step;
    try {
        step.outline = traceBlankingOutline(points, oo, ctx.view.outlineProgress(), s.FileFullName[k]);
    } catch (const OutlineError& e) {
        std::string text = s.FileFullName[k] + ": " + e.what();
        // Dead ends come from stray points, but as often from points lying further
        // apart than the walk reaches; say which setting sets the reach.
        if (e.code() == OutlineError::Code::TooManyDeadEnds)
            text += "\nThe outline joins points at most 1.5 bins (" + text::CStr(1.5 * oo.binSize) +
                    ") apart; for points further apart, raise the outline's \"Bin size\" (with \"Use default "
                    "settings\", the grid interval).";
        step.failure = text;
        return step;
    }
    step.made = true;
    step.offsetFactor = offsetFactor;
    step.blnFile = s.FileStem[k] + "pblnpts.bln";
    step.infoFile = s.FileStem[k] + "pblnptsinfo.txt";
    s.FileBlnName[k] = step.blnFile;
    if (!o.chkBlankedAreaPts) return step;
    const PointList& fill = step.outline.fill;
    step.withFill.reserve(points.size() + fill.size());
    step.withFill.insert(step.withFill.end(), points.begin(), points.end());
    step.withFill.insert(step.withFill.end(), fill.begin(), fill.end());
    step.fillFile = s.FileStem[k] + "p.txt";
    s.FileOutName[k] = step.fillFile;
    return step;
}

void WriteBlankingOutline(const OutlineStep& step, StagedFiles& staged) {
    if (!step.made) return;
    writeBlankingOutline(staged.work(step.blnFile), step.outline.ring);
    {
        AtomicTextWriter info(staged.work(step.infoFile));
        info.line(text::WriteLine().text("Blanking_outline_Bin_size").text("Blanking_outline_Offset_factor").str());
        info.line(text::WriteLine().num(step.outline.binSize).num(step.offsetFactor).text("prop_bin_size").str());
        info.commit();
    }
    if (!step.fillFile.empty()) formats::writeXyzPointFile(staged.work(step.fillFile), step.withFill);
}

} // namespace trelvik::conversion
