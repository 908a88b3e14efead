// Handlers of the viewer window: reading, drawing, copying between views, read-outs
// and the surface analyses. Each reads its controls, calls the plain computations
// and shows what comes back.
#include "csvview/frmCSVView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <exception>

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "csvview/contourbands.h"
#include "csvview/frmCSVView_picture.h"
#include "csvview/latticeread.h"
#include "csvview/outputnames.h"
#include "csvview/renderprocessed.h"
#include "csvview/slopestats.h"
#include "csvview/surfacearea.h"
#include "csvview/viewreadout.h"
#include "shell/frmDefDir.h"
#include "shell/settings.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"

namespace trelvik::csvview {

namespace {

std::string textOf(const QLineEdit* e) { return e->text().toStdString(); }
double valOf(const QLineEdit* e) { return text::Val(textOf(e)); }

void setReadout(const ReadoutTexts& t, QLabel* x, QLabel* y, QLabel* z, QLabel* xr, QLabel* yr, QLabel* zr) {
    x->setText(QString::fromStdString(t.column));
    y->setText(QString::fromStdString(t.row));
    z->setText(QString::fromStdString(t.level));
    xr->setText(QString::fromStdString(t.x));
    yr->setText(QString::fromStdString(t.y));
    zr->setText(QString::fromStdString(t.z));
}

// A box as the copy lists name it, and the grid it holds (none for a number outside them).
std::string viewName(int box) {
    return box == kBoxWorking ? "W" : box == kBoxProcessed ? "P" : std::to_string(box);
}
const LatticeGrid* boxGrid(const ViewerViews& v, int box) {
    if (box == kBoxWorking) return &v.working;
    if (box == kBoxProcessed) return &v.processed;
    if (box < 1 || box > kResultViews) return nullptr;
    return &v.results[static_cast<std::size_t>(box - 1)];
}

// Clears a flag however the scope is left.
struct FlagScope {
    bool& flag;
    explicit FlagScope(bool& f) : flag(f) { flag = true; }
    ~FlagScope() { flag = false; }
};

} // namespace

SlopeChoice frmCSVView::slopeChoice() const {
    if (optProcAspect->isChecked()) return SlopeChoice::Aspect;
    if (optProcAngular->isChecked()) return SlopeChoice::Angular;
    if (optProcShadRel->isChecked()) return SlopeChoice::ShadedRelief;
    return SlopeChoice::Slope;
}

bool frmCSVView::namesUsable(std::initializer_list<const QLineEdit*> boxes) {
    for (const QLineEdit* b : boxes)
        if (!CheckNameText(textOf(b), "Filename", prompt_)) return false;
    return true;
}

void frmCSVView::sayNoGridRead() {
    refuse(prompt_, "", "No grid has been read: choose a lattice file and press \"Read CSV\".");
}

SizeOption frmCSVView::sizeOption() const {
    return optDefaultGridSize->isChecked()   ? SizeOption::Default
           : optMinGridSize1->isChecked()    ? SizeOption::MinimumPlus1
           : optOtherGridSize->isChecked()   ? SizeOption::Other
                                             : SizeOption::Minimum;
}

SlopeOptions frmCSVView::slopeOptions() const {
    SlopeOptions o;
    o.choice = slopeChoice();
    slopeFlags(o.choice, o);
    o.useMinSlope = chkUseMinSlope->isChecked();
    o.minSlope = valOf(txtMinSlope);
    o.slopeNoCat = valOf(txtSlopeNoCat);
    o.aspectNoCat = valOf(txtAspectNoCat);
    o.saveStats = chkAspectSlopeSaveStats->isChecked();
    o.saveData = chkAspectSlopeSaveData->isChecked();
    return o;
}

RunContext frmCSVView::runContext() const {
    RunContext c;
    c.folder = CurrentGrid_.folder;
    c.baseName = CurrentGrid_.baseName;
    c.allFilesRunning = AllFilesRunning;
    c.allFilesStarted = AllFilesStarted;
    return c;
}

// ---- showing the views

void frmCSVView::showCurrentView() { picBoxD->showImage(views_.current.image); }
void frmCSVView::showWorkingView() { picBoxW->showImage(views_.workingView.image); }
void frmCSVView::showProcessedView() { picBoxP->showImage(views_.processedView.image); }
void frmCSVView::showResultView(int view) {
    picBoxI[static_cast<std::size_t>(view - 1)]->showImage(views_.resultViews[static_cast<std::size_t>(view - 1)].image);
}
void frmCSVView::showAllViews() {
    showCurrentView();
    showWorkingView();
    showProcessedView();
    for (int k = 1; k <= kResultViews; ++k) showResultView(k);
}

// ---- file choice

void frmCSVView::Command3_Click() {
    guarded([&] { ShowDefaultDir(state_, files_); });
}

void frmCSVView::Drive1_Change() { files_.driveChanged(); }

void frmCSVView::Dir1_Change() { files_.folderChanged(); }

void frmCSVView::File1_Click() {
    files_.fileClicked();
    if (chkViewOnClick->isChecked()) cmdReadCSV_Click();
}

void frmCSVView::cmdReadCSV_Click() {
    guarded([&] {
        BusyScope busy(prompt_);
        ReadCsvOptions o;
        o.folder = File1->path().toStdString();
        o.fileName = textOf(Text1);
        o.originalModel = chkOrigModelFile->isChecked();
        o.size = sizeOption();
        const ReadCsvOutcome out = ReadCsvGrid(o, CurrentGrid_, GridPoints_, prompt_);
        if (!out.done) return;
        clearReadouts();
        cmdViewCSV_Click();
        cmdICopy_Click();
        if (out.pointsOutside > 0)
            prompt_.message("Read CSV", std::to_string(out.pointsOutside) +
                                            " point(s) lie outside the 24 x 24 grid and were left out");
    });
}

// ---- current view

void frmCSVView::cmdViewCSV_Click() {
    if (CurrentGrid_.empty()) return sayNoGridRead();
    BusyScope busy(prompt_);
    views_.drawCurrent(CurrentGrid_, CurrentViewOptions{chkThresholdB->isChecked(), valOf(txtThresholdB)});
    showCurrentView();
    // A batch reads file after file; the 3-D view would only slow it down.
    if (!AllFilesRunning) cmdCopyWRL_Click();
}

void frmCSVView::clearReadouts() {
    for (QLabel* l : {lblX_D, lblY_D, lblZ_D, lblXR_D, lblYR_D, lblZR_D, lblX_W, lblY_W, lblZ_W, lblXR_W, lblYR_W,
                      lblZR_W, lblX_P, lblY_P, lblZ_P, lblXR_P, lblYR_P, lblZR_P})
        l->clear();
}

void frmCSVView::ClearPicBox() {
    views_.clearCurrent(CurrentGrid_);
    showCurrentView();
}

// ---- working, processed and result views

void frmCSVView::cmdICopy_Click() {
    if (CurrentGrid_.empty()) return sayNoGridRead();
    BusyScope busy(prompt_);
    if (views_.copyCurrentToWorking(CurrentGrid_)) showAllViews();
}

void frmCSVView::DrawGridToPicBoxW() {
    BusyScope busy(prompt_);
    views_.drawWorking();
    showWorkingView();
}

void frmCSVView::ViewICSV(int view, int source) {
    if (view < 1 || view > kResultViews) return;
    BusyScope busy(prompt_);
    views_.viewResult(view, source);
    showResultView(view);
}

void frmCSVView::DisplayResultsIPicBox(int layer, int view) {
    if (view < 1 || view > kResultViews) return;
    views_.showLabelLayer(layer, view);
    showResultView(view);
}

void frmCSVView::cmdCopyPicBox_Click() {
    if (views_.working.empty()) return sayNoGridRead();
    const std::string fromText = cmbPicBoxCopyFrom->currentText().toStdString();
    const std::string toText = cmbPicBoxCopyTo->currentText().toStdString();
    const int from = ViewerViews::boxNumber(fromText);
    const int to = ViewerViews::boxNumber(toText);
    // Every copy that would change nothing says why.
    const LatticeGrid* source = boxGrid(views_, from);
    const auto noView = [&](const std::string& typed, const char* way) {
        refuse(prompt_, "", "Nothing is copied: there is no view \"" + typed + "\" to copy " + way +
                                "; the views are W, P and 1 to 4.");
    };
    if (!source)
        noView(fromText, "from");
    else if (from == to)
        refuse(prompt_, "", "Nothing is copied: \"From\" and \"To\" both name view " + viewName(from) + ".");
    else if (to == kBoxProcessed)
        refuse(prompt_, "", "Nothing is copied: view P shows what a filter made and takes no copy.");
    else if (!boxGrid(views_, to))
        noView(toText, "to");
    else if (source->empty())
        refuse(prompt_, "", "Nothing is copied: view " + viewName(from) + " holds no grid yet.");
    else
        CopyPicBoxProc(from, to);
}

void frmCSVView::CopyPicBoxProc(int from, int to) {
    if (!views_.copyBox(from, to)) return;
    if (to == kBoxWorking)
        showWorkingView();
    else
        showResultView(to);
}

// ---- read-outs

void frmCSVView::picBoxD_MouseMove(int x, int y) {
    const DrawnTables& t = views_.currentPicture.tables;
    if (!views_.gridViewDrawn || t.cols != CurrentGrid_.cols || t.rows != CurrentGrid_.rows || t.cols == 0) return;
    const CellUnderPointer c = cellUnderPointer(x, y, views_.current.picture, t.cols, t.rows);
    setReadout(readoutTexts(CurrentGrid_, c, t.greyAt(c.column, c.pictureRow)), lblX_D, lblY_D, lblZ_D, lblXR_D,
               lblYR_D, lblZR_D);
}

void frmCSVView::picBoxW_MouseMove(int x, int y) {
    const DrawnTables& t = views_.workingPicture.tables;
    const LatticeGrid& g = views_.working;
    if (!views_.workingView.drawn || t.cols != g.cols || t.rows != g.rows || t.cols == 0) return;
    const CellUnderPointer c = cellUnderPointer(x, y, views_.workingView.picture, g.cols, g.rows);
    setReadout(readoutTexts(g, c, t.greyAt(c.column, c.pictureRow)), lblX_W, lblY_W, lblZ_W, lblXR_W, lblYR_W,
               lblZR_W);
}

void frmCSVView::picBoxP_MouseMove(int x, int y) {
    const ProcessedPicture& p = views_.processedPicture;
    const LatticeGrid& g = views_.processed;
    if (!views_.processedView.drawn || p.cols != g.cols || p.rows != g.rows || p.cols == 0) return;
    const CellUnderPointer c = cellUnderPointer(x, y, views_.processedView.picture, g.cols, g.rows);
    setReadout(readoutTexts(g, c, p.levelAt(c.column, c.pictureRow)), lblX_P, lblY_P, lblZ_P, lblXR_P, lblYR_P,
               lblZR_P);
}

// ---- analyses

void frmCSVView::cmdProcAspectSlope_Click() {
    if (views_.working.empty()) return sayNoGridRead();
    if (!namesUsable({txtSlopeNoCat, txtAspectNoCat, txtMinSlope})) return;
    guarded([&] {
        BusyScope busy(prompt_);
        FlagScope running(SlopeRunning_);
        const SlopeOptions o = slopeOptions();
        ProcMode_ = procModeName(o.choice);
        slopeGrids_ = computeSlopeGrids(views_.working, CurrentGrid_.xstep, CurrentGrid_.ystep, o);
        views_.setProcessed(slopeGrids_.processed);
        // The grids stand even when a results file cannot be written: draw them,
        // then report the failure. The tables and the picture go in place together.
        StagedFiles files;
        std::string failure;
        try {
            writeSlopeOutputs(slopeGrids_, o, runContext(), state_, prompt_, &files);
        } catch (const std::exception& e) {
            failure = e.what();
        }
        SlopeResultsReady_ = true;
        bool pictureSaved = true;
        try {
            DrawProcessedGrid(&files);
        } catch (const std::exception& e) {
            prompt_.message("", e.what());
            pictureSaved = false;
        }
        if (!failure.empty()) prompt_.message("", failure);
        else if (pictureSaved) files.commit();
    });
}

void frmCSVView::DrawProcessedGrid(StagedFiles* files) {
    ProcessedRenderInput in;
    in.slope = &slopeGrids_.slope;
    in.orient = &slopeGrids_.orient;
    in.shadeSlope = &slopeGrids_.shadeSlope;
    in.procMode = ProcMode_;
    in.slopeResultsReady = SlopeResultsReady_;
    in.shade = ShadeSettings{valOf(txtSRHoriz), valOf(txtSRVert), valOf(txtSRb), valOf(txtSRw)};
    in.useMinSlope = chkUseMinSlope->isChecked();
    in.minSlope = valOf(txtMinSlope);
    in.aspectNoCat = valOf(txtAspectNoCat);
    views_.drawProcessed(in);

    ProcessedImageNaming n;
    n.stem = CurrentGrid_.stem;
    n.slopeRunning = SlopeRunning_;
    n.saveSlopeImage = chkAspectSlopeSaveImage->isChecked();
    n.aspectChosen = optProcAspect->isChecked();
    n.slopeChosen = optProcSlope->isChecked();
    n.aspectNoCatText = textOf(txtAspectNoCat);
    n.slopeNoCatText = textOf(txtSlopeNoCat);
    n.useMinSlope = chkUseMinSlope->isChecked();
    n.minSlopeText = textOf(txtMinSlope);
    n.contourRun = ContourRun_;
    n.saveContourImage = chkContourSaveImage->isChecked();
    n.contourByXy = optContourScaleZ->isChecked();
    n.contourByRange = optContourScaleR->isChecked();
    n.contourFactorText = textOf(txtContourScaleZ);
    n.contourRangeText = textOf(txtContourScaleR);
    std::string failure;
    if (const auto name = processedImageName(n)) {
        try {
            if (files) files->naming([&] { writeBitmap(views_.buffer, files->work(*name)); });
            else writeBitmap(views_.buffer, *name);
            lastBitmap_ = *name;
        } catch (const std::exception& e) {
            if (files) failure = e.what();
            else prompt_.message("", e.what());  // the picture is shown all the same
        }
    }
    showProcessedView();
    if (!failure.empty()) throw Error(failure);
}

void frmCSVView::cmdProcContour_Click() {
    if (views_.working.empty()) return sayNoGridRead();
    if (!namesUsable({txtContourScaleZ, txtContourScaleR})) return;
    guarded([&] {
        BusyScope busy(prompt_);
        ContourOptions o;
        o.scaleByXyInterval = optContourScaleZ->isChecked();
        o.scaleByRange = optContourScaleR->isChecked();
        o.factor = valOf(txtContourScaleZ);
        o.bandCount = valOf(txtContourScaleR);
        LatticeGrid bands;
        const bool ok = ContourBands(views_.working, CurrentGrid_.xstep, CurrentGrid_.zmin, CurrentGrid_.zmax, o,
                                     bands, prompt_);
        views_.setProcessed(std::move(bands));
        if (!ok) return;  // refused: the processed grid stays cleared, nothing drawn
        ProcMode_ = "Contour";
        SlopeResultsReady_ = false;
        // Only the banding's own drawing saves under the contour image's name.
        FlagScope contour(ContourRun_);
        DrawProcessedGrid();
    });
}

void frmCSVView::cmdShannonInfo_Click() {
    if (views_.working.empty()) return sayNoGridRead();
    guarded([&] {
        BusyScope busy(prompt_);
        HeightDiversity h = ShannonHeight(views_.working, CurrentGrid_.xstep, views_.working.zmin);
        views_.setProcessed(std::move(h.processed));
        slopeGrids_.shadeSlope = LatticeGrid(views_.working.cols, views_.working.rows);
        // No counted cell (a grid of two rows or columns, or an empty interior): no index.
        lblShannonInfo->setText(h.hasValue ? QString::fromStdString(text::CStr(text::Round(h.index, 4))) : "-");
    });
}

void frmCSVView::cmdCalcSAVolStats_Click() {
    if (views_.working.empty()) return sayNoGridRead();
    guarded([&] {
        BusyScope busy(prompt_);
        const double dx = CurrentGrid_.xstep, dy = CurrentGrid_.ystep, base = CurrentGrid_.zmin;
        const SurfaceMeasures m = measureSurface(views_.working, dx, dy, base);
        const SurfaceTexts t = surfaceTexts(m);
        txtSA->setText(QString::fromStdString(t.sa));
        txtPA->setText(QString::fromStdString(t.pa));
        txtRI->setText(QString::fromStdString(t.ri));
        txtVol->setText(QString::fromStdString(t.vol));
        txtSAVolRat->setText(QString::fromStdString(t.saVolRatio));
        // The labels stand even when the results files cannot be written.
        if (chkSAVolSaveStats->isChecked()) writeSAVolStats(m, runContext());
    });
}

void frmCSVView::cmdExit_Click() { close(); }

} // namespace trelvik::csvview
