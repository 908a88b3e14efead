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
//   - Clear empties the list, saved or not;
//   - each entry remembers the "Digitise map" question open when it was clicked (0 for
//     none). When a new question opens, points clicked while an earlier question was
//     open, which ended with the list unsaved, belong to that abandoned step: the list
//     starts afresh rather than carry them into the new step's file. Points clicked
//     while no question was open stay, as the user may have clicked ahead.
// Each point remembers the map frame it was taken on, so that it can be drawn where
// that map shows it wherever the frame lies on the page. The window shows what each
// step did (`Step`) on its status line.
#include "surfer/plotdigitise.h"

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

    // `question` is the open question's serial number (0 for none).
    Step click(const PlotShapes& shapes, double pageX, double pageY, long question = 0);
    Step endGroup(long question = 0);
    Step undo();
    void clear();
    // Turning Digitise on: a saved list that holds points gives way to a new one.
    // Unsaved points are kept. True when a new list was started.
    bool startAfreshIfSaved();
    // What a question opening (serial `question`) did to the list: the points set aside
    // as an earlier question's, or the points it already holds and keeps.
    struct Opening {
        long setAside = 0;
        long kept = 0;
    };
    Opening questionOpened(long question);
    // The points of the list clicked while question `question` was open.
    long pointsClickedIn(long question) const;
    // Writes the list to path (replacing any file there) and marks it saved; throws
    // trelvik::Error and leaves the list unsaved when the file cannot be written.
    void save(const std::string& path);

    const DigitiseSession& session() const { return session_; }
    bool hasPoints() const { return session_.pointCount() > 0; }
    // The file the list was saved to; empty when it has not been saved, or has changed
    // since (an Undo).
    const std::string& savedTo() const { return savedTo_; }
    // The map frame each entry was taken on, in entry order (empty for a group end).
    const std::vector<std::weak_ptr<const MapFrame>>& frames() const { return frames_; }
    // The file Save offers: `file` in the folder of the grid last clicked on, before any
    // click the grid of the top flat map of `shapes`; empty with neither.
    std::string defaultPath(const PlotShapes& shapes, const std::string& file) const;

private:
    DigitiseSession session_;
    std::vector<std::weak_ptr<const MapFrame>> frames_;
    std::vector<long> askedIn_;  // per entry, the question open when it was added
    std::string savedTo_;
};

} // namespace surfer
