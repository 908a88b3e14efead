#include "csvview/imagefilters.h"

#include "core/textform.h"

#include <algorithm>

namespace trelvik::csvview {

namespace {

// Result grid: the working grid's nodes and filled flags, heights 0.
LatticeGrid resultFrame(const LatticeGrid& working) {
    LatticeGrid out = LatticeGrid::sameNodes(working, 0.0);
    out.filled = working.filled;
    return out;
}

} // namespace

Kernel laplacianKernel() {
    Kernel k(1, 1, 0.0);
    k.weight(0, 0) = -4;
    k.weight(-1, 0) = 1;
    k.weight(1, 0) = 1;
    k.weight(0, -1) = 1;
    k.weight(0, 1) = 1;
    return k;
}

LatticeGrid ConvolveGridKernel(const LatticeGrid& working, const Kernel& kernel) {
    LatticeGrid out = resultFrame(working);
    const int cols = working.cols, rows = working.rows;
    if (working.empty()) return out;
    // An empty cell has no height: as a neighbour it adds nothing (as a node outside
    // the grid does), and it stays empty. Its marker must never enter a sum, or every
    // cell beside the empty margin of a grid swamps the picture.
    std::vector<double> h(working.cells.size());
    for (std::size_t k = 0; k < h.size(); ++k) h[k] = isVoid(working.cells[k].z) ? 0.0 : working.cells[k].z;
    // Whole rows at a time: for each offset the in-grid span of columns is one
    // contiguous run, so the inner loop has no bounds tests. Each cell still adds its
    // terms in the order (cv outer, cu inner), so sums match a cell-by-cell loop.
    std::vector<double> acc(static_cast<std::size_t>(cols));
    for (int j = 1; j <= rows; ++j) {
        std::fill(acc.begin(), acc.end(), 0.0);
        for (int cv = -kernel.halfH; cv <= kernel.halfH; ++cv) {
            const int r = j + cv;
            if (r < 1 || r > rows) continue;
            const double* src = &h[working.index(1, r)];
            for (int cu = -kernel.halfW; cu <= kernel.halfW; ++cu) {
                const double w = kernel.weight(cu, cv);
                const int iLo = std::max(1, 1 - cu), iHi = std::min(cols, cols - cu);
                for (int i = iLo; i <= iHi; ++i) acc[i - 1] += w * src[i - 1 + cu];
            }
        }
        GridCell* dst = &out.cells[out.index(1, j)];
        const GridCell* own = &working.cells[working.index(1, j)];
        for (int i = 0; i < cols; ++i) dst[i].z = isVoid(own[i].z) ? kVoidHeight : acc[i];
    }
    return out;
}

LatticeGrid LaplacianFilter(const LatticeGrid& working) {
    LatticeGrid out = ConvolveGridKernel(working, laplacianKernel());
    for (auto& c : out.cells) {
        if (isVoid(c.z)) continue;
        c.z = -c.z;
        if (c.z < 0) c.z = 0;
    }
    return out;
}

int kernelSizeFromText(std::string_view text) {
    if (text == "5 x 5") return 5;
    if (text == "7 x 7") return 7;
    return 3;
}

CuspThreshold readCuspThreshold(ThresholdRule rule, std::string_view absText, std::string_view propText,
                                double zmax, const CuspThreshold& previous) {
    switch (rule) {
    case ThresholdRule::NA:
        return {};
    case ThresholdRule::Prop: {
        const double p = text::Val(propText);
        return {p * zmax, p, 0};
    }
    case ThresholdRule::Abs: {
        const double a = text::Val(absText);
        return {a, 0, a};
    }
    case ThresholdRule::None:
        break;
    }
    return previous;
}

LatticeGrid LocalMaxFilter(const LatticeGrid& working, int k, double hmin, double hdiff) {
    LatticeGrid out = resultFrame(working);
    if (working.empty()) return out;
    const int cols = working.cols, rows = working.rows, h = (k - 1) / 2;
    // Row maxima of each window span first (columns), then the column maxima of those.
    std::vector<double> rowMax(working.cells.size());
    for (int r = 1; r <= rows; ++r)
        for (int i = 1; i <= cols; ++i) {
            double m = -1e10;
            const int lo = std::max(1, i - h), hi = std::min(cols, i + h);
            for (int c = lo; c <= hi; ++c)
                if (!working.isVoidCell(c, r)) m = std::max(m, working.z(c, r));
            rowMax[working.index(i, r)] = m;
        }
    for (int j = 1; j <= rows; ++j)
        for (int i = 1; i <= cols; ++i) {
            const double c = working.z(i, j);
            double result = working.zmin;
            if (isVoid(c)) {
                result = kVoidHeight;  // no height, no cusp; empty neighbours are skipped
            } else if (c >= hmin) {
                double m = -1e10;
                const int lo = std::max(1, j - h), hi = std::min(rows, j + h);
                for (int r = lo; r <= hi; ++r) m = std::max(m, rowMax[working.index(i, r)]);
                if (m != 0 && c != 0 && c + hdiff >= m) result = working.zmax;
            }
            out.z(i, j) = result;
        }
    return out;
}

Proc3Result ClearedProcessed(const LatticeGrid& working) {
    Proc3Result r;
    r.processed = LatticeGrid(working.cols, working.rows);
    return r;
}

} // namespace trelvik::csvview
