#include "planes/landfindslice.h"

#include "core/error.h"
#include "shell/settings.h"
#include "surfer/application.h"
#include "surfer/callargs.h"

namespace trelvik::planes {

std::shared_ptr<surfer::Application> AttachSurfer(AppState& app, bool startNew) {
    const std::string progId = GetSurferProgID(app);
    if (progId.empty()) throw Error("No Surfer version is ticked in the main window's Surfer version menu.");
    auto instance = surfer::connect(progId, startNew);
    if (app.SurferVersion == "SurferV8") instance->Visible = true;
    return instance;
}

void GridSliceCall(surfer::Application& surfer, const std::string& surferVersion, const std::string& grid,
                   const std::string& bln, const std::string& out) {
    if (surferVersion == "SurferV6")
        surfer.call("GridSlice", surfer::Positional{grid, bln, surfer::omitted, out});
    else
        surfer.call("GridSlice", surfer::Named{{"InGrid", grid}, {"BlankFile", bln}, {"OutDataFile", out}});
}

} // namespace trelvik::planes
