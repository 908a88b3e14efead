#pragma once
// A tool window's Prompt: hands every message to the program's Prompt, naming this
// window as the one that asks, so that a "Digitise map" question stands beside it.
// While the question waits, the program's Prompt holds off this window's input with
// every other window's but the map windows', so a second press of a step button
// neither stacks a second question nor runs the step again.
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
