#include "toothfeatures/frmAppAng.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/fileroutines.h"
#include "toothfeatures/appangstep.h"
#include "widgets/writtenfiles.h"

namespace trelvik {

frmAppAng::frmAppAng(AppState& state, Prompt& prompt, QWidget* parent)
    : CrestSelectWindow(state, prompt, Options{true, true}, parent) {
    setWindowTitle("Approach angle of crest");
    buildOccVectControls(this, "Calculates occlusal vector, slices crest, translates crest to align with occlusal "
                               "vector, and calculates approach angle.");
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
    g->addWidget(buildStatusLine(), 1, 0, 1, 2);
    g->setColumnStretch(0, 1);

    connect(cmdOccVect, &QPushButton::clicked, this, &frmAppAng::cmdOccVect_Click);
    connect(cmdDigCrestLength, &QPushButton::clicked, this, &frmAppAng::cmdDigCrestLength_Click);
    connect(cmdNextCrest, &QPushButton::clicked, this, &frmAppAng::cmdNextCrest_Click);
    connect(cmdNextGrid, &QPushButton::clicked, this, &frmAppAng::cmdNextGrid_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmAppAng::cmdExit_Click);
}

void frmAppAng::cmdOccVect_Click() {
    const toothfeatures::OccVectRequest rq = occVectRequest(toothfeatures::CrestWindowKind::AppAng);
    runWriting(rq.Label3, [&] { return toothfeatures::cmdOccVect(app_, prompt_, rq, occ_); });
}

void frmAppAng::cmdDigCrestLength_Click() {
    // Measured again under the same name, a crest replaces its table and the status line
    // would read as the first time: it says so, and how another crest is measured.
    const std::string table = toothfeatures::approachAngleResultsTable(occ_, CrestCode);
    const bool measuredBefore = !occ_.GridBaseName.empty() && FileExists(table);
    const std::string crestText = Combo1->currentText().toStdString();
    if (runWriting(occ_.GridDir,
                   [&] { return toothfeatures::cmdDigCrestLengthAppAng(app_, prompt_, occ_, crestText, CrestCode); }) &&
        measuredBefore)
        WrittenFiles::addLine(lblStatus, toothfeatures::replacedCrestNote(table));
}

void frmAppAng::cmdNextCrest_Click() { clearCrest(); }

void frmAppAng::cmdNextGrid_Click() {
    Text2->setText("*.grd");
    clearCrest();
}

void frmAppAng::cmdExit_Click() { close(); }

} // namespace trelvik
