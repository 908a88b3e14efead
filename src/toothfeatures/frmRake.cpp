#include "toothfeatures/frmRake.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/error.h"
#include "surferfns/frmSurfFns.h"
#include "toothfeatures/rakeslice.h"

namespace trelvik {

namespace {
QLineEdit* box(const QString& text, QWidget* parent) {
    auto* e = new QLineEdit(text, parent);
    e->setMaximumWidth(60);
    return e;
}
void group(QObject* owner, std::initializer_list<QRadioButton*> buttons) {
    auto* g = new QButtonGroup(owner);
    for (QRadioButton* b : buttons) g->addButton(b);
}
std::string str(const QLineEdit* e) { return e->text().toStdString(); }
} // namespace

frmRake::frmRake(AppState& state, Prompt& prompt, std::function<frmSurfFns*()> surfFns, QWidget* parent)
    : CrestSelectWindow(state, prompt, Options{true, false}, parent), surfFns_(std::move(surfFns)) {
    setWindowTitle("Rake angle");
    auto* g = new QGridLayout(this);
    g->addWidget(selectionBlock(), 0, 0);
    g->addWidget(buildSteps(), 0, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(buildRakeSurface());
    right->addWidget(buildCrestInfo());
    right->addStretch(1);
    g->addLayout(right, 0, 2);
    g->setColumnStretch(0, 1);

    connect(cmdOccVect, &QPushButton::clicked, this, &frmRake::cmdOccVect_Click);
    connect(cmdDigCuspArea, &QPushButton::clicked, this, &frmRake::cmdDigCuspArea_Click);
    connect(cmdInputTransGrid, &QPushButton::clicked, this, &frmRake::cmdInputTransGrid_Click);
    connect(Check1, &QCheckBox::clicked, this, &frmRake::Check1_Click);
    connect(cmdSlice, &QPushButton::clicked, this, &frmRake::cmdSlice_Click);
    connect(cmdNextGrid, &QPushButton::clicked, this, &frmRake::cmdNextGrid_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmRake::cmdExit_Click);
}

QWidget* frmRake::buildSteps() {
    auto* w = new QWidget(this);
    buildOccVectControls(w, "Calculates occlusal vector, blanks cusp area, translates cusp surface to align with "
                            "occlusal vector, and converts to grid.");
    Label6 = new QLabel("Cusp area and translation", w);
    cmdDigCuspArea = new QPushButton("Digitise cusp area and trans", w);
    cmdInputTransGrid = new QPushButton("Input trans grid", w);
    Check1 = new QCheckBox("Use default", w);
    Check1->setChecked(true);
    Label11 = new QLabel("Cusp area grid dimensions", w);
    Label4 = new QLabel("x", w);
    Label7 = new QLabel("y", w);
    Text3 = box("4", w);
    Text4 = box("4", w);
    Label9 = new QLabel(w);
    Label10 = new QLabel(w);
    for (QWidget* c : std::initializer_list<QWidget*>{Label4, Label7, Label9, Label10, Text3, Text4}) c->setVisible(false);
    chkInputLengthFile = new QCheckBox("Input length file", w);
    chkInputLengthFile->setChecked(true);
    Label12 = new QLabel("[name] + ", w);
    txtInputLengthFile = box("_tl", w);
    cmdNextGrid = new QPushButton("Next grid", w);
    cmdExit = new QPushButton("Exit", w);

    auto* v = new QGridLayout(w);
    v->setContentsMargins(0, 0, 0, 0);
    int r = 0;
    v->addWidget(Label5, r++, 0, 1, 3);
    v->addWidget(Label1, r++, 0, 1, 3);
    v->addWidget(optTribo, r, 0);
    v->addWidget(optCarnass, r++, 1, 1, 2);
    v->addWidget(cmdOccVect, r++, 0, 1, 3);
    v->addWidget(Label6, r++, 0, 1, 3);
    v->addWidget(cmdDigCuspArea, r++, 0, 1, 3);
    v->addWidget(cmdInputTransGrid, r++, 0, 1, 3);
    v->addWidget(Check1, r++, 0, 1, 3);
    v->addWidget(Label11, r++, 0, 1, 3);
    v->addWidget(Label4, r, 0);
    v->addWidget(Text3, r, 1);
    v->addWidget(Label9, r++, 2);
    v->addWidget(Label7, r, 0);
    v->addWidget(Text4, r, 1);
    v->addWidget(Label10, r++, 2);
    v->addWidget(chkInputLengthFile, r++, 0, 1, 3);
    v->addWidget(Label12, r, 0);
    v->addWidget(txtInputLengthFile, r++, 1);
    v->setRowStretch(r++, 1);
    v->addWidget(cmdNextGrid, r++, 0, 1, 3);
    v->addWidget(cmdExit, r++, 0, 1, 3);
    return w;
}

QGroupBox* frmRake::buildRakeSurface() {
    fraRakeSurface = new QGroupBox("Rake surface", this);
    optLengthF = new QRadioButton("Fraction", fraRakeSurface);
    optLengthM = new QRadioButton("Multiple", fraRakeSurface);
    optLengthB = new QRadioButton("Both", fraRakeSurface);
    optLengthB->setChecked(true);
    group(this, {optLengthF, optLengthM, optLengthB});
    txtRakeLengthF = box("1", fraRakeSurface);
    txtRakeIntF = box("0.05", fraRakeSurface);
    txtRakeLengthM = box("0.25", fraRakeSurface);
    txtRakeIntM = box("20", fraRakeSurface);
    cmdSlice = new QPushButton("Find rake angle", fraRakeSurface);
    auto* g = new QGridLayout(fraRakeSurface);
    g->addWidget(new QLabel("Length", fraRakeSurface), 0, 1);
    g->addWidget(new QLabel("Factor", fraRakeSurface), 0, 2);
    g->addWidget(optLengthF, 1, 0);
    g->addWidget(txtRakeLengthF, 1, 1);
    g->addWidget(txtRakeIntF, 1, 2);
    g->addWidget(optLengthM, 2, 0);
    g->addWidget(txtRakeLengthM, 2, 1);
    g->addWidget(txtRakeIntM, 2, 2);
    g->addWidget(optLengthB, 3, 0);
    g->addWidget(cmdSlice, 4, 0, 1, 3);
    return fraRakeSurface;
}

QGroupBox* frmRake::buildCrestInfo() {
    fraCrestInfo = new QGroupBox("Add crest info", this);
    Option1 = new QRadioButton("None", fraCrestInfo);
    optCrestInfo1 = new QRadioButton("Crest info 1", fraCrestInfo);
    optCrestInfo2 = new QRadioButton("Crest info 2", fraCrestInfo);
    optCrestInfo2->setChecked(true);
    group(this, {Option1, optCrestInfo1, optCrestInfo2});
    txtCrestInfo = box("1", fraCrestInfo);
    cmbCrestInfo = new QComboBox(fraCrestInfo);
    cmbCrestInfo->setEditable(true);
    cmbCrestInfo->addItems({"notch", "ant", "post"});
    auto* g = new QGridLayout(fraCrestInfo);
    g->addWidget(Option1, 0, 0);
    g->addWidget(optCrestInfo1, 1, 0);
    g->addWidget(txtCrestInfo, 1, 1);
    g->addWidget(optCrestInfo2, 2, 0);
    g->addWidget(cmbCrestInfo, 2, 1);
    return fraCrestInfo;
}

void frmRake::cmdOccVect_Click() {
    toothfeatures::cmdOccVect(app_, prompt_, occVectRequest(toothfeatures::CrestWindowKind::Rake), rake_.occ);
}

void frmRake::plotTransGrid(const std::string& grid, int plotType) {
    frmSurfFns* f = surfFns_ ? surfFns_() : nullptr;
    if (!f) throw Error("The Surfer Functions window, through which the grid is plotted, could not be loaded.");
    f->opt3DSurface->setChecked(true);
    f->cmdPresetA_Click();
    f->PlotSurfer(grid, plotType);
}

void frmRake::cmdDigCuspArea_Click() {
    toothfeatures::CuspAreaRequest rq;
    rq.Check1 = Check1->isChecked();
    rq.Text3 = str(Text3);
    rq.Text4 = str(Text4);
    rq.chkInputLengthFile = chkInputLengthFile->isChecked();
    rq.txtInputLengthFile = str(txtInputLengthFile);
    toothfeatures::CuspAreaResult out;
    const bool done = toothfeatures::cmdDigCuspArea(
        app_, prompt_, rake_, rq, [this](const std::string& g, int t) { plotTransGrid(g, t); }, out);
    if (!out.Label9.empty()) {
        Label9->setText(QString::fromStdString(out.Label9));
        Label10->setText(QString::fromStdString(out.Label10));
        Text3->setText(QString::fromStdString(out.Text3));
        Text4->setText(QString::fromStdString(out.Text4));
    }
    if (done && out.txtRakeLengthF) txtRakeLengthF->setText(QString::fromStdString(*out.txtRakeLengthF));
}

void frmRake::cmdInputTransGrid_Click() {
    toothfeatures::TransGridRequest rq;
    rq.Label3 = gridFolder();
    rq.Text2 = str(Text2);
    rq.chkInputLengthFile = chkInputLengthFile->isChecked();
    rq.txtInputLengthFile = str(txtInputLengthFile);
    std::optional<std::string> length;
    toothfeatures::cmdInputTransGrid(prompt_, rake_, rq, length);
    if (length) txtRakeLengthF->setText(QString::fromStdString(*length));
}

void frmRake::Check1_Click() {
    const bool entered = !Check1->isChecked();
    for (QWidget* c : std::initializer_list<QWidget*>{Label4, Label7, Label9, Label10, Text3, Text4})
        c->setVisible(entered);
}

void frmRake::cmdSlice_Click() {
    toothfeatures::RakeSliceRequest rq;
    rq.Combo1Text = Combo1->currentText().toStdString();
    rq.CrestCode = CrestCode;
    rq.kind = optLengthF->isChecked()   ? toothfeatures::RakeKind::Fraction
              : optLengthM->isChecked() ? toothfeatures::RakeKind::Multiple
                                        : toothfeatures::RakeKind::Both;
    rq.boxes = {str(txtRakeLengthF), str(txtRakeIntF), str(txtRakeLengthM), str(txtRakeIntM)};
    rq.info = optCrestInfo1->isChecked()   ? toothfeatures::CrestInfo::Info1
              : optCrestInfo2->isChecked() ? toothfeatures::CrestInfo::Info2
                                           : toothfeatures::CrestInfo::None;
    rq.txtCrestInfo = str(txtCrestInfo);
    rq.cmbCrestInfo = cmbCrestInfo->currentText().toStdString();
    toothfeatures::cmdSlice(app_, prompt_, rake_, rq);
}

void frmRake::cmdNextGrid_Click() {
    Text2->setText("*.grd");
    Label9->clear();
    Label10->clear();
    Text3->clear();
    Text4->clear();
    txtRakeLengthF->setText("1");
    txtCrestInfo->setText("1");
}

void frmRake::cmdExit_Click() { close(); }

} // namespace trelvik
