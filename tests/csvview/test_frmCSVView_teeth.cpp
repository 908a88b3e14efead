// The viewer window's multi-tooth page, per-tooth statistics, tooth outputs and
// tooth-count tools, run through their controls on generated multi-tooth files.
#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>

#include <cmath>

#include "test_frmwindow.h"

using namespace trelvik;
using namespace trelvik::csvview;

namespace {

// Teeth 1..n on a 4 x 4 lattice with file heights -(x + y) t / 4, so after reading
// tooth t runs from 0 to 1.5 t. Tooth `thin` has three points only (passed over).
// Parameter 11 is 1000 t; the last tooth has no closing marker.
std::string multiToothText(int n, int thin) {
    std::string s;
    for (int t = 1; t <= n; ++t) {
        s += "0," + std::to_string(1000 * t) + "\r\n";
        s += "0.001,0.002,5,5,0.25,0.3,0.001,0.002,0.003,0.004\r\n";
        int k = 0;
        for (int y = 1; y <= 4; ++y)
            for (int x = 1; x <= 4; ++x)
                if (t != thin || k++ < 3) s += std::to_string(x) + "," + std::to_string(y) + "," +
                                                std::to_string(-(x + y) * t * 0.25) + "\r\n";
        if (t < n) s += "666\r\n";
    }
    return s;
}

class ViewerTeeth : public frmtest::ViewerFixture {
protected:
    void readTeeth(const char* name, int n, int thin) {
        csvtest::writeText(path(name), multiToothText(n, thin));
        w->Text1->setText(name);
        w->cmdReadMultiCSV->click();
    }
    int files(const QString& folder, const char* pattern) {
        return static_cast<int>(QDir(folder).entryList({pattern}, QDir::Files).size());
    }
};

} // namespace

TEST_F(ViewerTeeth, ReadSetsTheSliderWhichStepsToOneToothAndEscStopsARead) {
    readTeeth("teeth.csv", 5, 3);
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    EXPECT_TRUE(w->chkOrigModelFile->isChecked());
    EXPECT_EQ(w->lblNoTeeth->text(), "5");
    EXPECT_EQ(w->sldToothNo->maximum(), 5);
    EXPECT_EQ(w->txtCurrTooth->text(), "1");  // the first tooth is shown
    EXPECT_EQ(w->currentGrid().zmax, 1.5);

    w->sldToothNo->setValue(4);
    EXPECT_EQ(w->txtCurrTooth->text(), "4");
    EXPECT_EQ(w->txtParam[10]->text(), "4000");
    EXPECT_EQ(w->txtParam[4]->text(), "0.25");
    EXPECT_EQ(w->currentGrid().zmax, 6);
    EXPECT_EQ(w->toothView().viewFirst, 4);  // only the slider's tooth was shown
    EXPECT_EQ(w->toothView().viewLast, 4);
    w->sldToothNo->setValue(3);  // passed over: blank picture, its parameters shown
    EXPECT_FALSE(w->views().gridViewDrawn);
    EXPECT_EQ(w->txtParam[10]->text(), "3000");

    // common grey scale: tooth 2 keeps its heights but is drawn against 0..7.5
    w->sldToothNo->setValue(2);
    w->chkZScaleAllT->click();
    EXPECT_EQ(w->currentGrid().zmax, 7.5);

    // a range typed in selects "View teeth:"
    w->txtViewTeethStart->setText("2");
    emit w->txtViewTeethStart->textEdited("2");  // as typing does
    EXPECT_TRUE(w->optViewTeethSubset->isChecked());
    w->txtViewTeethEnd->setText("4");
    w->cmdViewMultiCSV->click();
    EXPECT_EQ(w->toothView().lastShown, 4);

    // Esc pressed during the next read stops it: the labels and slider stay
    QCoreApplication::postEvent(w.get(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    readTeeth("more.csv", 7, 0);
    EXPECT_EQ(w->lblNoTeeth->text(), "5");
    EXPECT_EQ(w->sldToothNo->maximum(), 5);
    EXPECT_TRUE(prompt.shown.empty()) << messages();
}

TEST_F(ViewerTeeth, PerToothStatisticsGoToTheSavedPathAndSortShowsTheLowestFirst) {
    readTeeth("teeth.csv", 5, 0);
    w->chkCSSAVolRat->click();  // refused while SA and Vol are unticked
    EXPECT_FALSE(w->chkCSSAVolRat->isChecked());
    w->chkCSMaxHt->setChecked(true);
    w->chkCSSort->setChecked(true);
    w->optCSMaxHtSort->setChecked(true);
    w->chkCSShowSorted->setChecked(true);
    w->sldToothNo->setValue(3);

    frmtest::answerSaveWindow("stats.csv");
    w->cmdCalcStatsAll->click();
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    const std::string t = csvtest::readText(path("stats.csv"));
    EXPECT_EQ(t.substr(0, t.find('\n') + 1), "\"ToothNo\",\"MaxHt\",\r\n");
    EXPECT_NE(t.find("\"5\",7.5,"), std::string::npos);
    EXPECT_EQ(std::count(t.begin(), t.end(), '\n'), 6);
    // sorted ascending and shown from tooth 1, the lowest
    EXPECT_EQ(w->sldToothNo->value(), 1);
    EXPECT_EQ(w->currentGrid().zmax, 1.5);

    // Cancel in the save window computes and writes nothing
    std::filesystem::remove(path("stats.csv"));
    frmtest::answerSaveWindow("");
    w->cmdCalcStatsAll->click();
    EXPECT_FALSE(std::filesystem::exists(path("stats.csv")));
}

TEST_F(ViewerTeeth, ToothOutputsWriteNamedFilesAndOpenTheVrml) {
    readTeeth("teeth.csv", 5, 3);
    const QString out = dir.path() + "/out";
    QDir().mkpath(out);
    w->toothOutputFolder = out.toStdString();
    std::string opened;
    w->openInBrowser = [&](const std::string& p) { opened = p; };

    w->sldToothNo->setValue(4);
    w->cmdOutputSingleCSV->click();
    w->cmdOutputSingleTIF->click();
    w->cmdOutputSingleWRL->click();
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    const std::string stem = out.toStdString() + "/P100_200_50_0.5_025_030_1_2_3_4_04";
    EXPECT_TRUE(std::filesystem::exists(stem + ".csv"));
    EXPECT_TRUE(std::filesystem::exists(stem + ".bmp"));
    EXPECT_EQ(opened, stem + ".wrl");
    EXPECT_TRUE(std::filesystem::exists(opened));
    // the passed-over tooth writes nothing, and each output says why
    w->sldToothNo->setValue(3);
    for (QPushButton* b : {w->cmdOutputSingleCSV, w->cmdOutputSingleTIF, w->cmdOutputSingleWRL}) b->click();
    EXPECT_EQ(files(out, "*.csv"), 1);
    ASSERT_EQ(prompt.shown.size(), 3u) << messages();
    for (const auto& shown : prompt.shown)
        EXPECT_EQ(shown.text, "Tooth 3 has no grid to write: reading passes over a tooth of three points or fewer.");
    prompt.shown.clear();

    w->cmdOutputMultiCSV->click();
    EXPECT_EQ(files(out, "*.csv"), 4);
    EXPECT_TRUE(prompt.shown.empty()) << messages();
}

TEST_F(ViewerTeeth, ToothCountsAndExtractionAppendToTheirFiles) {
    csvtest::writeText(path("teeth.csv"), multiToothText(5, 0));
    w->Text1->setText("teeth.csv");
    w->cmdCTFiles->click();
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    EXPECT_TRUE(w->chkOrigModelFile->isChecked());
    EXPECT_EQ(w->txtTempCTFiles->text(), "5");
    const std::string counts = csvtest::readText(path("ToothCount.csv"));
    EXPECT_EQ(counts, "\"teeth.csv\",94,5\r\n");  // 5 x (2 + 16) lines and 4 markers

    csvtest::writeText(path("netregu_e1000_ToothCount.csv"), counts);
    w->txtCTFENo->setText("2");
    w->cmdCTFExtract->click();
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    EXPECT_EQ(w->txtExtractTotal->text(), "2");
    const std::string pos = csvtest::readText(path("netregu_e2_pos.csv"));
    EXPECT_EQ(std::count(pos.begin(), pos.end(), '\n'), 2);
    EXPECT_TRUE(std::filesystem::exists(path("netregu_e2.csv")));
    // more teeth than the list holds is refused
    w->txtCTFENo->setText("9");
    w->cmdCTFExtract->click();
    EXPECT_EQ(prompt.shown.size(), 1u);
}

TEST_F(ViewerTeeth, ToothOutputsGoBesideTheMultiToothFile) {
    const QString sub = dir.path() + "/scans";
    QDir().mkpath(sub);
    csvtest::writeText(sub.toStdString() + "/teeth.csv", multiToothText(3, 0));
    w->Dir1->setPath(sub);
    w->Text1->setText("teeth.csv");
    w->cmdReadMultiCSV->click();
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    w->cmdOutputMultiCSV->click();
    ASSERT_TRUE(prompt.shown.empty()) << messages();
    EXPECT_EQ(files(sub, "P*.csv"), 3);
    EXPECT_EQ(files(dir.path(), "P*.csv"), 0);
}
