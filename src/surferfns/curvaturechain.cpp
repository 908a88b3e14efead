#include "surferfns/curvaturechain.h"

#include "core/error.h"
#include "core/fileroutines.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "surfer/callargs.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace trelvik::surffns {

namespace fs = std::filesystem;
using surfer::Named;
using surfer::omitted;
using surfer::Positional;

namespace {

void removeUsed(const std::string& path) {
    if (const int err = removeFile(path))
        throw Error("Cannot delete the intermediate curvature grid " + path + ": " + std::strerror(err));
}

void gridMath(const CurvatureCall& call, const char* function, const std::string& a, const std::string* b,
              const std::string& c) {
    if (b)
        call("GridMath", Positional{a, *b, c, omitted, function},
             Named{{"Function", function}, {"InGridA", a}, {"InGridB", *b}, {"OutGridC", c}});
    else
        call("GridMath", Positional{a, omitted, c, omitted, function},
             Named{{"Function", function}, {"InGridA", a}, {"OutGridC", c}});
}

// Whole angles go to the mapping program as whole numbers, as they are typed.
surfer::Value angleValue(double degrees) {
    if (degrees == std::floor(degrees) && std::fabs(degrees) < 1e9) return static_cast<long>(degrees);
    return degrees;
}

} // namespace

std::string CurvatureGridName(const std::string& smoothedGrid) {
    return text::BaseName(smoothedGrid) + "_curv" + std::to_string(kCurvatureStep) + ".grd";
}

std::string MakeCurvatureGrid(SurfFnsContext& ctx, const std::string& smoothedGrid, const std::string& into) {
    const std::string result = into.empty() ? CurvatureGridName(smoothedGrid) : into;
    const CurvatureCall call = [&ctx](const std::string& op, const Positional& v6, const Named& v8) {
        CallSurfer(ctx, op, v6, v8);
    };
    MakeAllAnglesCurvature(call, smoothedGrid, kCurvatureStep, result);
    return result;
}

double CurvatureStepCount(double stepDegrees) { return std::floor(180 / stepDegrees + 1e-9); }

void DirectionalCurvature(const CurvatureCall& call, const std::string& grid, double angleDegrees,
                          const std::string& out) {
    const surfer::Value angle = angleValue(angleDegrees);
    call("GridCalculus", Positional{grid, 0, 2, angle, omitted, omitted, omitted, omitted, out},
         Named{{"InGrid", grid}, {"Operation", 3}, {"Param1", angle}, {"OutGrid", out}});
}

void MakeAllAnglesCurvature(const CurvatureCall& call, const std::string& grid, double stepDegrees,
                            const std::string& result, Progress& progress) {
    if (!(stepDegrees > 0 && stepDegrees <= 180))
        throw Error("The angle step of the curvature grid must lie above 0 and at most 180 degrees (it is " +
                    text::CStr(stepDegrees) + ")");
    const double steps = CurvatureStepCount(stepDegrees);
    if (steps + 1 > static_cast<double>(kMaxCurvatureDirections))
        throw Error("The angle step of the curvature grid (" + text::CStr(stepDegrees) +
                    " degrees) gives too many directions");
    const int last = static_cast<int>(steps);  // directions 0 .. last
    PrivateFolder work("curv");
    auto direction = [&](int k) { return work.file("d" + std::to_string(k) + ".grd"); };
    auto fold = [&](int j) { return work.file("m" + std::to_string(j) + ".grd"); };

    // One unit per call: the directions, the folds, the copy.
    const long long units = 2LL * last + 2;
    long long done = 0;
    auto unitDone = [&] {
        progress.step(++done, units);
        if (done < units && progress.stopRequested())
            throw Stopped("The curvature grid was stopped (Esc) after " + std::to_string(done) + " of " +
                          std::to_string(units) + " steps; " + result + " was not written.");
    };
    progress.step(0, units);
    // Each direction is folded into the greatest curvature so far as soon as it is made,
    // and goes once read, so the folder never holds more than three grids; the folds take
    // their grids in the order they always have (m0 = max(d0, d1), then mj = max(d(j + 1),
    // m(j - 1))), so the result keeps its bytes.
    auto makeDirection = [&](int k) {
        progress.status("Curvature direction " + std::to_string(k + 1) + " of " + std::to_string(last + 1));
        DirectionalCurvature(call, grid, stepDegrees * k, direction(k));
        unitDone();
    };
    makeDirection(0);
    makeDirection(1);
    const std::string d0 = direction(0), d1 = direction(1);
    gridMath(call, "C=max(A,B)", d0, &d1, fold(0));
    removeUsed(d0);
    removeUsed(d1);
    unitDone();
    for (int j = 1; j <= last - 1; ++j) {
        makeDirection(j + 1);
        const std::string a = direction(j + 1), b = fold(j - 1);
        gridMath(call, "C=max(A,B)", a, &b, fold(j));
        removeUsed(a);
        removeUsed(b);
        unitDone();
    }
    progress.status("Greatest curvature over the directions");
    const std::string lastFold = fold(last - 1);
    gridMath(call, "C=A", lastFold, nullptr, result);
    removeUsed(lastFold);
    unitDone();
}

} // namespace trelvik::surffns
