#include "toothfeatures/curvstate.h"

#include "core/error.h"
#include "core/textform.h"
#include "shell/settings.h"
#include "surfer/application.h"
#include "surfer/callargs.h"
#include "surferfns/surffnsstate.h"

#include <charconv>
#include <cmath>

namespace trelvik::toothfeatures {

void AttachSurfer(CurvContext& ctx) {
    const std::string progId = GetSurferProgID(ctx.app);
    if (progId.empty())
        throw Error("No Surfer version is ticked in the main window's menu: choose Surfer 6 or Surfer 8.");
    ctx.state.m_Surfer = surfer::connect(progId, false);
    if (IsV8(ctx)) ctx.state.m_Surfer->Visible = true;
}

bool IsV6(const CurvContext& ctx) { return ctx.app.SurferVersion == "SurferV6"; }
bool IsV8(const CurvContext& ctx) { return ctx.app.SurferVersion == "SurferV8"; }

surfer::Application& AttachedSurfer(CurvContext& ctx) {
    if (!ctx.state.m_Surfer) AttachSurfer(ctx);
    return *ctx.state.m_Surfer;
}

bool CallCurv(CurvContext& ctx, const std::string& operation, const surfer::Positional& v6,
              const surfer::Named& v8) {
    if (!IsV6(ctx) && !IsV8(ctx)) return false;
    surfer::Application& app = AttachedSurfer(ctx);
    if (IsV6(ctx)) app.call(operation, v6);
    else app.call(operation, v8);
    return true;
}

void Refuse(CurvContext& ctx, const std::string& title, const std::string& text) { refuse(ctx.prompt, title, text); }

bool AskDigitise(CurvContext& ctx, const std::string& instruction) { return askDigitise(ctx.prompt, instruction); }

StepOutcome RunStep(CurvContext& ctx, const std::function<StepOutcome()>& body) {
    ctx.prompt.busy(true);
    StepOutcome out = StepOutcome::Failed;
    bool failed = false;
    std::string failure;
    try {
        out = body();
    } catch (const std::exception& e) {
        failed = true;
        failure = e.what();
    }
    ctx.prompt.busy(false);
    if (failed) ctx.prompt.message("Error", failure.empty() ? "The step failed." : failure);
    return out;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return surffns::JoinFolder(folder, name);
}

std::string FolderOf(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::optional<double> BoxNumber(const std::string& typed) {
    const std::string t = text::Trim(typed);
    if (t.empty()) return std::nullopt;
    const char* first = t.data();
    const char* last = t.data() + t.size();
    if (*first == '+') {  // from_chars takes no plus sign
        ++first;
        if (first == last || *first == '-') return std::nullopt;
    }
    double v = 0;
    const auto [end, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || end != last || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<long long> BoxWhole(const std::string& typed) {
    const auto v = BoxNumber(typed);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 9e15) return std::nullopt;
    return static_cast<long long>(*v);
}

} // namespace trelvik::toothfeatures
