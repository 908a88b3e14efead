#include "conversion/gridtodxf.h"

#include "conversion/writercalls.h"
#include "core/tempfiles.h"
#include "formats/dumplattice.h"
#include "formats/dxf.h"

namespace trelvik::conversion {

void GridToDxf(surfer::Application& app, const std::string& version, const std::string& grid,
               const std::string& out, const std::string& name) {
    RequireInputFile(grid, "grid");
    RefuseOverwritingInput(grid, out);
    const PrivateTempFile dump(".dat");
    GridToXyzText(app, version, grid, dump.path());
    formats::writeDxfFaces(out, formats::readDumpLattice(dump.path()), name);
}

} // namespace trelvik::conversion
