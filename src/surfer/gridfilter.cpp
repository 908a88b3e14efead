#include "surfer/gridfilter.h"

#include "core/error.h"
#include "surfer/griddataparallel.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace surfer {

namespace {

using trelvik::Grid;
using trelvik::isBlank;
using trelvik::kBlank;

struct Kernel {
    int hr = 1, hc = 1;            // half sizes: rows (y) and columns (x)
    std::vector<double> w;         // (2hr+1) x (2hc+1), row by row, row 0 the lowest y
    bool highPass = false;
    double at(int i, int j) const { return w[static_cast<std::size_t>((i + hr) * (2 * hc + 1) + (j + hc))]; }
};

Kernel fixed3(std::initializer_list<double> w, bool highPass = false) {
    Kernel k;
    k.w.assign(w);
    k.highPass = highPass;
    return k;
}

[[noreturn]] void fail(const std::string& what) { throw trelvik::Error("GridFilter: " + what); }

Kernel makeKernel(const GridFilterRequest& r) {
    switch (r.code) {
    case 6: return fixed3({0, 1, 0, 1, 1, 1, 0, 1, 0});
    case 7: return fixed3({1, 0, 1, 0, 1, 0, 1, 0, 1});
    case 8: return fixed3({1, 1, 1, 1, 1, 1, 1, 1, 1});
    case 9: return fixed3({1, 2, 1, 2, 4, 2, 1, 2, 1});
    case 10: return fixed3({1, 1, 1, 1, 2, 1, 1, 1, 1});
    case 11: return fixed3({1, 1, 1, 1, 4, 1, 1, 1, 1});
    case 12: return fixed3({1, 1, 1, 1, 12, 1, 1, 1, 1});
    case 14: return fixed3({-1, -1, -1, -1, 9, -1, -1, -1, -1}, true);
    case 15: return fixed3({0, -1, 0, -1, 5, -1, 0, -1, 0}, true);
    case 16: return fixed3({1, -2, 1, -2, 5, -2, 1, -2, 1}, true);
    case 1: case 2: case 3: case 4: case 5: break;
    default: fail("filter " + std::to_string(r.code) + " is not available");
    }
    if (r.numRows < 1 || r.numCols < 1 || r.numRows % 2 == 0 || r.numCols % 2 == 0 || r.numRows > 201 ||
        r.numCols > 201)
        fail("the filter size " + std::to_string(r.numRows) + " x " + std::to_string(r.numCols) +
             " must be odd, from 1 to 201");
    Kernel k;
    k.hr = r.numRows / 2;
    k.hc = r.numCols / 2;
    const std::size_t n = static_cast<std::size_t>(r.numRows) * static_cast<std::size_t>(r.numCols);
    if (r.code == 5) {
        if (r.userFilter.size() != n)
            fail("the user filter holds " + std::to_string(r.userFilter.size()) + " weights, " + std::to_string(n) +
                 " expected");
        k.w = r.userFilter;
        return k;
    }
    const double big = std::hypot(k.hr, k.hc) + 1;
    k.w.resize(n);
    for (int i = -k.hr; i <= k.hr; ++i)
        for (int j = -k.hc; j <= k.hc; ++j) {
            const double d = std::hypot(i, j);
            double w = 1;
            if (r.code == 2) w = std::pow(1 - d / big, r.param1.value_or(2));
            else if (r.code == 3) w = d == 0 ? r.param2.value_or(1) : 1 / std::pow(d, r.param1.value_or(2));
            else if (r.code == 4) w = std::exp(-r.param1.value_or(2) * (d / big) * (d / big));
            k.w[static_cast<std::size_t>((i + k.hr) * (2 * k.hc + 1) + (j + k.hc))] = w;
        }
    return k;
}

// One pass. Values and a 0/1 mask of non-blank nodes are read from `in`.
void pass(const Grid& in, Grid& out, const Kernel& k) {
    const int cols = in.cols, rows = in.rows;
    const int kw = 2 * k.hc + 1;
    detail::forEachRowBlock(rows, [&](int r0, int r1) {
        for (int r = r0; r < r1; ++r) {
            for (int c = 0; c < cols; ++c) {
                const double centre = in.at(c, r);
                double& o = out.at(c, r);
                if (isBlank(centre)) {
                    o = kBlank;
                    continue;
                }
                const int i0 = std::max(-k.hr, -r), i1 = std::min(k.hr, rows - 1 - r);
                const int j0 = std::max(-k.hc, -c), j1 = std::min(k.hc, cols - 1 - c);
                if (k.highPass && (i0 != -k.hr || i1 != k.hr || j0 != -k.hc || j1 != k.hc)) {
                    o = centre;
                    continue;
                }
                double sw = 0, swz = 0;
                bool complete = true;
                for (int i = i0; i <= i1; ++i) {
                    const double* zr = in.z.data() + static_cast<std::size_t>(r + i) * cols + c;
                    const double* wr = k.w.data() + static_cast<std::size_t>(i + k.hr) * kw + k.hc;
                    for (int j = j0; j <= j1; ++j) {
                        const double z = zr[j];
                        if (isBlank(z)) {
                            complete = false;
                            continue;
                        }
                        sw += wr[j];
                        swz += wr[j] * z;
                    }
                }
                if (k.highPass) o = complete ? swz : centre;
                else o = sw != 0 ? swz / sw : kBlank;
            }
        }
    });
}

Grid run(const Grid& in, const Kernel& k, int passes) {
    Grid a = in, b = in;
    for (int p = 0; p < passes; ++p) {
        pass(a, b, k);
        std::swap(a, b);
    }
    return a;
}

} // namespace

Grid applyGridFilter(const Grid& in, const GridFilterRequest& request) {
    if (request.passes < 1) fail("the number of passes must be 1 or more");
    return run(in, makeKernel(request), request.passes);
}

Grid matrixSmooth(const Grid& in, double centreWeight, int rowRadius, int colRadius) {
    if (rowRadius < 0 || colRadius < 0 || rowRadius > 100 || colRadius > 100)
        throw trelvik::Error("GridMatrixSmooth: the window half sizes must lie between 0 and 100");
    Kernel k;
    k.hr = rowRadius;
    k.hc = colRadius;
    k.w.assign(static_cast<std::size_t>(2 * rowRadius + 1) * static_cast<std::size_t>(2 * colRadius + 1), 1.0);
    k.w[k.w.size() / 2] = centreWeight;
    return run(in, k, 1);
}

} // namespace surfer
