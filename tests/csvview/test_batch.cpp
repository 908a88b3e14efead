// Folder batches over generated point files: one summary row per file, the slope
// rows of a patch-count batch written once per file, only ".dat" files taken, and
// a bad file ending the batch with a message.
#include "csvview/batchrun.h"
#include "formats/latticecsv.h"
#include "test_csvhelpers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace trelvik;
using namespace trelvik::csvview;
using csvtest::TempDir;

namespace {

void writeCone(const std::string& path, double cx) {
    PointList pts;
    for (int r = 0; r < 25; ++r)
        for (int c = 0; c < 25; ++c) pts.push_back({double(c), double(r), 20 - std::hypot(c - cx, r - 12.3)});
    formats::writeLatticeCsv(path, pts);
}

std::vector<std::string> lines(const std::string& path) {
    const std::string s = csvtest::readText(path);
    std::vector<std::string> out;
    for (std::size_t p = 0, e; (e = s.find("\r\n", p)) != std::string::npos; p = e + 2) out.push_back(s.substr(p, e - p));
    return out;
}

} // namespace

TEST(Batch, PatchCountAndSurfaceSummariesHaveOneRowPerFile) {
    TempDir tmp;
    writeCone(tmp.path("b.dat"), 12.1);
    writeCone(tmp.path("a.dat"), 11.6);
    writeCone(tmp.path("c.DAT"), 12.4);
    writeCone(tmp.path("skip.csv"), 12);
    csvtest::writeText(tmp.path("notes.txt"), "not points");
    AppState app;
    ScriptedPrompt prompt;
    BatchOptions o;
    o.folder = tmp.folder();
    o.mode = AllFilesMode::Clump;
    o.slope.choice = SlopeChoice::Slope;
    o.slope.saveStats = true;
    long seen = 0;
    const BatchResult r = ProcessAllFiles(o, app, prompt, noProgress(), [&](const BatchFileResult&) { ++seen; });
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(r.files, (std::vector<std::string>{"a.dat", "b.dat", "c.DAT"}));
    EXPECT_EQ(r.filesDone, 3);
    EXPECT_EQ(seen, 3);
    ASSERT_TRUE(r.last && r.last->opc);
    for (const PatchStats& s : r.last->opc->runs) EXPECT_EQ(s.patches, 8);

    const std::string dir = tmp.folder() + "cl_asp8_2/";
    const auto all = lines(dir + "00cl_asp8_2allresults.csv");
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].substr(0, 20), "\"File\",\"ClumpInfo\",\"");
    EXPECT_EQ(all[1].substr(0, 18), "\"a\",\"cl_asp8_2\",8,");
    EXPECT_EQ(all[3].substr(0, 4), "\"c\",");
    const auto opcr = lines(dir + "00cl_asp8_2_R8-OPCRallresults.csv");
    ASSERT_EQ(opcr.size(), 4u);
    EXPECT_EQ(opcr[2].substr(0, 21), "\"b\",\"cl_asp8_2_R8\",8,");
    // Eight rotations, but the slope tab's summary gets one row per file.
    EXPECT_EQ(lines(tmp.folder() + "slope/00slopestats.csv").size(), 4u);

    o.mode = AllFilesMode::CalcStats;
    o.saveSAVolStats = true;
    ProcessAllFiles(o, app, prompt, noProgress());
    ProcessAllFiles(o, app, prompt, noProgress());  // a second batch begins the table anew
    const auto savol = lines(tmp.folder() + "savol/00savolstats.csv");
    ASSERT_EQ(savol.size(), 4u);
    EXPECT_EQ(savol[1].substr(0, 12), "\"a\",\"SAVol\",");
}

TEST(Batch, BadFileEndsTheBatchAndAnEmptyFolderIsNamed) {
    TempDir tmp;
    AppState app;
    ScriptedPrompt prompt;
    BatchOptions o;
    o.folder = tmp.folder();
    o.mode = AllFilesMode::CalcStats;
    o.saveSAVolStats = true;
    EXPECT_EQ(ProcessAllFiles(o, app, prompt, noProgress()).filesDone, 0);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "The folder " + tmp.folder() +
                                        " holds no .dat file: \"All files\" runs on every .dat file of the folder "
                                        "shown in the file list.");
    prompt.shown.clear();

    writeCone(tmp.path("a.dat"), 12);
    csvtest::writeText(tmp.path("b.dat"), "1,2,3\r\n4,five,6\r\n");
    writeCone(tmp.path("c.dat"), 12);
    const BatchResult r = ProcessAllFiles(o, app, prompt, noProgress());
    EXPECT_TRUE(r.failed);
    EXPECT_EQ(r.filesDone, 1);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Error");
    EXPECT_NE(prompt.shown[0].text.find("b.dat"), std::string::npos);
    EXPECT_EQ(lines(tmp.folder() + "savol/00savolstats.csv").size(), 2u);
}

TEST(Batch, OtherSizeKeepsThePreviousSizeModeAndRefusesOnlyWithoutOne) {
    TempDir tmp;
    writeCone(tmp.path("a.dat"), 12);
    writeCone(tmp.path("b.dat"), 11.5);
    AppState app;
    ScriptedPrompt prompt;
    BatchOptions o;
    o.folder = tmp.folder();
    o.mode = AllFilesMode::CalcStats;
    o.size = SizeOption::Other;
    // No read yet in the window: there is no size to keep.
    EXPECT_TRUE(ProcessAllFiles(o, app, prompt, noProgress()).failed);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Choose a grid size");
    prompt.shown.clear();
    o.previousSizeMode = SizeMode::Minimum;
    const BatchResult r = ProcessAllFiles(o, app, prompt, noProgress());
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(r.filesDone, 2);
    ASSERT_TRUE(r.last);
    EXPECT_EQ(r.last->grid.sizeMode, SizeMode::Minimum);
}
