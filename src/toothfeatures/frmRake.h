#pragma once
// "Rake angle": the occlusal-vector step, the cusp area blanked, turned onto the
// occlusal vector and gridded again ("Digitise cusp area and trans", or "Input trans
// grid" for a grid made earlier), then "Find rake angle" for one rake line after another
// (toothfeatures/rakestep.h, rakeslice.h). The transformed grid is plotted through the
// Surfer Functions window, loaded but not shown, with its "Above" preset.
#include "toothfeatures/frmCrestSelect.h"
#include "toothfeatures/rakestep.h"

#include <functional>

class QCheckBox;
class QGroupBox;
class QRadioButton;

namespace trelvik {

class frmSurfFns;

class frmRake : public CrestSelectWindow {
    Q_OBJECT
public:
    // surfFns loads (without showing) the run's Surfer Functions window.
    frmRake(AppState& state, Prompt& prompt, std::function<frmSurfFns*()> surfFns, QWidget* parent = nullptr);

    QLabel *Label6, *Label11, *Label4, *Label7, *Label9, *Label10, *Label12;
    QPushButton *cmdDigCuspArea, *cmdInputTransGrid, *cmdSlice, *cmdNextGrid, *cmdExit;
    QCheckBox *Check1, *chkInputLengthFile;
    QLineEdit *Text3, *Text4, *txtInputLengthFile;
    QGroupBox *fraRakeSurface, *fraCrestInfo;
    QRadioButton *optLengthF, *optLengthM, *optLengthB;
    QLineEdit *txtRakeLengthF, *txtRakeIntF, *txtRakeLengthM, *txtRakeIntM;
    QRadioButton *Option1, *optCrestInfo1, *optCrestInfo2;
    QLineEdit* txtCrestInfo;
    QComboBox* cmbCrestInfo;

    const toothfeatures::RakeState& rakeState() const { return rake_; }

    void cmdOccVect_Click();
    void cmdDigCuspArea_Click();
    void cmdInputTransGrid_Click();
    void Check1_Click();
    void cmdSlice_Click();
    void cmdNextGrid_Click();
    void cmdExit_Click();

private:
    QWidget* buildSteps();
    QGroupBox* buildRakeSurface();
    QGroupBox* buildCrestInfo();
    void plotTransGrid(const std::string& grid, int plotType);

    std::function<frmSurfFns*()> surfFns_;
    toothfeatures::RakeState rake_;
};

} // namespace trelvik
