#pragma once
// Enamel thickness: for every point P of a surface cloud (for instance the outer enamel
// surface) the distance to the nearest point of a target cloud (for instance the
// enamel-dentine junction), d = sqrt((Py - Qy)^2 + (Px - Qx)^2 + (Pz - Qz)^2), exact for
// any distance (k-d trees over the target cloud, nearestforest.h).
//
// The search record (trace) describes a search over cubic bins of side b: a lattice
// over the joint bounding box of both clouds, X0 = b * Int(xmin / b) (Int = floor, y and
// z alike), P in bin i = Int((Px - X0) / b) + 1 (j, k alike). Shell s is the cube of
// bins i - s .. i + s (j, k alike) with faces xlo = X0 + b(i - 1 - s), xhi = X0 + b(i + s);
// fx = min(|Px - xlo|, |Px - xhi|) (fy, fz alike). The final shell is the smallest s at
// which a target point filed in the cube's bins lies within min(fx, fy, fz) of P, so no
// point outside can be nearer. The record gives, per surface point in bin order (k
// outermost, then j, then i, within a bin in file order): its number (from 1), x, y, z,
// fx, fy, fz at the final shell, the distance and the shell. b changes only the record.
//
// Inputs: two clouds of at least one point each, finite coordinates, b > 0.
// Output: distances in the surface cloud's order, the record in bin order.
// Progress: step(done, n) as the points are processed; Esc stops (Stopped). The searches
// run in parallel along a Z-order curve; results do not depend on the thread count.
#include "core/points.h"
#include "core/progress.h"
#include "pointclouds/ptcloudlist.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trelvik::formats {
class ChunkWriter;
}

namespace trelvik::ptcloud {

struct TraceRow {
    std::uint32_t point = 0;  // 0-based index into the surface cloud
    double fx = 0, fy = 0, fz = 0;
    long long shell = 0;
};

struct EnamelThickness {
    std::vector<double> distance;  // per surface point, file order
    std::vector<TraceRow> trace;   // bin order
};

// Throws trelvik::Error for an empty cloud or a bin size that is not above 0.
EnamelThickness NearestDistances(const PointList& surface, const PointList& target, double binSize,
                                 Progress& progress = noProgress());

// All pairs compared (O(n m)); for tests.
std::vector<double> NearestDistancesBruteForce(const PointList& surface, const PointList& target);

// The distance file: "x,y,z,d" per surface point in file order, CR LF. Both writers
// finish their file (complete on disk, not yet in place); the caller commits the pair.
void writeDistanceFile(formats::ChunkWriter& out, const PointList& surface, const std::vector<double>& distance);
// The search record: nine comma-separated values per line, CR LF.
void writeTraceFile(formats::ChunkWriter& out, const PointList& surface, const std::vector<double>& distance,
                    const std::vector<TraceRow>& trace);

// "Calculate" of the "Enamel thickness" frame.

struct EnamelOptions {
    std::string txtBinSizeE = "0.25";  // "Bin size"
};

// Needs exactly two listed files (surface first, then the cloud to measure to);
// otherwise a message says so and the list stays. Writes FileStem(1) & "_dist" &
// FileExt(1) (the distance file, also FileOutName(1)) and FileStem(1) & "_temp" &
// FileExt(1) (the search record), then clears the list. True when it wrote them. The
// two replace their old files together: when either cannot be written, both stay.
bool cmdEnamThickCalc(PtCloudContext& ctx, const EnamelOptions& options);

} // namespace trelvik::ptcloud
