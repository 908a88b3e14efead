#pragma once
// The files a digitising step will read, checked before its "Digitise map" question.
// A step that found a grid missing only after the user had digitised would have copied
// the digitised points and written their outline for nothing, and its message would
// name the file without saying where it should have come from.
//
// DigitiseInput   one file the step reads: its full path, what it is ("topographic
//                 grid") and what to do when it is missing: which grid to choose, or
//                 which step makes the file.
// inputsPresent   true when every file exists; otherwise the normal pointer, one
//                 message titled "Filename": "The <what> <path> does not exist: <what
//                 to do>" for the first missing file, and false. Nothing is written.
#include "core/prompt.h"

#include <initializer_list>
#include <string>

namespace trelvik {

struct DigitiseInput {
    std::string path;
    std::string what;
    std::string remedy;
};

bool inputsPresent(Prompt& prompt, std::initializer_list<DigitiseInput> inputs);

} // namespace trelvik
