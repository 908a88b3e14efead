// The "Point Clouds" window opened from the main menu: its controls with their design
// values, the list handlers, and every command run end to end from its button on
// generated clouds and grids in a temporary folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "cmdrun.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/textform.h"
#include "formats/surfergrid.h"
#include "formats/xyzpointfile.h"
#include "pointclouds/frmPtCloud.h"
#include "shell/frmStartup.h"
#include "support/qtapp.h"
#include "surfer/application.h"
#include "widgets/dirlistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/fitscreen.h"

using namespace ptcloudtest;
using ::testing::HasSubstr;

namespace {

struct Env {
    trelvik::testing::TempFolder dir;
    AppState state;
    ScriptedPrompt prompt;
    std::unique_ptr<frmStartup> main;

    Env() {
        testsupport::ensureApp();
        surfer::shutdownAll();
        state.ProgramDir = state.DefaultDir = dir.folder();
        state.mnuSurf6Checked = false;
        state.mnuSurf8Checked = true;
        state.SurferVersion = "SurferV8";
        main = std::make_unique<frmStartup>(state, prompt);
        main->setWindowFactory("frmPtCloud", [this] { return new frmPtCloud(state, prompt); });
    }
    ~Env() {
        main.reset();
        QApplication::processEvents();
        surfer::shutdownAll();
    }
    frmPtCloud* open() {
        main->mnuPtCloud->trigger();
        return qobject_cast<frmPtCloud*>(main->windows().find("frmPtCloud"));
    }
    // Selects each file in the file list and adds it, as a user clicking would.
    void add(frmPtCloud* w, const std::vector<std::string>& files) {
        w->Dir2->setPath(QString::fromStdString(dir.folder()));
        w->File2->refresh();
        for (const auto& f : files) {
            ASSERT_TRUE(w->File2->selectFile(QString::fromStdString(f))) << f;
            w->File2_Click();
            w->cmdAddFilename->click();
        }
    }
};

std::string cloud(double z0, int n = 30) {
    std::string s;
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i) s += text::CStr(0.01 * i) + "," + text::CStr(0.01 * j) + "," + text::CStr(z0) + "\r\n";
    return s;
}

} // namespace

TEST(PtCloudWindow, OpensFromUtilitiesWithItsDesignValues) {
    Env e;
    frmPtCloud* w = e.open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Point Clouds");
    // Its least height leaves room for the title bar on a 720-pixel screen.
    EXPECT_LE(w->minimumHeight() + kWindowFrameAllowance.height(), 720);
    const std::pair<QString, const char*> texts[] = {
        {w->Label5->text(), "Carries out cleaning and decimating of point clouds, including removing undercuts."},
        {w->File2->pattern(), "*.txt;*.dat"}, {w->DirC->text(), "Dir"}, {w->Label2->text(), ""},
        {w->Label3->text(), "Input filename (*.txt,*.dat)"}, {w->Text2->text(), "*.txt,*.dat"},
        {w->cmbFileType->currentText(), "Text file (*.txt,*.dat)"}, {w->cmbFileType->itemText(1), "VRML file Polygons (*.wrl)"},
        {w->cmbFileType->itemText(2), "Show all files (*.*)"}, {w->cmdAddFilename->text(), "Add filename"},
        {w->cmdClearFilenames->text(), "Clear filenames"}, {w->Label15->text(), "No. files"}, {w->txtNoFiles->text(), "0"},
        {w->cmdExit->text(), "Exit"}, {w->fraBlankingOutline->title(), "Blanking outline"},
        {w->chkBlankedAreaPts->text(), "Create points file with points in blanked area"}, {w->Label20->text(), "Bin size"},
        {w->txtBlnBinSize->text(), "0.1"}, {w->cmdCreateBlankingFile->text(), "Create blanking file"},
        {w->fraRemoveUndercuts->title(), "Remove undercuts"}, {w->chkDefaultSet->text(), "Use default settings"},
        {w->fraAdvanced->title(), "Advanced settings"}, {w->fraMethod->title(), "Method"},
        {w->optThresh->text(), "Threshold of height from max height"}, {w->txtThresh->text(), "0.05"},
        {w->optProp->text(), "Proportion of max height in search area"}, {w->txtProp->text(), "0.9"},
        {w->chkFindNeigh->text(), "Always find neighbour"}, {w->txtSearchRadInc->text(), "Inc search radius by prop of radius"},
        {w->txtSearchRadiusInc->text(), "0.25"}, {w->Label7->text(), "Bin size"}, {w->txtBinSize->text(), "0.030"},
        {w->Label9->text(), "Primary search radius"}, {w->txtSearchRadius->text(), "0.020"},
        {w->chkWriteRej->text(), "Write rejected points to sep file"}, {w->chkMould->text(), "Mould scan"},
        {w->cmdRemoveUndercuts->text(), "Remove undercuts"}, {w->Label10->text(), "No. points in file"},
        {w->Label12->text(), "Points processed"}, {w->fraEnamel->title(), "Enamel thickness"},
        {w->Label17->text(), "Input surface of interest point cloud file first, then surface to find distance to"},
        {w->Label18->text(), "Bin size"}, {w->txtBinSizeE->text(), "0.25"}, {w->cmdEnamThickCalc->text(), "Calculate"},
        {w->Label19->text(), "Input points file, then wrl polygon file"}, {w->optXYZT->text(), "x,y,z,t"},
        {w->optXYZ->text(), "x,y,z"}, {w->chkOnlyPolyPts->text(), "Only write to file points used in polygons"},
        {w->cmdPointsToWrl->text(), "Convert"}, {w->cmdJoinFiles->text(), "Join files"},
        {w->chkReZero->text(), "Re-zero x,y,z after joined"}, {w->Label16->text(), "Tip"},
        {w->txtTipCalX->text(), "0.000"}, {w->txtTipCalY->text(), "0.000"}, {w->txtTipCalZ->text(), "0.000"},
        {w->cmdTipCal->text(), "Adjust for tip calibration"}, {w->chkStartSurfer->text(), "Start new Surfer (v8)"},
        {w->fraBlankArea->title(), "Blank area"}, {w->optBlankOutside->text(), "Outside"}, {w->optBlankInside->text(), "Inside"},
        {w->cmdBlank->text(), "Digitise and blank grid"}, {w->fraExtract->title(), "Extract"},
        {w->chkRedArea->text(), "Reduce grid area"}, {w->chkRedRow->text(), "Reduce no. rows/cols"}, {w->txtRedRow->text(), "2"},
        {w->cmdExtract->text(), "Extract smaller grid"}, {w->fraPlot->title(), "Plot output"},
        {w->chkPlotSurfer->text(), "Plot in Surfer"}, {w->optRelief->text(), "Relief"}, {w->optContour->text(), "Contour"},
        {w->chkLabelSurfer->text(), "Label"}};
    for (const auto& [got, want] : texts) EXPECT_EQ(got.toStdString(), want);
    QStringList tips;
    for (int i = 0; i < w->cmbTipNo->count(); ++i) tips << w->cmbTipNo->itemText(i);
    EXPECT_EQ(tips.join(" "), "t0 t5 t8 t1 t2 t3 t4 t6 t7 t9 t10 t11 t12");
    for (QAbstractButton* on : std::initializer_list<QAbstractButton*>{
             w->chkBlankedAreaPts, w->chkDefaultSet, w->optThresh, w->chkFindNeigh, w->chkWriteRej, w->optXYZT,
             w->chkOnlyPolyPts, w->chkReZero, w->optBlankOutside, w->chkPlotSurfer, w->optRelief, w->chkLabelSurfer})
        EXPECT_TRUE(on->isChecked()) << on->text().toStdString();
    for (QAbstractButton* off : std::initializer_list<QAbstractButton*>{
             w->optProp, w->chkMould, w->optXYZ, w->chkStartSurfer, w->optBlankInside, w->chkRedArea, w->chkRedRow,
             w->optContour})
        EXPECT_FALSE(off->isChecked()) << off->text().toStdString();
    EXPECT_FALSE(w->fraAdvanced->isEnabled());
    EXPECT_TRUE(w->pbarPtsPrcd->isHidden());
}

TEST(PtCloudWindow, ListHandlersAndOptionControls) {
    Env e;
    frmPtCloud* w = e.open();
    e.dir.write("m1.txt", cloud(1));
    e.dir.write("m1.wrl", "#VRML V2.0 utf8\n");
    // Pressing Add with nothing chosen: "Choose grid filename", nothing listed.
    w->cmdAddFilename->click();
    ASSERT_EQ(e.prompt.shown.size(), 1u);
    EXPECT_EQ(e.prompt.shown[0].title, "Filename");
    EXPECT_EQ(e.prompt.shown[0].text, "Choose grid filename");
    e.add(w, {"m1.txt"});
    EXPECT_EQ(w->txtNoFiles->text(), "1");
    w->cmdAddFilename->click();
    EXPECT_EQ(e.prompt.shown.back().text, "Filename already added");
    EXPECT_EQ(w->list().FileStem[0], e.dir.path("m1"));
    EXPECT_EQ(w->list().FileExt[0], ".txt");
    w->cmdClearFilenames->click();
    EXPECT_EQ(w->txtNoFiles->text(), "0");
    // The file-type combo changes the pattern only.
    w->cmbFileType->setCurrentIndex(1);
    w->cmbFileType_Click();
    EXPECT_EQ(w->File2->pattern(), "*.wrl");
    EXPECT_EQ(w->Text2->text(), "m1.txt");
    EXPECT_EQ(w->File2->fileNames(), QStringList{"m1.wrl"});
    // Default settings off enables the advanced frame; tips fill the offsets.
    w->chkDefaultSet->click();
    EXPECT_TRUE(w->fraAdvanced->isEnabled());
    w->cmbTipNo->setCurrentText("t8");
    w->cmbTipNo_Click();
    EXPECT_EQ(w->txtTipCalZ->text(), "-0.023");
    w->cmbTipNo->setCurrentText("t3");
    w->cmbTipNo_Click();
    EXPECT_EQ(w->txtTipCalX->text(), "0.018");
    // "Dir" loads the default directory.
    w->Dir2->setPath("/");
    w->DirC->click();
    EXPECT_EQ(w->Dir2->path().toStdString(), e.dir.folder());
    // Exit unloads; reopening starts from the design values.
    w->cmdExit->click();
    QApplication::processEvents();
    frmPtCloud* again = e.open();
    EXPECT_EQ(again->txtTipCalX->text(), "0.000");
    EXPECT_FALSE(again->fraAdvanced->isEnabled());
}

TEST(PtCloudWindow, PointCommandsRunFromTheirButtons) {
    Env e;
    frmPtCloud* w = e.open();
    e.dir.write("outer.txt", cloud(1));
    e.dir.write("inner.txt", cloud(0.25));
    // Remove undercuts on the chosen file alone: listed, processed, list cleared.
    e.add(w, {});
    ASSERT_TRUE(w->File2->selectFile("outer.txt"));
    w->File2_Click();
    w->cmdRemoveUndercuts->click();
    EXPECT_TRUE(FileExists(e.dir.path("outer-uct080_020.txt")));
    EXPECT_EQ(w->txtBinSize->text(), "0.02");
    EXPECT_EQ(w->txtThresh->text(), "0.080");
    EXPECT_EQ(w->txtNoPts->text(), "900");
    EXPECT_EQ(w->txtNoPtsPrcd->text(), "900");
    EXPECT_TRUE(w->pbarPtsPrcd->isHidden());
    EXPECT_EQ(w->txtNoFiles->text(), "0");
    // Enamel thickness, then its distances coloured onto nothing (no VRML): the
    // distance of every point is 0.75.
    e.add(w, {"outer.txt", "inner.txt"});
    w->cmdEnamThickCalc->click();
    const std::string dist = e.dir.read("outer_dist.txt");
    EXPECT_EQ(dist.substr(0, dist.find('\r')), "0,0,1,0.75");
    EXPECT_EQ(w->txtNoFiles->text(), "0");
    // Join and tip calibration.
    e.add(w, {"outer.txt", "inner.txt"});
    w->cmdJoinFiles->click();
    EXPECT_EQ(formats::readXyzPointFile(e.dir.path("outer_jndr.txt")).size(), 1800u);
    e.add(w, {"inner.txt"});
    w->cmbTipNo->setCurrentText("t5");
    w->cmbTipNo_Click();
    w->cmdTipCal->click();
    EXPECT_DOUBLE_EQ(formats::readXyzPointFile(e.dir.path("innertipcal.txt"))[0].z, 0.225);
    // Blanking outline with its fill points.
    e.add(w, {"outer.txt"});
    w->cmdCreateBlankingFile->click();
    EXPECT_TRUE(FileExists(e.dir.path("outerpblnpts.bln")));
    EXPECT_TRUE(FileExists(e.dir.path("outerp.txt")));
    EXPECT_TRUE(e.prompt.shown.empty()) << e.prompt.shown[0].text;
    EXPECT_FALSE(e.prompt.busyNow);
}

TEST(PtCloudWindow, ColourMappedVrmlFromTheConvertButton) {
    Env e;
    frmPtCloud* w = e.open();
    e.dir.write("d.txt", "0,0,0,0.05\r\n1,0,0,0.15\r\n0,1,0,0.25\r\n");
    e.dir.write("s.wrl", "#VRML V2.0 utf8\nShape { geometry IndexedFaceSet {\n coord Coordinate {\n point [\n"
                         "0 0 0, 1 0 0, 0 1 0 ]\n }\n coordIndex [\n 0, 1, 2, -1\n ]\n solid TRUE\n} }\n");
    w->cmbFileType->setCurrentIndex(2);
    w->cmbFileType_Click();
    e.add(w, {"d.txt", "s.wrl"});
    w->cmdPointsToWrl->click();
    EXPECT_TRUE(e.prompt.shown.empty()) << e.prompt.shown.at(0).text;
    const auto out = lines(e.dir.read("d_poly.wrl"));
    EXPECT_THAT(out, ::testing::Contains("0,1,2,-1"));
    EXPECT_THAT(out, ::testing::Contains("        solid FALSE"));
    EXPECT_THAT(out, ::testing::Contains("        colorPerVertex TRUE"));
    EXPECT_EQ(w->txtNoFiles->text(), "0");
}

// A command given the wrong number of files says how many it takes and in which order,
// and keeps the list; a run that ends at the replace question shows its own count beside
// no other run's "Points processed".
TEST(PtCloudWindow, CommandsSayHowManyFilesTheyTakeAndReadOutsShowOneRun) {
    Env e;
    frmPtCloud* w = e.open();
    e.dir.write("a.txt", cloud(1));
    e.dir.write("b.txt", cloud(0.25));
    e.dir.write("c.txt", cloud(0.5));
    e.add(w, {"a.txt"});
    const std::pair<QPushButton*, const char*> commands[] = {
        {w->cmdEnamThickCalc, "Enamel thickness \"Calculate\" takes two files, in this order: the surface of interest, "
                              "then the surface to find the distance to. The list holds 1 file."},
        {w->cmdPointsToWrl, "\"Convert\" takes two files, in this order: the points file, then the wrl polygon file. "
                            "The list holds 1 file."},
        {w->cmdJoinFiles, "\"Join files\" takes two or more files, joined in the order listed (the output is named "
                          "after the first). The list holds 1 file."}};
    for (const auto& [button, said] : commands) {
        button->click();
        ASSERT_FALSE(e.prompt.shown.empty()) << button->text().toStdString();
        EXPECT_EQ(e.prompt.shown.back().text, said);
        EXPECT_EQ(w->txtNoFiles->text(), "1");
    }
    e.add(w, {"b.txt", "c.txt"});
    w->cmdEnamThickCalc->click();
    EXPECT_THAT(e.prompt.shown.back().text, HasSubstr("The list holds 3 files."));
    EXPECT_EQ(w->txtNoFiles->text(), "3");
    EXPECT_EQ(e.prompt.shown.size(), 4u);
    w->cmdClearFilenames->click();

    e.add(w, {"a.txt", "b.txt"});
    w->cmdEnamThickCalc->click();
    EXPECT_EQ(w->txtNoPtsPrcd->text(), "900");
    e.dir.write("a.txt", cloud(1, 20));
    e.add(w, {"a.txt", "b.txt"});
    e.prompt.answer(Answer::Cancel);
    w->cmdEnamThickCalc->click();
    EXPECT_EQ(e.prompt.shown.back().title, "Replace files");
    EXPECT_EQ(w->txtNoPts->text(), "400");
    EXPECT_EQ(w->txtNoPtsPrcd->text(), "");
}

TEST(PtCloudWindow, GridStepsDigitiseBlankExtractAndPlot) {
    Env e;
    frmPtCloud* w = e.open();
    Grid g(11, 11, 0, 10, 0, 10);
    for (int j = 0; j < 11; ++j)
        for (int i = 0; i < 11; ++i) g.at(i, j) = i + j;
    formats::writeSurferGrid(e.dir.path("m1.grd"), g, formats::SurferGridFormat::Binary7);
    w->cmbFileType->setCurrentIndex(2);
    w->cmbFileType_Click();
    e.add(w, {"m1.grd"});
    e.prompt.respond([&](const ScriptedPrompt::Shown& s) {
        EXPECT_EQ(s.title, "Digitise map");
        writeFileAtomic(e.dir.path("digit.dat"), "2,2\r\n8,2\r\n8,8\r\n2,8\r\n");
        return Answer::Ok;
    });
    w->cmdBlank->click();
    EXPECT_TRUE(formats::readSurferGrid(e.dir.path("m1b.grd")).blank(0, 0));
    e.add(w, {"m1.grd"});
    w->chkRedRow->setChecked(true);
    w->cmdExtract->click();
    EXPECT_EQ(formats::readSurferGrid(e.dir.path("m1r2.grd")).cols, 6);
    ASSERT_TRUE(w->list().m_Surfer);
    EXPECT_EQ(surfer::asPlot(w->list().m_Surfer->ActiveDocument())->Shapes.maps().size(), 1u);
    EXPECT_EQ(e.prompt.shown.size(), 1u);
}

TEST(PtCloudWindow, EscStopsACommandAndWritesNothing) {
    Env e;
    frmPtCloud* w = e.open();
    e.dir.write("outer.txt", cloud(1));
    e.dir.write("inner.txt", cloud(0.25));
    const std::size_t before = e.dir.fileCount();
    // Esc pressed while the points are read gets past the window's input block and
    // stops the point loop: no result, trace or rejects file appears, the list stays
    // for another try, the bar is hidden again and no message is shown.
    for (QPushButton* b : {w->cmdEnamThickCalc, w->cmdRemoveUndercuts}) {
        e.add(w, {"outer.txt", "inner.txt"});
        QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        b->click();
        EXPECT_EQ(e.dir.fileCount(), before) << b->text().toStdString();
        EXPECT_EQ(w->txtNoFiles->text(), "2") << b->text().toStdString();
        EXPECT_TRUE(w->pbarPtsPrcd->isHidden());
        EXPECT_TRUE(e.prompt.shown.empty());
        EXPECT_FALSE(e.prompt.busyNow);
        w->cmdClearFilenames->click();
    }
}
