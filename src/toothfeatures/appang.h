#pragma once
// Approach angle of a crest: how steeply the crest rises and falls along its length,
// measured against the plane at right angles to the tooth's occlusal vector.
//
// Input: the crest's slice points already turned into the occlusal frame (x', y', z';
//   z' is the height along the occlusal vector), in order along the digitised line,
//   none of them blank. At least 10 points: the 9-point mean and its grand mean need
//   m - 9 > 0.
// Computed, for points i = 0 .. m-1:
//   deltaXY(i)  distance in the x'-y' plane from point i-1 to i (0 at point 0),
//               cumXY(i) its running sum;
//   ZM5(i)      (Z(i-2) + .. + Z(i+2)) / 5                            i = 2 .. m-3
//   ZM9(i)      (Z(i-4) + .. + 5 Z(i) + .. + Z(i+4)) / 13              i = 4 .. m-5
//   ZM5AngR(i)  Atn((ZM5(i) - ZM5(i-1)) / deltaXY(i)), degrees = * 180 / 3.14159
//                                                                     i = 3 .. m-3
//   ZM9AngR(i)  the same with ZM9                                     i = 5 .. m-5
//   block means of five angles as a mean direction, shifted by 1.5708 so that the
//   angles lie in (0, pi): C = sum Cos(a + 1.5708) / 5, S likewise with Sin,
//   mean = ArcCos(C / R) * 180 / 3.14159 - 90 with R = Sqr(C^2 + S^2); ZM5 block k
//   (k = 1, 2, ..) holds points 5k-2 .. 5k+2, stored at 5k; ZM9 block k holds 5k ..
//   5k+4, stored at 5k+2; only whole blocks within the angle range are formed;
//   GrandMeanZ5/Z9 the mean direction of the absolute angles, in degrees (sums of
//   Cos |a| and Sin |a| over the angle range, divided by m-5 or m-9).
// A positive angle means the smoothed height rises from point i-1 to i.
// Refused with trelvik::Error: fewer than 10 points, and two neighbouring points at
// the same x', y' where an angle needs the distance between them. When every angle of
// a grand mean is 0 the mean is 0 and `flat` says so (the caller tells the user)
// rather than taking the arc cosine of 1.
//
// approachAngleTable gives the lines of the results table: the header, then the row
// of point 0 with 15 fields (the 13 series and the two grand means), then one row of
// 13 fields per further point; numbers in the general form, a value not defined for
// a point written as nothing between its commas.
#include "core/points.h"

#include <optional>
#include <string>
#include <vector>

namespace trelvik::toothfeatures {

using Series = std::vector<std::optional<double>>;

struct ApproachAngleSeries {
    std::vector<double> XTrans, YTrans, ZTrans, deltaXY, cumXY;
    Series ZM5, ZM5AngR, ZM5AngD, ZM5MeanAngD;
    Series ZM9, ZM9AngR, ZM9AngD, ZM9MeanAngD;
    double GrandMeanZ5 = 0, GrandMeanZ9 = 0;
    bool flat5 = false, flat9 = false;  // every angle of that grand mean is 0
};

inline constexpr int kApproachAngleMinPoints = 10;

ApproachAngleSeries computeApproachAngle(const PointList& framed);

// The mean direction of five angles (radians) as the block means take it, in degrees.
double blockMeanDegrees(const double (&angles)[5]);

inline constexpr const char* kApproachAngleHeader =
    "XTrans, YTrans, ZTrans, deltaXY, cumXY, ZM5, ZM5AngR, ZM5AngD, ZM5MeanAngD, ZM9, ZM9AngR, ZM9AngD, "
    "ZM9MeanAngD, GrandMeanZ5, GrandMeanZ9";

std::vector<std::string> approachAngleTable(const ApproachAngleSeries& s);

} // namespace trelvik::toothfeatures
