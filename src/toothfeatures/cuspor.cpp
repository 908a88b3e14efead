#include "toothfeatures/cuspor.h"

#include "core/error.h"
#include "core/textform.h"

#include <cmath>

namespace trelvik::toothfeatures {

namespace {
// The first profile index (from 1) within t of (x, y) in both x and y, or 0.
int firstWithin(const GrooveProfile& p, double x, double y, double t)
{
    for (int i = 0; i < p.count(); ++i)
        if (std::fabs(p.ProfX[i] - x) < t && std::fabs(p.ProfY[i] - y) < t)
            return i + 1;
    return 0;
}
} // namespace

std::optional<OcclusalMatch> matchOcclusalPoints(const GrooveProfile& profile, double x1, double y1, double x2,
                                                 double y2, double step)
{
    if (!(step > 0))
        throw Error("The tolerance interval must be a number above 0.");
    OcclusalMatch m;
    double t = step;
    for (;;) {
        // Each pass searches again from the start, so a wider tolerance may settle on an
        // earlier profile point; a pass that finds nothing keeps the earlier match.
        if (int i = firstWithin(profile, x1, y1, t)) m.MatchIndex1 = i;
        if (int i = firstWithin(profile, x2, y2, t)) m.MatchIndex2 = i;
        if (m.MatchIndex1 != 0 && m.MatchIndex2 != 0) break;
        t += step;
        if (t > kMaxOcclusalTolerance) return std::nullopt;
    }
    m.tolerance = t;
    return m;
}

OcclusionRelief occlusionRelief(const GrooveProfile& p, int a, int b)
{
    const int n = p.count();
    if (a < 1 || a > n || b < 1 || b > n)
        throw Error("The occlusal-vector points are not matched to points of the profile.");
    const double dD = p.ProfDist[b - 1] - p.ProfDist[a - 1];
    const double dZ = p.ProfZ[b - 1] - p.ProfZ[a - 1];
    if (dD == 0)
        throw Error("Both occlusal-vector points fall on the same point of the profile.\n\r"
                    "Redo occlusal vector with the points farther apart.");
    const double theta = std::atan(dZ / dD);
    const double c = std::cos(theta), s = std::sin(theta);

    OcclusionRelief r;
    r.angleDegrees = theta * 180 / 3.14159;
    r.RotDist.resize(n);
    r.RotZ.resize(n);
    r.Relief.resize(n);
    double highest = 0;
    for (int k = 0; k < n; ++k) {
        r.RotDist[k] = p.ProfDist[k] * c + p.ProfZ[k] * s;
        r.RotZ[k] = -p.ProfDist[k] * s + p.ProfZ[k] * c;
        // The first of equal highs is the peak; the search starts from the first point
        // itself, so a profile lying wholly below 0 still has its true peak.
        if (k == 0 || r.RotZ[k] > highest) {
            highest = r.RotZ[k];
            r.PeakIndex = k + 1;
        }
    }
    for (int k = 0; k < n; ++k)
        r.Relief[k] = r.RotZ[k] - highest;
    for (int k = r.PeakIndex - 1; k < n; ++k)
        r.Sum += r.Relief[k];
    r.MeanRelief = -r.Sum / (n - r.PeakIndex + 1);
    return r;
}

std::vector<std::string> occlusionReliefLines(const GrooveProfile& p, const OcclusalMatch& m,
                                              const OcclusionRelief& r)
{
    std::vector<std::string> lines;
    lines.reserve(p.ProfX.size());
    for (int k = 0; k < p.count(); ++k) {
        text::WriteLine w;
        w.num(p.ProfX[k]).num(p.ProfY[k]).num(p.ProfZ[k]).num(p.ProfDist[k]);
        w.num(r.RotDist[k]).num(r.RotZ[k]).num(r.Relief[k]);
        if (k == 0)
            w.num(m.MatchIndex1).num(m.MatchIndex2).num(r.angleDegrees).num(r.Sum).num(r.MeanRelief);
        lines.push_back(w.str());
    }
    return lines;
}

} // namespace trelvik::toothfeatures
