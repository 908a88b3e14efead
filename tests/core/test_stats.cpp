#include "core/stats.h"

#include "core/error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

using namespace trelvik;

namespace {
std::vector<double> upTo(int n) {
    std::vector<double> v(static_cast<std::size_t>(n));
    std::iota(v.begin(), v.end(), 1.0);
    return v;
}
}  // namespace

TEST(Stats, QuartileWorkedExamples) {
    struct Case {
        int n;
        double q1, median, q3;
    } cases[] = {{1, 1, 1, 1},       {2, 1, 1.5, 2},     {3, 1.5, 2, 3},     {4, 1.25, 2.5, 3.25},
                 {5, 2, 3, 4},       {6, 1.75, 3.5, 5.75}, {7, 2.5, 4, 6.5}};
    for (const Case& c : cases) {
        const SummaryStats s = summaryStats(upTo(c.n), 0, c.n - 1);
        EXPECT_DOUBLE_EQ(s.q1, c.q1) << "N=" << c.n;
        EXPECT_DOUBLE_EQ(s.median, c.median) << "N=" << c.n;
        EXPECT_DOUBLE_EQ(s.q3, c.q3) << "N=" << c.n;
        EXPECT_EQ(s.min, 1);
        EXPECT_EQ(s.max, c.n);
    }
}

TEST(Stats, MeanSdAndSharedResults) {
    AppState app;
    const std::vector<double> d{9, 4, 1, 3, 2, 7};
    CalcSummaryStats(app, d, 1, 4);  // 4, 1, 3, 2
    EXPECT_DOUBLE_EQ(app.StatMean, 2.5);
    EXPECT_DOUBLE_EQ(app.StatSD, std::sqrt(5.0 / 3.0));
    EXPECT_EQ(app.StatMin, 1);
    EXPECT_EQ(app.StatMax, 4);
    EXPECT_DOUBLE_EQ(app.StatMedian, 2.5);
    EXPECT_DOUBLE_EQ(app.StatQ1, 1.25);
    EXPECT_DOUBLE_EQ(app.StatQ3, 3.25);
    EXPECT_EQ(d, (std::vector<double>{9, 4, 1, 3, 2, 7}));
    CalcSummaryStats(app, d, 0, 0);
    EXPECT_EQ(app.StatSD, 0);
    EXPECT_EQ(app.StatQ1, 9);
    EXPECT_EQ(app.StatQ3, 9);
    EXPECT_THROW(CalcSummaryStats(app, d, 3, 2), Error);
    EXPECT_THROW(CalcSummaryStats(app, d, 0, 6), Error);
}

TEST(Stats, PointBounds) {
    AppState app;
    CalcPointBounds(app, {});
    EXPECT_EQ(app.PtXMin, 1e7);
    EXPECT_EQ(app.PtZMax, -1e7);
    CalcPointBounds(app, {{1, 5, 2}, {-3, 8, 1.70141e38}, {4, -2, -1}});
    EXPECT_EQ(app.PtXMin, -3);
    EXPECT_EQ(app.PtXMax, 4);
    EXPECT_EQ(app.PtYMin, -2);
    EXPECT_EQ(app.PtYMax, 8);
    EXPECT_EQ(app.PtZMin, -1);
    EXPECT_EQ(app.PtZMax, 2);
}

TEST(Stats, HistogramClasses) {
    AppState app;
    // 0..90 by 11.25: 8 classes; 11.25 in class 2, -5 in row 0, 90 in the last class,
    // 95 and -20 nowhere.
    const std::vector<double> d{0, 11.25, 11.2, -5, 90, 95, -20, 78.75, 89.9};
    CalcHistogram(app, d, 0, static_cast<long>(d.size()) - 1, 11.25, 0, 90);
    ASSERT_EQ(app.Hist.size(), 9u);
    for (int k = 1; k <= 8; ++k) EXPECT_DOUBLE_EQ(app.Hist[static_cast<std::size_t>(k)][1], (k - 1) * 11.25);
    EXPECT_EQ(app.Hist[0][2], 1);  // -5
    EXPECT_EQ(app.Hist[1][2], 2);  // 0, 11.2
    EXPECT_EQ(app.Hist[2][2], 1);  // 11.25
    EXPECT_EQ(app.Hist[8][2], 3);  // 78.75, 89.9, 90
    double total = 0;
    for (const auto& row : app.Hist) total += row[2];
    EXPECT_EQ(total, 7);
    // Halves to even in the class count: 2.5 classes -> 2.
    EXPECT_EQ(histogram(d, 0, 0, 1, 0, 2.5).size(), 3u);
    EXPECT_THROW(histogram(d, 0, 0, 0, 0, 1), Error);
}
