#include "guideexample.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>

#include "conversion/frmConversion.h"
#include "core/error.h"
#include "planes/frmPlaneFit.h"
#include "pointclouds/frmPtCloud.h"
#include "shell/frmStartup.h"
#include "surfer/application.h"
#include "surfer/plotmodel.h"
#include "surferwin/mapwindow.h"
#include "toothfeatures/frmAppAng.h"
#include "toothfeatures/frmCuspVol.h"
#include "widgets/dirlistbox.h"
#include "widgets/filelistbox.h"

namespace trelvik::guide {

namespace fs = std::filesystem;

// Four basins where the cusps' slopes meet: the buccal and lingual grooves and the
// mesial and distal ends of the central groove.
const std::vector<MapPoint> kPlanePoints = {{5, 6.6}, {5, 1.4}, {1.5, 4}, {8.5, 4}};
// An octagon of radius 1 about the paracone's tip (3.1, 5.5), round the cusp's foot.
const std::vector<MapPoint> kParaconeOutline = {{2.1, 5.5}, {2.4, 6.2}, {3.1, 6.5}, {3.8, 6.2},
                                                {4.1, 5.5}, {3.8, 4.8}, {3.1, 4.5}, {2.4, 4.8}};
// The paracone's tip, then the central fossa.
const std::vector<MapPoint> kOcclusalPoints = {{3.1, 5.5}, {5, 4}};
// From the paracone's tip along the crest to the notch before the metacone.
const std::vector<MapPoint> kCrestLine = {{3.1, 5.5}, {5, 5.55}};

namespace {

std::string inFolder(const Example& ex, const std::string& name) { return (fs::path(ex.folder) / name).string(); }

template <class W> W* openFromMenu(Example& ex, QAction* item, const char* name) {
    item->trigger();
    auto* w = qobject_cast<W*>(ex.main.windows().find(name));
    if (!w) throw Error(std::string("The window ") + name + " did not open from its menu.");
    return w;
}

void pick(FileListBox* list, const std::string& name) {
    list->refresh();
    if (!list->selectFile(QString::fromStdString(name)))
        throw Error("The file list does not show " + name + ".");
}

std::shared_ptr<surfer::MapFrame> flatMapOf(const std::shared_ptr<surfer::Application>& app, const std::string& grid) {
    if (app->openDocuments().empty()) return nullptr;
    auto plot = surfer::asPlot(app->ActiveDocument());
    if (!plot) return nullptr;
    for (const auto& m : plot->Shapes.maps())
        if (m->gridPath() == grid && m->mapKind() != surfer::MapKind::Surface) return m;
    return nullptr;
}

// The user's side of a "Digitise map" question: a relief map of the grid in the map
// window (added unless the plot shows one), Digitise on with an empty list, a click on
// every point, Save as `file` in the grid's folder, then OK.
void digitiseOnMap(Example& ex, const std::string& gridName, const std::vector<MapPoint>& points,
                   const std::string& file, const std::string& step) {
    ex.prompt.respond([&ex, gridName, points, file, step](const ScriptedPrompt::Shown&) {
        const auto all = surfer::instances();
        if (all.empty()) throw Error("No map window is open for the " + step + " step.");
        const auto app = all.back();
        surferwin::MapWindow* mw = surferwin::showMapWindow(app);
        mw->setPrompt(&ex.prompt);
        const std::string grid = inFolder(ex, gridName);
        auto map = flatMapOf(app, grid);
        if (!map) {
            mw->addMap(surfer::MapKind::Relief, grid);
            map = flatMapOf(app, grid);
        }
        mw->refresh();
        if (!map) throw Error("The map window shows no map of " + grid + ".");
        mw->setDigitiseMode(false);
        mw->clearPoints();
        mw->setDigitiseMode(true);
        for (std::size_t i = 0; i < points.size(); ++i) {
            const MapPoint p = ex.click ? ex.click(step, i, points[i]) : points[i];
            double px = 0, py = 0;
            map->mapToPage(p.x, p.y, px, py);
            mw->digitiseAt(QPointF(px, py));
        }
        mw->saveDigitiseTo(inFolder(ex, file));
        if (ex.atDigitise) ex.atDigitise(step);
        mw->setDigitiseMode(false);
        return Answer::Ok;
    });
}

} // namespace

void copySamples(const std::string& samplesFolder, const std::string& folder) {
    for (const auto& e : fs::directory_iterator(samplesFolder))
        if (e.is_regular_file())
            fs::copy_file(e.path(), fs::path(folder) / e.path().filename(), fs::copy_options::overwrite_existing);
}

frmPlaneFit* fitPlane(Example& ex) {
    auto* w = openFromMenu<frmPlaneFit>(ex, ex.main.mnuPlaneFit, "frmPlaneFit");
    w->DirC->click();
    pick(w->File1, "molar.grd");
    emit w->File1->clicked();
    w->Option1->setChecked(true);
    digitiseOnMap(ex, "molar.grd", kPlanePoints, "digit.dat", "plane");
    w->cmdPFit->click();
    return w;
}

frmCuspVol* measureCusp(Example& ex) {
    auto* w = openFromMenu<frmCuspVol>(ex, ex.main.mnuCuspVol, "frmCuspVol");
    w->Command2->click();
    pick(w->File3, "molar.grd");
    w->File3_Click();
    w->chkInputTLFile->setChecked(false);
    w->chkPlaneOpt->setChecked(false);
    w->Command3->click();
    w->Combo1->setCurrentText("Paracone");
    w->Combo1_Click();
    w->Text5->setText("0.1");
    w->Text10->setText("10");
    digitiseOnMap(ex, "molar.grd", kParaconeOutline, "digit.dat", "cusp");
    w->Command5->click();
    return w;
}

frmAppAng* measureCrest(Example& ex) {
    auto* w = openFromMenu<frmAppAng>(ex, ex.main.mnuAppAng, "frmAppAng");
    w->DirC->click();
    pick(w->File2, "molar.grd");
    w->File2_Click();
    w->Combo1->setCurrentText("Postparacrista");
    w->Combo1_Click();
    w->optTribo->setChecked(true);
    digitiseOnMap(ex, "molar.grd", kOcclusalPoints, "digit.dat", "occlusal");
    w->cmdOccVect->click();
    digitiseOnMap(ex, "molar.grd", kCrestLine, "digit1.dat", "crest");
    w->cmdDigCrestLength->click();
    return w;
}

frmConversion* gridPoints(Example& ex) {
    auto* w = openFromMenu<frmConversion>(ex, ex.main.mnuConversion, "frmConversion");
    w->Command3->click();
    w->cmbFromFileType->setCurrentText("Text file (irregular, e.g. Vava) (*.txt)");
    w->cmbFromFileType_Click();
    w->cmbToFileType->setCurrentText("Surfer grid file (*.grd)");
    pick(w->File1, "molar_points.txt");
    w->File1_Click();
    w->optInterval->setChecked(true);
    w->txtXInt->setText("0.1");
    w->cmdAddFilename->click();
    w->cmdExamineFile->click();
    w->cmdConvert->click();
    return w;
}

frmPtCloud* measureEnamel(Example& ex) {
    auto* w = openFromMenu<frmPtCloud>(ex, ex.main.mnuPtCloud, "frmPtCloud");
    w->DirC->click();
    for (const char* name : {"molar_points.txt", "molar_edj.txt"}) {
        pick(w->File2, name);
        w->File2_Click();
        w->cmdAddFilename->click();
    }
    w->cmdEnamThickCalc->click();
    return w;
}

} // namespace trelvik::guide
