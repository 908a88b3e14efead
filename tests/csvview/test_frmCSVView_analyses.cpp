// The viewer window's patch count, folder batches, filters, turns, CSV output and
// 3-D view, run through their controls on files written into a temporary folder.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>

#include <cmath>
#include <map>

#include "csvview/frmCSVView_picture.h"
#include "csvview/frmVrmlView.h"
#include "test_frmwindow.h"

using namespace trelvik;
using namespace trelvik::csvview;
using frmtest::ViewerFixture;

namespace {

using ViewerAnalyses = ViewerFixture;

int lineCount(const std::string& path) {
    const std::string t = csvtest::readText(path);
    return static_cast<int>(std::count(t.begin(), t.end(), '\n'));
}

int drawnPixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) != 0) ++n;
    return n;
}

// Filled cells that are not void, keyed by their node.
std::map<std::pair<double, double>, double> heightsByNode(const LatticeGrid& g) {
    std::map<std::pair<double, double>, double> m;
    for (const GridCell& c : g.cells)
        if (!isVoid(c.z)) m[{c.x, c.y}] = c.z;
    return m;
}

} // namespace

TEST_F(ViewerAnalyses, PatchCountOfAConeShowsEightPatchesOverEveryRotation) {
    frmtest::writeLattice(path("cone.csv"), 61, 61,
                          [](int x, int y) { return 40 - std::hypot(x - 31.2, y - 30.7); });
    read("cone.csv");
    ASSERT_TRUE(w->chkOPCR->isChecked());
    w->cmdProcClump->click();
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    EXPECT_EQ(w->lblNoClumps->text(), "8");
    EXPECT_EQ(w->procMode(), "Aspect");
    for (const ViewBox& v : w->views().resultViews) EXPECT_TRUE(v.drawn);
    EXPECT_EQ(w->views().results[3].zmax, 8);  // the patch layer in view 4
    const std::string run = path("cl_asp8_2/");
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(run + "cone-cl_asp8_2results.csv")));
    EXPECT_EQ(lineCount(run + "00cl_asp8_2_R8-OPCRallresults.csv"), 2);
    // a name text that would leave the folder is refused before anything runs
    w->txtMinClumpSize->setText("../2");
    w->cmdProcClump->click();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Filename");
}

TEST_F(ViewerAnalyses, FolderBatchesWriteOneSummaryRowPerDatFile) {
    for (int k = 1; k <= 3; ++k)
        frmtest::writeLattice(path("t" + std::to_string(k) + ".dat"), 12, 10,
                              [k](int x, int y) { return 0.3 * k * x + 0.1 * y * y; });
    frmtest::writeLattice(path("other.csv"), 5, 5, [](int x, int) { return x; });
    w->chkOPCR->setChecked(false);
    w->cmdProcClumpAllFiles->click();
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    EXPECT_EQ(lineCount(path("cl_asp8_2/00cl_asp8_2allresults.csv")), 4);  // header + 3 files
    EXPECT_EQ(w->currentGrid().baseName, "t3");  // the window shows the last file
    EXPECT_FALSE(w->AllFilesRunning);
    // during a batch the 3-D view is not refreshed
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path("temp.wrl"))));

    w->chkSAVolSaveStats->setChecked(true);
    w->cmdCalcSAVolStatsAllFiles->click();
    EXPECT_EQ(lineCount(path("savol/00savolstats.csv")), 4);
    EXPECT_FALSE(w->txtSA->text().isEmpty());
    w->chkAspectSlopeSaveStats->setChecked(true);
    w->cmdProcAspectSlopeAllFiles->click();
    EXPECT_TRUE(w->slopeResultsReady());
    w->cmdProcContourAllFiles->click();
    EXPECT_EQ(w->procMode(), "Contour");
    EXPECT_TRUE(prompt.shown.empty()) << messages();
}

TEST_F(ViewerAnalyses, FiltersMarkThePeakAndProc3ClearsTheProcessedView) {
    // 5 x 5 zeros with a peak of 1 in the middle; the read adds a void margin
    frmtest::writeLattice(path("peak.csv"), 5, 5, [](int x, int y) { return x == 3 && y == 3 ? 1.0 : 0.0; });
    read("peak.csv");
    w->cmdILaPlacian->click();
    EXPECT_EQ(w->views().processed.z(4, 4), 4);  // 4 x 1 - 0
    // The empty margin stays empty, so the peak is the brightest cell of the picture.
    EXPECT_EQ(w->views().processed.z(1, 1), kVoidHeight);
    EXPECT_EQ(w->views().processedPicture.buffer.at(3, 3), greyPixel(255));

    // "Abs" 0.1 for both, 3 x 3: the peak is marked with zmax, its neighbours not
    w->cmbKernelSize->setCurrentText("3 x 3");
    w->cmdIProc2->click();
    EXPECT_EQ(w->views().processed.z(4, 4), w->views().working.zmax);
    EXPECT_EQ(w->views().processed.z(4, 3), w->views().working.zmin);

    w->cmdIProc3->click();
    EXPECT_FALSE(w->views().processedView.drawn);
    for (const GridCell& c : w->views().processed.cells) EXPECT_EQ(c.z, 0);
    EXPECT_EQ(w->picBoxP->image().pixel(10, 10), QColor(240, 240, 240).rgb());

    w->cmdImageOutput->click();
    EXPECT_TRUE(QFileInfo::exists(dir.path() + "/peak.bmp"));
    w->txtImageProcExportAddText->setText("a/b");
    w->cmdImageProcOutput->click();
    ASSERT_EQ(prompt.shown.size(), 1u);
    EXPECT_EQ(prompt.shown[0].title, "Filename");
    w->txtImageProcExportAddText->setText("-lap");
    w->cmdImageProcOutput->click();
    EXPECT_TRUE(QFileInfo::exists(dir.path() + "/peak-lap.bmp"));
}

TEST_F(ViewerAnalyses, TurnButtonsRedrawAndOutputCsvWritesToTheSavedPath) {
    // heights a..f: top row (y = 2) 1 2 3, bottom row (y = 1) 4 5 6
    frmtest::writeLattice(path("abc.csv"), 3, 2, [](int x, int y) { return y == 2 ? x : 3 + x; });
    read("abc.csv");
    w->cmdRotateCW->click();
    const CurrentGrid& g = w->currentGrid();
    ASSERT_EQ(g.cols, 4);  // 2 + margins
    EXPECT_EQ(g.z(2, 4), 4);  // shown top to bottom: d a / e b / f c
    EXPECT_EQ(g.z(3, 2), 3);
    EXPECT_EQ(w->views().current.picture.height, 313);  // the view is redrawn upright
    const auto before = heightsByNode(w->currentGrid());
    w->cmdMirrorVert->click();
    EXPECT_NE(heightsByNode(w->currentGrid()), before);

    // The file's contents are checked with the turn functions; here: the save
    // window's path is written, Cancel writes nothing, not even to the last path.
    frmtest::answerSaveWindow("turned.csv");
    w->cmdOutputCSV->click();
    ASSERT_TRUE(QFileInfo::exists(dir.path() + "/turned.csv")) << messages();
    ASSERT_TRUE(QFile::remove(dir.path() + "/turned.csv"));
    frmtest::answerSaveWindow("");
    w->cmdOutputCSV->click();
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/turned.csv"));
}

TEST_F(ViewerAnalyses, ThreeDViewShowsTheWrittenSurfaceFitsAndTurnsByDragging) {
    frmtest::writeLattice(path("dome.csv"), 30, 25,
                          [](int x, int y) { return 0.05 * (200 - (x - 15) * (x - 15) - (y - 12) * (y - 12)); });
    read("dome.csv");
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    frmVrmlView* v = w->Cortona1;
    ASSERT_TRUE(v->hasSurface());
    EXPECT_EQ(v->file(), path("temp.wrl"));
    v->resize(320, 240);
    const QImage before = v->picture();
    EXPECT_GT(drawnPixels(before), 320 * 240 / 8);
    EXPECT_LT(drawnPixels(before), 320 * 240);

    const QPointF from(100, 100), to(160, 120);
    QMouseEvent press(QEvent::MouseButtonPress, from, from, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, to, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, to, to, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(v, &press);
    QApplication::sendEvent(v, &move);
    QApplication::sendEvent(v, &release);
    EXPECT_DOUBLE_EQ(v->view().rotation, 75);
    EXPECT_DOUBLE_EQ(v->view().tilt, 40);
    EXPECT_NE(v->picture(), before);
    w->cmdVrmlFit->click();
    EXPECT_DOUBLE_EQ(v->view().rotation, 45);
    EXPECT_EQ(v->picture(), before);

    if (qEnvironmentVariableIsSet("TRELVIK_SCREENSHOT_DIR")) {
        const QString out = qEnvironmentVariable("TRELVIK_SCREENSHOT_DIR");
        w->cmdProcAspectSlope->click();
        w->resize(1500, 950);
        w->show();
        for (int k = 0; k < w->SSTab1->count(); ++k) {
            w->SSTab1->setCurrentIndex(k);
            QApplication::processEvents();
            w->grab().save(out + QString("/csvview_tab%1.png").arg(k));
        }
    }
}

TEST_F(ViewerAnalyses, PatchCountLeavesTheSlopeImageAsTheSlopeRunWroteIt) {
    frmtest::writeLattice(path("cone.csv"), 31, 31,
                          [](int x, int y) { return 20 - std::hypot(x - 16.2, y - 15.7); });
    read("cone.csv");
    w->optProcSlope->setChecked(true);
    w->chkAspectSlopeSaveImage->setChecked(true);
    w->cmdProcAspectSlope->click();
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    const std::string image = path("cone-sl9.bmp");
    const std::string before = csvtest::readText(image);
    ASSERT_FALSE(before.empty());
    w->chkOPCR->setChecked(false);
    w->cmdProcClump->click();
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    EXPECT_EQ(w->procMode(), "Aspect");  // the orientation classes are on show...
    EXPECT_EQ(csvtest::readText(image), before);  // ...but the slope image is untouched
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path("cone-asp8.bmp"))));
    EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(path("cl_asp8_2/cone-cl_asp8_2.bmp"))));
}

TEST_F(ViewerAnalyses, FolderBatchWithOtherSizeKeepsTheLastReadsSize) {
    for (int k = 1; k <= 2; ++k)
        frmtest::writeLattice(path("t" + std::to_string(k) + ".dat"), 12, 10,
                              [k](int x, int y) { return 0.3 * k * x + 0.1 * y * y; });
    read("t1.dat");  // read with the default choice, which sets the size mode
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    w->optOtherGridSize->setChecked(true);
    w->chkOPCR->setChecked(false);
    w->cmdProcClumpAllFiles->click();
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    EXPECT_EQ(lineCount(path("cl_asp8_2/00cl_asp8_2allresults.csv")), 3);  // header + 2 files
    EXPECT_EQ(w->currentGrid().baseName, "t2");
}
