#include "toothfeatures/frmCapture.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "widgets/writtenfiles.h"

namespace trelvik {

frmCapture::frmCapture(AppState& state, Prompt& prompt, QWidget* parent)
    : CrestSelectWindow(state, prompt, Options{false, true}, parent) {
    setWindowTitle("Find capture area enclosed by crest");
    buildOccVectControls(this, "Calculates occlusal vector, slices crest, translates crest to align with occlusal "
                               "vector, and calculates area enclosed by crest.");
    Label7 = new QLabel("Capture area boundary", this);
    cmdDigCBound = new QPushButton("Delimit top of capture area", this);
    Label6 = new QLabel("Crest", this);
    cmdDigCrestLength = new QPushButton("Digitise crest", this);
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
    steps->addWidget(Label7);
    steps->addWidget(cmdDigCBound);
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

    connect(cmdOccVect, &QPushButton::clicked, this, &frmCapture::cmdOccVect_Click);
    connect(cmdDigCBound, &QPushButton::clicked, this, &frmCapture::cmdDigCBound_Click);
    connect(cmdDigCrestLength, &QPushButton::clicked, this, &frmCapture::cmdDigCrestLength_Click);
    connect(cmdNextCrest, &QPushButton::clicked, this, &frmCapture::cmdNextCrest_Click);
    connect(cmdNextGrid, &QPushButton::clicked, this, &frmCapture::cmdNextGrid_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmCapture::cmdExit_Click);
}

toothfeatures::CaptureRequest frmCapture::request() const {
    toothfeatures::CaptureRequest rq;
    rq.kind = optCarnass->isChecked() ? toothfeatures::ToothKind::Carnassial : toothfeatures::ToothKind::Tribo;
    rq.Combo1Text = Combo1->currentText().toStdString();
    rq.CrestCode = CrestCode;
    return rq;
}

void frmCapture::cmdOccVect_Click() {
    const toothfeatures::OccVectRequest rq = occVectRequest(toothfeatures::CrestWindowKind::Capture);
    runWriting(rq.Label3, [&] { return toothfeatures::cmdOccVect(app_, prompt_, rq, occ_); });
}

void frmCapture::cmdDigCBound_Click() {
    runWriting(occ_.GridDir,
               [this] { return toothfeatures::cmdDigCBound(app_, prompt_, request(), occ_, CaptureTopPoints); });
}

void frmCapture::cmdDigCrestLength_Click() {
    std::pair<long, long> measured{0, 0};
    runWriting(occ_.GridDir, [&] {
        return toothfeatures::cmdDigCrestLengthCapture(app_, prompt_, request(), occ_, CaptureTopPoints, &measured);
    });
    // A crest that left the tooth is measured only in part: the line says how far.
    WrittenFiles::addLine(lblStatus, toothfeatures::partialCrestNote(measured));
}

void frmCapture::cmdNextCrest_Click() { clearCrest(); }

void frmCapture::cmdNextGrid_Click() {
    Text2->setText("*.grd");
    clearCrest();
}

void frmCapture::cmdExit_Click() { close(); }

} // namespace trelvik
