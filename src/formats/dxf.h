#pragma once
// DXF face mesh of a grid: an ASCII DXF file whose only section, ENTITIES, holds two
// triangular 3DFACE entities per grid cell on layer "OBJECT".
//
// Input: the grid as the mapping program dumps it (rows in dump order, dumplattice.h),
// the comment name (the grid's base name). Blank nodes (1E+37 or more) are lowered to
// the lowest data height, so the surface has no holes; a grid without data is flat at 0.
// Output, lines ended CR LF, streamed (the file is replaced only once complete; rows of
// cells formatted on several threads, written in order):
//   "999", "DXF file <name>; created by Trelvik; QOX", "0", "SECTION", "2", "ENTITIES",
//   "0"; per cell, rows outer and columns inner, with A = (r, c), B = (r, c + 1),
//   C = (r + 1, c), D = (r + 1, c + 1): face C, A, D, D and face A, B, D, D, each as
//   "3DFACE", "8", "OBJECT", the four vertices under group codes 10/20/30 to 13/23/33,
//   then "0"; finally "ENDSEC", "0", "EOF". Coordinates are rounded to 3 places and
//   written in the print form (" 12.5 ", "-.25 ").
// Throws trelvik::Error naming the file when it cannot be written.
#include "formats/dumplattice.h"

#include <string>

namespace trelvik::formats {

// The height blank nodes take: the lowest data height, 0 when there is none.
double dxfFillHeight(const DumpLattice& grid);

void writeDxfFaces(const std::string& path, const DumpLattice& grid, const std::string& name);

} // namespace trelvik::formats
