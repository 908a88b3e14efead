#include "surfer/griddata.h"

#include "core/error.h"
#include "surfer/griddataexclusion.h"

#include <algorithm>

namespace surfer {

GridAlgorithm gridAlgorithmFromCode(long code) {
    switch (code) {
    case 1: return GridAlgorithm::InverseDistance;
    case 2: return GridAlgorithm::Kriging;
    case 6: return GridAlgorithm::NearestNeighbor;
    case 7: return GridAlgorithm::PolynomialRegression;
    case 9: return GridAlgorithm::Triangulation;
    default: break;
    }
    throw trelvik::Error("GridData: gridding method " + std::to_string(code) + " is not available");
}

GridAlgorithm gridAlgorithmFromV6Code(long code) {
    switch (code) {
    case 1: return GridAlgorithm::Kriging;
    case 3: return GridAlgorithm::PolynomialRegression;
    case 6: return GridAlgorithm::Triangulation;
    default: break;
    }
    throw trelvik::Error("GridData: gridding method " + std::to_string(code) + " is not available");
}

const char* gridAlgorithmName(GridAlgorithm a) {
    switch (a) {
    case GridAlgorithm::InverseDistance: return "Inverse Distance to a Power";
    case GridAlgorithm::Kriging: return "Kriging";
    case GridAlgorithm::NearestNeighbor: return "Nearest Neighbor";
    case GridAlgorithm::PolynomialRegression: return "Polynomial Regression";
    case GridAlgorithm::Triangulation: return "Triangulation with Linear Interpolation";
    }
    return "";
}

GridDataResult gridData(const GridDataRequest& request) {
    const ExclusionFilter filter(request.exclusionFilter);
    GridDataPoints data = readGridDataPoints(request.dataFile, request.xCol, request.yCol, request.zCol, filter);
    if (data.points.empty())
        throw trelvik::Error("GridData: data file " + request.dataFile + " holds no usable x, y, z record");

    GridDataResult out;
    out.algorithm = request.algorithm;
    out.records = data.records;
    out.blankDropped = data.blankDropped;
    out.excluded = data.excluded;
    out.duplicates = data.duplicates;
    out.pointsUsed = static_cast<long long>(data.points.size());
    const auto& pts = data.points;
    out.x = {pts.front().x, pts.back().x};  // sorted by x
    out.y = {pts.front().y, pts.front().y};
    out.z = {pts.front().z, pts.front().z};
    for (const auto& p : pts) {
        out.y.min = std::min(out.y.min, p.y);
        out.y.max = std::max(out.y.max, p.y);
        out.z.min = std::min(out.z.min, p.z);
        out.z.max = std::max(out.z.max, p.z);
    }

    out.grid = resolveLattice(request.lattice, pts, request.dataFile);
    switch (request.algorithm) {
    case GridAlgorithm::InverseDistance: gridInverseDistance(pts, out.grid, request.dataFile); break;
    case GridAlgorithm::Kriging: gridKriging(pts, out.grid, request.dataFile); break;
    case GridAlgorithm::NearestNeighbor: gridNearestNeighbor(pts, out.grid, request.dataFile); break;
    case GridAlgorithm::Triangulation: gridTriangulation(pts, out.grid, request.dataFile); break;
    case GridAlgorithm::PolynomialRegression:
        out.regression = gridPolynomialRegression(pts, out.grid, request.regrMaxXOrder, request.regrMaxYOrder,
                                                  request.regrMaxTotalOrder, request.dataFile);
        break;
    }
    return out;
}

} // namespace surfer
