#include "surfer/gridslice.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "surfer/application.h"
#include "surfer/bilinear.h"
#include "surfer/gridfiles.h"
#include "surfer/operations.h"

#include <algorithm>
#include <cmath>

namespace surfer {

using trelvik::Grid;

namespace {
struct Crossing {
    double t, x, y;
    bool exactX, exactY;  // x (or y) is a grid line's own coordinate
};
} // namespace

std::vector<SliceRecord> sliceGrid(const Grid& g, const std::vector<BlnSection>& lines) {
    std::vector<SliceRecord> out;
    const double dx = g.xSpacing(), dy = g.ySpacing();
    const double epsX = 1e-9 * (dx > 0 ? dx : 1), epsY = 1e-9 * (dy > 0 ? dy : 1);
    long segment = 0;
    std::vector<Crossing> cs;
    for (const BlnSection& line : lines) {
        const std::size_t n = line.x.size();
        double dist = 0;
        for (std::size_t k = 0; k < n; ++k) {
            const double xa = line.x[k], ya = line.y[k];
            if (k + 1 == n) {  // last vertex closes the line
                out.push_back({xa, ya, bilinearHeight(g, xa, ya), dist, std::max(segment, 1L)});
                break;
            }
            ++segment;
            const double xb = line.x[k + 1], yb = line.y[k + 1];
            const double len = std::hypot(xb - xa, yb - ya);
            out.push_back({xa, ya, bilinearHeight(g, xa, ya), dist, segment});
            cs.clear();
            if (xb != xa && dx > 0) {
                const double lo = std::min(xa, xb), hi = std::max(xa, xb);
                const int i0 = std::max(0, static_cast<int>(std::ceil((lo - g.xMin) / dx)));
                const int i1 = std::min(g.cols - 1, static_cast<int>(std::floor((hi - g.xMin) / dx)));
                for (int i = i0; i <= i1; ++i) {
                    const double xi = g.x(i);
                    const double t = (xi - xa) / (xb - xa);
                    const double y = ya + t * (yb - ya);
                    if (y >= g.yMin - epsY && y <= g.yMax + epsY) cs.push_back({t, xi, y, true, false});
                }
            }
            if (yb != ya && dy > 0) {
                const double lo = std::min(ya, yb), hi = std::max(ya, yb);
                const int j0 = std::max(0, static_cast<int>(std::ceil((lo - g.yMin) / dy)));
                const int j1 = std::min(g.rows - 1, static_cast<int>(std::floor((hi - g.yMin) / dy)));
                for (int j = j0; j <= j1; ++j) {
                    const double yj = g.y(j);
                    const double t = (yj - ya) / (yb - ya);
                    const double x = xa + t * (xb - xa);
                    if (x >= g.xMin - epsX && x <= g.xMax + epsX) cs.push_back({t, x, yj, false, true});
                }
            }
            std::sort(cs.begin(), cs.end(), [](const Crossing& a, const Crossing& b) { return a.t < b.t; });
            const double tEps = len > 0 ? 1e-9 * std::min(dx > 0 ? dx : len, dy > 0 ? dy : len) / len : 1;
            for (std::size_t c = 0; c < cs.size(); ++c) {
                Crossing p = cs[c];
                // A crossing through a node appears once for its column and once for its row.
                while (c + 1 < cs.size() && cs[c + 1].t - p.t <= tEps) {
                    ++c;
                    if (cs[c].exactX) p.x = cs[c].x, p.exactX = true;
                    if (cs[c].exactY) p.y = cs[c].y, p.exactY = true;
                }
                if (p.t <= tEps || p.t >= 1 - tEps) continue;  // the segment's own vertices
                out.push_back({p.x, p.y, bilinearHeight(g, p.x, p.y), dist + p.t * len, segment});
            }
            dist += len;
        }
    }
    return out;
}

void writeSliceFile(const std::string& path, const std::vector<SliceRecord>& records) {
    std::string text;
    text.reserve(records.size() * 64);
    for (const SliceRecord& r : records) {
        trelvik::text::WriteLine w;
        w.num(r.x).num(r.y).num(r.z).num(r.distance).num(static_cast<double>(r.segment));
        text += w.str();
        text += "\r\n";
    }
    trelvik::writeFileAtomic(path, text);
}

void registerGridSlice(OperationRegistry& reg) {
    OperationSpec op;
    op.name = "GridSlice";
    op.names = {"InGrid", "BlankFile", "OutBlankFile", "OutDataFile"};
    op.required = {"InGrid", "BlankFile", "OutDataFile"};
    op.run = [](Application&, const Args& a) {
        if (a.has("OutBlankFile")) throw trelvik::Error("GridSlice: a profile blanking file output is not available");
        const Grid g = readInputGrid(a.text("InGrid"));
        const auto lines = readBlnSections(a.text("BlankFile"));
        writeSliceFile(a.text("OutDataFile"), sliceGrid(g, lines));
    };
    reg.add(std::move(op));
}

} // namespace surfer
