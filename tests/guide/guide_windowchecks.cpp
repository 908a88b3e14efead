// The guide's checks that open windows of their own on the worked example's folder:
// the curvature window's tabs, and the tables the R and pandas lines read by layout
// with the first controls, the controls out of sight until scrolled, the summaries and
// the working files of the windows that write them.
#include "guidecheck.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>

#include <set>

#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/textform.h"
#include "csvview/frmCSVView.h"
#include "csvview/frmCSVView_picture.h"
#include "formats/surfergrid.h"
#include "surferfns/frmSurfFns.h"
#include "toothfeatures/frmCurvature.h"
#include "widgets/dirlistbox.h"
#include "widgets/fitscreen.h"
#include "widgets/filelistbox.h"

namespace fs = std::filesystem;

namespace guidecheck {

namespace {
// The 0-based indices of the empty lines of a file.
std::vector<std::size_t> emptyLines(const std::vector<std::string>& ls) {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < ls.size(); ++i)
        if (ls[i].empty()) out.push_back(i);
    return out;
}

// The window as it opens on a 1280 x 720 screen (its design size within the screen's
// room), its frames in a scroll area: the buttons, boxes, lists, views and frames on
// show that lie out of sight until the user scrolls down (less than half of them in the
// area's view) must be exactly `below` and what lies in them.
void expectBelowFirstView(QWidget* window, QSize design, const std::set<const QWidget*>& below) {
    window->resize(design.boundedTo(QSize(1280, 720) - kWindowFrameAllowance));
    QApplication::processEvents();
    auto* scroll = window->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    ASSERT_EQ(scroll->verticalScrollBar()->value(), 0);
    const QWidget* view = scroll->viewport();
    for (const QWidget* w : scroll->widget()->findChildren<QWidget*>()) {
        const bool control = qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QLineEdit*>(w) ||
                             qobject_cast<const QComboBox*>(w) || qobject_cast<const QFrame*>(w) ||
                             qobject_cast<const QGroupBox*>(w);
        if (!control || !w->isVisible() || qobject_cast<const QComboBox*>(w->parentWidget())) continue;
        const int inView = std::clamp(view->height() - w->mapTo(view, QPoint(0, 0)).y(), 0, w->height());
        bool listed = false;
        for (const QWidget* a = w; a && !listed; a = a->parentWidget()) listed = below.count(a) > 0;
        EXPECT_EQ(2 * inView < w->height(), listed)
            << window->windowTitle().toStdString() << ": " << w->metaObject()->className() << " \""
            << w->objectName().toStdString() << "\" at " << w->mapTo(view, QPoint(0, 0)).y() << ", "
            << inView << " of " << w->height() << " in the view of " << view->height();
    }
}

// The text a control shows: a button's, a frame's title or a label's.
std::string shown(const QWidget* w) {
    if (const auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text().toStdString();
    if (const auto* g = qobject_cast<const QGroupBox*>(w)) return g->title().toStdString();
    if (const auto* l = qobject_cast<const QLabel*>(w)) return l->text().toStdString();
    return {};
}

const QWidget* labelled(const QWidget* window, const char* text) {
    for (const QLabel* l : window->findChildren<QLabel*>())
        if (l->text() == text) return l;
    ADD_FAILURE() << "no label " << text;
    return nullptr;
}
} // namespace

// The curvature window as the guide describes it, on the example's molar.grd: 1a with its
// first settings, the postparacrista sliced on 2a, 2b's squares, a 1b input.
void checkCurvatureWindow(Example& e) {
    e.prompt.shown.clear();
    e.main->mnuCurvSlice->trigger();
    auto* w = qobject_cast<toothfeatures::frmCurvature*>(e.main->windows().find("frmCurvature"));
    ASSERT_NE(w, nullptr);
    w->File1->refresh();
    ASSERT_TRUE(w->File1->selectFile("molar.grd"));
    w->File1_Click();
    w->Command2->click();
    w->Command4->click();
    ASSERT_TRUE(e.prompt.shown.empty()) << e.prompt.shown.front().text;
    ASSERT_TRUE(fs::exists(e.path("molar_fwa9,4x3_curv10.grd")));

    // 2a, first press: one question (the box reads 1.0), the box then reads 0.5.
    std::string crest;
    for (const auto& p : guide::kCrestLine) crest += text::CStr(p.x) + "," + text::CStr(p.y) + "\r\n";
    guideSays("the postparacrista of the worked example (`3.1,5.5` to `5,5.55`)");
    const auto digitiseCrest = [&](const ScriptedPrompt::Shown&) {
        writeFileAtomic(e.path("digit.dat"), crest);
        return Answer::Ok;
    };
    w->SSTab2->setCurrentIndex(toothfeatures::kTabSlice);
    EXPECT_EQ(w->txtCrestLength->text(), "1.0");
    EXPECT_FALSE(w->chkCID->isChecked());
    EXPECT_TRUE(w->chkAltValuesS->isChecked());
    EXPECT_TRUE(w->chkCalcSliceAuto->isChecked());
    EXPECT_EQ(w->Text6->text(), "0.05");
    e.prompt.respond(digitiseCrest);
    w->Command5->click();
    ASSERT_EQ(e.prompt.shown.size(), 1u);
    EXPECT_EQ(e.prompt.shown[0].title, "Digitise map");
    EXPECT_EQ(w->txtCrestLength->text(), "0.5");
    EXPECT_EQ(w->Text10->text(), "44");
    const auto slice = lines(e.path("molar1.0_curvslresults.csv"));
    ASSERT_EQ(slice.size(), 44u + 4u);
    EXPECT_EQ(emptyLines(slice), std::vector<std::size_t>{44 + 1});  // N rows under the header
    EXPECT_EQ(slice[44].rfind("\"44\",", 0), 0u) << slice[44];
    EXPECT_EQ(slice[46], "\"MinCurv\",\"MaxCurv\",\"MeanCurv\",\"SDCurv\",\"3DCrestLength\",\"2DCrestLength\"");
    EXPECT_EQ(slice[0], "\"Interval\",\"Curvature\",\"Length of surface with curvature above threshold\"");
    guideSays("`3DCrestLength` and `2DCrestLength` of the curvature slice table as `X3DCrestLength` and "
              "`X2DCrestLength`, and the curvature slice table's third column as "
              "`Length.of.surface.with.curvature.above.threshold`");
    guideSays("\"Calculate\" writes 44 rows, one per threshold, from 0.984 down to -1.166");
    // The range the slice set, and the rows: one step below the top down to one step
    // below the left box; the last two at or below the least curvature, alike.
    const double least = w->Label6->text().toDouble();
    quoted(least, "-1.08479");
    quoted(w->Label8->text().toDouble(), "1.03398");
    EXPECT_EQ(w->Text8->text(), "1.034");
    EXPECT_EQ(w->Label9->text(), "-1.116");
    guideSays("\"Range to use\" runs from -1.116 to 1.034");
    const auto row = [&](std::size_t k) { return fields(slice[k]); };
    EXPECT_EQ(row(1)[1], "0.984");
    EXPECT_EQ(row(43)[1], "-1.116");
    EXPECT_EQ(row(44)[1], "-1.166");
    EXPECT_GT(std::stod(row(42)[1]), least);
    EXPECT_LE(std::stod(row(43)[1]), least);
    EXPECT_NE(row(42)[2], row(43)[2]);
    EXPECT_EQ(row(43)[2], row(44)[2]);
    EXPECT_EQ(row(44)[2], fields(slice[47])[4]);  // 3DCrestLength: the whole crest
    quoted(std::stod(row(44)[2]), "2.0248");
    guideSays("The 43rd threshold, -1.116, already passes the least curvature and the 44th is below the range too");
    guideSays("44 for the crest of the [curvature window](#tooth-features--curvature)");
    guideSays("the first press slices once (`molar1.0`) and leaves 0.5");
    // A later press asks twice, for 0.5 and then 1.0.
    e.prompt.shown.clear();
    e.prompt.respond(digitiseCrest);
    e.prompt.respond(digitiseCrest);
    w->Command5->click();
    ASSERT_EQ(e.prompt.shown.size(), 2u);
    for (const auto& m : e.prompt.shown) EXPECT_EQ(m.title, "Digitise map");
    EXPECT_TRUE(fs::exists(e.path("molar0.5_curvslresults.csv")));
    EXPECT_EQ(w->txtCrestLength->text(), "0.5");
    guideSays("every later press, and the first after a 1b input (which sets the box to 0.5), asks twice");
    // The crest length box only names the table.
    EXPECT_EQ(readAll(e.path("molar0.5_curvslresults.csv")), readAll(e.path("molar1.0_curvslresults.csv")));
    guideSays("the tables of one crest under 0.5 and under 1.0 are the same, row for row");

    // 2b: a first square with "Use previously digitised point" ticked stops with a message.
    e.prompt.shown.clear();
    w->SSTab2->setCurrentIndex(toothfeatures::kTabArea);
    EXPECT_TRUE(w->chkUsePrevDig->isChecked());
    w->Command13->click();
    ASSERT_EQ(e.prompt.shown.size(), 1u);
    EXPECT_NE(e.prompt.shown[0].title, "Digitise map");
    EXPECT_FALSE(fs::exists(e.path("molar_cac20_curvaresults.csv")));
    guideSays("so a first run stops with a message that there is none");
    // Squares with a digitised corner beside the paracone's tip: 20, 50 and 100 hold
    // one node at most and are refused (50 switches nothing), 200 holds four.
    EXPECT_TRUE(w->chkAltValues->isChecked());
    EXPECT_EQ(w->txtAlt1->text(), "50");
    EXPECT_EQ(w->txtAlt2->text(), "100");
    EXPECT_EQ(w->Text5->text(), "20");
    guideSays("\"Alternate between two values\" (50 and 100, ticked at first)");
    w->chkUsePrevDig->setChecked(false);
    const auto square = [&](const char* side) {
        e.prompt.shown.clear();
        w->Text5->setText(side);
        e.prompt.respond([&](const ScriptedPrompt::Shown&) {
            writeFileAtomic(e.path("digit.dat"), "3.05,5.45\r\n");
            return Answer::Ok;
        });
        w->Command13->click();
        return e.prompt.shown.back();
    };
    for (const auto& [side, held] : {std::pair{"20", "no curvature node"}, {"50", "1 curvature node(s)"},
                                     {"100", "1 curvature node(s)"}}) {
        const auto refusal = square(side);
        EXPECT_NE(refusal.text.find("holds " + std::string(held)), std::string::npos) << side << ": " << refusal.text;
        EXPECT_FALSE(fs::exists(e.path(std::string("molar_cac") + side + "_curvaresults.csv"))) << side;
        EXPECT_EQ(w->Text5->text(), side);
    }
    EXPECT_EQ(square("200").title, "Digitise map");
    EXPECT_EQ(lines(e.path("molar_cac200outstr.dat")).size(), 4u);
    EXPECT_EQ(lines(e.path("molar_cac200_curvaresults.csv")).size(), 2u);
    EXPECT_EQ(w->Text5->text(), "200");
    // The question asks for digit.dat in the window's current folder, shown under the
    // folder list of 1a, also once that list has left the grid's folder.
    const std::string away = e.path("away");
    EXPECT_EQ(e.digitFileAskedAway(w->Dir1, w->Command13,
                                   [&] { EXPECT_EQ(w->Label1->text().toStdString(), away); }),
              fs::path(away + "/digit.dat").lexically_normal().string());
    guideSays("except in the Cusp volume and Curvature windows, whose steps read it from the window's current folder, "
              "the one shown under its folder list (on tab 1a of the Curvature window), even after that list has moved "
              "away from the grid's folder");
    guideSays("(for those two windows, `digit.dat` in the window's current folder)");
    guideSays("A side of 200 µm holds four nodes or more wherever the corner lies (four for a corner at `3.05,5.45`");
    w->chkUsePrevDig->setChecked(true);

    // 1b input of the smoothed grid, then 1a "Curvature": the last smoothing's tag again.
    e.prompt.shown.clear();
    w->File3->refresh();
    ASSERT_TRUE(w->File3->selectFile("molar_fwa9,4x3.grd"));
    w->File3_Click();
    w->Command3->click();
    EXPECT_EQ(w->txtCrestLength->text(), "0.5");
    w->Command4->click();
    EXPECT_TRUE(e.prompt.shown.empty());
    EXPECT_TRUE(fs::exists(e.path("molar_fwa9,4x3_fwa9,4x3_curv10.grd")));
    guideSays("a 1b input of `molar_fwa9,4x3.grd` and \"Curvature\" write `molar_fwa9,4x3_fwa9,4x3_curv10.grd`");
}

// The tables the R and pandas lines read by their layout: the terrain tables of the
// Surfer Functions window and the CSV viewer's statistics files, made from the samples,
// with the terrain's working file and the CSV viewer's first controls.
void checkTableLayouts(Example& e) {
    e.prompt.shown.clear();
    e.main->mnuSurfFns->trigger();
    auto* sf = qobject_cast<frmSurfFns*>(e.main->windows().find("frmSurfFns"));
    ASSERT_NE(sf, nullptr);
    const QWidget* named[] = {sf->cmdAddFilename, sf->cmdAddAllFilenames, sf->cmdClearFilenames,
                              labelled(sf, "No. files"), sf->chkClearFilenames, sf->chkStartSurfer,
                              sf->cmdExit, sf->cmdSmooth, sf->fraSmooth, sf->fraPlot};
    for (const QWidget* w : named) guideSays("\"" + shown(w) + "\"");
    expectBelowFirstView(sf, frmSurfFns::kDesignSize,
                         {labelled(sf, "Input grid filename (*.grd)"), sf->Text2, sf->cmdAddFilename,
                          sf->cmdAddAllFilenames, sf->cmdClearFilenames, labelled(sf, "No. files"), sf->txtNoFiles,
                          sf->chkClearFilenames, sf->chkStartSurfer, sf->cmdExit, sf->cmdSmooth, sf->fraPlot});
    guideSays("Scroll down for the grid box (\"Input grid filename\"), \"Add filename\", \"Add all filenames\", "
              "\"Clear filenames\", \"No. files\", \"Clear filenames after fn\", \"Start new Surfer (v8)\" and "
              "\"Exit\" under the file list, for the \"Smooth\" button at the foot of \"Smooth grid\", and for the "
              "whole \"Plot output\" frame");
    EXPECT_EQ(sf->txtTAMinSlope->text(), "10");
    EXPECT_EQ(sf->opt3DSurface->text(), "3D surface");  // the plot output the rake angle window leaves
    EXPECT_EQ(sf->cmdPresetA->text(), "Above");
    e.dir.write("molartemp.dat", "the user's own");  // named like the terrain's scratch text
    for (const char* item : {"Terrain slope", "Terrain aspect"}) {
        sf->Dir2->setPath(QString::fromStdString(e.dir.folder()));
        sf->File2->refresh();
        ASSERT_TRUE(sf->File2->selectFile("molar.grd"));
        sf->File2_Click();
        sf->cmdAddFilename->click();
        sf->optTerrain->setChecked(true);
        sf->cmbProcess->setCurrentText(item);
        sf->cmdProcess->click();
    }
    ASSERT_TRUE(e.prompt.shown.empty()) << e.prompt.shown.front().text;
    // Every number quoted.
    for (const char* f : {"molartsresults.csv", "molarta10results.csv"})
        for (const auto& l : lines(e.path(f)))
            if (!l.empty()) EXPECT_EQ(l.front(), '"') << f << ": " << l;
    const auto ts = lines(e.path("molartsresults.csv"));
    ASSERT_EQ(ts.size(), 13u);
    EXPECT_EQ(emptyLines(ts), (std::vector<std::size_t>{8 + 1, 12}));
    EXPECT_EQ(ts[8 + 2], "\"Mean Slope\",\"SD Slope\"");
    guideSays("8 for the terrain slope table");
    guideSays("`Mean Slope` reads as `Mean.Slope`");
    guideSays("`Mean Slope` and `SD Slope` of the terrain slope table read as `Mean.Slope` and `SD.Slope`");
    const auto ta = lines(e.path("molarta10results.csv"));
    EXPECT_EQ(emptyLines(ta), (std::vector<std::size_t>{33, 51, 61, 67}));
    const std::size_t starts[] = {0, 34, 52, 62}, rows[] = {32, 16, 8, 4};
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(ta[starts[k]], "\"Bin\",\"Frequency\"");
        EXPECT_EQ(ta[starts[k] + rows[k] + 1], "");
    }
    guideSays("(32, 16, 8 and 4 rows), each followed by an empty line");
    guideSays("n <- c(32, 16, 8, 4); s <- c(0, 34, 52, 62)");
    guideSays("n = [32, 16, 8, 4]; s = [0, 34, 52, 62]");
    // "Terrain aspect min slope" 10 is in degrees: an aspect exactly where the slope is
    // 10 degrees or more.
    const Grid slope = formats::readSurferGrid(e.path("molarts.grd"));
    const Grid aspect = formats::readSurferGrid(e.path("molarta10.grd"));
    ASSERT_EQ(slope.z.size(), aspect.z.size());
    long kept = 0, wrong = 0;
    for (std::size_t k = 0; k < slope.z.size(); ++k) {
        const bool steep = !isBlank(slope.z[k]) && slope.z[k] >= 10;
        kept += !isBlank(aspect.z[k]);
        wrong += steep != !isBlank(aspect.z[k]);
    }
    EXPECT_GT(kept, 0);
    EXPECT_EQ(wrong, 0);
    guideSays("its first value, 10, keeps an aspect only where the slope is 10 degrees or more");
    // Neither the terrain nor a step that reads the grid's geometry (Plane fit on molar.grd)
    // writes its scratch under the user's names.
    guide::fitPlane(*e.ex);
    e.expectNoFailure();
    e.prompt.shown.clear();
    EXPECT_EQ(readAll(e.path("molartemp.dat")), "the user's own");
    guideSays("files of your own named `Btemp.dat`, `Btemp.grd`, `temp.dat`, `temp2.dat` or `tempgrid.grd` stay "
              "as they are");

    // The CSV viewer's statistics files: a one-row summary, an empty line, the classes;
    // angularity the summary alone.
    e.main->mnuCSVView->trigger();
    auto* cv = qobject_cast<csvview::frmCSVView*>(e.main->windows().find("frmCSVView"));
    ASSERT_NE(cv, nullptr);
    const auto expectCsvViewBelow = [&] {
        std::set<const QWidget*> below = {cv->Path, cv->Text1, cv->Command3, cv->chkViewOnClick, cv->cmdReadCSV,
                                          cv->cmdViewCSV, cv->chkOrigModelFile, cv->cmdExit, cv->cmdCopyWRL,
                                          cv->cmdVrmlFit, cv->lblX_W->parentWidget(), cv->lblX_P->parentWidget(),
                                          cv->cmdCopyPicBox->parentWidget()};
        for (const csvview::CsvPictureBox* v : cv->picBoxI) below.insert(v);
        for (int tab = cv->SSTab1->count() - 1; tab >= 0; --tab) {
            cv->SSTab1->setCurrentIndex(tab);
            expectBelowFirstView(cv, cv->designSize(), below);
        }
    };
    const QWidget* csvNamed[] = {cv->Command3,   cv->chkViewOnClick, cv->cmdReadCSV,
                                 cv->cmdViewCSV, cv->chkOrigModelFile, cv->cmdCopyWRL,
                                 cv->cmdVrmlFit, cv->cmdCopyPicBox->parentWidget()};
    for (const QWidget* w : csvNamed) guideSays("\"" + shown(w) + "\"");
    expectCsvViewBelow();
    guideSays("Scroll down for the folder line, the file box, \"Dir\", \"View on click\", \"Read CSV\", \"View CSV\", "
              "\"Original model file\" and \"Exit\" under the file list, the VRML view's \"Copy\" and \"Fit\", the "
              "read-outs of the working and processed views, the four result views and the \"Copy\" frame beside them");
    cv->Dir1->setPath(QString::fromStdString(e.dir.folder()));
    cv->File1->setPath(QString::fromStdString(e.dir.folder()));
    cv->Text1->setText("molar.csv");
    EXPECT_TRUE(cv->chkOPCR->isChecked());
    EXPECT_TRUE(cv->chkClumpSingResFile->isChecked());
    EXPECT_EQ(cv->chkClumpSaveImage->text(), "Save patch image");
    EXPECT_EQ(cv->chkClumpSingResFile->text(), "Save all results to single file");
    guideSays("While \"Save all results to single file\" is ticked (it is at first)");
    // The grid-size choices from the top of their frame down, "Minimum" chosen at first.
    EXPECT_TRUE(cv->optMinGridSize->isChecked());
    std::vector<std::string> sizes;
    const auto* sizeRows = qobject_cast<QGridLayout*>(cv->Frame4->layout());
    ASSERT_NE(sizeRows, nullptr);
    for (int row = 0; row < sizeRows->rowCount(); ++row)
        if (const QLayoutItem* item = sizeRows->itemAtPosition(row, 0))
            if (const auto* choice = qobject_cast<const QRadioButton*>(item->widget()))
                sizes.push_back(choice->text().toStdString());
    EXPECT_EQ(sizes, (std::vector<std::string>{"Default (24 × 24)", "Minimum", "Minimum + 1", "Other"}));
    guideSays("four choices in this order: \"Default (24 × 24)\" (x and y from 1 to 24), \"Minimum\" (the lattice "
              "with a one-cell empty margin; the one chosen at first), \"Minimum + 1\" (read the same way) and "
              "\"Other\"");
    cv->cmdReadCSV_Click();
    expectCsvViewBelow();  // and so with a grid read
    cv->chkAspectSlopeSaveStats->setChecked(true);
    for (QRadioButton* o : {cv->optProcSlope, cv->optProcAspect, cv->optProcAngular}) {
        o->setChecked(true);
        cv->cmdProcAspectSlope_Click();
    }
    ASSERT_TRUE(e.prompt.shown.empty()) << e.prompt.shown.front().text;
    for (const char* f : {"slope/molarslopestats.csv", "orient/molarorientstats.csv"}) {
        const auto st = lines(e.path(f));
        ASSERT_GE(st.size(), 5u) << f;
        EXPECT_EQ(emptyLines(st), std::vector<std::size_t>{1 + 1}) << f;
    }
    EXPECT_EQ(lines(e.path("slope/molarslopestats.csv"))[3], "\"IntStart\",\"NoPts\"");
    EXPECT_EQ(lines(e.path("orient/molarorientstats.csv"))[3], "\"IntCentre\",\"NoPts\"");
    EXPECT_EQ(lines(e.path("angularity/molarangularitystats.csv")).size(), 2u);
    // The summaries' names as the files hold them, as the guide lists them.
    for (const std::string measure : {"Slope", "Angularity"}) {
        const std::string file = measure == "Slope" ? "slope/molarslopestats.csv" : "angularity/molarangularitystats.csv";
        const auto st = lines(e.path(file));
        std::string header = "\"Info\",\"NoPts\"", listed;
        for (const char* s : {"Mean", "SD", "Min", "Max", "Med", "1Q", "3Q"}) {
            header += ",\"" + measure + s + "\"";
            listed += (listed.empty() ? "" : ", ") + measure + s;
        }
        EXPECT_EQ(st[0], header) << file;
        EXPECT_EQ(st[1].rfind("\"" + measure + "\",", 0), 0u) << file;
        guideSays(listed);
    }
    const auto orient = lines(e.path("orient/molarorientstats.csv"));
    EXPECT_EQ(orient[0], "\"Info\"");
    EXPECT_EQ(orient[1], "\"Orient\"");
    guideSays("The summary of `orientstats.csv` holds only Info, with the text `Orient`");
    guideSays("select `first$SlopeMean` in R and `first[\"SlopeMean\"]` in pandas");
    guideSays("1 for a patch count and the two statistics files");
    guideSays("`angularity/<base>angularitystats.csv` holds the summary alone and reads as it is");

    // "All files" on two copies of molar.csv: one row per file in each summary, in the
    // analysis' sub-folder (angularity's named "angular"), none for the orientation nor
    // the contour bands.
    const std::string batch = e.path("batch");
    fs::create_directories(batch);
    for (const char* f : {"a.dat", "b.dat"}) fs::copy_file(e.path("molar.csv"), batch + "/" + f);
    cv->File1->setPath(QString::fromStdString(batch));
    for (QRadioButton* o : {cv->optProcSlope, cv->optProcAspect, cv->optProcAngular}) {
        o->setChecked(true);
        cv->cmdProcAspectSlopeAllFiles->click();
    }
    cv->chkSAVolSaveStats->setChecked(true);
    EXPECT_EQ(shown(cv->chkAspectSlopeSaveStats), "Save o/s stats");
    EXPECT_EQ(shown(cv->chkSAVolSaveStats), "Save statistics");
    cv->cmdCalcSAVolStatsAllFiles->click();
    cv->cmdProcContourAllFiles->click();
    cv->cmdProcClumpAllFiles->click();
    ASSERT_TRUE(e.prompt.shown.empty()) << e.prompt.shown.front().text;
    EXPECT_TRUE(fs::exists(batch + "/orient/borientstats.csv"));
    const std::string run = cv->lblClumpNameID->text().toStdString();
    std::set<std::string> summaries;
    for (const auto& f : fs::recursive_directory_iterator(batch))
        if (f.path().filename().string().rfind("00", 0) == 0) {
            summaries.insert(fs::relative(f.path(), batch).generic_string());
            const auto rows = lines(f.path().string());
            ASSERT_EQ(rows.size(), 3u) << f.path();
            EXPECT_EQ(rows[1].rfind("\"a\",", 0), 0u) << f.path();
            EXPECT_EQ(rows[2].rfind("\"b\",", 0), 0u) << f.path();
        }
    EXPECT_EQ(summaries, (std::set<std::string>{"slope/00slopestats.csv", "angularity/00angularstats.csv",
                                                "savol/00savolstats.csv", run + "/00" + run + "allresults.csv",
                                                run + "/00" + run + "_R8-OPCRallresults.csv"}));
    guideSays("With \"Save o/s stats\" ticked these are `slope/00slopestats.csv` for the slope and "
              "`angularity/00angularstats.csv` (its stem is `angular`, not `angularity`) for the angularity; the "
              "orientation has no summary, only each file's `orient/<base>orientstats.csv`. \"Save statistics\" gives "
              "`savol/00savolstats.csv`, a patch count its two `00` tables in its run folder");
    guideSays("and the contour bands none");
}

} // namespace guidecheck
