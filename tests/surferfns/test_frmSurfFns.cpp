// The "Surfer Functions" window opened from the main menu: controls with their design
// values, adding a grid and plotting it end to end, a missing grid, reopening afresh,
// and the hidden window other windows plot through.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include "formats/surfergrid.h"
#include "shell/frmStartup.h"
#include "surfer/application.h"
#include "surfer/documents.h"
#include "surferfns/frmSurfFns.h"
#include "widgets/dirlistbox.h"
#include "widgets/filelistbox.h"

using namespace trelvik;
using ::testing::HasSubstr;

namespace {
void ensureApp() {
    static int argc = 1;
    static char name[] = "test_surferfns";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
}

class SurfFnsWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApp();
        surfer::shutdownAll();
        state.ProgramDir = dir.path().toStdString();
        state.DefaultDir = dir.path().toStdString();
        state.SurferVersion = "SurferV8";
        main = std::make_unique<frmStartup>(state, prompt);
        main->setWindowFactory("frmSurfFns", [this] { return new frmSurfFns(state, prompt); });
        Grid g(5, 4, 0, 2, 0, 1.5, 0);
        for (std::size_t k = 0; k < g.z.size(); ++k) g.z[k] = static_cast<double>(k % 5) * 0.25;
        formats::writeSurferGrid(path("m1.grd"), g, formats::SurferGridFormat::Binary7);
    }
    void TearDown() override {
        main.reset();
        QApplication::processEvents();
        surfer::shutdownAll();
    }
    std::string path(const char* name) const { return dir.filePath(name).toStdString(); }
    frmSurfFns* open() {
        main->mnuSurfFns->trigger();
        return qobject_cast<frmSurfFns*>(main->windows().find("frmSurfFns"));
    }
    void choose(frmSurfFns* w, const char* file) {
        w->Dir2->setPath(dir.path());
        ASSERT_TRUE(w->File2->selectFile(file));
        w->File2_Click();
    }

    QTemporaryDir dir;
    AppState state;
    ScriptedPrompt prompt;
    std::unique_ptr<frmStartup> main;
};
} // namespace

TEST_F(SurfFnsWindow, OpensFromUtilitiesWithItsDesignValues) {
    frmSurfFns* w = open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Surfer Functions");
    EXPECT_EQ(w->lblDescription->text(), "Automates several common Surfer functions.");
    EXPECT_EQ(w->Text2->text(), "*.grd");
    EXPECT_EQ(w->File2->pattern(), "*.grd");
    EXPECT_TRUE(w->Label2->text().isEmpty());
    EXPECT_EQ(w->txtNoFiles->text(), "0");
    EXPECT_EQ(w->cmbFileType->currentText(), "Surfer grid file (*.grd)");
    EXPECT_EQ(w->cmbFileType->count(), 3);
    EXPECT_EQ(w->cmbPDFilter->currentText(), "Moving average (nxn)");
    EXPECT_EQ(w->cmbPDFilter->count(), 14);
    EXPECT_EQ(w->cmbProcess->currentText(), "Terrain slope");
    EXPECT_TRUE(w->chkClearFilenames->isChecked());
    EXPECT_FALSE(w->chkStartSurfer->isChecked());
    EXPECT_TRUE(w->chkPlotSurfer->isChecked());
    EXPECT_TRUE(w->optRelief->isChecked());
    EXPECT_TRUE(w->chkShowAxes->isChecked());
    EXPECT_TRUE(w->chkLabelSurfer->isChecked());
    EXPECT_FALSE(w->chkScaleBar->isChecked());
    const std::pair<QLineEdit*, const char*> boxes[] = {
        {w->txtScaleBar, "0.05"}, {w->txtNoInPlotRow, "6"}, {w->txtPlotSpacX, "18"}, {w->txtPlotSpacY, "18"},
        {w->txtAzimuth, "135"},   {w->txtZenith, "45"},     {w->txtRot, "45"},       {w->txtTilt, "30"},
        {w->txtBlankDelChar, "4"}, {w->txtRedRowFactor, "2"}, {w->txtRedRowMax, "100"}, {w->txtExactNoRC, "150"},
        {w->txtRegridDelChar, "1"}, {w->txtFilterSize, "3"}, {w->txtNoTimes, "1"}, {w->txtTAMinSlope, "10"},
        {w->txtCompGridOutGridText, "_top+plane"}};
    for (const auto& [box, text] : boxes) EXPECT_EQ(box->text(), text);
    EXPECT_TRUE(w->optProjP->isChecked());
    EXPECT_TRUE(w->optBlankOutside->isChecked());
    for (int k = 0; k < 12; ++k) EXPECT_EQ(w->chkTeeth[k]->isChecked(), k >= 8 && k <= 10) << k;
    EXPECT_EQ(w->chkTeeth[3]->text(), "c");
    EXPECT_TRUE(w->optRedAreaMax->isChecked());
    EXPECT_TRUE(w->optRedRowFactor->isChecked());
    EXPECT_TRUE(w->optExactNoRC->isChecked());
    EXPECT_TRUE(w->optRegridGrd->isChecked());
    EXPECT_TRUE(w->optPDFilter->isChecked());
    EXPECT_TRUE(w->optMirror->isChecked() && w->optMirrorX->isChecked() && w->optRotate90->isChecked());
    EXPECT_TRUE(w->optCompareMax->isChecked());
    EXPECT_EQ(w->fraPlot->title(), "Plot output");

    w->cmbFileType->setCurrentIndex(1);
    w->cmbFileType_Click();
    EXPECT_EQ(w->File2->pattern(), "*.txt");
}

TEST_F(SurfFnsWindow, AddFilenameThenPlotGridDrawsTheGridAndClearsTheList) {
    frmSurfFns* w = open();
    choose(w, "m1.grd");
    EXPECT_EQ(w->Text2->text(), "m1.grd");
    EXPECT_EQ(w->Label2->text(), dir.path());
    w->cmdAddFilename->click();
    EXPECT_EQ(w->txtNoFiles->text(), "1");
    w->cmdAddFilename->click();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Filename already added");

    w->opt3DSurface->setChecked(true);
    w->cmdPresetA->click();
    w->cmdPlotGrid->click();
    EXPECT_EQ(prompt.shown.size(), 1u) << prompt.shown.back().text;
    ASSERT_TRUE(state.SurferApp);
    const auto maps = surfer::asPlot(state.SurferApp->ActiveDocument())->Shapes.maps();
    ASSERT_EQ(maps.size(), 1u);
    EXPECT_EQ(maps[0]->gridPath(), path("m1.grd"));
    EXPECT_EQ(maps[0]->mapKind(), surfer::MapKind::Surface);
    EXPECT_EQ(maps[0]->ViewProjection, 2);
    EXPECT_DOUBLE_EQ(maps[0]->ViewTilt, 90);
    EXPECT_EQ(w->txtNoFiles->text(), "0");
    EXPECT_EQ(w->state().FileIndex, 2);
    EXPECT_FALSE(prompt.busyNow);
}

TEST_F(SurfFnsWindow, AMissingGridIsReportedAndTheListAndWindowStay) {
    frmSurfFns* w = open();
    w->Dir2->setPath(dir.path());
    w->Text2->setText("nothere.grd");  // typed, not checked when added
    w->cmdAddFilename->click();
    w->cmdPlotGrid->click();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_THAT(prompt.shown[0].text, HasSubstr("nothere.grd"));
    EXPECT_EQ(w->txtNoFiles->text(), "1");
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(prompt.busyNow);
}

TEST_F(SurfFnsWindow, ExitUnloadsAndReopeningStartsAfresh) {
    QPointer<frmSurfFns> w = open();
    choose(w, "m1.grd");
    w->cmdAddFilename->click();
    w->txtAzimuth->setText("10");
    w->cmdExit->click();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    frmSurfFns* again = open();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->txtNoFiles->text(), "0");
    EXPECT_EQ(again->state().NumFiles, 0);
    EXPECT_FALSE(again->state().FileIndex.has_value());
    EXPECT_EQ(again->txtAzimuth->text(), "135");
}

TEST_F(SurfFnsWindow, HiddenWindowPlotsAtTheFirstSlotWithTheAbovePreset) {
    frmSurfFns* w = qobject_cast<frmSurfFns*>(main->windows().load("frmSurfFns"));
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->isVisible());
    w->cmdPresetA_Click();
    EXPECT_EQ(w->txtAzimuth->text(), "0");
    EXPECT_TRUE(w->optProjO->isChecked());
    w->PlotSurfer(path("m1.grd"), 1);
    EXPECT_EQ(w->state().FileIndex, 1);
    const auto map = surfer::asPlot(state.SurferApp->ActiveDocument())->Shapes.maps().at(0);
    EXPECT_DOUBLE_EQ(map->Overlays(1).HLightAngle, 0);
    EXPECT_DOUBLE_EQ(map->Overlays(1).VLightAngle, 90);
    w->cmdPresetD_Click();
    EXPECT_EQ(w->txtTilt->text(), "30");
    EXPECT_TRUE(w->optProjP->isChecked());
}

TEST_F(SurfFnsWindow, BlankWithAnEarlierBlankingFileWritesTheBlankedGrid) {
    Grid g = formats::readSurferGrid(path("m1.grd"));
    formats::writeSurferGrid(path("m1b150.grd"), g, formats::SurferGridFormat::Binary7);
    // "Del. no. char." 4 finds the outline of m1 for m1b150: keep the inside of a square.
    QFile bln(dir.filePath("m1blnpts.bln"));
    ASSERT_TRUE(bln.open(QIODevice::WriteOnly));
    bln.write("5,0\r\n0.4,0.4\r\n1.6,0.4\r\n1.6,1.1\r\n0.4,1.1\r\n0.4,0.4\r\n");
    bln.close();
    frmSurfFns* w = open();
    choose(w, "m1b150.grd");
    w->chkBlankUseBlnFile->setChecked(true);
    ASSERT_TRUE(w->cmdBlank->isEnabled());
    w->cmdBlank->click();
    EXPECT_TRUE(prompt.shown.empty()) << prompt.shown.front().text;
    const Grid out = formats::readSurferGrid(path("m1b150b.grd"));
    EXPECT_TRUE(out.blank(0, 0));
    EXPECT_FALSE(out.blank(2, 2));  // (1, 1) lies inside
    EXPECT_DOUBLE_EQ(out.at(2, 2), g.at(2, 2));
    EXPECT_EQ(w->txtNoFiles->text(), "0");
    EXPECT_EQ(surfer::asPlot(state.SurferApp->ActiveDocument())->Shapes.maps().at(0)->gridPath(), path("m1b150b.grd"));
}
