#include "surferfns/gridgeo.h"

#include "core/error.h"
#include "core/textform.h"
#include "shell/gridgeometry.h"
#include "surfer/application.h"

namespace trelvik::surffns {

namespace {
constexpr const char* kSheetName = "volume.dat";

GridGeo fromSheet(SurfFnsContext& ctx, int entry, bool withZ, GridGeo g) {
    surfer::Application& app = *ctx.app.SurferApp;
    const SurfFnsState& s = ctx.state;
    const std::string path = s.GridDir[entry - 1] + kSheetName;
    app.FileNew();
    app.call("GridVolume", surfer::Positional{s.GridFullName[entry - 1], surfer::omitted, surfer::omitted, 0});
    app.FileSaveAs(path);
    app.FileClose();
    auto sheet = app.FileOpen(path, 1);
    auto cell = [&](long row, long col) { return text::Val(app.GetWksCell(sheet, row, col)); };
    g.GeoCols = cell(4, 4);
    g.GeoXMin = cell(7, 1);
    g.GeoXMax = cell(7, 3);
    g.GeoXSpacing = cell(5, 2);
    g.GeoRows = cell(4, 7);
    g.GeoYMin = cell(8, 1);
    g.GeoYMax = cell(8, 3);
    g.GeoYSpacing = cell(6, 2);
    if (withZ) {
        g.GeoZMin = cell(9, 1);
        g.GeoZMax = cell(9, 3);
    }
    app.FileClose();
    app.FileClose();
    return g;
}

GridGeo fromScan(SurfFnsContext& ctx, int entry, GridGeo g) {
    ReadGridGeometry(ctx.app, ctx.state.GridFullName[entry - 1]);
    const AppState& a = ctx.app;
    g.GeoCols = static_cast<double>(a.GridCols);
    g.GeoRows = static_cast<double>(a.GridRows);
    g.GeoXSpacing = a.GridXSpacing;
    g.GeoYSpacing = a.GridYSpacing;
    g.GeoXMin = a.GridXMin;
    g.GeoXMax = a.GridXMax;
    g.GeoYMin = a.GridYMin;
    g.GeoYMax = a.GridYMax;
    g.GeoZMin = a.GridZMin;
    g.GeoZMax = a.GridZMax;
    return g;
}
} // namespace

void ReadEntryGeometry(SurfFnsContext& ctx, int entry, bool withZ) {
    if (entry < 1 || entry > ctx.state.NumFiles)
        throw Error("No grid is listed at position " + std::to_string(entry));
    if (IsV6(ctx)) {
        if (!ctx.app.SurferApp) throw Error("The mapping program is not connected");
        ctx.state.Geo = fromSheet(ctx, entry, withZ, ctx.state.Geo);
    } else if (IsV8(ctx)) {
        ctx.state.Geo = fromScan(ctx, entry, ctx.state.Geo);
    } else {
        throw Error("The geometry of " + ctx.state.GridFullName[entry - 1] +
                    " cannot be read: the Surfer version \"" + ctx.app.SurferVersion +
                    "\" is neither SurferV6 nor SurferV8.");
    }
}

} // namespace trelvik::surffns
