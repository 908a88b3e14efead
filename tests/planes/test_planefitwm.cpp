// Plane fit's digitise question answered under a real window manager, as the user
// answers it: points clicked on the map of the chosen grid, saved over the step's file
// from the map window, OK pressed on the question. Run as the map window's window-manager
// tests are (ctest on a display of its own with openbox); offscreen it skips itself.
#include "planes/frmPlaneFit.h"
#include "shell/frmStartup.h"
#include "surfer/surfertest.h"
#include "surferfns/frmSurfFns.h"
#include "surferwin/wmdesk.h"
#include "widgets/filelistbox.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace wmdesk;
using trelvik::testsupport::whenTitled;

// Once OK ends the question, Fit plane, whose status line and formula tell the result,
// takes the focus and keeps it, also when the window manager, settling the focus after
// the question and the Save box have gone, falls back to the map window the user saved in
// after the answer (as it did now and then, and as the test has it do each time).
TEST(PlaneFitUnderWindowManager, FitPlaneHoldsTheFocusAfterOkOnTheQuestionFollowingASave) {
    if (needsWindowManager()) GTEST_SKIP() << "needs a window manager on X";
    surfer::shutdownAll();
    trelvik::testing::TempFolder dir;
    surfertest::saveGrid(dir, "T1.grd",
                         surfertest::makeGrid(21, 21, 0, 10, 0, 10, [](double x, double y) { return 1 + 0.3 * x - 0.2 * y; }));
    dir.write("digit.dat", "1,1\n");  // an earlier step's points, saved over
    trelvik::AppState state;
    state.mnuSurf8Checked = true;
    state.SurferVersion = "SurferV8";
    state.ProgramDir = state.DefaultDir = dir.folder();
    trelvik::QtPrompt prompt;
    trelvik::surferwin::watchVisibleInstances();
    auto main = std::make_unique<trelvik::frmStartup>(state, prompt);
    main->setWindowFactory("frmSurfFns", [&] { return new trelvik::frmSurfFns(state, prompt); });
    main->setWindowFactory("frmPlaneFit", [&] {
        return new trelvik::frmPlaneFit(state, prompt, trelvik::frmPlaneFit::plotThroughSurfFns(main->windows()));
    });
    main->show();
    main->mnuPlaneFit->trigger();
    auto* fit = qobject_cast<trelvik::frmPlaneFit*>(main->windows().find("frmPlaneFit"));
    ASSERT_NE(fit, nullptr);
    fit->DirC->click();
    fit->File1->refresh();
    ASSERT_TRUE(fit->File1->selectFile("T1.grd"));
    emit fit->File1->clicked();
    wait(300);

    MapWindow* map = nullptr;
    whenTitled(trelvik::kDigitiseTitle, [&](QMessageBox* question) {
        ASSERT_TRUE(settle([&] {
            map = surfer::instances().empty() ? nullptr : trelvik::surferwin::findMapWindow(surfer::instances().front()->processId());
            return map && map->isActiveWindow();
        })) << "waited for the map window in front";
        ASSERT_TRUE(map->addMap(surfer::MapKind::Relief, dir.path("T1.grd")));
        map->refresh();
        map->setDigitiseMode(true);
        for (const auto& [x, y] : {std::pair{1.0, 1.0}, {9.0, 2.0}, {4.0, 8.0}}) clickMapOf(*map, x, y);
        whenTitled(trelvik::kDefaultTitle, [](QMessageBox* replace) {
            for (QAbstractButton* b : replace->buttons())
                if (b->text() == "&Yes") b->click();
        });
        whenShown<QFileDialog>([](QFileDialog* save) {
            save->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
        });
        for (auto* b : map->findChildren<QPushButton*>())
            if (b->text() == "Save...") b->click();
        question->activateWindow();
        EXPECT_TRUE(settle([&] { return question->isActiveWindow(); })) << "waited for the question in front";
        QTimer::singleShot(0, map, [map] { map->activateWindow(); });
        question->button(QMessageBox::Ok)->click();
    });
    fit->cmdPFit->click();
    EXPECT_FALSE(fit->txtFormula->text().isEmpty()) << "the plane was not fitted";
    const auto focusIn = [] {
        const QWidget* w = QApplication::activeWindow();
        return std::string(w ? w->metaObject()->className() : "no window");
    };
    EXPECT_TRUE(settle([&] { return fit->isActiveWindow(); })) << "after OK the focus is in " << focusIn();
    wait(1500);
    EXPECT_TRUE(fit->isActiveWindow()) << "a while after OK the focus is in " << focusIn();

    if (map) delete map;
    main.reset();
    QApplication::processEvents();
    surfer::shutdownAll();
}
