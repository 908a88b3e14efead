#include "shell/gridgeometry.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "formats/xyzdump.h"
#include "shell/settings.h"
#include "surfer/application.h"

#include <cmath>
#include <filesystem>

namespace trelvik {

namespace {

struct Scan {
    long long lines = 0;
    long cols = 0;
    double x0 = 0, y0 = 0, xSpacing = 0, ySpacing = 0;
    double xMin = 0, xMax = 0, yMin = 0, yMax = 0;
    double zMin = 1000000, zMax = -1000000;
    bool ySpacingSet = false;

    void add(double x, double y, double z) {
        ++lines;
        if (lines == 1) {
            x0 = x;
            y0 = y;
            xMin = xMax = x;
            yMin = yMax = y;
        }
        if (lines == 2) xSpacing = std::fabs(x - x0);
        if (!ySpacingSet && y != y0) {
            ySpacing = std::fabs(text::Round(y - y0, 6));
            cols = static_cast<long>(lines - 1);
            ySpacingSet = true;
        }
        if (x < xMin) xMin = x;
        if (y < yMin) yMin = y;
        if (x > xMax) xMax = x;
        if (y > yMax) yMax = y;
        if (z < 1e37) {
            if (z < zMin) zMin = z;
            if (z > zMax) zMax = z;
        }
    }
};

// One pass over the node lines; no node array is held.
Scan scanXyz(const std::string& path, const std::string& grid) {
    if (!FileExists(path)) throw Error("The XYZ text of grid " + grid + " was not written (" + path + ")");
    Scan s;
    try {
        formats::scanXyzDump(path, [&s](const formats::XyzRecord& r) { s.add(r.x, r.y, r.z); });
    } catch (const formats::XyzLineError& e) {
        throw Error("The XYZ text of grid " + grid + " has no x, y, z on line " + std::to_string(e.line()));
    }
    return s;
}

// Attaches AppState::SurferApp as every geometry scan does.
void attach(AppState& app, const std::string& grid) {
    const std::string progId = GetSurferProgID(app);
    if (progId.empty()) throw Error("No mapping-program version is chosen; cannot read grid " + grid);
    app.SurferApp = surfer::connect(progId, false);
    if (app.SurferVersion == "SurferV8") app.SurferApp->Visible = true;
}

void applyScan(AppState& app, const std::string& grid, const std::string& xyz) {
    const Scan s = scanXyz(xyz, grid);
    if (s.lines == 0) throw Error("Grid " + grid + " is unusable: its XYZ text holds no node");
    if (!s.ySpacingSet)
        throw Error("Grid " + grid + " is unusable: it has a single row, so its columns cannot be counted");

    app.GridCols = s.cols;
    app.GridRows = static_cast<long>(text::CInt(static_cast<double>(s.lines) / static_cast<double>(s.cols)));
    app.GridXMin = s.xMin;
    app.GridXMax = s.xMax;
    app.GridYMin = s.yMin;
    app.GridYMax = s.yMax;
    app.GridZMin = s.zMin;
    app.GridZMax = s.zMax;
    app.GridXSpacing = s.xSpacing;
    app.GridYSpacing = s.ySpacing;
}

} // namespace

void ReadGridGeometry(AppState& app, const std::string& grid) {
    attach(app, grid);
    // The dump goes to a private folder: a name beside the grid may be the user's own
    // file, and a kill would leave it there.
    const PrivateTempFile dump(".dat");
    const std::string& temp = dump.path();
    if (app.SurferVersion == "SurferV6")
        app.SurferApp->call("GridConvert", surfer::Positional{grid, temp, 3});
    else
        app.SurferApp->call("GridConvert", surfer::Named{{"InGrid", grid}, {"OutGrid", temp}, {"OutFmt", 4}});
    applyScan(app, grid, temp);
}

void ReadGridGeometryOfDump(AppState& app, const std::string& grid, const std::string& xyzDump) {
    attach(app, grid);
    applyScan(app, grid, xyzDump);
}

} // namespace trelvik
