#include "surferfns/terrain.h"

#include "core/commit/commit.h"
#include "core/fileroutines.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "surfer/callargs.h"
#include "surferfns/preparesurfer.h"
#include "surferfns/terrainhistogram.h"

namespace trelvik::surffns {

using surfer::Named;
using surfer::omitted;
using surfer::Positional;

namespace {

constexpr const char* kProcessTitle = "Process";
constexpr double kPi = 3.14159265358979;

bool stop(SurfFnsContext& ctx, const char* title, const char* text) {
    Refuse(ctx, title, text);
    return false;
}

} // namespace

std::optional<GeometricOp> ChosenGeometricOp(const ProcessOptions& o) {
    if (o.optMirror) {
        if (o.optMirrorX) return GeometricOp::MirrorX;
        if (o.optMirrorY) return GeometricOp::MirrorY;
        if (o.optMirrorZ) return GeometricOp::MirrorZ;
        return std::nullopt;
    }
    if (o.optRotate) {
        if (o.optRotate90) return GeometricOp::Rotate90;
        if (o.optRotate180) return GeometricOp::Rotate180;
        if (o.optRotate270) return GeometricOp::Rotate270;
        return std::nullopt;
    }
    if (o.optTerrain) return std::nullopt;
    if (o.optInverse) return GeometricOp::Inverse;
    if (o.optMouldRotate) return GeometricOp::MouldRotate;
    return std::nullopt;
}

bool RunTerrain(SurfFnsContext& ctx, int entry, const ProcessOptions& o) {
    TerrainKind kind;
    if (o.cmbProcess == kTerrainSlopeItem) kind = TerrainKind::Slope;
    else if (o.cmbProcess == kTerrainAspectItem) kind = TerrainKind::Aspect;
    else return stop(ctx, kProcessTitle, "Choose processing procedure.");

    SurfFnsState& s = ctx.state;
    const std::string& in = s.GridFullName[entry - 1];
    const std::string& stem = s.GridPathNoExt[entry - 1];
    // The x, y, z text is read back only to count the values: scratch, made where no
    // file of the user's can be named like it.
    const PrivateTempFile scratch(".dat");
    const std::string& xyz = scratch.path();
    const std::string suffix = kind == TerrainKind::Slope ? "ts" : IsV8(ctx) ? "ta" + o.txtTAMinSlope : "ta";
    s.OutGridName[entry - 1] = stem + suffix + ".grd";
    // The grid and its results table are read together: both are made under working
    // names and put in place with one commit.
    StagedFiles staged;
    const std::string& out = staged.work(s.OutGridName[entry - 1]);
    std::vector<double> values;
    staged.naming([&] {
        if (kind == TerrainKind::Slope) {
            CallSurfer(ctx, "GridCalculus", Positional{in, 1, omitted, omitted, 0, omitted, omitted, omitted, out},
                       Named{{"InGrid", in}, {"Operation", 4}, {"OutGrid", out}});
        } else {
            const double minSlope = text::Val(o.txtTAMinSlope) / 180 * kPi;
            CallSurfer(ctx, "GridCalculus", Positional{in, 1, omitted, omitted, 1, omitted, omitted, omitted, out},
                       Named{{"InGrid", in}, {"Operation", 5}, {"Param1", minSlope}, {"OutGrid", out}, {"OutFmt", 3}});
        }
        CallSurfer(ctx, "GridConvert", Positional{out, xyz, 3}, Named{{"InGrid", out}, {"OutGrid", xyz}, {"OutFmt", 4}});
        values = ReadTerrainValues(xyz);
        writeFileAtomic(staged.work(stem + suffix + "results.csv"), TerrainResultsText(kind, values));
    });
    staged.commit();
    if (kind == TerrainKind::Slope && values.size() < 2) {
        Report(ctx, kProcessTitle, "The slope grid " + s.OutGridName[entry - 1] + " has " + std::to_string(values.size()) +
                                              " value(s): the mean and standard deviation need at least two and "
                                              "were not written.");
    }
    return true;
}

BatchOutcome ProcessGrids(SurfFnsContext& ctx, const ProcessOptions& o) {
    const std::optional<GeometricOp> geometric = ChosenGeometricOp(o);
    auto entryOp = [&](SurfFnsContext& cx, int i) -> EntryResult {
        if (IsV6(cx)) {
            if (o.optTerrain) return RunTerrain(cx, i, o) ? EntryResult::Done : EntryResult::Stop;
            return EntryResult::Skipped;  // a geometric operation was refused before the attach
        }
        if (!IsV8(cx)) return EntryResult::Skipped;
        if (geometric) {
            RunGeometricOp(cx, i, *geometric);
            return EntryResult::Done;
        }
        if (o.optTerrain) return RunTerrain(cx, i, o) ? EntryResult::Done : EntryResult::Stop;
        return EntryResult::Skipped;
    };
    // Terrain and inverse grids are shown as image maps whatever the frame's map type.
    SurfFnsContext run = ctx;
    if (o.optTerrain || o.optInverse) run.plot.PlotType = 3;
    run.batchStep = "processing";
    // A terrain procedure not known, and a geometric operation with version 6, are
    // refused before the map window opens, not at the first grid.
    const auto known = [&run, &o, &geometric] {
        const bool terrainItem = o.cmbProcess == kTerrainSlopeItem || o.cmbProcess == kTerrainAspectItem;
        if (o.optTerrain && !terrainItem && run.state.NumFiles != 0)
            return stop(run, kProcessTitle, "Choose processing procedure.");
        if (!o.optTerrain && geometric && AttachesV6(run))
            return stop(run, kProcessTitle, "This function is not available in Surfer v6.");
        return true;
    };
    return RunBatch(run, entryOp, ClearRule::Always, known);
}

} // namespace trelvik::surffns
