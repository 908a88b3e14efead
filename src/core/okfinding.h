#pragma once
// What OK on a "Digitise map" question finds: whether the file its step reads holds what
// the user meant for it. The map windows' lists work it out by their rules
// (surfer/digitiselist.h, findOnOk); the question's OK check says it to the user
// (widgets/digitiseokcheck.h).
#include <string>

namespace trelvik {

struct OkFinding {
    enum class Case {
        InFile,            // nothing meant for the step is missing from its file
        NotSaved,          // points meant for the step, or changes to the list, never saved
        SavedElsewhere,    // saved, but not as the step's file
        OtherList,         // saved as the step's file, with points meant for it in another list
        Cleared,           // cleared during the question, nothing clicked or saved since
        ChangedSinceSaved, // saved, then changed by an Undo and not saved since
        WrittenOver,       // saved as the step's file, which holds something else since
        PlotClosed         // the plot holding them closed during the question, nothing clicked since
    };
    Case found = Case::InFile;
    // NotSaved: the points meant not saved; OtherList: those left out; WrittenOver: those
    // of the list saved; PlotClosed: those that went with the plot.
    long points = 0;
    std::string savedTo;   // SavedElsewhere, ChangedSinceSaved: the file the list went to
    bool savedEarlier = false;  // SavedElsewhere: the save came before the question
    // OtherList: the plots whose lists hold the points left out; NotSaved with the points
    // in several lists: those of every list but the one changed last.
    std::string otherPlots;
    std::string savedPlot;      // WrittenOver: the plot whose list was saved there
};

} // namespace trelvik
