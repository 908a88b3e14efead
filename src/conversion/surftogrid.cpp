// ConvertSURF_GRD: Avizo surfaces to Surfer grids through their vertices.
#include "conversion/gridtail.h"
#include "conversion/pointstogrid.h"
#include "core/digitiseinputs.h"
#include "core/error.h"
#include "core/textform.h"
#include "formats/avizosurf.h"
#include "formats/pointtext.h"

namespace trelvik::conversion {

namespace {

void surfEntry(ConvContext& ctx, int i) {
    ConvState& s = ctx.state;
    const ConvOptions& o = ctx.opt;
    const auto k = static_cast<std::size_t>(i - 1);
    ctx.view.showEntry(text::Trim(text::CStr(i)) + "/" + text::Trim(text::CStr(s.NumFiles)), s.FileBase[k]);
    const std::string pointText = s.FileStem[k] + ".txt";
    PointList pts = ReadSurfacePoints(o, s.FileFullName[k], s.FileStem[k]);
    RepointEntry(s, i, pointText);
    TailSettings t;
    t.geometry = GridOption::Interval;
    t.pointsInFile = true;
    t.surfaceDefaults = true;
    if (!o.chkSurfUseTxt) t.pointText = pointText;
    CleanAndGrid(ctx, i, std::move(pts), t);
}

std::vector<std::string> surfOutputs(ConvContext& ctx, int i) {
    const ConvState& s = ctx.state;
    const std::string& stem = s.FileStem[static_cast<std::size_t>(i - 1)];
    std::vector<std::string> out;
    if (!ctx.opt.chkSurfUseTxt) out.push_back(stem + ".txt");
    for (std::string& f : TailOutputs(ctx.opt, stem, s.OutNameTag)) out.push_back(std::move(f));
    return out;
}

} // namespace

PointList ReadSurfacePoints(const ConvOptions& o, const std::string& path, const std::string& stem) {
    if (o.chkSurfUseTxt) {
        const std::string pointText = stem + ".txt";
        requireInput(pointText, pointText + ": there is no converted surface text for " + path +
                                    "; untick \"Use converted surf txt file\" to read the surface file");
        return formats::readPointText(pointText);
    }
    PointList pts = formats::readAvizoSurfaceVertices(path);
    const double f = o.chkSurfCmMm ? 10.0 : 1.0;
    const double turn = o.chkSurfRevZ ? -1.0 : 1.0;
    for (auto& p : pts) {
        p.x *= f * turn;
        p.y *= f;
        p.z *= f * turn;
    }
    return pts;
}

void ConvertSURF_GRD(ConvContext& ctx) {
    bool first = true;
    const std::vector<int> done = RunList(ctx, true, [&](ConvContext& c, int i) {
        if (first && (c.opt.chkRemoveUndercuts || c.opt.chkBlankOutline)) c.view.showProcessingFrame();
        first = false;
        surfEntry(c, i);
    }, surfOutputs);
    EndGridList(ctx, done);
}

} // namespace trelvik::conversion
