#include "toothfeatures/curvstate.h"

#include "toothfeatures/stepservices.h"

#include "core/error.h"
#include "core/textform.h"
#include "surfer/application.h"
#include "surfer/callargs.h"
#include "surferfns/surffnsstate.h"

#include <cmath>

namespace trelvik::toothfeatures {

void AttachSurfer(CurvContext& ctx) { ctx.state.m_Surfer = attachSurfer(ctx.app); }

bool IsV6(const CurvContext& ctx) { return isV6(ctx.app); }
bool IsV8(const CurvContext& ctx) { return isV8(ctx.app); }

surfer::Application& AttachedSurfer(CurvContext& ctx) {
    if (!ctx.state.m_Surfer) AttachSurfer(ctx);
    return *ctx.state.m_Surfer;
}

bool CallCurv(CurvContext& ctx, const std::string& operation, const surfer::Positional& v6,
              const surfer::Named& v8) {
    if (!IsV6(ctx) && !IsV8(ctx)) return false;
    return callSurfer(ctx.app, AttachedSurfer(ctx), operation, v6, v8);
}

void Refuse(CurvContext& ctx, const std::string& title, const std::string& text) { refuse(ctx.prompt, title, text); }

bool AskDigitise(CurvContext& ctx, const std::string& instruction) { return askDigitise(ctx.prompt, instruction); }

StepOutcome RunStep(CurvContext& ctx, const std::function<StepOutcome()>& body) {
    StepOutcome out = StepOutcome::Failed;
    runStep(ctx.prompt, [&] {
        out = body();
        return true;
    });
    return out;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    return surffns::JoinFolder(folder, name);
}

std::string FolderOf(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::optional<double> BoxNumber(const std::string& typed) { return numberIn(typed); }

std::optional<long long> BoxWhole(const std::string& typed) {
    const auto v = BoxNumber(typed);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 9e15) return std::nullopt;
    return static_cast<long long>(*v);
}

} // namespace trelvik::toothfeatures
