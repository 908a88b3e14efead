#pragma once
// Names of the viewer's output files.
//
//  BuildOutputFilename  the output path of a tooth, without extension: the output
//                       folder, "P", then the tooth's eleven parameters p1..p11 each
//                       scaled and written in the print form without its leading
//                       blank ("0.5" is ".5"), joined by "_":
//                         p1 * 100000 and p2 * 100000 rounded down; p3 * 10;
//                         p4 / 10, p5 * 100, p6 * 100 ("0" put in front of a
//                         two-character text); p7..p10 * 1000; p11 / 1000 ("0" put in
//                         front of a one-character text).
//  imageOutputName      "Output image": stem + ".bmp".
//  processedImageOutputName  "Output processed image": stem + Add text + ".bmp".
//  nameTextProblem      why a text typed into a name box cannot be used, or nothing:
//                       characters no file name may hold (\ / : * ? " < > | and
//                       control characters) or "..", which could lead out of the
//                       folder. An empty text is allowed (it adds nothing).
//  CheckNameText        the same shown as a message with the caller's title; true
//                       when the text may be used.
#include "core/prompt.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace trelvik::csvview {

using ToothParameters = std::array<double, 11>;

// `outputFolder` gets a trailing separator when it has none.
std::string BuildOutputFilename(const std::string& outputFolder, const ToothParameters& p);

std::string imageOutputName(const std::string& stem);
std::string processedImageOutputName(const std::string& stem, std::string_view addText);

std::optional<std::string> nameTextProblem(std::string_view text);
bool CheckNameText(std::string_view text, const std::string& title, Prompt& prompt);

} // namespace trelvik::csvview
