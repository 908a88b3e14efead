#include "csvview/csvoutputvrml.h"

#include "core/error.h"
#include "core/textform.h"

namespace trelvik::csvview {

namespace {

// Heights in the file's order: rows 1..rows, each from the last column to the first.
std::vector<double> fileOrderHeights(const LatticeGrid& g, bool voidAsZmin) {
    std::vector<double> h;
    h.reserve(static_cast<std::size_t>(g.cols) * static_cast<std::size_t>(g.rows));
    for (int r = 1; r <= g.rows; ++r)
        for (int c = g.cols; c >= 1; --c) {
            const double z = g.z(c, r);
            h.push_back(voidAsZmin && isVoid(z) ? g.zmin : z);
        }
    return h;
}

} // namespace

formats::VrmlElevationGridOut tempWrlContent(const CurrentGrid& grid) {
    formats::VrmlElevationGridOut f;
    f.variant = formats::VrmlVariant::Viewer;
    double xstep = grid.xstep, ystep = grid.ystep;
    if (xstep == 0 && ystep == 0) xstep = ystep = 1;
    const double s = xstep <= 1 ? 10 : 0.01;
    f.scale = xstep <= 1 ? "10" : "0.01";
    f.xSpacing = text::CStr(text::Round(xstep, 4));
    f.zSpacing = text::CStr(text::Round(ystep, 4));
    const double xw = s * xstep * (grid.nx - 1), yw = s * ystep * (grid.ny - 1);
    f.px = xw / 2 + 8 * s;
    f.py = s * (grid.zmax + 8);
    f.pz = yw / 2 + 8 * s;
    f.xDimension = grid.cols;
    f.zDimension = grid.rows;
    f.heights = fileOrderHeights(grid, true);
    return f;
}

formats::VrmlElevationGridOut toothWrlContent(const LatticeGrid& tooth) {
    formats::VrmlElevationGridOut f;
    f.variant = formats::VrmlVariant::Tooth;
    f.scale = f.xSpacing = f.zSpacing = "1";
    f.px = (tooth.cols - 1) / 2.0;
    f.py = 2.5 * tooth.zmax;
    f.pz = (tooth.rows - 1) / 2.0;
    f.xDimension = tooth.cols;
    f.zDimension = tooth.rows;
    f.heights = fileOrderHeights(tooth, false);
    return f;
}

std::string WriteTempWrl(const CurrentGrid& grid) {
    if (grid.empty() || grid.folder.empty()) throw Error("No point file has been read: temp.wrl not written");
    const std::string path = grid.folder + "temp.wrl";
    formats::writeVrmlElevationGrid(path, tempWrlContent(grid));
    return path;
}

std::string WriteToothWrl(const ToothOutput& tooth, const std::string& outputFolder) {
    if (!toothPresent(tooth)) return {};
    requireOutputFolder(outputFolder);
    const std::string path = BuildOutputFilename(outputFolder, tooth.params) + ".wrl";
    formats::writeVrmlElevationGrid(path, toothWrlContent(*tooth.grid));
    return path;
}

} // namespace trelvik::csvview
