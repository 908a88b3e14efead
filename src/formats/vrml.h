#pragma once
// VRML 2.0 elevation-grid files of the CSV viewer: the writer of the viewer's own
// variant (the shown grid as temp.wrl, a tooth of a multi-tooth file for the browser)
// and a reader of such files for the 3-D view; and polygon surfaces (IndexedFaceSet),
// read around their lists and rewritten with colours (at the end of this header).
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
// Also here, in vrml_grid.cpp: the conversion window's grid files
// (ElevationGrid with a border ring, or IndexedFaceSet of every node or of the data
// nodes only; see writeVrmlGridFile). Polygon files are read by readVrmlPolygonFile.
//
// vrmlSurfaceGrid: the surface as a map grid, as the VRML scene places it: grid
// x = VRML x, grid y = -VRML z (the scene seen from above, VRML's y up), heights and
// coordinates times the scale. For drawing with the 3-D surface renderer.
#include "core/grid.h"
#include "core/points.h"
#include "formats/dumplattice.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace trelvik::formats {

// Lattice: the conversion window's file of a CSV lattice: as Tooth, but line 2 names
// `source`, the viewpoint's last coordinate has no blank for its sign and the scale line
// ends " #um".
enum class VrmlVariant { Viewer, Tooth, Lattice };

struct VrmlElevationGridOut {
    VrmlVariant variant = VrmlVariant::Viewer;
    double px = 0, py = 0, pz = 0;   // viewpoint position
    std::string scale = "1";         // S, written as given
    std::string xSpacing = "1";      // XS
    std::string zSpacing = "1";      // ZS
    int xDimension = 0, zDimension = 0;
    std::vector<double> heights;     // zDimension * xDimension, file order
    std::string source;              // Lattice: the file named on line 2 (empty: `path`)
};

// Writes `file` to `path` (streamed into a temporary file that then replaces `path`;
// line 2 of a tooth file names `path`). Throws trelvik::Error naming the file when it cannot be written or
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

// --- Grid files of the conversion window ------------------------------------------------
//
// The grid as the mapping program dumps it after mirroring (rows in dump order), written
// as a VRML 2.0 scene, lines ended CR LF and streamed to the file (replaced only once
// complete). Head: "#VRML V2.0 utf8", "# VRML of <source>", NavigationInfo (EXAMINE,
// ANY); unless `vantorel`, a white Background and a DirectionalLight (1 0 0, 0.5); seven
// Viewpoints (Start, Occlusal, Front, Right, Back, Left, Bottom) placed around the
// scaled grid; a Transform of uniform `scale` around one Shape (blue material). VRML x =
// grid x, VRML y = height, VRML z = grid y.
//   ElevationGrid: (ncols + 2) x (nrows + 2) heights rounded to 4 places, a border ring
//     at the lowest height, blank nodes (z > 1E+38) at the lowest height; spacings
//     CStr(Round(spacing, 4)); heights unscaled.
//   Polygons: every node a point "x z y" (each Trim(Str(Round(v, 4)))), blank nodes at
//     the lowest height; two triangles a cell.
//   PolygonsSurface: only nodes with z < 1E+38 are points; triangles over cells with
//     three or four data corners, and over the diamond or corners around an interior
//     blank node (rules of the surface variant).
// The lowest height starts at 1000000 and takes every smaller z; the highest starts at
// -1000000 and takes every z below 1E+38. Scale 10 or 0.01 as the caller decides.
enum class VrmlGeometry { ElevationGrid, Polygons, PolygonsSurface };

struct VrmlGridFile {
    VrmlGeometry geometry = VrmlGeometry::ElevationGrid;
    std::string source;      // named on line 2
    double scale = 10;
    bool vantorel = false;   // leave out Background and DirectionalLight
};

// Writes the file; throws trelvik::Error naming the file when it cannot be written.
void writeVrmlGridFile(const std::string& path, const DumpLattice& grid, const VrmlGridFile& options);

// The Tiff-text lattice file: the same head without viewpoints (Background written one
// value a line), a Transform of scale 0.01, an ElevationGrid of ncols x nrows heights
// without border, spacings and heights in the print form unrounded, one height a line
// and an empty line after each row, the brackets closed on one line.
struct VrmlHeightList {
    std::string source;  // named on line 2
    int ncols = 0, nrows = 0;
    double xSpacing = 0, zSpacing = 0;
    std::vector<double> heights;  // nrows * ncols, file order
};
void writeVrmlHeightList(const std::string& path, const VrmlHeightList& file);


// --- Polygon surfaces (IndexedFaceSet) --------------------------------------------------
//
// Reader: splits a VRML polygon surface into the text around its two lists and the lists
// themselves, so a writer can rewrite the lists and keep every other line:
//   head    whole lines up to and including the first whose trimmed text begins "point",
//           or in which "point" opens the list further on ("coord Coordinate { point
//           ["); cut after that "[" when the list starts on the same line;
//   vertices  the point list: three numbers per vertex, separated by blanks, commas or
//           line ends, up to "]";
//   middle  whole lines after the point list up to and including the first that begins
//           "coordIndex" or opens that list further on (text after the point list's "]"
//           on its line counts as the first middle line);
//   faces   the coordIndex list: corner indices from 0, each face ended by -1 (a last
//           face without it is closed at "]");
//   tail    every line after the face list.
// Lines may end CR LF or LF; '#' starts a comment inside the lists. A file without a
// point list or a coordIndex list, a value that is not a number, or a corner outside
// the point list throws trelvik::Error naming the file (and line); empty lists are read
// as empty (a surface with every node blank).
struct VrmlPolygonFile {
    std::vector<std::string> head, middle, tail;
    std::vector<trelvik::PointXYZ> vertices;
    std::vector<long long> corners;     // every face's corners, face after face
    std::vector<std::size_t> faceEnd;   // face f holds corners[faceEnd[f-1] .. faceEnd[f])
};

VrmlPolygonFile readVrmlPolygonFile(const std::string& path);
VrmlPolygonFile parseVrmlPolygonFile(std::string_view text, const std::string& path);

// Writer of the colour-mapped variant: the head, middle and tail lines of a read file
// around new lists, lines ended CR LF:
//   head lines; the points, one a line "x y z," (general number form, no indentation);
//   "          ]"; middle lines; the triangles, one a line "a,b,c,-1"; "        ]";
//   with colours: "        color Color { color [ ", one "r g b," line per colour,
//   "          ]", "        }", "        colorPerVertex TRUE", "        colorIndex [ ",
//   one "i,j,k,-1" line per triangle (the colour of each corner), "        ]";
//   then the tail lines, each line whose trimmed text begins "solid" written as
//   "        solid FALSE" (the surface is seen from both sides).
// With colours, head and middle lines whose trimmed text begins "color" are left out,
// so that the new colour fields are the only ones. Replaces the file whole.
struct VrmlColourMappedOut {
    const VrmlPolygonFile* source = nullptr;  // head, middle and tail lines
    std::vector<trelvik::PointXYZ> points;
    std::vector<std::array<long long, 3>> triangles;
    bool withColours = false;
    std::vector<std::array<double, 3>> colours;    // red, green, blue from 0 to 1
    std::vector<std::array<int, 3>> colourIndex;   // per triangle, into colours
};

void writeVrmlColourMapped(const std::string& path, const VrmlColourMappedOut& file);

} // namespace trelvik::formats
