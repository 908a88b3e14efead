// The converters of the scanner and surface inputs, and the run frame every converter
// of the window shares: options in, labels moving, changed texts and the list count out.
#include "conversion/frmConversion.h"

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>

#include "conversion/pointstogrid.h"
#include "widgets/inputblocker.h"
#include "widgets/qtprogress.h"

namespace trelvik {

using namespace conversion;

namespace {

// The window's labels and bars during one run; Esc is watched through QtProgress.
class WindowView : public ConvView {
public:
    explicit WindowView(frmConversion& w)
        : w_(w), esc_(w.pbarUCPtsPrcd, nullptr), uc_(*this), outline_(*this), files_(*this) {
        showBarStep(w.pbarFiles, 0, 1);
        w.pbarFiles->show();
    }
    ~WindowView() override { w_.pbarFiles->hide(); }

    void showEntry(const std::string& progress, const std::string& name) override {
        w_.txtProgress->setText(QString::fromStdString(progress));
        w_.txtCurrentFilename->setText(QString::fromStdString(name));
        esc_.showNow();
    }
    void showProcessingFrame() override { w_.Frame13->show(); }
    void clearCleaningLabels() override {
        w_.txtNoUCPtsPrcd->clear();
        w_.txtNoUCPts->clear();
        w_.txtNoOutlinePts->clear();
    }
    void showUndercutCount(long long n) override { w_.txtNoUCPts->setText(QString::number(n)); }
    Progress& undercutProgress() override { return uc_; }
    Progress& outlineProgress() override { return outline_; }
    bool stopRequested() override { return esc_.stopRequested(); }
    void entryFailed() override { failed_ = true; }
    // After a run in which a file failed, no read-out speaks of a file half done.
    void clearAfterFailure() {
        if (!failed_) return;
        showEntry("", "");
        clearCleaningLabels();
        w_.pbarUCPtsPrcd->reset();
    }
    Progress& batchProgress() override { return files_; }

private:
    struct Undercuts : Progress {
        explicit Undercuts(WindowView& v) : v_(v) {}
        void step(long long done, long long total) override {
            v_.w_.txtNoUCPtsPrcd->setText(QString::number(done));
            v_.esc_.step(done, total);
        }
        WindowView& v_;
    };
    // A count that moves every few vertices of the walk: painted at the pump's pace, as
    // painting the window at each count made a long walk take many times the conversion.
    struct Outline : Progress {
        explicit Outline(WindowView& v) : v_(v) {}
        void step(long long done, long long) override {
            v_.w_.txtNoOutlinePts->setText(QString::number(done));
            v_.esc_.keepUp();
        }
        WindowView& v_;
    };
    // The files bar; the one QtProgress of the run (on the undercut bar) keeps the
    // window painted and sees Esc.
    struct Files : Progress {
        explicit Files(WindowView& v) : v_(v) {}
        void step(long long done, long long total) override {
            showBarStep(v_.w_.pbarFiles, done, total);
            v_.esc_.keepUp();
        }
        bool stopRequested() override { return v_.esc_.stopRequested(); }
        WindowView& v_;
    };
    frmConversion& w_;
    QtProgress esc_;
    Undercuts uc_;
    Outline outline_;
    Files files_;
    bool failed_ = false;
};

} // namespace

void frmConversion::runConverter(const std::function<void(ConvContext&)>& body) {
    ConvOptions o = readOptions();
    WindowView view(*this);
    ConvContext ctx{app_, prompt_, conv_, o, view};
    {
        // Clicks, keys other than Esc and closing wait while the run lets events
        // through; built after the view, so Esc passes it on to the view.
        const InputBlocker holdOff(this);
        body(ctx);
    }
    view.clearAfterFailure();
    writeBack(o);
    showCount();
}

void frmConversion::ConvertTXT_GRD() { runConverter([](ConvContext& c) { conversion::ConvertTXT_GRD(c); }); }

void frmConversion::ConvertSURF_GRD() { runConverter([](ConvContext& c) { conversion::ConvertSURF_GRD(c); }); }

} // namespace trelvik
