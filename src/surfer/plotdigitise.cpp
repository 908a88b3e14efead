#include "surfer/plotdigitise.h"

#include "core/textform.h"
#include "formats/digitisefile.h"

#include <charconv>
#include <filesystem>

namespace surfer {

std::shared_ptr<MapFrame> flatMapAt(const PlotShapes& shapes, double pageX, double pageY) {
    const auto maps = shapes.maps();
    for (auto it = maps.rbegin(); it != maps.rend(); ++it)
        if ((*it)->mapKind() != MapKind::Surface && (*it)->contains(pageX, pageY)) return *it;
    return nullptr;
}

bool DigitiseSession::click(const PlotShapes& shapes, double pageX, double pageY) {
    auto map = flatMapAt(shapes, pageX, pageY);
    if (!map) return false;
    double x = 0, y = 0;
    map->pageToMap(pageX, pageY, x, y);
    addPoint(x, y, map->gridPath());
    return true;
}

namespace {
// A point keeps the value its file line will hold (general form, 15 significant
// digits), so the list, the file and what the tools read back are the same numbers.
double asWritten(double v) {
    const std::string s = trelvik::text::CStr(v);
    double out = v;
    std::from_chars(s.data(), s.data() + s.size(), out);
    return out;
}
} // namespace

void DigitiseSession::addPoint(double x, double y, const std::string& gridPath) {
    entries_.push_back({false, asWritten(x), asWritten(y)});
    if (!gridPath.empty()) lastGrid_ = gridPath;
}

void DigitiseSession::endGroup() { entries_.push_back({true, 0, 0}); }

bool DigitiseSession::undo() {
    if (entries_.empty()) return false;
    entries_.pop_back();
    return true;
}

void DigitiseSession::clear() { entries_.clear(); }

void DigitiseSession::keepOnly(const std::vector<bool>& keep) {
    std::vector<Entry> kept;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (i < keep.size() && keep[i]) kept.push_back(entries_[i]);
    entries_ = std::move(kept);
}

long DigitiseSession::pointCount() const {
    long n = 0;
    for (const auto& e : entries_) n += e.groupEnd ? 0 : 1;
    return n;
}

std::vector<std::string> DigitiseSession::lines() const {
    std::vector<std::string> out;
    for (const auto& e : entries_)
        out.push_back(e.groupEnd ? std::string("-1")
                                 : trelvik::text::CStr(e.x) + "," + trelvik::text::CStr(e.y));
    return out;
}

std::vector<trelvik::formats::PointXYList> DigitiseSession::groups() const {
    std::vector<trelvik::formats::PointXYList> out(1);
    for (const auto& e : entries_) {
        if (e.groupEnd) out.emplace_back();
        else out.back().push_back({e.x, e.y});
    }
    return out;
}

std::string DigitiseSession::defaultPath(const std::string& file) const {
    if (lastGrid_.empty()) return {};
    return (std::filesystem::path(lastGrid_).parent_path() / file).string();
}

std::string DigitiseSession::save(const std::string& path) const {
    return trelvik::formats::writeDigitiseFile(path, groups());
}

} // namespace surfer
