// Landmark trials through slicing and statistics, on a plane grid whose heights and
// lengths are known by hand.
#include "core/error.h"
#include "core/grid.h"
#include "landmarktest.h"
#include "planes/landfind.h"
#include "planes/landstats.h"
#include "support/scriptedprogress.h"
#include "surfer/application.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace trelvik;
using namespace trelvik::planes;
using trelvik::testing::TempFolder;

namespace {

struct TrialRun {
    TempFolder dir;
    AppState app;
    ScriptedPrompt prompt;
    LandFindState s;

    explicit TrialRun(const std::vector<std::string>& trials, const std::string& version = "SurferV8") {
        app.mnuSurf6Checked = version == "SurferV6";
        app.mnuSurf8Checked = !app.mnuSurf6Checked;
        landmarktest::writeGrid(dir, "tooth.grd", 11, 11, 0, 10, 0, 10, landmarktest::basalPlane);
        for (std::size_t i = 0; i < trials.size(); ++i) {
            const std::string name = "t" + std::to_string(i + 1) + ".dat";
            dir.write(name, trials[i]);
            EXPECT_TRUE(DatFilename(s, prompt, std::to_string(trials.size()), name, dir.folder()));
        }
    }
    std::optional<std::string> slice(const std::string& grid = "tooth.grd") {
        return SliceGrid(s, app, prompt, grid, dir.folder());
    }
    bool calculate(bool toothLength = true, const std::string& name = "toothcalcresults.csv") {
        return Calculate(s, prompt, {name, dir.folder(), dir.folder(), toothLength});
    }
};

const std::vector<std::string> kThreeTrials = {"2,2\r\n6,5\r\n", "2.5 2\r\n6 5.5\r\n", "1.5,2\n6,4.5\n"};

} // namespace

// Three trials of two landmarks on z = 1 + 0.5x + 0.25y. Landmark 1 lies at (2, 2),
// (2.5, 2), (1.5, 2); landmark 2 at (6, 5), (6, 5.5), (6, 4.5). By hand: means (2, 2, 2.5)
// and (6, 5, 5.25); variances with divisor 2; aveVar = 0.625 / 4 and 0.53125 / 4; the
// distance between means sqrt(16 + 9 + 2.75^2) = 5.70635610525666; along the lines the
// second landmark lies 5, 3.5 sqrt 2 and sqrt 26.5 from the first (as the slice file
// holds them, to 15 digits, which the spread of these distances shows), and the slices
// (straight on a plane) are the 3-D distances between the trial's two landmarks.
TEST(LandFind, ThreeTrialsOfTwoLandmarksGiveTheGoldenResultsAndToothLength) {
    for (const char* version : {"SurferV6", "SurferV8"}) {
        TrialRun r(kThreeTrials, version);
        EXPECT_EQ(BlnConvert(r.s), 2);
        EXPECT_EQ(r.dir.read("tempbln2.bln"), "2,0\r\n2.5,2\r\n6,5.5\r\n");
        EXPECT_EQ(r.slice(), "toothcalcresults.csv");
        EXPECT_TRUE(r.prompt.shown.empty());
        EXPECT_EQ(r.s.GridBaseName, "tooth");
        EXPECT_EQ(r.dir.read("t2z.dat"), "2.5,2,2.75\r\n6,5.5,5.375\r\n");
        EXPECT_EQ(r.dir.read("tempz3.dat"), "1.5,2,2.25\r\n6,4.5,5.125\r\n");
        EXPECT_NEAR(r.s.SliceLength[0], std::sqrt(25 + 2.75 * 2.75), 1e-12);

        ASSERT_TRUE(r.calculate());
        const std::string golden =
            "\"Landmark, x_mean, x_variance, x_sd, y_mean, y_variance, y_sd, z_mean, z_variance, z_sd, "
            "ave_variance, ave_sd\"\r\n"
            "\"1\",2,0.25,0.5,2,0,0,2.5,0.0625,0.25,0.15625,0.395284707521047\r\n"
            "\"2\",6,0,0,5,0.25,0.5,5.25,0.015625,0.125,0.1328125,0.364434493427831\r\n"
            "\"Direct distances between means of landmarks\"\r\n"
            "\"1\",\"to\",2,5.70635610525666\r\n"
            "\"Mean \xB1 SD 2D distances between landmarks\"\r\n"
            "\"1     to\",2,5.03252084626644,0.102960661616501\r\n"
            "\"Mean \xB1 SD 3D distances along surface between first and last landmarks\"\r\n"
            "\"1     to  \",2,5.73510934018193,0.148849871471283\r\n"
            "\"Mean 3D distances between all landmarks from first to last landmark\"\r\n"
            "5.70635610525666\r\n";
        EXPECT_EQ(r.dir.read("toothcalcresults.csv"), golden) << version;
        EXPECT_EQ(r.dir.read("tooth_tl.txt"), "5.706\r\n");
        EXPECT_EQ(r.s.ResultsPath, r.dir.path("toothcalcresults.csv"));
        EXPECT_EQ(r.s.MeanZ, (std::vector<double>{2.5, 5.25}));
    }
}

// Trials whose landmark means meet give no tooth length: Calculate refuses before the
// results table of the earlier run is replaced.
TEST(LandFind, ToothLengthThatCannotBeStoredKeepsTheEarlierResults) {
    TrialRun r({"2,2\r\n6,5\r\n", "6,5\r\n2,2\r\n"});
    BlnConvert(r.s);
    r.slice();
    r.dir.write("toothcalcresults.csv", "earlier\r\n");
    EXPECT_THROW(r.calculate(), Error);
    EXPECT_EQ(r.dir.read("toothcalcresults.csv"), "earlier\r\n");
}

// One trial of three landmarks: every spread is empty, the distance rows end in an
// empty field, and the path runs through all three means.
TEST(LandFind, OneTrialLeavesTheSpreadsEmpty) {
    TrialRun r({"0,0\r\n4,0\r\n4,3\r\n"});
    BlnConvert(r.s);
    r.slice();
    ASSERT_TRUE(r.calculate(false, "one.csv"));
    const std::string text = r.dir.read("one.csv");
    EXPECT_NE(text.find("\"1\",0,,,0,,,1,,,,\r\n\"2\",4,,,0,,,3,,,,\r\n\"3\",4,,,3,,,3.75,,,,\r\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("\"1\",\"to\",3,5.70635610525666\r\n\"2\",\"to\",3,3.09232921921325\r\n"), std::string::npos);
    EXPECT_NE(text.find("\"1     to\",2,4,\r\n\"1     to\",3,7,\r\n"), std::string::npos) << text;
    // The slice sums many short pieces of 15-digit heights: equal to 14 digits.
    EXPECT_NE(text.find("\"1     to  \",3,7.5644651742128"), std::string::npos) << text;
    // Path 1-2-3, and the slice along the same two segments: sqrt(16 + 4) + sqrt(9 + 0.5625).
    EXPECT_NE(text.find("\"\r\n7.56446517421282\r\n"), std::string::npos) << text;
    EXPECT_FALSE(std::filesystem::exists(r.dir.path("tooth_tl.txt")));
}

// Each trial sliced and matched is a step on the window's sink; Esc between two trials
// ends the step with the trials finished so far kept and nothing taken as sliced.
TEST(LandFind, TrialsAreReportedAndEscStopsBetweenThem) {
    TrialRun r(kThreeTrials);
    BlnConvert(r.s);
    trelvik::testing::ScriptedProgress esc(4);
    EXPECT_THROW(SliceGrid(r.s, r.app, r.prompt, "tooth.grd", r.dir.folder(), esc), Stopped);
    EXPECT_EQ(esc.statuses, (std::vector<std::string>{"Slicing trial 1 of 3", "Matching trial 1 of 3",
                                                      "Slicing trial 2 of 3", "Matching trial 2 of 3"}));
    EXPECT_TRUE(std::filesystem::exists(r.dir.path("t2z.dat")));
    EXPECT_FALSE(std::filesystem::exists(r.dir.path("tempdat3.dat")));
    EXPECT_FALSE(r.s.Sliced);

    trelvik::testing::ScriptedProgress seen;
    EXPECT_EQ(SliceGrid(r.s, r.app, r.prompt, "tooth.grd", r.dir.folder(), seen), "toothcalcresults.csv");
    EXPECT_EQ(seen.steps.size(), 6u);
    EXPECT_EQ(seen.steps.back(), std::make_pair(5LL, 6LL));
    EXPECT_EQ(seen.statuses.back(), "Matching trial 3 of 3");
    EXPECT_TRUE(r.s.Sliced);
}

// A file of a set that cannot be put in place (a folder holds its name) leaves the
// set's earlier files as they were: the slice lines, a trial's slice and heights with its
// z file, and the results table with the tooth length that Cusp volume and Rake read.
TEST(LandFind, ASetThatCannotAllBePutInPlaceLeavesTheEarlierSet) {
    TrialRun r(kThreeTrials);
    r.dir.write("tempbln1.bln", "earlier\r\n");
    std::filesystem::create_directory(r.dir.path("tempbln2.bln"));
    EXPECT_THROW(BlnConvert(r.s), Error);
    EXPECT_EQ(r.dir.read("tempbln1.bln"), "earlier\r\n");
    std::filesystem::remove(r.dir.path("tempbln2.bln"));
    BlnConvert(r.s);
    r.dir.write("tempdat1.dat", "earlier\r\n");
    std::filesystem::create_directory(r.dir.path("tempz1.dat"));
    EXPECT_THROW(r.slice(), Error);
    EXPECT_EQ(r.dir.read("tempdat1.dat"), "earlier\r\n");
    std::filesystem::remove(r.dir.path("tempz1.dat"));
    r.dir.write("tempz1.dat", "earlier\r\n");
    std::filesystem::create_directory(r.dir.path("t1z.dat"));
    EXPECT_THROW(r.slice(), Error);
    EXPECT_EQ(r.dir.read("tempz1.dat"), "earlier\r\n");
    std::filesystem::remove(r.dir.path("t1z.dat"));
    ASSERT_TRUE(r.slice());
    r.dir.write("toothcalcresults.csv", "earlier\r\n");
    std::filesystem::create_directory(r.dir.path("tooth_tl.txt"));
    EXPECT_THROW(r.calculate(), Error);
    EXPECT_EQ(r.dir.read("toothcalcresults.csv"), "earlier\r\n");
}

TEST(LandFind, InputMessagesAndStepsOutOfOrderWriteNothing) {
    TempFolder dir;
    ScriptedPrompt prompt;
    LandFindState s;
    AppState app;
    surfer::shutdownAll();
    dir.write("a.dat", "1,1\r\n2,2\r\n");
    dir.write("short.dat", "1,1\r\n");
    EXPECT_FALSE(DatFilename(s, prompt, "2", "*.dat", dir.folder()));
    EXPECT_FALSE(DatFilename(s, prompt, "0", "a.dat", dir.folder()));
    EXPECT_FALSE(DatFilename(s, prompt, "many", "a.dat", dir.folder()));
    ASSERT_EQ(prompt.shown.size(), 3u);
    EXPECT_EQ(prompt.shown[0].title, "Filename");
    EXPECT_EQ(prompt.shown[0].text, "Choose dat filename");
    EXPECT_EQ(prompt.shown[1].title, "Dat files");
    EXPECT_EQ(prompt.shown[1].text, "Please enter number of blanking files\nThe box \"No. of data files\" holds "
                                    "\"0\"; it needs a whole number from 1 to 32767.");
    EXPECT_EQ(prompt.shown[2].text, "Please enter number of blanking files\nThe box \"No. of data files\" holds "
                                    "\"many\"; it needs a whole number from 1 to 32767.");

    const auto added = DatFilename(s, prompt, "2", "a.dat", dir.folder());
    ASSERT_TRUE(added);
    EXPECT_EQ(added->Label7, " 1/ 2");
    EXPECT_EQ(added->Text6, "a.dat");
    EXPECT_THROW(BlnConvert(s), Error);  // one of two added
    EXPECT_EQ(DatFilename(s, prompt, "2", "short.dat", dir.folder())->Label7, " 2/ 2");
    EXPECT_FALSE(DatFilename(s, prompt, "2", "a.dat", dir.folder()));  // the list is full
    // A smaller count typed afterwards keeps the first trials only.
    EXPECT_FALSE(DatFilename(s, prompt, "1", "a.dat", dir.folder()));
    EXPECT_EQ(BlnConvert(s), 2);
    EXPECT_EQ(s.SliceLineFiles.size(), 1u);
    std::filesystem::remove(dir.path("tempbln1.bln"));
    ResetLandFind(s);
    DatFilename(s, prompt, "2", "a.dat", dir.folder());
    DatFilename(s, prompt, "2", "short.dat", dir.folder());
    try {
        BlnConvert(s);
        ADD_FAILURE();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("short.dat"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path("tempbln1.bln")));
    EXPECT_EQ(s.LandmarkCount, 0);
    EXPECT_THROW(SliceGrid(s, app, prompt, "tooth.grd", dir.folder()), Error);

    prompt.shown.clear();
    EXPECT_FALSE(SliceGrid(s, app, prompt, "*.grd", dir.folder()));
    EXPECT_TRUE(surfer::instances().empty());  // refused before the map window could open
    EXPECT_FALSE(Calculate(s, prompt, {"*.txt", dir.folder(), dir.folder(), false}));
    EXPECT_FALSE(Calculate(s, prompt, {"r.csv", dir.folder(), dir.folder(), false}));  // not sliced
    ASSERT_EQ(prompt.shown.size(), 3u);
    EXPECT_EQ(prompt.shown[0].text, "Choose grid filename");
    EXPECT_EQ(prompt.shown[1].text, "Choose results filename");
    EXPECT_EQ(prompt.shown[2].title, "Landmark");
    EXPECT_FALSE(prompt.busyNow);

    // Reset starts a new list with the next add.
    const LandFindLabels labels = ResetLandFind(s);
    EXPECT_EQ(labels.Label7, "0/0");
    EXPECT_EQ(labels.Text6, "dat filename");
    EXPECT_EQ(DatFilename(s, prompt, "1", "a.dat", dir.folder())->Label7, " 1/ 1");
}

namespace {
// What Convert with "No. of data files" reading text5 says ("converted" when it goes on).
std::string convertRefusal(LandFindState& s, const std::string& text5) {
    try {
        BlnConvert(s, text5);
    } catch (const Error& e) {
        return e.what();
    }
    return "converted";
}
} // namespace

// Before any add (and after Reset) the list has no length: the refusal counts the trials
// the box asks for, and the full list's message says where Reset is.
TEST(LandFind, RefusalsCountTheBoxAndSayWhereResetIs) {
    TempFolder dir;
    ScriptedPrompt prompt;
    LandFindState s;
    dir.write("a.dat", "1,1\r\n2,2\r\n");
    auto refusal = [&](const std::string& text5) { return convertRefusal(s, text5); };
    EXPECT_EQ(refusal("1"), "Add all 1 trial file before converting it (0 added).");
    ASSERT_TRUE(DatFilename(s, prompt, "1", "a.dat", dir.folder()));
    EXPECT_FALSE(DatFilename(s, prompt, "1", "a.dat", dir.folder()));
    EXPECT_NE(prompt.shown.back().text.find("Press Reset on the Calculate tab"), std::string::npos);
    ResetLandFind(s);
    EXPECT_EQ(refusal("3"), "Add all 3 trial files before converting them (0 added).");
}

// The box is read again at Convert: a list not yet full is counted as the box shows it,
// and a box lowered to the trials already added says how to end the list there.
TEST(LandFind, ConvertCountsTheTrialsTheBoxShowsNow) {
    TempFolder dir;
    ScriptedPrompt prompt;
    LandFindState s;
    dir.write("a.dat", "1,1\r\n2,2\r\n");
    ASSERT_TRUE(DatFilename(s, prompt, "2", "a.dat", dir.folder()));
    auto refusal = [&](const std::string& text5) { return convertRefusal(s, text5); };
    EXPECT_EQ(refusal("3"), "Add all 3 trial files before converting them (1 added).");
    EXPECT_EQ(refusal("1"), "The list holds 1 of the 2 trial files asked for at the last add: press \"Add .dat  "
                            "filename\" to end it at the 1 in \"No. of data files\", or add the others.");
}

// Landmark means 0.0002 apart give a length that rounds to nothing at three decimals:
// said so, rather than called a length that is not positive.
TEST(LandFind, ToothLengthTooShortForThreeDecimalsIsSaidSo) {
    TrialRun r({"2,2\r\n2.0002,2\r\n"});
    BlnConvert(r.s);
    r.slice();
    try {
        r.calculate();
        ADD_FAILURE() << "a tooth length of 0.0002 was kept";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("is too short to keep at three decimals"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(r.dir.path("tooth_tl.txt")));
}

TEST(LandFind, OneLandmarkOrAResultsBoxHoldingTheFolderIsRefused) {
    TrialRun one({"2,2\r\n", "3,3\r\n"});
    BlnConvert(one.s);
    one.slice();
    EXPECT_FALSE(one.calculate());
    EXPECT_NE(one.prompt.shown.back().text.find("at least two"), std::string::npos);

    TrialRun r(kThreeTrials);
    BlnConvert(r.s);
    r.slice();
    r.dir.write("old.csv", "keep");
    EXPECT_FALSE(Calculate(r.s, r.prompt, {r.dir.folder(), r.dir.folder(), r.dir.folder(), true}));
    EXPECT_EQ(r.prompt.shown.back().text, "Please select output file");
    EXPECT_FALSE(std::filesystem::exists(r.dir.path("tooth_tl.txt")));
}

// A landmark on a blank part of the grid has no height: reported at the slice, written
// with an empty z field, and the statistics refuse to count it as 0.
TEST(LandFind, LandmarksWithoutAHeightAreReportedNotCountedAsZero) {
    TrialRun r({"2,2\r\n9.5,9.5\r\n", "2,2\r\n6,5\r\n"});
    trelvik::Grid g(11, 11, 0, 10, 0, 10);
    for (int j = 0; j < 11; ++j)
        for (int i = 0; i < 11; ++i) g.at(i, j) = (i >= 8 && j >= 8) ? kBlank : landmarktest::basalPlane(i, j);
    formats::writeSurferGrid(r.dir.path("holed.grd"), g, formats::SurferGridFormat::Binary7);
    BlnConvert(r.s);
    r.slice("holed.grd");
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_NE(r.prompt.shown[0].text.find("trial 1, landmark 2: on a blank part of the grid or outside it"),
              std::string::npos);
    EXPECT_EQ(r.dir.read("t1z.dat"), "2,2,2.5\r\n9.5,9.5,\r\n");
    EXPECT_EQ(r.dir.read("tempz1.dat"), "2,2,2.5\r\n");
    // Only the part of trial 1's slice below x, y = 7 has a surface under it.
    // Heights next to the hole (x, y above 7) are blank; the slice counts from (2, 2) to
    // (7, 7) only: sqrt(50 + 3.75^2).
    EXPECT_NEAR(r.s.SliceLength[0], std::sqrt(50 + 3.75 * 3.75), 1e-9);

    r.dir.write("holedcalcresults.csv", "earlier results");
    EXPECT_FALSE(r.calculate(true, "holedcalcresults.csv"));
    EXPECT_NE(r.prompt.shown.back().text.find("trial 1, landmark 2"), std::string::npos);
    EXPECT_EQ(r.dir.read("holedcalcresults.csv"), "earlier results");
}

// Matching is by nearest slice point within the tolerance, not by equal doubles.
TEST(LandFind, MatchingTakesTheNearestPointWithinTheTolerance) {
    using formats::SlicePoint;
    const std::vector<SlicePoint> slice = {{0.30000000000000004, 1, 5, 0, },
                                           {0.5, 1, 6, 0.2},
                                           {0.5, 1, 7, 0.2},
                                           {0.7, 1, kBlank, 0.4},
                                           {0.9, 1, 8, 0.6}};
    const SliceMatch m = MatchLandmarks({0.3, 0.5, 0.7, 0.8, 0.9}, {1, 1, 1, 1, 1}, slice, 1e-3);
    EXPECT_EQ(m.z[0], 5.0);           // written with other digits
    EXPECT_EQ(m.z[1], 6.0);           // the first of two equal points
    EXPECT_FALSE(m.z[2].has_value()); // blank
    EXPECT_TRUE(m.blank[2]);
    EXPECT_EQ(m.dist[2], 0.4);
    EXPECT_EQ(m.record[3], -1);       // no slice point there
    EXPECT_EQ(m.z[4], 8.0);
    // Segments next to the blank point add nothing: (0.3,5)-(0.5,6)-(0.5,7).
    EXPECT_NEAR(m.sliceLength, std::hypot(0.2, 1.0) + 1.0, 1e-12);
}
