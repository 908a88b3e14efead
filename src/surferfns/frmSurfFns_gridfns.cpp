// The operation frames of "Surfer Functions" that derive new grids: "Smooth grid"
// (with the curvature grid), "Process grid" (mirror, rotate, terrain, inverse, mould
// rotation) and "Compare two grids", with their handlers.
#include "surferfns/frmSurfFns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "surferfns/comparison.h"
#include "surferfns/frmSurfFns_layout.h"
#include "surferfns/smoothing.h"
#include "surferfns/terrain.h"

namespace trelvik {

using namespace surffnslayout;

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
    for (const surffns::PDFilterItem& item : surffns::PDFilterItems()) cmbPDFilter->addItem(item.text, item.code);
    chkCurvature = new QCheckBox("Curvature", fraSmooth);
    cmdSmooth = new QPushButton("Smooth", fraSmooth);
    g->addWidget(optDefFilter, 4, 0, 1, 2);
    g->addWidget(optPDFilter, 5, 0, 1, 2);
    g->addWidget(cmbPDFilter, 6, 0, 1, 2);
    g->addWidget(chkCurvature, 7, 0, 1, 2);
    g->addWidget(cmdSmooth, 8, 0, 1, 2);
    g->setRowStretch(9, 1);
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
    cmbProcess->addItems({surffns::kTerrainSlopeItem, surffns::kTerrainAspectItem});
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
    g->setRowStretch(7, 1);
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
    g->addWidget(new QLabel("Add to output filename", fraCompare), 2, 0, 1, 2);
    txtCompGridOutGridText = new QLineEdit("_top+plane", fraCompare);
    g->addWidget(txtCompGridOutGridText, 3, 0, 1, 2);
    cmdCompareGrids = new QPushButton("Compare", fraCompare);
    g->addWidget(cmdCompareGrids, 4, 0, 1, 2);
    g->setRowStretch(5, 1);
    return fraCompare;
}

namespace {
surffns::SmoothOptions readSmooth(const frmSurfFns& w) {
    surffns::SmoothOptions o;
    o.txtFilterSize = w.txtFilterSize->text().toStdString();
    o.txtWeight = w.txtWeight->text().toStdString();
    o.txtCWeight = w.txtCWeight->text().toStdString();
    o.txtNoTimes = w.txtNoTimes->text().toStdString();
    o.optDefFilter = w.optDefFilter->isChecked();
    o.optPDFilter = w.optPDFilter->isChecked();
    o.cmbPDFilter = w.cmbPDFilter->currentText().toStdString();
    o.chkCurvature = w.chkCurvature->isChecked();
    return o;
}
} // namespace

void frmSurfFns::chkCurvature_Click() {
    surffns::SmoothOptions o = readSmooth(*this);
    surffns::chkCurvature_Click(o);
    txtFilterSize->setText(QString::fromStdString(o.txtFilterSize));
    txtWeight->setText(QString::fromStdString(o.txtWeight));
    txtNoTimes->setText(QString::fromStdString(o.txtNoTimes));
    (o.optDefFilter ? optDefFilter : optPDFilter)->setChecked(true);
}

void frmSurfFns::cmdSmooth_Click() {
    const surffns::SmoothOptions o = readSmooth(*this);
    auto ctx = context();
    runBatch(ctx, [&] { surffns::SmoothGrids(ctx, o); });
    showState(ctx);
}

void frmSurfFns::cmdProcess_Click() {
    surffns::ProcessOptions o;
    o.optMirror = optMirror->isChecked();
    o.optRotate = optRotate->isChecked();
    o.optTerrain = optTerrain->isChecked();
    o.optInverse = optInverse->isChecked();
    o.optMouldRotate = optMouldRotate->isChecked();
    o.optMirrorX = optMirrorX->isChecked();
    o.optMirrorY = optMirrorY->isChecked();
    o.optMirrorZ = optMirrorZ->isChecked();
    o.optRotate90 = optRotate90->isChecked();
    o.optRotate180 = optRotate180->isChecked();
    o.optRotate270 = optRotate270->isChecked();
    o.cmbProcess = cmbProcess->currentText().toStdString();
    o.txtTAMinSlope = txtTAMinSlope->text().toStdString();
    auto ctx = context();
    runBatch(ctx, [&] { surffns::ProcessGrids(ctx, o); });
    showState(ctx);
}

void frmSurfFns::cmdCompareGrids_Click() {
    surffns::CompareOptions o;
    o.optCompareMax = optCompareMax->isChecked();
    o.optCompareMin = optCompareMin->isChecked();
    o.txtCompGridOutGridText = txtCompGridOutGridText->text().toStdString();
    auto ctx = context();
    runBatch(ctx, [&] { surffns::CompareGrids(ctx, o); });
    showState(ctx);
}

void frmSurfFns::connectOperations() {
    connect(cmdBlank, &QPushButton::clicked, this, &frmSurfFns::cmdBlank_Click);
    connect(cmdExtract, &QPushButton::clicked, this, &frmSurfFns::cmdExtract_Click);
    connect(cmdFixResolution, &QPushButton::clicked, this, &frmSurfFns::cmdFixResolution_Click);
    connect(cmdSAVol, &QPushButton::clicked, this, &frmSurfFns::cmdSAVol_Click);
    connect(cmdRegridExactResol, &QPushButton::clicked, this, &frmSurfFns::cmdRegridExactResol_Click);
    connect(cmdReZero, &QPushButton::clicked, this, &frmSurfFns::cmdReZero_Click);
    // The box loads its filter settings whenever its value changes, by hand or by code.
    connect(chkCurvature, &QCheckBox::toggled, this, &frmSurfFns::chkCurvature_Click);
    connect(cmdSmooth, &QPushButton::clicked, this, &frmSurfFns::cmdSmooth_Click);
    connect(cmdProcess, &QPushButton::clicked, this, &frmSurfFns::cmdProcess_Click);
    connect(cmdCompareGrids, &QPushButton::clicked, this, &frmSurfFns::cmdCompareGrids_Click);
}

} // namespace trelvik
