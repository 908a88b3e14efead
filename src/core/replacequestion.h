#pragma once
// The one question a batch asks before it writes: which of the files it is about to
// write would replace a file already there - files that exist now (the user's own, or
// what an earlier run wrote) and files the batch itself would write more than once (a
// later entry replacing an earlier entry's output). Asked once for the whole batch,
// with "Replace" and "Cancel"; on Cancel the batch writes nothing.
#include "core/prompt.h"

#include <string>
#include <vector>

namespace trelvik {

struct ReplacedOutputs {
    std::vector<std::string> existing;  // planned outputs that exist now, in planned order
    std::vector<std::string> repeated;  // planned more than once (and not existing), in planned order
    bool empty() const { return existing.empty() && repeated.empty(); }
};

// Sorts a batch's planned outputs (empty names ignored, each name counted once).
ReplacedOutputs FindReplacedOutputs(const std::vector<std::string>& planned);

// True when nothing would be replaced, or the user chose "Replace" on the question
// titled "Replace files" that lists them (long lists shortened); false on Cancel. A
// file the run could not save (saveRefusal: another user's link at its name or on the
// way) is said instead, before anything is asked, under the same title, and gives
// false: nothing is written.
bool ConfirmReplace(Prompt& prompt, const std::vector<std::string>& planned);

} // namespace trelvik
