// The "Surfer Functions" window opened from the main menu: its controls with their
// design values, every button run end to end on grids in a temporary folder, the
// refusals it shows, reopening afresh and the hidden window other windows plot through.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include "procrun.h"
#include "shell/frmStartup.h"
#include "support/killedcommits.h"
#include "support/qtapp.h"
#include "surferfns/frmSurfFns.h"
#include "widgets/dirlistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/fitscreen.h"

using namespace surffnstest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

double plane(double x, double y) { return 2 * x + 3 * y; }

// The main window with the run's state, a scripted prompt and a temporary folder.
struct Env {
    TempFolder dir;
    AppState state;
    ScriptedPrompt prompt;
    std::unique_ptr<frmStartup> main;

    explicit Env(bool v6 = false) {
        testsupport::ensureApp();
        surfer::shutdownAll();
        state.ProgramDir = state.DefaultDir = dir.folder();
        state.mnuSurf6Checked = v6;
        state.mnuSurf8Checked = !v6;
        state.SurferVersion = v6 ? "SurferV6" : "SurferV8";
        main = std::make_unique<frmStartup>(state, prompt);
        main->setWindowFactory("frmSurfFns", [this] { return new frmSurfFns(state, prompt); });
    }
    ~Env() {
        main.reset();
        QApplication::processEvents();
        surfer::shutdownAll();
    }
    frmSurfFns* open() {
        main->mnuSurfFns->trigger();
        return qobject_cast<frmSurfFns*>(main->windows().find("frmSurfFns"));
    }
    void grid(const char* name, const Grid& g = makeGrid(11, 11, 0, 10, 0, 10, plane)) {
        saveGrid(dir.path(name), g);
    }
    // Selects each file in the file list and adds it, as a user clicking would.
    void add(frmSurfFns* w, const std::vector<const char*>& files) {
        w->Dir2->setPath(QString::fromStdString(dir.folder()));
        w->File2->refresh();
        for (const char* f : files) {
            ASSERT_TRUE(w->File2->selectFile(f)) << f;
            w->File2_Click();
            w->cmdAddFilename->click();
        }
    }
    std::vector<std::string> plotted() const {
        std::vector<std::string> out;
        if (!state.SurferApp || state.SurferApp->openDocuments().empty()) return out;
        for (const auto& m : surfer::asPlot(state.SurferApp->ActiveDocument())->Shapes.maps())
            out.push_back(m->gridPath());
        return out;
    }
    surfer::MapKind firstMapKind() const {
        return surfer::asPlot(state.SurferApp->ActiveDocument())->Shapes.maps().at(0)->mapKind();
    }
};

} // namespace

TEST(SurfFnsWindow, OpensFromUtilitiesWithItsDesignValues) {
    Env e;
    frmSurfFns* w = e.open();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Surfer Functions");
    EXPECT_EQ(w->lblDescription->text(), "Automates several common Surfer functions.");
    EXPECT_EQ(w->fraPlot->title(), "Plot output");
    const std::pair<QString, const char*> texts[] = {
        {w->Text2->text(), "*.grd"}, {w->File2->pattern(), "*.grd"}, {w->txtNoFiles->text(), "0"},
        {w->cmbFileType->currentText(), "Surfer grid file (*.grd)"},
        {w->cmbPDFilter->currentText(), "Moving average (nxn)"}, {w->cmbPDFilter->itemText(13), "High pass 3 (3x3)"},
        {w->cmbProcess->currentText(), "Terrain slope"}, {w->chkTeeth[3]->text(), "c"},
        {w->txtScaleBar->text(), "0.05"},    {w->txtNoInPlotRow->text(), "6"},
        {w->txtPlotSpacX->text(), "18"},     {w->txtPlotSpacY->text(), "18"},
        {w->txtAzimuth->text(), "135"},      {w->txtZenith->text(), "45"},
        {w->txtRot->text(), "45"},           {w->txtTilt->text(), "30"},
        {w->txtBlankDelChar->text(), "4"},   {w->txtRedRowFactor->text(), "2"},
        {w->txtRedRowMax->text(), "100"},    {w->txtExactNoRC->text(), "150"},
        {w->txtRegridDelChar->text(), "1"},  {w->txtFilterSize->text(), "3"},
        {w->txtNoTimes->text(), "1"},        {w->txtTAMinSlope->text(), "10"},
        {w->txtCompGridOutGridText->text(), "_top+plane"}};
    for (const auto& [got, want] : texts) EXPECT_EQ(got, want);
    EXPECT_TRUE(w->Label2->text().isEmpty());
    EXPECT_EQ(w->cmbFileType->count(), 3);
    EXPECT_EQ(w->cmbPDFilter->count(), 14);
    EXPECT_EQ(w->cmbPDFilter->itemData(13).toInt(), 16);
    EXPECT_EQ(w->cmbProcess->count(), 2);
    for (QAbstractButton* on : std::initializer_list<QAbstractButton*>{
             w->chkClearFilenames, w->chkPlotSurfer, w->optRelief, w->chkShowAxes, w->chkLabelSurfer, w->optProjP,
             w->optBlankOutside, w->optRedAreaMax, w->optRedRowFactor, w->optExactNoRC, w->optRegridGrd,
             w->optPDFilter, w->optMirror, w->optMirrorX, w->optRotate90, w->optCompareMax})
        EXPECT_TRUE(on->isChecked()) << on->objectName().toStdString() << on->text().toStdString();
    EXPECT_FALSE(w->chkStartSurfer->isChecked());
    EXPECT_FALSE(w->chkScaleBar->isChecked());
    for (int k = 0; k < 12; ++k) EXPECT_EQ(w->chkTeeth[k]->isChecked(), k >= 8 && k <= 10) << k;

    w->cmbFileType->setCurrentIndex(1);
    w->cmbFileType_Click();
    EXPECT_EQ(w->File2->pattern(), "*.txt");

    // The curvature box loads its filter settings, and unticking it restores the
    // defaults without touching the centre weight.
    w->chkCurvature->click();
    EXPECT_EQ(w->txtFilterSize->text() + w->txtWeight->text() + w->txtNoTimes->text(), "943");
    EXPECT_TRUE(w->optDefFilter->isChecked());
    w->txtCWeight->setText("7");
    w->chkCurvature->click();
    EXPECT_EQ(w->txtFilterSize->text() + w->txtWeight->text() + w->txtNoTimes->text(), "331");
    EXPECT_TRUE(w->optPDFilter->isChecked());
    EXPECT_EQ(w->txtCWeight->text(), "7");
}

TEST(SurfFnsWindow, AddFilenameThenPlotGridDrawsTheGridAndClearsTheList) {
    Env e;
    e.grid("m1.grd");
    frmSurfFns* w = e.open();
    e.add(w, {"m1.grd"});
    EXPECT_EQ(w->Text2->text(), "m1.grd");
    EXPECT_EQ(w->Label2->text().toStdString(), e.dir.folder());
    EXPECT_EQ(w->txtNoFiles->text(), "1");
    w->cmdAddFilename->click();
    EXPECT_THAT(e.prompt.shown, ElementsAre(::testing::Field(&ScriptedPrompt::Shown::text, "Filename already added")));

    w->opt3DSurface->setChecked(true);
    w->cmdPresetA->click();
    w->cmdPlotGrid->click();
    EXPECT_EQ(e.prompt.shown.size(), 1u) << e.prompt.shown.back().text;
    EXPECT_THAT(e.plotted(), ElementsAre(e.dir.path("m1.grd")));
    const auto map = surfer::asPlot(e.state.SurferApp->ActiveDocument())->Shapes.maps().at(0);
    EXPECT_EQ(map->mapKind(), surfer::MapKind::Surface);
    EXPECT_EQ(map->ViewProjection, 2);
    EXPECT_DOUBLE_EQ(map->ViewTilt, 90);
    EXPECT_EQ(w->txtNoFiles->text(), "0");
    EXPECT_EQ(w->state().FileIndex, 2);
    EXPECT_FALSE(e.prompt.busyNow);
}

TEST(SurfFnsWindow, AMissingGridIsReportedAndTheListAndWindowStay) {
    Env e;
    frmSurfFns* w = e.open();
    e.add(w, {});
    w->Text2->setText("nothere.grd");  // typed, not checked when added
    w->cmdAddFilename->click();
    w->cmdPlotGrid->click();
    ASSERT_EQ(e.prompt.shown.size(), 1u);
    EXPECT_THAT(e.prompt.shown[0].text, HasSubstr("nothere.grd"));
    EXPECT_EQ(w->txtNoFiles->text(), "1");
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(e.prompt.busyNow);
}

// A run refused before any grid starts shows no progress bar beside its message; a run
// under way does.
TEST(SurfFnsWindow, BlankRefusingAGridGoneFromDiskShowsNoProgressBar) {
    Env e;
    e.grid("a1.grd");
    e.grid("a2.grd");
    frmSurfFns* w = e.open();
    e.add(w, {"a1.grd", "a2.grd"});
    std::filesystem::remove(e.dir.path("a2.grd"));
    std::vector<bool> barShown;
    auto note = [&](const ScriptedPrompt::Shown&) {
        barShown.push_back(w->pbrBatch->isVisible());
        return Answer::Cancel;
    };
    e.prompt.respond(note);
    w->cmdBlank->click();
    w->cmdClearFilenames->click();
    e.add(w, {"a1.grd"});
    e.prompt.respond(note);  // a1's "Digitise map" question
    w->cmdBlank->click();
    EXPECT_THAT(barShown, ElementsAre(false, true));
}

TEST(SurfFnsWindow, ExitUnloadsAndReopeningStartsAfresh) {
    Env e;
    e.grid("m1.grd");
    QPointer<frmSurfFns> w = e.open();
    e.add(w, {"m1.grd"});
    w->txtAzimuth->setText("10");
    w->cmdExit->click();
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    frmSurfFns* again = e.open();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->txtNoFiles->text(), "0");
    EXPECT_EQ(again->state().NumFiles, 0);
    EXPECT_FALSE(again->state().FileIndex.has_value());
    EXPECT_EQ(again->txtAzimuth->text(), "135");
}

TEST(SurfFnsWindow, HiddenWindowPlotsAtTheFirstSlotWithTheAbovePreset) {
    Env e;
    e.grid("m1.grd");
    frmSurfFns* w = qobject_cast<frmSurfFns*>(e.main->windows().load("frmSurfFns"));
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->isVisible());
    w->cmdPresetA_Click();
    EXPECT_EQ(w->txtAzimuth->text(), "0");
    EXPECT_TRUE(w->optProjO->isChecked());
    w->PlotSurfer(e.dir.path("m1.grd"), 1);
    EXPECT_EQ(w->state().FileIndex, 1);
    const auto map = surfer::asPlot(e.state.SurferApp->ActiveDocument())->Shapes.maps().at(0);
    EXPECT_DOUBLE_EQ(map->Overlays(1).HLightAngle, 0);
    EXPECT_DOUBLE_EQ(map->Overlays(1).VLightAngle, 90);
    w->cmdPresetD_Click();
    EXPECT_EQ(w->txtTilt->text(), "30");
    EXPECT_TRUE(w->optProjP->isChecked());
}

// Each operation button reads its frame, runs its batch over the listed grids, writes
// its outputs beside them, plots the first output named (unless it plots nothing) and
// clears the list; the grids' values are checked by the procedure tests.
TEST(SurfFnsWindow, EveryOperationButtonRunsItsBatchAndPlotsTheOutput) {
    struct Op {
        const char* name;
        std::vector<const char*> inputs;
        std::function<void(Env&, frmSurfFns*)> set;
        QPushButton* frmSurfFns::*button;
        std::vector<const char*> outputs;
        bool plots = true;
        surfer::MapKind kind = surfer::MapKind::Relief;
    };
    const char* outline = "5,0\r\n1,1\r\n7,1\r\n7,4\r\n1,4\r\n1,1\r\n";
    const Op ops[] = {
        {"blank with an earlier outline", {"m1b150.grd"},
         [&](Env& e, frmSurfFns* w) {
             e.dir.write("m1blnpts.bln", outline);  // "Del. no. char." 4 finds m1's outline
             w->chkBlankUseBlnFile->setChecked(true);
         },
         &frmSurfFns::cmdBlank, {"m1b150b.grd"}},
        {"extract digitised, every second node", {"t1.grd"},
         [](Env& e, frmSurfFns* w) {
             w->chkRedArea->setChecked(true);
             w->optRedAreaDig->setChecked(true);
             w->chkRedRow->setChecked(true);
             e.prompt.respond([&e](const ScriptedPrompt::Shown& s) {
                 EXPECT_THAT(s.text, HasSubstr("t1 to keep."));
                 writeFileAtomic(e.dir.path("digit.dat"), "2.5,3.5\r\n7.5,8.5\r\n");
                 return Answer::Ok;
             });
         },
         &frmSurfFns::cmdExtract, {"t1edrf2.grd", "t1extpts.dat"}},
        {"fix resolution plots even unticked", {"f1.grd"},
         [](Env&, frmSurfFns* w) { w->chkPlotSurfer->setChecked(false); }, &frmSurfFns::cmdFixResolution,
         {"f1fixres.grd"}},
        {"area table", {"a.grd", "b.grd"}, nullptr, &frmSurfFns::cmdSAVol, {"00SAallresults.csv"}, false},
        {"regrid shown as the process frame's image", {"t1b.grd"},
         [&](Env& e, frmSurfFns* w) {
             e.dir.write("t1blnpts.bln", outline);
             w->txtExactNoRC->setText("9");
             w->optTerrain->setChecked(true);
         },
         &frmSurfFns::cmdRegridExactResol, {"9b_grd/t1b9b.grd", "9_grd/t1b9.grd", "9b_dat/t1b9b.dat"}, true,
         surfer::MapKind::Image},
        {"rezero", {"r1.grd"}, nullptr, &frmSurfFns::cmdReZero, {"r1rz.grd"}},
        {"smooth with curvature", {"p.grd"}, [](Env&, frmSurfFns* w) { w->chkCurvature->click(); },
         &frmSurfFns::cmdSmooth, {"p_fwa9,4x3.grd", "p_fwa9,4x3_curv10.grd"}},
        {"mirror in y", {"m.grd"}, [](Env&, frmSurfFns* w) { w->optMirrorY->setChecked(true); },
         &frmSurfFns::cmdProcess, {"mmy.grd"}},
        {"terrain aspect named by its minimum slope", {"a.grd"},
         [](Env&, frmSurfFns* w) {
             w->optTerrain->setChecked(true);
             w->cmbProcess->setCurrentText("Terrain aspect");
             w->txtTAMinSlope->setText("5");
         },
         &frmSurfFns::cmdProcess, {"ata5.grd", "ata5results.csv"}, true, surfer::MapKind::Image},
        {"lower envelope", {"top.grd", "pln.grd"},
         [](Env&, frmSurfFns* w) {
             w->optCompareMin->setChecked(true);
             w->txtCompGridOutGridText->setText("_low");
         },
         &frmSurfFns::cmdCompareGrids, {"top_low.grd"}},
    };
    for (const Op& op : ops) {
        SCOPED_TRACE(op.name);
        Env e;
        for (const char* in : op.inputs) e.grid(in);
        frmSurfFns* w = e.open();
        e.add(w, op.inputs);
        if (op.set) op.set(e, w);
        (w->*op.button)->click();
        for (const auto& m : e.prompt.shown) EXPECT_EQ(m.title, "Digitise map") << m.text;
        for (const char* out : op.outputs) EXPECT_TRUE(FileExists(e.dir.path(out))) << out;
        if (op.plots) {
            EXPECT_THAT(e.plotted(), ElementsAre(e.dir.path(op.outputs[0])));
            if (!e.plotted().empty()) EXPECT_EQ(e.firstMapKind(), op.kind);
        } else {
            EXPECT_TRUE(e.plotted().empty());
        }
        EXPECT_EQ(w->txtNoFiles->text(), "0");
        EXPECT_GT(e.prompt.busyChanges, 0);
        EXPECT_FALSE(e.prompt.busyNow);
    }
}

// A step of an earlier run cut short in the folder is settled by the step that runs
// there, which says so when it ends.
TEST(SurfFnsWindow, AStepSaysWhatItSettledOfAStepCutShort) {
    Env e;
    e.grid("r1.grd");
    frmSurfFns* w = e.open();
    e.add(w, {"r1.grd"});
    trelvik::testing::writeOld(e.dir);
    trelvik::testing::commitKilledAfter(e.dir.dir(), 1);
    w->cmdReZero->click();
    EXPECT_TRUE(FileExists(e.dir.path("r1rz.grd")));
    ASSERT_FALSE(e.prompt.shown.empty());
    EXPECT_THAT(e.prompt.shown.back().text, HasSubstr("was finished: a.dat, b.dat and c.dat hold its new files."));
}

// Refused runs show their message and leave the list, the files and the plot as they
// were; none opens the map window.
TEST(SurfFnsWindow, RefusedRunsKeepTheListAndWriteNothing) {
    struct Refusal {
        bool v6;
        std::function<void(frmSurfFns*)> set;
        QPushButton* frmSurfFns::*button;
        const char* shown;  // the message's title or text
    };
    const char* v6Only = "This function is not available in Surfer v6.";
    const Refusal cases[] = {
        {false, [](frmSurfFns* w) { w->txtExactNoRC->setText("1"); }, &frmSurfFns::cmdRegridExactResol, "Values"},
        {false,
         [](frmSurfFns* w) {
             w->optTerrain->setChecked(true);
             w->cmbProcess->setCurrentText("Terrain curl");
         },
         &frmSurfFns::cmdProcess, "Choose processing procedure."},
        {true, [](frmSurfFns* w) { w->optInverse->setChecked(true); }, &frmSurfFns::cmdProcess, v6Only},
        {true, nullptr, &frmSurfFns::cmdProcess, v6Only},  // mirror
        {true, [](frmSurfFns* w) { w->optRotate->setChecked(true); }, &frmSurfFns::cmdProcess, v6Only},
        {true, nullptr, &frmSurfFns::cmdSAVol, v6Only},
        {true, nullptr, &frmSurfFns::cmdSmooth, "Must only use 'Define filter' option with Surfer v6."},
        {false, [](frmSurfFns* w) { w->txtNoTimes->setText("0"); }, &frmSurfFns::cmdSmooth,
         "No. times must be a whole number of 1 or more."},
        {false, [](frmSurfFns* w) { w->cmbPDFilter->setCurrentText(""); }, &frmSurfFns::cmdSmooth, "Choose filter."},
        {false, [](frmSurfFns* w) { w->txtCompGridOutGridText->clear(); }, &frmSurfFns::cmdCompareGrids, "Filename"},
    };
    for (const Refusal& c : cases) {
        Env e(c.v6);
        e.grid("top.grd");
        e.grid("pln.grd");
        frmSurfFns* w = e.open();
        e.add(w, {"top.grd", "pln.grd"});
        if (c.set) c.set(w);
        (w->*c.button)->click();
        ASSERT_EQ(e.prompt.shown.size(), 1u) << c.shown;
        EXPECT_TRUE(e.prompt.shown[0].title == c.shown || e.prompt.shown[0].text == c.shown) << c.shown;
        EXPECT_EQ(e.dir.fileCount(), 2u) << c.shown;
        EXPECT_TRUE(e.plotted().empty()) << c.shown;
        EXPECT_TRUE(surfer::instances().empty()) << c.shown;
        EXPECT_EQ(w->txtNoFiles->text(), "2") << c.shown;
        EXPECT_FALSE(e.prompt.busyNow) << c.shown;
    }
}

// A run refused for its list (empty with no grid chosen, or a listed grid gone from
// disk) says so before the map window could open.
TEST(SurfFnsWindow, ARunRefusedForItsListOpensNoMapWindow) {
    struct Run {
        const char* name;
        QPushButton* frmSurfFns::*button;
        std::function<void(frmSurfFns*)> set;
        const char* empty = "Choose grid filename";  // said for the empty list
    };
    const Run runs[] = {
        {"blank", &frmSurfFns::cmdBlank, nullptr},
        {"extract", &frmSurfFns::cmdExtract, [](frmSurfFns* w) { w->chkRedRow->setChecked(true); }},
        {"fix resolution", &frmSurfFns::cmdFixResolution, nullptr},
        {"area table", &frmSurfFns::cmdSAVol, nullptr},
        {"regrid", &frmSurfFns::cmdRegridExactResol, nullptr},
        {"rezero", &frmSurfFns::cmdReZero, nullptr},
        {"smooth", &frmSurfFns::cmdSmooth, nullptr},
        {"mirror", &frmSurfFns::cmdProcess, nullptr},
        {"terrain", &frmSurfFns::cmdProcess, [](frmSurfFns* w) { w->optTerrain->setChecked(true); }},
        {"compare", &frmSurfFns::cmdCompareGrids, nullptr, "Add the two grids to compare."},
        {"plot", &frmSurfFns::cmdPlotGrid, nullptr},
    };
    for (const Run& run : runs) {
        for (bool gone : {false, true}) {
            SCOPED_TRACE(std::string(run.name) + (gone ? ", a grid gone" : ", empty list"));
            Env e;
            frmSurfFns* w = e.open();
            if (gone) {
                e.grid("a1b.grd");
                e.grid("a2b.grd");
                e.add(w, {"a1b.grd", "a2b.grd"});
                std::filesystem::remove(e.dir.path("a2b.grd"));
            }
            if (run.set) run.set(w);
            (w->*run.button)->click();
            ASSERT_EQ(e.prompt.shown.size(), 1u);
            if (gone)
                EXPECT_THAT(e.prompt.shown[0].text, HasSubstr("The grid " + e.dir.path("a2b.grd") + " does not exist"));
            else
                EXPECT_EQ(e.prompt.shown[0].text, run.empty);
            EXPECT_TRUE(surfer::instances().empty());
            EXPECT_EQ(w->txtNoFiles->text(), gone ? "2" : "0");
        }
    }
}

TEST(SurfFnsWindow, FitsTheScreenWithEveryControlReachable) {
    Env e;
    frmSurfFns* w = e.open();
    ASSERT_NE(w, nullptr);
    QCoreApplication::processEvents();
    const QSize room = w->screen()->availableGeometry().size();
    EXPECT_LE(w->width(), room.width());
    EXPECT_LE(w->height(), room.height());
    // Scrolled to, the bottom-right controls come into view at their full size.
    auto* scroll = w->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    for (QWidget* c : std::initializer_list<QWidget*>{w->cmdExit, w->cmdCompareGrids, w->chkTeeth[11], w->txtTilt}) {
        scroll->ensureWidgetVisible(c);
        QCoreApplication::processEvents();
        const QRect inView(c->mapTo(scroll->viewport(), QPoint(0, 0)), c->size());
        EXPECT_TRUE(scroll->viewport()->rect().contains(inView)) << c->objectName().toStdString();
        EXPECT_GE(c->width(), c->minimumSizeHint().width());
    }
    EXPECT_TRUE(w->pbrBatch->isHidden());
    if (const char* out = std::getenv("TRELVIK_SCREENSHOT_DIR")) {
        scroll->ensureWidgetVisible(w->lblDescription);
        QCoreApplication::processEvents();
        w->grab().save(QString(out) + "/surffns_top.png");
        scroll->ensureWidgetVisible(w->cmdCompareGrids);
        QCoreApplication::processEvents();
        w->grab().save(QString(out) + "/surffns_bottom.png");
    }
}

// On a 1280 x 720 screen every frame shows whole across, whatever mount points the
// drive list holds: nothing to scroll sideways to.
TEST(SurfFnsWindow, EveryFrameShowsWholeAcrossAt1280x720) {
    Env e;
    frmSurfFns w(e.state, e.prompt);
    w.Drive2->addItem("/media/researcher/external-scan-disk-of-the-lab");
    w.resize(frmSurfFns::kDesignSize.boundedTo(QSize(1280, 720) - kWindowFrameAllowance));
    w.show();
    QCoreApplication::processEvents();
    auto* scroll = w.findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->horizontalScrollBar()->maximum(), 0);
    const int right = scroll->viewport()->width();
    for (QWidget* frame : scroll->widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect inView(frame->mapTo(scroll->viewport(), QPoint(0, 0)), frame->size());
        auto* box = qobject_cast<QGroupBox*>(frame);
        EXPECT_TRUE(inView.left() >= 0 && inView.right() < right)
            << (box ? box->title() : QString("file list")).toStdString() << " spans " << inView.left() << ".."
            << inView.right() << " of " << right;
    }
}
