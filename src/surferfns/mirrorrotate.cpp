#include "surferfns/mirrorrotate.h"

#include "core/error.h"
#include "core/tempfiles.h"
#include "core/textform.h"
#include "shell/gridgeometry.h"
#include "surfer/application.h"

namespace trelvik::surffns {

using surfer::Named;

namespace {

constexpr int kRotate = 3, kMirrorX = 4, kMirrorY = 5;

void call(SurfFnsContext& ctx, const char* operation, const Named& args) {
    if (!ctx.app.SurferApp) throw Error(std::string(operation) + ": the mapping program is not connected");
    ctx.app.SurferApp->call(operation, args);
}

void transform(SurfFnsContext& ctx, const std::string& in, int operation, const std::string& out) {
    call(ctx, "GridTransform", Named{{"InGrid", in}, {"Operation", operation}, {"OutGrid", out}});
}

void rotate(SurfFnsContext& ctx, const std::string& in, int degreesClockwise, const std::string& out) {
    call(ctx, "GridTransform",
         Named{{"InGrid", in}, {"Operation", kRotate}, {"Rotation", -degreesClockwise}, {"OutGrid", out}});
}

// The input's heights mirrored in z into out. The scan attaches SurferApp anew; the
// call after it goes to that instance.
void zMirror(SurfFnsContext& ctx, const std::string& in, const std::string& out) {
    ReadGridGeometry(ctx.app, in);
    call(ctx, "GridMath",
         Named{{"Function", ZMirrorFunction(ctx.app.GridZMin, ctx.app.GridZMax)}, {"InGridA", in}, {"OutGridC", out}});
}

} // namespace

const char* GeometricSuffix(GeometricOp op) {
    switch (op) {
    case GeometricOp::MirrorX: return "mx";
    case GeometricOp::MirrorY: return "my";
    case GeometricOp::MirrorZ: return "mz";
    case GeometricOp::Rotate90: return "r90";
    case GeometricOp::Rotate180: return "r180";
    case GeometricOp::Rotate270: return "r270";
    case GeometricOp::Inverse: return "inv";
    case GeometricOp::MouldRotate: return "mr";
    }
    return "";
}

std::string ZMirrorFunction(double zMin, double zMax) {
    return "C=" + text::CStr(zMax) + "-A +" + text::CStr(zMin);
}

void RunGeometricOp(SurfFnsContext& ctx, int entry, GeometricOp op) {
    SurfFnsState& s = ctx.state;
    const std::string& in = s.GridFullName[entry - 1];
    const std::string& stem = s.GridPathNoExt[entry - 1];
    const std::string out = stem + GeometricSuffix(op) + ".grd";
    s.OutGridName[entry - 1] = out;
    switch (op) {
    case GeometricOp::MirrorX: transform(ctx, in, kMirrorX, out); break;
    case GeometricOp::MirrorY: transform(ctx, in, kMirrorY, out); break;
    case GeometricOp::MirrorZ: zMirror(ctx, in, out); break;
    case GeometricOp::Rotate90: rotate(ctx, in, 90, out); break;
    case GeometricOp::Rotate180: rotate(ctx, in, 180, out); break;
    case GeometricOp::Rotate270: rotate(ctx, in, 270, out); break;
    case GeometricOp::Inverse:
        call(ctx, "GridMath", Named{{"Function", "C=1/A"}, {"InGridA", in}, {"OutGridC", out}});
        break;
    case GeometricOp::MouldRotate: {
        // The z mirror is scratch, made where no file of the user's can be named like it.
        const PrivateTempFile temp(".grd");
        zMirror(ctx, in, temp.path());
        transform(ctx, temp.path(), kMirrorX, out);
        break;
    }
    }
}

} // namespace trelvik::surffns
