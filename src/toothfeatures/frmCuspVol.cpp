#include "toothfeatures/frmCuspVol.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/error.h"
#include "shell/frmDefDir.h"
#include "toothfeatures/nametables.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/fitscreen.h"
#include "widgets/progressrun.h"

namespace trelvik {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& t) { return t.toStdString(); }

QLabel* sunken(QWidget* parent)
{
    auto* l = new QLabel(parent);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(60);
    return l;
}
} // namespace

frmCuspVol::frmCuspVol(AppState& state, Prompt& prompt, QWidget* parent)
    : QWidget(parent), app_(state), prompt_(prompt, this)
{
    setWindowTitle("Cusp Volume");
    buildControls();
    Form_Load();
}

void frmCuspVol::buildControls()
{
    auto* grid = new QGridLayout(this);

    // Grid choice.
    auto* files = new QVBoxLayout;
    auto* description = new QLabel("Calculates volume of cusp for given intervals from cusp tip. Input topographic "
                                   "grid and plane grid that defines basal plane of tooth (basins). ",
                                   this);
    description->setWordWrap(true);
    Drive3 = new DriveListBox(this);
    Command2 = new QPushButton("Dir", this);
    Dir3 = new DirListBox(this);
    Label1 = sunken(this);
    Label1->setWordWrap(true);
    File3 = new FileListBox(this);
    File3->setPattern("*.grd");
    Text7 = new QLineEdit("*.grd", this);
    files->addWidget(description);
    auto* driveRow = new QHBoxLayout;
    driveRow->addWidget(Drive3, 1);
    driveRow->addWidget(Command2);
    files->addLayout(driveRow);
    files->addWidget(Dir3, 1);
    files->addWidget(Label1);
    files->addWidget(File3, 2);
    files->addWidget(Text7);
    grid->addLayout(files, 0, 0, 2, 1);

    // Inputs.
    auto* inputs = new QGroupBox(this);
    auto* gi = new QGridLayout(inputs);
    int r = 0;
    for (const char* line : {"Inputted grids should be in format:", "topo: [name].grd",
                             "plane: [name] + [optional] + plane.grd",
                             "plane formula: [name] + [optional] + planeform.txt", "tl file: [name] + _tl.txt",
                             "Plane formula file must be in same directory"})
        gi->addWidget(new QLabel(line, inputs), r++, 0, 1, 4);
    Command3 = new QPushButton("Input topo grid", inputs);
    Command6 = new QPushButton("Input plane grid", inputs);
    Command6->setEnabled(false);
    gi->addWidget(Command3, r, 0, 1, 2);
    gi->addWidget(Command6, r++, 2, 1, 2);
    chkInputTLFile = new QCheckBox("Read TL file", inputs);
    chkInputTLFile->setChecked(true);
    Text1 = new QLineEdit("50", inputs);
    gi->addWidget(chkInputTLFile, r, 0, 1, 2);
    gi->addWidget(new QLabel("Divide TL by", inputs), r, 2);
    gi->addWidget(Text1, r++, 3);
    chkReadPlane = new QCheckBox("Read plane file automat.", inputs);
    chkReadPlane->setChecked(true);
    gi->addWidget(chkReadPlane, r++, 0, 1, 4);
    chkPlaneOpt = new QCheckBox("Optional text for plane file", inputs);
    chkPlaneOpt->setChecked(true);
    txtPlaneOpt = new QLineEdit("ov", inputs);
    gi->addWidget(chkPlaneOpt, r, 0, 1, 3);
    gi->addWidget(txtPlaneOpt, r++, 3);
    // The plane's coefficients, each in a box sized for a full number beside its caption,
    // on one row so that the window grows no taller.
    Label3 = sunken(inputs);
    Label5 = sunken(inputs);
    sizeForNumber(Label3);
    sizeForNumber(Label5);
    gi->addWidget(new QLabel("PlaneX", inputs), r, 0);
    gi->addWidget(Label3, r, 1);
    gi->addWidget(new QLabel("PlaneY", inputs), r, 2);
    gi->addWidget(Label5, r++, 3);
    Label7 = sunken(inputs);
    gi->addWidget(new QLabel("From file", inputs), r, 0);
    gi->addWidget(Label7, r++, 1, 1, 3);
    grid->addWidget(inputs, 0, 1);

    // Cusp and levels.
    auto* levels = new QGroupBox(this);
    auto* gl = new QGridLayout(levels);
    r = 0;
    Combo1 = new QComboBox(levels);
    Combo1->setEditable(true);
    // A name typed and entered joins no list: the list holds the cusps with a code.
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& name : toothfeatures::cuspNames())
        Combo1->addItem(q(name));
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(QString());
    Label14 = sunken(levels);
    gl->addWidget(new QLabel("Cusp name", levels), r, 0);
    gl->addWidget(Combo1, r, 1);
    gl->addWidget(Label14, r++, 2);
    Text5 = new QLineEdit("25", levels);
    Text10 = new QLineEdit("20", levels);
    lblDist = sunken(levels);
    lblDist->setText("500");
    gl->addWidget(new QLabel("Interval size", levels), r, 0);
    gl->addWidget(Text5, r++, 1);
    gl->addWidget(new QLabel("No. of intervals", levels), r, 0);
    gl->addWidget(Text10, r++, 1);
    gl->addWidget(new QLabel("Distance", levels), r, 0);
    gl->addWidget(lblDist, r++, 1);
    Command5 = new QPushButton("Blank and analyse grids", levels);
    Label12 = sunken(levels);
    gl->addWidget(Command5, r, 0, 1, 2);
    gl->addWidget(Label12, r++, 2);
    Label6 = sunken(levels);
    Label8 = sunken(levels);
    gl->addWidget(new QLabel("Min", levels), r, 0);
    gl->addWidget(Label6, r++, 1);
    gl->addWidget(new QLabel("Max", levels), r, 0);
    gl->addWidget(Label8, r++, 1);
    Text8 = new QLineEdit(levels);
    gl->addWidget(new QLabel("Max to use", levels), r, 0);
    gl->addWidget(Text8, r++, 1);
    chkAutoCalc = new QCheckBox("Automatically calculate", levels);
    chkAutoCalc->setChecked(true);
    Check1 = new QCheckBox("Erase temp grids", levels);
    Check1->setChecked(true);
    gl->addWidget(chkAutoCalc, r++, 0, 1, 3);
    gl->addWidget(Check1, r++, 0, 1, 3);
    Command11 = new QPushButton("Calculate", levels);
    Label13 = sunken(levels);
    gl->addWidget(Command11, r, 0, 1, 2);
    gl->addWidget(Label13, r++, 2);
    lblLevelStep = new QLabel(levels);
    pbrLevels = makeRunBar(levels);
    gl->addWidget(lblLevelStep, r, 0, 1, 2);
    gl->addWidget(pbrLevels, r++, 2);
    Command1 = new QPushButton("Next cusp", levels);
    cmdExit = new QPushButton("Exit", levels);
    gl->addWidget(Command1, r, 0, 1, 2);
    gl->addWidget(cmdExit, r++, 2);
    grid->addWidget(levels, 1, 1);

    connect(Command2, &QPushButton::clicked, this, &frmCuspVol::Command2_Click);
    files_ = FileChooser{Drive3, Dir3, File3, Text7, Label1};
    files_.attach(this);
    connect(Command3, &QPushButton::clicked, this, &frmCuspVol::Command3_Click);
    connect(Command6, &QPushButton::clicked, this, &frmCuspVol::Command6_Click);
    connect(chkReadPlane, &QCheckBox::clicked, this, &frmCuspVol::chkReadPlane_Click);
    connect(Combo1, &QComboBox::activated, this, &frmCuspVol::Combo1_Click);
    connect(Text5, &QLineEdit::textChanged, this, &frmCuspVol::Text5_Change);
    connect(Text10, &QLineEdit::textChanged, this, &frmCuspVol::Text10_Change);
    connect(Command5, &QPushButton::clicked, this, &frmCuspVol::Command5_Click);
    connect(Command11, &QPushButton::clicked, this, &frmCuspVol::Command11_Click);
    connect(Command1, &QPushButton::clicked, this, &frmCuspVol::Command1_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmCuspVol::cmdExit_Click);
}

void frmCuspVol::Form_Load()
{
    // The lists start at the program's own folder.
    const QString start = QDir(q(app_.ProgramDir)).exists() && !app_.ProgramDir.empty() ? q(app_.ProgramDir)
                                                                                         : QDir::currentPath();
    Drive3->setDrive(start);
    Dir3->setPath(start);
    File3->setPath(Dir3->path());
}

toothfeatures::CuspVolControls frmCuspVol::controls() const
{
    toothfeatures::CuspVolControls c;
    c.Label1 = s(Label1->text());
    c.Text7 = s(Text7->text());
    c.chkInputTLFile = chkInputTLFile->isChecked();
    c.Text1 = s(Text1->text());
    c.chkReadPlane = chkReadPlane->isChecked();
    c.chkPlaneOpt = chkPlaneOpt->isChecked();
    c.txtPlaneOpt = s(txtPlaneOpt->text());
    c.Label3 = s(Label3->text());
    c.Label5 = s(Label5->text());
    c.Label7 = s(Label7->text());
    c.Combo1 = s(Combo1->currentText());
    c.Label14 = s(Label14->text());
    c.Text5 = s(Text5->text());
    c.Text10 = s(Text10->text());
    c.lblDist = s(lblDist->text());
    c.Label6 = s(Label6->text());
    c.Label8 = s(Label8->text());
    c.Text8 = s(Text8->text());
    c.Label12 = s(Label12->text());
    c.Label13 = s(Label13->text());
    c.chkAutoCalc = chkAutoCalc->isChecked();
    c.Check1 = Check1->isChecked();
    return c;
}

void frmCuspVol::showControls(const toothfeatures::CuspVolControls& c)
{
    auto setText = [](QLineEdit* box, const std::string& t) {
        if (box->text() != q(t)) box->setText(q(t));
    };
    Label3->setText(q(c.Label3));
    Label5->setText(q(c.Label5));
    Label7->setText(q(c.Label7));
    Label14->setText(q(c.Label14));
    setText(Text5, c.Text5);
    setText(Text10, c.Text10);
    Label6->setText(q(c.Label6));
    Label8->setText(q(c.Label8));
    setText(Text8, c.Text8);
    Label12->setText(q(c.Label12));
    Label13->setText(q(c.Label13));
}

template <typename Step> void frmCuspVol::run(Step step, bool levels)
{
    toothfeatures::CuspVolControls c = controls();
    if (levels) {
        ProgressRun longRun(this, pbrLevels, lblLevelStep);
        toothfeatures::CuspVolRun r{app_, prompt_, c, cusp_, longRun.progress()};
        step(r);
    } else {
        toothfeatures::CuspVolRun r{app_, prompt_, c, cusp_};
        step(r);
    }
    showControls(c);
}

void frmCuspVol::Command2_Click()
{
    runGuarded(prompt_, "", [this] {
        ShowDefaultDir(app_, files_);
        return true;
    });
}

void frmCuspVol::Drive3_Change() { files_.driveChanged(); }
void frmCuspVol::Dir3_Change() { files_.folderChanged(); }
void frmCuspVol::File3_Click() { files_.fileClicked(); }

void frmCuspVol::Command3_Click() { run(toothfeatures::Input_Top); }
void frmCuspVol::Command6_Click() { run(toothfeatures::Input_Plane); }

void frmCuspVol::chkReadPlane_Click() { Command6->setEnabled(!chkReadPlane->isChecked()); }

void frmCuspVol::Combo1_Click() { run(toothfeatures::Combo1_Click); }

void frmCuspVol::Text5_Change() { lblDist->setText(q(toothfeatures::DistanceCaption(s(Text5->text()), s(Text10->text())))); }
void frmCuspVol::Text10_Change() { Text5_Change(); }

void frmCuspVol::Command5_Click()
{
    toothfeatures::CuspVolControls c = controls();
    bool blanked = false;
    {
        // "Automatically calculate" goes on into the levels.
        ProgressRun longRun(this, pbrLevels, lblLevelStep);
        toothfeatures::CuspVolRun r{app_, prompt_, c, cusp_, longRun.progress()};
        blanked = toothfeatures::Blank_Grid(r);
    }
    showControls(c);
    if (blanked && c.chkAutoCalc)
        Command11->setFocus();
}

void frmCuspVol::Command11_Click() { run(toothfeatures::Calculate, true); }
void frmCuspVol::Command1_Click() { run(toothfeatures::Next_Cusp); }
void frmCuspVol::cmdExit_Click() { close(); }

} // namespace trelvik
