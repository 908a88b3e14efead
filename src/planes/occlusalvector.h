#pragma once
// The occlusal vector of a tooth and the rotations that stand a tooth on it.
//
// Occlusal vector, from two digitised points P1, P2 (x, y and the grid's height):
//   tribo-type  V = P1 - P2 (the points lie along the vector; no sign is imposed);
//   carnassial  P1, P2 are two cusp tips, T = P1 - P2, N = (-A, -B, 1) the normal of the
//               tooth's plane (from its plane formula); V = N x T, negated when Vz < 0
//               (Vz = 0 keeps its sign), so exchanging the tips gives the same vector.
//   The unit occlusal vector is V / |V|. Identical points (tribo-type or carnassial) and
//   a tip line parallel to the normal leave V without a direction: trelvik::Error.
//
// Plane through the occlusal vector (the facet plane's normal N and the tip line V of
// two cusp tips T1, T2, V = T1 - T2): W = N x V turned upwards (negated when Wz < 0),
// U = W x N. The plane through the origin, N and U holds N and the tip line's direction
// and stands at right angles to the facet plane; it is z = -(Wx/Wz) x - (Wy/Wz) y.
// Identical tips, a tip line parallel to N (W = 0) and a vertical plane (Wz = 0, which
// no formula z(x, y) describes) are errors, reported before any file is written.
//
// Rotation to horizontal (the occlusal frame): for a unit vector n = (nx, ny, nz) and
// h = sqrt(nx^2 + ny^2), the proper rotation with rows
//   (nz nx / h, nz ny / h, -h), (-ny / h, nx / h, 0), (nx, ny, nz)
// carries n onto +z, so a plane with normal n becomes horizontal and z' is the height
// along n. For a vertical n (h = 0) the limit is taken: n pointing up gives the identity,
// pointing down the half turn about the y axis, (x, y, z) -> (-x, y, -z). A vector that
// is zero or not finite is an error. The vector given is normalised first.
#include "core/points.h"
#include "planes/planeformula.h"

#include <Eigen/Core>
#include <Eigen/Geometry>

namespace trelvik::planes {

using Vec3 = Eigen::Vector3d;
using Mat3 = Eigen::Matrix3d;

inline Vec3 toVec3(const PointXYZ& p) { return {p.x, p.y, p.z}; }
inline PointXYZ toPoint(const Vec3& v) { return {v.x(), v.y(), v.z()}; }
inline Vec3 planeNormal(const PlaneCoefficients& p) { return {-p.A, -p.B, 1.0}; }

// V = P1 - P2; identical points throw.
Vec3 TriboOcclusalVector(const PointXYZ& p1, const PointXYZ& p2);

// N x (P1 - P2), turned so that its z is not negative; identical tips or a tip line
// parallel to N throw. Not normalised.
Vec3 CarnassialOcclusalVector(const Vec3& normal, const PointXYZ& tip1, const PointXYZ& tip2);

// v / |v|; a zero or non-finite vector throws.
Vec3 unitVector(const Vec3& v);

// The plane through the occlusal vector.
struct OcclusalVectorPlane {
    Vec3 N, V, W, U;
    // The plane through (0, 0, 0), N and U as z = C + B y + A x (C = 0).
    PlaneCoefficients plane() const;
};
OcclusalVectorPlane MakeOcclusalVectorPlane(const PlaneCoefficients& facet, const PointXYZ& tip1,
                                            const PointXYZ& tip2);

// The rotation to horizontal for the direction n (normalised here).
Mat3 RotationToHorizontal(const Vec3& n);

// The rotation that makes the plane horizontal: RotationToHorizontal of its normal
// (-A, -B, 1). A level plane (A = B = 0) gives the identity.
inline Mat3 RotationToHorizontal(const PlaneCoefficients& p) { return RotationToHorizontal(planeNormal(p)); }

inline PointXYZ rotate(const Mat3& r, const PointXYZ& p) { return toPoint(r * toVec3(p)); }

// Rotations about the x and y axes by an angle in radians, as the "Rotate x or y" tab
// turns points: about x, y' = y cos a + z sin a, z' = z cos a - y sin a; about y,
// x' = x cos a + z sin a, z' = z cos a - x sin a.
Mat3 RotationAboutX(double angle);
Mat3 RotationAboutY(double angle);

} // namespace trelvik::planes
