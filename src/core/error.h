#pragma once
// The one exception type of Trelvik. A failed read, write or operation throws it
// with a message that names the file or operation; window handlers catch it, show
// the message and leave the window open.
#include <stdexcept>
#include <string>

namespace trelvik {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace trelvik
