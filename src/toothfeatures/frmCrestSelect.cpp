#include "toothfeatures/frmCrestSelect.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QButtonGroup>
#include <QRadioButton>

#include "core/error.h"
#include "shell/frmDefDir.h"
#include "toothfeatures/nametables.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/writtenfiles.h"

namespace trelvik {

CrestSelectWindow::CrestSelectWindow(AppState& state, Prompt& prompt, Options options, QWidget* parent)
    : QWidget(parent), app_(state), prompt_(prompt, this), options_(options), block_(new QWidget(this)) {
    Drive2 = new DriveListBox(block_);
    DirC = new QPushButton("Dir", block_);
    Dir2 = new DirListBox(block_);
    Label3 = new QLabel(block_);
    Label3->setWordWrap(true);
    Label3->setFrameShape(QFrame::Panel);
    Label3->setFrameShadow(QFrame::Sunken);
    File2 = new FileListBox(block_);
    File2->setPattern("*.grd");
    Label2 = new QLabel("Input grid filename (*.grd)", block_);
    Text2 = new QLineEdit("*.grd", block_);
    Label8 = new QLabel("Crest name", block_);
    Combo1 = new QComboBox(block_);
    for (const std::string& n : toothfeatures::crestNames()) Combo1->addItem(QString::fromStdString(n));
    // Nothing is chosen until the user picks a name, and the list shows just that.
    Combo1->setCurrentIndex(-1);
    if (options_.showCodeLabel) {
        Label4 = new QLabel(block_);
        Label4->setFrameShape(QFrame::Panel);
        Label4->setFrameShadow(QFrame::Sunken);
        Label4->setMinimumWidth(60);
    }

    Drive2->setDrive(QDir::currentPath());
    Dir2->setPath(QDir::currentPath());
    File2->setPath(Dir2->path());

    auto* g = new QGridLayout(block_);
    g->setContentsMargins(0, 0, 0, 0);
    g->addWidget(Drive2, 0, 0);
    g->addWidget(DirC, 0, 1);
    g->addWidget(Dir2, 1, 0, 1, 2);
    g->addWidget(Label3, 2, 0, 1, 2);
    g->addWidget(File2, 3, 0, 1, 2);
    g->addWidget(Label2, 4, 0, 1, 2);
    g->addWidget(Text2, 5, 0, 1, 2);
    g->addWidget(Label8, 6, 0, 1, 2);
    g->addWidget(Combo1, 7, 0);
    if (Label4) g->addWidget(Label4, 7, 1);
    g->setRowStretch(1, 1);
    g->setRowStretch(3, 2);

    files_ = FileChooser{Drive2, Dir2, File2, Text2, Label3, options_.label3FollowsLists};
    files_.attach(this);
    connect(DirC, &QPushButton::clicked, this, &CrestSelectWindow::DirC_Click);
    connect(Combo1, &QComboBox::activated, this, &CrestSelectWindow::Combo1_Click);
}

void CrestSelectWindow::DirC_Click() {
    runGuarded(prompt_, "Error", [this] {
        ShowDefaultDir(app_, files_);
        return true;
    });
}

void CrestSelectWindow::Drive2_Change() { files_.driveChanged(); }
void CrestSelectWindow::Dir2_Change() { files_.folderChanged(); }
void CrestSelectWindow::File2_Click() { files_.fileClicked(); }

void CrestSelectWindow::Combo1_Click() {
    const std::string caption =
        toothfeatures::chooseName(toothfeatures::crestTable(), Combo1->currentText().toStdString(), CrestCode);
    if (Label4) Label4->setText(QString::fromStdString(caption));
}

void CrestSelectWindow::buildOccVectControls(QWidget* parent, const QString& description) {
    Label5 = new QLabel(description, parent);
    Label5->setWordWrap(true);
    Label1 = new QLabel("Occlusal vector", parent);
    optTribo = new QRadioButton("Tribo-type", parent);
    optCarnass = new QRadioButton("Carnassial", parent);
    optTribo->setChecked(true);
    auto* kind = new QButtonGroup(parent);
    kind->addButton(optTribo);
    kind->addButton(optCarnass);
    cmdOccVect = new QPushButton("Find occlusal vector", parent);
}

QWidget* CrestSelectWindow::buildStatusLine() {
    return WrittenFiles::makeStatusLineRoom(this, lblStatus, kStatusLines);
}

bool CrestSelectWindow::runWriting(const std::string& gridDir, const std::function<bool()>& step) {
    return WrittenFiles::reportStep(lblStatus, File2, QString::fromStdString(gridDir), step);
}

toothfeatures::OccVectRequest CrestSelectWindow::occVectRequest(toothfeatures::CrestWindowKind window) const {
    toothfeatures::OccVectRequest rq;
    rq.window = window;
    rq.kind = optCarnass->isChecked() ? toothfeatures::ToothKind::Carnassial : toothfeatures::ToothKind::Tribo;
    rq.Label3 = gridFolder();
    rq.Text2 = Text2->text().toStdString();
    rq.Combo1Text = Combo1->currentText().toStdString();
    rq.CrestCode = CrestCode;
    return rq;
}

std::string CrestSelectWindow::gridFolder() const {
    return files_.folder();
}

void CrestSelectWindow::clearCrest() {
    CrestCode.clear();
    Combo1->setCurrentIndex(-1);
    if (Label4) Label4->clear();
}

} // namespace trelvik
