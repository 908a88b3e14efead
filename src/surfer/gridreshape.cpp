#include "surfer/gridreshape.h"

#include "core/error.h"
#include "surfer/application.h"
#include "surfer/gridfiles.h"
#include "surfer/operations.h"

#include <cmath>

namespace surfer {

using trelvik::Grid;

Grid extractGrid(const Grid& g, long r1, long r2, long rFreq, long c1, long c2, long cFreq) {
    if (r1 == -1) r1 = 1;
    if (c1 == -1) c1 = 1;
    if (r2 == -1) r2 = g.rows;
    if (c2 == -1) c2 = g.cols;
    if (rFreq == -1) rFreq = 1;
    if (cFreq == -1) cFreq = 1;
    auto range = [](long a, long b, long n, const char* what) {
        if (a < 1 || b > n || a > b)
            throw trelvik::Error("GridExtract: " + std::string(what) + " " + std::to_string(a) + " to " +
                                 std::to_string(b) + " do not lie within 1 to " + std::to_string(n));
    };
    range(r1, r2, g.rows, "rows");
    range(c1, c2, g.cols, "columns");
    if (rFreq < 1 || cFreq < 1) throw trelvik::Error("GridExtract: row and column steps must be 1 or more");
    const long nr = (r2 - r1) / rFreq + 1, nc = (c2 - c1) / cFreq + 1;
    const int firstCol = static_cast<int>(c1 - 1), firstRow = static_cast<int>(r1 - 1);
    const int lastCol = static_cast<int>(firstCol + (nc - 1) * cFreq);
    const int lastRow = static_cast<int>(firstRow + (nr - 1) * rFreq);
    Grid out(static_cast<int>(nc), static_cast<int>(nr), g.x(firstCol), g.x(lastCol), g.y(firstRow), g.y(lastRow));
    for (long j = 0; j < nr; ++j)
        for (long i = 0; i < nc; ++i)
            out.at(static_cast<int>(i), static_cast<int>(j)) =
                g.at(static_cast<int>(firstCol + i * cFreq), static_cast<int>(firstRow + j * rFreq));
    return out;
}

Grid transformGrid(const Grid& g, TransformOp op, double xOffset, double yOffset, double rotation) {
    switch (op) {
    case TransformOp::Offset: {
        Grid out = g;
        out.xMin += xOffset;
        out.xMax += xOffset;
        out.yMin += yOffset;
        out.yMax += yOffset;
        return out;
    }
    case TransformOp::MirrorX:
    case TransformOp::MirrorY: {
        Grid out = g;
        for (int j = 0; j < g.rows; ++j)
            for (int i = 0; i < g.cols; ++i)
                out.at(i, j) = op == TransformOp::MirrorX ? g.at(g.cols - 1 - i, j) : g.at(i, g.rows - 1 - j);
        return out;
    }
    case TransformOp::Rotate:
        break;
    }
    const double quarters = rotation / 90.0;
    if (quarters != std::floor(quarters))
        throw trelvik::Error("GridTransform: rotation " + std::to_string(rotation) + " is not a multiple of 90 degrees");
    const int k = static_cast<int>(((static_cast<long long>(quarters) % 4) + 4) % 4);  // counter-clockwise turns
    if (k == 0) return g;
    const bool odd = k % 2 == 1;
    const int nc = odd ? g.rows : g.cols, nr = odd ? g.cols : g.rows;
    const double dx = odd ? g.ySpacing() : g.xSpacing(), dy = odd ? g.xSpacing() : g.ySpacing();
    Grid out(nc, nr, g.xMin, g.xMin + (nc - 1) * dx, g.yMin, g.yMin + (nr - 1) * dy);
    for (int j = 0; j < nr; ++j)
        for (int i = 0; i < nc; ++i) {
            double z;
            if (k == 1) z = g.at(j, g.rows - 1 - i);            // (x, y) -> (-y, x)
            else if (k == 2) z = g.at(g.cols - 1 - i, g.rows - 1 - j);
            else z = g.at(g.cols - 1 - j, i);                     // (x, y) -> (y, -x)
            out.at(i, j) = z;
        }
    return out;
}

void registerGridExtract(OperationRegistry& reg) {
    OperationSpec op;
    op.name = "GridExtract";
    op.names = {"InGrid", "r1", "r2", "rFreq", "c1", "c2", "cFreq", "OutGrid", "OutFmt"};
    op.positional6 = {"InGrid", "r1", "c1", "r2", "c2", "rFreq", "cFreq", "OutGrid", "OutFmt"};
    op.required = {"InGrid", "OutGrid"};
    op.run = [](Application& app, const Args& a) {
        const Grid g = readInputGrid(a.text("InGrid"));
        auto v = [&](const char* n) { return a.optWhole(n).value_or(-1); };
        const Grid out = extractGrid(g, v("r1"), v("r2"), v("rFreq"), v("c1"), v("c2"), v("cFreq"));
        writeOutputGrid(app.version(), a.operation(), a.text("OutGrid"), out, a.optWhole("OutFmt"));
    };
    reg.add(std::move(op));
}

void registerGridTransform(OperationRegistry& reg) {
    OperationSpec op;
    op.name = "GridTransform";
    op.names = {"InGrid", "Operation", "XOffset", "YOffset", "XScale", "YScale", "Rotation", "OutGrid", "OutFmt"};
    op.required = {"InGrid", "Operation", "OutGrid"};
    op.run = [](Application& app, const Args& a) {
        // Version 6 counts the operations from 0, version 8 (and every named call) from 1.
        const long code = a.whole("Operation") + (a.form() == 6 ? 1 : 0);
        TransformOp t;
        switch (code) {
        case 1: t = TransformOp::Offset; break;
        case 3: t = TransformOp::Rotate; break;
        case 4: t = TransformOp::MirrorX; break;
        case 5: t = TransformOp::MirrorY; break;
        case 2: throw trelvik::Error("GridTransform: scaling is not available");
        default: throw trelvik::Error("GridTransform: unknown operation " + std::to_string(a.whole("Operation")));
        }
        const Grid g = readInputGrid(a.text("InGrid"));
        const Grid out = transformGrid(g, t, a.optNumber("XOffset").value_or(0), a.optNumber("YOffset").value_or(0),
                                       a.optNumber("Rotation").value_or(0));
        writeOutputGrid(app.version(), a.operation(), a.text("OutGrid"), out, a.optWhole("OutFmt"));
    };
    reg.add(std::move(op));
}

} // namespace surfer
