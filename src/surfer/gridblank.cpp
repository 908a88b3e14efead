#include "surfer/gridblank.h"

#include "core/error.h"
#include "surfer/application.h"
#include "surfer/gridfiles.h"
#include "surfer/operations.h"

#include <algorithm>
#include <cmath>

namespace surfer {

using trelvik::Grid;

namespace {

struct RowMarks {
    std::vector<double> crossings;                     // even-odd crossings of the row's line
    std::vector<std::pair<double, double>> onOutline;  // stretches of the row lying on the outline
};

void markSection(const Grid& g, const BlnSection& s, std::vector<char>& inside) {
    const std::size_t n = s.x.size();
    if (n == 0) return;
    const double dx = g.xSpacing(), dy = g.ySpacing();
    const double epsX = dx > 0 ? 1e-9 * dx : 1e-12;
    const double epsY = dy > 0 ? 1e-9 * dy : 1e-12;
    std::vector<RowMarks> rows(static_cast<std::size_t>(g.rows));

    auto rowRange = [&](double lo, double hi, int& j0, int& j1) {
        if (dy <= 0) {
            j0 = 0;
            j1 = (g.yMin >= lo - epsY && g.yMin <= hi + epsY) ? 0 : -1;
            return;
        }
        const double a = std::ceil((lo - g.yMin) / dy - 1e-9);
        const double b = std::floor((hi - g.yMin) / dy + 1e-9);
        j0 = static_cast<int>(std::max(a, 0.0));
        j1 = static_cast<int>(std::min(b, static_cast<double>(g.rows - 1)));
    };

    const bool closed = n > 1 && s.x.front() == s.x.back() && s.y.front() == s.y.back();
    const std::size_t edges = closed ? n - 1 : n;
    for (std::size_t e = 0; e < edges; ++e) {
        const double xa = s.x[e], ya = s.y[e];
        const double xb = s.x[(e + 1) % n], yb = s.y[(e + 1) % n];
        const double ylo = std::min(ya, yb), yhi = std::max(ya, yb);
        if (!(yhi >= g.yMin - epsY && ylo <= g.yMax + epsY)) continue;
        int j0 = 0, j1 = -1;
        rowRange(ylo, yhi, j0, j1);
        for (int j = j0; j <= j1; ++j) {
            const double y = g.y(j);
            RowMarks& r = rows[static_cast<std::size_t>(j)];
            if (ya == yb) {
                if (std::fabs(y - ya) <= epsY) r.onOutline.emplace_back(std::min(xa, xb), std::max(xa, xb));
                continue;
            }
            double t = (y - ya) / (yb - ya);
            t = std::clamp(t, 0.0, 1.0);
            const double x = xa + t * (xb - xa);
            if ((ya <= y && y < yb) || (yb <= y && y < ya)) r.crossings.push_back(x);
            if (y >= ylo - epsY && y <= yhi + epsY) r.onOutline.emplace_back(x, x);
        }
    }

    auto markStretch = [&](int j, double a, double b) {
        int i0 = 0, i1 = g.cols - 1;
        if (dx > 0) {
            i0 = static_cast<int>(std::max(std::ceil((a - epsX - g.xMin) / dx), 0.0));
            i1 = static_cast<int>(std::min(std::floor((b + epsX - g.xMin) / dx), static_cast<double>(g.cols - 1)));
        } else if (!(g.xMin >= a - epsX && g.xMin <= b + epsX)) {
            return;
        }
        char* row = inside.data() + static_cast<std::size_t>(j) * g.cols;
        for (int i = i0; i <= i1; ++i) row[i] = 1;
    };

    for (int j = 0; j < g.rows; ++j) {
        RowMarks& r = rows[static_cast<std::size_t>(j)];
        std::sort(r.crossings.begin(), r.crossings.end());
        for (std::size_t k = 0; k + 1 < r.crossings.size(); k += 2) markStretch(j, r.crossings[k], r.crossings[k + 1]);
        for (const auto& [a, b] : r.onOutline) markStretch(j, a, b);
    }
}

} // namespace

void blankGrid(Grid& grid, const std::vector<BlnSection>& sections) {
    std::vector<char> inside;
    for (const BlnSection& s : sections) {
        if (s.flag != 0 && s.flag != 1)
            throw trelvik::Error("GridBlank: blanking flag " + std::to_string(s.flag) + " is neither 0 (outside) nor 1 (inside)");
        inside.assign(grid.z.size(), 0);
        markSection(grid, s, inside);
        const char blankWhen = s.flag == 1 ? 1 : 0;
        for (std::size_t k = 0; k < grid.z.size(); ++k)
            if (inside[k] == blankWhen) grid.z[k] = trelvik::kBlank;
    }
}

void registerGridBlank(OperationRegistry& reg) {
    OperationSpec op;
    op.name = "GridBlank";
    op.names = {"InGrid", "BlankFile", "OutGrid", "OutFmt"};
    op.required = {"InGrid", "BlankFile", "OutGrid"};
    op.run = [](Application& app, const Args& a) {
        Grid g = readInputGrid(a.text("InGrid"));
        const auto sections = readBlnSections(a.text("BlankFile"));
        blankGrid(g, sections);
        writeOutputGrid(app.version(), a.operation(), a.text("OutGrid"), g, a.optWhole("OutFmt"));
    };
    reg.add(std::move(op));
}

} // namespace surfer
