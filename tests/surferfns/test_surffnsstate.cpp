// The grid list of the "Surfer Functions" window and the batch skeleton its buttons share.
#include "procrun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace surffnstest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

bool add(ProcRun& r, const std::string& folder, const std::string& name) {
    r.ctx.File2Folder = folder;
    r.ctx.Text2 = name;
    return AddFilename(r.ctx);
}

Grid small() { return makeGrid(4, 3, 0, 3, 0, 2, [](double x, double y) { return x + 10 * y; }); }

// An entry that copies its grid beside itself as <base>cp.grd.
EntryResult copyEntry(SurfFnsContext& c, int i) {
    const std::string in = c.state.GridFullName[i - 1], out = c.state.GridPathNoExt[i - 1] + "cp.grd";
    CallSurfer(c, "GridConvert", surfer::Positional{in, out}, surfer::Named{{"InGrid", in}, {"OutGrid", out}});
    c.state.OutGridName[i - 1] = out;
    return EntryResult::Done;
}

} // namespace

TEST(GridList, AddBuildsEveryNameAndRefusalsLeaveTheListUnchanged) {
    ProcRun r;
    ASSERT_TRUE(add(r, "/data/teeth", "molar1b150.grd"));
    ASSERT_TRUE(add(r, "/data/teeth", "m2.txt"));
    EXPECT_THAT(r.state.GridFullName, ElementsAre("/data/teeth/molar1b150.grd", "/data/teeth/m2.txt"));
    EXPECT_THAT(r.state.GridDir, ElementsAre("/data/teeth/", "/data/teeth/"));
    EXPECT_THAT(r.state.GridBaseName, ElementsAre("molar1b150", "m2"));
    EXPECT_THAT(r.state.GridPathNoExt, ElementsAre("/data/teeth/molar1b150", "/data/teeth/m2"));
    // A drive root already ends in the separator; names built from it keep the double one.
    ASSERT_TRUE(add(r, "/", "root.grd"));
    EXPECT_EQ(r.state.GridPathNoExt[2], "//root");
    EXPECT_TRUE(r.prompt.shown.empty());

    EXPECT_FALSE(add(r, "/data/teeth", "m2.txt"));
    EXPECT_FALSE(add(r, "/d", "*.grd"));
    EXPECT_FALSE(add(r, "/d", ""));
    EXPECT_FALSE(add(r, "/d", ".grd"));  // four characters: no base name would be left
    EXPECT_EQ(r.state.NumFiles, 3);
    EXPECT_EQ(r.state.GridFullName.size(), 3u);
    ASSERT_EQ(r.prompt.shown.size(), 4u);
    for (const auto& m : r.prompt.shown) EXPECT_EQ(m.title, "Filename");
    EXPECT_EQ(r.prompt.shown[0].text, "Filename already added");
    EXPECT_EQ(r.prompt.shown[1].text, "Choose grid filename");
    EXPECT_EQ(r.prompt.shown[2].text, "Choose grid filename");
    EXPECT_THAT(r.prompt.shown[3].text, HasSubstr("too short"));
    // The same name from another folder is another grid; after clearing, the first adds again.
    EXPECT_TRUE(add(r, "/e", "m2.txt"));
    ClearFilenames(r.state);
    EXPECT_TRUE(r.state.GridBaseName.empty());
    EXPECT_TRUE(add(r, "/data/teeth", "m2.txt"));

    // "Add all" adds only the new ones and leaves the first name chosen.
    r.prompt.shown.clear();
    r.ctx.File2Names = {"a.grd", "m2.txt", "c.grd"};
    EXPECT_EQ(AddAllFilenames(r.ctx), 2);
    EXPECT_THAT(r.state.GridBaseName, ElementsAre("m2", "a", "c"));
    EXPECT_THAT(r.prompt.shown, ::testing::SizeIs(1));
    EXPECT_EQ(r.ctx.Text2, "a.grd");

    // A partly added folder: every duplicate named in one message, not a box each.
    r.prompt.shown.clear();
    r.ctx.File2Names = {"a.grd", "b.grd", "c.grd", "d.grd", "m2.txt", "e.grd"};
    EXPECT_EQ(AddAllFilenames(r.ctx), 3);
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_EQ(r.prompt.shown[0].title, "Filename");
    EXPECT_EQ(r.prompt.shown[0].text, "3 files were already in the list and not added again: a.grd, c.grd, m2.txt.");
    EXPECT_EQ(r.state.NumFiles, 6);
    EXPECT_FALSE(r.prompt.busyNow);
}

TEST(CallForms, TheVersionTokenChoosesTheFormAndAnyOtherIssuesNothing) {
    for (bool v6 : {true, false}) {
        ProcRun r(v6);
        const std::string g = saveGrid(r.dir.path("t.grd"), small()), out = r.dir.path("out.grd");
        r.app.SurferVersion = v6 ? "SurferV6" : "SurferV8";
        r.app.SurferApp = surfer::connect(v6 ? "Surfer.APP" : "Surfer.Application");
        EXPECT_TRUE(CallSurfer(r.ctx, "GridConvert", surfer::Positional{g, out},
                               surfer::Named{{"InGrid", g}, {"OutGrid", out}}));
        EXPECT_TRUE(FileExists(out));
        const std::string line = r.app.SurferApp->callLog().back();
        EXPECT_EQ(line.find(":=") == std::string::npos, v6) << line;
        r.app.SurferVersion = "Surfer9";
        EXPECT_FALSE(CallSurfer(r.ctx, "GridConvert", surfer::Positional{g, "x"}, surfer::Named{}));
    }
}

TEST(BatchSkeleton, EmptyListRunsTheChosenFileThenClearsTheList) {
    ProcRun r;
    saveGrid(r.dir.path("t.grd"), small());
    r.ctx.chkStartSurfer = false;
    r.ctx.Text2 = "t.grd";
    std::vector<int> seen;
    const auto outcome = RunBatch(r.ctx, [&](SurfFnsContext& c, int i) {
        EXPECT_TRUE(r.prompt.busyNow);
        seen.push_back(i);
        return copyEntry(c, i);
    });
    EXPECT_EQ(outcome, BatchOutcome::Completed);
    EXPECT_THAT(seen, ElementsAre(1));
    EXPECT_TRUE(FileExists(r.dir.path("tcp.grd")));
    EXPECT_EQ(r.state.FileIndex, 2);  // one past the last entry
    EXPECT_EQ(r.state.NumFiles, 0);
    EXPECT_FALSE(r.prompt.busyNow);
    EXPECT_EQ(r.app.SurferVersion, "SurferV8");
    EXPECT_TRUE(r.app.SurferApp->Visible);

    // Nothing chosen: the message, and the loop runs no entry.
    r.ctx.Text2 = "*.grd";
    seen.clear();
    EXPECT_EQ(RunBatch(r.ctx, [&](SurfFnsContext&, int i) { seen.push_back(i); return EntryResult::Done; }),
              BatchOutcome::Stopped);
    EXPECT_TRUE(seen.empty());
    EXPECT_THAT(r.prompt.shown, ElementsAre(::testing::Field(&ScriptedPrompt::Shown::text, "Choose grid filename")));
}

TEST(BatchSkeleton, PlotsEachDoneEntryInItsOwnSlotAndKeepsTheListWhenAsked) {
    ProcRun r;
    for (const char* n : {"a.grd", "b.grd", "c.grd"}) r.add(n, small());
    r.ctx.chkPlotSurfer = true;
    r.ctx.chkClearFilenames = false;
    const auto outcome = RunBatch(
        r.ctx,
        [](SurfFnsContext& c, int i) {
            if (i == 2) return EntryResult::Skipped;
            c.state.OutGridName[i - 1] = c.state.GridFullName[i - 1];
            return EntryResult::Done;
        },
        ClearRule::IfTicked);
    EXPECT_EQ(outcome, BatchOutcome::Completed);
    EXPECT_EQ(r.state.NumFiles, 3);
    const auto maps = r.maps();
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[0]->gridPath(), r.dir.path("a.grd"));
    EXPECT_EQ(maps[1]->gridPath(), r.dir.path("c.grd"));
    // Entry 3 took the third slot of the row even though entry 2 drew nothing.
    EXPECT_DOUBLE_EQ(maps[1]->Left - maps[0]->Left, 36);
}

TEST(BatchSkeleton, AFailedGridCancelAndNoVersionEndTheBatchKeepingTheList) {
    ProcRun r;
    saveGrid(r.dir.path("a.grd"), small());
    saveGrid(r.dir.path("a2.grd"), small());
    r.dir.write("bad.grd", "not a grid");
    r.ctx.File2Names = {"a.grd", "bad.grd", "a2.grd"};
    AddAllFilenames(r.ctx);
    std::vector<int> seen;
    EXPECT_EQ(RunBatch(r.ctx, [&](SurfFnsContext& c, int i) { seen.push_back(i); return copyEntry(c, i); }),
              BatchOutcome::Failed);
    EXPECT_THAT(seen, ElementsAre(1, 2));
    EXPECT_TRUE(FileExists(r.dir.path("acp.grd")));  // earlier outputs stay
    EXPECT_EQ(r.state.NumFiles, 3);
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("bad.grd"));
    EXPECT_FALSE(r.prompt.busyNow);

    // Cancel stops quietly.
    r.prompt.shown.clear();
    seen.clear();
    EXPECT_EQ(RunBatch(r.ctx, [&](SurfFnsContext&, int i) { seen.push_back(i); return EntryResult::Stop; }),
              BatchOutcome::Stopped);
    EXPECT_THAT(seen, ElementsAre(1));
    EXPECT_EQ(r.state.NumFiles, 3);
    EXPECT_TRUE(r.prompt.shown.empty());
    EXPECT_FALSE(r.prompt.busyNow);

    // No version ticked: reported, no entry runs.
    r.app.mnuSurf8Checked = false;
    EXPECT_EQ(RunBatch(r.ctx, [&](SurfFnsContext&, int i) { seen.push_back(i); return EntryResult::Done; }),
              BatchOutcome::Failed);
    EXPECT_THAT(seen, ElementsAre(1));
    ASSERT_EQ(r.prompt.shown.size(), 1u);
    EXPECT_THAT(r.prompt.shown[0].text, HasSubstr("version"));
}

TEST(BatchSkeleton, StartNewSurferStartsItOnlyWhenTheRunPlots) {
    ProcRun r;  // "Start new Surfer (v8)" ticked
    r.add("a.grd", small());
    auto existing = surfer::connect("Surfer.Application");
    existing->Visible = true;
    const auto before = surfer::instances().size();
    // A run refused at its first entry starts nothing and shows no new window.
    EXPECT_EQ(RunBatch(r.ctx, [](SurfFnsContext&, int) { return EntryResult::Stop; }, ClearRule::Never),
              BatchOutcome::Stopped);
    EXPECT_EQ(surfer::instances().size(), before);
    EXPECT_EQ(r.app.SurferApp, existing);
    EXPECT_EQ(existing->Documents.Count(), 0);
    // A run that plots starts the new instance, visible and with the map in its plot.
    r.ctx.chkPlotSurfer = true;
    EXPECT_EQ(RunBatch(r.ctx, copyEntry), BatchOutcome::Completed);
    ASSERT_EQ(surfer::instances().size(), before + 1);
    EXPECT_NE(r.app.SurferApp, existing);
    EXPECT_TRUE(r.app.SurferApp->Visible);
    EXPECT_EQ(r.maps().size(), 1u);
    EXPECT_EQ(existing->Documents.Count(), 0);
}

TEST(BatchSkeleton, StartNewSurferWithNoneRunningKeepsTheOneItStarted) {
    ProcRun r;
    r.add("a.grd", small());
    r.ctx.chkPlotSurfer = true;
    EXPECT_EQ(RunBatch(r.ctx, copyEntry), BatchOutcome::Completed);
    EXPECT_EQ(surfer::instances().size(), 1u);
    EXPECT_TRUE(r.app.SurferApp->Visible);
    EXPECT_EQ(r.maps().size(), 1u);
}
