#include "surfer/digitiselist.h"

#include <filesystem>

namespace surfer {

void DigitiseList::clear() {
    session_.clear();
    frames_.clear();
    savedTo_.clear();
}

DigitiseList::Step DigitiseList::click(const PlotShapes& shapes, double pageX, double pageY) {
    const auto map = flatMapAt(shapes, pageX, pageY);
    if (!map) return Step::Nothing;
    const bool wasSaved = !savedTo_.empty();
    if (wasSaved) clear();
    session_.click(shapes, pageX, pageY);
    frames_.push_back(map);
    return wasSaved ? Step::AddedToNewList : Step::Added;
}

DigitiseList::Step DigitiseList::endGroup() {
    if (!savedTo_.empty()) return Step::RefusedSaved;
    const auto& entries = session_.entries();
    if (entries.empty() || entries.back().groupEnd) return Step::RefusedNoPoint;
    session_.endGroup();
    frames_.emplace_back();
    return Step::Added;
}

DigitiseList::Step DigitiseList::undo() {
    if (!session_.undo()) return Step::Nothing;
    frames_.pop_back();
    const bool wasSaved = !savedTo_.empty();
    savedTo_.clear();
    return wasSaved ? Step::TookBackFromSaved : Step::TookBack;
}

bool DigitiseList::startAfreshIfSaved() {
    if (savedTo_.empty() || session_.entries().empty()) return false;
    clear();
    return true;
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
