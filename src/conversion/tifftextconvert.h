#pragma once
// The conversion window's two Tiff-text converters, one file each.
//
// TiffTextToGrid: a grey-value matrix (formats/tifftext.h) scaled to lengths and
//   heights and gridded by the mapping program.
//   Options, all checked before any file is opened, so a mistake never empties an
//   existing point file (each a Refusal with the window's title and text):
//     neither data type chosen   "Choose data type" / "Choose data type (field of view or voxel size)"
//     a field of view empty      "Input fields of view" / "Input all fields of view"
//     a voxel size empty         "Input voxel sizes" / "Input voxel sizes and z height"
//   Fields of view: x step = X field / ncols, y step = Y field / nrows; voxel sizes: the
//   steps as typed, and the fields of view become step * count (returned for the
//   window's boxes). z scale = Z / 255 either way. Steps must come out positive.
//   Point file (`points`): for row = 1..nrows, column = 1..ncols, "x,y,z" with
//   x = (column - 1) * x step, y = (row - 1) * y step, z = grey(column, image line
//   nrows + 1 - row) * z scale: the last image line is y = 0. Then GridData onto ncols x
//   nrows nodes from 0 to X field - x step and Y field - y step, into `grid`.
// TiffTextToVrml: x, y, z records of a lattice (rows of constant y, x fastest) written
//   as the Tiff-text VRML file (formats/vrml.h writeVrmlHeightList): spacings from the
//   first two records and the first two rows, blank heights (above 1E+38) at the lowest
//   data height (0 when there is none). Needs two rows and two columns and whole rows.
// Errors name the file (and line) and leave existing outputs intact.
#include <string>

namespace surfer {
class Application;
}

namespace trelvik::conversion {

struct TiffDataType {
    bool optInFOV = false, optInVox = true;
    std::string X_Field, Y_Field, Z_Field;
    std::string X_Input_Int, Y_Input_Int, Z_Input_Height;
};

// Throws Refusal for the option mistakes above.
void CheckTiffDataType(const TiffDataType& t);

// Returns the data type with the fields of view the window shows afterwards.
TiffDataType TiffTextToGrid(surfer::Application& app, const std::string& version, const std::string& input,
                            const std::string& points, const std::string& grid, const TiffDataType& type);

void TiffTextToVrml(const std::string& input, const std::string& out);

} // namespace trelvik::conversion
