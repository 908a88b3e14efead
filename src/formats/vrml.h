#pragma once
// VRML 2.0 elevation-grid files of the CSV viewer: the writer of the viewer's own
// variant (the shown grid as temp.wrl, a tooth of a multi-tooth file for the browser)
// and a reader of such files for the 3-D view.
//
// Written file, lines ended CR LF: "#VRML V2.0 utf8"; for a tooth "# VRML of <path>";
// NavigationInfo (EXAMINE, ANY), a white Background, a DirectionalLight, one Viewpoint
// "Start" at (px, py, pz) (each rounded to 3 places, print form) with the variant's
// orientation, and a Transform of uniform scale S around one Shape whose geometry is an
// ElevationGrid: xDimension, zDimension (print form: a blank before a number that is
// not negative and one after it), xSpacing, zSpacing (texts as given), creaseAngle 30
// and one height line per grid row, each height in print form. Heights are given in
// file order: zDimension rows of xDimension values.
//
// Reader: takes any VRML 2.0 text holding one ElevationGrid (commas count as blanks,
// '#' starts a comment); reads its dimensions, spacings and heights, the first
// Transform's scale (1 when none) and the first Viewpoint's position. A file without
// an ElevationGrid, with a height count that does not match the dimensions, or with a
// dimension or spacing that is not positive is an error naming the file.
//
// vrmlSurfaceGrid: the surface as a map grid, as the VRML scene places it: grid
// x = VRML x, grid y = -VRML z (the scene seen from above, VRML's y up), heights and
// coordinates times the scale. For drawing with the 3-D surface renderer.
#include "core/grid.h"

#include <string>
#include <string_view>
#include <vector>

namespace trelvik::formats {

enum class VrmlVariant { Viewer, Tooth };

struct VrmlElevationGridOut {
    VrmlVariant variant = VrmlVariant::Viewer;
    double px = 0, py = 0, pz = 0;   // viewpoint position
    std::string scale = "1";         // S, written as given
    std::string xSpacing = "1";      // XS
    std::string zSpacing = "1";      // ZS
    int xDimension = 0, zDimension = 0;
    std::vector<double> heights;     // zDimension * xDimension, file order
};

// Writes `file` to `path` (replaced through a temporary file; line 2 of a tooth file
// names `path`). Throws trelvik::Error naming the file when it cannot be written or
// when the height count does not match the dimensions.
void writeVrmlElevationGrid(const std::string& path, const VrmlElevationGridOut& file);
// The file's text.
std::string vrmlElevationGridText(const std::string& path, const VrmlElevationGridOut& file);

struct VrmlSurface {
    double scale = 1;
    bool hasViewpoint = false;
    double px = 0, py = 0, pz = 0;
    int xDimension = 0, zDimension = 0;
    double xSpacing = 0, zSpacing = 0;
    std::vector<double> heights;  // file order: height[j * xDimension + i]
};

VrmlSurface readVrmlSurface(const std::string& path);
VrmlSurface parseVrmlSurface(std::string_view text, const std::string& path);

trelvik::Grid vrmlSurfaceGrid(const VrmlSurface& surface);

} // namespace trelvik::formats
