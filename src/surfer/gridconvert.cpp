// GridConvert: copies a grid into another file form.
//   Input: InGrid, any Surfer grid file. Output: OutGrid in the form of OutFmt (codes by
//   version, see gridfiles.h): a grid file, or XYZ text with every node, blank nodes
//   included with z = 1.70141E+38. Heights of 1E+37 or more are written as that value.
#include "surfer/application.h"
#include "surfer/gridfiles.h"
#include "surfer/operations.h"

namespace surfer {

void registerGridConvert(OperationRegistry& reg) {
    OperationSpec op;
    op.name = "GridConvert";
    op.names = {"InGrid", "OutGrid", "OutFmt"};
    op.required = {"InGrid", "OutGrid"};
    op.run = [](Application& app, const Args& a) {
        const trelvik::Grid g = readInputGrid(a.text("InGrid"));
        writeOutputGrid(app.version(), a.operation(), a.text("OutGrid"), g, a.optWhole("OutFmt"));
    };
    reg.add(std::move(op));
}

} // namespace surfer
