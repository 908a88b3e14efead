#include "toothfeatures/curvstate.h"

#include "toothfeatures/stepservices.h"

#include "core/error.h"
#include "core/grid.h"
#include "core/textform.h"
#include "formats/surfergrid.h"
#include "core/digitiseinputs.h"
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

bool CurvatureInputUsable(CurvContext& ctx, const std::string& grid) {
    const Grid g = formats::readSurferGrid(grid);
    if (!g.hasHeight()) {
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

namespace {

// What to do about a missing curvature grid. One taken by name on tab 1b is the chosen
// grid's name followed by the text of the box; the all-angles step names it from the
// grid it smoothed, so choosing the smoothed grid there repeats the smoothing tag.
std::string curvatureRemedy(const CurvState& s, const CurvControls& c) {
    const std::string made = "\"Curvature\" on tab 1a makes a curvature grid from the smoothed grid.";
    if (s.CurvatureGrid != s.TopoStem + c.txtInputCurvText + ".grd")
        return "make it with \"Curvature\" on tab 1a, or choose a curvature grid made earlier on tab 1b and press "
               "\"Input curvature grid and plot\".";
    const std::string text = c.txtInputCurvText;
    const std::size_t curv = text.rfind("_curv");
    const std::string tag = curv == std::string::npos ? std::string() : text.substr(0, curv);  // "_fwa9,4x3"
    const std::string& base = s.GridBaseName;
    if (!tag.empty() && base.size() > tag.size() && base.compare(base.size() - tag.size(), tag.size(), tag) == 0) {
        const std::string source = base.substr(0, base.size() - tag.size());
        return "on tab 1b choose " + source + ".grd, the grid that was smoothed, not the smoothed " + base +
               ".grd, and press \"Input smoothed topo grid\": the curvature grid is named from the chosen grid "
               "followed by \"" + text + "\" (or keep " + base + ".grd and change that text to \"" +
               text.substr(tag.size()) + "\"). " + made;
    }
    return "on tab 1b choose the grid whose name followed by \"" + text +
           "\" names the curvature grid (tooth.grd for tooth" + text + ".grd) and press \"Input smoothed topo "
           "grid\". " + made;
}

} // namespace

bool DigitiseGridsPresent(CurvContext& ctx, const CurvControls& c, bool topo, bool curvature) {
    const CurvState& s = ctx.state;
    const DigitiseInput topoGrid{s.TopoGrid, "topographic grid",
                                 "choose the grid on tab 1a and press \"Smoothing\", or choose a smoothed "
                                 "grid made earlier on tab 1b and press \"Input smoothed topo grid\"."};
    const DigitiseInput curvGrid{s.CurvatureGrid, "curvature grid", curvatureRemedy(s, c)};
    if (topo && !inputsPresent(ctx.prompt, {topoGrid})) return false;
    return !curvature || inputsPresent(ctx.prompt, {curvGrid});
}

bool AskDigitise(CurvContext& ctx, const std::string& instruction, const std::string& readPath) {
    return askDigitise(ctx.prompt, instruction, readPath, FolderOf(ctx.state.TopoStem));
}

void ShowCurrentGrid(const CurvState& s, CurvControls& c) {
    c.lblCurrentGridS = s.GridBaseName;
    c.lblCurrentGridA = s.GridBaseName;
}

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
