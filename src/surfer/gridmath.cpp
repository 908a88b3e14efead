// GridMath: a grid C computed node by node from grids A and B by a function text
// (gridexpression.h). Inputs: Function, InGridA, InGridB (needed when the function uses
// B; it must share A's lattice), OutGridC, OutFmtC. Output: C on A's lattice; blank where
// a used input is blank or the value is undefined.
#include "core/error.h"
#include "surfer/application.h"
#include "surfer/griddataparallel.h"
#include "surfer/gridexpression.h"
#include "surfer/gridfiles.h"
#include "surfer/operations.h"

#include <future>

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
        std::string pathB;
        std::future<trelvik::Grid> readB;
        if (expr.usesB()) {
            if (!a.has("InGridB")) throw trelvik::Error("GridMath: the function uses B but no grid B was given");
            pathB = a.text("InGridB");
            readB = std::async(std::launch::async, readInputGrid, pathB);
        }
        trelvik::Grid gA = readInputGrid(pathA);
        trelvik::Grid gB;
        if (readB.valid()) {
            gB = readB.get();
            if (!sameLattice(gA, gB))
                throw trelvik::Error("GridMath: grids " + pathA + " and " + pathB +
                                     " do not share the same nodes (size and extents must be equal)");
        }
        trelvik::Grid out(gA.cols, gA.rows, gA.xMin, gA.xMax, gA.yMin, gA.yMax);
        // Nodes are independent: rows are evaluated in blocks on several threads.
        const std::size_t nc = static_cast<std::size_t>(gA.cols);
        detail::forEachRowBlock(gA.rows, [&](int r0, int r1) {
            const std::size_t off = static_cast<std::size_t>(r0) * nc, n = static_cast<std::size_t>(r1 - r0) * nc;
            expr.evaluate(gA.z.data() + off, expr.usesB() ? gB.z.data() + off : nullptr, out.z.data() + off, n);
        }, 64);
        writeOutputGrid(app.version(), a.operation(), a.text("OutGridC"), out, a.optWhole("OutFmtC"));
    };
    reg.add(std::move(op));
}

} // namespace surfer
