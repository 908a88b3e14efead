#include "csvview/opclabel.h"

#include "core/error.h"

#include <cstddef>

namespace trelvik::csvview {

namespace {

// Union-find over provisional labels. The smaller root always becomes the parent,
// so a component's root is its smallest label.
struct LabelSets {
    std::vector<int> parent{0};  // parent[0] unused; labels start at 1

    int make() {
        parent.push_back(static_cast<int>(parent.size()));
        return static_cast<int>(parent.size()) - 1;
    }
    int find(int a) {
        while (parent[static_cast<std::size_t>(a)] != a) {
            int& p = parent[static_cast<std::size_t>(a)];
            p = parent[static_cast<std::size_t>(p)];  // path halving
            a = p;
        }
        return a;
    }
    void join(int a, int b) {
        a = find(a);
        b = find(b);
        if (a == b) return;
        if (a < b) parent[static_cast<std::size_t>(b)] = a;
        else parent[static_cast<std::size_t>(a)] = b;
    }
};

} // namespace

PatchLabels labelPatches(const std::vector<int>& classes, int cols, int rows, long minSize) {
    const std::size_t n = static_cast<std::size_t>(cols > 0 ? cols : 0) * static_cast<std::size_t>(rows > 0 ? rows : 0);
    if (classes.size() != n) throw Error("Patch labelling: the class map does not match its grid size");
    PatchLabels out;
    out.cols = cols;
    out.rows = rows;
    out.provisional.assign(n, kNoLabel);
    LabelSets sets;
    sets.parent.reserve(n / 4 + 16);
    const std::size_t w = static_cast<std::size_t>(cols);

    for (std::size_t k = 0, r = 0; r < static_cast<std::size_t>(rows); ++r) {
        for (std::size_t c = 0; c < w; ++c, ++k) {
            const int cls = classes[k];
            if (cls == kNoClass) continue;
            const bool left = c > 0 && classes[k - 1] == cls;
            const bool up = r > 0 && classes[k - w] == cls;
            int label;
            if (left) {
                label = out.provisional[k - 1];
                if (up && out.provisional[k - w] != label) sets.join(label, out.provisional[k - w]);
            } else if (up) {
                label = out.provisional[k - w];
            } else {
                label = sets.make();
            }
            out.provisional[k] = label;
        }
    }
    out.provisionalCount = static_cast<int>(sets.parent.size()) - 1;

    // Roots are the smallest labels, so walking labels upwards numbers the kept
    // components in the order of their first cell.
    const std::size_t L = static_cast<std::size_t>(out.provisionalCount);
    std::vector<int> root(L + 1, 0);
    for (std::size_t a = 1; a <= L; ++a) root[a] = sets.find(static_cast<int>(a));
    std::vector<long> size(L + 1, 0);
    out.component.assign(n, kNoLabel);
    for (std::size_t k = 0; k < n; ++k) {
        const int p = out.provisional[k];
        if (p == kNoLabel) continue;
        const int rt = root[static_cast<std::size_t>(p)];
        out.component[k] = rt;
        ++size[static_cast<std::size_t>(rt)];
    }
    std::vector<int> number(L + 1, kNoLabel);
    for (std::size_t a = 1; a <= L; ++a) {
        if (root[a] != static_cast<int>(a) || size[a] <= minSize) continue;
        out.patchSizes.push_back(size[a]);
        number[a] = static_cast<int>(out.patchSizes.size());
        out.pixelsInPatches += size[a];
    }
    out.patch.assign(n, kNoLabel);
    for (std::size_t k = 0; k < n; ++k) {
        const int c = out.component[k];
        if (c != kNoLabel) out.patch[k] = number[static_cast<std::size_t>(c)];
    }
    return out;
}

PatchStats patchStatistics(const PatchLabels& labels, long totalCells, AppState& app) {
    PatchStats s;
    s.patches = static_cast<long>(labels.patchSizes.size());
    s.totalCells = totalCells;
    s.pixelsInPatches = labels.pixelsInPatches;
    if (s.patches > 1) {
        const std::vector<double> sizes(labels.patchSizes.begin(), labels.patchSizes.end());
        CalcSummaryStats(app, sizes, 0, s.patches - 1);
        s.sizes = SummaryStats{app.StatMean, app.StatSD, app.StatMin, app.StatMax, app.StatMedian, app.StatQ1, app.StatQ3};
    } else if (s.patches == 1) {
        const double v = static_cast<double>(labels.patchSizes[0]);
        s.sizes = SummaryStats{v, 0, v, v, v, v, v};
    }
    if (s.patches >= 2 && totalCells > 0) {
        double sum = 0;
        for (long size : labels.patchSizes) {
            const double p = static_cast<double>(size) / static_cast<double>(totalCells);
            if (p != 0) sum += p * p;
        }
        if (sum > 0) s.diversity = 1.0 / sum;
    }
    return s;
}

} // namespace trelvik::csvview
