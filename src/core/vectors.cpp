#include "core/vectors.h"

#include "core/error.h"
#include "core/textform.h"

#include <cmath>

namespace trelvik {

namespace {
double planeLength(double x, double y, const char* what) {
    const double len = std::sqrt(std::pow(x, 2.0) + std::pow(y, 2.0));
    if (len == 0 || !std::isfinite(len))
        throw Error(std::string(what) + ": the vector (" + text::CStr(x) + ", " + text::CStr(y) +
                    ") has no direction");
    return len;
}
}  // namespace

double ArcCos(double x) {
    // The arc-tangent form divides by sqrt(1 - x^2), so the two ends are given directly.
    if (x == 1) return 0.0;
    if (x == -1) return 4 * std::atan(1.0);
    if (!(x > -1 && x < 1)) throw Error("ArcCos: " + text::CStr(x) + " is not a cosine (outside -1 to 1)");
    return std::atan(-x / std::sqrt(-x * x + 1)) + 2 * std::atan(1.0);
}

double Log10(double x) {
    if (!(x > 0)) throw Error("Log10: the logarithm of " + text::CStr(x) + " has no value");
    return std::log(x) / std::log(10.0);
}

double AngleBetweenVectors(double x1, double y1, double x2, double y2) {
    const double l1 = planeLength(x1, y1, "AngleBetweenVectors");
    const double l2 = planeLength(x2, y2, "AngleBetweenVectors");
    const double c = (x1 * x2 + y1 * y2) / (l1 * l2);
    if (c <= -1) return 180;
    if (c >= 1) return 360;  // callers take 360 minus the result for parallel vectors
    return ArcCos(c) * 180 / 3.14159265358979;
}

double CrossProductX(double, double a2, double a3, double, double b2, double b3) { return a2 * b3 - a3 * b2; }
double CrossProductY(double a1, double, double a3, double b1, double, double b3) { return -(a1 * b3 - a3 * b1); }
double CrossProductZ(double a1, double a2, double, double b1, double b2, double) { return a1 * b2 - a2 * b1; }

double DirectionCosineX(double x, double y) { return x / planeLength(x, y, "DirectionCosineX"); }
double DirectionCosineY(double x, double y) { return y / planeLength(x, y, "DirectionCosineY"); }

double VectorLength(double x, double y, double z) {
    return std::sqrt(std::pow(x, 2.0) + std::pow(y, 2.0) + std::pow(z, 2.0));
}

} // namespace trelvik
