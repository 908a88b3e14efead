#include "planes/frmLandFind.h"

#include <QCheckBox>
#include <QDir>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "planes/landplanedist.h"
#include "planes/landstats.h"
#include "widgets/progressrun.h"
#include "widgets/writtenfiles.h"

namespace trelvik {

namespace {
QLabel* panelLabel(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    return l;
}
} // namespace

QWidget* frmLandFind::buildPage(FileChooser& lists, const QString& pattern, QWidget* controls) {
    auto* page = new QWidget(SSTab1);
    lists.build(page, pattern, QString::fromStdString(app_.ProgramDir));
    auto* grid = new QGridLayout(page);
    grid->addWidget(lists.label, 0, 0, 1, 2);
    grid->addWidget(lists.text, 1, 0);
    grid->addWidget(lists.file, 2, 0);
    grid->addWidget(lists.dir, 2, 1);
    grid->addWidget(lists.drive, 1, 1);
    controls->setParent(page);
    grid->addWidget(controls, 0, 2, 3, 1);
    return page;
}

frmLandFind::frmLandFind(AppState& state, Prompt& prompt, QWidget* parent)
    : QWidget(parent), app_(state), prompt_(prompt) {
    setWindowTitle("Landmark data");
    SSTab1 = new QTabWidget(this);
    auto* top = new QVBoxLayout(this);
    top->addWidget(SSTab1);
    lblStatus = WrittenFiles::makeStatusLine(this);
    top->addWidget(lblStatus);

    // "Conversion"
    auto* conv = new QWidget;
    auto* convForm = new QFormLayout(conv);
    DirC = new QPushButton("Dir", conv);
    Text5 = new QLineEdit("1", conv);
    Command4 = new QPushButton("Add .dat  filename", conv);
    Text6 = new QLineEdit("dat filename", conv);
    Label7 = panelLabel("0/0", conv);
    Label13 = panelLabel("0", conv);
    Command5 = new QPushButton("Convert to .bln", conv);
    Command8 = new QPushButton("Exit", conv);
    convForm->addRow(DirC);
    convForm->addRow("No. of data files", Text5);
    convForm->addRow(Command4);
    convForm->addRow(Text6);
    convForm->addRow(Label7);
    convForm->addRow("No. of landmarks", Label13);
    convForm->addRow(Command5);
    convForm->addRow(Command8);
    SSTab1->addTab(buildPage(lists_[0], "*.dat", conv), "Conversion");

    // "Slice grid"
    auto* slice = new QWidget;
    auto* sliceBox = new QVBoxLayout(slice);
    Command6 = new QPushButton("Slice grid", slice);
    Command9 = new QPushButton("Exit", slice);
    lblSliceStep = new QLabel(slice);
    pbrSlice = makeRunBar(slice);
    sliceBox->addWidget(Command6);
    sliceBox->addWidget(lblSliceStep);
    sliceBox->addWidget(pbrSlice);
    sliceBox->addWidget(Command9);
    sliceBox->addStretch(1);
    SSTab1->addTab(buildPage(lists_[1], "*.grd", slice), "Slice grid");

    // "Calculate"
    auto* calc = new QWidget;
    auto* calcBox = new QVBoxLayout(calc);
    Command3 = new QPushButton("Calculate", calc);
    chkToothLength = new QCheckBox("Generate Tooth Length file", calc);
    cmdReset = new QPushButton("Reset", calc);
    Command10 = new QPushButton("Exit", calc);
    for (QWidget* w : std::initializer_list<QWidget*>{Command3, chkToothLength, cmdReset, Command10}) calcBox->addWidget(w);
    calcBox->addStretch(1);
    SSTab1->addTab(buildPage(lists_[2], "*.txt", calc), "Calculate");

    // "Plane"
    auto* plane = new QWidget;
    auto* planeBox = new QVBoxLayout(plane);
    Command11 = new QPushButton("Find distances to plane", plane);
    Command2 = new QPushButton("Exit", plane);
    planeBox->addWidget(Command11);
    planeBox->addWidget(Command2);
    planeBox->addStretch(1);
    SSTab1->addTab(buildPage(lists_[3], "*.txt", plane), "Plane");

    Drive1 = lists_[0].drive, Dir1 = lists_[0].dir, File1 = lists_[0].file, Text1 = lists_[0].text, Label1 = lists_[0].label;
    Drive2 = lists_[1].drive, Dir2 = lists_[1].dir, File2 = lists_[1].file, Text2 = lists_[1].text, Label2 = lists_[1].label;
    Drive3 = lists_[2].drive, Dir3 = lists_[2].dir, File3 = lists_[2].file, Text3 = lists_[2].text, Label3 = lists_[2].label;
    Drive4 = lists_[3].drive, Dir4 = lists_[3].dir, File4 = lists_[3].file, Text4 = lists_[3].text, Label4 = lists_[3].label;

    // The conversion page's lists lead: the other pages follow its folder and drive.
    connect(Dir1, &DirListBox::changed, this, [this] {
        for (DirListBox* d : {Dir2, Dir3, Dir4}) d->setPath(Dir1->path());
    });
    connect(Drive1, &DriveListBox::changed, this, [this] {
        for (DriveListBox* d : {Drive2, Drive3, Drive4}) d->setDrive(Drive1->drive());
    });
    connect(File1, &FileListBox::doubleClicked, this, [this] { DatFilename(); });
    connect(File2, &FileListBox::doubleClicked, this, [this] { SliceGrid(); });
    connect(DirC, &QPushButton::clicked, this, [this] { DirC_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { DatFilename(); });
    connect(Command5, &QPushButton::clicked, this, [this] { BlnConvert(); });
    connect(Command6, &QPushButton::clicked, this, [this] { SliceGrid(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Calculate(); });
    connect(cmdReset, &QPushButton::clicked, this, [this] { cmdReset_Click(); });
    connect(Command11, &QPushButton::clicked, this, [this] { FindDistancesToPlane(); });
    for (QPushButton* b : {Command8, Command9, Command10, Command2})
        connect(b, &QPushButton::clicked, this, [this] { cmdExit(); });
    Form_Load();
}

void frmLandFind::guarded(const std::function<void()>& step) {
    runGuarded(prompt_, "", [&] {
        step();
        return true;
    });
}

void frmLandFind::showLabels(const planes::LandFindLabels& labels) {
    Text5->setText(QString::fromStdString(labels.Text5));
    Label7->setText(QString::fromStdString(labels.Label7));
    Label13->setText(QString::fromStdString(labels.Label13));
    Text6->setText(QString::fromStdString(labels.Text6));
}

void frmLandFind::Form_Load() { showLabels(planes::ResetLandFind(s_)); }

void frmLandFind::cmdReset_Click() { showLabels(planes::ResetLandFind(s_)); }

void frmLandFind::DirC_Click() {
    guarded([this] { ShowDefaultDir(app_, lists_[0]); });
}

void frmLandFind::DatFilename() {
    guarded([this] {
        const std::size_t listed = s_.TrialFiles.size();
        const auto added = planes::DatFilename(s_, prompt_, Text5->text().toStdString(), lists_[0].name(), lists_[0].folder());
        // A refused add may still have cut the list to a smaller count typed since: the
        // counter and the name shown are those of the list as cut.
        Label7->setText(QString::fromStdString(planes::TrialCounter(s_)));
        if (added) Text6->setText(QString::fromStdString(added->Text6));
        else if (s_.TrialFiles.size() < listed) Text6->setText(QString::fromStdString(planes::LastTrialName(s_)));
    });
}

void frmLandFind::BlnConvert() {
    guarded([this] {
        WrittenFiles::reportStep(lblStatus, File1, QString::fromStdString(s_.TrialFolder), [&] {
            BusyScope busy(prompt_);
            Label13->setText(QString::number(planes::BlnConvert(s_, Text5->text().toStdString())));
            return true;
        });
        // A count typed since the last add has not reached the list that was converted.
        WrittenFiles::addLine(lblStatus, planes::ConvertedTrialsNote(s_, Text5->text().toStdString()));
    });
}

void frmLandFind::SliceGrid() {
    ProgressRun longRun(this, pbrSlice, lblSliceStep);
    guarded([&] {
        WrittenFiles::reportStep(lblStatus, File2, QString::fromStdString(s_.TrialFolder), [&] {
            const auto offered =
                planes::SliceGrid(s_, app_, prompt_, lists_[1].name(), lists_[1].folder(), longRun.progress());
            if (offered) Text3->setText(QString::fromStdString(*offered));
            return offered.has_value();
        });
    });
}

void frmLandFind::Calculate() {
    guarded([this] {
        planes::CalculateInput in;
        in.Text3 = lists_[2].name();
        in.folder = lists_[2].folder();
        in.dir3Path = Dir3->path().toStdString();
        in.chkToothLength = chkToothLength->isChecked();
        WrittenFiles::reportStep(lblStatus, File3, QString::fromStdString(s_.TrialFolder),
                                 [&] { return planes::Calculate(s_, prompt_, in); });
    });
}

void frmLandFind::FindDistancesToPlane() {
    guarded([this] {
        WrittenFiles::reportStep(lblStatus, File4, QString::fromStdString(s_.TrialFolder), [&] {
            return planes::FindDistancesToPlane(s_, prompt_, lists_[3].name(), lists_[3].folder());
        });
    });
}

void frmLandFind::cmdExit() { close(); }

} // namespace trelvik
