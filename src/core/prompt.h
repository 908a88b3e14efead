#pragma once
// User-interaction service handed to every procedure: message boxes, OK/Cancel
// questions (the "Digitise map" prompts among them), the busy pointer. The Qt layer
// (widgets/qtprompt.h) shows real dialogs; tests use ScriptedPrompt, which records
// every message and answers from a queue.
#include "core/samefile.h"
#include "core/commit/workingfiles.h"

#include <deque>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trelvik {

// ReplaceCancel: "Replace" and "Cancel", asked before a run replaces files.
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, ReplaceCancel };
enum class Answer { Ok, Cancel, Yes, No, Replace };

// Title used by message boxes that have none of their own.
inline const char* const kDefaultTitle = "Trelvik";

class Prompt {
public:
    virtual ~Prompt() = default;
    // Shows a message box and returns the button pressed. An empty title means
    // the default title.
    virtual Answer message(const std::string& title, const std::string& text,
                           Buttons buttons = Buttons::Ok) = 0;
    // Hourglass pointer on (true) or back to normal (false).
    virtual void busy(bool on) { (void)on; }
    // The "Digitise map" question (askDigitise below) with OK and Cancel; `readPath` is
    // the file the step reads once the user presses OK. A box like any other unless the
    // prompt does more with it (the map window's Save offers that file).
    virtual Answer digitiseQuestion(const std::string& text, const std::string& readPath) {
        (void)readPath;
        return message("Digitise map", text, Buttons::OkCancel);
    }
};

// A refusal of the user's input: normal pointer, then the message with an OK button.
// Returns false, so a step can end with `return refuse(...)`.
inline bool refuse(Prompt& prompt, const std::string& title, const std::string& text) {
    prompt.busy(false);
    prompt.message(title, text);
    return false;
}

// The "Digitise map" question (OK and Cancel) every digitising step asks while the user
// works in the map window: the instruction, a line feed and a carriage return, then
// "Save as <file> in same directory as grid then press 'OK'.", where <file> is the name
// of `readPath`, the file the step reads after OK. A step that reads from another folder
// than its grid's gives `gridFolder`: where the two differ, the line names the folder
// read ("Save as <file> in <folder> then press 'OK'."). The pointer is normal while the
// question is open; false on Cancel, and after OK the pointer is busy again.
inline constexpr std::string_view kDigitiseSaveAs = "Save as ";
inline constexpr std::string_view kDigitiseSaveWhere = " in same directory as grid then press 'OK'.";
inline bool askDigitise(Prompt& prompt, const std::string& instruction, const std::string& readPath,
                        const std::string& gridFolder = {}) {
    namespace fs = std::filesystem;
    prompt.busy(false);
    const fs::path read(readPath);
    const std::string file = read.filename().string();
    std::string where(kDigitiseSaveWhere);
    const fs::path folder = read.parent_path();
    if (!gridFolder.empty() && !sameFile((folder / "").string(), (fs::path(gridFolder) / "").string()))
        where = " in " + folder.string() + " then press 'OK'.";
    const Answer a =
        prompt.digitiseQuestion(instruction + "\n\r" + std::string(kDigitiseSaveAs) + file + where, readPath);
    if (a == Answer::Cancel) return false;
    prompt.busy(true);
    return true;
}

// What settling a cut commit found during a step (working::takeSettleNotes), said once,
// where the step ends (StepScope): `say` puts it on the window's status line or in a message.
inline void sayWhatSettlingFound(const std::function<void(const std::string&)>& say) {
    const std::string settled = working::takeSettleNotes();
    if (!settled.empty()) say(settled);
}

// The extent of a window's step. Its scopes nest (the handler's guard, the busy pointer of
// a procedure within it, the status line around what it writes), and the step's notes are
// said at the end of the outermost, in a message, or at the end of the one that holds the
// window's status line, on that line after what the step wrote. One left by an exception
// says nothing: the guard that catches it, a scope too, says them after the failure.
class StepScope {
public:
    explicit StepScope(Prompt& prompt) : say_([&prompt](const std::string& notes) { prompt.message("", notes); }) {
        ++depth();
    }
    // A step that ends on the window's status line: `statusLine` adds the notes to it.
    explicit StepScope(std::function<void(const std::string&)> statusLine)
        : say_(std::move(statusLine)), ownsStatusLine_(true) {
        ++depth();
    }
    ~StepScope() {
        if ((--depth() == 0 || ownsStatusLine_) && std::uncaught_exceptions() == 0) sayWhatSettlingFound(say_);
    }
    StepScope(const StepScope&) = delete;
    StepScope& operator=(const StepScope&) = delete;

private:
    static int& depth() {
        thread_local int d = 0;
        return d;
    }
    std::function<void(const std::string&)> say_;
    bool ownsStatusLine_ = false;
};

// The hourglass for a scope of a step, the normal pointer again however it is left.
class BusyScope : public StepScope {
public:
    explicit BusyScope(Prompt& p) : StepScope(p), prompt_(p) { prompt_.busy(true); }
    ~BusyScope() { prompt_.busy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Prompt& prompt_;
};

// Runs one step of a window with the hourglass. A failure (trelvik::Error or any other
// std::exception) ends the step with its message under `title` (empty: the default
// title) and the normal pointer; the result is then false, otherwise the step's own.
inline bool runGuarded(Prompt& prompt, const std::string& title, const std::function<bool()>& step) {
    BusyScope busy(prompt);
    try {
        return step();
    } catch (const std::exception& e) {
        prompt.busy(false);
        prompt.message(title, e.what());
        return false;
    }
}

// Test double: records every message; answers from a queue of responders (each
// may act, e.g. write a digitise file, before answering). With the queue empty it
// answers Ok (Yes for yes/no questions, Replace for the replace question).
class ScriptedPrompt : public Prompt {
public:
    struct Shown {
        std::string title;
        std::string text;
        Buttons buttons;
        // For a "Digitise map" question, the file the step reads after OK (normal form).
        std::string readPath = {};
    };
    using Responder = std::function<Answer(const Shown&)>;

    Answer message(const std::string& title, const std::string& text,
                   Buttons buttons = Buttons::Ok) override {
        return record({title.empty() ? kDefaultTitle : title, text, buttons});
    }
    Answer digitiseQuestion(const std::string& text, const std::string& readPath) override {
        return record({"Digitise map", text, Buttons::OkCancel,
                       std::filesystem::path(readPath).lexically_normal().string()});
    }
    void busy(bool on) override { busyNow = on; ++busyChanges; }

    void answer(Answer a) { answers.push_back([a](const Shown&) { return a; }); }
    void respond(Responder r) { answers.push_back(std::move(r)); }

    std::vector<Shown> shown;
    std::deque<Responder> answers;
    bool busyNow = false;
    int busyChanges = 0;

private:
    Answer record(Shown s) {
        const Buttons buttons = s.buttons;
        shown.push_back(s);
        if (!answers.empty()) {
            Responder r = std::move(answers.front());
            answers.pop_front();
            return r(s);
        }
        if (buttons == Buttons::ReplaceCancel) return Answer::Replace;
        return (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) ? Answer::Yes : Answer::Ok;
    }
};

} // namespace trelvik
