// The grid-height step through GridResiduals, in both call forms, on an analytic plane.
#include "core/commit/testhooks.h"
#include "core/error.h"
#include "planes/gridheights.h"
#include "surfer/surfertest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace trelvik::planes;
using trelvik::testing::TempFolder;

namespace {
double tilted(double x, double y) { return 3 + 0.5 * x - 0.25 * y; }

// Puts one link to linkTo at the name the zero file "T1pl0.dat" is about to be made under,
// as someone sharing the folder might.
std::string linkTo;
void linkAtZeroName(const std::string& name) {
    if (linkTo.empty() || std::filesystem::path(name).filename().string().rfind(".T1pl0.dat.trelvik-", 0) != 0) return;
    std::filesystem::create_symlink(linkTo, name);
    linkTo.clear();
}

struct Fixture {
    TempFolder dir;
    std::string grid = surfertest::saveGrid(dir, "T1.grd", surfertest::makeGrid(11, 9, 0, 10, 0, 8, tilted));
    GridHeightStep step(const std::string& prefix, long n, ResidualsCallForm form) const {
        GridHeightStep s;
        s.grid = grid;
        s.prefix = prefix;
        s.count = n;
        s.form = form;
        return s;
    }
};
} // namespace

TEST(GridHeights, HeightsOfAPlaneInEveryCallForm) {
    for (auto form : {ResidualsCallForm::Version6, ResidualsCallForm::Version8Named,
                      ResidualsCallForm::Version8Positional}) {
        Fixture f;
        auto app = form == ResidualsCallForm::Version6 ? surfertest::v6() : surfertest::v8();
        f.dir.write("digit.dat", "1.5,0\r\n2.25,3.5\r\n-1\r\n9.75,7.125\r\n4,4\r\n5,5\r\n");
        f.dir.write("T1pl0.dat", "the user's own");  // the zero file is made under a working name
        linkTo = f.dir.path("T1pl0.dat");  // and made new there, passing over a link at that name
        trelvik::beforeWorkingFileMade = linkAtZeroName;
        const auto pts = GridHeights(*app, f.step("pl", 4, form));
        trelvik::beforeWorkingFileMade = nullptr;
        EXPECT_TRUE(linkTo.empty());
        ASSERT_EQ(pts.size(), 4u);
        const double xs[] = {1.5, 2.25, 9.75, 4}, ys[] = {0, 3.5, 7.125, 4};
        for (int k = 0; k < 4; ++k) {
            EXPECT_EQ(pts[k].x, xs[k]);
            EXPECT_EQ(pts[k].y, ys[k]);
            EXPECT_NEAR(pts[k].z, tilted(xs[k], ys[k]), 1e-12);
        }
        // The copy is byte for byte, the zero file is gone (the link stays), the height file
        // holds n lines.
        EXPECT_EQ(f.dir.read("T1pl.dat"), f.dir.read("digit.dat"));
        EXPECT_EQ(f.dir.read("T1pl0.dat"), "the user's own");
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir.dir()), {}), 6);
        EXPECT_EQ(f.dir.read("T1plz.dat").substr(0, 34), " 1.5" + std::string(10, ' ') + " 0" + std::string(12, ' ') + " 3.75 ");
        const std::string z = f.dir.read("T1plz.dat");
        EXPECT_EQ(std::count(z.begin(), z.end(), '\n'), 4);
        EXPECT_TRUE(app->callLog().size() >= 1);
    }
}

TEST(GridHeights, ZeroFileLayoutsAndCustomNames) {
    Fixture f;
    auto app = surfertest::v8();
    GridHeightStep s = f.step("_crsltrpp", 0, ResidualsCallForm::Version8Named);
    s.heightTag = "Z";
    s.keepZeroFile = true;
    s.zeroFileCommaSeparated = true;
    s.stem = f.dir.path("T1prpac");
    const auto pts = GridHeightsAt(*app, {{1.5, 0}, {2, 4}}, f.grid, s);
    EXPECT_NEAR(pts[1].z, tilted(2, 4), 1e-12);
    EXPECT_TRUE(std::filesystem::exists(f.dir.path("T1prpac_crsltrppZ.dat")));
    const std::string zero = f.dir.read("T1prpac_crsltrpp0.dat");
    EXPECT_EQ(zero.substr(0, 8), "1.5,0,0,");

    // The print-zone zero file, read by the version-6 call and kept as it saved it, with
    // the residual added.
    GridHeightStep p = f.step("_ovp", 1, ResidualsCallForm::Version6);
    p.keepZeroFile = true;
    GridHeightsAt(*surfertest::v6(), {{1.5, 2}}, f.grid, p);
    EXPECT_EQ(f.dir.read("T1_ovp0.dat"), "1.5,2,0,-3.25\r\n");
}

TEST(GridHeights, PointsWithoutAHeightAndShortFilesAreReported) {
    Fixture f;
    auto app = surfertest::v8();
    auto message = [&](const GridHeightStep& s) {
        try {
            GridHeights(*app, s);
        } catch (const trelvik::Error& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    // Missing digitise file.
    EXPECT_NE(message(f.step("pl", 2, ResidualsCallForm::Version8Named)).find("digit.dat"), std::string::npos);
    // Point 2 outside the grid.
    f.dir.write("digit.dat", "1,1\n20,1\n2,2\n");
    const std::string outside = message(f.step("pl", 3, ResidualsCallForm::Version8Named));
    EXPECT_NE(outside.find("Point 2 (20, 1)"), std::string::npos) << outside;
    EXPECT_FALSE(std::filesystem::exists(f.dir.path("T1pl0.dat")));
    // Fewer points than asked: names the file the user saved (not our copy) and the count.
    const std::string few = message(f.step("pl", 4, ResidualsCallForm::Version8Named));
    EXPECT_NE(few.find(f.dir.path("digit.dat") + " holds 3 points; 4 are needed"), std::string::npos) << few;
    // A blank node.
    auto g = surfertest::makeGrid(11, 9, 0, 10, 0, 8, tilted);
    g.at(3, 3) = trelvik::kBlank;
    surfertest::saveGrid(f.dir, "T1.grd", g);
    f.dir.write("digit.dat", "1,1\n3.5,3.5\n");
    EXPECT_NE(message(f.step("pl", 2, ResidualsCallForm::Version8Named)).find("Point 2"), std::string::npos);
}

// A point without a height refuses the step before anything is kept: the copy, the
// height file and a kept zero file of the earlier run stay as they were.
TEST(GridHeights, ARefusedStepLeavesTheEarlierFiles) {
    Fixture f;
    auto app = surfertest::v8();
    f.dir.write("digit.dat", "1,1\n2,2\n");
    GridHeights(*app, f.step("_ovp", 2, ResidualsCallForm::Version8Positional));
    GridHeightStep kept = f.step("_crsltrpp", 0, ResidualsCallForm::Version8Named);
    kept.keepZeroFile = true;
    GridHeightsAt(*app, {{1.5, 0}}, f.grid, kept);
    const std::vector<std::string> names{"T1_ovp.dat", "T1_ovpz.dat", "T1_crsltrpp0.dat", "T1_crsltrppz.dat"};
    const auto before = f.dir.contents(names);
    const auto files = f.dir.fileCount();

    f.dir.write("digit.dat", "1,1\n20,1\n");
    EXPECT_THROW(GridHeights(*app, f.step("_ovp", 2, ResidualsCallForm::Version8Positional)), trelvik::Error);
    EXPECT_THROW(GridHeightsAt(*app, {{20, 1}}, f.grid, kept), trelvik::Error);
    EXPECT_EQ(f.dir.contents(names), before);
    EXPECT_EQ(f.dir.fileCount(), files);
}
