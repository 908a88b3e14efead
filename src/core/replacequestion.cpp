#include "core/replacequestion.h"

#include "core/fileroutines.h"

#include <filesystem>
#include <map>
#include <set>

namespace trelvik {

namespace {

// A question taller than the screen hides its buttons; the rest is counted.
constexpr std::size_t kShownNames = 15;

void listNames(std::string& text, const std::vector<std::string>& names) {
    for (std::size_t i = 0; i < names.size() && i < kShownNames; ++i) text += "\n    " + names[i];
    if (names.size() > kShownNames) text += "\n    ... and " + std::to_string(names.size() - kShownNames) + " more";
}

} // namespace

ReplacedOutputs FindReplacedOutputs(const std::vector<std::string>& planned) {
    ReplacedOutputs r;
    std::map<std::string, int> count;
    for (const std::string& p : planned)
        if (!p.empty()) ++count[p];
    std::set<std::string> listed;
    for (const std::string& p : planned) {
        if (p.empty() || !listed.insert(p).second) continue;
        std::error_code ec;
        if (std::filesystem::exists(p, ec)) r.existing.push_back(p);
        else if (count[p] > 1) r.repeated.push_back(p);
    }
    return r;
}

bool ConfirmReplace(Prompt& prompt, const std::vector<std::string>& planned) {
    // A save the run would have refused is said before anything is asked: offered for
    // replacing, another user's link would be refused only after the user chose Replace.
    for (const std::string& p : planned)
        if (const std::string refusal = p.empty() ? std::string() : saveRefusal(p); !refusal.empty())
            return refuse(prompt, "Replace files", refusal);
    const ReplacedOutputs r = FindReplacedOutputs(planned);
    if (r.empty()) return true;
    std::string text;
    if (!r.existing.empty()) {
        text += r.existing.size() == 1 ? "This file already exists:" : "These files already exist:";
        listNames(text, r.existing);
    }
    if (!r.repeated.empty()) {
        if (!text.empty()) text += "\n\n";
        text += "This run would write these files more than once, a later file replacing an earlier one:";
        listNames(text, r.repeated);
    }
    const bool one = r.existing.size() + r.repeated.size() == 1;
    text += one ? "\n\nReplace it? Cancel writes nothing." : "\n\nReplace them? Cancel writes nothing.";
    prompt.busy(false);
    const bool replace = prompt.message("Replace files", text, Buttons::ReplaceCancel) == Answer::Replace;
    if (replace) prompt.busy(true);
    return replace;
}

} // namespace trelvik
