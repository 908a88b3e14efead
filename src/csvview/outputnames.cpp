#include "csvview/outputnames.h"

#include "core/textform.h"

#include <cmath>

namespace trelvik::csvview {

namespace {

std::string plain(double v) { return text::Trim(text::Str(v)); }

std::string padTo(std::string s, std::size_t shortLength) {
    if (s.size() == shortLength) s.insert(s.begin(), '0');
    return s;
}

bool isSeparator(char c) { return c == '/' || c == '\\'; }

} // namespace

std::string BuildOutputFilename(const std::string& outputFolder, const ToothParameters& p) {
    std::string name = outputFolder;
    if (!name.empty() && !isSeparator(name.back())) name += '/';
    const std::string parts[11] = {
        plain(std::floor(p[0] * 100000)),
        plain(std::floor(p[1] * 100000)),
        plain(p[2] * 10),
        padTo(plain(p[3] / 10), 2),
        padTo(plain(p[4] * 100), 2),
        padTo(plain(p[5] * 100), 2),
        plain(p[6] * 1000),
        plain(p[7] * 1000),
        plain(p[8] * 1000),
        plain(p[9] * 1000),
        padTo(plain(p[10] / 1000), 1),
    };
    name += 'P';
    for (int k = 0; k < 11; ++k) {
        if (k > 0) name += '_';
        name += parts[k];
    }
    return name;
}

std::string imageOutputName(const std::string& stem) { return stem + ".bmp"; }

std::string processedImageOutputName(const std::string& stem, std::string_view addText) {
    return stem + std::string(addText) + ".bmp";
}

std::optional<std::string> nameTextProblem(std::string_view text) {
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127)
            return std::string("The name may not hold control characters.");
        if (isSeparator(c) || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|')
            return "The name may not hold the character " + std::string(1, c) +
                   " (not allowed in file names: \\ / : * ? \" < > |).";
    }
    if (text.find("..") != std::string_view::npos)
        return std::string("The name may not hold \"..\".");
    return std::nullopt;
}

bool CheckNameText(std::string_view text, const std::string& title, Prompt& prompt) {
    if (const auto problem = nameTextProblem(text)) {
        prompt.message(title, *problem);
        return false;
    }
    return true;
}

} // namespace trelvik::csvview
