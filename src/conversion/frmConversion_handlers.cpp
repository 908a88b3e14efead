// Handlers of "File Format Conversion": file selection, the batch list, From/To,
// settings, examination and the Convert dispatch.
#include "conversion/frmConversion.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

#include "core/error.h"
#include "core/textform.h"
#include "shell/frmDefDir.h"
#include "shell/settings.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/filelistbox.h"

namespace trelvik {

using namespace conversion;

namespace {
std::string s(const QLineEdit* e) { return e->text().toStdString(); }
QString q(const std::string& t) { return QString::fromStdString(t); }
} // namespace

void frmConversion::connectHandlers() {
    files_ = FileChooser{Drive1, Dir1, File1, Text1, txtPath};
    connect(Drive1, &DriveListBox::changed, this, &frmConversion::Drive1_Change);
    connect(Dir1, &DirListBox::changed, this, &frmConversion::Dir1_Change);
    connect(File1, &FileListBox::clicked, this, &frmConversion::File1_Click);
    connect(File1, &FileListBox::doubleClicked, this, &frmConversion::File1_DblClick);
    connect(Command3, &QPushButton::clicked, this, &frmConversion::Command3_Click);
    connect(cmdRefreshDir, &QPushButton::clicked, this, &frmConversion::cmdRefreshDir_Click);
    connect(cmbFromFileType, &QComboBox::activated, this, &frmConversion::cmbFromFileType_Click);
    connect(cmdAddFilename, &QPushButton::clicked, this, &frmConversion::cmdAddFilename_Click);
    connect(cmdAddAllFilenames, &QPushButton::clicked, this, &frmConversion::cmdAddAllFilenames_Click);
    connect(cmdClearFilenames, &QPushButton::clicked, this, &frmConversion::cmdClearFilenames_Click);
    connect(cmdExamineFile, &QPushButton::clicked, this, &frmConversion::cmdExamineFile_Click);
    connect(cmdConvert, &QPushButton::clicked, this, &frmConversion::cmdConvert_Click);
    connect(chkDefaultSet, &QCheckBox::clicked, this, &frmConversion::chkDefaultSet_Click);
    connect(txtXInt, &QLineEdit::textChanged, this, &frmConversion::txtXInt_Change);
    connect(chkEqualXY, &QCheckBox::clicked, this, &frmConversion::chkEqualXY_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmConversion::cmdExit_Click);
}

ConvOptions frmConversion::readOptions() const {
    ConvOptions o;
    o.File1Folder = File1->path().toStdString();
    o.Text1 = s(Text1);
    for (const QString& n : File1->fileNames()) o.File1Names.push_back(n.toStdString());
    o.cmbFromFileType = cmbFromFileType->currentText().toStdString();
    o.cmbToFileType = cmbToFileType->currentText().toStdString();
    o.chkAddOutText = chkAddOutText->isChecked();
    o.txtAddOutText = s(txtAddOutText);
    o.chkStartSurfer = chkStartSurfer->isChecked();
    o.gridOption = optMaxNoRows->isChecked() ? GridOption::MaxNoRows
                   : optAutoInt->isChecked() ? GridOption::AutoInt
                                             : GridOption::Interval;
    o.txtXInt = s(txtXInt);
    o.txtYInt = s(txtYInt);
    o.chkEqualXY = chkEqualXY->isChecked();
    o.txtMaxNoRows = s(txtMaxNoRows);
    o.chkMould = chkMould->isChecked();
    o.method = optInvDist->isChecked() ? GridMethod::InvDist
               : optNearNeigh->isChecked() ? GridMethod::NearNeigh
                                           : GridMethod::Krig;
    o.chkRemoveUndercuts = chkRemoveUndercuts->isChecked();
    o.chkBlankOutline = chkBlankOutline->isChecked();
    o.chkDefaultSet = chkDefaultSet->isChecked();
    o.txtSearchRadius = s(txtSearchRadius);
    o.txtBinSize = s(txtBinSize);
    o.optThresh = optThresh->isChecked();
    o.txtThresh = s(txtThresh);
    o.txtProp = s(txtProp);
    o.chkFindNeigh = chkFindNeigh->isChecked();
    o.txtSearchRadiusInc = s(txtSearchRadiusInc);
    o.chkWriteRej = chkWriteRej->isChecked();
    o.txtBlnBinSize = s(txtBlnBinSize);
    o.txtBlnOffset = s(txtBlnOffset);
    o.chkBlankedAreaPts = chkBlankedAreaPts->isChecked();
    o.chkPlotSurfer = chkPlotSurfer->isChecked();
    o.PlotType = optRelief->isChecked() ? 1 : optContour->isChecked() ? 2 : optImage->isChecked() ? 3
                                          : opt3DSurface->isChecked() ? 4 : 0;
    o.chkLabelSurfer = chkLabelSurfer->isChecked();
    o.outUnit = optOutum->isChecked() ? OutUnit::Micrometre : optOutmm->isChecked() ? OutUnit::Millimetre
                                                                                    : OutUnit::Auto;
    o.chkVantWRL = chkVantWRL->isChecked();
    o.fullCsv = Option3->isChecked();
    o.chkRemoveBPts = chkRemoveBPts->isChecked();
    o.chkRenameExt = chkRenameExt->isChecked();
    o.txtRenameExt = s(txtRenameExt);
    o.chkSurfCmMm = chkSurfCmMm->isChecked();
    o.chkSurfRevZ = chkSurfRevZ->isChecked();
    o.chkSurfUseTxt = chkSurfUseTxt->isChecked();
    o.optInVox = optInVox->isChecked();
    o.X_Field = s(X_Field);
    o.Y_Field = s(Y_Field);
    o.Z_Field = s(Z_Field);
    o.X_Input_Int = s(X_Input_Int);
    o.Y_Input_Int = s(Y_Input_Int);
    o.Z_Input_Height = s(Z_Input_Height);
    return o;
}

void frmConversion::writeBack(const ConvOptions& o) {
    // Written without their change handlers: the procedure has already applied the
    // rules that a typed change would run.
    const QSignalBlocker block(txtXInt);
    auto set = [](QLineEdit* e, const std::string& t) {
        if (e->text() != q(t)) e->setText(q(t));
    };
    set(Text1, o.Text1);
    set(txtXInt, o.txtXInt);
    set(txtYInt, o.txtYInt);
    set(txtSearchRadius, o.txtSearchRadius);
    set(txtBinSize, o.txtBinSize);
    set(txtThresh, o.txtThresh);
    set(txtBlnBinSize, o.txtBlnBinSize);
    set(txtBlnOffset, o.txtBlnOffset);
}

void frmConversion::showCount() { txtNoFiles->setText(QString::number(conv_.NumFiles)); }

void frmConversion::Form_Load() {
    if (chkDefaultSet->isChecked()) {
        ConvOptions o = readOptions();
        ApplyDefaultSettings(o);
        writeBack(o);
    }
    cmbFromFileType->clear();
    for (const auto& item : FromItems()) cmbFromFileType->addItem(q(item));
    cmbFromFileType->setCurrentIndex(-1);
    cmbToFileType->clear();
}

void frmConversion::cmbFromFileType_Click() {
    const auto t = FromTypeOf(cmbFromFileType->currentText().toStdString());
    if (!t) return;
    File1->setPattern(q(t->pattern));
    cmbToFileType->clear();
    for (const auto& to : t->toItems) cmbToFileType->addItem(q(to));
    cmbToFileType->setCurrentIndex(-1);
    if (t->presetsInGrid) {
        optAutoInt->setChecked(true);
        optNearNeigh->setChecked(true);
        chkRemoveUndercuts->setChecked(false);
        chkBlankOutline->setChecked(false);
    }
}

void frmConversion::File1_Click() { files_.fileClicked(); }

void frmConversion::File1_DblClick() { cmdAddFilename_Click(); }

void frmConversion::Dir1_Change() { files_.folderChanged(); }

void frmConversion::Drive1_Change() { files_.driveChanged(); }

void frmConversion::Command3_Click() {
    runGuarded(prompt_, "", [this] {
        ShowDefaultDir(app_, files_);
        return true;
    });
}

void frmConversion::cmdRefreshDir_Click() {
    Dir1->refresh();
    File1->refresh();
}

void frmConversion::cmdAddFilename_Click() {
    ConvOptions o = readOptions();
    ConvView view;
    ConvContext ctx{app_, prompt_, conv_, o, view};
    AddFilename(ctx);
    showCount();
}

void frmConversion::cmdAddAllFilenames_Click() {
    if (File1->count() == 0) return;
    ConvOptions o = readOptions();
    ConvView view;
    ConvContext ctx{app_, prompt_, conv_, o, view};
    AddAllFilenames(ctx);
    File1->setCurrentRow(0);
    Text1->setText(File1->fileName());
    showCount();
}

void frmConversion::cmdClearFilenames_Click() {
    BusyScope busy(prompt_);
    ClearFilenames(conv_);
    txtNoFiles->setText("0");
}

void frmConversion::cmdExamineFile_Click() {
    // Figures of an earlier file must not stand beside a file that could not be read.
    for (QLabel* box : {txtNoPts, txtRXMin, txtRXMax, txtRYMin, txtRYMax, txtNoOutputPts}) box->clear();
    ConvOptions o = readOptions();
    ConvView view;
    ConvContext ctx{app_, prompt_, conv_, o, view};
    BusyScope busy(prompt_);
    try {
        const auto r = ExamineFile(ctx);
        if (!r) return;
        txtNoPts->setText(QString::number(r->count));
        txtRXMin->setText(q(text::CStr(r->xmin)));
        txtRXMax->setText(q(text::CStr(r->xmax)));
        txtRYMin->setText(q(text::CStr(r->ymin)));
        txtRYMax->setText(q(text::CStr(r->ymax)));
        if (r->outputPoints) txtNoOutputPts->setText(QString::number(*r->outputPoints));
    } catch (const Error& e) {
        prompt_.busy(false);
        prompt_.message("", e.what());
    }
}

void frmConversion::chkDefaultSet_Click() {
    if (!chkDefaultSet->isChecked()) return;
    ConvOptions o = readOptions();
    ApplyDefaultSettings(o);
    writeBack(o);
}

void frmConversion::txtXInt_Change() {
    ConvOptions o = readOptions();
    ApplyDefaultSettings(o);
    writeBack(o);
}

void frmConversion::chkEqualXY_Click() {
    const bool equal = chkEqualXY->isChecked();
    Label8->setText(equal ? "X,Y" : "X");
    Label7->setVisible(!equal);
    txtYInt->setVisible(!equal);
    if (equal) txtYInt->setText(txtXInt->text());
}

void frmConversion::cmdExit_Click() { close(); }

void frmConversion::cmdConvert_Click() {
    const std::string from = cmbFromFileType->currentText().toStdString();
    const std::string to = cmbToFileType->currentText().toStdString();
    conv_.KeepList = false;
    // The whole click is the step whose end says what settling found. The converter's run
    // (its list loop, or its single file) with its pointer and its guard is only a part:
    // the plotting after it and the emptying of the list read the folder again, and a
    // record the settle does not obey, met there anew, would be said a second time.
    const StepScope step(prompt_);
    if (const auto c = ConverterFor(from, to)) {
        conv_.ConvMode = c->convMode.empty() ? conv_.ConvMode : c->convMode;
        const std::string& n = c->name;
        if (n == "ConvertTXT_GRD") ConvertTXT_GRD();
        else if (n == "ConvertSURF_GRD") ConvertSURF_GRD();
        else if (n == "ConvertTIFF_GRD") ConvertTIFF_GRD();
        else if (n == "ConvertTIFF_WRL") ConvertTIFF_WRL();
        else if (n == "ConvertPIX_GRD") ConvertPIX_GRD();
        else if (n == "ConvertPIX_CSV") ConvertPIX_CSV();
        else if (n == "ConvertGRD_PIX") ConvertGRD_PIX();
        else if (n == "ConvertGRD_WRL") ConvertGRD_WRL();
        else if (n == "ConvertGRD_DAT") ConvertGRD_DAT();
        else if (n == "ConvertGRD_XYZ") ConvertGRD_XYZ();
        else if (n == "ConvertGRD_DXF") ConvertGRD_DXF();
        else if (n == "ConvertCSV_WRL") ConvertCSV_WRL();
        else if (n == "ConvertCSV_TIF") ConvertCSV_TIF();
    }
    if (from.empty() || to.empty()) {
        prompt_.busy(false);
        prompt_.message("File type", "Choose From and To file types");
        return;
    }
    // Cancel on the replace question, or a run refused for its settings, keeps the list.
    if (!conv_.KeepList) cmdClearFilenames_Click();
}

} // namespace trelvik
