// The window geometry of a list entry: the version-6 report sheet and the version-8 scan
// agree with the shape of a grid the test writes.
#include "surferfns/gridgeo.h"
#include "surferfns/preparesurfer.h"
#include "procrun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace surffnstest;
using ::testing::HasSubstr;

namespace {

// m1: 6 columns over x 2..4.5, 4 rows over y -1..0.5, z = x + 10y with the corner (0,0)
// blank, so z runs from -7.5 (at (1,0)) to 9.5; m2 is level at 7; gone.grd is missing.
void listGrids(ProcRun& r) {
    Grid g = makeGrid(6, 4, 2, 4.5, -1, 0.5, [](double x, double y) { return x + 10 * y; });
    g.at(0, 0) = kBlank;
    saveGrid(r.dir.path("m1.grd"), g);
    saveGrid(r.dir.path("m2.grd"), Grid(3, 2, 0, 1, 0, 1, 7.0));
    r.ctx.File2Names = {"m1.grd", "m2.grd", "gone.grd"};
    AddAllFilenames(r.ctx);
    PrepareSurfer(r.ctx);
}

void expectM1(const GridGeo& g, bool withZ) {
    const double want[] = {6, 4, 0.5, 0.5, 2, 4.5, -1, 0.5};
    const double got[] = {g.GeoCols, g.GeoRows, g.GeoXSpacing, g.GeoYSpacing,
                          g.GeoXMin, g.GeoXMax, g.GeoYMin,     g.GeoYMax};
    for (int k = 0; k < 8; ++k) EXPECT_DOUBLE_EQ(got[k], want[k]) << k;
    if (withZ) {
        EXPECT_DOUBLE_EQ(g.GeoZMin, -7.5);  // the blank corner is left out
        EXPECT_DOUBLE_EQ(g.GeoZMax, 9.5);
    }
}

} // namespace

TEST(EntryGeometry, BothVersionsReadTheGridsShapeAndHeights) {
    for (bool v6 : {false, true}) {
        ProcRun r(v6);
        listGrids(r);
        r.state.Geo.GeoZMin = 123;  // without z the sheet's old values stay
        ReadEntryGeometry(r.ctx, 1, false);
        expectM1(r.state.Geo, false);
        if (v6) EXPECT_DOUBLE_EQ(r.state.Geo.GeoZMin, 123);
        ReadEntryGeometry(r.ctx, 1, true);
        expectM1(r.state.Geo, true);
        // Version 6 reads a report sheet it leaves beside the grid; version 8 writes none.
        EXPECT_EQ(FileExists(r.dir.path("volume.dat")), v6);
        // A second grid in the same folder replaces the sheet and its geometry.
        ReadEntryGeometry(r.ctx, 2, true);
        EXPECT_DOUBLE_EQ(r.state.Geo.GeoCols, 3);
        EXPECT_DOUBLE_EQ(r.state.Geo.GeoZMax, 7);
    }
}

TEST(EntryGeometry, MissingGridOrUnknownVersionStopsAndKeepsThePreviousGeometry) {
    for (bool v6 : {true, false}) {
        ProcRun r(v6);
        listGrids(r);
        ReadEntryGeometry(r.ctx, 1, true);
        try {
            ReadEntryGeometry(r.ctx, 3, true);
            ADD_FAILURE() << v6;
        } catch (const Error& e) {
            EXPECT_THAT(e.what(), HasSubstr("gone.grd")) << v6;
        }
        expectM1(r.state.Geo, true);
        // Neither of the two version tokens: stop rather than run on m1's geometry.
        r.app.SurferVersion = "SurferV7";
        try {
            ReadEntryGeometry(r.ctx, 2, true);
            ADD_FAILURE() << v6;
        } catch (const Error& e) {
            EXPECT_THAT(e.what(), HasSubstr("SurferV7"));
        }
        expectM1(r.state.Geo, true);
    }
}
