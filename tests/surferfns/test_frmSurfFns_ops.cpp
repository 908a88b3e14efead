// The operation buttons of "Surfer Functions" run end to end through the window: the
// controls are read, the grids written beside the inputs are right, the outputs are
// plotted and the file count shown follows the list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>
#include <filesystem>

#include "shell/frmStartup.h"
#include "surfer/documents.h"
#include "surferfns/frmSurfFns.h"
#include "test_regridsupport.h"
#include "widgets/dirlistbox.h"
#include "widgets/filelistbox.h"

using namespace surffnstest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {
void ensureApp() {
    static int argc = 1;
    static char name[] = "test_surferfns";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
}

double plane(double x, double y) { return 2 * x + 3 * y; }

class SurfFnsOps : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApp();
        surfer::shutdownAll();
        state.ProgramDir = dir.folder();
        state.DefaultDir = dir.folder();
        main = std::make_unique<frmStartup>(state, prompt);
        main->setWindowFactory("frmSurfFns", [this] { return new frmSurfFns(state, prompt); });
    }
    void TearDown() override {
        main.reset();
        QApplication::processEvents();
        surfer::shutdownAll();
    }
    void useV6() {
        state.mnuSurf6Checked = true;
        state.mnuSurf8Checked = false;
    }
    frmSurfFns* open() {
        main->mnuSurfFns->trigger();
        auto* w = qobject_cast<frmSurfFns*>(main->windows().find("frmSurfFns"));
        if (w) w->Dir2->setPath(QString::fromStdString(dir.folder()));
        return w;
    }
    // Selects each file in the file list and adds it, as a user clicking would.
    void add(frmSurfFns* w, std::initializer_list<const char*> files) {
        w->File2->refresh();
        for (const char* f : files) {
            ASSERT_TRUE(w->File2->selectFile(f)) << f;
            w->File2_Click();
            w->cmdAddFilename->click();
        }
    }
    std::vector<std::string> plotted() const {
        std::vector<std::string> out;
        if (!state.SurferApp || state.SurferApp->openDocuments().empty()) return out;
        for (const auto& m : surfer::asPlot(state.SurferApp->ActiveDocument())->Shapes.maps())
            out.push_back(m->gridPath());
        return out;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> t;
        for (const auto& m : prompt.shown) t.push_back(m.text);
        return t;
    }
    Grid grid(const std::string& name) const { return formats::readSurferGrid(dir.path(name)); }

    TempFolder dir;
    AppState state;
    ScriptedPrompt prompt;
    std::unique_ptr<frmStartup> main;
};
} // namespace

TEST_F(SurfFnsOps, EveryOperationFrameAndButtonIsInUse) {
    frmSurfFns* w = open();
    ASSERT_NE(w, nullptr);
    for (QGroupBox* f : {w->fraBlank, w->fraExtract, w->fraCalculate, w->fraRegrid, w->fraRezero, w->fraSmooth,
                         w->fraProcess, w->fraCompare})
        EXPECT_TRUE(f->isEnabled()) << f->title().toStdString();
    for (QPushButton* b : {w->cmdBlank, w->cmdExtract, w->cmdFixResolution, w->cmdSAVol, w->cmdRegridExactResol,
                           w->cmdReZero, w->cmdSmooth, w->cmdProcess, w->cmdCompareGrids})
        EXPECT_TRUE(b->isEnabled()) << b->text().toStdString();
    EXPECT_EQ(w->cmbPDFilter->itemText(13), "High pass 3 (3x3)");
    EXPECT_EQ(w->cmbPDFilter->itemData(13).toInt(), 16);
    EXPECT_EQ(w->cmbProcess->count(), 2);
}

TEST_F(SurfFnsOps, ExtractCutsTheDigitisedRectangleAndKeepsEverySecondNode) {
    saveGrid(dir.path("t1.grd"), makeGrid(11, 11, 0, 10, 0, 10, plane));
    frmSurfFns* w = open();
    add(w, {"t1.grd"});
    w->chkRedArea->setChecked(true);
    w->optRedAreaDig->setChecked(true);
    w->chkRedRow->setChecked(true);
    // Corners (2.5, 3.5) and (7.5, 8.5): columns 4..8 and rows 5..9, i.e. x 3..7, y 4..8.
    prompt.respond([this](const ScriptedPrompt::Shown& s) {
        EXPECT_EQ(s.title, "Digitise map");
        EXPECT_THAT(s.text, HasSubstr("t1 to keep."));
        writeFileAtomic(dir.path("digit.dat"), "2.5,3.5\r\n7.5,8.5\r\n");
        return Answer::Ok;
    });
    w->cmdExtract->click();
    EXPECT_EQ(prompt.shown.size(), 1u) << prompt.shown.back().text;
    const Grid e = grid("t1edrf2.grd");
    EXPECT_EQ(e.cols, 3);
    EXPECT_EQ(e.rows, 3);
    EXPECT_DOUBLE_EQ(e.xMin, 3);
    EXPECT_DOUBLE_EQ(e.yMax, 8);
    EXPECT_NEAR(e.at(1, 2), plane(5, 8), 1e-9);
    EXPECT_EQ(dir.read("t1extpts.dat"), "2.5,3.5\r\n7.5,8.5\r\n");
    EXPECT_THAT(plotted(), ElementsAre(dir.path("t1edrf2.grd")));
    EXPECT_EQ(w->txtNoFiles->text(), "0");
    EXPECT_FALSE(prompt.busyNow);
}

TEST_F(SurfFnsOps, ExtractCancelledAtTheDigitisePromptKeepsTheList) {
    saveGrid(dir.path("t1.grd"), makeGrid(11, 11, 0, 10, 0, 10, plane));
    frmSurfFns* w = open();
    add(w, {"t1.grd"});
    w->chkRedArea->setChecked(true);
    w->optRedAreaDig->setChecked(true);
    prompt.answer(Answer::Cancel);
    w->cmdExtract->click();
    EXPECT_FALSE(std::filesystem::exists(dir.path("t1ed.grd")));
    EXPECT_EQ(w->txtNoFiles->text(), "1");
    EXPECT_FALSE(prompt.busyNow);
}

TEST_F(SurfFnsOps, FixResolutionRoundsTheLatticeAndKeepsTheListWhenAsked) {
    // Origin 0.0004 and spacing 1.0002 round to 0 and 1.
    saveGrid(dir.path("f1.grd"), makeGrid(6, 5, 0.0004, 5.0014, 0.0004, 4.0012, plane));
    frmSurfFns* w = open();
    add(w, {"f1.grd"});
    w->chkClearFilenames->setChecked(false);
    w->chkPlotSurfer->setChecked(false);  // this operation plots all the same
    w->cmdFixResolution->click();
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front().text;
    const Grid f = grid("f1fixres.grd");
    EXPECT_EQ(f.cols, 6);
    EXPECT_EQ(f.rows, 5);
    EXPECT_DOUBLE_EQ(f.xMin, 0);
    EXPECT_DOUBLE_EQ(f.xMax, 5);
    EXPECT_DOUBLE_EQ(f.yMax, 4);
    EXPECT_NEAR(f.at(2, 2), plane(2, 2), 0.05);
    EXPECT_THAT(plotted(), ElementsAre(dir.path("f1fixres.grd")));
    EXPECT_EQ(w->txtNoFiles->text(), "1");
}

TEST_F(SurfFnsOps, SAVolTabulatesEveryGridAndPlotsNothing) {
    // A level at +1 and one at -1 over 2 x 1.5: planar and surface area 3 above or below.
    saveGrid(dir.path("a.grd"), makeGrid(5, 4, 0, 2, 0, 1.5, [](double, double) { return 1.0; }));
    saveGrid(dir.path("b.grd"), makeGrid(5, 4, 0, 2, 0, 1.5, [](double, double) { return -1.0; }));
    frmSurfFns* w = open();
    add(w, {"a.grd", "b.grd"});
    EXPECT_EQ(w->txtNoFiles->text(), "2");
    w->cmdSAVol->click();
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front().text;
    EXPECT_EQ(dir.read("00SAallresults.csv"),
              "\"File\",\"Positive_Planar_Area_[Cut]\",\"Negative_Planar_Area_[Fill]\","
              "\"Positive_Surface_Area_[Cut]\",\"Negative_Surface_Area_[Fill]\",\"Blanked_Planar_Area\"\r\n"
              "\"a\",3,0,3,0,0\r\n\"b\",0,3,0,3,0\r\n");
    EXPECT_TRUE(plotted().empty());
    EXPECT_EQ(w->txtNoFiles->text(), "0");
}

TEST_F(SurfFnsOps, RegridWritesItsFoldersAndPlotsTerrainAsAnImage) {
    saveGrid(dir.path("t1b.grd"), makeGrid(9, 6, 0, 8, 0, 5, plane));
    writeFileAtomic(dir.path("t1blnpts.bln"), "5,0\r\n1,1\r\n7,1\r\n7,4\r\n1,4\r\n1,1\r\n");
    frmSurfFns* w = open();
    add(w, {"t1b.grd"});
    w->txtExactNoRC->setText("9");
    w->optTerrain->setChecked(true);  // read from the "Process grid" frame
    w->cmdRegridExactResol->click();
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front().text;
    const Grid b = grid("9b_grd/t1b9b.grd");
    EXPECT_TRUE(b.blank(0, 0));
    EXPECT_NEAR(b.at(4, 2), plane(4, 2), 1e-6);
    EXPECT_TRUE(std::filesystem::exists(dir.path("9_grd/t1b9.grd")));
    EXPECT_TRUE(std::filesystem::exists(dir.path("9b_dat/t1b9b.dat")));
    const auto maps = surfer::asPlot(state.SurferApp->ActiveDocument())->Shapes.maps();
    ASSERT_EQ(maps.size(), 1u);
    EXPECT_EQ(maps[0]->gridPath(), dir.path("9b_grd/t1b9b.grd"));
    EXPECT_EQ(maps[0]->mapKind(), surfer::MapKind::Image);
    EXPECT_EQ(w->txtNoFiles->text(), "0");
    // The hourglass was up during the batch and is gone; the list takes a grid again.
    EXPECT_GT(prompt.busyChanges, 0);
    EXPECT_FALSE(prompt.busyNow);
    add(w, {"t1b.grd"});
    EXPECT_EQ(w->txtNoFiles->text(), "1");
}

TEST_F(SurfFnsOps, RegridRefusesAnExactNumberBelowTwo) {
    saveGrid(dir.path("t1b.grd"), makeGrid(9, 6, 0, 8, 0, 5, plane));
    frmSurfFns* w = open();
    add(w, {"t1b.grd"});
    w->txtExactNoRC->setText("1");
    w->cmdRegridExactResol->click();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(dir.path("1_grd")));
    EXPECT_EQ(w->txtNoFiles->text(), "1");
    EXPECT_FALSE(prompt.busyNow);
}

TEST_F(SurfFnsOps, RezeroMovesTheLeastCornerAndHeightToZero) {
    saveGrid(dir.path("r1.grd"), makeGrid(5, 4, 3, 5, 2, 3.5, [](double x, double y) { return x + y + 10; }));
    frmSurfFns* w = open();
    add(w, {"r1.grd"});
    w->cmdReZero->click();
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front().text;
    const Grid r = grid("r1rz.grd");
    EXPECT_DOUBLE_EQ(r.xMin, 0);
    EXPECT_DOUBLE_EQ(r.yMin, 0);
    EXPECT_NEAR(r.at(0, 0), 0, 1e-9);
    EXPECT_NEAR(r.at(4, 3), 3.5, 1e-9);
    EXPECT_FALSE(std::filesystem::exists(dir.path("tempgrid.grd")));
    EXPECT_THAT(plotted(), ElementsAre(dir.path("r1rz.grd")));
    EXPECT_EQ(w->txtNoFiles->text(), "0");
}

TEST_F(SurfFnsOps, CurvatureBoxLoadsItsFilterSettingsBothWays) {
    frmSurfFns* w = open();
    w->chkCurvature->click();
    EXPECT_EQ(w->txtFilterSize->text(), "9");
    EXPECT_EQ(w->txtWeight->text(), "4");
    EXPECT_EQ(w->txtNoTimes->text(), "3");
    EXPECT_TRUE(w->optDefFilter->isChecked());
    w->txtCWeight->setText("7");
    w->chkCurvature->click();
    EXPECT_EQ(w->txtFilterSize->text(), "3");
    EXPECT_EQ(w->txtWeight->text(), "3");
    EXPECT_EQ(w->txtNoTimes->text(), "1");
    EXPECT_TRUE(w->optPDFilter->isChecked());
    EXPECT_EQ(w->txtCWeight->text(), "7");  // not one of the curvature settings
}

TEST_F(SurfFnsOps, SmoothWithCurvatureWritesBothGridsAndNothingElse) {
    // A paraboloid bowl bends upward everywhere, so the curvature grid is positive inside.
    saveGrid(dir.path("p.grd"), makeGrid(31, 31, -3, 3, -3, 3, [](double x, double y) { return (x * x + y * y) / 2; }));
    frmSurfFns* w = open();
    add(w, {"p.grd"});
    w->chkCurvature->click();
    w->cmdSmooth->click();
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front().text;
    EXPECT_THAT(plotted(), ElementsAre(dir.path("p_fwa9,4x3.grd")));
    const Grid c = grid("p_fwa9,4x3_curv10.grd");
    EXPECT_GT(c.at(15, 15), 0);
    EXPECT_EQ(dir.fileCount(), 3u);  // input, smoothed and curvature grids only
    EXPECT_EQ(w->txtNoFiles->text(), "0");
}

TEST_F(SurfFnsOps, ProcessMirrorsInYNodeByNode) {
    const Grid in = makeGrid(5, 4, 0, 2, 0, 1.5, [](double x, double y) { return x * x + 10 * y; });
    saveGrid(dir.path("m.grd"), in);
    frmSurfFns* w = open();
    add(w, {"m.grd"});
    w->optMirrorY->setChecked(true);
    w->cmdProcess->click();
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front().text;
    const Grid out = grid("mmy.grd");
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 5; ++i) EXPECT_NEAR(out.at(i, j), in.at(i, 3 - j), 1e-9) << i << "," << j;
    EXPECT_THAT(plotted(), ElementsAre(dir.path("mmy.grd")));
    EXPECT_EQ(w->txtNoFiles->text(), "0");
}

TEST_F(SurfFnsOps, ProcessTerrainAspectNamesItsFilesByTheMinimumSlope) {
    // A plane rising to the east faces west: every aspect 270 degrees, at the 4 x 4
    // inner nodes (the border has no neighbours on one side and stays blank).
    saveGrid(dir.path("a.grd"), makeGrid(6, 6, 0, 5, 0, 5, [](double x, double) { return 2 * x; }));
    frmSurfFns* w = open();
    add(w, {"a.grd"});
    w->optTerrain->setChecked(true);
    w->cmbProcess->setCurrentText("Terrain aspect");
    w->txtTAMinSlope->setText("5");
    w->cmdProcess->click();
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front().text;
    EXPECT_TRUE(std::filesystem::exists(dir.path("ata5.grd")));
    EXPECT_THAT(dir.read("ata5results.csv"), HasSubstr("\"270\",\"16\"\r\n"));
    const auto maps = surfer::asPlot(state.SurferApp->ActiveDocument())->Shapes.maps();
    ASSERT_EQ(maps.size(), 1u);
    EXPECT_EQ(maps[0]->mapKind(), surfer::MapKind::Image);
    EXPECT_EQ(w->txtNoFiles->text(), "0");
}

TEST_F(SurfFnsOps, ProcessRefusesATypedProcedureAndVersionSixGeometry) {
    saveGrid(dir.path("m.grd"), makeGrid(5, 4, 0, 2, 0, 1.5, plane));
    frmSurfFns* w = open();
    add(w, {"m.grd"});
    w->optTerrain->setChecked(true);
    w->cmbProcess->setCurrentText("Terrain curl");
    w->cmdProcess->click();
    EXPECT_THAT(texts(), ElementsAre("Choose processing procedure."));
    EXPECT_EQ(w->txtNoFiles->text(), "1");

    useV6();
    prompt.shown.clear();
    w->optInverse->setChecked(true);
    w->cmdProcess->click();
    w->cmdSAVol->click();
    EXPECT_THAT(texts(), ElementsAre("This function is not available in Surfer v6.",
                                     "This function is not available in Surfer v6."));
    EXPECT_EQ(dir.fileCount(), 1u);
    EXPECT_TRUE(plotted().empty());
    EXPECT_EQ(w->txtNoFiles->text(), "1");
    EXPECT_FALSE(prompt.busyNow);
}

TEST_F(SurfFnsOps, CompareTakesTheLowerEnvelopeOfEachPair) {
    saveGrid(dir.path("top.grd"), makeGrid(5, 4, 0, 2, 0, 1.5, [](double x, double) { return x; }));
    saveGrid(dir.path("pln.grd"), makeGrid(5, 4, 0, 2, 0, 1.5, [](double, double) { return 1.0; }));
    frmSurfFns* w = open();
    add(w, {"top.grd", "pln.grd"});
    w->optCompareMin->setChecked(true);
    w->txtCompGridOutGridText->setText("_low");
    w->cmdCompareGrids->click();
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front().text;
    const Grid c = grid("top_low.grd");
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(c.at(i, 1), std::min(0.5 * i, 1.0), 1e-12) << i;
    EXPECT_THAT(plotted(), ElementsAre(dir.path("top_low.grd")));
    EXPECT_EQ(w->txtNoFiles->text(), "0");
}

TEST_F(SurfFnsOps, CompareRefusesAnEmptyOutputText) {
    saveGrid(dir.path("top.grd"), makeGrid(5, 4, 0, 2, 0, 1.5, plane));
    saveGrid(dir.path("pln.grd"), makeGrid(5, 4, 0, 2, 0, 1.5, plane));
    frmSurfFns* w = open();
    add(w, {"top.grd", "pln.grd"});
    w->txtCompGridOutGridText->clear();
    w->cmdCompareGrids->click();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(dir.fileCount(), 2u);
    EXPECT_EQ(w->txtNoFiles->text(), "2");
}
