#pragma once
// What OK on a "Digitise map" question finds: whether the file its step reads holds what
// the user meant for it. The map windows' lists work it out by their rules
// (surfer/digitiselist.h, findOnOk); the question's OK check says it to the user
// (widgets/digitiseokcheck.h).
#include <string>

namespace trelvik {

struct OkFinding {
    enum class Case {
        InFile,          // nothing meant for the step is missing from its file
        NotSaved,        // points of the question, or changes to the list, never saved
        SavedElsewhere,  // saved during the question, but not as the step's file
    };
    Case found = Case::InFile;
    long unsaved = 0;     // points of the question in lists not saved
    std::string savedTo;  // SavedElsewhere: the file the list went to
};

} // namespace trelvik
