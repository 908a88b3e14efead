// Mirror, clockwise rotation, inversion and mould rotation through "Process", node by
// node on a small grid seen from above.
#include "surferfns/terrain.h"
#include "procrun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace surffnstest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

const Rows kTooth = {{1, 2, 3},
                     {4, 5, 6}};

ProcessOptions chosen(bool ProcessOptions::*op, bool ProcessOptions::*sub = nullptr) {
    ProcessOptions o;
    o.optMirror = false;
    o.optMirrorX = false;
    o.optRotate90 = false;
    o.*op = true;
    if (sub) o.*sub = true;
    return o;
}

Rows runOn(ProcRun& r, const Rows& rows, const ProcessOptions& o, const std::string& out) {
    r.add("tooth.grd", fromRows(rows));
    EXPECT_EQ(ProcessGrids(r.ctx, o), BatchOutcome::Completed);
    EXPECT_TRUE(r.prompt.shown.empty());
    return rowsOf(r.read(out));
}

} // namespace

TEST(MirrorRotate, MirrorsAndClockwiseTurnsNodeByNode) {
    using P = ProcessOptions;
    struct Case {
        ProcessOptions o;
        const char* out;
        Rows want;
    };
    const Case cases[] = {
        {chosen(&P::optMirror, &P::optMirrorX), "toothmx.grd", {{3, 2, 1}, {6, 5, 4}}},
        {chosen(&P::optMirror, &P::optMirrorY), "toothmy.grd", {{4, 5, 6}, {1, 2, 3}}},
        {chosen(&P::optRotate, &P::optRotate90), "toothr90.grd", {{4, 1}, {5, 2}, {6, 3}}},
        {chosen(&P::optRotate, &P::optRotate180), "toothr180.grd", {{6, 5, 4}, {3, 2, 1}}},
        {chosen(&P::optRotate, &P::optRotate270), "toothr270.grd", {{3, 6}, {2, 5}, {1, 4}}},
    };
    for (const Case& c : cases) {
        ProcRun r;
        EXPECT_EQ(runOn(r, kTooth, c.o, c.out), c.want) << c.out;
    }
}

TEST(MirrorRotate, ZMirrorKeepsTheRangeAndMouldRotationMirrorsInZThenX) {
    EXPECT_EQ(ZMirrorFunction(-0.5, 1.5), "C=1.5-A +-0.5");
    EXPECT_EQ(ZMirrorFunction(1e-5, 123456.789012345678), "C=123456.789012346-A +1E-05");
    ProcRun r;
    const double b = trelvik::kBlank;
    const Rows z = runOn(r, {{-0.5, 0, b}, {1.5, 1, 0.25}}, chosen(&ProcessOptions::optMirror, &ProcessOptions::optMirrorZ),
                         "toothmz.grd");
    EXPECT_THAT(r.calls("GridMath"), ElementsAre(HasSubstr("Function:=\"C=1.5-A +-0.5\"")));
    EXPECT_EQ((std::vector<double>{z[0][0], z[0][1], z[1][0], z[1][1], z[1][2]}),
              (std::vector<double>{1.5, 1, -0.5, 0, 0.75}));
    EXPECT_TRUE(trelvik::isBlank(z[0][2]));

    ProcRun m;  // z from 1 to 6: z -> 7 - z, then columns reversed; a file named like the step grid is the user's
    m.dir.write("toothtemp.grd", "the user's own");
    EXPECT_EQ(runOn(m, kTooth, chosen(&ProcessOptions::optMouldRotate), "toothmr.grd"), (Rows{{4, 5, 6}, {1, 2, 3}}));
    EXPECT_EQ(m.dir.read("toothtemp.grd"), "the user's own");
}

TEST(MirrorRotate, InverseLeavesABlankWhereTheHeightIsZero) {
    ProcRun r;
    const Rows inv = runOn(r, {{2, 0, -4}, {0.5, 1, 8}}, chosen(&ProcessOptions::optInverse), "toothinv.grd");
    EXPECT_EQ(inv[1], (std::vector<double>{2, 1, 0.125}));
    EXPECT_EQ(inv[0][2], -0.25);
    EXPECT_TRUE(trelvik::isBlank(inv[0][1]));
}

TEST(MirrorRotate, Version6ReportsAndWritesAndPlotsNothing) {
    for (bool ProcessOptions::*op : {&ProcessOptions::optMirror, &ProcessOptions::optInverse}) {
        ProcRun r(true);
        r.ctx.chkPlotSurfer = true;
        r.add("tooth.grd", fromRows(kTooth));
        EXPECT_EQ(ProcessGrids(r.ctx, chosen(op, &ProcessOptions::optMirrorX)), BatchOutcome::Stopped);
        ASSERT_EQ(r.prompt.shown.size(), 1u);
        EXPECT_EQ(r.prompt.shown[0].text, "This function is not available in Surfer v6.");
        EXPECT_THAT(r.files(), ElementsAre("tooth.grd"));
        EXPECT_TRUE(surfer::instances().empty());
        EXPECT_EQ(r.state.NumFiles, 1);
    }
}
