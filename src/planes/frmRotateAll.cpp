// Layout of the rotation window: its three tabs and their controls.
#include "planes/frmRotateAll.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/progressrun.h"
#include "widgets/writtenfiles.h"

namespace trelvik {

namespace {
QLabel* sunken(QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(70);
    return l;
}

QLabel* wrapped(const char* text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    return l;
}
} // namespace

frmRotateAll::frmRotateAll(AppState& state, Prompt& prompt, QWidget* parent)
    : QWidget(parent), app_(state), prompt_(prompt, this)
{
    setWindowTitle("Rotate");
    auto* top = new QVBoxLayout(this);
    SSTab1 = new QTabWidget(this);
    top->addWidget(SSTab1);
    auto* runRow = new QHBoxLayout;
    lblRunStep = new QLabel(this);
    pbrRun = makeRunBar(this);
    runRow->addWidget(lblRunStep, 1);
    runRow->addWidget(pbrRun, 2);
    top->addLayout(runRow);
    buildFilenameTab();
    buildPlaneTab();
    buildAxesTab();
    // The status line keeps its room, so no button moves as a step ends or begins.
    top->addWidget(WrittenFiles::makeStatusLineRoom(this, lblStatus));
    connectControls();
    Form_Load();
}

void frmRotateAll::buildFilenameTab()
{
    auto* tab = new QWidget(SSTab1);
    auto* g = new QGridLayout(tab);
    g->addWidget(wrapped("Input grid filename, and blank area to be rotated.", tab), 0, 0, 1, 2);
    chkStartSurfer = new QCheckBox("Start new Surfer (v8)", tab);
    g->addWidget(chkStartSurfer, 1, 0, 1, 2);

    auto* input = new QGroupBox("Input grid filename", tab);
    auto* gi = new QVBoxLayout(input);
    Drive1 = new DriveListBox(input);
    DirC = new QPushButton("Dir", input);
    Dir1 = new DirListBox(input);
    Label1 = sunken(input);
    Label1->setWordWrap(true);
    File1 = new FileListBox(input);
    File1->setPattern("*.grd");
    Text1 = new QLineEdit("*.grd", input);
    auto* row = new QHBoxLayout;
    row->addWidget(Drive1, 1);
    row->addWidget(DirC);
    gi->addLayout(row);
    gi->addWidget(Dir1, 1);
    gi->addWidget(Label1);
    gi->addWidget(File1, 2);
    gi->addWidget(Text1);
    g->addWidget(input, 2, 0, 3, 1);

    auto* interval = new QGroupBox("Interval of new grid", tab);
    auto* gv = new QGridLayout(interval);
    Option1 = new QRadioButton("Original grid", interval);
    Option2 = new QRadioButton("1/2 Orig grid", interval);
    Option3 = new QRadioButton("Other", interval);
    Text5 = new QLineEdit("1", interval);
    Text6 = new QLineEdit("1", interval);
    Label5 = sunken(interval);
    Label12 = sunken(interval);
    Label7 = sunken(interval);
    Label13 = sunken(interval);
    gv->addWidget(new QLabel("x", interval), 0, 1);
    gv->addWidget(new QLabel("y", interval), 0, 2);
    gv->addWidget(Option1, 1, 0);
    gv->addWidget(Label5, 1, 1);
    gv->addWidget(Label12, 1, 2);
    gv->addWidget(Option2, 2, 0);
    gv->addWidget(Label7, 2, 1);
    gv->addWidget(Label13, 2, 2);
    gv->addWidget(Option3, 3, 0);
    gv->addWidget(Text5, 3, 1);
    gv->addWidget(Text6, 3, 2);
    g->addWidget(interval, 2, 1);

    Check1 = new QCheckBox("Define area of grid to blank", tab);
    Check1->setChecked(true);
    g->addWidget(Check1, 3, 1);
    cmdEnterGrid = new QPushButton("Enter grid", tab);
    cmdExit1 = new QPushButton("Exit", tab);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdEnterGrid);
    buttons->addWidget(cmdExit1);
    g->addLayout(buttons, 4, 1);
    SSTab1->addTab(tab, "Filename");
}

void frmRotateAll::buildPlaneTab()
{
    auto* tab = new QWidget(SSTab1);
    auto* g = new QVBoxLayout(tab);
    g->addWidget(wrapped("Rotate grid so that plane is horizontal.", tab));
    auto* input = new QGroupBox("Input plane", tab);
    auto* gi = new QVBoxLayout(input);
    Drive2 = new DriveListBox(input);
    Dir2 = new DirListBox(input);
    Label2 = sunken(input);
    Label2->setWordWrap(true);
    File2 = new FileListBox(input);
    File2->setPattern("*.txt");
    Text2 = new QLineEdit("*.txt", input);
    gi->addWidget(Drive2);
    gi->addWidget(Dir2, 1);
    gi->addWidget(Label2);
    gi->addWidget(File2, 2);
    gi->addWidget(new QLabel("Plane formula filename (*.txt)", input));
    gi->addWidget(Text2);
    g->addWidget(input, 1);
    cmdRotPlane = new QPushButton("Rotate", tab);
    cmdReset = new QPushButton("Reset", tab);
    cmdExit2 = new QPushButton("Exit", tab);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdRotPlane);
    buttons->addWidget(cmdReset);
    buttons->addWidget(cmdExit2);
    g->addLayout(buttons);
    SSTab1->addTab(tab, "Rotate by plane");
}

void frmRotateAll::buildAxesTab()
{
    auto* tab = new QWidget(SSTab1);
    auto* g = new QGridLayout(tab);
    g->addWidget(wrapped("Rotate around x or y axes by given angle.", tab), 0, 0, 1, 2);
    auto* output = new QGroupBox("Output results file", tab);
    auto* go = new QVBoxLayout(output);
    Drive3 = new DriveListBox(output);
    Dir3 = new DirListBox(output);
    Label3 = sunken(output);
    Label3->setWordWrap(true);
    File3 = new FileListBox(output);
    File3->setPattern("*.grd");
    Text3 = new QLineEdit("*.grd", output);
    go->addWidget(Drive3);
    go->addWidget(Dir3, 1);
    go->addWidget(Label3);
    go->addWidget(File3, 2);
    go->addWidget(new QLabel("Output grid *.grd", output));
    go->addWidget(Text3);
    g->addWidget(output, 1, 0, 2, 1);

    auto* axes = new QGroupBox("Axes", tab);
    auto* ga = new QGridLayout(axes);
    chkXAxis = new QCheckBox("x axis", axes);
    chkYAxis = new QCheckBox("y axis", axes);
    txtXAngle = new QLineEdit("0", axes);
    txtYAngle = new QLineEdit("0", axes);
    ga->addWidget(chkXAxis, 0, 0);
    ga->addWidget(new QLabel(QString::fromUtf8("x axis angle (\u00b0)"), axes), 0, 1);
    ga->addWidget(txtXAngle, 0, 2);
    ga->addWidget(chkYAxis, 1, 0);
    ga->addWidget(new QLabel(QString::fromUtf8("y axis angle (\u00b0)"), axes), 1, 1);
    ga->addWidget(txtYAngle, 1, 2);
    g->addWidget(axes, 1, 1);

    RotXY = new QPushButton("Rotate", tab);
    cmdReset1 = new QPushButton("Reset", tab);
    cmdExit3 = new QPushButton("Exit", tab);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(RotXY);
    buttons->addWidget(cmdReset1);
    buttons->addWidget(cmdExit3);
    g->addLayout(buttons, 2, 1);
    SSTab1->addTab(tab, "Rotate x or y");
}

void frmRotateAll::connectControls()
{
    grid_ = FileChooser{Drive1, Dir1, File1, Text1, Label1};
    plane_ = FileChooser{Drive2, Dir2, File2, Text2, Label2};
    axes_ = FileChooser{Drive3, Dir3, File3, Text3, Label3};
    connect(Dir1, &DirListBox::changed, this, &frmRotateAll::Dir1_Change);
    connect(Drive1, &DriveListBox::changed, this, &frmRotateAll::Drive1_Change);
    connect(Dir2, &DirListBox::changed, this, &frmRotateAll::Dir2_Change);
    connect(Drive2, &DriveListBox::changed, this, &frmRotateAll::Drive2_Change);
    connect(Dir3, &DirListBox::changed, this, &frmRotateAll::Dir3_Change);
    connect(Drive3, &DriveListBox::changed, this, &frmRotateAll::Drive3_Change);
    connect(File1, &FileListBox::clicked, this, &frmRotateAll::File1_Click);
    connect(File2, &FileListBox::clicked, this, &frmRotateAll::File2_Click);
    connect(File3, &FileListBox::clicked, this, &frmRotateAll::File3_Click);
    connect(DirC, &QPushButton::clicked, this, &frmRotateAll::DirC_Click);
    for (QRadioButton* o : {Option1, Option2, Option3})
        connect(o, &QRadioButton::toggled, this, &frmRotateAll::Option_Click);
    connect(chkXAxis, &QCheckBox::clicked, this, &frmRotateAll::chkXAxis_Click);
    connect(chkYAxis, &QCheckBox::clicked, this, &frmRotateAll::chkYAxis_Click);
    connect(txtXAngle, &QLineEdit::textChanged, this, &frmRotateAll::rebuildOutputName);
    connect(txtYAngle, &QLineEdit::textChanged, this, &frmRotateAll::rebuildOutputName);
    connect(cmdEnterGrid, &QPushButton::clicked, this, &frmRotateAll::cmdEnterGrid_Click);
    connect(cmdRotPlane, &QPushButton::clicked, this, &frmRotateAll::cmdRotPlane_Click);
    connect(RotXY, &QPushButton::clicked, this, &frmRotateAll::RotXY_Click);
    connect(cmdReset, &QPushButton::clicked, this, &frmRotateAll::cmdReset_Click);
    connect(cmdReset1, &QPushButton::clicked, this, &frmRotateAll::cmdReset1_Click);
    for (QPushButton* b : {cmdExit1, cmdExit2, cmdExit3}) connect(b, &QPushButton::clicked, this, &frmRotateAll::cmdExit);
}

} // namespace trelvik
