#include "toothfeatures/frmCuspOR.h"

#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/error.h"
#include "shell/frmDefDir.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/writtenfiles.h"

namespace trelvik {

namespace {
QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QString& t) { return t.toStdString(); }
} // namespace

frmCuspOR::frmCuspOR(AppState& state, Prompt& prompt, QWidget* parent)
    : QWidget(parent), app_(state), prompt_(prompt, this)
{
    setWindowTitle("Calculate average cusp occlusion relief");
    auto* grid = new QGridLayout(this);

    auto* files = new QVBoxLayout;
    auto* description = new QLabel("Calculates average distance between line of occlusal vector and profile along "
                                   "tooth groove (e.g. trigon groove).",
                                   this);
    description->setWordWrap(true);
    Drive2 = new DriveListBox(this);
    DirC = new QPushButton("Dir", this);
    Dir2 = new DirListBox(this);
    Label3 = new QLabel(this);
    Label3->setWordWrap(true);
    Label3->setFrameShape(QFrame::Panel);
    Label3->setFrameShadow(QFrame::Sunken);
    File2 = new FileListBox(this);
    File2->setPattern("*.grd");
    Text2 = new QLineEdit("*.grd", this);
    files->addWidget(description);
    auto* driveRow = new QHBoxLayout;
    driveRow->addWidget(Drive2, 1);
    driveRow->addWidget(DirC);
    files->addLayout(driveRow);
    files->addWidget(Dir2, 1);
    files->addWidget(Label3);
    files->addWidget(File2, 2);
    files->addWidget(new QLabel("Input grid filename (*.grd)", this));
    files->addWidget(Text2);
    grid->addLayout(files, 0, 0, 2, 1);

    auto* profile = new QGroupBox("Groove profile", this);
    auto* gp = new QVBoxLayout(profile);
    cmdDigProf = new QPushButton("Digitise groove profile", profile);
    gp->addWidget(cmdDigProf);
    grid->addWidget(profile, 0, 1);

    auto* vector = new QGroupBox("Occlusal vector", this);
    auto* gv = new QGridLayout(vector);
    Text1 = new QLineEdit("1", vector);
    Label9 = new QLabel(vector);
    Label9->setFrameShape(QFrame::Panel);
    Label9->setFrameShadow(QFrame::Sunken);
    Label9->setMinimumWidth(60);
    Label9->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    cmdDigOccVect = new QPushButton("Digitise occlusal vector", vector);
    gv->addWidget(new QLabel(QString::fromUtf8("Tolerance interval (\u00b5m)"), vector), 0, 0);
    gv->addWidget(Text1, 0, 1);
    gv->addWidget(cmdDigOccVect, 1, 0, 1, 2);
    gv->addWidget(new QLabel("Tolerance required", vector), 2, 0);
    gv->addWidget(Label9, 2, 1);
    gv->setRowStretch(3, 1);  // spare height below the controls, not in the tolerance box
    grid->addWidget(vector, 1, 1);

    auto* buttons = new QHBoxLayout;
    cmdNextGrid = new QPushButton("Next grid", this);
    cmdExit = new QPushButton("Exit", this);
    buttons->addWidget(cmdNextGrid);
    buttons->addWidget(cmdExit);
    grid->addLayout(buttons, 2, 0, 1, 2);
    // A room of fixed height, so "Next grid" and "Exit" stay put as the text comes and goes.
    grid->addWidget(WrittenFiles::makeStatusLineRoom(this, lblStatus), 3, 0, 1, 2);

    // The lists start on the process's current folder; the folder label stays empty
    // until "Dir" or a click in the file list sets it.
    Drive2->setDrive(QDir::currentPath());
    Dir2->setPath(QDir::currentPath());
    File2->setPath(Dir2->path());

    files_ = FileChooser{Drive2, Dir2, File2, Text2, Label3, false};
    files_.attach(this);
    connect(DirC, &QPushButton::clicked, this, &frmCuspOR::DirC_Click);
    connect(cmdDigProf, &QPushButton::clicked, this, &frmCuspOR::cmdDigProf_Click);
    connect(cmdDigOccVect, &QPushButton::clicked, this, &frmCuspOR::cmdDigOccVect_Click);
    connect(cmdNextGrid, &QPushButton::clicked, this, &frmCuspOR::cmdNextGrid_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmCuspOR::cmdExit_Click);
}

toothfeatures::CuspORControls frmCuspOR::controls() const
{
    toothfeatures::CuspORControls c;
    // A name typed before any click in the lists lies in the folder the list shows.
    c.Label3 = files_.folder();
    c.Text2 = s(Text2->text());
    c.Text1 = s(Text1->text());
    c.Label9 = s(Label9->text());
    return c;
}

template <typename Step> void frmCuspOR::run(Step step)
{
    toothfeatures::CuspORControls c = controls();
    toothfeatures::CuspORRun r{app_, prompt_, c, cusp_};
    step(r);
    Text2->setText(q(c.Text2));
    Text1->setText(q(c.Text1));
    Label9->setText(q(c.Label9));
}

void frmCuspOR::DirC_Click()
{
    runGuarded(prompt_, "", [this] {
        ShowDefaultDir(app_, files_);
        return true;
    });
}

void frmCuspOR::Drive2_Change() { files_.driveChanged(); }
void frmCuspOR::Dir2_Change() { files_.folderChanged(); }
void frmCuspOR::File2_Click() { files_.fileClicked(); }

void frmCuspOR::cmdDigProf_Click()
{
    run([&](toothfeatures::CuspORRun& r) {
        WrittenFiles::reportStep(lblStatus, File2, q(r.c.Label3), [&] { return toothfeatures::DigitiseProfile(r); });
    });
}
void frmCuspOR::cmdDigOccVect_Click()
{
    run([&](toothfeatures::CuspORRun& r) {
        WrittenFiles::reportStep(lblStatus, File2, q(cusp_.GridDir),
                                 [&] { return toothfeatures::DigitiseOcclusalVector(r); });
    });
}
void frmCuspOR::cmdNextGrid_Click() { run(toothfeatures::NextGrid); }
void frmCuspOR::cmdExit_Click() { close(); }

} // namespace trelvik
