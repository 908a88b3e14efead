// What settling cut commits found, kept for the step that ran into it to say, and the
// files it put in place, which are not that step's own (core/commit/workingfiles.h).
#include "core/commit/workingfiles.h"
#include "core/commit/workingfiles_detail.h"

#include "core/heldfolder.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>
#include <sys/stat.h>
#include <unistd.h>
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

namespace fs = std::filesystem;

std::string shownIn(const fs::path& dir, const HeldFile& h) {
    return h.folder->path() == dir ? h.target : h.folder->pathOf(h.target);
}

std::string listed(const fs::path& dir, const std::vector<HeldFile>& files) {
    std::string out;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i > 0) out += i + 1 == files.size() ? " and " : ", ";
        out += shownIn(dir, files[i]);
    }
    return out;
}

std::string leadIn(const fs::path& dir) { return "A step cut short in " + dir.string() + " while putting files in place "; }

std::string endsNote(const std::string& record) {
    return " Once that is seen to, removing \"" + record + "\" ends this note.";
}

void noteForeign(const std::string& record, const std::string& why) {
    addNote("\"" + record + "\" is named as a record of a step cut short, but it is not the program's own (" + why +
            "), so nothing it names was touched." + endsNote(record));
}

void noteOtherUsers(const fs::path& dir, const OthersFiles& others) {
    for (const auto& entry : others) {
        const uid_t owner = entry.first;
        const auto& files = entry.second;  // a plain reference: lambdas below take it
        if (metInThisStep("named the records of " + std::to_string(owner) + " in " + dir.string(), true)) continue;
        const std::string user = ownerName(owner);
        const std::string& first = files.begin()->first;
        const auto more = [&](const std::string& whose) {
            return files.size() == 1 ? std::string()
                                     : " and " + whose + std::to_string(files.size() - 1) +
                                           (files.size() == 2 ? " other file" : " other files") + " named as records there";
        };
        if (owner != ::geteuid()) {
            addNote("A step of " + user + "'s run was cut short here: its files may be part new, part old; removing \"" +
                    first + "\"" + more(user + "'s ") + " ends this note.");
            continue;
        }
        // The user's own: said with why it is passed over, which only the user can see to.
        addNote("\"" + first + "\" is named as a record of a step of yours cut short here, but it is not obeyed, as " +
                files.begin()->second +
                ", so someone else could have written it; nothing it names was touched. Its files may be part new, "
                "part old: look at them, then remove \"" +
                first + "\"" + more("your ") + " to end this note.");
    }
}

void noteUnsettled(const fs::path& dir, const HeldFolder& folder, const std::vector<HeldFile>& fresh,
                   const std::vector<HeldFile>& old, const std::vector<HeldFile>& saved, int err) {
    const std::string which = folder.path() == dir ? "the folder" : "the folder " + folder.path().string();
    std::string text =
        leadIn(dir) + "could not be settled, as " + which + " cannot be written (" + std::string(std::strerror(err)) + "):";
    const auto part = [&](const std::vector<HeldFile>& some, const char* one, const char* many) {
        if (some.empty()) return;
        text += (text.back() == ':' ? " " : "; ") + listed(dir, some) + (some.size() == 1 ? one : many);
    };
    part(fresh, " holds its new content", " hold its new content");
    part(old, " is as before it", " are as before it");
    part(saved, " was saved after it was cut short", " were saved after it was cut short");
    addNote(text + ".");
}

void addNote(std::string text) {
    text = shownName(text);  // names from a folder or a record among its words
    std::lock_guard<std::mutex> g(notesLock);
    // A record that cannot be settled is met again at every read in its folder: said once.
    if (notes.find(text) != std::string::npos) return;
    // Each on a line of its own: a long message shows the lines that fit, so one line of
    // many notes would show none of them.
    notes += (notes.empty() ? "" : "\n") + text;
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
