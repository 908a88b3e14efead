// Wiring of the patch-count, batch, filter, rotation, output, multi-tooth and
// tooth-count controls to their handlers.
#include "csvview/frmCSVView.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace trelvik::csvview {

void frmCSVView::connectLaterHandlers() {
    const auto click = [this](QPushButton* b, void (frmCSVView::*handler)()) {
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    // patch count and folder batches
    click(cmdProcClump, &frmCSVView::cmdProcClump_Click);
    click(cmdProcClumpAllFiles, &frmCSVView::cmdProcClumpAllFiles_Click);
    click(cmdProcAspectSlopeAllFiles, &frmCSVView::cmdProcAspectSlopeAllFiles_Click);
    click(cmdProcContourAllFiles, &frmCSVView::cmdProcContourAllFiles_Click);
    click(cmdCalcSAVolStatsAllFiles, &frmCSVView::cmdCalcSAVolStatsAllFiles_Click);
    // The run name follows every setting that enters it.
    for (QCheckBox* c : {chkUseMinSlope, chkVoidHoriz})
        connect(c, &QCheckBox::toggled, this, [this] { UpdateClumpNameID(); });
    for (QRadioButton* o : {optClumpAspectSlope, optClumpContour, optContourScaleR, optContourScaleZ})
        connect(o, &QRadioButton::toggled, this, [this] { UpdateClumpNameID(); });
    for (QLineEdit* e : {txtAspectNoCat, txtContourScaleR, txtContourScaleZ, txtMinClumpSize, txtMinSlope})
        connect(e, &QLineEdit::textChanged, this, [this] { UpdateClumpNameID(); });

    // filters and image output
    click(cmdILaPlacian, &frmCSVView::cmdILaPlacian_Click);
    click(cmdIProc2, &frmCSVView::cmdIProc2_Click);
    click(cmdIProc3, &frmCSVView::cmdIProc3_Click);
    click(cmdImageOutput, &frmCSVView::cmdImageOutput_Click);
    click(cmdImageProcOutput, &frmCSVView::cmdImageProcOutput_Click);

    // rotation, mirroring, CSV and VRML output
    click(cmdRotateCW, &frmCSVView::cmdRotateCW_Click);
    click(cmdRotateACW, &frmCSVView::cmdRotateACW_Click);
    click(cmdRotate180, &frmCSVView::cmdRotate180_Click);
    click(cmdMirrorHoriz, &frmCSVView::cmdMirrorHoriz_Click);
    click(cmdMirrorVert, &frmCSVView::cmdMirrorVert_Click);
    click(cmdOutputCSV, &frmCSVView::cmdOutputCSV_Click);
    click(cmdCopyWRL, &frmCSVView::cmdCopyWRL_Click);

    // multi-tooth files
    click(cmdReadMultiCSV, &frmCSVView::cmdReadMultiCSV_Click);
    click(cmdViewMultiCSV, &frmCSVView::cmdViewMultiCSV_Click);
    connect(sldToothNo, &QSlider::valueChanged, this, [this] { sldToothNo_Change(); });
    connect(chkZScaleAllT, &QCheckBox::clicked, this, [this] { chkZScaleAllT_Click(); });
    connect(txtViewTeethStart, &QLineEdit::textEdited, this, [this] { optViewTeethSubset->setChecked(true); });
    connect(txtViewTeethEnd, &QLineEdit::textEdited, this, [this] { optViewTeethSubset->setChecked(true); });
    click(cmdOutputSingleCSV, &frmCSVView::cmdOutputSingleCSV_Click);
    click(cmdOutputSingleTIF, &frmCSVView::cmdOutputSingleTIF_Click);
    click(cmdOutputSingleWRL, &frmCSVView::cmdOutputSingleWRL_Click);
    click(cmdOutputMultiCSV, &frmCSVView::cmdOutputMultiCSV_Click);

    // per-tooth statistics and tooth counts
    connect(chkCSSAVolRat, &QCheckBox::clicked, this, [this] { chkCSSAVolRat_Click(); });
    click(cmdCalcStatsAll, &frmCSVView::cmdCalcStatsAll_Click);
    click(cmdCSSort, &frmCSVView::cmdCSSort_Click);
    click(cmdCTFiles, &frmCSVView::cmdCTFiles_Click);
    click(cmdCTFExtract, &frmCSVView::cmdCTFExtract_Click);
}

} // namespace trelvik::csvview
