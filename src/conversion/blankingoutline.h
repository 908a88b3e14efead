#pragma once
// Automatic blanking outline: traces a closed outline around the x-y footprint of a
// point cloud, optionally pushes it outwards, and finds fill points for the empty
// areas, so that a grid made from the cloud can be blanked outside the tooth. Shared
// by the conversion window (before gridding) and the point-cloud window ("Create
// blanking file"); their differences are options. Each caller reads its own point
// file, turns mould scans over first (TurnMould, undercutremoval.h), and writes the
// files (writeBlankingOutline below for the outline).
//
// Lattice for a bin size b (Int = floor; extents from the points themselves):
//     xlo = b * Int(xmin / b) - 2b,   xhi = b * (Int(xmax / b) + 1) + 2b   (y alike)
//     ncols = Round((xhi - xlo) / b),  nrows likewise
// A point lies in column Int((x - xlo) / b) + 1, row Int((y - ylo) / b) + 1, so two
// rings of empty bins border the cloud on every side.
//
// Trace. The start bin is the first occupied bin row by row from low y, within a row
// from low x; the start point is its point nearest the corner (xlo, ylo) (the first in
// input order on a tie). The walk starts with the backward direction (0, -1). From the
// current vertex P (vertex i) every point Q of the 5 x 5 bins around P's bin is tried,
// bins column-offset -2..2 outer, row-offset -2..2 inner, points in input order:
//   - Q is passed over when it is P, an excluded point, or (i > 1) vertex i - 1;
//   - when i > 10 and Q is the start point, the outline closes at once, provided the
//     walk has once left the 5 x 5 bins around the start's bin (or the cloud lies wholly
//     within them, or the walk has taken more steps than they hold points); before that the start is a candidate like any other, and choosing
//     it (i > 10) closes the outline too. So bins large against the point spacing, which
//     keep the first eleven short steps beside the start, do not close a sliver there;
//   - otherwise Q must lie at a distance d with minStep <= d <= 1.5 b; its score is
//     the clockwise angle from the backward direction to Q (AngleBetweenVectors, and
//     360 minus it when CrossProductZ(Q - P, back) <= 0): 90 a left turn, 180 straight
//     on, 270 a right turn; the smallest score of at least 90 wins, the first on a tie.
// The chosen point becomes vertex i + 1 and the backward direction points from it back
// to P. The walk runs clockwise around the cloud (x right, y up) with the cloud on its
// right. A dead end (no candidate) excludes the current vertex's point and starts the
// walk again from the start point; more than maxDeadEnds exclusions fail with E004.
// More than maxVertices vertices fail with E003 (TooLong::Fail), or grow the bins by a
// third of the first bin size, rebuild the lattice (the exclusions are forgotten) and
// trace again (TooLong::GrowBins) - at most maxGrowths times, then fail (GrowthCap).
// With checkCoverage, a closed outline that holds less than half of the points (a
// small loop closed near the start) counts as failed too: PartOfCloud with
// TooLong::Fail; with TooLong::GrowBins smaller bins (three quarters of the last smaller
// size, at most maxGrowths times) are tried in turn with larger ones, since coarse bins
// cause such loops as often as fine ones. A smaller size that runs too long or into
// dead ends ends the shrinking. Stray points left outside a true outline do not count.
//
// Ring (offsetFactor f != 0). With s the step from vertex i to the next (from the last
// vertex to the start for the last) and t the backward direction at i, the corner
// vector is the half sum of their unit vectors; a straight run (corner vector exactly
// 0) borrows the perpendicular (dy, -dx) of the step of the nearest earlier vertex
// whose corner vector has both components non-zero (its own step's when there is
// none). The ring vertex is the outline vertex moved by f * b (final b) along the unit
// corner vector, turned round when CrossProductZ(s, t) <= 0, so the ring lies outside
// the outline at right turns, left turns and straight runs alike. f = 0: the ring is
// the traced points themselves.
//
// Fill points at zmin (the cloud's lowest z), on the final lattice:
//   Sparse - centres of the bins (c, r), r = 2, 5, 8, ... <= nrows - 1 (outer) and
//            c = 2, 5, 8, ... <= ncols - 1, whose 3 x 3 neighbourhood is empty;
//   EveryEmptyBin - centres of every empty bin, rows 1..nrows outer, columns inner.
//
// Progress: step(vertices, 0) every 10th vertex and once at the close.
#include "core/error.h"
#include "core/points.h"
#include "core/progress.h"
#include "formats/pointxy.h"

#include <cstdint>
#include <string>
#include <vector>

namespace trelvik::conversion {

enum class TooLong { Fail, GrowBins };
enum class FillRule { None, Sparse, EveryEmptyBin };

struct OutlineOptions {
    double binSize = 0.1;       // first bin size b0, > 0
    double offsetFactor = 0;    // f: ring distance f * b outside the outline
    TooLong onTooLong = TooLong::Fail;
    int maxGrowths = 20;        // GrowBins: bin growths allowed before failing
    std::size_t maxVertices = 100000;
    int maxDeadEnds = 1000;
    bool checkCoverage = false;
    FillRule fill = FillRule::None;
    double minStep = 0.01;      // candidates nearer than this are passed over
    // Fill points are refused (trelvik::Error) when the lattice has more bins than this.
    std::uint64_t maxFillBins = 100000000;
};

struct OutlineResult {
    std::vector<std::uint32_t> vertices;  // input indices (0-based) in walking order, start first
    formats::PointXYList ring;            // one per vertex, not closed; the points when f = 0
    double binSize = 0;                   // the final bin size
    int growths = 0;                      // how many other bin sizes were tried
    PointList fill;                       // fill points, in the order of the rule
    double zmin = 0;
};

// Why a trace gave up. what() is the message to show:
//   TooManyVertices "Error - more than 100,000 points in blanking file; increase bin size: E003"
//   TooManyDeadEnds "Error - more than 1,000 points excluded; remove stray points in point cloud: E004"
//   GrowthCap       no acceptable outline with any bin size tried.
//   PartOfCloud     (checkCoverage) the outline closed around part of the cloud only.
class OutlineError : public Error {
public:
    enum class Code { TooManyVertices, TooManyDeadEnds, GrowthCap, PartOfCloud };
    OutlineError(Code code, const std::string& message) : Error(message), code_(code) {}
    Code code() const { return code_; }

private:
    Code code_;
};

// Throws OutlineError when the trace gives up, trelvik::Error (naming `source` when
// given) for an empty cloud, a bin size that is not a number above 0, a coordinate
// that is not finite, or a lattice too large for its fill points.
OutlineResult traceBlankingOutline(const PointList& points, const OutlineOptions& options,
                                   Progress& progress = noProgress(), const std::string& source = "");

// Writes the ring as one closed blanking section (flag 0, blank outside): the header
// "n + 1,0", the n vertices "x,y", the first vertex again; comma layout, CR LF. An
// existing file is replaced only by the complete new one.
void writeBlankingOutline(const std::string& path, const formats::PointXYList& ring);

} // namespace trelvik::conversion
