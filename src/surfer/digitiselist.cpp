#include "surfer/digitiselist.h"

#include <algorithm>
#include <filesystem>

namespace surfer {

void DigitiseList::clear() {
    session_.clear();
    frames_.clear();
    askedIn_.clear();
    savedTo_.clear();
}

DigitiseList::Step DigitiseList::click(const PlotShapes& shapes, double pageX, double pageY, long question) {
    const auto map = flatMapAt(shapes, pageX, pageY);
    if (!map) return Step::Nothing;
    const bool wasSaved = !savedTo_.empty();
    if (wasSaved) clear();
    session_.click(shapes, pageX, pageY);
    frames_.push_back(map);
    askedIn_.push_back(question);
    return wasSaved ? Step::AddedToNewList : Step::Added;
}

DigitiseList::Step DigitiseList::endGroup(long question) {
    if (!savedTo_.empty()) return Step::RefusedSaved;
    const auto& entries = session_.entries();
    if (entries.empty() || entries.back().groupEnd) return Step::RefusedNoPoint;
    session_.endGroup();
    frames_.emplace_back();
    askedIn_.push_back(question);
    return Step::Added;
}

DigitiseList::Step DigitiseList::undo() {
    if (!session_.undo()) return Step::Nothing;
    frames_.pop_back();
    askedIn_.pop_back();
    const bool wasSaved = !savedTo_.empty();
    savedTo_.clear();
    return wasSaved ? Step::TookBackFromSaved : Step::TookBack;
}

bool DigitiseList::startAfreshIfSaved() {
    if (savedTo_.empty() || session_.entries().empty()) return false;
    clear();
    return true;
}

DigitiseList::Opening DigitiseList::questionOpened(long question) {
    // A saved list gives way to the first click anyway.
    if (!savedTo_.empty() || !hasPoints()) return {};
    const long points = session_.pointCount();
    const bool abandoned = std::any_of(askedIn_.begin(), askedIn_.end(),
                                       [&](long asked) { return asked != 0 && asked != question; });
    if (!abandoned) return {0, points};
    clear();
    return {points, 0};
}

long DigitiseList::pointsClickedIn(long question) const {
    long n = 0;
    for (std::size_t i = 0; i < askedIn_.size(); ++i)
        n += askedIn_[i] == question && !session_.entries()[i].groupEnd ? 1 : 0;
    return n;
}

void DigitiseList::save(const std::string& path) {
    session_.save(path);
    savedTo_ = path;
}

std::string DigitiseList::defaultPath(const PlotShapes& shapes, const std::string& file) const {
    if (std::string path = session_.defaultPath(file); !path.empty()) return path;
    const auto maps = shapes.maps();
    for (auto it = maps.rbegin(); it != maps.rend(); ++it)
        if ((*it)->mapKind() != MapKind::Surface && !(*it)->gridPath().empty())
            return (std::filesystem::path((*it)->gridPath()).parent_path() / file).string();
    return {};
}

} // namespace surfer
