// What settling cut commits found, kept for the step that ran into it to say, and the
// files it put in place, which are not that step's own (core/workingfiles.h).
#include "core/workingfiles.h"
#include "core/workingfiles_detail.h"

#include <atomic>
#include <mutex>
#include <sys/stat.h>
#include <utility>

namespace trelvik::working {

namespace {

std::mutex notesLock;
std::string notes;
std::vector<SettledFile> settled;
std::atomic<int> statusLines{0};

} // namespace

namespace detail {

void addNote(std::string text) {
    std::lock_guard<std::mutex> g(notesLock);
    // A record that cannot be settled is met again at every read in its folder: said once.
    if (notes.find(text) != std::string::npos) return;
    notes += (notes.empty() ? "" : " ") + text;
}

void addSettled(const std::string& path) {
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) return;
    std::lock_guard<std::mutex> g(notesLock);
    settled.push_back({path, static_cast<std::int64_t>(st.st_size), timeOf(st)});
}

} // namespace detail

std::string takeSettleNotes() {
    std::lock_guard<std::mutex> g(notesLock);
    settled.clear();
    return std::exchange(notes, std::string());
}

std::vector<SettledFile> settledFiles() {
    std::lock_guard<std::mutex> g(notesLock);
    return settled;
}

NotesForStatusLine::NotesForStatusLine() { ++statusLines; }
NotesForStatusLine::~NotesForStatusLine() { --statusLines; }
bool NotesForStatusLine::held() { return statusLines > 0; }

} // namespace trelvik::working
