// Joining and tip calibration against hand-computed files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cmdrun.h"
#include "pointclouds/joinpoints.h"

using namespace ptcloudtest;
using ::testing::HasSubstr;

TEST(JoinPoints, JoinsLinesInListOrderAndReZeroes) {
    CmdRun r;
    r.add("a.txt", "1,2,3\r\n4,5,6\r\n7,8,9\r\n");
    r.add("b.txt", "10 11 12\n13,14,15\n16,17,18\r19,20,21\n22,23,24");
    // Plain join: 3 + 5 lines, unchanged, each ended CR LF; no work file is left.
    ASSERT_TRUE(cmdJoinFiles(r.ctx, {false}));
    EXPECT_EQ(r.dir.read("a_jnd.txt"),
              "1,2,3\r\n4,5,6\r\n7,8,9\r\n10 11 12\r\n13,14,15\r\n16,17,18\r\n19,20,21\r\n22,23,24\r\n");
    EXPECT_EQ(r.list.NoFiles, 0);
    EXPECT_EQ(r.dir.fileCount(), 3u);
    // Re-zeroed: (10.5, -2, 3) and (11, -1, 4) give (0, 0, 0) and (0.5, 1, 1); a
    // difference with more decimals is rounded to six.
    r.add("c.txt", "10.5,-2,3\r\n");
    r.add("d.txt", "11,-1,4\r\n10.5000004,-1.9999995,3.0000025\r\n");
    ASSERT_TRUE(cmdJoinFiles(r.ctx, {true}));
    EXPECT_EQ(r.dir.read("c_jndr.txt"), "0,0,0\r\n0.5,1,1\r\n0,1E-06,2E-06\r\n");
}

TEST(JoinPoints, NeedsTwoFilesAndNeverWritesOverAnInput) {
    CmdRun r;
    r.add("a.txt", "1,2,3\r\n");
    EXPECT_FALSE(cmdJoinFiles(r.ctx, {true}));
    EXPECT_EQ(r.list.NoFiles, 1);
    r.prompt.shown.clear();  // the message that it takes two or more
    // An input named like the joined file is refused before anything is written.
    r.add("a_jnd.txt", "4,5,6\r\n");
    EXPECT_FALSE(cmdJoinFiles(r.ctx, {false}));
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("would replace"));
    EXPECT_EQ(r.dir.read("a_jnd.txt"), "4,5,6\r\n");
    // A malformed line names its file and line; nothing is written.
    CmdRun s;
    s.add("a.txt", "1,2,3\r\n");
    s.add("b.txt", "1,2,3\r\nx,y\r\n");
    EXPECT_FALSE(cmdJoinFiles(s.ctx, {true}));
    EXPECT_THAT(s.prompt.shown.at(0).text, HasSubstr("b.txt: line 2"));
    EXPECT_EQ(s.dir.fileCount(), 2u);
    EXPECT_FALSE(s.prompt.busyNow);
}

TEST(TipCalibration, TipTableAndShift) {
    EXPECT_EQ(TipOffsets("t5").value()[2], std::string("-0.025"));
    EXPECT_EQ(TipOffsets("t8").value()[0], std::string("0.018"));
    EXPECT_FALSE(TipOffsets("t3"));
    CmdRun r;
    r.dir.write("m1.txt", "1,1,1\r\n0,0,0\r\n");
    // Nothing listed: the chosen file is listed, calibrated and the list cleared.
    r.ctx.Text2 = "m1.txt";
    ASSERT_TRUE(cmdTipCal(r.ctx, {"-0.007", "0.007", "-0.025"}));
    EXPECT_EQ(r.dir.read("m1tipcal.txt"), "0.993,1.007,0.975\r\n-0.007,0.007,-0.025\r\n");
    EXPECT_EQ(r.list.NoFiles, 0);
    // Only dz: only z changes. All offsets 0: said, nothing written, the list stays.
    r.add("m1.txt");
    EXPECT_FALSE(cmdTipCal(r.ctx, {"0.000", "0", " 0 "}));
    EXPECT_EQ(r.list.NoFiles, 1);
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_EQ(r.prompt.shown[0].text, "Every offset is 0: the points would not move, so no file is written.");
    r.prompt.shown.clear();
    ASSERT_TRUE(cmdTipCal(r.ctx, {"0", "0", "0.5"}));
    EXPECT_EQ(r.dir.read("m1tipcal.txt"), "1,1,1.5\r\n0,0,0.5\r\n");
    ASSERT_EQ(r.prompt.shown.size(), 1u);  // replacing the first run's output, agreed
    EXPECT_EQ(r.prompt.shown[0].title, "Replace files");
    r.prompt.shown.clear();
    // Nothing chosen: "Choose grid filename" and nothing listed.
    r.ctx.Text2 = "*.txt,*.dat";
    EXPECT_TRUE(cmdTipCal(r.ctx, {"1", "0", "0"}));
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_EQ(r.prompt.shown[0].title, "Filename");
    EXPECT_EQ(r.prompt.shown[0].text, "Choose grid filename");
}

TEST(TipCalibration, AMistypedOffsetIsRefusedNotReadAsZero) {
    CmdRun r;
    r.add("m1.txt", "1,1,1\r\n");
    r.dir.write("m1tipcal.txt", "KEEP");
    // "abc" once read as 0 (nothing happened, silently) and "0.5x" as 0.5.
    for (const char* bad : {"abc", "0.5x", "", "1e999"}) {
        r.prompt.shown.clear();
        EXPECT_FALSE(cmdTipCal(r.ctx, {"0.1", bad, "0"})) << bad;
        ASSERT_EQ(r.prompt.shown.size(), 1u) << bad;
        EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("offset \"" + std::string(bad) + "\" is not a number"));
        EXPECT_EQ(r.list.NoFiles, 1);
        EXPECT_FALSE(r.prompt.busyNow);
    }
    EXPECT_EQ(r.dir.read("m1tipcal.txt"), "KEEP");
    // A sign and blanks around the number are fine.
    ASSERT_TRUE(cmdTipCal(r.ctx, {"+0.5", " -1 ", "0"}));
    EXPECT_EQ(r.dir.read("m1tipcal.txt"), "1.5,0,1\r\n");
}
