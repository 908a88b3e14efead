#pragma once
// GridData: scattered x, y, z records of a data file gridded onto a regular lattice.
//
// Input (GridDataRequest): the data file; the x, y and z columns counted from 1; an
// exclusion filter text; optional limits, node counts and spacings (lattice rules in
// griddatainput.h); the method by its version-8 code (1 inverse distance, 2 kriging,
// 6 nearest neighbour, 7 polynomial regression, 9 triangulation; see
// griddataalgorithms.h); the regression orders.
// Output (GridDataResult): the grid (blank nodes kBlank: only triangulation leaves
// nodes blank, outside the data's convex hull), what was read and left out, the data's
// extents and, for regression, the fitted polynomial. Heights keep the data's units.
// Records with z >= 1E+38 never take part. A file with no usable record, or fewer than
// the method needs, throws trelvik::Error naming the file.
#include "core/grid.h"
#include "core/points.h"
#include "surfer/griddataalgorithms.h"
#include "surfer/griddatainput.h"

#include <optional>
#include <string>

namespace surfer {

enum class GridAlgorithm {
    InverseDistance = 1,
    Kriging = 2,
    NearestNeighbor = 6,
    PolynomialRegression = 7,
    Triangulation = 9,
};

// The method for a version-8 code; throws for codes this stand-in does not offer.
GridAlgorithm gridAlgorithmFromCode(long code);
// The method for a version-6 code (position 13): 1 kriging, 3 regression, 6 triangulation.
GridAlgorithm gridAlgorithmFromV6Code(long code);
// "Kriging", "Triangulation with Linear Interpolation", ...
const char* gridAlgorithmName(GridAlgorithm a);

struct GridDataRequest {
    std::string dataFile;
    int xCol = 1, yCol = 2, zCol = 3;
    std::string exclusionFilter;
    LatticeRequest lattice;
    GridAlgorithm algorithm = GridAlgorithm::Kriging;
    int regrMaxXOrder = 1, regrMaxYOrder = 1, regrMaxTotalOrder = 1;
};

struct Extents {
    double min = 0, max = 0;
};

struct GridDataResult {
    trelvik::Grid grid;
    GridAlgorithm algorithm = GridAlgorithm::Kriging;
    long long records = 0, blankDropped = 0, excluded = 0, duplicates = 0;
    long long pointsUsed = 0;
    Extents x, y, z;  // of the points used
    std::optional<PolynomialFit> regression;
};

GridDataResult gridData(const GridDataRequest& request);

} // namespace surfer
