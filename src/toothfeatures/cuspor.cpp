#include "toothfeatures/cuspor.h"

#include "core/error.h"
#include "core/textform.h"

#include <algorithm>
#include <cmath>

namespace trelvik::toothfeatures {

namespace {
struct Nearest {
    int index = 0;        // from 1
    double distance = 0;  // the larger of |dx| and |dy|
};

// The profile point nearest (x, y) by the larger of |dx| and |dy|, the first of equal ones.
Nearest nearestPoint(const GrooveProfile& p, double x, double y)
{
    Nearest best;
    for (int i = 0; i < p.count(); ++i) {
        const double d = std::max(std::fabs(p.ProfX[i] - x), std::fabs(p.ProfY[i] - y));
        if (best.index == 0 || d < best.distance)
            best = {i + 1, d};
    }
    return best;
}
} // namespace

std::optional<OcclusalMatch> matchOcclusalPoints(const GrooveProfile& profile, double x1, double y1, double x2,
                                                 double y2, double step)
{
    if (!(step > 0) || !std::isfinite(step))
        throw Error("The tolerance interval must be a number above 0.");
    if (profile.count() == 0)
        return std::nullopt;
    // The tolerance grows only until each point has a profile point within it, so each
    // point is matched to its nearest profile point; the first multiple of the step
    // above both distances is the tolerance that would have been reached.
    const Nearest a = nearestPoint(profile, x1, y1), b = nearestPoint(profile, x2, y2);
    const double reach = std::max(a.distance, b.distance);
    if (!std::isfinite(reach))
        return std::nullopt;
    double k = std::floor(reach / step) + 1;
    if (k > 1 && (k - 1) * step > kMaxOcclusalTolerance)
        return std::nullopt;
    // k * step may round to the distance itself; the next multiple is then the first above it.
    for (int more = 0; more < 4 && !(k * step > reach); ++more)
        k = std::max(k + 1, std::nextafter(k, HUGE_VAL));
    const double t = k * step;
    if (k > 1 && t > kMaxOcclusalTolerance)
        return std::nullopt;
    OcclusalMatch m;
    m.MatchIndex1 = a.index;
    m.MatchIndex2 = b.index;
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
