// Settling the commits that a kill cut short (core/workingfiles.h): finished or undone
// by the next step that reads or writes in their folder, and noted for it to say.
#include "core/workingfiles.h"
#include "core/workingfiles_detail.h"

#include "core/tempfiles.h"

#include <algorithm>
#include <chrono>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <utility>

namespace trelvik::working {

namespace fs = std::filesystem;
using namespace detail;

namespace {

std::mutex notesLock;
std::string notes;

// Folders found holding no record, by their time of last change: a record made since
// changes it. Only a time well in the past is trusted, as a folder's time may be coarse.
std::mutex quietLock;
std::map<std::string, std::int64_t> quietFolders;
constexpr std::int64_t kTrustedAge = 2'000'000'000;  // nanoseconds

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// While a settler holds a record under these names, no other thread of this process takes it.
class LiveWhileSettling {
public:
    explicit LiveWhileSettling(std::vector<std::string> names) : names_(std::move(names)) {
        for (const std::string& n : names_) liveRecords().set(n, true);
    }
    ~LiveWhileSettling() {
        for (const std::string& n : names_) liveRecords().set(n, false);
    }
    LiveWhileSettling(const LiveWhileSettling&) = delete;
    LiveWhileSettling& operator=(const LiveWhileSettling&) = delete;

private:
    std::vector<std::string> names_;
};

// How a target of a cut commit stands now.
enum class Now {
    InPlace,  // holds the new file
    Waiting,  // the new file waits under its working name; the target holds the old file or none
    SavedOver,  // holds a file that is neither the new nor the old one: saved since the record
    Lost,  // the new file is neither in place nor waiting
};

bool holdsOld(const struct stat& st, const Staged& s) {
    if (s.oldIno == 0 || static_cast<std::uint64_t>(st.st_dev) != s.oldDev ||
        static_cast<std::uint64_t>(st.st_ino) != s.oldIno)
        return false;
    return s.oldSize < 0 || (static_cast<std::int64_t>(st.st_size) == s.oldSize && timeOf(st) == s.oldTime);
}

Now nowOf(const Staged& s) {
    if (isFresh(s.target, s)) return Now::InPlace;
    struct stat st{};
    if (::lstat(s.target.c_str(), &st) == 0 && S_ISREG(st.st_mode) && !holdsOld(st, s)) return Now::SavedOver;
    return isFresh(s.fresh, s) ? Now::Waiting : Now::Lost;
}

std::string shownIn(const fs::path& dir, const Staged& s) {
    const fs::path t(s.target);
    return t.parent_path() == dir ? t.filename().string() : s.target;
}

std::string listed(const fs::path& dir, const std::vector<Staged>& files) {
    std::string out;
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (i > 0) out += i + 1 == files.size() ? " and " : ", ";
        out += shownIn(dir, files[i]);
    }
    return out;
}

// Finishes the commit of an ended writer: forward when the record is not being undone and
// every new file is in place, waiting, or kept out by a file saved over its target; else
// back. The record stays when anything could not be settled.
void settle(const fs::path& dir, const std::string& name, bool undoing) {
    const std::string stem = name.substr(0, name.size() - (undoing ? kUndoExt : kRecordExt).size());
    // Claimed first, so that no other writer of this host settles it at the same time, and
    // live while claimed, so that no other thread of this process does.
    const std::string claimedName = newStampedName(std::string(kRecordBody), dir, undoing ? kUndoExt : kRecordExt);
    const LiveWhileSettling live({claimedName, withExt(claimedName, kUndoExt)});
    std::string claimed = (dir / claimedName).string();
    std::error_code ec;
    fs::rename(dir / name, claimed, ec);
    if (ec) return;
    if (whileSettling) whileSettling(dir);
    Record r;
    if (!readRecord(claimed, r)) {
        fs::remove(claimed, ec);
        return;
    }
    const std::string lead = "A step cut short in " + dir.string() + " while putting files in place ";
    std::vector<Now> now;
    bool known = false;
    for (const Staged& s : r.files) {
        now.push_back(nowOf(s));
        known = known || now.back() == Now::InPlace || isFresh(s.fresh, s);
    }
    if (!undoing && !known) {
        // None of the files it wrote is there by its id (the folder is a copy, or its
        // drive was mounted anew): what the folder holds now cannot be told apart from
        // files saved since, so nothing is touched, and the record stays with its copies.
        std::string where;
        for (const Staged& s : r.files)
            if (!s.kept.empty()) where += "; the old content of \"" + shownIn(dir, s) + "\" is in \"" + s.kept + "\"";
        addNote(lead + "could not be finished or undone: the files it names are no longer the ones it wrote" +
                where + ".");
        fs::rename(claimed, dir / name, ec);
        return;
    }
    bool forward = !undoing && std::find(now.begin(), now.end(), Now::Lost) == now.end();
    for (std::size_t i = 0; forward && i < r.files.size(); ++i) {
        const Staged& s = r.files[i];
        if (now[i] == Now::Waiting) {
            fs::rename(s.fresh, s.target, ec);
            forward = !ec;
        }
    }
    if (forward) {
        std::vector<Staged> finished;
        for (std::size_t i = 0; i < r.files.size(); ++i) {
            const Staged& s = r.files[i];
            if (now[i] != Now::SavedOver) {
                finished.push_back(s);
                continue;
            }
            if (isFresh(s.fresh, s)) fs::remove(s.fresh, ec);
            addNote("\"" + shownIn(dir, s) +
                    "\" was left as it was saved after that step was cut short; the step's new file for it was "
                    "dropped.");
        }
        removeKeptCopies(r.files);
        if (!finished.empty()) addNote(lead + "was finished: " + listed(dir, finished) + " hold its new files.");
    } else {
        if (!undoing) {
            const std::string marked = withExt(claimed, kUndoExt);
            fs::rename(claimed, marked, ec);
            if (!ec) claimed = marked;
        }
        const std::string left = undoFiles(r.files);
        if (!left.empty()) {
            addNote(lead + "could not be finished or undone: " + left + ".");
            return;
        }
        addNote(lead + "was undone: " + listed(dir, r.files) + " are as they were before it.");
    }
    fs::remove(claimed, ec);
    for (const std::string& folder : r.folders)
        if (fs::path(folder) != dir)
            for (std::string_view ext : {kRecordExt, kUndoExt}) fs::remove(fs::path(folder) / (stem + std::string(ext)), ec);
}

} // namespace

namespace detail {

std::string undoFiles(const std::vector<Staged>& files) {
    std::string left;
    const auto note = [&left](const std::string& text) { left += (left.empty() ? "" : "; ") + text; };
    const auto notPutBack = [&note](const Staged& s, const std::string& why) {
        note("the old \"" + s.shown + "\" could not be put back (" + why + "): its old content is in \"" + s.kept + "\"");
    };
    for (auto s = files.rbegin(); s != files.rend(); ++s) {
        std::error_code ec;
        if (isFresh(s->target, *s)) {
            if (!s->kept.empty()) {
                fs::rename(s->kept, s->target, ec);
                if (ec) notPutBack(*s, ec.message());
            } else if (!fs::remove(s->target, ec) && ec) {
                note("the new \"" + s->shown + "\" could not be removed (" + ec.message() + "); it had no old file");
            }
        } else if (!s->kept.empty() && fs::exists(fs::symlink_status(s->kept, ec))) {
            // The target still holds its old file, or, when something has taken it away
            // since, gets it back; anything else in its place keeps the copy.
            const auto now = idOf(s->target);
            const bool oldThere = now && now->dev == s->oldDev && now->ino == s->oldIno;
            if (oldThere) fs::remove(s->kept, ec);
            else if (!now) fs::rename(s->kept, s->target, ec);
            if (ec) notPutBack(*s, ec.message());
            else if (now && !oldThere) notPutBack(*s, "something else is in its place");
        }
        if (isFresh(s->fresh, *s)) fs::remove(s->fresh, ec);
    }
    return left;
}

void addNote(std::string text) {
    std::lock_guard<std::mutex> g(notesLock);
    // A record that cannot be settled is met again at every read in its folder: said once.
    if (notes.find(text) != std::string::npos) return;
    notes += (notes.empty() ? "" : " ") + text;
}

} // namespace detail

std::string takeSettleNotes() {
    std::lock_guard<std::mutex> g(notesLock);
    return std::exchange(notes, std::string());
}

void settleFolder(const fs::path& folder) {
    std::error_code ec;
    fs::path dir = fs::absolute(folder.empty() ? fs::path(".") : folder, ec).lexically_normal();
    if (!dir.has_filename() && dir != dir.root_path()) dir = dir.parent_path();
    struct stat st{};
    if (::stat(dir.c_str(), &st) != 0) return;
    const std::int64_t changed = timeOf(st), listedAt = nowNs();
    {
        std::lock_guard<std::mutex> g(quietLock);
        const auto q = quietFolders.find(dir.string());
        if (q != quietFolders.end() && q->second == changed) return;
    }
    bool records = false;
    std::vector<std::pair<std::string, Kind>> found;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        Writer w;
        const Kind kind = kindOf(name, w);
        if (kind != Kind::Record && kind != Kind::Undo) continue;
        records = true;
        // This process's own record is settled here too once its commit has given it up.
        if (ended(w) || (isMine(w) && !liveRecords().has(name))) found.emplace_back(name, kind);
    }
    for (const auto& [name, kind] : found) settle(dir, name, kind == Kind::Undo);
    std::lock_guard<std::mutex> g(quietLock);
    if (!records && !ec && listedAt - changed > kTrustedAge) quietFolders[dir.string()] = changed;
    else quietFolders.erase(dir.string());
}

void settleBeforeReading(const std::string& file) {
    if (file.empty() || inPrivateFolder(file)) return;
    settleFolder(fs::path(file).parent_path());
}

} // namespace trelvik::working
