#include "toothfeatures/appang.h"

#include "core/error.h"
#include "core/textform.h"
#include "core/vectors.h"

#include <algorithm>
#include <cmath>

namespace trelvik::toothfeatures {

namespace {

// The constants the measure has always been computed with; stored results rely on them.
constexpr double kDegreesPerRadian = 180 / 3.14159;
constexpr double kQuarterTurn = 1.5708;

// ArcCos of C / R with the quotient kept within -1..1 against rounding.
double meanDirection(double c, double s) {
    const double r = std::sqrt(c * c + s * s);
    return ArcCos(std::clamp(c / r, -1.0, 1.0));
}

// Mean direction of the absolute angles a[first..last], divided by `count`.
double grandMean(const Series& a, int first, int last, int count, bool& flat) {
    double c = 0, s = 0;
    flat = true;
    for (int i = first; i <= last; ++i) {
        const double v = std::fabs(*a[static_cast<std::size_t>(i)]);
        if (v != 0) flat = false;
        c += std::cos(v);
        s += std::sin(v);
    }
    if (flat) return 0;
    return meanDirection(c / count, s / count) * kDegreesPerRadian;
}

void angles(const ApproachAngleSeries& s, const Series& zm, int first, int last, Series& rad, Series& deg) {
    for (int i = first; i <= last; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const double a = std::atan((*zm[k] - *zm[k - 1]) / s.deltaXY[k]);
        rad[k] = a;
        deg[k] = a * kDegreesPerRadian;
    }
}

void blocks(const Series& rad, int count, int firstOf5k, int storeOf5k, Series& out) {
    for (int k = 1; k <= count; ++k) {
        double a[5];
        for (int j = 0; j < 5; ++j) a[j] = *rad[static_cast<std::size_t>(5 * k + firstOf5k + j)];
        out[static_cast<std::size_t>(5 * k + storeOf5k)] = blockMeanDegrees(a);
    }
}

std::string field(const std::optional<double>& v) { return v ? text::CStr(*v) : std::string(); }

} // namespace

double blockMeanDegrees(const double (&a)[5]) {
    double c = 0, s = 0;
    for (double v : a) {
        c += std::cos(v + kQuarterTurn) / 5;
        s += std::sin(v + kQuarterTurn) / 5;
    }
    return meanDirection(c, s) * kDegreesPerRadian - 90;
}

ApproachAngleSeries computeApproachAngle(const PointList& p) {
    const int m = static_cast<int>(p.size());
    if (m < kApproachAngleMinPoints)
        throw Error("The crest slice holds " + std::to_string(m) + " points; the approach angle needs at least " +
                    std::to_string(kApproachAngleMinPoints) + " (a longer crest line, or a finer grid).");
    const auto n = static_cast<std::size_t>(m);
    ApproachAngleSeries s;
    s.XTrans.resize(n);
    s.YTrans.resize(n);
    s.ZTrans.resize(n);
    s.deltaXY.assign(n, 0.0);
    s.cumXY.assign(n, 0.0);
    for (Series* v : {&s.ZM5, &s.ZM5AngR, &s.ZM5AngD, &s.ZM5MeanAngD, &s.ZM9, &s.ZM9AngR, &s.ZM9AngD, &s.ZM9MeanAngD})
        v->assign(n, std::nullopt);

    for (std::size_t i = 0; i < n; ++i) {
        s.XTrans[i] = p[i].x;
        s.YTrans[i] = p[i].y;
        s.ZTrans[i] = p[i].z;
    }
    const auto& Z = s.ZTrans;
    for (std::size_t i = 1; i < n; ++i) {
        s.deltaXY[i] = std::sqrt(std::pow(s.XTrans[i - 1] - s.XTrans[i], 2) + std::pow(s.YTrans[i - 1] - s.YTrans[i], 2));
        s.cumXY[i] = s.cumXY[i - 1] + s.deltaXY[i];
    }
    for (int i = 3; i <= m - 3; ++i)
        if (s.deltaXY[static_cast<std::size_t>(i)] == 0)
            throw Error("Crest slice points " + std::to_string(i) + " and " + std::to_string(i + 1) +
                        " lie at the same place across the occlusal vector, so the angle between them has no "
                        "value: digitise the crest again without repeating a point.");

    for (int i = 2; i <= m - 3; ++i) {
        const auto k = static_cast<std::size_t>(i);
        s.ZM5[k] = (Z[k - 2] + Z[k - 1] + Z[k] + Z[k + 1] + Z[k + 2]) / 5;
    }
    for (int i = 4; i <= m - 5; ++i) {
        const auto k = static_cast<std::size_t>(i);
        s.ZM9[k] = (Z[k - 4] + Z[k - 3] + Z[k - 2] + Z[k - 1] + 5 * Z[k] + Z[k + 1] + Z[k + 2] + Z[k + 3] + Z[k + 4]) / 13;
    }
    angles(s, s.ZM5, 3, m - 3, s.ZM5AngR, s.ZM5AngD);
    angles(s, s.ZM9, 5, m - 5, s.ZM9AngR, s.ZM9AngD);
    blocks(s.ZM5AngR, (m - 5) / 5, -2, 0, s.ZM5MeanAngD);
    blocks(s.ZM9AngR, (m - 9) / 5, 0, 2, s.ZM9MeanAngD);
    s.GrandMeanZ5 = grandMean(s.ZM5AngR, 3, m - 3, m - 5, s.flat5);
    s.GrandMeanZ9 = grandMean(s.ZM9AngR, 5, m - 5, m - 9, s.flat9);
    return s;
}

std::vector<std::string> approachAngleTable(const ApproachAngleSeries& s) {
    std::vector<std::string> lines;
    lines.reserve(s.XTrans.size() + 1);
    lines.emplace_back(kApproachAngleHeader);
    for (std::size_t i = 0; i < s.XTrans.size(); ++i) {
        std::string row = text::CStr(s.XTrans[i]) + "," + text::CStr(s.YTrans[i]) + "," + text::CStr(s.ZTrans[i]) +
                          "," + text::CStr(s.deltaXY[i]) + "," + text::CStr(s.cumXY[i]);
        for (const Series* v : {&s.ZM5, &s.ZM5AngR, &s.ZM5AngD, &s.ZM5MeanAngD, &s.ZM9, &s.ZM9AngR, &s.ZM9AngD,
                                &s.ZM9MeanAngD})
            row += "," + field((*v)[i]);
        if (i == 0) row += "," + text::CStr(s.GrandMeanZ5) + "," + text::CStr(s.GrandMeanZ9);
        lines.push_back(std::move(row));
    }
    return lines;
}

} // namespace trelvik::toothfeatures
