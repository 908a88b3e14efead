// Scans of an analytic crown, written in each input format, converted through the
// stand-in's gridding and blanking: the grids must follow the crown within the
// sampling error, the names and the files left beside the input as the list rules say.
#include "conversion/pointstogrid.h"
#include "core/error.h"
#include "convtest.h"
#include "formats/blnfile.h"
#include "formats/pointtext.h"
#include "support/scriptedprogress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <regex>

using namespace convtest;

namespace {

bool inDisc(double x, double y, double r) { return x * x + y * y <= r * r; }

} // namespace

TEST(PointsToGrid, IrregularTextCleanedOutlinedGriddedAndBlanked) {
    ConvRun run;
    PointList pts = scatteredCrown(6000, 1);
    // Points under the surface near the rim: undercuts that must not reach the grid.
    for (int k = 0; k < 300; ++k) {
        const double a = k * 0.021, r = 0.9;
        pts.push_back({r * std::cos(a), r * std::sin(a), crown(r * std::cos(a), r * std::sin(a)) - 0.4});
    }
    run.dir.write("scan.txt", xyzText(pts));
    run.opt.txtXInt = "0.05";
    ApplyDefaultSettings(run.opt);
    EXPECT_EQ(run.opt.txtSearchRadius, "0.03");
    EXPECT_EQ(run.opt.txtBlnBinSize, "0.075");
    run.add("scan.txt");
    auto c = run.ctx();
    ConvertTXT_GRD(c);
    EXPECT_EQ(run.messages(), "");
    EXPECT_EQ(run.state.NumFiles, 0);
    // Names: the kept points carry the threshold and radius tags, the fill file "p",
    // the grid is named on that stem and the blanked grid adds "b".
    for (const char* f : {"scan-uct120_30.txt", "scan-uct120_30_rej.txt", "scan-uct120_30pblnpts.bln",
                          "scan-uct120_30pblnptsinfo.txt", "scan-uct120_30p.txt", "scan-uct120_30p.grd",
                          "scan-uct120_30pb.grd"})
        EXPECT_TRUE(std::filesystem::exists(run.dir.path(f))) << f;
    EXPECT_GE(formats::readPointText(run.dir.path("scan-uct120_30_rej.txt")).size(), 300u);
    const Grid g = run.grid("scan-uct120_30pb.grd");
    EXPECT_NEAR(g.xSpacing(), 0.05, 1e-12);
    const auto [err, n] = worstError(g, crown, [](double x, double y) { return inDisc(x, y, 0.95); });
    EXPECT_GT(n, 1000);
    EXPECT_LT(err, 0.01);
    // Blank well outside the tooth, kept inside.
    for (int r = 0; r < g.rows; ++r)
        for (int col = 0; col < g.cols; ++col) {
            const double x = g.x(col), y = g.y(r);
            if (!inDisc(x, y, 1.15)) EXPECT_TRUE(isBlank(g.at(col, r))) << x << "," << y;
            if (inDisc(x, y, 0.9)) EXPECT_FALSE(isBlank(g.at(col, r))) << x << "," << y;
        }
}

// Run again over its own outputs (two entries, cleaning and outline on), the batch asks
// once, naming exactly the files the first run wrote; Cancel writes nothing and
// Replace writes again.
TEST(PointsToGrid, ExistingOutputsAreAskedAboutOnceBeforeAnythingIsWritten) {
    namespace fs = std::filesystem;
    ConvRun run;
    run.dir.write("a.txt", xyzText(scatteredCrown(3000, 2)));
    run.dir.write("b.txt", xyzText(scatteredCrown(3000, 3)));
    run.opt.txtXInt = "0.05";
    ApplyDefaultSettings(run.opt);
    auto both = [&](std::optional<Answer> answer) {
        if (run.state.NumFiles == 0) {  // a cancelled run keeps its list
            run.add("a.txt");
            run.add("b.txt");
        }
        if (answer) run.prompt.answer(*answer);
        auto c = run.ctx();
        ConvertTXT_GRD(c);
    };
    both(std::nullopt);
    ASSERT_EQ(run.messages(), "");  // nothing there yet: no question
    std::map<std::string, fs::file_time_type> written;
    for (const auto& e : fs::directory_iterator(run.dir.dir()))
        if (e.path().filename() != "a.txt" && e.path().filename() != "b.txt")
            written[e.path().string()] = fs::last_write_time(e.path());
    ASSERT_EQ(written.size(), 14u);
    for (auto& [f, t] : written) fs::last_write_time(f, t - std::chrono::hours(1));

    both(Answer::Cancel);
    ASSERT_EQ(run.prompt.shown.size(), 1u);
    const ScriptedPrompt::Shown& q = run.prompt.shown[0];
    EXPECT_EQ(q.title, "Replace files");
    EXPECT_EQ(q.buttons, Buttons::ReplaceCancel);
    std::size_t listed = 0;
    for (std::size_t p = q.text.find(run.dir.folder()); p != std::string::npos; p = q.text.find(run.dir.folder(), p + 1))
        ++listed;
    EXPECT_EQ(listed, written.size()) << q.text;
    for (const auto& [f, t] : written) {
        EXPECT_NE(q.text.find(f + "\n"), std::string::npos) << f;
        EXPECT_EQ(fs::last_write_time(f), t - std::chrono::hours(1)) << f;
    }
    EXPECT_EQ(run.dir.fileCount(), written.size() + 2);

    both(Answer::Replace);
    EXPECT_EQ(run.prompt.shown.size(), 2u);
    for (const auto& [f, t] : written) EXPECT_GT(fs::last_write_time(f), t - std::chrono::hours(1)) << f;
}

TEST(PointsToGrid, AliconaLatticeWithDetectedIntervals) {
    ConvRun run;
    const PointList pts = latticeCrown(0.02);
    run.dir.write("al.txt", "Alicona { " + std::to_string(pts.size()) + " }\r\n" + xyzText(pts));
    run.opt.gridOption = GridOption::AutoInt;
    run.opt.method = GridMethod::NearNeigh;
    run.opt.chkRemoveUndercuts = run.opt.chkBlankOutline = false;
    run.add("al.txt");
    run.state.ConvMode = "Alicona";
    auto c = run.ctx();
    ConvertTXT_GRD(c);
    EXPECT_EQ(run.messages(), "");
    EXPECT_EQ(run.opt.txtXInt, "0.02");
    EXPECT_EQ(run.opt.txtYInt, "0.02");
    const Grid g = run.grid("al.grd");
    EXPECT_NEAR(g.xSpacing(), 0.02, 1e-12);
    const auto [err, n] = worstError(g, crown, [](double x, double y) { return inDisc(x, y, 0.99); });
    EXPECT_GT(n, 7000);
    EXPECT_LT(err, 1e-9);  // nodes on the scan's own lattice take its heights
}

TEST(PointsToGrid, DetectedIntervalsLayTheGridOverTheLatticeAsRead) {
    // Cleaning and outline on: the fill points reach beyond the scan, but the grid keeps
    // the scan's own extent, -1..1 at the detected 0.05.
    ConvRun run;
    run.dir.write("lat.txt", xyzText(latticeCrown(0.05)));
    run.opt.gridOption = GridOption::AutoInt;
    run.opt.method = GridMethod::NearNeigh;
    run.add("lat.txt");
    run.state.ConvMode = "TxtGrid";
    auto c = run.ctx();
    ConvertTXT_GRD(c);
    EXPECT_EQ(run.messages(), "");
    const PointList filled = formats::readPointText(run.dir.path("lat-uct120_30p.txt"));
    EXPECT_LT(BoundsOf(filled).xmin, -1.05);
    const Grid g = run.grid("lat-uct120_30p.grd");
    EXPECT_NEAR(g.xMin, -1, 1e-9);
    EXPECT_NEAR(g.xMax, 1, 1e-9);
    EXPECT_NEAR(g.yMin, -1, 1e-9);
    EXPECT_NEAR(g.yMax, 1, 1e-9);
    EXPECT_EQ(g.cols, 41);
}

TEST(PointsToGrid, AsciiStlThroughItsDistinctVertices) {
    ConvRun run;
    // A triangulated lattice of the crown over a square, two facets per cell.
    const double h = 0.04;
    const int n = 40;
    auto P = [&](int i, int j) {
        const double x = -0.8 + i * h, y = -0.8 + j * h;
        std::ostringstream s;
        s.precision(17);
        s << "      vertex " << x << " " << y << " " << crown(x, y) << "\n";
        return s.str();
    };
    std::string stl = "solid crown\n";
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            for (const auto& f : {P(i, j) + P(i + 1, j) + P(i + 1, j + 1), P(i, j) + P(i + 1, j + 1) + P(i, j + 1)})
                stl += "  facet normal 0 0 1\n    outer loop\n" + f + "    endloop\n  endfacet\n";
    stl += "endsolid crown\n";
    run.dir.write("tooth.stl", stl);
    run.opt.gridOption = GridOption::AutoInt;
    run.opt.method = GridMethod::NearNeigh;
    run.opt.chkRemoveUndercuts = run.opt.chkBlankOutline = false;
    run.add("tooth.stl");
    run.state.ConvMode = "STL";
    auto c = run.ctx();
    ConvertTXT_GRD(c);
    EXPECT_EQ(run.messages(), "");
    EXPECT_EQ(formats::readPointText(run.dir.path("toothvt.txt")).size(), 41u * 41u);
    EXPECT_EQ(run.opt.txtXInt, "0.04");
    const Grid g = run.grid("toothvt.grd");
    EXPECT_EQ(g.cols, 41);
    EXPECT_EQ(g.rows, 41);
    EXPECT_LT(worstError(g, crown, [](double, double) { return true; }).first, 1e-9);
}

TEST(PointsToGrid, AvizoVerticesConvertedAndTurned) {
    ConvRun run;
    const PointList pts = scatteredCrown(3000, 4);
    std::ostringstream s;
    s.precision(17);
    s << "# HyperSurface 0.1 ASCII\n\nParameters {\n}\n\nVertices " << pts.size() << "\n";
    for (const auto& p : pts) s << "  " << p.x / 10 << " " << p.y / 10 << " " << p.z / 10 << "\n";  // in cm
    s << "NBranchingPoints 0\nPatches 1\n{\nTriangles 1\n  1 2 3\n}\n";
    run.dir.write("tooth.surf", s.str());
    run.opt.chkRemoveUndercuts = false;
    run.opt.txtXInt = "0.05";
    ApplyDefaultSettings(run.opt);
    run.add("tooth.surf");
    auto c = run.ctx();
    ConvertSURF_GRD(c);
    EXPECT_EQ(run.messages(), "");
    EXPECT_EQ(run.opt.txtBlnBinSize, "0.3");  // surfaces: six intervals
    EXPECT_EQ(run.opt.txtBlnOffset, ".1");
    // mm and turned over about y: the grid holds -crown(-x, y) at (x, y).
    const PointList txt = formats::readPointText(run.dir.path("tooth.txt"));
    EXPECT_DOUBLE_EQ(txt[0].x, -pts[0].x);
    const Grid g = run.grid("toothpb.grd");
    auto turned = [](double x, double y) { return -crown(-x, y); };
    const auto [err, n] = worstError(g, turned, [](double x, double y) { return inDisc(x, y, 0.95); });
    EXPECT_GT(n, 1000);
    EXPECT_LT(err, 0.01);
}

TEST(PointsToGrid, MouldScanIsTurnedOnceAcrossTheChain) {
    ConvRun run;
    run.dir.write("m.txt", xyzText(scatteredCrown(5000, 9)));
    run.opt.txtXInt = "0.05";
    run.opt.chkMould = true;
    run.opt.gridOption = GridOption::MaxNoRows;
    run.opt.txtMaxNoRows = "41";
    ApplyDefaultSettings(run.opt);
    run.add("m.txt");
    auto c = run.ctx();
    ConvertTXT_GRD(c);
    EXPECT_EQ(run.messages(), "");
    // Kept points, outline and grid all in the turned frame; the grid's name carries
    // the row count and "m".
    const PointList kept = formats::readPointText(run.dir.path("m-uct120_30m.txt"));
    for (const auto& p : kept) ASSERT_LE(p.z, 0);
    const auto bln = formats::readBlnFile(run.dir.path("m-uct120_30mpblnpts.bln"));
    const Grid g = run.grid("m-uct120_30mp41mb.grd");
    EXPECT_EQ(g.cols, 41);
    auto turned = [](double x, double y) { return -crown(-x, y); };
    const auto [err, n] = worstError(g, turned, [](double x, double y) { return inDisc(x, y, 0.9); });
    EXPECT_GT(n, 300);
    EXPECT_LT(err, 0.02);
    EXPECT_FALSE(std::filesystem::exists(run.dir.path("m-uct120_30mptemp.txt")));
}

TEST(PointsToGrid, MouldCopyNeverTakesAUsersFileName) {
    // scan.txt gridded as a mould without cleaning: the turned copy is a working file,
    // and the user's own scantemp.txt beside it stays as it was.
    ConvRun run;
    run.dir.write("scan.txt", xyzText(scatteredCrown(2000, 4)));
    run.dir.write("scantemp.txt", "1,2,3\r\n");
    run.opt.chkRemoveUndercuts = run.opt.chkBlankOutline = false;
    run.opt.chkMould = true;
    run.opt.gridOption = GridOption::MaxNoRows;
    run.opt.txtXInt = "0.05";
    ApplyDefaultSettings(run.opt);
    run.add("scan.txt");
    auto c = run.ctx();
    ConvertTXT_GRD(c);
    EXPECT_EQ(run.messages(), "");
    EXPECT_EQ(run.dir.read("scantemp.txt"), "1,2,3\r\n");
    const Grid g = run.grid("scan200m.grd");
    auto turned = [](double x, double y) { return -crown(-x, y); };
    EXPECT_LT(worstError(g, turned, [](double x, double y) { return inDisc(x, y, 0.8); }).first, 0.02);
}

TEST(PointsToGrid, BadEntriesAreReportedAndTheOthersConvert) {
    ConvRun run;
    run.dir.write("good.txt", xyzText(scatteredCrown(800, 2)));
    run.dir.write("bad.txt", "0,0,1\r\n0.5,0.5,1\r\n0.25,oops,1\r\n");
    run.dir.write("few.txt", "0,0,1\r\n");
    run.opt.chkRemoveUndercuts = run.opt.chkBlankOutline = false;
    run.opt.txtXInt = "0.1";
    ApplyDefaultSettings(run.opt);
    for (const char* f : {"bad.txt", "few.txt", "good.txt"}) run.add(f);
    auto c = run.ctx();
    ConvertTXT_GRD(c);
    const std::string m = run.messages();
    EXPECT_NE(m.find("bad.txt: line 3"), std::string::npos) << m;
    EXPECT_NE(m.find("few.txt: fewer than two points"), std::string::npos) << m;
    EXPECT_TRUE(std::filesystem::exists(run.dir.path("good.grd")));
    EXPECT_FALSE(std::filesystem::exists(run.dir.path("bad.grd")));
}

TEST(PointsToGrid, FailedOutlineLeavesTheGridUnblankedWithAMessage) {
    ConvRun run;
    run.dir.write("sparse.txt", xyzText(scatteredCrown(300, 5)));
    run.opt.chkRemoveUndercuts = false;
    run.opt.chkDefaultSet = false;
    run.opt.txtBlnBinSize = "0.001";  // no neighbour within reach: every walk dead-ends
    run.opt.txtXInt = run.opt.txtYInt = "0.1";
    run.add("sparse.txt");
    auto c = run.ctx();
    ConvertTXT_GRD(c);
    const std::string m = run.messages();
    EXPECT_NE(m.find("E004"), std::string::npos) << m;
    EXPECT_NE(m.find("at most 1.5 bins (0.0015) apart"), std::string::npos) << m;
    EXPECT_NE(m.find("left unblanked"), std::string::npos) << m;
    EXPECT_TRUE(std::filesystem::exists(run.dir.path("sparse.grd")));
    EXPECT_FALSE(std::filesystem::exists(run.dir.path("sparseb.grd")));

    // The outline's failure is said only with the grid it leaves unblanked: an entry then
    // refused for its lattice (intervals wider than the points) says the refusal alone.
    run.prompt.shown.clear();
    run.dir.write("wide.txt", xyzText(scatteredCrown(300, 5)));
    run.opt.txtXInt = run.opt.txtYInt = "5";
    run.add("wide.txt");
    ConvertTXT_GRD(c);
    EXPECT_EQ(run.messages(), run.dir.path("wide.txt") +
                                  ": the points span less than two grid intervals in x or y; choose smaller intervals\n");
}

// With fill points planned, an outline that gives up grids the points under the name
// without them: the question names that grid too, and Cancel keeps the user's file.
TEST(PointsToGrid, TheGridOfAnOutlineThatGivesUpIsAskedAbout) {
    ConvRun run;
    run.dir.write("sparse.txt", xyzText(scatteredCrown(300, 5)));
    run.dir.write("sparse.grd", "mine");
    run.opt.chkRemoveUndercuts = false;
    run.opt.chkDefaultSet = false;
    run.opt.txtBlnBinSize = "0.001";
    run.opt.txtXInt = run.opt.txtYInt = "0.1";
    ASSERT_TRUE(run.opt.chkBlankOutline && run.opt.chkBlankedAreaPts);
    run.add("sparse.txt");
    run.prompt.answer(Answer::Cancel);
    auto c = run.ctx();
    ConvertTXT_GRD(c);
    ASSERT_FALSE(run.prompt.shown.empty());
    EXPECT_EQ(run.prompt.shown[0].title, "Replace files");
    EXPECT_NE(run.prompt.shown[0].text.find(run.dir.path("sparse.grd") + "\n"), std::string::npos)
        << run.prompt.shown[0].text;
    EXPECT_EQ(run.dir.read("sparse.grd"), "mine");
}

TEST(PointsToGrid, VersionTokenOtherThanTheTwoIsReported) {
    ConvRun run;
    run.dir.write("a.txt", xyzText(scatteredCrown(200, 3)));
    run.opt.chkRemoveUndercuts = run.opt.chkBlankOutline = false;
    run.add("a.txt");
    auto c = run.ctx();
    // No version ticked: nothing to attach to, said so, nothing written.
    run.app.mnuSurf6Checked = run.app.mnuSurf8Checked = false;
    ConvertTXT_GRD(c);
    EXPECT_NE(run.messages().find("No Surfer version"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(run.dir.path("a.grd")));
}

TEST(GridLattice, ModesAndIntervalDetection) {
    PointBounds b{0.0, 1.0, 0.0, 1.0, 0, 0};
    GridGeometry a = GeometryByIntervals(b, 0.03, 0.03, "f");
    EXPECT_NEAR(a.xmax, 0.99, 1e-12);
    EXPECT_NEAR(a.NumCols, 34, 1e-9);
    b = {0, 10, 0, 5, 0, 0};
    GridGeometry m = GeometryByMaxRows(b, 200, "f");
    EXPECT_EQ(m.NumCols, 200);
    EXPECT_DOUBLE_EQ(m.xint, 0.05);
    EXPECT_EQ(m.NumRows, 100);
    EXPECT_THROW(GeometryByIntervals(b, 0, 0.1, "f"), Error);
    EXPECT_THROW(GeometryByMaxRows(b, 1, "f"), Error);

    const PointList rows = latticeCrown(0.03);
    DetectedIntervals d = DetectIntervals(rows);
    EXPECT_EQ(d.order, "YConst");
    EXPECT_DOUBLE_EQ(d.x, 0.03);
    EXPECT_DOUBLE_EQ(d.y, 0.03);
    PointList cols;
    for (int i = 0; i < 30; ++i)
        for (int j = 0; j < 20; ++j) cols.push_back({i * 0.5, j * 0.25, 0});
    d = DetectIntervals(cols);
    EXPECT_EQ(d.order, "XConst");
    EXPECT_DOUBLE_EQ(d.x, 0.5);
    EXPECT_DOUBLE_EQ(d.y, 0.25);
    // A short file never reads past its last point; scattered points find nothing.
    d = DetectIntervals({{0, 0, 0}, {1, 0, 0}});
    EXPECT_EQ(d.y, 1000000);
    EXPECT_EQ(DetectIntervals(scatteredCrown(50, 1)).order, "");
}

TEST(PointsToGrid, Version6PassesLimitsAndIntervalsByPosition) {
    ConvRun run(true);
    run.dir.write("v6.txt", xyzText(scatteredCrown(2000, 6)));
    run.opt.chkRemoveUndercuts = false;
    run.opt.txtXInt = "0.1";
    ApplyDefaultSettings(run.opt);
    run.add("v6.txt");
    auto c = run.ctx();
    ConvertTXT_GRD(c);
    EXPECT_EQ(run.messages(), "");
    std::vector<std::string> calls;
    // The calls work on the working files that stand for the entry's files until both
    // grids are made: each is named here by the file it stands for.
    const std::regex working(R"(/\.([^/"]+)\.trelvik-[A-Za-z0-9_-]+-\d+-\d+-[0-9a-f]{16}\.tmp)");
    for (const auto& l : run.state.m_Surfer->callLog())
        if (l.rfind("GridData", 0) == 0 || l.rfind("GridBlank", 0) == 0)
            calls.push_back(std::regex_replace(l, working, "/$1"));
    ASSERT_EQ(calls.size(), 2u);
    const std::string data = "\"" + run.dir.path("v6p.txt") + "\"";
    // The limits come from the points gridded: the cloud and its fill points around it.
    EXPECT_EQ(calls[0], "GridData(" + data + ", 0, 1, 2, -1.1, 1.1, -1.1, 1.1, 0.1, 0.1, , , 1, \"" +
                            run.dir.path("v6p.grd") + "\")");
    EXPECT_EQ(calls[1], "GridBlank(\"" + run.dir.path("v6p.grd") + "\", \"" + run.dir.path("v6pblnpts.bln") +
                            "\", \"" + run.dir.path("v6pb.grd") + "\", 1)");
    const Grid g = run.grid("v6pb.grd");
    EXPECT_LT(worstError(g, crown, [](double x, double y) { return inDisc(x, y, 0.9); }).first, 0.02);
}

// Each file has its share of the bar, which its gridding moves by rows; Esc stops
// before the next file.
TEST(PointsToGrid, FilesAndTheirGriddingMoveTheBarAndEscStopsBeforeTheNextFile) {
    ConvRun run;
    run.opt.chkRemoveUndercuts = run.opt.chkBlankOutline = false;
    run.opt.txtXInt = "0.1";
    ApplyDefaultSettings(run.opt);
    for (const char* f : {"a.txt", "b.txt", "c.txt"}) {
        run.dir.write(f, xyzText(scatteredCrown(300, 7)));
        run.add(f);
    }
    struct EscAfterFirst : ConvView {
        int asked = 0;
        trelvik::testing::ScriptedProgress files;
        bool stopRequested() override { return ++asked > 1; }
        Progress& batchProgress() override { return files; }
    } view;
    ConvContext c{run.app, run.prompt, run.state, run.opt, view};
    ConvertTXT_GRD(c);
    const auto& steps = view.files.steps;
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), std::make_pair(0LL, 3000LL));
    // The gridding's rows end at the end of the first file's share.
    EXPECT_NE(std::find(steps.begin(), steps.end(), std::make_pair(1000LL, 3000LL)), steps.end());
    for (const auto& [done, total] : steps) {
        EXPECT_EQ(total, 3000);
        EXPECT_LE(done, 1000);  // the first file's share; the second never started
    }
    EXPECT_TRUE(std::filesystem::exists(run.dir.path("a.grd")));
    EXPECT_FALSE(std::filesystem::exists(run.dir.path("b.grd")));
    EXPECT_NE(run.messages().find("1 of 3 files were done"), std::string::npos) << run.messages();
    EXPECT_EQ(run.state.NumFiles, 0);
}

TEST(PointsToGrid, TheBundledSamplePointsConvertAtAFifthOfAMillimetre) {
    ConvRun run;
    std::filesystem::copy_file(std::string(TRELVIK_SOURCE_DIR) + "/samples/molar_points.txt",
                               run.dir.path("molar_points.txt"));
    // Points about 0.13 mm apart: the outline's bins (1.5 intervals) must reach past
    // the neighbours, so the interval is 0.2 mm.
    run.opt.txtXInt = "0.2";
    ApplyDefaultSettings(run.opt);
    run.add("molar_points.txt");
    auto c = run.ctx();
    ConvertTXT_GRD(c);
    EXPECT_EQ(run.messages(), "");
    const Grid g = run.grid("molar_points-uct480_120pb.grd");
    int kept = 0;
    for (double z : g.z) kept += !isBlank(z);
    EXPECT_GT(kept, 1200);
}
