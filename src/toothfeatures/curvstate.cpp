#include "toothfeatures/curvstate.h"

#include "toothfeatures/stepservices.h"

#include "core/error.h"
#include "core/grid.h"
#include "core/textform.h"
#include "formats/surfergrid.h"
#include "surfer/application.h"
#include "surfer/callargs.h"
#include "surferfns/surffnsstate.h"

#include <algorithm>
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

bool CurvatureInputUsable(CurvContext& ctx, const std::string& grid) {
    const Grid g = formats::readSurferGrid(grid);
    if (std::all_of(g.z.begin(), g.z.end(), [](double z) { return isBlank(z); })) {
        Refuse(ctx, "Values", "The grid " + grid + " holds no data: every node is blank.");
        return false;
    }
    if (g.cols < 3 || g.rows < 3) {
        Refuse(ctx, "Values", "The grid " + grid + " has " + std::to_string(g.cols) + " x " + std::to_string(g.rows) +
                                  " nodes: curvature needs a node on every side, so at least 3 x 3.");
        return false;
    }
    return true;
}

bool AskDigitise(CurvContext& ctx, const std::string& instruction) { return askDigitise(ctx.prompt, instruction); }

StepOutcome RunStep(CurvContext& ctx, const std::function<StepOutcome()>& body) {
    StepOutcome out = StepOutcome::Failed;
    runStep(ctx.prompt, [&] {
        try {
            out = body();
        } catch (const Stopped& stop) {
            Refuse(ctx, "", stop.what());
            out = StepOutcome::Stopped;
        }
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
