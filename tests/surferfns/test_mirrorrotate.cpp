// Mirror, clockwise rotation, inversion and mould rotation through "Process", node by
// node on a small grid seen from above.
#include "core/grid.h"
#include "surferfns/terrain.h"
#include "test_smoothing_fixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace trelvik::surffns;
using namespace surffnsproc;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Rows = std::vector<std::vector<double>>;

namespace {

// Top row (greatest y) first.
const Rows kTooth = {{1, 2, 3},
                     {4, 5, 6}};

ProcessOptions geometric(bool ProcessOptions::*op) {
    ProcessOptions o;
    o.optMirror = false;
    o.*op = true;
    return o;
}

Rows runOn(const Rows& rows, const ProcessOptions& o, const std::string& out, ProcRun* keep = nullptr) {
    ProcRun local;
    ProcRun& r = keep ? *keep : local;
    r.save("tooth.grd", fromRows(rows));
    r.add("tooth.grd");
    EXPECT_EQ(ProcessGrids(r.ctx, o), BatchOutcome::Completed);
    EXPECT_TRUE(r.prompt.shown.empty());
    return rowsOf(r.read(out));
}

} // namespace

TEST(MirrorRotate, MirrorsAndClockwiseTurnsNodeByNode) {
    ProcessOptions o;  // Mirror with X: the initial choice
    EXPECT_EQ(runOn(kTooth, o, "toothmx.grd"), (Rows{{3, 2, 1}, {6, 5, 4}}));
    o.optMirrorX = false;
    o.optMirrorY = true;
    EXPECT_EQ(runOn(kTooth, o, "toothmy.grd"), (Rows{{4, 5, 6}, {1, 2, 3}}));

    ProcessOptions rot = geometric(&ProcessOptions::optRotate);
    rot.optMirrorY = true;  // an axis choice does not reach "Rotate CW"
    rot.optMirrorX = false;
    EXPECT_EQ(runOn(kTooth, rot, "toothr90.grd"), (Rows{{4, 1}, {5, 2}, {6, 3}}));
    rot.optRotate90 = false;
    rot.optRotate180 = true;
    EXPECT_EQ(runOn(kTooth, rot, "toothr180.grd"), (Rows{{6, 5, 4}, {3, 2, 1}}));
    rot.optRotate180 = false;
    rot.optRotate270 = true;
    ProcRun r;
    EXPECT_EQ(runOn(kTooth, rot, "toothr270.grd", &r), (Rows{{3, 6}, {2, 5}, {1, 4}}));
    EXPECT_THAT(r.calls("GridTransform"), ElementsAre(HasSubstr("Operation:=3, Rotation:=-270,")));
}

TEST(MirrorRotate, ZMirrorFunctionTextAndRange) {
    EXPECT_EQ(ZMirrorFunction(-0.5, 1.5), "C=1.5-A +-0.5");
    EXPECT_EQ(ZMirrorFunction(0.25, 2), "C=2-A +0.25");
    EXPECT_EQ(ZMirrorFunction(1e-5, 123456.789012345678), "C=123456.789012346-A +1E-05");

    ProcessOptions o;
    o.optMirrorX = false;
    o.optMirrorZ = true;
    ProcRun r;
    const double b = trelvik::kBlank;
    const Rows out = runOn({{-0.5, 0, b}, {1.5, 1, 0.25}}, o, "toothmz.grd", &r);
    EXPECT_THAT(r.calls("GridMath"), ElementsAre(HasSubstr("Function:=\"C=1.5-A +-0.5\"")));
    EXPECT_EQ(out[0][0], 1.5);
    EXPECT_EQ(out[0][1], 1);
    EXPECT_TRUE(trelvik::isBlank(out[0][2]));
    EXPECT_EQ((std::vector<double>{out[1][0], out[1][1], out[1][2]}), (std::vector<double>{-0.5, 0, 0.75}));
}

TEST(MirrorRotate, InverseBlanksZeroAndMouldRotationMirrorsInZThenX) {
    ProcRun r;
    const Rows inv = runOn({{2, 0, -4}, {0.5, 1, 8}}, geometric(&ProcessOptions::optInverse), "toothinv.grd", &r);
    EXPECT_EQ(inv[0][0], 0.5);
    EXPECT_TRUE(trelvik::isBlank(inv[0][1]));
    EXPECT_EQ(inv[0][2], -0.25);
    EXPECT_EQ(inv[1], (std::vector<double>{2, 1, 0.125}));

    ProcRun m;
    // z from 1 to 6: z -> 7 - z, then columns reversed.
    EXPECT_EQ(runOn(kTooth, geometric(&ProcessOptions::optMouldRotate), "toothmr.grd", &m),
              (Rows{{4, 5, 6}, {1, 2, 3}}));
    EXPECT_EQ(rowsOf(m.read("toothtemp.grd")), (Rows{{6, 5, 4}, {3, 2, 1}}));
    EXPECT_THAT(m.calls("GridTransform"), ElementsAre(HasSubstr("toothtemp.grd\", Operation:=4,")));
}

TEST(MirrorRotate, Version6ReportsAndWritesNothing) {
    for (bool ProcessOptions::*op : {&ProcessOptions::optMirror, &ProcessOptions::optRotate,
                                     &ProcessOptions::optInverse, &ProcessOptions::optMouldRotate}) {
        ProcRun r(true);
        r.ctx.chkPlotSurfer = true;
        r.save("tooth.grd", fromRows(kTooth));
        r.add("tooth.grd");
        EXPECT_EQ(ProcessGrids(r.ctx, geometric(op)), BatchOutcome::Stopped);
        EXPECT_THAT(r.messages(), ElementsAre("This function is not available in Surfer v6."));
        EXPECT_THAT(r.files(), ElementsAre("tooth.grd"));
        EXPECT_TRUE(r.app.SurferApp->callLog().empty());  // no grid call, no plot
        EXPECT_EQ(r.state.NumFiles, 1);
    }
}
