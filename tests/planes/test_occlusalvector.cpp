// Occlusal vectors, the plane through the occlusal vector, and the rotation to horizontal.
#include "core/error.h"
#include "planes/occlusalvector.h"

#include <Eigen/LU>
#include <gtest/gtest.h>

#include <cmath>

using namespace trelvik::planes;
using trelvik::PointXYZ;

namespace {
void expectNear(const Vec3& a, const Vec3& b, double tol = 1e-13) {
    EXPECT_NEAR(a.x(), b.x(), tol);
    EXPECT_NEAR(a.y(), b.y(), tol);
    EXPECT_NEAR(a.z(), b.z(), tol);
}
} // namespace

TEST(OcclusalVector, TriboAndCarnassial) {
    // Tribo-type: first point minus second, no sign imposed.
    expectNear(TriboOcclusalVector({1, 2, 5}, {1, 1, 3}), Vec3(0, 1, 2));
    expectNear(TriboOcclusalVector({1, 1, 3}, {1, 2, 5}), Vec3(0, -1, -2));
    EXPECT_THROW(TriboOcclusalVector({1, 2, 3}, {1, 2, 3}), trelvik::Error);

    // Carnassial: N = (0.5, -0.25, 1) from C = 5, B = 0.25, A = -0.5; the constant plays no part.
    const Vec3 n = planeNormal({5, 0.25, -0.5});
    expectNear(n, Vec3(0.5, -0.25, 1));
    const PointXYZ t1{3, 1, 2}, t2{1, 0, 1};
    const Vec3 v = CarnassialOcclusalVector(n, t1, t2);
    EXPECT_GE(v.z(), 0);
    expectNear(v, CarnassialOcclusalVector(n, t2, t1));
    EXPECT_NEAR(v.dot(n), 0, 1e-13);
    EXPECT_NEAR(v.dot(Vec3(2, 1, 1)), 0, 1e-13);
    expectNear(unitVector(Vec3(0, 3, 4)), Vec3(0, 0.6, 0.8));

    EXPECT_THROW(CarnassialOcclusalVector(n, t1, t1), trelvik::Error);
    // Tip line parallel to the normal.
    EXPECT_THROW(CarnassialOcclusalVector(n, {1.5, -0.25, 2}, {1, 0, 1}), trelvik::Error);
    EXPECT_THROW(unitVector(Vec3(0, 0, 0)), trelvik::Error);
}

TEST(OcclusalVector, PlaneThroughTheOcclusalVectorOfTheWorkedExample) {
    // Facet z = 0.5x, tips (0, 1, 0) and (0, 0, 0): W = (1, 0, 0.5), U = (0, -1.25, 0), plane z = -2x.
    const auto o = MakeOcclusalVectorPlane({0, 0, 0.5}, {0, 1, 0}, {0, 0, 0});
    expectNear(o.N, Vec3(-0.5, 0, 1));
    expectNear(o.W, Vec3(1, 0, 0.5));
    expectNear(o.U, Vec3(0, -1.25, 0));
    EXPECT_EQ(o.plane(), (PlaneCoefficients{0, 0, -2}));
    // Swapping the tips changes nothing.
    const auto s = MakeOcclusalVectorPlane({0, 0, 0.5}, {0, 0, 0}, {0, 1, 0});
    expectNear(s.W, o.W);
    expectNear(s.U, o.U);

    // A general case: the plane holds N, U and the tip direction.
    const PlaneCoefficients facet{1, 0.3, -0.7};
    const auto g = MakeOcclusalVectorPlane(facet, {2, 5, 1}, {-1, 1, 3});
    const PlaneCoefficients p = g.plane();
    for (const Vec3& d : {g.N, g.U, Vec3(3, 4, -2)}) EXPECT_NEAR(p.height(d.x(), d.y()), d.z(), 1e-12);

    EXPECT_THROW(MakeOcclusalVectorPlane(facet, {1, 1, 1}, {1, 1, 1}), trelvik::Error);
    EXPECT_THROW(MakeOcclusalVectorPlane({0, 0, 0.5}, {-0.5, 0, 1}, {0, 0, 0}), trelvik::Error);  // V parallel to N
    EXPECT_THROW(MakeOcclusalVectorPlane({0, 0, 0}, {1, 0, 0}, {0, 0, 0}), trelvik::Error);        // Wz = 0
}

TEST(OcclusalVector, RotationToHorizontal) {
    // z = 0.5x: (2, 0, 1) goes to (-sqrt 5, 0, 0) and (0, 0, 5) to (-sqrt 5, 0, 2 sqrt 5).
    const Mat3 r = RotationToHorizontal(PlaneCoefficients{0, 0, 0.5});
    const double s5 = std::sqrt(5.0);
    expectNear(r * Vec3(2, 0, 1), Vec3(-s5, 0, 0));
    expectNear(r * Vec3(0, 0, 5), Vec3(-s5, 0, 2 * s5));

    // Any direction: a proper rotation carrying n onto +z and (-ny, nx, 0)/h onto +y.
    for (const Vec3& d : {Vec3(1, 2, 3), Vec3(-0.3, 0.1, -2), Vec3(1e-9, 0, 1), Vec3(5, -7, 0)}) {
        const Mat3 m = RotationToHorizontal(d);
        const Vec3 n = d.normalized();
        expectNear(m * n, Vec3(0, 0, 1), 1e-12);
        EXPECT_NEAR((m * m.transpose() - Mat3::Identity()).norm(), 0, 1e-12);
        EXPECT_NEAR(m.determinant(), 1, 1e-12);
        const double h = std::hypot(n.x(), n.y());
        expectNear(m * Vec3(-n.y() / h, n.x() / h, 0), Vec3(0, 1, 0), 1e-12);
    }
    // Vertical: up is the identity (a level plane), down the half turn about y.
    EXPECT_EQ(RotationToHorizontal(PlaneCoefficients{7, 0, 0}), Mat3::Identity());
    expectNear(RotationToHorizontal(Vec3(0, 0, -2)) * Vec3(1, 2, 3), Vec3(-1, 2, -3));
    EXPECT_THROW(RotationToHorizontal(Vec3(0, 0, 0)), trelvik::Error);
}

TEST(OcclusalVector, RotationsAboutTheAxes) {
    const double q = 3.1415926535898 / 2;
    expectNear(RotationAboutX(q) * Vec3(1, 2, 3), Vec3(1, 3, -2));
    expectNear(RotationAboutY(q) * Vec3(1, 2, 3), Vec3(3, 2, -1));
    expectNear(RotationAboutY(q) * (RotationAboutX(q) * Vec3(1, 2, 3)), Vec3(-2, 3, -1));
    EXPECT_EQ(RotationAboutX(0) * Vec3(1, 2, 3), Vec3(1, 2, 3));
}
