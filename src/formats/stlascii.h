#pragma once
// ASCII STL surfaces, read for their vertices.
//
// readAsciiStlVertices: every line whose text, blanks and tabs trimmed, begins with
//   "vertex" (case as written) gives one vertex: the three numbers after the keyword.
//   All other lines (solid, facet, outer loop, endloop, endfacet, endsolid) are passed
//   over. Lines may end in CR LF, LF or CR. A shared vertex is listed once per facet
//   that uses it, in file order.
// distinctVertices: the vertices with exact repeats (equal x, y and z) removed, the
//   first occurrence kept, ordered by a 1000 x 1000 lattice of bins over the x-y extent:
//   bin columns from the lowest x outermost, then bin rows from the lowest y, and file
//   order within a bin (column Int(Round(x - xmin, 8) / width) + 1, capped at 1000;
//   rows alike). A zero x or y range puts every vertex in the first column or row. No
//   limit on vertices, repeats or bin occupancy. Repeats are found on several threads;
//   the result does not depend on how many.
//
// Errors (trelvik::Error naming the file, and the line for a bad vertex): a binary STL
// ("binary STL is not supported; save as ASCII STL"), a file without vertex lines, a
// vertex line without three numbers, a missing or unreadable file.
#include "core/points.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace trelvik::formats {

PointList readAsciiStlVertices(const std::string& path);
PointList parseAsciiStlVertices(std::string_view text, const std::string& path);
// readAsciiStlVertices reads a large file in pieces cut at line ends, each read and
// parsed on a thread of its own; parseAsciiStlVertices parses the text in memory the
// same way. The result does not depend on the pieces.
// The same, the text parsed in pieces of about minChunk bytes or more (cut at line ends)
// on several threads; the result does not depend on the pieces.
PointList parseAsciiStlVertices(std::string_view text, const std::string& path, std::size_t minChunk);

PointList distinctVertices(const PointList& vertices);

// True when the bytes are a binary STL: an 80-byte header and a facet count whose 50-byte
// records fill the rest exactly, or bytes no text file holds.
bool looksLikeBinaryStl(std::string_view bytes);
// The same judged on a file's first bytes (4096 or all) and its size.
bool looksLikeBinaryStl(std::string_view head, std::size_t fileSize);

} // namespace trelvik::formats
