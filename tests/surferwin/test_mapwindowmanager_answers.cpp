// Answering the digitise question under a real window manager: a name typed in the map
// window's Save box with its completer shown, the question shown again by "Back" over the
// map window it brought back, OK its focused button each time it shows, and the tool
// window that asked in front once it ends. Run as the other window-manager tests are.
#include "formats/digitisefile.h"
#include "surferwin/wmdesk.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace wmdesk;
using trelvik::testsupport::whenTitled;

namespace {
// Presses the button of `box` whose text is `text`.
void press(QMessageBox* box, const QString& text) {
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text) return b->click();
    ADD_FAILURE() << "no button " << text.toStdString() << " on the box " << box->windowTitle().toStdString();
}

// OK is the button the question's focus goes to, and the one Enter presses.
bool okIsFocusedAndDefault(const QMessageBox* question) {
    const auto* ok = qobject_cast<const QPushButton*>(question->button(QMessageBox::Ok));
    return question->focusWidget() == ok && ok->isDefault();
}

// Which of its buttons the question's focus goes to, and which one Enter presses.
std::string focusOf(const QMessageBox* question) {
    const QWidget* focus = question->focusWidget();
    const auto* button = qobject_cast<const QAbstractButton*>(focus);
    std::string said = "focus on ";
    said += button ? button->text().toStdString()
                   : focus ? "a " + std::string(focus->metaObject()->className()) : std::string("nothing");
    for (QAbstractButton* b : question->buttons())
        if (auto* p = qobject_cast<QPushButton*>(b); p && p->isDefault())
            said += ", " + p->text().toStdString() + " the default";
    return said;
}

void closeByHand(MapWindow& win) {
    for (QAction* act : win.findChildren<QAction*>())
        if (act->text() == "Close window") act->trigger();
}

// The map window maximized, minimized and brought back while the question waits, a point
// clicked and the map window closed by hand: OK then asks ("Digitise file"), and Back shows
// the question again over the map window it brings back.
void clickThenCloseTheMapWindow(Desk& f, QMessageBox* question) {
    ASSERT_NO_FATAL_FAILURE(f.minimize(question));
    f.win->showMaximized();
    f.win->raise();
    f.win->activateWindow();
    EXPECT_TRUE(settle([&] {
        return !f.win->isMinimized() && question->windowHandle()->transientParent() == f.win->windowHandle() &&
               seenAt(question->frameGeometry().center()) == "QMessageBox";
    })) << "waited for the map window brought back, the question above it";
    f.clickMap(5, 2.5);
    closeByHand(*f.win);
    EXPECT_TRUE(settle([&] { return !f.win->isVisible(); })) << "waited for the map window closed";
}
} // namespace

// The name completer's list is a popup of its own: while a question waits it takes its
// keys as it does with none open, and the name chosen from it is saved.
TEST(MapWindowUnderWindowManager, ANameTypedInTheSaveBoxIsCompletedChosenAndSavedWhileAQuestionWaits) {
    if (needsWindowManager()) GTEST_SKIP() << "needs a window manager on X";
    Desk f;
    ASSERT_NO_FATAL_FAILURE(f.digitising());
    f.files.write("dentine.dat", "2,2\n");  // another name the completer offers
    bool listShown = false;
    QString chosen;
    f.ask([&](QMessageBox*) {
        f.clickMap(5, 2.5);
        whenTitled(trelvik::kDefaultTitle, [](QMessageBox* replace) { press(replace, "&Yes"); });
        whenShown<QFileDialog>([&](QFileDialog* save) {
            auto* name = save->findChild<QLineEdit*>("fileNameEdit");
            auto* files = save->findChild<QAbstractItemView*>("listView");
            ASSERT_TRUE(name && files);
            // The folder read (in the background), as the user sees it listed.
            EXPECT_TRUE(settle([&] { return files->model()->rowCount(files->rootIndex()) >= 2; }))
                << "waited for the folder listed in the Save box";
            name->clear();
            QTest::keyClick(save->windowHandle(), 'd');
            QAbstractItemView* list = name->completer() ? name->completer()->popup() : nullptr;
            listShown = settle([&] { return list && list->isVisible(); });
            QTest::keyClick(save->windowHandle(), 'i');
            // Chosen from the list, then saved with Enter.
            for (const auto key : {Qt::Key_Down, Qt::Key_Return})
                QTest::keyClick(save->windowHandle(), key);
            chosen = name->text();
            if (list) list->hide();  // whatever happened, no popup outlives the test
            QTest::keyClick(save->windowHandle(), Qt::Key_Return);
        });
        for (auto* b : f.win->findChildren<QPushButton*>())
            if (b->text() == "Save...") b->click();
    });
    EXPECT_TRUE(listShown);
    EXPECT_EQ(chosen.toStdString(), "digit1.dat");
    const auto groups = trelvik::formats::readDigitiseGroups(f.files.path("digit1.dat"));
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups.front().size(), 1u);
    EXPECT_NEAR(groups.front().front().x, 5, 0.2);  // the point clicked, not the older file's
}

// Shown again by "Back" together with the map window it brought back (maximized, minimized
// and restored, then closed by hand), the question came up now and then unmapped, or where
// the window manager put it rather than where it was placed, with every other window held
// off: it shows every time, in sight where it was put, with OK its default and focused button.
TEST(MapWindowUnderWindowManager, TheQuestionShowsAgainAfterBackOverTheMapWindowClosedMeanwhile) {
    if (needsWindowManager()) GTEST_SKIP() << "needs a window manager on X";
    Desk f;
    ASSERT_NO_FATAL_FAILURE(f.digitising());
    f.maximize();
    int shows = 0;
    bool inSight = false, okFocused = false;
    std::string focusSeen, sightSeen;
    std::function<void(QMessageBox*)> onQuestion = [&](QMessageBox* question) {
        if (++shows > 1) {
            inSight = settle([&] {
                return question->windowHandle()->isExposed() &&
                       seenAt(question->frameGeometry().center()) == "QMessageBox";
            });
            const auto yesNo = [](bool b) { return std::string(b ? "yes" : "no"); };
            sightSeen = "mapped " + yesNo(question->windowHandle()->isExposed()) + ", kept above the map window " +
                        yesNo(question->windowHandle()->transientParent() == f.win->windowHandle()) +
                        ", seen where it was put: " + seenAt(question->frameGeometry().center());
            okFocused = settle([&] { return okIsFocusedAndDefault(question); });
            focusSeen = focusOf(question);
            return question->button(QMessageBox::Cancel)->click();
        }
        wait(400);
        clickThenCloseTheMapWindow(f, question);
        whenTitled("Digitise file", [&](QMessageBox* warning) {
            whenTitled(trelvik::kDigitiseTitle, onQuestion);
            press(warning, "Back");
        });
        question->button(QMessageBox::Ok)->click();
    };
    whenTitled(trelvik::kDigitiseTitle, onQuestion);
    EXPECT_FALSE(trelvik::askDigitise(f.prompt, "Use 'Digitise' to define crest.", f.files.path("digit1.dat")));
    EXPECT_EQ(shows, 2);
    EXPECT_TRUE(inSight) << "the question shown again is not in sight: " << sightSeen;
    EXPECT_TRUE(okFocused) << "the question shown again holds its " << focusSeen;
}

// The user moved the focus to Cancel (Tab) and pressed OK by its Alt+O: shown again by
// "Back", the question has OK as its default and focused button, so Enter goes on.
TEST(MapWindowUnderWindowManager, OkIsTheQuestionsDefaultAndFocusedButtonEachTimeItShows) {
    if (needsWindowManager()) GTEST_SKIP() << "needs a window manager on X";
    Desk f;
    ASSERT_NO_FATAL_FAILURE(f.digitising());
    int shows = 0, warnings = 0;
    std::function<void(QMessageBox*)> onQuestion = [&](QMessageBox* question) {
        ++shows;
        wait(400);
        EXPECT_TRUE(okIsFocusedAndDefault(question)) << "show " << shows << ": " << focusOf(question);
        whenTitled("Digitise file", [&](QMessageBox* warning) {
            // No watch outlives the test: it would answer a later test's box.
            const bool back = ++warnings == 1;
            if (back) whenTitled(trelvik::kDigitiseTitle, onQuestion);
            press(warning, back ? "Back" : "Go on");
        });
        if (shows == 1) {
            f.clickMap(5, 2.5);
            question->button(QMessageBox::Cancel)->setFocus(Qt::TabFocusReason);
            question->button(QMessageBox::Ok)->click();
            return;
        }
        // Brought to the front (as by a click on its title bar), the question takes Enter.
        question->activateWindow();
        EXPECT_TRUE(settle([&] { return question->isActiveWindow(); })) << "waited for the question in front";
        QTest::keyClick(question->windowHandle(), Qt::Key_Return);
    };
    whenTitled(trelvik::kDigitiseTitle, onQuestion);
    EXPECT_TRUE(trelvik::askDigitise(f.prompt, "Use 'Digitise' to define crest.", f.files.path("digit1.dat")));
    EXPECT_EQ(shows, 2);
    EXPECT_EQ(warnings, 2);
}

// Once the question ends, the tool window that asked, whose status line tells the result,
// takes the keyboard focus straight from the question, which the user answers in front:
// the map window the question brought forward, where keys typed at once would go, takes
// it no more. After Cancel, and after OK once the file is saved in the map window.
TEST(MapWindowUnderWindowManager, TheToolWindowThatAskedTakesTheFocusStraightFromTheQuestion) {
    if (needsWindowManager()) GTEST_SKIP() << "needs a window manager on X";
    Desk f;
    ASSERT_NO_FATAL_FAILURE(f.digitising());
    auto* name = new QLineEdit(&f.tool);
    name->show();
    name->setFocus();
    bool answered = false;
    int mapFocused = 0;  // times the map window took the focus since the answer
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &f.tool,
                     [&](QWindow* w) { mapFocused += answered && w == f.win->windowHandle(); });
    for (const bool ok : {false, true}) {
        answered = false;
        mapFocused = 0;
        whenShown<QMessageBox>([&](QMessageBox* question) {
            EXPECT_TRUE(settle([&] { return f.win->isActiveWindow(); })) << "waited for the map window in front";
            if (ok) {
                f.clickMap(5, 2.5);
                whenTitled(trelvik::kDefaultTitle, [](QMessageBox* replace) { press(replace, "&Yes"); });
                whenShown<QFileDialog>([](QFileDialog* save) {
                    save->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->click();
                });
                for (auto* b : f.win->findChildren<QPushButton*>())
                    if (b->text() == "Save...") b->click();
            }
            question->activateWindow();
            EXPECT_TRUE(settle([&] { return question->isActiveWindow(); })) << "waited for the question in front";
            answered = true;
            question->button(ok ? QMessageBox::Ok : QMessageBox::Cancel)->click();
        });
        EXPECT_EQ(trelvik::askDigitise(f.prompt, "Use 'Digitise' to define crest.", f.files.path("digit1.dat")), ok);
        const char* after = ok ? "after OK" : "after Cancel";
        EXPECT_TRUE(settle([&] { return QApplication::focusWidget() == name; }))
            << after << " the focus is in "
            << (QApplication::focusWidget() ? QApplication::focusWidget()->window()->metaObject()->className()
                                            : "no window");
        EXPECT_EQ(mapFocused, 0) << after;
    }
}
