#include "conversion/tifftextconvert.h"

#include "conversion/writercalls.h"
#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/chunkwriter.h"
#include "formats/fastnumber.h"
#include "formats/tifftext.h"
#include "formats/vrml.h"
#include "formats/xyzdump.h"

#include <cmath>

namespace trelvik::conversion {

namespace {

bool empty(const std::string& s) { return s.empty(); }

} // namespace

void CheckTiffDataType(const TiffDataType& t) {
    if (!t.optInFOV && !t.optInVox)
        throw Refusal("Choose data type", "Choose data type (field of view or voxel size)");
    if (t.optInFOV && (empty(t.X_Field) || empty(t.Y_Field) || empty(t.Z_Field)))
        throw Refusal("Input fields of view", "Input all fields of view");
    if (!t.optInFOV && (empty(t.X_Input_Int) || empty(t.Y_Input_Int) || empty(t.Z_Input_Height)))
        throw Refusal("Input voxel sizes", "Input voxel sizes and z height");
}

TiffDataType TiffTextToGrid(surfer::Application& app, const std::string& version, const std::string& input,
                            const std::string& points, const std::string& grid, const TiffDataType& type) {
    CheckTiffDataType(type);
    RefuseOverwritingInput(input, points);
    RefuseOverwritingInput(input, grid);
    const formats::GreyMatrix m = formats::readTiffGreyMatrix(input);
    TiffDataType out = type;
    double xstep = 0, ystep = 0, zscale = 0;
    if (type.optInFOV) {
        xstep = text::Val(type.X_Field) / m.ncols;
        ystep = text::Val(type.Y_Field) / m.nrows;
        zscale = text::Val(type.Z_Field) / 255;
    } else {
        xstep = text::Val(type.X_Input_Int);
        ystep = text::Val(type.Y_Input_Int);
        zscale = text::Val(type.Z_Input_Height) / 255;
        out.X_Field = text::CStr(xstep * m.ncols);
        out.Y_Field = text::CStr(ystep * m.nrows);
    }
    if (!(xstep > 0) || !(ystep > 0))
        throw Refusal("Values", "The x and y steps must be greater than 0");
    if (m.ncols < 2 || m.nrows < 2)
        throw Error("The Tiff text file " + input + " needs two rows and two columns of values to make a grid.");

    // The points and the grid made from them go in place together, or neither does.
    StagedFiles staged;
    const std::string& workPoints = staged.work(points);
    staged.naming([&] {
        formats::ChunkWriter w(workPoints);
        for (int row = 1; row <= m.nrows; ++row) {
            const int line = m.nrows - row;  // 0-based image line: the last line is y = 0
            const double y = (row - 1) * ystep;
            for (int col = 1; col <= m.ncols; ++col) {
                char* p = w.room(3 * (formats::kGeneralNumberMax + 1) + 2);
                p = formats::writeGeneralNumber(p, (col - 1) * xstep);
                *p++ = ',';
                p = formats::writeGeneralNumber(p, y);
                *p++ = ',';
                p = formats::writeGeneralNumber(p, m.at(col - 1, line) * zscale);
                *p++ = '\r';
                *p++ = '\n';
                w.done(p);
            }
        }
        w.commit();
    });
    const double XMax = text::Val(out.X_Field) - xstep, YMax = text::Val(out.Y_Field) - ystep;
    const std::string& workGrid = staged.work(grid);
    staged.naming([&] { GridDataWindow(app, version, workPoints, m.ncols, m.nrows, XMax, YMax, workGrid); });
    staged.commit();
    return out;
}

void TiffTextToVrml(const std::string& input, const std::string& out) {
    RefuseOverwritingInput(input, out);
    formats::VrmlHeightList f;
    f.source = input;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    long long records = 0, ncols = 0;
    bool anyData = false;
    double zmin = 0;
    ScanXyzText(input, "lattice file", [&](const formats::XyzRecord& r) {
        if (records == 0) x0 = r.x, y0 = r.y;
        if (records == 1) x1 = r.x;
        if (ncols == 0 && records > 0 && r.y != y0) {
            ncols = records;
            y1 = r.y;
        }
        ++records;
        if (r.z <= 1e38 && (!anyData || r.z < zmin)) {
            zmin = r.z;
            anyData = true;
        }
        f.heights.push_back(r.z);
    });
    if (ncols == 0) throw Error("The lattice file " + input + " holds fewer than two rows (lines of one y).");
    if (ncols < 2) throw Error("The lattice file " + input + " holds a single column of points.");
    if (records % ncols != 0)
        throw Error("The lattice file " + input + " holds " + std::to_string(records) +
                    " points, not whole rows of " + std::to_string(ncols) + ".");
    if (ncols > 2147483647 || records / ncols > 2147483647)
        throw Error("The lattice file " + input + " is too large.");
    for (double& z : f.heights)
        if (z > 1e38) z = zmin;
    f.ncols = static_cast<int>(ncols);
    f.nrows = static_cast<int>(records / ncols);
    f.xSpacing = std::abs(x1 - x0);
    f.zSpacing = std::abs(y1 - y0);
    formats::writeVrmlHeightList(out, f);
}

} // namespace trelvik::conversion
