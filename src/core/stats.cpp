#include "core/stats.h"

#include "core/error.h"
#include "core/grid.h"
#include "core/sorting.h"
#include "core/textform.h"

#include <cmath>
#include <string>

namespace trelvik {

namespace {
void checkRange(const std::vector<double>& data, long first, long last, const char* what) {
    if (first < 0 || last < first || static_cast<std::size_t>(last) >= data.size())
        throw Error(std::string(what) + ": index range " + std::to_string(first) + " to " + std::to_string(last) +
                    " does not lie within the " + std::to_string(data.size()) + " values");
}
}  // namespace

SummaryStats summaryStats(const std::vector<double>& data, long first, long last) {
    checkRange(data, first, last, "CalcSummaryStats");
    const long n = last - first + 1;
    SummaryStats s;
    double sum = 0;
    for (long i = first; i <= last; ++i) sum += data[static_cast<std::size_t>(i)];
    s.mean = sum / static_cast<double>(n);
    if (n > 1) {
        double ss = 0;
        for (long i = first; i <= last; ++i) {
            const double d = data[static_cast<std::size_t>(i)] - s.mean;
            ss += d * d;
        }
        s.sd = std::sqrt(ss / static_cast<double>(n - 1));
    }
    std::vector<double> sorted(data.begin() + first, data.begin() + last + 1);
    QuickSortVariant(sorted, 0, n - 1);
    // x(r): the value of rank r (1-based), ranks clamped into 1..N so that the quartile
    // rule also holds for two and three values.
    auto x = [&](long r) {
        if (r < 1) r = 1;
        if (r > n) r = n;
        return sorted[static_cast<std::size_t>(r - 1)];
    };
    s.min = x(1);
    s.max = x(n);
    s.median = (n % 2 == 1) ? x((n + 1) / 2) : (x(n / 2) + x(n / 2 + 1)) / 2;
    const double p1 = (n + 1) / 4.0, p3 = 3.0 * (n + 1) / 4.0;
    const long k1 = static_cast<long>(p1), k3 = static_cast<long>(p3);
    const double f1 = (p1 - k1) / 0.25, f3 = (p3 - k3) / 0.25;  // 0, 1, 2 or 3, exactly
    if (f1 == 2) s.q1 = x(k1 + 1);
    else if (f1 == 0) s.q1 = (x(k1) + x(k1 + 1)) / 2;
    else if (f1 == 1) s.q1 = (3 * x(k1) + x(k1 + 1)) / 4;
    else s.q1 = (x(k1) + 3 * x(k1 + 1)) / 4;
    if (f3 == 2) s.q3 = x(k3);
    else if (f3 == 0) s.q3 = (x(k3) + x(k3 + 1)) / 2;
    else if (f3 == 1) s.q3 = (x(k3) + 3 * x(k3 + 1)) / 4;
    else s.q3 = (3 * x(k3) + x(k3 + 1)) / 4;
    return s;
}

void CalcSummaryStats(AppState& app, const std::vector<double>& data, long first, long last) {
    const SummaryStats s = summaryStats(data, first, last);
    app.StatMean = s.mean;
    app.StatSD = s.sd;
    app.StatMin = s.min;
    app.StatMax = s.max;
    app.StatMedian = s.median;
    app.StatQ1 = s.q1;
    app.StatQ3 = s.q3;
}

PointBounds pointBounds(const PointList& pts) {
    PointBounds b;
    for (const PointXYZ& p : pts) {
        if (p.x < b.xMin) b.xMin = p.x;
        if (p.y < b.yMin) b.yMin = p.y;
        if (p.x > b.xMax) b.xMax = p.x;
        if (p.y > b.yMax) b.yMax = p.y;
        if (p.z < kBlankThreshold) {
            if (p.z < b.zMin) b.zMin = p.z;
            if (p.z > b.zMax) b.zMax = p.z;
        }
    }
    return b;
}

void CalcPointBounds(AppState& app, const PointList& pts) {
    const PointBounds b = pointBounds(pts);
    app.PtXMin = b.xMin;
    app.PtYMin = b.yMin;
    app.PtZMin = b.zMin;
    app.PtXMax = b.xMax;
    app.PtYMax = b.yMax;
    app.PtZMax = b.zMax;
}

HistTable histogram(const std::vector<double>& data, long first, long last, double binWidth, double minVal,
                    double maxVal) {
    if (!(binWidth > 0)) throw Error("CalcHistogram: the class width " + text::CStr(binWidth) + " is not positive");
    const double classes = text::Round((maxVal - minVal) / binWidth);
    if (!(classes >= 0 && classes < 1e8))
        throw Error("CalcHistogram: " + text::CStr(minVal) + " to " + text::CStr(maxVal) + " in steps of " +
                    text::CStr(binWidth) + " gives no usable number of classes");
    const long b = static_cast<long>(classes);
    HistTable hist(static_cast<std::size_t>(b + 1), std::vector<double>(3, 0.0));
    for (long k = 1; k <= b; ++k) hist[static_cast<std::size_t>(k)][1] = (k - 1) * binWidth + minVal;
    if (last < first) return hist;
    checkRange(data, first, last, "CalcHistogram");
    for (long i = first; i <= last; ++i) {
        const double v = data[static_cast<std::size_t>(i)];
        const double j = std::floor((v - minVal) / binWidth) + 1;
        long row;
        if (v == maxVal) row = b;  // the top edge belongs to the last class
        else if (j >= 0 && j <= static_cast<double>(b)) row = static_cast<long>(j);
        else continue;
        hist[static_cast<std::size_t>(row)][2] += 1;
    }
    return hist;
}

void CalcHistogram(AppState& app, const std::vector<double>& data, long first, long last, double binWidth,
                   double minVal, double maxVal) {
    app.Hist = histogram(data, first, last, binWidth, minVal, maxVal);
}

} // namespace trelvik
