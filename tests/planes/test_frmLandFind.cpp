// The landmark and enamel-outline windows opened from the main menu: controls with their
// design values, and the main buttons run end to end on files in a temporary folder.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <filesystem>

#include "landmarktest.h"
#include "windowtest.h"
#include "layoutcheck.h"
#include "planes/frmEnamOut.h"
#include "planes/frmLandFind.h"
#include "shell/frmStartup.h"
#include "support/qtapp.h"
#include "surfer/application.h"

using namespace trelvik;
using trelvik::testing::TempFolder;

namespace {

struct Env : planetest::WindowEnv {
    Env() {
        main->setWindowFactory("frmLandFind", [this] { return new frmLandFind(state, prompt); });
        main->setWindowFactory("frmEnamOut", [this] { return new frmEnamOut(state, prompt); });
        landmarktest::writeGrid(dir, "tooth.grd", 11, 11, 0, 10, 0, 10, landmarktest::basalPlane);
    }
    // Two trials of two landmarks added with "No. of data files" showing `count`.
    frmLandFind* withTwoTrialsAdded(const char* count) {
        auto* w = open<frmLandFind>(main->mnuLandFind, "frmLandFind");
        if (!w) return nullptr;
        dir.write("t1.dat", "2,2\r\n6,5\r\n");
        dir.write("t2.dat", "2.5,2\r\n6,5.5\r\n");
        w->Text5->setText(count);
        for (const char* trial : {"t1.dat", "t2.dat"}) {
            pick(w->File1, trial);
            w->Command4->click();
        }
        return w;
    }
};

} // namespace

TEST(frmLandFind, OpensWithItsDesignValuesAndRunsTheWholeRoad) {
    Env env;
    auto* w = env.open<frmLandFind>(env.main->mnuLandFind, "frmLandFind");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Landmark data");
    ASSERT_EQ(w->SSTab1->count(), 4);
    const char* tabs[] = {"Conversion", "Slice grid", "Calculate", "Plane"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(w->SSTab1->tabText(i), tabs[i]);
    const std::pair<QPushButton*, const char*> buttons[] = {
        {w->DirC, "Dir"}, {w->Command4, "Add .dat  filename"}, {w->Command5, "Convert to .bln"},
        {w->Command8, "Exit"}, {w->Command6, "Slice grid"}, {w->Command9, "Exit"}, {w->Command3, "Calculate"},
        {w->cmdReset, "Reset"}, {w->Command10, "Exit"}, {w->Command11, "Find distances to plane"},
        {w->Command2, "Exit"}};
    for (const auto& [b, caption] : buttons) EXPECT_EQ(b->text(), caption);
    const std::pair<QLineEdit*, const char*> boxes[] = {{w->Text1, "*.dat"}, {w->Text2, "*.grd"}, {w->Text3, "*.txt"},
                                                        {w->Text4, "*.txt"}, {w->Text5, "1"}, {w->Text6, "dat filename"}};
    for (const auto& [b, value] : boxes) EXPECT_EQ(b->text(), value);
    EXPECT_EQ(w->Label7->text(), "0/0");
    EXPECT_EQ(w->Label13->text(), "0");
    EXPECT_EQ(w->chkToothLength->text(), "Generate Tooth Length file");
    EXPECT_FALSE(w->chkToothLength->isChecked());
    EXPECT_EQ(w->File2->pattern(), "*.grd");

    // A step out of order is shown as a message; the window stays.
    w->Command5->click();
    ASSERT_EQ(env.prompt.shown.size(), 1u);
    EXPECT_NE(env.prompt.shown[0].text.find("trial file"), std::string::npos);

    env.dir.write("t1.dat", "2,2\r\n6,5\r\n");
    env.dir.write("t2.dat", "2.5,2\r\n6,5.5\r\n");
    env.dir.write("toothplaneform.txt", "z(x,y) = 1 + 0y + 0x\r\n");
    // The lists start at the program's folder with empty labels: a name typed into the
    // box is taken from the list's folder, not from the root.
    EXPECT_EQ(w->Dir1->path().toStdString(), env.dir.folder());
    EXPECT_TRUE(w->Label1->text().isEmpty());
    w->Text5->setText("2");
    w->Text1->setText("t1.dat");
    w->Command4->click();
    EXPECT_EQ(w->landmarks().TrialFiles[0], env.dir.path("t1.dat"));
    env.pick(w->File1, "t2.dat");
    w->Command4->click();
    w->Dir1->setPath(QString::fromStdString(env.dir.folder() + "/.."));
    EXPECT_EQ(w->Dir3->path(), w->Dir1->path());  // the other pages follow
    EXPECT_EQ(w->Label1->text(), w->Dir1->path());
    w->Dir1->setPath(QString::fromStdString(env.dir.folder()));
    EXPECT_EQ(w->Label7->text(), " 2/ 2");
    w->Command5->click();
    EXPECT_EQ(w->Label13->text(), "2");
    env.pick(w->File2, "tooth.grd");
    w->Command6->click();
    EXPECT_EQ(w->Text3->text(), "toothcalcresults.csv");
    w->chkToothLength->setChecked(true);
    w->Command3->click();
    EXPECT_TRUE(std::filesystem::exists(env.dir.path("toothcalcresults.csv")));
    EXPECT_TRUE(std::filesystem::exists(env.dir.path("tooth_tl.txt")));
    env.pick(w->File4, "toothplaneform.txt");
    w->Command11->click();
    EXPECT_NE(env.dir.read("toothcalcresults.csv").find("Distance of Point from plane"), std::string::npos);
    EXPECT_EQ(env.prompt.shown.size(), 1u);

    w->cmdReset->click();
    EXPECT_EQ(w->Label7->text(), "0/0");
    EXPECT_EQ(w->Text5->text(), "1");
    w->Command8->click();
    QApplication::processEvents();
    EXPECT_EQ(env.main->windows().find("frmLandFind"), nullptr);
}

// A smaller count typed after the adds cuts the list at the next add: the counter shows
// the list as cut, which Convert then takes.
TEST(frmLandFind, TheTrialCounterFollowsAListCutToASmallerCount) {
    Env env;
    auto* w = env.withTwoTrialsAdded("3");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Label7->text(), " 2/ 3");
    w->Text5->setText("2");
    w->Command4->click();
    EXPECT_NE(env.prompt.shown.back().text.find("All 2 trial files have been added"), std::string::npos);
    EXPECT_EQ(w->Label7->text(), " 2/ 2");
    w->Command5->click();
    EXPECT_EQ(w->Label13->text(), "2");
}

// Cut to a smaller count, the list no longer holds the trial the "dat filename" box
// showed: the box shows the last one it still holds.
TEST(frmLandFind, TheDatFilenameBoxShowsTheLastTrialOfAListCutShort) {
    Env env;
    auto* w = env.withTwoTrialsAdded("2");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Text6->text(), "t2.dat");
    w->Text5->setText("1");
    w->Command4->click();
    EXPECT_EQ(w->Label7->text(), " 1/ 1");
    EXPECT_EQ(w->Text6->text(), "t1.dat");
}

// "No. of data files" is read at each add: lowered after the trials are added, it leaves
// Convert converting every trial added, which its status line says.
TEST(frmLandFind, ConvertSaysItConvertedTheTrialsAddedWhenTheBoxShowsAnotherCount) {
    Env env;
    auto* w = env.withTwoTrialsAdded("2");
    ASSERT_NE(w, nullptr);
    w->Text5->setText("1");
    w->Command5->click();
    EXPECT_TRUE(w->lblStatus->text().endsWith("\nConverted the 2 trials added: \"No. of data files\" is read when a "
                                              "trial is added, so the 1 it shows now takes effect at the next \"Add "
                                              ".dat  filename\"."))
        << w->lblStatus->text().toStdString();
}

TEST(frmEnamOut, OpensWithItsDesignValuesAndTransformsTheOutlines) {
    Env env;
    auto* w = env.open<frmEnamOut>(env.main->mnuEnamel, "frmEnamOut");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Enamel Outlines");
    const std::pair<QPushButton*, const char*> buttons[] = {
        {w->Command2, "Dir"}, {w->cmdInputTopo, "Input topo grid"}, {w->cmdInputPlane, "Input plane grid"},
        {w->cmdDigOccVect, "Digitise occlusal vector"}, {w->cmdDigEnamOut, "Digitise outline(s)"},
        {w->cmdTransform, "Transform and write to file"}, {w->cmdExit, "Exit"}};
    for (const auto& [b, caption] : buttons) EXPECT_EQ(b->text(), caption);
    EXPECT_EQ(w->Text7->text(), "*.grd");
    EXPECT_EQ(w->txtNoSeg->text(), "");
    for (QLabel* value : {w->lblXValue, w->lblYValue, w->lblCValue}) EXPECT_EQ(value->text(), "");
    EXPECT_EQ(w->optUpper->text(), "Upper");
    EXPECT_EQ(w->optLower->text(), "Lower");
    EXPECT_FALSE(w->optUpper->isChecked() || w->optLower->isChecked());
    EXPECT_EQ(w->Dir3->path().toStdString(), env.dir.folder());  // the program's own folder

    w->cmdInputTopo->click();
    EXPECT_EQ(env.prompt.shown.back().text, "Please choose grid filename");

    // A typed name with the folder label still empty is taken from the list's folder;
    // a double-click then loads the plane, and a further one changes nothing.
    env.dir.write("toothplaneform.txt", "z(x,y) = 0 + 0y + 0x\r\n");
    EXPECT_TRUE(w->Label1->text().isEmpty());
    w->Text7->setText("tooth.grd");
    w->cmdInputTopo->click();
    EXPECT_EQ(w->enamel().TopoGrid, env.dir.path("tooth.grd"));
    env.pick(w->File3, "tooth.grd");
    emit w->File3->doubleClicked();
    EXPECT_TRUE(w->enamel().TopoLoaded && w->enamel().PlaneLoaded);
    EXPECT_EQ(w->lblXValue->text(), "0");
    w->Text7->setText("other.grd");
    emit w->File3->doubleClicked();
    EXPECT_EQ(w->Text7->text(), "other.grd");
    // The list handlers exist under their names and act as the lists do.
    w->File3_Click();
    EXPECT_EQ(w->Text7->text(), "tooth.grd");
    EXPECT_EQ(w->Label1->text().toStdString(), env.dir.folder());

    env.prompt.respond([&](const ScriptedPrompt::Shown& s) {
        EXPECT_EQ(s.title, "Digitise map");
        EXPECT_EQ(s.text, "Use 'Digitise' to define occlusal vector.\n\rSave as digit.dat in same directory as grid "
                          "then press 'OK'.");
        env.dir.write("digit.dat", "3,5\r\n3,3\r\n");
        return Answer::Ok;
    });
    w->cmdDigOccVect->click();
    w->txtNoSeg->setText("1");
    env.prompt.respond([&](const ScriptedPrompt::Shown& s) {
        EXPECT_EQ(s.text, "Use 'Digitise' to define enamel outline 1.\n\rSave as digit1.dat in same directory as "
                          "grid then press 'OK'.");
        env.dir.write("digit1.dat", "1,1\r\n2,1\r\n");
        return Answer::Ok;
    });
    w->cmdDigEnamOut->click();
    env.prompt.answer(Answer::Yes);  // "Upper outline?"
    w->cmdTransform->click();
    EXPECT_EQ(env.prompt.shown.back().text, "Upper outline?");
    EXPECT_TRUE(w->optUpper->isChecked());
    // The vector points along +y already, so an upper tooth only has y negated.
    EXPECT_EQ(env.dir.read("toothOut.csv"), "1,-1\r\n2,-1\r\n1,-1\r\n99999,\r\n");
    EXPECT_EQ(env.dir.read("toothOutZ.csv"), "1,-1,1.75\r\n2,-1,2.25\r\n1,-1,1.75\r\n99999,\r\n");
}

// One opening works on one tooth: another grid or plane is refused by naming the one in
// use, which the window shows.
TEST(frmEnamOut, AnotherGridIsRefusedByNamingTheGridInUse) {
    Env env;
    auto* w = env.open<frmEnamOut>(env.main->mnuEnamel, "frmEnamOut");
    ASSERT_NE(w, nullptr);
    env.dir.write("toothplaneform.txt", "z(x,y) = 0 + 0y + 0x\r\n");
    landmarktest::writeGrid(env.dir, "other.grd", 11, 11, 0, 10, 0, 10, landmarktest::basalPlane);
    env.dir.write("otherplaneform.txt", "z(x,y) = 1 + 0y + 0x\r\n");
    env.pick(w->File3, "tooth.grd");
    w->cmdInputTopo->click();
    w->cmdInputPlane->click();
    const QString inUse = "Grid in use: tooth.grd; plane from toothplaneform.txt";
    EXPECT_EQ(w->lblInUse->text(), inUse);
    env.pick(w->File3, "other.grd");
    const std::string oneTooth = ": one opening of the window works on one tooth. To take another tooth, press Exit and "
                                 "open the window again.";
    w->cmdInputTopo->click();
    ASSERT_EQ(env.prompt.shown.size(), 1u);
    EXPECT_EQ(env.prompt.shown.back().text, "The topo grid in use is " + env.dir.path("tooth.grd") + oneTooth);
    w->cmdInputPlane->click();
    ASSERT_EQ(env.prompt.shown.size(), 2u);
    EXPECT_EQ(env.prompt.shown.back().text, "The plane in use is " + env.dir.path("toothplaneform.txt") +
                                                ", of the topo grid " + env.dir.path("tooth.grd") + oneTooth);
    EXPECT_EQ(w->lblInUse->text(), inUse);
    EXPECT_EQ(w->lblCValue->text(), "0");
}

// A run cut short after a longer one leaves segments of both runs for the transform: the
// status line says which, before the transform and after it.
TEST(frmEnamOut, ARunEndedEarlySaysWhichSegmentsTheTransformWillWriteAndWrote) {
    Env env;
    auto* w = env.open<frmEnamOut>(env.main->mnuEnamel, "frmEnamOut");
    ASSERT_NE(w, nullptr);
    w->Text7->setText("tooth.grd");
    w->cmdInputTopo->click();
    auto digitise = [&](const std::string& file) {
        env.prompt.respond([&env, file](const ScriptedPrompt::Shown&) {
            env.dir.write(file, "1,1\r\n2,1\r\n");
            return Answer::Ok;
        });
    };
    w->txtNoSeg->setText("3");
    for (const char* file : {"digit1.dat", "digit2.dat", "digit3.dat"}) digitise(file);
    w->cmdDigEnamOut->click();
    EXPECT_TRUE(w->lblStatus->text().startsWith("Wrote ")) << w->lblStatus->text().toStdString();
    w->txtNoSeg->setText("2");
    digitise("digit1.dat");
    env.prompt.answer(Answer::Cancel);
    w->cmdDigEnamOut->click();
    EXPECT_EQ(w->lblStatus->text().toStdString(), "The outline run ended early: \"Transform and write to file\" will "
                                                  "write segment 1 from this run and segments 2 and 3 kept from before.");
    env.dir.write("toothplaneform.txt", "z(x,y) = 0 + 0y + 0x\r\n");
    w->cmdInputPlane->click();
    digitise("digit.dat");
    w->cmdDigOccVect->click();
    w->optLower->setChecked(true);
    w->cmdTransform->click();
    // Where the line breaks follows the folder's length (before a deep folder, which may
    // show shortened): what it says does not.
    const QString line = w->lblStatus->text().simplified();
    EXPECT_TRUE(line.contains("toothOutZ.csv in ") &&
                line.endsWith(" The outline run ended early: the outlines written hold segment 1 from this run and "
                              "segments 2 and 3 kept from before."))
        << w->lblStatus->text().toStdString();
}

TEST(frmLandFind, ShowsEveryControlWholeOnEveryPage) {
    Env env;
    auto* w = env.open<frmLandFind>(env.main->mnuLandFind, "frmLandFind");
    ASSERT_NE(w, nullptr);
    for (int i = 0; i < w->SSTab1->count(); ++i) {
        w->SSTab1->setCurrentIndex(i);
        EXPECT_EQ(layoutcheck::cutControls(w), std::vector<std::string>{}) << w->SSTab1->tabText(i).toStdString();
    }
}

TEST(frmEnamOut, ReadingAPlaneKeepsTheCaptionsAndTheWindowsWidth) {
    Env env;
    auto* w = env.open<frmEnamOut>(env.main->mnuEnamel, "frmEnamOut");
    ASSERT_NE(w, nullptr);
    QApplication::processEvents();
    const int width = w->width();
    env.dir.write("toothplaneform.txt", "z(x,y) = -1.23456789012345E-05 + -0.00569230769230769y + 0.0137428571428571x\r\n");
    w->Text7->setText("tooth.grd");
    w->cmdInputTopo->click();
    w->cmdInputPlane->click();
    QApplication::processEvents();
    ASSERT_EQ(w->lblCValue->text(), "-1.23456789012345E-05");
    EXPECT_EQ(w->width(), width);
    QStringList captions;
    for (const QLabel* l : w->findChildren<QLabel*>()) captions << l->text();
    for (const char* c : {"PlaneX", "PlaneY", "PlaneC"}) EXPECT_TRUE(captions.contains(c)) << c;
    for (QLabel* value : {w->lblXValue, w->lblYValue, w->lblCValue})
        EXPECT_GE(value->contentsRect().width(), value->fontMetrics().horizontalAdvance(value->text()));
}

TEST(frmEnamOut, ShowsEveryControlWholeWithinAScreensWidth) {
    Env env;
    auto* w = env.open<frmEnamOut>(env.main->mnuEnamel, "frmEnamOut");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(layoutcheck::cutControls(w), std::vector<std::string>{});
    EXPECT_LE(w->width(), 1024);
}
