#pragma once
// A tool window's Prompt: hands every message to the program's Prompt, and while a
// step waits at the "Digitise map" question it holds off the window's own input, so a
// second press of a step button neither stacks a second question nor runs the step
// again, whatever the program's Prompt does (the Qt one holds off every window but the
// map windows, where the user digitises); the question stands beside this window.
// Other message boxes are modal and hold the window off themselves.
#include "core/prompt.h"

class QWidget;

namespace trelvik {

class WindowPrompt : public Prompt {
public:
    WindowPrompt(Prompt& inner, QWidget* window) : inner_(inner), window_(window) {}
    Answer message(const std::string& title, const std::string& text, Buttons buttons = Buttons::Ok) override;
    Answer digitiseQuestion(const std::string& text, const std::string& readPath) override;
    void busy(bool on) override { inner_.busy(on); }

private:
    Prompt& inner_;
    QWidget* window_;
};

} // namespace trelvik
