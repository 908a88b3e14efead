// Entries of a points-to-grid run refused or failed after their first checks, through
// the stand-in's gridding and blanking: every file of the earlier run stays as it was.
#include "conversion/pointstogrid.h"
#include "convtest.h"
#include "support/writefailures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace convtest;

namespace {

// The run's files other than its input, with their bytes.
std::map<std::string, std::string> outputsBeside(const ConvRun& run, const std::string& input) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(run.dir.dir())) {
        const std::string name = e.path().filename().string();
        if (name != input) files[name] = run.dir.read(name);
    }
    return files;
}

} // namespace

TEST(PointsToGrid, UndercutRemovalLeavingOnePointLeavesTheEarlierRunsFiles) {
    ConvRun run;
    run.opt.chkBlankOutline = false;
    run.opt.txtXInt = "0.1";
    ApplyDefaultSettings(run.opt);
    auto convert = [&](const std::string& points) {
        run.dir.write("scan.txt", points);
        run.add("scan.txt");
        auto c = run.ctx();
        ConvertTXT_GRD(c);
    };
    convert(xyzText(scatteredCrown(800, 2)));
    ASSERT_EQ(run.messages(), "");
    const auto before = outputsBeside(run, "scan.txt");
    ASSERT_EQ(before.size(), 3u);  // kept and rejected points, the grid
    run.prompt.answer(Answer::Replace);
    convert("0,0,1\r\n0.001,0,0\r\n");  // the lower point lies under the other
    EXPECT_NE(run.messages().find("fewer than two points are left after undercut removal"), std::string::npos);
    EXPECT_EQ(outputsBeside(run, "scan.txt"), before);
}

TEST(PointsToGrid, LatticeRefusedOrFilesNotPutInPlaceLeaveTheEarlierRunsFiles) {
    ConvRun run;
    run.opt.txtXInt = "0.1";
    run.opt.gridOption = GridOption::MaxNoRows;
    ApplyDefaultSettings(run.opt);
    auto convert = [&](unsigned seed, const char* maxRows) {
        run.dir.write("scan.txt", xyzText(scatteredCrown(800, seed)));
        run.opt.txtMaxNoRows = maxRows;
        run.add("scan.txt");
        auto c = run.ctx();
        ConvertTXT_GRD(c);
    };
    convert(2, "41");
    ASSERT_EQ(run.messages(), "");
    const auto before = outputsBeside(run, "scan.txt");
    ASSERT_EQ(before.size(), 7u);  // kept, rejected, outline, its info, fill points, both grids
    run.prompt.answer(Answer::Replace);
    convert(3, "1");  // other points, cleaned and outlined, then a lattice of one row
    EXPECT_NE(run.messages().find("\"Max. no. rows/cols\" must be at least 2"), std::string::npos);
    EXPECT_EQ(outputsBeside(run, "scan.txt"), before);
    // Cleaned with the same settings, then a lattice of 1E+10 nodes, more than GridData makes.
    run.opt.chkDefaultSet = false;
    run.opt.gridOption = GridOption::Interval;
    run.opt.txtXInt = run.opt.txtYInt = "0.00002";
    convert(4, "41");
    EXPECT_NE(run.messages().find("too many nodes at these intervals"), std::string::npos);
    EXPECT_EQ(outputsBeside(run, "scan.txt"), before);
    // The list kept after the refusals converts under the names a new list gets: no tag
    // of a refused run is added to them.
    run.opt.chkDefaultSet = true;  // the first run's settings again
    run.opt.gridOption = GridOption::MaxNoRows;
    run.opt.txtXInt = "0.1";
    ApplyDefaultSettings(run.opt);
    convert(5, "41");
    const auto again = outputsBeside(run, "scan.txt");
    auto names = [](const std::map<std::string, std::string>& files) {
        std::vector<std::string> n;
        for (const auto& [name, bytes] : files) n.push_back(name);
        return n;
    };
    EXPECT_EQ(names(again), names(before));
    // Cleaned, gridded and blanked, but one file cannot be put in place (a folder stands
    // where the outline's info goes): none is, the grids no more than the others.
    std::string info;
    for (const auto& [name, bytes] : again)
        if (name.ends_with("pblnptsinfo.txt")) info = name;
    ASSERT_TRUE(std::filesystem::remove(run.dir.path(info)));
    std::filesystem::create_directory(run.dir.path(info));
    convert(6, "41");
    EXPECT_NE(run.messages().find(run.dir.path(info)), std::string::npos) << run.messages();
    for (const auto& [name, bytes] : again)
        if (name != info) EXPECT_TRUE(run.dir.read(name) == bytes) << name;
    EXPECT_EQ(run.dir.fileCount(), again.size() + 1);  // and scan.txt: no working file stays
}

// With "Use default settings" the cleaning bins and the outline derive from the interval:
// one far too small is refused at once for the grid it would make, before the cleaning
// starts, naming the file listed, and the list stays for another try.
TEST(PointsToGrid, AnIntervalFarTooSmallIsRefusedOnceAndKeepsTheList) {
    ConvRun run;
    run.dir.write("scan.txt", xyzText(scatteredCrown(300, 2)));
    run.opt.txtXInt = "0.00005";
    ApplyDefaultSettings(run.opt);
    run.add("scan.txt");
    struct CleaningWatch : ConvView {
        bool cleaning = false;
        void showUndercutCount(long long) override { cleaning = true; }
    } view;
    ConvContext c{run.app, run.prompt, run.state, run.opt, view};
    ConvertTXT_GRD(c);
    EXPECT_FALSE(view.cleaning);
    EXPECT_EQ(run.messages(), run.dir.path("scan.txt") +
                                  ": the grid would have too many nodes at these intervals; choose larger intervals\n");
    ASSERT_EQ(run.state.NumFiles, 1);
    EXPECT_EQ(run.state.FileFullName[0], run.dir.path("scan.txt"));
}

// The gridding can fail after the entry's cleaning files are made (here a disk that is
// full by the time the grid is written): the message names the user's grid, the earlier
// run's files stay, and no working file.
TEST(PointsToGrid, GriddingThatFailsLeavesTheEarlierRunsFiles) {
    ConvRun run;
    run.opt.chkBlankOutline = false;
    run.opt.txtXInt = "0.01";
    ApplyDefaultSettings(run.opt);
    auto convert = [&](unsigned seed) {
        run.dir.write("scan.txt", xyzText(scatteredCrown(300, seed)));
        run.add("scan.txt");
        auto c = run.ctx();
        ConvertTXT_GRD(c);
    };
    convert(2);
    ASSERT_EQ(run.messages(), "");
    const auto before = outputsBeside(run, "scan.txt");
    ASSERT_EQ(before.size(), 3u);  // kept and rejected points, the grid
    {
        trelvik::testing::FileSizeLimit full(100000);  // room for the points, not for 201 x 201 nodes
        convert(3);
    }
    // The grid that could not be written is named as the user knows it, not by its working name.
    EXPECT_NE(run.messages().find("Cannot write \"" + run.dir.path("scan-uct24_06.grd") + "\""), std::string::npos)
        << run.messages();
    EXPECT_EQ(outputsBeside(run, "scan.txt"), before);
}

TEST(PointsToGrid, StlWhoseIntervalsCannotBeFoundLeavesTheEarlierRunsFiles) {
    ConvRun run;
    run.opt.gridOption = GridOption::AutoInt;
    run.opt.chkRemoveUndercuts = run.opt.chkBlankOutline = false;
    auto convert = [&](const std::vector<PointXYZ>& vertices) {
        std::ostringstream stl;
        stl.precision(17);
        stl << "solid s\n";
        for (std::size_t v = 0; v + 2 < vertices.size(); v += 3) {
            stl << "facet normal 0 0 1\nouter loop\n";
            for (std::size_t j = v; j < v + 3; ++j)
                stl << "vertex " << vertices[j].x << " " << vertices[j].y << " " << vertices[j].z << "\n";
            stl << "endloop\nendfacet\n";
        }
        run.dir.write("tooth.stl", stl.str() + "endsolid s\n");
        run.add("tooth.stl");
        run.state.ConvMode = "STL";
        auto c = run.ctx();
        ConvertTXT_GRD(c);
    };
    std::vector<PointXYZ> lattice;  // two facets per cell of a 4 x 4 lattice
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            for (const auto& [a, b] : {std::pair{1, 0}, std::pair{0, 1}}) {
                lattice.push_back({i * 0.1, j * 0.1, 1});
                lattice.push_back({(i + 1) * 0.1, (j + 1) * 0.1, 1});
                lattice.push_back({(i + a) * 0.1, (j + b) * 0.1, 1});
            }
    convert(lattice);
    ASSERT_EQ(run.messages(), "");
    const auto before = outputsBeside(run, "tooth.stl");
    ASSERT_EQ(before.size(), 2u);  // the distinct vertices, the grid
    run.prompt.answer(Answer::Replace);
    convert({{0, 0, 1}, {0.3, 0.7, 1}, {0.9, 0.2, 1}});  // no two vertices share an x or a y
    EXPECT_NE(run.messages().find("no regular grid spacing was found"), std::string::npos) << run.messages();
    EXPECT_EQ(outputsBeside(run, "tooth.stl"), before);
}

// The mapping program is connected at the first grid made: a list whose entries are all
// refused leaves no map window in front of the message.
TEST(PointsToGrid, IrregularPointsWithAutoIntervalsOpenNoMapWindow) {
    ConvRun run;
    run.opt.gridOption = GridOption::AutoInt;
    run.opt.chkRemoveUndercuts = run.opt.chkBlankOutline = false;
    run.dir.write("scan.txt", "0,0,1\r\n0.3,0.7,1\r\n0.9,0.2,1\r\n");
    run.add("scan.txt");
    auto c = run.ctx();
    ConvertTXT_GRD(c);
    EXPECT_NE(run.messages().find("no regular grid spacing was found"), std::string::npos) << run.messages();
    EXPECT_TRUE(surfer::instances().empty());
}

TEST(PointsToGrid, SurfaceRefusedForItsLatticeLeavesTheEarlierRunsFiles) {
    ConvRun run;
    run.opt.chkRemoveUndercuts = run.opt.chkBlankOutline = false;
    run.opt.txtXInt = run.opt.txtYInt = "0.1";
    auto convert = [&](const PointList& vertices) {
        std::ostringstream surf;
        surf.precision(17);
        surf << "# HyperSurface 0.1 ASCII\n\nParameters {\n}\n\nVertices " << vertices.size() << "\n";
        for (const auto& p : vertices) surf << "  " << p.x << " " << p.y << " " << p.z << "\n";
        surf << "NBranchingPoints 0\nPatches 1\n{\nTriangles 1\n  1 2 3\n}\n";
        run.dir.write("tooth.surf", surf.str());
        run.add("tooth.surf");
        auto c = run.ctx();
        ConvertSURF_GRD(c);
    };
    convert(scatteredCrown(300, 4));
    ASSERT_EQ(run.messages(), "");
    const auto before = outputsBeside(run, "tooth.surf");
    ASSERT_EQ(before.size(), 2u);  // the converted vertices, the grid
    run.prompt.answer(Answer::Replace);
    convert({{0, 0, 0}, {0.001, 0, 0}, {0, 0.001, 0}});  // within one interval
    EXPECT_NE(run.messages().find("span less than two grid intervals"), std::string::npos) << run.messages();
    EXPECT_EQ(outputsBeside(run, "tooth.surf"), before);
}
