#include "toothfeatures/frmCurvature.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/error.h"
#include "shell/frmDefDir.h"
#include "toothfeatures/curvarea.h"
#include "toothfeatures/curvgrids.h"
#include "toothfeatures/curvslice.h"
#include "toothfeatures/curvsmooth.h"
#include "toothfeatures/nametables.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/progressrun.h"

namespace trelvik::toothfeatures {

namespace {
std::string str(const QLineEdit* e) { return e->text().toStdString(); }
std::string str(const QLabel* l) { return l->text().toStdString(); }
QString q(const std::string& s) { return QString::fromStdString(s); }
} // namespace

frmCurvature::frmCurvature(AppState& state, Prompt& prompt, QWidget* parent)
    : QWidget(parent), app_(state), prompt_(prompt, this) {
    setWindowTitle("Curvature");
    auto* v = new QVBoxLayout(this);
    lblDescription = new QLabel("Smooths topographic grid, finds curvature of surface, and either finds curvature "
                                "along crest (2a) or curvature of cusp tip (2b).",
                                this);
    lblDescription->setWordWrap(true);
    v->addWidget(lblDescription);
    SSTab2 = new QTabWidget(this);
    SSTab2->addTab(buildSmoothTab(), "1a. Smooth and curvature");
    SSTab2->addTab(buildInputTab(), "1b. Input grids");
    SSTab2->addTab(buildSliceTab(), "2a. Slice curvature");
    SSTab2->addTab(buildAreaTab(), "2b. Area curvature");
    v->addWidget(SSTab2);
    connectLists();
    connectSteps();
    Form_Load();
}

void frmCurvature::connectLists() {
    grids_ = FileChooser{Drive1, Dir1, File1, Text1, Label1};
    earlier_ = FileChooser{Drive3, Dir3, File3, Text7, Label3};
    connect(Drive1, &DriveListBox::changed, this, &frmCurvature::Drive1_Change);
    connect(Dir1, &DirListBox::changed, this, &frmCurvature::Dir1_Change);
    connect(File1, &FileListBox::clicked, this, &frmCurvature::File1_Click);
    connect(Command10, &QPushButton::clicked, this, &frmCurvature::Command10_Click);
    connect(Drive3, &DriveListBox::changed, this, &frmCurvature::Drive3_Change);
    connect(Dir3, &DirListBox::changed, this, &frmCurvature::Dir3_Change);
    connect(File3, &FileListBox::clicked, this, &frmCurvature::File3_Click);
    connect(File3, &FileListBox::doubleClicked, this, &frmCurvature::File3_DblClick);
    connect(Command12, &QPushButton::clicked, this, &frmCurvature::Command12_Click);
}

void frmCurvature::connectSteps() {
    connect(chkInputCurvGrid, &QCheckBox::clicked, this, &frmCurvature::chkInputCurvGrid_Click);
    connect(Combo1, &QComboBox::activated, this, &frmCurvature::Combo1_Click);
    connect(Text5, &QLineEdit::textChanged, this, &frmCurvature::Text5_Change);
    for (QLineEdit* e : {Text8, Text10, Text6}) connect(e, &QLineEdit::textChanged, this, &frmCurvature::Threshold_Change);
    connect(Command2, &QPushButton::clicked, this, &frmCurvature::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmCurvature::Command3_Click);
    connect(Command6, &QPushButton::clicked, this, &frmCurvature::Command6_Click);
    connect(Command4, &QPushButton::clicked, this, &frmCurvature::Command4_Click);
    connect(Command15, &QPushButton::clicked, this, &frmCurvature::Command15_Click);
    connect(Command5, &QPushButton::clicked, this, &frmCurvature::Command5_Click);
    connect(Command11, &QPushButton::clicked, this, &frmCurvature::Command11_Click);
    connect(Command1, &QPushButton::clicked, this, &frmCurvature::Command1_Click);
    connect(Command13, &QPushButton::clicked, this, &frmCurvature::Command13_Click);
    for (QPushButton* b : {Command8, Command7, Command9, Command14})
        connect(b, &QPushButton::clicked, this, &frmCurvature::Cmd_Exit);
}

void frmCurvature::Form_Load() {
    // The lists open on the program's own folder.
    const QString home = app_.ProgramDir.empty() ? QDir::currentPath() : q(app_.ProgramDir);
    Drive1->setDrive(home);
    Drive3->setDrive(home);
    Dir1->setPath(home);
    Dir3->setPath(home);
    File1->setPath(Dir1->path());
    File3->setPath(Dir3->path());
    Label1->setText(File1->path());
    Label3->setText(File3->path());
}

CurvControls frmCurvature::controls() const {
    CurvControls c;
    c.SSTab2 = SSTab2->currentIndex();
    c.Label1 = str(Label1);
    c.Text1 = str(Text1);
    c.txtNoSmooth = str(txtNoSmooth);
    c.optSmAverage = optSmAverage->isChecked();
    c.txtNoRow = str(txtNoRow);
    c.txtWeight = str(txtWeight);
    c.Text3 = str(Text3);
    c.txtScaleBar = str(txtScaleBar);
    c.Label12 = str(Label12);
    c.Label3 = str(Label3);
    c.Text7 = str(Text7);
    c.chkInputCurvGrid = chkInputCurvGrid->isChecked();
    c.txtInputCurvText = str(txtInputCurvText);
    c.Check1 = Check1->isChecked();
    c.txtScaleBarI = str(txtScaleBarI);
    c.Combo1 = Combo1->currentText().toStdString();
    c.Label14 = str(Label14);
    c.chkCID = chkCID->isChecked();
    c.txtCrestLength = str(txtCrestLength);
    c.chkAltValuesS = chkAltValuesS->isChecked();
    c.txtAltS1 = str(txtAltS1);
    c.txtAltS2 = str(txtAltS2);
    c.lblCurrentGridS = str(lblCurrentGridS);
    c.chkCalcSliceAuto = chkCalcSliceAuto->isChecked();
    c.Label6 = str(Label6);
    c.Label8 = str(Label8);
    c.Label9 = str(Label9);
    c.Text8 = str(Text8);
    c.Text6 = str(Text6);
    c.Text10 = str(Text10);
    c.optAreaSquare = optAreaSquare->isChecked();
    c.Text5 = str(Text5);
    c.Label25 = str(Label25);
    c.chkAltValues = chkAltValues->isChecked();
    c.txtAlt1 = str(txtAlt1);
    c.txtAlt2 = str(txtAlt2);
    c.chkUsePrevDig = chkUsePrevDig->isChecked();
    c.optUnitsMM = optUnitsMM->isChecked();
    c.Text4 = str(Text4);
    c.lblCurrentGridA = str(lblCurrentGridA);
    return c;
}

void frmCurvature::showControls(const CurvControls& c) {
    // Only what a step may change is shown back; the lists keep their own state.
    SSTab2->setCurrentIndex(c.SSTab2);
    Label1->setText(q(c.Label1));
    Label12->setText(q(c.Label12));
    Label14->setText(q(c.Label14));
    txtCrestLength->setText(q(c.txtCrestLength));
    lblCurrentGridS->setText(q(c.lblCurrentGridS));
    lblCurrentGridA->setText(q(c.lblCurrentGridA));
    Label6->setText(q(c.Label6));
    Label8->setText(q(c.Label8));
    Text8->setText(q(c.Text8));
    Text10->setText(q(c.Text10));
    Text6->setText(q(c.Text6));
    Label9->setText(q(c.Label9));  // after the boxes, whose change handler also sets it
    // The area label always shows the square of the side the box ends on.
    Label25->setText(q(c.Label25));
    Text5->setText(q(c.Text5));
    Text5_Change();
}

void frmCurvature::run(const std::function<StepOutcome(CurvContext&, CurvControls&)>& step, QProgressBar* bar,
                       QLabel* label) {
    CurvControls c = controls();
    if (bar) {
        ProgressRun longRun(this, bar, label);
        CurvContext ctx{app_, prompt_, state_, longRun.progress()};
        step(ctx, c);
    } else {
        CurvContext ctx{app_, prompt_, state_};
        step(ctx, c);
    }
    showControls(c);
}

void frmCurvature::loadDefaultDir(const FileChooser& lists) {
    runGuarded(prompt_, "", [&] {
        ShowDefaultDir(app_, lists);
        return true;
    });
}

void frmCurvature::Command10_Click() { loadDefaultDir(grids_); }
void frmCurvature::Command12_Click() { loadDefaultDir(earlier_); }

// The lists of the grids made earlier follow the first page's drive and folder.
void frmCurvature::Drive1_Change() {
    grids_.driveChanged();
    Drive3->setDrive(Drive1->drive());
}

void frmCurvature::Dir1_Change() {
    grids_.folderChanged();
    Dir3->setPath(Dir1->path());
}

void frmCurvature::Drive3_Change() { earlier_.driveChanged(); }
void frmCurvature::Dir3_Change() { earlier_.folderChanged(); }
void frmCurvature::File1_Click() { grids_.fileClicked(); }
void frmCurvature::File3_Click() { earlier_.fileClicked(); }

void frmCurvature::File3_DblClick() {
    File3_Click();
    Command3_Click();
}

void frmCurvature::chkInputCurvGrid_Click() { Command6->setEnabled(!chkInputCurvGrid->isChecked()); }

void frmCurvature::Combo1_Click() {
    Label14->setText(q(chooseName(crestTable(), Combo1->currentText().toStdString(), state_.CrestCode)));
}

void frmCurvature::Text5_Change() {
    CurvControls c = controls();
    ShowSquareArea(c);
    Label25->setText(q(c.Label25));
}

void frmCurvature::Threshold_Change() {
    CurvControls c = controls();
    ShowLowestThreshold(c);
    Label9->setText(q(c.Label9));
}

void frmCurvature::Command2_Click() { run(Smooth); }
void frmCurvature::Command3_Click() { run(Input_Top); }
void frmCurvature::Command6_Click() { run(Input_Curv); }
void frmCurvature::Command4_Click() { run(Curve, pbrCurve, lblCurveStep); }
void frmCurvature::Command15_Click() { run(CurveOVAngle); }
void frmCurvature::Command5_Click() {
    run(Slice_Grids);
    Command5->setFocus();  // ready for the next crest
}
void frmCurvature::Command11_Click() { run(Calculate); }

void frmCurvature::Command1_Click() {
    run([](CurvContext& ctx, CurvControls& c) {
        Next_Crest(ctx, c);
        return StepOutcome::Done;
    });
}

void frmCurvature::Command13_Click() { run(Curv_Area); }

void frmCurvature::Cmd_Exit() { close(); }

} // namespace trelvik::toothfeatures
