#include "planes/frmEnamOut.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "widgets/fitscreen.h"
#include "widgets/progressrun.h"
#include "widgets/writtenfiles.h"

namespace trelvik {

frmEnamOut::frmEnamOut(AppState& state, Prompt& prompt, QWidget* parent)
    : QWidget(parent), app_(state), prompt_(prompt, this) {
    setWindowTitle("Enamel Outlines");
    lists_.build(this, "*.grd", QString::fromStdString(app_.ProgramDir));
    Drive3 = lists_.drive, Dir3 = lists_.dir, File3 = lists_.file, Text7 = lists_.text, Label1 = lists_.label;
    Command2 = new QPushButton("Dir", this);
    cmdInputTopo = new QPushButton("Input topo grid", this);
    cmdInputPlane = new QPushButton("Input plane grid", this);
    // The plane's coefficients, each in a box sized for a full number beside its caption,
    // so that reading a plane neither widens the window nor hides the captions.
    lblXValue = new QLabel(this);
    lblYValue = new QLabel(this);
    lblCValue = new QLabel(this);
    for (QLabel* box : {lblXValue, lblYValue, lblCValue}) {
        box->setFrameShape(QFrame::Panel);
        box->setFrameShadow(QFrame::Sunken);
        sizeForNumber(box);
    }
    cmdDigOccVect = new QPushButton("Digitise occlusal vector", this);
    txtNoSeg = new QLineEdit(this);
    cmdDigEnamOut = new QPushButton("Digitise outline(s)", this);
    optUpper = new QRadioButton("Upper", this);
    optLower = new QRadioButton("Lower", this);
    auto* side = new QButtonGroup(this);
    side->addButton(optUpper);
    side->addButton(optLower);
    cmdTransform = new QPushButton("Transform and write to file", this);
    cmdExit = new QPushButton("Exit", this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(Text7, 1, 0);
    grid->addWidget(Drive3, 1, 1);
    grid->addWidget(File3, 2, 0, 6, 1);
    grid->addWidget(Dir3, 2, 1, 6, 1);
    grid->addWidget(Command2, 8, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel("Inputted grids should be in format:\ntopo grid: [name].grd\nplane grid: [name] + "
                                "plane.grd\nplane formula: [name] + planeform.txt",
                                this));
    right->addWidget(new QLabel("Plane formula file must be in same directory", this));
    right->addWidget(cmdInputTopo);
    right->addWidget(cmdInputPlane);
    // Room for two lines whether it names a grid or not, so the buttons below stay put.
    right->addWidget(WrittenFiles::makeStatusLineRoom(this, lblInUse, 2));
    auto* coeffs = new QGridLayout;
    const std::pair<const char*, QLabel*> rows[] = {{"PlaneX", lblXValue}, {"PlaneY", lblYValue}, {"PlaneC", lblCValue}};
    for (int i = 0; i < 3; ++i) {
        coeffs->addWidget(new QLabel(rows[i].first, this), i, 0);
        coeffs->addWidget(rows[i].second, i, 1);
    }
    coeffs->setColumnStretch(1, 1);
    right->addLayout(coeffs);
    right->addWidget(cmdDigOccVect);
    auto* segs = new QHBoxLayout;
    segs->addWidget(new QLabel("No. of enamel segments", this));
    segs->addWidget(txtNoSeg);
    right->addLayout(segs);
    right->addWidget(cmdDigEnamOut);
    lblSegStep = new QLabel(this);
    pbrSegments = makeRunBar(this);
    right->addWidget(lblSegStep);
    right->addWidget(pbrSegments);
    auto* sides = new QHBoxLayout;
    sides->addWidget(optUpper);
    sides->addWidget(optLower);
    right->addLayout(sides);
    right->addWidget(cmdTransform);
    right->addWidget(new QLabel("Slices the digitised enamel outlines from the topo grid,\nlevels the basal plane, "
                                "turns the occlusal vector onto +y\nand writes [name]Out.csv and [name]OutZ.csv.",
                                this));
    right->addWidget(cmdExit);
    right->addStretch(1);
    grid->addLayout(right, 0, 2, 9, 1);
    lblStatus = WrittenFiles::makeStatusLine(this);
    grid->addWidget(lblStatus, 9, 0, 1, 3);

    connect(File3, &FileListBox::doubleClicked, this, [this] { File3_DblClick(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(cmdInputTopo, &QPushButton::clicked, this, [this] { cmdInputTopo_Click(); });
    connect(cmdInputPlane, &QPushButton::clicked, this, [this] { cmdInputPlane_Click(); });
    connect(cmdDigOccVect, &QPushButton::clicked, this, [this] { cmdDigOccVect_Click(); });
    connect(cmdDigEnamOut, &QPushButton::clicked, this, [this] { cmdDigEnamOut_Click(); });
    connect(cmdTransform, &QPushButton::clicked, this, [this] { cmdTransform_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    Form_Load();
}

void frmEnamOut::guarded(const std::function<void()>& step) {
    runGuarded(prompt_, "", [&] {
        step();
        return true;
    });
}

void frmEnamOut::Form_Load() {
    s_.TopoLoaded = false;
    s_.PlaneLoaded = false;
}

void frmEnamOut::File3_DblClick() {
    if (s_.TopoLoaded && s_.PlaneLoaded) return;
    Label1->setText(File3->path());
    Text7->setText(File3->fileName());
    if (!s_.TopoLoaded) cmdInputTopo_Click();
    else cmdInputPlane_Click();
}

void frmEnamOut::Command2_Click() {
    guarded([this] { ShowDefaultDir(app_, lists_); });
}

void frmEnamOut::showInUse() { lblInUse->setText(QString::fromStdString(planes::GridsInUse(s_))); }

void frmEnamOut::cmdInputTopo_Click() {
    guarded([this] { planes::cmdInputTopo(s_, prompt_, lists_.name(), lists_.folder()); });
    showInUse();
}

void frmEnamOut::cmdInputPlane_Click() {
    guarded([this] {
        const auto labels = planes::cmdInputPlane(s_, prompt_, lists_.folder());
        if (!labels) return;
        lblXValue->setText(QString::fromStdString(labels->x));
        lblYValue->setText(QString::fromStdString(labels->y));
        lblCValue->setText(QString::fromStdString(labels->c));
    });
    showInUse();
}

void frmEnamOut::cmdDigOccVect_Click() {
    guarded([this] {
        WrittenFiles::reportStep(lblStatus, File3, QString::fromStdString(s_.GridFolder),
                                 [&] { return planes::cmdDigOccVect(s_, app_, prompt_); });
    });
}

void frmEnamOut::cmdDigEnamOut_Click() {
    ProgressRun longRun(this, pbrSegments, lblSegStep);
    guarded([&] {
        WrittenFiles::reportStep(lblStatus, File3, QString::fromStdString(s_.GridFolder), [&] {
            return planes::cmdDigEnamOut(s_, app_, prompt_, txtNoSeg->text().toStdString(), longRun.progress());
        });
    });
    // A run that ended early leaves segments of two runs for the transform: say which.
    const std::string segments = planes::SegmentsToTransform(s_);
    if (!segments.empty()) lblStatus->setText(QString::fromStdString(segments));
}

void frmEnamOut::cmdTransform_Click() {
    guarded([&] {
        const planes::ToothSide chosen = optUpper->isChecked()   ? planes::ToothSide::Upper
                                         : optLower->isChecked() ? planes::ToothSide::Lower
                                                                 : planes::ToothSide::Unset;
        std::optional<planes::ToothSide> used;
        WrittenFiles::reportStep(lblStatus, File3, QString::fromStdString(s_.GridFolder), [&] {
            used = planes::cmdTransform(s_, prompt_, chosen);
            return used.has_value();
        });
        // Segments of two runs were written: say which, as before the transform.
        if (used) WrittenFiles::addLine(lblStatus, planes::SegmentsTransformed(s_));
        if (used == planes::ToothSide::Upper) optUpper->setChecked(true);
        if (used == planes::ToothSide::Lower) optLower->setChecked(true);
    });
}

void frmEnamOut::cmdExit_Click() { close(); }

} // namespace trelvik
