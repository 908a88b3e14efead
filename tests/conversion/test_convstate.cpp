// The window's shared rules in plain code: default settings, name tags, the From/To
// vocabulary, re-pointing entries, the cleaning names and the plot layout.
#include "conversion/cleaning.h"

#include "core/commit/commit.h"
#include "conversion/plotconverted.h"
#include "convtest.h"
#include "formats/pointtext.h"
#include "surfer/plotmodel.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace convtest;

TEST(ConvSettings, DefaultSettingsFromTheXInterval) {
    struct Row {
        const char* xint;
        const char* radius;
        const char* bin;
        const char* blnBin;
        const char* thresh;
    };
    const Row rows[] = {{"0.030", "0.018", "0.03", "0.045", "0.072"},
                        {"2", "1.2", "2", "3", "4.8"},
                        {"0.05", "0.03", "0.05", "0.075", "0.12"}};
    for (const Row& r : rows) {
        ConvOptions o;
        o.txtXInt = r.xint;
        ApplyDefaultSettings(o);
        EXPECT_EQ(o.txtSearchRadius, r.radius) << r.xint;
        EXPECT_EQ(o.txtBinSize, r.bin) << r.xint;
        EXPECT_EQ(o.txtBlnBinSize, r.blnBin) << r.xint;
        EXPECT_EQ(o.txtThresh, r.thresh) << r.xint;
        EXPECT_EQ(o.txtYInt, r.xint);
    }
    const std::pair<double, const char*> tags[] = {{0.005, "05"}, {0.018, "18"},    {0.05, "50"},     {0.25, "250"},
                                                   {0.9, "900"},  {1.5, "1.500"}, {12, "12.000"}};
    for (const auto& [v, tag] : tags) EXPECT_EQ(UndercutTag(v), tag) << v;
}

TEST(ConvSettings, FromToVocabularyAndDispatch) {
    ASSERT_EQ(FromItems().size(), 11u);
    EXPECT_EQ(FromTypeOf("CSV file (*.csv,*.dat)")->pattern, "*.csv;*.dat");
    EXPECT_EQ(FromTypeOf("Surfer grid file (*.grd)")->toItems.size(), 7u);
    EXPECT_TRUE(FromTypeOf("VRML file (*.wrl)")->toItems.empty());
    EXPECT_TRUE(FromTypeOf("Alicona text file (in grid) (*.txt)")->presetsInGrid);
    EXPECT_FALSE(FromTypeOf("nothing"));
    int pairs = 0;
    for (const auto& from : FromItems()) {
        const auto type = FromTypeOf(from);
        for (const auto& to : type->toItems) {
            EXPECT_TRUE(ConverterFor(from, to)) << from << " -> " << to;
            ++pairs;
        }
    }
    EXPECT_EQ(pairs, 18);
    const auto stl = ConverterFor("STL surface file (*.stl)", "Surfer grid file (*.grd)");
    EXPECT_EQ(stl->name, "ConvertTXT_GRD");
    EXPECT_EQ(stl->convMode, "STL");
    EXPECT_EQ(ConverterFor("Surfer grid file (*.grd)", "VRML file Polygons (*.wrl)")->name, "ConvertGRD_WRL");
}

TEST(ConvSettings, RepointingAndNamesWithoutADot) {
    ConvRun run;
    run.add("scan");
    run.add("tooth.stl");
    const ConvState& s = run.state;
    EXPECT_EQ(s.FileBase[0], "scan");
    EXPECT_EQ(s.FileExt[0], "");
    RepointEntry(run.state, 2, s.FileDir[1] + "toothvt.txt");
    EXPECT_EQ(s.FileBase[1], "toothvt");
    EXPECT_EQ(s.FileFullName[1], run.dir.path("toothvt.txt"));
    EXPECT_EQ(s.FileStem[1], run.dir.path("toothvt"));
}

TEST(ConvCleaning, NamesAndFilesOfBothRules) {
    ConvRun run;
    run.dir.write("m1.txt", xyzText({{0, 0, 1}, {0, 0, 0.5}, {1, 1, 1}}));
    run.add("m1.txt");
    run.state.FileIndex = 1;
    run.opt.chkDefaultSet = false;
    run.opt.txtSearchRadius = "0.02";
    run.opt.txtBinSize = "0.03";
    run.opt.txtThresh = "0.05";
    auto c = run.ctx();
    const PointList pts = formats::readPointText(run.dir.path("m1.txt"));
    auto removeUndercuts = [&] {
        UndercutStep step = FindUndercuts(c, pts);
        StagedFiles staged;
        WriteUndercuts(step, staged);
        staged.commit();
        return step.res.kept;
    };
    PointList kept = removeUndercuts();
    EXPECT_EQ(kept.size(), 2u);
    EXPECT_EQ(run.state.FileOutName[0], run.dir.path("m1-uct50_20.txt"));
    EXPECT_EQ(formats::readPointText(run.dir.path("m1-uct50_20_rej.txt")).size(), 1u);
    run.opt.optThresh = false;
    run.opt.chkWriteRej = false;
    run.opt.chkMould = true;
    kept = removeUndercuts();
    EXPECT_EQ(run.state.FileOutName[0], run.dir.path("m1-ucp900_20m.txt"));
    EXPECT_FALSE(std::filesystem::exists(run.dir.path("m1-ucp900_20m_rej.txt")));
    EXPECT_EQ(run.state.FileRejName[0], run.dir.path("m1-ucp900_20m_rej.txt"));
    run.opt.txtSearchRadius = "0";
    EXPECT_THROW(removeUndercuts(), Error);
}

namespace {
std::string saveCrownGrid(ConvRun& run) {
    Grid g(5, 3, 0, 4, 0, 2, 1.0);
    const std::string path = run.dir.path("tooth3.grd");
    formats::writeSurferGrid(path, g, formats::SurferGridFormat::Binary7);
    return path;
}
} // namespace

TEST(ConvPlot, Version8RowsOfEightWithLabels) {
    ConvRun run;
    const std::string grid = saveCrownGrid(run);
    auto c = run.ctx();
    PrepareSurfer(c);
    for (int n = 1; n <= 9; ++n) {
        run.state.FileIndex = n;
        PlotSurfer(c, grid, n == 9 ? 4 : 1);
    }
    const auto plot = surfer::asPlot(run.state.m_Surfer->ActiveDocument());
    const auto maps = plot->Shapes.maps();
    ASSERT_EQ(maps.size(), 9u);
    EXPECT_DOUBLE_EQ(maps[7]->Left, maps[0]->Left + 126);
    EXPECT_DOUBLE_EQ(maps[7]->Top, maps[0]->Top);
    EXPECT_DOUBLE_EQ(maps[8]->Left, maps[0]->Left);
    EXPECT_DOUBLE_EQ(maps[8]->Top, maps[0]->Top - 18);
    EXPECT_EQ(maps[8]->mapKind(), surfer::MapKind::Surface);
    int labels = 0;
    for (const auto& s : plot->Shapes.all()) labels += s->kind() == surfer::ShapeKind::Text;
    EXPECT_EQ(labels, 9);
    run.opt.chkLabelSurfer = false;
    run.state.FileIndex = 10;
    PlotSurfer(c, grid, 2);
    labels = 0;
    for (const auto& s : plot->Shapes.all()) labels += s->kind() == surfer::ShapeKind::Text;
    EXPECT_EQ(labels, 9);
}

TEST(ConvPlot, Version6AlwaysALabelledReliefInRowsOfTen) {
    ConvRun run(true);
    const std::string grid = saveCrownGrid(run);
    auto c = run.ctx();
    PrepareSurfer(c);
    run.opt.chkLabelSurfer = false;
    for (int n : {1, 11}) {
        run.state.FileIndex = n;
        PlotSurfer(c, grid, 3);
    }
    std::vector<std::string> moves;
    for (const auto& l : run.state.m_Surfer->callLog())
        if (l.rfind("TransformSel", 0) == 0) moves.push_back(l);
    EXPECT_EQ(moves, (std::vector<std::string>{"TransformSel(4, 2.25)", "TransformSel(4, 0)", "TransformSel(4, 2.25)",
                                               "TransformSel(4, -7)"}));
}
