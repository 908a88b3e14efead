#include "shell/reportcapture.h"

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "surfer/application.h"

namespace trelvik {

std::string CaptureSurferReport(AppState& state, const std::string& folder, const std::string& tag,
                                StagedFiles* staged) {
    std::string path = folder;
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    path += "Report" + tag + ".txt";

    std::shared_ptr<surfer::Application> app;
    if (state.chkSurferPID && !text::Trim(state.txtSurferPID).empty()) {
        const double pid = text::Val(state.txtSurferPID);
        app = surfer::findInstance(static_cast<long>(pid));
        if (!app)
            throw Error("Cannot save the report as " + path + ": no Surfer runs with process identifier " +
                        text::CStr(pid));
    } else {
        const auto running = surfer::instances();
        for (auto it = running.rbegin(); it != running.rend() && !app; ++it)
            if (!(*it)->currentReport().empty()) app = *it;
        if (!app) throw Error("Cannot save the report as " + path + ": Surfer shows no report to save");
    }
    if (app->currentReport().empty())
        throw Error("Cannot save the report as " + path + ": Surfer (process " + std::to_string(app->processId()) +
                    ") shows no report to save");
    const std::string saved = staged ? staged->work(path) : path;
    writeFileAtomic(saved, staged ? staged->realNames(app->currentReport()) : app->currentReport());
    app->log("SaveReport(\"" + saved + "\")");
    app->setCurrentReport(std::string());
    return saved;
}

} // namespace trelvik
