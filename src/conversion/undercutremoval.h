#pragma once
// Undercut removal: drops the points of a cloud that lie too far below the highest
// point of their x-y neighbourhood, so that the rest can be gridded as one height per
// x, y. Shared by the conversion window (before gridding) and the point-cloud window
// ("Remove undercuts"); each caller reads its own files and builds its own names.
//
// Rule. The neighbourhood of a point P is the open square
//     P.x - r < Q.x < P.x + r  and  P.y - r < Q.y < P.y + r      (r = radius > 0)
// over the whole cloud, P itself included; M is the largest z in it. P is rejected
//     threshold rule:   P.z < M - t
//     proportion rule:  P.z < p * M
// Every decision is taken against the whole cloud (a rejected point still counts as a
// neighbour of the others), so the result does not depend on the order of the visit.
// A point alone in its square keeps M = its own z: the threshold rule with t >= 0
// keeps it; the proportion rule with p < 1 rejects it when its z is negative.
//
// Bins. The cloud is binned on square bins of side b (binSize > 0) from the origin
//     xlo = Int(xmin / b) * b,  ylo = Int(ymin / b) * b          (Int = floor)
// a point going to column Int(Round(x - xlo, 8) / b) + 1 and row likewise (Round to
// 8 decimals, halves to even), extents taken from the points themselves. A point's
// search takes every bin its square reaches, so the whole square is searched whatever
// r and b are; b sets only the speed and the output order.
//
// Output order. Both lists come in bin order: rows of bins from the lowest y up,
// within a row columns from the lowest x, within a bin in input order. A cloud in
// which nothing is rejected comes back reordered, with the same values.
//
// Progress: step(m, n) after every 100th point judged and after the last; n is the
// number of points. The computation does not stop early.
//
// Threads: the points are judged on several threads a round at a time; the lists, their
// order and the progress reports are those of one thread whatever the thread count.
// Under either rule with t any value or p >= 0, a bin none of whose points could reject
// P is passed over unread, as it cannot change the decision.
//
// Mould scans: the callers turn the cloud over first (TurnMould) when they are asked
// to; this routine works on the coordinates as given.
#include "core/points.h"
#include "core/progress.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trelvik::conversion {

enum class UndercutRule { Threshold, Proportion };

struct UndercutOptions {
    double radius = 0.02;   // r: half-width of the search square, > 0
    double binSize = 0.03;  // b: side of a bin, > 0
    UndercutRule rule = UndercutRule::Threshold;
    double threshold = 0.05;  // t of the threshold rule (any value; t < 0 rejects every point)
    double proportion = 0.9;  // p of the proportion rule
};

// "Use default settings": bins as large as the radius and the threshold rule with
// t = Round(4 * radius, 3) (halves to even), whatever rule was chosen before.
UndercutOptions DefaultUndercutOptions(double radius);

struct UndercutResult {
    PointList kept;      // points not rejected, in bin order
    PointList rejected;  // points rejected, in bin order
    // Input index (0-based) of every point in bin order, and whether it was rejected:
    // kept and rejected are these points split by the flag.
    std::vector<std::uint32_t> order;
    std::vector<bool> rejectedFlag;  // indexed like order
};

// Throws trelvik::Error (naming `source` when given) for an empty cloud, a radius or
// bin size that is not a number greater than 0, a coordinate that is not a finite
// number, or a cloud too wide for its bins (a stray point very far from the rest
// with tiny bins).
UndercutResult removeUndercuts(const PointList& points, const UndercutOptions& options,
                               Progress& progress = noProgress(), const std::string& source = "");

// The brute-force rule over all pairs (O(n^2)), in input order: true where a point is
// rejected. For tests and small clouds.
std::vector<bool> undercutRejectsBruteForce(const PointList& points, const UndercutOptions& options);

// A mould scan turned into the surface cast from it: a half turn about the y axis,
// x := -x and z := -z, y unchanged.
void TurnMould(PointList& points);

} // namespace trelvik::conversion
