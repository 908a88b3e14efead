// Takes the pictures of docs/guide.md: every window reachable from the menus, put to
// work on a copy of samples/ (the guide's worked example for the windows it uses), as
// PNG files in the output folder. Needs a real display with a window manager, so that
// the pictures show the windows' frames: scripts/screenshots runs it on a virtual one.
//
// Usage: trelvik_screenshots <output folder> <samples folder>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QHash>
#include <QList>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/toolwindows.h"
#include "core/appstate.h"
#include "core/prompt.h"
#include "conversion/frmConversion.h"
#include "csvview/frmCSVView.h"
#include "guideexample.h"
#include "planes/frmEnamOut.h"
#include "planes/frmPlaneFit.h"
#include "pointclouds/frmPtCloud.h"
#include "shell/frmStartup.h"
#include "surfer/application.h"
#include "surferfns/frmSurfFns.h"
#include "surferwin/mapwindow.h"
#include "toothfeatures/frmAppAng.h"
#include "toothfeatures/frmCrestSelect.h"
#include "toothfeatures/frmCuspVol.h"
#include "widgets/clicklabel.h"
#include "widgets/filelistbox.h"

using namespace trelvik;
namespace fs = std::filesystem;

namespace {

QString outFolder;
int failures = 0;

// Lets the window manager map, frame and place what was shown, and the windows paint.
void settle(int ms = 400) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
}

// A palette of at most 256 colours: the picture's own colours when it has no more, else
// its 48 commonest (the window's flat colours) and 16 greys (for the shaded maps).
QList<QRgb> paletteFor(const QImage& image) {
    QHash<QRgb, int> count;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) ++count[line[x]];
    }
    QList<QRgb> colours = count.keys();
    if (colours.size() <= 256) return colours;
    std::sort(colours.begin(), colours.end(), [&](QRgb a, QRgb b) { return count[a] > count[b]; });
    colours.resize(48);
    for (int k = 0; k < 16; ++k) {
        const int g = k * 255 / 15;
        colours.push_back(qRgb(g, g, g));
    }
    return colours;
}

// Shows only `w` among the top-level windows, at the top left of the screen, and saves
// its picture (frame included) as name.png with a palette of at most 256 colours.
void shoot(QWidget* w, const QString& name) {
    if (!w) {
        std::fprintf(stderr, "no window for %s\n", qPrintable(name));
        ++failures;
        return;
    }
    for (QWidget* other : QApplication::topLevelWidgets())
        if (other != w && other->isVisible()) other->hide();
    w->show();
    w->raise();
    w->activateWindow();
    settle(300);
    // Moved once framed, so that the frame (not the inside) comes to the corner.
    w->move(0, 0);
    settle(600);
    const QRect r = w->frameGeometry();
    QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    const QImage shot = screen->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage();
    const QImage small = shot.convertToFormat(QImage::Format_Indexed8, paletteFor(shot), Qt::ThresholdDither);
    const QString path = outFolder + "/" + name + ".png";
    if (!small.save(path, "PNG", 0)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        ++failures;
    }
}

// "Dir" pressed and the sample grid picked in every grid list of a window, as the user
// begins in each tool window.
void pickSampleGrid(QWidget* w) {
    for (QPushButton* b : w->findChildren<QPushButton*>())
        if (b->text() == "Dir") b->click();
    for (FileListBox* list : w->findChildren<FileListBox*>()) {
        list->refresh();
        if (list->selectFile("molar.grd")) emit list->clicked();
    }
}

QWidget* openWindow(frmStartup& main, QAction* item, const char* name) {
    item->trigger();
    settle(100);
    return main.windows().find(name);
}

// A tool window opened from its menu and begun on the sample grid; null if it did not open.
QWidget* openOnSampleGrid(frmStartup& main, QAction* item, const char* name) {
    QWidget* w = openWindow(main, item, name);
    if (w) pickSampleGrid(w);
    return w;
}

void chooseCrest(QWidget* w, const char* crest) {
    if (auto* c = qobject_cast<CrestSelectWindow*>(w)) {
        c->Combo1->setCurrentText(crest);
        c->Combo1_Click();
    }
}

QWidget* mapWindow() {
    const auto all = surfer::instances();
    return all.empty() ? nullptr : surferwin::findMapWindow(all.back()->processId());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <output folder> <samples folder>\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Trelvik");
    outFolder = QDir(argv[1]).absolutePath();
    QDir().mkpath(outFolder);

    // The example's folder: a fresh copy of the samples under a plain name.
    const fs::path work = fs::path(QDir::tempPath().toStdString()) / "trelvik-guide" / "molar";
    fs::remove_all(work.parent_path());
    fs::create_directories(work);
    guide::copySamples(argv[2], work.string());

    AppState state;
    state.ProgramDir = state.DefaultDir = work.string();
    state.mnuSurf6Checked = false;
    state.mnuSurf8Checked = true;
    state.SurferVersion = "SurferV8";
    ScriptedPrompt prompt;
    surferwin::watchVisibleInstances();

    frmStartup main(state, prompt);
    registerToolWindows(main, state, prompt);
    main.show();
    emit main.lblTooth->clicked();
    shoot(&main, "main");

    shoot(openWindow(main, main.mnuDefDir, "frmDefDir"), "defdir");

    guide::Example ex{main, prompt, work.string(), {}};
    ex.atDigitise = [](const std::string& step) {
        if (step != "cusp") return;
        QWidget* map = mapWindow();
        if (map) map->resize(1000, 640);  // its first size is taller than the screen
        shoot(map, "mapwindow");
    };

    // Utilities.
    frmConversion* conversion = guide::gridPoints(ex);
    if (conversion) conversion->tabOptions->setCurrentIndex(3);  // "UC and blank": the counts of the run
    shoot(conversion, "conversion");
    QWidget* fns = openOnSampleGrid(main, main.mnuSurfFns, "frmSurfFns");
    if (auto* f = qobject_cast<frmSurfFns*>(fns)) f->cmdAddFilename->click();
    shoot(fns, "surffns");
    auto* csv = qobject_cast<csvview::frmCSVView*>(openWindow(main, main.mnuCSVView, "frmCSVView"));
    if (csv) {
        csv->Command3->click();
        csv->Text1->setText("molar.csv");
        csv->cmdReadCSV->click();
        csv->optProcShadRel->setChecked(true);
        csv->cmdProcAspectSlope->click();
        csv->cmdCalcSAVolStats->click();
    }
    shoot(csv, "csvview");
    shoot(guide::measureEnamel(ex), "ptcloud");

    // The plane first: the tooth features read it.
    QWidget* planeFit = guide::fitPlane(ex);

    // Tooth features.
    shoot(guide::measureCrest(ex), "appang");
    QWidget* capture = openOnSampleGrid(main, main.mnuCapture, "frmCapture");
    chooseCrest(capture, "Postparacrista");
    shoot(capture, "capture");
    shoot(openOnSampleGrid(main, main.mnuCurvSlice, "frmCurvature"), "curvature");
    shoot(openOnSampleGrid(main, main.mnuCuspOR, "frmCuspOR"), "cuspor");
    shoot(guide::measureCusp(ex), "cuspvol");
    QWidget* rake = openOnSampleGrid(main, main.mnuRake, "frmRake");
    chooseCrest(rake, "Postparacrista");
    shoot(rake, "rake");

    // Outlines, Plane, Transform, Landmarks, Help.
    auto* enamel = qobject_cast<frmEnamOut*>(openOnSampleGrid(main, main.mnuEnamel, "frmEnamOut"));
    if (enamel) {
        enamel->cmdInputTopo->click();
        enamel->cmdInputPlane->click();
    }
    shoot(enamel, "enamout");
    shoot(planeFit, "planefit");
    shoot(openOnSampleGrid(main, main.mnuRotate, "frmRotateAll"), "rotate");
    shoot(openOnSampleGrid(main, main.mnuLandFind, "frmLandFind"), "landfind");
    shoot(openWindow(main, main.mnuAbout, "frmAbout"), "about");

    for (const auto& m : prompt.shown)
        if (m.title != "Digitise map") std::fprintf(stderr, "message: [%s] %s\n", m.title.c_str(), m.text.c_str());
    fs::remove_all(work.parent_path());
    return failures == 0 ? 0 : 1;
}
