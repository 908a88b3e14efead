// The viewer window offscreen: opened from the main window's Utilities menu, its
// controls as designed, a lattice file read and drawn, the read-outs, the copy frame
// and the analyses' buttons run end to end on files in a temporary folder.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>

#include <filesystem>
#include <tuple>

#include "csvview/frmCSVView_picture.h"
#include "shell/frmStartup.h"
#include "shell/settings.h"
#include "support/killedcommits.h"
#include "test_frmwindow.h"
#include "widgets/filelistbox.h"
#include "widgets/fitscreen.h"

using namespace trelvik;
using namespace trelvik::csvview;

namespace {

// A 5 x 4 lattice, step 1 from (1, 1), on the tilted plane z = 0.5 x + 2; the node
// (3, 2) is missing.
class CsvViewWindow : public frmtest::ViewerFixture {
protected:
    void readPlane() {
        std::string t;
        for (int y = 1; y <= 4; ++y)
            for (int x = 1; x <= 5; ++x)
                if (!(x == 3 && y == 2))
                    t += std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(0.5 * x + 2) + "\r\n";
        csvtest::writeText(path("plane.csv"), t);
        read("plane.csv");
    }
    int pixelsOf(std::uint32_t colour) const {
        const RgbImage& b = w->views().buffer;
        int n = 0;
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x) n += b.at(x, y) == colour;
        return n;
    }
};

} // namespace

TEST(CsvViewMenu, UtilitiesCsvViewerOpensOneViewerWindow) {
    testsupport::ensureApp();
    QTemporaryDir programDir;
    AppState state;
    state.ProgramDir = programDir.path().toStdString();
    ScriptedPrompt prompt;
    LoadSettingsAtStartup(state, programDir.path().toStdString());
    frmStartup main(state, prompt);
    EXPECT_FALSE(main.mnuCSVView->isEnabled());
    main.setWindowFactory("frmCSVView", [&] { return new frmCSVView(state, prompt); });
    ASSERT_TRUE(main.mnuCSVView->isEnabled());
    main.mnuCSVView->trigger();
    auto* viewer = qobject_cast<frmCSVView*>(main.windows().find("frmCSVView"));
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->windowTitle(), "CSV Viewer");
    // It opens on the default data directory, with its files listed.
    EXPECT_EQ(viewer->Dir1->path().toStdString(), QDir::cleanPath(programDir.path()).toStdString());
    EXPECT_EQ(viewer->File1->path(), viewer->Dir1->path());
    main.mnuCSVView->trigger();
    EXPECT_EQ(main.windows().find("frmCSVView"), viewer);  // one instance
    main.windows().unloadAll();
}

TEST_F(CsvViewWindow, ControlsStartAsDesigned) {
    const std::pair<QString, QString> texts[] = {
        {w->File1->pattern(), "*.csv;*.dat;*.txt"},
        {w->optDefaultGridSize->text(), QString::fromUtf8("Default (24 \u00d7 24)")},
        {w->cmdReadCSV->text(), "Read CSV"},
        {w->Command3->text(), "Dir"},
        {w->txtMinSlope->text(), "10"},
        {w->txtSlopeNoCat->text(), "9"},
        {w->txtAspectNoCat->text(), "8"},
        {w->txtThresholdB->text(), "0"},
        {w->txtContourScaleZ->text(), "2"},
        {w->txtContourScaleR->text(), "10"},
        {w->cmbPicBoxCopyFrom->currentText(), "W"},
        {w->cmbPicBoxCopyTo->currentText(), "1"},
        {w->lblClumpNameID->text(), "cl_asp8_2"},
        {w->SSTab1->tabText(0), "Orient / slope"},
        {w->SSTab1->tabText(1), "Contour / proc."},
        {w->SSTab1->tabText(2), "CSV view + process"},
        {w->SSTab1->tabText(3), "Multi-tooth files"},
        {w->SSTab1->tabText(4), "Multi-tooth stats"},
    };
    for (const auto& [got, want] : texts) EXPECT_EQ(got, want);
    EXPECT_EQ(w->SSTab1->count(), 5);
    const std::pair<bool, bool> flags[] = {
        {w->chkViewOnClick->isChecked(), true},        {w->chkOrigModelFile->isChecked(), false},
        {w->optMinGridSize->isChecked(), true},        {w->optContourScaleZ->isChecked(), true},
        {w->chkContourSaveImage->isChecked(), true},   {w->cmdProcClump->isEnabled(), true},
        {w->cmdReadMultiCSV->isEnabled(), true},       {w->cmdOutputMultiTIF->isEnabled(), false},
        {w->Command1->isEnabled(), false},             {w->ViewerEnabled, true},
    };
    for (std::size_t k = 0; k < std::size(flags); ++k) EXPECT_EQ(flags[k].first, flags[k].second) << k;
    // the shaded-relief bars start from their boxes; a bar moved writes its box,
    // a weight typed leaves its bar alone
    EXPECT_EQ(w->vscSRHoriz->value(), 315);
    w->vscSRVert->setValue(30);
    EXPECT_EQ(w->txtSRVert->text(), "30");
    w->txtSRw->setText("0.5");
    EXPECT_EQ(w->vscSRw->value(), 0);
    EXPECT_EQ(w->picBoxI[3]->size(), QSize(165, 165));  // empty views at display size plus frame
    w->chkUseMinSlope->setChecked(true);
    EXPECT_EQ(w->lblClumpNameID->text(), "cl_asp8_2_10");
}

// The copy lists are editable: the item the wheel and the drop-down start from is the
// one each shows.
TEST_F(CsvViewWindow, CopyListsOpenOnTheItemTheyShow) {
    for (QComboBox* c : {w->cmbPicBoxCopyFrom, w->cmbPicBoxCopyTo})
        EXPECT_EQ(c->itemText(c->currentIndex()), c->currentText());
}

TEST_F(CsvViewWindow, ReadDrawsCurrentAndWorkingViewsWithReadouts) {
    readPlane();
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    const CurrentGrid& g = w->currentGrid();
    ASSERT_EQ(g.cols, 7);  // the minimum size: one empty margin cell each side
    ASSERT_EQ(g.rows, 6);
    EXPECT_EQ(w->picBoxD->size(), QSize(317, 272));  // 7 x 6 fitted to 313 wide, plus frame
    // one pixel per cell, highest row on top; heights 2.5 .. 4.5
    const RgbImage& buf = w->views().buffer;
    EXPECT_EQ(buf.at(0, 0), kBlack);      // margin cell, empty
    EXPECT_EQ(redOf(buf.at(1, 1)), 0);    // x = 1: lowest height
    EXPECT_EQ(redOf(buf.at(3, 1)), 128);  // x = 3: 127.5 to even
    EXPECT_EQ(redOf(buf.at(5, 1)), 255);  // x = 5: highest
    EXPECT_EQ(buf.at(3, 3), kBlack);      // the missing node (3, 2)
    EXPECT_EQ(w->picBoxW->size(), QSize(253, 217));

    // read-outs: top-left is column 1 and the top row; cell (6, 5) holds x = 5, y = 4
    w->picBoxD_MouseMove(0, 0);
    EXPECT_EQ(w->lblY_D->text(), "6");
    EXPECT_EQ(w->lblZR_D->text(), "-");
    w->picBoxD_MouseMove(5 * 313 / 7 + 20, 268 / 6 + 20);
    EXPECT_EQ(w->lblX_D->text(), "6");
    EXPECT_EQ(w->lblY_D->text(), "5");
    EXPECT_EQ(w->lblXR_D->text(), "5");
    EXPECT_EQ(w->lblZR_D->text(), "4.5");
    EXPECT_EQ(w->lblZ_D->text(), "255");
    w->picBoxP_MouseMove(10, 10);  // processed view not drawn: nothing shown
    EXPECT_EQ(w->lblX_P->text(), "");
    w->picBoxW_MouseMove(10, 10);
    EXPECT_FALSE(w->lblZR_W->text().isEmpty());

    // the next read empties every read-out until the mouse is over a view again
    w->cmdReadCSV->click();
    for (QLabel* l : {w->lblX_D, w->lblZR_D, w->lblX_W, w->lblZR_W, w->lblZ_P}) EXPECT_EQ(l->text(), "") << l->objectName().toStdString();
}

TEST_F(CsvViewWindow, FailedReadIsShownAndButtonsThatChangeNothingSayWhy) {
    read("absent.csv");
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_NE(prompt.shown[0].text.find("absent.csv"), std::string::npos);
    EXPECT_TRUE(w->currentGrid().empty());
    EXPECT_FALSE(prompt.busyNow);
    // Every button that works on the grid, or on the teeth, says what it waits for, and
    // the batches of a folder without .dat files name it.
    const std::pair<std::vector<QPushButton*>, std::string> waits[] = {
        {{w->cmdViewCSV, w->cmdICopy, w->cmdCopyPicBox, w->cmdProcAspectSlope, w->cmdProcClump, w->cmdProcContour,
          w->cmdShannonInfo, w->cmdCalcSAVolStats, w->cmdILaPlacian, w->cmdIProc2, w->cmdIProc3, w->cmdImageOutput,
          w->cmdImageProcOutput, w->cmdRotateCW, w->cmdRotateACW, w->cmdRotate180, w->cmdMirrorHoriz,
          w->cmdMirrorVert, w->cmdOutputCSV, w->cmdCopyWRL},
         "No grid has been read: choose a lattice file and press \"Read CSV\"."},
        {{w->cmdViewMultiCSV, w->cmdOutputSingleCSV, w->cmdOutputSingleTIF, w->cmdOutputSingleWRL,
          w->cmdOutputMultiCSV},
         "No multi-tooth file has been read: choose one and press \"Read multi-tooth file\"."},
        {{w->cmdProcAspectSlopeAllFiles, w->cmdProcClumpAllFiles, w->cmdProcContourAllFiles,
          w->cmdCalcSAVolStatsAllFiles},
         "The folder " + w->File1->path().toStdString() +
             " holds no .dat file: \"All files\" runs on every .dat file of the folder shown in the file list."},
    };
    std::size_t shown = 1;
    for (const auto& [buttons, text] : waits)
        for (QPushButton* b : buttons) {
            b->click();
            ASSERT_EQ(prompt.shown.size(), ++shown) << "button " << shown - 2 << "\n" << messages();
            EXPECT_EQ(prompt.shown.back().text, text);
        }

    // With a tooth read and copied, a copy that would change nothing says why, and a
    // tooth output names a tooth the file does not hold.
    std::string tooth = "0,1000\r\n0.001,0.002,5,5,0.25,0.3,0.001,0.002,0.003,0.004\r\n";
    for (int y = 1; y <= 4; ++y)
        for (int x = 1; x <= 4; ++x)
            tooth += std::to_string(x) + "," + std::to_string(y) + ",-" + std::to_string(x + y) + "\r\n";
    csvtest::writeText(path("teeth.csv"), tooth);
    w->Text1->setText("teeth.csv");
    w->cmdReadMultiCSV->click();
    w->cmdICopy->click();
    ASSERT_EQ(prompt.shown.size(), shown) << messages();
    const std::tuple<QString, QString, QPushButton*, std::string> refused[] = {
        {"2", "1", w->cmdCopyPicBox, "Nothing is copied: view 2 holds no grid yet."},
        {"3", "3", w->cmdCopyPicBox, "Nothing is copied: \"From\" and \"To\" both name view 3."},
        {"W", "W", w->cmdCopyPicBox, "Nothing is copied: \"From\" and \"To\" both name view W."},
        {"W", "P", w->cmdCopyPicBox, "Nothing is copied: view P shows what a filter made and takes no copy."},
        {"W", "7", w->cmdCopyPicBox, "Nothing is copied: there is no view \"7\" to copy to; the views are W, P and 1 to 4."},
        {"5", "1", w->cmdCopyPicBox, "Nothing is copied: there is no view \"5\" to copy from; the views are W, P and 1 to 4."},
        {"", "", w->cmdOutputSingleCSV, "Tooth 2 is not in the multi-tooth file: it holds teeth 1 to 1."},
        {"", "", w->cmdOutputSingleTIF, "Tooth 2 is not in the multi-tooth file: it holds teeth 1 to 1."},
        {"", "", w->cmdOutputSingleWRL, "Tooth 2 is not in the multi-tooth file: it holds teeth 1 to 1."},
    };
    w->txtCurrTooth->setText("2");
    for (const auto& [from, to, button, text] : refused) {
        w->cmbPicBoxCopyFrom->setCurrentText(from);
        w->cmbPicBoxCopyTo->setCurrentText(to);
        button->click();
        ASSERT_EQ(prompt.shown.size(), ++shown) << messages();
        EXPECT_EQ(prompt.shown.back().text, text);
    }
}

// A step that fails once it has settled a step cut short in its folder says what the
// settle found after its failure, once: the window's guard ends the step.
TEST_F(CsvViewWindow, AFailedReadSaysWhatItSettledAfterItsFailure) {
    for (const std::string name : {"a", "b", "c"}) csvtest::writeText(path(name + ".dat"), "old " + name);
    trelvik::testing::commitKilledAfter(std::filesystem::path(dir.path().toStdString()), 2);
    csvtest::writeText(path("bad.csv"), "1,2,3\r\n4,five,6\r\n");
    read("bad.csv");
    ASSERT_EQ(prompt.shown.size(), 2u) << messages();
    EXPECT_NE(prompt.shown[0].text.find("bad.csv"), std::string::npos) << messages();
    EXPECT_NE(prompt.shown[1].text.find("was finished: a.dat, b.dat and c.dat hold its new files."),
              std::string::npos)
        << messages();
}

TEST_F(CsvViewWindow, SlopeRunDrawsTheProcessedViewAndSavesFilesAndImage) {
    readPlane();
    w->chkAspectSlopeSaveStats->setChecked(true);
    w->chkAspectSlopeSaveImage->setChecked(true);
    w->cmdProcAspectSlope->click();
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    EXPECT_EQ(w->procMode(), "Slope");
    const QString stem = dir.path() + "/plane";
    EXPECT_TRUE(QFileInfo::exists(stem + "-sl9.bmp"));
    EXPECT_TRUE(QFileInfo::exists(dir.path() + "/slope/planeslopestats.csv"));
    // every analysed cell has gradient 0.5, the highest: drawn full green
    int analysed = 0;
    for (const GridCell& c : w->slopeGrids().slope.cells)
        if (!isVoid(c.z)) {
            ++analysed;
            EXPECT_NEAR(c.z, 0.5, 1e-12);
        }
    EXPECT_GT(analysed, 0);
    EXPECT_EQ(pixelsOf(rgb(0, 255, 0)), analysed);
    w->picBoxP_MouseMove(0, 0);  // the processed view's read-out now answers
    EXPECT_EQ(w->lblX_P->text(), "1");

    // Orientation classes: the plane falls toward -x, a bearing of 270 (W, red)
    w->optProcAspect->setChecked(true);
    w->cmdProcAspectSlope->click();
    EXPECT_EQ(w->procMode(), "Aspect");
    EXPECT_EQ(pixelsOf(rgb(255, 0, 0)), analysed);
    EXPECT_TRUE(QFileInfo::exists(stem + "-asp8.bmp"));
}

TEST_F(CsvViewWindow, SlopeTablesSummaryRowAndPictureGoInPlaceTogether) {
    readPlane();
    w->chkAspectSlopeSaveStats->setChecked(true);
    w->chkAspectSlopeSaveImage->setChecked(true);
    std::filesystem::create_directories(path("slope"));
    csvtest::writeText(path("slope/planeslopestats.csv"), "the earlier table");
    std::filesystem::create_directory(path("plane-sl9.bmp"));  // the picture cannot be put in place
    w->cmdProcAspectSlope->click();
    ASSERT_FALSE(prompt.shown.empty());
    EXPECT_NE(prompt.shown.back().text.find("plane-sl9.bmp"), std::string::npos) << messages();
    EXPECT_EQ(csvtest::readText(path("slope/planeslopestats.csv")), "the earlier table");

    // A file of a folder batch keeps its table and the summary with it.
    frmtest::writeLattice(path("t1.dat"), 6, 5, [](int x, int) { return 0.5 * x; });
    csvtest::writeText(path("slope/t1slopestats.csv"), "the earlier table");
    csvtest::writeText(path("slope/00slopestats.csv"), "the earlier summary\r\n");
    std::filesystem::create_directory(path("t1-sl9.bmp"));
    prompt.shown.clear();
    w->cmdProcAspectSlopeAllFiles->click();
    ASSERT_FALSE(prompt.shown.empty());
    EXPECT_NE(prompt.shown.back().text.find("t1-sl9.bmp"), std::string::npos) << messages();
    EXPECT_EQ(csvtest::readText(path("slope/t1slopestats.csv")), "the earlier table");
    EXPECT_EQ(csvtest::readText(path("slope/00slopestats.csv")), "the earlier summary\r\n");
}

TEST_F(CsvViewWindow, ContourHeightDiversityAndSurfaceButtons) {
    readPlane();
    w->optContourScaleR->setChecked(true);
    w->txtContourScaleR->setText("1");
    w->cmdProcContour->click();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].text, "Value must be >1");
    EXPECT_FALSE(w->views().processedView.drawn);
    w->txtContourScaleR->setText("3");
    w->cmdProcContour->click();
    EXPECT_EQ(w->procMode(), "Contour");
    EXPECT_TRUE(QFileInfo::exists(dir.path() + "/plane-cor3.bmp"));
    // bands 0..2 over heights 2.5 .. 4.5: x = 1 band 0 (grey 85), x = 5 band 2 (white)
    EXPECT_EQ(redOf(w->views().buffer.at(1, 1)), 85);
    EXPECT_EQ(redOf(w->views().buffer.at(5, 1)), 255);
    // a later filter-style drawing does not overwrite the contour image
    QFile::remove(dir.path() + "/plane-cor3.bmp");
    w->DrawProcessedGrid();
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/plane-cor3.bmp"));

    w->cmdShannonInfo->click();
    EXPECT_FALSE(w->lblShannonInfo->text().isEmpty());

    // Surface: of the 4 x 3 squares of the plane the four around the missing node
    // have one empty corner (half a cell of planar area, no surface); the other 8
    // have surface sqrt(1 + 0.5^2) each: RI = 8 * 1.1180 / (8 + 4 / 2) = 0.894
    w->chkSAVolSaveStats->setChecked(true);
    w->cmdCalcSAVolStats->click();
    EXPECT_EQ(w->txtRI->text(), "0.894");
    EXPECT_EQ(w->txtPA->text(), "10");
    EXPECT_EQ(w->txtSA->text(), "8.944");
    EXPECT_TRUE(QFileInfo::exists(dir.path() + "/savol/planesavolstats.csv"));
    EXPECT_EQ(prompt.shown.size(), 1u);
}

TEST_F(CsvViewWindow, CopyFrameFillsAResultViewUntilTheNextRead) {
    readPlane();
    w->cmbPicBoxCopyFrom->setCurrentText("W");
    w->cmbPicBoxCopyTo->setCurrentText("2");
    w->cmdCopyPicBox->click();
    EXPECT_TRUE(w->views().resultViews[1].drawn);
    EXPECT_EQ(w->picBoxI[1]->size(), QSize(165, 142));  // 7 x 6 in 161: 161 x 138
    w->cmdReadCSV->click();
    EXPECT_FALSE(w->views().resultViews[1].drawn);
    EXPECT_EQ(w->picBoxI[1]->size(), QSize(165, 165));
}

TEST_F(CsvViewWindow, FitsTheScreenWithEveryControlReachable) {
    w->show();
    QCoreApplication::processEvents();
    const QSize room = w->screen()->availableGeometry().size();
    EXPECT_LE(w->width(), room.width());
    EXPECT_LE(w->height(), room.height());
    auto* scroll = w->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    for (QWidget* c : std::initializer_list<QWidget*>{w->cmdExit, w->picBoxI[3], w->cmdCopyPicBox, w->SSTab1,
                                                      w->picBoxP}) {
        scroll->ensureWidgetVisible(c, 0, 0);
        QCoreApplication::processEvents();
        const QRect inView(c->mapTo(scroll->viewport(), QPoint(0, 0)), c->size());
        EXPECT_TRUE(scroll->viewport()->rect().contains(inView) || c->width() > scroll->viewport()->width() ||
                    c->height() > scroll->viewport()->height())
            << c->objectName().toStdString();
        EXPECT_GE(c->width(), c->minimumSizeHint().width());
    }
    if (const char* out = std::getenv("TRELVIK_SCREENSHOT_DIR")) {
        for (int k = 0; k < w->SSTab1->count(); ++k) {
            w->SSTab1->setCurrentIndex(k);
            scroll->ensureWidgetVisible(w->SSTab1, 0, 0);
            QCoreApplication::processEvents();
            w->grab().save(QString(out) + "/csvview_tab" + QString::number(k) + ".png");
        }
        scroll->ensureWidgetVisible(w->picBoxI[3], 0, 0);
        QCoreApplication::processEvents();
        w->grab().save(QString(out) + "/csvview_results.png");
    }
}

// On a 1280 x 720 screen the patch-count results are read without scrolling sideways:
// the window is as wide as the screen lets it be and nothing lies beyond its right edge.
TEST_F(CsvViewWindow, PatchCountResultsShowWithoutSidewaysScrollingAt1280x720) {
    w->resize(QSize(1280, 720) - kWindowFrameAllowance);
    w->show();
    QCoreApplication::processEvents();
    auto* scroll = w->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
    std::vector<std::pair<std::string, QLabel*>> results{{"lblNoClumps", w->lblNoClumps},
                                                         {"lblPDClumped", w->lblPDClumped}};
    for (QLabel* l : w->fraClump->findChildren<QLabel*>())
        if (l->text() == "No. patches" || l->text() == "Patch divers.") results.emplace_back(l->text().toStdString(), l);
    ASSERT_EQ(results.size(), 4u);
    for (const auto& [name, l] : results) {
        const QRect inView(l->mapTo(scroll->viewport(), QPoint(0, 0)), l->size());
        EXPECT_TRUE(scroll->viewport()->rect().contains(inView))
            << name << " at " << inView.x() << "," << inView.y() << " " << inView.width() << "x" << inView.height();
    }
}

// On a 1280 x 720 screen the window opens wide enough for all it holds: nothing to
// scroll sideways to, every tab in sight without the tab bar's arrows, and the frame
// within the screen.
TEST_F(CsvViewWindow, OpensWithEveryTabInSightAt1280x720) {
    const QSize screen(1280, 720);
    w->resize(w->designSize().boundedTo(screen - kWindowFrameAllowance));
    w->show();
    QCoreApplication::processEvents();
    auto* scroll = w->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
    const QTabBar* bar = w->SSTab1->tabBar();
    for (int k = 0; k < bar->count(); ++k)
        EXPECT_TRUE(bar->rect().contains(bar->tabRect(k))) << bar->tabText(k).toStdString();
    const QSize frame = w->size() + kWindowFrameAllowance;
    EXPECT_TRUE(frame.width() <= screen.width() && frame.height() <= screen.height())
        << frame.width() << "x" << frame.height();
}
