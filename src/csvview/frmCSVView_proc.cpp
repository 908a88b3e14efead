// Handlers of the "Proc" frame (filters and image output), the rotation and mirror
// buttons, "Output CSV" and the VRML view of the current grid.
#include "csvview/frmCSVView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

#include "core/textform.h"
#include "csvview/csvoutput.h"
#include "csvview/csvoutputvrml.h"
#include "csvview/frmVrmlView.h"
#include "csvview/imagefilters.h"
#include "csvview/outputnames.h"
#include "csvview/rotatemirror.h"

namespace trelvik::csvview {

namespace {

std::string textOf(const QLineEdit* e) { return e->text().toStdString(); }

ThresholdRule ruleOf(const QRadioButton* na, const QRadioButton* abs, const QRadioButton* prop) {
    if (na->isChecked()) return ThresholdRule::NA;
    if (prop->isChecked()) return ThresholdRule::Prop;
    if (abs->isChecked()) return ThresholdRule::Abs;
    return ThresholdRule::None;
}

// Reads the "Diff b/w cusps" and "Min cusp detect" frames, in that order, into the
// window's kept thresholds; a frame with no option selected keeps its values.
template <class Kept>
void readCuspThresholds(const frmCSVView& w, double zmax, Kept& hmin, Kept& hdiff) {
    const auto read = [zmax](ThresholdRule rule, const QLineEdit* absBox, const QLineEdit* propBox, Kept& kept) {
        const CuspThreshold t = readCuspThreshold(rule, textOf(absBox), textOf(propBox), zmax,
                                                  CuspThreshold{kept.value, kept.proportion, kept.absolute});
        kept = {t.value, t.proportion, t.absolute};
    };
    read(ruleOf(w.optCDiffNA, w.optCDiffAbs, w.optCDiffProp), w.txtCDiffAbs, w.txtCDiffProp, hdiff);
    read(ruleOf(w.optCMinNA, w.optCMinAbs, w.optCMinProp), w.txtCMinAbs, w.txtCMinProp, hmin);
}

// A filter's result is an image of heights, not a slope-analysis grid: it is drawn in
// grey whatever analysis ran before, never through that analysis' colour rule.
constexpr const char* kFilterMode = "Filter";

} // namespace

void frmCSVView::cmdILaPlacian_Click() {
    if (views_.working.empty()) return sayNoGridRead();
    guarded([&] {
        BusyScope busy(prompt_);
        views_.setProcessed(LaplacianFilter(views_.working));
        ProcMode_ = kFilterMode;
        SlopeResultsReady_ = false;
        DrawProcessedGrid();
    });
}

void frmCSVView::cmdIProc2_Click() {
    if (views_.working.empty()) return sayNoGridRead();
    guarded([&] {
        const int k = kernelSizeFromText(cmbKernelSize->currentText().toStdString());
        readCuspThresholds(*this, views_.working.zmax, hmin_, hdiff_);
        views_.setProcessed(LocalMaxFilter(views_.working, k, hmin_.value, hdiff_.value));
        ProcMode_ = kFilterMode;
        SlopeResultsReady_ = false;
        DrawProcessedGrid();
    });
}

void frmCSVView::cmdIProc3_Click() {
    if (views_.working.empty()) return sayNoGridRead();
    guarded([&] {
        BusyScope busy(prompt_);
        readCuspThresholds(*this, views_.working.zmax, hmin_, hdiff_);
        Proc3Result r = ClearedProcessed(views_.working);
        views_.setProcessed(std::move(r.processed));
        if (r.clearProcessedView) {
            // The view must not keep showing a result the processed grid no longer holds.
            views_.processedView.image = RgbImage(kWorkingViewSide, kWorkingViewSide, kClearColour);
            views_.processedView.picture = PictureSize{kWorkingViewSide, kWorkingViewSide};
            views_.processedView.drawn = false;
            views_.processedPicture = ProcessedPicture();
            showProcessedView();
        }
    });
}

void frmCSVView::cmdImageOutput_Click() {
    if (views_.working.empty()) return sayNoGridRead();
    guarded([&] {
        BusyScope busy(prompt_);
        DrawGridToPicBoxW();
        const std::string name = imageOutputName(CurrentGrid_.stem);
        writeBitmap(views_.buffer, name);
        lastBitmap_ = name;
    });
}

void frmCSVView::cmdImageProcOutput_Click() {
    const std::string addText = textOf(txtImageProcExportAddText);
    if (!CheckNameText(addText, "Filename", prompt_)) return;
    if (views_.buffer.empty() || CurrentGrid_.stem.empty()) return sayNoGridRead();  // nothing drawn yet
    guarded([&] {
        BusyScope busy(prompt_);
        const std::string name = processedImageOutputName(CurrentGrid_.stem, addText);
        writeBitmap(views_.buffer, name);
        lastBitmap_ = name;
    });
}

// ---- rotation and mirroring: the current grid only; the working grid takes it at
// the next "Copy".

void frmCSVView::turnCurrent(bool (*turn)(CurrentGrid&)) {
    if (CurrentGrid_.empty()) return sayNoGridRead();
    guarded([&] {
        if (turn(CurrentGrid_) && views_.gridViewDrawn) cmdViewCSV_Click();
    });
}

void frmCSVView::cmdRotateCW_Click() { turnCurrent(RotateCW); }
void frmCSVView::cmdRotateACW_Click() { turnCurrent(RotateACW); }
void frmCSVView::cmdRotate180_Click() { turnCurrent(Rotate180); }
void frmCSVView::cmdMirrorHoriz_Click() { turnCurrent(MirrorHoriz); }
void frmCSVView::cmdMirrorVert_Click() { turnCurrent(MirrorVert); }

// ---- CSV and VRML output of the current grid

void frmCSVView::cmdOutputCSV_Click() {
    if (CurrentGrid_.empty()) return sayNoGridRead();
    guarded([&] {
        if (!showSaveFile("")) return;
        BusyScope busy(prompt_);
        OutputCurrentGridCsv(CurrentGrid_, state_.SaveFilePath);
    });
}

void frmCSVView::cmdCopyWRL_Click() {
    if (CurrentGrid_.empty()) return sayNoGridRead();
    guarded([&] {
        BusyScope busy(prompt_);
        const std::string path = WriteTempWrl(CurrentGrid_);
        if (ViewerEnabled) Cortona1->loadFile(path);
    });
}

} // namespace trelvik::csvview
