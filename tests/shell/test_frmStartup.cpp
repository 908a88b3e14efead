// The main window: captions and menus as designed, the version ticks round trip
// through the settings file, the topic labels, the PID controls mirrored into
// AppState, and the single-instance tool windows.
#include <gtest/gtest.h>

#include "support/qtapp.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>

#include "shell/frmAbout.h"
#include "shell/frmStartup.h"
#include "shell/settings.h"
#include "widgets/clicklabel.h"

using namespace trelvik;
using trelvik::testsupport::ensureApp;

namespace {

class Startup : public ::testing::Test {
protected:
    void SetUp() override {
        ensureApp();
        ASSERT_TRUE(programDir.isValid());
        state.ProgramDir = programDir.path().toStdString();
    }
    void writeSettings(const QByteArray& content) {
        QFile f(settingsPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    QByteArray readSettings() const {
        QFile f(settingsPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString settingsPath() const { return programDir.path() + "/Trelgo.ini"; }
    // Start-up as the program does it: settings first, then the window.
    std::unique_ptr<frmStartup> start() {
        LoadSettingsAtStartup(state, "/samples");
        return std::make_unique<frmStartup>(state, prompt);
    }
    QTemporaryDir programDir;
    AppState state;
    ScriptedPrompt prompt;
};

QStringList captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions()) out << a->text();
    return out;
}

} // namespace

TEST_F(Startup, DesignStateOfControlsAndMenus) {
    auto w = start();
    const std::pair<QString, QString> texts[] = {
        {w->windowTitle(), "The Trelvik"},
        {w->Label2->text(), "Click on name for a description:"},
        {w->Label1->text(), "Description:"},
        {w->lblDescrip->text(), ""},
        {w->chkSurferPID->text(), "Use Surfer PID"},
        {w->txtSurferPID->text(), ""}};
    for (const auto& [got, want] : texts) EXPECT_EQ(got, want);
    EXPECT_FALSE(w->chkSurferPID->isChecked());

    QStringList headings;
    for (const QAction* a : w->menuBar()->actions()) headings << a->text();
    EXPECT_EQ(headings, (QStringList{"&File", "&Utilities", "&Tooth features", "&Outlines",
                                     "&Plane", "Trans&form", "&Landmarks", "&Help"}));
    const std::pair<const QMenu*, QStringList> menus[] = {
        {w->mnuFile, {"&New", "&Set default directory", "Surfer &version", "S&tart Surfer", "E&xit"}},
        {w->mnuSurfVers, {"Surfer6", "Surfer8"}},
        {w->mnuUtilities, {"&File format conversion", "&Surfer Functions", "&CSV viewer", "&Point clouds"}},
        {w->mnuToothFeat, {"&Approach angle", "&Capture area", "C&urvature", "Cusp &occlusion relief",
                           "Cusp &volume", "&Rake angle"}},
        {w->mnuOutlines, {"Enamel ridge outlines"}},
        {w->mnuPlane, {"&Plane fit"}},
        {w->mnuTransform, {"&Rotate"}},
        {w->mnuLandmarks, {"&Land find"}},
        {w->mnuHelp, {"&About"}}};
    for (const auto& [menu, want] : menus) EXPECT_EQ(captions(menu), want);

    // Built windows are reachable; the rest wait, disabled, for their windows.
    for (QAction* a : {w->mnuAbout, w->mnuDefDir, w->mnuNew, w->mnuExit}) EXPECT_TRUE(a->isEnabled());
    for (QAction* a : {w->mnuConversion, w->mnuSurfFns, w->mnuCSVView, w->mnuPtCloud, w->mnuAppAng,
                       w->mnuCapture, w->mnuCurvSlice, w->mnuCuspOR, w->mnuCuspVol, w->mnuRake,
                       w->mnuEnamel, w->mnuPlaneFit, w->mnuRotate, w->mnuLandFind})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_EQ(w->windowOf(w->mnuCurvSlice), "frmCurvature");
}

TEST_F(Startup, VersionTicksFollowSettingsFileAndRoundTrip) {
    writeSettings("/data/teeth\r\nSurferV6\r\n");
    {
        auto w = start();
        EXPECT_TRUE(w->mnuSurf6->isChecked());
        EXPECT_FALSE(w->mnuSurf8->isChecked());
        w->mnuSurf8->trigger();
        EXPECT_FALSE(w->mnuSurf6->isChecked());
        EXPECT_TRUE(w->mnuSurf8->isChecked());
        EXPECT_EQ(readSettings(), "/data/teeth\r\nSurferV8\r\n");
        w->mnuSurf6->trigger();
        EXPECT_EQ(readSettings(), "/data/teeth\r\nSurferV6\r\n");
        w->mnuSurf6->trigger();  // choosing the ticked item again keeps it ticked
        EXPECT_TRUE(w->mnuSurf6->isChecked());
        EXPECT_FALSE(w->mnuSurf8->isChecked());
        EXPECT_EQ(GetSurferProgID(state), "Surfer.APP");
    }
    // The next start ticks what was chosen last.
    state = AppState{};
    state.ProgramDir = programDir.path().toStdString();
    auto again = start();
    EXPECT_TRUE(again->mnuSurf6->isChecked());
    EXPECT_FALSE(again->mnuSurf8->isChecked());
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(Startup, OnlyTheClickedTopicIsRedUntilReset) {
    auto w = start();
    const QColor normal = QApplication::palette().color(QPalette::ButtonText);
    const QColor red(255, 0, 0);
    ClickLabel* topics[] = {w->lblConversion, w->lblTooth, w->lblPlane,
                            w->lblLandmark, w->lblOutlines, w->lblTransform};
    for (ClickLabel* l : topics) EXPECT_EQ(l->textColor(), normal);

    w->lblLandmark->click();
    for (ClickLabel* l : topics)
        EXPECT_EQ(l->textColor(), l == w->lblLandmark ? red : normal) << l->text().toStdString();
    EXPECT_EQ(w->lblDescrip->text(),
              "Captures landmark data from teeth in Surfer and performs translations and "
              "measures of variance and accuracy.");
    w->lblConversion->click();
    EXPECT_EQ(w->lblDescrip->text(),
              "Converts files between formats, e.g. comma-delimited files (*.csv), Surfer grid "
              "(*.grd), tiff text files (*.txt) and VRML files (*.wrl).");

    w->Label2->click();
    for (ClickLabel* l : topics) EXPECT_EQ(l->textColor(), normal);
    EXPECT_TRUE(w->lblDescrip->text().isEmpty());
}

TEST_F(Startup, PidControlsAreMirroredIntoState) {
    auto w = start();
    w->chkSurferPID->setChecked(true);
    w->txtSurferPID->setText("4242");
    EXPECT_TRUE(state.chkSurferPID);
    EXPECT_EQ(state.txtSurferPID, "4242");
    w->chkSurferPID->setChecked(false);
    EXPECT_FALSE(state.chkSurferPID);
}

TEST_F(Startup, ToolWindowsAreSingleAndFileNewUnloadsTheFive) {
    auto w = start();
    int built = 0;
    w->setWindowFactory("frmCuspVol", [&] { ++built; return new QWidget; });
    w->setWindowFactory("frmCSVView", [] { return new QWidget; });
    EXPECT_TRUE(w->mnuCuspVol->isEnabled());
    EXPECT_TRUE(w->mnuCSVView->isEnabled());
    EXPECT_FALSE(w->mnuRake->isEnabled());

    w->mnuNew->trigger();  // nothing loaded: nothing happens
    w->mnuCuspVol->trigger();
    QWidget* first = w->windows().find("frmCuspVol");
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    w->mnuCuspVol->trigger();
    EXPECT_EQ(w->windows().find("frmCuspVol"), first);
    EXPECT_EQ(built, 1);

    w->mnuCSVView->trigger();
    w->mnuNew->trigger();
    EXPECT_EQ(w->windows().find("frmCuspVol"), nullptr);
    EXPECT_NE(w->windows().find("frmCSVView"), nullptr);
    w->mnuCuspVol->trigger();
    EXPECT_EQ(built, 2);
}

TEST_F(Startup, AboutShowsVersionAndBuildTime) {
    auto w = start();
    w->mnuAbout->trigger();
    auto* about = qobject_cast<frmAbout*>(w->windows().find("frmAbout"));
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "About");
    EXPECT_EQ(about->Label1->text(), "The Trelvik");
    EXPECT_EQ(about->Label3->text(), "Version 3.0");
    EXPECT_EQ(about->Command1->text(), "OK");
    // The test program's own file stands in for the executable.
    const QString created = about->Label5->text();
    EXPECT_TRUE(created.startsWith("Created: ")) << created.toStdString();
    EXPECT_GT(created.size(), QString("Created: ").size());
    EXPECT_TRUE(created.mid(9).contains(':'));
    about->Command1->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(w->windows().find("frmAbout"), nullptr);
}
