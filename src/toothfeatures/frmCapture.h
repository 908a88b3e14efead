#pragma once
// "Find capture area enclosed by crest": the occlusal-vector step, "Delimit top of
// capture area" and then "Digitise crest" for one crest after another against that top
// (toothfeatures/capturestep.h).
#include "toothfeatures/capturestep.h"
#include "toothfeatures/frmCrestSelect.h"

#include <optional>

namespace trelvik {

class frmCapture : public CrestSelectWindow {
    Q_OBJECT
public:
    frmCapture(AppState& state, Prompt& prompt, QWidget* parent = nullptr);

    QLabel *Label6, *Label7;
    QPushButton *cmdDigCBound, *cmdDigCrestLength, *cmdNextCrest, *cmdNextGrid, *cmdExit;

    const toothfeatures::OcclusalState& occlusal() const { return occ_; }
    const std::optional<toothfeatures::CaptureTop>& captureTop() const { return CaptureTopPoints; }

    void cmdOccVect_Click();
    void cmdDigCBound_Click();
    void cmdDigCrestLength_Click();
    void cmdNextCrest_Click();
    void cmdNextGrid_Click();
    void cmdExit_Click();

private:
    toothfeatures::CaptureRequest request() const;
    toothfeatures::OcclusalState occ_;
    std::optional<toothfeatures::CaptureTop> CaptureTopPoints;
};

} // namespace trelvik
