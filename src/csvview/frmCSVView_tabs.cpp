// The five pages of the viewer's tab control, laid out with their captions and
// start values. Two buttons that have no action ("Orig Order" and the multi-tooth
// "tif") are shown disabled. No page puts more than two frames side by side, so that
// the tabs fit beside the current view on a 1280-wide screen.
#include "csvview/frmCSVView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>

namespace trelvik::csvview {

namespace {

QLineEdit* box(QWidget* parent, const char* text, int width = 48) {
    auto* e = new QLineEdit(QString::fromUtf8(text), parent);
    e->setFixedWidth(width);
    return e;
}

QScrollBar* vbar(QWidget* parent, int lo, int hi) {
    auto* b = new QScrollBar(Qt::Vertical, parent);
    b->setRange(lo, hi);
    b->setFixedHeight(40);
    return b;
}

} // namespace

QWidget* frmCSVView::buildOrientSlopePage() {
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);

    auto* fra = new QGroupBox("Orientation/slope", page);
    auto* g = new QGridLayout(fra);
    optProcSlope = new QRadioButton("Slope", fra);
    optProcAspect = new QRadioButton("Orientation", fra);
    optProcAngular = new QRadioButton("Angularity", fra);
    optProcShadRel = new QRadioButton("ShadRel", fra);
    optProcSlope->setChecked(true);
    chkUseMinSlope = new QCheckBox("Min slope", fra);
    txtMinSlope = box(fra, "10");
    txtSlopeNoCat = box(fra, "9");
    txtAngularNoCat = box(fra, "9");
    chkAspectSlopeSaveStats = new QCheckBox("Save o/s stats", fra);
    chkAspectSlopeSaveData = new QCheckBox("Save o/s data", fra);
    chkAspectSlopeSaveImage = new QCheckBox("Save o/s image", fra);
    cmdProcAspectSlope = new QPushButton("Curr. file", fra);
    cmdProcAspectSlopeAllFiles = new QPushButton("All files", fra);
    g->addWidget(optProcSlope, 0, 0);
    g->addWidget(new QLabel("No. categ.", fra), 0, 1);
    g->addWidget(txtSlopeNoCat, 0, 2);
    g->addWidget(optProcAspect, 1, 0);
    g->addWidget(optProcAngular, 2, 0);
    g->addWidget(txtAngularNoCat, 2, 2);
    g->addWidget(optProcShadRel, 3, 0);
    g->addWidget(chkUseMinSlope, 4, 0);
    g->addWidget(txtMinSlope, 4, 2);
    g->addWidget(chkAspectSlopeSaveStats, 5, 0, 1, 3);
    g->addWidget(chkAspectSlopeSaveData, 6, 0, 1, 3);
    g->addWidget(chkAspectSlopeSaveImage, 7, 0, 1, 3);
    g->addWidget(cmdProcAspectSlope, 8, 0);
    g->addWidget(cmdProcAspectSlopeAllFiles, 8, 1, 1, 2);
    auto* left = new QVBoxLayout;
    left->addWidget(fra);

    // Light of the shaded relief: each box paired with a scroll bar.
    auto* light = new QGroupBox("Shaded relief", page);
    auto* lg = new QGridLayout(light);
    txtSRHoriz = box(light, "315");
    txtSRVert = box(light, "45");
    txtSRb = box(light, "5");
    txtSRw = box(light, "0");
    vscSRHoriz = vbar(light, 0, 359);
    vscSRVert = vbar(light, 0, 90);
    vscSRb = vbar(light, 0, 50);
    vscSRw = vbar(light, 0, 1);
    const char* caps[] = {"Azimuth", "Elevation", "b", "w"};
    QLineEdit* boxes[] = {txtSRHoriz, txtSRVert, txtSRb, txtSRw};
    QScrollBar* bars[] = {vscSRHoriz, vscSRVert, vscSRb, vscSRw};
    for (int k = 0; k < 4; ++k) {
        lg->addWidget(new QLabel(caps[k], light), 0, k);
        lg->addWidget(boxes[k], 1, k);
        lg->addWidget(bars[k], 2, k, Qt::AlignHCenter);
    }
    left->addWidget(light);
    left->addStretch();
    row->addLayout(left);

    fraClump = new QGroupBox("OPC (Clumping)", page);
    auto* c = new QGridLayout(fraClump);
    optClumpAspectSlope = new QRadioButton("Orientation/slope", fraClump);
    optClumpAspectSlope->setChecked(true);
    optClumpContour = new QRadioButton("Contour", fraClump);
    optClumpCurrentView = new QRadioButton("Current view", fraClump);
    txtAspectNoCat = box(fraClump, "8");
    txtMinClumpSize = box(fraClump, "2");
    chkOPCR = new QCheckBox("OPC rotation (OPCR)", fraClump);
    chkOPCR->setChecked(true);
    txtNoOPCRot = box(fraClump, "8");
    chkVoidHoriz = new QCheckBox("Void horiz areas", fraClump);
    chkClumpSingResFile = new QCheckBox("Save all results to single file", fraClump);
    chkClumpSingResFile->setChecked(true);
    chkClumpSaveImage = new QCheckBox("Save patch image", fraClump);
    chkClumpSaveImage->setChecked(true);
    lblNoClumps = new QLabel(fraClump);
    lblPDClumped = new QLabel(fraClump);
    lblClumpNameID = new QLabel(fraClump);
    cmdProcClump = new QPushButton("Curr. file", fraClump);
    cmdProcClumpAllFiles = new QPushButton("All files", fraClump);
    c->addWidget(optClumpAspectSlope, 0, 0);
    c->addWidget(optClumpContour, 1, 0);
    c->addWidget(optClumpCurrentView, 2, 0);
    c->addWidget(new QLabel("No. categ.", fraClump), 0, 1);
    c->addWidget(txtAspectNoCat, 0, 2);
    c->addWidget(new QLabel("Min. patch", fraClump), 1, 1);
    c->addWidget(txtMinClumpSize, 1, 2);
    c->addWidget(chkOPCR, 3, 0);
    c->addWidget(new QLabel("No. OPCR rot.", fraClump), 3, 1);
    c->addWidget(txtNoOPCRot, 3, 2);
    c->addWidget(chkVoidHoriz, 4, 0);
    c->addWidget(chkClumpSingResFile, 5, 0, 1, 3);
    c->addWidget(chkClumpSaveImage, 6, 0, 1, 3);
    c->addWidget(new QLabel("No. patches", fraClump), 7, 0);
    c->addWidget(lblNoClumps, 7, 1, 1, 2);
    c->addWidget(new QLabel("Patch divers.", fraClump), 8, 0);
    c->addWidget(lblPDClumped, 8, 1, 1, 2);
    c->addWidget(lblClumpNameID, 9, 0, 1, 3);
    c->addWidget(cmdProcClump, 10, 0);
    c->addWidget(cmdProcClumpAllFiles, 10, 1, 1, 2);
    row->addWidget(fraClump, 0, Qt::AlignTop);
    row->addStretch();
    return page;
}

QWidget* frmCSVView::buildContourPage() {
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    auto* left = new QVBoxLayout;

    auto* shannon = new QGroupBox("Shannon", page);
    auto* sh = new QHBoxLayout(shannon);
    cmdShannonInfo = new QPushButton("Height", shannon);
    lblShannonInfo = new QLabel(shannon);
    lblShannonInfo->setMinimumWidth(60);
    lblShannonInfo->setFrameShape(QFrame::StyledPanel);
    sh->addWidget(cmdShannonInfo);
    sh->addWidget(new QLabel("Shannon Ht", shannon));
    sh->addWidget(lblShannonInfo);
    left->addWidget(shannon);

    auto* contour = new QGroupBox("Contour", page);
    auto* cg = new QGridLayout(contour);
    optContourScaleZ = new QRadioButton(QString::fromUtf8("xy int \u00d7"), contour);
    optContourScaleZ->setChecked(true);
    txtContourScaleZ = box(contour, "2");
    optContourScaleR = new QRadioButton("z range /", contour);
    txtContourScaleR = box(contour, "10");
    chkContourSaveImage = new QCheckBox("Save contour image", contour);
    chkContourSaveImage->setChecked(true);
    cmdProcContour = new QPushButton("Curr. file", contour);
    cmdProcContourAllFiles = new QPushButton("All files", contour);
    cg->addWidget(optContourScaleZ, 0, 0);
    cg->addWidget(txtContourScaleZ, 0, 1);
    cg->addWidget(optContourScaleR, 1, 0);
    cg->addWidget(txtContourScaleR, 1, 1);
    cg->addWidget(chkContourSaveImage, 2, 0, 1, 2);
    cg->addWidget(cmdProcContour, 3, 0);
    cg->addWidget(cmdProcContourAllFiles, 3, 1);
    left->addWidget(contour);

    fraProc = new QGroupBox("Proc", page);
    auto* pg = new QGridLayout(fraProc);
    cmdILaPlacian = new QPushButton("LaPlacian", fraProc);
    cmdIProc2 = new QPushButton("Proc2", fraProc);
    cmdIProc3 = new QPushButton("Proc3", fraProc);
    cmbKernelSize = new QComboBox(fraProc);
    cmbKernelSize->addItems({"3 x 3", "5 x 5", "7 x 7"});
    cmbKernelSize->setCurrentIndex(-1);
    auto* minFrame = new QGroupBox("Min cusp detect", fraProc);
    auto* mg = new QGridLayout(minFrame);
    optCMinNA = new QRadioButton("NA", minFrame);
    optCMinAbs = new QRadioButton("Abs", minFrame);
    optCMinProp = new QRadioButton("Prop", minFrame);
    optCMinAbs->setChecked(true);
    txtCMinAbs = box(minFrame, "0.1");
    txtCMinProp = box(minFrame, "0.1");
    mg->addWidget(optCMinNA, 0, 0);
    mg->addWidget(optCMinAbs, 1, 0);
    mg->addWidget(txtCMinAbs, 1, 1);
    mg->addWidget(optCMinProp, 2, 0);
    mg->addWidget(txtCMinProp, 2, 1);
    auto* diffFrame = new QGroupBox("Diff b/w cusps", fraProc);
    auto* dg = new QGridLayout(diffFrame);
    optCDiffNA = new QRadioButton("NA", diffFrame);
    optCDiffAbs = new QRadioButton("Abs", diffFrame);
    optCDiffProp = new QRadioButton("Prop", diffFrame);
    optCDiffAbs->setChecked(true);
    txtCDiffAbs = box(diffFrame, "0.1");
    txtCDiffProp = box(diffFrame, "0.1");
    dg->addWidget(optCDiffNA, 0, 0);
    dg->addWidget(optCDiffAbs, 1, 0);
    dg->addWidget(txtCDiffAbs, 1, 1);
    dg->addWidget(optCDiffProp, 2, 0);
    dg->addWidget(txtCDiffProp, 2, 1);
    cmdImageOutput = new QPushButton("Output image", fraProc);
    cmdImageProcOutput = new QPushButton("Output processed image", fraProc);
    txtImageProcExportAddText = box(fraProc, "", 80);
    pg->addWidget(cmdILaPlacian, 0, 0);
    pg->addWidget(cmdIProc2, 1, 0);
    pg->addWidget(cmbKernelSize, 1, 1);
    pg->addWidget(cmdIProc3, 2, 0);
    pg->addWidget(minFrame, 3, 0);
    pg->addWidget(diffFrame, 3, 1);
    pg->addWidget(cmdImageOutput, 4, 0);
    pg->addWidget(cmdImageProcOutput, 4, 1);
    pg->addWidget(new QLabel("Add text", fraProc), 5, 0);
    pg->addWidget(txtImageProcExportAddText, 5, 1);

    auto* stats = new QGroupBox("Statistics", page);
    auto* sg = new QGridLayout(stats);
    auto value = [stats] {
        auto* l = new QLabel(stats);
        l->setMinimumWidth(70);
        l->setFrameShape(QFrame::StyledPanel);
        return l;
    };
    txtSA = value();
    txtPA = value();
    txtRI = value();
    txtVol = value();
    txtSAVolRat = value();
    const char* caps[] = {"3D surface area", "2D planar area", "Relief index", "Volume", "SA/Vol"};
    QLabel* vals[] = {txtSA, txtPA, txtRI, txtVol, txtSAVolRat};
    for (int k = 0; k < 5; ++k) {
        sg->addWidget(new QLabel(caps[k], stats), k, 0);
        sg->addWidget(vals[k], k, 1);
    }
    chkSAVolSaveStats = new QCheckBox("Save statistics", stats);
    cmdCalcSAVolStats = new QPushButton("Curr. file", stats);
    cmdCalcSAVolStatsAllFiles = new QPushButton("All files", stats);
    sg->addWidget(chkSAVolSaveStats, 5, 0, 1, 2);
    sg->addWidget(cmdCalcSAVolStats, 6, 0);
    sg->addWidget(cmdCalcSAVolStatsAllFiles, 6, 1);
    left->addWidget(stats);
    left->addStretch();
    row->addLayout(left);
    row->addWidget(fraProc, 0, Qt::AlignTop);
    row->addStretch();
    return page;
}

QWidget* frmCSVView::buildCsvViewPage() {
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    auto* fra = new QGroupBox("CSV processing", page);
    auto* g = new QGridLayout(fra);

    Frame4 = new QGroupBox("Grid size", fra);
    auto* sz = new QGridLayout(Frame4);
    optDefaultGridSize = new QRadioButton(QString::fromUtf8("Default (24 \u00d7 24)"), Frame4);
    optMinGridSize = new QRadioButton("Minimum", Frame4);
    optMinGridSize->setChecked(true);
    optMinGridSize1 = new QRadioButton("Minimum + 1", Frame4);
    optOtherGridSize = new QRadioButton("Other", Frame4);
    txtGridSizeX = box(Frame4, "");
    txtGridSizeY = box(Frame4, "");
    sz->addWidget(optDefaultGridSize, 0, 0, 1, 3);
    sz->addWidget(optMinGridSize, 1, 0, 1, 3);
    sz->addWidget(optMinGridSize1, 2, 0, 1, 3);
    sz->addWidget(optOtherGridSize, 3, 0);
    sz->addWidget(txtGridSizeX, 3, 1);
    sz->addWidget(txtGridSizeY, 3, 2);
    g->addWidget(Frame4, 0, 0, 3, 1);

    chkThresholdB = new QCheckBox("Threshold <=", fra);
    txtThresholdB = box(fra, "0");
    g->addWidget(chkThresholdB, 0, 1);
    g->addWidget(txtThresholdB, 0, 2);

    auto* rotate = new QGroupBox("Rotate CSV", fra);
    auto* rg = new QHBoxLayout(rotate);
    cmdRotateCW = new QPushButton(QString::fromUtf8("90\u00b0 CW"), rotate);
    cmdRotateACW = new QPushButton(QString::fromUtf8("90\u00b0 ACW"), rotate);
    cmdRotate180 = new QPushButton(QString::fromUtf8("180\u00b0"), rotate);
    rg->addWidget(cmdRotateCW);
    rg->addWidget(cmdRotateACW);
    rg->addWidget(cmdRotate180);
    auto* mirror = new QGroupBox("Mirror CSV", fra);
    auto* mg = new QHBoxLayout(mirror);
    cmdMirrorHoriz = new QPushButton("Horiz", mirror);
    cmdMirrorVert = new QPushButton("Vert", mirror);
    mg->addWidget(cmdMirrorHoriz);
    mg->addWidget(cmdMirrorVert);
    g->addWidget(rotate, 1, 1, 1, 2);
    g->addWidget(mirror, 2, 1, 1, 2);
    cmdOutputCSV = new QPushButton("Output CSV", fra);
    g->addWidget(cmdOutputCSV, 3, 1);
    row->addWidget(fra, 0, Qt::AlignTop);
    row->addStretch();
    return page;
}

QWidget* frmCSVView::buildMultiToothPage() {
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    fraMultiTooth = new QGroupBox("Multi-tooth files", page);
    auto* g = new QGridLayout(fraMultiTooth);
    QWidget* f = fraMultiTooth;
    cmdReadMultiCSV = new QPushButton("Read multi- tooth file", f);
    txtMTAIF = box(f, "10000", 60);
    chkSplitMTAIF = new QCheckBox("Split file to max:", f);
    chkSplitMTAIF->setChecked(true);
    lblNoTeeth = new QLabel(f);
    cmdViewMultiCSV = new QPushButton("View multi-teeth", f);
    optViewTeethAll = new QRadioButton("View all teeth", f);
    optViewTeethAll->setChecked(true);
    optViewTeethSubset = new QRadioButton("View teeth:", f);
    txtViewTeethStart = box(f, "");
    txtViewTeethEnd = box(f, "");
    optViewTeethOne = new QRadioButton("View tooth:", f);
    txtViewTeethOne = box(f, "");
    txtPause = box(f, "0.002");
    chkZScaleAllT = new QCheckBox("Use same gray scale for all teeth", f);
    txtCurrTooth = new QLabel(f);
    sldToothNo = new QSlider(Qt::Horizontal, f);
    g->addWidget(cmdReadMultiCSV, 0, 0);
    g->addWidget(chkSplitMTAIF, 0, 1);
    g->addWidget(txtMTAIF, 0, 2);
    g->addWidget(new QLabel("Number of teeth in file:", f), 1, 0);
    g->addWidget(lblNoTeeth, 1, 1);
    g->addWidget(cmdViewMultiCSV, 2, 0);
    g->addWidget(optViewTeethAll, 2, 1, 1, 2);
    g->addWidget(optViewTeethSubset, 3, 0);
    g->addWidget(txtViewTeethStart, 3, 1);
    g->addWidget(new QLabel("to", f), 3, 2);
    g->addWidget(txtViewTeethEnd, 3, 3);
    g->addWidget(optViewTeethOne, 4, 0);
    g->addWidget(txtViewTeethOne, 4, 1);
    g->addWidget(new QLabel("Pause between teeth:", f), 5, 0);
    g->addWidget(txtPause, 5, 1);
    g->addWidget(chkZScaleAllT, 6, 0, 1, 4);
    g->addWidget(new QLabel("Tooth number:", f), 7, 0);
    g->addWidget(txtCurrTooth, 7, 1);
    g->addWidget(sldToothNo, 8, 0, 1, 4);
    auto* params = new QHBoxLayout;
    for (std::size_t k = 0; k < txtParam.size(); ++k) {
        txtParam[k] = box(f, "", 40);
        params->addWidget(txtParam[k]);
    }
    g->addLayout(params, 9, 0, 1, 4);
    auto* column = new QVBoxLayout;
    column->addWidget(fraMultiTooth);

    fraOutput = new QGroupBox("Output", page);
    auto* og = new QGridLayout(fraOutput);
    cmdOutputSingleCSV = new QPushButton("csv", fraOutput);
    cmdOutputSingleTIF = new QPushButton("tif", fraOutput);
    cmdOutputSingleWRL = new QPushButton("wrl", fraOutput);
    cmdOutputMultiCSV = new QPushButton("csv", fraOutput);
    cmdOutputMultiTIF = new QPushButton("tif", fraOutput);
    og->addWidget(new QLabel("Single tooth", fraOutput), 0, 0, 1, 3);
    og->addWidget(cmdOutputSingleCSV, 1, 0);
    og->addWidget(cmdOutputSingleTIF, 1, 1);
    og->addWidget(cmdOutputSingleWRL, 1, 2);
    og->addWidget(new QLabel("Multi-tooth", fraOutput), 2, 0, 1, 3);
    og->addWidget(cmdOutputMultiCSV, 3, 0);
    og->addWidget(cmdOutputMultiTIF, 3, 1);
    cmdOutputMultiTIF->setEnabled(false);
    column->addWidget(fraOutput, 0, Qt::AlignLeft);
    column->addStretch();
    row->addLayout(column);
    row->addStretch();
    return page;
}

QWidget* frmCSVView::buildMultiStatsPage() {
    auto* page = new QWidget(this);
    auto* row = new QHBoxLayout(page);
    fraCalcStats = new QGroupBox("Calculate stats", page);
    auto* g = new QGridLayout(fraCalcStats);
    QWidget* f = fraCalcStats;
    chkCSMaxHt = new QCheckBox("MaxHt", f);
    chkCSSA = new QCheckBox("SA", f);
    chkCSVol = new QCheckBox("Vol", f);
    chkCSSAVolRat = new QCheckBox("SA/Vol", f);
    chkCSLaP = new QCheckBox("LaPlac", f);
    cmdCalcStatsAll = new QPushButton("All teeth", f);
    chkCSSort = new QCheckBox("Sort", f);
    cmdCSSort = new QPushButton("Sort", f);
    optCSMaxHtSort = new QRadioButton("MaxHt", f);
    optCSSASort = new QRadioButton("SA", f);
    optCSVolSort = new QRadioButton("Vol", f);
    optCSSAVolRatSort = new QRadioButton("SA/Vol", f);
    optCSLaPSort = new QRadioButton("LaPlac", f);
    chkCSShowSorted = new QCheckBox("Show sorted", f);
    Command1 = new QPushButton("Orig Order", f);
    g->addWidget(new QLabel("Calc", f), 0, 0);
    QWidget* calc[] = {chkCSMaxHt, chkCSSA, chkCSVol, chkCSSAVolRat, chkCSLaP};
    QWidget* sort[] = {optCSMaxHtSort, optCSSASort, optCSVolSort, optCSSAVolRatSort, optCSLaPSort};
    g->addWidget(new QLabel("Sort", f), 0, 1);
    for (int k = 0; k < 5; ++k) {
        g->addWidget(calc[k], k + 1, 0);
        g->addWidget(sort[k], k + 1, 1);
    }
    g->addWidget(cmdCalcStatsAll, 6, 0);
    g->addWidget(chkCSSort, 6, 1);
    g->addWidget(cmdCSSort, 7, 0);
    g->addWidget(chkCSShowSorted, 7, 1);
    g->addWidget(Command1, 8, 0);
    Command1->setEnabled(false);
    row->addWidget(fraCalcStats, 0, Qt::AlignTop);

    fraCTFiles = new QGroupBox("CTFiles", page);
    auto* c = new QGridLayout(fraCTFiles);
    chkCTFilesAll = new QCheckBox("All files", fraCTFiles);
    cmdCTFiles = new QPushButton("CTFiles", fraCTFiles);
    txtTempCTFiles = new QLabel(fraCTFiles);
    txtCTFENo = box(fraCTFiles, "");
    cmdCTFExtract = new QPushButton("Extract", fraCTFiles);
    txtExtractTotal = new QLabel(fraCTFiles);
    txtExtractCurr = new QLabel(fraCTFiles);
    c->addWidget(cmdCTFiles, 0, 0);
    c->addWidget(chkCTFilesAll, 0, 1);
    c->addWidget(txtTempCTFiles, 0, 2);
    c->addWidget(cmdCTFExtract, 1, 0);
    c->addWidget(txtCTFENo, 1, 1);
    c->addWidget(txtExtractTotal, 2, 0);
    c->addWidget(txtExtractCurr, 2, 1);
    row->addWidget(fraCTFiles, 0, Qt::AlignTop);
    row->addStretch();
    return page;
}

} // namespace trelvik::csvview
