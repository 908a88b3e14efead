// The option frames of "Point Clouds" and the handlers of their commands.
#include "pointclouds/frmPtCloud.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "pointclouds/cloudcleaning.h"
#include "pointclouds/cloudgrids.h"
#include "pointclouds/colourmappedvrml.h"
#include "pointclouds/enamelthickness.h"
#include "pointclouds/joinpoints.h"

namespace trelvik {

namespace {
QLineEdit* edit(const QString& text, QWidget* parent) {
    auto* e = new QLineEdit(text, parent);
    e->setMaximumWidth(60);
    return e;
}
QLabel* label(const QString& text, QWidget* parent) { return new QLabel(text, parent); }
// Instructions long enough to need more than one line.
QLabel* note(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    l->setMinimumHeight(2 * l->fontMetrics().lineSpacing());
    return l;
}
QLabel* panel(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(70);
    return l;
}
void group(QObject* owner, std::initializer_list<QRadioButton*> buttons) {
    auto* g = new QButtonGroup(owner);
    for (QRadioButton* b : buttons) g->addButton(b);
}
std::string str(const QLineEdit* e) { return e->text().toStdString(); }
} // namespace

QGroupBox* frmPtCloud::buildOutline() {
    fraBlankingOutline = new QGroupBox("Blanking outline", this);
    auto* g = new QGridLayout(fraBlankingOutline);
    chkBlankedAreaPts = new QCheckBox("Create points file with points in blanked area", fraBlankingOutline);
    chkBlankedAreaPts->setChecked(true);
    Label20 = label("Bin size", fraBlankingOutline);
    txtBlnBinSize = edit("0.1", fraBlankingOutline);
    cmdCreateBlankingFile = new QPushButton("Create blanking file", fraBlankingOutline);
    g->addWidget(chkBlankedAreaPts, 0, 0, 1, 2);
    g->addWidget(Label20, 1, 0);
    g->addWidget(txtBlnBinSize, 1, 1);
    g->addWidget(cmdCreateBlankingFile, 2, 0, 1, 2);
    return fraBlankingOutline;
}

QGroupBox* frmPtCloud::buildUndercuts() {
    fraRemoveUndercuts = new QGroupBox("Remove undercuts", this);
    auto* g = new QGridLayout(fraRemoveUndercuts);
    chkDefaultSet = new QCheckBox("Use default settings", fraRemoveUndercuts);
    chkDefaultSet->setChecked(true);

    fraAdvanced = new QGroupBox("Advanced settings", fraRemoveUndercuts);
    auto* a = new QGridLayout(fraAdvanced);
    fraMethod = new QGroupBox("Method", fraAdvanced);
    auto* m = new QGridLayout(fraMethod);
    optThresh = new QRadioButton("Threshold of height from max height", fraMethod);
    optThresh->setChecked(true);
    optProp = new QRadioButton("Proportion of max height in search area", fraMethod);
    group(fraMethod, {optThresh, optProp});
    txtThresh = edit("0.05", fraMethod);
    txtProp = edit("0.9", fraMethod);
    m->addWidget(optThresh, 0, 0);
    m->addWidget(txtThresh, 0, 1);
    m->addWidget(optProp, 1, 0);
    m->addWidget(txtProp, 1, 1);
    chkFindNeigh = new QCheckBox("Always find neighbour", fraAdvanced);
    chkFindNeigh->setChecked(true);
    txtSearchRadInc = label("Inc search radius by prop of radius", fraAdvanced);
    txtSearchRadiusInc = edit("0.25", fraAdvanced);
    Label7 = label("Bin size", fraAdvanced);
    txtBinSize = edit("0.030", fraAdvanced);
    a->addWidget(fraMethod, 0, 0, 1, 2);
    a->addWidget(chkFindNeigh, 1, 0, 1, 2);
    a->addWidget(txtSearchRadInc, 2, 0);
    a->addWidget(txtSearchRadiusInc, 2, 1);
    a->addWidget(Label7, 3, 0);
    a->addWidget(txtBinSize, 3, 1);
    fraAdvanced->setEnabled(false);

    Label9 = label("Primary search radius", fraRemoveUndercuts);
    txtSearchRadius = edit("0.020", fraRemoveUndercuts);
    chkWriteRej = new QCheckBox("Write rejected points to sep file", fraRemoveUndercuts);
    chkWriteRej->setChecked(true);
    chkMould = new QCheckBox("Mould scan", fraRemoveUndercuts);
    cmdRemoveUndercuts = new QPushButton("Remove undercuts", fraRemoveUndercuts);
    Label10 = label("No. points in file", fraRemoveUndercuts);
    txtNoPts = panel(fraRemoveUndercuts);
    Label12 = label("Points processed", fraRemoveUndercuts);
    txtNoPtsPrcd = panel(fraRemoveUndercuts);
    pbarPtsPrcd = new QProgressBar(fraRemoveUndercuts);
    pbarPtsPrcd->setRange(0, 1);
    pbarPtsPrcd->setValue(0);

    g->addWidget(chkDefaultSet, 0, 0, 1, 2);
    g->addWidget(fraAdvanced, 1, 0, 1, 2);
    g->addWidget(Label9, 2, 0);
    g->addWidget(txtSearchRadius, 2, 1);
    g->addWidget(chkWriteRej, 3, 0, 1, 2);
    g->addWidget(chkMould, 4, 0, 1, 2);
    g->addWidget(cmdRemoveUndercuts, 5, 0, 1, 2);
    g->addWidget(Label10, 6, 0);
    g->addWidget(txtNoPts, 6, 1);
    g->addWidget(Label12, 7, 0);
    g->addWidget(txtNoPtsPrcd, 7, 1);
    g->addWidget(pbarPtsPrcd, 8, 0, 1, 2);
    g->setRowStretch(9, 1);
    return fraRemoveUndercuts;
}

QGroupBox* frmPtCloud::buildEnamel() {
    fraEnamel = new QGroupBox("Enamel thickness", this);
    auto* g = new QGridLayout(fraEnamel);
    Label17 = note("Input surface of interest point cloud file first, then surface to find distance to", fraEnamel);
    Label18 = label("Bin size", fraEnamel);
    txtBinSizeE = edit("0.25", fraEnamel);
    cmdEnamThickCalc = new QPushButton("Calculate", fraEnamel);
    Label19 = label("Input points file, then wrl polygon file", fraEnamel);
    optXYZT = new QRadioButton("x,y,z,t", fraEnamel);
    optXYZT->setChecked(true);
    optXYZ = new QRadioButton("x,y,z", fraEnamel);
    group(fraEnamel, {optXYZT, optXYZ});
    chkOnlyPolyPts = new QCheckBox("Only write to file points used in polygons", fraEnamel);
    chkOnlyPolyPts->setChecked(true);
    cmdPointsToWrl = new QPushButton("Convert", fraEnamel);
    g->addWidget(Label17, 0, 0, 1, 2);
    g->addWidget(Label18, 1, 0);
    g->addWidget(txtBinSizeE, 1, 1);
    g->addWidget(cmdEnamThickCalc, 2, 0, 1, 2);
    g->addWidget(Label19, 3, 0, 1, 2);
    g->addWidget(optXYZT, 4, 0);
    g->addWidget(optXYZ, 4, 1);
    g->addWidget(chkOnlyPolyPts, 5, 0, 1, 2);
    g->addWidget(cmdPointsToWrl, 6, 0, 1, 2);
    return fraEnamel;
}

QWidget* frmPtCloud::buildJoinTip() {
    auto* box = new QFrame(this);
    box->setFrameShape(QFrame::StyledPanel);
    auto* g = new QGridLayout(box);
    cmdJoinFiles = new QPushButton("Join files", box);
    chkReZero = new QCheckBox("Re-zero x,y,z after joined", box);
    chkReZero->setChecked(true);
    Label16 = label("Tip", box);
    cmbTipNo = new QComboBox(box);
    for (const char* t : ptcloud::kTipItems) cmbTipNo->addItem(t);
    txtTipCalX = edit("0.000", box);
    txtTipCalY = edit("0.000", box);
    txtTipCalZ = edit("0.000", box);
    cmdTipCal = new QPushButton("Adjust for tip calibration", box);
    g->addWidget(cmdJoinFiles, 0, 0, 1, 2);
    g->addWidget(chkReZero, 0, 2, 1, 3);
    g->addWidget(Label16, 1, 0);
    g->addWidget(cmbTipNo, 1, 1);
    g->addWidget(txtTipCalX, 1, 2);
    g->addWidget(txtTipCalY, 1, 3);
    g->addWidget(txtTipCalZ, 1, 4);
    g->addWidget(cmdTipCal, 2, 0, 1, 5);
    return box;
}

QWidget* frmPtCloud::buildGrids() {
    auto* box = new QWidget(this);
    auto* h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    chkStartSurfer = new QCheckBox("Start new Surfer (v8)", box);

    fraBlankArea = new QGroupBox("Blank area", box);
    auto* b = new QGridLayout(fraBlankArea);
    optBlankOutside = new QRadioButton("Outside", fraBlankArea);
    optBlankOutside->setChecked(true);
    optBlankInside = new QRadioButton("Inside", fraBlankArea);
    group(fraBlankArea, {optBlankOutside, optBlankInside});
    cmdBlank = new QPushButton("Digitise and blank grid", fraBlankArea);
    b->addWidget(optBlankOutside, 0, 0);
    b->addWidget(optBlankInside, 0, 1);
    b->addWidget(cmdBlank, 1, 0, 1, 2);

    fraExtract = new QGroupBox("Extract", box);
    auto* e = new QGridLayout(fraExtract);
    chkRedArea = new QCheckBox("Reduce grid area", fraExtract);
    chkRedRow = new QCheckBox("Reduce no. rows/cols", fraExtract);
    txtRedRow = edit("2", fraExtract);
    cmdExtract = new QPushButton("Extract smaller grid", fraExtract);
    e->addWidget(chkRedArea, 0, 0, 1, 2);
    e->addWidget(chkRedRow, 1, 0);
    e->addWidget(txtRedRow, 1, 1);
    e->addWidget(cmdExtract, 2, 0, 1, 2);

    fraPlot = new QGroupBox("Plot output", box);
    auto* p = new QGridLayout(fraPlot);
    chkPlotSurfer = new QCheckBox("Plot in Surfer", fraPlot);
    chkPlotSurfer->setChecked(true);
    optRelief = new QRadioButton("Relief", fraPlot);
    optRelief->setChecked(true);
    optContour = new QRadioButton("Contour", fraPlot);
    group(fraPlot, {optRelief, optContour});
    chkLabelSurfer = new QCheckBox("Label", fraPlot);
    chkLabelSurfer->setChecked(true);
    p->addWidget(chkPlotSurfer, 0, 0, 1, 2);
    p->addWidget(optRelief, 1, 0);
    p->addWidget(optContour, 1, 1);
    p->addWidget(chkLabelSurfer, 2, 0, 1, 2);

    h->addWidget(chkStartSurfer);
    h->addWidget(fraBlankArea);
    h->addWidget(fraExtract);
    h->addWidget(fraPlot);
    return box;
}

void frmPtCloud::cmdCreateBlankingFile_Click() {
    ptcloud::OutlineWindowOptions o;
    o.chkBlankedAreaPts = chkBlankedAreaPts->isChecked();
    o.txtBlnBinSize = str(txtBlnBinSize);
    o.chkMould = chkMould->isChecked();
    withProgress([&](ptcloud::CloudProgress& p) {
        auto ctx = context(p);
        ptcloud::cmdCreateBlankingFile(ctx, o);
    }, false);
}

void frmPtCloud::cmdRemoveUndercuts_Click() {
    ptcloud::UndercutWindowOptions o;
    o.chkDefaultSet = chkDefaultSet->isChecked();
    o.txtSearchRadius = str(txtSearchRadius);
    o.txtBinSize = str(txtBinSize);
    o.optThresh = optThresh->isChecked();
    o.optProp = optProp->isChecked();
    o.txtThresh = str(txtThresh);
    o.txtProp = str(txtProp);
    o.chkFindNeigh = chkFindNeigh->isChecked();
    o.txtSearchRadiusInc = str(txtSearchRadiusInc);
    o.chkWriteRej = chkWriteRej->isChecked();
    o.chkMould = chkMould->isChecked();
    withProgress([&](ptcloud::CloudProgress& p) {
        auto ctx = context(p);
        ptcloud::cmdRemoveUndercuts(ctx, o);
    });
    txtBinSize->setText(QString::fromStdString(o.txtBinSize));
    txtThresh->setText(QString::fromStdString(o.txtThresh));
}

void frmPtCloud::cmdEnamThickCalc_Click() {
    withProgress([&](ptcloud::CloudProgress& p) {
        auto ctx = context(p);
        ptcloud::cmdEnamThickCalc(ctx, {str(txtBinSizeE)});
    });
}

void frmPtCloud::cmdPointsToWrl_Click() {
    withProgress([&](ptcloud::CloudProgress& p) {
        auto ctx = context(p);
        ptcloud::cmdPointsToWrl(ctx, {optXYZT->isChecked(), chkOnlyPolyPts->isChecked()});
    });
}

void frmPtCloud::cmdJoinFiles_Click() {
    withProgress([&](ptcloud::CloudProgress& p) {
        auto ctx = context(p);
        ptcloud::cmdJoinFiles(ctx, {chkReZero->isChecked()});
    });
}

void frmPtCloud::cmbTipNo_Click() {
    if (const auto row = ptcloud::TipOffsets(cmbTipNo->currentText().toStdString())) {
        txtTipCalX->setText((*row)[0]);
        txtTipCalY->setText((*row)[1]);
        txtTipCalZ->setText((*row)[2]);
    }
}

void frmPtCloud::cmdTipCal_Click() {
    withProgress([&](ptcloud::CloudProgress& p) {
        auto ctx = context(p);
        ptcloud::cmdTipCal(ctx, {str(txtTipCalX), str(txtTipCalY), str(txtTipCalZ)});
    }, false);
}

namespace {
ptcloud::GridStepOptions gridOptions(const frmPtCloud& w) {
    ptcloud::GridStepOptions o;
    o.chkStartSurfer = w.chkStartSurfer->isChecked();
    o.optBlankOutside = w.optBlankOutside->isChecked();
    o.chkRedArea = w.chkRedArea->isChecked();
    o.chkRedRow = w.chkRedRow->isChecked();
    o.txtRedRow = str(w.txtRedRow);
    o.chkPlotSurfer = w.chkPlotSurfer->isChecked();
    o.optRelief = w.optRelief->isChecked();
    o.chkLabelSurfer = w.chkLabelSurfer->isChecked();
    return o;
}
} // namespace

void frmPtCloud::cmdBlank_Click() {
    auto ctx = context(ptcloud::noCloudProgress());
    ptcloud::cmdBlank(ctx, gridOptions(*this));
    showCount();
}

void frmPtCloud::cmdExtract_Click() {
    auto ctx = context(ptcloud::noCloudProgress());
    ptcloud::cmdExtract(ctx, gridOptions(*this));
    showCount();
}

} // namespace trelvik
