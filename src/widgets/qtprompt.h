#pragma once
// The Prompt service with real dialogs: message boxes with their titles and buttons
// and the hourglass pointer. Boxes are application-modal, except the "Digitise map"
// question: while it shows, the user digitises in the map window and saves the
// file, so that box leaves the map windows (and what they open, popups too) usable,
// holds off the windows that could start a step as a modal box does (HoldOffWindows),
// keeps OK its default and focused button each time it shows, gives the windows back and
// the focus to the tool window that asked as it is answered, and waits in a local event loop
// (where it stands and what it tells the map window: widgets/digitisequestion.h).
#include "core/prompt.h"
#include "widgets/digitisequestion.h"

namespace trelvik {

class QtPrompt : public Prompt {
public:
    ~QtPrompt() override;
    Answer message(const std::string& title, const std::string& text,
                   Buttons buttons = Buttons::Ok) override;
    // Beside the map window, which alone stays usable: its Save offers `readPath`.
    Answer digitiseQuestion(const std::string& text, const std::string& readPath) override;
    // Sets the pointer rather than counting: "off" is normal however often "on" came.
    void busy(bool on) override;

private:
    Answer show(const std::string& title, const std::string& text, Buttons buttons, const std::string& readPath);
    bool busy_ = false;
};

} // namespace trelvik
