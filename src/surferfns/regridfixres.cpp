#include "surferfns/regridfixres.h"

#include "core/tempfiles.h"
#include "core/textform.h"
#include "surfer/application.h"
#include "surferfns/gridgeo.h"
#include "surferfns/plotsurfer.h"
#include "surferfns/regridxyz.h"

namespace trelvik::surffns {

using surfer::Positional;
using text::Round;

GridDataLattice FixResolutionLattice(const GridGeo& geo) {
    GridDataLattice l;
    l.NumCols = static_cast<long>(geo.GeoCols);
    l.NumRows = static_cast<long>(geo.GeoRows);
    l.x0 = Round(geo.GeoXMin, 3);
    l.dx = Round(geo.GeoXSpacing, 3);
    l.x1 = (geo.GeoCols - 1) * l.dx + l.x0;
    l.y0 = Round(geo.GeoYMin, 3);
    l.dy = Round(geo.GeoYSpacing, 3);
    l.y1 = (geo.GeoRows - 1) * l.dy + l.y0;
    return l;
}

BatchOutcome cmdFixResolution(SurfFnsContext& ctx) {
    auto entry = [](SurfFnsContext& c, int i) {
        SurfFnsState& s = c.state;
        ReadEntryGeometry(c, i, false);
        const GridDataLattice l = FixResolutionLattice(s.Geo);
        const std::string& grid = s.GridFullName[i - 1];
        // The grid's x, y, z text and its unblanked nodes are scratch, made where no file of
        // the user's can be named like them.
        const PrivateFolder scratch("fixres");
        const std::string dump = scratch.file("temp.dat"), data = scratch.file("temp2.dat");
        if (!CallSurferPositional(c, "GridConvert", Positional{grid, dump, 3}, Positional{grid, dump, 4}))
            return EntryResult::Skipped;
        writeUnblankedXyz(dump, data);
        s.OutGridName[i - 1] = s.GridPathNoExt[i - 1] + "fixres.grd";
        const std::string& out = s.OutGridName[i - 1];
        GridDataCall(c, data, l, 9, "", out);
        // The fixed grid is always shown, so this plots whatever "Plot in Surfer" says.
        s.PlotType = c.plot.PlotType;
        PlotSurfer(c, out, s.PlotType);
        return EntryResult::Skipped;
    };
    ctx.batchStep = "fixing the resolution";
    return RunBatch(ctx, entry, ClearRule::IfTicked);
}

} // namespace trelvik::surffns
