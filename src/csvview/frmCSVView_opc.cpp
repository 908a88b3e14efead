// Handlers of the patch count ("OPC (Clumping)") and the four "All files" buttons of
// the folder batch.
#include "csvview/frmCSVView.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include "core/commit/commit.h"
#include "core/error.h"
#include "core/fileroutines.h"
#include "core/textform.h"
#include "csvview/batchrun.h"
#include "csvview/opccount.h"
#include "csvview/surfacearea.h"
#include "widgets/filelistbox.h"
#include "widgets/qtprogress.h"

namespace trelvik::csvview {

namespace {

std::string textOf(const QLineEdit* e) { return e->text().toStdString(); }

// Clears a flag however the scope is left.
struct FlagScope {
    bool& flag;
    explicit FlagScope(bool& f) : flag(f) { flag = true; }
    ~FlagScope() { flag = false; }
};

OpcSettings opcSettingsOf(const frmCSVView& w) {
    OpcSettings s;
    s.source = w.optClumpContour->isChecked()       ? ClumpSource::Contour
               : w.optClumpCurrentView->isChecked() ? ClumpSource::CurrentView
                                                    : ClumpSource::AspectSlope;
    s.aspectNoCat = textOf(w.txtAspectNoCat);
    s.minClumpSize = textOf(w.txtMinClumpSize);
    s.opcr = w.chkOPCR->isChecked();
    s.noOpcRot = textOf(w.txtNoOPCRot);
    s.voidHoriz = w.chkVoidHoriz->isChecked();
    s.useMinSlope = w.chkUseMinSlope->isChecked();
    s.minSlope = textOf(w.txtMinSlope);
    s.contourByRange = w.optContourScaleR->isChecked();
    s.contourScaleZ = textOf(w.txtContourScaleZ);
    s.contourScaleR = textOf(w.txtContourScaleR);
    s.singleResultsFile = w.chkClumpSingResFile->isChecked();
    s.saveImage = w.chkClumpSaveImage->isChecked();
    return s;
}

ContourOptions contourOptionsOf(const frmCSVView& w) {
    ContourOptions o;
    o.scaleByXyInterval = w.optContourScaleZ->isChecked();
    o.scaleByRange = w.optContourScaleR->isChecked();
    o.factor = text::Val(textOf(w.txtContourScaleZ));
    o.bandCount = text::Val(textOf(w.txtContourScaleR));
    return o;
}

} // namespace

void frmCSVView::UpdateClumpNameID() {
    if (const auto name = csvview::UpdateClumpNameID(opcSettingsOf(*this)))
        lblClumpNameID->setText(QString::fromStdString(*name));
}

void frmCSVView::showOpcResult(const OpcResult& r, StagedFiles* files) {
    lblNoClumps->setText(QString::fromStdString(r.noClumpsText));
    lblPDClumped->setText(QString::fromStdString(r.pdClumpedText));
    views_.setProcessed(r.processed());
    // A picture that cannot join the run's files is reported once the views are shown.
    std::string failure;
    if (r.slope) {
        slopeGrids_ = r.slope->grids;
        ProcMode_ = "Aspect";
        SlopeResultsReady_ = true;
        // Drawn as a patch-count source, not as a slope run: the slope tab's image
        // (named by the slope tab's choice) belongs to the slope run alone.
        DrawProcessedGrid();
    } else {
        ProcMode_ = "Contour";
        SlopeResultsReady_ = false;
        FlagScope contour(ContourRun_);
        try {
            DrawProcessedGrid(files);
        } catch (const std::exception& e) {
            failure = e.what();
        }
    }
    const LatticeGrid& src = r.processed();
    auto& layers = views_.labelLayers;
    layers[0] = labelLayer(src, r.classes);
    layers[1] = labelLayer(src, r.labels.provisional);
    // The exact labelling merges in one step; the four pass layers all hold its result.
    for (std::size_t k = 2; k <= 5; ++k) layers[k] = labelLayer(src, r.labels.component);
    layers[6] = labelLayer(src, r.labels.patch);
    DisplayResultsIPicBox(1, 1);
    DisplayResultsIPicBox(2, 2);
    DisplayResultsIPicBox(5, 3);
    DisplayResultsIPicBox(7, 4);
    if (!failure.empty()) throw Error(failure);
}

void frmCSVView::cmdProcClump_Click() {
    if (views_.working.empty()) return sayNoGridRead();
    if (!namesUsable({txtAspectNoCat, txtMinClumpSize, txtMinSlope, txtContourScaleZ, txtContourScaleR})) return;
    guarded([&] {
        QtProgress progress;
        OpcInput in;
        in.working = &views_.working;
        in.xstep = CurrentGrid_.xstep;
        in.ystep = CurrentGrid_.ystep;
        in.zmin = CurrentGrid_.zmin;
        in.zmax = CurrentGrid_.zmax;
        in.slopeTab = slopeOptions();
        in.ctx = RunContext{CurrentGrid_.folder, CurrentGrid_.baseName, false, false};
        // The run's files and the picture drawn of it go in place together.
        StagedFiles files;
        const OpcResult r = ProcClump(opcSettingsOf(*this), in, state_, prompt_, progress, &files);
        if (!r.done) return;
        showOpcResult(r, &files);
        files.commit();
    });
}

// ---- folder batches

void frmCSVView::showBatchFile(const BatchFileResult& f, AllFilesMode mode) {
    Text1->setText(QString::fromStdString(f.fileName));
    CurrentGrid_ = f.grid;
    GridPoints_ = f.points;
    clearReadouts();
    cmdViewCSV_Click();
    views_.copyCurrentToWorking(CurrentGrid_);
    showAllViews();
    switch (mode) {
    case AllFilesMode::Clump:
        if (f.opc) showOpcResult(*f.opc, f.files);
        break;
    case AllFilesMode::AspectSlope:
        if (f.slope) {
            slopeGrids_ = f.slope->grids;
            views_.setProcessed(slopeGrids_.processed);
            ProcMode_ = procModeName(slopeChoice());
            SlopeResultsReady_ = true;
            FlagScope running(SlopeRunning_);
            DrawProcessedGrid(f.files);
        }
        break;
    case AllFilesMode::Contour:
        if (f.bands) {
            views_.setProcessed(*f.bands);
            ProcMode_ = "Contour";
            SlopeResultsReady_ = false;
            FlagScope contour(ContourRun_);
            DrawProcessedGrid();
        }
        break;
    case AllFilesMode::CalcStats:
        if (f.surface) {
            const SurfaceTexts t = surfaceTexts(*f.surface);
            txtSA->setText(QString::fromStdString(t.sa));
            txtPA->setText(QString::fromStdString(t.pa));
            txtRI->setText(QString::fromStdString(t.ri));
            txtVol->setText(QString::fromStdString(t.vol));
            txtSAVolRat->setText(QString::fromStdString(t.saVolRatio));
        }
        break;
    }
}

void frmCSVView::ProcessAllFiles(AllFilesMode mode) {
    switch (mode) {
    case AllFilesMode::Clump:
        if (!namesUsable({txtAspectNoCat, txtMinClumpSize, txtMinSlope, txtContourScaleZ, txtContourScaleR})) return;
        break;
    case AllFilesMode::AspectSlope:
        if (!namesUsable({txtSlopeNoCat, txtAspectNoCat, txtMinSlope})) return;
        break;
    case AllFilesMode::Contour:
        if (!namesUsable({txtContourScaleZ, txtContourScaleR})) return;
        break;
    case AllFilesMode::CalcStats:
        break;
    }
    guarded([&] {
        BusyScope busy(prompt_);
        FlagScope running(AllFilesRunning);
        QtProgress progress;
        BatchOptions o;
        o.folder = File1->path().toStdString();
        o.mode = mode;
        o.originalModel = chkOrigModelFile->isChecked();
        o.size = sizeOption();
        o.previousSizeMode = CurrentGrid_.sizeMode;
        o.slope = slopeOptions();
        o.opc = opcSettingsOf(*this);
        o.contour = contourOptionsOf(*this);
        o.saveSAVolStats = chkSAVolSaveStats->isChecked();
        const auto shown = [&](const BatchFileResult& f) {
            AllFilesStarted = true;
            showBatchFile(f, mode);
        };
        ::trelvik::csvview::ProcessAllFiles(o, state_, prompt_, progress, shown);
        AllFilesStarted = false;
    });
    AllFilesStarted = false;
}

void frmCSVView::cmdProcClumpAllFiles_Click() { ProcessAllFiles(AllFilesMode::Clump); }
void frmCSVView::cmdProcAspectSlopeAllFiles_Click() { ProcessAllFiles(AllFilesMode::AspectSlope); }
void frmCSVView::cmdProcContourAllFiles_Click() { ProcessAllFiles(AllFilesMode::Contour); }
void frmCSVView::cmdCalcSAVolStatsAllFiles_Click() { ProcessAllFiles(AllFilesMode::CalcStats); }

} // namespace trelvik::csvview
