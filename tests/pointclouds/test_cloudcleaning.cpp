// "Remove undercuts" and "Create blanking file" on generated clouds: names, option
// write-back, mould scans, kept and rejected points, outline and fill files, refusals.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cmdrun.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "formats/blnfile.h"
#include "formats/xyzpointfile.h"
#include "pointclouds/cloudcleaning.h"
#include "pointclouds/enamelthickness.h"
#include "pointclouds/joinpoints.h"

#include <filesystem>

using namespace ptcloudtest;
using ::testing::HasSubstr;

namespace {

// A flat top at z = 1 on a 0.01 lattice of 20 x 20, with three points 0.5 under it.
std::string shelf() {
    std::string s;
    for (int j = 0; j < 20; ++j)
        for (int i = 0; i < 20; ++i) s += text::CStr(0.01 * i) + "," + text::CStr(0.01 * j) + ",1\r\n";
    s += "0.055,0.055,0.5\r\n0.105,0.115,0.5\r\n0.155,0.055,0.5\r\n";
    return s;
}

} // namespace

TEST(RemoveUndercuts, DefaultSettingsNamesAndWriteBack) {
    CmdRun r;
    r.add("m1.txt", shelf());
    UndercutWindowOptions o;
    ASSERT_TRUE(cmdRemoveUndercuts(r.ctx, o));
    EXPECT_EQ(o.txtBinSize, "0.02");
    EXPECT_EQ(o.txtThresh, "0.080");
    EXPECT_EQ(r.list.NoFiles, 0);
    const PointList kept = formats::readXyzPointFile(r.dir.path("m1-uct080_020.txt"));
    const PointList rej = formats::readXyzPointFile(r.dir.path("m1-uct080_020_rej.txt"));
    EXPECT_EQ(kept.size(), 400u);
    ASSERT_EQ(rej.size(), 3u);
    for (const auto& p : rej) EXPECT_EQ(p.z, 0.5);
    // Mould scan: x and z negated in both files, "m" in the names; the top is now the
    // lowest, so the three points lie above the negated top and the top is rejected.
    r.add("m1.txt");
    o.chkMould = true;
    ASSERT_TRUE(cmdRemoveUndercuts(r.ctx, o));
    const PointList mk = formats::readXyzPointFile(r.dir.path("m1-uct080_020m.txt"));
    const PointList mr = formats::readXyzPointFile(r.dir.path("m1-uct080_020m_rej.txt"));
    EXPECT_EQ(mk.size() + mr.size(), 403u);
    for (const auto& p : mk) EXPECT_LE(p.x, 0);
    EXPECT_GT(mr.size(), 0u);
    for (const auto& p : mr) EXPECT_EQ(p.z, -1);
}

// Two listed files whose outputs already exist (one of them the user's) are asked
// about once; Cancel writes nothing and keeps the list, Replace writes both.
TEST(RemoveUndercuts, ExistingOutputsAreAskedAboutOnce) {
    CmdRun r;
    r.add("m1.txt", shelf());
    r.add("m2.txt", shelf());
    r.dir.write("m1-uct080_020.txt", "mine\r\n");
    r.dir.write("m2-uct080_020_rej.txt", "mine too\r\n");
    const std::size_t files = r.dir.fileCount();
    UndercutWindowOptions o;
    r.prompt.answer(Answer::Cancel);
    EXPECT_FALSE(cmdRemoveUndercuts(r.ctx, o));
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_EQ(r.prompt.shown[0].title, "Replace files");
    EXPECT_EQ(r.prompt.shown[0].buttons, Buttons::ReplaceCancel);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr(r.dir.path("m1-uct080_020.txt")));
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr(r.dir.path("m2-uct080_020_rej.txt")));
    EXPECT_EQ(r.dir.fileCount(), files);
    EXPECT_EQ(r.dir.read("m1-uct080_020.txt"), "mine\r\n");
    EXPECT_EQ(r.list.NoFiles, 2);
    EXPECT_FALSE(r.prompt.busyNow);
    r.prompt.answer(Answer::Replace);
    EXPECT_TRUE(cmdRemoveUndercuts(r.ctx, o));
    EXPECT_EQ(r.prompt.shown.size(), 2u);
    EXPECT_EQ(formats::readXyzPointFile(r.dir.path("m1-uct080_020.txt")).size(), 400u);
    EXPECT_EQ(formats::readXyzPointFile(r.dir.path("m2-uct080_020_rej.txt")).size(), 3u);
}

TEST(RemoveUndercuts, AdvancedSettingsNamesAndRefusals) {
    CmdRun r;
    r.add("m1.txt", shelf());
    UndercutWindowOptions o;
    o.chkDefaultSet = false;
    o.chkWriteRej = false;
    ASSERT_TRUE(cmdRemoveUndercuts(r.ctx, o));
    EXPECT_EQ(formats::readXyzPointFile(r.dir.path("m1-uct.05_020.txt")).size(), 400u);
    EXPECT_FALSE(FileExists(r.dir.path("m1-uct.05_020_rej.txt")));
    o.optThresh = false;
    o.optProp = true;
    r.add("m1.txt");
    ASSERT_TRUE(cmdRemoveUndercuts(r.ctx, o));
    EXPECT_EQ(formats::readXyzPointFile(r.dir.path("m1-ucp0.9_020.txt")).size(), 400u);
    // A radius of 0 is refused with a message; the list stays.
    r.add("m1.txt");
    o.txtSearchRadius = "0";
    EXPECT_FALSE(cmdRemoveUndercuts(r.ctx, o));
    EXPECT_THAT(r.prompt.shown.at(0).text, HasSubstr("radius"));
    EXPECT_EQ(r.list.NoFiles, 1);
    // A malformed file names its line; an empty file is refused.
    CmdRun s;
    s.add("bad.txt", "1,2,3\r\n1,2\r\n");
    EXPECT_FALSE(cmdRemoveUndercuts(s.ctx, o = UndercutWindowOptions{}));
    EXPECT_THAT(s.prompt.shown.at(0).text, HasSubstr("bad.txt: line 2"));
    CmdRun e;
    e.add("empty.txt", "\r\n");
    EXPECT_FALSE(cmdRemoveUndercuts(e.ctx, o));
    EXPECT_THAT(e.prompt.shown.at(0).text, HasSubstr("holds no points"));
}

TEST(CreateBlankingFile, OutlineAndFillPoints) {
    CmdRun r;
    // A square of 11 x 11 points 0.05 apart, bins of 0.1: the outline runs along its
    // edge; the fill points sit at the lowest z.
    std::string sq;
    for (int j = 0; j <= 10; ++j)
        for (int i = 0; i <= 10; ++i) sq += text::CStr(0.05 * i) + "," + text::CStr(0.05 * j) + ",2\r\n";
    r.add("m1.txt", sq);
    ASSERT_TRUE(cmdCreateBlankingFile(r.ctx, {}));
    const auto sections = formats::readBlnFile(r.dir.path("m1pblnpts.bln"));
    ASSERT_EQ(sections.size(), 1u);
    const auto& v = sections[0].vertices;
    EXPECT_EQ(sections[0].flag, 0);
    EXPECT_EQ(v.front().x, v.back().x);
    EXPECT_EQ(v.front().y, v.back().y);
    EXPECT_GE(v.size(), 12u);
    // Every outline vertex is a point on the square's edge.
    for (const auto& p : v) EXPECT_TRUE(p.x < 1e-9 || p.y < 1e-9 || p.x > 0.5 - 1e-9 || p.y > 0.5 - 1e-9) << p.x << "," << p.y;
    const PointList filled = formats::readXyzPointFile(r.dir.path("m1p.txt"));
    ASSERT_GT(filled.size(), 121u);
    for (std::size_t k = 121; k < filled.size(); ++k) EXPECT_EQ(filled[k].z, 2);
    EXPECT_EQ(r.list.NoFiles, 0);
}

TEST(CreateBlankingFile, FailedOutlinesAreReportedAndTheBatchGoesOn) {
    CmdRun r;
    r.add("same.txt", "1,1,1\r\n1,1,2\r\n");
    r.add("apart.txt", "0,0,0\r\n10,10,0\r\n");
    std::string sq;
    for (int j = 0; j <= 4; ++j)
        for (int i = 0; i <= 4; ++i) sq += text::CStr(0.05 * i) + "," + text::CStr(0.05 * j) + ",2\r\n";
    r.add("ok.txt", sq);
    OutlineWindowOptions o;
    o.chkBlankedAreaPts = false;
    ASSERT_TRUE(cmdCreateBlankingFile(r.ctx, o));
    ASSERT_EQ(r.prompt.shown.size(), 2u);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("one x, y position"));
    EXPECT_THAT(r.prompt.shown[1].text, HasSubstr("E004"));
    EXPECT_EQ(r.prompt.shown[1].title, "Trelvik");
    EXPECT_FALSE(FileExists(r.dir.path("samepblnpts.bln")));
    EXPECT_FALSE(FileExists(r.dir.path("apartpblnpts.bln")));
    EXPECT_TRUE(FileExists(r.dir.path("okpblnpts.bln")));
    EXPECT_FALSE(FileExists(r.dir.path("okp.txt")));
    // A bin size that is no number above 0 is refused before anything is read.
    r.add("ok.txt");
    o.txtBlnBinSize = "-1";
    EXPECT_FALSE(cmdCreateBlankingFile(r.ctx, o));
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("bin size"));
}

// A file of a step's set that cannot be put in place (its name held by a folder) leaves
// the earlier set whole: the kept points with the rejects, the outline with its fill.
TEST(CloudCleaning, ASetThatCannotAllBePutInPlaceLeavesTheEarlierSet) {
    CmdRun r;
    r.add("m1.txt", shelf());
    r.dir.write("m1-uct080_020.txt", "old kept\r\n");
    std::filesystem::create_directory(r.dir.path("m1-uct080_020_rej.txt"));
    UndercutWindowOptions u;
    EXPECT_FALSE(cmdRemoveUndercuts(r.ctx, u));
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("m1-uct080_020_rej.txt"));
    EXPECT_EQ(r.dir.read("m1-uct080_020.txt"), "old kept\r\n");
    r.list = PtCloudList{};
    r.add("m1.txt");
    r.dir.write("m1pblnpts.bln", "old outline\r\n");
    std::filesystem::create_directory(r.dir.path("m1p.txt"));
    EXPECT_FALSE(cmdCreateBlankingFile(r.ctx, {}));
    EXPECT_THAT(r.prompt.shown.back().text, HasSubstr("m1p.txt"));
    EXPECT_EQ(r.dir.read("m1pblnpts.bln"), "old outline\r\n");
}

// Esc during a point loop ends the command quietly; nothing is written.
TEST(PointLoops, EscStopsWithoutWritingOrMessage) {
    struct Esc : CloudProgress {
        bool stopRequested() override { return true; }
    } esc;
    CmdRun r;
    r.add("m1.txt", shelf());
    r.add("m2.txt", shelf());
    PtCloudContext ctx{r.app, r.prompt, r.list, esc};
    const std::size_t files = r.dir.fileCount();
    UndercutWindowOptions o;
    EXPECT_FALSE(cmdRemoveUndercuts(ctx, o));
    EXPECT_FALSE(cmdEnamThickCalc(ctx, {}));
    EXPECT_FALSE(cmdJoinFiles(ctx, {}));
    EXPECT_EQ(r.dir.fileCount(), files);
    EXPECT_TRUE(r.prompt.shown.empty());
    EXPECT_EQ(r.list.NoFiles, 2);
    EXPECT_FALSE(r.prompt.busyNow);
}
