#pragma once
// Grey-scale pictures of lattice grids, one pixel per cell.
//
// Current-grid view: cell (i, viewNy - j + 1) is drawn at pixel (i - 1, j - 1), so the
// lowest row is at the bottom. Share = (z - zmin) / (zmax - zmin) with the grid's own
// zmin, zmax (which the multi-tooth viewer may widen to all teeth); an empty cell
// (z = 9999) has height zmin and share 0 (black). Grey = 255 * share, rounded half
// to even, limited to 0..255. With the threshold on, a cell whose height (zmin for
// an empty cell) is at or below the threshold is pure green. A lattice whose x and y
// steps differ by 0.1 % or more is not drawn (the buffer stays blank). A height range
// of zero draws every cell at share 0.
//
// Grey grid (working and result views): the same scale with the grid's zmin and zmax,
// no threshold and no step test.
//
// Outputs: the buffer picture (cols + 4 by rows + 4, margin in the clear colour) and
// per-pixel tables indexed by picture position (column i, picture row j), which the
// mouse read-outs use.
#include "csvview/latticegrid.h"
#include "csvview/renderimage.h"

#include <vector>

namespace trelvik::csvview {

// Per-pixel values behind a drawn grid picture, indexed (i - 1) + (j - 1) * cols for
// picture column i and picture row j (row 1 at the top).
struct DrawnTables {
    int cols = 0, rows = 0;
    std::vector<double> height;  // DrawnHeight: z, or zmin for an empty cell
    std::vector<double> share;   // DrawnShare
    std::vector<double> grey;    // DrawnGrey, 255 * share, not rounded
    double greyAt(int i, int j) const { return grey[static_cast<std::size_t>(j - 1) * cols + (i - 1)]; }
    double heightAt(int i, int j) const { return height[static_cast<std::size_t>(j - 1) * cols + (i - 1)]; }
};

struct GreyPicture {
    RgbImage buffer;     // the drawing buffer picBoxU
    DrawnTables tables;
    bool cellsDrawn = false;  // false when the steps were not square
};

struct CurrentViewOptions {
    bool threshold = false;    // "Threshold <="
    double thresholdValue = 0; // txtThresholdB
};

// True when the lattice cells are square within 0.1 % (0.999 < xstep/ystep < 1.001).
bool squareCells(double xstep, double ystep);

// The current grid (its present size cols x rows) as the grid view draws it.
GreyPicture drawCurrentGrid(const CurrentGrid& grid, const CurrentViewOptions& opts);

// A grid in grey between zmin and zmax (working and result views).
GreyPicture drawGreyGrid(const LatticeGrid& grid, double zmin, double zmax);

} // namespace trelvik::csvview
