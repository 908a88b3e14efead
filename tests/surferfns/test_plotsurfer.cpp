// PlotSurfer in both call forms: layout slots, view options, presets and bad options.
#include "surferfns/plotsurfer.h"
#include "procrun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace surffnstest;
using ::testing::HasSubstr;

namespace {
// Plotting called directly, as the plane-fit and rake-angle windows do, with no
// instance connected yet.
struct Fixture : ProcRun {
    std::string grid = saveGrid(dir.path("tooth3.grd"),
                                makeGrid(5, 3, 0, 4, 0, 2, [](double x, double y) { return 0.5 * x + y; }));
    explicit Fixture(bool v6 = false) : ProcRun(v6) { app.SurferVersion = v6 ? "SurferV6" : "SurferV8"; }
    std::shared_ptr<surfer::PlotDocument> plot() { return surfer::asPlot(app.SurferApp->ActiveDocument()); }
    std::shared_ptr<surfer::MapFrame> plotOne(int type) {
        PlotSurfer(ctx, grid, type);
        return plot()->Shapes.maps().back();
    }
};

std::vector<std::shared_ptr<surfer::TextShape>> texts(const surfer::PlotDocument& p) {
    std::vector<std::shared_ptr<surfer::TextShape>> out;
    for (const auto& s : p.Shapes.all())
        if (s->kind() == surfer::ShapeKind::Text) out.push_back(std::static_pointer_cast<surfer::TextShape>(s));
    return out;
}
} // namespace

TEST(PlotSurferV8, ThirteenGridsFillRowsOfSixWithLabelsAboveTheirFrames) {
    Fixture f;
    for (int k = 1; k <= 13; ++k) {
        f.state.FileIndex = k;
        PlotSurfer(f.ctx, f.grid, 1);
    }
    const auto maps = f.plot()->Shapes.maps();
    ASSERT_EQ(maps.size(), 13u);
    const double left0 = maps[0]->Left, top0 = maps[0]->Top;
    for (int k = 1; k <= 13; ++k) {
        const auto& m = maps[static_cast<std::size_t>(k - 1)];
        EXPECT_DOUBLE_EQ(m->Left, left0 + 18.0 * ((k - 1) % 6)) << k;
        EXPECT_DOUBLE_EQ(m->Top, top0 - 18.0 * ((k - 1) / 6)) << k;
    }
    // Each label stands above its own frame, clear of the axis, no wider than the frame.
    const auto labels = texts(*f.plot());
    ASSERT_EQ(labels.size(), 13u);
    for (std::size_t k = 0; k < 13; ++k) {
        EXPECT_EQ(labels[k]->Text, "tooth3.grd");
        EXPECT_NEAR(labels[k]->X, maps[k]->Left, 1e-9);
        EXPECT_NEAR(labels[k]->Y, maps[k]->Top + kLabelGapAxes, 1e-9);
        EXPECT_EQ(labels[k]->Font.VAlign, 4);  // standing on its anchor, outside the frame
        EXPECT_LE(0.6 * labels[k]->Font.Size / 72 * 10, maps[k]->XLength);
    }
    // The size follows the frame and shrinks for a long name.
    EXPECT_DOUBLE_EQ(LabelPointSize(6, "a.grd"), 15);
    EXPECT_DOUBLE_EQ(LabelPointSize(3, "a.grd"), 7.5);
    EXPECT_NEAR(LabelPointSize(2, std::string(60, 'x')), 2 * 72 / (0.6 * 60), 1e-12);
    EXPECT_EQ(f.state.FileIndex, 13);  // the caller's loop advances it, not PlotSurfer
}

TEST(PlotSurferV8, EmptyFileIndexTakesTheFirstSlotAndAStartedInstanceGetsAPlot) {
    Fixture f;
    f.ctx.plot.txtNoInPlotRow = "2.5";  // rounds to 2 (halves to even)
    auto first = f.plotOne(1);
    EXPECT_EQ(f.state.FileIndex, 1);
    f.state.FileIndex = 3;
    auto third = f.plotOne(1);
    EXPECT_DOUBLE_EQ(third->Left, first->Left);
    EXPECT_DOUBLE_EQ(third->Top, first->Top - 18);
}

TEST(PlotSurferV8, MapTypesAxesScaleBarColourScaleAndTheAbovePreset) {
    Fixture f;
    f.ctx.plot.chkShowAxes = false;
    f.ctx.plot.chkScaleBar = true;
    f.ctx.plot.chkLabelSurfer = false;
    auto relief = f.plotOne(1);
    EXPECT_EQ(relief->mapKind(), surfer::MapKind::Relief);
    EXPECT_DOUBLE_EQ(relief->Overlays(1).HLightAngle, 135);
    EXPECT_DOUBLE_EQ(relief->Overlays(1).VLightAngle, 45);
    for (int k = 1; k <= 4; ++k) EXPECT_FALSE(relief->Axes(k).ShowLabels);
    ASSERT_EQ(relief->ScaleBars.Count(), 1);
    EXPECT_EQ(relief->ScaleBars.Item(1)->NumCycles, 8);
    auto surface = f.plotOne(4);
    ASSERT_EQ(surface->axisCount(), 5);
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(surface->Axes(k).AxisLine.Style, "Invisible");
    EXPECT_DOUBLE_EQ(surface->zMapPerPU, surface->xMapPerPU());
    EXPECT_EQ(f.plotOne(2)->Overlays(1).ShowColorScale, true);
    EXPECT_EQ(f.plotOne(3)->mapKind(), surfer::MapKind::Image);
    EXPECT_TRUE(texts(*f.plot()).empty());

    // "Above": lit and viewed from overhead, without perspective.
    ApplyPreset(f.ctx.plot, kPresetAbove);
    auto s = f.plotOne(4);
    EXPECT_DOUBLE_EQ(s->LightAzimuth, 0);
    EXPECT_DOUBLE_EQ(s->LightZenith, 90);
    EXPECT_EQ(s->ViewProjection, 2);
    EXPECT_DOUBLE_EQ(s->ViewRotation, 0);
    EXPECT_DOUBLE_EQ(s->ViewTilt, 90);
}

TEST(PlotSurferV8, RowLengthBelowOneOrNotANumberIsRefusedBeforeDrawing) {
    for (const char* bad : {"0", "abc", "-3", "0.4"}) {
        Fixture f;
        f.ctx.plot.txtNoInPlotRow = bad;
        try {
            PlotSurfer(f.ctx, f.grid, 1);
            ADD_FAILURE() << bad;
        } catch (const Error& e) {
            EXPECT_THAT(e.what(), HasSubstr("No. in row")) << bad;
        }
        if (f.app.SurferApp) EXPECT_TRUE(f.app.SurferApp->openDocuments().empty()) << bad;
    }
}

TEST(PlotSurferV8, AnUnreadableGridIsAnErrorNamingIt) {
    Fixture f;
    f.ctx.plot.chkLabelSurfer = true;
    try {
        PlotSurfer(f.ctx, f.dir.path("missing.grd"), 1);
        FAIL();
    } catch (const Error& e) {
        EXPECT_THAT(e.what(), HasSubstr("missing.grd"));
    }
    EXPECT_TRUE(f.plot()->Shapes.all().empty());
}

TEST(PlotSurferV6, RowsOfTenThroughThePositionalCallsAndConnectsWhenNeeded) {
    Fixture f(true);
    ASSERT_FALSE(f.app.SurferApp);  // nothing in the run has connected yet
    f.state.FileIndex = 10;
    f.ctx.plot.txtNoInPlotRow = "0";  // version 6 does not use it
    PlotSurfer(f.ctx, f.grid, 4);     // always a relief map
    ASSERT_TRUE(f.app.SurferApp);
    EXPECT_EQ(f.app.SurferApp->version(), 6);
    f.state.FileIndex = 11;
    PlotSurfer(f.ctx, f.grid, 1);
    std::vector<std::string> log;  // this program's calls, without the plot model's own steps
    for (const auto& l : f.app.SurferApp->callLog())
        if (l.rfind("Shapes.", 0) != 0) log.push_back(l);
    const std::string g = "\"" + f.grid + "\"";
    const std::vector<std::string> expected = {
        "ReliefMap(" + g + ", , , , , , , , \"tooth3.grd\")",
        "DrawText(4, 6, \"tooth3.grd\", \"tooth3.grdtxt\")",
        "Select(\"tooth3.grdtxt\")",
        "TransformSel(4, 2.25)",
        "Select(\"tooth3.grd\", \"tooth3.grdtxt\")",
        "TransformSel(40, 0)",
        "Deselect()",
    };
    ASSERT_GE(log.size(), 14u);
    for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(log[k], expected[k]);
    EXPECT_EQ(log[12], "TransformSel(4, -7)");
    const auto maps = f.plot()->Shapes.maps();
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[0]->mapKind(), surfer::MapKind::Relief);
}
