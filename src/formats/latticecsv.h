#pragma once
// LatticeCsvFile: the single-tooth point file of the CSV viewer.
// One point a line, "x,y,z" (commas; blanks are accepted too), CR LF, no header;
// points on one regular x, y lattice, in any order. Heights above 1E+36 in
// magnitude are blank nodes; a height of exactly 9999 marks an empty cell as the
// viewer's own "Output CSV" writes it.
//
// Also here, because they are properties of the file's points rather than of a grid:
//   findLatticeSteps  - the x and y steps: the smallest non-zero difference between
//                       consecutive points (tested at 6 decimals, kept at 10).
//   calcLatticeExtent - extents with blank and empty-marker handling and the
//                       "Original model file" negation and re-zeroing.
#include "core/points.h"

#include <string>

namespace trelvik::formats {

inline constexpr double kLatticeVoid = 9999.0;
inline constexpr double kLatticeBlankAbove = 1e36;
// Step value meaning "not found".
inline constexpr double kNoStep = 10000.0;

PointList readLatticeCsv(const std::string& path);
void writeLatticeCsv(const std::string& path, const PointList& points);

struct LatticeSteps {
    double xstep = kNoStep, ystep = kNoStep;
    bool xFound() const { return xstep != kNoStep; }
    bool yFound() const { return ystep != kNoStep; }
};
LatticeSteps findLatticeSteps(const PointList& points);

// The 1-based lattice index of a coordinate: Round(offset / step) + 1, halves to
// even, so 0.3 / 0.1 is index 4. Offsets far off the grid give indices out of range.
long latticeIndex(double offset, double step);

struct LatticeExtent {
    double xmin = 0, ymin = 0, zmin = 0;
    double xmax = 0, ymax = 0, zmax = 0;
    double zminBeforeRezero = 0;
    long heights = 0;  // points that hold a height (not the empty marker)
};

// Steps, in this order: blanks (|z| > 1E+36) are recognised; with originalModel the
// other heights are negated (empty markers stay 9999); x, y extents over the points
// that are not empty markers; zmin over those heights that are neither blank nor in
// (-0.0001, 0); blanks take zmin; zmax over all heights; with originalModel every
// height is lowered by zmin, zminBeforeRezero keeps it and zmin becomes 0.
// Throws trelvik::Error (naming `path`) when no point holds a height.
LatticeExtent calcLatticeExtent(PointList& points, bool originalModel, const std::string& path);

} // namespace trelvik::formats
