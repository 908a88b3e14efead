#pragma once
// "Smooth": every listed grid run through a smoothing filter of the mapping program,
// optionally followed by its curvature grid (curvaturechain.h).
//
// Inputs: the window's list (SurfFnsContext) and the "Smooth grid" frame's controls
//   (SmoothOptions, texts as typed). n = filter size (odd), w = weight/power,
//   c = central weight, p = number of passes.
// Version 8: a pre-defined filter (code and suffix from PDFilterItems) or, with "Define
//   filter", an n x n matrix of 1 with w at its centre (code 5, suffix "_fwa" n "," w);
//   p > 1 adds "x" p to the suffix. GridFilter is issued by position: 1 input, 2 code,
//   5 passes, 6 w (for the filters that take a power or weight: distance weighting,
//   inverse distance, Gaussian), 7 c (inverse distance only), 8 and 9 n, 12 the matrix
//   (empty unless "Define filter"), 13 output.
// Version 6: "Define filter" only; GridMatrixSmooth(input, 0, w, -, (n-1)/2, (n-1)/2,
//   output), suffix "sm" n; the passes are not used.
// Output: GridPathNoExt(i) & suffix & ".grd" beside each input, kept in OutGridName(i)
//   and plotted when "Plot in Surfer" is ticked; with "Curvature" ticked the curvature
//   grid of the smoothed grid follows (not plotted), the two put in place together (a
//   failure of either leaves both earlier grids) before the plot. The list is cleared
//   at the end.
// Refusals (message, handler ends, list kept, nothing written, no map window opened):
//   an even or non-positive n ("Filter size must be odd number.", title "Filter"), n
//   above 1001, and with the ticked version passes not a whole number of 1 or more or
//   no pre-defined filter chosen ("Choose filter.") with version 8, a pre-defined
//   filter with version 6.
#include "surferfns/surffnsstate.h"

#include <string>
#include <vector>

namespace trelvik::surffns {

struct PDFilterItem {
    int code;          // the filter code the mapping program receives
    const char* text;  // the list text of cmbPDFilter
};
// The fourteen items of cmbPDFilter in list order.
const std::vector<PDFilterItem>& PDFilterItems();

// Controls of the "Smooth grid" frame, with the values of a freshly loaded window.
struct SmoothOptions {
    std::string txtFilterSize = "3";
    std::string txtWeight = "3";
    std::string txtCWeight = "3";
    std::string txtNoTimes = "1";
    bool optDefFilter = false;
    bool optPDFilter = true;
    std::string cmbPDFilter = "Moving average (nxn)";  // the combo's text
    bool chkCurvature = false;
};

// "Curvature" clicked: loads the filter settings the curvature grid is meant to be made
// with (9, 4, "Define filter", 3 passes) when ticked, the initial ones (3, 3,
// pre-defined, 1 pass) when not. Reads o.chkCurvature; changes nothing else.
void chkCurvature_Click(SmoothOptions& o);

// The name suffix of a version-8 smoothing of these options (without ".grd"); empty
// when no pre-defined filter of that text exists.
std::string SmoothSuffix8(const SmoothOptions& o);

// The user matrix of "Define filter": n x n weights of 1, row by row, with w at the
// centre node (the form GridFilter's UserFilter takes). The curvature tool's average
// smoothing uses the same matrix.
std::vector<double> AverageFilterMatrix(int n, double w);

// The "Smooth" button.
BatchOutcome SmoothGrids(SurfFnsContext& ctx, const SmoothOptions& o);

} // namespace trelvik::surffns
