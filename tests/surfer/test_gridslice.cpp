// GridSlice along a polyline over a plane, and GridResiduals with both save routes.
#include "core/error.h"
#include "core/textform.h"
#include "surfer/gridslice.h"
#include "surfertest.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace surfertest;
using surfer::Named;
using surfer::Positional;
using surfer::omitted;

namespace {
double plane(double x, double y) { return 2 * x + 3 * y + 1; }

std::vector<std::vector<double>> readRecords(const std::string& path) {
    std::vector<std::vector<double>> out;
    std::string line;
    std::ifstream in(path);
    while (std::getline(in, line)) out.push_back(trelvik::text::numbers(line));
    return out;
}
} // namespace

TEST(GridSlice, PlaneProfileHasVerticesCrossingsHeightsAndDistances) {
    trelvik::testing::TempFolder dir;
    Grid g = makeGrid(11, 6, 0, 10, 0, 5, plane);
    g.at(9, 4) = trelvik::kBlank;
    const auto grid = saveGrid(dir, "g.grd", g);
    dir.write("line.bln", "4,0\r\n0.5,0.5\r\n4.5,2.5\r\n4.5,4.2\r\n12,4.2\r\n");
    auto app6 = v6();
    auto app8 = v8();
    app6->call("GridSlice", Positional{grid, dir.path("line.bln"), omitted, dir.path("s6.dat")});
    app8->call("GridSlice", Named{{"InGrid", grid}, {"BlankFile", dir.path("line.bln")}, {"OutDataFile", dir.path("s8.dat")}});
    EXPECT_EQ(dir.read("s6.dat"), dir.read("s8.dat"));

    const auto rec = readRecords(dir.path("s8.dat"));
    // segment 1: x = 1, y = 1, x = 2, x = 3, y = 2, x = 4; segment 2: y = 3, y = 4;
    // segment 3: x = 5 .. 10; four vertices.
    ASSERT_EQ(rec.size(), 4u + 6 + 2 + 6);
    const double xs[] = {0.5, 1, 1.5, 2, 3, 3.5, 4, 4.5, 4.5, 4.5, 4.5, 5, 6, 7, 8, 9, 10, 12};
    const double ys[] = {0.5, 0.75, 1, 1.25, 1.75, 2, 2.25, 2.5, 3, 4, 4.2, 4.2, 4.2, 4.2, 4.2, 4.2, 4.2, 4.2};
    const int seg[] = {1, 1, 1, 1, 1, 1, 1, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 3};
    double last = -1;
    for (std::size_t k = 0; k < rec.size(); ++k) {
        ASSERT_EQ(rec[k].size(), 5u);
        EXPECT_NEAR(rec[k][0], xs[k], 1e-12) << k;
        EXPECT_NEAR(rec[k][1], ys[k], 1e-12) << k;
        EXPECT_EQ(rec[k][4], seg[k]) << k;
        EXPECT_GT(rec[k][3], last);
        last = rec[k][3];
        const bool nearBlank = (rec[k][0] > 8 && rec[k][0] < 10) || rec[k][0] > 10;
        if (nearBlank) EXPECT_DOUBLE_EQ(rec[k][2], trelvik::kBlank) << k;
        else EXPECT_NEAR(rec[k][2], plane(rec[k][0], rec[k][1]), 1e-9) << k;
    }
    // Vertices are written exactly as given; the distance is measured along the line.
    EXPECT_EQ(rec[7][0], 4.5);
    EXPECT_NEAR(rec[7][3], std::hypot(4, 2), 1e-12);
    EXPECT_NEAR(rec.back()[3], std::hypot(4, 2) + 1.7 + 7.5, 1e-12);
    // A crossing through a node comes once: the diagonal from (0,0) to (2,2).
    const auto diag = surfer::sliceGrid(g, {surfer::BlnSection{0, {0, 2}, {0, 2}}});
    EXPECT_EQ(diag.size(), 3u);
    EXPECT_EQ(diag[1].x, 1.0);
    EXPECT_EQ(diag[1].y, 1.0);
}

TEST(GridResiduals, ResidualColumnInBothFormsWithEmptyCellsOutsideAndAtBlanks) {
    trelvik::testing::TempFolder dir;
    Grid g = makeGrid(5, 5, 0, 4, 0, 4, [](double x, double y) { return x + y; });
    g.at(0, 0) = trelvik::kBlank;
    const auto grid = saveGrid(dir, "g.grd", g);
    const std::string data = trelvik::text::PrintLine().num(1.5).num(2.5).text("0").str() + "\r\n" +
                             trelvik::text::PrintLine().num(5).num(1).text("0").str() + "\r\n" +
                             trelvik::text::PrintLine().num(0.5).num(0.5).text("0").str() + "\r\n" +
                             trelvik::text::PrintLine().num(4).num(0).text("0").str() + "\r\n";
    dir.write("p8.dat", data);
    dir.write("p6.dat", data);

    auto app8 = v8();
    app8->call("GridResiduals", Named{{"InGrid", grid}, {"DataFile", dir.path("p8.dat")}});
    app8->ActiveDocument()->Save();
    app8->ActiveDocument()->Close();
    auto app6 = v6();
    app6->call("GridResiduals", Positional{grid, dir.path("p6.dat"), 0, 1, 2, 3});
    app6->FileSaveAs(dir.path("p6.dat"));
    app6->FileClose();
    EXPECT_EQ(dir.read("p6.dat"), dir.read("p8.dat"));
    EXPECT_EQ(dir.read("p8.dat"), "1.5,2.5,0,-4\r\n5,1,0,\r\n.5,.5,0,\r\n4,0,0,-4\r\n");
    EXPECT_EQ(app8->Documents.Count(), 0);
    EXPECT_THROW(app8->call("GridResiduals", Named{{"InGrid", grid}, {"DataFile", dir.path("none.dat")}}),
                 trelvik::Error);
}
