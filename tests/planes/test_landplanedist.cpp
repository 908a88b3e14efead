// Distances of mean landmarks to a plane read from a plane formula file.
#include "core/error.h"
#include "planes/landplanedist.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trelvik;
using namespace trelvik::planes;
using trelvik::testing::TempFolder;

namespace {
std::string sp(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

LandFindState calculated(const TempFolder& dir) {
    LandFindState s;
    s.MeanX = {2, 6};
    s.MeanY = {2, 5};
    s.MeanZ = {2.5, 5.25};
    s.ResultsPath = dir.write("r.csv", "earlier\r\n");
    return s;
}
} // namespace

TEST(LandPlaneDist, DistancesMatchTheGeometryOfTiltedAndLevelPlanes) {
    const PlaneCoefficients tilted{1, 0.25, 0.5};  // z = 1 + 0.25y + 0.5x, normal (-0.5, -0.25, 1)
    const double len = std::sqrt(0.25 + 0.0625 + 1);
    EXPECT_NEAR(DistanceToPlane(tilted, 0, 0, 3), 2 / len, 1e-15);
    EXPECT_NEAR(DistanceToPlane(tilted, 2, 2, 2.5), 0, 1e-15);  // on the plane
    // 1.5 along the unit normal, above and below.
    for (double t : {1.5, -1.5})
        EXPECT_NEAR(DistanceToPlane(tilted, 6 - 0.5 * t / len, 5 - 0.25 * t / len, 5.25 + t / len), 1.5, 1e-12);
    const PlaneCoefficients level{2, 0, 0};
    EXPECT_DOUBLE_EQ(DistanceToPlane(level, 9, -4, -1.5), 3.5);  // |z - C|
}

TEST(LandPlaneDist, AppendsOneBlockPerRunInPrintZones) {
    TempFolder dir;
    LandFindState s = calculated(dir);
    ScriptedPrompt prompt;
    dir.write("levelplaneform.txt", "z(x,y) = 2 + 0y + 0x\r\n");
    ASSERT_TRUE(FindDistancesToPlane(s, prompt, "levelplaneform.txt", dir.folder()));
    const std::string block = "Formula for surface: Nx*x + Ny*y + Nz*z = Nc\r\n"
                              "Nx" + sp(12) + "Ny" + sp(12) + "Nz" + sp(12) + "Nc\r\n"
                              " 0 " + sp(11) + " 0 " + sp(11) + " 1 " + sp(11) + " 2 \r\n"
                              "Formula for surface: z = Zx*x + Zy*y + Zc\r\n"
                              "z(x,y) = (" + sp(4) + " 0 " + sp(11) + " * x) + (" + sp(5) + " 0 " + sp(11) +
                              " * y) + (" + sp(5) + " 2 " + sp(11) + ")\r\n"
                              "z(x,y) = 2 + 0y + 0x\r\n"
                              "Distance of Point from plane\r\n"
                              "1" + sp(13) + " .5 \r\n"
                              "2" + sp(13) + " 3.25 \r\n";
    EXPECT_EQ(dir.read("r.csv"), "earlier\r\n" + block);
    ASSERT_TRUE(FindDistancesToPlane(s, prompt, "levelplaneform.txt", dir.folder()));
    EXPECT_EQ(dir.read("r.csv"), "earlier\r\n" + block + block);
    EXPECT_TRUE(prompt.shown.empty());

    // A negative slope is written with its sign in the zone.
    dir.write("tilt.txt", "z(x,y) = 1 + -0.25y + 0.5x\r\n");
    ASSERT_TRUE(FindDistancesToPlane(s, prompt, "tilt.txt", dir.folder()));
    EXPECT_NE(dir.read("r.csv").find("-.5 " + sp(10) + " .25 " + sp(9) + " 1 " + sp(11) + " 1 \r\n"), std::string::npos);
}

TEST(LandPlaneDist, BadFormulaFilesAndRunsBeforeCalculateAppendNothing) {
    TempFolder dir;
    ScriptedPrompt prompt;
    LandFindState s = calculated(dir);
    dir.write("bad.txt", "plane of the tooth\r\n");
    for (const char* name : {"bad.txt", "missing.txt"}) {
        try {
            FindDistancesToPlane(s, prompt, name, dir.folder());
            ADD_FAILURE() << name;
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find(name), std::string::npos) << e.what();
        }
    }
    EXPECT_FALSE(FindDistancesToPlane(s, prompt, "*.txt", dir.folder()));
    EXPECT_EQ(prompt.shown.back().text, "Choose plane formula filename");
    EXPECT_EQ(prompt.shown.back().title, "Filename");
    LandFindState fresh;
    EXPECT_FALSE(FindDistancesToPlane(fresh, prompt, "bad.txt", dir.folder()));
    EXPECT_EQ(prompt.shown.size(), 2u);
    EXPECT_EQ(dir.read("r.csv"), "earlier\r\n");
}
