// Every tool window as the menus open it, looked at as a new user finds it.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QTabWidget>

#include "app/toolwindows.h"
#include "core/appstate.h"
#include "core/prompt.h"
#include "shell/frmStartup.h"
#include "support/qtevents.h"
#include "support/tempfolder.h"
#include "surfer/application.h"
#include "widgets/wheelneedsfocus.h"

using namespace trelvik;
using trelvik::testsupport::turnWheelOver;

namespace {

const char* const kToolWindows[] = {"frmCSVView", "frmSurfFns",  "frmCuspVol",   "frmCuspOR",  "frmConversion",
                                    "frmLandFind", "frmEnamOut", "frmCurvature", "frmAppAng",  "frmCapture",
                                    "frmRake",     "frmPlaneFit", "frmRotateAll", "frmPtCloud"};

// What the wheel may change in a control: a list box's choice, a number box's text, a
// value bar's value. Nothing for a scroll bar that scrolls its page or list.
std::optional<QString> valueOf(QWidget* w) {
    if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
    if (auto* s = qobject_cast<QAbstractSpinBox*>(w)) return s->text();
    auto* bar = qobject_cast<QAbstractSlider*>(w);
    const QWidget* holder = w->parentWidget();
    if (!bar || (holder && qobject_cast<QAbstractScrollArea*>(holder->parentWidget()))) return std::nullopt;
    return QString::number(bar->value());
}

// Turns the wheel over each control on show that sets a value: none changes.
void expectWheelChangesNothing(QWidget* window, const std::string& where) {
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled()) continue;
        const auto before = valueOf(w);
        if (!before) continue;
        turnWheelOver(w);
        EXPECT_EQ(valueOf(w)->toStdString(), before->toStdString())
            << where << ": the wheel changed a " << w->metaObject()->className()
            << (w->hasFocus() ? " that the window gave the focus" : "");
    }
}

} // namespace

// A window just opened hands its first control the focus, a drive list in most: the wheel
// over it, or over any list box, number box or value bar on any tab, scrolls past it and
// leaves its value until the user clicks it or reaches it with Tab.
TEST(ToolWindows, JustOpenedNoControlTakesTheWheelOnAnyTab) {
    testsupport::ensureApp();
    installWheelNeedsFocus(*qApp);
    trelvik::testing::TempFolder dir;
    AppState state;
    state.ProgramDir = state.DefaultDir = dir.folder();
    ScriptedPrompt prompt;
    {
        frmStartup main(state, prompt);
        registerToolWindows(main, state, prompt);
        for (const char* name : kToolWindows) {
            QWidget* window = main.windows().show(name);
            ASSERT_NE(window, nullptr) << name;
            testsupport::wait(50);
            ASSERT_TRUE(window->isActiveWindow()) << name;
            expectWheelChangesNothing(window, name);
            for (QTabWidget* tabs : window->findChildren<QTabWidget*>())
                for (int i = 0; i < tabs->count(); ++i) {
                    if (!tabs->isTabEnabled(i)) continue;
                    tabs->setCurrentIndex(i);
                    QApplication::processEvents();
                    expectWheelChangesNothing(window, std::string(name) + ", tab \"" +
                                                          tabs->tabText(i).toStdString() + "\"");
                }
            main.windows().unload(name);
        }
    }
    QApplication::processEvents();
    surfer::shutdownAll();
}
