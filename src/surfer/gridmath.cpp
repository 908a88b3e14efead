// GridMath: a grid C computed node by node from grids A and B by a function text
// (gridexpression.h). Inputs: Function, InGridA, InGridB (needed when the function uses
// B; it must share A's lattice), OutGridC, OutFmtC. Output: C on A's lattice; blank where
// a used input is blank or the value is undefined.
#include "core/error.h"
#include "surfer/application.h"
#include "surfer/gridexpression.h"
#include "surfer/gridfiles.h"
#include "surfer/operations.h"

namespace surfer {

void registerGridMath(OperationRegistry& reg) {
    OperationSpec op;
    op.name = "GridMath";
    op.names = {"Function", "InGridA", "InGridB", "OutGridC", "OutFmtC"};
    op.positional6 = {"InGridA", "InGridB", "OutGridC", "OutFmtC", "Function"};
    op.required = {"Function", "InGridA", "OutGridC"};
    op.run = [](Application& app, const Args& a) {
        const GridExpression expr(a.text("Function"));
        const std::string pathA = a.text("InGridA");
        trelvik::Grid gA = readInputGrid(pathA);
        trelvik::Grid gB;
        if (expr.usesB()) {
            if (!a.has("InGridB")) throw trelvik::Error("GridMath: the function uses B but no grid B was given");
            const std::string pathB = a.text("InGridB");
            gB = readInputGrid(pathB);
            if (!sameLattice(gA, gB))
                throw trelvik::Error("GridMath: grids " + pathA + " and " + pathB +
                                     " do not share the same nodes (size and extents must be equal)");
        }
        trelvik::Grid out(gA.cols, gA.rows, gA.xMin, gA.xMax, gA.yMin, gA.yMax);
        expr.evaluate(gA.z.data(), expr.usesB() ? gB.z.data() : nullptr, out.z.data(), out.z.size());
        writeOutputGrid(app.version(), a.operation(), a.text("OutGridC"), out, a.optWhole("OutFmtC"));
    };
    reg.add(std::move(op));
}

} // namespace surfer
