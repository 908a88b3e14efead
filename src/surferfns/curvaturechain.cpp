#include "surferfns/curvaturechain.h"

#include "core/error.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "surfer/callargs.h"

#include <filesystem>
#include <system_error>

namespace trelvik::surffns {

namespace fs = std::filesystem;
using surfer::Named;
using surfer::omitted;
using surfer::Positional;

namespace {

constexpr int kDirections = 180 / kCurvatureStep + 1;  // 19: 0 .. 180 degrees

void removeUsed(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
    if (ec) throw Error("Cannot delete the intermediate curvature grid " + path + ": " + ec.message());
}

void gridMath(SurfFnsContext& ctx, const char* function, const std::string& a, const std::string* b,
              const std::string& c) {
    if (b)
        CallSurfer(ctx, "GridMath", Positional{a, *b, c, omitted, function},
                   Named{{"Function", function}, {"InGridA", a}, {"InGridB", *b}, {"OutGridC", c}});
    else
        CallSurfer(ctx, "GridMath", Positional{a, omitted, c, omitted, function},
                   Named{{"Function", function}, {"InGridA", a}, {"OutGridC", c}});
}

} // namespace

std::string CurvatureGridName(const std::string& smoothedGrid) {
    return text::BaseName(smoothedGrid) + "_curv" + std::to_string(kCurvatureStep) + ".grd";
}

std::string MakeCurvatureGrid(SurfFnsContext& ctx, const std::string& smoothedGrid) {
    const std::string result = CurvatureGridName(smoothedGrid);
    PrivateFolder work("curv");
    auto direction = [&](int k) { return work.file("d" + std::to_string(k) + ".grd"); };
    auto fold = [&](int j) { return work.file("m" + std::to_string(j) + ".grd"); };

    for (int k = 0; k < kDirections; ++k) {
        const int angle = kCurvatureStep * k;
        CallSurfer(ctx, "GridCalculus",
                   Positional{smoothedGrid, 0, 2, angle, omitted, omitted, omitted, omitted, direction(k)},
                   Named{{"InGrid", smoothedGrid}, {"Operation", 3}, {"Param1", angle}, {"OutGrid", direction(k)}});
    }
    // Greatest curvature over the directions so far; each input goes once it has been read.
    const std::string d0 = direction(0), d1 = direction(1);
    gridMath(ctx, "C=max(A,B)", d0, &d1, fold(0));
    removeUsed(d0);
    removeUsed(d1);
    for (int j = 1; j <= kDirections - 2; ++j) {
        const std::string a = direction(j + 1), b = fold(j - 1);
        gridMath(ctx, "C=max(A,B)", a, &b, fold(j));
        removeUsed(a);
        removeUsed(b);
    }
    const std::string last = fold(kDirections - 2);
    gridMath(ctx, "C=A", last, nullptr, result);
    removeUsed(last);
    return result;
}

} // namespace trelvik::surffns
