#pragma once
// "Fit plane": fits a plane to points digitised on a tooth grid and writes the plane
// grid and its formula file beside the grid; "Find occlusal vector" builds the plane
// through the facet plane's normal and two cusp tips. The handlers read the controls
// into a PlaneFitForm and run the procedures of planefit.h; the window state lives in a
// PlaneFitState that starts afresh with each window. The intersection grid is plotted
// through the plot function given (the Surfer Functions window's PlotSurfer).
#include <QWidget>

#include "core/appstate.h"
#include "core/prompt.h"
#include "widgets/filechooser.h"
#include "widgets/windowprompt.h"
#include "planes/planefit.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace trelvik {

class DirListBox;
class WindowRegistry;
class DriveListBox;
class FileListBox;

class frmPlaneFit : public QWidget {
    Q_OBJECT
public:
    frmPlaneFit(AppState& state, Prompt& prompt, planes::PlotGridFn plot = {}, QWidget* parent = nullptr);

    // PlotSurfer of the Surfer Functions window of this registry, loaded (not shown)
    // when it is not loaded yet.
    static planes::PlotGridFn plotThroughSurfFns(WindowRegistry& windows);

    planes::PlaneFitState& state() { return fit_; }
    planes::PlaneFitForm form() const;

    DriveListBox* Drive1;
    DirListBox* Dir1;
    FileListBox* File1;
    QPushButton* DirC;
    QLabel* Label1;
    QLineEdit* Text1;
    QRadioButton *Option1, *Option2, *Option3;
    QLineEdit* Text2;
    QLabel* Label4;
    QPushButton* cmdPFit;
    QLineEdit* txtFormula;
    QCheckBox *chkIntersectionGrid, *chkPlotIntersectionGrid;
    QPushButton* cmdOccVect;
    QLineEdit* txtOVFormula;
    QPushButton* cmdExit;

    void DirC_Click();
    void Drive1_Change();
    void Dir1_Change();
    void File1_Click();
    void Option_Click();
    void cmdPFit_Click();
    void cmdOccVect_Click();
    void cmdExit_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    template <typename Step> void run(Step step);

    AppState& app_;
    FileChooser files_;
    WindowPrompt prompt_;  // holds the window off while a step waits at a digitise question
    planes::PlotGridFn plot_;
    planes::PlaneFitState fit_;
};

} // namespace trelvik
