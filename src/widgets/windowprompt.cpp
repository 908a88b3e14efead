#include "widgets/windowprompt.h"

#include "widgets/digitisequestion.h"
#include "widgets/inputblocker.h"

#include <optional>

namespace trelvik {

Answer WindowPrompt::message(const std::string& title, const std::string& text, Buttons buttons) {
    const AskingWindow asking(window_);
    std::optional<InputBlocker> holdOff;
    if (title == kDigitiseTitle) holdOff.emplace(window_);
    return inner_.message(title, text, buttons);
}

Answer WindowPrompt::digitiseQuestion(const std::string& text, const std::string& readPath) {
    const AskingWindow asking(window_);
    const InputBlocker holdOff(window_);
    return inner_.digitiseQuestion(text, readPath);
}

} // namespace trelvik
