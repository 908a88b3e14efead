#pragma once
// The gridding methods of GridData. Each fills every node of a prepared lattice (a Grid
// whose cols, rows and limits are set, see griddatainput.h) from scattered points that
// hold no blank heights and no two points with the same x and y. Nodes are computed
// row-parallel; a node's value depends only on the points and the node's position, so
// the result is the same for any number of threads. Heights are in the data's units.
//
//  gridInverseDistance   inverse distance to the power 2 over the 16 nearest points;
//                        a node on a data point takes that point's z.
//  gridKriging           ordinary point kriging, linear variogram gamma(h) = h without
//                        nugget, over 16 points chosen from the 64 nearest: nearest
//                        first with at most 4 from each quadrant around the node, then,
//                        where the quadrants cannot supply 16, the nearest of the rest.
//                        Exact at data points.
//  gridNearestNeighbor   the z of the nearest point (of equally near ones, the one
//                        first in x, then y order).
//  gridTriangulation     linear interpolation on the Delaunay triangulation of the
//                        points; nodes outside the convex hull are blank. Needs three
//                        points not on one line.
//  gridPolynomialRegression
//                        the least-squares polynomial with the terms x^i y^j,
//                        i <= maxXOrder, j <= maxYOrder, i + j <= maxTotalOrder; order
//                        1 in all three is the plane z = C + B*y + A*x. Needs at least
//                        as many points as terms, not all on one line.
//
// Each throws trelvik::Error naming dataFile when the points cannot support the method.
#include "core/grid.h"
#include "core/points.h"
#include "core/progress.h"

#include <string>
#include <vector>

namespace surfer {

void gridInverseDistance(const trelvik::PointList& points, trelvik::Grid& grid, const std::string& dataFile);
void gridKriging(const trelvik::PointList& points, trelvik::Grid& grid, const std::string& dataFile);
void gridNearestNeighbor(const trelvik::PointList& points, trelvik::Grid& grid, const std::string& dataFile);
void gridTriangulation(const trelvik::PointList& points, trelvik::Grid& grid, const std::string& dataFile);

// One fitted term: coefficient * x^xPower * y^yPower, in the data's own coordinates.
struct PolynomialTerm {
    int xPower = 0, yPower = 0;
    double coefficient = 0;
};

struct PolynomialFit {
    std::vector<PolynomialTerm> terms;  // by total order, then by x power descending
    // The plane part of the fit: z = C + B*y + A*x (the constant, y and x terms).
    double C = 0, B = 0, A = 0;
    double residualSumOfSquares = 0;
};

PolynomialFit fitPolynomial(const trelvik::PointList& points, int maxXOrder, int maxYOrder, int maxTotalOrder,
                            const std::string& dataFile);
PolynomialFit gridPolynomialRegression(const trelvik::PointList& points, trelvik::Grid& grid, int maxXOrder,
                                       int maxYOrder, int maxTotalOrder, const std::string& dataFile);

} // namespace surfer
