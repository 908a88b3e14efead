#pragma once
// Orientation patches: the 4-connected components of equal class in a class map,
// their sizes, the patches kept by a minimum size, and the statistics of a count.
//
// Input: a class map of cols x rows cells (row 1 first, column fastest, as the
// viewer's grids are stored); kNoClass marks a void cell, which belongs to no patch.
// Labelling is exact: two cells share a patch exactly when a path of edge
// neighbours of their class joins them, whatever the shape (spirals, mazes).
//   provisional  the first scan's labels (rows ascending, columns ascending): a cell
//                takes the label of its previous-column neighbour of equal class,
//                else that of its previous-row neighbour, else a new label;
//   component    the smallest provisional label of the cell's component, which is
//                the label of the component's first cell in scan order;
//   patch        components larger than the minimum size (cells), numbered 1..P
//                in the order of their first cell in scan order.
// Void cells hold kNoLabel in every label map. Sizes are cell counts.
#include "core/appstate.h"
#include "core/stats.h"

#include <cstdint>
#include <limits>
#include <vector>

namespace trelvik::csvview {

// Below every class a count can make (classes count from 1, bands from any whole
// number), so no real class, however many categories, is taken for a void cell.
inline constexpr int kNoClass = std::numeric_limits<int>::min();
inline constexpr int kNoLabel = -1;

struct PatchLabels {
    int cols = 0, rows = 0;
    std::vector<int> provisional;    // first-scan labels, 1..provisionalCount
    std::vector<int> component;      // merged labels (smallest provisional label)
    std::vector<int> patch;          // 1..P, kNoLabel for void cells and dropped patches
    int provisionalCount = 0;        // L
    std::vector<long> patchSizes;    // size of patch n at index n - 1
    long pixelsInPatches = 0;        // cells in kept patches
};

// Labels `classes` (cols * rows values) and keeps the components of more than
// `minSize` cells. minSize 0 keeps every component.
PatchLabels labelPatches(const std::vector<int>& classes, int cols, int rows, long minSize);

// What one count reports of its kept patches.
struct PatchStats {
    long patches = 0;          // P
    SummaryStats sizes;        // of the kept sizes; one patch: its size, SD 0; none: all 0
    double diversity = 0;      // 1 / sum p^2, p = size / totalCells; 0 when P < 2
    long totalCells = 0;       // T, as given
    long pixelsInPatches = 0;
};

// Statistics of `labels`' kept patches against `totalCells` counted cells. The
// summary values also go to the shared StatMean... fields when P > 1, as every
// caller of the summary routine leaves them.
PatchStats patchStatistics(const PatchLabels& labels, long totalCells, AppState& app);

} // namespace trelvik::csvview
