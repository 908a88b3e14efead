// Every call shape the tool windows issue to the stand-in, in the form each window uses
// (version-6 positions, version-8 positions or names), run on real files and checked for
// the effect that window relies on: the output in the format asked for, the cells or
// result elements it reads back, the columns it reads from a rewritten data file.
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/xyzdump.h"
#include "surfer/documents.h"
#include "surfertest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <variant>

using namespace surfertest;
using surfer::Named;
using surfer::omitted;
using surfer::Positional;
using trelvik::formats::SurferGridFormat;
using trelvik::text::Val;

namespace {

// The grid every shape starts from: z = 1 + 0.5x + 0.25y, 9 x 7 nodes over [0,4] x [0,3].
double plane(double x, double y) { return 1 + 0.5 * x + 0.25 * y; }

struct Shape {
    std::string caller;  // the window or routine issuing the call, for the failure message
    int version;
    std::string op;
    std::variant<Positional, Named> args;
    std::function<void(surfer::Application&)> check;
};

Grid readGrid(const std::string& p) { return trelvik::formats::readSurferGrid(p); }

void expectFormat(const std::string& p, SurferGridFormat f) {
    EXPECT_EQ(trelvik::formats::detectSurferGridFormat(p), f) << p;
}

// An XYZ dump of the 9 x 7 lattice: x fastest from (0, 0); returns the records.
trelvik::PointList expectDump(const std::string& p) {
    const auto pts = trelvik::formats::readXyzDump(p);
    EXPECT_EQ(pts.size(), 63u) << p;
    if (pts.size() == 63) {
        EXPECT_EQ(pts[1].x, 0.5);
        EXPECT_EQ(pts[9].y, 0.5);
    }
    return pts;
}

std::vector<std::vector<double>> numberLines(const std::string& text) {
    std::vector<std::vector<double>> out;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string_view line(text.data() + start, end - start);
        if (line.find_first_not_of(" \r") != std::string_view::npos) out.push_back(trelvik::text::numbers(line));
        start = end + 1;
    }
    return out;
}

} // namespace

TEST(CallShapes, EveryCallerShapeIsAcceptedWithTheMeaningItReliesOn) {
    trelvik::testing::TempFolder dir;
    const auto g = saveGrid(dir, "g.grd", makeGrid(9, 7, 0, 4, 0, 3, plane));
    const auto two = saveGrid(dir, "two.grd", makeGrid(9, 7, 0, 4, 0, 3, [](double, double) { return 2.0; }));
    const auto under = saveGrid(dir, "under.grd", makeGrid(9, 7, 0, 4, 0, 3, [](double x, double y) { return plane(x, y) - 1; }));
    // Outline of [1,3] x [1,2] (15 nodes inside or on it), comma layout; a slice line along y = 1.
    const auto bln = dir.write("out.bln", "5,0\r\n1,1\r\n3,1\r\n3,2\r\n1,2\r\n1,1\r\n");
    const auto line = dir.write("line.bln", "2 0\r\n0.25 1\r\n3.75 1\r\n");
    // Points of z = 2 + x - y on a 5 x 5 lattice over [0,4]^2, one blank record amid them.
    std::string pts;
    for (int j = 0; j <= 4; ++j)
        for (int i = 0; i <= 4; ++i) {
            pts += std::to_string(i) + " " + std::to_string(j) + " " + std::to_string(2 + i - j) + "\r\n";
            if (i == 2 && j == 2) pts += "2.5 2.5 1.70141E+38\r\n";
        }
    const auto data = dir.write("pts.dat", pts);
    std::string csv = pts;
    for (char& c : csv)
        if (c == ' ') c = ',';
    const auto dataCsv = dir.write("pts.csv", csv);
    // Zero-height point file in print zones; the third point lies off the grid.
    const std::string zeroText = " 1             1             0\r\n 2.5           .5            0\r\n 9             9             0\r\n";
    const std::string slope = trelvik::text::CStr(std::atan(std::sqrt(0.3125)) * 180 / std::numbers::pi);

    surfer::ResultArray resultsLevel(12), resultsGrid(12), kernel{1, 1, 1, 1, 4, 1, 1, 1, 1}, unset;
    auto out = [&](const std::string& name) { return dir.path(name); };
    auto sheetCell = [&](surfer::Application& app, long r, long c, const std::string& path) {
        auto sheet = app.FileOpen(path, 1);
        const double v = Val(app.GetWksCell(sheet, r, c));
        app.FileClose();
        return v;
    };
    auto residuals = [&](const std::string& name) {
        const auto rows = surfer::readWorksheetFile(out(name));
        ASSERT_EQ(rows.size(), 3u);
        ASSERT_GE(rows[0].size(), 4u);
        EXPECT_DOUBLE_EQ(Val(rows[0][3]), -plane(1, 1));
        EXPECT_DOUBLE_EQ(Val(rows[1][3]), -plane(2.5, 0.5));
        EXPECT_TRUE(rows[2].size() < 4 || rows[2][3].empty()) << "a point off the grid has no residual";
    };
    auto blanked = [&](const Grid& b) {
        int kept = 0;
        for (double z : b.z) kept += !trelvik::isBlank(z);
        EXPECT_EQ(kept, 15);
        EXPECT_EQ(b.at(2, 2), plane(1, 1));  // a corner of the outline counts as inside
    };
    auto lattice = [&](const std::string& p, int cols, int rows, double x0, double x1, double y0, double y1) {
        const Grid r = readGrid(p);
        EXPECT_EQ(r.cols, cols) << p;
        EXPECT_EQ(r.rows, rows) << p;
        EXPECT_NEAR(r.xMin, x0, 1e-12);
        EXPECT_NEAR(r.xMax, x1, 1e-12);
        EXPECT_NEAR(r.yMin, y0, 1e-12);
        EXPECT_NEAR(r.yMax, y1, 1e-12);
        return r;
    };
    auto onQ = [&](const std::string& p, int cols, int rows) {  // gridded z = 2 + x - y over [0,4]^2
        const Grid r = lattice(p, cols, rows, 0, 4, 0, 4);
        for (int j = 0; j < r.rows; ++j)
            for (int i = 0; i < r.cols; ++i) EXPECT_NEAR(r.at(i, j), 2 + r.x(i) - r.y(j), 1e-9) << p << " " << i << "," << j;
    };
    auto interior = [&](const std::string& p, double want) { EXPECT_NEAR(readGrid(p).at(4, 3), want, 1e-9) << p; };
    const std::string regression = "z(x,y) = 2 + -1y + 1x";

    const std::vector<Shape> shapes = {
        // Grid as XYZ text: grid geometry scan, extraction, regridding, conversion windows.
        {"grid geometry, conversion", 6, "GridConvert", Positional{g, out("c6.dat"), 3},
         [&](auto&) { EXPECT_EQ(expectDump(out("c6.dat"))[1].z, plane(0.5, 0)); }},
        {"grid geometry", 8, "GridConvert", Named{{"InGrid", g}, {"OutGrid", out("c8.dat")}, {"OutFmt", 4}},
         [&](auto&) { expectDump(out("c8.dat")); }},
        {"extraction, regridding, conversion", 8, "GridConvert", Positional{g, out("c8p.dat"), 4},
         [&](auto&) { expectDump(out("c8p.dat")); }},
        // Blanking: outline flag 0 keeps the inside.
        {"blanking, rotation", 6, "GridBlank", Positional{g, bln, out("b6.grd"), 1},
         [&](auto&) { expectFormat(out("b6.grd"), SurferGridFormat::Binary6); blanked(readGrid(out("b6.grd"))); }},
        {"curvature area (irregular)", 6, "GridBlank", Positional{g, bln, out("b6n.grd")},
         [&](auto&) { blanked(readGrid(out("b6n.grd"))); }},
        {"curvature area, capture area", 6, "GridBlank", Positional{g, bln, out("b6.dat"), 3}, [&](auto&) {
             int blank = 0;
             for (const auto& p : expectDump(out("b6.dat"))) blank += p.z == trelvik::kBlank;
             EXPECT_EQ(blank, 63 - 15);
         }},
        {"blanking, conversion", 8, "GridBlank", Named{{"InGrid", g}, {"BlankFile", bln}, {"OutGrid", out("b8.grd")}},
         [&](auto&) { expectFormat(out("b8.grd"), SurferGridFormat::Binary7); blanked(readGrid(out("b8.grd"))); }},
        {"cusp volume", 8, "GridBlank", Positional{g, bln, out("b8p.grd")}, [&](auto&) { blanked(readGrid(out("b8p.grd"))); }},
        {"curvature area, capture area", 8, "GridBlank",
         Named{{"InGrid", g}, {"BlankFile", bln}, {"OutGrid", out("b8.dat")}, {"OutFmt", 4}},
         [&](auto&) { expectDump(out("b8.dat")); }},
        // Extraction: rows 2 to 4 and columns 1 to 5, every second one.
        {"extraction", 6, "GridExtract", Positional{g, 2, 1, 4, 5, 2, 2, out("e6.grd")},
         [&](auto&) { lattice(out("e6.grd"), 3, 2, 0, 2, 0.5, 1.5); }},
        {"extraction", 8, "GridExtract", Positional{g, 2, 4, 2, 1, 5, 2, out("e8.grd")},
         [&](auto&) { lattice(out("e8.grd"), 3, 2, 0, 2, 0.5, 1.5); }},
        {"conversion extract", 6, "GridExtract",
         Named{{"InGrid", g}, {"r1", -1}, {"r2", -1}, {"rFreq", -1}, {"c1", 3}, {"c2", -1}, {"cFreq", -1}, {"OutGrid", out("en.grd")}},
         [&](auto&) { lattice(out("en.grd"), 7, 7, 1, 4, 0, 3); }},
        // Transforms: re-zeroing offset (named whatever the version), mirrors and rotation.
        {"re-zeroing", 6, "GridTransform",
         Named{{"InGrid", g}, {"Operation", 1}, {"XOffset", -1.0}, {"YOffset", -2.0}, {"OutGrid", out("t1.grd")}},
         [&](auto&) { lattice(out("t1.grd"), 9, 7, -1, 3, -2, 1); }},
        {"grid functions mirror X", 8, "GridTransform", Named{{"InGrid", g}, {"Operation", 4}, {"OutGrid", out("mx.grd")}},
         [&](auto&) { EXPECT_EQ(readGrid(out("mx.grd")).at(0, 0), plane(4, 0)); }},
        {"grid functions rotate 90", 8, "GridTransform",
         Named{{"InGrid", g}, {"Operation", 3}, {"Rotation", -90}, {"OutGrid", out("r90.grd")}},
         [&](auto&) { EXPECT_EQ(readGrid(out("r90.grd")).cols, 7); }},
        {"multi-tooth mirror", 6, "GridTransform",
         Positional{g, 4, omitted, omitted, omitted, omitted, omitted, out("my6.dat"), 3},
         [&](auto&) { EXPECT_EQ(expectDump(out("my6.dat"))[0].z, plane(0, 3)); }},
        {"multi-tooth mirror", 8, "GridTransform",
         Named{{"InGrid", g}, {"Operation", 5}, {"OutGrid", out("my8.dat")}, {"OutFmt", 4}},
         [&](auto&) { EXPECT_EQ(dir.read("my8.dat"), dir.read("my6.dat")); }},
        // Grid arithmetic in the texts the callers build.
        {"re-zeroing", 6, "GridMath", Named{{"Function", "C = A - -0.5"}, {"InGridA", g}, {"OutGridC", out("m1.grd")}},
         [&](auto&) { interior(out("m1.grd"), plane(2, 1.5) + 0.5); }},
        {"curvature, plane fit", 6, "GridMath", Positional{two, g, out("m2.grd"), omitted, "C=max(A,B)"},
         [&](auto&) { EXPECT_EQ(readGrid(out("m2.grd")).at(0, 0), 2); EXPECT_EQ(readGrid(out("m2.grd")).at(8, 6), 3.75); }},
        {"curvature, plane fit, compare", 8, "GridMath",
         Named{{"Function", "C=max(A,B)"}, {"InGridA", two}, {"InGridB", g}, {"OutGridC", out("m3.grd")}},
         [&](auto&) { EXPECT_EQ(dir.read("m3.grd"), dir.read("m2.grd")); }},
        {"curvature copy", 6, "GridMath", Positional{g, omitted, out("m4.grd"), omitted, "C=A"},
         [&](auto&) { EXPECT_EQ(readGrid(out("m4.grd")).z, readGrid(g).z); }},
        {"cusp volume heights", 6, "GridMath", Positional{g, two, out("m5.grd"), 1, "C=A-B"},
         [&](auto&) { expectFormat(out("m5.grd"), SurferGridFormat::Binary6); interior(out("m5.grd"), plane(2, 1.5) - 2); }},
        {"cusp volume levels", 6, "GridMath", Positional{g, omitted, out("m6.grd"), 1, "C = A +-.1"},
         [&](auto&) { EXPECT_NEAR(readGrid(out("m6.grd")).at(4, 3), plane(2, 1.5) - 0.1, 1e-6); }},  // single precision
        {"grid functions mirror Z", 8, "GridMath", Named{{"Function", "C=3.75-A +1"}, {"InGridA", g}, {"OutGridC", out("m7.grd")}},
         [&](auto&) { EXPECT_EQ(readGrid(out("m7.grd")).at(0, 0), 3.75); }},
        {"grid functions inverse", 8, "GridMath", Named{{"Function", "C=1/A"}, {"InGridA", g}, {"OutGridC", out("m8.grd")}},
         [&](auto&) { EXPECT_EQ(readGrid(out("m8.grd")).at(0, 0), 1); }},
        // Volumes: the version-6 sheet cells and the version-8 result elements.
        {"grid geometry (sheet)", 6, "GridVolume", Positional{g, omitted, omitted, 0}, [&](surfer::Application& app) {
             app.FileSaveAs(out("volume.dat"));
             app.FileClose();
             const std::vector<std::tuple<long, long, double>> cells = {
                 {4, 4, 9}, {4, 7, 7}, {5, 2, 0.5}, {6, 2, 0.5}, {7, 1, 0}, {7, 3, 4}, {8, 1, 0}, {8, 3, 3}, {9, 1, 1}, {9, 3, 3.75},
                 {27, 3, 12}, {34, 3, 12 * std::sqrt(1.3125)}};
             for (const auto& [r, c, v] : cells) EXPECT_NEAR(sheetCell(app, r, c, out("volume.dat")), v, 1e-12) << r << "," << c;
         }},
        {"cusp volume (sheet)", 6, "GridVolume", Positional{g, omitted, under}, [&](surfer::Application& app) {
             app.FileSaveAs(out("volume2.dat"));
             app.FileClose();
             EXPECT_NEAR(sheetCell(app, 27, 3, out("volume2.dat")), 12, 1e-12);
             EXPECT_NEAR(sheetCell(app, 40, 3, out("volume2.dat")), 12 * std::sqrt(1.3125), 1e-12);
         }},
        {"area table, curvature area", 8, "GridVolume",
         Named{{"Upper", g}, {"Lower", 0}, {"pResults", resultsLevel}, {"ShowReport", false}}, [&](auto&) {
             EXPECT_NEAR(resultsLevel[3], 28.5, 1e-12);  // area 12 x mean height 2.375
             EXPECT_NEAR(resultsLevel[5], 12, 1e-12);
             EXPECT_NEAR(resultsLevel[7], 12 * std::sqrt(1.3125), 1e-12);
             EXPECT_EQ(resultsLevel[9], 0);
         }},
        {"cusp volume", 8, "GridVolume", Named{{"Upper", g}, {"Lower", under}, {"pResults", resultsGrid}}, [&](auto&) {
             EXPECT_NEAR(resultsGrid[3], 12, 1e-12);
             EXPECT_NEAR(resultsGrid[7], 12 * std::sqrt(1.3125), 1e-12);
         }},
        // Slices: vertices and the seven column lines crossed, five values per record.
        {"crest, profiles, rake", 6, "GridSlice", Positional{g, line, omitted, out("s6.dat")}, [&](auto&) {
             const auto recs = numberLines(dir.read("s6.dat"));
             ASSERT_EQ(recs.size(), 9u);
             for (const auto& r : recs) {
                 ASSERT_EQ(r.size(), 5u);
                 EXPECT_DOUBLE_EQ(r[2], plane(r[0], 1));
                 EXPECT_DOUBLE_EQ(r[3], r[0] - 0.25);
             }
         }},
        {"crest, profiles, rake", 8, "GridSlice", Named{{"InGrid", g}, {"BlankFile", line}, {"OutDataFile", out("s8.dat")}},
         [&](auto&) { EXPECT_EQ(dir.read("s8.dat"), dir.read("s6.dat")); }},
        // Residuals: the data file becomes the active document; the caller saves and closes it.
        {"plane fit, capture area", 6, "GridResiduals", Positional{g, dir.write("r6.dat", zeroText), 0, 1, 2, 3},
         [&](surfer::Application& app) {
             app.FileSaveAs(out("r6.dat"));
             app.FileClose();
             residuals("r6.dat");
         }},
        {"capture area", 8, "GridResiduals", Named{{"InGrid", g}, {"DataFile", dir.write("r8.dat", zeroText)}},
         [&](surfer::Application& app) {
             app.ActiveDocument()->Save();
             app.ActiveDocument()->Close();
             residuals("r8.dat");
         }},
        {"approach angle", 8, "GridResiduals", Positional{g, dir.write("r8p.dat", zeroText)}, [&](surfer::Application& app) {
             app.ActiveDocument()->Save();
             app.ActiveDocument()->Close();
             residuals("r8p.dat");
         }},
        // Gridding.
        {"regrid and blank, fix resolution", 6, "GridData",
         Positional{data, short(0), short(1), short(2), 0.0, 4.0, 0.0, 4.0, 1.0, 1.0, omitted, omitted, 1, out("d1.grd")},
         [&](auto&) { onQ(out("d1.grd"), 5, 5); }},
        {"plane fit, occlusal plane, capture area", 6, "GridData",
         [&] {
             Positional p{data, short(0), short(1), short(2), 0.0, 4.0, 0.0, 4.0, omitted, omitted, short(8), short(10), short(3),
                          out("d2.grd"), short(1)};
             for (int k = 16; k <= 50; ++k) p.args.push_back(omitted);
             for (int k = 51; k <= 54; ++k) p.args.push_back(short(1));
             return p;
         }(),
         [&](surfer::Application& app) {
             onQ(out("d2.grd"), 10, 8);
             EXPECT_EQ(app.clipboard(), regression);
         }},
        {"rotation, capture area", 6, "GridData",
         Positional{data, 0, 1, 2, omitted, omitted, omitted, omitted, 1.0, 1.0, omitted, omitted, 6, out("d3.grd")},
         [&](auto&) { onQ(out("d3.grd"), 5, 5); }},
        {"conversion lattice, TIFF", 6, "GridData",
         Positional{dataCsv, 0, 1, 2, 0, 4, 0, 4, omitted, omitted, 5, 9, 6, out("d4.grd")}, [&](auto&) { onQ(out("d4.grd"), 9, 5); }},
        {"regrid and blank", 8, "GridData",
         Named{{"DataFile", data}, {"XCol", 1}, {"yCol", 2}, {"zCol", 3}, {"ExclusionFilter", "Z > 1E38"}, {"NumCols", 5},
               {"NumRows", 5}, {"XMin", 0}, {"XMax", 4}, {"YMin", 0}, {"YMax", 4}, {"Algorithm", 2}, {"ShowReport", false},
               {"OutGrid", out("d5.grd")}},
         [&](auto&) { onQ(out("d5.grd"), 5, 5); }},
        {"plane fit, occlusal plane, capture area", 8, "GridData",
         Named{{"DataFile", data}, {"NumCols", 10}, {"NumRows", 10}, {"XMin", 0}, {"XMax", 4}, {"YMin", 0}, {"YMax", 4},
               {"Algorithm", 7}, {"ShowReport", true}, {"OutGrid", out("d6.grd")}, {"RegrMaxXOrder", 1}, {"RegrMaxYOrder", 1},
               {"RegrMaxTotalOrder", 1}},
         [&](surfer::Application& app) {
             onQ(out("d6.grd"), 10, 10);
             trelvik::writeFileAtomic(out("report.txt"), app.currentReport());
             auto sheet = app.Documents.Open(out("report.txt"));
             for (const char* c : {"B166", "B170"}) EXPECT_NEAR(Val(sheet->Cells(c).Value), 2, 1e-12) << c;
             for (const char* c : {"B167", "B171"}) EXPECT_NEAR(Val(sheet->Cells(c).Value), -1, 1e-12) << c;
             for (const char* c : {"B168", "B172"}) EXPECT_NEAR(Val(sheet->Cells(c).Value), 1, 1e-12) << c;
             app.ActiveWindow().Close();
         }},
        {"rotation, conversion, TIFF", 8, "GridData",
         Named{{"DataFile", dataCsv}, {"NumCols", 9}, {"NumRows", 5}, {"XMin", 0}, {"XMax", 4}, {"YMin", 0}, {"YMax", 4},
               {"Algorithm", 9}, {"ShowReport", false}, {"OutGrid", out("d7.grd")}},
         [&](auto&) { onQ(out("d7.grd"), 9, 5); }},
        {"conversion inverse distance", 8, "GridData",
         Named{{"DataFile", data}, {"XCol", 1}, {"yCol", 2}, {"zCol", 3}, {"NumCols", 5}, {"NumRows", 5}, {"XMin", 0},
               {"XMax", 4}, {"YMin", 0}, {"YMax", 4}, {"Algorithm", 1}, {"ShowReport", false}, {"OutGrid", out("d8.grd")}},
         [&](auto&) { onQ(out("d8.grd"), 5, 5); }},
        {"conversion nearest neighbour", 8, "GridData",
         Named{{"DataFile", data}, {"NumCols", 5}, {"NumRows", 5}, {"XMin", 0}, {"XMax", 4}, {"YMin", 0}, {"YMax", 4},
               {"Algorithm", 6}, {"ShowReport", false}, {"OutGrid", out("d9.grd")}},
         [&](auto&) { onQ(out("d9.grd"), 5, 5); }},
        // Calculus on the plane: no curvature, its slope, and its downhill bearing.
        {"curvature", 6, "GridCalculus", Positional{g, 0, 2, 30.0, omitted, omitted, omitted, omitted, out("k6.grd")},
         [&](auto&) { interior(out("k6.grd"), 0); }},
        {"curvature", 8, "GridCalculus", Named{{"InGrid", g}, {"Operation", 3}, {"Param1", 30.0}, {"OutGrid", out("k8.grd")}},
         [&](auto&) { interior(out("k8.grd"), 0); }},
        {"terrain slope", 6, "GridCalculus", Positional{g, 1, omitted, omitted, 0, omitted, omitted, omitted, out("ts6.grd")},
         [&](auto&) { interior(out("ts6.grd"), Val(slope)); }},
        {"terrain slope", 8, "GridCalculus", Named{{"InGrid", g}, {"Operation", 4}, {"OutGrid", out("ts8.grd")}},
         [&](auto&) { interior(out("ts8.grd"), Val(slope)); }},
        {"terrain aspect", 6, "GridCalculus", Positional{g, 1, omitted, omitted, 1, omitted, omitted, omitted, out("ta6.grd")},
         [&](auto&) { interior(out("ta6.grd"), 180 + std::atan2(0.5, 0.25) * 180 / std::numbers::pi); }},
        {"terrain aspect", 8, "GridCalculus",
         Named{{"InGrid", g}, {"Operation", 5}, {"Param1", 0.01}, {"OutGrid", out("ta8.grd")}, {"OutFmt", 3}}, [&](auto&) {
             expectFormat(out("ta8.grd"), SurferGridFormat::Binary7);
             interior(out("ta8.grd"), 180 + std::atan2(0.5, 0.25) * 180 / std::numbers::pi);
         }},
        // Smoothing: a symmetric low-pass keeps a plane's interior.
        {"smoothing table, defined filter", 8, "GridFilter",
         Positional{g, 5, omitted, omitted, 3, omitted, omitted, 3, 3, omitted, omitted, kernel, out("f1.grd")},
         [&](auto&) { interior(out("f1.grd"), plane(2, 1.5)); }},
        {"smoothing table, listed filter", 8, "GridFilter",
         Positional{g, 1, omitted, omitted, 1, omitted, omitted, 3, 3, omitted, omitted, unset, out("f2.grd")},
         [&](auto&) { interior(out("f2.grd"), plane(2, 1.5)); }},
        {"topography average", 8, "GridFilter",
         Named{{"InGrid", g}, {"Filter", 5}, {"NumPasses", 3}, {"NumRow", 3}, {"NumCol", 3}, {"UserFilter", kernel},
               {"OutGrid", out("f3.grd")}},
         [&](auto&) { EXPECT_EQ(dir.read("f3.grd"), dir.read("f1.grd")); }},
        {"topography Gaussian", 8, "GridFilter",
         Named{{"InGrid", g}, {"Filter", 4}, {"NumPasses", 1}, {"NumRow", 3}, {"NumCol", 3}, {"Param1", 4.0}, {"OutGrid", out("f4.grd")}},
         [&](auto&) { interior(out("f4.grd"), plane(2, 1.5)); }},
        {"smoothing, topography", 6, "GridMatrixSmooth", Positional{g, 0, "4", omitted, 1, 1, out("f5.grd")},
         [&](auto&) { interior(out("f5.grd"), plane(2, 1.5)); }},
    };

    for (const Shape& s : shapes) {
        SCOPED_TRACE(s.caller + ": " + s.op + " version " + std::to_string(s.version));
        auto app = s.version == 6 ? v6() : v8();
        const std::size_t logged = app->callLog().size();
        std::visit([&](const auto& args) { app->call(s.op, args); }, s.args);
        ASSERT_GT(app->callLog().size(), logged);
        EXPECT_EQ(app->callLog()[logged].rfind(s.op + "(", 0), 0u) << app->callLog()[logged];
        s.check(*app);
    }
}
