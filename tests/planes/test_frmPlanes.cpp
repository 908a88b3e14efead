// The plane-fit and rotation windows opened from the main menu: controls with their
// design values, and the main buttons run end to end on files in a temporary folder.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolTip>

#include <filesystem>

#include "layoutcheck.h"
#include "planes/frmPlaneFit.h"
#include "planes/frmRotateAll.h"
#include "planes/planeformula.h"
#include "windowtest.h"
#include "shell/frmStartup.h"
#include "support/qtapp.h"
#include "surferfns/frmSurfFns.h"
#include "widgets/dirlistbox.h"
#include "widgets/filelistbox.h"

using namespace trelvik;
using trelvik::testing::TempFolder;
namespace fs = std::filesystem;

namespace {

double slope(double x, double y) { return 1 + 0.3 * x - 0.2 * y; }

struct Env : planetest::WindowEnv {
    Env() {
        main->setWindowFactory("frmSurfFns", [this] { return new frmSurfFns(state, prompt); });
        main->setWindowFactory("frmPlaneFit", [this] {
            return new frmPlaneFit(state, prompt, frmPlaneFit::plotThroughSurfFns(main->windows()));
        });
        main->setWindowFactory("frmRotateAll", [this] { return new frmRotateAll(state, prompt); });
        surfertest::saveGrid(dir, "T1.grd", surfertest::makeGrid(21, 21, 0, 10, 0, 10, slope));
    }
};

} // namespace

TEST(frmPlaneFit, OpensWithItsDesignValuesAndFitsAndPlots) {
    Env env;
    auto* w = env.open<frmPlaneFit>(env.main->mnuPlaneFit, "frmPlaneFit");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Fit plane");
    const std::pair<QAbstractButton*, const char*> buttons[] = {
        {w->DirC, "Dir"},          {w->cmdPFit, "Digitise points for plane"}, {w->cmdOccVect, "Find occlusal vector"},
        {w->cmdExit, "Exit"},      {w->Option1, "All points"},                {w->Option2, "3 points"},
        {w->Option3, "Other:"},    {w->chkIntersectionGrid, "Make topo-plane intersection grid"},
        {w->chkPlotIntersectionGrid, "Plot intersection grid"}};
    for (const auto& [b, caption] : buttons) EXPECT_EQ(b->text(), caption);
    EXPECT_TRUE(w->Option1->isChecked());
    EXPECT_FALSE(w->chkIntersectionGrid->isChecked());
    EXPECT_FALSE(w->chkPlotIntersectionGrid->isChecked());
    EXPECT_EQ(w->Text1->text(), "*.grd");
    EXPECT_EQ(w->Text2->text(), "4");
    EXPECT_FALSE(w->Text2->isEnabled());
    w->Option3->setChecked(true);
    EXPECT_TRUE(w->Text2->isEnabled());
    w->Option1->setChecked(true);
    EXPECT_FALSE(w->Text2->isEnabled());

    w->DirC->click();
    EXPECT_EQ(w->Label1->text().toStdString(), env.dir.folder());
    env.pick(w->File1, "T1.grd");
    EXPECT_EQ(w->Text1->text(), "T1.grd");
    w->chkIntersectionGrid->setChecked(true);
    w->chkPlotIntersectionGrid->setChecked(true);
    env.prompt.respond(planetest::digitise(env.dir, "1,1\n9,2\n4,8\n"));
    w->cmdPFit->click();
    EXPECT_EQ(w->Label4->text(), "3");
    EXPECT_EQ(env.prompt.shown.back().title, "Digitise map");  // no failure shown
    const auto p = planes::tryParsePlaneFormula(w->txtFormula->text().toStdString());
    ASSERT_TRUE(p.has_value()) << w->txtFormula->text().toStdString();
    EXPECT_NEAR(p->A, 0.3, 1e-9);
    EXPECT_NEAR(p->B, -0.2, 1e-9);
    EXPECT_TRUE(fs::exists(env.dir.path("T1top+plane.grd")));
    // The plot went through the Surfer Functions window, loaded but not shown.
    auto* fns = qobject_cast<frmSurfFns*>(env.main->windows().find("frmSurfFns"));
    ASSERT_NE(fns, nullptr);
    EXPECT_FALSE(fns->isVisible());

    // The occlusal-vector plane from the same window; a failure is shown and the window stays.
    env.prompt.respond(planetest::digitise(env.dir, "5,5\n5,5\n"));
    w->cmdOccVect->click();
    EXPECT_EQ(env.prompt.shown.back().title, "Trelvik");
    EXPECT_NE(env.prompt.shown.back().text.find("same point"), std::string::npos);
    env.prompt.respond(planetest::digitise(env.dir, "5,6\n5,4\n"));
    w->cmdOccVect->click();
    EXPECT_FALSE(w->txtOVFormula->text().isEmpty());
    EXPECT_TRUE(fs::exists(env.dir.path("T1ovplaneform.txt")));
    EXPECT_NE(env.main->windows().find("frmPlaneFit"), nullptr);
}

// A grid that cannot be read is refused before the digitise question, with the message
// the step gave for it once the user had digitised.
TEST(frmPlaneFit, AnUnreadableGridIsRefusedBeforeTheDigitiseQuestion) {
    Env env;
    auto* w = env.open<frmPlaneFit>(env.main->mnuPlaneFit, "frmPlaneFit");
    ASSERT_NE(w, nullptr);
    env.dir.write("bad.grd", "not a grid\r\n");
    w->DirC->click();
    env.pick(w->File1, "bad.grd");
    w->cmdPFit->click();
    ASSERT_FALSE(env.prompt.shown.empty());
    EXPECT_EQ(env.prompt.shown.front().title, "Trelvik");
    EXPECT_EQ(env.prompt.shown.front().text, "The file " + env.dir.path("bad.grd") +
                                                 " is not a Surfer grid (it starts with neither DSAA, DSBB nor DSRB).");
    EXPECT_EQ(env.prompt.shown.size(), 1u);
}

TEST(frmRotateAll, OpensWithItsDesignValuesAndRotates) {
    Env env;
    auto* w = env.open<frmRotateAll>(env.main->mnuRotate, "frmRotateAll");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Rotate");
    ASSERT_EQ(w->SSTab1->count(), 3);
    const char* tabs[] = {"Filename", "Rotate by plane", "Rotate x or y"};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(w->SSTab1->tabText(i), tabs[i]);
    const std::pair<QAbstractButton*, const char*> buttons[] = {
        {w->chkStartSurfer, "Start new Surfer (v8)"}, {w->DirC, "Dir"}, {w->Option1, "Original grid"},
        {w->Option2, "1/2 Orig grid"}, {w->Option3, "Other"}, {w->Check1, "Define area of grid to blank"},
        {w->cmdEnterGrid, "Enter grid"}, {w->cmdRotPlane, "Rotate"}, {w->cmdReset, "Reset"},
        {w->chkXAxis, "x axis"}, {w->chkYAxis, "y axis"}, {w->RotXY, "Rotate"}, {w->cmdReset1, "Reset"},
        {w->cmdExit1, "Exit"}, {w->cmdExit2, "Exit"}, {w->cmdExit3, "Exit"}};
    for (const auto& [b, caption] : buttons) EXPECT_EQ(b->text(), caption);
    EXPECT_FALSE(w->chkStartSurfer->isChecked());
    EXPECT_TRUE(w->Check1->isChecked());
    EXPECT_TRUE(w->Option1->isChecked());
    const std::pair<QLineEdit*, const char*> boxes[] = {{w->Text1, "*.grd"}, {w->Text2, "*.txt"}, {w->Text3, "*.grd"},
                                                        {w->Text5, "1"},     {w->Text6, "1"},     {w->txtXAngle, "0"},
                                                        {w->txtYAngle, "0"}};
    for (const auto& [b, value] : boxes) EXPECT_EQ(b->text(), value);
    for (QLineEdit* b : {w->Text5, w->Text6, w->txtXAngle, w->txtYAngle}) EXPECT_FALSE(b->isEnabled());
    for (QLabel* l : {w->Label5, w->Label7, w->Label12, w->Label13}) EXPECT_TRUE(l->text().isEmpty());

    env.pick(w->File1, "T1.grd");
    w->Check1->setChecked(false);
    w->cmdEnterGrid->click();
    EXPECT_EQ(w->Label5->text(), "0.5");
    EXPECT_EQ(w->Label13->text(), "0.25");
    EXPECT_EQ(w->Text3->text(), "T1rxy.grd");

    planes::WritePlaneFormulaFile(env.dir.path("T1planeform.txt"), {1, -0.2, 0.3});
    w->File2->setPath(QString::fromStdString(env.dir.folder()));
    env.pick(w->File2, "T1planeform.txt");
    w->cmdRotPlane->click();
    EXPECT_TRUE(fs::exists(env.dir.path("T1trs.grd")));
    // The step ends by naming what it wrote.
    EXPECT_TRUE(w->lblStatus->text().contains("T1trs.grd")) << w->lblStatus->text().toStdString();

    w->chkXAxis->click();
    EXPECT_TRUE(w->txtXAngle->isEnabled());
    w->txtXAngle->setText("15");
    EXPECT_EQ(w->Text3->text(), "T1trs15x.grd");
    w->chkYAxis->click();
    w->txtYAngle->setText("-5");
    EXPECT_EQ(w->Text3->text(), "T1trs15x-5y.grd");
    w->RotXY->click();
    EXPECT_TRUE(fs::exists(env.dir.path("T1trs15x-5y.grd")));

    w->Option3->setChecked(true);
    EXPECT_TRUE(w->Text5->isEnabled());
    w->cmdReset1->click();
    EXPECT_TRUE(w->Option1->isChecked());
    EXPECT_EQ(w->Text3->text(), "*.grd");
    EXPECT_FALSE(w->chkXAxis->isChecked());
    EXPECT_EQ(w->txtXAngle->text(), "0");

    w->cmdExit2->click();
    QApplication::processEvents();
    EXPECT_EQ(env.main->windows().find("frmRotateAll"), nullptr);
}

TEST(frmPlaneFit, ShowsEveryControlWholeAndTakesATypedNameFromTheListsFolder) {
    Env env;
    auto* w = env.open<frmPlaneFit>(env.main->mnuPlaneFit, "frmPlaneFit");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(layoutcheck::cutControls(w), std::vector<std::string>{});

    // The folder label is empty until a list is clicked; a typed name is the list's file.
    w->Dir1->setPath(QString::fromStdString(env.dir.folder()));
    w->Label1->clear();
    w->Text1->setText("T1.grd");
    env.prompt.respond(planetest::digitise(env.dir, "1,1\n9,2\n4,8\n"));
    w->cmdPFit->click();
    EXPECT_EQ(env.prompt.shown.back().title, "Digitise map");  // no failure shown
    EXPECT_TRUE(fs::exists(env.dir.path("T1planeform.txt")));
    EXPECT_EQ(w->Label4->text(), "3");
}

// A deep data folder shows on one line, shortened, and whole in the label's tool tip:
// the number-of-points group keeps the room its controls need.
TEST(frmPlaneFit, ADeepDataFolderTakesOneLineAndLeavesEveryControlWhole) {
    Env env;
    std::string deep = env.dir.folder() + "/data-deep";
    for (int i = 1; i <= 9; ++i) deep += "/level" + std::to_string(i);
    deep += "/a_long_folder_name_for_testing";
    fs::create_directories(deep);
    env.state.DefaultDir = deep;
    auto* w = env.open<frmPlaneFit>(env.main->mnuPlaneFit, "frmPlaneFit");
    ASSERT_NE(w, nullptr);
    w->DirC->click();
    EXPECT_EQ(layoutcheck::cutControls(w), std::vector<std::string>{});
    EXPECT_EQ(w->Label1->text().toStdString(), deep);
    EXPECT_LT(w->Label1->height(), 2 * w->Label1->fontMetrics().lineSpacing());
    const QPoint at = w->Label1->rect().center();
    QHelpEvent help(QEvent::ToolTip, at, w->Label1->mapToGlobal(at));
    QApplication::sendEvent(w->Label1, &help);
    EXPECT_EQ(QToolTip::text().toStdString(), deep);
}

TEST(frmRotateAll, ShowsEveryControlWholeOnEveryTab) {
    Env env;
    auto* w = env.open<frmRotateAll>(env.main->mnuRotate, "frmRotateAll");
    ASSERT_NE(w, nullptr);
    for (int i = 0; i < w->SSTab1->count(); ++i) {
        w->SSTab1->setCurrentIndex(i);
        EXPECT_EQ(layoutcheck::cutControls(w), std::vector<std::string>{}) << w->SSTab1->tabText(i).toStdString();
    }
}

// The status line keeps its room whether it names the files of a step or is empty (as
// each step begins, or after a refusal), so no button moves under a click aimed at it.
TEST(frmRotateAll, StatusLineComingOrGoingMovesNoButton) {
    Env env;
    auto* w = env.open<frmRotateAll>(env.main->mnuRotate, "frmRotateAll");
    ASSERT_NE(w, nullptr);
    w->show();
    const auto empty = layoutcheck::buttonPlaces(w);
    w->lblStatus->setText("Wrote T1rxy.grd in /tmp");
    EXPECT_EQ(layoutcheck::buttonPlaces(w), empty);
    w->lblStatus->clear();
    EXPECT_EQ(layoutcheck::buttonPlaces(w), empty);
}
