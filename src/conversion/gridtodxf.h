#pragma once
// Grid to DXF: one grid of the conversion window's list as a DXF face mesh
// (formats/dxf.h), output stem + ".dxf".
//
// The mapping program writes the grid as XYZ text to a private temporary file (so an
// earlier DAT output beside the grid is never replaced); the text is read as a lattice
// and written as two 3DFACE entities a cell, blank nodes at the lowest data height.
// The comment line names `name` (the grid's base name). Errors (missing grid, refused
// call, a grid of a single row or column) throw trelvik::Error; the temporary text
// never outlives the call.
#include <string>

namespace surfer {
class Application;
}

namespace trelvik::conversion {

void GridToDxf(surfer::Application& app, const std::string& version, const std::string& grid,
               const std::string& out, const std::string& name);

} // namespace trelvik::conversion
