#pragma once
// The data side of GridData: reading the scattered points of a data file and fixing the
// lattice they are gridded onto.
//
// readGridDataPoints
//   Input: a text data file, one record per line, values separated by commas, blanks,
//   tabs or semicolons; the x, y and z columns counted from 1; an exclusion filter.
//   Output: the usable points and counts of what was left out. Empty lines, and lines
//   without a number in each of the three columns (headers, a leading count line), are
//   skipped. Records with z >= 1E+38 (blank nodes of an XYZ dump) or a value that is not
//   finite are dropped whatever the filter says, then the filter is applied. Records with
//   exactly the same x and y are merged into one point holding their mean z. The points
//   come back sorted by x, then y. A missing or unreadable file throws trelvik::Error
//   naming the file.
//
// resolveLattice
//   Input: the limits, node counts and spacings a caller gave (each optional) and the
//   points. Limits not given are the data's extents. Per axis: a given count is rounded
//   to a whole number (halves to even); without a count, count = Round(range / spacing)
//   + 1, and a limit taken from the data is then moved so that the spacing holds exactly
//   (max = min + (count - 1) * spacing). Fewer than 2 nodes along an axis, an empty or
//   reversed range, or neither count nor spacing is an error.
#include "core/grid.h"
#include "core/points.h"

#include <cstddef>
#include <optional>
#include <string>

namespace surfer {

class ExclusionFilter;

struct GridDataPoints {
    trelvik::PointList points;   // merged, sorted by x then y
    long long records = 0;       // lines with numbers in all three columns
    long long blankDropped = 0;  // z >= 1E+38 or not finite
    long long excluded = 0;      // removed by the exclusion filter
    long long duplicates = 0;    // records merged into an earlier one with the same x, y
};

// The lines of a large file are read in pieces of minPiece bytes or more on several
// threads; the result does not depend on the pieces.
GridDataPoints readGridDataPoints(const std::string& path, int xCol, int yCol, int zCol,
                                  const ExclusionFilter& filter, std::size_t minPiece = std::size_t{1} << 20);

// The largest lattice GridData makes: at most this many nodes along an axis, and in all.
// Callers that write files before gridding check against these first.
inline constexpr double kMaxLatticeAxisNodes = 1e8;
inline constexpr double kMaxLatticeNodes = 4e8;

struct LatticeRequest {
    std::optional<double> xMin, xMax, yMin, yMax;
    std::optional<double> numCols, numRows;
    std::optional<double> xSpacing, ySpacing;
};

// An empty grid (all nodes blank) on the resolved lattice. dataFile names the file in
// messages.
trelvik::Grid resolveLattice(const LatticeRequest& request, const trelvik::PointList& points,
                             const std::string& dataFile);

} // namespace surfer
