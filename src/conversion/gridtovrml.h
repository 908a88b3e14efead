#pragma once
// Grid to VRML: one grid of the conversion window's list as a VRML 2.0 scene for
// outside viewers (formats/vrml.h, writeVrmlGridFile).
//
// The mapping program writes the grid mirrored in y as XYZ text to a private temporary
// file (never a name in the user's folder); that text is read as a lattice, the scale
// chosen from the unit options and the grid's x spacing, and the scene written:
//   "VRML file ElevationGrid (*.wrl)"      stem + ".wrl"
//   "VRML file Polygons (*.wrl)"           stem + "P.wrl"
//   "VRML file Polygons - surface (*.wrl)" stem + "PS.wrl"
// Scale: "µm" 0.01, "mm" 10, "Auto" 10 when the x spacing is at most 1, else 0.01.
// Returns the scale used (the window keeps it as WrlScale). Errors (missing grid,
// refused call, a grid of fewer than two rows or columns, an output that would replace
// the grid) throw trelvik::Error; the temporary dump never outlives the call.
#include "formats/vrml.h"

#include <optional>
#include <string>

namespace surfer {
class Application;
}

namespace trelvik::conversion {

// The geometry a To text selects; nullopt for another text.
std::optional<formats::VrmlGeometry> VrmlGeometryFor(const std::string& toText);
std::string VrmlOutputName(const std::string& stem, formats::VrmlGeometry geometry);
double WrlScaleFor(bool optOutum, bool optOutmm, double xint);

double GridToVrml(surfer::Application& app, const std::string& version, const std::string& grid,
                  const std::string& out, formats::VrmlGeometry geometry, bool optOutum, bool optOutmm,
                  bool chkVantWRL);

} // namespace trelvik::conversion
