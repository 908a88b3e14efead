// Output names, "Output CSV", tooth point files and tooth bitmaps.
#include "core/error.h"
#include "csvview/csvoutput.h"
#include "csvview/outputnames.h"
#include "test_csvhelpers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

using namespace trelvik::csvview;

namespace {

LatticeGrid tooth(double base) {
    LatticeGrid g(3, 2);
    for (int r = 1; r <= 2; ++r)
        for (int c = 1; c <= 3; ++c) g.at(c, r) = {double(c), double(r), base + c + 3 * (r - 1)};
    g.zmin = base + 1;
    g.zmax = base + 6;
    return g;
}

const ToothParameters kParams = {0.001, 0.002, 5, 5, 0.25, 0.3, 0.001, 0.002, 0.003, 0.004, 2000};

} // namespace

TEST(OutputNames, ToothNameFromElevenParameters) {
    EXPECT_EQ(BuildOutputFilename("/out/", kParams), "/out/P100_200_50_0.5_025_030_1_2_3_4_02");
    EXPECT_EQ(BuildOutputFilename("/out", kParams), "/out/P100_200_50_0.5_025_030_1_2_3_4_02");
    // Negative and long values: no padding beyond the short forms, no leading blank.
    ToothParameters p = {-0.000015, 0.5, -1, 100, 1, 0.05, 1.5, 0, 0, 0, 12000};
    EXPECT_EQ(BuildOutputFilename("", p), "P-2_50000_-10_010_100_5_1500_0_0_0_12");
}

TEST(OutputNames, TypedNameTextRefusesWhatLeavesTheFolderOrCannotBeAName) {
    for (const char* bad : {"a/b", "a\\b", "..", "x..y", "c:", "a*", "q?", "<", "p|q", "\"x\"", "tab\there"})
        EXPECT_TRUE(nameTextProblem(bad).has_value()) << bad;
    for (const char* good : {"", "run_1", "A-b.c", "slope 45"}) EXPECT_FALSE(nameTextProblem(good).has_value()) << good;
    trelvik::ScriptedPrompt prompt;
    EXPECT_FALSE(CheckNameText("../up", "Filename", prompt));
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Filename");
    EXPECT_EQ(processedImageOutputName("/d/t", ""), imageOutputName("/d/t"));
    EXPECT_EQ(processedImageOutputName("/d/t", "_lap"), "/d/t_lap.bmp");
}

TEST(CsvOutput, CurrentGridWrittenRowByRowWithEmptyCells) {
    csvtest::TempDir tmp;
    CurrentGrid g;
    static_cast<LatticeGrid&>(g) = tooth(0);
    g.z(2, 1) = kVoidHeight;
    const std::string path = tmp.path("out.csv");
    OutputCurrentGridCsv(g, path);
    EXPECT_EQ(csvtest::readText(path), "1,1,1\r\n2,1,9999\r\n3,1,3\r\n1,2,4\r\n2,2,5\r\n3,2,6\r\n");

    // A failed write leaves the old file whole and no temporary file behind.
    EXPECT_THROW(OutputCurrentGridCsv(g, tmp.path("missing/out.csv")), trelvik::Error);
    EXPECT_THROW(OutputCurrentGridCsv(CurrentGrid{}, path), trelvik::Error);
    EXPECT_EQ(csvtest::readText(path).substr(0, 6), "1,1,1\r");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.dir), {}), 1);
}

TEST(CsvOutput, MultiToothWritesUniqueNamesAndHoldsBackSharedOnes) {
    csvtest::TempDir tmp;
    const LatticeGrid t1 = tooth(0), t3 = tooth(10), absent;
    ToothParameters p3 = kParams;
    p3[2] = 6;
    std::vector<ToothOutput> teeth = {{1, &t1, kParams}, {2, &absent, kParams}, {3, &t3, p3}};
    trelvik::ScriptedPrompt prompt;
    const MultiCsvOutcome ok = OutputMultiToothCsv(teeth, tmp.folder(), prompt);
    EXPECT_TRUE(ok.skipped.empty());
    ASSERT_EQ(ok.written.size(), 2u);  // the absent tooth writes nothing, even with a clashing name
    EXPECT_EQ(ok.written[0], tmp.folder() + "P100_200_50_0.5_025_030_1_2_3_4_02.csv");
    EXPECT_EQ(csvtest::readText(ok.written[1]).substr(0, 8), "1,1,11\r\n");
    EXPECT_TRUE(prompt.shown.empty());

    csvtest::TempDir tmp2;
    const LatticeGrid t4 = tooth(20), t5 = tooth(30);
    ToothParameters p5 = kParams;
    p5[2] = 7;
    teeth[2].params = kParams;  // teeth 1, 3 and 4 now share a name; 5 has its own
    teeth.push_back({4, &t4, kParams});
    teeth.push_back({5, &t5, p5});
    const MultiCsvOutcome clash = OutputMultiToothCsv(teeth, tmp2.folder(), prompt);
    EXPECT_EQ(clash.skipped, (std::vector<int>{1, 3, 4}));
    ASSERT_EQ(clash.written.size(), 1u);
    EXPECT_EQ(clash.written[0], tmp2.folder() + "P100_200_70_0.5_025_030_1_2_3_4_02.csv");
    EXPECT_EQ(csvtest::readText(clash.written[0]).substr(0, 8), "1,1,31\r\n");
    ASSERT_EQ(prompt.shown.size(), 1u);  // one message for every shared name
    EXPECT_NE(prompt.shown[0].text.find("Teeth 1, 3 and 4: "), std::string::npos) << prompt.shown[0].text;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp2.dir), {}), 1);

    EXPECT_THROW(WriteToothCsv(teeth[0], tmp.path("nofolder")), trelvik::Error);
}

TEST(CsvOutput, ToothBitmapGreyScaleOrientationAndFile) {
    LatticeGrid t = tooth(0);  // heights 1..6, range 5
    t.z(1, 2) = kVoidHeight;   // top-left on the picture
    const RgbImage img = toothBitmap(t);
    ASSERT_EQ(img.width, 7);
    ASSERT_EQ(img.height, 6);
    EXPECT_EQ(img.at(0, 0), rgb(255, 255, 255));      // void above the range: white
    EXPECT_EQ(img.at(2, 0), rgb(255, 255, 255));      // height 6
    EXPECT_EQ(img.at(0, 1), rgb(0, 0, 0));            // height 1
    EXPECT_EQ(img.at(1, 1), rgb(51, 51, 51));         // height 2: 255 / 5
    EXPECT_EQ(img.at(2, 1), rgb(102, 102, 102));      // height 3
    EXPECT_EQ(img.at(3, 0), kClearColour);            // margin

    LatticeGrid flat = tooth(0);
    for (auto& c : flat.cells) c.z = 2;
    flat.z(3, 1) = kVoidHeight;
    flat.zmin = flat.zmax = 2;
    const RgbImage f = toothBitmap(flat);
    EXPECT_EQ(f.at(0, 0), rgb(0, 0, 0));
    EXPECT_EQ(f.at(2, 1), rgb(255, 255, 255));

    // The file holds that picture (layout checked with the bitmap writer): the stored
    // rows run bottom-up, so picture row 0 is the last of 6 rows of 24 bytes.
    csvtest::TempDir tmp;
    const std::string path = WriteToothBitmap({1, &t, kParams}, tmp.folder());
    ASSERT_EQ(path, tmp.folder() + "P100_200_50_0.5_025_030_1_2_3_4_02.bmp");
    const std::string bmp = csvtest::readText(path);
    ASSERT_EQ(bmp.size(), 54u + 6 * 24);
    EXPECT_EQ(std::uint8_t(bmp[54 + 5 * 24]), 255);    // picture (0, 0), white
    EXPECT_EQ(std::uint8_t(bmp[54 + 4 * 24 + 3]), 51);  // picture (1, 1)
    LatticeGrid none;
    EXPECT_EQ(WriteToothBitmap({2, &none, kParams}, tmp.folder()), "");
}
