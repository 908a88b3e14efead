// The worked example of docs/guide.md, done in the windows as the guide tells it (the
// steps of tools/guideexample.h, also behind the guide's pictures), on a copy of
// samples/: every number the guide quotes must come out as quoted, and must stand in
// the guide as written; the digitise files it gives to paste must be exactly the files
// the example saves.
#include "guidecheck.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <numeric>
#include <sstream>

#include "app/toolwindows.h"
#include "conversion/frmConversion.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/textform.h"
#include "csvview/latticeread.h"
#include "csvview/opccount.h"
#include "formats/surfergrid.h"
#include "formats/xyzpointfile.h"
#include "guideexample.h"
#include "planes/frmPlaneFit.h"
#include "planes/landstats.h"
#include "planes/planeformula.h"
#include "planes/toothlength.h"
#include "pointclouds/frmPtCloud.h"
#include "shell/frmStartup.h"
#include "support/qtapp.h"
#include "support/tempfolder.h"
#include "surfer/application.h"
#include "surfer/documents.h"
#include "surfer/gridcalculus.h"
#include "surfer/plotmodel.h"
#include "surferwin/mapwindow.h"
#include "toothfeatures/curvarea.h"
#include "toothfeatures/curvgrids.h"
#include "toothfeatures/curvsmooth.h"
#include "toothfeatures/frmAppAng.h"
#include "toothfeatures/frmCuspVol.h"
#include "widgets/digitisequestion.h"
#include "widgets/dirlistbox.h"
#include "widgets/fitscreen.h"

using namespace trelvik;
namespace fs = std::filesystem;

using namespace guidecheck;

namespace {

// The trial of clicks near the given points that the guide reports: each click lands
// within 0.02 mm of its point (steps the trial does not name are clicked exactly).
guide::MapPoint clickedNear(const std::string& step, std::size_t index, guide::MapPoint p) {
    static const std::map<std::string, std::vector<guide::MapPoint>> off = {
        {"plane", {{0, 0}, {-0.014, 0.014}, {0, 0}, {0.014, -0.014}}},
        {"occlusal", {{0.02, 0}, {0.02, 0}}},
        {"crest", {{0, -0.02}, {0.014, 0.014}}}};
    const auto it = off.find(step);
    if (it == off.end()) return p;
    return {p.x + it->second[index].x, p.y + it->second[index].y};
}

// What the trial moves: the plane's A and B (against the exact points' a and b), the
// approach angle and the number of slice points.
void checkClickedPoints(double a, double b, double grandMeanZ5) {
    Example e;
    e.ex->click = clickedNear;
    frmPlaneFit* plane = guide::fitPlane(*e.ex);
    e.expectNoFailure();
    const auto formula = planes::tryParsePlaneFormula(plane->txtFormula->text().toStdString());
    ASSERT_TRUE(formula.has_value());
    quoted(100 * std::fabs(formula->A - a) / std::fabs(a), "12");
    quoted(100 * std::fabs(formula->B - b) / std::fabs(b), "26");
    guideSays("moved the plane's A by 12 % and B by 26 %");
    guide::measureCrest(*e.ex);
    e.expectNoFailure();
    const auto angles = lines(e.path("molarpopac_crsltrs_aaresults.csv"));
    ASSERT_EQ(angles.size(), 23u);  // the header and 22 slice points
    quoted(std::fabs(std::stod(fields(angles[1])[13]) - grandMeanZ5), "1.3");
    guideSays("the approach angle GrandMeanZ5 by 1.3 degrees and the number of slice points along the crest "
              "from 20 to 22");
}

// Patches of the orientation grid `orient` (degrees, 9999 none) with N = 8 classes
// turned by `offset`, kept above 2 cells, as the count forms them.
long patchCount(const csvview::LatticeGrid& orient, double offset) {
    const auto classes = csvview::orientationClasses(orient, 8, offset, false);
    return static_cast<long>(csvview::labelPatches(classes, orient.cols, orient.rows, 2).patchSizes.size());
}

// The figures of "How the numbers are computed" that the worked example does not give.
void checkMethodFigures(Example& e) {
    // The patch count of molar.csv with the default settings, and with other choices.
    csvview::ReadCsvOptions read;
    read.folder = e.dir.folder();
    read.fileName = "molar.csv";
    csvview::CurrentGrid lattice;
    PointList points;
    ScriptedPrompt quiet;
    ASSERT_TRUE(csvview::ReadCsvGrid(read, lattice, points, quiet).done);
    csvview::OpcInput in;
    in.working = &lattice;
    in.xstep = lattice.xstep;
    in.ystep = lattice.ystep;
    in.zmin = lattice.zmin;
    in.zmax = lattice.zmax;
    in.ctx = csvview::RunContext{lattice.folder, lattice.baseName, false, false};
    AppState app;
    const csvview::OpcResult opc = csvview::ProcClump(csvview::OpcSettings{}, in, app, quiet, noProgress());
    ASSERT_TRUE(opc.done);
    ASSERT_EQ(opc.runs.size(), 8u);
    quoted(static_cast<double>(opc.runs.front().patches), "45");
    guideSays("the default settings give 45 patches");
    guideSays("the run's results table holds the first turn's (45)");
    EXPECT_EQ(opc.noClumpsText, "42");
    guideSays("\"No. patches\" shows the count of the last turn (42 on the sample)");
    // T: the working grid's empty margin is its outermost ring, so every lattice cell
    // with a height counts.
    long withHeight = 0, inMargin = 0;
    for (int r = 1; r <= lattice.rows; ++r)
        for (int c = 1; c <= lattice.cols; ++c) {
            const bool margin = r == 1 || c == 1 || r == lattice.rows || c == lattice.cols;
            withHeight += !lattice.isVoidCell(c, r);
            inMargin += margin && !lattice.isVoidCell(c, r);
        }
    EXPECT_EQ(inMargin, 0);
    EXPECT_EQ(lattice.cols, 101 + 2);
    EXPECT_EQ(lattice.rows, 81 + 2);
    EXPECT_EQ(opc.totalCells, withHeight);
    quoted(static_cast<double>(opc.totalCells), "8181");
    EXPECT_EQ(opc.totalCells, 101 * 81);
    guideSays("T counts every lattice cell with a height: 8181 on `molar.csv`, all of its 101 x 81 cells");
    quoted(opc.runs.front().diversity, "29.53");
    EXPECT_EQ(opc.pdClumpedText, "30.191");
    quoted(opc.runs.back().diversity, "30.191");
    guideSays("give a patch diversity of 29.53 there");
    guideSays("\"Patch divers.\" shows the last turn's, 30.191");
    // The run's files: the patch table holds the cells of the counted patches only, and
    // both summaries are written ("Save all results to single file" starts ticked).
    const std::string runDir = e.path(opc.runName) + "/";
    const auto patchCells = lines(runDir + "molar-" + opc.runName + ".csv");
    EXPECT_EQ(static_cast<long>(patchCells.size()), opc.pixelsInClumps);
    quoted(static_cast<double>(patchCells.size()), "5461");
    EXPECT_EQ(fields(patchCells.front()).size(), 3u) << patchCells.front();  // no header
    guideSays("of the cells of the counted patches only: 5461 lines for the 8181 cells of `molar.csv`");
    EXPECT_EQ(lines(runDir + "00" + opc.runName + "allresults.csv").size(), 2u);
    const auto opcr = lines(runDir + "00" + opc.runName + "_R8-OPCRallresults.csv");
    ASSERT_EQ(opcr.size(), 2u);
    EXPECT_EQ(opcr[0].rfind("\"File\",\"ClumpInfo\",\"NoClumps_OPCR\",", 0), 0u) << opcr[0];
    EXPECT_NE(opcr[0].find(",\"PatchDiversityClump_OPCR\",\"TotalPixels\","), std::string::npos) << opcr[0];
    guideSays("(NoClumps_OPCR, ..., PatchDiversityClump_OPCR)");
    csvview::OpcSettings once;
    once.opcr = false;
    ASSERT_TRUE(csvview::ProcClump(once, in, app, quiet, noProgress()).done);
    EXPECT_TRUE(fs::exists(runDir + "00" + opc.runName + "_R1-OPCRallresults.csv"));
    guideSays("with OPCR unticked, `_R1` and the one run");
    EXPECT_EQ(patchCount(opc.slope->grids.orient, 0), 42);
    guideSays("classes starting at north (0 to 45 degrees) give 42");
    // The central-difference gradient: the terrain aspect of the same lattice (its
    // empty cells blank).
    Grid heights(lattice.cols, lattice.rows, lattice.cells.front().x, lattice.cells.back().x,
                 lattice.cells.front().y, lattice.cells.back().y);
    for (std::size_t k = 0; k < lattice.cells.size(); ++k)
        if (!csvview::isVoid(lattice.cells[k].z)) heights.z[k] = lattice.cells[k].z;
    const Grid aspect = surfer::terrainAspect(heights, 0);
    csvview::LatticeGrid central = csvview::LatticeGrid::sameNodes(lattice, csvview::kVoidHeight);
    for (std::size_t k = 0; k < central.cells.size(); ++k)
        if (!isBlank(aspect.z[k])) central.cells[k].z = aspect.z[k];
    EXPECT_EQ(patchCount(central, 22.5), 36);
    EXPECT_EQ(patchCount(central, 0), 32);
    guideSays("the central-difference gradient gives 36 (32 with classes starting at north)");

    // "Planar irreg area" of the curvature window on the paracone outline: whole cells.
    double enclosed = 0;
    const auto& o = guide::kParaconeOutline;
    for (std::size_t i = 0; i < o.size(); ++i) {
        const auto& p = o[i];
        const auto& q = o[(i + 1) % o.size()];
        enclosed += (p.x * q.y - q.x * p.y) / 2;
    }
    quoted(std::fabs(enclosed), "2.80");
    toothfeatures::CurvState curv;
    ScriptedPrompt curvPrompt;
    toothfeatures::CurvContext ctx{e.state, curvPrompt, curv};
    toothfeatures::CurvControls c;
    c.Label1 = c.Label3 = e.dir.folder();
    c.Text7 = "molar.grd";
    c.chkInputCurvGrid = false;
    ASSERT_EQ(toothfeatures::Input_Top(ctx, c), toothfeatures::StepOutcome::Done);
    ASSERT_EQ(toothfeatures::Curve(ctx, c), toothfeatures::StepOutcome::Done);
    c.optAreaSquare = false;
    c.Text4 = "pa";
    curvPrompt.respond([&](const ScriptedPrompt::Shown&) {
        std::string outline;
        for (const auto& p : o) outline += text::CStr(p.x) + "," + text::CStr(p.y) + "\n";
        writeFileAtomic(e.path("digit.dat"), outline);
        return Answer::Ok;
    });
    ASSERT_EQ(toothfeatures::Curv_Area(ctx, c), toothfeatures::StepOutcome::Done);
    const auto area = lines(e.path("molar_ciac-pa_curvaresults.csv"));
    ASSERT_EQ(area.size(), 2u);
    EXPECT_EQ(area[0], "\"Ave Curvature\",\"SD Curvature\",\"Planar irreg area\",\"3D irreg area\"");
    quoted(std::stod(fields(area[1])[2]), "2.44");
    guideSays("encloses 2.80 square mm; the cells of `molar.grd` wholly inside it cover 2.44");

    // The land find table: twelve names in one quoted cell, "±" as one Latin-1 byte.
    const planes::LandmarkStats st = planes::ComputeLandmarkStats({{1, 2}, {1.1, 2.1}}, {{1, 1}, {1, 1.1}},
                                                                  {{0.5, 0.6}, {0.5, 0.7}}, {{0, 1}, {0, 1.2}},
                                                                  {2, 2.2});
    const auto land = planes::LandmarkResultsLines(st);
    ASSERT_GE(land.size(), 1u);
    EXPECT_EQ(land[0].front(), '"');
    EXPECT_EQ(land[0].find("\","), std::string::npos) << land[0];
    EXPECT_EQ(fields(land[0]).size(), 12u);
    guideSays("The twelve names stand in one quoted cell");
    bool latin1 = false;
    for (const auto& l : land) latin1 = latin1 || l.find("Mean \xB1 SD") != std::string::npos;
    EXPECT_TRUE(latin1);
}


// The worked example as written, then the method figures on its folder; leaves the
// figures that the trial of near clicks is measured against.
void runExampleAsWritten(double& planeA, double& planeB, double& grandMeanZ5) {
    Example e;
    // The digitise file each step reads, as the map window saved it: the guide's blocks
    // to paste must be exactly these files, in the order of the steps.
    std::vector<std::string> saved;
    e.ex->atDigitise = [&](const std::string& step) {
        std::string text = readAll(e.path(step == "crest" ? "digit1.dat" : "digit.dat"));
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        saved.push_back(text);
    };

    // Plane fit.
    frmPlaneFit* plane = guide::fitPlane(*e.ex);
    e.expectNoFailure();
    EXPECT_EQ(plane->Label4->text(), "4");
    const auto formula = planes::tryParsePlaneFormula(plane->txtFormula->text().toStdString());
    ASSERT_TRUE(formula.has_value()) << plane->txtFormula->text().toStdString();
    quoted(formula->C, "0.7892");
    quoted(formula->B, "-0.0057");
    quoted(formula->A, "0.0137");
    planeA = formula->A;
    planeB = formula->B;
    for (const char* f : {"molarplane.grd", "molarplaneform.txt", "molarpl.dat", "molarplane_report.txt"})
        EXPECT_TRUE(fs::exists(e.path(f))) << f;
    EXPECT_TRUE(fs::exists(e.path("Report1.txt")));  // a working file the guide lists
    const auto planeHeights = lines(e.path("molarplz.dat"));
    ASSERT_EQ(planeHeights.size(), 4u);
    const char* basins[] = {"0.899", "0.9286", "0.7084", "0.8046"};
    for (std::size_t i = 0; i < 4; ++i) {
        std::istringstream zone(planeHeights[i]);
        double x = 0, y = 0, z = 0;
        zone >> x >> y >> z;
        quoted(z, basins[i]);
    }

    // Cusp volume of the paracone against that plane.
    frmCuspVol* cusp = guide::measureCusp(*e.ex);
    e.expectNoFailure();
    EXPECT_EQ(cusp->Label12->text(), "Done");
    EXPECT_EQ(cusp->Label13->text(), "Done");
    quoted(cusp->Label6->text().toDouble(), "0.6024");
    quoted(cusp->Label8->text().toDouble(), "1.5749");
    const auto table = lines(e.path("molarpa-0_cuspvolresults.csv"));
    ASSERT_EQ(table.size(), 12u);
    // Seven names, eight fields a row (the last an empty text), the levels quoted.
    EXPECT_EQ(fields(table[0]).size(), 7u);
    for (std::size_t i = 1; i < table.size(); ++i) {
        EXPECT_EQ(fields(table[i]).size(), 8u) << table[i];
        EXPECT_EQ(table[i].substr(table[i].size() - 3), ",\"\"") << table[i];
        EXPECT_EQ(table[i].front(), '"') << table[i];
    }
    guideSays("every row ends with an eighth, empty field");
    const auto half = fields(table[6]), last = fields(table[11]);
    EXPECT_EQ(last[2], "\"10/50il\"");
    quoted(unquoted(last[3]), "0.9999");
    quoted(unquoted(half[3]), "0.4999");
    quoted(unquoted(half[5]), "0.4834");
    quoted(unquoted(half[6]), "2.3673");
    quoted(unquoted(last[5]), "1.6203");
    quoted(unquoted(last[6]), "3.2757");
    // The levels: lowered by v = I cos θ each, Dist_from_tip i I, I cos² θ apart at right
    // angles to the tilted plane.
    const double cosTilt = 1 / std::sqrt(formula->A * formula->A + formula->B * formula->B + 1);
    quoted(std::acos(cosTilt) * 180 / 3.14159265358979, "0.85");
    const double step = unquoted(fields(table[2])[3]);
    EXPECT_NEAR(step, 0.1 * cosTilt, 1e-6);
    quoted(step, "0.09999");
    guideSays("θ the plane's tilt (0.85 degrees here): v = 0.09999 mm");
    for (std::size_t i = 1; i < table.size(); ++i) {
        EXPECT_NEAR(unquoted(fields(table[i])[3]), static_cast<double>(i - 1) * step, 1e-9) << table[i];
        EXPECT_NEAR(unquoted(fields(table[i])[4]), static_cast<double>(i - 1) * 0.1, 1e-9) << table[i];
    }
    quoted(step * cosTilt, "0.09998");
    guideSays("stand v cos θ = I cos² θ apart (0.09998 mm here)");
    for (const char* f : {"molarpapoints.dat", "molarpapoints.bln", "molarpab.grd", "molarpabtmp.grd"})
        EXPECT_TRUE(fs::exists(e.path(f))) << f;
    // "From file" shows v after the run, and the tooth length once one is read.
    EXPECT_NEAR(cusp->Label7->text().toDouble(), step, 1e-12);
    planes::writeToothLengthFile(e.path("molar_tl.txt"), 3.802);
    cusp->chkInputTLFile->setChecked(true);
    cusp->Command3->click();
    e.expectNoFailure();
    EXPECT_EQ(cusp->Text1->text(), "50");
    EXPECT_EQ(cusp->Label7->text(), "3.802");
    EXPECT_EQ(cusp->Text5->text(), "0.076");
    quoted(3.802 / 50, "0.076");
    guideSays("(50 at first), rounded to three decimals: a length of 3.802 gives 0.076");
    fs::remove(e.path("molar_tl.txt"));
    cusp->chkInputTLFile->setChecked(false);
    // "Blank and analyse grids" asks for digit.dat in the window's current folder, also
    // once the folder list has left the grid's folder.
    EXPECT_EQ(e.digitFileAskedAway(cusp->Dir3, cusp->Command5),
              fs::path(e.path("away") + "/digit.dat").lexically_normal().string());
    ASSERT_EQ(e.prompt.shown.size(), 1u);
    // On a 1280 x 720 screen the window leaves no room above or below it for its
    // question: with the map window beside it, the question takes a corner of the screen
    // clear of the map window, over the window's own corner; so it does also when it
    // asks in a folder that lies deep, which it names shortened (whole in its tool tip).
    {
        const std::string away = fs::path(e.prompt.shown[0].readPath).parent_path().string();
        const std::string deep = away + "/" + std::string(60, 'd') + "/" + std::string(60, 'e');
        std::string deepText = e.prompt.shown[0].text;
        deepText.replace(deepText.find(away), away.size(), deep);
        for (const auto& [text, readPath] : {std::pair(e.prompt.shown[0].text, e.prompt.shown[0].readPath),
                                             std::pair(deepText, deep + "/digit.dat")}) {
            QMessageBox box(QMessageBox::NoIcon, "Digitise map", {}, QMessageBox::Ok | QMessageBox::Cancel);
            setDigitiseQuestionText(box, text, readPath);
            const QString folder = QString::fromStdString(fs::path(readPath).parent_path().string());
            EXPECT_TRUE(box.text().contains(folder) || box.toolTip() == folder) << text;
            const QSize question = box.sizeHint() + kWindowFrameAllowance;
            const QRect screen(0, 0, 1280, 720);
            const QSize least = cusp->minimumSizeHint() + QSize(0, kWindowFrameAllowance.height());
            const QRect tool(QPoint(0, 0), least.boundedTo(screen.size()));
            EXPECT_GT(tool.height() + question.height(), screen.height());
            const QRect map(tool.right() + 1, 0, screen.width() - tool.width(), screen.height());
            const QRect at = placeQuestion(screen, tool, map, question);
            EXPECT_FALSE(at.intersects(map)) << text;
            EXPECT_TRUE(tool.contains(at)) << at.x() << "," << at.y() << " " << text;
            EXPECT_TRUE(at.left() == screen.left() && (at.top() == screen.top() || at.bottom() == screen.bottom()));
        }
        guideSays("the question stands in a corner of the screen clear of the map window, over a corner of the tool "
                  "window. So it does with the Cusp volume window, which on a 1280 x 720 screen is nearly as tall as "
                  "the screen and has the map window beside it");
    }

    // A cusp name typed is completed to the first name of the list it begins, and chosen
    // by leaving the box.
    cusp->Command1->click();  // "Next cusp" forgets the cusp chosen
    ASSERT_TRUE(cusp->Label14->text().isEmpty());
    cusp->Combo1->setEditText(QString());
    cusp->activateWindow();
    cusp->Combo1->setFocus();
    QApplication::processEvents();
    for (const char* key : {"p", "a"}) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(key));
        QApplication::sendEvent(cusp->Combo1->lineEdit(), &press);
    }
    EXPECT_EQ(cusp->Combo1->currentText(), "paracone");
    cusp->Text5->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(cusp->Combo1->currentText(), "Paracone");
    EXPECT_EQ(cusp->Label14->text(), "pa");
    guideSays("typing `pa` shows `paracone`, and Enter or leaving the box chooses \"Paracone\"");

    // Approach angle of the postparacrista.
    frmAppAng* crest = guide::measureCrest(*e.ex);
    e.expectNoFailure();
    const std::string wrote = "Wrote molarpopac_crp.bln, molarpopac_crp.dat, molarpopac_crsl.dat, "
                              "molarpopac_crsltrs_aaresults.csv in";
    EXPECT_EQ(crest->lblStatus->text().toStdString().rfind(wrote, 0), 0u) << crest->lblStatus->text().toStdString();
    const auto heights = lines(e.path("molarpopac_ovpz.dat"));
    ASSERT_EQ(heights.size(), 2u);
    EXPECT_NE(heights[0].find("2.3509"), std::string::npos) << heights[0];
    EXPECT_NE(guideText().find("2.3509"), std::string::npos);
    EXPECT_NE(heights[1].find("1.0537"), std::string::npos) << heights[1];
    EXPECT_NE(guideText().find("1.0537"), std::string::npos);
    const auto angles = lines(e.path("molarpopac_crsltrs_aaresults.csv"));
    ASSERT_EQ(angles.size(), 21u);
    guideSays("holds the 20 slice points of the crest");
    const auto first = fields(angles[1]);
    ASSERT_EQ(first.size(), 15u);
    quoted(std::stod(first[13]), "54.12");
    quoted(std::stod(first[14]), "54.69");
    grandMeanZ5 = std::stod(first[13]);
    // Fifteen names, unquoted, a comma and a blank between; thirteen fields after row 1.
    EXPECT_EQ(angles[0].rfind("XTrans, YTrans, ZTrans,", 0), 0u) << angles[0];
    EXPECT_EQ(fields(angles[0]).size(), 15u);
    for (std::size_t i = 2; i < angles.size(); ++i) EXPECT_EQ(fields(angles[i] + ",x").size(), 14u) << angles[i];
    guideSays("every later row has thirteen fields");
    EXPECT_EQ(pasteBlocks(), saved);
    for (const char* f : {"molarpopac_crp.dat", "molarpopac_crp.bln", "molarpopac_crsl.dat"})
        EXPECT_TRUE(fs::exists(e.path(f))) << f;

    // The scanner point file to a blanked grid.
    frmConversion* conv = guide::gridPoints(*e.ex);
    e.expectNoFailure();
    EXPECT_EQ(conv->txtNoPts->text(), "5000");
    EXPECT_EQ(conv->txtRXMin->text(), "0.414");
    EXPECT_EQ(conv->txtRXMax->text(), "9.575");
    // "No. output pts": Examine's estimate from the ranges and intervals, not the nodes.
    EXPECT_EQ(conv->txtNoOutputPts->text(), "6527");
    quoted(std::round(((7.552 - 0.427) / 0.1) * ((9.575 - 0.414) / 0.1)), "6527");
    guideSays("\"No. output pts\" 6527 (an estimate: the grid made below has 94 x 74 = 6956 nodes)");
    EXPECT_EQ(conv->txtNoUCPts->text(), "5000");
    EXPECT_EQ(conv->txtNoOutlinePts->text(), "144");
    // The settings Convert derived from the interval, shown only once it has run.
    EXPECT_EQ(conv->txtSearchRadius->text(), "0.06");
    EXPECT_EQ(conv->txtBinSize->text(), "0.06");
    EXPECT_EQ(conv->txtThresh->text(), "0.240");
    EXPECT_EQ(conv->txtBlnBinSize->text(), "0.15");
    guideSays("search radius 0.06, undercut bin size 0.06, threshold 0.240, outline bin size 0.15");
    conv->txtXInt->setText("0.2");
    conv->txtXInt->setText("0.1");
    EXPECT_EQ(conv->txtBinSize->text(), "0.1");
    guideSays("the undercut bin size reads 0.1");
    EXPECT_TRUE(formats::readXyzPointFile(e.path("molar_points-uct240_60_rej.txt")).empty());
    const Grid blanked = formats::readSurferGrid(e.path("molar_points-uct240_60pb.grd"));
    EXPECT_EQ(blanked.cols, 94);
    EXPECT_EQ(blanked.rows, 74);
    long withData = 0;
    for (int r = 0; r < blanked.rows; ++r)
        for (int c = 0; c < blanked.cols; ++c) withData += !blanked.blank(c, r);
    EXPECT_EQ(withData, 5169);
    EXPECT_EQ(blanked.cols * blanked.rows, 6956);
    quoted(blanked.zMax(), "2.558");
    // Plotted at the same place as the relief map of molar.grd, over it.
    {
        const auto app = surfer::instances().back();
        const auto maps = surfer::asPlot(app->ActiveDocument())->Shapes.maps();
        ASSERT_GE(maps.size(), 2u);
        EXPECT_EQ(fs::path(maps.front()->gridPath()).filename(), "molar.grd");
        EXPECT_EQ(fs::path(maps.back()->gridPath()).filename(), "molar_points-uct240_60pb.grd");
        // Both frames centred on one point of the page (their sizes follow their grids).
        EXPECT_NEAR(maps.back()->Left + maps.back()->XLength / 2, maps.front()->Left + maps.front()->XLength / 2, 1e-9);
        EXPECT_NEAR(maps.back()->Top - maps.back()->YLength / 2, maps.front()->Top - maps.front()->YLength / 2, 1e-9);
        guideSays("with its name as label, over the relief map of `molar.grd`");
    }
    for (const char* f : {"molar_points-uct240_60.txt", "molar_points-uct240_60p.txt", "molar_points-uct240_60p.grd",
                          "molar_points-uct240_60pblnpts.bln"})
        EXPECT_TRUE(fs::exists(e.path(f))) << f;
    // The outline's record: two names, a row of three fields (the bins grew to 0.2).
    const auto info = lines(e.path("molar_points-uct240_60pblnptsinfo.txt"));
    ASSERT_EQ(info.size(), 2u);
    EXPECT_EQ(info[0], "\"Blanking_outline_Bin_size\",\"Blanking_outline_Offset_factor\"");
    const auto record = fields(info[1]);
    ASSERT_EQ(record.size(), 3u) << info[1];
    EXPECT_EQ(record[0], "0.2");
    EXPECT_EQ(record[2], "\"prop_bin_size\"");
    guideSays("a header of two names, Blanking_outline_Bin_size and Blanking_outline_Offset_factor, and one row of "
              "three fields");
    guideSays("the text `prop_bin_size`");
    guideSays("info = pd.read_csv(f, usecols=[0, 1])");  // the first two fields, the two names
    guideSays("its bins grew from 0.15 to 0.2");

    // Enamel thickness from the outer surface to the enamel-dentine junction.
    guide::measureEnamel(*e.ex);
    e.expectNoFailure();
    const auto dist = lines(e.path("molar_points_dist.txt"));
    ASSERT_EQ(dist.size(), 5000u);
    EXPECT_EQ(dist[0], "6.172,5.895,2.1067,0.677689781537246");
    EXPECT_NE(guideText().find(dist[0]), std::string::npos);
    std::vector<double> d;
    for (const auto& l : dist) d.push_back(std::stod(l.substr(l.rfind(',') + 1)));
    quoted(*std::min_element(d.begin(), d.end()), "0.418");
    quoted(*std::max_element(d.begin(), d.end()), "0.920");
    quoted(std::accumulate(d.begin(), d.end(), 0.0) / static_cast<double>(d.size()), "0.562");
    EXPECT_TRUE(fs::exists(e.path("molar_points_temp.txt")));

    checkMethodFigures(e);
    checkCurvatureWindow(e);
    checkTableLayouts(e);
}

} // namespace

TEST(GuideExample, RunsOnTheSamplesAsTheGuideTellsIt) {
    ASSERT_FALSE(guideText().empty());
    double planeA = 0, planeB = 0, grandMeanZ5 = 0;
    runExampleAsWritten(planeA, planeB, grandMeanZ5);
    if (::testing::Test::HasFatalFailure()) return;
    checkClickedPoints(planeA, planeB, grandMeanZ5);
}
