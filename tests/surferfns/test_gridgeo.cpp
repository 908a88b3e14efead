// The window geometry of a list entry: version-6 report sheet and version-8 scan agree
// with the shape of a grid the test writes.
#include "core/error.h"
#include "formats/surfergrid.h"
#include "formats/tempfolder.h"
#include "surfer/application.h"
#include "surferfns/gridgeo.h"
#include "surferfns/preparesurfer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using namespace trelvik;
using namespace trelvik::surffns;
using ::testing::HasSubstr;
using TempFolder = trelvik::testing::TempFolder;

namespace {
struct Fixture {
    TempFolder dir;
    AppState app;
    ScriptedPrompt prompt;
    SurfFnsState state;
    SurfFnsContext ctx{app, prompt, state};
    explicit Fixture(bool v6) {
        surfer::shutdownAll();
        app.mnuSurf6Checked = v6;
        app.mnuSurf8Checked = !v6;
        // 6 columns over x 2..4.5 (spacing 0.5), 4 rows over y -1..0.5 (spacing 0.5);
        // z = x + 10y with the corner (0,0) blank: z runs from -8 to 9.5.
        Grid g(6, 4, 2, 4.5, -1, 0.5, 0);
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 6; ++c) g.at(c, r) = g.x(c) + 10 * g.y(r);
        g.at(0, 0) = kBlank;
        formats::writeSurferGrid(dir.path("m1.grd"), g, formats::SurferGridFormat::Binary7);
        formats::writeSurferGrid(dir.path("m2.grd"), Grid(3, 2, 0, 1, 0, 1, 7.0), formats::SurferGridFormat::Binary7);
        ctx.File2Folder = dir.folder();
        ctx.File2Names = {"m1.grd", "m2.grd", "gone.grd"};
        AddAllFilenames(ctx);
        PrepareSurfer(ctx);
    }
    ~Fixture() { surfer::shutdownAll(); }
};

void expectM1(const GridGeo& g, bool withZ) {
    EXPECT_DOUBLE_EQ(g.GeoCols, 6);
    EXPECT_DOUBLE_EQ(g.GeoRows, 4);
    EXPECT_DOUBLE_EQ(g.GeoXSpacing, 0.5);
    EXPECT_DOUBLE_EQ(g.GeoYSpacing, 0.5);
    EXPECT_DOUBLE_EQ(g.GeoXMin, 2);
    EXPECT_DOUBLE_EQ(g.GeoXMax, 4.5);
    EXPECT_DOUBLE_EQ(g.GeoYMin, -1);
    EXPECT_DOUBLE_EQ(g.GeoYMax, 0.5);
    if (withZ) {
        EXPECT_DOUBLE_EQ(g.GeoZMin, 2.5 - 10);  // (1,0): blank corner excluded
        EXPECT_DOUBLE_EQ(g.GeoZMax, 4.5 + 5);
    }
}
} // namespace

TEST(EntryGeometry, Version8ScanAndNoSheetWritten) {
    Fixture f(false);
    ReadEntryGeometry(f.ctx, 1, false);
    expectM1(f.state.Geo, true);
    EXPECT_FALSE(std::filesystem::exists(f.dir.path("volume.dat")));
}

TEST(EntryGeometry, Version6SheetCellsInOrderAndTheSheetStays) {
    Fixture f(true);
    f.state.Geo.GeoZMin = 123;  // without z the old values stay
    ReadEntryGeometry(f.ctx, 1, false);
    expectM1(f.state.Geo, false);
    EXPECT_DOUBLE_EQ(f.state.Geo.GeoZMin, 123);
    ReadEntryGeometry(f.ctx, 1, true);
    expectM1(f.state.Geo, true);
    EXPECT_TRUE(std::filesystem::exists(f.dir.path("volume.dat")));

    std::vector<std::string> cells;
    for (const auto& l : f.app.SurferApp->callLog())
        if (l.rfind("GetWksCell", 0) == 0) cells.push_back(l.substr(l.find(',') + 2));
    const std::vector<std::string> order = {"4, 4)", "7, 1)", "7, 3)", "5, 2)", "4, 7)",
                                            "8, 1)", "8, 3)", "6, 2)", "9, 1)", "9, 3)"};
    ASSERT_EQ(cells.size(), 8u + 10u);
    for (std::size_t k = 0; k < 10; ++k) EXPECT_EQ(cells[8 + k], order[k]);
    EXPECT_TRUE(f.app.SurferApp->openDocuments().empty());  // both FileClose calls ran

    // A second grid in the same folder replaces the sheet and its geometry.
    ReadEntryGeometry(f.ctx, 2, true);
    EXPECT_DOUBLE_EQ(f.state.Geo.GeoCols, 3);
    EXPECT_DOUBLE_EQ(f.state.Geo.GeoZMax, 7);
}

TEST(EntryGeometry, MissingGridOrUnknownVersionStopsAndKeepsThePreviousGeometry) {
    for (bool v6 : {true, false}) {
        Fixture f(v6);
        ReadEntryGeometry(f.ctx, 1, true);
        try {
            ReadEntryGeometry(f.ctx, 3, true);
            ADD_FAILURE() << v6;
        } catch (const Error& e) {
            EXPECT_THAT(e.what(), HasSubstr("gone.grd")) << v6;
        }
        expectM1(f.state.Geo, true);
    }
    Fixture f(false);
    ReadEntryGeometry(f.ctx, 1, true);
    f.app.SurferVersion = "SurferV7";
    try {
        ReadEntryGeometry(f.ctx, 2, true);
        FAIL();
    } catch (const Error& e) {
        EXPECT_THAT(e.what(), HasSubstr("SurferV7"));
    }
    expectM1(f.state.Geo, true);
}
