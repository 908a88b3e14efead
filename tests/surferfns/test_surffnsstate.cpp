// The grid list of the "Surfer Functions" window and the batch skeleton its buttons share.
#include "core/error.h"
#include "formats/surfergrid.h"
#include "formats/tempfolder.h"
#include "surfer/application.h"
#include "surfer/documents.h"
#include "surferfns/surffnsstate.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace trelvik;
using namespace trelvik::surffns;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using TempFolder = trelvik::testing::TempFolder;

namespace {
struct Fixture {
    AppState app;
    ScriptedPrompt prompt;
    SurfFnsState state;
    SurfFnsContext ctx{app, prompt, state};
    Fixture() {
        surfer::shutdownAll();
        app.mnuSurf8Checked = true;
        app.mnuSurf6Checked = false;
    }
    ~Fixture() { surfer::shutdownAll(); }
    bool add(const std::string& folder, const std::string& name) {
        ctx.File2Folder = folder;
        ctx.Text2 = name;
        return AddFilename(ctx);
    }
};

std::string saveGrid(const TempFolder& dir, const std::string& name) {
    Grid g(4, 3, 0, 3, 0, 2, 1.0);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) g.at(c, r) = c + 10 * r;
    formats::writeSurferGrid(dir.path(name), g, formats::SurferGridFormat::Binary7);
    return dir.path(name);
}
} // namespace

TEST(GridList, AddBuildsEveryNameFromFolderAndFileName) {
    Fixture f;
    ASSERT_TRUE(f.add("/data/teeth", "molar1b150.grd"));
    ASSERT_TRUE(f.add("/data/teeth", "m2.txt"));
    EXPECT_EQ(f.state.NumFiles, 2);
    EXPECT_THAT(f.state.GridFullName, ElementsAre("/data/teeth/molar1b150.grd", "/data/teeth/m2.txt"));
    EXPECT_THAT(f.state.GridDir, ElementsAre("/data/teeth/", "/data/teeth/"));
    EXPECT_THAT(f.state.GridBaseName, ElementsAre("molar1b150", "m2"));
    EXPECT_THAT(f.state.GridPathNoExt, ElementsAre("/data/teeth/molar1b150", "/data/teeth/m2"));
    EXPECT_THAT(f.state.OutGridName, ElementsAre("", ""));
    // A drive root already ends in the separator; names built from it keep the double one.
    ASSERT_TRUE(f.add("/", "root.grd"));
    EXPECT_EQ(f.state.GridFullName[2], "//root.grd");
    EXPECT_EQ(f.state.GridPathNoExt[2], "//root");
    EXPECT_TRUE(f.prompt.shown.empty());
    EXPECT_FALSE(f.prompt.busyNow);
}

TEST(GridList, RefusalsLeaveTheListUnchangedWithFilenameMessages) {
    Fixture f;
    ASSERT_TRUE(f.add("/d", "a.grd"));
    EXPECT_FALSE(f.add("/d", "a.grd"));
    EXPECT_FALSE(f.add("/d", "*.grd"));
    EXPECT_FALSE(f.add("/d", ""));
    EXPECT_FALSE(f.add("/d", ".grd"));  // four characters: no base name would be left
    EXPECT_EQ(f.state.NumFiles, 1);
    EXPECT_EQ(f.state.GridFullName.size(), 1u);
    ASSERT_EQ(f.prompt.shown.size(), 4u);
    for (const auto& m : f.prompt.shown) EXPECT_EQ(m.title, "Filename");
    EXPECT_EQ(f.prompt.shown[0].text, "Filename already added");
    EXPECT_EQ(f.prompt.shown[1].text, "Choose grid filename");
    EXPECT_EQ(f.prompt.shown[2].text, "Choose grid filename");
    EXPECT_THAT(f.prompt.shown[3].text, HasSubstr("too short"));
    EXPECT_FALSE(f.prompt.busyNow);
    // The same name from another folder is another grid; after clearing, the first adds again.
    EXPECT_TRUE(f.add("/e", "a.grd"));
    ClearFilenames(f.state);
    EXPECT_EQ(f.state.NumFiles, 0);
    EXPECT_TRUE(f.state.GridBaseName.empty());
    EXPECT_TRUE(f.add("/d", "a.grd"));
}

TEST(GridList, AddAllAddsOnlyTheNewOnesAndEndsOnTheFirstName) {
    Fixture f;
    f.add("/d", "b.grd");
    f.ctx.File2Names = {"a.grd", "b.grd", "c.grd"};
    EXPECT_EQ(AddAllFilenames(f.ctx), 2);
    EXPECT_THAT(f.state.GridBaseName, ElementsAre("b", "a", "c"));
    ASSERT_EQ(f.prompt.shown.size(), 1u);
    EXPECT_EQ(f.prompt.shown[0].text, "Filename already added");
    EXPECT_EQ(f.ctx.Text2, "a.grd");
}

TEST(CallForms, TheVersionTokenChoosesTheFormAndAnyOtherIssuesNothing) {
    TempFolder dir;
    const std::string g = saveGrid(dir, "t.grd");
    for (const char* version : {"SurferV6", "SurferV8"}) {
        Fixture f;
        f.app.SurferVersion = version;
        f.app.SurferApp = surfer::connect(f.app.SurferVersion == "SurferV6" ? "Surfer.APP" : "Surfer.Application");
        const std::string out = dir.path(std::string("t") + version + ".grd");
        EXPECT_TRUE(CallSurfer(f.ctx, "GridConvert", surfer::Positional{g, out},
                               surfer::Named{{"InGrid", g}, {"OutGrid", out}}));
        EXPECT_TRUE(std::filesystem::exists(out));
        const std::string line = f.app.SurferApp->callLog().back();
        EXPECT_EQ(line.find(":=") != std::string::npos, f.app.SurferVersion == "SurferV8") << line;
    }
    Fixture f;
    f.app.SurferVersion = "Surfer9";
    EXPECT_FALSE(CallSurfer(f.ctx, "GridConvert", surfer::Positional{g, "x"}, surfer::Named{}));
}

TEST(BatchSkeleton, EmptyListRunsTheChosenFileThenClearsTheList) {
    TempFolder dir;
    saveGrid(dir, "t.grd");
    Fixture f;
    f.ctx.File2Folder = dir.folder();
    f.ctx.Text2 = "t.grd";
    f.ctx.chkPlotSurfer = false;
    std::vector<int> seen;
    const auto outcome = RunBatch(f.ctx, [&](SurfFnsContext& c, int i) {
        EXPECT_TRUE(f.prompt.busyNow);
        seen.push_back(i);
        c.state.OutGridName[i - 1] = c.state.GridPathNoExt[i - 1] + "x.grd";
        return EntryResult::Done;
    });
    EXPECT_EQ(outcome, BatchOutcome::Completed);
    EXPECT_THAT(seen, ElementsAre(1));
    EXPECT_EQ(f.state.FileIndex, 2);  // one past the last entry
    EXPECT_EQ(f.state.NumFiles, 0);
    EXPECT_FALSE(f.prompt.busyNow);
    EXPECT_EQ(f.app.SurferVersion, "SurferV8");
    ASSERT_TRUE(f.app.SurferApp);
    EXPECT_TRUE(f.app.SurferApp->Visible);

    // Nothing chosen: the message, and the loop runs no entry.
    Fixture g;
    g.ctx.Text2 = "*.grd";
    seen.clear();
    EXPECT_EQ(RunBatch(g.ctx, [&](SurfFnsContext&, int i) { seen.push_back(i); return EntryResult::Done; }),
              BatchOutcome::Completed);
    EXPECT_TRUE(seen.empty());
    ASSERT_EQ(g.prompt.shown.size(), 1u);
    EXPECT_EQ(g.prompt.shown[0].text, "Choose grid filename");
}

TEST(BatchSkeleton, PlotsEachDoneEntryAndKeepsTheListWhenAsked) {
    TempFolder dir;
    for (const char* n : {"a.grd", "b.grd", "c.grd"}) saveGrid(dir, n);
    Fixture f;
    f.ctx.chkStartSurfer = true;  // a new instance with a plot document
    f.ctx.File2Folder = dir.folder();
    f.ctx.File2Names = {"a.grd", "b.grd", "c.grd"};
    AddAllFilenames(f.ctx);
    f.ctx.chkClearFilenames = false;
    const auto outcome = RunBatch(
        f.ctx,
        [](SurfFnsContext& c, int i) {
            if (i == 2) return EntryResult::Skipped;
            c.state.OutGridName[i - 1] = c.state.GridFullName[i - 1];
            return EntryResult::Done;
        },
        ClearRule::IfTicked);
    EXPECT_EQ(outcome, BatchOutcome::Completed);
    EXPECT_EQ(f.state.NumFiles, 3);
    auto plot = surfer::asPlot(f.app.SurferApp->ActiveDocument());
    const auto maps = plot->Shapes.maps();
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[0]->gridPath(), dir.path("a.grd"));
    EXPECT_EQ(maps[1]->gridPath(), dir.path("c.grd"));
    // Entry 3 took the third slot of the row even though entry 2 drew nothing.
    EXPECT_DOUBLE_EQ(maps[1]->Left - maps[0]->Left, 36);
}

TEST(BatchSkeleton, AMissingGridEndsTheBatchNamingItAndKeepsEarlierOutputs) {
    TempFolder dir;
    saveGrid(dir, "a.grd");
    Fixture f;
    f.ctx.chkPlotSurfer = false;
    f.ctx.File2Folder = dir.folder();
    f.ctx.File2Names = {"a.grd", "gone.grd", "a2.grd"};
    AddAllFilenames(f.ctx);
    std::vector<int> seen;
    const auto outcome = RunBatch(f.ctx, [&](SurfFnsContext& c, int i) {
        seen.push_back(i);
        const std::string out = c.state.GridPathNoExt[i - 1] + "cp.grd";
        CallSurfer(c, "GridConvert", surfer::Positional{c.state.GridFullName[i - 1], out},
                   surfer::Named{{"InGrid", c.state.GridFullName[i - 1]}, {"OutGrid", out}});
        c.state.OutGridName[i - 1] = out;
        return EntryResult::Done;
    });
    EXPECT_EQ(outcome, BatchOutcome::Failed);
    EXPECT_THAT(seen, ElementsAre(1, 2));
    EXPECT_TRUE(std::filesystem::exists(dir.path("acp.grd")));
    EXPECT_EQ(f.state.NumFiles, 3);  // the list stays for another try
    ASSERT_EQ(f.prompt.shown.size(), 1u);
    EXPECT_THAT(f.prompt.shown[0].text, HasSubstr("gone.grd"));
    EXPECT_FALSE(f.prompt.busyNow);
}

TEST(BatchSkeleton, CancelStopsQuietlyAndNoVersionTickedIsReported) {
    TempFolder dir;
    saveGrid(dir, "a.grd");
    Fixture f;
    f.ctx.File2Folder = dir.folder();
    f.ctx.File2Names = {"a.grd", "b.grd"};
    AddAllFilenames(f.ctx);
    int calls = 0;
    EXPECT_EQ(RunBatch(f.ctx, [&](SurfFnsContext&, int) { ++calls; return EntryResult::Stop; }),
              BatchOutcome::Stopped);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(f.state.NumFiles, 2);
    EXPECT_TRUE(f.prompt.shown.empty());
    EXPECT_FALSE(f.prompt.busyNow);

    f.app.mnuSurf8Checked = false;
    EXPECT_EQ(RunBatch(f.ctx, [&](SurfFnsContext&, int) { ++calls; return EntryResult::Done; }),
              BatchOutcome::Failed);
    EXPECT_EQ(calls, 1);
    ASSERT_EQ(f.prompt.shown.size(), 1u);
    EXPECT_THAT(f.prompt.shown[0].text, HasSubstr("version"));
}
