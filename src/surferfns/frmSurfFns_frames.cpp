// The operation frames of "Surfer Functions": blanking, extraction, the calculate
// buttons, regridding and re-zeroing, and the smoothing, processing and comparison
// frames, which are laid out with their design values but not yet in use.
#include "surferfns/frmSurfFns.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "surferfns/blanking.h"

namespace trelvik {

namespace {
QLineEdit* edit(const QString& text, QWidget* parent, int width = 50) {
    auto* e = new QLineEdit(text, parent);
    e->setMaximumWidth(width);
    return e;
}

// A row "label  [box]" in a grid layout.
QLineEdit* labelledEdit(QGridLayout* g, int row, const QString& label, const QString& text, QWidget* parent,
                        int col = 0) {
    auto* l = new QLabel(label, parent);
    l->setWordWrap(true);
    g->addWidget(l, row, col);
    QLineEdit* e = edit(text, parent);
    g->addWidget(e, row, col + 1);
    return e;
}

// Radio buttons that form one option group of their own, whatever box they sit in.
void group(QObject* owner, std::initializer_list<QRadioButton*> buttons) {
    auto* g = new QButtonGroup(owner);
    for (QRadioButton* b : buttons) g->addButton(b);
}

// The codes that follow the filter names are the mapping program's; the list order is
// the one users know.
constexpr const char* kFilterNames[] = {
    "Moving average (nxn)", "Distance weighting (nxn)", "Inverse distance (nxn)", "Gaussian LP (nxn)",
    "5 node + average (5x5)", "5 node x average (5x5)", "9 node average (3x3)", "Gaussian (3x3)",
    "Low pass 1 (3x3)", "Low pass 2 (3x3)", "Low pass 3 (3x3)", "High pass 1 (3x3)",
    "High pass 2 (3x3)", "High pass 3 (3x3)",
};
constexpr int kFilterCodes[] = {1, 2, 3, 4, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16};
} // namespace

QGroupBox* frmSurfFns::buildBlankFrame() {
    fraBlank = new QGroupBox("Digitise and blank area", this);
    auto* v = new QVBoxLayout(fraBlank);
    optBlankOutside = new QRadioButton("Outside", fraBlank);
    optBlankInside = new QRadioButton("Inside", fraBlank);
    optBlankMultiInside = new QRadioButton("Multiple inside (bubbles)", fraBlank);
    optBlankMultiTeeth = new QRadioButton("Multiple teeth", fraBlank);
    optBlankOutside->setChecked(true);
    group(fraBlank, {optBlankOutside, optBlankInside, optBlankMultiInside, optBlankMultiTeeth});
    for (QRadioButton* b : {optBlankOutside, optBlankInside, optBlankMultiInside, optBlankMultiTeeth})
        v->addWidget(b);

    auto* teeth = new QGroupBox("Teeth", fraBlank);
    auto* tg = new QGridLayout(teeth);
    static const char* const kTeeth[] = {"i1", "i2", "i3", "c", "p1", "p2", "p3", "p4", "m1", "m2", "m3", "m4"};
    for (int k = 0; k < 12; ++k) {
        chkTeeth[k] = new QCheckBox(kTeeth[k], teeth);
        chkTeeth[k]->setChecked(k >= 8 && k <= 10);  // m1, m2, m3
        tg->addWidget(chkTeeth[k], k / 4, k % 4);
    }
    v->addWidget(teeth);

    chkMultiBlankRegrid = new QCheckBox("Regrid and blank", fraBlank);
    chkBlankUseBlnFile = new QCheckBox("Use existing bln file", fraBlank);
    v->addWidget(chkMultiBlankRegrid);
    v->addWidget(chkBlankUseBlnFile);
    auto* del = new QGridLayout;
    txtBlankDelChar = labelledEdit(del, 0, "Del. no. char. from grd fname (same fname=0, del. 'b150'=4)", "4", fraBlank);
    v->addLayout(del);
    cmdBlank = new QPushButton("Blank", fraBlank);
    v->addWidget(cmdBlank);
    v->addStretch(1);
    return fraBlank;
}

QGroupBox* frmSurfFns::buildExtractFrame() {
    fraExtract = new QGroupBox("Extract smaller grid", this);
    auto* g = new QGridLayout(fraExtract);
    chkRedArea = new QCheckBox("Reduce grid area", fraExtract);
    optRedAreaDig = new QRadioButton("Digitise area", fraExtract);
    optRedAreaMax = new QRadioButton("Max unblanked area", fraExtract);
    optRedAreaMax->setChecked(true);
    group(fraExtract, {optRedAreaDig, optRedAreaMax});
    chkRedRow = new QCheckBox("Reduce no. row/col", fraExtract);
    optRedRowFactor = new QRadioButton("Factor", fraExtract);
    optRedRowMax = new QRadioButton("Max no.", fraExtract);
    optRedRowFactor->setChecked(true);
    group(fraExtract, {optRedRowFactor, optRedRowMax});
    txtRedRowFactor = edit("2", fraExtract);
    txtRedRowMax = edit("100", fraExtract);
    cmdExtract = new QPushButton("Extract", fraExtract);
    g->addWidget(chkRedArea, 0, 0, 1, 2);
    g->addWidget(optRedAreaDig, 1, 0, 1, 2);
    g->addWidget(optRedAreaMax, 2, 0, 1, 2);
    g->addWidget(chkRedRow, 3, 0, 1, 2);
    g->addWidget(optRedRowFactor, 4, 0);
    g->addWidget(txtRedRowFactor, 4, 1);
    g->addWidget(optRedRowMax, 5, 0);
    g->addWidget(txtRedRowMax, 5, 1);
    g->addWidget(cmdExtract, 6, 0, 1, 2);
    return fraExtract;
}

QGroupBox* frmSurfFns::buildCalculateFrame() {
    fraCalculate = new QGroupBox("Calculate", this);
    auto* v = new QVBoxLayout(fraCalculate);
    cmdFixResolution = new QPushButton("Fix resolution", fraCalculate);
    cmdSAVol = new QPushButton("SA and Vol", fraCalculate);
    v->addWidget(cmdFixResolution);
    v->addWidget(cmdSAVol);
    return fraCalculate;
}

QGroupBox* frmSurfFns::buildRegridFrame() {
    fraRegrid = new QGroupBox("Regrid at exact resolution", this);
    auto* g = new QGridLayout(fraRegrid);
    txtExactNoRC = labelledEdit(g, 0, "Exact no.:", "150", fraRegrid);
    optExactNoRC = new QRadioButton("rows/cols", fraRegrid);
    optExactNoR = new QRadioButton("rows (Y)", fraRegrid);
    optExactNoC = new QRadioButton("cols (X)", fraRegrid);
    optExactNoRC->setChecked(true);
    group(fraRegrid, {optExactNoRC, optExactNoR, optExactNoC});
    optRegridGrd = new QRadioButton("Use grid files", fraRegrid);
    optRegridTxt = new QRadioButton("Use txt files", fraRegrid);
    optRegridGrd->setChecked(true);
    group(fraRegrid, {optRegridGrd, optRegridTxt});
    g->addWidget(optExactNoRC, 1, 0, 1, 2);
    g->addWidget(optExactNoR, 2, 0, 1, 2);
    g->addWidget(optExactNoC, 3, 0, 1, 2);
    g->addWidget(optRegridGrd, 4, 0, 1, 2);
    g->addWidget(optRegridTxt, 5, 0, 1, 2);
    txtRegridDelChar = labelledEdit(g, 6, "Del from grd fname", "1", fraRegrid);
    chkRegridIndivTeeth = new QCheckBox("Indiv. teeth (multi teeth blanked)", fraRegrid);
    g->addWidget(chkRegridIndivTeeth, 7, 0, 1, 2);
    cmdRegridExactResol = new QPushButton("Regrid", fraRegrid);
    g->addWidget(cmdRegridExactResol, 8, 0, 1, 2);
    return fraRegrid;
}

QGroupBox* frmSurfFns::buildRezeroFrame() {
    fraRezero = new QGroupBox("Rezero grid", this);
    auto* v = new QVBoxLayout(fraRezero);
    cmdReZero = new QPushButton("Rezero", fraRezero);
    v->addWidget(cmdReZero);
    return fraRezero;
}

QGroupBox* frmSurfFns::buildSmoothFrame() {
    fraSmooth = new QGroupBox("Smooth grid", this);
    auto* g = new QGridLayout(fraSmooth);
    txtFilterSize = labelledEdit(g, 0, "Filter size (n)", "3", fraSmooth);
    txtWeight = labelledEdit(g, 1, "Weight/power", "3", fraSmooth);
    txtCWeight = labelledEdit(g, 2, "Central weight", "3", fraSmooth);
    txtNoTimes = labelledEdit(g, 3, "No. times", "1", fraSmooth);
    optDefFilter = new QRadioButton("Define filter", fraSmooth);
    optPDFilter = new QRadioButton("Pre-defined filters (v8 only)", fraSmooth);
    optPDFilter->setChecked(true);
    group(fraSmooth, {optDefFilter, optPDFilter});
    cmbPDFilter = new QComboBox(fraSmooth);
    cmbPDFilter->setEditable(true);
    for (std::size_t k = 0; k < std::size(kFilterNames); ++k) cmbPDFilter->addItem(kFilterNames[k], kFilterCodes[k]);
    chkCurvature = new QCheckBox("Curvature", fraSmooth);
    cmdSmooth = new QPushButton("Smooth", fraSmooth);
    g->addWidget(optDefFilter, 4, 0, 1, 2);
    g->addWidget(optPDFilter, 5, 0, 1, 2);
    g->addWidget(cmbPDFilter, 6, 0, 1, 2);
    g->addWidget(chkCurvature, 7, 0, 1, 2);
    g->addWidget(cmdSmooth, 8, 0, 1, 2);
    fraSmooth->setEnabled(false);  // its procedures are not built yet
    return fraSmooth;
}

QGroupBox* frmSurfFns::buildProcessFrame() {
    fraProcess = new QGroupBox("Process grid", this);
    auto* g = new QGridLayout(fraProcess);
    optMirror = new QRadioButton("Mirror", fraProcess);
    optRotate = new QRadioButton("Rotate CW", fraProcess);
    optTerrain = new QRadioButton("Terrain", fraProcess);
    optInverse = new QRadioButton("Inverse", fraProcess);
    optMouldRotate = new QRadioButton("Mould rotation", fraProcess);
    optMirror->setChecked(true);
    group(fraProcess, {optMirror, optRotate, optTerrain, optInverse, optMouldRotate});
    optMirrorX = new QRadioButton("X", fraProcess);
    optMirrorY = new QRadioButton("Y", fraProcess);
    optMirrorZ = new QRadioButton("Z", fraProcess);
    optMirrorX->setChecked(true);
    group(fraProcess, {optMirrorX, optMirrorY, optMirrorZ});
    optRotate90 = new QRadioButton(QString::fromUtf8("90\u00b0"), fraProcess);
    optRotate180 = new QRadioButton(QString::fromUtf8("180\u00b0"), fraProcess);
    optRotate270 = new QRadioButton(QString::fromUtf8("270\u00b0"), fraProcess);
    optRotate90->setChecked(true);
    group(fraProcess, {optRotate90, optRotate180, optRotate270});
    cmbProcess = new QComboBox(fraProcess);
    cmbProcess->setEditable(true);
    cmbProcess->addItems({"Terrain slope", "Terrain aspect"});
    cmdProcess = new QPushButton("Process", fraProcess);

    g->addWidget(optMirror, 0, 0);
    auto* mirror = new QHBoxLayout;
    for (QRadioButton* b : {optMirrorX, optMirrorY, optMirrorZ}) mirror->addWidget(b);
    g->addLayout(mirror, 0, 1);
    g->addWidget(optRotate, 1, 0);
    auto* rotate = new QHBoxLayout;
    for (QRadioButton* b : {optRotate90, optRotate180, optRotate270}) rotate->addWidget(b);
    g->addLayout(rotate, 1, 1);
    g->addWidget(optTerrain, 2, 0);
    g->addWidget(cmbProcess, 2, 1);
    txtTAMinSlope = labelledEdit(g, 3, "Terrain aspect min slope", "10", fraProcess);
    g->addWidget(optInverse, 4, 0);
    g->addWidget(optMouldRotate, 5, 0);
    g->addWidget(cmdProcess, 6, 0, 1, 2);
    fraProcess->setEnabled(false);  // its procedures are not built yet
    return fraProcess;
}

QGroupBox* frmSurfFns::buildCompareFrame() {
    fraCompare = new QGroupBox("Compare two grids", this);
    auto* g = new QGridLayout(fraCompare);
    auto* about = new QLabel("Compares each grid with the next grid added, e.g. a topographic grid with a plane grid.",
                             fraCompare);
    about->setWordWrap(true);
    g->addWidget(about, 0, 0, 1, 2);
    optCompareMax = new QRadioButton("Maximum", fraCompare);
    optCompareMin = new QRadioButton("Minimum", fraCompare);
    optCompareMax->setChecked(true);
    group(fraCompare, {optCompareMax, optCompareMin});
    g->addWidget(optCompareMax, 1, 0);
    g->addWidget(optCompareMin, 1, 1);
    auto* l = new QLabel("Add to output filename", fraCompare);
    g->addWidget(l, 2, 0, 1, 2);
    txtCompGridOutGridText = new QLineEdit("_top+plane", fraCompare);
    g->addWidget(txtCompGridOutGridText, 3, 0, 1, 2);
    cmdCompareGrids = new QPushButton("Compare", fraCompare);
    g->addWidget(cmdCompareGrids, 4, 0, 1, 2);
    g->setRowStretch(5, 1);
    fraCompare->setEnabled(false);  // its procedures are not built yet
    return fraCompare;
}

void frmSurfFns::cmdBlank_Click() {
    surffns::BlankOptions o;
    o.mode = optBlankInside->isChecked()        ? surffns::BlankMode::Inside
             : optBlankMultiInside->isChecked() ? surffns::BlankMode::MultiInside
             : optBlankMultiTeeth->isChecked()  ? surffns::BlankMode::MultiTeeth
                                                : surffns::BlankMode::Outside;
    for (int k = 0; k < 12; ++k) o.chkTeeth[static_cast<std::size_t>(k)] = chkTeeth[static_cast<std::size_t>(k)]->isChecked();
    o.chkMultiBlankRegrid = chkMultiBlankRegrid->isChecked();
    o.chkBlankUseBlnFile = chkBlankUseBlnFile->isChecked();
    o.txtBlankDelChar = txtBlankDelChar->text().toStdString();
    auto ctx = context();
    surffns::cmdBlank(ctx, o);
    showState(ctx);
}

} // namespace trelvik
