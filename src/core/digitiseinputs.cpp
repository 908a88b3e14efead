#include "core/digitiseinputs.h"

#include "core/fileroutines.h"

namespace trelvik {

bool inputsPresent(Prompt& prompt, std::initializer_list<DigitiseInput> inputs) {
    for (const DigitiseInput& in : inputs)
        if (!FileExists(in.path))
            return refuse(prompt, "Filename", "The " + in.what + " " + in.path + " does not exist: " + in.remedy);
    return true;
}

} // namespace trelvik
