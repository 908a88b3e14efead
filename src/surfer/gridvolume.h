#pragma once
// Volumes and areas between an upper grid and a lower surface (the stand-in's GridVolume).
//
// Input: the upper grid; the lower surface as a grid on the same lattice or as a constant
//   level. Heights in the grid's z units, x and y in its units.
// Method: every cell whose four corners are non-blank in both surfaces is split into two
//   triangles along one diagonal and, again, along the other; each split counts half.
//   On a triangle the height difference d = upper - lower is linear, and the triangle is
//   cut exactly along d = 0, so volumes and areas are exact for planes, the same for a
//   grid and its mirror image, and equal to the trapezoidal rule for a cell that d = 0
//   does not cross. A cell with a blank corner counts whole as blanked planar area. A
//   triangle lying at d = 0 counts as positive.
// Output (VolumeResult), and the result array elements the callers read (index from 1):
//   1 total volume by the trapezoidal rule (cell area x mean of the four corner d)
//   2 net volume (positive - negative)      3 positive volume [cut], where upper > lower
//   4 negative volume [fill], as a positive number
//   5 positive planar area   6 negative planar area
//   7 positive surface area  8 negative surface area (area of the upper surface itself)
//   9 blanked planar area   10 total planar area (the whole extent)   11 unused (0)
//
// Report sheet (version 6, saved with FileSaveAs and read back with GetWksCell), rows and
// columns from 1; rows 4 to 9 describe the upper grid:
//   (4,4) columns  (4,7) rows  (5,2) x spacing  (6,2) y spacing  (7,1) least x
//   (7,3) greatest x  (8,1) least y  (8,3) greatest y  (9,1) least z  (9,3) greatest z
//   Lower surface from row 11: a level takes row 12; a grid takes rows 12 to 18 (its
//   file name and its own rows as 4 to 9), which moves every later row down by 6.
//   With a level:  (21,3) positive volume, (27,3) positive planar area, (34,3) positive
//   surface area.  With a grid: (27,3) positive volume, (33,3) positive planar area,
//   (40,3) positive surface area. The other results stand beside them (see the code).
//   Numbers are written in their shortest exact form, so a cell read back by the
//   leading-number rule gives the very value of the result array.
#include "core/grid.h"

#include <string>
#include <vector>

namespace surfer {

struct VolumeResult {
    double trapezoidal = 0, positiveVolume = 0, negativeVolume = 0;
    double positivePlanar = 0, negativePlanar = 0, blankedPlanar = 0, totalPlanar = 0;
    double positiveSurface = 0, negativeSurface = 0;
    double netVolume() const { return positiveVolume - negativeVolume; }
};

// lower == nullptr: the constant level lowerLevel. A lower grid on another lattice throws.
VolumeResult computeVolume(const trelvik::Grid& upper, const trelvik::Grid* lower, double lowerLevel);

// The result array, element k at index k (index 0 unused), 12 entries.
std::vector<double> volumeResultArray(const VolumeResult& r);

struct VolumeReportInput {
    std::string upperPath;
    const trelvik::Grid* upper = nullptr;
    std::string lowerPath;                  // empty with a level
    const trelvik::Grid* lower = nullptr;   // nullptr with a level
    double lowerLevel = 0;
};
std::vector<std::vector<std::string>> volumeReportSheet(const VolumeReportInput& in, const VolumeResult& r);

} // namespace surfer
