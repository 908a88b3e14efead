// ReadGridGeometry through the stand-in, for both version ticks.
#include "core/error.h"
#include "formats/surfergrid.h"
#include "support/tempfolder.h"
#include "shell/gridgeometry.h"
#include "surfer/application.h"

#include <gtest/gtest.h>

#include <filesystem>

using trelvik::AppState;
using trelvik::Grid;

namespace {
std::string save(const trelvik::testing::TempFolder& dir, const std::string& name, const Grid& g) {
    trelvik::formats::writeSurferGrid(dir.path(name), g, trelvik::formats::SurferGridFormat::Binary7);
    return dir.path(name);
}
} // namespace

TEST(ReadGridGeometry, SmallGridWithBlankCornersOnVersion8) {
    trelvik::testing::TempFolder dir;
    Grid g(3, 2, 0, 1, 10, 10.25, 0);
    for (int k = 0; k < 6; ++k) g.z[static_cast<std::size_t>(k)] = k + 1;
    g.at(0, 0) = trelvik::kBlank;
    g.at(2, 1) = trelvik::kBlank;
    const auto grid = save(dir, "t1.grd", g);
    AppState app;
    app.mnuSurf8Checked = true;
    trelvik::ReadGridGeometry(app, grid);
    EXPECT_EQ(app.GridCols, 3);
    EXPECT_EQ(app.GridRows, 2);
    EXPECT_DOUBLE_EQ(app.GridXSpacing, 0.5);
    EXPECT_DOUBLE_EQ(app.GridYSpacing, 0.25);
    EXPECT_DOUBLE_EQ(app.GridXMin, 0);
    EXPECT_DOUBLE_EQ(app.GridXMax, 1);
    EXPECT_DOUBLE_EQ(app.GridYMin, 10);
    EXPECT_DOUBLE_EQ(app.GridYMax, 10.25);
    EXPECT_DOUBLE_EQ(app.GridZMin, 2);
    EXPECT_DOUBLE_EQ(app.GridZMax, 5);
    EXPECT_EQ(app.SurferVersion, "SurferV8");
    ASSERT_TRUE(app.SurferApp);
    EXPECT_TRUE(app.SurferApp->Visible);
    // The dump is made where no file of the user's can be: one of theirs named as a dump
    // beside the grid once was (<grid>temp.dat) stays as it was.
    dir.write("t1temp.dat", "the user's own notes");
    trelvik::ReadGridGeometry(app, grid);
    EXPECT_EQ(dir.read("t1temp.dat"), "the user's own notes");
    const std::string call = app.SurferApp->callLog().back(), into = "OutGrid:=\"";
    EXPECT_EQ(call.rfind("GridConvert(InGrid:=\"" + grid + "\", " + into, 0), 0u) << call;
    EXPECT_NE(std::filesystem::path(call.substr(call.find(into) + into.size())).parent_path(),
              std::filesystem::path(grid).parent_path());
}

TEST(ReadGridGeometry, Version6RoundsTheYStepAndFarCoordinatesSetTheExtents) {
    trelvik::testing::TempFolder dir;
    // Beyond +-1000000 the extents still come from the nodes themselves.
    Grid g(4, 3, 2000000, 2000003, 5000000, 5000000.2469134, 1.5);
    const auto grid = save(dir, "far.grd", g);
    AppState app;
    app.mnuSurf6Checked = true;
    app.mnuSurf8Checked = false;
    trelvik::ReadGridGeometry(app, grid);
    EXPECT_EQ(app.SurferVersion, "SurferV6");
    EXPECT_EQ(app.SurferApp->version(), 6);
    EXPECT_EQ(app.GridCols, 4);
    EXPECT_EQ(app.GridRows, 3);
    EXPECT_DOUBLE_EQ(app.GridXMin, 2000000);
    EXPECT_DOUBLE_EQ(app.GridYMin, 5000000);
    EXPECT_NEAR(app.GridYSpacing, 0.123457, 1e-9);
    EXPECT_DOUBLE_EQ(app.GridZMin, 1.5);
    EXPECT_EQ(app.SurferApp->callLog().back().rfind("GridConvert(\"", 0), 0u);

    // All nodes blank: the z extremes keep their start values.
    const auto empty = save(dir, "e.grd", Grid(3, 3, 0, 2, 0, 2));
    trelvik::ReadGridGeometry(app, empty);
    EXPECT_DOUBLE_EQ(app.GridZMin, 1000000);
    EXPECT_DOUBLE_EQ(app.GridZMax, -1000000);
}

TEST(ReadGridGeometry, UnusableOrMissingGridKeepsThePreviousValues) {
    trelvik::testing::TempFolder dir;
    AppState app;
    app.mnuSurf8Checked = true;
    trelvik::ReadGridGeometry(app, save(dir, "ok.grd", Grid(5, 4, 0, 4, 0, 3, 1.0)));
    // One row: the columns cannot be counted.
    dir.write("row.grd", "DSAA\r\n3 1\r\n0 2\r\n7 7\r\n1 1\r\n1 1 1\r\n");
    EXPECT_THROW(trelvik::ReadGridGeometry(app, dir.path("row.grd")), trelvik::Error);
    EXPECT_THROW(trelvik::ReadGridGeometry(app, dir.path("missing.grd")), trelvik::Error);
    EXPECT_EQ(app.GridCols, 5);
    EXPECT_EQ(app.GridRows, 4);
    EXPECT_FALSE(std::filesystem::exists(dir.path("rowtemp.dat")));
}
