// The "Curvature" window opened from the main menu: its tabs and controls with their
// design values, the list and box handlers, and the main buttons run end to end.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "curvrun.h"
#include "shell/frmStartup.h"
#include "support/qtapp.h"
#include "toothfeatures/frmCurvature.h"
#include "widgets/dirlistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/fitscreen.h"

using namespace curvtest;
using ::testing::HasSubstr;

namespace {

struct Env {
    TempFolder dir;
    AppState state;
    ScriptedPrompt prompt;
    std::unique_ptr<frmStartup> main;

    Env() {
        testsupport::ensureApp();
        surfer::shutdownAll();
        state.ProgramDir = state.DefaultDir = dir.folder();
        state.SurferVersion = "SurferV8";
        main = std::make_unique<frmStartup>(state, prompt);
        main->setWindowFactory("frmCurvature", [this] { return new frmCurvature(state, prompt); });
    }
    ~Env() {
        main.reset();
        QApplication::processEvents();
        surfer::shutdownAll();
    }
    frmCurvature* open() {
        main->mnuCurvSlice->trigger();
        return qobject_cast<frmCurvature*>(main->windows().find("frmCurvature"));
    }
    // A bowl-shaped tooth.grd in the folder, then the window opened.
    frmCurvature* openWithBowl() {
        formats::writeSurferGrid(dir.path("tooth.grd"),
                                 makeGrid(15, 15, 0, 1.4, 0, 1.4, [](double x, double y) { return x * x + y * y; }),
                                 formats::SurferGridFormat::Binary7);
        return open();
    }
};

} // namespace

TEST(CurvatureWindow, OpensFromToothFeaturesWithItsDesignValues) {
    Env e;
    EXPECT_TRUE(e.main->mnuCurvSlice->isEnabled());
    frmCurvature* w = e.open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Curvature");
    EXPECT_EQ(w->lblDescription->text(), "Smooths topographic grid, finds curvature of surface, and either finds "
                                         "curvature along crest (2a) or curvature of cusp tip (2b).");
    ASSERT_EQ(w->SSTab2->count(), 4);
    const char* tabs[] = {"1a. Smooth and curvature", "1b. Input grids", "2a. Slice curvature", "2b. Area curvature"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(w->SSTab2->tabText(i), tabs[i]);
    EXPECT_EQ(w->SSTab2->currentIndex(), 0);

    const std::string folder = e.dir.folder();  // outlives the table that points into it
    const std::pair<QString, const char*> texts[] = {
        {w->Text1->text(), "*.grd"},          {w->txtNoSmooth->text(), "3"},    {w->txtNoRow->text(), "9"},
        {w->txtWeight->text(), "4"},          {w->Text3->text(), "10"},         {w->txtScaleBar->text(), "0.05"},
        {w->Text7->text(), "*.grd"},          {w->txtInputCurvText->text(), "_fwa9,4x3_curv10"},
        {w->txtScaleBarI->text(), "0.05"},    {w->txtCrestLength->text(), "1.0"}, {w->txtAltS1->text(), "0.5"},
        {w->txtAltS2->text(), "1.0"},         {w->Text6->text(), "0.05"},       {w->Text10->text(), "10"},
        {w->Text8->text(), ""},               {w->Label14->text(), ""},         {w->Text5->text(), "20"},
        {w->Label25->text(), "400"},          {w->txtAlt1->text(), "50"},       {w->txtAlt2->text(), "100"},
        {w->Text4->text(), ""},               {w->Command2->text(), "Smoothing"}, {w->Command4->text(), "Curvature"},
        {w->Command15->text(), "Curvature"},  {w->Command3->text(), "Input smoothed topo grid"},
        {w->Command6->text(), "Input curvature grid and plot"}, {w->Command5->text(), "Slice and analyse grids"},
        {w->Command11->text(), "Calculate"},  {w->Command1->text(), "Next crest"}, {w->Command13->text(), "Digitise area"},
        {w->Command10->text(), "Dir"},        {w->Command12->text(), "Dir"},    {w->optSmGauss->text(), "Gaussian (v8)"},
        {w->chkInputCurvGrid->text(), "Input curvature grid automat."}, {w->Check1->text(), "Plot curv grid"},
        {w->chkCID->text(), "Use CrestID"},   {w->chkCalcSliceAuto->text(), "Calculate auto."},
        {w->chkUsePrevDig->text(), "Use previously digitised point"},
        {w->optAreaIrreg->text(), "Curvature of irregular area"}, {w->Label1->text(), folder.c_str()},
        {w->File1->pattern(), "*.grd"},       {w->File3->pattern(), "*.grd"}};
    for (const auto& [got, want] : texts) EXPECT_EQ(got.toStdString(), want);
    for (QPushButton* b : {w->Command8, w->Command7, w->Command9, w->Command14}) EXPECT_EQ(b->text(), "Exit");
    for (QAbstractButton* on : std::initializer_list<QAbstractButton*>{
             w->optSmAverage, w->chkInputCurvGrid, w->chkAltValuesS, w->chkCalcSliceAuto, w->optAreaSquare,
             w->chkAltValues, w->chkUsePrevDig, w->optUnitsMM})
        EXPECT_TRUE(on->isChecked()) << on->text().toStdString();
    for (QAbstractButton* off : std::initializer_list<QAbstractButton*>{w->optSmGauss, w->Check1, w->chkCID,
                                                                        w->optAreaIrreg, w->optUnitsUM})
        EXPECT_FALSE(off->isChecked()) << off->text().toStdString();
    EXPECT_FALSE(w->Command6->isEnabled());
    ASSERT_EQ(w->Combo1->count(), 12);
    EXPECT_EQ(w->Combo1->itemText(8), "Cristid obliqua");
    EXPECT_TRUE(w->Combo1->currentText().isEmpty());
}

TEST(CurvatureWindow, BoxesAndListsFollowTheirHandlers) {
    Env e;
    frmCurvature* w = e.open();
    w->chkInputCurvGrid->click();
    EXPECT_TRUE(w->Command6->isEnabled());
    w->chkInputCurvGrid->click();
    EXPECT_FALSE(w->Command6->isEnabled());

    w->Combo1->setCurrentText("Cristid obliqua");
    w->Combo1_Click();
    EXPECT_EQ(w->Label14->text(), "crob");
    EXPECT_EQ(w->state().CrestCode, "crob");
    w->Combo1->setCurrentText("cristid obliqua");
    w->Combo1_Click();
    EXPECT_EQ(w->Label14->text(), "crob");

    w->Text5->setText("25");
    EXPECT_EQ(w->Label25->text(), " 625");
    w->Text8->setText("0");
    w->Text10->setText("3");
    w->Text6->setText("0.5");
    EXPECT_EQ(w->Label9->text(), "-1");

    // "Slice and analyse grids" keeps the focus for the next crest, also when refused.
    w->activateWindow();
    w->SSTab2->setCurrentIndex(kTabSlice);
    w->Text6->setFocus();
    QApplication::processEvents();
    w->Command5->click();
    EXPECT_EQ(QApplication::focusWidget(), w->Command5);

    w->Command1->click();
    EXPECT_TRUE(w->Label14->text().isEmpty());
    EXPECT_TRUE(w->Text8->text().isEmpty());
    EXPECT_TRUE(w->state().CrestCode.empty());

    // A folder chosen on tab 1a is carried to the lists of tab 1b.
    const std::string sub = e.dir.path("teeth");
    std::filesystem::create_directory(sub);
    formats::writeSurferGrid(sub + "/t.grd", makeGrid(5, 5, 0, 1, 0, 1, [](double x, double) { return x; }),
                             formats::SurferGridFormat::Binary7);
    w->Dir1->setPath(QString::fromStdString(sub));
    EXPECT_EQ(w->Label1->text().toStdString(), sub);
    EXPECT_EQ(w->Dir3->path().toStdString(), sub);
    EXPECT_EQ(w->Label3->text().toStdString(), sub);
    ASSERT_TRUE(w->File3->selectFile("t.grd"));
    w->File3_Click();
    EXPECT_EQ(w->Text7->text(), "t.grd");
}

TEST(CurvatureWindow, SmoothCurvatureAndInputRunEndToEnd) {
    Env e;
    frmCurvature* w = e.openWithBowl();
    w->File1->refresh();
    ASSERT_TRUE(w->File1->selectFile("tooth.grd"));
    w->File1_Click();
    EXPECT_EQ(w->Text1->text(), "tooth.grd");
    w->Command2->click();
    w->Command4->click();
    EXPECT_TRUE(e.prompt.shown.empty()) << e.prompt.shown.at(0).text;
    EXPECT_TRUE(std::filesystem::exists(e.dir.path("tooth_fwa9,4x3.grd")));
    EXPECT_TRUE(std::filesystem::exists(e.dir.path("tooth_fwa9,4x3_curv10.grd")));
    EXPECT_EQ(w->state().CurvatureGrid, e.dir.path("tooth_fwa9,4x3_curv10.grd"));

    // Input the original grid as topographic grid: its curvature grid is taken by name.
    w->File3->refresh();
    ASSERT_TRUE(w->File3->selectFile("tooth.grd"));
    w->File3_DblClick();
    EXPECT_EQ(w->SSTab2->currentIndex(), 2);
    EXPECT_EQ(w->lblCurrentGridS->text(), "tooth");
    EXPECT_EQ(w->lblCurrentGridA->text(), "tooth");
    EXPECT_EQ(w->txtCrestLength->text(), "0.5");
    EXPECT_EQ(w->Text5->text(), "50");
    EXPECT_EQ(w->Label25->text(), " 2500");
    // The curvature name text shows whole; the hint names the grids as the input took them.
    EXPECT_GE(w->txtInputCurvText->width(),
              w->txtInputCurvText->fontMetrics().horizontalAdvance(w->txtInputCurvText->text()));
    EXPECT_THAT(w->Label17->text().toStdString(), HasSubstr("tooth.grd"));
    EXPECT_THAT(w->Label17->text().toStdString(), HasSubstr("tooth_fwa9,4x3_curv10.grd"));

    w->Text3->setText("0");
    w->Command4->click();
    ASSERT_EQ(e.prompt.shown.size(), 1u);
    EXPECT_THAT(e.prompt.shown[0].text, HasSubstr("angle interval"));
    w->Command8->click();
    QApplication::processEvents();
    EXPECT_EQ(e.main->windows().find("frmCurvature"), nullptr);
}

// The run's status lines are longer than the "All angles" frame is wide: at its opening
// size on a 1280 x 720 screen the window neither widens nor moves while they show.
TEST(CurvatureWindow, AllAnglesCurvatureKeepsTheWindowsWidthAndPlace) {
    Env e;
    frmCurvature* w = e.openWithBowl();
    w->resize(w->size().boundedTo(QSize(1280, 720) - kWindowFrameAllowance));
    QApplication::processEvents();
    const QRect before = w->geometry();
    w->File1->refresh();
    ASSERT_TRUE(w->File1->selectFile("tooth.grd"));
    w->File1_Click();
    w->Command2->click();
    // One-degree directions: a run long enough for its status lines to be painted.
    w->Text3->setText("1");
    w->Command4->click();
    QApplication::processEvents();
    ASSERT_EQ(w->state().CurvatureGrid, e.dir.path("tooth_fwa9,4x3_curv1.grd"));
    EXPECT_EQ(w->geometry().width(), before.width());
    EXPECT_EQ(w->geometry().x(), before.x());
}

TEST(CurvatureWindow, CurvatureRangeShowsWholeNumbersOnOneLine) {
    Env e;
    frmCurvature* w = e.open();
    w->SSTab2->setCurrentIndex(kTabSlice);
    CurvControls c = w->controls();
    c.Label6 = "-1.08479306477299";
    c.Label8 = "-1.03397916993948E-05";
    c.Label9 = "-1.11600000000001";
    c.Text8 = "1.034";
    w->showControls(c);
    QApplication::processEvents();
    for (QLabel* l : {w->Label6, w->Label8, w->Label9}) {
        EXPECT_GE(l->contentsRect().width(), l->fontMetrics().horizontalAdvance(l->text())) << l->text().toStdString();
        EXPECT_LT(l->height(), 2 * l->fontMetrics().height()) << l->text().toStdString();  // one line
    }
}
