#pragma once
// The block of selection controls that the approach-angle, capture-area and rake-angle
// windows share: "Dir", drive, folder and file lists, the folder label Label3, the grid
// name box Text2 and the crest list Combo1 with the crest code it sets. The windows
// derive from CrestSelectWindow and lay the block out beside their own controls.
//
// The windows differ in two small ways, fixed at construction: whether Label3 follows
// the drive and folder lists at once (approach angle, rake angle) or only a click in
// the file list (capture area, so that it always names the folder of the grid in
// Text2), and whether a label (Label4) shows the crest code.
#include <QWidget>
#include <functional>
#include <string>

#include "core/appstate.h"
#include "core/prompt.h"
#include "widgets/filechooser.h"
#include "widgets/windowprompt.h"
#include "toothfeatures/occvectstep.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace trelvik {

class DirListBox;
class DriveListBox;
class FileListBox;

class CrestSelectWindow : public QWidget {
    Q_OBJECT
public:
    struct Options {
        bool label3FollowsLists = true;
        bool showCodeLabel = true;
    };
    CrestSelectWindow(AppState& state, Prompt& prompt, Options options, QWidget* parent = nullptr);

    DriveListBox* Drive2;
    DirListBox* Dir2;
    FileListBox* File2;
    QPushButton* DirC;
    QLabel* Label2;  // "Input grid filename (*.grd)"
    QLabel* Label3;  // folder of the grid
    QLineEdit* Text2;
    QLabel* Label8;  // "Crest name"
    QComboBox* Combo1;
    QLabel* Label4 = nullptr;  // shows CrestCode (approach angle and capture area only)

    // Code of the chosen crest; empty until a name is chosen from the list.
    std::string CrestCode;

    // The occlusal-vector controls every crest window shows beside the block: its
    // description (Label5), "Occlusal vector" (Label1), "Tribo-type" (chosen) and
    // "Carnassial", and "Find occlusal vector".
    QLabel *Label1 = nullptr, *Label5 = nullptr;
    QRadioButton *optTribo = nullptr, *optCarnass = nullptr;
    QPushButton* cmdOccVect = nullptr;
    // The status line that names what the last step wrote (approach angle and capture area).
    QLabel* lblStatus = nullptr;

    void DirC_Click();
    void Drive2_Change();
    void Dir2_Change();
    void File2_Click();
    void Combo1_Click();

protected:
    // The selection controls in one column, for the window's layout.
    QWidget* selectionBlock() { return block_; }
    // "Next crest" and "Next grid" of the crest windows.
    void clearCrest();
    // Creates the occlusal-vector controls as children of parent.
    void buildOccVectControls(QWidget* parent, const QString& description);
    // The grid's folder: Label3, or the folder list's folder while Label3 is still empty
    // (a grid name typed before any click in the lists), never the bare root.
    std::string gridFolder() const;
    // What "Find occlusal vector" reads from the controls in the given window.
    toothfeatures::OccVectRequest occVectRequest(toothfeatures::CrestWindowKind window) const;
    // Creates lblStatus in a room of kStatusLines lines kept whether it shows a text or
    // none (a longer text scrolls there), so the controls above it stay where they are
    // as steps end and begin; the room is the widget to lay out.
    static constexpr int kStatusLines = 3;
    QWidget* buildStatusLine();
    // Runs a step that writes beside the grid; a step that succeeds ends with the status
    // line naming what it wrote, and the file list showing it. Returns what the step returned.
    bool runWriting(const std::string& gridDir, const std::function<bool()>& step);

    AppState& app_;
    WindowPrompt prompt_;  // holds the window off while a step waits at a digitise question

private:
    Options options_;
    QWidget* block_;
    FileChooser files_;
};

} // namespace trelvik
