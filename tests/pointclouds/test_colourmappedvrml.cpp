// Colour-mapped VRML polygon output: colour classes by hand, the cyclic vertex match,
// faces split into triangles, the written file line by line and read back by an
// independent VRML tool.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "core/textform.h"
#include "formats/vrml.h"
#include "pointclouds/colourmappedvrml.h"
#include "cmdrun.h"

#include <cmath>
#include <cstdlib>

using namespace ptcloudtest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

using RGB = std::array<double, 3>;

::testing::Matcher<RGB> Colour(double r, double g, double b) {
    using ::testing::DoubleNear;
    return ElementsAre(DoubleNear(r, 1e-12), DoubleNear(g, 1e-12), DoubleNear(b, 1e-12));
}

// A polygon surface as the conversion writes one: nine vertices of a 3 x 3 lattice
// (x, height, y), a quadrilateral, a triangle and a hexagon.
std::string surfaceText() {
    std::string s =
        "#VRML V2.0 utf8\r\n\r\nTransform {\r\n  scale 1 1 1\r\n  children [\r\n    Shape {\r\n"
        "      appearance Appearance { material Material { diffuseColor 0.8 0.8 0.8 } }\r\n"
        "      geometry IndexedFaceSet {\r\n        creaseAngle 30\r\n        solid TRUE\r\n"
        "        coord Coordinate {\r\n          point [\r\n";
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) s += "            " + std::to_string(i) + " 0.5 " + std::to_string(j) + ",\r\n";
    s += "          ]\r\n        }\r\n        colorIndex [ ]\r\n        coordIndex [\r\n"
         "          0, 1, 4, 3, -1,\r\n          1, 2, 5, -1,\r\n          3, 4, 5, 8, 7, 6, -1,\r\n"
         "        ]\r\n      }\r\n    }\r\n  ]\r\n}\r\n";
    return s;
}

} // namespace

TEST(ColourMappedVrml, ClassesAndBands) {
    const ColourClasses c = MakeColourClasses({0.05, 0.7, 1.23});
    EXPECT_DOUBLE_EQ(c.TLo, 0);
    EXPECT_DOUBLE_EQ(c.THi, 1.3);
    EXPECT_EQ(c.NClasses, 13);
    EXPECT_EQ(PointClass(c, 1.23), 13);
    EXPECT_EQ(PointClass(c, 0.05), 1);
    // One band of 0.1: one class, magenta.
    const ColourClasses one = MakeColourClasses({0.51, 0.55, 0.59});
    EXPECT_EQ(one.NClasses, 1);
    EXPECT_THAT(one.ClassColour[0], Colour(1, 0, 1));
    // Band bounds belong to the lower band.
    EXPECT_THAT(BandColour(0.2), Colour(1, 1, 0));
    EXPECT_THAT(BandColour(0.4), Colour(0, 1, 0));
    EXPECT_THAT(BandColour(0.6), Colour(0, 1, 1));
    EXPECT_THAT(BandColour(0.8), Colour(0, 0, 1));
    EXPECT_THAT(BandColour(1), Colour(1, 0, 1));
    EXPECT_THAT(BandColour(0.1), Colour(1, 0.5, 0));
    EXPECT_THAT(BandColour(0.7), Colour(0, 0.5, 1));
    EXPECT_GE(BandColour(0.8)[1], 0);
    EXPECT_THROW(MakeColourClasses({0, 5000}), Error);
    EXPECT_THROW(MakeColourClasses({0, std::nan("")}), Error);
}

TEST(ColourMappedVrml, MatchFollowsTheCyclicOrderAndTheLastPointWins) {
    const PointList v = {{0, 0, 0}, {1, 0, 0}, {0, 0, 0.0002}, {1, 0, 0.0001}, {5, 5, 5}};
    // Point 1 takes vertex 1; point 2, searching on from vertex 1, vertex 2; point 3
    // (near vertices 1 and 3) searches on from vertex 2 and takes 3; point 4 lies 0.001
    // from vertex 5 and matches nothing; point 5 (near vertices 2 and 4) searches on
    // from vertex 3 and takes 4, so vertex 2 keeps point 2.
    const PointList cloud = {{0, 0, 0}, {1, 0, 0}, {0, 0, 0.0001}, {5, 5, 5.001}, {1, 0, 0}};
    EXPECT_THAT(MatchVertices(v, cloud), ElementsAre(1, 2, 3, 5, 0));
    // Two points on one vertex: the later one holds it.
    EXPECT_THAT(MatchVertices({{0, 0, 0}}, {{0, 0, 0}, {0, 0, 0.0001}}), ElementsAre(2));
}

TEST(ColourMappedVrml, ReaderSplitsAroundTheListsAndRefusesBrokenFiles) {
    const formats::VrmlPolygonFile f = formats::parseVrmlPolygonFile(surfaceText(), "s.wrl");
    EXPECT_EQ(f.vertices.size(), 9u);
    EXPECT_EQ(f.head.back(), "          point [");
    EXPECT_EQ(f.middle.back(), "        coordIndex [");
    EXPECT_THAT(f.faceEnd, ElementsAre(4, 7, 13));
    EXPECT_EQ(f.tail.front(), "      }");
    // Lists on one line, a last face without -1.
    const auto g = formats::parseVrmlPolygonFile("Shape { geometry IndexedFaceSet { coord Coordinate {\n"
                                                 " point [ 0 0 0, 1 0 0, 1 1 0 ] }\n coordIndex [ 0 1 2 ] } }\n",
                                                 "g.wrl");
    EXPECT_EQ(g.vertices.size(), 3u);
    EXPECT_THAT(g.corners, ElementsAre(0, 1, 2));
    EXPECT_EQ(g.middle.front(), " }");
    EXPECT_EQ(g.tail.front(), " } }");
    // Lists opened in the middle of a line, as other writers put them.
    const auto h = formats::parseVrmlPolygonFile("Shape { geometry IndexedFaceSet { coord Coordinate { point [ 0 0 0,\n"
                                                 "1 0 0, 1 1 0, 0 1 0 ] } coordIndex [ 0, 1, 2, 3, -1 ] } } # pointless [\n",
                                                 "h.wrl");
    EXPECT_EQ(h.head.back(), "Shape { geometry IndexedFaceSet { coord Coordinate { point [");
    EXPECT_EQ(h.vertices.size(), 4u);
    EXPECT_EQ(h.middle.back(), " } coordIndex [");
    EXPECT_THAT(h.faceEnd, ElementsAre(4));
    EXPECT_EQ(h.tail.front(), " } } # pointless [");
    for (const char* bad : {"no lists\n", "point [ 0 0 0 ]\n", "point [ 0 0 x ]\ncoordIndex [ 0 0 0 -1 ]\n",
                            "point [ 0 0 0 ]\ncoordIndex [ 0 0 3 -1 ]\n",
                            // corners far beyond any count, or not whole
                            "point [ 0 0 0 ]\ncoordIndex [ 0 0 1e90 -1 ]\n", "point [ 0 0 0 ]\ncoordIndex [ 0 0 -1e90 -1 ]\n",
                            "point [ 0 0 0 ]\ncoordIndex [ 0 0 0.5 -1 ]\n"})
        EXPECT_THROW(formats::parseVrmlPolygonFile(bad, "bad.wrl"), Error) << bad;
    // Empty lists are an empty surface (every node blank), not a damaged file.
    const auto empty = formats::parseVrmlPolygonFile("point [ ]\ncoordIndex [ ]\n", "e.wrl");
    EXPECT_TRUE(empty.vertices.empty());
    EXPECT_TRUE(empty.faceEnd.empty());
}

// "nan" and "inf" parse as doubles but are no coordinates: refused by file and line.
TEST(ColourMappedVrml, ReaderRefusesNanAndInfinityNamingFileAndLine) {
    for (const char* v : {"nan", "inf", "-inf", "NaN"}) {
        const std::string text = std::string("point [\n0 0 0,\n1 ") + v + " 0\n]\ncoordIndex [ 0 1 0 -1 ]\n";
        try {
            formats::parseVrmlPolygonFile(text, "n.wrl");
            ADD_FAILURE() << v;
        } catch (const Error& e) {
            EXPECT_THAT(e.what(), HasSubstr("n.wrl, line 3")) << v;
            EXPECT_THAT(e.what(), HasSubstr(std::string("\"") + v + "\"")) << v;
        }
    }
}

TEST(ColourMappedVrml, DistanceFieldColoursTriangles) {
    CmdRun r;
    // t = 0.1 (column + row) + 0.05 gives five classes, class index column + row. The
    // vertex (0, 2) is missing from the cloud: the hexagon's last triangle goes.
    std::string cloud;
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            if (!(i == 0 && j == 2))
                cloud += std::to_string(i) + ",0.5," + std::to_string(j) + "," + text::CStr(0.1 * (i + j) + 0.05) + "\r\n";
    r.add("m1_dist.txt", cloud);
    r.add("m1.wrl", surfaceText());
    ASSERT_TRUE(cmdPointsToWrl(r.ctx, {}));
    EXPECT_EQ(r.list.NoFiles, 0);
    EXPECT_TRUE(r.prompt.shown.empty());
    const auto out = lines(r.dir.read("m1_dist_poly.wrl"));
    EXPECT_THAT(out, ::testing::Not(::testing::Contains("        colorIndex [ ]")));
    const auto faces = std::find(out.begin(), out.end(), "        coordIndex [");
    ASSERT_NE(faces, out.end());
    // Only the cloud's points are written (8), and the faces index into them.
    EXPECT_EQ(*(faces - 3), "2 0.5 2,");
    EXPECT_EQ(*(faces - 2), "          ]");
    EXPECT_THAT(std::vector<std::string>(faces + 1, faces + 26),
                ElementsAre("0,1,4,-1", "0,4,3,-1", "1,2,5,-1", "3,4,5,-1", "3,5,7,-1", "3,7,6,-1", "        ]",
                            "        color Color { color [ ", "1 1 0,", "0 1 0,", "0 1 1,", "0 0 1,", "1 0 1,",
                            "          ]", "        }", "        colorPerVertex TRUE", "        colorIndex [ ",
                            "0,1,2,-1", "0,2,1,-1", "1,2,3,-1", "1,2,3,-1", "1,3,4,-1", "1,4,3,-1", "        ]",
                            "      }"));

    // The file is VRML an independent reader accepts, with the colours in place.
    if (std::system("command -v tovrmlx3d >/dev/null 2>&1") != 0) GTEST_SKIP() << "tovrmlx3d not installed";
    const std::string cmd = "tovrmlx3d " + r.dir.path("m1_dist_poly.wrl") + " > " + r.dir.path("b.wrl") + " 2> " +
                            r.dir.path("err.txt");
    ASSERT_EQ(std::system(cmd.c_str()), 0) << r.dir.read("err.txt");
    EXPECT_EQ(r.dir.read("err.txt"), "");
    const formats::VrmlPolygonFile back = formats::readVrmlPolygonFile(r.dir.path("b.wrl"));
    EXPECT_EQ(back.vertices.size(), 8u);
    EXPECT_EQ(back.faceEnd.size(), 6u);
    const std::string b = r.dir.read("b.wrl");
    EXPECT_THAT(b, HasSubstr("colorIndex ["));
    EXPECT_THAT(b, HasSubstr("1, 4, 3, -1"));
    EXPECT_THAT(b, HasSubstr("\t0 1 1,\n"));
}

TEST(ColourMappedVrml, SurfacePointsAndPlainCloud) {
    CmdRun r;
    // "x,y,z" with every vertex of the surface written: own indices, no colours, the
    // colour lines kept; fewer than two files listed are refused with a message.
    r.add("c.txt", "0 0.5 0\n1 0.5 0\n2 0.5 0\n1 0.5 1\n2 0.5 1\n");
    EXPECT_FALSE(cmdPointsToWrl(r.ctx, {false, false}));
    r.prompt.shown.clear();
    r.add("s.wrl", surfaceText());
    ASSERT_TRUE(cmdPointsToWrl(r.ctx, {false, false}));
    const auto out = lines(r.dir.read("c_poly.wrl"));
    EXPECT_THAT(out, ::testing::Contains("        colorIndex [ ]"));
    EXPECT_THAT(out, ::testing::Not(::testing::Contains("        colorPerVertex TRUE")));
    const auto faces = std::find(out.begin(), out.end(), "        coordIndex [");
    EXPECT_EQ(*(faces - 4), "2 0.5 2,");  // the ninth vertex
    EXPECT_THAT(std::vector<std::string>(faces + 1, faces + 4), ElementsAre("0,1,4,-1", "1,2,5,-1", "        ]"));
    // A cloud and a surface with nothing in common: a file without faces, and a note.
    r.add("far.txt", "9 9 9\n");
    r.add("s.wrl", surfaceText());
    ASSERT_TRUE(cmdPointsToWrl(r.ctx, {false, true}));
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("holds no faces"));
    // A surface without points or faces to colour is refused, and no output is written.
    r.add("e.txt", "0 0.5 0\n");
    r.add("empty.wrl", "point [ ]\ncoordIndex [ ]\n");
    EXPECT_FALSE(cmdPointsToWrl(r.ctx, {false, true}));
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("holds no surface"));
    EXPECT_FALSE(std::filesystem::exists(r.dir.path("e_poly.wrl")));
}

TEST(ColourMappedVrml, ACloudWithoutDistancesIsRefusedForColouring) {
    // "x,y,z,t" on a plain x, y, z cloud: the line and file are named, nothing is
    // written over an earlier output, the list stays.
    CmdRun r;
    r.add("c.txt", "0 0.5 0 0.1\n1 0.5 0\n");
    r.add("s.wrl", surfaceText());
    r.dir.write("c_poly.wrl", "KEEP");
    EXPECT_FALSE(cmdPointsToWrl(r.ctx, {true, true}));
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("c.txt"));
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("line 2"));
    EXPECT_EQ(r.dir.read("c_poly.wrl"), "KEEP");
    EXPECT_EQ(r.list.NoFiles, 2);
}
