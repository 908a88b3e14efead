// Takes the pictures of docs/guide.md: every window reachable from the menus, put to
// work on a copy of samples/ (the guide's worked example for the windows it uses, each
// picture taken right after its own step), as PNG files in the output folder. Each
// window is raised and taken only once it is the active window; one that never becomes
// active fails the run, naming the picture. Needs a real display with a window manager,
// so that the pictures show the windows' frames: scripts/screenshots runs it on a
// virtual one.
//
// Usage: trelvik_screenshots <output folder> <samples folder>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QPair>
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

// The colours of a box of the median cut: each with its pixel count.
struct ColourBox {
    QList<QPair<QRgb, int>> colours;
    long weight() const {
        long n = 0;
        for (const auto& c : colours) n += c.second;
        return n;
    }
    // The channel (0 red, 1 green, 2 blue) over which the box spreads most, and by how much.
    QPair<int, int> widest() const {
        int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
        for (const auto& c : colours) {
            const int v[3] = {qRed(c.first), qGreen(c.first), qBlue(c.first)};
            for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], v[k]), hi[k] = std::max(hi[k], v[k]);
        }
        int best = 0;
        for (int k = 1; k < 3; ++k)
            if (hi[k] - lo[k] > hi[best] - lo[best]) best = k;
        return {best, hi[best] - lo[best]};
    }
    QRgb mean() const {
        double r = 0, g = 0, b = 0, n = 0;
        for (const auto& c : colours) {
            r += qRed(c.first) * double(c.second);
            g += qGreen(c.first) * double(c.second);
            b += qBlue(c.first) * double(c.second);
            n += c.second;
        }
        return qRgb(int(r / n + 0.5), int(g / n + 0.5), int(b / n + 0.5));
    }
};

int channel(QRgb c, int k) { return k == 0 ? qRed(c) : k == 1 ? qGreen(c) : qBlue(c); }

// Palettes of the pictures: few colours keep the files small. The windows' flat colours
// and the text on them are the commonest, kept exact; greys carry the shaded maps; the
// coloured maps (the 3-D views coloured by height) get a median cut of their own.
constexpr qsizetype kExact = 48;
constexpr int kGreys = 16;
constexpr qsizetype kColours = 128;
// A colour whose channels differ by no more than this is taken for a grey.
constexpr int kGreyish = 12;

// The picture's own colours when it has no more than 256, else the kExact commonest,
// kGreys greys and a median cut of the remaining coloured pixels, kColours in all.
QList<QRgb> paletteFor(const QImage& image) {
    QHash<QRgb, int> count;
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) ++count[line[x] | 0xFF000000u];
    }
    QList<QRgb> colours = count.keys();
    if (colours.size() <= 256) return colours;
    std::sort(colours.begin(), colours.end(), [&](QRgb a, QRgb b) { return count[a] > count[b]; });
    QList<ColourBox> boxes(1);
    for (qsizetype i = kExact; i < colours.size(); ++i) {
        const QRgb c = colours[i];
        const int spread = std::max({qRed(c), qGreen(c), qBlue(c)}) - std::min({qRed(c), qGreen(c), qBlue(c)});
        if (spread > kGreyish) boxes[0].colours.push_back({c, count[c]});
    }
    colours.resize(kExact);
    for (int k = 0; k < kGreys; ++k) {
        const int g = k * 255 / (kGreys - 1);
        colours.push_back(qRgb(g, g, g));
    }
    // Splits the heaviest box that still spreads, at the weighted median of its widest channel.
    while (colours.size() + boxes.size() < kColours) {
        qsizetype pick = -1;
        for (qsizetype i = 0; i < boxes.size(); ++i)
            if (boxes[i].colours.size() > 1 && boxes[i].widest().second > 0 &&
                (pick < 0 || boxes[i].weight() > boxes[pick].weight()))
                pick = i;
        if (pick < 0) break;
        ColourBox& box = boxes[pick];
        const int k = box.widest().first;
        std::sort(box.colours.begin(), box.colours.end(),
                  [k](const auto& a, const auto& b) { return channel(a.first, k) < channel(b.first, k); });
        const long half = box.weight() / 2;
        long seen = 0;
        qsizetype cut = 0;
        while (cut < box.colours.size() - 1 && seen + box.colours[cut].second <= half) seen += box.colours[cut++].second;
        if (cut == 0) cut = 1;
        ColourBox upper;
        upper.colours = box.colours.mid(cut);
        box.colours.resize(cut);
        boxes.push_back(upper);
    }
    for (const ColourBox& b : boxes)
        if (!b.colours.isEmpty()) colours.push_back(b.mean());
    return colours;
}

// Waits up to `ms` for `w` to be the active window, as the window manager reports the
// focus to the application; asks again for it every half second.
bool becameActive(QWidget* w, int ms) {
    QElapsedTimer t;
    t.start();
    qint64 asked = 0;
    while (QApplication::activeWindow() != w && t.elapsed() < ms) {
        if (t.elapsed() - asked >= 500) {
            w->raise();
            w->activateWindow();
            asked = t.elapsed();
        }
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return QApplication::activeWindow() == w;
}

QString titleOf(const QWidget* w) { return w ? "\"" + w->windowTitle() + "\"" : QString("no window"); }

// Shows only `w` among the top-level windows, at the top left of the screen, raises and
// activates it, and saves its picture (frame included) as name.png with a palette of at
// most 256 colours, once it is the active window before and after the grab: a window
// that comes up by itself meanwhile (the map window, when a step has drawn into it)
// would otherwise stand in the picture. A window that never becomes active fails the
// run, naming the picture; its old picture stays.
void shoot(QWidget* w, const QString& name) {
    if (!w) {
        std::fprintf(stderr, "picture %s: no window to take\n", qPrintable(name));
        ++failures;
        return;
    }
    // What the last step drew shows its map window now, not in the middle of the picture.
    settle(400);
    for (int attempt = 0; attempt < 3; ++attempt) {
        for (QWidget* other : QApplication::topLevelWidgets())
            if (other != w && other->isVisible()) other->hide();
        w->show();
        w->raise();
        w->activateWindow();
        settle(300);
        // Moved once framed, so that the frame (not the inside) comes to the corner.
        w->move(0, 0);
        settle(600);
        if (!becameActive(w, 5000)) continue;
        const QRect r = w->frameGeometry();
        QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
        const QImage shot = screen->grabWindow(0, r.x(), r.y(), r.width(), r.height()).toImage();
        QApplication::processEvents();
        if (QApplication::activeWindow() != w) continue;
        const QImage small = shot.convertToFormat(QImage::Format_Indexed8, paletteFor(shot), Qt::ThresholdDither);
        const QString path = outFolder + "/" + name + ".png";
        if (!small.save(path, "PNG", 0)) {
            std::fprintf(stderr, "picture %s: could not write %s\n", qPrintable(name), qPrintable(path));
            ++failures;
        }
        return;
    }
    std::fprintf(stderr, "picture %s: the window %s never became the active window (active: %s); not taken\n",
                 qPrintable(name), qPrintable(titleOf(w)), qPrintable(titleOf(QApplication::activeWindow())));
    ++failures;
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

    // The worked example, each picture right after its own step, so that the lists show
    // only the files of the steps before.
    guide::Example ex{main, prompt, work.string(), {}};
    ex.atDigitise = [](const std::string& step) {
        if (step != "cusp") return;
        QWidget* map = mapWindow();
        if (map) map->resize(1000, 640);  // its first size is taller than the screen
        shoot(map, "mapwindow");
    };
    shoot(guide::fitPlane(ex), "planefit");
    shoot(guide::measureCusp(ex), "cuspvol");
    shoot(guide::measureCrest(ex), "appang");
    frmConversion* conversion = guide::gridPoints(ex);
    if (conversion) conversion->tabOptions->setCurrentIndex(3);  // "UC and blank": the counts of the run
    shoot(conversion, "conversion");
    shoot(guide::measureEnamel(ex), "ptcloud");

    // The windows the example does not use, in menu order.
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
    QWidget* capture = openOnSampleGrid(main, main.mnuCapture, "frmCapture");
    chooseCrest(capture, "Postparacrista");
    shoot(capture, "capture");
    shoot(openOnSampleGrid(main, main.mnuCurvSlice, "frmCurvature"), "curvature");
    shoot(openOnSampleGrid(main, main.mnuCuspOR, "frmCuspOR"), "cuspor");
    QWidget* rake = openOnSampleGrid(main, main.mnuRake, "frmRake");
    chooseCrest(rake, "Postparacrista");
    shoot(rake, "rake");
    auto* enamel = qobject_cast<frmEnamOut*>(openOnSampleGrid(main, main.mnuEnamel, "frmEnamOut"));
    if (enamel) {
        enamel->cmdInputTopo->click();
        enamel->cmdInputPlane->click();
    }
    shoot(enamel, "enamout");
    shoot(openOnSampleGrid(main, main.mnuRotate, "frmRotateAll"), "rotate");
    shoot(openOnSampleGrid(main, main.mnuLandFind, "frmLandFind"), "landfind");
    shoot(openWindow(main, main.mnuAbout, "frmAbout"), "about");

    // The digitise questions and the map window's question before it replaces the
    // digit.dat of an earlier step are the example's own; anything else went wrong.
    for (const auto& m : prompt.shown)
        if (m.title != "Digitise map" && m.text.find("already exists. Replace it?") == std::string::npos)
            std::fprintf(stderr, "message: [%s] %s\n", m.title.c_str(), m.text.c_str());
    fs::remove_all(work.parent_path());
    return failures == 0 ? 0 : 1;
}
