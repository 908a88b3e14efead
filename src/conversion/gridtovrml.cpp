#include "conversion/gridtovrml.h"

#include "conversion/writercalls.h"
#include "core/tempfiles.h"
#include "formats/dumplattice.h"

#include <cmath>

namespace trelvik::conversion {

std::optional<formats::VrmlGeometry> VrmlGeometryFor(const std::string& toText) {
    if (toText == "VRML file ElevationGrid (*.wrl)") return formats::VrmlGeometry::ElevationGrid;
    if (toText == "VRML file Polygons (*.wrl)") return formats::VrmlGeometry::Polygons;
    if (toText == "VRML file Polygons - surface (*.wrl)") return formats::VrmlGeometry::PolygonsSurface;
    return std::nullopt;
}

std::string VrmlOutputName(const std::string& stem, formats::VrmlGeometry geometry) {
    switch (geometry) {
    case formats::VrmlGeometry::ElevationGrid: return stem + ".wrl";
    case formats::VrmlGeometry::Polygons: return stem + "P.wrl";
    case formats::VrmlGeometry::PolygonsSurface: return stem + "PS.wrl";
    }
    return stem + ".wrl";
}

double WrlScaleFor(bool optOutum, bool optOutmm, double xint) {
    if (optOutum) return 0.01;
    if (optOutmm) return 10;
    return xint <= 1 ? 10 : 0.01;
}

double GridToVrml(surfer::Application& app, const std::string& version, const std::string& grid,
                  const std::string& out, formats::VrmlGeometry geometry, bool optOutum, bool optOutmm,
                  bool chkVantWRL) {
    RequireInputFile(grid, "grid");
    RefuseOverwritingInput(grid, out);
    const PrivateTempFile dump(".dat");
    MirrorGridToXyz(app, version, grid, dump.path());
    const formats::DumpLattice lattice = formats::readDumpLattice(dump.path());
    formats::VrmlGridFile file;
    file.geometry = geometry;
    file.source = grid;
    file.scale = WrlScaleFor(optOutum, optOutmm, std::abs(lattice.x[1] - lattice.x[0]));
    file.vantorel = chkVantWRL;
    formats::writeVrmlGridFile(out, lattice, file);
    return file.scale;
}

} // namespace trelvik::conversion
