#pragma once
// One plot document's list of digitised points and the rules that keep each digitise
// step's file its own. Every digitise step of the tools reads a file of its own, so:
//   - a saved list takes no more points: the first click after a save starts a new
//     list (the saved file stays as it is), and so does turning Digitise on again;
//   - End group right after a save adds nothing: the saved list is complete, and a
//     "-1" under it would only be dropped by the next click;
//   - End group on an empty list or right after another group end adds nothing: a
//     group ends after its points, and a "-1" first or twice over makes an empty area
//     that the steps reading the file refuse;
//   - a list without a point is no digitise file: the window saves nothing then;
//   - Undo on a saved list is a correction of it: it takes back the last entry and the
//     list goes on with the clicks that follow, to be saved again;
//   - Clear empties the list, saved or not; closing its plot during a question with
//     points meant for that question counts as a Clear of them;
//   - each entry remembers the "Digitise map" question it belongs to (0 for none): the
//     one open when it was clicked. One question is open at a time, so when a new one
//     opens, the entries of earlier questions have ended: with the list unsaved, they
//     belong to those abandoned steps and are set aside rather than carried into the
//     new step's file. Points clicked while no question was open stay, as the user may
//     have clicked ahead: they join the new question, and are set aside with it should
//     it end unsaved too;
//   - OK on a question lets its step read the file without a word only when that file
//     holds what the user meant for it (`findOnOk`). The points meant for a step are
//     those of its question: clicked during it, or ahead of it and joined to it, in
//     every list, saved or not, until cleared or set aside. Where there are some, they
//     must all lie in one list, saved as the step's file after its last change (before
//     or during the question); where there are none, nothing may have been clicked,
//     taken back or cleared during the question, unless saved as the step's file since.
//     A save counts as the step's file only while that file holds what the save wrote:
//     another list saved over it, or another program writing it, undoes the save.
// Each point remembers the map frame it was taken on, so that it can be drawn where
// that map shows it wherever the frame lies on the page. The window shows what each
// step did (`Step`) on its status line.
#include "core/okfinding.h"
#include "surfer/plotdigitise.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace surfer {

class DigitiseList {
public:
    enum class Step {
        Nothing,          // no flat map under the click, or nothing to take back
        Added,            // a point (or a group end) joined the list
        AddedToNewList,   // the list was saved: the point starts a new one
        RefusedSaved,     // End group on a saved list: nothing added
        RefusedNoPoint,   // End group with no point since the start or the last group end
        TookBack,         // Undo took back the last entry
        TookBackFromSaved // Undo on a saved list: it goes on and must be saved again
    };

    // `question` is the open question's serial number (0 for none): what each call does
    // during a question is remembered for the check on OK.
    Step click(const PlotShapes& shapes, double pageX, double pageY, long question = 0);
    Step endGroup(long question = 0);
    Step undo(long question = 0);
    // `plotClosed`: the list goes with its plot, closed during the question.
    void clear(long question = 0, bool plotClosed = false);
    // Turning Digitise on: a saved list that holds points gives way to a new one.
    // Unsaved points are kept. True when a new list was started.
    bool startAfreshIfSaved();
    // What a question opening (serial `question`) did to the list: the points set aside
    // as those of earlier questions, which have ended (clicked during them, or held from
    // before one and joined to it), and the points clicked before it, which it keeps.
    struct Opening {
        long setAside = 0;
        long setAsideHeld = 0;
        long kept = 0;
    };
    Opening questionOpened(long question);
    // The points of the list meant for question `question`.
    long pointsMeantFor(long question) const;

    // A save that counts for a question: where, when (a stamp that orders the calls of
    // every list), whether it came before the question (a list saved ahead of it, then
    // cleared during it), and the text it wrote.
    struct Save {
        std::string path;
        long stamp = 0;
        bool earlier = false;
        std::string wrote;
    };
    // What was done to the list during one question: the last click, group end or Undo,
    // the last Clear (and the same stamp when that Clear was its plot closing, with the
    // points meant for the question that went with it), whether anything was clicked,
    // taken back or cleared, and the saves.
    struct Activity {
        long lastChange = 0;
        long cleared = 0;
        long closed = 0;
        long closedPoints = 0;
        bool touched = false;
        std::vector<Save> saves;
    };
    Activity activityIn(long question) const;

    // Writes the list to path (replacing any file there) and marks it saved; throws
    // trelvik::Error and leaves the list unsaved when the file cannot be written.
    void save(const std::string& path, long question = 0);

    const DigitiseSession& session() const { return session_; }
    bool hasPoints() const { return session_.pointCount() > 0; }
    // The file the list was saved to; empty when it has not been saved, or has changed
    // since (an Undo).
    const std::string& savedTo() const { return savedTo_; }
    // When savedTo() was written (a stamp), and the question open then (0 for none).
    long savedStamp() const { return savedStamp_; }
    long savedIn() const { return savedIn_; }
    // The text savedTo() was written with.
    const std::string& savedText() const { return savedText_; }
    // The file the list was saved to before an Undo changed it; empty once saved again
    // or started afresh.
    const std::string& changedSinceSavedTo() const { return changedSince_; }
    // The map frame each entry was taken on, in entry order (empty for a group end).
    const std::vector<std::weak_ptr<const MapFrame>>& frames() const { return frames_; }
    // The file Save offers: `file` in the folder of the grid last clicked on, before any
    // click the grid of the top flat map of `shapes`; empty with neither.
    std::string defaultPath(const PlotShapes& shapes, const std::string& file) const;

private:
    void reset();
    void changed(long question);
    // Points clicked ahead of the question are meant for it.
    void joinAhead(long question);

    DigitiseSession session_;
    std::vector<std::weak_ptr<const MapFrame>> frames_;
    std::vector<long> askedIn_;  // per entry, the question it belongs to
    std::vector<bool> held_;     // per entry, clicked before that question and joined to it
    std::string savedTo_;
    long savedStamp_ = 0;
    long savedIn_ = 0;
    std::string savedText_;
    std::string changedSince_;
    std::map<long, Activity> during_;
};

// What OK on question `question` finds of the lists of the open plot documents (and of
// those closed during it). `isAskedFile` says whether a path is the file the step reads;
// `plots` names the plot of each list, for the advice on points left in another plot's
// list and on the list whose save was written over.
trelvik::OkFinding findOnOk(const std::vector<const DigitiseList*>& lists, long question,
                            const std::function<bool(const std::string&)>& isAskedFile,
                            const std::vector<std::string>& plots = {});

} // namespace surfer
