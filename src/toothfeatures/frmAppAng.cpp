#include "toothfeatures/frmAppAng.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "toothfeatures/appangstep.h"

namespace trelvik {

frmAppAng::frmAppAng(AppState& state, Prompt& prompt, QWidget* parent)
    : CrestSelectWindow(state, prompt, Options{true, true}, parent) {
    setWindowTitle("Approach angle of crest");
    Label5 = new QLabel("Calculates occlusal vector, slices crest, translates crest to align with occlusal vector, "
                        "and calculates approach angle.",
                        this);
    Label5->setWordWrap(true);
    Label1 = new QLabel("Occlusal vector", this);
    optTribo = new QRadioButton("Tribo-type", this);
    optCarnass = new QRadioButton("Carnassial", this);
    optTribo->setChecked(true);
    auto* kind = new QButtonGroup(this);
    kind->addButton(optTribo);
    kind->addButton(optCarnass);
    cmdOccVect = new QPushButton("Find occlusal vector", this);
    Label6 = new QLabel("Crest", this);
    cmdDigCrestLength = new QPushButton("Digitise crest and translate", this);
    cmdNextCrest = new QPushButton("Next crest", this);
    cmdNextGrid = new QPushButton("Next grid", this);
    cmdExit = new QPushButton("Exit", this);

    auto* steps = new QVBoxLayout;
    steps->addWidget(Label5);
    steps->addSpacing(8);
    steps->addWidget(Label1);
    steps->addWidget(optTribo);
    steps->addWidget(optCarnass);
    steps->addWidget(cmdOccVect);
    steps->addSpacing(8);
    steps->addWidget(Label6);
    steps->addWidget(cmdDigCrestLength);
    steps->addStretch(1);
    steps->addWidget(cmdNextCrest);
    steps->addWidget(cmdNextGrid);
    steps->addWidget(cmdExit);
    auto* g = new QGridLayout(this);
    g->addWidget(selectionBlock(), 0, 0);
    g->addLayout(steps, 0, 1);
    g->setColumnStretch(0, 1);

    connect(cmdOccVect, &QPushButton::clicked, this, &frmAppAng::cmdOccVect_Click);
    connect(cmdDigCrestLength, &QPushButton::clicked, this, &frmAppAng::cmdDigCrestLength_Click);
    connect(cmdNextCrest, &QPushButton::clicked, this, &frmAppAng::cmdNextCrest_Click);
    connect(cmdNextGrid, &QPushButton::clicked, this, &frmAppAng::cmdNextGrid_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmAppAng::cmdExit_Click);
}

void frmAppAng::cmdOccVect_Click() {
    toothfeatures::OccVectRequest rq;
    rq.window = toothfeatures::CrestWindowKind::AppAng;
    rq.kind = optCarnass->isChecked() ? toothfeatures::ToothKind::Carnassial : toothfeatures::ToothKind::Tribo;
    rq.Label3 = Label3->text().toStdString();
    rq.Text2 = Text2->text().toStdString();
    rq.Combo1Text = Combo1->currentText().toStdString();
    rq.CrestCode = CrestCode;
    toothfeatures::cmdOccVect(app_, prompt_, rq, occ_);
}

void frmAppAng::cmdDigCrestLength_Click() { toothfeatures::cmdDigCrestLengthAppAng(app_, prompt_, occ_, CrestCode); }

void frmAppAng::cmdNextCrest_Click() { clearCrest(); }

void frmAppAng::cmdNextGrid_Click() {
    Text2->setText("*.grd");
    clearCrest();
}

void frmAppAng::cmdExit_Click() { close(); }

} // namespace trelvik
