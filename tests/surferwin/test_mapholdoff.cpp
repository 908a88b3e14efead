// What a waiting "Digitise map" question holds off, offscreen: the windows that could
// start a step take no key, shortcut or close, and take them again once it ends; popups
// (a name completer's list, a menu made without a parent) work as with no question open.
// Keys go through Qt's delivery of the user's keys (QTest on a window): a popup open
// takes them whichever window they were typed in.
#include "surferwin/mapfixture.h"

#include <QCompleter>
#include <QDialog>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using namespace mapfixture;
using trelvik::testsupport::leftClick;

namespace {
// Types `keys` in `window` as the user does.
void type(QWidget* window, const char* keys) {
    for (const char* k = keys; *k; ++k) QTest::keyClick(window->windowHandle(), *k);
}

// A tool window as the user knows one: a name box with the focus, a button with an
// Alt+letter, a menu with an Alt+letter and a command with a Ctrl+ key, a close box.
struct ToolWindow : QMainWindow {
    QLineEdit* name = new QLineEdit(this);
    int calculated = 0, quit = 0, closeRequests = 0;
    ToolWindow() {
        setCentralWidget(new QWidget(this));
        name->setParent(centralWidget());
        auto* calculate = new QPushButton("&Calculate", centralWidget());
        calculate->move(0, 40);
        QObject::connect(calculate, &QPushButton::clicked, [this] { ++calculated; });
        menuBar()->addMenu("&File")->addAction("Quit", QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { ++quit; });
        resize(400, 200);
        show();
        activateWindow();
        name->setFocus();
        wait(50);
    }
    void closeEvent(QCloseEvent* e) override {
        ++closeRequests;
        QMainWindow::closeEvent(e);
    }
    // What the user does in it, in front: types a letter, presses Alt+C, Ctrl+Q and Alt+F
    // and its close box. True when the File menu opened (it is closed again).
    bool useEverything() {
        activateWindow();
        wait(50);
        type(this, "x");
        QTest::keyClick(windowHandle(), Qt::Key_C, Qt::AltModifier);
        wait(300);  // a button pressed by its Alt+letter shows itself pressed a moment
        QTest::keyClick(windowHandle(), Qt::Key_Q, Qt::ControlModifier);
        QTest::keyClick(windowHandle(), Qt::Key_F, Qt::AltModifier);
        QWidget* menu = QApplication::activePopupWidget();
        if (menu) menu->hide();
        windowHandle()->close();  // as the window manager's close box and Alt+F4 ask
        return menu != nullptr;
    }
};
} // namespace

TEST(MapWindow, WhileAQuestionWaitsANameCompleterInAMapWindowDialogAndAMenuWithoutParentTakeTheirKeys) {
    Fixture f;
    QString chosen, picked;
    bool listShown = false, listGone = false;
    whileAsked(f.dir.path("digit1.dat"), [&] {
        // A dialog of the map window with a name box that completes names, as Save's.
        QDialog save(f.win.get());
        auto* name = new QLineEdit(&save);
        name->setCompleter(new QCompleter(QStringList{"digit.dat", "digit1.dat", "molar.grd"}, &save));
        save.show();
        name->setFocus();
        // Brought to the front as by the user's click (the question, just shown, brings the
        // map window forward meanwhile).
        for (int i = 0; i < 100 && !save.isActiveWindow(); ++i) {
            save.activateWindow();
            wait(20);
        }
        type(&save, "d");  // the list of names drops down
        QAbstractItemView* list = name->completer()->popup();
        listShown = list->isVisible();
        type(&save, "i");
        for (const auto key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}) QTest::keyClick(save.windowHandle(), key);
        chosen = name->text();
        listGone = !list->isVisible();
        list->hide();  // whatever happened, no popup outlives the test
        // A menu made without a parent, chosen from by keys.
        QMenu menu;
        for (const char* text : {"Relief map", "Contour map"})
            menu.addAction(text, [&picked, text] { picked = text; });
        menu.popup(f.win->mapToGlobal(QPoint(40, 40)));
        wait(50);
        for (const auto key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}) QTest::keyClick(menu.windowHandle(), key);
        menu.hide();
    });
    EXPECT_TRUE(listShown);
    EXPECT_EQ(chosen.toStdString(), "digit1.dat");
    EXPECT_TRUE(listGone);
    EXPECT_EQ(picked.toStdString(), "Contour map");
}

// While a question waits a tool window takes no key, Alt+letter, Ctrl+ key, click or
// close, nor does one opened meanwhile; once it ends each is given back as it was (the
// name box has the focus again, a window disabled before stays so) and the same keys act.
TEST(MapWindow, WindowsHeldOffByAQuestionTakeNoKeyShortcutOrCloseAndAreGivenBackAsTheyWere) {
    Fixture f;
    ToolWindow tool;
    QWidget disabledBefore;
    disabledBefore.setEnabled(false);
    disabledBefore.show();
    std::unique_ptr<QWidget> openedMeanwhile;
    int lateClicks = 0;
    bool menuOpened = true;
    whileAsked(f.dir.path("digit1.dat"), [&] {
        menuOpened = tool.useEverything();
        openedMeanwhile = std::make_unique<QWidget>();
        auto* button = new QPushButton("Calculate", openedMeanwhile.get());
        QObject::connect(button, &QPushButton::clicked, [&] { ++lateClicks; });
        openedMeanwhile->show();
        leftClick(button);
    });
    EXPECT_TRUE(tool.name->text().isEmpty()) << tool.name->text().toStdString();
    EXPECT_EQ(tool.calculated, 0);
    EXPECT_EQ(tool.quit, 0);
    EXPECT_FALSE(menuOpened);
    EXPECT_TRUE(tool.isVisible());
    EXPECT_EQ(lateClicks, 0);
    EXPECT_FALSE(disabledBefore.isEnabled());
    // Given back: the very same input acts.
    EXPECT_TRUE(openedMeanwhile->isEnabled());
    EXPECT_EQ(tool.focusWidget(), tool.name);
    EXPECT_TRUE(tool.useEverything());
    EXPECT_EQ(tool.name->text().toStdString(), "x");
    EXPECT_EQ(tool.calculated, 1);
    EXPECT_EQ(tool.quit, 1);
    EXPECT_EQ(tool.closeRequests, 1);
    EXPECT_FALSE(tool.isVisible());
}
