#include "pointclouds/cloudcleaning.h"

#include "conversion/blankingoutline.h"
#include "conversion/undercutremoval.h"
#include "core/commit/commit.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/xyzpointfile.h"

namespace trelvik::ptcloud {

namespace {

// Forwards the core's progress and turns Esc into Stopped between steps.
class StoppingProgress : public Progress {
public:
    explicit StoppingProgress(Progress& to) : to_(to) {}
    void step(long long done, long long total) override {
        to_.step(done, total);
        if (to_.stopRequested()) throw Stopped();
    }
    void status(const std::string& text) override { to_.status(text); }
    bool stopRequested() override { return to_.stopRequested(); }

private:
    Progress& to_;
};

PointList readForCleaning(PtCloudContext& ctx, int i, bool mould) {
    PointList pts = readCloud(ctx.list.FileFullName[i]);
    ctx.progress.pointsInFile(static_cast<long long>(pts.size()));
    if (mould) conversion::TurnMould(pts);
    return pts;
}

} // namespace

std::string Last3(const std::string& s) { return s.size() <= 3 ? s : s.substr(s.size() - 3); }

bool cmdRemoveUndercuts(PtCloudContext& ctx, UndercutWindowOptions& o) {
    return RunCommand(ctx, [&] {
        ctx.progress.step(0, 0);
        AddSelectedWhenEmpty(ctx);
        PtCloudList& l = ctx.list;
        const double r0 = text::Val(o.txtSearchRadius);
        const double b = o.chkDefaultSet ? r0 : text::Val(o.txtBinSize);
        if (l.NoFiles > 0 && !(r0 > 0))
            throw Error("Remove undercuts: the primary search radius must be a number greater than 0.");
        if (l.NoFiles > 0 && !(b > 0)) throw Error("Remove undercuts: the bin size must be a number greater than 0.");
        conversion::UndercutOptions u;
        if (o.chkDefaultSet) {
            u = conversion::DefaultUndercutOptions(r0);
        } else {
            u.radius = r0;
            u.binSize = b;
            u.rule = o.optProp ? conversion::UndercutRule::Proportion : conversion::UndercutRule::Threshold;
            u.threshold = text::Val(o.txtThresh);
            u.proportion = text::Val(o.txtProp);
        }
        // The names carry the threshold the run uses (the default one with default settings).
        const std::string thresh = o.chkDefaultSet ? text::Format(u.threshold, "0.000") : o.txtThresh;
        const std::string tag = o.optProp ? "-ucp" + Last3(o.txtProp) : "-uct" + Last3(thresh);
        auto stemOf = [&](int i) {
            return l.FileStem[i] + tag + "_" + Last3(o.txtSearchRadius) + (o.chkMould ? "m" : "");
        };
        askReplace(ctx, [&](int i) {
            std::vector<std::string> out{stemOf(i) + l.FileExt[i]};
            if (o.chkWriteRej) out.push_back(stemOf(i) + "_rej" + l.FileExt[i]);
            return out;
        });
        StoppingProgress progress(ctx.progress);
        for (int i = 0; i < l.NoFiles; ++i) {
            l.FileIndex = i + 1;
            const PointList pts = readForCleaning(ctx, i, o.chkMould);
            if (o.chkDefaultSet) {
                o.txtBinSize = text::CStr(r0);
                o.txtThresh = thresh;
            }
            const conversion::UndercutResult res = conversion::removeUndercuts(pts, u, progress, l.FileFullName[i]);
            const std::string stem = stemOf(i);
            const std::string kept = stem + l.FileExt[i], rejected = stem + "_rej" + l.FileExt[i];
            refuseOverwritingInput(l, kept);
            if (o.chkWriteRej) refuseOverwritingInput(l, rejected);
            // Both files go in place together: a failure of either leaves the earlier pair.
            StagedFiles staged;
            staged.naming([&] {
                formats::writeXyzPointFile(staged.work(kept), res.kept);
                if (o.chkWriteRej) formats::writeXyzPointFile(staged.work(rejected), res.rejected);
            });
            staged.commit();
            l.FileOutName[i] = kept;
        }
        ClearFilenames(l);
    });
}

bool cmdCreateBlankingFile(PtCloudContext& ctx, const OutlineWindowOptions& o) {
    return RunCommand(ctx, [&] {
        AddSelectedWhenEmpty(ctx);
        PtCloudList& l = ctx.list;
        const double b = text::Val(o.txtBlnBinSize);
        if (l.NoFiles > 0 && !(b > 0))
            throw Error("Create blanking file: the bin size must be a number greater than 0.");
        askReplace(ctx, [&](int i) {
            std::vector<std::string> out{l.FileStem[i] + "pblnpts.bln"};
            if (o.chkBlankedAreaPts) out.push_back(l.FileStem[i] + "p" + l.FileExt[i]);
            return out;
        });
        StoppingProgress progress(ctx.progress);
        for (int i = 0; i < l.NoFiles; ++i) {
            l.FileIndex = i + 1;
            const PointList pts = readForCleaning(ctx, i, o.chkMould);
            bool spread = false;
            for (const auto& p : pts)
                if (p.x != pts[0].x || p.y != pts[0].y) spread = true;
            if (!spread) {
                ctx.prompt.busy(false);
                ctx.prompt.message("", "Every point of " + l.FileFullName[i] +
                                           " lies at one x, y position: there is no outline to trace.");
                ctx.prompt.busy(true);
                continue;
            }
            conversion::OutlineOptions opt;
            opt.binSize = b;
            opt.fill = o.chkBlankedAreaPts ? conversion::FillRule::EveryEmptyBin : conversion::FillRule::None;
            conversion::OutlineResult res;
            try {
                res = conversion::traceBlankingOutline(pts, opt, progress, l.FileFullName[i]);
            } catch (const conversion::OutlineError& e) {
                ctx.prompt.busy(false);
                ctx.prompt.message("", e.what());
                ctx.prompt.busy(true);
                continue;
            }
            const std::string bln = l.FileStem[i] + "pblnpts.bln";
            const std::string filled = l.FileStem[i] + "p" + l.FileExt[i];
            refuseOverwritingInput(l, bln);
            if (o.chkBlankedAreaPts) refuseOverwritingInput(l, filled);
            // The outline and its fill points go in place together, or neither does.
            StagedFiles staged;
            staged.naming([&] {
                conversion::writeBlankingOutline(staged.work(bln), res.ring);
                if (o.chkBlankedAreaPts) {
                    PointList all = pts;
                    all.insert(all.end(), res.fill.begin(), res.fill.end());
                    formats::writeXyzPointFile(staged.work(filled), all);
                }
            });
            staged.commit();
            if (o.chkBlankedAreaPts) l.FileOutName[i] = filled;
        }
        ClearFilenames(l);
    });
}

} // namespace trelvik::ptcloud
