#include "widgets/windowprompt.h"

#include "widgets/digitisequestion.h"

namespace trelvik {

Answer WindowPrompt::message(const std::string& title, const std::string& text, Buttons buttons) {
    const AskingWindow asking(window_);
    return inner_.message(title, text, buttons);
}

Answer WindowPrompt::digitiseQuestion(const std::string& text, const std::string& readPath) {
    const AskingWindow asking(window_);
    return inner_.digitiseQuestion(text, readPath);
}

} // namespace trelvik
