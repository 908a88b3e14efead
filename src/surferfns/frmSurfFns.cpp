#include "surferfns/frmSurfFns.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "core/error.h"
#include "shell/frmDefDir.h"
#include "shell/settings.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/fitscreen.h"
#include "widgets/progressrun.h"

namespace trelvik {

namespace {
struct FileType {
    const char* caption;
    const char* pattern;
};
constexpr FileType kFileTypes[] = {
    {"Surfer grid file (*.grd)", "*.grd"},
    {"Vava text file (*.txt)", "*.txt"},
    {"Show all files (*.*)", "*.*"},
};
} // namespace

frmSurfFns::frmSurfFns(AppState& state, Prompt& prompt, QWidget* parent)
    : QWidget(parent), app_(state), prompt_(prompt, this) {
    setWindowTitle("Surfer Functions");

    // The frames sit in a scroll area so that every control stays reachable on a
    // small screen; the batch progress stays in view below it.
    auto* outer = new QVBoxLayout(this);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget(scroll);
    QWidget* list = buildListFrame();
    auto* grid = new QGridLayout(content);
    grid->addWidget(list, 0, 0, 3, 1);
    grid->addWidget(buildBlankFrame(), 0, 1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(buildExtractFrame());
    middle->addWidget(buildCalculateFrame());
    middle->addStretch(1);
    grid->addLayout(middle, 0, 2);
    auto* regrid = new QVBoxLayout;
    regrid->addWidget(buildRegridFrame());
    regrid->addWidget(buildRezeroFrame());
    regrid->addStretch(1);
    grid->addLayout(regrid, 0, 3);
    grid->addWidget(buildSmoothFrame(), 1, 1);
    grid->addWidget(buildProcessFrame(), 1, 2);
    grid->addWidget(buildCompareFrame(), 1, 3);
    grid->addWidget(buildPlotFrame(), 2, 1, 1, 3);
    scroll->setWidget(content);
    outer->addWidget(scroll, 1);
    auto* progressRow = new QHBoxLayout;
    lblBatchStep = new QLabel(this);
    pbrBatch = new QProgressBar(this);
    pbrBatch->setTextVisible(true);
    pbrBatch->hide();
    progressRow->addWidget(lblBatchStep, 1);
    progressRow->addWidget(pbrBatch, 2);
    outer->addLayout(progressRow);

    connectList();
    connectPlot();
    connectOperations();
    Form_Load();
    fitToScreen(this, kDesignSize);
}

QWidget* frmSurfFns::buildListFrame() {
    auto* box = new QWidget(this);
    lblDescription = new QLabel("Automates several common Surfer functions.", box);
    Drive2 = new DriveListBox(box);
    // As wide as a short drive name, not as the longest mount point: a long one (a
    // container's or a network disk's) widened the list column until the right-hand
    // frames ran off a 1280-pixel screen. The folder list shows the whole path.
    Drive2->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Drive2->setMinimumContentsLength(12);
    DirC = new QPushButton("Dir", box);
    Dir2 = new DirListBox(box);
    cmdRefreshDir = new QPushButton("Ref", box);
    Label2 = new QLabel(box);
    Label2->setWordWrap(true);
    Label2->setFrameShape(QFrame::Panel);
    Label2->setFrameShadow(QFrame::Sunken);
    File2 = new FileListBox(box);
    File2->setPattern("*.grd");
    cmbFileType = new QComboBox(box);
    for (const FileType& t : kFileTypes) cmbFileType->addItem(t.caption);
    auto* lblText2 = new QLabel("Input grid filename (*.grd)", box);
    Text2 = new QLineEdit("*.grd", box);
    cmdAddFilename = new QPushButton("Add filename", box);
    cmdAddAllFilenames = new QPushButton("Add all filenames", box);
    cmdClearFilenames = new QPushButton("Clear filenames", box);
    auto* lblNoFiles = new QLabel("No. files", box);
    txtNoFiles = new QLabel("0", box);
    txtNoFiles->setFrameShape(QFrame::Panel);
    txtNoFiles->setFrameShadow(QFrame::Sunken);
    txtNoFiles->setMinimumWidth(40);
    chkClearFilenames = new QCheckBox("Clear filenames after fn", box);
    chkClearFilenames->setChecked(true);
    chkStartSurfer = new QCheckBox("Start new Surfer (v8)", box);
    cmdExit = new QPushButton("Exit", box);

    // The lists start on the process's current folder, as the other windows' do.
    Drive2->setDrive(QDir::currentPath());
    Dir2->setPath(QDir::currentPath());
    File2->setPath(Dir2->path());

    auto* g = new QGridLayout(box);
    g->setContentsMargins(0, 0, 0, 0);
    g->addWidget(lblDescription, 0, 0, 1, 2);
    g->addWidget(Drive2, 1, 0);
    g->addWidget(DirC, 1, 1);
    g->addWidget(Dir2, 2, 0);
    g->addWidget(cmdRefreshDir, 2, 1, Qt::AlignTop);
    g->addWidget(Label2, 3, 0, 1, 2);
    g->addWidget(File2, 4, 0, 1, 2);
    g->addWidget(cmbFileType, 5, 0, 1, 2);
    g->addWidget(lblText2, 6, 0, 1, 2);
    g->addWidget(Text2, 7, 0, 1, 2);
    g->addWidget(cmdAddFilename, 8, 0, 1, 2);
    g->addWidget(cmdAddAllFilenames, 9, 0, 1, 2);
    g->addWidget(cmdClearFilenames, 10, 0, 1, 2);
    auto* count = new QHBoxLayout;
    count->addWidget(lblNoFiles);
    count->addWidget(txtNoFiles);
    count->addStretch(1);
    g->addLayout(count, 11, 0, 1, 2);
    g->addWidget(chkClearFilenames, 12, 0, 1, 2);
    g->addWidget(chkStartSurfer, 13, 0, 1, 2);
    g->addWidget(cmdExit, 14, 0, 1, 2);
    g->setRowStretch(2, 1);
    g->setRowStretch(4, 2);
    return box;
}

void frmSurfFns::connectList() {
    files_ = FileChooser{Drive2, Dir2, File2, Text2, Label2};
    connect(Drive2, &DriveListBox::changed, this, &frmSurfFns::Drive2_Change);
    connect(Dir2, &DirListBox::changed, this, &frmSurfFns::Dir2_Change);
    connect(File2, &FileListBox::clicked, this, &frmSurfFns::File2_Click);
    connect(File2, &FileListBox::doubleClicked, this, &frmSurfFns::File2_DblClick);
    connect(DirC, &QPushButton::clicked, this, &frmSurfFns::DirC_Click);
    connect(cmdRefreshDir, &QPushButton::clicked, this, &frmSurfFns::cmdRefreshDir_Click);
    connect(cmbFileType, &QComboBox::activated, this, &frmSurfFns::cmbFileType_Click);
    connect(cmdAddFilename, &QPushButton::clicked, this, &frmSurfFns::cmdAddFilename_Click);
    connect(cmdAddAllFilenames, &QPushButton::clicked, this, &frmSurfFns::cmdAddAllFilenames_Click);
    connect(cmdClearFilenames, &QPushButton::clicked, this, &frmSurfFns::cmdClearFilenames_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmSurfFns::cmdExit_Click);
}

void frmSurfFns::Form_Load() {
    cmbFileType->setCurrentText("Surfer grid file (*.grd)");
    cmbPDFilter->setCurrentText("Moving average (nxn)");
    cmbProcess->setCurrentText("Terrain slope");
}

surffns::SurfFnsContext frmSurfFns::context() {
    surffns::SurfFnsContext ctx{app_, prompt_, surf_};
    ctx.File2Folder = File2->path().toStdString();
    ctx.Text2 = Text2->text().toStdString();
    for (const QString& n : File2->fileNames()) ctx.File2Names.push_back(n.toStdString());
    ctx.chkClearFilenames = chkClearFilenames->isChecked();
    ctx.chkStartSurfer = chkStartSurfer->isChecked();
    ctx.chkPlotSurfer = chkPlotSurfer->isChecked();
    ctx.plot = plotOptions();
    return ctx;
}

void frmSurfFns::runBatch(surffns::SurfFnsContext& ctx, const std::function<void()>& body) {
    // The batch (RunBatch, with its pointer and guard) is the step whose end says what
    // settling found.
    ProgressRun run(this, pbrBatch, lblBatchStep);
    ctx.progress = &run.progress();
    body();
    ctx.progress = nullptr;
}

void frmSurfFns::showState(const surffns::SurfFnsContext& ctx) {
    txtNoFiles->setText(QString::number(surf_.NumFiles));
    Text2->setText(QString::fromStdString(ctx.Text2));
}

void frmSurfFns::cmbFileType_Click() {
    for (const FileType& t : kFileTypes)
        if (cmbFileType->currentText() == t.caption) File2->setPattern(t.pattern);
}

void frmSurfFns::cmdRefreshDir_Click() {
    Dir2->refresh();
    File2->refresh();
}

void frmSurfFns::DirC_Click() {
    runGuarded(prompt_, "", [this] {
        ShowDefaultDir(app_, files_);
        return true;
    });
}

void frmSurfFns::Drive2_Change() { files_.driveChanged(); }

void frmSurfFns::Dir2_Change() { files_.folderChanged(); }

void frmSurfFns::File2_Click() { files_.fileClicked(); }

void frmSurfFns::File2_DblClick() { cmdAddFilename_Click(); }

void frmSurfFns::cmdAddFilename_Click() {
    auto ctx = context();
    surffns::AddFilename(ctx);
    showState(ctx);
}

void frmSurfFns::cmdAddAllFilenames_Click() {
    auto ctx = context();
    surffns::AddAllFilenames(ctx);
    if (File2->count() > 0) File2->setCurrentRow(0);
    showState(ctx);
}

void frmSurfFns::cmdClearFilenames_Click() {
    BusyScope busy(prompt_);
    surffns::ClearFilenames(surf_);
    txtNoFiles->setText("0");
}

void frmSurfFns::cmdExit_Click() { close(); }

} // namespace trelvik
