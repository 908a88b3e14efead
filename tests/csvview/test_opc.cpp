// Orientation patch count: exact labelling against a brute-force flood fill,
// analytic surfaces, a hand-worked band grid with its written tables, and refusals.
#include "core/appstate.h"
#include "core/prompt.h"
#include "csvview/opccount.h"
#include "csvview/opclabel.h"
#include "test_csvhelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

using namespace trelvik;
using namespace trelvik::csvview;
using csvtest::TempDir;

namespace {

// Components by flood fill, numbered by their first cell in row-major order; those
// larger than minSize are kept and renumbered 1, 2, ...
std::vector<int> floodFillPatches(const std::vector<int>& cls, int cols, int rows, long minSize,
                                  std::vector<long>& keptSizes) {
    std::vector<int> comp(cls.size(), -1);
    std::vector<long> sizes;
    for (std::size_t s = 0; s < cls.size(); ++s) {
        if (cls[s] == kNoClass || comp[s] != -1) continue;
        const int id = static_cast<int>(sizes.size());
        sizes.push_back(0);
        std::vector<std::size_t> stack{s};
        comp[s] = id;
        while (!stack.empty()) {
            const std::size_t k = stack.back();
            stack.pop_back();
            ++sizes[id];
            const int c = static_cast<int>(k % cols), r = static_cast<int>(k / cols);
            for (auto [c2, r2] : {std::pair{c + 1, r}, {c - 1, r}, {c, r + 1}, {c, r - 1}}) {
                if (c2 < 0 || c2 >= cols || r2 < 0 || r2 >= rows) continue;
                const std::size_t k2 = static_cast<std::size_t>(r2) * cols + c2;
                if (comp[k2] == -1 && cls[k2] == cls[k]) {
                    comp[k2] = id;
                    stack.push_back(k2);
                }
            }
        }
    }
    std::vector<int> number(sizes.size(), kNoLabel), patch(cls.size(), kNoLabel);
    keptSizes.clear();
    for (std::size_t i = 0; i < sizes.size(); ++i)
        if (sizes[i] > minSize) {
            keptSizes.push_back(sizes[i]);
            number[i] = static_cast<int>(keptSizes.size());
        }
    for (std::size_t k = 0; k < cls.size(); ++k)
        if (comp[k] != -1) patch[k] = number[comp[k]];
    return patch;
}

// A square spiral corridor of class 1 in walls of class 2: one patch whose arms
// are met in every scan direction only after many turns.
std::vector<int> spiral(int n) {
    std::vector<int> g(static_cast<std::size_t>(n) * n, 2);
    auto inside = [n](int c, int r) { return c >= 0 && c < n && r >= 0 && r < n; };
    auto at = [&](int c, int r) -> int& { return g[static_cast<std::size_t>(r) * n + c]; };
    int c = 0, r = 0, dc = 1, dr = 0;
    at(c, r) = 1;
    for (int turns = 0; turns < 2;) {
        const bool free1 = inside(c + dc, r + dr) && at(c + dc, r + dr) == 2;
        const bool free2 = !inside(c + 2 * dc, r + 2 * dr) || at(c + 2 * dc, r + 2 * dr) == 2;
        if (free1 && free2) {
            c += dc;
            r += dr;
            at(c, r) = 1;
            turns = 0;
        } else {
            const int t = dc;  // turn right
            dc = -dr;
            dr = t;
            ++turns;
        }
    }
    return g;
}

LatticeGrid gridOf(int cols, int rows, const std::function<double(double, double)>& f) {
    return csvtest::makeGrid(cols, rows, 1.0, 0, 0, f);
}

OpcResult count(const LatticeGrid& g, OpcSettings s, const TempDir& tmp, AppState& app, ScriptedPrompt& prompt,
                double zmin = 0, double zmax = 0) {
    OpcInput in;
    in.working = &g;
    in.xstep = 1;
    in.zmin = zmin;
    in.zmax = zmax;
    in.ctx.folder = tmp.folder();
    in.ctx.baseName = "tooth";
    return ProcClump(s, in, app, prompt, noProgress());
}

} // namespace

TEST(OpcLabel, AgreesWithFloodFillOnRandomAndMazeLikeMaps) {
    std::mt19937 rng(12345);
    for (int trial = 0; trial < 60; ++trial) {
        const int cols = 1 + static_cast<int>(rng() % 40), rows = 1 + static_cast<int>(rng() % 40);
        // Two classes near the percolation threshold make long winding patches;
        // more classes and voids make many small ones.
        const int nClasses = trial % 3 == 0 ? 2 : 2 + static_cast<int>(rng() % 7);
        std::vector<int> cls(static_cast<std::size_t>(cols) * rows);
        for (int& v : cls) v = (rng() % 10 == 0) ? kNoClass : 1 + static_cast<int>(rng() % nClasses);
        const long minSize = trial % 4;
        std::vector<long> sizes;
        const std::vector<int> expected = floodFillPatches(cls, cols, rows, minSize, sizes);
        const PatchLabels got = labelPatches(cls, cols, rows, minSize);
        ASSERT_EQ(got.patch, expected) << "trial " << trial;
        ASSERT_EQ(got.patchSizes, sizes);
    }
    for (int n : {7, 21, 60}) {
        const std::vector<int> cls = spiral(n);
        std::vector<long> sizes;
        const std::vector<int> expected = floodFillPatches(cls, n, n, 0, sizes);
        const PatchLabels got = labelPatches(cls, n, n, 0);
        EXPECT_EQ(got.patch, expected) << n;
        EXPECT_EQ(got.patchSizes, sizes);
    }
}

TEST(OpcLabel, UShapeIsOnePatchNumberedInScanOrder) {
    // Two arms of class 1 from row 1 meeting in row 3; class 2 between them.
    const PatchLabels l = labelPatches({1, 2, 1, 1, 2, 1, 1, 1, 1}, 3, 3, 0);
    EXPECT_EQ(l.patch, (std::vector<int>{1, 2, 1, 1, 2, 1, 1, 1, 1}));
    EXPECT_EQ(l.patchSizes, (std::vector<long>{7, 2}));
}

TEST(OpcClasses, SectorsTurnWithTheOffsetAndFlatCellsFormTheirOwnClass) {
    LatticeGrid g(7, 1);
    const double v[7] = {350, 10, 337.5, 22.5, 5.0, -1, kVoidHeight};
    for (int c = 1; c <= 7; ++c) g.z(c, 1) = v[c - 1];
    EXPECT_EQ(orientationClasses(g, 8, 22.5, false), (std::vector<int>{1, 1, 1, 2, 1, 9, kNoClass}));
    EXPECT_EQ(orientationClasses(g, 8, 22.5, true)[5], kNoClass);
    // Run 2 of 8 rotations turns the boundaries by 5.625 degrees: 337.5 - 5.625 opens class 1.
    EXPECT_EQ(orientationClasses(g, 8, 22.5 + 5.625, false), (std::vector<int>{1, 1, 1, 2, 1, 9, kNoClass}));
    g.z(1, 1) = 331.875;
    g.z(2, 1) = 331.8;
    const std::vector<int> turned = orientationClasses(g, 8, 22.5 + 5.625, false);
    EXPECT_EQ(turned[0], 1);
    EXPECT_EQ(turned[1], 8);

    // With thousands of categories a class number can equal the void height 9999; it
    // is still a class, and its cells still form a patch.
    LatticeGrid fine(3, 1);
    for (int c = 1; c <= 3; ++c) fine.z(c, 1) = 359.93;  // (359.93 + 0.018) / 0.036 = 9998.6
    const std::vector<int> many = orientationClasses(fine, 10000, 180.0 / 10000, false);
    EXPECT_EQ(many, (std::vector<int>{9999, 9999, 9999}));
    EXPECT_EQ(labelPatches(many, 3, 1, 0).patchSizes, (std::vector<long>{3}));
}

TEST(OpcClasses, BandClassesWrapAndTakeTheFlatRuleAsSectorsDo) {
    LatticeGrid g(6, 1);
    const double v[6] = {1, 2, 3, 3, 2, kVoidHeight};  // bands 1..3: N = 3
    for (int c = 1; c <= 6; ++c) g.z(c, 1) = v[c - 1];
    int n = 0;
    // band + 1, with N + 1 = 4 wrapped to 1
    EXPECT_EQ(bandClasses(g, n, false), (std::vector<int>{2, 3, 1, 1, 3, kNoClass}));
    EXPECT_EQ(n, 3);
    g.z(1, 1) = 0;  // bands 0..3: classes 1..4, none wraps
    EXPECT_EQ(bandClasses(g, n, false), (std::vector<int>{1, 3, 4, 4, 3, kNoClass}));
    // -1 is the class N + 1 of its own (here N = 5 over -1..3), or void when flat areas are
    g.z(5, 1) = -1;
    EXPECT_EQ(bandClasses(g, n, false)[4], 6);
    EXPECT_EQ(n, 5);
    EXPECT_EQ(bandClasses(g, n, true)[4], kNoClass);
}

TEST(OpcCount, NonWholeRotationCountIsRoundedAndAveragedOverTheRunsMade) {
    TempDir tmp;
    AppState app;
    ScriptedPrompt prompt;
    const LatticeGrid cone = gridOf(41, 41, [](double x, double y) { return -std::hypot(x - 20.2, y - 19.7); });
    OpcSettings s;
    s.noOpcRot = "2.5";  // two runs (halves to even), turned by 45 / 2.5 = 18 degrees
    const OpcResult r = count(cone, s, tmp, app, prompt);
    ASSERT_TRUE(r.done) << (prompt.shown.empty() ? "" : prompt.shown[0].text);
    ASSERT_EQ(r.runs.size(), 2u);
    EXPECT_NEAR(r.avgPatches, (r.runs[0].patches + r.runs[1].patches) / 2.0, 1e-12);
    EXPECT_NEAR(r.avgDiversity, (r.runs[0].diversity + r.runs[1].diversity) / 2.0, 1e-12);
    EXPECT_TRUE(std::filesystem::exists(tmp.folder() + "cl_asp8_2/00cl_asp8_2_R2.5-OPCRallresults.csv"));
    s.noOpcRot = "3.5";
    EXPECT_EQ(count(cone, s, tmp, app, prompt).runs.size(), 4u);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST(OpcCount, AnalyticSurfacesGiveOneFourAndEightPatches) {
    TempDir tmp;
    AppState app;
    ScriptedPrompt prompt;
    OpcSettings s;  // 8 classes, min size 2, OPCR with 8 rotations
    const OpcResult plane = count(gridOf(30, 25, [](double x, double y) { return 0.3 * x - 0.7 * y; }), s, tmp, app, prompt);
    ASSERT_TRUE(plane.done || !plane.runs.empty());
    for (const PatchStats& r : plane.runs) EXPECT_EQ(r.patches, 1);
    EXPECT_EQ(plane.avgPatches, 1);
    EXPECT_EQ(plane.avgDiversity, 0);
    EXPECT_EQ(plane.avgSizes.sd, 0);
    EXPECT_EQ(plane.totalCells, 28 * 23);

    s.opcr = false;
    const OpcResult pyramid =
        count(gridOf(41, 41, [](double x, double y) { return -std::max(std::fabs(x - 20), std::fabs(y - 20)); }), s, tmp,
              app, prompt);
    ASSERT_EQ(pyramid.runs.size(), 1u);
    EXPECT_EQ(pyramid.runs[0].patches, 4);
    // Each face keeps 19 x 19 cells; the ridges (single cells joined only at corners)
    // are dropped, the flat apex is void, and all of them still count in T.
    EXPECT_EQ(pyramid.labels.patchSizes, (std::vector<long>{361, 361, 361, 361}));
    EXPECT_NEAR(pyramid.runs[0].diversity, 1 / (4 * std::pow(361.0 / 1521.0, 2)), 1e-9);

    s.opcr = true;
    const OpcResult cone =
        count(gridOf(61, 61, [](double x, double y) { return -std::hypot(x - 30.2, y - 29.7); }), s, tmp, app, prompt);
    ASSERT_EQ(cone.runs.size(), 8u);
    for (const PatchStats& r : cone.runs) EXPECT_EQ(r.patches, 8);
    EXPECT_EQ(cone.avgPatches, 8);
    EXPECT_TRUE(prompt.shown.empty());
}

TEST(OpcCount, HandWorkedBandGridWritesItsTables) {
    TempDir tmp;
    AppState app;
    ScriptedPrompt prompt;
    // Heights 0, 1, 2 with "z range /" 3 are bands 0, 1, 2 (h = 1).
    const int z[4][5] = {{0, 0, 0, 0, 1},   // row 1
                         {0, 2, 0, 0, 1},   // row 2
                         {0, 2, 2, 1, 1},   // row 3
                         {0, 0, 1, 1, 1}};  // row 4
    LatticeGrid g = gridOf(5, 4, [](double, double) { return 0.0; });
    for (int r = 1; r <= 4; ++r)
        for (int c = 1; c <= 5; ++c) g.z(c, r) = z[r - 1][c - 1];
    OpcSettings s;
    s.source = ClumpSource::Contour;
    s.contourByRange = true;
    s.contourScaleR = "3";
    s.opcr = false;
    const OpcResult res = count(g, s, tmp, app, prompt, 0, 2);
    ASSERT_EQ(res.runName, "cl_cor3_2");
    const PatchStats& st = res.runs.at(0);
    EXPECT_EQ(st.patches, 3);
    EXPECT_EQ(res.labels.patchSizes, (std::vector<long>{10, 7, 3}));
    EXPECT_EQ(res.totalCells, 6);  // the outer ring never counts
    EXPECT_NEAR(st.diversity, 36.0 / 158.0, 1e-12);
    EXPECT_NEAR(st.sizes.mean, 20.0 / 3, 1e-12);
    EXPECT_EQ(st.sizes.median, 7);
    EXPECT_EQ(res.noClumpsText, "3");
    EXPECT_EQ(res.pdClumpedText, "0.228");

    const std::string dir = tmp.folder() + "cl_cor3_2/";
    EXPECT_EQ(csvtest::readText(dir + "tooth-cl_cor3_2results.csv"),
              "\"ClumpInfo\",\"NoClumps\",\"ClumpSizeMean\",\"ClumpSizeSD\",\"ClumpSizeMin\",\"ClumpSizeMax\","
              "\"ClumpSizeMed\",\"ClumpSize1Q\",\"ClumpSize3Q\",\"PatchDiversityClump\",\"TotalPixels\",\"PixelsInClumps\"\r\n"
              "\"cl_cor3_2\",3,6.66666666666667,3.51188458428425,3,10,7,5,10,0.227848101265823,6,20\r\n"
              "\r\n\"ClumpNo\",\"ClumpSize\"\r\n1,10\r\n2,7\r\n3,3\r\n");
    const std::string grid = csvtest::readText(dir + "tooth-cl_cor3_2.csv");
    EXPECT_EQ(grid.substr(0, 21), "0,0,1\r\n1,0,1\r\n2,0,1\r\n");
    EXPECT_EQ(std::count(grid.begin(), grid.end(), '\n'), 20);
    EXPECT_NE(grid.find("1,1,3\r\n"), std::string::npos);  // cell (2, 2) is patch 3
    EXPECT_EQ(csvtest::readText(dir + "00cl_cor3_2_R1-OPCRallresults.csv"),
              "\"File\",\"ClumpInfo\",\"NoClumps_OPCR\",\"ClumpSizeMean_OPCR\",\"ClumpSizeSD_OPCR\",\"ClumpSizeMin_OPCR\","
              "\"ClumpSizeMax_OPCR\",\"ClumpSizeMed_OPCR\",\"ClumpSize1Q_OPCR\",\"ClumpSize3Q_OPCR\","
              "\"PatchDiversityClump_OPCR\",\"TotalPixels\",\"PixelsInClumps\"\r\n"
              "\"tooth\",\"cl_cor3_2_R1\",3,6.66666666666667,3.51188458428425,3,10,7,5,10,0.227848101265823,6,20\r\n");
    EXPECT_TRUE(std::filesystem::exists(dir + "tooth-cl_cor3_2.bmp"));

    // A larger minimum drops the 3-cell patch from the grid file and the cell count.
    s.minClumpSize = "3";
    const OpcResult m3 = count(g, s, tmp, app, prompt, 0, 2);
    EXPECT_EQ(m3.runs[0].patches, 2);
    EXPECT_EQ(m3.pixelsInClumps, 17);
    const std::string grid3 = csvtest::readText(tmp.folder() + "cl_cor3_3/tooth-cl_cor3_3.csv");
    EXPECT_EQ(std::count(grid3.begin(), grid3.end(), '\n'), 17);
}

TEST(OpcCount, TheRunsFilesGoInPlaceWithItsSummaryRows) {
    TempDir tmp;
    AppState app;
    ScriptedPrompt prompt;
    OpcSettings s;
    s.opcr = false;
    ASSERT_TRUE(count(gridOf(10, 10, [](double x, double) { return x; }), s, tmp, app, prompt).done);
    const std::string dir = tmp.folder() + "cl_asp8_2/";
    const std::string results = csvtest::readText(dir + "tooth-cl_asp8_2results.csv");
    const std::string summary = csvtest::readText(dir + "00cl_asp8_2allresults.csv");
    const std::string patches = csvtest::readText(dir + "tooth-cl_asp8_2.csv");
    // A later file of a batch, whose rotation summary cannot be put in place.
    std::filesystem::remove(dir + "00cl_asp8_2_R1-OPCRallresults.csv");
    std::filesystem::create_directory(dir + "00cl_asp8_2_R1-OPCRallresults.csv");
    const LatticeGrid other = gridOf(10, 10, [](double x, double y) { return x * y; });
    OpcInput in;
    in.working = &other;
    in.ctx = RunContext{tmp.folder(), "tooth", true, true};
    EXPECT_THROW(ProcClump(s, in, app, prompt, noProgress()), trelvik::Error);
    EXPECT_EQ(csvtest::readText(dir + "tooth-cl_asp8_2results.csv"), results);
    EXPECT_EQ(csvtest::readText(dir + "00cl_asp8_2allresults.csv"), summary);
    EXPECT_EQ(csvtest::readText(dir + "tooth-cl_asp8_2.csv"), patches);
}

TEST(OpcCount, RefusesBadCountsAndWritesNothing) {
    TempDir tmp;
    AppState app;
    const LatticeGrid g = gridOf(10, 10, [](double x, double) { return x; });
    // categories, rotations, minimum size
    for (auto [cat, rot, min] : {std::tuple{"0", "8", "2"}, {"8", "0.4", "2"}, {"8", "0", "2"}, {"8", "8", "-1"},
                                 {"40000", "8", "2"}}) {
        ScriptedPrompt prompt;
        OpcSettings s;
        s.aspectNoCat = cat;
        s.noOpcRot = rot;
        s.minClumpSize = min;
        const OpcResult r = count(g, s, tmp, app, prompt);
        EXPECT_FALSE(r.done);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.shown[0].title, "Values");
    }
    ScriptedPrompt prompt;
    OpcSettings s;
    s.source = ClumpSource::CurrentView;
    count(g, s, tmp, app, prompt);
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "This option is not enabled");
    EXPECT_TRUE(std::filesystem::is_empty(tmp.dir));
}

TEST(OpcCount, RunNamesFromTypedAndCountedValues) {
    OpcSettings s;
    s.aspectNoCat = "8.0";
    EXPECT_EQ(*UpdateClumpNameID(s), "cl_asp8.0_2");
    EXPECT_EQ(*clumpRunName(s), "cl_asp8_2");
    s.useMinSlope = true;
    s.voidHoriz = true;
    EXPECT_EQ(*clumpRunName(s), "cl_asp8_2_10vh");
    s.voidHoriz = false;
    EXPECT_EQ(*clumpRunName(s), "cl_asp8_2_10");
    s.source = ClumpSource::Contour;
    s.contourScaleZ = "2.50";
    EXPECT_EQ(*UpdateClumpNameID(s), "cl_con2.50_2");
    EXPECT_EQ(*clumpRunName(s), "cl_con2.5_2");
    s.contourByRange = true;
    EXPECT_EQ(*clumpRunName(s), "cl_cor10_2");
    s.source = ClumpSource::CurrentView;
    EXPECT_FALSE(UpdateClumpNameID(s).has_value());
}
