// The approach-angle, capture-area and rake-angle windows opened from the main menu:
// their controls with their design values, the selection block's behaviour, and each
// window's steps run end to end through its buttons on a grid in a temporary folder;
// and the status line that every writing step of the windows that have one ends with.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/textform.h"
#include "crestrun.h"
#include "shell/frmStartup.h"
#include "support/killedcommits.h"
#include "support/qtapp.h"
#include "surferfns/frmSurfFns.h"
#include "planes/frmEnamOut.h"
#include "planes/frmLandFind.h"
#include "planes/frmRotateAll.h"
#include "toothfeatures/frmAppAng.h"
#include "toothfeatures/frmCapture.h"
#include "toothfeatures/frmCuspOR.h"
#include "toothfeatures/frmRake.h"
#include "widgets/dirlistbox.h"
#include "widgets/filelistbox.h"

#include <cstdlib>
#include <filesystem>

using namespace crestrun;

namespace {

double tooth(double x, double y) { return 3 + 0.5 * x + 0.2 * y + 0.05 * x * y; }
double cusp(double x, double y) { return 10 - 0.05 * ((x - 10) * (x - 10) + (y - 10) * (y - 10)); }

// The main window with the three windows registered as the program registers them.
struct Env : CrestRun {
    std::unique_ptr<frmStartup> main;

    Env() : CrestRun(false) {
        testsupport::ensureApp();
        app.SurferVersion = "SurferV8";
        main = std::make_unique<frmStartup>(app, prompt);
        main->setWindowFactory("frmSurfFns", [this] { return new frmSurfFns(app, prompt); });
        main->setWindowFactory("frmAppAng", [this] { return new frmAppAng(app, prompt); });
        main->setWindowFactory("frmCapture", [this] { return new frmCapture(app, prompt); });
        main->setWindowFactory("frmRake", [this] {
            return new frmRake(app, prompt,
                               [this] { return qobject_cast<frmSurfFns*>(main->windows().load("frmSurfFns")); });
        });
    }
    ~Env() {
        main.reset();
        QApplication::processEvents();
    }
    template <class W>
    W* open(QAction* item, const char* name) {
        item->trigger();
        return qobject_cast<W*>(main->windows().find(name));
    }
    // Picks the grid in the file list and a crest in the list, as a user clicking would.
    void choose(CrestSelectWindow* w, const char* grid, const char* crest) {
        w->Dir2->setPath(QString::fromStdString(folder()));
        w->File2->refresh();
        ASSERT_TRUE(w->File2->selectFile(grid));
        w->File2_Click();
        w->Combo1->setCurrentText(crest);
        w->Combo1_Click();
    }
    // Capture area opened on T1.grd's Paracristid, its occlusal vector found and its top
    // delimited through the buttons.
    frmCapture* captureWithTop() {
        auto* c = open<frmCapture>(main->mnuCapture, "frmCapture");
        choose(c, "T1.grd", "Paracristid");
        digitise("digit.dat", "4,10\r\n4,0\r\n");
        c->cmdOccVect->click();
        digitise("digit1.dat", "0,18\r\n20,20\r\n10,19\r\n");
        c->cmdDigCBound->click();
        return c;
    }
};

// With TRELVIK_SCREENSHOT_DIR set, saves the window as a picture to look at.
void screenshot(QWidget* w, const char* name) {
    if (const char* out = std::getenv("TRELVIK_SCREENSHOT_DIR")) w->grab().save(QString(out) + "/" + name + ".png");
}

template <class W>
void expectSelectionBlock(W* w) {
    EXPECT_EQ(w->Text2->text(), "*.grd");
    EXPECT_EQ(w->Label2->text(), "Input grid filename (*.grd)");
    EXPECT_EQ(w->Label8->text(), "Crest name");
    EXPECT_EQ(w->DirC->text(), "Dir");
    EXPECT_EQ(w->File2->pattern(), "*.grd");
    EXPECT_TRUE(w->Label3->text().isEmpty());
    ASSERT_EQ(w->Combo1->count(), 12);
    EXPECT_EQ(w->Combo1->itemText(0), "Preparacrista");
    EXPECT_EQ(w->Combo1->itemText(8), "Cristid obliqua");
    EXPECT_EQ(w->Combo1->currentText(), "");  // nothing chosen, nothing shown
    EXPECT_TRUE(w->CrestCode.empty());
}

} // namespace

TEST(CrestWindows, OpenFromTheMenuWithTheirDesignValues) {
    Env env;
    auto* a = env.open<frmAppAng>(env.main->mnuAppAng, "frmAppAng");
    ASSERT_TRUE(a && a->isVisible());
    EXPECT_EQ(a->windowTitle(), "Approach angle of crest");
    expectSelectionBlock(a);
    EXPECT_TRUE(a->Label4->text().isEmpty());
    EXPECT_EQ(a->Label1->text(), "Occlusal vector");
    EXPECT_EQ(a->Label6->text(), "Crest");
    EXPECT_THAT(a->Label5->text().toStdString(), ::testing::EndsWith("and calculates approach angle."));
    EXPECT_TRUE(a->optTribo->isChecked());
    EXPECT_EQ(a->optCarnass->text(), "Carnassial");
    EXPECT_EQ(a->cmdOccVect->text(), "Find occlusal vector");
    EXPECT_EQ(a->cmdDigCrestLength->text(), "Digitise crest and translate");
    EXPECT_EQ(a->cmdNextCrest->text(), "Next crest");
    EXPECT_EQ(a->cmdNextGrid->text(), "Next grid");
    EXPECT_EQ(a->cmdExit->text(), "Exit");

    auto* c = env.open<frmCapture>(env.main->mnuCapture, "frmCapture");
    ASSERT_TRUE(c && c->isVisible());
    EXPECT_EQ(c->windowTitle(), "Find capture area enclosed by crest");
    expectSelectionBlock(c);
    EXPECT_EQ(c->Label7->text(), "Capture area boundary");
    EXPECT_EQ(c->cmdDigCBound->text(), "Delimit top of capture area");
    EXPECT_EQ(c->cmdDigCrestLength->text(), "Digitise crest");
    EXPECT_THAT(c->Label5->text().toStdString(), ::testing::EndsWith("and calculates area enclosed by crest."));

    auto* r = env.open<frmRake>(env.main->mnuRake, "frmRake");
    ASSERT_TRUE(r && r->isVisible());
    EXPECT_EQ(r->windowTitle(), "Rake angle");
    expectSelectionBlock(r);
    EXPECT_EQ(r->cmdDigCuspArea->text(), "Digitise cusp area and trans");
    EXPECT_EQ(r->cmdInputTransGrid->text(), "Input trans grid");
    EXPECT_EQ(r->cmdSlice->text(), "Find rake angle");
    EXPECT_TRUE(r->Check1->isChecked());
    EXPECT_EQ(r->Check1->text(), "Use default");
    EXPECT_EQ(r->Text3->text(), "4");
    EXPECT_FALSE(r->Text3->isVisible());
    EXPECT_FALSE(r->Label9->isVisible());
    EXPECT_TRUE(r->chkInputLengthFile->isChecked());
    EXPECT_EQ(r->txtInputLengthFile->text(), "_tl");
    EXPECT_EQ(r->fraRakeSurface->title(), "Rake surface");
    EXPECT_TRUE(r->optLengthB->isChecked());
    EXPECT_EQ(r->txtRakeLengthF->text(), "1");
    EXPECT_EQ(r->txtRakeIntF->text(), "0.05");
    EXPECT_EQ(r->txtRakeLengthM->text(), "0.25");
    EXPECT_EQ(r->txtRakeIntM->text(), "20");
    EXPECT_EQ(r->fraCrestInfo->title(), "Add crest info");
    EXPECT_TRUE(r->optCrestInfo2->isChecked());
    EXPECT_EQ(r->Option1->text(), "None");
    EXPECT_EQ(r->txtCrestInfo->text(), "1");
    EXPECT_EQ(r->cmbCrestInfo->count(), 3);
    EXPECT_EQ(r->cmbCrestInfo->itemText(2), "post");
    screenshot(a, "frmAppAng");
    screenshot(c, "frmCapture");
    screenshot(r, "frmRake");
    r->Check1->click();
    EXPECT_TRUE(r->Text3->isVisible());
    EXPECT_TRUE(r->Label10->isVisible());

    // Exit unloads; the menu builds the window afresh.
    a->Combo1->setCurrentText("Hypocristid");
    a->Combo1_Click();
    a->cmdExit->click();
    QApplication::processEvents();
    auto* again = env.open<frmAppAng>(env.main->mnuAppAng, "frmAppAng");
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->CrestCode.empty());
}

TEST(CrestWindows, SelectionBlockFollowsTheListsAsEachWindowDoes) {
    Env env;
    env.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    std::filesystem::create_directory(env.path("sub"));
    auto* a = env.open<frmAppAng>(env.main->mnuAppAng, "frmAppAng");
    auto* c = env.open<frmCapture>(env.main->mnuCapture, "frmCapture");
    for (CrestSelectWindow* w : {static_cast<CrestSelectWindow*>(a), static_cast<CrestSelectWindow*>(c)}) {
        env.choose(w, "T1.grd", "Cristid obliqua");
        EXPECT_EQ(w->Text2->text(), "T1.grd");
        EXPECT_EQ(w->Label3->text().toStdString(), env.folder());
        EXPECT_EQ(w->CrestCode, "crob");
        EXPECT_EQ(w->Label4->text(), "crob");
        w->Combo1_Click();  // the same name again: the same code
        EXPECT_EQ(w->Label4->text(), "crob");
        w->Dir2->setPath(QString::fromStdString(env.path("sub")));
    }
    EXPECT_EQ(a->Label3->text().toStdString(), env.path("sub"));  // follows the folder list
    EXPECT_EQ(c->Label3->text().toStdString(), env.folder());    // stays with the chosen grid

    a->cmdNextCrest->click();
    EXPECT_TRUE(a->CrestCode.empty());
    EXPECT_TRUE(a->Label4->text().isEmpty());
    EXPECT_EQ(a->Combo1->currentText(), "");
    EXPECT_EQ(a->Text2->text(), "T1.grd");
    c->cmdNextGrid->click();
    EXPECT_EQ(c->Text2->text(), "*.grd");
    EXPECT_TRUE(c->CrestCode.empty());

    // "Dir" loads the default directory from the settings file.
    env.app.DefaultDir = env.path("sub");
    a->DirC->click();
    EXPECT_EQ(a->Label3->text().toStdString(), env.path("sub"));
}

TEST(CrestWindows, ApproachAngleAndCaptureAreaRunThroughTheirButtons) {
    Env env;
    env.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    auto* a = env.open<frmAppAng>(env.main->mnuAppAng, "frmAppAng");
    a->cmdOccVect->click();  // no crest chosen yet
    EXPECT_EQ(env.prompt.shown.back().title, "Filename");
    env.choose(a, "T1.grd", "Paracristid");
    env.digitise("digit.dat", "4,10\r\n4,0\r\n");
    a->cmdOccVect->click();
    ASSERT_TRUE(a->occlusal().OcclusalUnitVector) << env.lastMessage();
    env.digitise("digit1.dat", "1,2.5\r\n15,2.5\r\n");
    a->cmdDigCrestLength->click();
    EXPECT_EQ(env.lines("T1pacd_crsltrs_aaresults.csv").size(), 16u) << env.lastMessage();

    auto* c = env.captureWithTop();
    ASSERT_TRUE(c->captureTop()) << env.lastMessage();
    for (const char* crest : {"Paracristid", "Protocristid"}) {  // two crests against one top
        c->Combo1->setCurrentText(crest);
        c->Combo1_Click();
        env.digitise("digit2.dat", "1,2.5\r\n15,2.5\r\n");
        c->cmdDigCrestLength->click();
    }
    EXPECT_EQ(env.lines("T1pacd_capresults.csv").size(), 15u) << env.lastMessage();
    EXPECT_EQ(env.lines("T1pacd_capresults.csv"), env.lines("T1prcd_capresults.csv"));
    EXPECT_FALSE(env.prompt.busyNow);
}

TEST(CrestWindows, ApproachAngleSaysACrestMeasuredAgainReplacedItsResults) {
    Env env;
    env.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    auto* a = env.open<frmAppAng>(env.main->mnuAppAng, "frmAppAng");
    env.choose(a, "T1.grd", "Paracristid");
    env.digitise("digit.dat", "4,10\r\n4,0\r\n");
    a->cmdOccVect->click();
    env.digitise("digit1.dat", "1,2.5\r\n15,2.5\r\n");
    a->cmdDigCrestLength->click();
    EXPECT_FALSE(a->lblStatus->text().contains("Replaced")) << a->lblStatus->text().toStdString();
    // The next crest digitised without "Next crest": the same names, the same "Wrote" line.
    env.digitise("digit1.dat", "1,5\r\n15,5\r\n");
    a->cmdDigCrestLength->click();
    EXPECT_THAT(a->lblStatus->text().toStdString(),
                ::testing::HasSubstr("Replaced the earlier results of this crest (T1pacd_crsltrs_aaresults.csv): to "
                                     "measure another crest, press \"Next crest\" and choose its name."));
}

// A step of an earlier run cut short in the grid's folder is settled by the step that reads
// there: said on the step's own status line, and its files are not listed as the step's.
TEST(CrestWindows, TheStatusLineSaysWhatTheStepSettledApartFromWhatItWrote) {
    Env env;
    env.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    auto* a = env.open<frmAppAng>(env.main->mnuAppAng, "frmAppAng");
    env.choose(a, "T1.grd", "Paracristid");
    trelvik::testing::writeOld(env.dir);
    trelvik::testing::commitKilledAfter(env.dir.dir(), 1);
    const std::size_t before = env.prompt.shown.size();
    env.digitise("digit.dat", "4,10\r\n4,0\r\n");
    a->cmdOccVect->click();
    for (std::size_t i = before; i < env.prompt.shown.size(); ++i)
        EXPECT_EQ(env.prompt.shown[i].text.find("cut short"), std::string::npos) << env.prompt.shown[i].text;
    // What the line says, wherever it breaks (before a deep folder, for one).
    const std::string status = a->lblStatus->text().simplified().toStdString();
    EXPECT_THAT(status, ::testing::HasSubstr("was finished: a.dat, b.dat and c.dat hold its new files."));
    EXPECT_EQ(status.find("cut short"), status.rfind("cut short")) << status;
    EXPECT_THAT(status, ::testing::StartsWith("Wrote T1pacd_ovp.dat, T1pacd_ovpz.dat in "));
}

// A step refused for an input that is not there says what it settled on its status line
// alone, its refusal in a message.
TEST(CrestWindows, ARefusedStepSaysWhatItSettledAloneOnItsStatusLine) {
    Env env;
    env.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    auto* a = env.open<frmAppAng>(env.main->mnuAppAng, "frmAppAng");
    env.choose(a, "T1.grd", "Paracristid");
    a->optCarnass->setChecked(true);  // needs the tooth's plane formula file, not made
    trelvik::testing::writeOld(env.dir);
    trelvik::testing::commitKilledAfter(env.dir.dir(), 1);
    const std::size_t before = env.prompt.shown.size();
    a->cmdOccVect->click();
    ASSERT_EQ(env.prompt.shown.size(), before + 1);
    EXPECT_THAT(env.prompt.shown.back().text, ::testing::HasSubstr("plane formula file"));
    const std::string status = a->lblStatus->text().toStdString();
    EXPECT_THAT(status, ::testing::StartsWith("A step cut short in "));
    EXPECT_THAT(status, ::testing::EndsWith("was finished: a.dat, b.dat and c.dat hold its new files."));
    EXPECT_EQ(status.find("cut short"), status.rfind("cut short")) << status;
}

TEST(CrestWindows, CaptureAreaSaysHowManySlicePointsOfACrestOffTheCrownItMeasured) {
    Env env;
    env.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    auto* c = env.captureWithTop();
    env.digitise("digit2.dat", "1,2.5\r\n25,2.5\r\n");  // leaves the grid at x = 20
    c->cmdDigCrestLength->click();
    ASSERT_TRUE(env.exists("T1pacd_capresults.csv")) << env.lastMessage();
    EXPECT_THAT(c->lblStatus->text().toStdString(),
                ::testing::HasSubstr("Measured 20 of the crest's 21 slice points"));
}

// The status line keeps its room whether it shows a line or none, so no button moves
// under a click aimed at it as a step begins or ends.
TEST(CrestWindows, StatusLineComingOrGoingMovesNoControl) {
    Env env;
    auto* a = env.open<frmAppAng>(env.main->mnuAppAng, "frmAppAng");
    auto* c = env.open<frmCapture>(env.main->mnuCapture, "frmCapture");
    frmCuspOR o(env.app, env.prompt);
    o.show();
    const std::pair<QWidget*, QLabel*> windows[] = {{a, a->lblStatus}, {c, c->lblStatus}, {&o, o.lblStatus}};
    for (const auto& [w, status] : windows) {
        auto places = [w] {
            w->layout()->activate();
            std::vector<QRect> r;
            for (QPushButton* b : w->findChildren<QPushButton*>())
                r.push_back(QRect(b->mapTo(w, QPoint(0, 0)), b->size()));
            return r;
        };
        const auto empty = places();
        status->setText("Wrote T1pacd_ovp.dat in /tmp");
        EXPECT_EQ(places(), empty) << w->windowTitle().toStdString();
        status->setText(QString("Wrote T1pacd_CPlpt.dat, T1pacd_CPlpt.grd and 7 more in /tmp/a/folder ").repeated(4));
        EXPECT_EQ(places(), empty) << w->windowTitle().toStdString();
        status->clear();
        EXPECT_EQ(places(), empty) << w->windowTitle().toStdString();
    }
}

// Every step of the windows with a status line empties the line as it starts (no line of
// the step before stays) and names what it wrote as it ends.
TEST(CrestWindows, EveryWritingStepOfTheStatusLineWindowsNamesWhatItWrote) {
    auto stale = [](QLabel* line) { line->setText("Wrote an earlier step's file"); };
    const std::pair<const char*, std::function<QString(Env&)>> steps[] = {
        {"T1_Prof.dat", [&](Env& env) {  // occlusion relief: the groove profile
             frmCuspOR w(env.app, env.prompt);
             w.Dir2->setPath(QString::fromStdString(env.folder()));
             w.Text2->setText("T1.grd");
             stale(w.lblStatus);
             env.digitise("digit.dat", "1,10\r\n19,10\r\n");
             w.cmdDigProf->click();
             return w.lblStatus->text();
         }},
        {"T1pacd_ovp.dat", [&](Env& env) {
             frmAppAng w(env.app, env.prompt);
             env.choose(&w, "T1.grd", "Paracristid");
             stale(w.lblStatus);
             env.digitise("digit.dat", "4,10\r\n4,0\r\n");
             w.cmdOccVect->click();
             return w.lblStatus->text();
         }},
        {"T1pacd_CPlp.dat", [&](Env& env) {  // the capture area's occlusal vector, then its top
             frmCapture w(env.app, env.prompt);
             env.choose(&w, "T1.grd", "Paracristid");
             stale(w.lblStatus);
             env.digitise("digit.dat", "4,10\r\n4,0\r\n");
             w.cmdOccVect->click();
             if (!w.lblStatus->text().contains("T1pacd_ovp.dat")) return w.lblStatus->text();
             stale(w.lblStatus);
             env.digitise("digit1.dat", "0,18\r\n20,20\r\n10,19\r\n");
             w.cmdDigCBound->click();
             return w.lblStatus->text();
         }},
        {"T1S1_crp.bln", [&](Env& env) {  // enamel: the occlusal vector, then the outlines
             frmEnamOut w(env.app, env.prompt);
             w.Text7->setText("T1.grd");
             w.cmdInputTopo->click();
             stale(w.lblStatus);
             env.digitise("digit.dat", "3,5\r\n3,3\r\n");
             w.cmdDigOccVect->click();
             if (!w.lblStatus->text().contains("T1_ovp.dat")) return w.lblStatus->text();
             stale(w.lblStatus);
             w.txtNoSeg->setText("1");
             env.digitise("digit1.dat", "1,1\r\n2,1\r\n");
             w.cmdDigEnamOut->click();
             return w.lblStatus->text();
         }},
        {"T1_tab.dat", [&](Env& env) {
             frmRotateAll w(env.app, env.prompt);
             w.Text1->setText("T1.grd");
             w.Check1->setChecked(false);
             stale(w.lblStatus);
             w.cmdEnterGrid->click();
             return w.lblStatus->text();
         }},
        {"tempdat1.dat", [&](Env& env) {  // landmarks: Convert, then Slice
             frmLandFind w(env.app, env.prompt);
             env.dir.write("t1.dat", "2,2\r\n6,5\r\n");
             w.Text5->setText("1");
             w.Text1->setText("t1.dat");
             w.Command4->click();
             stale(w.lblStatus);
             w.Command5->click();
             if (!w.lblStatus->text().contains("tempbln1.bln")) return w.lblStatus->text();
             stale(w.lblStatus);
             w.Text2->setText("T1.grd");
             w.Command6->click();
             return w.lblStatus->text();
         }},
    };
    for (const auto& [wrote, run] : steps) {
        Env env;
        env.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
        const QString line = run(env);
        EXPECT_TRUE(line.startsWith("Wrote ") && line.contains(wrote) && !line.contains("earlier step"))
            << wrote << ": \"" << line.toStdString() << "\" " << env.lastMessage();
    }
}

TEST(CrestWindows, RakeAngleRunsThroughItsButtonsAndPlotsTheTransformedGrid) {
    Env env;
    env.grid("T1.grd", makeGrid(41, 41, 0, 20, 0, 20, cusp));
    env.dir.write("T1_tl.txt", "6\r\n");
    auto* r = env.open<frmRake>(env.main->mnuRake, "frmRake");
    env.choose(r, "T1.grd", "Protocristid");
    env.digitise("digit.dat", "10,10\r\n10,2\r\n");
    r->cmdOccVect->click();
    env.digitise("digit1.dat", "5,5\r\n15,5\r\n15,15\r\n5,15\r\n");
    r->cmdDigCuspArea->click();
    ASSERT_FALSE(r->rakeState().TransGrid.empty()) << env.lastMessage();
    EXPECT_EQ(r->Label9->text(), "0.5");
    EXPECT_EQ(r->Text3->text(), "0.25");
    EXPECT_EQ(r->txtRakeLengthF->text(), "6");
    auto* fns = qobject_cast<frmSurfFns*>(env.main->windows().find("frmSurfFns"));
    ASSERT_TRUE(fns);
    EXPECT_FALSE(fns->isVisible());
    EXPECT_EQ(fns->txtZenith->text(), "90");  // the "Above" preset
    const auto maps = surfer::asPlot(env.app.SurferApp->ActiveDocument())->Shapes.maps();
    ASSERT_EQ(maps.size(), 2u);
    EXPECT_EQ(maps[0]->gridPath(), r->rakeState().TransGrid);

    r->optLengthF->setChecked(true);
    r->Option1->setChecked(true);
    // The rake line is digitised on the map of the transformed grid, in its own coordinates.
    const Grid g = formats::readSurferGrid(r->rakeState().TransGrid);
    const double cx = (g.xMin + g.xMax) / 2, cy = (g.yMin + g.yMax) / 2;
    env.digitise("digit2.dat", text::CStr(cx) + "," + text::CStr(cy) + "\r\n" + text::CStr(cx) + "," +
                                   text::CStr(cy + 1) + "\r\n" + text::CStr(cx - 1) + "," + text::CStr(cy) + "\r\n");
    r->cmdSlice->click();
    EXPECT_TRUE(env.exists("T1_rkslprcd-f6_rakeresults.csv")) << env.lastMessage();

    r->cmdNextGrid->click();
    EXPECT_EQ(r->Text2->text(), "*.grd");
    EXPECT_TRUE(r->Label9->text().isEmpty());
    EXPECT_TRUE(r->Text3->text().isEmpty());
    EXPECT_EQ(r->txtRakeLengthF->text(), "1");
}

TEST(CrestWindows, GridNameTypedBeforeAnyListClickLiesInTheListedFolder) {
    Env env;
    env.grid("T1.grd", makeGrid(21, 21, 0, 20, 0, 20, tooth));
    auto* c = env.open<frmCapture>(env.main->mnuCapture, "frmCapture");
    c->Dir2->setPath(QString::fromStdString(env.folder()));
    ASSERT_TRUE(c->Label3->text().isEmpty());  // the capture window's label waits for a click
    c->Text2->setText("T1.grd");
    c->Combo1->setCurrentText("Paracristid");
    c->Combo1_Click();
    env.digitise("digit.dat", "4,10\r\n4,0\r\n");
    c->cmdOccVect->click();
    ASSERT_TRUE(c->occlusal().OcclusalUnitVector) << env.lastMessage();
    EXPECT_EQ(c->occlusal().GridFullPath, env.path("T1.grd"));
}
