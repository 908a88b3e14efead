#include "core/digitiseinputs.h"

#include "core/error.h"
#include "core/fileroutines.h"

#include <cerrno>
#include <cstring>

namespace trelvik {

bool inputsPresent(Prompt& prompt, std::initializer_list<DigitiseInput> inputs) {
    for (const DigitiseInput& in : inputs)
        if (const std::string refusal =
                inputRefusal(in.path, "The " + in.what + " " + in.path + " does not exist: " + in.remedy);
            !refusal.empty())
            return refuse(prompt, "Filename", refusal);
    return true;
}

std::string inputRefusal(const std::string& path, const std::string& missing) {
    std::string why;
    const InputState state = judgeInput(path, why);
    if (state == InputState::Readable) return {};
    if (state == InputState::Missing && !missing.empty()) return missing;
    // A name with nothing at it (an empty one too) is said as the reader says it.
    return !why.empty() ? why : "Cannot open \"" + path + "\": " + std::strerror(ENOENT);
}

void requireInput(const std::string& path, const std::string& missing) {
    if (const std::string refusal = inputRefusal(path, missing); !refusal.empty()) throw Error(refusal);
}

} // namespace trelvik
