#pragma once
// Contour bands and height diversity of a lattice grid.
//
// Banding: every non-empty cell gets a whole band number, empty cells keep 9999.
//   "xy int x" (factor F > 0, x step s): band = Int((Int(z/s) - Int(zmin/s)) / F);
//       band boundaries lie on multiples of s.
//   "z range /" (count K > 1): band = Round((z - zmin) / h), h = (zmax - zmin)/(K - 1),
//       halves to even, bands 0..K-1; a flat grid (zmax = zmin) is all band 0.
//   The band grid carries the cells' x and y.
// Height diversity: interior cells (no border row or column, no empty cell) in
// classes of height s from s*Int(zmin/s); runs of equal class along each row (empty
// cells skipped, not ending a run); D = 1 / sum(p^2), p = run size / counted cells.
#include "core/prompt.h"
#include "csvview/latticegrid.h"

namespace trelvik::csvview {

struct ContourOptions {
    bool scaleByXyInterval = true;  // "xy int x" selected; false: "z range /" (optContourScaleR)
    bool scaleByRange = false;      // "z range /" selected (neither selected: cleared grid)
    double factor = 2;              // txtContourScaleZ
    double bandCount = 10;          // txtContourScaleR
};

// Fills `bands` (resized to the working grid). Returns false when the factor or
// count is refused ("Value must be >0" / "Value must be >1"); `bands` is then the
// cleared grid. zmin, zmax: the current grid's height range.
bool ContourBands(const LatticeGrid& working, double xstep, double zmin, double zmax, const ContourOptions& opts,
                  LatticeGrid& bands, Prompt& prompt);

struct HeightDiversity {
    bool hasValue = false;  // false when no interior cell could be counted
    double index = 0;       // 1 / sum p^2
    long runs = 0;
    long counted = 0;       // T
    LatticeGrid processed;  // 9999 on the border and empty cells, 0 elsewhere
};

// zmin: the working grid's lowest height.
HeightDiversity ShannonHeight(const LatticeGrid& working, double xstep, double zmin);

} // namespace trelvik::csvview
