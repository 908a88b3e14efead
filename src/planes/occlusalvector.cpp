#include "planes/occlusalvector.h"

#include "core/error.h"
#include "core/textform.h"

#include <algorithm>
#include <cmath>

namespace trelvik::planes {

namespace {
// Relative size below which a difference or cross product counts as no direction:
// well above rounding of coordinates of any size, far below any real digitising step.
constexpr double kRelTol = 1e-12;

std::string show(const PointXYZ& p) {
    return "(" + text::CStr(p.x) + ", " + text::CStr(p.y) + ", " + text::CStr(p.z) + ")";
}

Vec3 difference(const PointXYZ& p1, const PointXYZ& p2, const char* what) {
    const Vec3 a = toVec3(p1), b = toVec3(p2);
    const Vec3 v = a - b;
    const double scale = std::max(a.norm(), b.norm());
    if (!v.allFinite() || v.norm() <= kRelTol * scale || v.norm() == 0)
        throw Error(std::string("The two ") + what + " are the same point " + show(p1) +
                    ": they give no direction. Digitise two different points.");
    return v;
}
} // namespace

Vec3 unitVector(const Vec3& v) {
    const double len = v.norm();
    if (!v.allFinite() || len == 0) throw Error("A zero vector has no direction");
    return v / len;
}

Vec3 TriboOcclusalVector(const PointXYZ& p1, const PointXYZ& p2) { return difference(p1, p2, "digitised points"); }

Vec3 CarnassialOcclusalVector(const Vec3& normal, const PointXYZ& tip1, const PointXYZ& tip2) {
    const Vec3 t = difference(tip1, tip2, "cusp tips");
    Vec3 v = normal.cross(t);
    if (v.norm() <= kRelTol * normal.norm() * t.norm())
        throw Error("The line between the cusp tips is parallel to the plane's normal: it gives no occlusal vector.");
    if (v.z() < 0) v = -v;
    return v;
}

OcclusalVectorPlane MakeOcclusalVectorPlane(const PlaneCoefficients& facet, const PointXYZ& tip1,
                                            const PointXYZ& tip2) {
    OcclusalVectorPlane o;
    o.N = planeNormal(facet);
    o.V = difference(tip1, tip2, "cusp tips");
    o.W = o.N.cross(o.V);
    if (o.W.norm() <= kRelTol * o.N.norm() * o.V.norm())
        throw Error("The line between the cusp tips is parallel to the facet plane's normal: no plane holds both "
                    "as a surface z(x, y).");
    if (o.W.z() < 0) o.W = -o.W;
    if (std::fabs(o.W.z()) <= kRelTol * o.W.norm())
        throw Error("The plane through the facet normal and the cusp tips is vertical: no formula z(x, y) "
                    "describes it.");
    o.U = o.W.cross(o.N);
    return o;
}

PlaneCoefficients OcclusalVectorPlane::plane() const {
    // W is normal to both N and U, so the plane through the origin is W . p = 0.
    return {0.0, -W.y() / W.z(), -W.x() / W.z()};
}

Mat3 RotationToHorizontal(const Vec3& direction) {
    const Vec3 n = unitVector(direction);
    const double h = std::hypot(n.x(), n.y());
    Mat3 r;
    if (h == 0) {
        if (n.z() > 0) return Mat3::Identity();
        r << -1, 0, 0, 0, 1, 0, 0, 0, -1;
        return r;
    }
    r << n.z() * n.x() / h, n.z() * n.y() / h, -h,  //
        -n.y() / h, n.x() / h, 0,                   //
        n.x(), n.y(), n.z();
    return r;
}

Mat3 RotationAboutX(double a) {
    const double c = std::cos(a), s = std::sin(a);
    Mat3 r;
    r << 1, 0, 0, 0, c, s, 0, -s, c;
    return r;
}

Mat3 RotationAboutY(double a) {
    const double c = std::cos(a), s = std::sin(a);
    Mat3 r;
    r << c, 0, s, 0, 1, 0, -s, 0, c;
    return r;
}

} // namespace trelvik::planes
