#pragma once
// "Approach angle of crest": the occlusal-vector step, then "Digitise crest and
// translate", which slices the crest, turns it onto the occlusal vector and writes its
// approach angles (toothfeatures/appangstep.h). "Next crest" and "Next grid" clear the
// crest code (and the grid name) for the next measurement; a crest measured again under
// its name replaces its table, and the status line says so.
#include "toothfeatures/frmCrestSelect.h"
#include "toothfeatures/occvectstep.h"

namespace trelvik {

class frmAppAng : public CrestSelectWindow {
    Q_OBJECT
public:
    frmAppAng(AppState& state, Prompt& prompt, QWidget* parent = nullptr);

    QLabel* Label6;
    QPushButton *cmdDigCrestLength, *cmdNextCrest, *cmdNextGrid, *cmdExit;

    // The occlusal-vector state the measuring step reads.
    const toothfeatures::OcclusalState& occlusal() const { return occ_; }

    void cmdOccVect_Click();
    void cmdDigCrestLength_Click();
    void cmdNextCrest_Click();
    void cmdNextGrid_Click();
    void cmdExit_Click();

private:
    toothfeatures::OcclusalState occ_;
};

} // namespace trelvik
