#pragma once
// Scanner points and surfaces to Surfer grids: ConvertTXT_GRD (point text, in-grid
// text, Alicona text, ASCII STL) and ConvertSURF_GRD (Avizo surface), with the grid
// geometry they share.
//
// One entry: the points are read (an STL reduced to its distinct vertices, written as
// stem + "vt.txt"; an Avizo surface's vertices converted in units and orientation and
// written as stem + ".txt"), the entry re-pointed to that file; with "Auto calculate
// intervals" the x and y intervals are detected on the points as read; a mould scan is
// turned over once (x and z negated); undercut removal and the blanking outline run on
// those points (cleaning.h); the grid is made from the points that are gridded, by the
// mapping program's GridData, over the extent of those points ("Auto calculate
// intervals": of the points as read and turned, before cleaning and fill points), into
// stem + OutNameTag + ".grd", and with an outline
// blanked outside it into the grid's stem + "b.grd". An entry whose outline gave up
// keeps its unblanked grid, and a message says so. A mould scan that was neither
// cleaned nor outlined (and an Alicona text, for its header) is gridded from a copy in
// a private temporary folder, removed afterwards; nothing in the user's folder is
// used as a working name.
// Before the first entry, every file the list would write (TailOutputs, gridtail.h) that
// already exists is asked about once; Cancel writes nothing and keeps the list.
// After the list: the plot pass (plotconverted.h), the labels emptied, the list cleared.
// A bad entry (unreadable file, bad line, too few points, zero interval, a lattice the
// points cannot make) is reported with its file and line and the next entry goes on.
// Every check of an entry comes before any of its files is written, and its files are
// written under working names that the gridding and blanking read and write, put in
// place together only once both are done: a refused or failed entry leaves the files of
// an earlier run as they were.
#include "conversion/convstate.h"
#include "core/points.h"

#include <string>

namespace trelvik::conversion {

void ConvertTXT_GRD(ConvContext& ctx);
void ConvertSURF_GRD(ConvContext& ctx);

// Interval detection on a lattice written row by row ("YConst": consecutive points
// share y) or column by column ("XConst"), from the first points (order decided within
// the first 1001, steps taken from the first 100 or 1000 neighbours, never past the
// last point). Steps are rounded to 8 decimals; a step not found stays 1000000.
struct DetectedIntervals {
    std::string order;  // "YConst", "XConst" or "" when neither
    double x = 1000000, y = 1000000;
};
DetectedIntervals DetectIntervals(const PointList& pts);

struct PointBounds {
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0, zmin = 0, zmax = 0;
};
// Bounds from the first point on; z only where below 1E+37.
PointBounds BoundsOf(const PointList& pts);

// The lattice handed to GridData.
struct GridGeometry {
    double NumCols = 0;  // not rounded in the interval modes
    long NumRows = 0;
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    double xint = 0, yint = 0;
};
// Interval modes: limits snapped to whole intervals (halves to even), NumCols =
// |xmax - xmin| / xint + 1 unrounded, NumRows = CInt(|ymax - ymin| / yint + 1).
// An interval that is not above 0, or a lattice larger than GridData makes, throws
// trelvik::Refusal (the settings do not suit the points) naming `file`; so do the
// refusals of GeometryByMaxRows.
GridGeometry GeometryByIntervals(const PointBounds& b, double xint, double yint, const std::string& file);
// The "too many nodes" refusal of GeometryByIntervals alone, for the points as read: the
// cleaning bins derive from the same interval, and an interval far too small would
// otherwise be refused only after a long cleaning. Intervals not above 0 are left to
// the later checks.
void RequireIntervalsGriddable(const PointBounds& b, double xint, double yint, const std::string& file);
// "Max. no. rows/cols": the longer axis gets n nodes from its minimum at the interval
// Round(range / (n - 1), 3), the shorter the same interval and Round(range / interval)
// nodes. n below 2, an interval that rounds to 0, or a lattice larger than GridData
// makes, throws.
GridGeometry GeometryByMaxRows(const PointBounds& b, long long n, const std::string& file);

// The points of an entry of the given mode: an STL's distinct vertices ("STL"), else the
// points of its point text ("Alicona": the count from line 1).
PointList ReadEntryPoints(const std::string& convMode, const std::string& path);

// The points ConvertSURF_GRD grids for the Avizo surface `path` whose entry stem is
// `stem`: its vertices in the units and orientation the "SURF to GRD options" ask for
// (x10 from cm to mm, x and z negated to reverse z), or with "Use converted surf txt
// file" the point text stem + ".txt" an earlier run wrote. Nothing is written.
PointList ReadSurfacePoints(const ConvOptions& o, const std::string& path, const std::string& stem);

} // namespace trelvik::conversion
