// What settling cut commits found, kept for the step that ran into it to say, and the
// files it put in place, which are not that step's own (core/commit/workingfiles.h).
#include "core/commit/workingfiles.h"
#include "core/commit/workingfiles_detail.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <utility>

namespace trelvik::working {

namespace {

std::mutex notesLock;
std::string notes;
struct Settled {
    std::filesystem::path path;  // absolute, in normal form
    std::int64_t size = 0, time = 0;
};
std::vector<Settled> settled;
std::set<std::string> met;

} // namespace

namespace detail {

void addNote(std::string text) {
    text = shownName(text);  // names from a folder or a record among its words
    std::lock_guard<std::mutex> g(notesLock);
    // A record that cannot be settled is met again at every read in its folder: said once.
    if (notes.find(text) != std::string::npos) return;
    notes += (notes.empty() ? "" : " ") + text;
}

void addSettled(const std::string& path) {
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) return;
    std::lock_guard<std::mutex> g(notesLock);
    settled.push_back({std::filesystem::path(path).lexically_normal(), static_cast<std::int64_t>(st.st_size), timeOf(st)});
}

bool metInThisStep(const std::string& what, bool mark) {
    std::lock_guard<std::mutex> g(notesLock);
    if (mark) return !met.insert(what).second;
    return met.count(what) > 0;
}

} // namespace detail

std::string takeSettleNotes() {
    std::lock_guard<std::mutex> g(notesLock);
    settled.clear();
    met.clear();
    return std::exchange(notes, std::string());
}

bool putInPlaceBySettling(const std::filesystem::path& path) {
    {
        std::lock_guard<std::mutex> g(notesLock);
        if (settled.empty()) return false;
    }
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) return false;
    const std::filesystem::path here = std::filesystem::absolute(path).lexically_normal();
    std::lock_guard<std::mutex> g(notesLock);
    return std::any_of(settled.begin(), settled.end(), [&](const Settled& f) {
        return f.path == here && f.size == static_cast<std::int64_t>(st.st_size) && f.time == detail::timeOf(st);
    });
}

} // namespace trelvik::working
