#include "pointclouds/joinpoints.h"

#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/xyzpointfile.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace trelvik::ptcloud {

PointList ReZero(const PointList& points) {
    if (points.empty()) return {};
    double x0 = points[0].x, y0 = points[0].y, z0 = points[0].z;
    for (const auto& p : points) x0 = std::min(x0, p.x), y0 = std::min(y0, p.y), z0 = std::min(z0, p.z);
    PointList out(points.size());
    for (std::size_t i = 0; i < points.size(); ++i)
        out[i] = {text::Round(points[i].x - x0, 6), text::Round(points[i].y - y0, 6), text::Round(points[i].z - z0, 6)};
    return out;
}

namespace {
// Lines end at CR LF, LF or CR; a last line without an end is a line too.
void appendLinesCRLF(AtomicTextWriter& out, const std::string& text) {
    std::size_t p = 0;
    while (p < text.size()) {
        const std::size_t e = text.find_first_of("\r\n", p);
        if (e == std::string::npos) {
            out.line(std::string_view(text).substr(p));
            return;
        }
        out.line(std::string_view(text).substr(p, e - p));
        p = e + ((text[e] == '\r' && e + 1 < text.size() && text[e + 1] == '\n') ? 2 : 1);
    }
}
} // namespace

bool cmdJoinFiles(PtCloudContext& ctx, const JoinOptions& o) {
    if (ctx.list.NoFiles < 2)
        return refuseListLength(ctx, "\"Join files\" takes two or more files, joined in the order listed (the "
                                     "output is named after the first).");
    return RunCommand(ctx, [&] {
        PtCloudList& l = ctx.list;
        const std::string out = l.FileStem[0] + (o.chkReZero ? "_jndr" : "_jnd") + l.FileExt[0];
        refuseOverwritingInput(l, out);
        askReplace(ctx, std::vector<std::string>{out});
        if (o.chkReZero) {
            PointList all;
            for (int i = 0; i < l.NoFiles; ++i) {
                l.FileIndex = i + 1;
                checkStop(ctx.progress);
                ctx.progress.step(i, l.NoFiles);
                const PointList p = formats::readXyzPointFile(l.FileFullName[i]);
                all.insert(all.end(), p.begin(), p.end());
            }
            if (all.empty()) throw Error("The listed files hold no points to re-zero.");
            ctx.progress.pointsInFile(static_cast<long long>(all.size()));
            formats::writeXyzPointFile(out, ReZero(all));
        } else {
            AtomicTextWriter w(out);
            for (int i = 0; i < l.NoFiles; ++i) {
                l.FileIndex = i + 1;
                checkStop(ctx.progress);
                ctx.progress.step(i, l.NoFiles);
                appendLinesCRLF(w, readWholeFile(l.FileFullName[i]));
            }
            w.commit();
        }
        l.FileOutName[0] = out;
        ClearFilenames(l);
    });
}

std::optional<std::array<const char*, 3>> TipOffsets(const std::string& tip) {
    if (tip == "t0") return std::array<const char*, 3>{"0.000", "0.000", "0.000"};
    if (tip == "t5") return std::array<const char*, 3>{"-0.007", "0.007", "-0.025"};
    if (tip == "t8") return std::array<const char*, 3>{"0.018", "0.019", "-0.023"};
    return std::nullopt;
}

namespace {

// An offset box must hold one number and nothing else: a mistyped offset read as 0
// (or as its leading digits) would shift every point by the wrong amount, or quietly
// do nothing, with no sign of it.
double offsetValue(const std::string& box) {
    std::string t = text::Trim(box);
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    double v = 0;
    const char* end = t.data() + t.size();
    const auto [ptr, ec] = std::from_chars(t.data(), end, v);
    if (t.empty() || ec != std::errc() || ptr != end || !std::isfinite(v))
        throw Error("Adjust for tip calibration: the offset \"" + box + "\" is not a number.");
    return v;
}

} // namespace

bool cmdTipCal(PtCloudContext& ctx, const TipCalOptions& o) {
    double dx = 0, dy = 0, dz = 0;
    if (!RunCommand(ctx, [&] {
            dx = offsetValue(o.txtTipCalX);
            dy = offsetValue(o.txtTipCalY);
            dz = offsetValue(o.txtTipCalZ);
        }))
        return false;
    if (dx == 0 && dy == 0 && dz == 0)
        return trelvik::refuse(ctx.prompt, "", "Every offset is 0: the points would not move, so no file is written.");
    return RunCommand(ctx, [&] {
        AddSelectedWhenEmpty(ctx);
        PtCloudList& l = ctx.list;
        auto outOf = [&](int i) { return l.FileStem[i] + "tipcal" + l.FileExt[i]; };
        askReplace(ctx, [&](int i) { return std::vector<std::string>{outOf(i)}; });
        for (int i = 0; i < l.NoFiles; ++i) {
            l.FileIndex = i + 1;
            checkStop(ctx.progress);
            const std::string out = outOf(i);
            refuseOverwritingInput(l, out);
            PointList p = readCloud(l.FileFullName[i]);
            ctx.progress.pointsInFile(static_cast<long long>(p.size()));
            for (auto& q : p) q = {q.x + dx, q.y + dy, q.z + dz};
            formats::writeXyzPointFile(out, p);
            l.FileOutName[i] = out;
        }
        ClearFilenames(l);
    });
}

} // namespace trelvik::ptcloud
