// The Qt prompt (real message boxes answered by a timer) and the window registry.
#include <gtest/gtest.h>

#include "support/qtapp.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "widgets/fitscreen.h"
#include "widgets/qtprompt.h"
#include "widgets/windowregistry.h"

using namespace trelvik;
using trelvik::testsupport::ensureApp;

namespace {

struct SeenBox {
    QString title, text;
    Qt::WindowModality modality = Qt::NonModal;
    int buttons = 0;
};

// Presses button on the first message box that shows, recording what it looked like.
void pressWhenShown(QMessageBox::StandardButton button, SeenBox& seen) {
    QTimer::singleShot(0, [button, &seen] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible()) continue;
            seen = {box->windowTitle(), box->text(), box->windowModality(),
                    static_cast<int>(box->buttons().size())};
            box->button(button)->click();
            return;
        }
        pressWhenShown(button, seen);
    });
}

} // namespace

TEST(QtPrompt, OrdinaryBoxIsModalDigitiseQuestionIsNot) {
    ensureApp();
    QtPrompt prompt;
    SeenBox seen;
    pressWhenShown(QMessageBox::Cancel, seen);
    EXPECT_EQ(prompt.message("", "Overwrite file?", Buttons::OkCancel), Answer::Cancel);
    EXPECT_EQ(seen.title, "Trelvik");
    EXPECT_EQ(seen.text, "Overwrite file?");
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
    EXPECT_EQ(seen.buttons, 2);

    pressWhenShown(QMessageBox::No, seen);
    EXPECT_EQ(prompt.message("Save", "Save?", Buttons::YesNoCancel), Answer::No);
    EXPECT_EQ(seen.title, "Save");
    EXPECT_EQ(seen.buttons, 3);

    // The digitise question leaves the map window usable.
    pressWhenShown(QMessageBox::Ok, seen);
    EXPECT_EQ(prompt.message("Digitise map", "Digitise the border\n\rSave as digit.dat ...",
                             Buttons::OkCancel),
              Answer::Ok);
    EXPECT_EQ(seen.title, "Digitise map");
    EXPECT_EQ(seen.modality, Qt::NonModal);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(QtPrompt, BusyPointerIsSetNotCounted) {
    ensureApp();
    QtPrompt prompt;
    prompt.busy(true);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    prompt.busy(true);
    prompt.busy(false);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    prompt.busy(false);  // already normal: must not pop someone else's cursor
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // A question shown while busy has the normal pointer; busy returns afterwards.
    prompt.busy(true);
    Qt::CursorShape during = Qt::WaitCursor;
    QTimer::singleShot(0, [&] {
        during = QApplication::overrideCursor()->shape();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible())
                box->button(QMessageBox::Ok)->click();
    });
    prompt.message("", "Done");
    EXPECT_EQ(during, Qt::ArrowCursor);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    prompt.busy(false);
}

namespace {

class Stubborn : public QWidget {
public:
    bool refuse = true;
protected:
    void closeEvent(QCloseEvent* e) override { refuse ? e->ignore() : e->accept(); }
};

void flushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

TEST(WindowRegistry, OneInstanceUntilClosedThenFresh) {
    ensureApp();
    WindowRegistry reg;
    int built = 0;
    reg.add("frmA", [&] { ++built; return new QWidget; });
    EXPECT_EQ(reg.find("frmA"), nullptr);
    EXPECT_EQ(reg.show("frmMissing"), nullptr);
    reg.unload("frmA");  // not loaded: no error

    QWidget* a = reg.show("frmA");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->isVisible());
    EXPECT_EQ(a->parentWidget(), nullptr);
    EXPECT_EQ(reg.show("frmA"), a);
    EXPECT_EQ(built, 1);

    // The close box unloads it; the next pick builds a new one.
    a->close();
    flushDeletes();
    EXPECT_EQ(reg.find("frmA"), nullptr);
    QWidget* b = reg.load("frmA");
    EXPECT_EQ(built, 2);
    EXPECT_FALSE(b->isVisible());  // loaded, not shown
    reg.unload("frmA");
    EXPECT_EQ(reg.find("frmA"), nullptr);
}

TEST(WindowRegistry, AWindowOpensFittedToTheScreenAndIsBroughtBackOntoIt) {
    ensureApp();
    WindowRegistry reg;
    reg.add("frmTall", [] {
        auto* w = new QWidget;
        w->resize(3000, 3000);  // taller and wider than any screen
        w->setMinimumSize(200, 150);
        return w;
    });
    QWidget* w = reg.show("frmTall");
    const QRect avail = w->screen()->availableGeometry();
    EXPECT_LE(w->width() + kWindowFrameAllowance.width(), avail.width());
    EXPECT_LE(w->height() + kWindowFrameAllowance.height(), avail.height());
    // Placed partly below the screen's edge, it comes back whole.
    w->move(avail.left() + 10, avail.bottom() - 20);
    keepOnScreen(w);
    EXPECT_TRUE(avail.contains(w->frameGeometry())) << w->frameGeometry().y();
    reg.unload("frmTall");
}

TEST(WindowRegistry, WindowThatRefusesToCloseStaysLoaded) {
    ensureApp();
    WindowRegistry reg;
    Stubborn* s = nullptr;
    reg.add("frmS", [&] { s = new Stubborn; return s; });
    reg.show("frmS");
    reg.unloadAll();
    EXPECT_EQ(reg.find("frmS"), s);
    s->refuse = false;
    reg.unloadAll();
    EXPECT_EQ(reg.find("frmS"), nullptr);
}
