#include "shell/startsurfer.h"

#include "core/error.h"
#include "shell/settings.h"
#include "surfer/application.h"

namespace trelvik {

long StartSurfer(AppState& state) {
    const std::string progId = GetSurferProgID(state);
    if (progId.empty()) throw Error("No Surfer version is ticked in File > Surfer version.");
    auto app = surfer::connect(progId, true);
    if (state.SurferVersion == "SurferV8") {
        app->Visible = true;
        app->Documents.Add(1);
    }
    return app->processId();
}

} // namespace trelvik
