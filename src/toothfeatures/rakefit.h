#pragma once
// Rake angle of a cusp surface: least-squares lines of height on distance along a
// profile that leaves the crest at right angles, one line per rake length.
//
// Passes: the rake length is a Fraction of a length (interval I = length x factor,
//   steps S = 1 / factor, letter "f") or a Multiple of an interval (I = the interval,
//   S = the number of steps, letter "m"), or both in turn. The boxes must hold numbers
//   (blanks around them allowed); an interval or a step count of 0 or below is refused,
//   and so is a step count that rounds to no row or to more than 100000 rows.
// Direction: from the crest point P1, a second crest point P2 and a point P3 on the rake
//   surface, the profile runs from P1 at right angles to P2 - P1, on P3's side (P3 as
//   close to both sides takes (-dy, dx)), for 2 x S x I. P1 = P2 is refused.
// Profile: distance D(j) and height Z(j) of each slice point (the slice's fourth and
//   third values), j = 1 .. n, up to the first blank height; the profile length
//   C(1) = 0, C(j) = C(j-1) + Sqr((D(j) - D(j-1))^2 + (Z(j) - Z(j-1))^2).
// Rows k = 1 .. K, K = S rounded (halves to even), or Int(C(n) / I) when the profile
//   is shorter than S x I: threshold T = k x I; the fit takes the points up to and
//   including the first one beyond T, but never more than the profile holds nor fewer
//   than 3; sums over them give
//     S_XZ = sum DZ - sum D sum Z / m,  S_XX = sum D^2 - (sum D)^2 / m,
//     S_ZZ = sum Z^2 - (sum Z)^2 / m,   Slope = -S_XZ / S_XX,
//     Rake_angle = Atn(Slope) * 180 / 3.14159265358979,
//     Intercept = Ave_Z - Ave_X * Slope  (kept in this form: stored tables rely on it).
//   A profile of fewer than 3 points, or one too short for a single row (less than one
//   interval long), is refused (trelvik::Error), saying what lengthens it: a crest point
//   with more of the cusp area beyond it on the third point's side (or a larger cusp
//   area) where the profile ends at a blank height, a longer rake length where it ends
//   with the line.
#include "formats/pointxy.h"

#include <string>
#include <vector>

namespace trelvik::toothfeatures {

enum class RakeKind { Fraction, Multiple, Both };

struct RakePass {
    double interval = 0;  // I
    double steps = 0;     // S
    char letter = 'f';
    std::string lengthText;  // the length box's text, trimmed, for the file names
    double length() const { return steps * interval; }
};

struct RakeBoxes {
    std::string txtRakeLengthF = "1", txtRakeIntF = "0.05", txtRakeLengthM = "0.25", txtRakeIntM = "20";
};

// The passes to run, in order. Throws trelvik::Error naming the box at fault.
std::vector<RakePass> rakePasses(RakeKind kind, const RakeBoxes& boxes);

// CrestCode & crest info & "-" & letter & length text ("prpac_1-f1").
std::string rakeTag(const std::string& crestCode, const std::string& crestInfo, const RakePass& pass);

// The far end of the profile line from P1. Throws when P1 and P2 coincide.
formats::PointXY rakeLineEnd(const formats::PointXY& P1, const formats::PointXY& P2, const formats::PointXY& P3,
                             double length);

struct RakeRow {
    double threshold = 0, actualLength = 0;
    long points = 0;
    double slope = 0, rakeAngle = 0, intercept = 0, sXZ = 0, sXX = 0, sZZ = 0, aveX = 0, aveZ = 0;
};

// D and Z of the slice records in order; the profile ends before the first blank Z.
std::vector<RakeRow> rakeRows(const std::vector<double>& D, const std::vector<double>& Z, const RakePass& pass);

// Header and rows of the rake results table.
std::vector<std::string> rakeTableLines(const std::vector<RakeRow>& rows);

} // namespace trelvik::toothfeatures
