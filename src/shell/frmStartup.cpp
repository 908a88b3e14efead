#include "shell/frmStartup.h"
#include "shell/startsurfer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "core/error.h"
#include "shell/frmAbout.h"
#include "shell/frmDefDir.h"
#include "shell/settings.h"
#include "widgets/clicklabel.h"

namespace trelvik {

namespace {

QFrame* makeLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// File > New closes the windows whose work is tied to one tooth at a time.
const char* const kNewUnloads[] = {"frmCurvature", "frmCuspVol", "frmLandFind", "frmPlaneFit",
                                   "frmRake"};

} // namespace

frmStartup::frmStartup(AppState& state, Prompt& prompt, QWidget* parent)
    : QMainWindow(parent), state_(state), prompt_(prompt) {
    setWindowTitle("The Trelvik");
    buildMenus();
    buildTopics();

    setWindowFactory("frmAbout", [] { return new frmAbout; });
    setWindowFactory("frmDefDir", [this] { return new frmDefDir(state_, prompt_); });

    Form_Load();
}

frmStartup::~frmStartup() = default;

QAction* frmStartup::toolItem(QMenu* menu, const QString& caption, const QString& window) {
    QAction* item = menu->addAction(caption);
    menuWindows_.insert(item, window);
    item->setEnabled(false);
    connect(item, &QAction::triggered, this, [this, window] { windows_.show(window); });
    return item;
}

void frmStartup::buildMenus() {
    QMenuBar* bar = menuBar();

    mnuFile = bar->addMenu("&File");
    mnuNew = mnuFile->addAction("&New");
    mnuDefDir = toolItem(mnuFile, "&Set default directory", "frmDefDir");
    mnuSurfVers = mnuFile->addMenu("Surfer &version");
    mnuSurf6 = mnuSurfVers->addAction("Surfer6");
    mnuSurf8 = mnuSurfVers->addAction("Surfer8");
    mnuSurf6->setCheckable(true);
    mnuSurf8->setCheckable(true);
    mnuSurf8->setChecked(true);
    // Exactly one version is ticked at any time; the handlers tick one and untick the
    // other (an exclusive group would draw radio bullets instead of ticks).
    mnuStartSurfer = mnuFile->addAction("S&tart Surfer");
    mnuExit = mnuFile->addAction("E&xit");

    mnuUtilities = bar->addMenu("&Utilities");
    mnuConversion = toolItem(mnuUtilities, "&File format conversion", "frmConversion");
    mnuSurfFns = toolItem(mnuUtilities, "&Surfer Functions", "frmSurfFns");
    mnuCSVView = toolItem(mnuUtilities, "&CSV viewer", "frmCSVView");
    mnuPtCloud = toolItem(mnuUtilities, "&Point clouds", "frmPtCloud");

    mnuToothFeat = bar->addMenu("&Tooth features");
    mnuAppAng = toolItem(mnuToothFeat, "&Approach angle", "frmAppAng");
    mnuCapture = toolItem(mnuToothFeat, "&Capture area", "frmCapture");
    mnuCurvSlice = toolItem(mnuToothFeat, "C&urvature", "frmCurvature");
    mnuCuspOR = toolItem(mnuToothFeat, "Cusp &occlusion relief", "frmCuspOR");
    mnuCuspVol = toolItem(mnuToothFeat, "Cusp &volume", "frmCuspVol");
    mnuRake = toolItem(mnuToothFeat, "&Rake angle", "frmRake");

    mnuOutlines = bar->addMenu("&Outlines");
    mnuEnamel = toolItem(mnuOutlines, "Enamel ridge outlines", "frmEnamOut");
    mnuPlane = bar->addMenu("&Plane");
    mnuPlaneFit = toolItem(mnuPlane, "&Plane fit", "frmPlaneFit");
    mnuTransform = bar->addMenu("Trans&form");
    mnuRotate = toolItem(mnuTransform, "&Rotate", "frmRotateAll");
    mnuLandmarks = bar->addMenu("&Landmarks");
    mnuLandFind = toolItem(mnuLandmarks, "&Land find", "frmLandFind");
    mnuHelp = bar->addMenu("&Help");
    mnuAbout = toolItem(mnuHelp, "&About", "frmAbout");

    connect(mnuNew, &QAction::triggered, this, &frmStartup::mnuNew_Click);
    connect(mnuSurf6, &QAction::triggered, this, &frmStartup::mnuSurf6_Click);
    connect(mnuSurf8, &QAction::triggered, this, &frmStartup::mnuSurf8_Click);
    connect(mnuExit, &QAction::triggered, this, &frmStartup::mnuExit_Click);
    connect(mnuStartSurfer, &QAction::triggered, this, &frmStartup::mnuStartSurfer_Click);
}

void frmStartup::mnuStartSurfer_Click() {
    try {
        StartSurfer(state_);
    } catch (const std::exception& e) {
        prompt_.message("", e.what());
    }
}

void frmStartup::buildTopics() {
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);

    Label2 = new ClickLabel("Click on name for a description:", central);
    lblConversion = new ClickLabel("Conversion", central);
    lblTooth = new ClickLabel("Tooth features", central);
    lblPlane = new ClickLabel("Plane", central);
    lblLandmark = new ClickLabel("Landmark", central);
    lblOutlines = new ClickLabel("Outlines", central);
    lblTransform = new ClickLabel("Transform", central);
    topics_ = {lblConversion, lblTooth, lblPlane, lblLandmark, lblOutlines, lblTransform};
    Label1 = new QLabel("Description:", central);
    lblDescrip = new QLabel(central);
    lblDescrip->setWordWrap(true);
    lblDescrip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDescrip->setMinimumHeight(3 * lblDescrip->fontMetrics().lineSpacing());
    chkSurferPID = new QCheckBox("Use Surfer PID", central);
    txtSurferPID = new QLineEdit(central);
    Line1 = makeLine(central);
    Line2 = makeLine(central);
    Line3 = makeLine(central);
    Line4 = makeLine(central);

    QFont topicFont = lblConversion->font();
    topicFont.setBold(true);
    grid->addWidget(Label2, 0, 0, 1, 3);
    grid->addWidget(Line1, 1, 0, 1, 3);
    for (size_t i = 0; i < topics_.size(); ++i) {
        topics_[i]->setFont(topicFont);
        grid->addWidget(topics_[i], 2 + static_cast<int>(i) / 3, static_cast<int>(i) % 3);
        connect(topics_[i], &ClickLabel::clicked, this, [this, i] { showTopic(topics_[i]); });
    }
    grid->addWidget(Line2, 4, 0, 1, 3);
    grid->addWidget(Label1, 5, 0, 1, 3);
    grid->addWidget(lblDescrip, 6, 0, 1, 3);
    grid->addWidget(Line3, 7, 0, 1, 3);
    grid->addWidget(chkSurferPID, 8, 0);
    grid->addWidget(txtSurferPID, 8, 1, 1, 2);
    grid->addWidget(Line4, 9, 0, 1, 3);
    grid->setRowStretch(6, 1);
    setCentralWidget(central);
    resize(580, 320);

    ResetDescriptionLabels();
    connect(Label2, &ClickLabel::clicked, this, &frmStartup::Label2_Click);
    // The report capture reads these through AppState.
    state_.chkSurferPID = false;
    state_.txtSurferPID.clear();
    connect(chkSurferPID, &QCheckBox::toggled, this, [this](bool on) { state_.chkSurferPID = on; });
    connect(txtSurferPID, &QLineEdit::textChanged, this,
            [this](const QString& t) { state_.txtSurferPID = t.toStdString(); });
}

void frmStartup::setWindowFactory(const QString& windowName, WindowRegistry::Factory make) {
    windows_.add(windowName, std::move(make));
    for (auto it = menuWindows_.cbegin(); it != menuWindows_.cend(); ++it)
        if (it.value() == windowName) const_cast<QAction*>(it.key())->setEnabled(true);
}

void frmStartup::Form_Load() {
    // The settings were read before the window was built (LoadSettingsAtStartup): the
    // exact tokens "SurferV6"/"SurferV8" have set the ticks, any other text has left
    // the design tick (Surfer8) and stays in SurferVersion until GetSurferProgID.
    const bool six = state_.mnuSurf6Checked;
    mnuSurf6->setChecked(six);
    mnuSurf8->setChecked(!six);
    state_.mnuSurf6Checked = six;
    state_.mnuSurf8Checked = !six;
}

QString frmStartup::descriptionOf(const QString& topic) {
    static const QHash<QString, QString> texts = {
        {"Conversion",
         "Converts files between formats, e.g. comma-delimited files (*.csv), Surfer grid "
         "(*.grd), tiff text files (*.txt) and VRML files (*.wrl)."},
        {"Landmark",
         "Captures landmark data from teeth in Surfer and performs translations and measures "
         "of variance and accuracy."},
        {"Outlines",
         "Traces the enamel outlines from teeth in Surfer and translates them for use in the "
         "contact-analysis program."},
        {"Plane",
         "Fits planes to points on teeth and allows comparison between plane surface and "
         "tooth surface."},
        {"Tooth features",
         "Allows the calculation of several important functional features by interfacing "
         "with Surfer."},
        {"Transform", "Performs some transformations on topographic data not carried out in Surfer."},
    };
    return texts.value(topic);
}

void frmStartup::ResetDescriptionLabels() {
    const QColor buttonText = QApplication::palette().color(QPalette::ButtonText);
    for (ClickLabel* l : topics_) l->setTextColor(buttonText);
}

void frmStartup::showTopic(ClickLabel* label) {
    ResetDescriptionLabels();
    label->setTextColor(QColor(255, 0, 0));
    lblDescrip->setText(descriptionOf(label->text()));
}

void frmStartup::Label2_Click() {
    ResetDescriptionLabels();
    lblDescrip->setText(QString());
}

void frmStartup::mnuNew_Click() {
    for (const char* name : kNewUnloads) windows_.unload(name);
}

void frmStartup::chooseVersion(bool six) {
    mnuSurf6->setChecked(six);
    mnuSurf8->setChecked(!six);
    state_.mnuSurf6Checked = six;
    state_.mnuSurf8Checked = !six;
    state_.SurferVersion = six ? "SurferV6" : "SurferV8";
    try {
        SaveSurferVersion(state_);
    } catch (const Error& e) {
        prompt_.message("", e.what());
    }
}

void frmStartup::mnuSurf6_Click() {
    chooseVersion(true);
}

void frmStartup::mnuSurf8_Click() {
    chooseVersion(false);
}

void frmStartup::mnuExit_Click() {
    // Ends the run at once: nothing is asked or saved.
    QCoreApplication::quit();
}

void frmStartup::closeEvent(QCloseEvent* e) {
    // The main window is the only way to reach the tool windows; closing it ends the run
    // the same way as Exit.
    e->accept();
    QCoreApplication::quit();
}

} // namespace trelvik
