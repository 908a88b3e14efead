#pragma once
// The mapping-program steps the plane, rotation, landmark and enamel-outline windows
// share: attaching to the ticked version, and slicing a grid along a blanking line.
//
//  AttachSurfer   the identifier of the ticked version (GetSurferProgID, which also
//                 sets SurferVersion); the running instance (started when there is
//                 none), or a new one with startNew; with version 8 made visible. No
//                 version ticked throws.
//  GridSliceCall  GridSlice of `grid` along the line file `bln` into the slice file
//                 `out`: version 6 by position (grid, bln, omitted, out), version 8 by
//                 name (InGrid, BlankFile, OutDataFile). Failures throw trelvik::Error.
#include "core/appstate.h"

#include <memory>
#include <string>

namespace surfer { class Application; }

namespace trelvik::planes {

std::shared_ptr<surfer::Application> AttachSurfer(AppState& app, bool startNew = false);

void GridSliceCall(surfer::Application& surfer, const std::string& surferVersion, const std::string& grid,
                   const std::string& bln, const std::string& out);

} // namespace trelvik::planes
