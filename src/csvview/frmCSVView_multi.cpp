// Handlers of the multi-tooth pages: reading a multi-tooth file, viewing its teeth
// with the range options and the slider, the per-tooth statistics and sorting, the
// tooth outputs and the tooth-count tools.
#include "csvview/frmCSVView.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QUrl>

#include <filesystem>

#include "core/textform.h"
#include "csvview/csvoutput.h"
#include "csvview/csvoutputvrml.h"
#include "csvview/outputnames.h"
#include "csvview/toothcount.h"
#include "csvview/toothstats.h"
#include "shell/frmSaveFile.h"
#include "shell/settings.h"
#include "widgets/dirlistbox.h"
#include "widgets/drivelistbox.h"
#include "widgets/qtprogress.h"

namespace trelvik::csvview {

namespace {

std::string textOf(const QLineEdit* e) { return e->text().toStdString(); }
QString number(long n) { return QString::number(n); }

} // namespace

// ---- reading and viewing

void frmCSVView::sayNoTeethRead() {
    refuse(prompt_, "", "No multi-tooth file has been read: choose one and press \"Read multi-tooth file\".");
}

void frmCSVView::cmdReadMultiCSV_Click() {
    guarded([&] {
        BusyScope busy(prompt_);
        chkOrigModelFile->setChecked(true);  // teeth are read negated and re-zeroed
        const QString shownCount = lblNoTeeth->text();  // kept when the read does not finish
        QtProgress progress(nullptr, lblNoTeeth);  // the tooth count while the file reads
        MultiToothReadOptions o;
        o.folder = Dir1->path().toStdString();
        o.fileName = textOf(Text1);
        o.maxTeeth = textOf(txtMTAIF);
        o.split = chkSplitMTAIF->isChecked();
        o.size = sizeOption();
        // Shows the pointer and lets an Esc already pressed reach the stop flag.
        progress.status("Reading " + o.fileName);
        MultiToothReadResult r;
        try {
            r = ReadMultiToothFile(o, store_, prompt_, progress);
        } catch (...) {
            lblNoTeeth->setText(shownCount);
            throw;
        }
        if (r.outcome != MultiReadOutcome::Done) {  // refused, split or stopped by Esc
            lblNoTeeth->setText(shownCount);
            return;
        }
        clearReadouts();
        lblNoTeeth->setText(number(r.teethInFile));
        txtCurrTooth->clear();
        txtViewTeethStart->setText("1");
        txtViewTeethEnd->setText(number(store_.toothCount));
        optViewTeethAll->setChecked(true);
        {
            const QSignalBlocker quiet(sldToothNo);
            sldToothNo->setRange(static_cast<int>(r.slider.min), static_cast<int>(r.slider.max));
            sldToothNo->setTickInterval(static_cast<int>(r.slider.tickFrequency));
            sldToothNo->setTickPosition(r.slider.tickFrequency > 0 ? QSlider::TicksBelow : QSlider::NoTicks);
            sldToothNo->setValue(static_cast<int>(r.slider.value));
        }
        toothView_.currentTooth = r.slider.value;
        viewTeeth(r.slider.value);
    });
}

void frmCSVView::showTooth(long t, bool present) {
    txtCurrTooth->setText(number(t));
    const std::vector<std::string> params = toothParamTexts(store_, t);
    for (std::size_t i = 0; i < txtParam.size() && i < params.size(); ++i)
        txtParam[i]->setText(QString::fromStdString(params[i]));
    if (present)
        cmdViewCSV_Click();
    else
        ClearPicBox();
}

void frmCSVView::viewTeeth(std::optional<long> sliderTooth) {
    if (store_.toothCount <= 0) return;
    guarded([&] {
        BusyScope busy(prompt_);
        QtProgress progress;
        ViewTeethOptions o;
        o.choice = optViewTeethAll->isChecked()      ? ViewTeethChoice::All
                   : optViewTeethSubset->isChecked() ? ViewTeethChoice::Range
                   : optViewTeethOne->isChecked()    ? ViewTeethChoice::One
                                                     : ViewTeethChoice::None;
        o.start = textOf(txtViewTeethStart);
        o.end = textOf(txtViewTeethEnd);
        o.one = textOf(txtViewTeethOne);
        o.sameGreyScale = chkZScaleAllT->isChecked();
        progress.status("Viewing teeth");
        ViewMultiTeeth(o, sliderTooth, store_, toothView_, CurrentGrid_, progress,
                       [this](long t, bool present) { showTooth(t, present); });
    });
}

void frmCSVView::cmdViewMultiCSV_Click() {
    if (store_.toothCount <= 0) return sayNoTeethRead();
    viewTeeth(std::nullopt);
}

void frmCSVView::sldToothNo_Change() { viewTeeth(sldToothNo->value()); }

void frmCSVView::setSliderQuietly(long value) {
    const QSignalBlocker quiet(sldToothNo);
    sldToothNo->setValue(static_cast<int>(value));
}

void frmCSVView::chkZScaleAllT_Click() {
    const long t = toothView_.lastShown;
    if (t < 1 || t > store_.toothCount || !store_.present(t)) return;
    CopyMultiCSVtoCSV(store_, t, chkZScaleAllT->isChecked(), CurrentGrid_);
    if (views_.gridViewDrawn) cmdViewCSV_Click();
}

// ---- per-tooth statistics and sorting

void frmCSVView::chkCSSAVolRat_Click() {
    if (chkCSSAVolRat->isChecked() && !allowSaVolRatTick(chkCSSA->isChecked(), chkCSVol->isChecked()))
        chkCSSAVolRat->setChecked(false);
}

bool frmCSVView::showSaveFile(const std::string& fileName) {
    if (runSaveFile) return runSaveFile(fileName);
    frmSaveFile dlg(state_, prompt_, this);
    dlg.Drive1->setDrive(Dir1->path());
    dlg.Dir1->setPath(Dir1->path());
    dlg.txtFileName->setText(QString::fromStdString(fileName));
    prompt_.busy(false);
    dlg.exec();
    if (!state_.SaveFileOK) return false;
    // The typed name must stay a plain name inside the chosen folder.
    return CheckNameText(dlg.txtFileName->text().toStdString(), "Filename", prompt_);
}

void frmCSVView::cmdCalcStatsAll_Click() {
    guarded([&] {
        if (!showSaveFile(kToothStatsFileName)) return;
        BusyScope busy(prompt_);
        QtProgress progress;
        ToothStatsOptions o;
        o.maxHt = chkCSMaxHt->isChecked();
        o.sa = chkCSSA->isChecked();
        o.vol = chkCSVol->isChecked();
        o.saVolRat = chkCSSAVolRat->isChecked();
        o.threshold = optCMinNA->isChecked()     ? ThresholdRule::NA
                      : optCMinProp->isChecked() ? ThresholdRule::Prop
                                                 : ThresholdRule::Abs;
        o.absText = textOf(txtCMinAbs);
        o.propText = textOf(txtCMinProp);
        CalcStatsAllTeeth(o, store_, state_.SaveFilePath, *toothStats_, progress);
        if (chkCSSort->isChecked()) cmdCSSort_Click();
    });
}

void frmCSVView::cmdCSSort_Click() {
    guarded([&] {
        ToothSortOptions o;
        o.sortBox = chkCSSort->isChecked();
        o.key = optCSMaxHtSort->isChecked()      ? ToothSortKey::MaxHt
                : optCSSASort->isChecked()       ? ToothSortKey::SA
                : optCSVolSort->isChecked()      ? ToothSortKey::Vol
                : optCSSAVolRatSort->isChecked() ? ToothSortKey::SAVolRat
                : optCSLaPSort->isChecked()      ? ToothSortKey::LaPlac
                                                 : ToothSortKey::None;
        o.showSorted = chkCSShowSorted->isChecked();
        const ToothSortResult r = SortTeeth(o, *toothStats_, store_, prompt_);
        if (!r.storeReordered || store_.toothCount < 1) return;
        toothView_.currentTooth = 1;
        toothView_.lastShown = 1;
        setSliderQuietly(1);
        const bool present = store_.present(1);
        if (present) CopyMultiCSVtoCSV(store_, 1, chkZScaleAllT->isChecked(), CurrentGrid_);
        showTooth(1, present);
    });
}

// ---- tooth outputs

ToothOutput frmCSVView::toothOutput(long t) const {
    ToothOutput out;
    out.number = static_cast<int>(t);
    if (t < 1 || t > store_.toothCount) return out;
    const auto k = static_cast<std::size_t>(t - 1);
    if (store_.present(t)) out.grid = &store_.grids[k];
    out.params = store_.params[k];
    return out;
}

std::string frmCSVView::outputFolder() {
    // Tooth files go beside the multi-tooth file they come from, as every other output.
    if (!toothOutputFolder.empty()) return toothOutputFolder;
    return store_.lattice.folder.empty() ? ReadDefaultDir(state_) : store_.lattice.folder;
}

std::optional<ToothOutput> frmCSVView::boxToothOutput() {
    if (store_.toothCount <= 0) {
        sayNoTeethRead();
        return std::nullopt;
    }
    const long t = static_cast<long>(text::CInt(text::Val(txtCurrTooth->text().toStdString())));
    if (t < 1 || t > store_.toothCount) {
        refuse(prompt_, "",
               "Tooth " + std::to_string(t) + " is not in the multi-tooth file: it holds teeth 1 to " +
                   std::to_string(store_.toothCount) + ".");
        return std::nullopt;
    }
    const ToothOutput tooth = toothOutput(t);
    if (!toothPresent(tooth)) {
        refuse(prompt_, "",
               "Tooth " + std::to_string(t) +
                   " has no grid to write: reading passes over a tooth of three points or fewer.");
        return std::nullopt;
    }
    toothView_.currentTooth = t;
    return tooth;
}

void frmCSVView::cmdOutputSingleCSV_Click() {
    guarded([&] {
        BusyScope busy(prompt_);
        if (const auto tooth = boxToothOutput()) WriteToothCsv(*tooth, outputFolder());
    });
}

void frmCSVView::cmdOutputSingleTIF_Click() {
    guarded([&] {
        BusyScope busy(prompt_);
        if (const auto tooth = boxToothOutput()) WriteToothBitmap(*tooth, outputFolder());
    });
}

void frmCSVView::cmdOutputMultiCSV_Click() {
    guarded([&] {
        BusyScope busy(prompt_);
        std::vector<ToothOutput> all;
        all.reserve(static_cast<std::size_t>(store_.toothCount));
        for (long t = 1; t <= store_.toothCount; ++t) all.push_back(toothOutput(t));
        if (all.empty()) return sayNoTeethRead();
        OutputMultiToothCsv(all, outputFolder(), prompt_);
    });
}

void frmCSVView::cmdOutputSingleWRL_Click() {
    guarded([&] {
        BusyScope busy(prompt_);
        const auto tooth = boxToothOutput();
        if (!tooth) return;
        const std::string path = WriteToothWrl(*tooth, outputFolder());
        if (path.empty()) return;
        if (openInBrowser)
            openInBrowser(path);
        else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path))))
            prompt_.message("", "The file " + path + " was written, but no program could be started to show it.");
    });
}

// ---- tooth-count files

void frmCSVView::cmdCTFiles_Click() {
    guarded([&] {
        BusyScope busy(prompt_);
        chkOrigModelFile->setChecked(true);
        const std::vector<std::string> names = ctFileNames(chkCTFilesAll->isChecked(), textOf(Text1), prompt_);
        if (names.empty()) return;
        CountToothFiles(Dir1->path().toStdString(), names, [this](long n) {
            txtTempCTFiles->setText(number(n));
            txtTempCTFiles->repaint();
        });
        Text1->setText(QString::fromStdString(names.back()));
    });
}

void frmCSVView::cmdCTFExtract_Click() {
    guarded([&] {
        BusyScope busy(prompt_);
        chkOrigModelFile->setChecked(true);
        ExtractOptions o;
        o.folder = Dir1->path().toStdString();
        o.countText = textOf(txtCTFENo);
        o.fileStarted = [this](const std::string& name, long share) {
            txtExtractTotal->setText(number(share));
            Text1->setText(QString::fromStdString(name));
            txtExtractTotal->repaint();
        };
        o.pickShown = [this](long pick) { txtExtractCurr->setText(number(pick)); };
        const ExtractOutcome r = ExtractTeeth(o, prompt_);
        if (!r.lastFile.empty()) Text1->setText(QString::fromStdString(r.lastFile));
    });
}

} // namespace trelvik::csvview
