// The Conversion window's own cost: a scan converted to a blanked grid through the
// window (labels, bars and painting kept up, offscreen, with the cleaning read-outs in
// view) beside the same conversion through the bare procedure. The scan is an enamel
// surface of 13 x 13 mm: a dome of radius 6.5 mm sampled 0.13 mm apart over its
// surface, about 16,000 points. The outline bin that the default 0.03 interval gives
// (0.045) is finer than that spacing, so the outline walk runs to some hundred thousand
// vertices before its bins grow, and reports a count every ten. The window should
// stay within 1.5 times the procedure.
#include "conversion/frmConversion.h"
#include "conversion/pointstogrid.h"
#include "conversion_scan.h"
#include "formats/xyzpointfile.h"
#include "support/tempfolder.h"
#include "surfer/application.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

#include "widgets/dirlistbox.h"
#include "widgets/filelistbox.h"

#include <cmath>
#include <numbers>
#include <random>

using namespace trelvik;
using namespace trelvik::conversion;

namespace {

// Rings of points h apart from the top down, each point moved by up to a tenth of h:
// seen from above they crowd together at the steep sides.
PointList enamelDome() {
    const double r = 6.5, h = 0.13, pi = std::numbers::pi;
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> jitter(-h / 10, h / 10);
    PointList p;
    const int rings = static_cast<int>(r * pi / 2 / h);
    for (int k = 0; k <= rings; ++k) {
        const double polar = k * h / r, across = r * std::sin(polar);
        const int n = std::max(1, static_cast<int>(std::lround(2 * pi * across / h)));
        for (int t = 0; t < n; ++t) {
            const double a = 2 * pi * (t + 0.5 * (k % 2)) / n;
            p.push_back({across * std::cos(a) + jitter(rng), across * std::sin(a) + jitter(rng), r * std::cos(polar)});
        }
    }
    return p;
}

const trelvik::testing::TempFolder& folder() {
    static const trelvik::testing::TempFolder dir;
    static const bool written = [] {
        formats::writeXyzPointFile(dir.path("dome.txt"), enamelDome());
        return true;
    }();
    (void)written;
    return dir;
}

AppState surfer8(const std::string& dir) {
    AppState app;
    app.ProgramDir = app.DefaultDir = dir;
    app.mnuSurf6Checked = false;
    app.mnuSurf8Checked = true;
    app.SurferVersion = "SurferV8";
    return app;
}

// Any message but the question about replacing the last run's files is a failure.
void failOnMessage(benchmark::State& state, const ScriptedPrompt& prompt) {
    for (const auto& m : prompt.shown)
        if (m.title != "Replace files") {
            state.SkipWithError(m.text.c_str());
            return;
        }
}

// The procedure's view, with the outline's progress reports counted.
struct CountingView : ConvView {
    struct Counter : Progress {
        void step(long long, long long) override { ++reports; }
        long long reports = 0;
    } outline;
    Progress& outlineProgress() override { return outline; }
};

void BM_DomeToBlankedGridProcedure(benchmark::State& state) {
    const std::string dir = folder().folder();
    for (auto _ : state) {
        surfer::shutdownAll();
        AppState app = surfer8(dir);
        ScriptedPrompt prompt;
        ConvState st;
        st.ConvMode = "TxtIrreg";
        ConvOptions opt = convbench::textToGridOptions(dir, "dome.txt");
        CountingView view;
        ConvContext ctx{app, prompt, st, opt, view};
        ConvertTXT_GRD(ctx);
        state.counters["outline_reports"] = static_cast<double>(view.outline.reports);
        failOnMessage(state, prompt);
    }
    surfer::shutdownAll();
}
BENCHMARK(BM_DomeToBlankedGridProcedure)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_DomeToBlankedGridWindow(benchmark::State& state) {
    const std::string dir = folder().folder();
    for (auto _ : state) {
        state.PauseTiming();
        surfer::shutdownAll();
        AppState app = surfer8(dir);
        ScriptedPrompt prompt;
        frmConversion w(app, prompt);
        w.show();
        w.cmbFromFileType->setCurrentText("Text file (irregular, e.g. Vava) (*.txt)");
        w.cmbFromFileType_Click();
        w.cmbToFileType->setCurrentText("Surfer grid file (*.grd)");
        w.Dir1->setPath(QString::fromStdString(dir));
        w.File1->setPath(QString::fromStdString(dir));
        w.Text1->setText("dome.txt");
        w.chkPlotSurfer->setChecked(false);
        w.tabOptions->setCurrentIndex(3);  // "UC and blank", as when its options were just set
        QApplication::processEvents();
        state.ResumeTiming();
        w.cmdConvert_Click();
        state.PauseTiming();
        failOnMessage(state, prompt);
        w.close();
        QApplication::processEvents();
        state.ResumeTiming();
    }
    surfer::shutdownAll();
}
BENCHMARK(BM_DomeToBlankedGridWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
    // The window is painted as on a screen, into offscreen buffers.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
