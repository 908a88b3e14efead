#pragma once
// Small numeric routines on angles and vectors shared by the tool windows.
//
//  ArcCos(x)                 arc cosine in radians, 0..pi; exactly 0 at x = 1 and pi at
//                            x = -1; |x| > 1 throws trelvik::Error.
//  Log10(x)                  decimal logarithm; x <= 0 throws.
//  AngleBetweenVectors       angle between two plane vectors in degrees: 180 when the
//                            cosine is <= -1, 360 (not 0) when it is >= 1, else
//                            ArcCos(c) * 180 / 3.14159265358979. A zero vector throws.
//  CrossProductX/Y/Z         components of a x b.
//  DirectionCosineX/Y        x / |(x, y)| and y / |(x, y)|; a zero vector throws.
//  VectorLength              |(x, y, z)|.
namespace trelvik {

double ArcCos(double x);
double Log10(double x);
double AngleBetweenVectors(double x1, double y1, double x2, double y2);
double CrossProductX(double a1, double a2, double a3, double b1, double b2, double b3);
double CrossProductY(double a1, double a2, double a3, double b1, double b2, double b3);
double CrossProductZ(double a1, double a2, double a3, double b1, double b2, double b3);
double DirectionCosineX(double x, double y);
double DirectionCosineY(double x, double y);
double VectorLength(double x, double y, double z);

} // namespace trelvik
