#include "widgets/windowprompt.h"

#include "widgets/inputblocker.h"
#include "widgets/qtprompt.h"

#include <optional>

namespace trelvik {

Answer WindowPrompt::message(const std::string& title, const std::string& text, Buttons buttons) {
    std::optional<InputBlocker> holdOff;
    if (title == kDigitiseTitle) holdOff.emplace(window_);
    return inner_.message(title, text, buttons);
}

} // namespace trelvik
