#pragma once
// A profile of a grid along a polyline (the stand-in's GridSlice).
//
// Input: a grid and the sections of a blanking-line file, each an open polyline (a
//   closed outline is followed round to its repeated first vertex).
// Output: records in order along each line: every vertex, exactly as given, and every
//   point where the line crosses a grid column line (x = a node's x) or row line (within
//   the grid's extents), a crossing through a node given once with the node's own x and
//   y. Each record: x, y, the bilinear height there (blank value 1.70141E+38 outside the
//   grid or next to a blank node), the distance along the line from its section's first
//   vertex, and the number of the line segment it lies on (from 1, counted on across
//   sections; a segment's end vertex belongs to the next segment, the last vertex to the
//   last segment).
// writeSliceFile writes one record per line, five values in the general number form
// joined by commas, lines ended CR LF; the file is replaced whole.
#include "core/grid.h"
#include "surfer/blnsections.h"

#include <string>
#include <vector>

namespace surfer {

struct SliceRecord {
    double x = 0, y = 0, z = 0, distance = 0;
    long segment = 0;
};

std::vector<SliceRecord> sliceGrid(const trelvik::Grid& g, const std::vector<BlnSection>& lines);
void writeSliceFile(const std::string& path, const std::vector<SliceRecord>& records);

} // namespace surfer
