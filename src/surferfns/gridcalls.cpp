#include "surferfns/gridcalls.h"

#include "surfer/callargs.h"

namespace trelvik::surffns {

using surfer::Named;
using surfer::omitted;
using surfer::Positional;

void GridBlankCall(SurfFnsContext& ctx, const std::string& in, const std::string& bln, const std::string& out) {
    CallSurfer(ctx, "GridBlank", Positional{in, bln, out, 1},
               Named{{"InGrid", in}, {"BlankFile", bln}, {"OutGrid", out}});
}

void GridDataCall(SurfFnsContext& ctx, const std::string& data, const GridDataLattice& l, int algorithm,
                  const std::string& exclusionFilter, const std::string& out) {
    Named named{{"DataFile", data}, {"XCol", 1}, {"yCol", 2}, {"zCol", 3}};
    if (!exclusionFilter.empty()) named.args.emplace_back("ExclusionFilter", exclusionFilter);
    const Named lattice{{"NumCols", l.NumCols}, {"NumRows", l.NumRows}, {"XMin", l.x0},
                        {"XMax", l.x1},         {"YMin", l.y0},         {"YMax", l.y1},
                        {"Algorithm", algorithm}, {"ShowReport", false}, {"OutGrid", out}};
    named.args.insert(named.args.end(), lattice.args.begin(), lattice.args.end());
    CallSurfer(ctx, "GridData",
               Positional{data, 0, 1, 2, l.x0, l.x1, l.y0, l.y1, l.dx, l.dy, omitted, omitted, 1, out}, named);
}

} // namespace trelvik::surffns
