// Layout of "File Format Conversion": the file selection and batch list on the left,
// the option tabs, file statistics and plot options on the right.
#include "conversion/frmConversion.h"

#include <QButtonGroup>
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
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"
#include "widgets/fitscreen.h"
#include "widgets/progressrun.h"

namespace trelvik {

namespace {

QLabel* readout(QWidget* parent, const QString& text = QString()) {
    auto* l = new QLabel(text, parent);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setMinimumWidth(60);
    return l;
}

// Radio buttons of one option group; the first listed is not selected by itself.
QButtonGroup* group(QWidget* parent, std::initializer_list<QRadioButton*> buttons) {
    auto* g = new QButtonGroup(parent);
    for (auto* b : buttons) g->addButton(b);
    return g;
}

QGridLayout* gridIn(QWidget* w) {
    auto* g = new QGridLayout(w);
    g->setContentsMargins(6, 6, 6, 6);
    return g;
}

} // namespace

frmConversion::frmConversion(AppState& state, Prompt& prompt, QWidget* parent)
    : QWidget(parent), app_(state), prompt_(prompt) {
    setWindowTitle("File Format Conversion");
    tabOptions = new QTabWidget(this);
    tabOptions->addTab(buildTxtTab(), "TXT to GRD");
    tabOptions->addTab(buildTifTab(), "TIF to GRD");
    tabOptions->addTab(buildOtherTab(), "Other formats");
    tabOptions->addTab(buildUcTab(), "UC and blank");

    auto* right = new QVBoxLayout;
    right->addWidget(tabOptions);
    auto* lower = new QHBoxLayout;
    lower->addWidget(buildStatsFrame());
    lower->addWidget(buildPlotFrame());
    right->addLayout(lower);
    right->addStretch(1);

    auto* top = new QHBoxLayout(this);
    top->addWidget(buildListPanel());
    top->addLayout(right, 1);

    connectHandlers();
    Form_Load();
}

frmConversion::~frmConversion() = default;

QWidget* frmConversion::buildListPanel() {
    auto* box = new QWidget(this);
    lblDescription = new QLabel("Converts between several common file formats (grd, wrl, txt).", box);
    lblDescription->setWordWrap(true);
    Drive1 = new DriveListBox(box);
    Command3 = new QPushButton("Dir", box);
    Dir1 = new DirListBox(box);
    cmdRefreshDir = new QPushButton("Ref", box);
    txtPath = readout(box);
    txtPath->setWordWrap(true);
    File1 = new FileListBox(box);
    File1->setPattern("*.*");
    auto* lblFrom = new QLabel("From file type:", box);
    cmbFromFileType = new QComboBox(box);
    auto* lblTo = new QLabel("To file type:", box);
    cmbToFileType = new QComboBox(box);
    auto* lblText1 = new QLabel("Input filename", box);
    Text1 = new QLineEdit(box);
    cmdAddFilename = new QPushButton("Add filename", box);
    cmdAddAllFilenames = new QPushButton("Add all filenames", box);
    cmdClearFilenames = new QPushButton("Clear filenames", box);
    auto* lblNoFiles = new QLabel("No. files", box);
    txtNoFiles = readout(box, "0");
    chkAddOutText = new QCheckBox("Add to output filename", box);
    txtAddOutText = new QLineEdit("_", box);
    chkStartSurfer = new QCheckBox("Start new Surfer (v8)", box);
    auto* lblCurrent = new QLabel("Current filename", box);
    txtCurrentFilename = readout(box);
    auto* lblProgress = new QLabel("Progress", box);
    txtProgress = readout(box);
    pbarFiles = makeRunBar(box);
    cmdConvert = new QPushButton("Convert", box);
    cmdExit = new QPushButton("Exit", box);

    Drive1->setDrive(QDir::currentPath());
    Dir1->setPath(QDir::currentPath());
    File1->setPath(Dir1->path());

    auto* g = new QGridLayout(box);
    g->setContentsMargins(0, 0, 0, 0);
    int r = 0;
    g->addWidget(lblDescription, r++, 0, 1, 2);
    g->addWidget(Drive1, r, 0);
    g->addWidget(Command3, r++, 1);
    g->addWidget(Dir1, r, 0);
    g->addWidget(cmdRefreshDir, r++, 1, Qt::AlignTop);
    g->addWidget(txtPath, r++, 0, 1, 2);
    g->addWidget(File1, r++, 0, 1, 2);
    g->addWidget(lblFrom, r++, 0, 1, 2);
    g->addWidget(cmbFromFileType, r++, 0, 1, 2);
    g->addWidget(lblTo, r++, 0, 1, 2);
    g->addWidget(cmbToFileType, r++, 0, 1, 2);
    g->addWidget(lblText1, r++, 0, 1, 2);
    g->addWidget(Text1, r++, 0, 1, 2);
    g->addWidget(cmdAddFilename, r++, 0, 1, 2);
    g->addWidget(cmdAddAllFilenames, r++, 0, 1, 2);
    g->addWidget(cmdClearFilenames, r++, 0, 1, 2);
    g->addWidget(lblNoFiles, r, 0);
    g->addWidget(txtNoFiles, r++, 1);
    g->addWidget(chkAddOutText, r, 0);
    g->addWidget(txtAddOutText, r++, 1);
    g->addWidget(chkStartSurfer, r++, 0, 1, 2);
    g->addWidget(lblCurrent, r, 0);
    g->addWidget(txtCurrentFilename, r++, 1);
    g->addWidget(lblProgress, r, 0);
    g->addWidget(txtProgress, r++, 1);
    g->addWidget(pbarFiles, r++, 0, 1, 2);
    g->addWidget(cmdConvert, r, 0);
    g->addWidget(cmdExit, r++, 1);
    g->setRowStretch(2, 1);
    g->setRowStretch(4, 2);
    return box;
}

QWidget* frmConversion::buildTxtTab() {
    auto* page = new QWidget(this);
    auto* fraGrid = new QGroupBox("Gridding options", page);
    optInterval = new QRadioButton("Grid intervals", fraGrid);
    optMaxNoRows = new QRadioButton("Max. no. rows/cols", fraGrid);
    optAutoInt = new QRadioButton("Auto calculate intervals (for regular grid data)", fraGrid);
    group(fraGrid, {optInterval, optMaxNoRows, optAutoInt});
    optInterval->setChecked(true);
    Label8 = new QLabel("X,Y", fraGrid);
    txtXInt = new QLineEdit("0.030", fraGrid);
    Label7 = new QLabel("Y", fraGrid);
    txtYInt = new QLineEdit("0.030", fraGrid);
    Label7->hide();
    txtYInt->hide();
    chkEqualXY = new QCheckBox("Equal X,Y int", fraGrid);
    chkEqualXY->setChecked(true);
    txtMaxNoRows = new QLineEdit("200", fraGrid);
    auto* g = gridIn(fraGrid);
    g->addWidget(optInterval, 0, 0);
    g->addWidget(Label8, 0, 1);
    g->addWidget(txtXInt, 0, 2);
    g->addWidget(Label7, 0, 3);
    g->addWidget(txtYInt, 0, 4);
    g->addWidget(chkEqualXY, 1, 1, 1, 4);
    g->addWidget(optMaxNoRows, 2, 0);
    g->addWidget(txtMaxNoRows, 2, 2);
    g->addWidget(optAutoInt, 3, 0, 1, 5);

    chkMould = new QCheckBox("Mould scan", page);

    auto* fraMethod = new QGroupBox("Gridding method", page);
    optInvDist = new QRadioButton("Inverse distance", fraMethod);
    optKrig = new QRadioButton("Kriging", fraMethod);
    optNearNeigh = new QRadioButton("Nearest neighbour", fraMethod);
    group(fraMethod, {optInvDist, optKrig, optNearNeigh});
    optKrig->setChecked(true);
    auto* m = new QVBoxLayout(fraMethod);
    m->addWidget(optInvDist);
    m->addWidget(optKrig);
    m->addWidget(optNearNeigh);

    fraSurf = new QGroupBox("SURF to GRD options", page);
    chkSurfCmMm = new QCheckBox("Convert from cm to mm (variables in mm)", fraSurf);
    chkSurfRevZ = new QCheckBox("Reverse in z", fraSurf);
    chkSurfUseTxt = new QCheckBox("Use converted surf txt file", fraSurf);
    chkSurfCmMm->setChecked(true);
    chkSurfRevZ->setChecked(true);
    auto* s = new QVBoxLayout(fraSurf);
    s->addWidget(chkSurfCmMm);
    s->addWidget(chkSurfRevZ);
    s->addWidget(chkSurfUseTxt);

    auto* l = gridIn(page);
    l->addWidget(fraGrid, 0, 0, 1, 2);
    l->addWidget(chkMould, 1, 0);
    l->addWidget(fraMethod, 2, 0);
    l->addWidget(fraSurf, 2, 1);
    l->setRowStretch(3, 1);
    return page;
}

QWidget* frmConversion::buildTifTab() {
    auto* page = new QWidget(this);
    fraDataType = new QGroupBox("Data type", page);
    optInFOV = new QRadioButton("Input fields of view", fraDataType);
    optInVox = new QRadioButton("Input voxel size", fraDataType);
    group(fraDataType, {optInFOV, optInVox});
    optInVox->setChecked(true);
    X_Field = new QLineEdit(fraDataType);
    Y_Field = new QLineEdit(fraDataType);
    Z_Field = new QLineEdit(fraDataType);
    X_Input_Int = new QLineEdit(fraDataType);
    Y_Input_Int = new QLineEdit(fraDataType);
    Z_Input_Height = new QLineEdit(fraDataType);
    auto* g = gridIn(fraDataType);
    g->addWidget(optInFOV, 0, 0, 1, 3);
    g->addWidget(new QLabel("Full fields of view (µm)", fraDataType), 1, 0);
    g->addWidget(X_Field, 1, 1);
    g->addWidget(Y_Field, 1, 2);
    g->addWidget(new QLabel("Z height (µm)", fraDataType), 2, 0);
    g->addWidget(Z_Field, 2, 1);
    g->addWidget(optInVox, 3, 0, 1, 3);
    g->addWidget(new QLabel("X interval", fraDataType), 4, 0);
    g->addWidget(X_Input_Int, 4, 1);
    g->addWidget(new QLabel("Y interval", fraDataType), 5, 0);
    g->addWidget(Y_Input_Int, 5, 1);
    g->addWidget(new QLabel("Z height", fraDataType), 6, 0);
    g->addWidget(Z_Input_Height, 6, 1);
    auto* l = gridIn(page);
    l->addWidget(fraDataType, 0, 0);
    l->setRowStretch(1, 1);
    return page;
}

QWidget* frmConversion::buildOtherTab() {
    auto* page = new QWidget(this);
    fraWrl = new QGroupBox("Convert to WRL options", page);
    optOutum = new QRadioButton("µm", fraWrl);
    optOutmm = new QRadioButton("mm", fraWrl);
    optOutAuto = new QRadioButton("Auto", fraWrl);
    group(fraWrl, {optOutum, optOutmm, optOutAuto});
    optOutAuto->setChecked(true);
    chkVantWRL = new QCheckBox("Vantorel wrl format", fraWrl);
    auto* w = new QVBoxLayout(fraWrl);
    for (QWidget* c : std::initializer_list<QWidget*>{optOutum, optOutmm, optOutAuto, chkVantWRL}) w->addWidget(c);

    fraPiczaCsv = new QGroupBox("Picza to CSV options", page);
    Option3 = new QRadioButton("Full CSV (all data pts)", fraPiczaCsv);
    Option4 = new QRadioButton("Part CSV (only Picza pts)", fraPiczaCsv);
    group(fraPiczaCsv, {Option3, Option4});
    Option3->setChecked(true);
    auto* p = new QVBoxLayout(fraPiczaCsv);
    p->addWidget(Option3);
    p->addWidget(Option4);

    fraGrdDat = new QGroupBox("GRD to DAT options", page);
    chkRemoveBPts = new QCheckBox("Remove blanked points", fraGrdDat);
    chkRemoveBPts->setChecked(true);
    chkRenameExt = new QCheckBox("Rename as", fraGrdDat);
    txtRenameExt = new QLineEdit(".txt", fraGrdDat);
    auto* d = gridIn(fraGrdDat);
    d->addWidget(chkRemoveBPts, 0, 0, 1, 2);
    d->addWidget(chkRenameExt, 1, 0);
    d->addWidget(txtRenameExt, 1, 1);

    auto* l = gridIn(page);
    l->addWidget(fraWrl, 0, 0, 2, 1);
    l->addWidget(fraPiczaCsv, 0, 1);
    l->addWidget(fraGrdDat, 1, 1);
    l->setRowStretch(2, 1);
    return page;
}

QWidget* frmConversion::buildUcTab() {
    auto* page = new QWidget(this);
    auto* fraPre = new QGroupBox("Point cloud pre-processing", page);
    chkRemoveUndercuts = new QCheckBox("Remove undercuts", fraPre);
    chkBlankOutline = new QCheckBox("Create blanking outline", fraPre);
    chkDefaultSet = new QCheckBox("Use default settings", fraPre);
    for (auto* c : {chkRemoveUndercuts, chkBlankOutline, chkDefaultSet}) c->setChecked(true);
    auto* pre = new QVBoxLayout(fraPre);
    for (auto* c : {chkRemoveUndercuts, chkBlankOutline, chkDefaultSet}) pre->addWidget(c);

    auto* fraUc = new QGroupBox("Remove undercuts settings", page);
    txtSearchRadius = new QLineEdit("0.020", fraUc);
    txtBinSize = new QLineEdit("0.030", fraUc);
    auto* fraMethod = new QGroupBox("Method", fraUc);
    optThresh = new QRadioButton("Threshold of height from max height", fraMethod);
    optProp = new QRadioButton("Proportion of max height in search area", fraMethod);
    group(fraMethod, {optThresh, optProp});
    optThresh->setChecked(true);
    txtThresh = new QLineEdit("0.05", fraMethod);
    txtProp = new QLineEdit("0.9", fraMethod);
    txtThresh->setMinimumWidth(70);
    txtProp->setMinimumWidth(70);
    auto* mg = gridIn(fraMethod);
    mg->addWidget(optThresh, 0, 0);
    mg->addWidget(txtThresh, 0, 1);
    mg->addWidget(optProp, 1, 0);
    mg->addWidget(txtProp, 1, 1);
    chkFindNeigh = new QCheckBox("Always find neighbour", fraUc);
    chkFindNeigh->setChecked(true);
    txtSearchRadiusInc = new QLineEdit("0.25", fraUc);
    chkWriteRej = new QCheckBox("Write rejected points to sep file", fraUc);
    chkWriteRej->setChecked(true);
    auto* ug = gridIn(fraUc);
    ug->addWidget(new QLabel("Primary search radius", fraUc), 0, 0);
    ug->addWidget(txtSearchRadius, 0, 1);
    ug->addWidget(new QLabel("Bin size", fraUc), 1, 0);
    ug->addWidget(txtBinSize, 1, 1);
    ug->addWidget(fraMethod, 2, 0, 1, 2);
    ug->addWidget(chkFindNeigh, 3, 0, 1, 2);
    ug->addWidget(new QLabel("Inc search radius by prop of radius", fraUc), 4, 0);
    ug->addWidget(txtSearchRadiusInc, 4, 1);
    ug->addWidget(chkWriteRej, 5, 0, 1, 2);

    auto* fraBln = new QGroupBox("Blanking outline settings", page);
    txtBlnBinSize = new QLineEdit("0.1", fraBln);
    txtBlnOffset = new QLineEdit("0.25", fraBln);
    chkBlankedAreaPts = new QCheckBox("Place in blanked area (*p file)", fraBln);
    chkBlankedAreaPts->setChecked(true);
    auto* bg = gridIn(fraBln);
    bg->addWidget(new QLabel("Bin size", fraBln), 0, 0);
    bg->addWidget(txtBlnBinSize, 0, 1);
    bg->addWidget(new QLabel("Offset factor", fraBln), 1, 0);
    bg->addWidget(txtBlnOffset, 1, 1);
    bg->addWidget(chkBlankedAreaPts, 2, 0, 1, 2);

    Frame13 = new QGroupBox("Processing progress", page);
    txtNoUCPts = readout(Frame13);
    txtNoUCPtsPrcd = readout(Frame13);
    pbarUCPtsPrcd = new QProgressBar(Frame13);
    pbarUCPtsPrcd->setRange(0, 1);
    pbarUCPtsPrcd->setValue(0);
    txtNoOutlinePts = readout(Frame13);
    auto* fg = gridIn(Frame13);
    fg->addWidget(new QLabel("Remove undercuts", Frame13), 0, 0);
    fg->addWidget(txtNoUCPts, 0, 1);
    fg->addWidget(txtNoUCPtsPrcd, 0, 2);
    fg->addWidget(pbarUCPtsPrcd, 1, 0, 1, 3);
    fg->addWidget(new QLabel("Create blanking outline", Frame13), 2, 0);
    fg->addWidget(txtNoOutlinePts, 2, 1);
    keepRoomWhenHidden(Frame13);
    Frame13->hide();

    auto* l = gridIn(page);
    l->addWidget(fraPre, 0, 0);
    l->addWidget(fraBln, 1, 0);
    l->addWidget(fraUc, 0, 1, 2, 1);
    l->addWidget(Frame13, 2, 0, 1, 2);
    l->setRowStretch(3, 1);
    return page;
}

QGroupBox* frmConversion::buildStatsFrame() {
    auto* box = new QGroupBox("File statistics", this);
    cmdExamineFile = new QPushButton("Examine", box);
    txtNoPts = readout(box);
    txtRXMin = readout(box);
    txtRXMax = readout(box);
    txtRYMin = readout(box);
    txtRYMax = readout(box);
    txtNoOutputPts = readout(box);
    txtRXInt = readout(box);
    txtRYInt = readout(box);
    auto* g = gridIn(box);
    g->addWidget(cmdExamineFile, 0, 0);
    g->addWidget(new QLabel("No. pts", box), 1, 0);
    g->addWidget(txtNoPts, 1, 1);
    g->addWidget(new QLabel("X range", box), 2, 0);
    g->addWidget(txtRXMin, 2, 1);
    g->addWidget(txtRXMax, 2, 2);
    g->addWidget(new QLabel("Y range", box), 3, 0);
    g->addWidget(txtRYMin, 3, 1);
    g->addWidget(txtRYMax, 3, 2);
    g->addWidget(new QLabel("X int", box), 4, 0);
    g->addWidget(txtRXInt, 4, 1);
    g->addWidget(new QLabel("Y int", box), 5, 0);
    g->addWidget(txtRYInt, 5, 1);
    g->addWidget(new QLabel("No. output pts", box), 6, 0);
    g->addWidget(txtNoOutputPts, 6, 1);
    return box;
}

QGroupBox* frmConversion::buildPlotFrame() {
    auto* box = new QGroupBox("Plot output", this);
    chkPlotSurfer = new QCheckBox("Plot in Surfer", box);
    chkPlotSurfer->setChecked(true);
    optRelief = new QRadioButton("Relief", box);
    optContour = new QRadioButton("Contour", box);
    optImage = new QRadioButton("Image", box);
    opt3DSurface = new QRadioButton("3D surface", box);
    group(box, {optRelief, optContour, optImage, opt3DSurface});
    optRelief->setChecked(true);
    chkLabelSurfer = new QCheckBox("Label", box);
    chkLabelSurfer->setChecked(true);
    auto* v = new QVBoxLayout(box);
    for (QWidget* c : std::initializer_list<QWidget*>{chkPlotSurfer, optRelief, optContour, optImage, opt3DSurface,
                                                      chkLabelSurfer})
        v->addWidget(c);
    return box;
}

} // namespace trelvik
