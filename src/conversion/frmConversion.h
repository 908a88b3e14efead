#pragma once
// "File Format Conversion": collects a batch list of scanner, surface and grid files
// and converts them from the chosen From type to the chosen To type. Handlers read the
// controls into a ConvOptions (conversion/convstate.h), run the plain procedures of
// this folder and show what comes back; the batch list lives in a ConvState that
// starts afresh with each window.
//
// The converters are member functions named as the window knows them. Those of the
// scanner and surface inputs live in frmConversion_convert.cpp; those that write grids
// and lattices out to other formats in frmConversion_writers.cpp.
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "conversion/convstate.h"
#include "core/appstate.h"
#include "core/prompt.h"
#include "widgets/filechooser.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace trelvik {

class DirListBox;
class DriveListBox;
class FileListBox;

class frmConversion : public QWidget {
    Q_OBJECT
public:
    frmConversion(AppState& state, Prompt& prompt, QWidget* parent = nullptr);
    ~frmConversion() override;

    conversion::ConvState& state() { return conv_; }
    // The controls' values as the procedures read them, and the way back.
    conversion::ConvOptions readOptions() const;
    void writeBack(const conversion::ConvOptions& o);

    // File selection and batch list.
    QLabel* lblDescription;
    DriveListBox* Drive1;
    DirListBox* Dir1;
    FileListBox* File1;
    QLabel* txtPath;
    QLineEdit* Text1;
    QPushButton *Command3, *cmdRefreshDir;
    QComboBox *cmbFromFileType, *cmbToFileType;
    QPushButton *cmdAddFilename, *cmdAddAllFilenames, *cmdClearFilenames, *cmdConvert, *cmdExit;
    QLabel* txtNoFiles;
    QCheckBox* chkAddOutText;
    QLineEdit* txtAddOutText;
    QLabel *txtCurrentFilename, *txtProgress;
    QProgressBar* pbarFiles;  // the files of a run, and each file's gridding
    QCheckBox* chkStartSurfer;
    QTabWidget* tabOptions;

    // "TXT to GRD".
    QRadioButton *optInterval, *optMaxNoRows, *optAutoInt;
    QLabel *Label8, *Label7;
    QLineEdit *txtXInt, *txtYInt, *txtMaxNoRows;
    QCheckBox *chkEqualXY, *chkMould;
    QRadioButton *optInvDist, *optKrig, *optNearNeigh;
    QGroupBox* fraSurf;
    QCheckBox *chkSurfCmMm, *chkSurfRevZ, *chkSurfUseTxt;

    // "TIF to GRD".
    QGroupBox* fraDataType;
    QRadioButton *optInFOV, *optInVox;
    QLineEdit *X_Field, *Y_Field, *Z_Field, *X_Input_Int, *Y_Input_Int, *Z_Input_Height;

    // "Other formats".
    QGroupBox *fraWrl, *fraPiczaCsv, *fraGrdDat;
    QRadioButton *optOutum, *optOutmm, *optOutAuto, *Option3, *Option4;
    QCheckBox *chkVantWRL, *chkRemoveBPts, *chkRenameExt;
    QLineEdit* txtRenameExt;

    // "UC and blank".
    QCheckBox *chkRemoveUndercuts, *chkBlankOutline, *chkDefaultSet;
    QLineEdit *txtSearchRadius, *txtBinSize, *txtThresh, *txtProp, *txtSearchRadiusInc;
    QRadioButton *optThresh, *optProp;
    QCheckBox *chkFindNeigh, *chkWriteRej, *chkBlankedAreaPts;
    QLineEdit *txtBlnBinSize, *txtBlnOffset;
    QGroupBox* Frame13;
    QLabel *txtNoUCPts, *txtNoUCPtsPrcd, *txtNoOutlinePts;
    QProgressBar* pbarUCPtsPrcd;

    // "File statistics".
    QPushButton* cmdExamineFile;
    QLabel *txtNoPts, *txtRXMin, *txtRXMax, *txtRYMin, *txtRYMax, *txtNoOutputPts, *txtRXInt, *txtRYInt;

    // "Plot output".
    QCheckBox *chkPlotSurfer, *chkLabelSurfer;
    QRadioButton *optRelief, *optContour, *optImage, *opt3DSurface;

    // Handlers.
    void Form_Load();
    void cmbFromFileType_Click();
    void File1_Click();
    void File1_DblClick();
    void Dir1_Change();
    void Drive1_Change();
    void Command3_Click();
    void cmdRefreshDir_Click();
    void cmdAddFilename_Click();
    void cmdAddAllFilenames_Click();
    void cmdClearFilenames_Click();
    void cmdExamineFile_Click();
    void cmdConvert_Click();
    void chkDefaultSet_Click();
    void txtXInt_Change();
    void chkEqualXY_Click();
    void cmdExit_Click();

    // Converters of the scanner and surface inputs.
    void ConvertTXT_GRD();
    void ConvertSURF_GRD();
    // Converters that write grids and lattices to other formats.
    void ConvertPIX_GRD();
    void ConvertPIX_CSV();
    void ConvertGRD_PIX();
    void ConvertGRD_WRL();
    void ConvertTIFF_GRD();
    void ConvertTIFF_WRL();
    void ConvertCSV_WRL();
    void ConvertCSV_TIF();
    void ConvertGRD_DAT();
    void ConvertGRD_XYZ();
    void ConvertGRD_DXF();

private:
    QWidget* buildListPanel();
    QWidget* buildTxtTab();
    QWidget* buildTifTab();
    QWidget* buildOtherTab();
    QWidget* buildUcTab();
    QGroupBox* buildStatsFrame();
    QGroupBox* buildPlotFrame();
    void connectHandlers();
    // Runs one converter body with the options read, the labels moving, and the
    // changed texts and list count shown afterwards.
    void runConverter(const std::function<void(conversion::ConvContext&)>& body);
    void showCount();

    AppState& app_;
    Prompt& prompt_;
    FileChooser files_;
    conversion::ConvState conv_;
};

} // namespace trelvik
