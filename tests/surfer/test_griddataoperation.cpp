// GridData through the automation interface, in the argument forms the tool windows use:
// the version-6 positional calls (14 and 54 arguments) and the version-8 named calls,
// with the report's regression cells and the version-6 clipboard.
#include "surfertest.h"

#include "core/error.h"
#include "core/textform.h"
#include "surfer/documents.h"

#include <gtest/gtest.h>

#include <cmath>

using surfer::Named;
using surfer::omitted;
using surfer::Positional;
using surfer::Value;
using trelvik::text::CStr;

namespace {

class GridDataCall : public ::testing::Test {
protected:
    void TearDown() override { surfer::shutdownAll(); }
    trelvik::testing::TempFolder dir;
};

// Column B of report row `row` (from 1), as the worksheet route reads it.
std::string reportCell(const std::string& report, int row) {
    const auto rows = surfer::parseWorksheetText(report);
    if (static_cast<int>(rows.size()) < row || rows[static_cast<std::size_t>(row - 1)].size() < 2) return "";
    return rows[static_cast<std::size_t>(row - 1)][1];
}

Positional regression54(const std::string& data, double x0, double x1, double y0, double y1, Value dx, Value dy,
                        Value rows, Value cols, const std::string& out) {
    Positional p{data, 0, 1, 2, x0, x1, y0, y1, dx, dy, rows, cols, 3, out, 1};
    for (int i = 16; i <= 50; ++i) p.args.push_back(omitted);
    for (int i = 51; i <= 54; ++i) p.args.push_back(1);
    return p;
}

} // namespace

TEST_F(GridDataCall, Version6RegressionWritesPlaneGridReportAndClipboardFormula) {
    // Five digitised heights on z = 2.5 - 0.1 y + 0.25 x, in print-zone layout.
    const std::string data = dir.write("T1plz.dat",
                                       " 1             2             2.55 \r\n"
                                       " 3             1             3.15 \r\n"
                                       " 0             0             2.5 \r\n"
                                       " 4             5             3 \r\n"
                                       " 2.5           3.5           2.775 \r\n");
    const std::string out = dir.path("T1plane.grd");
    auto app = surfertest::v6();
    app->call("GridData", regression54(data, 0, 4, 0, 5, 0.5, 0.5, 11, 9, out));

    const auto g = trelvik::formats::readSurferGrid(out);
    ASSERT_EQ(g.cols, 9);
    ASSERT_EQ(g.rows, 11);
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c) ASSERT_NEAR(g.at(c, r), 2.5 - 0.1 * g.y(r) + 0.25 * g.x(c), 1e-9);
    EXPECT_EQ(app->clipboard(), "z(x,y) = 2.5 + -0.1y + 0.25x");
    EXPECT_EQ(reportCell(app->currentReport(), 166), "2.5");
    EXPECT_EQ(reportCell(app->currentReport(), 167), "-0.1");
    EXPECT_EQ(reportCell(app->currentReport(), 168), "0.25");
}

TEST_F(GridDataCall, Version6ReportOpensADocumentThatCloseClosesAndNothingElse) {
    const std::string data = dir.write("p.dat", "0,0,1\r\n4,0,3\r\n0,4,1\r\n");
    auto app = surfertest::v6();
    app->FileNew();  // the user's map
    auto map = app->ActiveDocument();
    app->call("GridData", regression54(data, 0, 4, 0, 4, 1, 1, 5, 5, dir.path("p.grd")));
    auto report = std::dynamic_pointer_cast<surfer::Worksheet>(app->ActiveDocument());
    ASSERT_TRUE(report);
    EXPECT_NEAR(trelvik::text::Val(report->Cells("B167").Value), 0, 1e-12);
    EXPECT_NEAR(trelvik::text::Val(report->Cells("B168").Value), 0.5, 1e-12);
    app->ActiveDocument()->Close();
    ASSERT_EQ(app->openDocuments().size(), 1u);
    EXPECT_EQ(app->ActiveDocument(), map);

    // Without the report switched on no document opens; nor does version 8 open one.
    auto quiet = regression54(data, 0, 4, 0, 4, 1, 1, 5, 5, dir.path("q.grd"));
    quiet.args[14] = 0;
    app->call("GridData", quiet);
    EXPECT_EQ(app->openDocuments().size(), 1u);
    auto v8 = surfertest::v8();
    v8->call("GridData", Named{{"DataFile", data}, {"Algorithm", 7}, {"NumCols", 5}, {"NumRows", 5},
                               {"ShowReport", true}, {"OutGrid", dir.path("r.grd")}});
    EXPECT_TRUE(v8->openDocuments().empty());
}

TEST_F(GridDataCall, Version8RegressionOfThreePointsFillsBothCellBlocks) {
    // The capture-area top: three points, a 10 x 10 grid over given extents.
    const std::string data = dir.write("tr_CPlpt.dat", "-1.5,2,4\r\n3,2,-0.5\r\n0,-4,1\r\n");
    auto app = surfertest::v8();
    app->call("GridData", Named{{"DataFile", data}, {"NumCols", 10}, {"NumRows", 10}, {"XMin", -11.5},
                                {"XMax", 13}, {"YMin", -14}, {"YMax", 12}, {"Algorithm", 7}, {"ShowReport", true},
                                {"OutGrid", dir.path("tr_CPlpt.grd")}, {"RegrMaxXOrder", 1},
                                {"RegrMaxYOrder", 1}, {"RegrMaxTotalOrder", 1}});
    // Through (-1.5, 2, 4), (3, 2, -0.5), (0, -4, 1): A = -1, B = 0.25, C = 2.
    const std::string report = app->currentReport();
    for (int base : {166, 170}) {
        EXPECT_NEAR(trelvik::text::Val(reportCell(report, base)), 2, 1e-12) << base;
        EXPECT_NEAR(trelvik::text::Val(reportCell(report, base + 1)), 0.25, 1e-12) << base;
        EXPECT_NEAR(trelvik::text::Val(reportCell(report, base + 2)), -1, 1e-12) << base;
    }
    EXPECT_TRUE(app->clipboard().empty());  // version 8 leaves the clipboard alone
    const auto g = trelvik::formats::readSurferGrid(dir.path("tr_CPlpt.grd"));
    EXPECT_EQ(g.cols, 10);
    EXPECT_NEAR(g.at(0, 0), 2 + 0.25 * -14 - -11.5, 1e-9);
}

TEST_F(GridDataCall, BlankNodesOfAnXyzDumpAreNotGriddedInEitherForm) {
    // A plane with a blank hole, as the grid's XYZ dump holds it.
    auto plane = [](double x, double y) { return 1 + x - 0.5 * y; };
    trelvik::Grid u = surfertest::makeGrid(11, 9, 0, 5, 0, 4, plane);
    for (int r = 3; r <= 5; ++r)
        for (int c = 4; c <= 6; ++c) u.at(c, r) = trelvik::kBlank;
    std::string dump;
    for (int r = 0; r < u.rows; ++r)
        for (int c = 0; c < u.cols; ++c)
            dump += CStr(u.x(c)) + " " + CStr(u.y(r)) + " " + CStr(u.at(c, r)) + "\r\n";
    const std::string data = dir.write("temp.dat", dump);

    auto a6 = surfertest::v6();
    a6->call("GridData", Positional{data, 0, 1, 2, 0.0, 5.0, 0.0, 4.0, 0.5, 0.5, omitted, omitted, 1,
                                    dir.path("v6.grd")});
    auto a8 = surfertest::v8();
    a8->call("GridData", Named{{"DataFile", data}, {"XCol", 1}, {"yCol", 2}, {"zCol", 3},
                               {"ExclusionFilter", "Z > 1E38"}, {"NumCols", 11}, {"NumRows", 9}, {"XMin", 0.0},
                               {"XMax", 5.0}, {"YMin", 0.0}, {"YMax", 4.0}, {"Algorithm", 2},
                               {"ShowReport", false}, {"OutGrid", dir.path("v8.grd")}});
    for (const char* name : {"v6.grd", "v8.grd"}) {
        const auto g = trelvik::formats::readSurferGrid(dir.path(name));
        ASSERT_EQ(g.cols, 11);
        ASSERT_EQ(g.rows, 9);
        for (int r = 0; r < g.rows; ++r)
            for (int c = 0; c < g.cols; ++c) {
                if (u.blank(c, r)) {  // filled from the surrounding plane, never the blank value
                    EXPECT_NEAR(g.at(c, r), plane(g.x(c), g.y(r)), 0.5) << name;
                } else {
                    EXPECT_NEAR(g.at(c, r), u.at(c, r), 1e-9) << name;  // exact at data
                }
            }
    }
    EXPECT_TRUE(a8->currentReport().empty());  // ShowReport False
}

TEST_F(GridDataCall, LatticeFromDataExtentsSpacingsAndRoundedCounts) {
    const std::string data = dir.write("trs.dat", "0.1,0.2,1\r\n2.3,0.4,2\r\n1.2,1.9,3\r\n0.9,0.9,4\r\n");
    // Version 6 regrid of rotated points: limits left to the data, spacing 0.5.
    auto a6 = surfertest::v6();
    a6->call("GridData", Positional{data, 0, 1, 2, omitted, omitted, omitted, omitted, "0.5", "0.5", omitted,
                                    omitted, 6, dir.path("trs.grd")});
    auto g = trelvik::formats::readSurferGrid(dir.path("trs.grd"));
    EXPECT_EQ(g.cols, 5);  // Round(2.2 / 0.5) + 1
    EXPECT_EQ(g.rows, 4);  // Round(1.7 / 0.5) + 1
    EXPECT_NEAR(g.xMin, 0.1, 1e-12);
    EXPECT_NEAR(g.xSpacing(), 0.5, 1e-12);

    // Version 8 with a fractional column count, and no column numbers given.
    auto a8 = surfertest::v8();
    a8->call("GridData", Named{{"DataFile", data}, {"NumCols", 6.5}, {"NumRows", 4}, {"XMin", 0.0},
                               {"XMax", 2.5}, {"YMin", 0.0}, {"YMax", 2.0}, {"Algorithm", 6},
                               {"ShowReport", false}, {"OutGrid", dir.path("nn.grd")}});
    g = trelvik::formats::readSurferGrid(dir.path("nn.grd"));
    EXPECT_EQ(g.cols, 6);
    EXPECT_EQ(g.at(0, 0), 1);  // nearest to (0, 0) is (0.1, 0.2)
}

TEST_F(GridDataCall, FailuresNameTheProblemAndLeaveNoStaleReport) {
    const std::string data = dir.write("p.dat", "0 0 1\n1 0 2\n0 1 3\n");
    auto app = surfertest::v8();
    const Named good{{"DataFile", data}, {"NumCols", 3}, {"NumRows", 3}, {"Algorithm", 7}, {"ShowReport", true},
                     {"OutGrid", dir.path("a.grd")}};
    app->call("GridData", good);
    ASSERT_FALSE(app->currentReport().empty());
    try {
        app->call("GridData", Named{{"DataFile", dir.path("none.dat")}, {"NumCols", 3}, {"NumRows", 3},
                                    {"Algorithm", 7}, {"ShowReport", true}, {"OutGrid", dir.path("b.grd")}});
        FAIL();
    } catch (const trelvik::Error& e) {
        EXPECT_NE(std::string(e.what()).find("none.dat"), std::string::npos);
    }
    EXPECT_TRUE(app->currentReport().empty());
    EXPECT_THROW(app->call("GridData", Named{{"DataFile", data}, {"NumCols", 3}, {"NumRows", 3}, {"Algorithm", 4},
                                             {"OutGrid", dir.path("c.grd")}}),
                 trelvik::Error);
    Positional reserved = regression54(data, 0, 1, 0, 1, omitted, omitted, 3, 3, dir.path("d.grd"));
    reserved.args[19] = 5;  // position 20 is not in use
    EXPECT_THROW(surfertest::v6()->call("GridData", reserved), trelvik::Error);
}
