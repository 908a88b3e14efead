#pragma once
// Avizo surface file (ASCII ".surf"), as far as its vertices go. Every line before
// the vertex-count line is passed over; that line begins (in its first column, case as
// written) with "Vertices", any one separator character ("Vertices:2") and the count N; then 3 x N numbers follow,
// x, y, z of vertices 1..N, separated by blanks, commas, tabs or line ends. What comes
// after the N-th vertex (patches, triangles) is not read. Lines may end in CR LF, LF
// or CR alike.
//
// Errors (trelvik::Error naming the file and line): no vertex-count line, a count that
// is not a whole number, fewer than N vertices, an item that is not a number, a
// binary surface file, a missing or unreadable file.
#include "core/points.h"

#include <string>

namespace trelvik::formats {

PointList readAvizoSurfaceVertices(const std::string& path);

} // namespace trelvik::formats
