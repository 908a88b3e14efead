#pragma once
// Summary statistics, point bounds and fixed-width histograms over lists of numbers.
// Each routine comes twice: a pure form that returns its result, and the form the tool
// windows call, which leaves the result in the shared AppState fields (StatMean...,
// PtXMin..., Hist) for the caller to read right after the call.
#include "core/appstate.h"
#include "core/points.h"

#include <vector>

namespace trelvik {

// data[first..last] (inclusive, 0-based, at least one value; data keeps its order).
//  mean    the sum in index order divided by N
//  sd      sample standard deviation (N - 1 divisor), 0 for one value
//  min/max/median of the sorted values; quartiles by rank p = (N+1)/4 and 3(N+1)/4 with
//  the system's own blend of the neighbouring ranks (1,2,3,4 give 1.25 and 3.25);
//  ranks below 1 count as 1 and above N as N (1,2 give 1 and 2; 1,2,3 give 1.5 and 3).
// A bad range throws trelvik::Error.
struct SummaryStats {
    double mean = 0, sd = 0, min = 0, max = 0, median = 0, q1 = 0, q3 = 0;
};
SummaryStats summaryStats(const std::vector<double>& data, long first, long last);
void CalcSummaryStats(AppState& app, const std::vector<double>& data, long first, long last);

// Bounds of every point of pts: x and y over all points, z only over z < 1E+37.
// Minima start at 1E+7 and maxima at -1E+7, so an empty list (or all z blank) leaves those.
struct PointBounds {
    double xMin = 1e7, yMin = 1e7, zMin = 1e7, xMax = -1e7, yMax = -1e7, zMax = -1e7;
};
PointBounds pointBounds(const PointList& pts);
void CalcPointBounds(AppState& app, const PointList& pts);

// Histogram of data[first..last] with classes of width binWidth from minVal:
// B = Round((maxVal - minVal) / binWidth) classes (halves to even); rows 0..B, columns
// 0..2; row k (1..B) holds its lower edge minVal + (k-1) * binWidth in column 1 and its
// count in column 2. A value x goes to row floor((x - minVal) / binWidth) + 1; row 0
// gathers [minVal - binWidth, minVal) and has no edge. A value equal to maxVal counts
// in row B; any other value outside rows 0..B counts nowhere. binWidth must be > 0.
using HistTable = std::vector<std::vector<double>>;
HistTable histogram(const std::vector<double>& data, long first, long last, double binWidth, double minVal,
                    double maxVal);
void CalcHistogram(AppState& app, const std::vector<double>& data, long first, long last, double binWidth,
                   double minVal, double maxVal);

} // namespace trelvik
