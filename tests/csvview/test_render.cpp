// Pictures of the CSV viewer: grey views, processed-grid colours, fitting, stretching,
// copies between views, read-outs and the bitmap files.
#include "core/error.h"
#include "csvview/rendergrey.h"
#include "csvview/renderimage.h"
#include "csvview/renderprocessed.h"
#include "csvview/viewgrids.h"
#include "csvview/viewreadout.h"
#include "test_csvhelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

using namespace trelvik::csvview;
namespace fs = std::filesystem;

namespace {

// cols x rows grid on a unit lattice from (1, 1) with z = f(c, r).
LatticeGrid makeGrid(int cols, int rows, const std::function<double(double, double)>& f) {
    return csvtest::makeGrid(cols, rows, 1, 1, 1, f);
}

CurrentGrid makeCurrent(const LatticeGrid& g, double zmin, double zmax) {
    CurrentGrid cg;
    static_cast<LatticeGrid&>(cg) = g;
    cg.nx = g.cols;
    cg.ny = g.rows;
    cg.xstep = cg.ystep = 1;
    cg.zmin = zmin;
    cg.zmax = zmax;
    return cg;
}

int grey(std::uint32_t c) {
    EXPECT_EQ(redOf(c), greenOf(c));
    EXPECT_EQ(greenOf(c), blueOf(c));
    return redOf(c);
}

} // namespace

TEST(RenderFit, PictureSizesOfTheThreeViewKinds) {
    struct Case { int cols, rows, side, w, h; };
    for (const Case& c : {Case{30, 20, 249, 249, 166}, Case{20, 40, 249, 124, 249}, Case{30, 20, 161, 161, 107},
                          Case{20, 40, 161, 80, 161}, Case{24, 12, 313, 313, 156}, Case{12, 24, 313, 156, 313},
                          Case{7, 7, 161, 161, 161}}) {
        PictureSize s = fitPicture(c.cols, c.rows, c.side);
        EXPECT_EQ(s.width, c.w) << c.cols << "x" << c.rows << " in " << c.side;
        EXPECT_EQ(s.height, c.h) << c.cols << "x" << c.rows << " in " << c.side;
    }
}

TEST(RenderFit, StretchLeavesTheMarginOutAndKeepsEachPixelInItsShare) {
    RgbImage src(2 + kPictureMargin, 1 + kPictureMargin, kClearColour);
    src.at(0, 0) = kBlack;
    src.at(1, 0) = rgb(255, 255, 255);
    RgbImage out = stretchPicture(src, 2, 1, 10, 3);
    ASSERT_EQ(out.width, 10);
    ASSERT_EQ(out.height, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 10; ++x) EXPECT_EQ(out.at(x, y), x < 5 ? kBlack : rgb(255, 255, 255)) << x << "," << y;
}

TEST(RenderGrey, CurrentGridHandComputedGreysLowestRowAtBottom) {
    // 3 x 2 grid, heights 0..5 row by row from the bottom; cell (2, 1) empty.
    LatticeGrid g = makeGrid(3, 2, [](double c, double r) { return double((r - 1) * 3 + (c - 1)); });
    g.z(2, 1) = kVoidHeight;
    GreyPicture p = drawCurrentGrid(makeCurrent(g, 0, 5), {});
    ASSERT_TRUE(p.cellsDrawn);
    EXPECT_EQ(p.buffer.width, 7);
    EXPECT_EQ(p.buffer.height, 6);
    // top picture row is grid row 2: heights 3, 4, 5 -> 153, 204, 255
    EXPECT_EQ(grey(p.buffer.at(0, 0)), 153);
    EXPECT_EQ(grey(p.buffer.at(1, 0)), 204);
    EXPECT_EQ(grey(p.buffer.at(2, 0)), 255);
    // bottom row: 0, empty (black), 2 -> 102
    EXPECT_EQ(grey(p.buffer.at(0, 1)), 0);
    EXPECT_EQ(grey(p.buffer.at(1, 1)), 0);
    EXPECT_EQ(grey(p.buffer.at(2, 1)), 102);
    EXPECT_DOUBLE_EQ(p.tables.heightAt(2, 2), 0.0);  // empty cell reads zmin
    EXPECT_DOUBLE_EQ(p.tables.greyAt(1, 1), 153.0);
    EXPECT_EQ(p.buffer.at(4, 3), kClearColour);
}

TEST(RenderGrey, HalvesRoundToEvenAndHeightsBelowTheRangeStayBlack) {
    // 255 * 0.5 = 127.5 -> 128; 255 * 0.3/0.6... use a range of 510 so grey = z / 2.
    LatticeGrid g = makeGrid(4, 1, [](double c, double) { return c == 1 ? 1.0 : c == 2 ? 3.0 : c == 3 ? -0.00005 : 510.0; });
    GreyPicture p = drawCurrentGrid(makeCurrent(g, 0, 510), {});
    EXPECT_EQ(grey(p.buffer.at(0, 0)), 0);    // 0.5 -> 0
    EXPECT_EQ(grey(p.buffer.at(1, 0)), 2);    // 1.5 -> 2
    EXPECT_EQ(grey(p.buffer.at(2, 0)), 0);    // below zmin: limited to 0
    EXPECT_EQ(grey(p.buffer.at(3, 0)), 255);
}

TEST(RenderGrey, ThresholdGreenIncludesEmptyCellsWhenZminIsAtOrBelowIt) {
    LatticeGrid g = makeGrid(3, 1, [](double c, double) { return c == 1 ? -1.0 : c == 2 ? kVoidHeight : 2.0; });
    CurrentViewOptions opts{true, 0.0};
    GreyPicture p = drawCurrentGrid(makeCurrent(g, -1, 2), opts);
    EXPECT_EQ(p.buffer.at(0, 0), rgb(0, 255, 0));
    EXPECT_EQ(p.buffer.at(1, 0), rgb(0, 255, 0));
    EXPECT_EQ(grey(p.buffer.at(2, 0)), 255);
    GreyPicture q = drawCurrentGrid(makeCurrent(g, 0.5, 2), opts);  // zmin above the threshold
    EXPECT_EQ(q.buffer.at(1, 0), kBlack);
}

TEST(RenderGrey, UnequalStepsDrawNothingAndAFlatGridDrawsBlack) {
    LatticeGrid g = makeGrid(2, 2, [](double, double) { return 1.0; });
    CurrentGrid cg = makeCurrent(g, 1, 1);
    cg.xstep = 0.1;
    cg.ystep = 0.2;
    GreyPicture p = drawCurrentGrid(cg, {});
    EXPECT_FALSE(p.cellsDrawn);
    EXPECT_EQ(p.buffer.at(0, 0), kClearColour);
    cg.xstep = 0.1;
    cg.ystep = 0.10005;  // within 0.1 %
    p = drawCurrentGrid(cg, {});
    EXPECT_TRUE(p.cellsDrawn);
    EXPECT_EQ(p.buffer.at(0, 0), kBlack);  // no height range: share 0
}

TEST(RenderProcessed, OrientationSectorBoundaries) {
    struct Case { double v; std::uint32_t colour; };
    const std::uint32_t N = rgb(255, 255, 0), NE = rgb(0, 255, 255), NW = rgb(103, 52, 52), S = rgb(0, 103, 52);
    for (const Case& c : {Case{0, N}, Case{22.5, N}, Case{22.6, NE}, Case{67.5, NE}, Case{180, S}, Case{337.5, NW},
                          Case{337.6, N}, Case{360, N}, Case{-1, rgb(128, 128, 128)}})
        EXPECT_EQ(orientationColour(c.v, 8), c.colour) << c.v;
    EXPECT_EQ(orientationColour(45, 4), rgb(255, 0, 0));
    EXPECT_EQ(orientationColour(45.1, 4), rgb(0, 255, 0));
    EXPECT_EQ(orientationColour(315.1, 4), rgb(255, 0, 0));
    EXPECT_EQ(orientationColour(270, 4), rgb(255, 255, 0));
    EXPECT_EQ(orientationColour(90, 5), kBlack);
}

TEST(RenderProcessed, ModesColourTheCellsOfAKnownGrid) {
    LatticeGrid g = makeGrid(4, 1, [](double c, double) { return std::vector<double>{89.5, 30, 90, kVoidHeight}[std::size_t(c) - 1]; });
    ProcessedRenderInput in;
    in.processed = &g;
    in.slopeResultsReady = true;
    in.procMode = "Angular";
    ProcessedPicture p = renderProcessedGrid(in);
    EXPECT_EQ(p.buffer.at(0, 0), rgb(0, 128, 0));  // 127.5 to even
    EXPECT_EQ(p.buffer.at(1, 0), rgb(0, 0, 0));
    EXPECT_EQ(p.buffer.at(2, 0), rgb(0, 255, 0));
    EXPECT_EQ(p.buffer.at(3, 0), kBlack);
    EXPECT_DOUBLE_EQ(p.lowest, 30);
    EXPECT_DOUBLE_EQ(p.highest, 90);

    // Slope: gradients; highest 1 -> green 255; min slope 10 degrees makes tan(10) red.
    const double tan10 = 0.17632698070846498;  // 10 degrees
    LatticeGrid s = makeGrid(3, 1, [&](double c, double) { return c == 1 ? 1.0 : c == 2 ? tan10 : 0.5; });
    in.processed = &s;
    in.procMode = "Slope";
    in.useMinSlope = true;
    in.minSlope = 10;
    p = renderProcessedGrid(in);
    EXPECT_EQ(p.buffer.at(0, 0), rgb(0, 255, 0));
    EXPECT_EQ(p.buffer.at(1, 0), rgb(210, 0, 0));  // 255 - 45.0
    EXPECT_EQ(p.buffer.at(2, 0), rgb(0, 128, 0));  // 127.5

    // Contour bands 0..3: band k grey (k + 1) * 255 / 4.
    LatticeGrid b = makeGrid(5, 1, [](double c, double) { return c == 5 ? kVoidHeight : double(c - 1); });
    in.processed = &b;
    in.slopeResultsReady = false;
    in.procMode = "Contour";
    p = renderProcessedGrid(in);
    EXPECT_EQ(grey(p.buffer.at(0, 0)), 64);
    EXPECT_EQ(grey(p.buffer.at(1, 0)), 128);
    EXPECT_EQ(grey(p.buffer.at(2, 0)), 191);
    EXPECT_EQ(grey(p.buffer.at(3, 0)), 255);
    EXPECT_EQ(p.buffer.at(4, 0), kBlack);
    // Filter results: plain grey over the range; a flat result draws black, not NaN.
    in.procMode = "LaPlacian";
    p = renderProcessedGrid(in);
    EXPECT_EQ(grey(p.buffer.at(2, 0)), 170);
    LatticeGrid flat = makeGrid(2, 1, [](double, double) { return 3.0; });
    in.processed = &flat;
    p = renderProcessedGrid(in);
    EXPECT_EQ(p.buffer.at(0, 0), kBlack);
}

TEST(RenderProcessed, ShadedReliefTakesTheSlopeAngleFromTheGradient) {
    ShadeSettings direct{315, 45, 5, 1};
    // Flat cell: 255 cos Z = 180.3 -> 180; with the reflected term only 255 cos^5 Z = 45.
    EXPECT_EQ(channel(shadeLevel(0, 0, true, direct)), 180);
    EXPECT_EQ(channel(shadeLevel(0, 0, true, ShadeSettings{})), 45);
    // A 45-degree face (gradient 1) turned toward a light 45 degrees up is lit fully:
    // L = cos(Z - S) = 1. Reading the gradient 1 as one degree would give cos 44 = 0.72.
    EXPECT_NEAR(shadeLevel(1.0, 315, false, direct), 255.0, 1e-9);
    // Turned away, the same face gets cos(Z + S) = cos 90 = 0.
    EXPECT_NEAR(shadeLevel(1.0, 135, false, direct), 0.0, 1e-9);
    // A fractional power of a negative base gives no reflected light instead of NaN.
    ShadeSettings frac{315, 45, 2.5, 0};
    EXPECT_EQ(shadeLevel(1.0, 135, false, frac), 0.0);

    // Whole-grid rule: empty slope cells black, flat cells (orientation empty) lit with A = 0.
    LatticeGrid slope = makeGrid(2, 1, [](double c, double) { return c == 1 ? kVoidHeight : 0.0; });
    LatticeGrid orient = makeGrid(2, 1, [](double, double) { return kVoidHeight; });
    ProcessedRenderInput in;
    in.processed = &orient;
    in.slope = &slope;
    in.orient = &orient;
    in.shadeSlope = &slope;
    in.slopeResultsReady = true;
    in.procMode = "ShadedRelief";
    ProcessedPicture p = renderProcessedGrid(in);
    EXPECT_EQ(p.buffer.at(0, 0), kBlack);
    EXPECT_EQ(grey(p.buffer.at(1, 0)), 45);
}

TEST(RenderProcessed, BitmapNamesFollowTheAnalysisThatDrew) {
    ProcessedImageNaming n;
    n.stem = "/d/tooth";
    n.slopeRunning = true;
    n.saveSlopeImage = true;
    n.slopeChosen = true;
    n.slopeNoCatText = "9";
    n.useMinSlope = true;
    n.minSlopeText = "10";
    EXPECT_EQ(processedImageName(n).value_or(""), "/d/tooth-sl9_10.bmp");
    n.slopeChosen = false;
    n.aspectChosen = true;
    n.aspectNoCatText = "5";
    n.useMinSlope = false;
    EXPECT_EQ(processedImageName(n).value_or(""), "/d/tooth-asp5.bmp");
    n.aspectChosen = false;  // angularity / shaded relief
    EXPECT_FALSE(processedImageName(n).has_value());
    n.slopeRunning = false;
    n.contourRun = true;
    n.saveContourImage = true;
    n.contourByRange = true;
    n.contourRangeText = "10";
    EXPECT_EQ(processedImageName(n).value_or(""), "/d/tooth-cor10.bmp");
    n.saveContourImage = false;
    EXPECT_FALSE(processedImageName(n).has_value());
}

TEST(RenderBitmap, WrittenFileHoldsThePixelsBottomUpAndFailuresKeepTheOldFile) {
    csvtest::TempDir tmp;
    const fs::path dir = tmp.dir;
    RgbImage img(3, 2, kBlack);
    img.at(0, 0) = rgb(10, 20, 30);
    img.at(2, 1) = rgb(200, 100, 50);
    const std::string path = (dir / "a.bmp").string();
    writeBitmap(img, path);
    std::ifstream f(path, std::ios::binary);
    std::string b((std::istreambuf_iterator<char>(f)), {});
    ASSERT_EQ(b.size(), 54u + 2 * 12);  // rows of 9 bytes padded to 12
    EXPECT_EQ(b.substr(0, 2), "BM");
    auto u8 = [&](std::size_t i) { return static_cast<unsigned char>(b[i]); };
    EXPECT_EQ(u8(18), 3);
    EXPECT_EQ(u8(22), 2);
    EXPECT_EQ(u8(28), 24);
    // first stored row is the bottom one: pixel (2, 1) at bytes 54 + 6..8 as B, G, R
    EXPECT_EQ(u8(60), 50);
    EXPECT_EQ(u8(61), 100);
    EXPECT_EQ(u8(62), 200);
    // second stored row is the top: pixel (0, 0)
    EXPECT_EQ(u8(66), 30);
    EXPECT_EQ(u8(67), 20);
    EXPECT_EQ(u8(68), 10);
    EXPECT_THROW(writeBitmap(img, (dir / "missing" / "b.bmp").string()), trelvik::Error);
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

TEST(ViewerViews, CopyOfTheCurrentGridEmptiesProcessedAndResultViews) {
    ViewerViews v;
    LatticeGrid g = makeGrid(30, 20, [](double c, double r) { return c + r; });
    CurrentGrid cg = makeCurrent(g, 2, 50);
    EXPECT_FALSE(v.copyCurrentToWorking(CurrentGrid{}));  // nothing read yet
    ASSERT_TRUE(v.copyCurrentToWorking(cg));
    EXPECT_EQ(v.workingView.boxWidth(), 253);  // 249 x 166 plus the frame
    EXPECT_EQ(v.workingView.boxHeight(), 170);
    // fill a result view and the processed grid, then read again
    v.setProcessed(g);
    ASSERT_TRUE(v.copyBox(kBoxProcessed, 1));
    EXPECT_EQ(v.resultViews[0].boxHeight(), 111);
    ASSERT_TRUE(v.copyCurrentToWorking(cg));
    EXPECT_TRUE(v.processed.empty());
    for (const auto& r : v.resultViews) {
        EXPECT_EQ(r.boxHeight(), 165);
        EXPECT_FALSE(r.drawn);
    }
    EXPECT_EQ(v.labelLayers.size(), 10u);
    EXPECT_EQ(v.labelLayers[6].cols, 30);
}

TEST(ViewerViews, CopyRulesBetweenBoxes) {
    ViewerViews v;
    LatticeGrid g = makeGrid(4, 4, [](double c, double) { return double(c); });
    ASSERT_TRUE(v.copyCurrentToWorking(makeCurrent(g, 1, 4)));
    // processed not written yet, empty result view, into "P", onto itself, past the views
    for (auto [from, to] : {std::pair{kBoxProcessed, kBoxWorking}, {1, 2}, {kBoxWorking, kBoxProcessed}, {2, 2},
                            {kBoxWorking, 7}})
        EXPECT_FALSE(v.copyBox(from, to)) << from << "->" << to;
    ASSERT_TRUE(v.copyBox(kBoxWorking, 1));
    EXPECT_EQ(v.results[0].cols, 4);
    // view 1 shows a rescaled copy of the working picture: columns of grey 0, 85, 170, 255
    EXPECT_EQ(v.resultViews[0].image.width, 161);
    EXPECT_EQ(v.resultViews[0].image.at(0, 0), kBlack);
    EXPECT_EQ(v.resultViews[0].image.at(60, 100), rgb(85, 85, 85));
    EXPECT_EQ(v.resultViews[0].image.at(160, 160), rgb(255, 255, 255));
    ASSERT_TRUE(v.copyBox(1, 2));
    EXPECT_EQ(v.resultViews[1].image.pixels, v.resultViews[0].image.pixels);
    // processed into the working grid replaces only the working grid
    LatticeGrid p = makeGrid(4, 4, [](double, double r) { return double(10 * r); });
    v.setProcessed(p);
    v.drawProcessed(ProcessedRenderInput{});
    ASSERT_TRUE(v.copyBox(kBoxProcessed, kBoxWorking));
    EXPECT_DOUBLE_EQ(v.working.z(1, 4), 40);
    EXPECT_DOUBLE_EQ(v.working.zmin, 10);
    EXPECT_DOUBLE_EQ(v.working.zmax, 40);
    EXPECT_EQ(v.results[0].z(4, 1), 4);  // result view untouched
    for (auto [name, box] : {std::pair{"W", -1}, {"P", 0}, {"3", 3}, {"x", 0}})
        EXPECT_EQ(ViewerViews::boxNumber(name), box) << name;
}

TEST(ViewerViews, LabelLayerGreyScaleIgnoresEmptyCells) {
    ViewerViews v;
    LatticeGrid g = makeGrid(3, 1, [](double, double) { return 0.0; });
    ASSERT_TRUE(v.copyCurrentToWorking(makeCurrent(g, 0, 0)));
    v.labelLayers[0] = makeGrid(3, 1, [](double c, double) { return c == 1 ? kVoidHeight : double(c); });
    v.showLabelLayer(1, 1);
    EXPECT_DOUBLE_EQ(v.results[0].zmin, 2);
    EXPECT_DOUBLE_EQ(v.results[0].zmax, 3);
    EXPECT_EQ(v.buffer.at(0, 0), kBlack);
    EXPECT_EQ(v.buffer.at(1, 0), kBlack);
    EXPECT_EQ(v.buffer.at(2, 0), rgb(255, 255, 255));
    v.labelLayers[1] = makeGrid(3, 1, [](double, double) { return kVoidHeight; });
    v.showLabelLayer(2, 2);
    for (int x = 0; x < 3; ++x) EXPECT_EQ(v.buffer.at(x, 0), kBlack);
}

TEST(ViewReadout, PointerMapsToCellsWithTheTopLeftAtTheHighestRow) {
    PictureSize pic{313, 156};  // a 24 x 12 grid
    CellUnderPointer c = cellUnderPointer(0, 0, pic, 24, 12);
    EXPECT_EQ(c.column, 1);
    EXPECT_EQ(c.gridRow, 12);
    c = cellUnderPointer(315, 158, pic, 24, 12);  // in the margin
    EXPECT_EQ(c.column, 24);
    EXPECT_EQ(c.gridRow, 1);
    // 313 / 24 = 13.04 pixels per column: X = 12 is still column 1, X = 13 column 2
    EXPECT_EQ(cellUnderPointer(11, 0, pic, 24, 12).column, 1);
    EXPECT_EQ(cellUnderPointer(12, 0, pic, 24, 12).column, 1);
    EXPECT_EQ(cellUnderPointer(13, 0, pic, 24, 12).column, 2);

    LatticeGrid g = makeGrid(2, 1, [](double c, double) { return c == 1 ? 1.23456 : kVoidHeight; });
    g.at(1, 1).x = 0.12345;
    ReadoutTexts t = readoutTexts(g, {1, 1, 1}, 127.5);
    EXPECT_EQ(t.level, "128");
    EXPECT_EQ(t.x, "0.123");
    EXPECT_EQ(t.z, "1.235");
    t = readoutTexts(g, {2, 1, 1}, 0);
    EXPECT_EQ(t.level, "-");
    EXPECT_EQ(t.z, "-");
    EXPECT_EQ(t.x, "2");
}
