// GridCalculus as an automation operation (computations in gridcalculus.h).
//
// Version-8 names: InGrid, Operation (3 directional curvature, Param1 the angle in
// degrees; 4 terrain slope; 5 terrain aspect, Param1 the minimum slope in radians),
// Param1, OutGrid, OutFmt.
// Version-6 positions: 1 InGrid, 2 the operation class (0 directional derivative,
// 1 terrain), 3 the derivative kind (2 curvature), 4 the angle in degrees, 5 the terrain
// kind (0 slope, 1 aspect), 6 to 8 unused (must be left out), 9 OutGrid. Other codes are
// errors naming the operation.
#include "surfer/application.h"
#include "surfer/gridcalculus.h"
#include "surfer/griddataargs.h"
#include "surfer/gridfiles.h"
#include "surfer/operations.h"

#include "core/error.h"

namespace surfer {

namespace {

void runGridCalculus(Application& app, const Args& a) {
    detail::requireUnused(a, detail::reservedNames(6, 8));
    const trelvik::Grid in = readInputGrid(a.text("InGrid"));
    trelvik::Grid out;
    if (a.has("Operation")) {
        const long op = *detail::optWholeOrText(a, "Operation");
        if (op == 3) out = directionalCurvature(in, detail::numberOrText(a, "Param1", 0));
        else if (op == 4) out = terrainSlope(in);
        else if (op == 5) out = terrainAspect(in, detail::numberOrText(a, "Param1", 0));
        else throw trelvik::Error("GridCalculus: operation " + std::to_string(op) + " is not available");
    } else {
        const long cls = detail::optWholeOrText(a, "OperationClass").value_or(-1);
        if (cls == 0) {
            const long kind = detail::optWholeOrText(a, "DerivativeKind").value_or(-1);
            if (kind != 2)
                throw trelvik::Error("GridCalculus: directional derivative kind " + std::to_string(kind) +
                                     " is not available");
            out = directionalCurvature(in, detail::numberOrText(a, "Angle", 0));
        } else if (cls == 1) {
            const long kind = detail::optWholeOrText(a, "TerrainKind").value_or(-1);
            if (kind == 0) out = terrainSlope(in);
            else if (kind == 1) out = terrainAspect(in, 0);
            else throw trelvik::Error("GridCalculus: terrain kind " + std::to_string(kind) + " is not available");
        } else {
            throw trelvik::Error("GridCalculus: no operation given");
        }
    }
    writeOutputGrid(app.version(), a.operation(), a.text("OutGrid"), out, a.optWhole("OutFmt"));
}

} // namespace

void registerGridCalculus(OperationRegistry& reg) {
    OperationSpec op;
    op.name = "GridCalculus";
    op.names = {"InGrid", "Operation", "Param1", "OutGrid", "OutFmt"};
    op.positional6 = {"InGrid",    "OperationClass", "DerivativeKind", "Angle",  "TerrainKind",
                      "Reserved6", "Reserved7",      "Reserved8",      "OutGrid"};
    op.required = {"InGrid", "OutGrid"};
    op.run = runGridCalculus;
    reg.add(std::move(op));
}

} // namespace surfer
