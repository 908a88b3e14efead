// Enamel outlines: slicing, alignment to the occlusal vector and the export files.
#include "core/error.h"
#include "core/textform.h"
#include "formats/slicefile.h"
#include "landmarktest.h"
#include "planes/enamel.h"
#include "planes/planeformula.h"
#include "support/scriptedprogress.h"
#include "support/writefailures.h"
#include "surfer/application.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

using namespace trelvik;
using namespace trelvik::planes;
using trelvik::testing::TempFolder;

namespace {

std::vector<std::vector<std::vector<double>>> readSegments(const std::string& text) {
    std::vector<std::vector<std::vector<double>>> segs(1);
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (line == "99999,\r") {
            segs.emplace_back();
            continue;
        }
        segs.back().push_back(text::numbers(line));
    }
    segs.pop_back();  // after the last marker
    return segs;
}

// A window's run from the topo grid to the outlines, prompts answered by writing the
// digitise files the user would save.
struct EnamelRun {
    TempFolder dir;
    AppState app;
    ScriptedPrompt prompt;
    EnamelState s;

    EnamelRun(const std::function<double(double, double)>& surface, const std::string& planeLine) {
        landmarktest::writeGrid(dir, "tooth.grd", 21, 21, 0, 10, 0, 10, surface);
        dir.write("toothplaneform.txt", planeLine + "\r\n");
        EXPECT_TRUE(cmdInputTopo(s, prompt, "tooth.grd", dir.folder()));
        EXPECT_TRUE(cmdInputPlane(s, prompt, dir.folder()));
    }
    void onPrompt(const std::string& file, const std::string& content, Answer a = Answer::Ok) {
        prompt.respond([this, file, content, a](const ScriptedPrompt::Shown&) {
            if (!file.empty()) dir.write(file, content);
            return a;
        });
    }
};

} // namespace

// A level basal plane and an occlusal vector along -x: the turn about the vertical is a
// quarter turn, (x, y, z) -> (y, -x, z), and an upper tooth has (y, x, z).
TEST(Enamel, OutlineOnALevelPlaneTurnsAQuarterTowardsTheOcclusalVector) {
    for (const auto side : {ToothSide::Lower, ToothSide::Upper}) {
        EnamelRun r([](double, double y) { return 1 + 0.2 * y; }, "z(x,y) = 0 + 0y + 0x");
        r.onPrompt("digit.dat", "3,5\r\n5,5\r\n");  // P1, P2 at equal heights: U = -x
        ASSERT_TRUE(cmdDigOccVect(r.s, r.app, r.prompt));
        EXPECT_EQ(*r.s.OcclusalUnitVector, (std::array<double, 3>{-1, 0, 0}));
        EXPECT_TRUE(std::filesystem::exists(r.dir.path("tooth_ovpz.dat")));

        r.onPrompt("digit1.dat", "2,2\r\n4,2\r\n4,4\r\n");
        ASSERT_TRUE(cmdDigEnamOut(r.s, r.app, r.prompt, "1"));
        EXPECT_EQ(r.s.OutlineCounts, std::vector<long>{4});
        EXPECT_EQ(r.dir.read("toothS1_crp.bln").substr(0, 17), " 4" + std::string(12, ' ') + "0\r\n");
        ASSERT_EQ(cmdTransform(r.s, r.prompt, side), side);

        const auto out = readSegments(r.dir.read("toothOut.csv"));
        const auto outZ = readSegments(r.dir.read("toothOutZ.csv"));
        ASSERT_EQ(out.size(), 1u);
        ASSERT_EQ(outZ.size(), 1u);
        // The slice runs round the triangle (2,2) (4,2) (4,4) and back, through every
        // grid line crossing at the half-unit spacing.
        ASSERT_GE(outZ[0].size(), 4u);
        const auto src = formats::readSliceFile(r.dir.path("toothS1_crsl.dat"));
        ASSERT_EQ(src.size(), outZ[0].size());
        for (std::size_t j = 0; j < src.size(); ++j) {
            const double ex = src[j].y, ey = side == ToothSide::Upper ? src[j].x : -src[j].x;
            EXPECT_NEAR(outZ[0][j][0], ex, 1e-12) << j;
            EXPECT_NEAR(outZ[0][j][1], ey, 1e-12) << j;
            EXPECT_NEAR(outZ[0][j][2], 1 + 0.2 * src[j].y, 1e-12) << j;
            ASSERT_EQ(out[0][j].size(), 2u);
            EXPECT_EQ(out[0][j][0], outZ[0][j][0]);
        }
        EXPECT_NEAR(outZ[0][0][0], 2, 1e-12);  // the first vertex (2, 2)
        EXPECT_NEAR(outZ[0][0][1], side == ToothSide::Upper ? 2 : -2, 1e-12);
    }
}

// A tilted basal plane z = 0.5x - 0.25y and a grid 2 above it: after the rotation to
// horizontal every outline point lies 2 / |(-0.5, 0.25, 1)| above the plane, lengths are
// kept, and the occlusal vector (digitised on the surface) ends on +y.
TEST(Enamel, TiltedPlaneIsLevelledAndTheVectorEndsOnPlusY) {
    const PlaneCoefficients plane{0, -0.25, 0.5};
    const double len = std::sqrt(0.25 + 0.0625 + 1);
    const std::array<double, 3> u = {0.6, 0.8, (0.5 * 0.6 - 0.25 * 0.8)};
    const double ul = std::sqrt(1 + u[2] * u[2]);
    const std::array<double, 3> unit = {u[0] / ul, u[1] / ul, u[2] / ul};
    const PointList seg = {{1, 1, plane.height(1, 1) + 2}, {3, 2, plane.height(3, 2) + 2}, {2, 5, plane.height(2, 5) + 2}};
    const PointList vec = {{0, 0, 0}, {unit[0], unit[1], unit[2]}};
    const auto a = AlignOutlines({seg, vec}, unit, plane, false);
    for (const PointXYZ& p : a[0]) EXPECT_NEAR(p.z, 2 / len, 1e-12);
    auto d = [](const PointXYZ& p, const PointXYZ& q) { return std::hypot(p.x - q.x, p.y - q.y, p.z - q.z); };
    EXPECT_NEAR(d(a[0][0], a[0][1]), d(seg[0], seg[1]), 1e-12);
    EXPECT_NEAR(d(a[0][1], a[0][2]), d(seg[1], seg[2]), 1e-12);
    EXPECT_NEAR(a[1][1].x - a[1][0].x, 0, 1e-12);
    EXPECT_NEAR(a[1][1].y - a[1][0].y, 1, 1e-12);
    EXPECT_NEAR(a[1][1].z - a[1][0].z, 0, 1e-12);
    // Upper mirrors y only.
    const auto up = AlignOutlines({seg}, unit, plane, true);
    for (std::size_t j = 0; j < seg.size(); ++j) {
        EXPECT_EQ(up[0][j].x, a[0][j].x);
        EXPECT_EQ(up[0][j].y, -a[0][j].y);
    }
    // A vector along +x turns by -90 degrees and also ends on +y.
    const auto px = AlignOutlines({{{0, 0, 0}, {1, 0, 0}}}, {1, 0, 0}, PlaneCoefficients{}, false);
    EXPECT_NEAR(px[0][1].x, 0, 1e-15);
    EXPECT_NEAR(px[0][1].y, 1, 1e-15);
    // A vector along the plane's normal gives no direction.
    EXPECT_THROW(AlignOutlines({seg}, {-0.5 / len, 0.25 / len, 1 / len}, plane, false), Error);
}

// Two segments, the second crossing a blank corner: blank points are left out, each
// segment ends in "99999,", and the side is asked for when none is chosen.
TEST(Enamel, BlankPointsAreLeftOutAndEachSegmentEndsInTheMarker) {
    EnamelRun r([](double x, double y) { return (x > 7 && y > 7) ? kBlank : 3.0; }, "z(x,y) = 0 + 0y + 0x");
    r.onPrompt("digit.dat", "5,6\r\n5,4\r\n");  // U = +y: no turn
    ASSERT_TRUE(cmdDigOccVect(r.s, r.app, r.prompt));
    r.onPrompt("digit1.dat", "1,1\r\n2,1\r\n");
    r.onPrompt("digit2.dat", "6,8\r\n9,8\r\n");
    ASSERT_TRUE(cmdDigEnamOut(r.s, r.app, r.prompt, "2"));
    r.prompt.answer(Answer::No);  // "Upper outline?" -> lower
    ASSERT_EQ(cmdTransform(r.s, r.prompt, ToothSide::Unset), ToothSide::Lower);
    EXPECT_EQ(r.prompt.shown.back().text, "Upper outline?");
    const std::string out = r.dir.read("toothOut.csv");
    // Segment 1 there and back along y = 1: 1, 1.5, 2, 1.5, 1.
    EXPECT_EQ(out.substr(0, out.find("99999,")), "1,1\r\n1.5,1\r\n2,1\r\n1.5,1\r\n1,1\r\n");
    const auto segs = readSegments(out);
    ASSERT_EQ(segs.size(), 2u);
    ASSERT_FALSE(segs[1].empty());
    EXPECT_LT(segs[1].size(), formats::readSliceFile(r.dir.path("toothS2_crsl.dat")).size());
    for (const auto& p : segs[1]) EXPECT_LE(p[0], 7) << "a blank point was written";
    EXPECT_EQ(out.find("0,0\r\n"), std::string::npos);
    EXPECT_EQ(out.substr(out.size() - 8), "99999,\r\n");
}

// A segment drawn wholly off the crown has no height to turn: it is refused by its
// number, and the good run's segment files stay, and the transform goes on with them.
TEST(Enamel, ASegmentWithoutAHeightIsRefusedAndTheEarlierSegmentStaysForTheTransform) {
    EnamelRun r([](double x, double) { return x > 6 ? kBlank : 3.0; }, "z(x,y) = 0 + 0y + 0x");
    r.onPrompt("digit.dat", "5,6\r\n5,4\r\n");
    ASSERT_TRUE(cmdDigOccVect(r.s, r.app, r.prompt));
    r.onPrompt("digit1.dat", "1,1\r\n2,1\r\n");
    ASSERT_TRUE(cmdDigEnamOut(r.s, r.app, r.prompt, "1"));
    const std::string copy = r.dir.read("toothS1_crp.dat"), bln = r.dir.read("toothS1_crp.bln"),
                      slice = r.dir.read("toothS1_crsl.dat");
    const auto files = r.dir.fileCount();
    r.onPrompt("digit1.dat", "8,1\r\n9,2\r\n");
    try {
        cmdDigEnamOut(r.s, r.app, r.prompt, "1");
        ADD_FAILURE() << "a segment without a height was taken";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Enamel segment 1 (" + r.dir.path("digit1.dat") + ") has no height"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_EQ(r.dir.read("toothS1_crp.dat"), copy);
    EXPECT_EQ(r.dir.read("toothS1_crp.bln"), bln);
    EXPECT_EQ(r.dir.read("toothS1_crsl.dat"), slice);
    EXPECT_EQ(r.dir.fileCount(), files);
    ASSERT_TRUE(cmdTransform(r.s, r.prompt, ToothSide::Lower));
    EXPECT_EQ(readSegments(r.dir.read("toothOut.csv")).size(), 1u);
}

// Identical occlusal-vector points are refused after their heights are taken: the
// point and height files of the earlier vector stay.
TEST(Enamel, ARefusedOcclusalVectorKeepsTheEarlierPointFiles) {
    EnamelRun r([](double, double) { return 1.0; }, "z(x,y) = 0 + 0y + 0x");
    r.onPrompt("digit.dat", "4,5\r\n5,5\r\n");
    ASSERT_TRUE(cmdDigOccVect(r.s, r.app, r.prompt));
    const std::string points = r.dir.read("tooth_ovp.dat"), heights = r.dir.read("tooth_ovpz.dat");
    r.onPrompt("digit.dat", "5,5\r\n5,5\r\n");
    EXPECT_THROW(cmdDigOccVect(r.s, r.app, r.prompt), Error);
    EXPECT_EQ(r.dir.read("tooth_ovp.dat"), points);
    EXPECT_EQ(r.dir.read("tooth_ovpz.dat"), heights);
}

// Out.csv and OutZ.csv are one outline set. A disk that fills between their sizes, or a
// folder holding the second name, leaves both old files byte for byte and no
// temporary; the temporaries of a killed run go with the next run.
TEST(Enamel, OutlineFilesAreReplacedAsAPairOrNotAtAll) {
    EnamelRun r([](double, double) { return 3.0; }, "z(x,y) = 0 + 0y + 0x");
    r.onPrompt("digit.dat", "5,6\r\n5,4\r\n");
    ASSERT_TRUE(cmdDigOccVect(r.s, r.app, r.prompt));
    r.onPrompt("digit1.dat", "1,1\r\n9,1\r\n");
    ASSERT_TRUE(cmdDigEnamOut(r.s, r.app, r.prompt, "1"));
    ASSERT_TRUE(cmdTransform(r.s, r.prompt, ToothSide::Lower));
    const std::string xy = r.dir.read("toothOut.csv"), xyz = r.dir.read("toothOutZ.csv");
    ASSERT_LT(xy.size() + 2, xyz.size());
    r.dir.write("toothOut.csv", "old xy\r\n");
    r.dir.write("toothOutZ.csv", "old xyz\r\n");
    const std::size_t files = r.dir.fileCount();
    {
        trelvik::testing::FileSizeLimit limit((xy.size() + xyz.size()) / 2);
        EXPECT_THROW(cmdTransform(r.s, r.prompt, ToothSide::Lower), Error);
    }
    EXPECT_EQ(r.dir.read("toothOut.csv"), "old xy\r\n");
    EXPECT_EQ(r.dir.read("toothOutZ.csv"), "old xyz\r\n");
    EXPECT_EQ(r.dir.fileCount(), files);

    std::filesystem::remove(r.dir.path("toothOutZ.csv"));
    std::filesystem::create_directory(r.dir.path("toothOutZ.csv"));
    EXPECT_THROW(cmdTransform(r.s, r.prompt, ToothSide::Lower), Error);
    EXPECT_EQ(r.dir.read("toothOut.csv"), "old xy\r\n");
    EXPECT_EQ(r.dir.fileCount(), files);
    std::filesystem::remove(r.dir.path("toothOutZ.csv"));

    r.dir.write(trelvik::testing::endedWriterFile("toothOut.csv"), "partial");
    r.dir.write(trelvik::testing::endedWriterFile("toothOutZ.csv"), "partial");
    ASSERT_TRUE(cmdTransform(r.s, r.prompt, ToothSide::Lower));
    EXPECT_EQ(r.dir.read("toothOut.csv"), xy);
    EXPECT_EQ(r.dir.read("toothOutZ.csv"), xyz);
    EXPECT_EQ(r.dir.fileCount(), files);
}

TEST(Enamel, CancelKeepsCompletedSegmentsAndBadInputIsReported) {
    EnamelRun r([](double, double) { return 1.0; }, "z(x,y) = 0 + 0y + 0x");
    // A topo grid gone since it was input is said before the map window could open.
    surfer::shutdownAll();
    std::filesystem::rename(r.dir.path("tooth.grd"), r.dir.path("away.grd"));
    EXPECT_FALSE(cmdDigOccVect(r.s, r.app, r.prompt));
    EXPECT_TRUE(surfer::instances().empty());
    std::filesystem::rename(r.dir.path("away.grd"), r.dir.path("tooth.grd"));
    // Identical occlusal-vector points give no direction.
    r.onPrompt("digit.dat", "5,5\r\n5,5\r\n");
    EXPECT_THROW(cmdDigOccVect(r.s, r.app, r.prompt), Error);
    EXPECT_FALSE(r.s.OcclusalUnitVector);
    r.onPrompt("digit.dat", "5,5\r\n");  // one point
    EXPECT_THROW(cmdDigOccVect(r.s, r.app, r.prompt), Error);
    r.onPrompt("", "", Answer::Cancel);
    EXPECT_FALSE(cmdDigOccVect(r.s, r.app, r.prompt));
    r.onPrompt("digit.dat", "4,5\r\n5,5\r\n");
    ASSERT_TRUE(cmdDigOccVect(r.s, r.app, r.prompt));

    r.onPrompt("digit1.dat", "1,1\r\n2,1\r\n");
    r.onPrompt("", "", Answer::Cancel);
    EXPECT_FALSE(cmdDigEnamOut(r.s, r.app, r.prompt, "3"));
    EXPECT_EQ(r.s.SegmentCount, 1);
    ASSERT_TRUE(cmdTransform(r.s, r.prompt, ToothSide::Lower));
    EXPECT_EQ(readSegments(r.dir.read("toothOut.csv")).size(), 1u);

    // A missing outline file is reported by name; segment 1 of the new run stays.
    r.onPrompt("digit1.dat", "1,1\r\n2,1\r\n");
    r.onPrompt("", "");
    std::filesystem::remove(r.dir.path("digit2.dat"));
    try {
        cmdDigEnamOut(r.s, r.app, r.prompt, "2");
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("digit2.dat"), std::string::npos) << e.what();
    }
    EXPECT_EQ(r.s.SegmentCount, 1);

    const std::size_t before = r.prompt.shown.size();
    EXPECT_FALSE(cmdDigEnamOut(r.s, r.app, r.prompt, ""));
    EnamelState fresh;
    EXPECT_FALSE(cmdTransform(fresh, r.prompt, ToothSide::Lower));
    EXPECT_EQ(r.prompt.shown.size(), before + 2);
}

// Each segment is a step on the window's sink; Esc before the next segment's prompt
// keeps the segments done, as Cancel does.
TEST(Enamel, EscBeforeTheNextSegmentKeepsTheSegmentsDone) {
    EnamelRun r([](double, double) { return 1.0; }, "z(x,y) = 0 + 0y + 0x");
    r.onPrompt("digit1.dat", "1,1\r\n2,1\r\n");
    trelvik::testing::ScriptedProgress esc(1);
    EXPECT_THROW(cmdDigEnamOut(r.s, r.app, r.prompt, "3", esc), Stopped);
    EXPECT_EQ(r.s.SegmentCount, 1);
    EXPECT_EQ(r.prompt.shown.size(), 1u);  // no second prompt
    EXPECT_EQ(esc.statuses, std::vector<std::string>{"Enamel segment 1 of 3"});
    EXPECT_TRUE(std::filesystem::exists(r.dir.path("toothS1_crsl.dat")));
}

TEST(Enamel, InputStepsLoadOnceAndReportBadNamesAndFormulas) {
    TempFolder dir;
    ScriptedPrompt prompt;
    EnamelState s;
    EXPECT_FALSE(cmdInputTopo(s, prompt, "*.grd", dir.folder()));
    EXPECT_EQ(prompt.shown.back().text, "Please choose grid filename");
    EXPECT_EQ(prompt.shown.back().title, "Trelvik");
    EXPECT_FALSE(cmdInputPlane(s, prompt, dir.folder()));  // no topo grid yet
    ASSERT_TRUE(cmdInputTopo(s, prompt, "m2.grd", dir.folder()));
    EXPECT_EQ(s.GridBaseName, "m2");
    EXPECT_FALSE(cmdInputTopo(s, prompt, "other.grd", dir.folder()));  // once per opening
    EXPECT_EQ(s.GridBaseName, "m2");
    dir.write("m2planeform.txt", "not a formula\r\n");
    EXPECT_THROW(cmdInputPlane(s, prompt, dir.folder()), Error);
    EXPECT_FALSE(s.PlaneLoaded);
    dir.write("m2planeform.txt", "z(x,y) = 1.5 + -0.25y + 0.125x\r\n");
    const auto labels = cmdInputPlane(s, prompt, dir.folder());
    ASSERT_TRUE(labels);
    EXPECT_EQ(labels->x, "0.125");
    EXPECT_EQ(labels->y, "-0.25");
    EXPECT_EQ(labels->c, "1.5");
    EXPECT_FALSE(cmdInputPlane(s, prompt, dir.folder()));
}

// No plane formula beside the grid yet: the message says which window makes it.
TEST(Enamel, AMissingPlaneFormulaSaysPlaneFitMakesIt) {
    TempFolder dir;
    ScriptedPrompt prompt;
    EnamelState s;
    ASSERT_TRUE(cmdInputTopo(s, prompt, "m2.grd", dir.folder()));
    try {
        cmdInputPlane(s, prompt, dir.folder());
        ADD_FAILURE() << "a missing plane formula was taken";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "Plane formula file not found: " + dir.path("m2planeform.txt") +
                                             ". Plane fit makes it: fit the basal plane of m2.grd with \"Digitise "
                                             "points for plane\" (Plane > Plane fit).");
    }
}
