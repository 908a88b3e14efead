#pragma once
// "Landmark data": summarises repeated digitising trials of the same landmarks on one
// tooth grid. Four pages: "Conversion" (the list of trial files and their slice lines),
// "Slice grid" (landmark heights and distances from grid slices), "Calculate" (the
// statistics table and the tooth-length file) and "Plane" (distances of the mean
// landmarks to a plane formula). Handlers read their controls and call the procedures
// of planes/landfind.h, landstats.h and landplanedist.h; a failure is shown as a
// message and leaves the window open.
#include <QWidget>
#include <functional>

#include "core/appstate.h"
#include "core/prompt.h"
#include "shell/frmDefDir.h"
#include "widgets/filechooser.h"
#include "planes/landfind.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace trelvik {

class frmLandFind : public QWidget {
    Q_OBJECT
public:
    frmLandFind(AppState& state, Prompt& prompt, QWidget* parent = nullptr);

    planes::LandFindState& landmarks() { return s_; }

    QTabWidget* SSTab1;
    // "Conversion"
    DriveListBox* Drive1;
    DirListBox* Dir1;
    FileListBox* File1;
    QLineEdit *Text1, *Text5, *Text6;
    QLabel *Label1, *Label7, *Label13;
    QPushButton *DirC, *Command4, *Command5, *Command8;
    // "Slice grid"
    DriveListBox* Drive2;
    DirListBox* Dir2;
    FileListBox* File2;
    QLineEdit* Text2;
    QLabel* Label2;
    QPushButton *Command6, *Command9;
    QLabel* lblSliceStep;  // the trial in hand while "Slice grid" runs
    QProgressBar* pbrSlice;
    // "Calculate"
    DriveListBox* Drive3;
    DirListBox* Dir3;
    FileListBox* File3;
    QLineEdit* Text3;
    QLabel* Label3;
    QPushButton *Command3, *cmdReset, *Command10;
    QCheckBox* chkToothLength;
    // "Plane"
    DriveListBox* Drive4;
    DirListBox* Dir4;
    FileListBox* File4;
    QLineEdit* Text4;
    QLabel* Label4;
    QPushButton *Command11, *Command2;
    QLabel* lblStatus;  // names what the last step wrote

    void Form_Load();
    void DirC_Click();
    void DatFilename();
    void BlnConvert();
    void SliceGrid();
    void Calculate();
    void cmdReset_Click();
    void FindDistancesToPlane();
    void cmdExit();

private:
    QWidget* buildPage(FileChooser& lists, const QString& pattern, QWidget* controls);
    void guarded(const std::function<void()>& step);
    void showLabels(const planes::LandFindLabels& labels);

    AppState& app_;
    Prompt& prompt_;
    planes::LandFindState s_;
    FileChooser lists_[4];
};

} // namespace trelvik
