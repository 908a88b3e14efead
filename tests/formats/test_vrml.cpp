// VRML elevation-grid files: exact text of a small file, round trips through our
// reader and an independent parse, malformed files, the surface as a map grid.
#include "formats/vrml.h"
#include "core/error.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <sstream>

using namespace trelvik::formats;

namespace {

VrmlElevationGridOut small() {
    VrmlElevationGridOut f;
    f.px = 80.15; f.py = 88.0004; f.pz = -0.5; f.scale = "10"; f.xSpacing = "0.03"; f.zSpacing = "0.05";
    f.xDimension = 3; f.zDimension = 2;
    f.heights = {0.5, -0.25, 2, 9999, 0, 1e-5};
    return f;
}

} // namespace

TEST(VrmlWriter, ExactTextOfTheViewerFile) {
    const std::string want =
        "#VRML V2.0 utf8\r\n\r\nNavigationInfo {\r\n  type [    \"EXAMINE\",\"ANY\" ] }\r\n\r\n"
        "Background { skyColor [ 1 1 1, 1 1 1, 1 1 1 ]\r\n  skyAngle [ 1.309, 1.571 ]\r\n"
        "  groundColor [ 1 1 1, 1 1 1 ]\r\n  groundAngle 1.57 }\r\n\r\n"
        "DirectionalLight {\r\n  direction -1 -1 -1\r\n  intensity 0.25 }\r\n\r\n"
        "Viewpoint {\r\n  description \"Start\"\r\n  position  80.15  88 -.5\r\n"
        "  orientation -0.3 0.60 0.3 1.080 }\r\n\r\n"
        "Transform {\r\n   scale 10 10 10\r\n   children [\r\n      Shape {\r\n"
        "         appearance Appearance {\r\n            material Material {\r\n"
        "               diffuseColor 0 0.25 1.0\r\n               shininess 0.2 } }\r\n"
        "         geometry ElevationGrid {\r\n            xDimension  3 \r\n            zDimension  2 \r\n"
        "            xSpacing 0.03\r\n            zSpacing 0.05\r\n            creaseAngle 30\r\n"
        "            height [\r\n .5 -.25  2 \r\n 9999  0  1E-05 \r\n] } } ] }\r\n";
    EXPECT_EQ(vrmlElevationGridText("/x/temp.wrl", small()), want);

    VrmlElevationGridOut t = small();
    t.variant = VrmlVariant::Tooth;
    const std::string tooth = vrmlElevationGridText("/x/P1.wrl", t);
    EXPECT_EQ(tooth.substr(0, 38), "#VRML V2.0 utf8\r\n# VRML of /x/P1.wrl\r\n");
    EXPECT_NE(tooth.find("  orientation 0 0.707 0.707 3.141 }\r\n"), std::string::npos);

    t.heights.pop_back();
    EXPECT_THROW(vrmlElevationGridText("/x/P1.wrl", t), trelvik::Error);
}

TEST(VrmlReader, RoundTripOfWrittenFile) {
    trelvik::testing::TempFolder tmp;
    VrmlElevationGridOut f;
    f.xDimension = 17; f.zDimension = 9; f.scale = "0.01"; f.xSpacing = "2.5"; f.zSpacing = "1.25";
    f.px = 12.345; f.py = 3; f.pz = 4;
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> d(-50, 50);
    for (int i = 0; i < 17 * 9; ++i) f.heights.push_back(std::round(d(gen) * 1e4) / 1e4);
    const std::string path = tmp.path("temp.wrl");
    writeVrmlElevationGrid(path, f);
    const VrmlSurface s = readVrmlSurface(path);
    EXPECT_EQ(s.xDimension, 17);
    EXPECT_EQ(s.zDimension, 9);
    EXPECT_EQ(s.xSpacing, 2.5);
    EXPECT_EQ(s.zSpacing, 1.25);
    EXPECT_EQ(s.scale, 0.01);
    ASSERT_TRUE(s.hasViewpoint);
    EXPECT_EQ(s.px, 12.345);
    EXPECT_EQ(s.heights, f.heights);  // 15 significant digits keep these exactly
    EXPECT_EQ(tmp.fileCount(), 1u);
}

TEST(VrmlReader, IndependentParsesAgreeWithWrittenHeights) {
    trelvik::testing::TempFolder tmp;
    VrmlElevationGridOut f = small();
    writeVrmlElevationGrid(tmp.path("a.wrl"), f);
    // Plain stream parse: the tokens between "height [" and "]" are the heights.
    const std::string text = tmp.read("a.wrl");
    std::istringstream in(text.substr(text.find("height [") + 8));
    std::vector<double> got;
    std::string tok;
    while (in >> tok && tok != "]") got.push_back(std::stod(tok));
    EXPECT_EQ(got, f.heights);

    // Python's own number reading, where python3 is installed.
    if (std::system("python3 -c 'pass' >/dev/null 2>&1") != 0) GTEST_SKIP() << "python3 not available";
    const std::string script = tmp.write(
        "check.py",
        "import re,sys\n"
        "t=open(sys.argv[1]).read()\n"
        "nx=int(re.search(r'xDimension\\s+(\\d+)',t).group(1)); nz=int(re.search(r'zDimension\\s+(\\d+)',t).group(1))\n"
        "h=[float(v) for v in t.split('height [')[1].split(']')[0].split()]\n"
        "print(nx,nz,len(h),repr(sum(h)))\n");
    const std::string cmd = "python3 " + script + " " + tmp.path("a.wrl") + " > " + tmp.path("out.txt");
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    std::istringstream out(tmp.read("out.txt"));
    int nx = 0, nz = 0, n = 0;
    double sum = 0;
    out >> nx >> nz >> n >> sum;
    EXPECT_EQ(nx, 3);
    EXPECT_EQ(nz, 2);
    EXPECT_EQ(n, 6);
    EXPECT_DOUBLE_EQ(sum, 0.5 - 0.25 + 2 + 9999 + 0 + 1e-5);
}

TEST(VrmlReader, ThirdPartyVrmlToolReadsTheWrittenScene) {
    // A VRML 2.0 browser's converter (Debian's view3dscene) must accept the file and
    // find the same grid, spacings, scale, viewpoint and heights (it keeps floats).
    if (std::system("command -v tovrmlx3d >/dev/null 2>&1") != 0) GTEST_SKIP() << "tovrmlx3d not installed";
    trelvik::testing::TempFolder tmp;
    const VrmlElevationGridOut f = small();
    writeVrmlElevationGrid(tmp.path("a.wrl"), f);
    const std::string cmd = "tovrmlx3d " + tmp.path("a.wrl") + " > " + tmp.path("b.wrl") + " 2> " + tmp.path("err.txt");
    ASSERT_EQ(std::system(cmd.c_str()), 0) << tmp.read("err.txt");
    EXPECT_EQ(tmp.read("err.txt"), "");
    const VrmlSurface s = readVrmlSurface(tmp.path("b.wrl"));  // the converter's own layout
    EXPECT_EQ(s.xDimension, 3);
    EXPECT_EQ(s.zDimension, 2);
    EXPECT_FLOAT_EQ(s.xSpacing, 0.03f);
    EXPECT_FLOAT_EQ(s.zSpacing, 0.05f);
    EXPECT_FLOAT_EQ(s.scale, 10);
    EXPECT_FLOAT_EQ(s.px, 80.15f);
    EXPECT_FLOAT_EQ(s.py, 88.0f);
    EXPECT_FLOAT_EQ(s.pz, -0.5f);
    ASSERT_EQ(s.heights.size(), f.heights.size());
    for (std::size_t i = 0; i < f.heights.size(); ++i) EXPECT_FLOAT_EQ(s.heights[i], static_cast<float>(f.heights[i])) << i;
}

TEST(VrmlReader, ForeignLayoutAndMalformedFiles) {
    // Another writer's layout: commas, comments, other nodes first, fields reordered.
    const std::string foreign =
        "#VRML V2.0 utf8\n# comment\nGroup { children [ Shape { geometry Box { size 1 1 1 } } ] }\n"
        "Transform { translation 1 2 3 scale 2,2,2 children Shape { geometry ElevationGrid {\n"
        "  height [ 1, 2, # first row\n 3, 4 ] solid FALSE zSpacing 0.5 xSpacing 1e-1\n"
        "  xDimension 2 zDimension 2 } } }\n";
    const VrmlSurface s = parseVrmlSurface(foreign, "f.wrl");
    EXPECT_EQ(s.scale, 2);
    EXPECT_EQ(s.xSpacing, 0.1);
    EXPECT_EQ(s.heights, (std::vector<double>{1, 2, 3, 4}));
    EXPECT_FALSE(s.hasViewpoint);

    auto message = [](const std::string& text) {
        try {
            parseVrmlSurface(text, "bad.wrl");
        } catch (const trelvik::Error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_NE(message("#VRML V2.0 utf8\nShape {}\n").find("bad.wrl"), std::string::npos);
    EXPECT_NE(message("ElevationGrid { xDimension 2 zDimension 2 xSpacing 1 zSpacing 1 height [ 1 2 3 ] }")
                  .find("3 heights"), std::string::npos);
    EXPECT_NE(message("ElevationGrid { xDimension 2 zDimension 1 xSpacing 1 zSpacing 1 height [ 1 x ] }"),
              "no error");
    EXPECT_NE(message("ElevationGrid { xDimension 2 zDimension 1 xSpacing 0 zSpacing 1 height [ 1 2 ] }"),
              "no error");
    EXPECT_NE(message("ElevationGrid { xDimension 2 zDimension 1 xSpacing 1 zSpacing 1 height [ 1 nan ] }")
                  .find("not a number"), std::string::npos);
    EXPECT_NE(message("ElevationGrid { xDimension 2 zDimension 1 xSpacing inf zSpacing 1 height [ 1 2 ] }"),
              "no error");
    EXPECT_NE(message("ElevationGrid { xDimension 2 zDimension 1 xSpacing 1 zSpacing 1 height [ 1 2 "), "no error");
    EXPECT_THROW(readVrmlSurface("/no/such/file.wrl"), trelvik::Error);

    // Counts beyond an int, and a count far beyond the heights given: a clear error, and
    // no buffer sized from the count (this one would ask for 80 GB).
    EXPECT_NE(message("ElevationGrid { xDimension 3e9 zDimension 1 xSpacing 1 zSpacing 1 height [ 1 ] }")
                  .find("whole number"), std::string::npos);
    EXPECT_NE(message("ElevationGrid { xDimension 2 zDimension 3333333333 xSpacing 1 zSpacing 1 height [ 1 ] }")
                  .find("whole number"), std::string::npos);
    EXPECT_NE(message("ElevationGrid { xDimension 100000 zDimension 100000 xSpacing 1 zSpacing 1 height [ 1 ] }")
                  .find("1 heights"), std::string::npos);
}

TEST(VrmlReader, SurfaceAsMapGridSeenFromAbove) {
    VrmlSurface s;
    s.scale = 10; s.xDimension = 3; s.zDimension = 2; s.xSpacing = 0.5; s.zSpacing = 0.25;
    s.heights = {1, 2, 3, 4, 5, 6};  // VRML row z = 0 first
    const trelvik::Grid g = vrmlSurfaceGrid(s);
    EXPECT_EQ(g.cols, 3);
    EXPECT_EQ(g.rows, 2);
    EXPECT_DOUBLE_EQ(g.xMax, 10.0);
    EXPECT_DOUBLE_EQ(g.yMin, -2.5);
    EXPECT_DOUBLE_EQ(g.yMax, 0.0);
    // VRML z = 0 is the far (north) edge: the grid's top row.
    EXPECT_EQ(g.at(0, 1), 10);
    EXPECT_EQ(g.at(2, 1), 30);
    EXPECT_EQ(g.at(0, 0), 40);
}
