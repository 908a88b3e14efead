// The "Plot output" frame of "Surfer Functions": map type, view, lighting, projection,
// presets, and the "Plot grid" button; PlotSurfer as other windows call it.
#include "surferfns/frmSurfFns.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "surferfns/plotsurfer.h"

namespace trelvik {

namespace {
QLineEdit* labelledEdit(QGridLayout* g, int row, int col, const QString& label, const QString& text,
                        QWidget* parent) {
    g->addWidget(new QLabel(label, parent), row, col);
    auto* e = new QLineEdit(text, parent);
    e->setMaximumWidth(50);
    g->addWidget(e, row, col + 1);
    return e;
}
} // namespace

QGroupBox* frmSurfFns::buildPlotFrame() {
    fraPlot = new QGroupBox("Plot output", this);
    auto* h = new QHBoxLayout(fraPlot);

    auto* types = new QVBoxLayout;
    chkPlotSurfer = new QCheckBox("Plot in Surfer", fraPlot);
    chkPlotSurfer->setChecked(true);
    optRelief = new QRadioButton("Relief", fraPlot);
    optContour = new QRadioButton("Contour", fraPlot);
    optImage = new QRadioButton("Image", fraPlot);
    opt3DSurface = new QRadioButton("3D surface", fraPlot);
    optRelief->setChecked(true);
    auto* typeGroup = new QButtonGroup(fraPlot);
    types->addWidget(chkPlotSurfer);
    for (QRadioButton* b : {optRelief, optContour, optImage, opt3DSurface}) {
        typeGroup->addButton(b);
        types->addWidget(b);
    }
    types->addStretch(1);
    h->addLayout(types);

    auto* decor = new QGridLayout;
    chkShowAxes = new QCheckBox("Show axes", fraPlot);
    chkShowAxes->setChecked(true);
    chkLabelSurfer = new QCheckBox("Label", fraPlot);
    chkLabelSurfer->setChecked(true);
    chkScaleBar = new QCheckBox("Scale bar", fraPlot);
    txtScaleBar = new QLineEdit("0.05", fraPlot);
    txtScaleBar->setMaximumWidth(50);
    decor->addWidget(chkShowAxes, 0, 0, 1, 2);
    decor->addWidget(chkLabelSurfer, 1, 0, 1, 2);
    decor->addWidget(chkScaleBar, 2, 0);
    decor->addWidget(txtScaleBar, 2, 1);
    txtNoInPlotRow = labelledEdit(decor, 3, 0, "No. in row", "6", fraPlot);
    txtPlotSpacX = labelledEdit(decor, 4, 0, "Spacing X", "18", fraPlot);
    txtPlotSpacY = labelledEdit(decor, 5, 0, "Spacing Y", "18", fraPlot);
    h->addLayout(decor);

    auto* lighting = new QGroupBox("Lighting", fraPlot);
    auto* lg = new QGridLayout(lighting);
    txtAzimuth = labelledEdit(lg, 0, 0, "Azimuth", "135", lighting);
    txtZenith = labelledEdit(lg, 1, 0, "Zenith", "45", lighting);
    auto* view = new QGroupBox("View", fraPlot);
    auto* vg = new QGridLayout(view);
    txtRot = labelledEdit(vg, 0, 0, "Rotation", "45", view);
    txtTilt = labelledEdit(vg, 1, 0, "Tilt", "30", view);
    auto* projection = new QGroupBox("Projection", fraPlot);
    auto* pv = new QVBoxLayout(projection);
    optProjP = new QRadioButton("Pers", projection);
    optProjO = new QRadioButton("Orth", projection);
    optProjP->setChecked(true);
    pv->addWidget(optProjP);
    pv->addWidget(optProjO);
    h->addWidget(lighting);
    h->addWidget(view);
    h->addWidget(projection);

    auto* presets = new QVBoxLayout;
    presets->addWidget(new QLabel("Preset views", fraPlot));
    cmdPresetA = new QPushButton("Above", fraPlot);
    cmdPresetD = new QPushButton("Default", fraPlot);
    presets->addWidget(cmdPresetA);
    presets->addWidget(cmdPresetD);
    presets->addStretch(1);
    cmdPlotGrid = new QPushButton("Plot grid", fraPlot);
    presets->addWidget(cmdPlotGrid);
    h->addLayout(presets);
    return fraPlot;
}

void frmSurfFns::connectPlot() {
    connect(cmdPresetA, &QPushButton::clicked, this, &frmSurfFns::cmdPresetA_Click);
    connect(cmdPresetD, &QPushButton::clicked, this, &frmSurfFns::cmdPresetD_Click);
    connect(cmdPlotGrid, &QPushButton::clicked, this, &frmSurfFns::cmdPlotGrid_Click);
}

surffns::PlotOptions frmSurfFns::plotOptions() const {
    surffns::PlotOptions o;
    o.PlotType = optContour->isChecked() ? 2 : optImage->isChecked() ? 3 : opt3DSurface->isChecked() ? 4 : 1;
    o.chkShowAxes = chkShowAxes->isChecked();
    o.chkLabelSurfer = chkLabelSurfer->isChecked();
    o.chkScaleBar = chkScaleBar->isChecked();
    o.txtScaleBar = txtScaleBar->text().toStdString();
    o.txtNoInPlotRow = txtNoInPlotRow->text().toStdString();
    o.txtPlotSpacX = txtPlotSpacX->text().toStdString();
    o.txtPlotSpacY = txtPlotSpacY->text().toStdString();
    o.txtAzimuth = txtAzimuth->text().toStdString();
    o.txtZenith = txtZenith->text().toStdString();
    o.txtRot = txtRot->text().toStdString();
    o.txtTilt = txtTilt->text().toStdString();
    o.Projection = optProjP->isChecked() ? 1 : optProjO->isChecked() ? 2 : 0;
    return o;
}

namespace {
void showPreset(const surffns::ViewPreset& p, QLineEdit* az, QLineEdit* zen, QRadioButton* pers,
                QRadioButton* orth, QLineEdit* rot, QLineEdit* tilt) {
    az->setText(p.Azimuth);
    zen->setText(p.Zenith);
    (p.Projection == 2 ? orth : pers)->setChecked(true);
    rot->setText(p.Rot);
    tilt->setText(p.Tilt);
}
} // namespace

void frmSurfFns::cmdPresetA_Click() {
    showPreset(surffns::kPresetAbove, txtAzimuth, txtZenith, optProjP, optProjO, txtRot, txtTilt);
}

void frmSurfFns::cmdPresetD_Click() {
    showPreset(surffns::kPresetDefault, txtAzimuth, txtZenith, optProjP, optProjO, txtRot, txtTilt);
}

void frmSurfFns::PlotSurfer(const std::string& GridFilename, int PlotType) {
    auto ctx = context();
    surffns::PlotSurfer(ctx, GridFilename, PlotType);
}

void frmSurfFns::cmdPlotGrid_Click() {
    auto ctx = context();
    runBatch(ctx, [&] { surffns::PlotGrids(ctx); });
    showState(ctx);
}

} // namespace trelvik
