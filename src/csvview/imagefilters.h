#pragma once
// Image filters of the viewer's "Proc" frame: the working grid read as an image of
// heights, the result a processed grid of the same size.
//
//  ConvolveGridKernel  processed z(i, j) = sum over the kernel's offsets (cu, cv) of
//                      weight(cu, cv) * working z(i + cu, j + cv); neighbours outside
//                      the grid add nothing, and so do empty cells (z = 9999): their
//                      marker is no height. An empty cell stays empty (9999). x and y
//                      of every cell are the working cell's.
//  LaplacianFilter     the 3 x 3 kernel (centre -4, edge neighbours 1, corners 0),
//                      negated and cut off at 0: max(0, 4 z - sum of the in-grid,
//                      non-empty edge neighbours' heights); empty cells stay empty.
//  LocalMaxFilter      k x k local-maximum marks of cusp tips: the working grid's zmax
//                      where a cell is at least Hmin high, not 0, and within Hdiff of
//                      the highest height of its window (itself included; neighbours
//                      outside the grid and empty cells skipped), the working grid's
//                      zmin elsewhere; an empty cell stays empty.
//  ClearedProcessed    what "Proc3" leaves: a processed grid of the working grid's size
//                      with every cell 0. Its result flag tells the window to clear the
//                      processed view so no stale picture stays behind the empty grid.
//
// Thresholds come from the "Min cusp detect" and "Diff b/w cusps" frames: "NA" gives 0,
// "Abs" the typed number, "Prop" the typed proportion times the working grid's zmax.
// Units are those of the heights. Filters never change the working grid.
#include "csvview/latticegrid.h"
#include "csvview/thresholdrule.h"

#include <string>
#include <string_view>
#include <vector>

namespace trelvik::csvview {

// Square or rectangular kernel with offsets -halfW..halfW and -halfH..halfH.
struct Kernel {
    int halfW = 0, halfH = 0;
    std::vector<double> weights;  // (2 halfH + 1) rows of (2 halfW + 1), row cv = -halfH first

    Kernel() = default;
    Kernel(int hw, int hh, double fill = 0)
        : halfW(hw), halfH(hh), weights(static_cast<std::size_t>(2 * hw + 1) * (2 * hh + 1), fill) {}
    int width() const { return 2 * halfW + 1; }
    int height() const { return 2 * halfH + 1; }
    double& weight(int cu, int cv) { return weights[static_cast<std::size_t>(cv + halfH) * width() + (cu + halfW)]; }
    double weight(int cu, int cv) const {
        return weights[static_cast<std::size_t>(cv + halfH) * width() + (cu + halfW)];
    }
};

Kernel laplacianKernel();

LatticeGrid ConvolveGridKernel(const LatticeGrid& working, const Kernel& kernel);
LatticeGrid LaplacianFilter(const LatticeGrid& working);

// Window size of "Proc2" from the kernel-size list: 5 for "5 x 5", 7 for "7 x 7",
// 3 for anything else (also nothing chosen).
int kernelSizeFromText(std::string_view text);

struct CuspThreshold {
    double value = 0;       // Hmin or Hdiff
    double proportion = 0;  // the typed proportion when "Prop" made it, else 0
    double absolute = 0;    // the typed value when "Abs" made it, else 0
};

// One frame's threshold: text is the box of the selected rule (non-numbers read as 0).
CuspThreshold readCuspThreshold(ThresholdRule rule, std::string_view absText, std::string_view propText,
                                double zmax, const CuspThreshold& previous);

LatticeGrid LocalMaxFilter(const LatticeGrid& working, int k, double hmin, double hdiff);

struct Proc3Result {
    LatticeGrid processed;      // cleared, working grid's size
    bool clearProcessedView = true;  // the window must blank the processed view
};
Proc3Result ClearedProcessed(const LatticeGrid& working);

} // namespace trelvik::csvview
