#pragma once
// The files a digitising step will read, checked before its "Digitise map" question.
// A step that found a grid missing only after the user had digitised would have copied
// the digitised points and written their outline for nothing, and its message would
// name the file without saying where it should have come from.
//
// DigitiseInput   one file the step reads: its full path, what it is ("topographic
//                 grid") and what to do when it is missing: which grid to choose, or
//                 which step makes the file.
// inputsPresent   true when the reader will take every file (judgeInput); otherwise the
//                 normal pointer, one message titled "Filename" for the first file it
//                 would not take, and false: "The <what> <path> does not exist: <what to
//                 do>" when nothing is at its name, the reader's own message when it would
//                 refuse what is there (a folder, a pipe, another user's link). Nothing is
//                 written.
// inputRefusal    the same judgement of one file, as text: `missing` when nothing is at
//                 path (the reader's own message when `missing` is empty), the reader's
//                 own message when it would refuse what is there; empty when the reader
//                 will take it.
// requireInput    for a step that throws: trelvik::Error with inputRefusal's message.
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

std::string inputRefusal(const std::string& path, const std::string& missing = {});
void requireInput(const std::string& path, const std::string& missing = {});

} // namespace trelvik
