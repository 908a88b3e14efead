// The viewer window offscreen: opened from the main window's Utilities menu, its
// controls as designed, a lattice file read and drawn, the read-outs, the copy frame
// and the analyses' buttons run end to end on files in a temporary folder.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cmath>
#include <fstream>

#include "csvview/frmCSVView.h"
#include "csvview/frmCSVView_picture.h"
#include "shell/frmStartup.h"
#include "shell/settings.h"
#include "widgets/dirlistbox.h"
#include "widgets/filelistbox.h"

using namespace trelvik;
using namespace trelvik::csvview;

namespace {

void ensureApp() {
    static int argc = 1;
    static char name[] = "test_csvview";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
}

// A 5 x 4 lattice, step 1 from (1, 1), on the tilted plane z = 0.5 x + 2; the node
// (3, 2) is missing.
void writePlaneFile(const QString& path) {
    std::ofstream f(path.toStdString(), std::ios::binary);
    for (int y = 1; y <= 4; ++y)
        for (int x = 1; x <= 5; ++x)
            if (!(x == 3 && y == 2)) f << x << "," << y << "," << 0.5 * x + 2 << "\r\n";
}

class CsvViewWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApp();
        ASSERT_TRUE(dir.isValid());
        state.ProgramDir = dir.path().toStdString();
        writePlaneFile(dir.path() + "/plane.csv");
        w = std::make_unique<frmCSVView>(state, prompt);
        w->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    void readPlane() {
        w->Dir1->setPath(dir.path());
        w->Text1->setText("plane.csv");
        w->cmdReadCSV->click();
    }
    QTemporaryDir dir;
    AppState state;
    ScriptedPrompt prompt;
    std::unique_ptr<frmCSVView> w;
};

int greyAt(const QImage& img, int x, int y) {
    const QRgb c = img.pixel(x, y);
    EXPECT_EQ(qRed(c), qGreen(c));
    EXPECT_EQ(qGreen(c), qBlue(c));
    return qRed(c);
}

} // namespace

TEST(CsvViewMenu, UtilitiesCsvViewerOpensOneViewerWindow) {
    ensureApp();
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
    main.mnuCSVView->trigger();
    EXPECT_EQ(main.windows().find("frmCSVView"), viewer);  // one instance
    main.windows().unloadAll();
}

TEST_F(CsvViewWindow, ControlsStartAsDesigned) {
    EXPECT_EQ(w->File1->pattern(), "*.csv;*.dat;*.txt");
    EXPECT_TRUE(w->chkViewOnClick->isChecked());
    EXPECT_FALSE(w->chkOrigModelFile->isChecked());
    EXPECT_TRUE(w->optMinGridSize->isChecked());
    EXPECT_EQ(w->optDefaultGridSize->text(), QString::fromUtf8("Default (24 \u00d7 24)"));
    EXPECT_EQ(w->cmdReadCSV->text(), "Read CSV");
    EXPECT_EQ(w->Command3->text(), "Dir");
    const QStringList tabs = {"Orient / slope", "Contour / proc.", "CSV view + process", "Multi-tooth files",
                              "Multi-tooth stats"};
    ASSERT_EQ(w->SSTab1->count(), 5);
    for (int k = 0; k < 5; ++k) EXPECT_EQ(w->SSTab1->tabText(k), tabs[k]);
    EXPECT_EQ(w->txtMinSlope->text(), "10");
    EXPECT_EQ(w->txtSlopeNoCat->text(), "9");
    EXPECT_EQ(w->txtAspectNoCat->text(), "8");
    EXPECT_EQ(w->txtThresholdB->text(), "0");
    EXPECT_EQ(w->txtContourScaleZ->text(), "2");
    EXPECT_EQ(w->txtContourScaleR->text(), "10");
    EXPECT_TRUE(w->optContourScaleZ->isChecked());
    EXPECT_TRUE(w->chkContourSaveImage->isChecked());
    EXPECT_EQ(w->cmbPicBoxCopyFrom->currentText(), "W");
    EXPECT_EQ(w->cmbPicBoxCopyTo->currentText(), "1");
    // the shaded-relief bars start from their boxes; a bar moved writes its box
    EXPECT_EQ(w->vscSRHoriz->value(), 315);
    EXPECT_EQ(w->vscSRVert->value(), 45);
    EXPECT_EQ(w->vscSRb->value(), 5);
    w->vscSRVert->setValue(30);
    EXPECT_EQ(w->txtSRVert->text(), "30");
    w->txtSRw->setText("0.5");  // typing a weight leaves its bar alone
    EXPECT_EQ(w->vscSRw->value(), 0);
    // empty views at their display sizes plus the 4-pixel frame
    EXPECT_EQ(w->picBoxP->size(), QSize(253, 253));
    EXPECT_EQ(w->picBoxI[3]->size(), QSize(165, 165));
    // every command is available but the two buttons that have no action
    EXPECT_TRUE(w->cmdProcClump->isEnabled());
    EXPECT_TRUE(w->cmdReadMultiCSV->isEnabled());
    EXPECT_FALSE(w->cmdOutputMultiTIF->isEnabled());
    EXPECT_FALSE(w->Command1->isEnabled());
    EXPECT_EQ(w->lblClumpNameID->text(), "cl_asp8_2");  // the run name from the start values
    w->chkUseMinSlope->setChecked(true);
    EXPECT_EQ(w->lblClumpNameID->text(), "cl_asp8_2_10");
    EXPECT_TRUE(w->ViewerEnabled);
}

TEST_F(CsvViewWindow, ReadDrawsCurrentAndWorkingViewsWithReadouts) {
    readPlane();
    ASSERT_TRUE(prompt.shown.empty()) << prompt.shown[0].text;
    const CurrentGrid& g = w->currentGrid();
    ASSERT_EQ(g.cols, 7);  // the minimum size: one empty margin cell each side
    ASSERT_EQ(g.rows, 6);
    // current view: 7 x 6 fitted to 313 wide, 268 high, in a box 4 larger
    EXPECT_EQ(w->picBoxD->size(), QSize(317, 272));
    EXPECT_EQ(w->views().current.picture.height, 268);
    // the buffer: one pixel per cell, highest row on top; heights 2.5 .. 4.5
    const RgbImage& buf = w->views().buffer;  // the working grid was drawn last
    EXPECT_EQ(buf.width, 11);
    EXPECT_EQ(buf.at(0, 0), kBlack);                         // margin cell, empty
    EXPECT_EQ(redOf(buf.at(1, 1)), 0);                       // x = 1: lowest height
    EXPECT_EQ(redOf(buf.at(5, 1)), 255);                     // x = 5: highest
    EXPECT_EQ(redOf(buf.at(3, 1)), 128);                     // x = 3: 127.5 to even
    EXPECT_EQ(buf.at(3, 3), kBlack);                         // the missing node (3, 2)
    const QImage& shown = w->picBoxD->image();
    EXPECT_EQ(shown.width(), 313);
    EXPECT_EQ(greyAt(shown, 5 * 313 / 7 + 20, 268 / 6 + 20), 255);

    // working view 249 x 213; processed and result views emptied
    EXPECT_EQ(w->picBoxW->size(), QSize(253, 217));
    EXPECT_EQ(w->picBoxP->size(), QSize(253, 253));
    EXPECT_EQ(w->picBoxI[0]->size(), QSize(165, 165));

    // read-outs: top-left is column 1 and the top row; cell (6, 5) holds x = 5, y = 4
    w->picBoxD_MouseMove(0, 0);
    EXPECT_EQ(w->lblX_D->text(), "1");
    EXPECT_EQ(w->lblY_D->text(), "6");
    EXPECT_EQ(w->lblZR_D->text(), "-");
    w->picBoxD_MouseMove(5 * 313 / 7 + 20, 268 / 6 + 20);
    EXPECT_EQ(w->lblX_D->text(), "6");
    EXPECT_EQ(w->lblY_D->text(), "5");
    EXPECT_EQ(w->lblXR_D->text(), "5");
    EXPECT_EQ(w->lblZR_D->text(), "4.5");
    EXPECT_EQ(w->lblZ_D->text(), "255");
    w->picBoxW_MouseMove(248, 212);  // bottom-right corner: column 7, row 1
    EXPECT_EQ(w->lblX_W->text(), "7");
    EXPECT_EQ(w->lblY_W->text(), "1");
    w->picBoxP_MouseMove(10, 10);  // processed view not drawn: nothing shown
    EXPECT_EQ(w->lblX_P->text(), "");
}

TEST_F(CsvViewWindow, RefusedAndFailedReadsLeaveTheWindowAsItWas) {
    w->Dir1->setPath(dir.path());
    w->Text1->setText("*.csv");
    w->cmdReadCSV->click();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Filename");
    EXPECT_EQ(prompt.shown[0].text, "Choose csv filename");
    w->Text1->setText("absent.csv");
    w->cmdReadCSV->click();
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_NE(prompt.shown[1].text.find("absent.csv"), std::string::npos);
    EXPECT_TRUE(w->currentGrid().empty());
    EXPECT_FALSE(prompt.busyNow);
    // the analyses do nothing before a grid is read
    w->cmdProcAspectSlope->click();
    w->cmdCalcSAVolStats->click();
    EXPECT_EQ(prompt.shown.size(), 2u);
}

TEST_F(CsvViewWindow, SlopeRunDrawsTheProcessedViewAndSavesFilesAndImage) {
    readPlane();
    w->chkAspectSlopeSaveStats->setChecked(true);
    w->chkAspectSlopeSaveImage->setChecked(true);
    w->cmdProcAspectSlope->click();
    ASSERT_TRUE(prompt.shown.empty()) << prompt.shown[0].text;
    EXPECT_EQ(w->procMode(), "Slope");
    EXPECT_TRUE(w->slopeResultsReady());
    // 7 x 6 processed grid in 249 x 213; the analysed cells all have gradient 0.5
    EXPECT_EQ(w->picBoxP->size(), QSize(253, 217));
    const QString stem = dir.path() + "/plane";
    EXPECT_EQ(QString::fromStdString(w->lastBitmap()), stem + "-sl9.bmp");
    EXPECT_TRUE(QFileInfo::exists(stem + "-sl9.bmp"));
    EXPECT_TRUE(QFileInfo::exists(dir.path() + "/slope/planeslopestats.csv"));
    const RgbImage& buf = w->views().buffer;
    int green = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x)
            if (buf.at(x, y) == rgb(0, 255, 0)) ++green;
    int analysed = 0;
    for (const GridCell& c : w->slopeGrids().slope.cells)
        if (!isVoid(c.z)) {
            ++analysed;
            EXPECT_NEAR(c.z, 0.5, 1e-12);
        }
    EXPECT_GT(analysed, 0);
    EXPECT_EQ(green, analysed);
    // read-out over the processed view now answers
    w->picBoxP_MouseMove(0, 0);
    EXPECT_EQ(w->lblX_P->text(), "1");

    // Orientation classes: the plane falls toward -x, a bearing of 270 (W, red)
    w->optProcAspect->setChecked(true);
    w->cmdProcAspectSlope->click();
    EXPECT_EQ(w->procMode(), "Aspect");
    int red = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x)
            if (w->views().buffer.at(x, y) == rgb(255, 0, 0)) ++red;
    EXPECT_EQ(red, analysed);
    EXPECT_TRUE(QFileInfo::exists(stem + "-asp8.bmp"));
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
    EXPECT_EQ(prompt.shown.size(), 1u);
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
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/savol/00savolstats.csv"));
}

TEST_F(CsvViewWindow, CopyFrameMovesGridsAndPicturesBetweenViews) {
    readPlane();
    w->cmbPicBoxCopyFrom->setCurrentText("W");
    w->cmbPicBoxCopyTo->setCurrentText("2");
    w->cmdCopyPicBox->click();
    EXPECT_TRUE(w->views().resultViews[1].drawn);
    EXPECT_EQ(w->picBoxI[1]->size(), QSize(165, 142));  // 7 x 6 in 161: 161 x 138
    EXPECT_EQ(w->views().results[1].cols, 7);
    // to the same box, or into "P": nothing
    w->cmbPicBoxCopyFrom->setCurrentText("2");
    w->cmdCopyPicBox->click();
    w->cmbPicBoxCopyTo->setCurrentText("P");
    w->cmdCopyPicBox->click();
    EXPECT_FALSE(w->views().processedView.drawn);
    // a new read empties the result views again
    w->cmdReadCSV->click();
    EXPECT_FALSE(w->views().resultViews[1].drawn);
    EXPECT_EQ(w->picBoxI[1]->size(), QSize(165, 165));

    if (qEnvironmentVariableIsSet("TRELVIK_SCREENSHOT")) {
        w->cmdProcAspectSlope->click();
        w->resize(1400, 900);
        w->show();
        QApplication::processEvents();
        w->grab().save(qEnvironmentVariable("TRELVIK_SCREENSHOT"));
    }
}
