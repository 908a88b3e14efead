#include "pointclouds/frmPtCloud.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/error.h"
#include "shell/frmDefDir.h"
#include "shell/settings.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/fitscreen.h"
#include "widgets/inputblocker.h"
#include "widgets/qtprogress.h"

namespace trelvik {

namespace {
struct FileType {
    const char* caption;
    const char* pattern;
};
constexpr FileType kFileTypes[] = {
    {"Text file (*.txt,*.dat)", "*.txt;*.dat"},
    {"VRML file Polygons (*.wrl)", "*.wrl"},
    {"Show all files (*.*)", "*.*"},
};

QLabel* panel(const QString& text, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(60);
    return l;
}

// The read-outs of the point loops: the bar and "Points processed" follow the steps,
// "No. points in file" the count of the file read; Esc stops the loop. The two show one
// run's pair: a count shown before this run has processed anything empties the earlier
// run's "Points processed" (a run may end there, at Cancel on the replace question).
class WindowProgress : public ptcloud::CloudProgress {
public:
    WindowProgress(QProgressBar* bar, QLabel* processed, QLabel* count)
        : inner_(bar), processed_(processed), count_(count) {}
    void step(long long done, long long total) override {
        if (total > 0) {
            stepped_ = true;
            processed_->setText(QString::number(done));
            inner_.step(done, total);
        }
    }
    bool stopRequested() override { return inner_.stopRequested(); }
    void pointsInFile(long long n) override {
        count_->setText(QString::number(n));
        if (!stepped_) processed_->clear();
        inner_.showNow();
    }

private:
    QtProgress inner_;
    QLabel* processed_;
    QLabel* count_;
    bool stepped_ = false;
};

} // namespace

frmPtCloud::frmPtCloud(AppState& state, Prompt& prompt, QWidget* parent)
    : QWidget(parent), app_(state), prompt_(prompt, this) {
    setWindowTitle("Point Clouds");
    auto* grid = new QGridLayout(this);
    grid->addWidget(buildInput(), 0, 0, 3, 1);
    grid->addWidget(buildUndercuts(), 0, 1, 2, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(buildOutline());
    right->addWidget(buildEnamel());
    right->addWidget(buildJoinTip());
    right->addStretch(1);
    grid->addLayout(right, 0, 2, 2, 1);
    QWidget* grids = buildGrids();
    // The grid tools keep their own height; spare height goes to the frames above them.
    grids->setSizePolicy(grids->sizePolicy().horizontalPolicy(), QSizePolicy::Maximum);
    grid->addWidget(grids, 2, 1, 1, 2);
    connectHandlers();
    // Wrapped instructions make the layout's own minimum too small; the window never
    // shrinks below the size that shows every control whole, taken with the folder and
    // file lists a little shorter than they ask for, so that the window fits a 720-pixel
    // screen with its title bar.
    for (QWidget* list : {static_cast<QWidget*>(Dir2), static_cast<QWidget*>(File2)}) list->setMaximumHeight(150);
    const QSize whole = sizeHint();
    for (QWidget* list : {static_cast<QWidget*>(Dir2), static_cast<QWidget*>(File2)})
        list->setMaximumHeight(QWIDGETSIZE_MAX);
    setMinimumSize(whole);
    Form_Load();
}

QWidget* frmPtCloud::buildInput() {
    auto* box = new QWidget(this);
    Label5 = new QLabel("Carries out cleaning and decimating of point clouds, including removing undercuts.", box);
    Label5->setWordWrap(true);
    Drive2 = new DriveListBox(box);
    DirC = new QPushButton("Dir", box);
    Dir2 = new DirListBox(box);
    Label2 = new QLabel(box);
    Label2->setWordWrap(true);
    Label2->setFrameShape(QFrame::Panel);
    Label2->setFrameShadow(QFrame::Sunken);
    File2 = new FileListBox(box);
    File2->setPattern("*.txt;*.dat");
    Label3 = new QLabel("Input filename (*.txt,*.dat)", box);
    Text2 = new QLineEdit(ptcloud::kText2Pattern, box);
    cmbFileType = new QComboBox(box);
    for (const FileType& t : kFileTypes) cmbFileType->addItem(t.caption);
    cmdAddFilename = new QPushButton("Add filename", box);
    cmdClearFilenames = new QPushButton("Clear filenames", box);
    Label15 = new QLabel("No. files", box);
    txtNoFiles = panel("0", box);
    cmdExit = new QPushButton("Exit", box);

    // The lists start on the process's current folder, as the other windows' do.
    Drive2->setDrive(QDir::currentPath());
    Dir2->setPath(QDir::currentPath());
    File2->setPath(Dir2->path());

    auto* g = new QGridLayout(box);
    g->setContentsMargins(0, 0, 0, 0);
    g->addWidget(Label5, 0, 0, 1, 2);
    g->addWidget(Drive2, 1, 0);
    g->addWidget(DirC, 1, 1);
    g->addWidget(Dir2, 2, 0, 1, 2);
    g->addWidget(Label2, 3, 0, 1, 2);
    g->addWidget(File2, 4, 0, 1, 2);
    g->addWidget(cmbFileType, 5, 0, 1, 2);
    g->addWidget(Label3, 6, 0, 1, 2);
    g->addWidget(Text2, 7, 0, 1, 2);
    g->addWidget(cmdAddFilename, 8, 0, 1, 2);
    g->addWidget(cmdClearFilenames, 9, 0, 1, 2);
    auto* count = new QHBoxLayout;
    count->addWidget(Label15);
    count->addWidget(txtNoFiles);
    count->addStretch(1);
    g->addLayout(count, 10, 0, 1, 2);
    g->addWidget(cmdExit, 11, 0, 1, 2);
    g->setRowStretch(2, 1);
    g->setRowStretch(4, 2);
    return box;
}

void frmPtCloud::connectHandlers() {
    files_ = FileChooser{Drive2, Dir2, File2, Text2, Label2};
    connect(Drive2, &DriveListBox::changed, this, &frmPtCloud::Drive2_Change);
    connect(Dir2, &DirListBox::changed, this, &frmPtCloud::Dir2_Change);
    connect(File2, &FileListBox::clicked, this, &frmPtCloud::File2_Click);
    connect(File2, &FileListBox::doubleClicked, this, &frmPtCloud::File2_DblClick);
    connect(DirC, &QPushButton::clicked, this, &frmPtCloud::DirC_Click);
    connect(cmbFileType, &QComboBox::activated, this, &frmPtCloud::cmbFileType_Click);
    connect(cmdAddFilename, &QPushButton::clicked, this, &frmPtCloud::cmdAddFilename_Click);
    connect(cmdClearFilenames, &QPushButton::clicked, this, &frmPtCloud::cmdClearFilenames_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmPtCloud::cmdExit_Click);
    connect(chkDefaultSet, &QCheckBox::toggled, this, &frmPtCloud::chkDefaultSet_Click);
    connect(cmdCreateBlankingFile, &QPushButton::clicked, this, &frmPtCloud::cmdCreateBlankingFile_Click);
    connect(cmdRemoveUndercuts, &QPushButton::clicked, this, &frmPtCloud::cmdRemoveUndercuts_Click);
    connect(cmdEnamThickCalc, &QPushButton::clicked, this, &frmPtCloud::cmdEnamThickCalc_Click);
    connect(cmdPointsToWrl, &QPushButton::clicked, this, &frmPtCloud::cmdPointsToWrl_Click);
    connect(cmdJoinFiles, &QPushButton::clicked, this, &frmPtCloud::cmdJoinFiles_Click);
    connect(cmbTipNo, &QComboBox::activated, this, &frmPtCloud::cmbTipNo_Click);
    connect(cmdTipCal, &QPushButton::clicked, this, &frmPtCloud::cmdTipCal_Click);
    connect(cmdBlank, &QPushButton::clicked, this, &frmPtCloud::cmdBlank_Click);
    connect(cmdExtract, &QPushButton::clicked, this, &frmPtCloud::cmdExtract_Click);
}

void frmPtCloud::Form_Load() {
    keepRoomWhenHidden(pbarPtsPrcd);
    pbarPtsPrcd->hide();
    cmbFileType->setCurrentText("Text file (*.txt,*.dat)");
}

ptcloud::PtCloudContext frmPtCloud::context(ptcloud::CloudProgress& progress) {
    ptcloud::PtCloudContext ctx{app_, prompt_, list_, progress};
    ctx.File2Folder = File2->path().toStdString();
    ctx.Text2 = Text2->text().toStdString();
    return ctx;
}

void frmPtCloud::showCount() { txtNoFiles->setText(QString::number(list_.NoFiles)); }

void frmPtCloud::withProgress(const std::function<void(ptcloud::CloudProgress&)>& run, bool bar) {
    if (bar) {
        pbarPtsPrcd->setRange(0, 1);
        pbarPtsPrcd->setValue(0);
        pbarPtsPrcd->show();
    }
    {
        WindowProgress progress(bar ? pbarPtsPrcd : nullptr, txtNoPtsPrcd, txtNoPts);
        InputBlocker blocker(this);
        run(progress);
    }
    pbarPtsPrcd->hide();
    showCount();
}

void frmPtCloud::DirC_Click() {
    runGuarded(prompt_, "", [this] {
        ShowDefaultDir(app_, files_);
        return true;
    });
}

void frmPtCloud::Drive2_Change() { files_.driveChanged(); }

void frmPtCloud::Dir2_Change() { files_.folderChanged(); }

void frmPtCloud::File2_Click() { files_.fileClicked(); }

void frmPtCloud::File2_DblClick() { cmdAddFilename_Click(); }

void frmPtCloud::cmbFileType_Click() {
    for (const FileType& t : kFileTypes)
        if (cmbFileType->currentText() == t.caption) File2->setPattern(t.pattern);
}

void frmPtCloud::chkDefaultSet_Click() { fraAdvanced->setEnabled(!chkDefaultSet->isChecked()); }

void frmPtCloud::cmdAddFilename_Click() {
    auto ctx = context(ptcloud::noCloudProgress());
    ptcloud::AddFilename(ctx);
    showCount();
}

void frmPtCloud::cmdClearFilenames_Click() {
    BusyScope busy(prompt_);
    ptcloud::ClearFilenames(list_);
    showCount();
}

void frmPtCloud::cmdExit_Click() { close(); }

} // namespace trelvik
