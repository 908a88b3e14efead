// Writers of the conversion window's output formats: the fast number forms against the
// slow ones, exact text of small VRML and DXF files worked out by hand, independent
// readers (view3dscene's converter, GDAL's OGR and raster drivers, libtiff) on the
// written files, Picza and Tiff text readers on good and damaged files.
#include "core/error.h"
#include "core/grid.h"
#include "core/textform.h"
#include "formats/dumplattice.h"
#include "formats/dxf.h"
#include "formats/numberforms.h"
#include "formats/numberrows.h"
#include "formats/picza.h"
#include "formats/tiffdem.h"
#include "formats/tifftext.h"
#include "formats/vrml.h"
#include "formats/xyzdump.h"
#include "formats/xyzpointfile.h"
#include "support/tempfolder.h"
#include "support/writefailures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>

using namespace trelvik;
using namespace trelvik::formats;

namespace {

std::string lines(std::initializer_list<const char*> ls) {
    std::string s;
    for (const char* l : ls) s.append(l).append("\r\n");
    return s;
}

// x = 0, 0.5, 1; y = 0, 0.25; the third node of the first row blank.
DumpLattice small3x2() {
    DumpLattice d;
    d.ncols = 3;
    d.nrows = 2;
    d.x = {0, 0.5, 1};
    d.y = {0, 0.25};
    d.z = {1, 2, kBlank, 0.5, -0.25, 3};
    return d;
}

bool haveTool(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

} // namespace

TEST(NumberForms, FastFormsGiveTheTextOfTheSlowOnes) {
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> mag(-6, 9);
    std::vector<double> values = {0, -0.0, 0.5, -0.25, 2.5, 0.0625, 0.1875, -0.0625, 1.0005, 2.675, 0.125, 0.0035,
                                  0.00049, 1e-5, 123456789.123456, -7, 7, 1.70141e38, 99999.99995, 0.99995};
    for (int i = 0; i < 20000; ++i) {
        double v = std::pow(10.0, mag(gen)) * (i % 2 ? -1 : 1);
        if (i % 3 == 0) v = std::round(v * 16) / 16;  // exact binary halves at 3 and 4 places
        values.push_back(v);
    }
    char buf[64];
    for (double v : values) {
        for (int d : {0, 3, 4}) {
            ASSERT_EQ(std::string(buf, writeRoundedGeneral(buf, v, d)), text::CStr(text::Round(v, d))) << v << " " << d;
            ASSERT_EQ(std::string(buf, writeStrDigits(buf, v, d)), text::Trim(text::Str(text::Round(v, d)))) << v;
            ASSERT_EQ(std::string(buf, writePrintForm(buf, v, d)), text::Str(text::Round(v, d)) + " ") << v;
        }
        ASSERT_EQ(std::string(buf, writePrintForm(buf, v, -1)), text::Str(v) + " ") << v;
        ASSERT_EQ(std::string(buf, writeFormat0_0xx(buf, v)), text::Format(v, "0.0##")) << v;
    }
    EXPECT_EQ(std::string(buf, writeFormat0_0xx(buf, 7)), "7.0");
    EXPECT_EQ(std::string(buf, writeFormat0_0xx(buf, 0.0035)), "0.004");
    EXPECT_EQ(std::string(buf, writePrintForm(buf, -0.25, 3)), "-.25 ");
    EXPECT_EQ(std::string(buf, writePrintForm(buf, 0.4, 3)), " .4 ");
}

// Text written in parallel blocks and streamed in order must be the text the one-by-one
// writers made (WriteLine for point files, PrintLine for print zones, the XYZ dump of a
// grid node by node, DXF faces one after another), over more rows than one round.
TEST(NumberRows, StreamedBlocksGiveTheTextOfTheOneByOneWriters) {
    trelvik::testing::TempFolder tmp;
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> mag(-7, 16);
    PointList pts;
    for (int i = 0; i < 100000; ++i) {
        const double a = std::pow(10.0, mag(gen)) * (i % 2 ? -1 : 1);
        pts.push_back({a, i % 7 == 0 ? -0.0 : 0.001 * i, i % 11 == 0 ? 1.70141e38 : std::round(a * 8) / 8});
    }
    std::string comma, zones;
    for (const PointXYZ& p : pts) {
        comma += text::WriteLine().num(p.x).num(p.y).num(p.z).str() + "\r\n";
        zones += text::PrintLine().num(p.x).num(p.y).num(p.z).str() + "\r\n";
    }
    writeXyzPointFile(tmp.path("points.txt"), pts);
    EXPECT_TRUE(tmp.read("points.txt") == comma);

    {
        ChunkWriter w(tmp.path("zones.txt"));
        writeRows(w, pts.size(), 3 * kPrintZoneRoom + 2, [&](std::size_t r, char* out) {
            const double v[3] = {pts[r].x, pts[r].y, pts[r].z};
            return writePrintZoneRow(out, v, 3);
        });
        w.commit();
    }
    EXPECT_TRUE(tmp.read("zones.txt") == zones);

    // Another separator, a tail after the last number, and no rows at all.
    writeNumberRowsFile(tmp.path("vrml.txt"), 3, 2, [](std::size_t r, double* v) {
        v[0] = 0.5 * static_cast<double>(r);
        v[1] = -1e-5;
    }, ' ', ",");
    EXPECT_EQ(tmp.read("vrml.txt"), "0 -1E-05,\r\n0.5 -1E-05,\r\n1 -1E-05,\r\n");
    writeNumberRowsFile(tmp.path("none.txt"), 0, 3, [](std::size_t, double*) {});
    EXPECT_EQ(tmp.read("none.txt"), "");

    // The XYZ dump of a grid of many rows, every node with blanks at the blank value.
    Grid g(100, 1000, -1.25, 7.3, 0.001, 99.5, 0.0);
    for (std::size_t i = 0; i < g.z.size(); ++i) g.z[i] = i % 13 == 0 ? std::nan("") : std::cos(0.003 * i) * 71.3;
    std::string dump;
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c)
            dump += text::CStr(g.x(c)) + " " + text::CStr(g.y(r)) + " " + text::CStr(g.blank(c, r) ? kBlank : g.at(c, r)) +
                    "\r\n";
    writeXyzDump(tmp.path("dump.xyz"), g);
    EXPECT_TRUE(tmp.read("dump.xyz") == dump);

    // The DXF faces of a grid of many rows, rows written in parallel: the text of one
    // face after another in print form, as worked out by hand above.
    DumpLattice d;
    d.ncols = 40;
    d.nrows = 300;
    for (int c = 0; c < d.ncols; ++c) d.x.push_back(0.0137 * c - 0.2);
    for (int r = 0; r < d.nrows; ++r) d.y.push_back(5 - 0.0191 * r);
    for (int i = 0; i < d.ncols * d.nrows; ++i) d.z.push_back(i % 97 == 0 ? kBlank : std::sin(0.01 * i) * 3.21);
    writeDxfFaces(tmp.path("faces.dxf"), d, "t");
    auto print = [](double v) { return text::Str(text::Round(v, 3)) + " "; };
    struct Node {
        std::string x, y, z;
    };
    auto at = [&](int c, int r) {
        const double z = d.at(c, r);
        return Node{print(d.x[c]), print(d.y[r]), print(isBlank(z) ? dxfFillHeight(d) : z)};
    };
    std::string dxf = "999\r\nDXF file t; created by Trelvik; QOX\r\n0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\n";
    auto face = [&](std::initializer_list<Node> corners) {
        dxf += "3DFACE\r\n8\r\nOBJECT\r\n";
        int k = 0;
        for (const Node& n : corners) {
            const std::string slot = std::to_string(k++);
            dxf += "1" + slot + "\r\n" + n.x + "\r\n2" + slot + "\r\n" + n.y + "\r\n3" + slot + "\r\n" + n.z + "\r\n";
        }
        dxf += "0\r\n";
    };
    for (int r = 0; r + 1 < d.nrows; ++r)
        for (int c = 0; c + 1 < d.ncols; ++c) {
            face({at(c, r + 1), at(c, r), at(c + 1, r + 1), at(c + 1, r + 1)});
            face({at(c, r), at(c + 1, r), at(c + 1, r + 1), at(c + 1, r + 1)});
        }
    dxf += "ENDSEC\r\n0\r\nEOF\r\n";
    EXPECT_TRUE(tmp.read("faces.dxf") == dxf);
}

TEST(VrmlGridFile, ElevationGridTextWorkedOutByHand) {
    trelvik::testing::TempFolder tmp;
    VrmlGridFile o;
    o.source = "/d/t.grd";
    o.scale = 10;
    writeVrmlGridFile(tmp.path("t.wrl"), small3x2(), o);
    // zmin -0.25, zmax 3, XLen 10, YLen 2.5, ZLen 32.5, D 10.
    const std::string want = lines({
        "#VRML V2.0 utf8", "# VRML of /d/t.grd", "", "NavigationInfo {", "  type [ \"EXAMINE\",", "    \"ANY\" ]", "}",
        "", "Background {", "  skyColor [ 1 1 1, 1 1 1, 1 1 1 ]", "  skyAngle [ 1.309, 1.571 ]",
        "  groundColor [ 1 1 1, 1 1 1 ]", "  groundAngle 1.57 }", "", "DirectionalLight {", "  direction 1 0 0",
        "  intensity 0.5 }",
        "", "Viewpoint {", "  description \"Start\"", "  position  85  110  81.25", "  orientation -0.7 0.65 0.3 1.2 }",
        "", "Viewpoint {", "  description \"Occlusal\"", "  position 5 110 1.25", "  orientation 1 0 0 -1.570796 }",
        "", "Viewpoint {", "  description \"Front\"", "  position 5 13.75 12.5", "  orientation 0 0 1 0 }",
        "", "Viewpoint {", "  description \"Right\"", "  position 20 13.75 1.25", "  orientation 0 1 0 1.570796 }",
        "", "Viewpoint {", "  description \"Back\"", "  position 5 13.75 -10", "  orientation 0 1 0 3.141592 }",
        "", "Viewpoint {", "  description \"Left\"", "  position -10 13.75 1.25", "  orientation 0 1 0 -1.570796 }",
        "", "Viewpoint {", "  description \"Bottom\"", "  position 5 -82.5 1.25", "  orientation 1 0 0 1.570796 }",
        "", "Transform {", "  scale 10 10 10", "  children [", "    Shape {", "      appearance Appearance {",
        "        material Material {", "          diffuseColor 0 0.25 1.0", "          shininess 0.2 }", "      }",
        "      geometry ElevationGrid {", "        xDimension  5 ", "        zDimension  4 ", "        xSpacing 0.5",
        "        zSpacing 0.25", "        solid FALSE", "        creaseAngle 30", "        height [",
        "-.25 -.25 -.25 -.25 -.25 ", "-.25  1  2 -.25 -.25 ", "-.25  .5 -.25  3 -.25 ", "-.25 -.25 -.25 -.25 -.25 ",
        "        ]", "      }", "    }", "  ]", "}"});
    EXPECT_EQ(tmp.read("t.wrl"), want);

    // "Vantorel" leaves out the Background and the light, nothing else.
    o.vantorel = true;
    writeVrmlGridFile(tmp.path("v.wrl"), small3x2(), o);
    const std::string v = tmp.read("v.wrl");
    EXPECT_EQ(v.find("Background"), std::string::npos);
    EXPECT_NE(v.find("}\r\n\r\nViewpoint {\r\n  description \"Start\""), std::string::npos);
    EXPECT_EQ(v.size(), want.size() - lines({"", "Background {", "  skyColor [ 1 1 1, 1 1 1, 1 1 1 ]",
                                             "  skyAngle [ 1.309, 1.571 ]", "  groundColor [ 1 1 1, 1 1 1 ]",
                                             "  groundAngle 1.57 }", "", "DirectionalLight {", "  direction 1 0 0",
                                             "  intensity 0.5 }"}).size());
    // Our own reader takes the ElevationGrid back: 5 x 4 heights.
    const VrmlSurface s = readVrmlSurface(tmp.path("t.wrl"));
    EXPECT_EQ(s.xDimension, 5);
    EXPECT_EQ(s.zDimension, 4);
    EXPECT_EQ(s.scale, 10);
    EXPECT_EQ(s.heights[6], 1);
}

namespace {
// The points and faces of a written polygon file, through the program's own reader.
struct Faces {
    std::size_t points = 0;
    std::vector<std::vector<long long>> faces;
};
Faces readFaces(const std::string& path) {
    const VrmlPolygonFile f = readVrmlPolygonFile(path);
    Faces out;
    out.points = f.vertices.size();
    std::size_t from = 0;
    for (std::size_t end : f.faceEnd) {
        out.faces.emplace_back(f.corners.begin() + static_cast<long>(from), f.corners.begin() + static_cast<long>(end));
        from = end;
    }
    return out;
}
} // namespace

TEST(VrmlGridFile, PolygonVariantsPointsAndTriangles) {
    trelvik::testing::TempFolder tmp;
    VrmlGridFile o;
    o.source = "g";
    o.geometry = VrmlGeometry::Polygons;
    writeVrmlGridFile(tmp.path("P.wrl"), small3x2(), o);
    const std::string p = tmp.read("P.wrl");
    const std::string pointsAndFaces = lines({"          point [", "            0 1 0,", "            .5 2 0,",
                                              "            1 -.25 0,", "            0 .5 .25,", "            .5 -.25 .25,",
                                              "            1 3 .25,", "          ]", "        }", "        colorIndex [ ]",
                                              "        coordIndex [", "          0, 1, 3, -1,", "          1, 4, 3, -1,",
                                              "          1, 2, 4, -1,", "          2, 5, 4, -1,", "        ]", "      }",
                                              "    }", "  ]", "}"});
    ASSERT_GE(p.size(), pointsAndFaces.size());
    EXPECT_EQ(p.substr(p.size() - pointsAndFaces.size()), pointsAndFaces);
    EXPECT_NE(p.find(lines({"      geometry IndexedFaceSet {", "        creaseAngle 30", "        solid FALSE",
                            "        coord Coordinate {"})),
              std::string::npos);

    o.geometry = VrmlGeometry::PolygonsSurface;
    writeVrmlGridFile(tmp.path("PS.wrl"), small3x2(), o);
    const Faces ps = readFaces(tmp.path("PS.wrl"));
    EXPECT_EQ(ps.points, 5u);  // the blank node is no point
    const std::vector<std::vector<long long>> faces = {{1, 0, 2}, {1, 2, 3}, {1, 3, 4}};
    EXPECT_EQ(ps.faces, faces);
    const Faces all = readFaces(tmp.path("P.wrl"));
    EXPECT_EQ(all.points, 6u);
    EXPECT_EQ(all.faces.size(), 4u);
}

TEST(VrmlGridFile, SurfaceVariantClosesHolesAroundInteriorBlanks) {
    // 5 x 5 nodes, counted by an independent face census of the rules.
    auto facesWith = [](const std::vector<std::pair<int, int>>& blanks) {
        DumpLattice d;
        d.ncols = d.nrows = 5;
        for (int i = 0; i < 5; ++i) d.x.push_back(i), d.y.push_back(i);
        d.z.assign(25, 1.0);
        for (auto [c, r] : blanks) d.z[r * 5 + c] = kBlank;
        trelvik::testing::TempFolder tmp;
        VrmlGridFile o;
        o.geometry = VrmlGeometry::PolygonsSurface;
        writeVrmlGridFile(tmp.path("s.wrl"), d, o);
        return readFaces(tmp.path("s.wrl"));
    };
    EXPECT_EQ(facesWith({}).faces.size(), 32u);
    // One interior blank: its four cells give one triangle each (rules 1 to 4), and its
    // diamond four more (rules 5 to 8); rules 9 to 16 need a blank edge neighbour.
    const Faces one = facesWith({{2, 2}});
    EXPECT_EQ(one.points, 24u);
    EXPECT_EQ(one.faces.size(), 24u + 4u + 4u);
    // A blank on the border is never an interior hole.
    EXPECT_EQ(facesWith({{0, 2}}).faces.size(), 30u);
    // Every face's corners are data points.
    for (const auto& f : one.faces) EXPECT_EQ(f.size(), 3u);
    // All blank: the surface variant has neither points nor faces.
    std::vector<std::pair<int, int>> all;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c) all.push_back({c, r});
    const Faces none = facesWith(all);
    EXPECT_EQ(none.points, 0u);
    EXPECT_TRUE(none.faces.empty());
}

TEST(VrmlGridFile, IndependentReaderCountsTheNodes) {
    if (!haveTool("tovrmlx3d")) GTEST_SKIP() << "tovrmlx3d not installed";
    trelvik::testing::TempFolder tmp;
    for (VrmlGeometry g : {VrmlGeometry::ElevationGrid, VrmlGeometry::Polygons, VrmlGeometry::PolygonsSurface}) {
        VrmlGridFile o;
        o.geometry = g;
        o.source = "x";
        writeVrmlGridFile(tmp.path("a.wrl"), small3x2(), o);
        const std::string cmd = "tovrmlx3d " + tmp.path("a.wrl") + " > " + tmp.path("b.wrl") + " 2> " + tmp.path("e.txt");
        ASSERT_EQ(std::system(cmd.c_str()), 0) << tmp.read("e.txt");
        EXPECT_EQ(tmp.read("e.txt"), "");
        const std::string b = tmp.read("b.wrl");
        std::size_t views = 0;
        for (std::size_t at = b.find("Viewpoint"); at != std::string::npos; at = b.find("Viewpoint", at + 1)) ++views;
        EXPECT_EQ(views, 7u);
        if (g == VrmlGeometry::ElevationGrid) {
            EXPECT_EQ(readVrmlSurface(tmp.path("b.wrl")).heights.size(), 20u);
        } else {
            const Faces f = readFaces(tmp.path("b.wrl"));
            EXPECT_EQ(f.points, g == VrmlGeometry::Polygons ? 6u : 5u);
            EXPECT_EQ(f.faces.size(), g == VrmlGeometry::Polygons ? 4u : 3u);
        }
    }
}

TEST(DxfFaces, TextWorkedOutByHandAndBlankFill) {
    trelvik::testing::TempFolder tmp;
    DumpLattice d;
    d.ncols = d.nrows = 2;
    d.x = {0, 0.4};
    d.y = {7, 8};
    d.z = {kBlank, -0.25, 12.5, 1};
    writeDxfFaces(tmp.path("t.dxf"), d, "tooth7");
    const std::string want = lines({
        "999", "DXF file tooth7; created by Trelvik; QOX", "0", "SECTION", "2", "ENTITIES", "0",
        "3DFACE", "8", "OBJECT", "10", " 0 ", "20", " 8 ", "30", " 12.5 ", "11", " 0 ", "21", " 7 ", "31", "-.25 ",
        "12", " .4 ", "22", " 8 ", "32", " 1 ", "13", " .4 ", "23", " 8 ", "33", " 1 ", "0",
        "3DFACE", "8", "OBJECT", "10", " 0 ", "20", " 7 ", "30", "-.25 ", "11", " .4 ", "21", " 7 ", "31", "-.25 ",
        "12", " .4 ", "22", " 8 ", "32", " 1 ", "13", " .4 ", "23", " 8 ", "33", " 1 ", "0",
        "ENDSEC", "0", "EOF"});
    EXPECT_EQ(tmp.read("t.dxf"), want);
    // Blank nodes take the lowest data height even when it is far above 100000; a grid
    // without data lies flat at 0.
    d.z = {kBlank, 250000, 300000, 260000};
    EXPECT_EQ(dxfFillHeight(d), 250000);
    d.z.assign(4, kBlank);
    EXPECT_EQ(dxfFillHeight(d), 0);
}

TEST(DxfFaces, GdalReadsEveryFace) {
    if (!haveTool("ogrinfo")) GTEST_SKIP() << "ogrinfo not installed";
    trelvik::testing::TempFolder tmp;
    DumpLattice d;
    d.ncols = 5;
    d.nrows = 4;
    for (int i = 0; i < 5; ++i) d.x.push_back(10 + 0.5 * i);
    for (int j = 0; j < 4; ++j) d.y.push_back(-2 + 0.25 * j);
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 5; ++i) d.z.push_back(i * j == 2 ? kBlank : 0.1 * i - 0.2 * j);
    writeDxfFaces(tmp.path("m.dxf"), d, "m");
    const std::string cmd = "ogrinfo -ro -al -so " + tmp.path("m.dxf") + " > " + tmp.path("o.txt") + " 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << tmp.read("o.txt");
    EXPECT_NE(tmp.read("o.txt").find("Feature Count: 24"), std::string::npos) << tmp.read("o.txt");
    // Through OGR's geometry dump: 24 triangles, every height between the lowest data
    // height (-0.6, which the two blank nodes take) and the highest (0.4).
    const std::string dump = "ogrinfo -ro -al " + tmp.path("m.dxf") + " > " + tmp.path("g.txt") + " 2>/dev/null";
    ASSERT_EQ(std::system(dump.c_str()), 0);
    std::istringstream g(tmp.read("g.txt"));
    std::string line;
    int polygons = 0;
    double lo = 1e300, hi = -1e300;
    while (std::getline(g, line)) {
        const auto at = line.find("POLYGON Z ((");
        if (at == std::string::npos) continue;
        ++polygons;
        std::string coords = line.substr(at + 12);
        for (char& ch : coords)
            if (ch == ',' || ch == ')') ch = ' ';
        std::istringstream in(coords);
        double x, y, z;
        while (in >> x >> y >> z) lo = std::min(lo, z), hi = std::max(hi, z);
    }
    EXPECT_EQ(polygons, 24);
    EXPECT_DOUBLE_EQ(lo, -0.6);
    EXPECT_DOUBLE_EQ(hi, 0.4);
}

TEST(Picza, WrittenFileReadsBack) {
    trelvik::testing::TempFolder tmp;
    PiczaHeader h;
    h.sx = 1.2;
    h.sy = 2;
    h.x2 = 40;
    h.y2 = 4;
    writePicza(tmp.path("a.pix"), h, 0, 2, [](std::size_t r, std::vector<PiczaPoint>& row) {
        for (int c = 0; c < 3; ++c) row.push_back({c * 1.2, r * 2.0, -0.5 + c});  // rounded half to even
    });
    const std::string t = tmp.read("a.pix");
    EXPECT_EQ(t.rfind(lines({"VERSION=5", "X", "1.2", "Y", "2", "Z", "0", "D", "0", "B", "0", "W", "0,0,40,4", "T",
                             "7030", "10:10:00", "RendObjColor=16776960", "RendBkColor=16777215", "CustomColors"}),
                      0),
              0u);
    EXPECT_NE(t.find(lines({"L", "210", "S", "0,0,0", "1,0,0", "2,0,2", "S", "0,2,0", "1,2,0", "2,2,2", "E",
                            "FaceColor", "0,1,FFFFFF", "E"})),
              std::string::npos);
    std::size_t ffs = 0;
    for (std::size_t at = t.find("FFFFFF\r\n"); at != std::string::npos; at = t.find("FFFFFF\r\n", at + 1)) ++ffs;
    EXPECT_EQ(ffs, 17u);  // sixteen custom colours and the face colour
    const PiczaScan s = readPicza(tmp.path("a.pix"));
    EXPECT_EQ(s.header.sx, 1.2);
    EXPECT_EQ(s.header.x2, 40);
    ASSERT_EQ(s.lines.size(), 2u);
    EXPECT_EQ(s.lines[1][2].z, 2);
    EXPECT_EQ(piczaNodeCount(40, 1.2), 35);  // 33.3 steps: Int + 2
    EXPECT_EQ(piczaNodeCount(4, 2), 3);      // whole: + 1
    // A damaged window (the fuzzer's 5.5E+116 wide) says "too many" instead of overflowing.
    EXPECT_EQ(piczaNodeCount(5.5e116, 2), 1000000000000000LL);
    EXPECT_EQ(piczaNodeCount(-5.5e116, 2), -1);
    EXPECT_EQ(piczaNodeCount(std::nan(""), 2), 1000000000000000LL);
}

TEST(Picza, DamagedFilesNameTheirLine) {
    trelvik::testing::TempFolder tmp;
    auto message = [&](const std::string& text) {
        tmp.write("b.pix", text);
        try {
            readPicza(tmp.path("b.pix"));
        } catch (const Error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    const std::string head = "VERSION=5\r\nX\r\n1\r\nY\r\n1\r\nZ\r\n0\r\nW\r\n0,0,2,2\r\nL\r\n210\r\n";
    EXPECT_EQ(message(head + "S\r\n0,0,1\r\nA 1,0,2\r\nE\r\n"), "no error");
    EXPECT_NE(message(head + "S\r\n0,0,1\r\n1,zero,2\r\nE\r\n").find("line 14"), std::string::npos);
    EXPECT_NE(message("VERSION=5\r\nX\r\n0\r\nY\r\n1\r\nZ\r\n0\r\n").find("line 3"), std::string::npos);
    EXPECT_NE(message("VERSION=5\r\nX\r\n1\r\nY\r\n1\r\nZ\r\n0\r\nS\r\n").find("\"W\""), std::string::npos);
    EXPECT_NE(message(head).find("\"S\""), std::string::npos);
    EXPECT_NE(message("").find("b.pix"), std::string::npos);
    // "A" points drop their first two characters.
    tmp.write("c.pix", head + "S\r\nA 5,6,7\r\n");
    EXPECT_EQ(readPicza(tmp.path("c.pix")).lines[0][0].x, 5);
}

TEST(TiffText, GreyMatrixRowsAndDamage) {
    trelvik::testing::TempFolder tmp;
    tmp.write("m.txt", "1\t2\t3\t4\r\n5\t6\t7\t8\r\n9\t10\t11\t12\r\n\r\n");
    const GreyMatrix m = readTiffGreyMatrix(tmp.path("m.txt"));
    EXPECT_EQ(m.ncols, 4);
    EXPECT_EQ(m.nrows, 3);
    EXPECT_EQ(m.at(0, 2), 9);
    tmp.write("s.txt", "1\t2\t3\n4\t5\n");
    try {
        readTiffGreyMatrix(tmp.path("s.txt"));
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("line 2 holds 2 values"), std::string::npos) << e.what();
    }
    tmp.write("x.txt", "1\t2\n3\tq\n");
    EXPECT_THROW(readTiffGreyMatrix(tmp.path("x.txt")), Error);
}

TEST(TiffDem, FloatsNorthUpThroughLibtiffAndGdal) {
    trelvik::testing::TempFolder tmp;
    TiffDem d;
    d.nx = 3;
    d.ny = 2;
    d.xint = 0.5;
    d.yint = 0.25;
    d.x0 = 10;
    d.y0 = 20;
    d.h = {1, 2, 3, 4.5, 5, -6};  // j = 0 (least y) first
    writeTiffDem(tmp.path("d.tif"), d);
    const TiffImage img = readTiffFloatImage(tmp.path("d.tif"));
    EXPECT_EQ(img.width, 3);
    EXPECT_EQ(img.height, 2);
    EXPECT_EQ(img.values, (std::vector<double>{4.5, 5, -6, 1, 2, 3}));
    EXPECT_EQ(img.pixelScale, (std::vector<double>{0.5, 0.25, 0}));
    EXPECT_EQ(tmp.fileCount(), 1u);
    if (!haveTool("gdalinfo")) GTEST_SKIP() << "gdalinfo not installed";
    const std::string cmd = "gdalinfo -stats " + tmp.path("d.tif") + " > " + tmp.path("i.txt") + " 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << tmp.read("i.txt");
    const std::string info = tmp.read("i.txt");
    EXPECT_NE(info.find("Size is 3, 2"), std::string::npos) << info;
    EXPECT_NE(info.find("Type=Float32"), std::string::npos) << info;
    EXPECT_NE(info.find("Minimum=-6.000"), std::string::npos) << info;
    EXPECT_NE(info.find("Maximum=5.000"), std::string::npos) << info;
    EXPECT_NE(info.find("Pixel Size = (0.500000000000000,-0.250000000000000)"), std::string::npos) << info;
    EXPECT_NE(info.find("Origin = (9.750000000000000,20.375000000000000)"), std::string::npos) << info;
    // Every pixel at its node: GDAL's XYZ export gives pixel centres and values.
    const std::string xyz = "gdal_translate -q -of XYZ " + tmp.path("d.tif") + " " + tmp.path("d.xyz") + " > " +
                            tmp.path("x.txt") + " 2>&1";
    ASSERT_EQ(std::system(xyz.c_str()), 0) << tmp.read("x.txt");
    std::istringstream in(tmp.read("d.xyz"));
    std::vector<std::vector<double>> got;
    double x, y, z;
    while (in >> x >> y >> z) got.push_back({x, y, z});
    const std::vector<std::vector<double>> want = {{10, 20.25, 4.5}, {10.5, 20.25, 5}, {11, 20.25, -6},
                                                   {10, 20, 1},      {10.5, 20, 2},    {11, 20, 3}};
    EXPECT_EQ(got, want);
}

// The Tiff DEM replaces a file as every writer does: a full disk or a missing folder
// leaves the old file byte for byte and no temporary, a killed write's temporary goes
// with the next write, and the old file's permissions and a symbolic link are kept.
TEST(TiffDem, ReplacesLikeEveryWriterUnderFailuresAndKills) {
    namespace fs = std::filesystem;
    trelvik::testing::TempFolder tmp;
    TiffDem d;
    d.nx = d.ny = 200;
    d.h.assign(200 * 200, 1.5);
    const std::string f = tmp.write("d.tif", "old bytes");
    {
        trelvik::testing::FileSizeLimit limit(4096);
        EXPECT_THROW(writeTiffDem(f, d), Error);
    }
    EXPECT_EQ(tmp.read("d.tif"), "old bytes");
    EXPECT_EQ(tmp.fileCount(), 1u);
    try {
        writeTiffDem(tmp.path("no/d.tif"), d);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("no/d.tif"), std::string::npos) << e.what();
    }

    const std::string killed = trelvik::testing::endedWriterFile("d.tif");
    tmp.write(killed, "partial");
    fs::permissions(f, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(f, tmp.path("link.tif"));
    writeTiffDem(tmp.path("link.tif"), d);
    EXPECT_TRUE(fs::is_symlink(tmp.path("link.tif")));
    EXPECT_EQ(readTiffFloatImage(f).values, d.h);
    EXPECT_EQ(fs::status(f).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_FALSE(fs::exists(tmp.path(killed)));
    EXPECT_EQ(tmp.fileCount(), 2u);  // d.tif and the link
}

TEST(DumpLatticeReader, WholeRowsOnly) {
    trelvik::testing::TempFolder tmp;
    tmp.write("a.dat", "0 0 1\r\n1 0 2\r\n0 1 3\r\n1 1 1.70141E+38\r\n");
    const DumpLattice d = readDumpLattice(tmp.path("a.dat"));
    EXPECT_EQ(d.ncols, 2);
    EXPECT_EQ(d.nrows, 2);
    EXPECT_EQ(d.at(1, 1), kBlank);
    tmp.write("b.dat", "0 0 1\r\n1 0 2\r\n0 1 3\r\n");
    EXPECT_THROW(readDumpLattice(tmp.path("b.dat")), Error);
    tmp.write("c.dat", "0 0 1\r\n1 0 2\r\n");
    EXPECT_THROW(readDumpLattice(tmp.path("c.dat")), Error);
    tmp.write("d.dat", "0 0 1\r\n0 1 2\r\n");
    EXPECT_THROW(readDumpLattice(tmp.path("d.dat")), Error);
}

TEST(VrmlLatticeFiles, CsvLatticeTextAndTiffTextReadByAnIndependentTool) {
    trelvik::testing::TempFolder tmp;
    VrmlElevationGridOut f;
    f.variant = VrmlVariant::Lattice;
    f.source = "/d/l.csv";
    f.scale = f.xSpacing = "1";
    f.zSpacing = "0.5";
    f.px = 1;
    f.py = 10;
    f.pz = 0.25;
    f.xDimension = 3;
    f.zDimension = 2;
    f.heights = {0, 10, 20, 1, 11, 21};
    writeVrmlElevationGrid(tmp.path("l.wrl"), f);
    EXPECT_EQ(tmp.read("l.wrl"),
              lines({"#VRML V2.0 utf8", "# VRML of /d/l.csv", "", "NavigationInfo {",
                     "  type [    \"EXAMINE\",\"ANY\" ] }", "", "Background { skyColor [ 1 1 1, 1 1 1, 1 1 1 ]",
                     "  skyAngle [ 1.309, 1.571 ]", "  groundColor [ 1 1 1, 1 1 1 ]", "  groundAngle 1.57 }", "",
                     "DirectionalLight {", "  direction -1 -1 -1", "  intensity 0.25 }", "", "Viewpoint {",
                     "  description \"Start\"", "  position  1  10 0.25", "  orientation 0 0.707 0.707 3.141 }", "",
                     "Transform {", "   scale 1 1 1 #um", "   children [", "      Shape {",
                     "         appearance Appearance {", "            material Material {",
                     "               diffuseColor 0 0.25 1.0", "               shininess 0.2 } }",
                     "         geometry ElevationGrid {", "            xDimension  3 ", "            zDimension  2 ",
                     "            xSpacing 1", "            zSpacing 0.5", "            creaseAngle 30",
                     "            height [", " 0  10  20 ", " 1  11  21 ", "] } } ] }"}));

    VrmlHeightList h;
    h.source = "/d/t.txt";
    h.ncols = 3;
    h.nrows = 2;
    h.xSpacing = 0.5;
    h.zSpacing = 0.25;
    h.heights = {1, 2, 3, 4, 5, 6};
    writeVrmlHeightList(tmp.path("t.wrl"), h);
    EXPECT_EQ(readVrmlSurface(tmp.path("t.wrl")).heights, h.heights);
    if (!haveTool("tovrmlx3d")) GTEST_SKIP() << "tovrmlx3d not installed";
    for (const char* name : {"l.wrl", "t.wrl"}) {
        const std::string cmd = "tovrmlx3d " + tmp.path(name) + " > " + tmp.path("o.wrl") + " 2> " + tmp.path("e.txt");
        ASSERT_EQ(std::system(cmd.c_str()), 0) << tmp.read("e.txt");
        EXPECT_EQ(tmp.read("e.txt"), "") << name;
        EXPECT_EQ(readVrmlSurface(tmp.path("o.wrl")).heights.size(), 6u) << name;
    }
}
