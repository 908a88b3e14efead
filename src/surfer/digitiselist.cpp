#include "surfer/digitiselist.h"

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
}

void DigitiseList::changed(long question) {
    if (question == 0) return;
    Activity& a = during_[question];
    a.lastChange = nextStamp();
    a.touched = true;
}

void DigitiseList::clear(long question) {
    reset();
    if (question != 0) during_[question].touched = true;
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
    savedTo_.clear();
    return wasSaved ? Step::TookBackFromSaved : Step::TookBack;
}

bool DigitiseList::startAfreshIfSaved() {
    if (savedTo_.empty() || session_.entries().empty()) return false;
    reset();
    return true;
}

DigitiseList::Opening DigitiseList::questionOpened(long question) {
    // A saved list gives way to the first click anyway.
    if (!savedTo_.empty() || !hasPoints()) return {};
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
    // Points clicked ahead of the question are meant for it.
    for (std::size_t i = 0; i < askedIn_.size(); ++i)
        if (askedIn_[i] == 0) {
            askedIn_[i] = question;
            held_[i] = true;
        }
    return opening;
}

long DigitiseList::pointsClickedIn(long question) const {
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
    session_.save(path);
    savedTo_ = path;
    if (question != 0) during_[question].saves.emplace_back(path, nextStamp());
}

std::string DigitiseList::defaultPath(const PlotShapes& shapes, const std::string& file) const {
    if (std::string path = session_.defaultPath(file); !path.empty()) return path;
    const auto maps = shapes.maps();
    for (auto it = maps.rbegin(); it != maps.rend(); ++it)
        if ((*it)->mapKind() != MapKind::Surface && !(*it)->gridPath().empty())
            return (std::filesystem::path((*it)->gridPath()).parent_path() / file).string();
    return {};
}

trelvik::OkFinding findOnOk(const std::vector<const DigitiseList*>& lists, long question,
                            const std::function<bool(const std::string&)>& isAskedFile) {
    long lastChange = 0, savedHere = 0, savedThere = 0;
    bool touched = false;
    trelvik::OkFinding f;
    for (const DigitiseList* l : lists) {
        const auto a = l->activityIn(question);
        lastChange = std::max(lastChange, a.lastChange);
        touched = touched || a.touched;
        for (const auto& [path, stamp] : a.saves) {
            if (isAskedFile(path)) {
                savedHere = std::max(savedHere, stamp);
            } else if (stamp > savedThere) {
                savedThere = stamp;
                f.savedTo = path;
            }
        }
        if (l->savedTo().empty()) f.unsaved += l->pointsClickedIn(question);
    }
    // Saved where the step reads, and nothing clicked or taken back since.
    if (savedHere > lastChange) return {trelvik::OkFinding::Case::InFile, 0, {}};
    // The file was left alone: a file written by hand, or one saved before the question.
    if (!touched && f.unsaved == 0) return {trelvik::OkFinding::Case::InFile, 0, {}};
    f.found = savedThere > lastChange ? trelvik::OkFinding::Case::SavedElsewhere : trelvik::OkFinding::Case::NotSaved;
    if (f.found == trelvik::OkFinding::Case::NotSaved) f.savedTo.clear();
    return f;
}

} // namespace surfer
