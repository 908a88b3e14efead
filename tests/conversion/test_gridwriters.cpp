// Grid writers of the conversion window end to end through the stand-in mapping
// program: grid file in, VRML, DXF, DAT, XYZ and Picza out, in both call forms.
#include "conversion/gridtodat.h"
#include "conversion/gridtodxf.h"
#include "conversion/gridtovrml.h"
#include "conversion/piczaconvert.h"
#include "conversion/writercalls.h"
#include "convtest.h"
#include "core/error.h"
#include "core/grid.h"
#include "core/textform.h"
#include "formats/picza.h"
#include "formats/surfergrid.h"
#include "formats/vrml.h"
#include "support/tempfolder.h"
#include "surfer/application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

using namespace trelvik;
using namespace trelvik::conversion;

namespace {

struct WriterRun {
    trelvik::testing::TempFolder tmp;
    std::shared_ptr<surfer::Application> app;
    std::string version;
    explicit WriterRun(bool v6 = false) {
        surfer::shutdownAll();
        app = surfer::connect(v6 ? "Surfer.APP" : "Surfer.Application");
        version = v6 ? "SurferV6" : "SurferV8";
    }
    ~WriterRun() { surfer::shutdownAll(); }
    // A grid file of cols x rows nodes, z = f(col, row).
    template <class F>
    std::string grid(const std::string& name, int cols, int rows, double x0, double x1, double y0, double y1, F f) {
        Grid g(cols, rows, x0, x1, y0, y1);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) g.at(c, r) = f(c, r);
        formats::writeSurferGrid(tmp.path(name), g, formats::SurferGridFormat::Binary7);
        return tmp.path(name);
    }
    bool logged(const std::string& piece) const {
        for (const auto& l : app->callLog())
            if (l.find(piece) != std::string::npos) return true;
        return false;
    }
};

} // namespace

TEST(GridToVrml, MirroredGridInBothCallFormsAndNothingLeftBehind) {
    for (bool v6 : {false, true}) {
        WriterRun run(v6);
        // 3 x 2 grid, the top row (y = 1) holding 7, 8, blank.
        const std::string g = run.grid("t.grd", 3, 2, 0, 1, 0, 1, [](int c, int r) {
            return r == 1 ? (c == 2 ? kBlank : 7.0 + c) : c * 0.5;
        });
        const double s = GridToVrml(*run.app, run.version, g, run.tmp.path("t.wrl"),
                                    formats::VrmlGeometry::ElevationGrid, false, false, false);
        EXPECT_EQ(s, 10);  // spacing 0.5 under "Auto"
        EXPECT_TRUE(run.logged(v6 ? "GridTransform(\"" + g + "\", 4, , , , , , " : "Operation:=5"));
        const formats::VrmlSurface v = formats::readVrmlSurface(run.tmp.path("t.wrl"));
        ASSERT_EQ(v.xDimension, 5);
        ASSERT_EQ(v.zDimension, 4);
        // The mirrored grid's first row is the top row; its blank node lies at the lowest height 0.
        EXPECT_EQ(std::vector<double>(v.heights.begin() + 5, v.heights.begin() + 10),
                  (std::vector<double>{0, 7, 8, 0, 0}));
        EXPECT_EQ(run.tmp.fileCount(), 2u);  // the grid and the scene: no dump in the folder
    }
}

TEST(GridToVrml, ScaleNamesAndRefusals) {
    EXPECT_EQ(WrlScaleFor(false, false, 1), 10);
    EXPECT_EQ(WrlScaleFor(false, false, 1.5), 0.01);
    EXPECT_EQ(WrlScaleFor(true, false, 0.1), 0.01);
    EXPECT_EQ(WrlScaleFor(false, true, 5), 10);
    EXPECT_EQ(VrmlOutputName("/d/a", *VrmlGeometryFor("VRML file Polygons (*.wrl)")), "/d/aP.wrl");
    EXPECT_EQ(VrmlOutputName("/d/a", *VrmlGeometryFor("VRML file Polygons - surface (*.wrl)")), "/d/aPS.wrl");
    EXPECT_FALSE(VrmlGeometryFor("DAT text file (*.dat)"));

    WriterRun run;
    const std::string g = run.grid("one.grd", 4, 2, 0, 3, 0, 1, [](int, int) { return 1.0; });
    // A grid of one row cannot be read back as a lattice; the run says so.
    EXPECT_THROW(GridToVrml(*run.app, "SurferV7", g, run.tmp.path("x.wrl"), formats::VrmlGeometry::Polygons, false,
                            false, false),
                 Error);
    EXPECT_THROW(GridToVrml(*run.app, run.version, run.tmp.path("none.grd"), run.tmp.path("x.wrl"),
                            formats::VrmlGeometry::Polygons, false, false, false),
                 Error);
    EXPECT_FALSE(std::filesystem::exists(run.tmp.path("x.wrl")));
}

TEST(GridToDxf, FacesFromTheGridAndAnEarlierDatKept) {
    WriterRun run(true);
    const std::string g = run.grid("tooth7.grd", 4, 3, 0, 3, 0, 2, [](int c, int r) {
        return c == 1 && r == 1 ? kBlank : 100000.5 + c + r;  // lowest data height above 100000
    });
    run.tmp.write("tooth7.dat", "my points\r\n");
    GridToDxf(*run.app, run.version, g, run.tmp.path("tooth7.dxf"), "tooth7");
    EXPECT_EQ(run.tmp.read("tooth7.dat"), "my points\r\n");
    const auto l = convtest::crlfLines(run.tmp.read("tooth7.dxf"));
    EXPECT_EQ(l[1], "DXF file tooth7; created by Trelvik; QOX");
    EXPECT_EQ(std::count(l.begin(), l.end(), "3DFACE"), 2 * 3 * 2);
    // Node (0, 0) is a corner of two faces; the blank node (1, 1), filled with the same
    // lowest height, a corner eight times (twice doubled as D).
    EXPECT_EQ(std::count(l.begin(), l.end(), " 100000.5 "), 2 + 8);
    EXPECT_EQ(std::count(l.begin(), l.end(), "EOF"), 1);
    // Every height lies within the data range: the blank node took the lowest, 100000.5.
    for (std::size_t i = 0; i + 1 < l.size(); ++i)
        if (l[i].size() == 2 && l[i][0] == '3') {
            const double z = std::stod(l[i + 1]);
            EXPECT_GE(z, 100000.5);
            EXPECT_LE(z, 100005.5);
        }
    EXPECT_EQ(run.tmp.fileCount(), 3u);
}

TEST(GridToDat, BlanksRemovedRenamedAndInputProtected) {
    WriterRun run;
    const std::string g = run.grid("scan1.grd", 2, 2, 0, 1, 0, 1, [](int c, int r) { return c == 1 && r == 1 ? kBlank : c + 0.5 * r; });
    run.tmp.write("temp.dat", "keep me");
    GridToDat(*run.app, run.version, g, DatOutputName(run.tmp.path("scan1"), false, ".txt"), true);
    EXPECT_EQ(run.tmp.read("scan1.dat"), "0,0,0\r\n1,0,1\r\n0,1,0.5\r\n");
    EXPECT_EQ(run.tmp.read("temp.dat"), "keep me");
    GridToDat(*run.app, run.version, g, DatOutputName(run.tmp.path("scan1"), true, ".txt"), false);
    EXPECT_NE(run.tmp.read("scan1.txt").find("1.70141E+38"), std::string::npos);
    EXPECT_EQ(DatOutputName("/d/scan1", true, "xyz"), "/d/scan1xyz");
    // "Rename as" .grd would make Surfer write over the grid: refused, grid intact.
    const std::string before = run.tmp.read("scan1.grd");
    EXPECT_THROW(GridToDat(*run.app, run.version, g, DatOutputName(run.tmp.path("scan1"), true, ".grd"), true), Error);
    EXPECT_EQ(run.tmp.read("scan1.grd"), before);
}

TEST(GridToXyz, ShiftedByEachGridsOwnMinima) {
    WriterRun run(true);
    // x 10.5 and 10.55, y 20.25 and 20.3; the top-left node blank.
    const std::string g = run.grid("a.grd", 2, 2, 10.5, 10.55, 20.25, 20.3, [](int c, int r) {
        return r == 1 ? (c == 0 ? kBlank : -2.5) : 3.25 + 0.25 * c;
    });
    GridToXyz(*run.app, run.version, g, run.tmp.path("a.xyz"));
    EXPECT_EQ(run.tmp.read("a.xyz"), "0.0\t0.0\t5.75\r\n0.05\t0.0\t6.0\r\n0.05\t0.05\t0.0\r\n");
    // Far from the origin the shift still starts from the grid's own least values.
    const std::string far = run.grid("b.grd", 2, 2, 2000000, 2000001, 3000000, 3000002, [](int c, int r) { return 500000.0 + c + r; });
    GridToXyz(*run.app, run.version, far, run.tmp.path("b.xyz"));
    EXPECT_EQ(run.tmp.read("b.xyz"), "0.0\t0.0\t0.0\r\n1.0\t0.0\t1.0\r\n0.0\t2.0\t1.0\r\n1.0\t2.0\t2.0\r\n");
    // All blank: an empty file.
    const std::string none = run.grid("c.grd", 2, 2, 0, 1, 0, 1, [](int, int) { return kBlank; });
    GridToXyz(*run.app, run.version, none, run.tmp.path("c.xyz"));
    EXPECT_EQ(run.tmp.read("c.xyz"), "");
}

TEST(GridToXyz, HugeExtentsWrittenInFullWithoutOverrunningTheirRows) {
    // A grid some 1E+300 wide: "0.0##" writes all 301 whole digits of each shifted
    // value. The parallel rows must give the text of one number at a time.
    trelvik::testing::TempFolder tmp;
    std::string dump, expected;
    constexpr int kRows = 40000;
    for (int i = 0; i < kRows; ++i) {
        const std::string xt = text::CStr((i % 200) * 1e300), yt = text::CStr((i / 200) * 1e300);
        const double x = std::strtod(xt.c_str(), nullptr), y = std::strtod(yt.c_str(), nullptr), z = -i;
        dump += xt + " " + yt + " " + text::CStr(z) + "\r\n";
        expected += text::Format(x, "0.0##") + "\t" + text::Format(y, "0.0##") + "\t" +
                    text::Format(z + (kRows - 1), "0.0##") + "\r\n";
    }
    WriteShiftedXyz(tmp.write("huge.txt", dump), tmp.path("huge.xyz"));
    EXPECT_TRUE(tmp.read("huge.xyz") == expected);
}

TEST(Picza, GridToPiczaAndBackInMillimetres) {
    WriterRun run;
    // Nodes 0.03 apart in x, 0.05 in y; one blank.
    const std::string g = run.grid("p.grd", 3, 2, 0, 0.06, 0, 0.05, [](int c, int r) {
        return c == 2 && r == 0 ? kBlank : 0.1 * (c + 1) + r;
    });
    GridToPicza(*run.app, run.version, g, run.tmp.path("p.pix"), false, true);
    const formats::PiczaScan s = formats::readPicza(run.tmp.path("p.pix"));
    EXPECT_DOUBLE_EQ(s.header.sx, 1.2);   // 0.03 * 40
    EXPECT_DOUBLE_EQ(s.header.sy, 2);
    EXPECT_EQ(s.header.x2, 2);            // Int(0.06 * 40)
    ASSERT_EQ(s.lines.size(), 2u);
    // Mirrored: the first scan line is the top row (y = 0.05 -> 2); x 0.03 -> 1.2 -> 1.
    EXPECT_EQ(s.lines[0][1].x, 1);
    EXPECT_EQ(s.lines[0][1].y, 0);
    EXPECT_EQ(s.lines[0][0].z, 44);       // (0.1 + 1) * 40
    EXPECT_EQ(s.lines[1][2].z, 0);        // the blank node
    // Read back in mm: x 1 -> 0.025.
    PiczaToCsv(run.tmp.path("p.pix"), run.tmp.path("p.csv"), false, false);
    EXPECT_EQ(convtest::crlfLines(run.tmp.read("p.csv"))[1], "0.025,0,1.2");
    // In micrometres the factor is 0.04 (file units of 25 µm): the same grid given in µm.
    const std::string gum = run.grid("u.grd", 2, 2, 0, 30, 0, 50, [](int, int) { return 100.0; });
    GridToPicza(*run.app, run.version, gum, run.tmp.path("u.pix"), true, false);
    const formats::PiczaScan su = formats::readPicza(run.tmp.path("u.pix"));
    EXPECT_DOUBLE_EQ(su.header.sx, 1.2);
    EXPECT_EQ(su.lines[0][0].z, 4);
    PiczaToCsv(run.tmp.path("u.pix"), run.tmp.path("u.csv"), true, false);
    EXPECT_EQ(convtest::crlfLines(run.tmp.read("u.csv"))[1], "25,0,100");  // x 1 file unit = 25 µm
    EXPECT_EQ(PiczaWriteFactor(false, false, 0.5), 40);
    EXPECT_EQ(PiczaWriteFactor(false, false, 2), 0.04);
}

TEST(Picza, FullLatticeFillsMissingNodesWithTheLastHeight) {
    WriterRun run;
    // Window 0..4 x 0..2, steps 2 and 2: ncols 3, nrows 2. Line 1 lacks x = 2; line 2
    // (the last row) pairs columns with points by position.
    const std::string head = "VERSION=5\r\nX\r\n2\r\nY\r\n2\r\nZ\r\n0\r\nD\r\n0\r\nB\r\n0\r\nW\r\n0,0,4,2\r\nL\r\n210\r\n";
    run.tmp.write("f.pix", head + "S\r\n0,0,40\r\n4,0,80\r\nS\r\n0,2,10\r\n2,2,20\r\n5,2,30\r\nE\r\n");
    PiczaToCsv(run.tmp.path("f.pix"), run.tmp.path("f.csv"), false, true);
    EXPECT_EQ(convtest::crlfLines(run.tmp.read("f.csv")),
              (std::vector<std::string>{"0,0,1", "0.05,0,1", "0.1,0,2", "0,0.05,0.25", "0.05,0.05,0.5",
                                        "0.1,0.05,0.5"}));
    // A fresh file starts from height 0: a window whose first node has no point.
    run.tmp.write("g.pix", head + "S\r\n2,0,40\r\nS\r\n0,2,10\r\nE\r\n");
    PiczaToCsv(run.tmp.path("g.pix"), run.tmp.path("g.csv"), false, true);
    EXPECT_EQ(convtest::crlfLines(run.tmp.read("g.csv"))[0], "0,0,0");
    // Part CSV: the points as they are, scaled.
    PiczaToCsv(run.tmp.path("f.pix"), run.tmp.path("f.csv"), false, false);
    EXPECT_EQ(convtest::crlfLines(run.tmp.read("f.csv")).size(), 5u);
    // A damaged file names its line and leaves the earlier output alone.
    run.tmp.write("f.pix", head + "S\r\n0,0\r\nE\r\n");
    const std::string before = run.tmp.read("f.csv");
    try {
        PiczaToCsv(run.tmp.path("f.pix"), run.tmp.path("f.csv"), false, true);
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("line 17"), std::string::npos) << e.what();
    }
    EXPECT_EQ(run.tmp.read("f.csv"), before);
}

TEST(Picza, PointFileGriddedOverTheWindow) {
    for (bool v6 : {false, true}) {
        WriterRun run(v6);
        const std::string head = "VERSION=5\r\nX\r\n1\r\nY\r\n1\r\nZ\r\n0\r\nW\r\n10,20,12,22\r\n";
        std::string body;
        for (int r = 0; r <= 3; ++r) {
            body += "S\r\n";
            for (int c = 0; c <= 3; ++c)
                body += std::to_string(10 + c) + "," + std::to_string(20 + r) + "," + std::to_string(c + r) + "\r\n";
        }
        run.tmp.write("s.pix", head + body + "E\r\n");
        PiczaToGrid(*run.app, run.version, run.tmp.path("s.pix"), run.tmp.path("s.csv"), run.tmp.path("s_.grd"), false);
        const auto pts = convtest::crlfLines(run.tmp.read("s.csv"));
        EXPECT_EQ(pts[0], "0,0,0");  // the window's corner
        EXPECT_EQ(pts[4], "");       // an empty line before the second scan line
        const Grid grid = formats::readSurferGrid(run.tmp.path("s_.grd"));
        EXPECT_EQ(grid.cols, 4);     // (12 - 10) / 1 + 1 = 3, whole: Int + 1 = 4 nodes
        EXPECT_DOUBLE_EQ(grid.xMax, 3 * 0.025);
        EXPECT_DOUBLE_EQ(grid.yMax, 3 * 0.025);
        EXPECT_NEAR(grid.at(1, 1), 2 * 0.025, 1e-9);
    }
}
