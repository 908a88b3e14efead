// The "File Format Conversion" window opened from the main menu: controls with their
// captions and design values, the default-settings rule, From/To, the batch list and
// a conversion run end to end through the stand-in.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include "conversion/frmConversion.h"
#include "convtest.h"
#include "shell/frmStartup.h"
#include "support/killedcommits.h"
#include "support/plantedrecords.h"
#include "support/qtapp.h"
#include "surfer/plotmodel.h"
#include "widgets/dirlistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/qtprogress.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numbers>

using namespace convtest;

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
        main->setWindowFactory("frmConversion", [this] { return new frmConversion(state, prompt); });
    }
    ~Env() {
        main.reset();
        QApplication::processEvents();
        surfer::shutdownAll();
    }
    frmConversion* open() {
        main->mnuConversion->trigger();
        return qobject_cast<frmConversion*>(main->windows().find("frmConversion"));
    }
    void choose(frmConversion* w, const char* from, const char* to) {
        w->cmbFromFileType->setCurrentText(from);
        w->cmbFromFileType_Click();
        w->cmbToFileType->setCurrentText(to);
    }
    void add(frmConversion* w, const char* file) {
        w->Dir1->setPath(QString::fromStdString(dir.folder()));
        w->File1->refresh();
        ASSERT_TRUE(w->File1->selectFile(file)) << file;
        w->File1_Click();
        w->cmdAddFilename->click();
    }
    std::string last() const { return prompt.shown.empty() ? "" : prompt.shown.back().text; }
};

const char* const kIrregular = "Text file (irregular, e.g. Vava) (*.txt)";
const char* const kGrd = "Surfer grid file (*.grd)";

// A dome of radius r sampled as a scanner samples a crown, points h apart over its
// surface in rings: seen from above they crowd together at the steep sides.
PointList sampledDome(double r, double h) {
    PointList p;
    const int rings = static_cast<int>(r * std::numbers::pi / 2 / h);
    for (int k = 0; k <= rings; ++k) {
        const double polar = k * h / r, across = r * std::sin(polar);
        const int n = std::max(1, static_cast<int>(std::lround(2 * std::numbers::pi * across / h)));
        for (int t = 0; t < n; ++t) {
            const double a = 2 * std::numbers::pi * (t + 0.5 * (k % 2)) / n;
            p.push_back({across * std::cos(a), across * std::sin(a), r * std::cos(polar)});
        }
    }
    return p;
}

// Counts the passes of the event loop while it lives: each pass delivers the one event
// waiting for it, which posts the next.
class EventPasses : public QObject {
public:
    EventPasses() { post(); }
    bool event(QEvent* e) override {
        if (e->type() != kType) return QObject::event(e);
        ++count;
        post();
        return true;
    }
    int count = 0;

private:
    static constexpr auto kType = static_cast<QEvent::Type>(QEvent::User + 1);
    void post() { QCoreApplication::postEvent(this, new QEvent(kType)); }
};

} // namespace

TEST(ConversionWindow, OpensFromUtilitiesWithItsDesignValues) {
    Env e;
    frmConversion* w = e.open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "File Format Conversion");
    EXPECT_EQ(w->lblDescription->text(), "Converts between several common file formats (grd, wrl, txt).");
    const QStringList tabs{"TXT to GRD", "TIF to GRD", "Other formats", "UC and blank"};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(w->tabOptions->tabText(k), tabs[k]);
    // Texts at load: the derived defaults of a 0.030 interval.
    const std::pair<QString, const char*> texts[] = {
        {w->txtNoFiles->text(), "0"},           {w->txtAddOutText->text(), "_"},
        {w->txtXInt->text(), "0.030"},          {w->txtYInt->text(), "0.030"},
        {w->txtMaxNoRows->text(), "200"},       {w->txtSearchRadius->text(), "0.018"},
        {w->txtBinSize->text(), "0.03"},        {w->txtBlnBinSize->text(), "0.045"},
        {w->txtThresh->text(), "0.072"},        {w->txtProp->text(), "0.9"},
        {w->txtSearchRadiusInc->text(), "0.25"}, {w->txtBlnOffset->text(), "0.25"},
        {w->txtRenameExt->text(), ".txt"},      {w->Label8->text(), "X,Y"},
        {w->Text1->text(), ""},                 {w->File1->pattern(), "*.*"},
        {w->cmdConvert->text(), "Convert"},     {w->cmdExamineFile->text(), "Examine"},
        {w->Command3->text(), "Dir"},           {w->cmdRefreshDir->text(), "Ref"},
        {w->chkBlankedAreaPts->text(), "Place in blanked area (*p file)"},
        {w->optAutoInt->text(), "Auto calculate intervals (for regular grid data)"},
        {w->chkSurfCmMm->text(), "Convert from cm to mm (variables in mm)"},
        {w->Frame13->title(), "Processing progress"}};
    for (const auto& [got, want] : texts) EXPECT_EQ(got, want);
    EXPECT_TRUE(w->txtYInt->isHidden());
    EXPECT_TRUE(w->Frame13->isHidden());
    // Its room is there from the start: showing it does not make the window grow.
    const QSize before = w->minimumSizeHint();
    w->Frame13->show();
    EXPECT_EQ(w->minimumSizeHint(), before);
    w->Frame13->hide();
    for (QAbstractButton* on : std::initializer_list<QAbstractButton*>{
             w->optInterval, w->chkEqualXY, w->optKrig, w->chkRemoveUndercuts, w->chkBlankOutline, w->chkDefaultSet,
             w->optThresh, w->chkFindNeigh, w->chkWriteRej, w->chkBlankedAreaPts, w->chkPlotSurfer, w->optRelief,
             w->chkLabelSurfer, w->optOutAuto, w->Option3, w->chkRemoveBPts, w->chkSurfCmMm, w->chkSurfRevZ,
             w->optInVox})
        EXPECT_TRUE(on->isChecked()) << on->text().toStdString();
    for (QAbstractButton* off : std::initializer_list<QAbstractButton*>{
             w->chkAddOutText, w->chkStartSurfer, w->chkMould, w->chkVantWRL, w->chkRenameExt, w->chkSurfUseTxt})
        EXPECT_FALSE(off->isChecked()) << off->text().toStdString();
    EXPECT_EQ(w->cmbFromFileType->count(), 11);
    EXPECT_EQ(w->cmbFromFileType->currentIndex(), -1);
    EXPECT_EQ(w->cmbToFileType->count(), 0);
    if (qEnvironmentVariableIsSet("TRELVIK_SCREENSHOT_DIR")) {
        const QString out = qEnvironmentVariable("TRELVIK_SCREENSHOT_DIR");
        for (int k = 0; k < 4; ++k) {
            w->tabOptions->setCurrentIndex(k);
            w->grab().save(out + "/conversion_tab" + QString::number(k) + ".png");
        }
    }
}

TEST(ConversionWindow, SettingsFollowTheIntervalAndTheFromType) {
    Env e;
    frmConversion* w = e.open();
    w->txtXInt->setText("2");
    EXPECT_EQ(w->txtSearchRadius->text() + " " + w->txtBinSize->text() + " " + w->txtBlnBinSize->text() + " " +
                  w->txtThresh->text() + " " + w->txtYInt->text(),
              "1.2 2 3 4.8 2");
    w->txtXInt->setText("0.05");
    EXPECT_EQ(w->txtSearchRadius->text() + " " + w->txtThresh->text(), "0.03 0.12");
    w->chkDefaultSet->click();  // unticked: only the copy to y remains
    w->txtXInt->setText("0.07");
    EXPECT_EQ(w->txtSearchRadius->text() + " " + w->txtYInt->text(), "0.03 0.07");
    w->chkEqualXY->click();
    EXPECT_FALSE(w->txtYInt->isHidden());
    EXPECT_EQ(w->Label8->text(), "X");
    w->txtXInt->setText("0.08");
    EXPECT_EQ(w->txtYInt->text(), "0.07");

    e.choose(w, "Text file (in grid) (*.txt)", "Surfer grid file (*.grd)");
    EXPECT_EQ(w->File1->pattern(), "*.txt");
    EXPECT_TRUE(w->optAutoInt->isChecked());
    EXPECT_TRUE(w->optNearNeigh->isChecked());
    EXPECT_FALSE(w->chkRemoveUndercuts->isChecked());
    EXPECT_FALSE(w->chkBlankOutline->isChecked());
    e.choose(w, "Surfer grid file (*.grd)", "DAT text file (*.dat)");
    EXPECT_EQ(w->cmbToFileType->count(), 7);
    EXPECT_TRUE(w->optAutoInt->isChecked());  // another From item does not restore them
}

TEST(ConversionWindow, BatchListAndExamine) {
    Env e;
    e.dir.write("scan.hi.txt", "0,0,1\r\n2.5,1,2\r\n");
    frmConversion* w = e.open();
    w->cmdAddFilename->click();
    EXPECT_EQ(e.last(), "Choose filename");
    e.add(w, "scan.hi.txt");
    EXPECT_EQ(w->txtNoFiles->text(), "1");
    EXPECT_EQ(w->state().FileBase[0], "scan.hi");
    EXPECT_EQ(w->state().FileExt[0], ".txt");
    w->cmdAddFilename->click();
    EXPECT_EQ(e.last(), "Filename already added");
    w->txtXInt->setText("1");
    w->cmdExamineFile->click();
    EXPECT_EQ(w->txtNoPts->text(), "2");
    EXPECT_EQ(w->txtRXMax->text(), "2.5");
    EXPECT_EQ(w->txtNoOutputPts->text(), "2");  // 2.5 x 1 rounds to the even 2
    w->cmdClearFilenames->click();
    EXPECT_EQ(w->txtNoFiles->text(), "0");

    // Exit unloads the window; the menu builds it afresh with its design values.
    e.add(w, "scan.hi.txt");
    w->txtXInt->setText("1");
    w->cmdExit->click();
    QApplication::processEvents();
    frmConversion* again = e.open();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->txtNoFiles->text(), "0");
    EXPECT_EQ(again->state().NumFiles, 0);
    EXPECT_EQ(again->txtXInt->text(), "0.030");
}

// Examine reads what Convert grids: an STL's distinct vertices. Figures of the file
// examined before never stand beside one that could not be read.
TEST(ConversionWindow, ExamineOnAnStlShowsItsVerticesAndAFailureLeavesNoFigures) {
    Env e;
    e.dir.write("old.txt", "0,0,1\r\n9,9,2\r\n");
    // Two facets sharing an edge: four distinct vertices over x 1 to 3, y 2 to 4.
    e.dir.write("tooth.stl", "solid tooth\n facet normal 0 0 1\n  outer loop\n   vertex 1 2 0\n   vertex 3 2 0\n"
                             "   vertex 1 4 1\n  endloop\n endfacet\n facet normal 0 0 1\n  outer loop\n"
                             "   vertex 3 2 0\n   vertex 3 4 1\n   vertex 1 4 1\n  endloop\n endfacet\nendsolid tooth\n");
    e.dir.write("broken.stl", "solid broken\n   vertex 1 2\nendsolid broken\n");
    frmConversion* w = e.open();
    w->txtXInt->setText("1");
    e.add(w, "old.txt");
    w->cmdExamineFile->click();
    ASSERT_EQ(w->txtNoPts->text(), "2");

    w->cmdClearFilenames->click();
    e.choose(w, "STL surface file (*.stl)", kGrd);
    e.add(w, "tooth.stl");
    const std::size_t before = e.prompt.shown.size();
    w->cmdExamineFile->click();
    EXPECT_EQ(e.prompt.shown.size(), before) << e.last();
    EXPECT_EQ(w->txtNoPts->text(), "4");
    EXPECT_EQ(w->txtRXMin->text() + " " + w->txtRXMax->text() + " " + w->txtRYMin->text() + " " + w->txtRYMax->text(),
              "1 3 2 4");
    EXPECT_EQ(w->txtNoOutputPts->text(), "4");

    w->cmdClearFilenames->click();
    e.add(w, "broken.stl");
    w->cmdExamineFile->click();
    EXPECT_NE(e.last().find("broken.stl"), std::string::npos) << e.last();
    for (QLabel* box : {w->txtNoPts, w->txtRXMin, w->txtRXMax, w->txtRYMin, w->txtRYMax, w->txtNoOutputPts})
        EXPECT_TRUE(box->text().isEmpty()) << box->text().toStdString();
}

// Alicona texts and Avizo surfaces are examined for the points Convert grids: the
// Alicona points its header announces, the surface's vertices from cm to mm with x and
// z negated (the "SURF to GRD options" as the window opens).
TEST(ConversionWindow, ExamineOnAnAliconaTextAndAnAvizoSurfaceShowsThePointsConvertGrids) {
    Env e;
    // Three points announced over x 1 to 4, y -2 to 6; the fourth line is past the count.
    e.dir.write("al.txt", "Alicona export { 3 }\r\n1,-2,0.5\r\n4 6 0.7\r\n2,0,0.1\r\n90,90,9\r\n");
    // Vertices over x 1 to 3 cm, y 2 to 5 cm: x -30 to -10 mm, y 20 to 50 mm.
    e.dir.write("tooth.surf", "# HyperSurface 0.1 ASCII\n\nParameters {\n}\n\nVertices 3\n"
                              "1 2 3\n3 5 1\n2 4 0\n\nPatches 1\n{\nTriangles 1\n1 2 3\n}\n");
    frmConversion* w = e.open();
    w->txtXInt->setText("1");
    const auto figures = [w] {
        return (w->txtNoPts->text() + " " + w->txtRXMin->text() + " " + w->txtRXMax->text() + " " +
                w->txtRYMin->text() + " " + w->txtRYMax->text() + " " + w->txtNoOutputPts->text())
            .toStdString();
    };
    const std::size_t before = e.prompt.shown.size();
    e.choose(w, "Alicona text file (in grid) (*.txt)", kGrd);
    e.add(w, "al.txt");
    w->cmdExamineFile->click();
    EXPECT_EQ(figures(), "3 1 4 -2 6 24");

    w->cmdClearFilenames->click();
    e.choose(w, "Avizo surf file (*.surf)", kGrd);
    e.add(w, "tooth.surf");
    w->cmdExamineFile->click();
    EXPECT_EQ(figures(), "3 -30 -10 20 50 600");
    EXPECT_EQ(e.prompt.shown.size(), before) << e.last();
}

TEST(ConversionWindow, ConvertRunsTheChosenPairThenEmptiesTheList) {
    Env e;
    e.dir.write("crown.txt", xyzText(scatteredCrown(3000, 8)));
    frmConversion* w = e.open();
    w->cmdConvert->click();
    EXPECT_EQ(e.last(), "Choose From and To file types");
    e.choose(w, "Text file (irregular, e.g. Vava) (*.txt)", "Surfer grid file (*.grd)");
    w->txtXInt->setText("0.05");
    e.add(w, "crown.txt");
    const std::size_t before = e.prompt.shown.size();
    w->cmdConvert->click();
    EXPECT_EQ(e.prompt.shown.size(), before) << e.last();
    EXPECT_TRUE(std::filesystem::exists(e.dir.path("crown-uct120_30pb.grd")));
    EXPECT_EQ(w->txtNoFiles->text(), "0");
    EXPECT_FALSE(w->Frame13->isHidden());
    EXPECT_FALSE(w->txtNoOutlinePts->text().isEmpty());
    EXPECT_EQ(w->txtNoUCPts->text(), "3000");
    EXPECT_TRUE(w->txtProgress->text().isEmpty());
    // Plotted in the stand-in's active plot.
    const auto inst = surfer::instances();
    ASSERT_FALSE(inst.empty());
    const auto maps = surfer::asPlot(inst.back()->ActiveDocument())->Shapes.maps();
    ASSERT_EQ(maps.size(), 1u);
    EXPECT_EQ(maps[0]->gridPath(), e.dir.path("crown-uct120_30pb.grd"));

    // A writer pair not made by this window says so and still empties the list.
    e.dir.write("g.grd", "");
    e.choose(w, "Surfer grid file (*.grd)", "DAT text file (*.dat)");
    w->Text1->setText("g.grd");
    w->cmdAddFilename->click();
    w->cmdConvert->click();
    EXPECT_EQ(w->txtNoFiles->text(), "0");
}

// A step of an earlier run cut short in the folder is settled by Convert, which says so
// once, in a message, when it ends.
TEST(ConversionWindow, ConvertSaysWhatItSettledOfAStepCutShort) {
    Env e;
    e.dir.write("crown.txt", xyzText(scatteredCrown(300, 8)));
    frmConversion* w = e.open();
    e.choose(w, kIrregular, kGrd);
    e.add(w, "crown.txt");
    trelvik::testing::writeOld(e.dir);
    trelvik::testing::commitKilledAfter(e.dir.dir(), 2);
    e.dir.write("c.dat", "saved since");
    const std::size_t before = e.prompt.shown.size();
    w->cmdConvert->click();
    ASSERT_GT(e.prompt.shown.size(), before);
    EXPECT_NE(e.last().find("\"c.dat\" was left as it was saved"), std::string::npos) << e.last();
    EXPECT_NE(e.last().find("was finished: a.dat and b.dat hold its new files."), std::string::npos) << e.last();
    EXPECT_EQ(std::count_if(e.prompt.shown.begin() + before, e.prompt.shown.end(),
                            [](const auto& m) { return m.text.find("cut short") != std::string::npos; }),
              1);
    EXPECT_EQ(e.dir.read("c.dat"), "saved since");

    // A record others could have written is not obeyed: it stays, and every read in the
    // folder meets it again. One Convert still says it once, after what the run said.
    const std::string thesis = e.dir.write("thesis.txt", "mine");
    const pid_t writer = trelvik::testing::endedProcessId();
    const std::string record = trelvik::testing::plant(
        e.dir.dir(), ".undo",
        {{"thesis.txt", trelvik::working::workingFileName("thesis.txt", trelvik::working::hostName(), writer, 1), "",
          trelvik::testing::idOf(thesis)}},
        writer);
    std::filesystem::permissions(e.dir.path(record), static_cast<std::filesystem::perms>(0666));
    e.add(w, "crown.txt");
    const std::size_t again = e.prompt.shown.size();
    w->cmdConvert->click();
    ASSERT_GT(e.prompt.shown.size(), again);
    EXPECT_NE(e.last().find(record), std::string::npos) << e.last();
    EXPECT_EQ(std::count_if(e.prompt.shown.begin() + again, e.prompt.shown.end(),
                            [&](const auto& m) { return m.text.find(record) != std::string::npos; }),
              1);
    EXPECT_EQ(e.dir.read("thesis.txt"), "mine");
}

TEST(ConversionWindow, ClicksAndClosingWaitWhileAListConverts) {
    Env e;
    for (const char* f : {"a.txt", "b.txt"}) e.dir.write(f, xyzText(scatteredCrown(400, 5)));
    frmConversion* w = e.open();
    e.choose(w, "Text file (irregular, e.g. Vava) (*.txt)", "Surfer grid file (*.grd)");
    w->chkRemoveUndercuts->setChecked(false);
    w->chkBlankOutline->setChecked(false);
    w->chkPlotSurfer->setChecked(false);
    w->txtXInt->setText("0.1");
    e.add(w, "a.txt");
    e.add(w, "b.txt");
    // Queued before the run; the window lets events through while it works, and these
    // must not empty the list or close the window in the middle of it.
    auto post = [](QWidget* to, QEvent::Type t) {
        const QPointF at(to->width() / 2.0, to->height() / 2.0);
        QCoreApplication::postEvent(to, new QMouseEvent(t, at, to->mapToGlobal(at), Qt::LeftButton,
                                                        t == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                                                        Qt::NoModifier));
    };
    post(w->cmdClearFilenames, QEvent::MouseButtonPress);
    post(w->cmdClearFilenames, QEvent::MouseButtonRelease);
    QCoreApplication::postEvent(w, new QCloseEvent);
    const std::size_t before = e.prompt.shown.size();
    w->cmdConvert->click();
    EXPECT_EQ(e.prompt.shown.size(), before) << e.last();
    EXPECT_TRUE(std::filesystem::exists(e.dir.path("a.grd")));
    EXPECT_TRUE(std::filesystem::exists(e.dir.path("b.grd")));
    QApplication::processEvents();
    ASSERT_EQ(qobject_cast<frmConversion*>(e.main->windows().find("frmConversion")), w);
    EXPECT_TRUE(w->isVisible());

    // Esc still reaches the run and stops it before the next file.
    std::filesystem::remove(e.dir.path("b.grd"));
    e.add(w, "a.txt");
    e.add(w, "b.txt");
    QCoreApplication::postEvent(w, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    w->cmdConvert->click();
    EXPECT_NE(e.last().find("1 of 2 files were done"), std::string::npos) << e.last();
    EXPECT_FALSE(std::filesystem::exists(e.dir.path("b.grd")));
}

TEST(ConversionWindow, AnIntervalThatIsNotANumberIsNamedAndAFailedRunClearsTheReadOuts) {
    Env e;
    e.dir.write("crown.txt", xyzText(scatteredCrown(3000, 8)));
    frmConversion* w = e.open();
    e.choose(w, "Text file (irregular, e.g. Vava) (*.txt)", "Surfer grid file (*.grd)");
    w->chkPlotSurfer->setChecked(false);
    w->txtXInt->setText("abc");
    e.add(w, "crown.txt");
    w->cmdConvert->click();
    EXPECT_NE(e.last().find("grid interval \"abc\""), std::string::npos) << e.last();
    EXPECT_EQ(e.last().find("search radius"), std::string::npos) << e.last();
    for (QLabel* readOut : {w->txtCurrentFilename, w->txtProgress, w->txtNoUCPts, w->txtNoUCPtsPrcd, w->txtNoOutlinePts})
        EXPECT_TRUE(readOut->text().isEmpty()) << readOut->text().toStdString();
}

// "Cancel" (or Esc) on the replace question writes nothing and keeps the batch list.
TEST(ConversionWindow, CancelOnTheReplaceQuestionKeepsTheList) {
    Env e;
    for (const char* f : {"a.txt", "b.txt"}) e.dir.write(f, xyzText(scatteredCrown(400, 5)));
    e.dir.write("a.grd", "the user's own");
    frmConversion* w = e.open();
    e.choose(w, kIrregular, kGrd);
    w->chkRemoveUndercuts->setChecked(false);
    w->chkBlankOutline->setChecked(false);
    w->txtXInt->setText("0.1");
    e.add(w, "a.txt");
    e.add(w, "b.txt");
    e.prompt.answer(Answer::Cancel);
    w->cmdConvert->click();
    EXPECT_EQ(e.prompt.shown.back().title, "Replace files");
    EXPECT_EQ(e.dir.read("a.grd"), "the user's own");
    EXPECT_FALSE(std::filesystem::exists(e.dir.path("b.grd")));
    EXPECT_EQ(w->txtNoFiles->text(), "2");
    ASSERT_EQ(w->state().NumFiles, 2);
    EXPECT_EQ(w->state().FileFullName[1], e.dir.path("b.txt"));
}

// The outline walk of a cloud whose points lie further apart than its first bins reach
// reports some ten thousand vertex counts before its bins grow; the window shows them
// at the pace of its progress pump, not with a pass of the event loop (and a repaint)
// for each. Only the file's name and the end are shown at once.
TEST(ConversionWindow, ALongOutlineWalkKeepsTheWindowPaintedAtItsPace) {
    Env e;
    e.dir.write("dome.txt", xyzText(sampledDome(3, 0.13)));
    frmConversion* w = e.open();
    e.choose(w, kIrregular, kGrd);
    w->chkPlotSurfer->setChecked(false);
    e.add(w, "dome.txt");
    const std::size_t before = e.prompt.shown.size();
    QElapsedTimer clock;
    clock.start();
    int passes = 0;
    {
        EventPasses counted;
        w->cmdConvert->click();
        passes = counted.count;
    }
    const qint64 ms = clock.elapsed();
    ASSERT_EQ(e.prompt.shown.size(), before) << e.last();
    ASSERT_TRUE(std::filesystem::exists(e.dir.path("dome-uct72_18pb.grd")));
    EXPECT_FALSE(w->txtNoOutlinePts->text().isEmpty());
    // A few passes at once (the file's name, the end), the rest at most one per interval.
    EXPECT_LE(passes, 8 + ms / QtProgress::kPumpIntervalMs) << "in " << ms << " ms";
}
