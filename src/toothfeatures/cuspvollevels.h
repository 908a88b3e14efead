#pragma once
// The volume levels of a cusp and the rows of its results table.
//
// A cusp is measured against the basal plane z = C + B*y + A*x of its tooth. The tip
// height T is the greatest height of the cusp above that plane. The plane is raised to
// N + 1 levels below the tip, L(k) = T - (k - 1) * VertStep for k = 1 .. N + 1, where
//   tilt     = ArcCos(1 / sqrt(A^2 + B^2 + 1))   the plane's angle to the horizontal
//                                                (0 for a level plane), radians
//   VertStep = I * sin(1.570796 - tilt)          I the interval size along the tooth.
// The constant 1.570796 is kept as it stands: published data were measured with it.
// For each level the mapping program gives the volume and positive surface area of the
// cusp above the raised plane; each level becomes one row of the results table
//   "IntZMin","IntZMax","Fract_IL","Vert_dist_from_tip","Dist_from_tip","Volume","Pos_Surf_Area"
// with eight fields per row: L(k) in the sign-slot form without its blank and T as typed
// (both quoted), "i/<divisor>il" (quoted, i = k - 1), i * VertStep, i * I, the volume and
// the area (bare, general form), and an empty quoted text.
#include <string>
#include <string_view>

namespace trelvik::toothfeatures {

// The angle between the plane z = C + B*y + A*x and the horizontal, in radians.
double basalTilt(double A, double B);

// The vertical step between levels for the interval size I.
double verticalStep(double intervalSize, double tilt);

// L(k) = T - (k - 1) * step, k counted from 1.
double levelHeight(double tipHeight, double step, int k);

// The function that raises the plane grid (A) to `level`: "C = A +" and the level in the
// sign-slot form ("C = A + 1.25", "C = A +-.1").
std::string levelFunction(double level);

// The header line of the results table.
std::string cuspVolHeader();

struct CuspVolRow {
    double level = 0;          // L(k)
    std::string tipText;       // the tip height as typed (Text8)
    int interval = 0;          // i = k - 1
    std::string divisorText;   // the tooth-length divisor as typed (Text1)
    double vertDist = 0;       // i * VertStep
    double dist = 0;           // i * I
    double volume = 0;
    double posSurfArea = 0;
};
std::string cuspVolRow(const CuspVolRow& row);

// stem & cuspCode & "-" & tooth length in the sign-slot form without blanks &
// "_cuspvolresults.csv" ("T1pa-12.345_cuspvolresults.csv", "-0" without a tooth length).
std::string cuspVolResultsPath(const std::string& stem, const std::string& cuspCode, double toothLength);

} // namespace trelvik::toothfeatures
