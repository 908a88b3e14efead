#include "surfer/digitiselist.h"

#include "core/error.h"
#include "core/fileroutines.h"

#include <algorithm>
#include <filesystem>

namespace surfer {

namespace {
// Orders what is done to every list, so that a save in one list and a click in another
// can be told apart in time.
long nextStamp() {
    static long last = 0;
    return ++last;
}
} // namespace

void DigitiseList::reset() {
    session_.clear();
    frames_.clear();
    askedIn_.clear();
    held_.clear();
    savedTo_.clear();
    savedStamp_ = savedIn_ = 0;
    savedText_.clear();
    changedSince_.clear();
}

void DigitiseList::changed(long question) {
    if (question == 0) return;
    Activity& a = during_[question];
    a.lastChange = nextStamp();
    a.touched = true;
}

void DigitiseList::clear(long question, bool plotClosed) {
    if (question != 0 && !session_.entries().empty()) {
        Activity& a = during_[question];
        a.touched = true;
        a.cleared = nextStamp();
        if (plotClosed) {
            a.closed = a.cleared;
            a.closedPoints = pointsMeantFor(question);
        }
        // A list saved ahead of the question loses nothing of it: its points are in that
        // file, as if saved during the question.
        if (!savedTo_.empty() && savedIn_ != question && pointsMeantFor(question) > 0)
            a.saves.push_back({savedTo_, savedStamp_, true, savedText_});
    }
    reset();
}

DigitiseList::Step DigitiseList::click(const PlotShapes& shapes, double pageX, double pageY, long question) {
    const auto map = flatMapAt(shapes, pageX, pageY);
    if (!map) return Step::Nothing;
    const bool wasSaved = !savedTo_.empty();
    if (wasSaved) reset();
    session_.click(shapes, pageX, pageY);
    frames_.push_back(map);
    askedIn_.push_back(question);
    held_.push_back(false);
    changed(question);
    return wasSaved ? Step::AddedToNewList : Step::Added;
}

DigitiseList::Step DigitiseList::endGroup(long question) {
    if (!savedTo_.empty()) return Step::RefusedSaved;
    const auto& entries = session_.entries();
    if (entries.empty() || entries.back().groupEnd) return Step::RefusedNoPoint;
    session_.endGroup();
    frames_.emplace_back();
    askedIn_.push_back(question);
    held_.push_back(false);
    changed(question);
    return Step::Added;
}

DigitiseList::Step DigitiseList::undo(long question) {
    if (!session_.undo()) return Step::Nothing;
    frames_.pop_back();
    askedIn_.pop_back();
    held_.pop_back();
    changed(question);
    const bool wasSaved = !savedTo_.empty();
    if (wasSaved) changedSince_ = savedTo_;
    savedTo_.clear();
    return wasSaved ? Step::TookBackFromSaved : Step::TookBack;
}

bool DigitiseList::startAfreshIfSaved() {
    if (savedTo_.empty() || session_.entries().empty()) return false;
    reset();
    return true;
}

DigitiseList::Opening DigitiseList::questionOpened(long question) {
    if (!hasPoints()) return {};
    // A saved list gives way to the first click anyway; what it holds of earlier
    // questions is in its file, and is no longer meant for any step.
    if (!savedTo_.empty()) {
        joinAhead(question);
        return {};
    }
    const auto& entries = session_.entries();
    Opening opening;
    std::vector<bool> keep(entries.size(), true);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const long asked = askedIn_[i];
        const bool ended = asked != 0 && asked != question;
        if (ended) keep[i] = false;
        if (entries[i].groupEnd) continue;
        if (!ended) ++opening.kept;
        else if (held_[i]) ++opening.setAsideHeld;
        else ++opening.setAside;
    }
    // A "-1" left first or right after another would make an empty area.
    bool afterEnd = true;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!keep[i]) continue;
        if (entries[i].groupEnd && afterEnd) keep[i] = false;
        else afterEnd = entries[i].groupEnd;
    }
    if (std::find(keep.begin(), keep.end(), false) != keep.end()) {
        session_.keepOnly(keep);
        const auto filter = [&](auto& v) {
            std::size_t j = 0;
            for (std::size_t i = 0; i < keep.size(); ++i)
                if (keep[i]) v[j++] = v[i];
            v.resize(j);
        };
        filter(frames_);
        filter(askedIn_);
        filter(held_);
    }
    joinAhead(question);
    return opening;
}

void DigitiseList::joinAhead(long question) {
    for (std::size_t i = 0; i < askedIn_.size(); ++i)
        if (askedIn_[i] == 0) {
            askedIn_[i] = question;
            held_[i] = true;
        }
}

long DigitiseList::pointsMeantFor(long question) const {
    long n = 0;
    for (std::size_t i = 0; i < askedIn_.size(); ++i)
        n += askedIn_[i] == question && !session_.entries()[i].groupEnd ? 1 : 0;
    return n;
}

DigitiseList::Activity DigitiseList::activityIn(long question) const {
    const auto it = during_.find(question);
    return it == during_.end() ? Activity{} : it->second;
}

void DigitiseList::save(const std::string& path, long question) {
    savedText_ = session_.save(path);
    savedTo_ = path;
    savedStamp_ = nextStamp();
    savedIn_ = question;
    changedSince_.clear();
    if (question != 0) during_[question].saves.push_back({path, savedStamp_, false, savedText_});
}

std::string DigitiseList::defaultPath(const PlotShapes& shapes, const std::string& file) const {
    if (std::string path = session_.defaultPath(file); !path.empty()) return path;
    const auto maps = shapes.maps();
    for (auto it = maps.rbegin(); it != maps.rend(); ++it)
        if ((*it)->mapKind() != MapKind::Surface && !(*it)->gridPath().empty())
            return (std::filesystem::path((*it)->gridPath()).parent_path() / file).string();
    return {};
}

namespace {
using trelvik::OkFinding;

// Whether the file at path holds what a save wrote there: another list saved over it,
// or another program writing it, leaves the step something else to read.
bool fileHolds(const std::string& path, const std::string& wrote) {
    try {
        return trelvik::readWholeFile(path) == wrote;
    } catch (const trelvik::Error&) {
        return false;
    }
}

OkFinding writtenOver(long points, const std::string& savedPlot = {}) {
    OkFinding f;
    f.found = OkFinding::Case::WrittenOver;
    f.points = points;
    f.savedPlot = savedPlot;
    return f;
}

void addPlot(std::string& plots, const std::string& plot) {
    if (plot.empty()) return;
    if (!plots.empty()) plots += ", ";
    plots += plot;
}

// OK with no point meant for the step: the file must have been left alone during the
// question (a file written by hand, or the step after one that saved its own points),
// or saved as the step's file with nothing clicked or taken back since, and holding
// what that save wrote.
OkFinding findWithNothingMeant(const std::vector<const DigitiseList*>& lists, long question,
                               const std::function<bool(const std::string&)>& isAskedFile) {
    long lastChange = 0, cleared = 0, closed = 0, closedPoints = 0;
    bool touched = false;
    DigitiseList::Save here, there;
    for (const DigitiseList* l : lists) {
        const auto a = l->activityIn(question);
        lastChange = std::max(lastChange, a.lastChange);
        cleared = std::max(cleared, a.cleared);
        if (a.closed > closed) {
            closed = a.closed;
            closedPoints = a.closedPoints;
        }
        touched = touched || a.touched;
        for (const auto& save : a.saves) {
            if (isAskedFile(save.path)) {
                if (save.stamp > here.stamp) here = save;
            } else if (save.stamp > there.stamp) {
                there = save;
            }
        }
    }
    // A Clear after a save as the step's file does no harm.
    if (here.stamp > lastChange) return fileHolds(here.path, here.wrote) ? OkFinding{} : writtenOver(0);
    if (!touched) return {};
    if (there.stamp > lastChange) return {OkFinding::Case::SavedElsewhere, 0, there.path, there.earlier};
    if (cleared <= lastChange) return {OkFinding::Case::NotSaved, 0, {}, false};
    if (closed == cleared) return {OkFinding::Case::PlotClosed, closedPoints, {}, false};
    return {OkFinding::Case::Cleared, 0, {}, false};
}
} // namespace

trelvik::OkFinding findOnOk(const std::vector<const DigitiseList*>& lists, long question,
                            const std::function<bool(const std::string&)>& isAskedFile,
                            const std::vector<std::string>& plots) {
    // The lists holding points meant for the step, and of those saved as its file the
    // one saved last: the file holds that list alone, while it holds what that save wrote.
    std::vector<const DigitiseList*> holding;
    std::vector<std::string> holdingPlots;
    const DigitiseList* inFile = nullptr;
    std::string inFilePlot;
    for (std::size_t i = 0; i < lists.size(); ++i) {
        const DigitiseList* l = lists[i];
        if (l->pointsMeantFor(question) == 0) continue;
        holding.push_back(l);
        holdingPlots.push_back(i < plots.size() ? plots[i] : std::string());
        if (!l->savedTo().empty() && isAskedFile(l->savedTo()) &&
            (!inFile || l->savedStamp() > inFile->savedStamp())) {
            inFile = l;
            inFilePlot = holdingPlots.back();
        }
    }
    if (holding.empty()) return findWithNothingMeant(lists, question, isAskedFile);
    OkFinding f;
    if (inFile) {
        if (!fileHolds(inFile->savedTo(), inFile->savedText()))
            return writtenOver(inFile->pointsMeantFor(question), inFilePlot);
        for (std::size_t i = 0; i < holding.size(); ++i) {
            if (holding[i] == inFile) continue;
            f.points += holding[i]->pointsMeantFor(question);
            addPlot(f.otherPlots, holdingPlots[i]);
        }
        if (f.points > 0) f.found = OkFinding::Case::OtherList;
        return f;
    }
    const DigitiseList* savedLast = nullptr;
    const DigitiseList* unsaved = nullptr;
    long unsavedLists = 0;
    for (const DigitiseList* l : holding) {
        if (l->savedTo().empty()) {
            f.points += l->pointsMeantFor(question);
            unsaved = l;
            ++unsavedLists;
        } else if (!savedLast || l->savedStamp() > savedLast->savedStamp()) {
            savedLast = l;
        }
    }
    if (unsavedLists == 1 && !unsaved->changedSinceSavedTo().empty()) {
        f.found = OkFinding::Case::ChangedSinceSaved;
        f.savedTo = unsaved->changedSinceSavedTo();
    } else if (unsaved) {
        f.found = OkFinding::Case::NotSaved;
        // Saving any one list leaves the others' points out: all but the list changed
        // last, the one most likely on show, are the ones to clear.
        if (unsavedLists > 1) {
            std::size_t keep = 0;
            for (std::size_t i = 1; i < holding.size(); ++i)
                if (holding[i]->activityIn(question).lastChange >= holding[keep]->activityIn(question).lastChange)
                    keep = i;
            for (std::size_t i = 0; i < holding.size(); ++i)
                if (i != keep) addPlot(f.otherPlots, holdingPlots[i]);
        }
    } else {
        f.found = OkFinding::Case::SavedElsewhere;
        f.savedTo = savedLast->savedTo();
        f.savedEarlier = savedLast->savedIn() != question;
    }
    return f;
}

} // namespace surfer
