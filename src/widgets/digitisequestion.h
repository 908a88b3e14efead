#pragma once
// The "Digitise map" question while it is open, and what links it to the window the
// user digitises in. The question names the file the step will read ("Save as
// digit1.dat in same directory as grid then press 'OK'."): the map window offers that
// file, in the folder the step reads it from, when the user saves. The question stands beside the tool window that asks,
// clear of the map window, which it brings to the front; it is not kept above other
// windows, so the map window's own dialogs come over it. Where no spot is clear of the
// map window (one that fills the screen), it stays above the map window instead, still
// below the dialogs the map window opens: on the part the map window offers (its canvas,
// clear of its menus, toolbar and panel), covering as little of the maps drawn there as
// it can. Once a spot clear of the map window is there again (the map window restored
// or minimized), the question goes back beside its tool window. While it waits, as under
// a message box, the tool windows and the main window are held off (widgets/inputblocker.h),
// so one question is open at a time; the map windows, their dialogs and every popup work.
// Each time it shows, OK is its default and focused button; as it ends, the tool window
// that asked comes to the front with the keyboard focus.
//
//   AskingWindow            held by a tool window's prompt around each of its questions
//   OpenDigitiseQuestion    held by the question box while it shows; brings the tool
//                           window that asked to the front at its end
//   focusAskingWindow()     and as the answer ends it, before the question hides
//   askedDigitisePath()     the file the open question's step reads ("" with none open)
//   savesWhereAsked(path)   whether a save at path lands on that file (the same file
//                           on disk, a link to it included)
//   openDigitiseQuestionSerial()  the open question's number, so that a point knows the
//                           question it was clicked for (each question has its own)
//   setDigitiseQuestionText  the question's words on its box, however deep its folder
//   setDigitiseQuestionOpenedHook  the map windows hear of each question as it opens
//   setDigitiseWindowSource the map windows say which of them the user digitises in
//   setDigitiseWindowTest   and which windows are map windows, usable while one waits
//   setBringBackDigitiseWindow  and how the one closed by hand comes back, which
//                           bringBackDigitiseWindow() does each time a question shows
//   showDigitiseQuestion()  shows the open question, once the map window brought back
//                           is on the screen
//   setRoomOverDigitiseWindow  and where on them a question above them may lie
//   placeDigitiseQuestion() places the open question and brings the map window forward;
//                           again whenever a map window is shown while one is open
//   keepDigitiseQuestionInSight()  places it again when the map window grows over it,
//                           shrinks, moves or is minimized
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

class QMessageBox;

namespace trelvik {

inline const char* const kDigitiseTitle = "Digitise map";

// Puts the question's text on its box. The folder it names, that of `readPath`, shows
// whole up to about kQuestionFolderChars characters' width; a deeper one is shortened from
// its start there, in whole folder names, its own name and its parent's kept whole (on
// two lines when too long for that width together), and shows whole in the box's tool tip:
// the question keeps to the width of its
// place beside the tool window, clear of the map window the user clicks in, however
// deep the data folder lies.
inline constexpr int kQuestionFolderChars = 60;
void setDigitiseQuestionText(QMessageBox& box, const std::string& text, const std::string& readPath);

// While one lives, questions are asked for this tool window.
class AskingWindow {
public:
    explicit AskingWindow(QWidget* window);
    ~AskingWindow();
    AskingWindow(const AskingWindow&) = delete;
    AskingWindow& operator=(const AskingWindow&) = delete;

private:
    QPointer<QWidget> previous_;
};

// While one lives, `box` is the open question and `readPath` the file the asking step
// reads after OK (empty for a box of that title that asks for no file).
class OpenDigitiseQuestion {
public:
    OpenDigitiseQuestion(QWidget* box, const std::string& readPath);
    ~OpenDigitiseQuestion();
    OpenDigitiseQuestion(const OpenDigitiseQuestion&) = delete;
    OpenDigitiseQuestion& operator=(const OpenDigitiseQuestion&) = delete;

    struct State {
        QPointer<QWidget> box;
        QPointer<QWidget> asker;
        std::string path;  // absolute, in normal form
        long serial = 0;   // 1 for the first question that asks for a file, and so on
    };

private:
    State state_;
};

// Brings the tool window that asked the open question to the front with the keyboard
// focus (not while it is hidden or minimized). Asked before the question hides, it takes
// the focus straight from the question: hidden with the focus, the question would leave
// the window manager to pass it to the window used before, the map window, where keys
// typed at once would go. The window manager may still pass it there, settling the focus
// after the question in its own time: for a short while after the answer, until the user
// clicks or types, a map window that takes the focus hands it back.
void focusAskingWindow();

// The file the open question's step will read, as an absolute path: the file a save
// must land on for the step to use it. Empty with none open or when not known.
std::string askedDigitisePath();
// Whether a file saved at `path` is the one the open question's step reads (true with
// no question asking for a file).
bool savesWhereAsked(const std::string& path);

// The open question's serial number; 0 with none open or one that asks for no file.
long openDigitiseQuestionSerial();
// Called with its serial number as each question opens, before it shows.
void setDigitiseQuestionOpenedHook(std::function<void(long serial)> hook);

// The window the user digitises in now (nullptr for none).
void setDigitiseWindowSource(std::function<QWidget*()> source);
// Whether a window is one the user digitises in (a map window): it takes input while a
// question waits, when the program's other windows take none.
void setDigitiseWindowTest(std::function<bool(const QWidget*)> test);
bool isDigitiseWindow(const QWidget* window);
// Shows again the map window the user digitises in when it was closed by hand, whenever
// the question shows (after "Back" on the box OK may show too): the user answers there.
void setBringBackDigitiseWindow(std::function<void()> bringBack);
void bringBackDigitiseWindow();

// Shows the open question: brings back the map window closed by hand and, once the
// window manager has mapped it again, shows the question and places it.
void showDigitiseQuestion();

// Moves the open question beside its tool window, clear of the window the user
// digitises in, and brings that window to the front (behind the question when the
// question cannot be clear of it). Nothing while no question is open.
void placeDigitiseQuestion();

// Called when the map window changes size, place or state: a question it now covers is
// placed again, above it where no place is clear of it. A question above it moves with
// the room it offers, and goes back beside its tool window once a place clear of it is
// there (restored) or it hides nothing (minimized). A question clear of it stays put.
void keepDigitiseQuestionInSight();

// Where on a window a question above it may lie (screen coordinates): the area, and
// within it what the question should leave in sight as far as it can.
struct RoomOverWindow {
    QRect area;
    std::vector<QRect> keepInSight;
};
// The room a map window offers (an empty area: anywhere, as placeQuestion finds).
void setRoomOverDigitiseWindow(std::function<RoomOverWindow(const QWidget*)> source);

// The frame rectangle for a question of frame size `size` on the free screen area
// `avail`: of the spots beside `asker` (below, right, above, left) and the corners of
// the area, the first that covers least of `avoid`, then least of `asker`.
QRect placeQuestion(QRect avail, QRect asker, QRect avoid, QSize size);

// The frame rectangle for a question of frame size `size` that lies over a window: of
// the corners of `room.area` and the middles of its edges, those that cover least of
// `room.keepInSight`, and of them the nearest to `near`.
QRect placeQuestionOver(const RoomOverWindow& room, QSize size, QPoint near);

} // namespace trelvik
