// GridFilter and GridMatrixSmooth as automation operations (computations in gridfilter.h).
//
// GridFilter, names in their positional order (the same on both versions): 1 InGrid,
// 2 Filter (code 1 to 16), 3 and 4 unused, 5 NumPasses, 6 Param1, 7 Param2, 8 NumRow,
// 9 NumCol, 10 and 11 unused, 12 UserFilter, 13 OutGrid, 14 OutFmt. Unused slots must be
// left out. UserFilter is an array of NumRow x NumCol weights, row by row; an empty
// array counts as not given (callers pass their matrix whatever the filter). Sizes
// default to 3, passes to 1.
// GridMatrixSmooth: 1 InGrid, 2 Method (0, the weighted moving average), 3 Weight (the
// centre weight; a number or its text), 4 unused, 5 RowRadius, 6 ColRadius (the window
// is 2 * radius + 1 nodes), 7 OutGrid, 8 OutFmt.
#include "surfer/application.h"
#include "surfer/griddataargs.h"
#include "surfer/gridfiles.h"
#include "surfer/gridfilter.h"
#include "surfer/operations.h"

#include "core/error.h"

namespace surfer {

namespace {

int size(const Args& a, const char* name, long fallback) {
    const long v = detail::optWholeOrText(a, name).value_or(fallback);
    if (v < 0 || v > 100000) throw trelvik::Error(a.operation() + ": " + name + " is out of range");
    return static_cast<int>(v);
}

void runGridFilter(Application& app, const Args& a) {
    detail::requireUnused(a, {"Reserved3", "Reserved4", "Reserved10", "Reserved11"});
    const trelvik::Grid in = readInputGrid(a.text("InGrid"));
    GridFilterRequest r;
    r.code = static_cast<int>(detail::optWholeOrText(a, "Filter").value_or(1));
    r.passes = size(a, "NumPasses", 1);
    r.numRows = size(a, "NumRow", 3);
    r.numCols = size(a, "NumCol", 3);
    r.param1 = detail::optNumberOrText(a, "Param1");
    r.param2 = detail::optNumberOrText(a, "Param2");
    if (const ResultArray* m = a.results("UserFilter")) r.userFilter = *m;
    if (r.code == 5 && r.userFilter.empty()) throw trelvik::Error("GridFilter: filter 5 needs a UserFilter matrix");
    writeOutputGrid(app.version(), a.operation(), a.text("OutGrid"), applyGridFilter(in, r), a.optWhole("OutFmt"));
}

void runGridMatrixSmooth(Application& app, const Args& a) {
    detail::requireUnused(a, {"Reserved4"});
    const long method = detail::optWholeOrText(a, "Method").value_or(0);
    if (method != 0) throw trelvik::Error("GridMatrixSmooth: method " + std::to_string(method) + " is not available");
    const trelvik::Grid in = readInputGrid(a.text("InGrid"));
    const trelvik::Grid out =
        matrixSmooth(in, detail::numberOrText(a, "Weight", 1), size(a, "RowRadius", 1), size(a, "ColRadius", 1));
    writeOutputGrid(app.version(), a.operation(), a.text("OutGrid"), out, a.optWhole("OutFmt"));
}

} // namespace

void registerGridFilter(OperationRegistry& reg) {
    OperationSpec op;
    op.name = "GridFilter";
    op.names = {"InGrid", "Filter", "Reserved3", "Reserved4", "NumPasses", "Param1", "Param2",
                "NumRow", "NumCol", "Reserved10", "Reserved11", "UserFilter", "OutGrid", "OutFmt"};
    op.required = {"InGrid", "OutGrid"};
    op.run = runGridFilter;
    reg.add(std::move(op));
}

void registerGridMatrixSmooth(OperationRegistry& reg) {
    OperationSpec op;
    op.name = "GridMatrixSmooth";
    op.names = {"InGrid", "Method", "Weight", "Reserved4", "RowRadius", "ColRadius", "OutGrid", "OutFmt"};
    op.required = {"InGrid", "OutGrid"};
    op.run = runGridMatrixSmooth;
    reg.add(std::move(op));
}

} // namespace surfer
