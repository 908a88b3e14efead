// The Qt prompt (real message boxes answered by a timer), the box OK on a digitise question
// shows, and the window registry.
#include <gtest/gtest.h>

#include "support/qtapp.h"
#include "support/qtevents.h"
#include "support/tempfolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/replacequestion.h"

#include "widgets/digitiseokcheck.h"
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
    int width = 0;
};

// Presses button on the first message box that shows, recording what it looked like.
void pressWhenShown(QMessageBox::StandardButton button, SeenBox& seen) {
    QTimer::singleShot(0, [button, &seen] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (!box || !box->isVisible()) continue;
            seen = {box->windowTitle(), box->text(), box->windowModality(),
                    static_cast<int>(box->buttons().size()), box->width()};
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

// A question read from a deep folder names it by its end: the folder's own name and its
// parent's whole, the start given way, the whole folder in the box's tool tip.
TEST(QtPrompt, TheDigitiseQuestionShortensADeepFolderFromItsStart) {
    ensureApp();
    std::string folder = "/home/user/data-deep";
    for (int i = 1; i <= 8; ++i) folder += "/level" + std::to_string(i);
    folder += "/a_long_folder_name_for_testing";
    QString text, tip;
    testsupport::whenTitled("Digitise map", [&](QMessageBox* box) {
        text = box->text();
        tip = box->toolTip();
        box->button(QMessageBox::Cancel)->click();
    });
    QtPrompt prompt;
    EXPECT_FALSE(askDigitise(prompt, "Use 'Digitise' to define crest.", folder + "/digit.dat", "/elsewhere"));
    EXPECT_TRUE(text.contains(QString::fromUtf8(" in \u2026/")) &&
                text.contains(QStringLiteral("/level8/a_long_folder_name_for_testing then press 'OK'.")) &&
                !text.contains(QStringLiteral("/level1/")))
        << text.toStdString();
    EXPECT_EQ(tip.toStdString(), folder);

    // The two names too long for the width together still stand whole, the line broken
    // between them; only the folders above give way.
    const std::string parent = folder.substr(0, folder.rfind('/')) + "/a_long_folder_name_for_testing";
    const std::string own = "level8_with_a_name_long_enough_to_fill_a_line_nearly_alone";
    testsupport::whenTitled("Digitise map", [&](QMessageBox* box) {
        text = box->text();
        tip = box->toolTip();
        box->button(QMessageBox::Cancel)->click();
    });
    EXPECT_FALSE(askDigitise(prompt, "Use 'Digitise' to define crest.", parent + "/" + own + "/digit.dat", "/elsewhere"));
    EXPECT_TRUE(QString(text).remove(QLatin1Char('\n')).contains(
                    QString::fromUtf8(" in \u2026/a_long_folder_name_for_testing/") + QString::fromStdString(own) +
                    QStringLiteral(" then press 'OK'.")) &&
                !text.contains(QStringLiteral("level7")))
        << text.toStdString();
    EXPECT_EQ(tip.toStdString(), parent + "/" + own);
}

// A short refusal under a title of its own leaves the title bar room for the whole title
// beside the window's icon and its three buttons (some 100 pixels with their margins).
TEST(QtPrompt, AShortBoxIsWideEnoughForItsWholeTitle) {
    ensureApp();
    QtPrompt prompt;
    SeenBox seen;
    pressWhenShown(QMessageBox::Ok, seen);
    prompt.message("Crest name", "Choose crest name");
    QFont bold = QApplication::font();
    bold.setBold(true);
    EXPECT_GE(seen.width, QFontMetrics(bold).horizontalAdvance("Crest name") + 100);
}

namespace {

// A long box as it showed: its screen, its frame and its buttons' rectangles, its frame
// with the details opened, its text and its details. Answered with OK, else Cancel.
struct LongBox {
    QRect screen, frame, opened;
    std::vector<QRect> buttons;
    QString text, details;
};

void openLongBox(const QString& title, LongBox& seen) {
    testsupport::whenTitled(title, [&seen](QMessageBox* box) {
        seen.screen = box->screen()->availableGeometry();
        seen.frame = box->frameGeometry();
        seen.text = box->text();
        seen.details = box->detailedText();
        seen.buttons.clear();
        for (QAbstractButton* b : box->buttons()) seen.buttons.emplace_back(b->mapToGlobal(QPoint(0, 0)), b->size());
        for (QAbstractButton* b : box->buttons())
            if (box->buttonRole(b) == QMessageBox::ActionRole) b->click();  // "Show Details..."
        testsupport::wait(50);
        seen.opened = box->frameGeometry();
        (box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok) : box->button(QMessageBox::Cancel))->click();
    });
}

void expectOnScreen(const LongBox& seen) {
    EXPECT_TRUE(seen.screen.contains(seen.frame)) << seen.frame.height() << " of " << seen.screen.height();
    EXPECT_FALSE(seen.buttons.empty());
    for (const QRect& b : seen.buttons) EXPECT_TRUE(seen.screen.contains(b));
    EXPECT_LE(seen.opened.height(), seen.screen.height());
}

} // namespace

// A message of many long lines (a settle's notes) keeps its box and OK on the screen,
// the details opened too, with every line a click away; one line longer than the screen
// shows cut rather than not at all; a question keeps its question and its buttons however
// many names it lists. Run again on a 1280 x 720 screen (tests/CMakeLists.txt).
TEST(QtPrompt, AMessageOfEightyLongLinesFitsTheScreenWithItsButtons) {
    ensureApp();
    std::string text;
    for (int i = 1; i <= 80; ++i)
        text += "The file /home/user/scans/upper/molar_" + std::to_string(i) +
                "_smoothed.grd was saved since the step began, so it is kept as it is now.\n";
    QtPrompt prompt;
    LongBox seen;
    openLongBox("Settled", seen);
    prompt.message("Settled", text);
    expectOnScreen(seen);
    EXPECT_EQ(seen.details.toStdString(), text);

    std::string oneLine = text;
    std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
    openLongBox("Settled", seen);
    prompt.message("Settled", oneLine);
    expectOnScreen(seen);
    EXPECT_TRUE(seen.text.startsWith("The file /home/user/scans/upper/molar_1_smoothed.grd was saved"))
        << seen.text.toStdString();
    EXPECT_TRUE(seen.text.endsWith("...")) << seen.text.toStdString();
    EXPECT_EQ(seen.details.toStdString(), oneLine);

    trelvik::testing::TempFolder folder;
    std::vector<std::string> names;
    for (int i = 1; i <= 45; ++i)
        names.push_back(folder.write("upper_left_first_molar_" + std::to_string(i) +
                                     "_smoothed_levelled_trimmed_and_resampled_to_ten_microns.grd", "old"));
    ScriptedPrompt scripted;
    scripted.answer(Answer::Cancel);
    ConfirmReplace(scripted, names);
    openLongBox("Replace files", seen);
    EXPECT_FALSE(ConfirmReplace(prompt, names));
    expectOnScreen(seen);
    EXPECT_TRUE(seen.text.startsWith("These files already exist:\n    " + QString::fromStdString(names[0])))
        << seen.text.toStdString();
    EXPECT_TRUE(seen.text.endsWith("\n\nReplace them? Cancel writes nothing.")) << seen.text.toStdString();
    ASSERT_EQ(scripted.shown.size(), 1u);
    EXPECT_EQ(seen.details.toStdString(), scripted.shown[0].text);
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

// The box OK on a question for an existing digit1.dat shows while the map windows' lists
// find `found`; answered "Go on". Returns its text.
std::string okBoxWith(const OkFinding& found, std::string& folder) {
    ensureApp();
    trelvik::testing::TempFolder dir;
    folder = dir.folder();
    const std::string asked = dir.write("digit1.dat", "1,1\r\n");
    setPointsOnOkSource([found](long, const std::function<bool(const std::string&)>&) { return found; });
    std::string text;
    testsupport::whenTitled("Digitise map", [&](QMessageBox* question) {
        testsupport::whenTitled("Digitise file", [&](QMessageBox* box) {
            text = box->text().toStdString();
            for (QAbstractButton* b : box->buttons())
                if (b->text() == "Go on") b->click();
        });
        question->button(QMessageBox::Ok)->click();
    });
    QtPrompt prompt;
    EXPECT_TRUE(askDigitise(prompt, "Use 'Digitise' to define crest.", asked));
    setPointsOnOkSource({});
    return text;
}

} // namespace

// Points in two plots' lists, none saved as the step's file: saving either list leaves the
// other's points out, so the box names the list to clear.
TEST(DigitiseOkBox, PointsInTwoUnsavedListsAreAdvisedOntoOnePlot) {
    OkFinding found;
    found.found = OkFinding::Case::NotSaved;
    found.points = 3;
    found.otherPlots = "Plot1";
    std::string folder;
    const std::string text = okBoxWith(found, folder);
    EXPECT_NE(text.find("return to the question and clear the list of Plot1, or click all the points on one plot "
                        "and save them as digit1.dat in " + folder),
              std::string::npos)
        << text;
}

// The step's file written over since a list was saved there, and that list cleared: the
// list to save again is the saved plot's, not the empty one on show.
TEST(DigitiseOkBox, AFileWrittenOverNamesThePlotWhosePointsWereSavedThere) {
    OkFinding found;
    found.found = OkFinding::Case::WrittenOver;
    found.points = 2;
    found.savedPlot = "Plot1";
    std::string folder;
    const std::string text = okBoxWith(found, folder);
    EXPECT_NE(text.find("return to the question and save the list of Plot1 as digit1.dat in " + folder),
              std::string::npos)
        << text;
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
