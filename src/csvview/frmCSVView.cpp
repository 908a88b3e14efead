// The viewer window's frame: file choice, the views with their read-outs, the copy
// frame and the tab control; start-up defaults and the wiring of the handlers.
#include "csvview/frmCSVView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "core/textform.h"
#include "csvview/frmCSVView_picture.h"
#include "csvview/frmVrmlView.h"
#include "csvview/toothstats.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/fitscreen.h"

namespace trelvik::csvview {

namespace {

// Six read-out labels under a view: column, row and level of the cell, then its
// x, y and height.
QWidget* readoutPanel(QWidget* parent, QLabel*& x, QLabel*& y, QLabel*& z, QLabel*& xr, QLabel*& yr, QLabel*& zr) {
    auto* w = new QWidget(parent);
    auto* g = new QGridLayout(w);
    g->setContentsMargins(0, 0, 0, 0);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(0);
    auto value = [w] {
        auto* l = new QLabel(w);
        l->setMinimumWidth(52);
        l->setFrameShape(QFrame::StyledPanel);
        return l;
    };
    x = value();
    y = value();
    z = value();
    xr = value();
    yr = value();
    zr = value();
    const char* caps[] = {"Col", "Row", "Grey", "X", "Y", "Z"};
    QLabel* vals[] = {x, y, z, xr, yr, zr};
    for (int k = 0; k < 6; ++k) {
        g->addWidget(new QLabel(caps[k], w), k / 3 * 2, k % 3);
        g->addWidget(vals[k], k / 3 * 2 + 1, k % 3);
    }
    return w;
}

} // namespace

frmCSVView::frmCSVView(AppState& state, Prompt& prompt, QWidget* parent)
    : QWidget(parent), state_(state), prompt_(prompt), toothStats_(std::make_unique<ToothStatsTable>()) {
    setWindowTitle("CSV Viewer");
    setObjectName("frmCSVView");
    setAttribute(Qt::WA_DeleteOnClose);
    buildFrame();
    connectHandlers();
    Form_Load();
    fitToScreen(this, designSize());
}

frmCSVView::~frmCSVView() = default;

QSize frmCSVView::designSize() const {
    // As wide as the contents with every tab of the tab bar in sight (the tab control
    // asks only for room for its scroll arrows), plus the vertical scroll bar that the
    // height brings on any screen shorter than the window; never narrower than the
    // width the frame was laid out for.
    const int tabsShort = std::max(0, SSTab1->tabBar()->sizeHint().width() - SSTab1->minimumSizeHint().width());
    const int contents = scroll_->widget()->minimumSizeHint().width() + tabsShort +
                         scroll_->verticalScrollBar()->sizeHint().width();
    return QSize(std::max(1182, contents), 1021);
}

void frmCSVView::buildFrame() {
    // Everything sits in a scroll area: the window is wider and taller than a small
    // screen, and shrinking the views themselves would change the pictures they hold.
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(this);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget(scroll_);
    auto* top = new QHBoxLayout(content);

    // File choice.
    auto* files = new QVBoxLayout;
    Drive1 = new DriveListBox(this);
    Dir1 = new DirListBox(this);
    File1 = new FileListBox(this);
    File1->setPattern("*.csv;*.dat;*.txt");
    Path = new QLabel(this);
    Path->setWordWrap(true);
    Text1 = new QLineEdit(this);
    Command3 = new QPushButton("Dir", this);
    chkViewOnClick = new QCheckBox("View on click", this);
    chkViewOnClick->setChecked(true);
    cmdReadCSV = new QPushButton("Read CSV", this);
    cmdViewCSV = new QPushButton("View CSV", this);
    chkOrigModelFile = new QCheckBox("Original model file", this);
    cmdExit = new QPushButton("Exit", this);
    files->addWidget(Drive1);
    files->addWidget(Dir1, 2);
    files->addWidget(File1, 3);
    files->addWidget(Path);
    files->addWidget(Text1);
    auto* fileButtons = new QGridLayout;
    fileButtons->addWidget(Command3, 0, 0);
    fileButtons->addWidget(chkViewOnClick, 0, 1);
    fileButtons->addWidget(cmdReadCSV, 1, 0);
    fileButtons->addWidget(cmdViewCSV, 1, 1);
    files->addLayout(fileButtons);
    files->addWidget(chkOrigModelFile);
    files->addStretch();
    files->addWidget(cmdExit);
    auto* filesHolder = new QWidget(this);
    filesHolder->setLayout(files);
    filesHolder->setFixedWidth(220);
    top->addWidget(filesHolder);

    // Current view, its read-out and the 3-D view.
    auto* current = new QVBoxLayout;
    current->addWidget(new QLabel("Current grid", this));
    picBoxD = new CsvPictureBox(this);
    current->addWidget(picBoxD, 0, Qt::AlignLeft);
    current->addWidget(readoutPanel(this, lblX_D, lblY_D, lblZ_D, lblXR_D, lblYR_D, lblZR_D));
    fraVRML = new QGroupBox("VRML view", this);
    auto* vrml = new QVBoxLayout(fraVRML);
    Cortona1 = new frmVrmlView(fraVRML);
    vrml->addWidget(Cortona1, 1);
    auto* vrmlButtons = new QHBoxLayout;
    cmdCopyWRL = new QPushButton("Copy", fraVRML);
    cmdVrmlFit = new QPushButton("Fit", fraVRML);
    vrmlButtons->addWidget(cmdCopyWRL);
    vrmlButtons->addWidget(cmdVrmlFit);
    vrmlButtons->addStretch();
    vrml->addLayout(vrmlButtons);
    current->addWidget(fraVRML, 1);

    // Tabs above the working and processed views.
    auto* right = new QVBoxLayout;
    SSTab1 = new QTabWidget(this);
    SSTab1->addTab(buildOrientSlopePage(), "Orient / slope");
    SSTab1->addTab(buildContourPage(), "Contour / proc.");
    SSTab1->addTab(buildCsvViewPage(), "CSV view + process");
    SSTab1->addTab(buildMultiToothPage(), "Multi-tooth files");
    SSTab1->addTab(buildMultiStatsPage(), "Multi-tooth stats");
    right->addWidget(SSTab1);

    auto* views = new QHBoxLayout;
    auto* work = new QVBoxLayout;
    auto* workHead = new QHBoxLayout;
    workHead->addWidget(new QLabel("Working grid", this));
    cmdICopy = new QPushButton("Copy", this);
    workHead->addWidget(cmdICopy);
    workHead->addStretch();
    work->addLayout(workHead);
    picBoxW = new CsvPictureBox(this);
    work->addWidget(picBoxW, 0, Qt::AlignLeft);
    work->addWidget(readoutPanel(this, lblX_W, lblY_W, lblZ_W, lblXR_W, lblYR_W, lblZR_W));
    work->addStretch();
    views->addLayout(work);
    auto* proc = new QVBoxLayout;
    proc->addWidget(new QLabel("Processed grid", this));
    picBoxP = new CsvPictureBox(this);
    proc->addWidget(picBoxP, 0, Qt::AlignLeft);
    proc->addWidget(readoutPanel(this, lblX_P, lblY_P, lblZ_P, lblXR_P, lblYR_P, lblZR_P));
    proc->addStretch();
    views->addLayout(proc);
    views->addStretch();
    right->addLayout(views);
    right->addStretch();

    // The result views run under the current view as well as the tabs: in a row beside
    // it they would push the window past the width of a 1280-wide screen.
    auto* results = new QHBoxLayout;
    for (int k = 0; k < 4; ++k) {
        picBoxI[static_cast<std::size_t>(k)] = new CsvPictureBox(this);
        results->addWidget(picBoxI[static_cast<std::size_t>(k)], 0, Qt::AlignTop);
    }
    auto* copyFrame = new QGroupBox("Copy", this);
    auto* copy = new QGridLayout(copyFrame);
    cmbPicBoxCopyFrom = new QComboBox(copyFrame);
    cmbPicBoxCopyTo = new QComboBox(copyFrame);
    for (QComboBox* c : {cmbPicBoxCopyFrom, cmbPicBoxCopyTo}) {
        c->addItems({"W", "P", "1", "2", "3", "4"});
        c->setEditable(true);
    }
    cmdCopyPicBox = new QPushButton("Copy", copyFrame);
    copy->addWidget(new QLabel("From", copyFrame), 0, 0);
    copy->addWidget(cmbPicBoxCopyFrom, 0, 1);
    copy->addWidget(new QLabel("To", copyFrame), 1, 0);
    copy->addWidget(cmbPicBoxCopyTo, 1, 1);
    copy->addWidget(cmdCopyPicBox, 2, 0, 1, 2);
    results->addWidget(copyFrame, 0, Qt::AlignTop);
    results->addStretch();
    auto* upper = new QHBoxLayout;
    upper->addLayout(current);
    upper->addLayout(right, 1);
    auto* middle = new QVBoxLayout;
    middle->addLayout(upper, 1);
    middle->addLayout(results);
    top->addLayout(middle, 1);
    scroll_->setWidget(content);
    outer->addWidget(scroll_);
}

void frmCSVView::Form_Load() {
    ViewerEnabled = true;
    views_ = ViewerViews();  // the drawn flags false, the views at their display sizes
    // The shaded-relief scroll bars start from their boxes.
    vscSRHoriz->setValue(static_cast<int>(text::CInt(text::Val(txtSRHoriz->text().toStdString()))));
    vscSRVert->setValue(static_cast<int>(text::CInt(text::Val(txtSRVert->text().toStdString()))));
    vscSRb->setValue(static_cast<int>(text::CInt(text::Val(txtSRb->text().toStdString()))));
    // The lists are editable: the text alone would leave their current item on "W".
    cmbPicBoxCopyFrom->setCurrentIndex(cmbPicBoxCopyFrom->findText("W"));
    cmbPicBoxCopyTo->setCurrentIndex(cmbPicBoxCopyTo->findText("1"));
    showAllViews();
    UpdateClumpNameID();
    // Open on the default data directory, where the user's files are, not on wherever
    // the program happened to be started.
    const QString start = QString::fromStdString(state_.DefaultDir);
    if (!start.isEmpty() && QFileInfo(start).isDir()) {
        Drive1->setDrive(start);
        Dir1->setPath(start);
        File1->setPath(Dir1->path());
        Path->setText(Dir1->path());
    }
}

void frmCSVView::pairScrollBar(QLineEdit* box, QScrollBar* bar, bool textMovesBar) {
    connect(bar, &QScrollBar::valueChanged, this, [box](int v) { box->setText(QString::number(v)); });
    if (textMovesBar)
        connect(box, &QLineEdit::textChanged, this, [bar](const QString& t) {
            const double v = text::Val(t.toStdString());
            // Values outside the bar's range leave it at its nearest end; the
            // renderer reads the box, not the bar.
            bar->blockSignals(true);
            bar->setValue(static_cast<int>(std::clamp<double>(text::Round(v), bar->minimum(), bar->maximum())));
            bar->blockSignals(false);
        });
}

void frmCSVView::connectHandlers() {
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    files_ = FileChooser{Drive1, Dir1, File1, Text1, Path};
    connect(Drive1, &DriveListBox::changed, this, [this] { Drive1_Change(); });
    connect(Dir1, &DirListBox::changed, this, [this] { Dir1_Change(); });
    connect(File1, &FileListBox::clicked, this, [this] { File1_Click(); });
    connect(cmdReadCSV, &QPushButton::clicked, this, [this] { cmdReadCSV_Click(); });
    connect(cmdViewCSV, &QPushButton::clicked, this, [this] { cmdViewCSV_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(cmdICopy, &QPushButton::clicked, this, [this] { cmdICopy_Click(); });
    connect(cmdCopyPicBox, &QPushButton::clicked, this, [this] { cmdCopyPicBox_Click(); });
    connect(cmdProcAspectSlope, &QPushButton::clicked, this, [this] { cmdProcAspectSlope_Click(); });
    connect(cmdProcContour, &QPushButton::clicked, this, [this] { cmdProcContour_Click(); });
    connect(cmdShannonInfo, &QPushButton::clicked, this, [this] { cmdShannonInfo_Click(); });
    connect(cmdCalcSAVolStats, &QPushButton::clicked, this, [this] { cmdCalcSAVolStats_Click(); });
    picBoxD->onMouseMove = [this](int x, int y) { picBoxD_MouseMove(x, y); };
    picBoxW->onMouseMove = [this](int x, int y) { picBoxW_MouseMove(x, y); };
    picBoxP->onMouseMove = [this](int x, int y) { picBoxP_MouseMove(x, y); };
    pairScrollBar(txtSRHoriz, vscSRHoriz, true);
    pairScrollBar(txtSRVert, vscSRVert, true);
    pairScrollBar(txtSRb, vscSRb, true);
    pairScrollBar(txtSRw, vscSRw, false);  // typing a weight leaves its bar where it was
    connect(cmdVrmlFit, &QPushButton::clicked, this, [this] { Cortona1->Fit(); });
    connectLaterHandlers();
}

} // namespace trelvik::csvview
