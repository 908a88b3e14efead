#pragma once
// Cusp occlusion relief: how far a groove profile lies below the line of the occlusal
// vector.
//
// Input: the groove profile, points k = 1 .. n in order along the slice line with their
//   x, y, height z and distance d along the line (no blank heights); two occlusal-vector
//   points P1, P2 in map coordinates; the tolerance step (> 0).
// Matching: each point Pj takes the profile point nearest to it by the larger of |dx| and
//   |dy| (the first of equal ones). The tolerance reached is the first multiple of the
//   step strictly above both nearest distances (the step itself when both lie within it);
//   a tolerance above 1000 beyond the first step means the points lie too far from the
//   profile.
// Levelling: with a, b the matched points, the profile is turned in the (d, z) plane by
//   theta = atan((z_b - z_a) / (d_b - d_a)), so the chord a-b lies level whichever way it
//   runs and in whichever order the points were digitised:
//     RotDist = d cos(theta) + z sin(theta),  RotZ = -d sin(theta) + z cos(theta).
//   The angle reported is theta * 180 / 3.14159 (degrees). Two points matched at the same
//   distance along the line give no chord and are refused.
// Relief: Relief(k) = RotZ(k) - highest RotZ (the first index of equal highs is the peak),
//   Sum = sum of Relief from the peak to the end of the profile, mean relief =
//   -Sum / (n - peak + 1), a depth >= 0.
// Results file (no header, numbers bare in the general form): row 1 x, y, z, d, RotDist,
//   RotZ, Relief of point 1, then MatchIndex1, MatchIndex2, the angle, Sum and the mean
//   relief; rows 2 .. n the first seven values of their point.
#include <optional>
#include <string>
#include <vector>

namespace trelvik::toothfeatures {

struct GrooveProfile {
    std::vector<double> ProfX, ProfY, ProfZ, ProfDist;
    int count() const { return static_cast<int>(ProfX.size()); }
};

struct OcclusalMatch {
    int MatchIndex1 = 0;  // profile indices from 1
    int MatchIndex2 = 0;
    double tolerance = 0;  // the tolerance at which both points were matched
};

// The largest tolerance tried before the points count as too far from the profile.
inline constexpr double kMaxOcclusalTolerance = 1000;

// Nothing when the tolerance passes kMaxOcclusalTolerance. step must be > 0.
std::optional<OcclusalMatch> matchOcclusalPoints(const GrooveProfile& profile, double x1, double y1, double x2,
                                                 double y2, double step);

struct OcclusionRelief {
    double angleDegrees = 0;
    std::vector<double> RotDist, RotZ, Relief;
    int PeakIndex = 0;  // from 1
    double Sum = 0;
    double MeanRelief = 0;
};

// Throws trelvik::Error when the two matched points lie at the same distance along the
// line (the chord has no direction) or the indices are outside the profile.
OcclusionRelief occlusionRelief(const GrooveProfile& profile, int matchIndex1, int matchIndex2);

// The lines of the results table.
std::vector<std::string> occlusionReliefLines(const GrooveProfile& profile, const OcclusalMatch& match,
                                              const OcclusionRelief& relief);

} // namespace trelvik::toothfeatures
