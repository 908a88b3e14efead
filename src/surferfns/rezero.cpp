#include "surferfns/rezero.h"

#include "core/error.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "surfer/application.h"
#include "surferfns/gridgeo.h"

namespace trelvik::surffns {

using surfer::Named;

std::string RezeroFunction(double zMin) { return "C = A - " + text::CStr(zMin); }

BatchOutcome cmdReZero(SurfFnsContext& ctx) {
    auto entry = [](SurfFnsContext& c, int i) {
        SurfFnsState& s = c.state;
        ReadEntryGeometry(c, i, true);
        if (!c.app.SurferApp) throw Error("Rezero: the mapping program is not connected");
        surfer::Application& app = *c.app.SurferApp;
        // The shifted grid is scratch, made where no file of the user's can be named like it.
        const PrivateTempFile scratch(".grd");
        const std::string& temp = scratch.path();
        app.call("GridTransform", Named{{"InGrid", s.GridFullName[i - 1]},
                                        {"Operation", 1},
                                        {"XOffset", -s.Geo.GeoXMin},
                                        {"YOffset", -s.Geo.GeoYMin},
                                        {"OutGrid", temp}});
        s.OutGridName[i - 1] = s.GridPathNoExt[i - 1] + "rz.grd";
        app.call("GridMath", Named{{"Function", RezeroFunction(s.Geo.GeoZMin)},
                                   {"InGridA", temp},
                                   {"OutGridC", s.OutGridName[i - 1]}});
        return EntryResult::Done;
    };
    ctx.batchStep = "re-zeroing";
    return RunBatch(ctx, entry);
}

} // namespace trelvik::surffns
