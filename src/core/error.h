#pragma once
// The one exception type of Trelvik. A failed read, write or operation throws it
// with a message that names the file or operation; window handlers catch it, show
// the message and leave the window open.
#include <stdexcept>
#include <string>
#include <utility>

namespace trelvik {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// A mistake in the user's input that the window shows in a message box titled by its
// subject ("Filename", "Choose data type", ...); an empty title means the program's own.
class Refusal : public Error {
public:
    Refusal(std::string title, const std::string& text) : Error(text), title_(std::move(title)) {}
    const std::string& title() const { return title_; }

private:
    std::string title_;
};

} // namespace trelvik
